// WellDb: the database behind the well-data managers (a SQLite file or a
// PostgreSQL database, sql_db.h), and the read-only snapshots it hands out.
//
// The database holds the wells (stable ids, never reused), their deviation
// surveys, log curves and per-well tables, the catalogues, the scattered
// tables and a time stamp per table. Every write runs in one transaction and
// stamps the tables it changed with one stamp the database hands out (a
// counter in SQLite, a sequence in PostgreSQL), never a client's clock:
// stamps of clients on different machines compare right, survive restarts
// and only grow.
//
// Readers get immutable snapshots (TableData, CurveData) shared through
// std::shared_ptr: a snapshot stays valid for as long as someone holds it,
// however the database changes meanwhile. The handles of well_table.h
// re-read a snapshot when its table's stamp has grown. docs/well-database.md
// describes the schema.
//
// Text crosses this interface in GBK; the database stores UTF-8. Private to
// the store: callers go through CWellDataManager (well_data_manager.h).
#ifndef DAVODU_STORE_DETAIL_WELL_DB_H_
#define DAVODU_STORE_DETAIL_WELL_DB_H_

#include <compare>
#include <cstdint>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <utility>
#include <vector>

#include "davodu/store/detail/sql_db.h"
#include "davodu/store/well_records.h"

namespace davodu {

class WellDb {
 public:
  // Opens the database (a file path or a PostgreSQL URI), creating and
  // seeding it when new and upgrading an older schema. Throws sql::Error
  // (also for a database of a newer schema).
  //
  // A file that does not exist is built in a temporary file beside its
  // name and put in place whole: other processes see no file or a complete
  // one. With put_in_place_at_first_write the temporary file also takes the
  // first write (without journal file or syncs of its own) and goes into
  // place when that write commits, or when this object is destroyed: a
  // first import writes its data once and syncs once. Meanwhile other
  // processes that would create the same file wait for it.
  explicit WellDb(const std::string& path, bool put_in_place_at_first_write = false);
  ~WellDb();
  WellDb(const WellDb&) = delete;
  WellDb& operator=(const WellDb&) = delete;

  // The database's path (a URI without its password).
  const std::string& path() const { return path_; }
  sql::Db& db() { return db_; }

  // Changes after every write through this object and after Sync() noticed
  // a commit by another connection. Handles compare it to skip stamp checks.
  std::uint64_t generation() const { return generation_; }
  // Looks for commits by other connections (a cheap check); when there was
  // one, the caches are dropped and the generation changes.
  void Sync();

  // Bytes of a database page (set when the file is created).
  static constexpr int kPageSize = 4096;

  // --- wells
  const std::vector<WellInfo>& Wells();
  const WellInfo* FindWell(std::string_view gbk_name);
  const WellInfo* FindWell(std::int64_t id);
  std::vector<SurveyStation> Deviation(std::int64_t well_id);
  // The well's trajectory (vertical without survey); null for no such well.
  std::shared_ptr<const Trajectory> GetTrajectory(std::int64_t well_id);

  // --- stamps
  // The table's stamp, or nothing when the table does not exist.
  std::optional<std::uint64_t> TableStamp(const TableKey& key);
  std::uint64_t CurveStamp(std::int64_t well_id, std::string_view gbk_name);
  // The stamp of the last write of any kind.
  std::uint64_t ManagerStamp();

  // --- reading; null when the table (curve) does not exist
  std::shared_ptr<const TableData> LoadTable(const TableKey& key);
  std::shared_ptr<const CurveData> LoadCurve(std::int64_t well_id, std::string_view gbk_name);
  // GBK names of the well's curves, in import order.
  std::vector<std::string> CurveNames(std::int64_t well_id);
  // The well's curves without their samples, in import order.
  std::vector<CurveSummary> CurveSummaries(std::int64_t well_id);
  // The well's log imports, oldest first, with their header items.
  std::vector<LogRunInfo> Runs(std::int64_t well_id);
  // The import of the file of that hash into the well whose curves are all
  // still the well's; nothing when there is none (never imported, or a
  // later import replaced some of its curves).
  std::optional<LogRunInfo> CurrentRun(std::int64_t well_id, std::string_view hash);
  std::vector<ScatterInfo> ScatterTables();
  std::optional<ScatterInfo> FindScatter(std::int64_t id);
  // The tables of an owner that exist, with their row counts.
  std::vector<std::pair<TableKey, int>> TablesOf(std::int64_t well_id);

  // --- writing. Each call is one transaction (nested into an open
  // Transaction on db()); it either happens whole or throws and changes
  // nothing. Column names are GBK host names or English names.
  std::int64_t CreateWell(const WellInfo& info);
  // Replaces the row of info.id; a changed elevation re-stamps the well's tables.
  void UpdateWell(const WellInfo& info);
  void DeleteWell(std::int64_t id);
  // Replaces the survey and re-stamps the well's tables.
  void SetDeviation(std::int64_t well_id, const std::vector<SurveyStation>& stations);
  // Makes the table exist (empty) when it does not.
  void CreateTable(const TableKey& key);
  // Replaces every row. Unknown column names become the table's own columns
  // where the kind allows them and are an error otherwise.
  void ReplaceRows(const TableKey& key, const std::vector<std::string>& columns,
                   const std::vector<std::vector<CZuVariant>>& rows);
  // Appends rows (all or none).
  void AppendRows(const TableKey& key, const std::vector<std::string>& columns,
                  const std::vector<std::vector<CZuVariant>>& rows);
  void SetValue(const TableKey& key, std::int64_t row_id, std::string_view column,
                const CZuVariant& value);
  // Sets several cells (row id, column, value) in one transaction: all of
  // them or none.
  struct Cell {
    std::int64_t row_id;
    std::string column;
    CZuVariant value;
  };
  void SetValues(const TableKey& key, const std::vector<Cell>& cells);
  // Inserts a row before the row with order key before_row_no (-1: at the
  // end); returns its id.
  std::int64_t InsertRow(const TableKey& key, std::int64_t before_row_no,
                         const std::vector<std::string>& columns,
                         const std::vector<CZuVariant>& values);
  void DeleteRow(const TableKey& key, std::int64_t row_id);
  // Replaces (or adds) a curve. depths and values have the same length.
  void WriteCurve(std::int64_t well_id, std::string_view gbk_name, std::string_view gbk_unit,
                  const std::vector<double>& depths, const std::vector<double>& values);
  // Replaces (or adds) curves that share one depth index, stored once.
  // Each values vector is as long as depths; run_id (-1: none) is the
  // import they come from.
  struct CurveValues {
    std::string_view name;  // GBK
    std::string_view unit;  // GBK
    const std::vector<double>* values;
  };
  void WriteCurves(std::int64_t well_id, std::int64_t run_id, const std::vector<double>& depths,
                   const std::vector<CurveValues>& curves);
  // Records an import (its items included); returns its id.
  std::int64_t AddRun(const LogRunInfo& run);
  void DeleteCurve(std::int64_t well_id, std::string_view gbk_name);
  std::int64_t CreateScatterTable(std::string_view gbk_name, bool is_segment);
  void DeleteScatterTable(std::int64_t id);
  void SetScatterSegment(std::int64_t id, bool is_segment);

  // The change flag of a table, kept in memory: the data objects set it
  // after writing so that the host knows the table was edited.
  void SetModified(const TableKey& key, bool modified) { modified_[key] = modified; }
  bool IsModified(const TableKey& key) const {
    const auto it = modified_.find(key);
    return it != modified_.end() && it->second;
  }

  // Gives a table (of any kind, also the log curve set) a new stamp, making
  // it exist. For use inside Write().
  void StampTable(const TableKey& key);

  // Runs f in one transaction, stamps the manager, and keeps the caches
  // right whether it commits or throws.
  template <class F>
  void Write(F&& f) {
    const bool outer = !db_.InTransaction();
    try {
      sql::Transaction t(db_);
      if (outer) BeginWrite();
      f();
      StampManager();
      t.Commit();
    } catch (...) {
      if (outer) tx_stamp_ = 0;
      DropCaches();
      Invalidate();
      throw;
    }
    if (outer) EndWrite();
    Invalidate();
    if (outer && staged_) PutInPlace(true);
  }

 private:
  void CreateSchema();
  void Seed();
  // The schema version of the database; 0 for an empty one.
  std::int64_t SchemaVersion();
  // Brings a database of an older schema to the current one, step by step.
  void Upgrade(std::int64_t from_version);
  void UpgradeTo2();
  void UpgradeTo3();
  void UpgradeTo4();
  void UpgradeTo5();
  void UpgradeTo6();
  // Whether a table of the database has a column.
  bool HasColumn(const std::string& table, const std::string& column);
  void RecordVersion(int version);
  // A number that changes when another connection commits.
  std::int64_t ChangeCounter();
  // The stamp of the running write transaction, taken from the database
  // the first time it is asked for.
  std::int64_t TxStamp();
  void BeginWrite();
  void EndWrite();
  // Opens path and makes or checks its schema, retrying while another
  // process creates or upgrades the same file.
  void OpenAndPrepare(const std::string& path);
  // Prepare(), retried while another process creates or upgrades the file,
  // then notes the change counter that Sync() compares.
  void PrepareAndWatch();
  // Sets the connection up and makes or checks the schema.
  void Prepare();
  // Builds a database file that does not exist yet in a temporary file
  // beside it (from the schema image, else by executing the schema), with
  // no journal file and no syncs. True when it stays there for the first
  // write (db_ is open on it); false when the file at path is the one to
  // open: put in place now, or made by another process meanwhile.
  bool CreateFile(const std::string& path, bool stage);
  // Syncs the temporary file once and links it to its name; a crash leaves
  // at most the temporary file. after_write: the file holds a committed
  // write, which fails when the name was taken meanwhile, and db_ goes on
  // with the file at its name (opened when next used); else db_ is left
  // closed.
  void PutInPlace(bool after_write);
  // Writes the schema, the catalogues and the first stamp of an empty
  // database inside the running transaction.
  void CreateContents();
  // A statement prepared once and kept; reset, with its bindings cleared.
  sql::Stmt& Cached(const char* sql);
  // The samples of a depth index, shared while someone holds them.
  std::shared_ptr<const std::vector<double>> LoadIndex(std::int64_t index_id);
  void ForgetWell(std::int64_t id);
  // The well of the next row of s (a query of the wells' columns), kept
  // among the lone wells; nullptr when there is none, or when lower_name is
  // given and the row's name differs from it beyond ASCII case.
  const WellInfo* LoneWell(sql::Stmt& s, const std::string& lower_name);
  void RememberWell(const WellInfo& info);
  void StampManager();
  void RestampWell(std::int64_t well_id);
  void Invalidate();
  void DropCaches() { ++epoch_; }
  // Order key of the row at the end of a table.
  std::int64_t NextRowNo(const TableKey& key);
  // Returns the id of the last row inserted (-1: none).
  std::int64_t InsertRows(const TableKey& key, const std::vector<std::string>& columns,
                  const std::vector<std::vector<CZuVariant>>& rows, std::int64_t first_row_no);
  // User columns of a table (GBK), in order.
  std::vector<std::string> UserColumns(const TableKey& key);

  sql::Db db_;
  std::string path_;
  struct StagedFile;  // a new file not yet in place (well_db_file.cpp)
  std::unique_ptr<StagedFile> staged_;
  std::uint64_t generation_ = 1;
  std::int64_t data_version_ = 0;
  std::int64_t tx_stamp_ = 0;
  // The manager's stamp when the running write took the lock.
  std::int64_t stamp_before_ = 0;
  // Caches, valid for cache_epoch_. Writes through this object keep them
  // right as they go; a commit by another connection or a write that fails
  // drops them (the epoch changes).
  std::uint64_t epoch_ = 1;
  std::uint64_t cache_epoch_ = 0;
  bool wells_loaded_ = false;
  std::vector<WellInfo> wells_;
  std::unordered_map<std::string, std::size_t> well_index_;  // lower-case name -> position
  // Wells looked up one at a time while the whole list is not loaded, so
  // that a command on one well of thousands reads only its row (by id;
  // entries stay where they are until the caches are dropped).
  std::unordered_map<std::int64_t, WellInfo> lone_wells_;
  std::map<std::int64_t, std::shared_ptr<const Trajectory>> trajectories_;
  std::map<TableKey, std::weak_ptr<const TableData>> tables_;
  std::map<std::pair<std::int64_t, std::string>, std::weak_ptr<const CurveData>> curves_;
  std::map<std::int64_t, std::weak_ptr<const std::vector<double>>> indexes_;
  std::map<TableKey, bool> modified_;
  std::unordered_map<std::string, std::unique_ptr<sql::Stmt>> statements_;
  void CheckCaches();
};

}  // namespace davodu

#endif  // DAVODU_STORE_DETAIL_WELL_DB_H_
