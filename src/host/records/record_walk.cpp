#include "davodu/host/records/detail/record_walk.h"

#include "davodu/host/records/record_numbers.h"
#include "davodu/host/records/zu_mfile.h"

namespace davodu {

namespace {

constexpr int kMaxDepth = 64;

bool Walk(CZuMFile* file, int depth, const RecordVisitor& visit, bool* pending) {
  *pending = false;
  if (depth > kMaxDepth) return false;
  bool have = false;
  for (;;) {
    if (!have && !file->ReadNextRecord()) return false;
    have = false;
    const unsigned short n = file->GetRecordNumber();
    if (visit) visit(*file, depth);
    if (n == kRecEnd) break;
    if (n == kRecKitStart && !Walk(file, depth + 1, visit, &have)) return false;
  }
  for (;;) {
    if (!file->ReadNextRecord()) return true;
    const unsigned short n = file->GetRecordNumber();
    if (n != kRecTagged) {
      *pending = true;
      return true;
    }
    for (;;) {
      if (visit) visit(*file, depth);
      if (file->GetRecordNumber() == kRecEnd) break;
      if (!file->ReadNextRecord()) return false;
    }
  }
}

}  // namespace

bool WalkObjectRecords(CZuMFile* file, int depth, const RecordVisitor& visit, bool* pending) {
  return Walk(file, depth, visit, pending);
}

}  // namespace davodu
