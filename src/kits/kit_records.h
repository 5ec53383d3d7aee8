// Helpers shared by the kit readers.
#ifndef DAVODU_KITS_KIT_RECORDS_H_
#define DAVODU_KITS_KIT_RECORDS_H_

#include <cstring>

#include "davodu/host/record_numbers.h"
#include "davodu/host/zu_mfile.h"

namespace davodu {

// Copies a byte-block element over a stored record (pen, brush, font, ...)
// when its length is exactly the record's; returns false and leaves the
// record as it was otherwise.
template <typename T>
bool ReadBlock(const CZuMFile* file, int index, T* out) {
  const unsigned char* data = nullptr;
  std::size_t length = 0;
  if (!file->GetRecordElement(index, data, length) || length != sizeof(T)) return false;
  std::memcpy(static_cast<void*>(out), data, sizeof(T));
  return true;
}

// Skips the records of a kit whose class cannot be created, from the record
// after its 60 up to the 80 that closes its last section. Nested kits are
// skipped whole. Returns false when the data ends (or nests too deep) first.
// On return *pending tells whether the record last read already belongs to
// the caller (the next kit's 60, or the 80 that closes the caller's section).
bool SkipKitRecords(CZuMFile* file, bool* pending);

}  // namespace davodu

#endif  // DAVODU_KITS_KIT_RECORDS_H_
