// The data objects of the dated and many-field tables of a well: oil tests
// (CDIOilTest) and injection and production profiles (LogWaterDataIO),
// with their true-vertical-depth and altitude forms.
//
// Oil tests. The field list is the listed columns of the table definition
// "试油数据" followed by the 24 result fields ("试油结果" .. "求产深度"),
// in that order, even where a result field is also a listed column. A
// record's interval is its "层段顶测深" and "层段底测深". Values are read
// and written by field name; a read is true when the record and the
// column exist.
//
// Profiles. Each record has a date, an interval and the measured values.
// The dates are listed as "%4d-%02d-%02d", each once, in record order;
// records without a valid date are not listed. A selection of a date range
// holds the records whose date lies in the range (both ends included), in
// the order of their dates and, for one date, of the records; its count is
// -1 when it holds none. A value that is missing reads as kFltMax, so that
// no drawing takes it for a measurement; an unknown field or a record
// outside the selection reads as 0.
#ifndef DAVODU_DATA_ADAPTERS_TABLE_ADAPTERS_H_
#define DAVODU_DATA_ADAPTERS_TABLE_ADAPTERS_H_

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "davodu/data/adapters/depth_mode_adapter.h"
#include "davodu/data/adapters/stamped_adapter.h"
#include "davodu/data/data_io.h"
#include "davodu/store/well_table.h"

namespace davodu {

class CWellDataManager;

// The 24 result fields every oil test object lists after the definition's
// columns (GBK).
const std::vector<std::string>& OilTestResultFields();

// The oil tests of a well.
class CDIOilTestW : public StampedAdapter<CDIOilTest> {
 public:
  CDIOilTestW(CWellDataManager* mgr, std::string well);

  int GetCount() override;
  int GetFieldCount() override { return static_cast<int>(fields_.size()); }
  const std::vector<std::string>* GetFieldNames() override { return &fields_; }
  const std::vector<std::string>* GetSecondNames() override { return &second_; }
  double GetTop(int i) override;
  double GetBottom(int i) override;
  bool GetValue(int i, const std::string& field, CZuVariant* value) override;
  bool SetValue(int i, const std::string& field, const CZuVariant* value) override;
  int HasData() override { return table_ ? 1 : 0; }
  int CheckDataSet() override;

  // The host row of record i (the same index); the parameter tables read
  // the table through it.
  const std::shared_ptr<CWellTable>& table() const { return table_; }

 protected:
  std::uint64_t HostTimeStamp() override { return table_ ? table_->GetTimeStamp() : 0; }

 private:
  std::string well_;
  std::shared_ptr<CWellTable> table_;
  std::vector<std::string> fields_;
  std::vector<std::string> second_;
};

template <DepthType Mode>
class OilTestDepthModeAdapter : public DepthModeAdapter<CDIOilTest, CDIOilTestW, Mode> {
  using Base = DepthModeAdapter<CDIOilTest, CDIOilTestW, Mode>;

 public:
  using Base::Base;
  int GetCount() override { return this->inner_.GetCount(); }
  int GetFieldCount() override { return this->inner_.GetFieldCount(); }
  const std::vector<std::string>* GetFieldNames() override { return this->inner_.GetFieldNames(); }
  const std::vector<std::string>* GetSecondNames() override { return this->inner_.GetSecondNames(); }
  double GetTop(int i) override { return this->ToMode(this->inner_.GetTop(i)); }
  double GetBottom(int i) override { return this->ToMode(this->inner_.GetBottom(i)); }
  bool GetValue(int i, const std::string& f, CZuVariant* v) override { return this->inner_.GetValue(i, f, v); }
  bool SetValue(int i, const std::string& f, const CZuVariant* v) override {
    return this->inner_.SetValue(i, f, v);
  }
  int HasData() override { return this->inner_.HasData(); }
  int CheckDataSet() override { return this->inner_.CheckDataSet(); }
};

using CDIOilTestWTVD = OilTestDepthModeAdapter<DT_TVD>;
using CDIOilTestWAD = OilTestDepthModeAdapter<DT_AD>;

// The injection (producted false) or production profiles of a well.
// The dates and the date-range selection of profile records, for any
// table: date_of(row) is the date of row 0..count-1 (not valid when the
// row has none).
void CollectProfileDates(int count, const std::function<DataDate(int)>& date_of,
                         std::vector<std::string>* dates);
std::vector<int> SelectProfileRows(int count, const std::function<DataDate(int)>& date_of,
                                   const DataDate& start, const DataDate& end);
// The smallest and largest of value_of(0..count-1), missing values left
// out; *min and *max stay as they are when there is no value.
void ProfileValueRange(int count, const std::function<double(int)>& value_of, double* min, double* max);

class WaterProfileAdapter : public StampedAdapter<LogWaterDataIO> {
 public:
  WaterProfileAdapter(CWellDataManager* mgr, std::string well, bool producted);

  void GetDates(std::vector<std::string>* dates) override;
  // Empty outside the definition's columns.
  std::string GetFieldName(int column) override;
  // Both 0 for a field that is not one of the profile's measured values
  // or has no value.
  void GetMinMax(const std::string& field, double* min, double* max) override;
  void SelectDates(const DataDate& start, const DataDate& end) override;
  int GetSelectedCount() override;
  // A zero date, outputs untouched, outside the selection.
  DataDate GetSelected(int j, double* top, double* bottom) override;
  int GetFieldCount() override { return static_cast<int>(fields_.size()); }
  double GetSelectedValue(int j, const std::string& field) override;

  bool IsProducted() const { return producted_; }

 protected:
  std::uint64_t HostTimeStamp() override { return table_ ? table_->GetTimeStamp() : 0; }

 private:
  // The host row of record j of the selection; -1 outside.
  int RowOf(int j) const;
  DataDate DateOf(int row) const;

  std::string well_;
  bool producted_;
  std::shared_ptr<CWellTable> table_;
  std::vector<std::string> fields_;
  std::vector<int> numeric_;  // 1 for the numeric columns of fields_
  std::vector<int> selection_;
  bool selected_ = false;
};

// The profile class names: one class serves both, the flag chooses.
using LogWaterDataAdapter = WaterProfileAdapter;
using ProductedFluidDataAdapter = WaterProfileAdapter;

template <DepthType Mode>
class WaterDepthModeAdapter : public DepthModeAdapter<LogWaterDataIO, WaterProfileAdapter, Mode> {
  using Base = DepthModeAdapter<LogWaterDataIO, WaterProfileAdapter, Mode>;

 public:
  using Base::Base;
  void GetDates(std::vector<std::string>* dates) override { this->inner_.GetDates(dates); }
  std::string GetFieldName(int column) override { return this->inner_.GetFieldName(column); }
  void GetMinMax(const std::string& f, double* min, double* max) override { this->inner_.GetMinMax(f, min, max); }
  void SelectDates(const DataDate& start, const DataDate& end) override { this->inner_.SelectDates(start, end); }
  int GetSelectedCount() override { return this->inner_.GetSelectedCount(); }
  DataDate GetSelected(int j, double* top, double* bottom) override {
    double t = kFltMax, b = kFltMax;
    const DataDate date = this->inner_.GetSelected(j, &t, &b);
    if (date == DataDate{}) return date;
    if (top) *top = this->ToMode(t);
    if (bottom) *bottom = this->ToMode(b);
    return date;
  }
  int GetFieldCount() override { return this->inner_.GetFieldCount(); }
  double GetSelectedValue(int j, const std::string& f) override { return this->inner_.GetSelectedValue(j, f); }
};

using LogWaterDataTVDAdapter = WaterDepthModeAdapter<DT_TVD>;
using LogWaterDataADAdapter = WaterDepthModeAdapter<DT_AD>;

}  // namespace davodu

#endif  // DAVODU_DATA_ADAPTERS_TABLE_ADAPTERS_H_
