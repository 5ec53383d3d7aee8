// The parameter column kit: the export of its intervals through the
// interval table export ("顶深[m] 厚度[m] TITLE", one line an interval with
// its value as stored, in the name column).
#include <algorithm>
#include <string>

#include "davodu/display/wp_param.h"
#include "davodu/host/util/gbk.h"
#include "davodu/host/util/util.h"
#include "davodu/interval/interval_export.h"

namespace davodu {

void CWpParam::ExportContent() {
  IntervalExportTable table;
  table.what = Gbk("参数");
  std::size_t width = title_text_.size();
  for (const auto& s : segs_) {
    IntervalExportRow row;
    row.top = s->top_depth;
    row.thickness = s->bottom_depth - s->top_depth;
    row.name = s->value;
    width = std::max(width, TrimBlanks(row.name).size());
    table.rows.push_back(std::move(row));
  }
  table.header = Gbk("顶深[m] 厚度[m] ") + title_text_;
  table.name_width = NameColumnWidth(width);
  ExportIntervalTable(this, table);
}

}  // namespace davodu
