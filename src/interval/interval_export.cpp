#include "davodu/interval/interval_export.h"

#include <cstdio>

#include "davodu/host/dialogs/dialogs.h"
#include "davodu/host/util/gbk.h"
#include "davodu/host/util/text_table_writer.h"
#include "davodu/kits/wp_kit.h"
#include "davodu/well/wp_well.h"

namespace davodu {

int NameColumnWidth(std::size_t longest) {
  if (longest == 0) return 0;
  if (longest <= 4) return 5;
  if (longest < 20) return static_cast<int>(longest / 5 + 1) * 5;
  if (longest < 40) return static_cast<int>(longest / 10 + 1) * 10;
  return 50;
}

std::string ExportColumnText(const std::string& text, int width) {
  if (width <= 0) return std::string();
  std::string out;
  if (static_cast<int>(text.size()) < width)
    out.append(static_cast<std::size_t>(width) - text.size(), ' ');
  return out + text;
}

std::string FormatIntervalRow(const IntervalExportRow& row, int name_width,
                              const std::vector<int>& column_widths) {
  char buf[64];
  std::snprintf(buf, sizeof buf, "%7.2f%8.1f", static_cast<double>(row.top),
                static_cast<double>(row.thickness));
  std::string line = buf;
  line += ExportColumnText(row.name, name_width);
  for (std::size_t c = 0; c < column_widths.size(); ++c)
    line += ExportColumnText(c < row.columns.size() ? row.columns[c] : std::string(), column_widths[c]);
  return line;
}

bool ExportIntervalTable(CWpKit* kit, const IntervalExportTable& table) {
  if (table.rows.empty()) return false;
  std::vector<std::string> lines;
  for (const IntervalExportRow& row : table.rows)
    if (row.thickness >= 0.001f) lines.push_back(FormatIntervalRow(row, table.name_width, table.column_widths));
  return ExportTextTable(kit, table.what, table.header, lines);
}

bool ExportTextTable(CWpKit* kit, const std::string& what, const std::string& header,
                     const std::vector<std::string>& lines) {
  if (!kit) return false;
  CWpWell* well = kit->GetWell();
  FileDialogRequest request;
  request.save = true;
  request.default_extension = "txt";
  request.default_name =
      (well ? well->GetName() : std::string()) + Gbk("井") + kit->GetTitleText() + Gbk("数据");
  request.filter = Gbk("文本文件(*.txt)|*.txt|所有文件(*.*)|*.*||");
  request.title = Gbk("保存为文件 - 导出") + what + Gbk("数据");
  request.overwrite_prompt = true;
  HostDialogs& dialogs = AfxGetDialogs();
  std::string path;
  if (!dialogs.FileDialog(request, &path)) return false;

  TextTableWriter writer;
  std::string error;
  if (!writer.Open(path, &error)) {
    dialogs.FileWritten(path, error);
    return false;
  }
  CProcessDialog& progress = dialogs.Progress();
  progress.SetTitle(Gbk("正在导出") + what + Gbk("数据 ..."));
  progress.SetMaxValue(100);
  writer.Text(header);
  const std::size_t n = lines.size();
  for (std::size_t i = 0; i < n; ++i) {
    writer.NewLine();
    writer.Text(lines[i]);
    progress.SetPos(static_cast<int>(i * 99 / n));
  }
  progress.Uninitialize();
  const bool written = writer.Commit(&error);
  dialogs.FileWritten(path, error);
  return written;
}

}  // namespace davodu
