// The exercises of the LAS, CSV and chart template fuzzers, shared with the
// test that replays their corpora. Each reads one input and checks the
// reader's contract on what it returns: a refused input names the file and
// says why, an accepted one is consistent. Crashes and undefined behaviour
// are caught by the sanitizers.
#ifndef DAVODU_FUZZ_TEXT_READERS_EXERCISE_H_
#define DAVODU_FUZZ_TEXT_READERS_EXERCISE_H_

#include <cmath>
#include <cstddef>
#include <cstdint>
#include <set>
#include <string>
#include <string_view>

#include "davodu/import/csv_reader.h"
#include "davodu/import/las_reader.h"

namespace davodu::fuzzing {

inline std::string_view AsText(const std::uint8_t* bytes, std::size_t size) {
  return {reinterpret_cast<const char*>(bytes), size};
}

inline bool ExerciseLas(const std::uint8_t* bytes, std::size_t size) {
  LasFile las;
  LasError error;
  if (!ReadLas(AsText(bytes, size), "input.las", &las, &error))
    return error.file == "input.las" && !error.message.empty() && error.line >= 0 &&
           error.ToString().rfind("input.las:", 0) == 0;
  // A file without log data (a well header) is read with no samples.
  if (!las.has_data) {
    for (const LasCurve& c : las.curves)
      if (!c.values.empty() || !c.texts.empty()) return false;
    return true;
  }
  if (las.curves.empty() || las.curves.front().is_text) return false;
  const std::size_t rows = las.curves.front().values.size();
  std::set<std::string> mnemonics;
  for (const LasCurve& c : las.curves) {
    if (!mnemonics.insert(c.mnemonic).second) return false;  // renamed to be unique
    if ((c.is_text ? c.texts.size() : c.values.size()) != rows) return false;
    if (c.is_text ? !c.values.empty() : !c.texts.empty()) return false;
  }
  return true;
}

inline bool ExerciseCsv(const std::uint8_t* bytes, std::size_t size) {
  CsvTable table;
  CsvError error;
  if (!ReadCsv(AsText(bytes, size), "input.csv", &table, &error))
    return error.file == "input.csv" && !error.message.empty() && error.line >= 0;
  if (table.header.empty() || table.row_lines.size() != table.rows.size()) return false;
  int previous_line = 1;
  for (std::size_t i = 0; i < table.rows.size(); ++i) {
    if (table.rows[i].size() != table.header.size()) return false;
    if (table.row_lines[i] <= previous_line) return false;  // rows start on later lines
    previous_line = table.row_lines[i];
  }
  return true;
}

}  // namespace davodu::fuzzing

#endif  // DAVODU_FUZZ_TEXT_READERS_EXERCISE_H_
