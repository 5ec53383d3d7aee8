// The stratification kit: records and the text export.
#include <algorithm>
#include <memory>

#include "davodu/host/records/record_numbers.h"
#include "davodu/host/records/zu_file_help.h"
#include "davodu/host/util/gbk.h"
#include "davodu/host/util/util.h"
#include "davodu/interval/interval_export.h"
#include "davodu/interval/wp_stratum.h"
#include "davodu/kits/kit_records.h"

namespace davodu {

namespace {

constexpr const char* kTextDirKey = "m_enTextDir";
constexpr const char* kAngleTypeKey = "m_iAngleType";
constexpr const char* kFaultPointPosKey = "m_faultPointPos";
constexpr const char* kFaultLabelVisibleKey = "m_bFaultLabelVisible";
constexpr const char* kLabelFieldNumKey = "m_iLabelShowFieldNum";
constexpr const char* kFaultLabelPosKey = "m_faultLabelPos";
constexpr const char* kHorizontalOffsetKey = "m_dHorizontalOffset";
constexpr const char* kVerticalOffsetKey = "m_dVerticalOffset";
constexpr const char* kShowFieldCountKey = "ShowFieldCount";
constexpr const char* kShowFieldKey = "ShowField";

bool IsTagged(const CZuMFile* file) { return file->GetRecordNumber() == kRecTagged; }

}  // namespace

int CWpStratum::SaveToFile(CZuMFile* file) {
  SaveSegmentSection(file);
  file->SetRecordNumber(kRecTagged);
  file->AddRecordElement(use_bk_color_ ? 1 : 0);
  file->AddRecordElement(show_name_ ? 1 : 0);
  file->AddRecordElement(&name_font_, sizeof name_font_);
  file->AddRecordElement(data_source_);
  file->AddRecordElement(data_name_);
  file->WriteNextRecord();

  file->SetRecordNumber(kRecTagged);
  file->AddRecordElement(GetSegCount());
  file->WriteNextRecord();
  for (const WPSEGMENT& seg : segs_) {
    const auto* rec = dynamic_cast<const StratumDIndex*>(seg.data.get());
    file->SetRecordNumber(kRecTagged);
    file->AddRecordElement(seg.top);
    file->AddRecordElement(seg.bottom);
    file->AddRecordElement(rec ? rec->index : -1);
    file->AddRecordElement(rec ? rec->name : std::string());
    file->AddRecordElement(static_cast<unsigned>(rec ? rec->color : 0xFFFFFF));
    file->WriteNextRecord();
  }

  file->SetRecordNumber(kRecTagged);
  file->AddRecordElement(divide_line_visible_ ? 1 : 0);
  file->AddRecordElement(&divide_pen_, sizeof divide_pen_);
  file->AddRecordElement(divide_point_visible_ ? 1 : 0);
  file->AddRecordElement(&divide_point_, sizeof divide_point_);
  file->AddRecordElement(fault_point_visible_);
  file->AddRecordElement(&fault_point_, sizeof fault_point_);
  file->AddRecordElement(&fault_font_, sizeof fault_font_);
  file->WriteNextRecord();

  CZuFileHelp::SaveValue(file, kTextDirKey, text_dir_);
  CZuFileHelp::SaveValue(file, kAngleTypeKey, angle_type_);
  CZuFileHelp::SaveValue(file, kFaultPointPosKey, fault_point_pos_);
  CZuFileHelp::SaveValue(file, kFaultLabelVisibleKey, fault_label_visible_ ? 1 : 0);
  CZuFileHelp::SaveValue(file, kLabelFieldNumKey, GetLabelShowFieldNum());
  CZuFileHelp::SaveValue(file, kFaultLabelPosKey, fault_label_pos_);
  CZuFileHelp::SaveValue(file, kHorizontalOffsetKey, horizontal_offset_);
  CZuFileHelp::SaveValue(file, kVerticalOffsetKey, vertical_offset_);
  CZuFileHelp::SaveValue(file, kShowFieldCountKey, GetLabelShowFieldNum());
  file->SetRecordNumber(kRecTagged);
  file->AddRecordElement(kShowFieldKey);
  for (const std::string& field : show_fields_) file->AddRecordElement(field);
  file->WriteNextRecord();

  file->SetRecordNumber(kRecEnd);
  file->WriteNextRecord();
  return 1;
}

int CWpStratum::ReadFromFile(CZuMFile* file) {
  bool pending = false;
  if (!ReadSegmentSection(file, &pending)) return 0;
  if (!pending && !file->ReadNextRecord()) return 0;

  // Record 1: look and data identifier.
  if (IsTagged(file)) {
    int value = 0;
    if (file->GetRecordElement(0, value)) use_bk_color_ = value != 0;
    if (file->GetRecordElement(1, value)) show_name_ = value != 0;
    ReadBlock(file, 2, &name_font_);
    file->GetRecordElement(3, data_source_);
    if (file->GetRecordElement(4, data_name_)) SplitDataName();
    if (!file->ReadNextRecord()) return 0;
  }
  // Record 2 and the segments.
  if (IsTagged(file) && file->GetRecordElementType(0) != CZuMFile::kText) {
    int n = 0;
    file->GetRecordElement(0, n);
    if (!file->ReadNextRecord()) return 0;
    if (n > 0) {
      ClearSeg();
      for (int i = 0; i < n; ++i) {
        if (!IsTagged(file)) break;
        double top = 0, bottom = 0;
        int index = -1;
        std::string name;
        unsigned color = 0xFFFFFF;
        file->GetRecordElement(0, top);
        file->GetRecordElement(1, bottom);
        file->GetRecordElement(2, index);
        file->GetRecordElement(3, name);
        file->GetRecordElement(4, color);
        const int at = AddASeg(top, bottom);
        if (at >= 0) segs_[static_cast<std::size_t>(at)].data = std::make_shared<StratumDIndex>(index, name, color);
        if (!file->ReadNextRecord()) return 0;
      }
    }
  }
  // The style record (it has no key).
  if (IsTagged(file) && file->GetRecordElementType(0) != CZuMFile::kText) {
    int value = 0;
    if (file->GetRecordElement(0, value)) divide_line_visible_ = value != 0;
    ReadBlock(file, 1, &divide_pen_);
    if (file->GetRecordElement(2, value)) divide_point_visible_ = value != 0;
    ReadBlock(file, 3, &divide_point_);
    bool visible = fault_point_visible_;
    if (file->GetRecordElement(4, visible)) fault_point_visible_ = visible;
    ReadBlock(file, 5, &fault_point_);
    ReadBlock(file, 6, &fault_font_);
    if (!file->ReadNextRecord()) return 0;
  }
  // The keyed records, each taken when present.
  int field_count = GetLabelShowFieldNum();
  while (file->GetRecordNumber() != kRecEnd) {
    if (IsTagged(file)) {
      int label_visible = fault_label_visible_ ? 1 : 0;
      if (CZuFileHelp::ReadValue(file, kFaultLabelVisibleKey, &label_visible))
        fault_label_visible_ = label_visible == 1;
      CZuFileHelp::ReadValue(file, kTextDirKey, &text_dir_);
      CZuFileHelp::ReadValue(file, kAngleTypeKey, &angle_type_);
      CZuFileHelp::ReadValue(file, kFaultPointPosKey, &fault_point_pos_);
      CZuFileHelp::ReadValue(file, kFaultLabelPosKey, &fault_label_pos_);
      CZuFileHelp::ReadValue(file, kHorizontalOffsetKey, &horizontal_offset_);
      CZuFileHelp::ReadValue(file, kVerticalOffsetKey, &vertical_offset_);
      CZuFileHelp::ReadValue(file, kShowFieldCountKey, &field_count);
      std::string tag;
      if (file->GetRecordElement(0, tag) && EqualsNoCase(tag, kShowFieldKey)) {
        std::vector<std::string> fields;
        const int stored = file->GetRecordElementCount() - 1;
        for (int i = 1; i <= std::min(std::max(field_count, 0), stored); ++i) {
          std::string field;
          file->GetRecordElement(i, field);
          fields.push_back(field);
        }
        show_fields_ = std::move(fields);
      }
    }
    if (!file->ReadNextRecord()) return 0;
  }
  return 1;
}

// ---------------------------------------------------------------- export

void CWpStratum::ExportContent() {
  IntervalExportTable table;
  table.what = Gbk("分层");
  std::size_t width = title_text_.size();
  for (const WPSEGMENT& seg : segs_) {
    IntervalExportRow row;
    row.top = MapYToDep(static_cast<float>(seg.top));
    row.thickness = MapYToDep(static_cast<float>(seg.bottom)) - row.top;
    if (const auto* rec = dynamic_cast<const StratumDIndex*>(seg.data.get())) row.name = rec->name;
    width = std::max(width, TrimBlanks(row.name).size());
    table.rows.push_back(std::move(row));
  }
  table.header = Gbk("顶深[m] 厚度[m] ");
  if (width >= 1) table.header += title_text_;
  table.name_width = NameColumnWidth(width);
  ExportIntervalTable(this, table);
}

}  // namespace davodu
