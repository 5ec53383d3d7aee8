// The rock sample data objects (LogLthSampleDIO), by LSMAPLESOURCE: the
// core analysis samples of the chart's well (1), a scattered table (2), and
// the true-vertical-depth and altitude forms.
//
// The data name is ",name,first value column,second value column," (its
// three fields in place; with another number of fields no value column is
// named). A sample is the interval from its top down by its length (a
// sample without a length is a point). Samples keep their order: a sample
// moved, or given a new top or bottom, may not pass its neighbours' tops
// (and a new top may not lie above the previous sample's bottom, a new
// bottom not below the next sample's top), and never turns upside down.
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
  LthSampleTableAdapter(std::string top_column, std::string length_column)
      : top_(std::move(top_column)), length_(std::move(length_column)) {}
  virtual CWellTable* Table() = 0;
  std::uint64_t HostTimeStamp() override {
    CWellTable* t = Table();
    return t ? t->GetTimeStamp() : 0;
  }
  // A value of sample i in a column as a number; kFltMax when missing.
  double Value(int i, const std::string& column);

 private:
  std::string top_;
  std::string length_;
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
