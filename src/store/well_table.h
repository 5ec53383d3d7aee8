// Handles to the tables and log curves of the well database.
//
// A handle names its data by key (well id, table kind, sub-key; or well id
// and curve name) and resolves the key on every use: it keeps the snapshot
// it read last and re-reads the table when the table's time stamp has grown.
// A handle therefore never dangles: after a re-import it shows the new rows,
// after the well was removed (or the database closed) it reports a missing
// table (count -1, null buffers). Well ids are never reused, so a handle of
// a removed well does not come back to life when a well of the same name is
// created.
//
// Pointers returned by the buffer getters point into the snapshot the
// handle holds; they stay valid until the next call on the same handle that
// finds the data changed, or until the handle is destroyed. Callers that
// keep data longer hold the snapshot itself (GetData()).
//
// Writes go to the database at once, each in one transaction: a write that
// fails (no such row or column, a value of the wrong type, a broken
// constraint) returns false and changes nothing. Text is GBK.
#ifndef DAVODU_STORE_WELL_TABLE_H_
#define DAVODU_STORE_WELL_TABLE_H_

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "davodu/store/well_records.h"

namespace davodu {

class WellDb;

// Values of one record by column name (GBK host name or English name).
using RecordValues = std::vector<std::pair<std::string, CZuVariant>>;

// One cell to write: row, column (GBK host name or English name), value.
struct CellValue {
  int row = -1;
  std::string column;
  CZuVariant value;
};

class CWellTable {
 public:
  CWellTable(std::weak_ptr<WellDb> db, TableKey key) : db_(std::move(db)), key_(key) {}

  const TableKey& key() const { return key_; }
  // The current snapshot; null when the table is gone.
  std::shared_ptr<const TableData> GetData() const;
  bool Exists() const { return GetData() != nullptr; }

  // Record count; -1 when the table is gone.
  int GetCount() const;
  // The table's time stamp; grows with every change, 0 when the table is
  // gone. Also notices changes committed by other processes.
  std::uint64_t GetTimeStamp() const;

  int GetColumnCount() const;
  std::string GetColumnName(int column) const;
  // -1 when the table has no such column.
  int FindColumn(std::string_view name) const;

  // A cell; null for a row or column out of range.
  CZuVariant GetValue(int row, std::string_view column) const;
  CZuVariant GetValue(int row, int column) const;
  // A cell as a number; kFltMax when missing or not a number.
  double GetDouble(int row, std::string_view column) const;
  // A cell as text ("" when null).
  std::string GetString(int row, std::string_view column) const;

  bool SetValue(int row, std::string_view column, const CZuVariant& value);
  // Writes several cells, of one row or several, in one transaction: all of
  // them or, on failure (a row out of range among them), none. The interval
  // edits use it so that a boundary shared by two records, or both ends of
  // a moved interval, never change apart.
  bool SetValues(const std::vector<CellValue>& cells);
  // Inserts a record before row pos (at the end when pos is not a row);
  // returns its row or -1.
  int InsertRecord(int pos, const RecordValues& values);
  int AddRecord(const RecordValues& values) { return InsertRecord(-1, values); }
  bool DeleteRecord(int row);
  // Appends (replaces) records given as rows of values under column names:
  // all of them or, on failure, none.
  bool AppendRecords(const std::vector<std::string>& columns,
                     const std::vector<std::vector<CZuVariant>>& rows);
  bool ReplaceRecords(const std::vector<std::string>& columns,
                      const std::vector<std::vector<CZuVariant>>& rows);

  // The change flag (kept in memory, shared by all handles of the table).
  void SetModified(bool modified);
  bool IsModified() const;

  // Why the last write failed (UTF-8).
  const std::string& GetLastError() const { return error_; }

 private:
  template <class F>
  bool Write(F&& f);

  std::weak_ptr<WellDb> db_;
  TableKey key_;
  mutable std::shared_ptr<const TableData> data_;
  mutable std::uint64_t seen_ = 0;
  std::string error_;
};

// One log curve of a well.
class CWellLogColumn {
 public:
  CWellLogColumn(std::weak_ptr<WellDb> db, std::int64_t well_id, std::string name)
      : db_(std::move(db)), well_id_(well_id), name_(std::move(name)) {}

  // The current snapshot; null when the curve is gone.
  std::shared_ptr<const CurveData> GetData() const;
  bool Exists() const { return GetData() != nullptr; }
  std::uint64_t GetTimeStamp() const;

  // The name as stored (the name asked for when the curve is gone).
  std::string GetName() const;
  std::string GetUnit() const;
  // Sample count; -1 when the curve is gone.
  int GetCount() const;
  int GetMissingCount() const;
  // First and last sample depth; kFltMax when there is none.
  double GetStartDepth() const;
  double GetStopDepth() const;
  // Smallest and largest value, over all samples or between two depths
  // (both included), missing samples skipped; kFltMax when there is none.
  double GetMinValue() const;
  double GetMaxValue() const;
  double GetMinValue(double top, double bottom) const;
  double GetMaxValue(double top, double bottom) const;
  // Sample depths, values and true vertical depths (GetCount() of each);
  // null when the curve is gone or empty.
  const double* GetDepthBuf() const;
  const double* GetDataBuf() const;
  const double* GetVerticalDepthBuf() const;

 private:
  std::weak_ptr<WellDb> db_;
  std::int64_t well_id_;
  std::string name_;
  mutable std::shared_ptr<const CurveData> data_;
  mutable std::uint64_t seen_ = 0;
};

// The log curve set of a well.
class CWellLog {
 public:
  CWellLog(std::weak_ptr<WellDb> db, std::int64_t well_id) : db_(std::move(db)), well_id_(well_id) {}

  std::int64_t GetWellId() const { return well_id_; }
  // Number of curves; -1 when the well is gone.
  int GetColumnCount() const;
  std::string GetColumnName(int i) const;
  std::vector<std::string> GetColumnNames() const;
  // A handle to a curve by name (letter case ignored); null when there is
  // no such curve now.
  std::shared_ptr<CWellLogColumn> GetColumn(std::string_view name) const;
  // Grows whenever a curve is added, replaced or removed.
  std::uint64_t GetTimeStamp() const;

 private:
  const std::vector<std::string>* Names() const;

  std::weak_ptr<WellDb> db_;
  std::int64_t well_id_;
  mutable std::vector<std::string> names_;
  mutable bool exists_ = false;
  mutable std::uint64_t seen_ = 0;
};

// The well position table: every well with its id, name, location and
// reference elevation.
class CWellPosition {
 public:
  explicit CWellPosition(std::weak_ptr<WellDb> db) : db_(std::move(db)) {}
  int GetCount() const;
  // The id (1 or more, stable) of the well of that name (letter case
  // ignored), or -1.
  std::int64_t FindData(std::string_view name) const;
  // The i-th well in id order: its id (-1 out of range) and name.
  std::int64_t GetId(int i) const;
  std::string GetName(int i) const;
  // A field of a well by id: "井名", "X坐标", "Y坐标", "补心海拔", "地面海拔",
  // "完钻井深", "油田", "井别", "井标识号", "井位描述", "坐标系" or their English
  // names; null when unknown.
  CZuVariant GetValue(std::int64_t id, std::string_view field) const;
  // Grows when a well is added, changed or removed.
  std::uint64_t GetTimeStamp() const;

 private:
  std::weak_ptr<WellDb> db_;
};

}  // namespace davodu

#endif  // DAVODU_STORE_WELL_TABLE_H_
