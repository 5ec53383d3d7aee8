// The sand layer table kit: records and the text export.
#include <algorithm>
#include <cmath>
#include <memory>

#include "davodu/host/records/record_numbers.h"
#include "davodu/host/records/zu_mfile.h"
#include "davodu/host/util/gbk.h"
#include "davodu/host/util/util.h"
#include "davodu/interval/interval_export.h"
#include "davodu/kits/kit_records.h"
#include "davodu/special/wp_sand_stratum.h"

namespace davodu {

namespace {

constexpr const char* kSettingsTag = "SandStratum";
constexpr const char* kFieldTag = "Field";

bool IsTagged(const CZuMFile* file) { return file->GetRecordNumber() == kRecTagged; }

std::string TagOf(const CZuMFile* file) {
  std::string tag;
  if (IsTagged(file) && file->GetRecordElementCount() > 0 && file->GetRecordElementType(0) == CZuMFile::kText)
    file->GetRecordElement(0, tag);
  return tag;
}

}  // namespace

int CWpSandStratum::SaveToFile(CZuMFile* file) {
  SaveSegmentSection(file);
  file->SetRecordNumber(kRecTagged);
  file->AddRecordElement(kSettingsTag);
  file->AddRecordElement(data_source_);
  file->AddRecordElement(&cell_font_, sizeof cell_font_);
  file->AddRecordElement(&line_pen_, sizeof line_pen_);
  file->AddRecordElement(&head_font_, sizeof head_font_);
  file->WriteNextRecord();
  for (const SandStratumField& f : fields_) {
    file->SetRecordNumber(kRecTagged);
    file->AddRecordElement(kFieldTag);
    file->AddRecordElement(f.field);
    file->AddRecordElement(f.title);
    file->AddRecordElement(f.decimals);
    file->AddRecordElement(f.width);
    file->WriteNextRecord();
  }
  for (const WPSEGMENT& seg : segs_) {
    const auto* rec = dynamic_cast<const SandStratumDIndex*>(seg.data.get());
    file->SetRecordNumber(kRecTagged);
    file->AddRecordElement(seg.top);
    file->AddRecordElement(seg.bottom);
    file->AddRecordElement(rec ? rec->index : -1);
    file->AddRecordElement(rec && rec->has_flood_color ? static_cast<int>(rec->flood_color) : -1);
    if (rec)
      for (const std::string& cell : rec->cells) file->AddRecordElement(cell);
    file->WriteNextRecord();
  }
  file->SetRecordNumber(kRecEnd);
  file->WriteNextRecord();
  return 1;
}

// Reads up to the section's own end record and no further. A field list
// that breaks the rules of SetFields is not taken (the built-in one stays).
int CWpSandStratum::ReadFromFile(CZuMFile* file) {
  bool pending = false;
  if (!ReadSegmentSection(file, &pending)) return 0;
  if (!pending && !file->ReadNextRecord()) return 0;
  std::vector<SandStratumField> fields;
  bool fields_ok = true;
  bool rows_read = false;
  while (file->GetRecordNumber() != kRecEnd) {
    const std::string tag = TagOf(file);
    if (EqualsNoCase(tag, kSettingsTag)) {
      file->GetRecordElement(1, data_source_);
      ReadBlock(file, 2, &cell_font_);
      ReadBlock(file, 3, &line_pen_);
      ReadBlock(file, 4, &head_font_);
      cell_font_.face[sizeof cell_font_.face - 1] = '\0';
      head_font_.face[sizeof head_font_.face - 1] = '\0';
    } else if (EqualsNoCase(tag, kFieldTag)) {
      SandStratumField f;
      file->GetRecordElement(1, f.field);
      file->GetRecordElement(2, f.title);
      file->GetRecordElement(3, f.decimals);
      file->GetRecordElement(4, f.width);
      if (fields.size() < kMaxSandStratumFields)
        fields.push_back(std::move(f));
      else
        fields_ok = false;
    } else if (IsTagged(file) && tag.empty() && file->GetRecordElementCount() >= 4) {
      if (!rows_read) ClearSeg();
      rows_read = true;
      double top = 0, bottom = 0;
      int color = -1;
      auto rec = std::make_shared<SandStratumDIndex>();
      file->GetRecordElement(0, top);
      file->GetRecordElement(1, bottom);
      file->GetRecordElement(2, rec->index);
      file->GetRecordElement(3, color);
      rec->has_flood_color = color >= 0;
      rec->flood_color = rec->has_flood_color ? static_cast<COLORREF>(color) : 0xFFFFFF;
      const int n = std::min<int>(file->GetRecordElementCount() - 4, static_cast<int>(kMaxSandStratumFields));
      for (int k = 0; k < n; ++k) {
        std::string cell;
        file->GetRecordElement(4 + k, cell);
        rec->cells.push_back(std::move(cell));
      }
      if (std::isfinite(top) && std::isfinite(bottom)) {
        const int at = AddASeg(top, bottom);
        if (at >= 0) segs_[static_cast<std::size_t>(at)].data = std::move(rec);
      }
    }
    if (!file->ReadNextRecord()) return 0;
  }
  if (fields_ok && FieldsValid(fields)) fields_ = std::move(fields);
  // Rows read with another field list keep their cells in step with it.
  for (WPSEGMENT& seg : segs_)
    if (auto* rec = dynamic_cast<SandStratumDIndex*>(seg.data.get())) rec->cells.resize(fields_.size());
  return 1;
}

// ---------------------------------------------------------------- export

void CWpSandStratum::ExportContent() {
  if (segs_.empty()) return;
  IntervalExportTable table;
  table.what = Gbk("砂层");
  table.header = Gbk("顶深[m] 厚度[m]");
  std::vector<std::size_t> longest(fields_.size(), 0);
  for (std::size_t k = 0; k < fields_.size(); ++k) {
    longest[k] = fields_[k].field.size();
    table.header += " " + fields_[k].field;
  }
  for (const WPSEGMENT& seg : segs_) {
    const auto* rec = dynamic_cast<const SandStratumDIndex*>(seg.data.get());
    IntervalExportRow row;
    row.top = MapYToDep(static_cast<float>(seg.top));
    row.thickness = MapYToDep(static_cast<float>(seg.bottom)) - row.top;
    for (std::size_t k = 0; k < fields_.size(); ++k) {
      // An empty cell is written as "-" so that the columns still read apart.
      std::string cell = rec && k < rec->cells.size() ? TrimBlanks(rec->cells[k]) : std::string();
      if (cell.empty()) cell = "-";
      longest[k] = std::max(longest[k], cell.size());
      row.columns.push_back(std::move(cell));
    }
    table.rows.push_back(std::move(row));
  }
  for (std::size_t k = 0; k < fields_.size(); ++k) table.column_widths.push_back(NameColumnWidth(longest[k]));
  ExportIntervalTable(this, table);
}

}  // namespace davodu
