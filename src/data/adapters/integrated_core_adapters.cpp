#include "davodu/data/adapters/integrated_core_adapters.h"

#include <cmath>
#include <vector>

#include "davodu/data/data_set_checker.h"
#include "davodu/host/util/gbk.h"
#include "davodu/store/well_data_manager.h"

namespace davodu {

LogIntegratedCoreAdapter::LogIntegratedCoreAdapter(CWellDataManager* mgr, std::string well)
    : well_(std::move(well)),
      table_(mgr ? mgr->GetWellIntegratedCore(well_) : nullptr),
      columns_("top", "bottom", IntervalColumns::Extent::kBottom) {}

int LogIntegratedCoreAdapter::GetCount() { return columns_.Count(table_.get()); }
double LogIntegratedCoreAdapter::GetTop(int i) { return columns_.Top(table_.get(), i); }
double LogIntegratedCoreAdapter::GetBottom(int i) { return columns_.Bottom(table_.get(), i); }

double LogIntegratedCoreAdapter::Number(int i, const char* column) const {
  if (!table_ || i < 0 || i >= table_->GetCount()) return kFltMax;
  return table_->GetDouble(i, column);
}

int LogIntegratedCoreAdapter::GetRun(int i) {
  const double run = Number(i, "run");
  if (IsMissing(run) || !std::isfinite(run) || std::fabs(run) > 1e9) return -1;
  return static_cast<int>(run);
}

double LogIntegratedCoreAdapter::GetFootage(int i) {
  const double stored = Number(i, "footage");
  if (!IsMissing(stored)) return stored;
  const double top = GetTop(i), bottom = GetBottom(i);
  return IsMissing(top) || IsMissing(bottom) ? kFltMax : bottom - top;
}

double LogIntegratedCoreAdapter::GetCoreLength(int i) { return Number(i, "core_length"); }

double LogIntegratedCoreAdapter::GetRecovery(int i) {
  const double stored = Number(i, "recovery");
  if (!IsMissing(stored)) return stored;
  const double core = GetCoreLength(i), footage = GetFootage(i);
  if (IsMissing(core) || IsMissing(footage) || !(footage > 0)) return kFltMax;
  return core / footage * 100;
}

bool LogIntegratedCoreAdapter::Move(int i, double delta) { return columns_.Move(table_.get(), i, delta); }

bool LogIntegratedCoreAdapter::Resize(int i, double top, double bottom) {
  const int n = GetCount();
  if (i < 0 || i >= n) return false;
  const DepthInterval moved{top, bottom};
  const DepthInterval previous = columns_.At(table_.get(), i - 1);
  const DepthInterval next = columns_.At(table_.get(), i + 1);
  if (!FitsBetweenNeighbours(i > 0 ? &previous : nullptr, moved, i + 1 < n ? &next : nullptr) ||
      !(bottom - top >= kIntervalTolerance))
    return false;
  std::vector<CellValue> cells;
  columns_.Put(i, top, bottom, &cells);
  const double footage = bottom - top;
  if (!IsMissing(Number(i, "footage"))) cells.push_back({i, "footage", CZuVariant(footage)});
  const double core = GetCoreLength(i);
  if (!IsMissing(Number(i, "recovery")) && !IsMissing(core))
    cells.push_back({i, "recovery", CZuVariant(core / footage * 100)});
  return table_->SetValues(cells);
}

bool LogIntegratedCoreAdapter::SetTop(int i, double depth) {
  return std::isfinite(depth) && Resize(i, depth, GetBottom(i));
}

bool LogIntegratedCoreAdapter::SetBottom(int i, double depth) {
  return std::isfinite(depth) && Resize(i, GetTop(i), depth);
}

void LogIntegratedCoreAdapter::CheckDataSet() {
  CDataSetChecker::Instance()->CheckData(well_, Gbk("取芯综合数据"));
}

}  // namespace davodu
