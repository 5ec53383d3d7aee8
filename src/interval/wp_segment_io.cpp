// The segment kit: records.
#include "davodu/host/records/record_numbers.h"
#include "davodu/host/records/zu_mfile.h"
#include "davodu/interval/wp_segment.h"

namespace davodu {

void CWpSegment::SaveSegmentSection(CZuMFile* file) {
  CWpContent::SaveToFile(file);
  file->SetRecordNumber(kRecTagged);
  file->AddRecordElement(work_state_);
  file->AddRecordElement(static_cast<unsigned>(seg_color_));
  file->AddRecordElement(prev_body_top_);
  file->AddRecordElement(prev_body_bottom_);
  file->AddRecordElement(prev_top_depth_);
  file->AddRecordElement(prev_bottom_depth_);
  file->WriteNextRecord();
}

bool CWpSegment::ReadSegmentSection(CZuMFile* file, bool* pending) {
  *pending = false;
  if (!CWpContent::ReadFromFile(file)) return false;
  if (!file->ReadNextRecord()) return false;
  if (file->GetRecordNumber() != kRecTagged) {
    *pending = true;
    return true;
  }
  file->GetRecordElement(0, work_state_);
  unsigned color = seg_color_;
  if (file->GetRecordElement(1, color)) seg_color_ = color;
  // Older documents stored no layout: the next layout neither shifts nor
  // reloads the segments.
  if (file->GetRecordElementCount() > 5) {
    file->GetRecordElement(2, prev_body_top_);
    file->GetRecordElement(3, prev_body_bottom_);
    file->GetRecordElement(4, prev_top_depth_);
    file->GetRecordElement(5, prev_bottom_depth_);
  }
  return true;
}

int CWpSegment::SaveToFile(CZuMFile* file) {
  SaveSegmentSection(file);
  file->SetRecordNumber(kRecEnd);
  file->WriteNextRecord();
  return 1;
}

int CWpSegment::ReadFromFile(CZuMFile* file) {
  bool pending = false;
  if (!ReadSegmentSection(file, &pending)) return 0;
  // A plain segment kit's section ends here.
  if (!pending && !file->ReadNextRecord()) return 0;
  while (file->GetRecordNumber() != kRecEnd)
    if (!file->ReadNextRecord()) return 0;
  return 1;
}

}  // namespace davodu
