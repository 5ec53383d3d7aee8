// The lithology kit: records and the text export.
#include <algorithm>
#include <array>
#include <memory>

#include "davodu/host/records/record_numbers.h"
#include "davodu/host/records/zu_mfile.h"
#include "davodu/host/util/gbk.h"
#include "davodu/host/util/util.h"
#include "davodu/interval/interval_export.h"
#include "davodu/interval/wp_corelith.h"
#include "davodu/kits/kit_records.h"

namespace davodu {

namespace {

bool IsTagged(const CZuMFile* file) { return file->GetRecordNumber() == kRecTagged; }

}  // namespace

int CWpCorelith::SaveToFile(CZuMFile* file) {
  SaveSegmentSection(file);
  file->SetRecordNumber(kRecTagged);
  file->AddRecordElement(use_bk_color_);
  file->AddRecordElement(color_per_);
  file->AddRecordElement(unit_height_);
  file->AddRecordElement(pattern_per_);
  file->AddRecordElement(oil_per_);
  file->AddRecordElement(data_source_);
  file->AddRecordElement(data_name_);
  file->WriteNextRecord();

  file->SetRecordNumber(kRecTagged);
  file->AddRecordElement(GetSegCount());
  file->WriteNextRecord();
  const ColthDIndex none;
  for (const WPSEGMENT& seg : segs_) {
    const auto* found = dynamic_cast<const ColthDIndex*>(seg.data.get());
    const ColthDIndex& r = found ? *found : none;
    file->SetRecordNumber(kRecTagged);
    file->AddRecordElement(seg.top);
    file->AddRecordElement(seg.bottom);
    file->AddRecordElement(r.index);
    file->AddRecordElement(r.category);
    file->AddRecordElement(r.lithology);
    file->AddRecordElement(r.inclusions);
    file->AddRecordElement(r.color_name);
    file->AddRecordElement(r.pattern_code);
    file->AddRecordElement(r.oil_code);
    file->AddRecordElement(static_cast<unsigned>(r.color));
    file->AddRecordElement(r.pattern_width);
    file->AddRecordElement(r.oil_width);
    file->AddRecordElement(r.color_width);
    file->AddRecordElement(r.oil_name);
    file->WriteNextRecord();
  }

  file->SetRecordNumber(kRecTagged);
  file->AddRecordElement(name_visible_ ? 1 : 0);
  file->AddRecordElement(&name_font_, sizeof name_font_);
  file->AddRecordElement(divide_line_visible_ ? 1 : 0);
  file->AddRecordElement(&divide_pen_, sizeof divide_pen_);
  file->AddRecordElement(divide_point_visible_ ? 1 : 0);
  file->AddRecordElement(&divide_point_, sizeof divide_point_);
  file->WriteNextRecord();

  file->SetRecordNumber(kRecEnd);
  file->WriteNextRecord();
  return 1;
}

int CWpCorelith::ReadFromFile(CZuMFile* file) {
  bool pending = false;
  if (!ReadSegmentSection(file, &pending)) return 0;
  if (!pending && !file->ReadNextRecord()) return 0;

  // Record 1: the strips and the data identifier.
  if (IsTagged(file)) {
    file->GetRecordElement(0, use_bk_color_);
    file->GetRecordElement(1, color_per_);
    file->GetRecordElement(2, unit_height_);
    file->GetRecordElement(3, pattern_per_);
    file->GetRecordElement(4, oil_per_);
    file->GetRecordElement(5, data_source_);
    file->GetRecordElement(6, data_name_);
    pattern_per_ = 1 - color_per_;
    SplitDataName();
    if (!file->ReadNextRecord()) return 0;
  }
  // Record 2 and the segments.
  int n = 0;
  if (IsTagged(file) && file->GetRecordElementCount() == 1) {
    file->GetRecordElement(0, n);
    if (!file->ReadNextRecord()) return 0;
  }
  if (n > 0) {
    ClearSeg();
    for (int i = 0; i < n && IsTagged(file); ++i) {
      double top = 0, bottom = 0;
      file->GetRecordElement(0, top);
      file->GetRecordElement(1, bottom);
      const int at = AddASeg(top, bottom);
      if (at >= 0) {
        auto rec = std::make_shared<ColthDIndex>();
        file->GetRecordElement(2, rec->index);
        file->GetRecordElement(3, rec->category);
        file->GetRecordElement(4, rec->lithology);
        file->GetRecordElement(5, rec->inclusions);
        file->GetRecordElement(6, rec->color_name);
        file->GetRecordElement(7, rec->pattern_code);
        file->GetRecordElement(8, rec->oil_code);
        unsigned color = rec->color;
        if (file->GetRecordElement(9, color)) rec->color = color;
        file->GetRecordElement(10, rec->pattern_width);
        file->GetRecordElement(11, rec->oil_width);
        file->GetRecordElement(12, rec->color_width);
        file->GetRecordElement(13, rec->oil_name);
        segs_[static_cast<std::size_t>(at)].data = std::move(rec);
      }
      if (!file->ReadNextRecord()) return 0;
    }
  }
  // The style record.
  if (IsTagged(file)) {
    int value = 0;
    if (file->GetRecordElement(0, value)) name_visible_ = value != 0;
    ReadBlock(file, 1, &name_font_);
    if (file->GetRecordElement(2, value)) divide_line_visible_ = value != 0;
    ReadBlock(file, 3, &divide_pen_);
    if (file->GetRecordElement(4, value)) divide_point_visible_ = value != 0;
    ReadBlock(file, 5, &divide_point_);
    if (!file->ReadNextRecord()) return 0;
  }
  while (file->GetRecordNumber() != kRecEnd)
    if (!file->ReadNextRecord()) return 0;
  return 1;
}

// ---------------------------------------------------------------- export

void CWpCorelith::ExportContent() {
  if (segs_.empty()) return;
  // The seven columns: their headers and texts.
  static const char* const kHeaders[7] = {"岩性类别", "颜色", "含油性", "含有物", "岩性前缀", "构造", "岩性"};
  const auto text = [](const ColthDIndex& r, int column) -> const std::string& {
    switch (column) {
      case 0: return r.category;
      case 1: return r.color_name;
      case 2: return r.oil_name;
      case 3: return r.inclusions;
      case 4: return r.prefix;
      case 5: return r.structure;
      default: return r.lithology;
    }
  };
  const ColthDIndex none;
  std::array<std::size_t, 7> longest{};
  for (const WPSEGMENT& seg : segs_) {
    const auto* r = dynamic_cast<const ColthDIndex*>(seg.data.get());
    for (int c = 0; c < 7; ++c)
      longest[c] = std::max(longest[c], TrimBlanks(text(r ? *r : none, c)).size());
  }
  IntervalExportTable table;
  table.what = Gbk("岩性");
  table.header = Gbk("顶深[m] 厚度[m]");
  std::vector<int> present;
  for (int c = 0; c < 7; ++c) {
    std::size_t w = longest[static_cast<std::size_t>(c)];
    if (w == 0) continue;  // a column without any text is left out
    // Category, oil-bearing grade, inclusions and prefix take at least five.
    if ((c == 0 || c == 2 || c == 3 || c == 4) && w < 5) w = 5;
    const int width = NameColumnWidth(w);
    present.push_back(c);
    table.column_widths.push_back(width);
    table.header += ExportColumnText(Gbk(kHeaders[c]), width);
  }
  for (const WPSEGMENT& seg : segs_) {
    const auto* r = dynamic_cast<const ColthDIndex*>(seg.data.get());
    IntervalExportRow row;
    row.top = MapYToDep(static_cast<float>(seg.top));
    row.thickness = MapYToDep(static_cast<float>(seg.bottom)) - row.top;
    for (int c : present) row.columns.push_back(text(r ? *r : none, c));
    table.rows.push_back(std::move(row));
  }
  ExportIntervalTable(this, table);
}

}  // namespace davodu
