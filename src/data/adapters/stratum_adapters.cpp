#include "davodu/data/adapters/stratum_adapters.h"

#include "davodu/data/data_set_checker.h"
#include "davodu/data/data_sources.h"
#include "davodu/host/util/gbk.h"
#include "davodu/host/util/util.h"
#include "davodu/store/well_data_manager.h"

namespace davodu {

namespace {

constexpr const char* kTop = "top";
constexpr const char* kBottom = "bottom";
constexpr const char* kName = "name";

std::uint64_t StampOf(const CWellTable* table) { return table ? table->GetTimeStamp() : 0; }

}  // namespace

bool ReadFaultPointPairs(CWellDataManager* mgr, const std::string& well, FaultPointPairs* points) {
  if (!points) return false;
  std::shared_ptr<CWellTable> table = mgr ? mgr->GetWellFaultPoint(well) : nullptr;
  const int n = table ? table->GetCount() : 0;
  for (int i = 0; i < n; ++i)
    points->emplace_back(table->GetDouble(i, "depth"), table->GetDouble(i, "throw"));
  return true;
}

// ---------------------------------------------------------------- segments

LogStratum2DAdapter::LogStratum2DAdapter(CWellDataManager* mgr, std::string well, int level)
    : mgr_(mgr),
      well_(std::move(well)),
      level_(level),
      table_(mgr ? mgr->GetWellStratum(level, well_) : nullptr),
      columns_(kTop, kBottom, IntervalColumns::Extent::kBottom) {}

int LogStratum2DAdapter::GetCount() { return columns_.Count(table_.get()); }
double LogStratum2DAdapter::GetTop(int i) { return columns_.Top(table_.get(), i); }
double LogStratum2DAdapter::GetBottom(int i) { return columns_.Bottom(table_.get(), i); }

bool LogStratum2DAdapter::SetTop(int i, double depth) {
  return columns_.SetTop(table_.get(), i, depth, true);
}

bool LogStratum2DAdapter::SetBottom(int i, double depth) {
  return columns_.SetBottom(table_.get(), i, depth, true);
}

void LogStratum2DAdapter::CheckDataSet() {
  CDataSetChecker::Instance()->CheckData(well_, StratumDataSetName(level_));
}

std::string LogStratum2DAdapter::GetName(int i) {
  return table_ ? table_->GetString(i, kName) : std::string();
}

bool LogStratum2DAdapter::GetFaultPoints(FaultPointPairs* points) {
  if (!mgr_ || !mgr_->GetWellPosition() || mgr_->GetWellPosition()->FindData(well_) < 0) return false;
  return ReadFaultPointPairs(mgr_, well_, points);
}

std::uint64_t LogStratum2DAdapter::HostTimeStamp() { return StampOf(table_.get()); }

// ---------------------------------------------------------------- scattered

LogStratum2ScattAdapter::LogStratum2ScattAdapter(CWellDataManager* mgr,
                                                 const std::string& composed_name)
    : mgr_(mgr), columns_("depth", "thickness", IntervalColumns::Extent::kThickness) {
  const std::vector<std::string> fields = ComposedNameFields(composed_name);
  if (fields.size() == 2) {
    table_name_ = fields[0];
    name_column_ = fields[1];
  }
}

CMutiColPtData* LogStratum2ScattAdapter::Table() {
  if (table_name_.empty() || !mgr_) return nullptr;
  if (!table_ || table_->GetCount() < 0) table_ = CColPtDataManager(mgr_).GetData(table_name_);
  return table_ && table_->IsSegmentData() ? table_.get() : nullptr;
}

int LogStratum2ScattAdapter::GetCount() {
  CMutiColPtData* t = Table();
  return t ? columns_.Count(&t->table()) : -1;
}

double LogStratum2ScattAdapter::GetTop(int i) {
  CMutiColPtData* t = Table();
  return t ? columns_.Top(&t->table(), i) : kFltMax;
}

double LogStratum2ScattAdapter::GetBottom(int i) {
  CMutiColPtData* t = Table();
  return t ? columns_.Bottom(&t->table(), i) : kFltMax;
}

bool LogStratum2ScattAdapter::SetTop(int i, double depth) {
  CMutiColPtData* t = Table();
  return t && columns_.SetTop(&t->table(), i, depth, true);
}

bool LogStratum2ScattAdapter::SetBottom(int i, double depth) {
  CMutiColPtData* t = Table();
  return t && columns_.SetBottom(&t->table(), i, depth, true);
}

void LogStratum2ScattAdapter::CheckDataSet() {
  CMutiColPtData* t = Table();
  const bool segment = t != nullptr;
  CDataSetChecker::Instance()->CheckData(table_name_, Gbk(segment ? "列数据" : "点数据"));
}

std::string LogStratum2ScattAdapter::GetName(int i) {
  CMutiColPtData* t = Table();
  if (!t) return std::string();
  const int column = t->GetValIndex(name_column_);
  return column < 0 ? std::string() : t->GetProVal(i, column).ToString();
}

bool LogStratum2ScattAdapter::GetFaultPoints(FaultPointPairs*) { return Table() != nullptr; }

std::uint64_t LogStratum2DAdapter::HostClock() { return mgr_ ? mgr_->GetTimeStamp() : 0; }
std::uint64_t LogStratum2ScattAdapter::HostClock() { return mgr_ ? mgr_->GetTimeStamp() : 0; }

std::uint64_t LogStratum2ScattAdapter::HostTimeStamp() {
  CMutiColPtData* t = Table();
  return t ? t->GetTimeStamp() : 0;
}

// ---------------------------------------------------------------- no data

void LogStratumDefaultAdapter::Notify() {
  LogStratum2DIO::Notify();
  stamp_ = AfxGetTimeStamp();
}

// ---------------------------------------------------------------- list

LogStratumDAdapter::LogStratumDAdapter(CWellDataManager* mgr, std::string well, int level)
    : mgr_(mgr),
      well_(std::move(well)),
      level_(level),
      table_(mgr ? mgr->GetWellStratum(level, well_) : nullptr),
      columns_(kTop, kBottom, IntervalColumns::Extent::kBottom) {}

int LogStratumDAdapter::GetCount() { return columns_.Count(table_.get()); }
std::string LogStratumDAdapter::GetName(int i) {
  return table_ ? table_->GetString(i, kName) : std::string();
}
double LogStratumDAdapter::GetTop(int i) { return columns_.Top(table_.get(), i); }
double LogStratumDAdapter::GetBottom(int i) { return columns_.Bottom(table_.get(), i); }

double LogStratumDAdapter::GetThickness(int i) {
  const double top = GetTop(i), bottom = GetBottom(i);
  return IsMissing(top) || IsMissing(bottom) ? kFltMax : bottom - top;
}

int LogStratumDAdapter::FindByDepth(double depth) {
  const int n = GetCount();
  for (int i = 0; i < n; ++i) {
    const double top = GetTop(i), thickness = GetThickness(i);
    if (IsMissing(top) || IsMissing(thickness)) continue;
    if ((depth > top || std::fabs(depth - top) < 0.001) && depth + 0.001 < top + thickness) return i;
  }
  return -1;
}

int LogStratumDAdapter::FindByName(const std::string& name) {
  const int n = GetCount();
  for (int i = 0; i < n; ++i)
    if (EqualsNoCase(GetName(i), name)) return i;
  return -1;
}

std::string LogStratumDAdapter::GetParentName(int i) {
  std::shared_ptr<CStratumManager> catalog = mgr_ ? mgr_->GetStratumManager() : nullptr;
  if (!catalog || i < 0 || i >= GetCount()) return std::string();
  return catalog->GetParent(level_, GetName(i));
}

int LogStratumDAdapter::GetParentIndex(int i) {
  const std::string parent = GetParentName(i);
  if (parent.empty() || level_ < 1) return -1;
  return LogStratumDAdapter(mgr_, well_, level_ - 1).FindByName(parent);
}

int LogStratumDAdapter::FindChild(int i, bool last) {
  std::shared_ptr<CStratumManager> catalog = mgr_ ? mgr_->GetStratumManager() : nullptr;
  if (!catalog || i < 0 || i >= GetCount() || level_ >= 4) return -1;
  const std::string name = GetName(i);
  LogStratumDAdapter below(mgr_, well_, level_ + 1);
  int found = -1;
  for (int k = 0; k < below.GetCount(); ++k) {
    if (!EqualsNoCase(catalog->GetParent(level_ + 1, below.GetName(k)), name)) continue;
    found = k;
    if (!last) break;
  }
  return found;
}

int LogStratumDAdapter::GetFirstChildIndex(int i) { return FindChild(i, false); }
int LogStratumDAdapter::GetLastChildIndex(int i) { return FindChild(i, true); }

std::uint64_t LogStratumDAdapter::HostTimeStamp() { return StampOf(table_.get()); }

}  // namespace davodu
