// The records the well database hands out: table keys, immutable table and
// curve snapshots, well header rows and scattered table entries.
//
// Snapshots are shared through std::shared_ptr and never change once made:
// a snapshot stays valid for as long as someone holds it, however the
// database changes meanwhile. Text is GBK.
#ifndef DAVODU_STORE_WELL_RECORDS_H_
#define DAVODU_STORE_WELL_RECORDS_H_

#include <compare>
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "davodu/store/deviation.h"
#include "davodu/store/well_schema.h"
#include "davodu/store/zu_variant.h"

namespace davodu {

// Identifies one table: its kind, its owner (a well id, a scattered table
// id, or 0 for catalogues) and its sub-key (level, table number, cycle span,
// symbol set; 0 when the kind has none).
struct TableKey {
  TableKind kind = TableKind::kStratum;
  std::int64_t owner = 0;
  int sub = 0;
  friend auto operator<=>(const TableKey&, const TableKey&) = default;
};

// One table as it was at one time stamp.
struct TableData {
  TableKey key;
  std::uint64_t stamp = 0;
  const TableLayout* layout = nullptr;
  std::size_t fixed_columns = 0;       // the kind's own columns come first
  std::vector<std::string> columns;    // GBK host names, then the table's own columns
  std::vector<std::int64_t> row_ids;   // database ids of the rows, in row order
  std::vector<std::int64_t> row_nos;   // their order keys
  std::vector<std::vector<CZuVariant>> rows;

  int GetCount() const { return static_cast<int>(rows.size()); }
  // Column of a GBK host name or an English (SQL) name; -1 when unknown.
  int FindColumn(std::string_view name) const;
  // The cell, or a null variant for an index or column out of range.
  const CZuVariant& Get(int row, int column) const;

  std::unordered_map<std::string, int> lookup;  // filled by the loader
};

// One log curve as it was at one time stamp. Missing samples hold
// kFltMax; depths ascend. The curves of one import share their depth index
// (the same vector, also in memory).
struct CurveData {
  std::int64_t well_id = 0;
  std::string name;  // GBK
  std::string unit;  // GBK
  std::uint64_t stamp = 0;
  std::shared_ptr<const std::vector<double>> index;  // never null
  std::vector<double> values;
  int missing = 0;
  double min = kFltMax;  // over the samples that are not missing
  double max = kFltMax;
  double top = kFltMax;  // first and last depth
  double bottom = kFltMax;
  std::shared_ptr<const Trajectory> trajectory;  // the well's, when loaded

  // Measured depths of the samples.
  const std::vector<double>& depths() const { return *index; }
  // True vertical depths of the samples, computed on first use.
  const std::vector<double>& VerticalDepths() const;

 private:
  mutable std::vector<double> tvd_;
  mutable bool tvd_done_ = false;
};

// A row of the well position table. Missing numbers hold kFltMax.
struct WellInfo {
  std::int64_t id = -1;
  std::string name;  // GBK
  double x = kFltMax;
  double y = kFltMax;
  double kb = kFltMax;  // reference (kelly bushing) elevation; 0 when missing
  double ground = kFltMax;
  double total_depth = kFltMax;
  std::string field;      // GBK
  std::string well_type;  // GBK
  std::string uwi;        // GBK; unique well identifier or API number, as delivered
  std::string location;   // GBK; a description of the location ("LOC" of a LAS file)
  std::string crs;        // GBK; the name of the coordinate reference of x and y
};

// A log curve without its samples: what listings need.
struct CurveSummary {
  std::string name;  // GBK
  std::string unit;  // GBK
  int count = 0;
  int missing = 0;
  double min = kFltMax;
  double max = kFltMax;
  double top = kFltMax;
  double bottom = kFltMax;
  std::int64_t run_id = -1;  // the import it came from; -1 when written directly
};

// A header line a log file carried: a "MNEM.UNIT VALUE : DESCRIPTION" line
// of its well ("well"), parameter ("parameter") or other ("other") section.
// Free text of an other section is kept line by line in description.
struct LogRunItem {
  std::string section;  // "well", "parameter" or "other"
  std::string mnemonic;  // GBK, as are the others
  std::string unit;
  std::string value;
  std::string description;
};

// One import of a log file into a well: where the data came from.
struct LogRunInfo {
  std::int64_t id = -1;
  std::int64_t well_id = -1;
  std::string source;       // GBK; the file name as given to the import
  std::int64_t size = 0;    // bytes
  std::string hash;         // of the file's bytes: "xxh128:" and 32 hex digits
  std::string imported_at;  // UTC, "YYYY-MM-DDTHH:MM:SSZ"
  int curves_written = 0;   // curves the import stored
  int curves_current = 0;   // of those, the ones no later write replaced
  std::vector<LogRunItem> items;
};

// A scattered table's entry.
struct ScatterInfo {
  std::int64_t id = -1;
  std::string name;  // GBK
  bool is_segment = false;
};

// Normalises a date to "YYYY-MM-DD" (accepts '-', '/' or '.' between the
// parts and "YYYYMMDD"; a time after the date is dropped). False when the
// text is not a valid date.
bool NormaliseDate(std::string_view text, std::string* out);

}  // namespace davodu

#endif  // DAVODU_STORE_WELL_RECORDS_H_
