#include "davodu/data/adapters/log_cve_adapters.h"

#include <algorithm>
#include <cfloat>
#include <cmath>

#include "davodu/host/util/util.h"
#include "davodu/store/well_data_manager.h"

namespace davodu {

namespace {

constexpr double kDblMax = DBL_MAX;
constexpr double kFltEpsilon = 1.1920928955078125e-7;

// Core analysis, point data and scattered columns.
constexpr CurveValueRules kTableRules = {0.001, false, -kDblMax, kDblMax, 0, 1000, kDblMax, -kDblMax};
// Gas logging keeps to single-precision limits.
constexpr CurveValueRules kGassRules = {kFltEpsilon, true,  -kFltMax, kFltMax,
                                        0,           0,     kFltMax,  -kFltMax};

}  // namespace

// ---------------------------------------------------------------- stamps

void CurveAdapterBase::Notify() {
  // The curve's own stamp, taken before the kits reload (stamped_adapter.h).
  const std::uint64_t seen = HostTimeStamp();
  LogCveDataIO::Notify();
  stamp_ = seen;
}

bool CurveAdapterBase::CheckNotify() {
  if (HostTimeStamp() <= stamp_) return false;
  Notify();
  return true;
}

// ---------------------------------------------------------------- well log

std::string LogCveDAdapter::GetName() { return column_ ? column_->GetName() : std::string(); }
double LogCveDAdapter::GetTopDepth() { return column_ ? column_->GetStartDepth() : kFltMax; }
double LogCveDAdapter::GetBottomDepth() { return column_ ? column_->GetStopDepth() : kFltMax; }
double LogCveDAdapter::GetMaxValue(double top, double bottom) {
  return column_ ? column_->GetMaxValue(top, bottom) : kFltMax;
}
double LogCveDAdapter::GetMaxValue() { return column_ ? column_->GetMaxValue() : kFltMax; }
double LogCveDAdapter::GetMinValue(double top, double bottom) {
  return column_ ? column_->GetMinValue(top, bottom) : kFltMax;
}
double LogCveDAdapter::GetMinValue() { return column_ ? column_->GetMinValue() : kFltMax; }
int LogCveDAdapter::GetValueCount() { return column_ ? std::max(column_->GetCount(), 0) : 0; }
const double* LogCveDAdapter::GetDepthBuffer() { return column_ ? column_->GetDepthBuf() : nullptr; }
const double* LogCveDAdapter::GetValueBuffer() { return column_ ? column_->GetDataBuf() : nullptr; }
const double* LogCveDAdapter::GetVerticalDepthBuffer() {
  return column_ ? column_->GetVerticalDepthBuf() : nullptr;
}
std::uint64_t LogCveDAdapter::HostTimeStamp() { return column_ ? column_->GetTimeStamp() : 0; }

// ---------------------------------------------------------------- tables

const double* TableCurveAdapter::GetDepthBuffer() {
  depths_.clear();
  const int n = RecordCount();
  for (int i = 0; i < n; ++i) depths_.push_back(RecordDepth(i));
  return depths_.empty() ? nullptr : depths_.data();
}

const double* TableCurveAdapter::GetValueBuffer() {
  values_.clear();
  const int n = RecordCount();
  const bool zero_missing = ZeroMissingInBuffer();
  for (int i = 0; i < n; ++i) {
    const double v = RecordValue(i);
    values_.push_back(zero_missing && v == kFltMax ? 0.0 : v);
  }
  return values_.empty() ? nullptr : values_.data();
}

double TableCurveAdapter::Overall(bool max) {
  double result = max ? rules_.start_max : rules_.start_min;
  bool found = false;
  const int n = RecordCount();
  for (int i = 0; i < n; ++i) {
    const double v = RecordValue(i);
    const double d = kFltMax - v;
    const bool missing = rules_.symmetric_tolerance ? std::fabs(d) <= rules_.missing_tolerance
                                                    : d <= rules_.missing_tolerance;
    if (missing) continue;
    found = true;
    if (max ? v > result : v < result) result = v;
  }
  if (!found) return max ? rules_.none_max : rules_.none_min;
  return result;
}

double TableCurveAdapter::Range(double top, double bottom, bool max) {
  const double empty = max ? rules_.empty_range_max : rules_.empty_range_min;
  const double* depth = GetDepthBuffer();
  const double* value = GetValueBuffer();
  if (!depth || !value) return 0;
  const int n = static_cast<int>(depths_.size());
  // First index whose depth passes the limit (strictly, or not), 0 if none.
  auto first = [&](double limit, bool inclusive) {
    if (limit <= depth[0]) return 0;
    if (limit > depth[n - 1]) return n;
    for (int i = 0; i < n; ++i)
      if (inclusive ? depth[i] >= limit : depth[i] > limit) return i;
    return 0;
  };
  const int start = first(top, false);
  const int end = first(bottom, true);
  if (start >= end) return empty;
  const double initial = max ? rules_.start_max : rules_.start_min;
  double result = initial;
  for (int i = start; i < end; ++i)
    if (max ? value[i] > result : value[i] < result) result = value[i];
  const bool replaced = rules_.symmetric_tolerance
                            ? std::fabs(result - initial) > rules_.missing_tolerance
                            : result != initial;
  return replaced ? result : empty;
}

double TableCurveAdapter::GetMaxValue(double top, double bottom) { return Range(top, bottom, true); }
double TableCurveAdapter::GetMaxValue() { return Overall(true); }
double TableCurveAdapter::GetMinValue(double top, double bottom) { return Range(top, bottom, false); }
double TableCurveAdapter::GetMinValue() { return Overall(false); }

int WellTableCurveAdapter::GetValueCount() { return std::max(RecordCount(), 0); }
int WellTableCurveAdapter::RecordCount() { return table_ ? std::max(table_->GetCount(), 0) : 0; }
double WellTableCurveAdapter::RecordDepth(int i) {
  return table_ ? table_->GetDouble(i, depth_column_) : kFltMax;
}
double WellTableCurveAdapter::RecordValue(int i) {
  return table_ ? table_->GetDouble(i, value_name_) : kFltMax;
}
std::uint64_t WellTableCurveAdapter::HostTimeStamp() { return table_ ? table_->GetTimeStamp() : 0; }

LogCveDCoreAdapter::LogCveDCoreAdapter(CWellDataManager* mgr, const std::string& well,
                                       const std::string& value_name)
    : WellTableCurveAdapter(mgr ? mgr->GetWellCore(well) : nullptr, value_name, "top",
                            kTableRules) {}

double LogCveDCoreAdapter::GetTopDepth() {
  const int n = RecordCount();
  return n > 0 ? RecordDepth(0) : kFltMax;
}

double LogCveDCoreAdapter::GetBottomDepth() {
  const int n = RecordCount();
  return n > 0 ? RecordDepth(n - 1) : kFltMax;
}

LogCveDPointAdapter::LogCveDPointAdapter(CWellDataManager* mgr, const std::string& table_name,
                                         const std::string& value_name, const std::string& well)
    : WellTableCurveAdapter(mgr ? mgr->GetWellPointData(PointTableIndex(table_name), well) : nullptr,
                            value_name, "depth", kTableRules),
      table_name_(table_name) {}

double LogCveDPointAdapter::GetTopDepth() {
  const int n = RecordCount();
  return n > 0 ? RecordDepth(0) : kFltMax;
}

double LogCveDPointAdapter::GetBottomDepth() {
  const int n = RecordCount();
  return n > 0 ? RecordDepth(n - 1) : kFltMax;
}

CCurveWellGassAdapter::CCurveWellGassAdapter(std::shared_ptr<CWellTable> table,
                                             const std::string& value_name)
    : WellTableCurveAdapter(std::move(table), value_name, "depth", kGassRules) {}

double CCurveWellGassAdapter::GetTopDepth() { return RecordCount() > 0 ? RecordDepth(0) : 0; }

double CCurveWellGassAdapter::GetBottomDepth() {
  const int n = RecordCount();
  return n > 0 ? RecordDepth(n - 1) : 0;
}

// ---------------------------------------------------------------- scattered

LogCveDScattAdapter::LogCveDScattAdapter(CWellDataManager* mgr, const std::string& table_name,
                                         const std::string& column_name)
    : TableCurveAdapter(column_name, kTableRules), table_name_(table_name) {
  if (mgr) table_ = CColPtDataManager(mgr).GetData(table_name);
}

double LogCveDScattAdapter::GetTopDepth() { return RecordCount() > 0 ? table_->GetDepth(0) : kFltMax; }

double LogCveDScattAdapter::GetBottomDepth() {
  if (RecordCount() <= 0) return kFltMax;
  const double top = table_->GetDepth(0);
  const double thickness = table_->GetThickness(0);
  if (IsMissing(top) || IsMissing(thickness)) return top;
  return top + thickness;
}

int LogCveDScattAdapter::GetValueCount() { return RecordCount(); }
int LogCveDScattAdapter::RecordCount() { return table_ ? std::max(table_->GetCount(), 0) : 0; }
double LogCveDScattAdapter::RecordDepth(int i) { return table_->GetDepth(i); }

double LogCveDScattAdapter::RecordValue(int i) {
  const int column = table_->GetValIndex(value_name_);
  return column < 0 ? kFltMax : table_->GetProVal(i, column).ToDouble();
}

std::uint64_t LogCveDScattAdapter::HostTimeStamp() { return table_ ? table_->GetTimeStamp() : 0; }

}  // namespace davodu
