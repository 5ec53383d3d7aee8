// Helpers shared by the kit readers.
#ifndef DAVODU_KITS_KIT_RECORDS_H_
#define DAVODU_KITS_KIT_RECORDS_H_

#include <cstring>

#include "davodu/host/records/record_numbers.h"
#include "davodu/host/records/zu_mfile.h"

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

}  // namespace davodu

#endif  // DAVODU_KITS_KIT_RECORDS_H_
