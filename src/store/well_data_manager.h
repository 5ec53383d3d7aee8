// CWellDataManager: the host's well-data manager over the well database.
//
// One process-wide instance (Instance()) serves the kits; tests and tools
// may build their own over a database. A manager does nothing until it is
// opened: the davodu command opens the database given with --db (a file, or
// a PostgreSQL URI postgresql://user@host/dbname for a team's server), else
// DefaultPath(). Both engines behave the same to every caller. Lookups on a manager that is not open return null, -1 or
// kFltMax.
//
// Wells are named by their name (letter case ignored) or by their id, the
// stable number the well position table reports (WellRef takes either).
// Table getters return handles (well_table.h) that resolve on use and never
// dangle; null when the table does not exist (no data was ever imported or
// written for it). Catalogue managers are shared handles as well.
//
// Every write is one transaction: it happens whole or returns false with
// the database unchanged and GetLastError() telling why. Text is GBK, except
// GetLastError() and the import error messages, which are UTF-8 for the
// terminal.
#ifndef DAVODU_STORE_WELL_DATA_MANAGER_H_
#define DAVODU_STORE_WELL_DATA_MANAGER_H_

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "davodu/store/well_catalogs.h"
#include "davodu/store/well_table.h"

namespace davodu {

// A well by name (GBK) or by id.
struct WellRef {
  WellRef(std::string_view name) : name(name) {}          // NOLINT: implicit on purpose
  WellRef(const std::string& name) : name(name) {}        // NOLINT
  WellRef(const char* name) : name(name) {}               // NOLINT
  WellRef(std::int64_t id) : id(id), by_id(true) {}       // NOLINT
  WellRef(int id) : id(id), by_id(true) {}                // NOLINT
  std::string_view name;
  std::int64_t id = -1;
  bool by_id = false;
};

// A curve to import: its samples at their depths (metres, measured depth).
// NaN or kFltMax values are stored as missing.
struct CurveImport {
  std::string name;  // GBK
  std::string unit;  // GBK
  std::vector<double> depths;
  std::vector<double> values;
};

// A log file to import into one well: where it came from, the header items
// it carried, the well's header fields it gives, and its curves, which share
// one depth index.
struct LogImport {
  std::string well;             // GBK
  LogRunInfo run;               // source, size, hash and items; the rest is filled in
  WellInfo header;              // fields the file gives; unset ones empty or kFltMax
  std::vector<double> depths;   // metres, measured depth
  struct Curve {
    std::string name;  // GBK
    std::string unit;  // GBK
    std::vector<double> values;  // as many as depths; NaN or kFltMax where missing
  };
  std::vector<Curve> curves;
};

struct LogImportResult {
  std::int64_t run_id = -1;
  bool well_created = false;
  // The same file (same hash) was imported into the well before and its
  // curves are all still the well's: nothing was written; run_id is that
  // import's.
  bool already_imported = false;
  std::string imported_at;          // of run_id
  std::vector<std::string> notes;   // UTF-8: header values the well kept
};

// Rows of a text table to import into one kind of table.
struct TableImport {
  std::string source;     // the file, for messages (UTF-8)
  std::string well;       // GBK; the well of rows without a well column
  std::string table_name; // GBK; the name of a scattered table (kScatter)
  TableKind kind = TableKind::kLithology;
  int sub = 0;            // level, table number or cycle span; 0: from a column
  std::vector<std::string> header;             // GBK column names
  std::vector<std::vector<std::string>> rows;  // GBK fields
  int header_line = 1;    // line numbers for messages
  std::vector<int> lines; // line of each row; empty: the lines after the header
};

class CWellDataManager {
 public:
  // The process-wide manager (not opened until someone calls Open()).
  static CWellDataManager* Instance();
  // $DAVODU_DB (a file or a PostgreSQL URI) when set, else
  // $DAVODU_HOME/wells.db, or ~/.local/share/davodu/wells.db.
  static std::string DefaultPath();
  // True for a PostgreSQL URI (postgresql:// or postgres://).
  static bool IsServer(const std::string& target);
  // True when the database can be opened without creating it: an existing
  // file, or any server (whose database the server checks on opening).
  static bool Exists(const std::string& target);

  CWellDataManager() = default;
  // Opens the file at once; IsOpen() and GetLastError() tell how it went.
  explicit CWellDataManager(const std::string& path) { Open(path); }
  CWellDataManager(const CWellDataManager&) = delete;
  CWellDataManager& operator=(const CWellDataManager&) = delete;

  // Opens (creating the schema and seeding when new) a database: a file
  // path or a PostgreSQL URI; "" opens DefaultPath() and creates its
  // folder. Handles of a database opened before go empty.
  //
  // A new file appears whole when it is opened; with kWithFirstWrite it
  // appears, whole, when the first write commits (or at Close): a batch
  // import into a new file then writes its first transaction once, without
  // a journal file, and syncs once. Other processes that would create the
  // same file wait meanwhile.
  enum class NewFile { kAtOnce, kWithFirstWrite };
  bool Open(const std::string& path = "", NewFile new_file = NewFile::kAtOnce);
  void Close();
  bool IsOpen() const { return db_ != nullptr; }
  std::string GetPath() const;
  const std::string& GetLastError() const { return error_; }
  // How long a write waits for another client's write to finish before it
  // fails with a message (5 s when opened).
  void SetBusyTimeout(int ms);
  // The database, for the store's own classes built over the same file
  // (WellDb is private to the store: it is declared in no installed header).
  std::shared_ptr<WellDb> GetDb() const { return db_; }

  // --- wells
  CWellPosition* GetWellPosition() { return &position_; }
  std::vector<std::string> GetWellNames();
  // The id of a well, or -1.
  std::int64_t FindWell(WellRef well);
  bool GetWellInfo(WellRef well, WellInfo* info);
  // Adds a well; returns its id, or -1 (a name in use, an empty name).
  std::int64_t AddWell(const WellInfo& info);
  // Replaces the header fields of well info.id (a changed reference
  // elevation re-stamps the well's tables).
  bool SetWellInfo(const WellInfo& info);
  bool RemoveWell(WellRef well);
  std::vector<SurveyStation> GetDeviation(WellRef well);
  // Replaces the survey; the well's tables get new stamps (their vertical
  // depths change).
  bool SetDeviation(WellRef well, const std::vector<SurveyStation>& stations);

  // --- per-well tables
  // The table of a kind; create makes it (empty) when missing.
  std::shared_ptr<CWellTable> GetTable(WellRef well, TableKind kind, int sub = 0,
                                       bool create = false);
  std::shared_ptr<CWellLog> GetWellLog(WellRef well);
  // level 0..4 is the first to the fifth level.
  std::shared_ptr<CWellTable> GetWellStratum(int level, WellRef well);
  std::shared_ptr<CWellTable> GetWellFineStratum(int level, WellRef well);
  std::shared_ptr<CWellTable> GetWellSandStratum(WellRef well);
  std::shared_ptr<CWellTable> GetWellInterStratum(WellRef well);
  std::shared_ptr<CWellTable> GetWellLithology(WellRef well);
  std::shared_ptr<CWellTable> GetWellShoot(WellRef well);
  std::shared_ptr<CWellTable> GetWellTest(WellRef well);
  std::shared_ptr<CWellTable> GetWellCore(WellRef well);
  // index 0..2 is "点数据1".."点数据3" ("段数据1".."段数据3").
  std::shared_ptr<CWellTable> GetWellPointData(int index, WellRef well);
  std::shared_ptr<CWellTable> GetWellSegmentData(int index, WellRef well);
  std::shared_ptr<CWellTable> GetWellGass(WellRef well);
  std::shared_ptr<CWellTable> GetWellSuction(WellRef well);
  std::shared_ptr<CWellTable> GetWellProductFluid(WellRef well);
  std::shared_ptr<CWellTable> GetWellSideWallCore(WellRef well);
  std::shared_ptr<CWellTable> GetWellIntegratedCore(WellRef well);
  std::shared_ptr<CWellTable> GetWellFaultPoint(WellRef well);
  // kind: "长期旋回", "中期旋回" or "短期旋回" (GBK).
  std::shared_ptr<CWellTable> GetCycleData(WellRef well, std::string_view kind);
  std::shared_ptr<CWellTable> GetWellTextureData(WellRef well);

  // --- catalogues (null while not open)
  std::shared_ptr<CStratumManager> GetStratumManager() const { return stratum_; }
  std::shared_ptr<CLithTypeManager> GetLithTypeManager() const { return lith_; }
  std::shared_ptr<CFaciesTypeManager> GetFaciesTypeManager() const { return facies_; }
  std::shared_ptr<CSymbolManager> GetShootSymbolManager() const { return symbols_[0]; }
  std::shared_ptr<CSymbolManager> GetCycleSymbolManager() const { return symbols_[1]; }
  std::shared_ptr<CSymbolManager> GetTextureSymbolManager() const { return symbols_[2]; }
  std::shared_ptr<CSymbolManager> GetOilSymbolManager() const { return symbols_[3]; }
  std::shared_ptr<CSymbolManager> GetInundationSymbolManager() const { return symbols_[4]; }
  std::shared_ptr<CTableDefinitionManager> GetTableDefinitionManager() const { return tables_; }
  // A catalogue shared by all wells (kCatStyle, ...) as a table; null while
  // not open or for a kind that is not a catalogue. An empty catalogue has
  // no rows (count 0 or -1).
  std::shared_ptr<CWellTable> GetCatalogTable(TableKind kind) const;

  // The tables of a well that exist (the log curve set included), with
  // their row counts and stamps, in table kind order; empty for no such well.
  struct TableSummary {
    TableKey key;
    int rows = 0;
    std::uint64_t stamp = 0;
  };
  std::vector<TableSummary> GetTables(WellRef well);
  // The well's curves without their samples (what listings need), in
  // import order; empty for no such well.
  std::vector<CurveSummary> GetCurveSummaries(WellRef well);
  // The well's log imports, oldest first, with their header items.
  std::vector<LogRunInfo> GetLogRuns(WellRef well);

  // --- time stamps
  // Grows with every write of any kind (0 while not open).
  std::uint64_t GetTimeStamp();
  // The stamp of a well's table named by its host name ("岩性数据",
  // "一级分层界限数据", "测井数据", ...); 0 when there is none.
  std::uint64_t GetTimeStamp(WellRef well, std::string_view table_name);

  // --- depth conversions. A well without survey is vertical; the altitude
  // is the reference elevation (0 when unset) minus the vertical depth.
  // kFltMax in gives kFltMax out, and so does an unknown well. Beyond the
  // survey the hole runs straight on; with within_survey set, a result
  // outside the surveyed depths is kFltMax instead.
  double ConvertDepthToZ(WellRef well, double md, bool within_survey = false);
  double ConvertZToDepth(WellRef well, double tvd, bool within_survey = false);
  double ConvertDepthToAltitude(WellRef well, double md, bool within_survey = false);
  double ConvertAltitudeToDepth(WellRef well, double altitude, bool within_survey = false);

  // --- importing (src/import/table_import.cpp)
  // Imports curves into a well, creating the well when missing. With
  // replace, a curve of the same name (letter case ignored) is replaced;
  // without, it makes the import fail. All or nothing.
  bool ImportCurves(std::string_view well, const std::vector<CurveImport>& curves,
                    bool replace = true);
  // Imports a log file into a well, creating the well when missing: its
  // curves replace curves of the same names, the import is recorded with its
  // header items, and header fields the well lacks are taken from the file
  // (fields the well has are kept; a differing value is noted). All or
  // nothing.
  bool ImportLog(const LogImport& in, LogImportResult* result);
  // Imports a table of text rows: the rows of each well (a well column, else
  // in.well) and sub-key replace that table; wells are created when missing.
  // Deviation surveys (kDeviation) replace the survey, well headers
  // (kWellHeader) add or update wells, scattered tables (kScatter) replace
  // the table in.table_name. All or nothing; on failure *error is
  // "FILE:LINE: cause" (UTF-8).
  bool ImportTableRows(const TableImport& in, std::string* error);
  // The table kind a header fits: the one kind whose required columns are
  // all present and which knows every column. False with a message naming
  // the candidates otherwise. header is UTF-8.
  static bool DetectTableKind(const std::vector<std::string>& header, TableKind* kind, int* sub,
                              std::string* error);

 private:
  // The id of a well or -1; sync first looks for other processes' commits.
  std::int64_t WellId(WellRef well, bool sync = true);
  std::shared_ptr<const Trajectory> TrajectoryOf(WellRef well, double* kb);
  // Runs a write, keeping its error; false when it failed.
  bool Write(const std::function<void(WellDb&)>& f);

  std::shared_ptr<WellDb> db_;
  std::string error_;
  CWellPosition position_{std::weak_ptr<WellDb>()};
  std::shared_ptr<CStratumManager> stratum_;
  std::shared_ptr<CLithTypeManager> lith_;
  std::shared_ptr<CFaciesTypeManager> facies_;
  std::shared_ptr<CSymbolManager> symbols_[5];
  std::shared_ptr<CTableDefinitionManager> tables_;
};

}  // namespace davodu

#endif  // DAVODU_STORE_WELL_DATA_MANAGER_H_
