// The perforation kit: records and the text export.
#include <algorithm>
#include <memory>

#include "davodu/data/data_date.h"
#include "davodu/host/records/record_numbers.h"
#include "davodu/host/records/zu_mfile.h"
#include "davodu/host/util/gbk.h"
#include "davodu/host/util/util.h"
#include "davodu/interval/interval_export.h"
#include "davodu/interval/wp_shoot.h"

namespace davodu {

namespace {

bool IsTagged(const CZuMFile* file) { return file->GetRecordNumber() == kRecTagged; }

}  // namespace

int CWpShoot::SaveToFile(CZuMFile* file) {
  SaveSegmentSection(file);
  file->SetRecordNumber(kRecTagged);
  file->AddRecordElement(data_source_);
  file->AddRecordElement(data_name_);
  // The date filter follows; documents written before it end here.
  file->AddRecordElement(start_date_);
  file->AddRecordElement(end_date_);
  file->WriteNextRecord();

  file->SetRecordNumber(kRecTagged);
  file->AddRecordElement(GetSegCount());
  file->WriteNextRecord();
  for (const WPSEGMENT& seg : segs_) {
    const auto* rec = dynamic_cast<const ShootDIndex*>(seg.data.get());
    file->SetRecordNumber(kRecTagged);
    file->AddRecordElement(seg.top);
    file->AddRecordElement(seg.bottom);
    file->AddRecordElement(rec ? rec->index : -1);
    file->AddRecordElement(rec ? rec->type : 1);
    file->AddRecordElement(rec ? rec->symbol : kOtherSymbol);
    file->WriteNextRecord();
  }
  file->SetRecordNumber(kRecEnd);
  file->WriteNextRecord();
  return 1;
}

int CWpShoot::ReadFromFile(CZuMFile* file) {
  bool pending = false;
  if (!ReadSegmentSection(file, &pending)) return 0;
  if (!pending && !file->ReadNextRecord()) return 0;
  if (IsTagged(file)) {
    file->GetRecordElement(0, data_source_);
    file->GetRecordElement(1, data_name_);
    if (file->GetRecordElementCount() >= 4) {
      file->GetRecordElement(2, start_date_);
      file->GetRecordElement(3, end_date_);
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
        int index = -1, type = 1;
        unsigned symbol = kOtherSymbol;
        file->GetRecordElement(0, top);
        file->GetRecordElement(1, bottom);
        file->GetRecordElement(2, index);
        file->GetRecordElement(3, type);
        file->GetRecordElement(4, symbol);
        const int at = AddASeg(top, bottom);
        if (at >= 0) segs_[static_cast<std::size_t>(at)].data = std::make_shared<ShootDIndex>(index, type, symbol);
        if (!file->ReadNextRecord()) return 0;
      }
    }
  }
  while (file->GetRecordNumber() != kRecEnd)
    if (!file->ReadNextRecord()) return 0;
  return 1;
}

// ---------------------------------------------------------------- export

void CWpShoot::ExportContent() {
  if (segs_.empty()) return;
  // Each perforation shown, with its date and its kind's name.
  LogShootDIO* io = GetData();
  IntervalExportTable table;
  table.what = Gbk("射孔");
  std::size_t date_width = 0, kind_width = 0;
  for (const WPSEGMENT& seg : segs_) {
    const auto* rec = dynamic_cast<const ShootDIndex*>(seg.data.get());
    IntervalExportRow row;
    row.top = MapYToDep(static_cast<float>(seg.top));
    row.thickness = MapYToDep(static_cast<float>(seg.bottom)) - row.top;
    const DataDate* date = io && rec ? io->GetDate(rec->index) : nullptr;
    row.columns.push_back(date && IsValidDate(*date) ? FormatDataDate(*date) : std::string());
    const int type = rec ? rec->type : 1;
    row.columns.push_back(Gbk(type == 2 ? "射孔" : type == 3 ? "补孔" : ""));
    date_width = std::max(date_width, row.columns[0].size());
    kind_width = std::max(kind_width, row.columns[1].size());
    table.rows.push_back(std::move(row));
  }
  table.header = Gbk("顶深[m] 厚度[m]");
  for (const auto& [width, header] : {std::pair{date_width, "射孔日期"}, std::pair{kind_width, "类型"}}) {
    if (width == 0) continue;
    table.column_widths.push_back(NameColumnWidth(std::max<std::size_t>(width, 5)));
    table.header += ExportColumnText(Gbk(header), table.column_widths.back());
  }
  // A column left out leaves its texts out too.
  if (date_width == 0 || kind_width == 0)
    for (IntervalExportRow& row : table.rows) row.columns.erase(row.columns.begin() + (date_width == 0 ? 0 : 1));
  ExportIntervalTable(this, table);
}

}  // namespace davodu
