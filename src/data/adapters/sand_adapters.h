// The sand and segment interval data objects (LogSandDIO), by SANDTYPE:
// the sand bodies of the chart's well (types 1-25), its segment tables
// (26-28), a scattered table (29), the object that stands for no data (0),
// and the true-vertical-depth and altitude forms.
//
// Types 1-4 read the well's sand table, 5-24 its stratification data of a
// level ("一级分层数据" .. "五级分层数据"), 25 its interlayers. A row of
// those tables may hold four nested intervals: the sand-stratum (砂层)
// holds the sand (砂岩), which holds the apparent valid part (有效), which
// holds the net valid part (纯有效). Each type shows one of them: the rows
// whose top of that kind is present (neither 0 nor missing) are its
// intervals, and the rows that follow without one belong to the interval
// above (they hold the inner parts of the same body).
#ifndef DAVODU_DATA_ADAPTERS_SAND_ADAPTERS_H_
#define DAVODU_DATA_ADAPTERS_SAND_ADAPTERS_H_

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "davodu/data/adapters/interval_columns.h"
#include "davodu/data/adapters/seg_depth_mode_adapter.h"
#include "davodu/data/adapters/stamped_adapter.h"
#include "davodu/data/data_io.h"
#include "davodu/data/data_sources.h"
#include "davodu/store/general_data_manager.h"

namespace davodu {

// The sand intervals of types 1-25 of a well.
class LogSandDAdapter : public StampedAdapter<LogSandDIO> {
 public:
  LogSandDAdapter(CWellDataManager* mgr, std::string well, int sand_type);

  int GetCount() override;
  double GetTop(int i) override;
  double GetBottom(int i) override;
  // Types 1, 2, 3 and 25: shifts the interval together with the inner
  // intervals of its rows; refused when it would reach into a neighbour.
  // Other types: false.
  bool Move(int i, double delta) override;
  // Types 1, 2, 3 and 25. For 1 and 2 a top moved down stops at the top of
  // the first inner interval of its rows (the valid part of a sand, the
  // sand of a sand-stratum), a bottom moved up at the last inner bottom.
  bool SetTop(int i, double depth) override;
  bool SetBottom(int i, double depth) override;
  void CheckDataSet() override;
  int GetSandType() override { return type_; }
  // The stratum name of types 5-24; empty for the others.
  std::string GetName(int i) override;

  // The host row interval i shows; -1 outside.
  int RowOf(int i);

 protected:
  std::uint64_t HostTimeStamp() override;

 private:
  // The kinds of nested interval in a row, outermost first.
  enum Kind { kStratum, kSand, kValid, kNet, kInterlayer, kNoKind };
  Kind KindOf() const;
  // The row range [first, end) of interval i.
  std::pair<int, int> RowsOf(int i);
  // Rebuilds the row map when the table's snapshot changed.
  void Map();
  double TopOfRow(Kind kind, int row);
  double BottomOfRow(Kind kind, int row);

  std::string well_;
  int type_;
  std::shared_ptr<CWellTable> table_;
  std::vector<int> rows_;
  std::shared_ptr<const TableData> mapped_;
};

// The intervals of segment table "段数据1".."段数据3" (types 26-28) of a well.
class AdapterSegmentSand : public StampedAdapter<LogSandDIO> {
 public:
  AdapterSegmentSand(CWellDataManager* mgr, std::string well, int sand_type);

  int GetCount() override { return columns_.Count(table_.get()); }
  double GetTop(int i) override { return columns_.Top(table_.get(), i); }
  double GetBottom(int i) override { return columns_.Bottom(table_.get(), i); }
  bool Move(int i, double delta) override { return columns_.Move(table_.get(), i, delta); }
  bool SetTop(int i, double depth) override { return columns_.SetTop(table_.get(), i, depth, false); }
  bool SetBottom(int i, double depth) override {
    return columns_.SetBottom(table_.get(), i, depth, false);
  }
  void CheckDataSet() override;
  int GetSandType() override { return type_; }
  std::string GetName(int) override { return std::string(); }

 protected:
  std::uint64_t HostTimeStamp() override { return table_ ? table_->GetTimeStamp() : 0; }

 private:
  std::string well_;
  int type_;
  std::shared_ptr<CWellTable> table_;
  IntervalColumns columns_;
};

// The intervals of a scattered table (type 29): depth and thickness of
// each record. The table is looked up again whenever it has gone.
class LogSandScattDAdapter : public StampedAdapter<LogSandDIO> {
 public:
  LogSandScattDAdapter(CWellDataManager* mgr, std::string table_name);

  int GetCount() override;
  double GetTop(int i) override;
  double GetBottom(int i) override;
  bool Move(int i, double delta) override;
  bool SetTop(int i, double depth) override;
  bool SetBottom(int i, double depth) override;
  void CheckDataSet() override;
  int GetSandType() override { return SAND_SCATT; }
  std::string GetName(int) override { return std::string(); }

 protected:
  std::uint64_t HostTimeStamp() override;

 private:
  // The table when it exists and is segment data, else null.
  CWellTable* Table();

  CWellDataManager* mgr_;
  std::string table_name_;
  std::shared_ptr<CMutiColPtData> table_;
  IntervalColumns columns_;
};

// No sand data: no intervals, type 0.
class LogSandDefaultAdapter : public LogSandDIO {
 public:
  int GetCount() override { return -1; }
  double GetTop(int) override { return kFltMax; }
  double GetBottom(int) override { return kFltMax; }
  bool Move(int, double) override { return false; }
  bool SetTop(int, double) override { return false; }
  bool SetBottom(int, double) override { return false; }
  void CheckDataSet() override {}
  int GetSandType() override { return SAND_NONE; }
  std::string GetName(int) override { return std::string(); }
};

template <class Inner, DepthType Mode>
class SandDepthModeAdapter : public SegDepthModeAdapter<LogSandDIO, Inner, Mode> {
 public:
  using SegDepthModeAdapter<LogSandDIO, Inner, Mode>::SegDepthModeAdapter;
  int GetSandType() override { return this->inner_.GetSandType(); }
  std::string GetName(int i) override { return this->inner_.GetName(i); }
};

using LogSandDTVDAdapter = SandDepthModeAdapter<LogSandDAdapter, DT_TVD>;
using LogSandDADAdapter = SandDepthModeAdapter<LogSandDAdapter, DT_AD>;
using AdapterSegmentTVDSand = SandDepthModeAdapter<AdapterSegmentSand, DT_TVD>;
using AdapterSegmentADSand = SandDepthModeAdapter<AdapterSegmentSand, DT_AD>;

}  // namespace davodu

#endif  // DAVODU_DATA_ADAPTERS_SAND_ADAPTERS_H_
