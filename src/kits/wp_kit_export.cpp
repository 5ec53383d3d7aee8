// The chart-wide export of curve samples as text tables.
#include <cmath>
#include <string>
#include <vector>

#include "davodu/display/wp_curve.h"
#include "davodu/display/wp_param.h"
#include "davodu/host/dialogs/dialogs.h"
#include "davodu/host/util/gbk.h"
#include "davodu/host/util/text_table_writer.h"
#include "davodu/kits/wp_kit.h"
#include "davodu/special/wp_integrated_core.h"
#include "davodu/special/wp_sidewall_core.h"
#include "davodu/well/wp_well.h"

namespace davodu {

namespace {

constexpr double kTol = 0.001;

// Kits that export their own tables.
bool ExportsItself(int type) {
  switch (type) {
    case WPKIT_SYMBLETEXTURE:
    case WPKIT_SYMBLECYCLE:
    case WPKIT_SYMBLESHOOT:
    case WPKIT_SHOOT:
    case WPKIT_CORELITH:
    case WPKIT_STRATUM:
    case WPKIT_OILTEST:
    case WPKIT_FACIES:
    case WPKIT_RESULT:
    case WPKIT_SAND:
    case WPKIT_SANDSTRATUM:
    case WPKIT_TEXT:
    case WPKIT_LTHSAMPLE:
      return true;
    default:
      return false;
  }
}

}  // namespace

void CWpKit::ExportData() {
  std::vector<CWpKit*> curves;
  auto visit = [&curves](CWpKit* child) {
    if (!child->IsValid()) return;
    const int type = child->GetWpKitType();
    if (type == WPKIT_CURVE)
      curves.push_back(child);
    // A parameter column and a sidewall core column answer the plain
    // content type code, a coring summary the plain segment code: they are
    // told by their classes.
    else if (ExportsItself(type) || dynamic_cast<CWpParam*>(child) != nullptr ||
             dynamic_cast<CWpIntegratedCore*>(child) != nullptr ||
             dynamic_cast<CWpSidewallCore*>(child) != nullptr)
      child->ExportContent();
  };
  const int type = GetWpKitType();
  if (type == WPKIT_WELL) {
    for (CWpKit* track : children_)
      if (track->GetWpKitType() == WPKIT_TRACK)
        for (CWpKit* child : track->GetChildren()) visit(child);
  } else if (type == WPKIT_TRACK) {
    for (CWpKit* child : children_) visit(child);
  } else {
    ExportContent();
  }
  ExportCves(curves);
}

void CWpKit::ExportCves(const std::vector<CWpKit*>& kits) {
  std::vector<CWpCurve*> curves;
  for (CWpKit* k : kits) {
    auto* curve = dynamic_cast<CWpCurve*>(k);
    if (!curve) continue;
    bool repeated = false;
    for (const CWpCurve* c : curves) repeated = repeated || EqualsNoCase(c->GetName(), curve->GetName());
    if (!repeated) curves.push_back(curve);
  }
  if (curves.empty()) return;

  // Group the curves sampled alike: same count, same first and last depth.
  std::vector<std::vector<CWpCurve*>> groups;
  std::vector<bool> grouped(curves.size(), false);
  for (std::size_t i = 0; i < curves.size(); ++i) {
    if (grouped[i]) continue;
    CWpCurve* head = curves[i];
    std::vector<CWpCurve*> group{head};
    grouped[i] = true;
    const int n = head->GetSampleCount();
    for (std::size_t j = i + 1; j < curves.size(); ++j) {
      CWpCurve* c = curves[j];
      if (grouped[j] || c->GetSampleCount() != n) continue;
      if (n > 0 && (std::fabs(c->GetSampleDepth(0) - head->GetSampleDepth(0)) >= kTol ||
                    std::fabs(c->GetSampleDepth(n - 1) - head->GetSampleDepth(n - 1)) >= kTol))
        continue;
      group.push_back(c);
      grouped[j] = true;
    }
    groups.push_back(std::move(group));
  }

  CWpWell* well = GetWell();
  const std::string well_name = well ? well->GetName() : std::string();
  HostDialogs& dialogs = AfxGetDialogs();
  for (std::size_t g = 0; g < groups.size(); ++g) {
    FileDialogRequest request;
    request.save = true;
    if (groups.size() == 1) {
      request.default_name = well_name + Gbk("井曲线数据");
      request.title = Gbk("保存为文件 - 导出曲线数据");
    } else {
      const std::string n = std::to_string(g + 1);
      request.default_name = well_name + Gbk("井曲线数据") + n;
      request.title = Gbk("保存为文件") + n + Gbk(" - 导出曲线数据");
    }
    request.default_extension = "txt";
    request.filter = Gbk("文本文件(*.txt)|*.txt|所有文件(*.*)|*.*||");
    request.overwrite_prompt = true;
    request.path_must_exist = true;
    std::string path;
    if (!dialogs.FileDialog(request, &path)) continue;
    TextTableWriter table;
    std::string error;
    if (!table.Open(path, &error)) {
      dialogs.FileWritten(path, error);
      continue;
    }

    const std::vector<CWpCurve*>& group = groups[g];
    table.Text(Gbk("深度[m]"));
    for (const CWpCurve* c : group) {
      table.Text(" " + c->GetTitleText());
      // The unit setter stores "无" (none) as an empty text: no brackets then.
      if (!c->GetUnitText().empty() && c->GetUnitText() != Gbk("无"))
        table.Text("[" + c->GetUnitText() + "]");
    }

    CProcessDialog& progress = dialogs.Progress();
    progress.SetTitle(Gbk("正在导出曲线数据 ..."));
    progress.SetMaxValue(100);
    const int lines = group.front()->GetSampleCount();
    for (int i = 0; i < lines; ++i) {
      table.NewLine();
      table.Number(group.front()->GetSampleDepth(i), 9, 3);
      for (const CWpCurve* c : group) table.Value(c->GetSampleValue(i), 11, 3);
      progress.SetPos(static_cast<int>(99LL * i / lines));
    }
    progress.Uninitialize();
    table.Commit(&error);
    dialogs.FileWritten(path, error);
  }
}

}  // namespace davodu
