// The seed corpus of the document fuzzer: chart documents made through the
// library's own API, so that between them they hold the records of every
// kit class the module registers. fuzz/document_seeds writes them into a
// folder (fuzz/run.sh does so before every run, so the seeds follow the kits
// as they change); the unit tests replay them through the fuzzer's exercise.
#ifndef DAVODU_FUZZ_DOCUMENT_SEEDS_H_
#define DAVODU_FUZZ_DOCUMENT_SEEDS_H_

#include <string>
#include <utility>
#include <vector>

#include "davodu/davodu.h"

namespace davodu::fuzzing {

inline CWpWell* AddSeedWell(CZuLayer* layer, const char* name, float top, float bottom) {
  auto* well = static_cast<CWpWell*>(AfxGetObjectFactory()->CreateObject("CWpWell"));
  layer->AddObject(well);
  well->SetName(Gbk(name));
  well->SetTitleText(Gbk(name));
  well->SetDepthScale(200);
  well->SetTopDepth(top);
  well->SetBottomDepth(bottom);
  return well;
}

// A curve track with two curves of stored samples, one of them filled.
inline void AddSeedCurves(CWpWell* well) {
  CWpTrack* track = well->AddTrack(kCmdWellTrackFirst + 1, -1);
  if (!track) return;
  const char* names[] = {"GR", "RT"};
  for (int k = 0; k < 2; ++k) {
    CWpCurve* curve = track->AddCurve(names[k], 0, -1);
    if (!curve) continue;
    curve->SetName(names[k]);
    curve->SetTitleText(names[k]);
    std::vector<double> depths, values;
    for (int i = 0; i < 24; ++i) {
      depths.push_back(well->GetTopDepth() + i * 0.5);
      values.push_back(i == 7 ? kFltMax : 10.0 + (i * 37 % 90));
    }
    curve->SetSamples(depths, values);
    if (k == 1) {
      curve->LogScale(1);
      curve->SetLeft(1);
      curve->SetRight(1000);
      curve->Operation(0);  // a fill
    }
  }
}

// (file name, contents) pairs.
inline std::vector<std::pair<std::string, std::string>> MakeDocumentSeeds() {
  DaVoduAttach();
  std::vector<std::pair<std::string, std::string>> seeds;

  {  // A well with a depth scale, curves and a stratification column.
    CZuMapFile doc;
    CWpWell* well = AddSeedWell(doc.GetActiveMap()->AddLayer("chart"), "濮1-2井", 1000, 1012);
    well->AddTrack(kCmdWellTrackFirst + 22, -1);
    AddSeedCurves(well);
    well->AddTrack(kCmdWellTrackFirst + 5, -1);
    well->Update();
    seeds.emplace_back("chart-curves", doc.SaveToData());
  }
  {  // One track of every content kind.
    CZuMapFile doc;
    CWpWell* well = AddSeedWell(doc.GetActiveMap()->AddLayer("chart"), "W1", 2000, 2030);
    for (int kind = 0; kind < kContentKindCount; ++kind)
      CWpTrackBuilder(well).AddChild(kCmdWellTrackFirst + static_cast<unsigned>(kind));
    well->Update();
    seeds.emplace_back("chart-every-kind", doc.SaveToData());
  }
  {  // A header table beside a chart, and a second layer.
    CZuMapFile doc;
    CZuLayer* layer = doc.GetActiveMap()->AddLayer("chart");
    AddSeedCurves(AddSeedWell(layer, "W2", 10, 22));
    auto* cell = static_cast<CZuObjectCell*>(AfxGetObjectFactory()->CreateObject("CZuObjectCell"));
    layer->AddObject(cell);
    cell->SetRowsAndColumns(3, 4);
    cell->SetCellText(0, 0, Gbk("井名"));
    cell->SetCellText(2, 3, "W2");
    doc.GetActiveMap()->AddLayer("notes");
    seeds.emplace_back("chart-table", doc.SaveToData());
  }
  return seeds;
}

}  // namespace davodu::fuzzing

#endif  // DAVODU_FUZZ_DOCUMENT_SEEDS_H_
