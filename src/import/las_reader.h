// Reading LAS files (Log ASCII Standard 1.2, 2.0 and the log data of 3.0).
//
// A file without log data (no ~A section, or only other data sets of
// version 3.0) is read as a header: its sections, and the curves its ~C
// section defines, without values (LasFile::has_data false). Data without
// curve definitions takes its column names from the ~A line when that line
// names every column, else "UNKNOWN:1", "UNKNOWN:2", ...
//
// The reader keeps the values as written: the index curve in its own unit
// (see LasIndexUnitToMetres), missing values (the NULL value of the well
// section, empty fields, or a NaN as some C libraries print it, "-1.#IND")
// as NaN. A column holding any other text that is not a number is a text
// column (LasCurve::is_text).
// Duplicate mnemonics are renamed "SFLU:1", "SFLU:2", ... in order of
// appearance. Text is returned as UTF-8 (files in Windows-1252 or Latin-1
// are converted).
#ifndef DAVODU_IMPORT_LAS_READER_H_
#define DAVODU_IMPORT_LAS_READER_H_

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace davodu {

struct LasHeaderItem {
  std::string mnemonic;
  std::string unit;
  std::string value;
  std::string description;
};

struct LasCurve {
  std::string mnemonic;     // unique within the file
  std::string unit;
  std::string description;
  bool is_text = false;     // a column of texts: kept out of the numeric curves
  std::vector<double> values;        // numeric curves; NaN where missing
  std::vector<std::string> texts;    // text columns
};

struct LasFile {
  std::string version;      // "1.2", "2.0", "3.0"
  bool wrapped = false;
  double null_value = -999.25;
  bool has_null = false;
  std::string well_name;    // the WELL item of the well section, trimmed (may be empty)
  std::vector<LasHeaderItem> version_section;
  std::vector<LasHeaderItem> well_section;
  std::vector<LasHeaderItem> parameter_section;
  std::vector<std::string> other_section;  // the lines of ~Other, trimmed
  bool has_data = false;         // a log data section was read
  std::vector<LasCurve> curves;  // curves[0] is the index (depth) curve
  // The bytes read: their count and XXH3 128-bit hash ("xxh128:" and 32 hex
  // digits, as `xxhsum -H2` prints it), by which an import recognises a
  // file it read before.
  std::int64_t file_size = 0;
  std::string file_hash;

  // The index curve's unit as written ("M", "FT", ".1IN", ...).
  const std::string& index_unit() const;
};

struct LasError {
  std::string file;
  int line = 0;        // 1-based; 0 when the error concerns the whole file
  std::string message;
  // "FILE:LINE: MESSAGE"
  std::string ToString() const;
};

// Parses LAS text. name is used in error messages. Returns false with *error
// set when the text is not a readable LAS file.
bool ReadLas(std::string_view text, const std::string& name, LasFile* out, LasError* error);
// Reads a file from disk.
bool ReadLasFile(const std::string& path, LasFile* out, LasError* error);

// Metres per unit of a depth index unit: 1 for metres ("M", "m", "METRE"),
// 0.3048 for feet ("F", "FT", "FEET", "FOOT"), 0.00254 for ".1IN"; 0 for a
// unit that is not a length the reader knows.
double LasIndexUnitToMetres(std::string_view unit);

}  // namespace davodu

#endif  // DAVODU_IMPORT_LAS_READER_H_
