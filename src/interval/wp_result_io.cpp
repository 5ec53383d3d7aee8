// The interpretation result kit: records and the export of its intervals.
#include <algorithm>
#include <string>

#include "davodu/host/records/zu_mfile.h"
#include "davodu/host/util/gbk.h"
#include "davodu/host/util/util.h"
#include "davodu/interval/interval_export.h"
#include "davodu/interval/wp_result.h"
#include "davodu/kits/kit_records.h"
#include "davodu/well/wp_track.h"

namespace davodu {

namespace {
constexpr unsigned short kRecStyles = 174;
}  // namespace

int CWpResult::SaveToFile(CZuMFile* file) {
  CWpContent::SaveToFile(file);
  file->SetRecordNumber(kRecStyles);
  file->AddRecordElement(static_cast<int>(divide_line_visible_));
  file->AddRecordElement(static_cast<int>(divide_point_visible_));
  file->AddRecordElement(static_cast<unsigned>(divide_point_.style));
  file->AddRecordElement(divide_point_.size);
  file->AddRecordElement(static_cast<unsigned>(divide_point_.color));
  file->AddRecordElement(static_cast<int>(label_visible_));
  file->AddRecordElement(&label_font_, sizeof label_font_);
  file->WriteNextRecord();

  file->SetRecordNumber(kRecTagged);
  file->AddRecordElement(data_type_);
  file->AddRecordElement(data_table_);
  file->AddRecordElement(static_cast<unsigned>(divide_pen_.style));
  file->AddRecordElement(divide_pen_.width);
  file->AddRecordElement(static_cast<unsigned>(divide_pen_.color));
  file->AddRecordElement(static_cast<unsigned>(divide_pen_.color2));
  file->AddRecordElement(static_cast<int>(divide_pen_.rop));
  file->AddRecordElement(data_field_);
  file->WriteNextRecord();

  for (const auto& s : segs_) {
    file->SetRecordNumber(kRecTagged);
    file->AddRecordElement(s->value);
    file->AddRecordElement(s->top_depth);
    file->AddRecordElement(s->bottom_depth);
    file->WriteNextRecord();
  }
  file->SetRecordNumber(kRecEnd);
  file->WriteNextRecord();
  return 1;
}

int CWpResult::ReadFromFile(CZuMFile* file) {
  if (!CWpContent::ReadFromFile(file)) return 0;
  auto* track = dynamic_cast<CWpTrack*>(parent_);
  Initialize(track ? track->GetWell() : nullptr);
  segs_.clear();
  active_ = -1;
  if (!file->ReadNextRecord()) return 0;
  if (file->GetRecordNumber() == kRecStyles) {
    int v = divide_line_visible_;
    file->GetRecordElement(0, v);
    divide_line_visible_ = v != 0;
    v = divide_point_visible_;
    file->GetRecordElement(1, v);
    divide_point_visible_ = v != 0;
    unsigned style = static_cast<unsigned>(divide_point_.style);
    file->GetRecordElement(2, style);
    divide_point_.style = static_cast<std::int32_t>(style);
    file->GetRecordElement(3, divide_point_.size);
    file->GetRecordElement(4, divide_point_.color);
    v = label_visible_;
    file->GetRecordElement(5, v);
    label_visible_ = v != 0;
    ReadBlock(file, 6, &label_font_);
    label_font_.face[sizeof label_font_.face - 1] = '\0';
    if (!file->ReadNextRecord()) return 0;
  }
  if (file->GetRecordNumber() == kRecTagged) {
    file->GetRecordElement(0, data_type_);
    file->GetRecordElement(1, data_table_);
    unsigned word = static_cast<unsigned>(divide_pen_.style);
    file->GetRecordElement(2, word);
    divide_pen_.style = static_cast<std::int32_t>(word);
    file->GetRecordElement(3, divide_pen_.width);
    file->GetRecordElement(4, divide_pen_.color);
    file->GetRecordElement(5, divide_pen_.color2);
    int rop = divide_pen_.rop;
    file->GetRecordElement(6, rop);
    divide_pen_.rop = rop;
    file->GetRecordElement(7, data_field_);
    if (!file->ReadNextRecord()) return 0;
  }
  for (;;) {
    switch (file->GetRecordNumber()) {
      case kRecEnd:
        loaded_ = true;
        // Numbered intervals of a bound kit are the document's picture of
        // the data, not rows of it.
        from_document_ = data_type_ != Gbk("图形") && !segs_.empty();
        return 1;
      case kRecTagged: {
        std::string text;
        float top = 0, bottom = 0;
        file->GetRecordElement(0, text);
        file->GetRecordElement(1, top);
        file->GetRecordElement(2, bottom);
        AddSegment(++read_counter_, text, top, bottom);
        break;
      }
      default:
        break;
    }
    if (!file->ReadNextRecord()) return 0;
  }
}

void CWpResult::ExportContent() {
  if (segs_.empty()) return;
  IntervalExportTable table;
  table.what = Gbk("解释结果");
  std::size_t longest = data_field_.size();
  for (const auto& s : segs_) longest = std::max(longest, TrimBlanks(s->value).size());
  table.name_width = longest >= 1 ? NameColumnWidth(longest) : 0;
  table.header = Gbk("顶深[m] 厚度[m] ") + (table.name_width > 0 ? data_field_ : std::string());
  for (const auto& s : segs_) table.rows.push_back({s->top_depth, s->bottom_depth - s->top_depth, s->value, {}});
  ExportIntervalTable(this, table);
}

}  // namespace davodu
