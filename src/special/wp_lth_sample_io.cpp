// The rock sample kit: records and the text export.
#include <cmath>
#include <cstdio>
#include <memory>

#include "davodu/host/dialogs/dialogs.h"
#include "davodu/host/records/record_numbers.h"
#include "davodu/host/records/zu_mfile.h"
#include "davodu/host/util/gbk.h"
#include "davodu/host/util/text_table_writer.h"
#include "davodu/host/util/util.h"
#include "davodu/kits/kit_records.h"
#include "davodu/special/wp_lth_sample.h"
#include "davodu/well/wp_well.h"

namespace davodu {

namespace {

constexpr const char* kClassTag = "CWpLthSample";

bool IsTagged(const CZuMFile* file) { return file->GetRecordNumber() == kRecTagged; }

std::string TagOf(const CZuMFile* file) {
  std::string tag;
  file->GetRecordElement(0, tag);
  return tag;
}

void WriteTagged(CZuMFile* file, const char* tag, std::initializer_list<double> values) {
  file->SetRecordNumber(kRecTagged);
  file->AddRecordElement(std::string(tag));
  for (double v : values) file->AddRecordElement(v);
  file->WriteNextRecord();
}

}  // namespace

// The kit's section opens with its class name (record 60) inside the
// segment section; each cored interval is a run of records closed by its
// own 80, and a last 80 closes the section. A column without intervals
// writes one more 80: record walkers take the class record for a nested
// object, whose one section that first 80 closes, and the second closes
// the segment section as it always does. The settings record says how many
// intervals follow, so that a reader knows to expect it.
int CWpLthSample::SaveToFile(CZuMFile* file) {
  SaveSegmentSection(file);
  file->SetRecordNumber(kRecKitStart);
  file->AddRecordElement(std::string(kClassTag));
  file->WriteNextRecord();

  file->SetRecordNumber(kRecTagged);
  file->AddRecordElement(data_source_);
  file->AddRecordElement(data_name_);
  file->AddRecordElement(mark_step_);
  file->AddRecordElement(mark_text_visible_);
  file->AddRecordElement(mark_text_align_);
  file->AddRecordElement(&seg_pen_, sizeof seg_pen_);
  file->AddRecordElement(&sample_pen_, sizeof sample_pen_);
  file->AddRecordElement(&mark_font_, sizeof mark_font_);
  file->AddRecordElement(GetSegCount());
  file->WriteNextRecord();

  for (const WPSEGMENT& seg : segs_) {
    WriteTagged(file, "Segment", {seg.top, seg.bottom});
    if (const auto* rec = dynamic_cast<const LthSampleDIndex*>(seg.data.get())) {
      WriteTagged(file, "SegTop", {rec->top_depth});
      for (const auto& [distance, number] : rec->samples) WriteTagged(file, "Sample", {distance, number});
    }
    file->SetRecordNumber(kRecEnd);
    file->WriteNextRecord();
  }
  file->SetRecordNumber(kRecEnd);
  file->WriteNextRecord();
  if (segs_.empty()) {
    file->SetRecordNumber(kRecEnd);
    file->WriteNextRecord();
  }
  return 1;
}

int CWpLthSample::ReadFromFile(CZuMFile* file) {
  bool pending = false;
  if (!ReadSegmentSection(file, &pending)) return 0;
  if (!pending && !file->ReadNextRecord()) return 0;
  if (file->GetRecordNumber() != kRecKitStart || !EqualsNoCase(TagOf(file), kClassTag)) return 0;
  if (!file->ReadNextRecord()) return 0;
  // The settings, by element index; shorter records of older documents
  // keep the defaults of what they lack.
  int stored_count = -1;
  if (IsTagged(file)) {
    file->GetRecordElement(0, data_source_);
    file->GetRecordElement(1, data_name_);
    file->GetRecordElement(2, mark_step_);
    file->GetRecordElement(3, mark_text_visible_);
    file->GetRecordElement(4, mark_text_align_);
    ReadBlock(file, 5, &seg_pen_);
    ReadBlock(file, 6, &sample_pen_);
    ReadBlock(file, 7, &mark_font_);
    file->GetRecordElement(8, stored_count);
    SplitDataName();
    if (!file->ReadNextRecord()) return 0;
  }
  ClearSeg();
  while (file->GetRecordNumber() != kRecEnd) {
    if (IsTagged(file) && TagOf(file) == "Segment") {
      double top = 0, bottom = 0;
      file->GetRecordElement(1, top);
      file->GetRecordElement(2, bottom);
      const int at = AddASeg(top, bottom);
      std::shared_ptr<LthSampleDIndex> rec;
      if (at >= 0) {
        rec = std::make_shared<LthSampleDIndex>(at);
        WPSEGMENT& seg = segs_[static_cast<std::size_t>(at)];
        seg.data = rec;
        AnchorSeg(seg);
      }
      // The interval's own records up to its 80; those of an interval
      // that was not taken are passed over with it.
      for (;;) {
        if (!file->ReadNextRecord()) return 0;
        if (file->GetRecordNumber() == kRecEnd) break;
        if (!rec || !IsTagged(file)) continue;
        const std::string tag = TagOf(file);
        if (tag == "SegTop") {
          file->GetRecordElement(1, rec->top_depth);
        } else if (tag == "Sample") {
          double distance = 0, number = kFltMax;
          file->GetRecordElement(1, distance);
          file->GetRecordElement(2, number);
          rec->samples.emplace_back(distance, number);
        }
      }
    }
    if (!file->ReadNextRecord()) return 0;
  }
  // The second 80 of a column stored without intervals.
  if (stored_count == 0 && (!file->ReadNextRecord() || file->GetRecordNumber() != kRecEnd)) return 0;
  return 1;
}

// ---------------------------------------------------------------- export

void CWpLthSample::ExportContent() {
  if (segs_.empty()) return;
  CWpWell* well = GetWell();
  FileDialogRequest request;
  request.save = true;
  request.default_extension = "txt";
  request.default_name = (well ? well->GetName() : std::string()) + Gbk("井") + title_text_ + Gbk("数据");
  request.filter = Gbk("文本文件(*.txt)|*.txt|所有文件(*.*)|*.*||");
  request.title = Gbk("保存为文件 - 导出岩样数据");
  request.overwrite_prompt = true;
  HostDialogs& dialogs = AfxGetDialogs();
  std::string path;
  if (!dialogs.FileDialog(request, &path)) return;

  TextTableWriter table;
  std::string error;
  if (!table.Open(path, &error)) {
    dialogs.FileWritten(path, error);
    return;
  }
  CProcessDialog& progress = dialogs.Progress();
  progress.SetTitle(Gbk("正在导出岩样数据 ..."));
  progress.SetMaxValue(100);
  table.Text(" TOP       BOT     DISTANCE  SAMPLEID");
  const std::size_t n = segs_.size();
  for (std::size_t i = 0; i < n; ++i) {
    const WPSEGMENT& seg = segs_[i];
    const auto* rec = dynamic_cast<const LthSampleDIndex*>(seg.data.get());
    if (rec) {
      const double top = MapYToDep(static_cast<float>(seg.top));
      const double bottom = MapYToDep(static_cast<float>(seg.bottom));
      for (const auto& [distance, number] : rec->samples) {
        table.NewLine();
        table.Number(top, 7, 2);
        table.Number(bottom, 10, 2);
        table.Value(distance, 7, 2);
        // The number as an integer; one the data lacked as the missing value.
        const double shown = TextTableWriter::Printable(number);
        char cell[32];
        std::snprintf(cell, sizeof cell, "    %lld", static_cast<long long>(std::trunc(shown)));
        table.Text(cell);
      }
    }
    progress.SetPos(static_cast<int>(i * 99 / n));
  }
  progress.Uninitialize();
  table.Commit(&error);
  dialogs.FileWritten(path, error);
}

}  // namespace davodu
