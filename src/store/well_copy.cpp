#include "davodu/store/well_copy.h"

#include <map>
#include <vector>

#include "davodu/store/detail/well_db.h"
#include "davodu/store/well_data_manager.h"

namespace davodu {
namespace {

// A table of from as (columns, rows) written whole into the key of to.
void CopyTable(WellDb& from, const TableKey& source, WellDb& to, const TableKey& target) {
  const std::shared_ptr<const TableData> data = from.LoadTable(source);
  if (!data) return;
  to.ReplaceRows(target, data->columns, data->rows);
}

void CopyWell(WellDb& from, const WellInfo& well, WellDb& to) {
  WellInfo info = well;
  const std::int64_t id = to.CreateWell(info);
  if (const std::vector<SurveyStation> survey = from.Deviation(well.id); !survey.empty())
    to.SetDeviation(id, survey);

  std::map<std::int64_t, std::int64_t> runs;  // source run id -> copied run id
  for (LogRunInfo run : from.Runs(well.id)) {
    const std::int64_t source = run.id;
    run.well_id = id;
    runs[source] = to.AddRun(run);
  }
  // Curves in their order; those of one import that share a depth index
  // are written together, so that the copy shares it too.
  const std::vector<CurveSummary> summaries = from.CurveSummaries(well.id);
  std::vector<std::shared_ptr<const CurveData>> group;
  std::int64_t group_run = -1;
  const auto flush = [&] {
    if (group.empty()) return;
    std::vector<WellDb::CurveValues> curves;
    for (const auto& c : group) curves.push_back({c->name, c->unit, &c->values});
    const auto run = runs.find(group_run);
    to.WriteCurves(id, run == runs.end() ? -1 : run->second, group.front()->depths(), curves);
    group.clear();
  };
  for (const CurveSummary& summary : summaries) {
    std::shared_ptr<const CurveData> curve = from.LoadCurve(well.id, summary.name);
    if (!curve) continue;
    if (!group.empty() && (group.front()->index != curve->index || group_run != summary.run_id)) flush();
    group_run = summary.run_id;
    group.push_back(std::move(curve));
  }
  flush();

  for (const auto& [key, rows] : from.TablesOf(well.id)) {
    if (key.kind == TableKind::kWellLog || key.kind == TableKind::kDeviation) continue;
    CopyTable(from, key, to, {key.kind, id, key.sub});
  }
}

}  // namespace

bool CopyWellDatabase(CWellDataManager& from, CWellDataManager& to, std::string* error,
                      const std::function<void(int, int, const std::string&)>& progress) {
  const std::shared_ptr<WellDb> source = from.GetDb();
  const std::shared_ptr<WellDb> target = to.GetDb();
  if (!source || !target) {
    *error = "no well database is open";
    return false;
  }
  try {
    source->Sync();
    target->Sync();
    if (!target->Wells().empty() || !target->ScatterTables().empty()) {
      *error = target->path() + " is not empty: copy into a new database";
      return false;
    }
    // The source is read in one snapshot; the copy is one write.
    sql::Transaction read(source->db(), sql::Transaction::kRead);
    const std::vector<WellInfo> wells = source->Wells();
    const std::vector<ScatterInfo> scattered = source->ScatterTables();
    std::vector<TableKey> catalogues;
    for (const TableLayout& layout : AllTableLayouts()) {
      if (layout.owner != TableOwner::kGlobal) continue;
      if (layout.sub_column) {
        for (int sub = 1; sub <= layout.sub_count; ++sub) catalogues.push_back({layout.kind, 0, sub});
      } else {
        catalogues.push_back({layout.kind, 0, 0});
      }
    }
    const int total = static_cast<int>(wells.size() + catalogues.size() + scattered.size());
    int done = 0;
    const auto step = [&](const std::string& what) {
      if (progress) progress(done++, total, what);
    };
    target->Write([&] {
      for (const TableKey& key : catalogues) {
        step(GetTableLayout(key.kind).id);
        CopyTable(*source, key, *target, key);
      }
      for (const WellInfo& well : wells) {
        step(well.name);
        CopyWell(*source, well, *target);
      }
      for (const ScatterInfo& table : scattered) {
        step(table.name);
        const std::int64_t id = target->CreateScatterTable(table.name, table.is_segment);
        CopyTable(*source, {TableKind::kScatter, table.id, 0}, *target, {TableKind::kScatter, id, 0});
      }
    });
    read.Commit();
    if (progress) progress(total, total, "");
    return true;
  } catch (const std::exception& e) {
    *error = e.what();
    return false;
  }
}

}  // namespace davodu
