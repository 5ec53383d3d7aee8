// The rock sample data objects (LogLthSampleDIO), by LSMAPLESOURCE: the
// core analysis samples of the chart's well (1), a scattered table (2), and
// the true-vertical-depth and altitude forms.
//
// The data name is ",name,first value column,second value column," (its
// three fields in place; with another number of fields no value column is
// named). The interval of a sample is the cored interval of the run it was
// taken from, where its row gives one (the core table's run top and run
// bottom), else the sample itself: from its top down by its length (a
// sample without a length is a point).
//
// Samples that share one interval (the samples of one core run) are edited
// together: a move or a new top or bottom of one of them is written to all
// of them, in one transaction. The neighbours of an interval are the other
// intervals: it may not be moved or stretched past the bottom of the
// nearest interval above (one starting higher up) nor past the top of the
// nearest one below (one starting lower down), and never turns upside
// down. A sample moved with its run keeps its distance below the run top:
// its own top moves too.
#ifndef DAVODU_DATA_ADAPTERS_LTH_SAMPLE_ADAPTERS_H_
#define DAVODU_DATA_ADAPTERS_LTH_SAMPLE_ADAPTERS_H_

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "davodu/data/adapters/seg_depth_mode_adapter.h"
#include "davodu/data/adapters/stamped_adapter.h"
#include "davodu/data/data_io.h"
#include "davodu/data/data_sources.h"
#include "davodu/store/general_data_manager.h"

namespace davodu {

// The samples of a table with a top (or depth) and a length column.
class LthSampleTableAdapter : public StampedAdapter<LogLthSampleDIO> {
 public:
  int GetCount() override;
  double GetTop(int i) override;
  double GetBottom(int i) override;
  bool Move(int i, double delta) override;
  bool SetTop(int i, double depth) override;
  bool SetBottom(int i, double depth) override;
  std::uint64_t GetTimeStamp() override { return RefreshStamp(); }

 protected:
  // run_top and run_bottom name the columns of the run interval; empty for
  // tables without one.
  LthSampleTableAdapter(std::string top_column, std::string length_column,
                        std::string run_top_column = {}, std::string run_bottom_column = {})
      : top_(std::move(top_column)),
        length_(std::move(length_column)),
        run_top_(std::move(run_top_column)),
        run_bottom_(std::move(run_bottom_column)) {}
  virtual CWellTable* Table() = 0;
  std::uint64_t HostTimeStamp() override {
    CWellTable* t = Table();
    return t ? t->GetTimeStamp() : 0;
  }
  // A value of sample i in a column as a number; kFltMax when missing.
  double Value(int i, const std::string& column);

 private:
  // Whether row i gives the interval of its run.
  bool HasRunInterval(int i);
  // The rows sharing sample i's interval (i among them), and how far the
  // interval may reach: up to *upper (the bottom of the nearest other
  // interval starting above it; -inf when none) and down to *lower (the
  // top of the nearest one starting below; +inf when none). False for an
  // index outside the table or a sample without depths.
  bool Group(int i, std::vector<int>* rows, double* upper, double* lower);
  // Gives every row of a group the interval [top, bottom]; its samples'
  // own tops move by shift.
  bool WriteGroup(const std::vector<int>& rows, double top, double bottom, double shift);

  std::string top_;
  std::string length_;
  std::string run_top_;
  std::string run_bottom_;
};

// The core analysis samples of a well: the first value is the first
// column's number / 100 (a percentage as a fraction), the second the
// second column's number.
class LogLthSampleCoreAdapter : public LthSampleTableAdapter {
 public:
  LogLthSampleCoreAdapter(CWellDataManager* mgr, std::string well, const std::string& name);
  double GetValue1(int i) override;
  double GetValue2(int i) override { return Value(i, column2_); }
  void CheckDataSet() override;

 protected:
  CWellTable* Table() override { return table_.get(); }

 private:
  std::string well_;
  std::shared_ptr<CWellTable> table_;
  std::string column1_;
  std::string column2_;
};

// A scattered segment table named by the data name's first field (its part
// before a blank); both values as they are, a column the table does not
// have read as its first value column.
class LogLthSampleScattAdapter : public LthSampleTableAdapter {
 public:
  LogLthSampleScattAdapter(CWellDataManager* mgr, const std::string& name);
  double GetValue1(int i) override { return Value(i, ColumnOr(column1_)); }
  double GetValue2(int i) override { return Value(i, ColumnOr(column2_)); }
  void CheckDataSet() override;

 protected:
  CWellTable* Table() override;

 private:
  std::string ColumnOr(const std::string& column);

  CWellDataManager* mgr_;
  std::string table_name_;
  std::string column1_;
  std::string column2_;
  std::shared_ptr<CMutiColPtData> table_;
};

template <class Inner, DepthType Mode>
class LthSampleDepthModeAdapter : public SegDepthModeAdapter<LogLthSampleDIO, Inner, Mode> {
 public:
  using SegDepthModeAdapter<LogLthSampleDIO, Inner, Mode>::SegDepthModeAdapter;
  double GetValue1(int i) override { return this->inner_.GetValue1(i); }
  double GetValue2(int i) override { return this->inner_.GetValue2(i); }
  std::uint64_t GetTimeStamp() override { return this->inner_.GetTimeStamp(); }
};

using LogLthSampleTVDCoreAdapter = LthSampleDepthModeAdapter<LogLthSampleCoreAdapter, DT_TVD>;
using LogLthSampleADCoreAdapter = LthSampleDepthModeAdapter<LogLthSampleCoreAdapter, DT_AD>;

}  // namespace davodu

#endif  // DAVODU_DATA_ADAPTERS_LTH_SAMPLE_ADAPTERS_H_
