// The curve data objects: one measured-depth class per curve source and
// their true-vertical-depth and altitude wrappers.
//
// The curve kit does not observe these objects; it copies the buffers it
// needs when it is (re)initialised. The well log classes pass the host's own
// buffers through; the table classes rebuild their arrays on every call.
#ifndef DAVODU_DATA_ADAPTERS_LOG_CVE_ADAPTERS_H_
#define DAVODU_DATA_ADAPTERS_LOG_CVE_ADAPTERS_H_

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "davodu/data/adapters/depth_mode_adapter.h"
#include "davodu/data/data_io.h"
#include "davodu/store/general_data_manager.h"
#include "davodu/store/well_table.h"

namespace davodu {

// The time stamp bookkeeping of the measured-depth curve classes: the host
// object is newer when its stamp is greater than the time of the last
// refresh (0 until the first one).
class CurveAdapterBase : public LogCveDataIO {
 public:
  void Notify() override;
  bool CheckNotify() override;
  std::string GetUnit() override { return std::string(); }
  std::uint64_t GetTimeStamp() const { return stamp_; }

 protected:
  virtual std::uint64_t HostTimeStamp() = 0;

 private:
  std::uint64_t stamp_ = 0;
};

// A log curve of the chart's well.
class LogCveDAdapter : public CurveAdapterBase {
 public:
  explicit LogCveDAdapter(std::shared_ptr<CWellLogColumn> column) : column_(std::move(column)) {}

  std::string GetName() override;
  double GetTopDepth() override;
  double GetBottomDepth() override;
  double GetMaxValue(double top, double bottom) override;
  double GetMaxValue() override;
  double GetMinValue(double top, double bottom) override;
  double GetMinValue() override;
  int GetValueCount() override;
  const double* GetDepthBuffer() override;
  const double* GetValueBuffer() override;
  // The host's true vertical depths of the samples.
  const double* GetVerticalDepthBuffer();

 protected:
  std::uint64_t HostTimeStamp() override;

 private:
  std::shared_ptr<CWellLogColumn> column_;
};

// How the record-by-record classes treat missing values and empty results.
struct CurveValueRules {
  // Overall max/min skip values within this distance below kFltMax
  // (gas: within this distance on either side).
  double missing_tolerance;
  bool symmetric_tolerance;
  double start_max, start_min;          // start values of the searches
  double none_max, none_min;            // overall result when nothing qualifies
  double empty_range_max, empty_range_min;  // range result when nothing qualifies
};

// A curve read record by record from a table of depths and values: core
// analysis, point data, gas logging and scattered columns share this.
class TableCurveAdapter : public CurveAdapterBase {
 public:
  std::string GetName() override { return value_name_; }
  double GetMaxValue(double top, double bottom) override;
  double GetMaxValue() override;
  double GetMinValue(double top, double bottom) override;
  double GetMinValue() override;
  const double* GetDepthBuffer() override;
  const double* GetValueBuffer() override;

 protected:
  TableCurveAdapter(std::string value_name, const CurveValueRules& rules)
      : value_name_(std::move(value_name)), rules_(rules) {}

  // Record access of the concrete table; Value returns kFltMax when missing.
  virtual int RecordCount() = 0;
  virtual double RecordDepth(int i) = 0;
  virtual double RecordValue(int i) = 0;
  // Whether a value buffer shows a missing value as 0.
  virtual bool ZeroMissingInBuffer() const { return true; }

  std::string value_name_;

 private:
  double Overall(bool max);
  double Range(double top, double bottom, bool max);

  CurveValueRules rules_;
  std::vector<double> depths_;
  std::vector<double> values_;
};

// A curve over a column of one of the well's tables (core, point data, gas).
class WellTableCurveAdapter : public TableCurveAdapter {
 public:
  int GetValueCount() override;

 protected:
  WellTableCurveAdapter(std::shared_ptr<CWellTable> table, std::string value_name,
                        const char* depth_column, const CurveValueRules& rules)
      : TableCurveAdapter(std::move(value_name), rules),
        table_(std::move(table)),
        depth_column_(depth_column) {}

  int RecordCount() override;
  double RecordDepth(int i) override;
  double RecordValue(int i) override;
  std::uint64_t HostTimeStamp() override;

  std::shared_ptr<CWellTable> table_;
  const char* depth_column_;
};

// A core analysis value of the chart's well.
class LogCveDCoreAdapter : public WellTableCurveAdapter {
 public:
  LogCveDCoreAdapter(CWellDataManager* mgr, const std::string& well, const std::string& value_name);
  double GetTopDepth() override;
  double GetBottomDepth() override;
};

// A column of point data table "点数据1".."点数据3" of the chart's well;
// any other table name reads the third table.
class LogCveDPointAdapter : public WellTableCurveAdapter {
 public:
  LogCveDPointAdapter(CWellDataManager* mgr, const std::string& table_name,
                      const std::string& value_name, const std::string& well);
  double GetTopDepth() override;
  double GetBottomDepth() override;
  const std::string& GetTableName() const { return table_name_; }

 private:
  std::string table_name_;
};

// A gas logging value of the chart's well.
class CCurveWellGassAdapter : public WellTableCurveAdapter {
 public:
  CCurveWellGassAdapter(std::shared_ptr<CWellTable> table, const std::string& value_name);
  double GetTopDepth() override;
  double GetBottomDepth() override;
};

// A column of a scattered table. The table is looked up once, here.
class LogCveDScattAdapter : public TableCurveAdapter {
 public:
  LogCveDScattAdapter(CWellDataManager* mgr, const std::string& table_name,
                      const std::string& column_name);
  double GetTopDepth() override;
  double GetBottomDepth() override;
  int GetValueCount() override;

 protected:
  int RecordCount() override;
  double RecordDepth(int i) override;
  double RecordValue(int i) override;
  bool ZeroMissingInBuffer() const override { return false; }
  std::uint64_t HostTimeStamp() override;

 private:
  std::string table_name_;
  std::shared_ptr<CMutiColPtData> table_;
};

// A curve of any measured-depth class in true vertical or altitude depth.
template <class Inner, DepthType Mode>
class CurveDepthModeAdapter : public DepthModeAdapter<LogCveDataIO, Inner, Mode> {
  using Base = DepthModeAdapter<LogCveDataIO, Inner, Mode>;

 public:
  using Base::Base;

  std::string GetName() override { return this->inner_.GetName(); }
  std::string GetUnit() override { return this->inner_.GetUnit(); }
  double GetTopDepth() override { return this->ToMode(this->inner_.GetTopDepth()); }
  double GetBottomDepth() override { return this->ToMode(this->inner_.GetBottomDepth()); }
  double GetMaxValue(double top, double bottom) override {
    return this->inner_.GetMaxValue(this->ToMeasured(top), this->ToMeasured(bottom));
  }
  double GetMaxValue() override { return this->inner_.GetMaxValue(); }
  double GetMinValue(double top, double bottom) override {
    return this->inner_.GetMinValue(this->ToMeasured(top), this->ToMeasured(bottom));
  }
  double GetMinValue() override { return this->inner_.GetMinValue(); }
  int GetValueCount() override { return this->inner_.GetValueCount(); }
  const double* GetValueBuffer() override { return this->inner_.GetValueBuffer(); }

  // The well log keeps the host's vertical depths; other sources and the
  // altitude are converted sample by sample on every call.
  const double* GetDepthBuffer() override {
    if constexpr (Mode == DT_TVD && requires(Inner& in) { in.GetVerticalDepthBuffer(); }) {
      return this->inner_.GetVerticalDepthBuffer();
    } else {
      const double* md = this->inner_.GetDepthBuffer();
      if (!md) return nullptr;
      const int n = this->inner_.GetValueCount();
      depths_.clear();
      for (int i = 0; i < n; ++i) depths_.push_back(this->ToMode(md[i]));
      return depths_.empty() ? nullptr : depths_.data();
    }
  }
  // The wrapped object's measured depths.
  const double* GetMDDepthBuffer() { return this->inner_.GetDepthBuffer(); }

 private:
  std::vector<double> depths_;
};

using LogCveDTVDAdapter = CurveDepthModeAdapter<LogCveDAdapter, DT_TVD>;
using LogCveDADAdapter = CurveDepthModeAdapter<LogCveDAdapter, DT_AD>;
using LogCveDTVDCoreAdapter = CurveDepthModeAdapter<LogCveDCoreAdapter, DT_TVD>;
using LogCveDADCoreAdapter = CurveDepthModeAdapter<LogCveDCoreAdapter, DT_AD>;
using LogCveDTVDPointAdapter = CurveDepthModeAdapter<LogCveDPointAdapter, DT_TVD>;
using LogCveDADPointAdapter = CurveDepthModeAdapter<LogCveDPointAdapter, DT_AD>;
using CCurveWellGassTVDAdapter = CurveDepthModeAdapter<CCurveWellGassAdapter, DT_TVD>;
using CCurveWellGassADAdapter = CurveDepthModeAdapter<CCurveWellGassAdapter, DT_AD>;

}  // namespace davodu

#endif  // DAVODU_DATA_ADAPTERS_LOG_CVE_ADAPTERS_H_
