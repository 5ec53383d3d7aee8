// Importing LAS files into the well database.
#ifndef DAVODU_IMPORT_LAS_IMPORT_H_
#define DAVODU_IMPORT_LAS_IMPORT_H_

#include <cstdint>
#include <string>
#include <vector>

#include "davodu/store/well_data_manager.h"

namespace davodu {

// What an import of one LAS file did. Text is UTF-8.
struct LasImportResult {
  std::string well;              // the well it went into
  int curves = 0;                // curves stored
  bool header_only = false;      // the file holds no log data
  bool already_imported = false; // the same file's curves are the well's already
  std::string imported_at;       // when the recognised import happened
  std::vector<std::string> notes;  // header values the well kept
};

// Imports a LAS file into one well: the well (UTF-8) is `well` when not
// empty, else the file's WELL item, else the file's stem, and is created
// when missing. Its numeric curves (text columns are left out) replace
// curves of the same names; depths in feet or other length units become
// metres. The import is recorded with the file's name, size and hash and
// its ~Well, ~Parameter and ~Other sections, and the well takes the header
// fields it lacks (UWI or API, field, location, elevations, x and y).
//
// A file without log data imports its header only. A file imported before
// whose curves are still the well's is recognised by its hash and changes
// nothing. Returns false with *error ("FILE:LINE: cause") and leaves the
// database unchanged when the file cannot be read or stored, and when its
// index is not a depth (a time, or a unit that is not a length).
bool ImportLasFile(CWellDataManager& wells, const std::string& path, const std::string& well,
                   LasImportResult* result, std::string* error);

// ImportLasFile in two steps: reading the file, which needs no database (a
// caller may open one meanwhile), and storing what was read.
struct LasImport {
  std::string path;
  std::string well;  // UTF-8
  bool header_only = false;
  LogImport log;
};
bool ReadLasImport(const std::string& path, const std::string& well, LasImport* out, std::string* error);
bool StoreLasImport(CWellDataManager& wells, const LasImport& in, LasImportResult* result, std::string* error);

}  // namespace davodu

#endif  // DAVODU_IMPORT_LAS_IMPORT_H_
