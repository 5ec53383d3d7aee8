#include "davodu/data/adapters/lth_sample_adapters.h"

#include <cmath>

#include "davodu/data/data_set_checker.h"
#include "davodu/host/util/gbk.h"
#include "davodu/store/well_data_manager.h"

namespace davodu {

// ---------------------------------------------------------------- table base

int LthSampleTableAdapter::GetCount() {
  CWellTable* t = Table();
  return t ? t->GetCount() : -1;
}

double LthSampleTableAdapter::GetTop(int i) {
  CWellTable* t = Table();
  return t ? t->GetDouble(i, top_) : kFltMax;
}

double LthSampleTableAdapter::GetBottom(int i) {
  const double top = GetTop(i);
  if (IsMissing(top)) return kFltMax;
  const double length = Table()->GetDouble(i, length_);
  return IsMissing(length) ? top : top + length;
}

double LthSampleTableAdapter::Value(int i, const std::string& column) {
  CWellTable* t = Table();
  if (!t || column.empty() || t->FindColumn(column) < 0) return kFltMax;
  return t->GetDouble(i, column);
}

bool LthSampleTableAdapter::Move(int i, double delta) {
  const int n = GetCount();
  if (i < 0 || i >= n || !std::isfinite(delta)) return false;
  const double top = GetTop(i), bottom = GetBottom(i);
  if (IsMissing(top)) return false;
  if (delta < 0 && i > 0 && top + delta < GetTop(i - 1)) return false;
  if (delta >= 0 && i + 1 < n && bottom + delta > GetTop(i + 1)) return false;
  return Table()->SetValue(i, top_, top + delta);
}

bool LthSampleTableAdapter::SetTop(int i, double depth) {
  const int n = GetCount();
  if (i < 0 || i >= n || !std::isfinite(depth)) return false;
  const double bottom = GetBottom(i);
  if (IsMissing(bottom) || !(depth < bottom)) return false;
  if (i > 0 && depth < GetBottom(i - 1)) return false;
  // The bottom stays: the length takes up the change.
  return Table()->SetValues({{i, top_, depth}, {i, length_, bottom - depth}});
}

bool LthSampleTableAdapter::SetBottom(int i, double depth) {
  const int n = GetCount();
  if (i < 0 || i >= n || !std::isfinite(depth)) return false;
  const double top = GetTop(i);
  if (IsMissing(top) || !(depth > top)) return false;
  if (i + 1 < n && depth > GetTop(i + 1)) return false;
  return Table()->SetValue(i, length_, depth - top);
}

// ---------------------------------------------------------------- core

LogLthSampleCoreAdapter::LogLthSampleCoreAdapter(CWellDataManager* mgr, std::string well,
                                                 const std::string& name)
    : LthSampleTableAdapter("top", "thickness"),
      well_(std::move(well)),
      table_(mgr ? mgr->GetWellCore(well_) : nullptr) {
  const std::vector<std::string> fields = ComposedNameParts(name);
  if (fields.size() == 3) {
    column1_ = fields[1];
    column2_ = fields[2];
  }
}

double LogLthSampleCoreAdapter::GetValue1(int i) {
  const double v = Value(i, column1_);
  return IsMissing(v) ? v : v / 100;
}

void LogLthSampleCoreAdapter::CheckDataSet() {
  CDataSetChecker::Instance()->CheckData(well_, Gbk("岩心分析数据"));
}

// ---------------------------------------------------------------- scattered

LogLthSampleScattAdapter::LogLthSampleScattAdapter(CWellDataManager* mgr, const std::string& name)
    : LthSampleTableAdapter("depth", "thickness"), mgr_(mgr) {
  const std::vector<std::string> fields = ComposedNameParts(name);
  if (!fields.empty()) table_name_ = FirstField(fields[0], " \t");
  if (fields.size() == 3) {
    column1_ = fields[1];
    column2_ = fields[2];
  }
}

CWellTable* LogLthSampleScattAdapter::Table() {
  if (table_name_.empty() || !mgr_) return nullptr;
  if (!table_ || table_->GetCount() < 0) table_ = CColPtDataManager(mgr_).GetData(table_name_);
  return table_ && table_->IsSegmentData() ? &table_->table() : nullptr;
}

std::string LogLthSampleScattAdapter::ColumnOr(const std::string& column) {
  if (!Table()) return std::string();
  if (!column.empty() && table_->GetValIndex(column) >= 0) return column;
  const std::vector<std::string> names = table_->GetValNames();
  return names.empty() ? std::string() : names.front();
}

void LogLthSampleScattAdapter::CheckDataSet() {
  CDataSetChecker::Instance()->CheckData(table_name_, Gbk(Table() ? "列数据" : "点数据"));
}

}  // namespace davodu
