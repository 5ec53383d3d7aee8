// The sand kit: records and the text export.
#include <memory>

#include "davodu/host/objects/zu_map_file.h"
#include "davodu/host/records/record_numbers.h"
#include "davodu/host/records/zu_file_help.h"
#include "davodu/host/util/gbk.h"
#include "davodu/interval/interval_export.h"
#include "davodu/interval/wp_sand.h"
#include "davodu/kits/kit_records.h"

namespace davodu {

namespace {

constexpr const char* kFillStyleKey = "FillStyle";
constexpr const char* kFillBrushKey = "FillBrush";
constexpr const char* kTextDirKey = "m_enTextDir";
constexpr const char* kAngleTypeKey = "m_iAngleType";

bool IsTagged(const CZuMFile* file) { return file->GetRecordNumber() == kRecTagged; }

bool HasKey(const CZuMFile* file, const char* key) {
  std::string tag;
  return IsTagged(file) && file->GetRecordElementType(0) == CZuMFile::kText &&
         file->GetRecordElement(0, tag) && EqualsNoCase(tag, key);
}

}  // namespace

int CWpSand::SaveToFile(CZuMFile* file) {
  SaveSegmentSection(file);
  file->SetRecordNumber(kRecTagged);
  file->AddRecordElement(left_pos_);
  file->AddRecordElement(right_pos_);
  file->AddRecordElement(line_size_);
  file->AddRecordElement(symbol_type_);
  file->AddRecordElement(vline_pos_);
  file->AddRecordElement(data_source_);
  file->AddRecordElement(data_name_);
  file->WriteNextRecord();

  file->SetRecordNumber(kRecTagged);
  file->AddRecordElement(GetSegCount());
  file->WriteNextRecord();
  for (const WPSEGMENT& seg : segs_) {
    const auto* rec = dynamic_cast<const DataIndex*>(seg.data.get());
    file->SetRecordNumber(kRecTagged);
    file->AddRecordElement(seg.top);
    file->AddRecordElement(seg.bottom);
    file->AddRecordElement(rec ? rec->index : -1);
    file->WriteNextRecord();
  }

  file->SetRecordNumber(kRecTagged);
  file->AddRecordElement(show_thickness_ ? 1 : 0);
  file->AddRecordElement(thickness_pos_);
  file->AddRecordElement(&thickness_font_, sizeof thickness_font_);
  file->WriteNextRecord();

  file->SetRecordNumber(kRecTagged);
  file->AddRecordElement(precision_);
  file->WriteNextRecord();

  file->SetRecordNumber(kRecTagged);
  file->AddRecordElement(divide_line_visible_ ? 1 : 0);
  file->AddRecordElement(&divide_pen_, sizeof divide_pen_);
  file->AddRecordElement(fill_ ? 1 : 0);
  file->AddRecordElement(static_cast<unsigned>(color_word_));
  file->WriteNextRecord();

  CZuFileHelp::SaveValue(file, kFillStyleKey, fill_style_);
  file->SetRecordNumber(kRecTagged);
  file->AddRecordElement(kFillBrushKey);
  file->AddRecordElement(&fill_brush_, sizeof fill_brush_);
  file->WriteNextRecord();
  CZuFileHelp::SaveValue(file, kTextDirKey, text_dir_);
  CZuFileHelp::SaveValue(file, kAngleTypeKey, angle_type_);

  file->SetRecordNumber(kRecEnd);
  file->WriteNextRecord();
  return 1;
}

int CWpSand::ReadFromFile(CZuMFile* file) {
  bool pending = false;
  if (!ReadSegmentSection(file, &pending)) return 0;
  if (!pending && !file->ReadNextRecord()) return 0;

  if (IsTagged(file) && file->GetRecordElementType(0) != CZuMFile::kText) {
    file->GetRecordElement(0, left_pos_);
    file->GetRecordElement(1, right_pos_);
    float line_size = line_size_;
    file->GetRecordElement(2, line_size);
    file->GetRecordElement(3, symbol_type_);
    file->GetRecordElement(4, vline_pos_);
    file->GetRecordElement(5, data_source_);
    file->GetRecordElement(6, data_name_);
    // Older documents kept the line width and the colours apart.
    if (!IsMissing(line_size)) divide_pen_.width = line_size;
    line_size_ = line_size;
    if (symbol_type_ == kSymbolBracket) {
      divide_pen_.color = seg_color_;
    } else {
      fill_brush_.color = seg_color_;
      fill_brush_.word3 = static_cast<std::int32_t>(seg_color_);
    }
    if (!file->ReadNextRecord()) return 0;

    int n = 0;
    if (IsTagged(file)) {
      file->GetRecordElement(0, n);
      if (!file->ReadNextRecord()) return 0;
    }
    if (n > 0) {
      ClearSeg();
      for (int i = 0; i < n && IsTagged(file); ++i) {
        double top = 0, bottom = 0;
        int index = -1;
        file->GetRecordElement(0, top);
        file->GetRecordElement(1, bottom);
        file->GetRecordElement(2, index);
        const int at = AddASeg(top, bottom);
        if (at >= 0) segs_[static_cast<std::size_t>(at)].data = std::make_shared<DataIndex>(index);
        if (!file->ReadNextRecord()) return 0;
      }
    }
    if (IsTagged(file) && file->GetRecordElementCount() >= 3 &&
        file->GetRecordElementType(0) != CZuMFile::kText) {
      int show = 1;
      if (file->GetRecordElement(0, show)) show_thickness_ = show != 0;
      file->GetRecordElement(1, thickness_pos_);
      ReadBlock(file, 2, &thickness_font_);
      if (!file->ReadNextRecord()) return 0;
    }
  }
  if (IsTagged(file) && file->GetRecordElementCount() == 1 &&
      file->GetRecordElementType(0) != CZuMFile::kText) {
    file->GetRecordElement(0, precision_);
    if (!file->ReadNextRecord()) return 0;
  }
  if (IsTagged(file) && file->GetRecordElementType(0) != CZuMFile::kText) {
    int value = 0;
    if (file->GetRecordElement(0, value)) divide_line_visible_ = value != 0;
    ReadBlock(file, 1, &divide_pen_);
    if (file->GetRecordElement(2, value)) fill_ = value != 0;
    unsigned color = color_word_;
    if (file->GetRecordElement(3, color)) color_word_ = color;
    if (!file->ReadNextRecord()) return 0;
  }
  while (file->GetRecordNumber() != kRecEnd) {
    CZuFileHelp::ReadValue(file, kFillStyleKey, &fill_style_);
    if (HasKey(file, kFillBrushKey)) ReadBlock(file, 1, &fill_brush_);
    CZuFileHelp::ReadValue(file, kTextDirKey, &text_dir_);
    CZuFileHelp::ReadValue(file, kAngleTypeKey, &angle_type_);
    if (!file->ReadNextRecord()) return 0;
  }
  CZuMapFile* doc = GetMapFile();
  if (doc && doc->GetVersion() < kBrushColorVersion) {
    fill_brush_.color = seg_color_;
    fill_brush_.word3 = static_cast<std::int32_t>(seg_color_);
  }
  return 1;
}

// ---------------------------------------------------------------- export

void CWpSand::ExportContent() {
  IntervalExportTable table;
  table.what = Gbk("砂岩");
  table.header = Gbk("顶深[m] 厚度[m]");
  for (const WPSEGMENT& seg : segs_) {
    IntervalExportRow row;
    row.top = MapYToDep(static_cast<float>(seg.top));
    row.thickness = MapYToDep(static_cast<float>(seg.bottom)) - row.top;
    table.rows.push_back(std::move(row));
  }
  ExportIntervalTable(this, table);
}

}  // namespace davodu
