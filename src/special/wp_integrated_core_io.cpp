// The coring summary kit: records and the text export.
#include <cstdio>
#include <memory>

#include "davodu/host/dialogs/dialogs.h"
#include "davodu/host/records/record_numbers.h"
#include "davodu/host/records/zu_mfile.h"
#include "davodu/host/util/gbk.h"
#include "davodu/host/util/text_table_writer.h"
#include "davodu/kits/kit_records.h"
#include "davodu/special/wp_integrated_core.h"
#include "davodu/well/wp_well.h"

namespace davodu {

namespace {

constexpr const char* kSettingsTag = "CoreSettings";
constexpr const char* kRunTag = "CoreRun";

bool IsTagged(const CZuMFile* file) { return file->GetRecordNumber() == kRecTagged; }

std::string TagOf(const CZuMFile* file) {
  std::string tag;
  file->GetRecordElement(0, tag);
  return tag;
}

}  // namespace

// After the segment section: one settings record, then one record per run
// shown (its map interval, the data row it shows and what the data said of
// it), closed by 80. Records are told by their tags; others are passed over.
int CWpIntegratedCore::SaveToFile(CZuMFile* file) {
  SaveSegmentSection(file);
  file->SetRecordNumber(kRecTagged);
  file->AddRecordElement(std::string(kSettingsTag));
  file->AddRecordElement(data_source_);
  file->AddRecordElement(data_name_);
  file->AddRecordElement(&outline_pen_, sizeof outline_pen_);
  file->AddRecordElement(&core_brush_, sizeof core_brush_);
  file->AddRecordElement(&lost_brush_, sizeof lost_brush_);
  file->AddRecordElement(&text_font_, sizeof text_font_);
  file->AddRecordElement(text_visible_ ? 1 : 0);
  file->AddRecordElement(bar_width_);
  file->WriteNextRecord();
  for (const WPSEGMENT& seg : segs_) {
    const auto* rec = dynamic_cast<const CoreRunDIndex*>(seg.data.get());
    const CoreRunDIndex none;
    if (!rec) rec = &none;
    file->SetRecordNumber(kRecTagged);
    file->AddRecordElement(std::string(kRunTag));
    file->AddRecordElement(seg.top);
    file->AddRecordElement(seg.bottom);
    file->AddRecordElement(rec->index);
    file->AddRecordElement(rec->run);
    file->AddRecordElement(rec->footage);
    file->AddRecordElement(rec->core_length);
    file->AddRecordElement(rec->recovery);
    file->WriteNextRecord();
  }
  file->SetRecordNumber(kRecEnd);
  file->WriteNextRecord();
  return 1;
}

int CWpIntegratedCore::ReadFromFile(CZuMFile* file) {
  bool pending = false;
  if (!ReadSegmentSection(file, &pending)) return 0;
  if (!pending && !file->ReadNextRecord()) return 0;
  ClearSeg();
  while (file->GetRecordNumber() != kRecEnd) {
    if (IsTagged(file)) {
      const std::string tag = TagOf(file);
      if (tag == kSettingsTag) {
        file->GetRecordElement(1, data_source_);
        file->GetRecordElement(2, data_name_);
        ReadBlock(file, 3, &outline_pen_);
        ReadBlock(file, 4, &core_brush_);
        ReadBlock(file, 5, &lost_brush_);
        ReadBlock(file, 6, &text_font_);
        int visible = 1;
        file->GetRecordElement(7, visible);
        text_visible_ = visible != 0;
        double bar = bar_width_;
        if (file->GetRecordElement(8, bar)) SetBarWidth(bar);
      } else if (tag == kRunTag) {
        double top = 0, bottom = 0;
        auto rec = std::make_shared<CoreRunDIndex>();
        file->GetRecordElement(1, top);
        file->GetRecordElement(2, bottom);
        file->GetRecordElement(3, rec->index);
        file->GetRecordElement(4, rec->run);
        file->GetRecordElement(5, rec->footage);
        file->GetRecordElement(6, rec->core_length);
        file->GetRecordElement(7, rec->recovery);
        const int at = AddASeg(top, bottom);
        if (at >= 0) {
          WPSEGMENT& seg = segs_[static_cast<std::size_t>(at)];
          seg.data = std::move(rec);
          AnchorSeg(seg);
        }
      }
    }
    if (!file->ReadNextRecord()) return 0;
  }
  return 1;
}

// ---------------------------------------------------------------- export

void CWpIntegratedCore::ExportContent() {
  if (segs_.empty()) return;
  CWpWell* well = GetWell();
  FileDialogRequest request;
  request.save = true;
  request.default_extension = "txt";
  request.default_name = (well ? well->GetName() : std::string()) + Gbk("井") + title_text_ + Gbk("数据");
  request.filter = Gbk("文本文件(*.txt)|*.txt|所有文件(*.*)|*.*||");
  request.title = Gbk("保存为文件 - 导出取芯数据");
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
  progress.SetTitle(Gbk("正在导出取芯数据 ..."));
  progress.SetMaxValue(100);
  table.Text(Gbk("筒次 顶深[m] 底深[m] 进尺[m] 心长[m] 收获率[%]"));
  const std::size_t n = segs_.size();
  for (std::size_t i = 0; i < n; ++i) {
    const WPSEGMENT& seg = segs_[i];
    const auto* rec = dynamic_cast<const CoreRunDIndex*>(seg.data.get());
    table.NewLine();
    table.Value(rec && rec->run >= 0 ? rec->run : kFltMax, 4, 0);
    table.Number(MapYToDep(static_cast<float>(seg.top)), 9, 2);
    table.Number(MapYToDep(static_cast<float>(seg.bottom)), 9, 2);
    table.Value(rec ? rec->footage : kFltMax, 9, 2);
    table.Value(rec ? rec->core_length : kFltMax, 9, 2);
    table.Value(rec ? rec->recovery : kFltMax, 9, 1);
    progress.SetPos(static_cast<int>(i * 99 / n));
  }
  progress.Uninitialize();
  table.Commit(&error);
  dialogs.FileWritten(path, error);
}

}  // namespace davodu
