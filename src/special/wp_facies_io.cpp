// The facies kit: records and the text export.
#include <algorithm>
#include <memory>

#include "davodu/host/records/record_numbers.h"
#include "davodu/host/records/zu_mfile.h"
#include "davodu/host/util/gbk.h"
#include "davodu/interval/interval_export.h"
#include "davodu/kits/kit_records.h"
#include "davodu/special/wp_facies.h"

namespace davodu {

namespace {

bool IsTagged(const CZuMFile* file) { return file->GetRecordNumber() == kRecTagged; }

std::string Trimmed(const std::string& text) {
  const auto first = text.find_first_not_of(" \t");
  if (first == std::string::npos) return std::string();
  return text.substr(first, text.find_last_not_of(" \t") - first + 1);
}

}  // namespace

// The facies records carry no tag: they are read by position.
int CWpFacies::SaveToFile(CZuMFile* file) {
  SaveSegmentSection(file);
  file->SetRecordNumber(kRecTagged);
  file->AddRecordElement(data_source_);
  file->AddRecordElement(data_name_);
  file->WriteNextRecord();

  file->SetRecordNumber(kRecTagged);
  file->AddRecordElement(GetSegCount());
  file->WriteNextRecord();
  for (const WPSEGMENT& seg : segs_) {
    const auto* rec = dynamic_cast<const FDIndex*>(seg.data.get());
    const FDIndex none;
    if (!rec) rec = &none;
    file->SetRecordNumber(kRecTagged);
    file->AddRecordElement(seg.top);
    file->AddRecordElement(seg.bottom);
    file->AddRecordElement(rec->index);
    file->AddRecordElement(rec->code);
    file->AddRecordElement(&rec->fill, sizeof rec->fill);
    file->WriteNextRecord();
  }
  file->SetRecordNumber(kRecTagged);
  file->AddRecordElement(&name_font_, sizeof name_font_);
  file->WriteNextRecord();
  file->SetRecordNumber(kRecTagged);
  file->AddRecordElement(divide_line_visible_);
  file->AddRecordElement(&divide_pen_, sizeof divide_pen_);
  file->WriteNextRecord();
  file->SetRecordNumber(kRecTagged);
  file->AddRecordElement(name_visible_ ? 1 : 0);
  file->WriteNextRecord();
  file->SetRecordNumber(kRecEnd);
  file->WriteNextRecord();
  return 1;
}

int CWpFacies::ReadFromFile(CZuMFile* file) {
  bool pending = false;
  if (!ReadSegmentSection(file, &pending)) return 0;
  if (!pending && !file->ReadNextRecord()) return 0;
  if (IsTagged(file)) {
    file->GetRecordElement(0, data_source_);
    file->GetRecordElement(1, data_name_);
    if (!file->ReadNextRecord()) return 0;
    int n = 0;
    if (IsTagged(file)) {
      file->GetRecordElement(0, n);
      if (!file->ReadNextRecord()) return 0;
    }
    if (n > 0) ClearSeg();
    for (int i = 0; i < n && IsTagged(file); ++i) {
      double top = 0, bottom = 0;
      auto rec = std::make_shared<FDIndex>();
      file->GetRecordElement(0, top);
      file->GetRecordElement(1, bottom);
      file->GetRecordElement(2, rec->index);
      file->GetRecordElement(3, rec->code);
      ReadBlock(file, 4, &rec->fill);
      const int at = AddASeg(top, bottom);
      if (at >= 0) segs_[static_cast<std::size_t>(at)].data = std::move(rec);
      if (!file->ReadNextRecord()) return 0;
    }
    if (IsTagged(file)) {
      ReadBlock(file, 0, &name_font_);
      if (!file->ReadNextRecord()) return 0;
      if (IsTagged(file)) {
        file->GetRecordElement(0, divide_line_visible_);
        divide_line_visible_ = divide_line_visible_ != 0 ? 1 : 0;
        ReadBlock(file, 1, &divide_pen_);
        if (!file->ReadNextRecord()) return 0;
        if (IsTagged(file)) {
          int visible = 1;
          file->GetRecordElement(0, visible);
          name_visible_ = visible != 0;
          if (!file->ReadNextRecord()) return 0;
        }
      }
    }
  }
  // Records of a later version are passed over up to the section's end.
  while (file->GetRecordNumber() != kRecEnd)
    if (!file->ReadNextRecord()) return 0;
  // Without a source the stored intervals show; their fills follow the
  // catalogue of today.
  if (LogFaciesTypeMgrIO* catalog = GetFaciesTypeMgr())
    for (WPSEGMENT& seg : segs_)
      if (auto* rec = dynamic_cast<FDIndex*>(seg.data.get()))
        rec->fill = catalog->GetBrush(catalog->FindByCode(rec->code));
  return 1;
}

// ---------------------------------------------------------------- export

void CWpFacies::ExportContent() {
  if (segs_.empty()) return;
  // The stored codes, not the catalogue names: the table reads back.
  IntervalExportTable table;
  table.what = Gbk("沉积相");
  std::size_t longest = 0;
  for (const WPSEGMENT& seg : segs_) {
    const auto* rec = dynamic_cast<const FDIndex*>(seg.data.get());
    IntervalExportRow row;
    row.top = MapYToDep(static_cast<float>(seg.top));
    row.thickness = MapYToDep(static_cast<float>(seg.bottom)) - row.top;
    row.name = rec ? rec->code : std::string();
    longest = std::max(longest, Trimmed(row.name).size());
    table.rows.push_back(std::move(row));
  }
  table.name_width = NameColumnWidth(longest);
  table.header = Gbk("顶深[m] 厚度[m] ") + (longest >= 1 ? title_text_ : std::string());
  ExportIntervalTable(this, table);
}

}  // namespace davodu
