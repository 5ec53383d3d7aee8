// The parameter tables (LogParaDIO) and the parameter catalogue
// (LogParaDMgrIO) with its configuration file.
//
// A parameter table shows one field of a well table per interval: the
// intervals come from the interval object of the table's family (strata,
// sand bodies, perforations, lithology, oil tests, segment tables) in the
// chart's depth reference, the values from the host row each interval
// shows. The field is looked up by name as the table knows it, which
// includes the import names of its columns ("电测解释" reads the
// interpretation column "解释结论", "水淹解释" the flooding grade).
//
// The catalogue lists, for the chart's well ("当前井"), the tables of the
// configuration file $DAVODU_HOME/Database/paraconfig.dat and for each its
// fields (an empty name first, then the listed columns of its table
// definition); a missing file gives the built-in list, every table the
// gateway can show. For scattered tables ("离散数据") it lists the
// segment tables and their value columns.
//
// The configuration file: line 1 exactly "KES_PARA_CONFIG"; line 2 whose
// second field is the number of entries N; then N entries, each one line
// "table count flag" (fields separated by blanks or tabs) followed, when
// the flag is exactly "Y", by count lines that are skipped. A table named
// twice keeps its first place. The definition a table's fields come from:
// the table's own for a stratification boundary table ("分层界限") or a
// segment table ("段数据"); the level's stratification data for a
// level-and-class table ("二级分层一类数据" reads "二级分层数据": the
// level, which is the first two characters, followed by "分层数据"); the
// sand table's for a sand class ("一类砂岩数据" reads "砂岩数据"); else
// the table's own.
#ifndef DAVODU_DATA_ADAPTERS_PARA_ADAPTERS_H_
#define DAVODU_DATA_ADAPTERS_PARA_ADAPTERS_H_

#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "davodu/data/adapters/stamped_adapter.h"
#include "davodu/data/data_io.h"
#include "davodu/store/well_table.h"

namespace davodu {

class CWellDataManager;

// One parameter table: an interval source, the host table and the field.
class LogParaTableAdapter : public StampedAdapter<LogParaDIO> {
 public:
  struct Intervals {
    std::function<int()> count;
    std::function<double(int)> top, bottom;
    // The host row interval i shows; -1 when none.
    std::function<int(int)> row;
  };
  // owner keeps the interval object alive; data_set names the table to the
  // data set check.
  LogParaTableAdapter(std::shared_ptr<void> owner, Intervals intervals,
                      std::shared_ptr<CWellTable> table, std::string field, std::string well,
                      std::string data_set);

  int GetCount() override { return intervals_.count(); }
  double GetTop(int i) override { return intervals_.top(i); }
  double GetBottom(int i) override { return intervals_.bottom(i); }
  // The field's text in the host row of interval i ("" without one).
  std::string GetValue(int i) override;
  // Writes the text into the field of the row; the host's answer.
  bool SetValue(int i, const std::string& value) override;
  std::uint64_t GetTimeStamp() override { return RefreshStamp(); }
  void CheckDataSet() override;

 protected:
  std::uint64_t HostTimeStamp() override { return table_ ? table_->GetTimeStamp() : 0; }

 private:
  std::shared_ptr<void> owner_;
  Intervals intervals_;
  std::shared_ptr<CWellTable> table_;
  std::string field_;
  std::string well_;
  std::string data_set_;
};

// The class names of the families: one class serves them all.
using LogParaStratumAdapter = LogParaTableAdapter;
using LogParaSandAdapter = LogParaTableAdapter;
using LogParaShootAdapter = LogParaTableAdapter;
using LogParaCorelithAdapter = LogParaTableAdapter;
using LogParaTestOilAdapter = LogParaTableAdapter;
using LogParaSegmentAdapter = LogParaTableAdapter;

// The family a parameter table name belongs to.
struct ParaTableKind {
  enum Family { kNone, kStratum, kSand, kShoot, kCorelith, kTestOil, kSegment } family = kNone;
  int index = 0;  // stratum: level 0..4; sand: SANDTYPE; segment: 0..2
};
ParaTableKind ParaTableKindOf(const std::string& table);

// The 25 sand class tables by SANDTYPE order ("一类砂岩数据" .. "五级分层纯有效数据").
const std::vector<std::string>& ParaSandTableNames();

// The definition a configured table's fields come from (see above).
std::string ParaDefinitionOf(const std::string& table);

class LogParaMgrAdapter : public LogParaDMgrIO {
 public:
  LogParaMgrAdapter();
  void SetManager(CWellDataManager* mgr) { mgr_ = mgr; }
  CWellDataManager* GetManager() const { return mgr_; }

  int GetSourceCount() override { return 2; }
  std::string GetSourceName(int source) override;
  int GetTableCount(const std::string& source) override;
  int GetTableCount(int source) override;
  std::string GetTableName(const std::string& source, int table) override;
  std::string GetTableName(int source, int table) override;
  int GetFieldCount(const std::string& source, const std::string& table) override;
  int GetFieldCount(int source, int table) override;
  std::string GetFieldName(const std::string& source, const std::string& table, int field) override;
  std::string GetFieldName(int source, int table, int field) override;
  std::uint64_t GetTimeStamp() override { return stamp_; }

  // Reads the configuration file at path. Returns true when it was read;
  // a file that cannot be opened gives false and the built-in list; a
  // first line other than "KES_PARA_CONFIG" gives false, the message
  // "Not find KES_PARA_CONFIG file!" in *error and an empty list; a short
  // file keeps the entries read so far.
  bool Read(const std::string& path, std::string* error);
  // The built-in list.
  void UseDefaults();
  const std::vector<std::string>& GetTables() const { return tables_; }
  // Whether Read or UseDefaults ran.
  bool IsLoaded() const { return loaded_; }

 private:
  void AddTable(const std::string& table);
  std::vector<std::string> ScattTables() const;
  std::vector<std::string> ScattFields(const std::string& table) const;

  CWellDataManager* mgr_ = nullptr;
  std::map<std::string, std::vector<std::string>> fields_;
  std::vector<std::string> tables_;
  std::uint64_t stamp_;
  bool loaded_ = false;
};

}  // namespace davodu

#endif  // DAVODU_DATA_ADAPTERS_PARA_ADAPTERS_H_
