// The curve kit: the export of its samples as a text table.
#include <string>

#include "davodu/display/wp_curve.h"
#include "davodu/host/dialogs/dialogs.h"
#include "davodu/host/util/gbk.h"
#include "davodu/host/util/text_table_writer.h"
#include "davodu/well/wp_well.h"

namespace davodu {

void CWpCurve::ExportContent() {
  if (!IsValid()) return;
  CWpWell* well = GetWell();
  FileDialogRequest request;
  request.save = true;
  request.default_extension = "txt";
  request.default_name = (well ? well->GetName() : std::string()) + Gbk("井曲线数据");
  request.filter = Gbk("文本文件(*.txt)|*.txt|所有文件(*.*)|*.*||");
  request.title = Gbk("保存为文件 - 导出曲线数据");
  request.overwrite_prompt = true;
  request.path_must_exist = true;
  HostDialogs& dialogs = AfxGetDialogs();
  std::string path;
  if (!dialogs.FileDialog(request, &path)) return;
  TextTableWriter table;
  std::string error;
  if (!table.Open(path, &error)) {
    dialogs.FileWritten(path, error);
    return;
  }
  table.Text(Gbk("深度[m] ") + title_text_);
  if (!unit_text_.empty() && unit_text_ != Gbk("无")) table.Text("[" + unit_text_ + "]");
  CProcessDialog& progress = dialogs.Progress();
  progress.SetTitle(Gbk("正在导出曲线数据 ..."));
  progress.SetMaxValue(100);
  const int n = GetSampleCount();
  for (int i = 0; i < n; ++i) {
    table.NewLine();
    table.Number(depths_[static_cast<std::size_t>(i)], 9, 3);
    table.Value(values_[static_cast<std::size_t>(i)], 11, 3);
    progress.SetPos(static_cast<int>(99LL * i / n));
  }
  progress.Uninitialize();
  table.Commit(&error);
  dialogs.FileWritten(path, error);
}

}  // namespace davodu
