// The text export of an interval kit's table ("顶深[m] 厚度[m] ..."), shared
// by the stratification, sand and the later interval kits.
//
// The export asks for a file in a save dialog (default name: well name +
// "井" + the kit's title + "数据", extension txt), shows a progress dialog,
// and writes the header line and one line per interval: "%7.2f%8.1f" with
// the top depth and the thickness, then, when the table has a name column,
// the name right-aligned in the width the width rule gives, then the
// further columns. The table goes through TextTableWriter: lines separated
// by CR LF, no final line break, written whole or not at all. Intervals
// thinner than 0.001 are left out; a kit without intervals exports
// nothing. Cancelling the dialog ends the export quietly; the dialogs are
// told how the write went (HostDialogs::FileWritten), so a file that cannot
// be written is named to the user.
#ifndef DAVODU_INTERVAL_INTERVAL_EXPORT_H_
#define DAVODU_INTERVAL_INTERVAL_EXPORT_H_

#include <cstddef>
#include <string>
#include <vector>

namespace davodu {

class CWpKit;

struct IntervalExportRow {
  float top = 0;        // depth in the chart's depth reference
  float thickness = 0;
  std::string name;     // GBK, as it is (blanks kept)
  // The texts of the further columns (IntervalExportTable::column_widths).
  std::vector<std::string> columns;
};

struct IntervalExportTable {
  // What is exported, for the dialogs: "分层" gives the dialog title
  // "保存为文件 - 导出分层数据" and the progress title "正在导出分层数据 ...".
  std::string what;
  std::string header;  // the first line
  int name_width = 0;  // the name column's width; 0: no name column
  // Further text columns after the name column, each right-aligned in its
  // width as the name is.
  std::vector<int> column_widths;
  std::vector<IntervalExportRow> rows;
};

// The width rule of the name column, by the longest text it holds
// (bytes): 5 up to 4, then 10, 15, 20 by steps of five, 30, 40, and 50 for
// 40 bytes and more; 0 for nothing.
int NameColumnWidth(std::size_t longest);

// One line of the table (without its line break).
std::string FormatIntervalRow(const IntervalExportRow& row, int name_width,
                              const std::vector<int>& column_widths = {});
// A text right-aligned in a column of width bytes (as "%*s" does: a longer
// text is kept whole); nothing for width 0.
std::string ExportColumnText(const std::string& text, int width);

// Runs the export for a kit (its well's name and its title name the file);
// false when nothing was written.
bool ExportIntervalTable(CWpKit* kit, const IntervalExportTable& table);

// The same dialogs and file for a table whose lines the kit formats
// itself (samples at depths rather than intervals): the header, then one
// line per entry (none: the header alone).
bool ExportTextTable(CWpKit* kit, const std::string& what, const std::string& header,
                     const std::vector<std::string>& lines);

}  // namespace davodu

#endif  // DAVODU_INTERVAL_INTERVAL_EXPORT_H_
