// The data objects over scattered tables that show oil tests, parameter
// tables and injection or production profiles. (Point data tables read as
// samples are sidewall core data objects: sidewall_core_adapters.h.)
//
// Scattered oil tests (CDIOilTestS): the records of a scattered table
// that carries thicknesses; a record's interval is its depth and depth +
// thickness; the fields are the table's value columns.
//
// Scattered parameter tables (LogParaScattAdapter): the same intervals,
// the value of interval i the text of the named value column.
//
// Scattered profiles (WaterScattAdapter): the records of a scattered table
// that carries thicknesses, each a measurement on the date its time column
// holds (default "日期", written YYYY-MM-DD or YYYY/MM/DD) over depth to
// depth + thickness; the fields are the table's value columns, dates and
// selections as for a well's profile (table_adapters.h), the range of a
// field its smallest and largest number.
#ifndef DAVODU_DATA_ADAPTERS_SCATT_TABLE_ADAPTERS_H_
#define DAVODU_DATA_ADAPTERS_SCATT_TABLE_ADAPTERS_H_

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "davodu/data/adapters/depth_mode_adapter.h"
#include "davodu/data/adapters/stamped_adapter.h"
#include "davodu/data/data_io.h"
#include "davodu/store/well_table.h"

namespace davodu {

class CMutiColPtData;
class CWellDataManager;

// The longest text a sample keeps, in bytes.
constexpr std::size_t kSampleTextBytes = 15;

// A scattered table that carries thicknesses, looked up again after it was
// replaced.
class ScattIntervalTable {
 public:
  ScattIntervalTable(CWellDataManager* mgr, std::string name) : mgr_(mgr), name_(std::move(name)) {}
  // Null when the table is gone or carries no thicknesses.
  CMutiColPtData* Get();
  const std::string& GetName() const { return name_; }
  int Count();
  double Top(int i);
  // depth + thickness; kFltMax when either is missing.
  double Bottom(int i);
  std::uint64_t Stamp();
  void CheckDataSet();

 private:
  CWellDataManager* mgr_;
  std::string name_;
  std::shared_ptr<CMutiColPtData> table_;
};

class CDIOilTestS : public StampedAdapter<CDIOilTest> {
 public:
  CDIOilTestS(CWellDataManager* mgr, std::string table);

  int GetCount() override { return table_.Count(); }
  int GetFieldCount() override { return static_cast<int>(Fields().size()); }
  const std::vector<std::string>* GetFieldNames() override { return &Fields(); }
  const std::vector<std::string>* GetSecondNames() override { return &Fields(); }
  double GetTop(int i) override { return table_.Top(i); }
  double GetBottom(int i) override { return table_.Bottom(i); }
  bool GetValue(int i, const std::string& field, CZuVariant* value) override;
  bool SetValue(int i, const std::string& field, const CZuVariant* value) override;
  int HasData() override { return table_.Get() ? 1 : 0; }
  int CheckDataSet() override;

 protected:
  std::uint64_t HostTimeStamp() override { return table_.Stamp(); }

 private:
  const std::vector<std::string>& Fields();
  ScattIntervalTable table_;
  std::vector<std::string> fields_;
};

class LogParaScattAdapter : public StampedAdapter<LogParaDIO> {
 public:
  LogParaScattAdapter(CWellDataManager* mgr, std::string table, std::string field);

  int GetCount() override { return table_.Count(); }
  double GetTop(int i) override { return table_.Top(i); }
  double GetBottom(int i) override { return table_.Bottom(i); }
  // "" outside the table or without such a column.
  std::string GetValue(int i) override;
  bool SetValue(int i, const std::string& value) override;
  std::uint64_t GetTimeStamp() override { return RefreshStamp(); }
  void CheckDataSet() override { table_.CheckDataSet(); }

 protected:
  std::uint64_t HostTimeStamp() override { return table_.Stamp(); }

 private:
  ScattIntervalTable table_;
  std::string field_;
};

class WaterScattAdapter : public StampedAdapter<LogWaterDataIO> {
 public:
  WaterScattAdapter(CWellDataManager* mgr, std::string table, std::string time_field);

  void GetDates(std::vector<std::string>* dates) override;
  std::string GetFieldName(int column) override;
  void GetMinMax(const std::string& field, double* min, double* max) override;
  void SelectDates(const DataDate& start, const DataDate& end) override;
  int GetSelectedCount() override;
  DataDate GetSelected(int j, double* top, double* bottom) override;
  int GetFieldCount() override { return static_cast<int>(Fields().size()); }
  double GetSelectedValue(int j, const std::string& field) override;

 protected:
  std::uint64_t HostTimeStamp() override { return table_.Stamp(); }

 private:
  const std::vector<std::string>& Fields();
  DataDate DateOf(int row);
  // The record of selection entry j; -1 outside.
  int RowOf(int j);

  ScattIntervalTable table_;
  std::string time_field_;
  std::vector<std::string> fields_;
  std::vector<int> selection_;
};

}  // namespace davodu

#endif  // DAVODU_DATA_ADAPTERS_SCATT_TABLE_ADAPTERS_H_
