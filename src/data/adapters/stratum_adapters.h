// The stratification data objects: the segments of one stratification
// level of the chart's well (LogStratum2DIO, drawn by the stratification
// kit), the same level as a list of units (LogStratumDIO, used by the well
// for depth-to-unit lookups), the segments of a scattered table, the
// object that stands for no data, and the true-vertical-depth and
// altitude forms.
//
// The well's tables are the host's stratification boundary tables
// ("一级分层界限数据" .. "五级分层界限数据"): one row per stratum with its
// name, top and bottom, in depth order. A boundary dragged on the chart is
// shared by the two strata that meet there: SetTop also moves the bottom
// of the stratum above when it coincides with the old top (SetBottom the
// top of the one below), in one transaction.
#ifndef DAVODU_DATA_ADAPTERS_STRATUM_ADAPTERS_H_
#define DAVODU_DATA_ADAPTERS_STRATUM_ADAPTERS_H_

#include <cmath>
#include <cstdint>
#include <memory>
#include <string>

#include "davodu/data/adapters/interval_columns.h"
#include "davodu/data/adapters/seg_depth_mode_adapter.h"
#include "davodu/data/adapters/stamped_adapter.h"
#include "davodu/data/data_io.h"
#include "davodu/data/data_sources.h"
#include "davodu/store/general_data_manager.h"

namespace davodu {

// The fault points of a well as (depth, gap) pairs in record order; true
// without adding when the well has no fault point table.
bool ReadFaultPointPairs(CWellDataManager* mgr, const std::string& well, FaultPointPairs* points);

// The stratification segments of one level (0..4) of a well.
class LogStratum2DAdapter : public StampedAdapter<LogStratum2DIO> {
 public:
  LogStratum2DAdapter(CWellDataManager* mgr, std::string well, int level);

  int GetCount() override;
  double GetTop(int i) override;
  double GetBottom(int i) override;
  // Strata are not moved whole: false.
  bool Move(int, double) override { return false; }
  bool SetTop(int i, double depth) override;
  bool SetBottom(int i, double depth) override;
  void CheckDataSet() override;
  std::string GetName(int i) override;
  bool SetName(int, const std::string&) override { return false; }
  std::uint64_t GetTimeStamp() override { return RefreshStamp(); }
  int GetLevel() override { return level_; }
  bool GetFaultPoints(FaultPointPairs* points) override;

 protected:
  std::uint64_t HostTimeStamp() override;
  std::uint64_t HostClock() override;

 private:
  CWellDataManager* mgr_;
  std::string well_;
  int level_;
  std::shared_ptr<CWellTable> table_;
  IntervalColumns columns_;
};

// The stratification segments of a scattered table (segment data). The
// name is composed as ",table,name column," (or "table,name column"): it
// must hold exactly two fields, else the object has no table. The table
// is looked up again whenever it has gone.
class LogStratum2ScattAdapter : public StampedAdapter<LogStratum2DIO> {
 public:
  LogStratum2ScattAdapter(CWellDataManager* mgr, const std::string& composed_name);

  int GetCount() override;
  double GetTop(int i) override;
  double GetBottom(int i) override;
  bool Move(int, double) override { return false; }
  bool SetTop(int i, double depth) override;
  bool SetBottom(int i, double depth) override;
  void CheckDataSet() override;
  std::string GetName(int i) override;
  bool SetName(int, const std::string&) override { return false; }
  std::uint64_t GetTimeStamp() override { return RefreshStamp(); }
  int GetLevel() override { return STRATUM_SCATT; }
  // False when the table is missing or not segment data; else true with
  // nothing added.
  bool GetFaultPoints(FaultPointPairs* points) override;

  const std::string& GetTableName() const { return table_name_; }
  const std::string& GetNameColumn() const { return name_column_; }

 protected:
  std::uint64_t HostTimeStamp() override;
  std::uint64_t HostClock() override;

 private:
  // The table when it exists and is segment data, else null.
  CMutiColPtData* Table();

  CWellDataManager* mgr_;
  std::string table_name_;
  std::string name_column_;
  std::shared_ptr<CMutiColPtData> table_;
  IntervalColumns columns_;
};

// No stratification data: no intervals, level -1.
class LogStratumDefaultAdapter : public LogStratum2DIO {
 public:
  int GetCount() override { return -1; }
  double GetTop(int) override { return kFltMax; }
  double GetBottom(int) override { return kFltMax; }
  bool Move(int, double) override { return false; }
  bool SetTop(int, double) override { return false; }
  bool SetBottom(int, double) override { return false; }
  void CheckDataSet() override {}
  std::string GetName(int) override { return std::string(); }
  bool SetName(int, const std::string&) override { return false; }
  std::uint64_t GetTimeStamp() override { return stamp_; }
  int GetLevel() override { return -1; }
  bool GetFaultPoints(FaultPointPairs*) override { return true; }
  void Notify() override;

 private:
  std::uint64_t stamp_ = 0;
};

// The segments in true vertical or altitude depth. The fault points are
// converted too: the depth as a depth, the gap as the distance between
// the converted ends.
template <class Inner, DepthType Mode>
class Stratum2DepthModeAdapter : public SegDepthModeAdapter<LogStratum2DIO, Inner, Mode> {
 public:
  using SegDepthModeAdapter<LogStratum2DIO, Inner, Mode>::SegDepthModeAdapter;

  std::string GetName(int i) override { return this->inner_.GetName(i); }
  bool SetName(int i, const std::string& name) override { return this->inner_.SetName(i, name); }
  std::uint64_t GetTimeStamp() override { return this->inner_.GetTimeStamp(); }
  int GetLevel() override { return this->inner_.GetLevel(); }
  bool GetFaultPoints(FaultPointPairs* points) override {
    if (!points) return false;
    FaultPointPairs md;
    if (!this->inner_.GetFaultPoints(&md)) return false;
    for (const auto& [depth, gap] : md)
      points->emplace_back(this->ToMode(depth), this->LengthToMode(depth, gap));
    return true;
  }
};

using LogStratum2DTVDAdapter = Stratum2DepthModeAdapter<LogStratum2DAdapter, DT_TVD>;
using LogStratum2DADAdapter = Stratum2DepthModeAdapter<LogStratum2DAdapter, DT_AD>;

// The units of one level (0..4) of a well as a list, with their places in
// the stratum catalogue's hierarchy.
class LogStratumDAdapter : public StampedAdapter<LogStratumDIO> {
 public:
  LogStratumDAdapter(CWellDataManager* mgr, std::string well, int level);

  int GetCount() override;
  // The first unit holding the depth: at or below its top (within 0.001)
  // and more than 0.001 above its bottom; -1 if none.
  int FindByDepth(double depth) override;
  // The first unit of that name, letter case ignored; -1 if none.
  int FindByName(const std::string& name) override;
  std::string GetName(int i) override;
  double GetTop(int i) override;
  double GetThickness(int i) override;
  // The unit of the level above that the catalogue names as the parent of
  // unit i (its index in the well's table of that level, and its name).
  int GetParentIndex(int i) override;
  std::string GetParentName(int i) override;
  // The first and last unit of the level below whose catalogue parent is
  // unit i; -1 when there is none.
  int GetFirstChildIndex(int i) override;
  int GetLastChildIndex(int i) override;

  double GetBottom(int i);
  int GetLevel() const { return level_; }

 protected:
  std::uint64_t HostTimeStamp() override;

 private:
  int FindChild(int i, bool last);

  CWellDataManager* mgr_;
  std::string well_;
  int level_;
  std::shared_ptr<CWellTable> table_;
  IntervalColumns columns_;
};

// The list in true vertical or altitude depth: tops and thicknesses are
// converted. In true vertical depth a unit holds both of its ends (within
// 0.001); in altitude depth the measured-depth rule applies.
template <DepthType Mode>
class StratumListDepthModeAdapter : public DepthModeAdapter<LogStratumDIO, LogStratumDAdapter, Mode> {
 public:
  using DepthModeAdapter<LogStratumDIO, LogStratumDAdapter, Mode>::DepthModeAdapter;

  int GetCount() override { return this->inner_.GetCount(); }
  int FindByDepth(double depth) override {
    const int n = GetCount();
    for (int i = 0; i < n; ++i) {
      const double top = GetTop(i), thickness = GetThickness(i);
      if (IsMissing(top) || IsMissing(thickness)) continue;
      const bool inside = Mode == DT_TVD
                              ? top - depth < 0.001 && depth - top - thickness < 0.001
                              : (depth > top || std::fabs(depth - top) < 0.001) &&
                                    depth + 0.001 < top + thickness;
      if (inside) return i;
    }
    return -1;
  }
  int FindByName(const std::string& name) override { return this->inner_.FindByName(name); }
  std::string GetName(int i) override { return this->inner_.GetName(i); }
  double GetTop(int i) override { return this->ToMode(this->inner_.GetTop(i)); }
  double GetThickness(int i) override {
    const double top = GetTop(i), bottom = this->ToMode(this->inner_.GetBottom(i));
    return IsMissing(top) || IsMissing(bottom) ? kFltMax : bottom - top;
  }
  int GetParentIndex(int i) override { return this->inner_.GetParentIndex(i); }
  std::string GetParentName(int i) override { return this->inner_.GetParentName(i); }
  int GetFirstChildIndex(int i) override { return this->inner_.GetFirstChildIndex(i); }
  int GetLastChildIndex(int i) override { return this->inner_.GetLastChildIndex(i); }
};

using LogStratumDTVDAdapter = StratumListDepthModeAdapter<DT_TVD>;
using LogStratumDADAdapter = StratumListDepthModeAdapter<DT_AD>;

}  // namespace davodu

#endif  // DAVODU_DATA_ADAPTERS_STRATUM_ADAPTERS_H_
