// CZuFileHelp: keyed value records, the way an object stores a named
// setting in its record section without a fixed position: one record 153
// whose element 0 is the key and element 1 the value.
//
// SaveValue writes one such record. The readers look at the record the file
// is on (the caller has read it): when its number is 153, its element 0
// equals the key (letter case ignored) and element 1 converts to the asked
// type as CZuMFile::GetRecordElement converts it (integers to integers,
// floats and doubles to each other, texts to texts), the value is stored
// and true returned; otherwise the value is left as it was and false
// returned.
#ifndef DAVODU_HOST_RECORDS_ZU_FILE_HELP_H_
#define DAVODU_HOST_RECORDS_ZU_FILE_HELP_H_

#include <string>
#include <string_view>

#include "davodu/host/records/zu_mfile.h"

namespace davodu {

class CZuFileHelp {
 public:
  static void SaveValue(CZuMFile* file, std::string_view key, int value);
  static void SaveValue(CZuMFile* file, std::string_view key, unsigned int value);
  static void SaveValue(CZuMFile* file, std::string_view key, float value);
  static void SaveValue(CZuMFile* file, std::string_view key, double value);
  static void SaveValue(CZuMFile* file, std::string_view key, std::string_view value);
  static void SaveValue(CZuMFile* file, std::string_view key, const char* value) {
    SaveValue(file, key, std::string_view(value));
  }
  static void SaveValue(CZuMFile* file, std::string_view key, const std::string& value) {
    SaveValue(file, key, std::string_view(value));
  }

  // The key of the current record when it is a keyed record, else "".
  static std::string KeyOf(const CZuMFile* file);

  static bool ReadValue(const CZuMFile* file, std::string_view key, int* value);
  static bool ReadValue(const CZuMFile* file, std::string_view key, unsigned int* value);
  static bool ReadValue(const CZuMFile* file, std::string_view key, float* value);
  static bool ReadValue(const CZuMFile* file, std::string_view key, double* value);
  static bool ReadValue(const CZuMFile* file, std::string_view key, std::string* value);
};

}  // namespace davodu

#endif  // DAVODU_HOST_RECORDS_ZU_FILE_HELP_H_
