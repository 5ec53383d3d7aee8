#include "davodu/data/adapters/lth_sample_adapters.h"

#include <algorithm>
#include <cmath>
#include <limits>

#include "davodu/data/data_set_checker.h"
#include "davodu/host/util/gbk.h"
#include "davodu/store/well_data_manager.h"

namespace davodu {

// ---------------------------------------------------------------- table base

int LthSampleTableAdapter::GetCount() {
  CWellTable* t = Table();
  return t ? t->GetCount() : -1;
}

bool LthSampleTableAdapter::HasRunInterval(int i) {
  if (run_top_.empty()) return false;
  CWellTable* t = Table();
  if (!t || t->FindColumn(run_top_) < 0 || t->FindColumn(run_bottom_) < 0) return false;
  const double top = t->GetDouble(i, run_top_), bottom = t->GetDouble(i, run_bottom_);
  return !IsMissing(top) && !IsMissing(bottom) && bottom >= top;
}

double LthSampleTableAdapter::GetTop(int i) {
  CWellTable* t = Table();
  if (!t) return kFltMax;
  return t->GetDouble(i, HasRunInterval(i) ? run_top_ : top_);
}

double LthSampleTableAdapter::GetBottom(int i) {
  if (HasRunInterval(i)) return Table()->GetDouble(i, run_bottom_);
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

bool LthSampleTableAdapter::Group(int i, std::vector<int>* rows, double* upper, double* lower) {
  const int n = GetCount();
  if (i < 0 || i >= n) return false;
  const double top = GetTop(i), bottom = GetBottom(i);
  if (IsMissing(top) || IsMissing(bottom)) return false;
  // Depths of one run are written alike; a rounding apart is the same run.
  constexpr double kSame = 1e-6;
  rows->clear();
  *upper = -std::numeric_limits<double>::infinity();
  *lower = std::numeric_limits<double>::infinity();
  for (int j = 0; j < n; ++j) {
    const double t = GetTop(j), b = GetBottom(j);
    if (IsMissing(t) || IsMissing(b)) continue;
    if (std::fabs(t - top) <= kSame && std::fabs(b - bottom) <= kSame) {
      rows->push_back(j);
    } else if (t < top - kSame) {
      *upper = std::max(*upper, b);
    } else if (t > top + kSame) {
      *lower = std::min(*lower, t);
    }
    // An interval starting at the same top but ending elsewhere overlaps
    // this one already in the table: it limits neither way.
  }
  return true;
}

bool LthSampleTableAdapter::WriteGroup(const std::vector<int>& rows, double top, double bottom,
                                       double shift) {
  std::vector<CellValue> cells;
  for (int row : rows) {
    if (HasRunInterval(row)) {
      cells.push_back({row, run_top_, CZuVariant(top)});
      cells.push_back({row, run_bottom_, CZuVariant(bottom)});
      const double own = Table()->GetDouble(row, top_);
      if (shift != 0 && !IsMissing(own)) cells.push_back({row, top_, CZuVariant(own + shift)});
    } else {
      cells.push_back({row, top_, CZuVariant(top)});
      // A point sample stays a point.
      if (bottom > top || !IsMissing(Table()->GetDouble(row, length_)))
        cells.push_back({row, length_, CZuVariant(bottom - top)});
    }
  }
  return !cells.empty() && Table()->SetValues(cells);
}

bool LthSampleTableAdapter::Move(int i, double delta) {
  std::vector<int> rows;
  double upper = 0, lower = 0;
  if (!std::isfinite(delta) || !Group(i, &rows, &upper, &lower)) return false;
  const double top = GetTop(i), bottom = GetBottom(i);
  if (delta < 0 && top + delta < upper) return false;
  if (delta > 0 && bottom + delta > lower) return false;
  return WriteGroup(rows, top + delta, bottom + delta, delta);
}

bool LthSampleTableAdapter::SetTop(int i, double depth) {
  std::vector<int> rows;
  double upper = 0, lower = 0;
  if (!std::isfinite(depth) || !Group(i, &rows, &upper, &lower)) return false;
  const double top = GetTop(i), bottom = GetBottom(i);
  if (!(depth < bottom) || depth < upper) return false;
  // The samples keep their distance below the top of their run.
  return WriteGroup(rows, depth, bottom, depth - top);
}

bool LthSampleTableAdapter::SetBottom(int i, double depth) {
  std::vector<int> rows;
  double upper = 0, lower = 0;
  if (!std::isfinite(depth) || !Group(i, &rows, &upper, &lower)) return false;
  const double top = GetTop(i);
  if (!(depth > top) || depth > lower) return false;
  return WriteGroup(rows, top, depth, 0);
}

// ---------------------------------------------------------------- core

LogLthSampleCoreAdapter::LogLthSampleCoreAdapter(CWellDataManager* mgr, std::string well,
                                                 const std::string& name)
    : LthSampleTableAdapter("top", "thickness", "run_top", "run_bottom"),
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
