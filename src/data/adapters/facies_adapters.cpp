#include "davodu/data/adapters/facies_adapters.h"

#include <cmath>

#include "davodu/data/data_set_checker.h"
#include "davodu/host/util/gbk.h"
#include "davodu/store/well_data_manager.h"

namespace davodu {

namespace {

constexpr std::size_t kFaciesBytes = 15;

bool Present(double depth) { return !IsMissing(depth) && depth != 0 && std::isfinite(depth); }

}  // namespace

// ---------------------------------------------------------------- table base

void FaciesTableAdapter::Map(CWellTable* t) {
  std::shared_ptr<const TableData> data = t ? t->GetData() : nullptr;
  if (data == read_ && (data || rows_.empty())) return;
  read_ = data;
  rows_.clear();
  if (!data) return;
  for (int row = 0; row < data->GetCount(); ++row)
    if (!mapped_ || Present(t->GetDouble(row, top_))) rows_.push_back(row);
}

int FaciesTableAdapter::RowOf(int i) {
  CWellTable* t = Table();
  Map(t);
  return t && i >= 0 && i < static_cast<int>(rows_.size()) ? rows_[static_cast<std::size_t>(i)] : -1;
}

int FaciesTableAdapter::GetCount() {
  CWellTable* t = Table();
  if (!t) return source_ == FACIES_SCATT ? -1 : 0;
  Map(t);
  return static_cast<int>(rows_.size());
}

double FaciesTableAdapter::GetTop(int i) {
  const int row = RowOf(i);
  return row < 0 ? kFltMax : Table()->GetDouble(row, top_);
}

double FaciesTableAdapter::GetBottom(int i) {
  const int row = RowOf(i);
  if (row < 0) return kFltMax;
  const double second = Table()->GetDouble(row, bottom_);
  if (!thickness_) return second;
  const double top = GetTop(i);
  return IsMissing(top) || IsMissing(second) ? kFltMax : top + second;
}

std::string FaciesTableAdapter::GetFaciesName(int i) {
  const int row = RowOf(i);
  return row < 0 ? std::string() : Table()->GetString(row, facies_);
}

bool FaciesTableAdapter::SetFaciesName(int i, const std::string& name) {
  const int row = RowOf(i);
  return row >= 0 && Table()->SetValue(row, facies_, TruncateGbk(name, kFaciesBytes));
}

// ---------------------------------------------------------------- the well

LogFaciesDAdapter::LogFaciesDAdapter(CWellDataManager* mgr, std::string well, int source)
    : FaciesTableAdapter(source, "top", "bottom", false, "facies", false), well_(std::move(well)) {
  const int level = source - FACIES_STRATUM_FIRST;
  if (mgr && level >= 0 && level <= 4) table_ = mgr->GetWellStratum(level, well_);
}

void LogFaciesDAdapter::CheckDataSet() {
  CDataSetChecker::Instance()->CheckData(well_, StratumDataSetName(GetSource() - FACIES_STRATUM_FIRST));
}

LogFaciesDAapter2::LogFaciesDAapter2(CWellDataManager* mgr, std::string well, int source)
    : FaciesTableAdapter(source, "stratum_top", "stratum_bottom", false, "facies", true),
      well_(std::move(well)) {
  const int level = source - FACIES_FINE_FIRST;
  if (mgr && level >= 0 && level <= 4) table_ = mgr->GetWellFineStratum(level, well_);
}

void LogFaciesDAapter2::CheckDataSet() {
  CDataSetChecker::Instance()->CheckData(well_, FineStratumDataSetName(GetSource() - FACIES_FINE_FIRST));
}

// ---------------------------------------------------------------- scattered

LogFaciesScattAdapter::LogFaciesScattAdapter(CWellDataManager* mgr, const std::string& name)
    : LogFaciesScattAdapter(mgr, ComposedNameParts(name)) {}

LogFaciesScattAdapter::LogFaciesScattAdapter(CWellDataManager* mgr, const std::vector<std::string>& fields)
    : FaciesTableAdapter(FACIES_SCATT, "depth", "thickness", true,
                         fields.size() > 1 && !fields[1].empty() ? fields[1] : Gbk("沉积相"), false),
      mgr_(mgr),
      table_name_(fields.empty() ? std::string() : FirstField(fields[0], " \t")) {}

CWellTable* LogFaciesScattAdapter::Table() {
  if (table_name_.empty() || !mgr_) return nullptr;
  if (!table_ || table_->GetCount() < 0) table_ = CColPtDataManager(mgr_).GetData(table_name_);
  return table_ && table_->IsSegmentData() ? &table_->table() : nullptr;
}

void LogFaciesScattAdapter::CheckDataSet() {
  CDataSetChecker::Instance()->CheckData(table_name_, Gbk(Table() ? "列数据" : "点数据"));
}

}  // namespace davodu
