#include "davodu/host/records/detail/record_walk.h"

#include "davodu/host/records/record_numbers.h"
#include "davodu/host/records/zu_mfile.h"

namespace davodu {

namespace {

constexpr int kMaxDepth = 64;

// Walks one section from its first record (the current one, not yet
// visited) to the 80 that closes it, objects nested in it walked whole.
bool WalkSection(CZuMFile* file, int depth, const RecordVisitor& visit) {
  bool have = true;
  for (;;) {
    if (!have && !file->ReadNextRecord()) return false;
    have = false;
    const unsigned short n = file->GetRecordNumber();
    if (visit) visit(*file, depth);
    if (n == kRecEnd) return true;
    if (n == kRecKitStart && !WalkObjectRecords(file, depth + 1, visit, &have)) return false;
  }
}

bool Walk(CZuMFile* file, int depth, const RecordVisitor& visit, bool* pending) {
  *pending = false;
  if (depth > kMaxDepth) return false;
  if (!file->ReadNextRecord() || !WalkSection(file, depth, visit)) return false;
  for (;;) {
    if (!file->ReadNextRecord()) return true;
    if (!StartsSection(file->GetRecordNumber())) {
      *pending = true;
      return true;
    }
    if (!WalkSection(file, depth, visit)) return false;
  }
}

}  // namespace

bool StartsSection(unsigned short number) { return number >= kRecFirstSection; }

bool WalkObjectRecords(CZuMFile* file, int depth, const RecordVisitor& visit, bool* pending) {
  return Walk(file, depth, visit, pending);
}

}  // namespace davodu
