// Reading and writing of the host object's own records: name (100), type
// name (129), visible flag (143), properties (118), time stamp (123) and
// segments (131).
#include <cstring>

#include "davodu/host/objects/zu_object.h"
#include "davodu/host/records/record_numbers.h"
#include "davodu/host/records/zu_mfile.h"

namespace davodu {


void CZuPropertyManager::SaveToFile(CZuMFile* file) const {
  for (const auto& [name, value] : props_) {
    file->SetRecordNumber(kRecProperty);
    file->AddRecordElement(name);
    file->AddRecordElement(value);
    file->WriteNextRecord();
  }
}

bool CZuPropertyManager::ReadOneProperty(CZuMFile* file) {
  std::string name, value;
  if (!file->GetRecordElement(0, name) || !file->GetRecordElement(1, value)) return false;
  Set(name, value);
  return true;
}

void CZuObject::SaveSegment(CZuMFile* file) const {
  for (const CZuSegment& seg : segments_) {
    file->SetRecordNumber(kRecSegment);
    file->AddRecordElement(seg.name);
    file->AddRecordElement(static_cast<int>(seg.points.size()));
    std::string raw(seg.points.size() * 2 * sizeof(double), '\0');
    char* out = raw.data();
    for (const FLOATPOINT& p : seg.points) {
      std::memcpy(out, &p.x, sizeof(double));
      std::memcpy(out + sizeof(double), &p.y, sizeof(double));
      out += 2 * sizeof(double);
    }
    file->AddRecordElement(raw.data(), raw.size());
    file->WriteNextRecord();
  }
}

bool CZuObject::ReadSegment(CZuMFile* file) {
  CZuSegment seg;
  int count = -1;
  const unsigned char* data = nullptr;
  std::size_t length = 0;
  if (!file->GetRecordElement(0, seg.name) || !file->GetRecordElement(1, count) ||
      !file->GetRecordElement(2, data, length))
    return false;
  if (count < 0 || length != static_cast<std::size_t>(count) * 2 * sizeof(double)) return false;
  seg.points.resize(static_cast<std::size_t>(count));
  for (std::size_t i = 0; i < seg.points.size(); ++i) {
    std::memcpy(&seg.points[i].x, data + i * 16, sizeof(double));
    std::memcpy(&seg.points[i].y, data + i * 16 + 8, sizeof(double));
  }
  segments_.push_back(std::move(seg));
  return true;
}

// The host object writes its common records; it opens and closes no section
// of its own (record 60 is written by whoever stores the object, record 80
// by the subclass that closes the section).
int CZuObject::SaveToFile(CZuMFile* file) {
  file->SetRecordNumber(kRecName);
  file->AddRecordElement(name_);
  file->WriteNextRecord();
  file->SetRecordNumber(kRecTypeName);
  file->AddRecordElement(type_name_);
  file->WriteNextRecord();
  file->SetRecordNumber(kRecVisible);
  file->AddRecordElement(visible_);
  file->WriteNextRecord();
  properties_.SaveToFile(file);
  file->SetRecordNumber(kRecTimeStamp);
  file->AddRecordElement(time_stamp_);
  file->WriteNextRecord();
  SaveSegment(file);
  return 1;
}

int CZuObject::ReadObjectRecord(CZuMFile* file) {
  switch (file->GetRecordNumber()) {
    case kRecName:
      file->GetRecordElement(0, name_);
      return 1;
    case kRecTypeName:
      file->GetRecordElement(0, type_name_);
      return 1;
    case kRecVisible:
      file->GetRecordElement(0, visible_);
      return 1;
    case kRecProperty:
      properties_.ReadOneProperty(file);
      return 1;
    case kRecTimeStamp:
      file->GetRecordElement(0, time_stamp_);
      return 1;
    case kRecSegment:
      return ReadSegment(file) ? 1 : -1;
    default:
      return 0;
  }
}

// Reads the common records up to the closing 80: 1 when it was reached,
// 0 when the data ended first or a segment was bad.
int CZuObject::ReadFromFile(CZuMFile* file) {
  while (file->ReadNextRecord()) {
    if (file->GetRecordNumber() == kRecEnd) return 1;
    if (ReadObjectRecord(file) < 0) return 0;
  }
  return 0;
}

}  // namespace davodu
