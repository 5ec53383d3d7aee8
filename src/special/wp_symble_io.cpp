// The symbol column base: records and the text export.
#include <memory>

#include "davodu/host/records/record_numbers.h"
#include "davodu/host/records/zu_mfile.h"
#include "davodu/host/util/gbk.h"
#include "davodu/interval/interval_export.h"
#include "davodu/special/wp_symble.h"

namespace davodu {

namespace {

bool IsTagged(const CZuMFile* file) { return file->GetRecordNumber() == kRecTagged; }

}  // namespace

void CWpSymble::SaveSymbleSection(CZuMFile* file) {
  SaveSegmentSection(file);
  file->SetRecordNumber(kRecTagged);
  file->AddRecordElement(data_source_);
  file->AddRecordElement(data_name_);
  file->AddRecordElement(static_cast<unsigned>(frame_visible_));
  file->AddRecordElement(edge_left_);
  file->AddRecordElement(edge_right_);
  file->AddRecordElement(static_cast<unsigned>(use_bk_color_));
  file->WriteNextRecord();
  file->SetRecordNumber(kRecTagged);
  file->AddRecordElement(GetSegCount());
  file->WriteNextRecord();
  for (const WPSEGMENT& seg : segs_) {
    const auto* rec = dynamic_cast<const SymbleDIndex*>(seg.data.get());
    const SymbleDIndex none;
    if (!rec) rec = &none;
    file->SetRecordNumber(kRecTagged);
    file->AddRecordElement(seg.top);
    file->AddRecordElement(seg.bottom);
    file->AddRecordElement(rec->index);
    file->AddRecordElement(rec->text);
    file->AddRecordElement(static_cast<unsigned>(rec->style));
    file->WriteNextRecord();
  }
}

bool CWpSymble::ReadSymbleSection(CZuMFile* file) {
  bool pending = false;
  if (!ReadSegmentSection(file, &pending)) return false;
  if (!pending && !file->ReadNextRecord()) return false;
  if (!IsTagged(file)) return true;
  unsigned flag = 0;
  file->GetRecordElement(0, data_source_);
  file->GetRecordElement(1, data_name_);
  if (file->GetRecordElement(2, flag)) frame_visible_ = flag != 0;
  if (file->GetRecordElementCount() > 5) {
    double left = edge_left_, right = edge_right_;
    file->GetRecordElement(3, left);
    file->GetRecordElement(4, right);
    // Offsets out of their range keep the defaults.
    if (left >= 0 && right >= 0 && left + right <= 1) edge_left_ = left, edge_right_ = right;
    if (file->GetRecordElement(5, flag)) use_bk_color_ = flag != 0;
  }
  SplitDataName();
  if (!file->ReadNextRecord()) return false;
  int n = 0;
  if (IsTagged(file)) {
    file->GetRecordElement(0, n);
    if (!file->ReadNextRecord()) return false;
  }
  if (n > 0 && !IsTableData()) ClearSeg();
  for (int i = 0; i < n && IsTagged(file); ++i) {
    double top = 0, bottom = 0;
    auto rec = std::make_shared<SymbleDIndex>();
    unsigned style = 0;
    file->GetRecordElement(0, top);
    file->GetRecordElement(1, bottom);
    file->GetRecordElement(2, rec->index);
    file->GetRecordElement(3, rec->text);
    file->GetRecordElement(4, style);
    rec->style = style;
    const int at = AddASeg(top, bottom);
    if (at >= 0) {
      segs_[static_cast<std::size_t>(at)].data = std::move(rec);
      AnchorSeg(segs_[static_cast<std::size_t>(at)]);
    }
    if (!file->ReadNextRecord()) return false;
  }
  return true;
}

int CWpSymble::SaveToFile(CZuMFile* file) {
  SaveSymbleSection(file);
  file->SetRecordNumber(kRecEnd);
  file->WriteNextRecord();
  return 1;
}

int CWpSymble::ReadFromFile(CZuMFile* file) {
  if (!ReadSymbleSection(file)) return 0;
  while (file->GetRecordNumber() != kRecEnd)
    if (!file->ReadNextRecord()) return 0;
  return 1;
}

void CWpSymble::ExportContent() {
  if (segs_.empty()) return;
  IntervalExportTable table;
  const int type = GetWpKitType();
  table.what = Gbk(type == WPKIT_SYMBLECYCLE ? "旋回" : type == WPKIT_SYMBLESHOOT ? "射孔" : "层理");
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
