// The data objects over scattered tables that show oil tests and
// parameter tables, and the point data tables of a well read as samples.
//
// Scattered oil tests (CDIOilTestS): the records of a scattered table
// that carries thicknesses; a record's interval is its depth and depth +
// thickness; the fields are the table's value columns.
//
// Scattered parameter tables (LogParaScattAdapter): the same intervals,
// the value of interval i the text of the named value column.
//
// Point data samples (AdapterPointSidewallCore and its TVD and altitude
// forms): the records of a point data table "点数据1".."点数据3" of the
// chart's well, named "点数据N,FIRST[,SECOND]": the sample depth is the
// record's depth, the first and second texts the named columns (no second
// column: an empty text that is not written). Texts are written cut to 15
// bytes (a two-byte character is not split); every write and the insert
// mark the table modified.
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

class AdapterPointSidewallCore : public StampedAdapter<LogSidewallCoreIO> {
 public:
  // table: the host point data table; first, second: its text columns.
  AdapterPointSidewallCore(std::shared_ptr<CWellTable> table, std::string first, std::string second);

  int GetCount() override;
  double GetDepth(int i) override;
  std::string GetText2(int i) override;
  std::string GetText1(int i) override;
  bool SetDepth(int i, double depth) override;
  bool SetText2(int i, const std::string& text) override;
  bool SetText1(int i, const std::string& text) override;
  bool Insert(int pos, double depth) override;
  void Arrange() override {}

 protected:
  std::uint64_t HostTimeStamp() override { return table_ ? table_->GetTimeStamp() : 0; }

 private:
  bool Valid(int i) const;
  bool SetText(int i, const std::string& column, const std::string& text);

  std::shared_ptr<CWellTable> table_;
  std::string first_, second_;
};

template <DepthType Mode>
class PointSidewallDepthModeAdapter
    : public DepthModeAdapter<LogSidewallCoreIO, AdapterPointSidewallCore, Mode> {
  using Base = DepthModeAdapter<LogSidewallCoreIO, AdapterPointSidewallCore, Mode>;

 public:
  using Base::Base;
  int GetCount() override { return this->inner_.GetCount(); }
  double GetDepth(int i) override { return this->ToMode(this->inner_.GetDepth(i)); }
  std::string GetText2(int i) override { return this->inner_.GetText2(i); }
  std::string GetText1(int i) override { return this->inner_.GetText1(i); }
  bool SetDepth(int i, double depth) override { return this->inner_.SetDepth(i, this->ToMeasured(depth)); }
  bool SetText2(int i, const std::string& t) override { return this->inner_.SetText2(i, t); }
  bool SetText1(int i, const std::string& t) override { return this->inner_.SetText1(i, t); }
  bool Insert(int pos, double depth) override { return this->inner_.Insert(pos, this->ToMeasured(depth)); }
  void Arrange() override { this->inner_.Arrange(); }
};

using AdapterPointTVDSidewallCore = PointSidewallDepthModeAdapter<DT_TVD>;
using AdapterPointADSidewallCore = PointSidewallDepthModeAdapter<DT_AD>;

// The point data sample object a sidewall request names
// ("点数据N,FIRST[,SECOND]"), in the depth reference; null when the name
// is not of that form or the well has no such table.
std::unique_ptr<LogSidewallCoreIO> CreatePointSidewallCore(CWellDataManager* mgr, const std::string& well,
                                                           const std::string& name, DepthType depth);

}  // namespace davodu

#endif  // DAVODU_DATA_ADAPTERS_SCATT_TABLE_ADAPTERS_H_
