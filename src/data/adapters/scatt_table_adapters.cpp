// Scattered oil tests, parameter tables and profiles.
#include "davodu/data/adapters/scatt_table_adapters.h"

#include <algorithm>
#include <cmath>

#include "davodu/data/adapters/table_adapters.h"
#include "davodu/data/data_date.h"
#include "davodu/data/data_set_checker.h"
#include "davodu/data/data_sources.h"
#include "davodu/host/util/gbk.h"
#include "davodu/host/util/util.h"
#include "davodu/store/general_data_manager.h"
#include "davodu/store/well_data_manager.h"

namespace davodu {

// ---------------------------------------------------------------- scattered intervals

CMutiColPtData* ScattIntervalTable::Get() {
  if (name_.empty() || !mgr_) return nullptr;
  // A replaced table is a new one: look it up again when the old is gone.
  if (!table_ || table_->GetCount() < 0) table_ = CColPtDataManager(mgr_).GetData(name_);
  return table_ && table_->IsSegmentData() ? table_.get() : nullptr;
}

int ScattIntervalTable::Count() {
  CMutiColPtData* t = Get();
  return t ? std::max(0, t->GetCount()) : 0;
}

double ScattIntervalTable::Top(int i) {
  CMutiColPtData* t = Get();
  return t && i >= 0 && i < t->GetCount() ? t->GetDepth(i) : kFltMax;
}

double ScattIntervalTable::Bottom(int i) {
  CMutiColPtData* t = Get();
  if (!t || i < 0 || i >= t->GetCount()) return kFltMax;
  const double depth = t->GetDepth(i), thickness = t->GetThickness(i);
  if (IsMissing(depth) || IsMissing(thickness)) return kFltMax;
  return depth + thickness;
}

std::uint64_t ScattIntervalTable::Stamp() {
  CMutiColPtData* t = Get();
  return t ? t->GetTimeStamp() : 0;
}

void ScattIntervalTable::CheckDataSet() {
  CDataSetChecker::Instance()->CheckData(name_, Gbk(Get() ? "列数据" : "点数据"));
}

// ---------------------------------------------------------------- oil tests

CDIOilTestS::CDIOilTestS(CWellDataManager* mgr, std::string table) : table_(mgr, std::move(table)) {}

const std::vector<std::string>& CDIOilTestS::Fields() {
  CMutiColPtData* t = table_.Get();
  fields_ = t ? t->GetValNames() : std::vector<std::string>();
  return fields_;
}

bool CDIOilTestS::GetValue(int i, const std::string& field, CZuVariant* value) {
  CMutiColPtData* t = table_.Get();
  if (!t || !value || i < 0 || i >= t->GetCount()) return false;
  const int column = t->GetValIndex(field);
  if (column < 0) return false;
  *value = t->GetProVal(i, column);
  return true;
}

bool CDIOilTestS::SetValue(int i, const std::string& field, const CZuVariant* value) {
  CMutiColPtData* t = table_.Get();
  if (!t || !value || i < 0 || i >= t->GetCount()) return false;
  return t->SetProVal(i, t->GetValIndex(field), *value);
}

int CDIOilTestS::CheckDataSet() {
  table_.CheckDataSet();
  return 0;
}

// ---------------------------------------------------------------- parameter tables

LogParaScattAdapter::LogParaScattAdapter(CWellDataManager* mgr, std::string table, std::string field)
    : table_(mgr, std::move(table)), field_(std::move(field)) {}

std::string LogParaScattAdapter::GetValue(int i) {
  CMutiColPtData* t = table_.Get();
  if (!t || i < 0 || i >= t->GetCount()) return std::string();
  const int column = t->GetValIndex(field_);
  return column < 0 ? std::string() : t->GetProVal(i, column).ToString();
}

bool LogParaScattAdapter::SetValue(int i, const std::string& value) {
  CMutiColPtData* t = table_.Get();
  if (!t || i < 0 || i >= t->GetCount()) return false;
  return t->SetProVal(i, t->GetValIndex(field_), CZuVariant(value));
}

// ---------------------------------------------------------------- profiles

WaterScattAdapter::WaterScattAdapter(CWellDataManager* mgr, std::string table, std::string time_field)
    : table_(mgr, std::move(table)), time_field_(std::move(time_field)) {}

const std::vector<std::string>& WaterScattAdapter::Fields() {
  CMutiColPtData* t = table_.Get();
  fields_ = t ? t->GetValNames() : std::vector<std::string>();
  return fields_;
}

DataDate WaterScattAdapter::DateOf(int row) {
  CMutiColPtData* t = table_.Get();
  DataDate date = kInvalidDate;
  if (!t || row < 0 || row >= t->GetCount()) return date;
  const int column = t->GetValIndex(time_field_);
  if (column < 0 || !ParseDataDate(t->GetProVal(row, column).ToString(), &date)) return kInvalidDate;
  return date;
}

void WaterScattAdapter::GetDates(std::vector<std::string>* dates) {
  CollectProfileDates(table_.Count(), [this](int row) { return DateOf(row); }, dates);
}

std::string WaterScattAdapter::GetFieldName(int column) {
  const std::vector<std::string>& fields = Fields();
  return column >= 0 && column < static_cast<int>(fields.size()) ? fields[static_cast<std::size_t>(column)]
                                                                 : std::string();
}

void WaterScattAdapter::GetMinMax(const std::string& field, double* min, double* max) {
  if (min) *min = 0;
  if (max) *max = 0;
  CMutiColPtData* t = table_.Get();
  if (!t || field == time_field_ || t->GetValIndex(field) < 0) return;
  ProfileValueRange(t->GetCount(), [&](int row) { return t->GetValue(row, field); }, min, max);
}

void WaterScattAdapter::SelectDates(const DataDate& start, const DataDate& end) {
  selection_ = SelectProfileRows(table_.Count(), [this](int row) { return DateOf(row); }, start, end);
}

int WaterScattAdapter::GetSelectedCount() {
  return selection_.empty() ? -1 : static_cast<int>(selection_.size());
}

int WaterScattAdapter::RowOf(int j) {
  if (j < 0 || j >= static_cast<int>(selection_.size())) return -1;
  const int row = selection_[static_cast<std::size_t>(j)];
  return row < table_.Count() ? row : -1;
}

DataDate WaterScattAdapter::GetSelected(int j, double* top, double* bottom) {
  const int row = RowOf(j);
  if (row < 0) return DataDate{};
  if (top) *top = table_.Top(row);
  if (bottom) *bottom = table_.Bottom(row);
  return DateOf(row);
}

double WaterScattAdapter::GetSelectedValue(int j, const std::string& field) {
  const int row = RowOf(j);
  CMutiColPtData* t = table_.Get();
  if (row < 0 || !t || field == time_field_ || t->GetValIndex(field) < 0) return 0;
  return t->GetValue(row, field);
}

}  // namespace davodu
