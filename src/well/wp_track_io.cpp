// Reading and writing of the track's records: the "Trk" record of the grid
// settings and one "DrawOrder" record per draw-order entry.
#include <algorithm>
#include <cstring>
#include <string>

#include "davodu/host/records/record_numbers.h"
#include "davodu/host/records/zu_mfile.h"
#include "davodu/host/util/gbk.h"
#include "davodu/well/wp_track.h"

namespace davodu {

namespace {

// A pen block of a record: at most the pen's 20 bytes are taken.
void ReadPenBlock(const CZuMFile* file, int index, ZULOGPEN* pen) {
  const unsigned char* data = nullptr;
  std::size_t length = 0;
  if (!file->GetRecordElement(index, data, length) || !data) return;
  std::memcpy(static_cast<void*>(pen), data, std::min(length, sizeof *pen));
}

void WritePen(CZuMFile* file, const ZULOGPEN& pen) { file->AddRecordElement(&pen, sizeof pen); }

}  // namespace

int CWpTrack::SaveToFile(CZuMFile* file) {
  CWpInWell::SaveToFile(file);

  file->SetRecordNumber(kRecTagged);
  file->AddRecordElement("Trk");
  file->AddRecordElement(1);
  file->AddRecordElement(1);
  file->AddRecordElement(show_depth_);
  file->AddRecordElement(show_scale_);
  file->AddRecordElement(maj_dep_);
  file->AddRecordElement(mid_dep_);
  file->AddRecordElement(min_dep_);
  WritePen(file, maj_dep_pen_);
  WritePen(file, mid_dep_pen_);
  WritePen(file, min_dep_pen_);
  file->AddRecordElement(log_scale_);
  file->AddRecordElement(left_);
  file->AddRecordElement(right_);
  file->AddRecordElement(maj_scale_);
  file->AddRecordElement(show_mid_);
  file->AddRecordElement(min_scale_);
  WritePen(file, maj_scale_pen_);
  WritePen(file, mid_scale_pen_);
  WritePen(file, min_scale_pen_);
  file->WriteNextRecord();

  for (int i : draw_order_) {
    file->SetRecordNumber(kRecTagged);
    file->AddRecordElement("DrawOrder");
    file->AddRecordElement(i);
    file->WriteNextRecord();
  }

  file->SetRecordNumber(kRecEnd);
  file->WriteNextRecord();
  return 1;
}

int CWpTrack::ReadFromFile(CZuMFile* file) {
  // A base section that did not end at its 80 leaves the file somewhere
  // inside it; reading on would take the parent's records for the track's.
  if (!CWpInWell::ReadFromFile(file)) return 0;
  draw_order_.clear();
  while (file->ReadNextRecord()) {
    const unsigned short number = file->GetRecordNumber();
    if (number == kRecEnd) {
      ProOldVersion();
      NormalizeDrawOrder();
      return 1;
    }
    if (number != kRecTagged) continue;
    std::string tag;
    file->GetRecordElement(0, tag);
    if (EqualsNoCase(tag, "Trk")) {
      int dropped = 0;
      file->GetRecordElement(1, dropped);
      file->GetRecordElement(2, dropped);
      file->GetRecordElement(3, show_depth_);
      file->GetRecordElement(4, show_scale_);
      file->GetRecordElement(5, maj_dep_);
      file->GetRecordElement(6, mid_dep_);
      file->GetRecordElement(7, min_dep_);
      ReadPenBlock(file, 8, &maj_dep_pen_);
      ReadPenBlock(file, 9, &mid_dep_pen_);
      ReadPenBlock(file, 10, &min_dep_pen_);
      file->GetRecordElement(11, log_scale_);
      file->GetRecordElement(12, left_);
      file->GetRecordElement(13, right_);
      file->GetRecordElement(14, maj_scale_);
      file->GetRecordElement(15, show_mid_);
      file->GetRecordElement(16, min_scale_);
      ReadPenBlock(file, 17, &maj_scale_pen_);
      ReadPenBlock(file, 18, &mid_scale_pen_);
      ReadPenBlock(file, 19, &min_scale_pen_);
      // The scale divides the width by these.
      maj_scale_ = std::max(maj_scale_, 1);
      min_scale_ = std::max(min_scale_, 1);
    } else if (tag == "DrawOrder") {
      int index = -1;
      file->GetRecordElement(1, index);
      draw_order_.push_back(index);
    }
  }
  return 0;
}

}  // namespace davodu
