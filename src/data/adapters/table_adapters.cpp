#include "davodu/data/adapters/table_adapters.h"

#include <algorithm>
#include <numeric>

#include "davodu/data/data_date.h"
#include "davodu/data/data_set_checker.h"
#include "davodu/host/util/gbk.h"
#include "davodu/host/util/types.h"
#include "davodu/store/well_catalogs.h"
#include "davodu/store/well_data_manager.h"

namespace davodu {

namespace {

// The listed columns of a host table definition: names, second names and
// whether each is numeric.
void ListedColumns(CWellDataManager* mgr, const std::string& table, std::vector<std::string>* names,
                   std::vector<std::string>* second, std::vector<int>* numeric) {
  std::shared_ptr<CTableDefinitionManager> defs = mgr ? mgr->GetTableDefinitionManager() : nullptr;
  TableDefinition def;
  if (!defs || !defs->GetTableDefinition(table, &def)) return;
  for (const ColumnDefinition& c : def.columns) {
    if (!c.listed) continue;
    if (names) names->push_back(c.name);
    if (second) second->push_back(c.second_name);
    if (numeric) numeric->push_back(c.type == 1 ? 1 : 0);
  }
}

bool InRows(const CWellTable* table, int i) { return table && i >= 0 && i < table->GetCount(); }

}  // namespace

const std::vector<std::string>& OilTestResultFields() {
  static const std::vector<std::string> fields = [] {
    std::vector<std::string> f;
    for (const char* name :
         {"试油结果", "施工单位", "试油目的", "开工日期", "完工日期", "措施类别", "求产方法", "工作制度",
          "油压范围开始值", "油压范围结束值", "套压范围开始值", "套压范围结束值", "静压", "流压", "静温",
          "流温", "日产油量", "日产气量", "日产水量", "累产油量", "累产气量", "累产水量", "求产时间",
          "求产深度"})
      f.push_back(Gbk(name));
    return f;
  }();
  return fields;
}

// ---------------------------------------------------------------- oil tests

CDIOilTestW::CDIOilTestW(CWellDataManager* mgr, std::string well)
    : well_(std::move(well)), table_(mgr ? mgr->GetWellTest(well_) : nullptr) {
  ListedColumns(mgr, Gbk("试油数据"), &fields_, &second_, nullptr);
  for (const std::string& name : OilTestResultFields()) fields_.push_back(name);
  // The kits refresh against this stamp: the table as read now is current.
  Notify();
}

int CDIOilTestW::GetCount() { return table_ ? table_->GetCount() : -1; }

double CDIOilTestW::GetTop(int i) {
  return InRows(table_.get(), i) ? table_->GetDouble(i, Gbk("层段顶测深")) : kFltMax;
}

double CDIOilTestW::GetBottom(int i) {
  return InRows(table_.get(), i) ? table_->GetDouble(i, Gbk("层段底测深")) : kFltMax;
}

bool CDIOilTestW::GetValue(int i, const std::string& field, CZuVariant* value) {
  if (!value || !InRows(table_.get(), i) || table_->FindColumn(field) < 0) return false;
  *value = table_->GetValue(i, field);
  return true;
}

bool CDIOilTestW::SetValue(int i, const std::string& field, const CZuVariant* value) {
  if (!value || !InRows(table_.get(), i)) return false;
  return table_->SetValue(i, field, *value);
}

int CDIOilTestW::CheckDataSet() {
  return CDataSetChecker::Instance()->CheckData(well_, Gbk("试油数据")) ? 1 : 0;
}

// ---------------------------------------------------------------- profiles

void CollectProfileDates(int count, const std::function<DataDate(int)>& date_of,
                         std::vector<std::string>* dates) {
  if (!dates) return;
  for (int row = 0; row < count; ++row) {
    const DataDate date = date_of(row);
    if (!IsValidDate(date)) continue;
    std::string text = FormatDataDate(date);
    if (std::find(dates->begin(), dates->end(), text) == dates->end()) dates->push_back(std::move(text));
  }
}

std::vector<int> SelectProfileRows(int count, const std::function<DataDate(int)>& date_of,
                                   const DataDate& start, const DataDate& end) {
  std::vector<int> selection;
  if (!IsValidDate(start) || !IsValidDate(end)) return selection;
  const auto from = DaysOf(start), to = DaysOf(end);
  std::vector<std::pair<std::chrono::sys_days, int>> rows;
  for (int row = 0; row < count; ++row) {
    const DataDate date = date_of(row);
    if (!IsValidDate(date)) continue;
    const auto day = DaysOf(date);
    if (day >= from && day <= to) rows.emplace_back(day, row);
  }
  std::stable_sort(rows.begin(), rows.end(), [](const auto& a, const auto& b) { return a.first < b.first; });
  for (const auto& r : rows) selection.push_back(r.second);
  return selection;
}

WaterProfileAdapter::WaterProfileAdapter(CWellDataManager* mgr, std::string well, bool producted)
    : well_(std::move(well)), producted_(producted) {
  if (mgr) table_ = producted ? mgr->GetWellProductFluid(well_) : mgr->GetWellSuction(well_);
  ListedColumns(mgr, Gbk(producted ? "产液剖面数据" : "吸水剖面数据"), &fields_, nullptr, &numeric_);
}

DataDate WaterProfileAdapter::DateOf(int row) const {
  DataDate date = kInvalidDate;
  if (!InRows(table_.get(), row) || !ParseDataDate(table_->GetString(row, Gbk("日期")), &date))
    return kInvalidDate;
  return date;
}

void WaterProfileAdapter::GetDates(std::vector<std::string>* dates) {
  if (table_) CollectProfileDates(table_->GetCount(), [this](int row) { return DateOf(row); }, dates);
}

std::string WaterProfileAdapter::GetFieldName(int column) {
  return column >= 0 && column < GetFieldCount() ? fields_[static_cast<std::size_t>(column)] : std::string();
}

void WaterProfileAdapter::GetMinMax(const std::string& field, double* min, double* max) {
  if (min) *min = 0;
  if (max) *max = 0;
  // The measured values of each profile; the other columns have no range.
  static const char* const kInjection[] = {"日注入量", "注入百分比", "注入压力", "吸水强度", "吸水率"};
  static const char* const kProduction[] = {"温度", "流压", "流量", "密度", "日产液量", "含水", "日产气量"};
  bool measured = false;
  if (producted_) {
    for (const char* f : kProduction) measured = measured || field == Gbk(f);
  } else {
    for (const char* f : kInjection) measured = measured || field == Gbk(f);
  }
  if (!measured || !table_ || table_->FindColumn(field) < 0) return;
  ProfileValueRange(table_->GetCount(), [&](int row) { return table_->GetDouble(row, field); }, min, max);
}

void ProfileValueRange(int count, const std::function<double(int)>& value_of, double* min, double* max) {
  double lo = kFltMax, hi = -kFltMax;
  for (int row = 0; row < count; ++row) {
    const double v = value_of(row);
    if (IsMissing(v)) continue;
    lo = std::min(lo, v);
    hi = std::max(hi, v);
  }
  if (lo > hi) return;
  if (min) *min = lo;
  if (max) *max = hi;
}

void WaterProfileAdapter::SelectDates(const DataDate& start, const DataDate& end) {
  selected_ = true;
  selection_ = table_ ? SelectProfileRows(table_->GetCount(), [this](int row) { return DateOf(row); }, start, end)
                      : std::vector<int>();
}

int WaterProfileAdapter::GetSelectedCount() {
  return selection_.empty() ? -1 : static_cast<int>(selection_.size());
}

int WaterProfileAdapter::RowOf(int j) const {
  if (j < 0 || j >= static_cast<int>(selection_.size())) return -1;
  const int row = selection_[static_cast<std::size_t>(j)];
  return InRows(table_.get(), row) ? row : -1;
}

DataDate WaterProfileAdapter::GetSelected(int j, double* top, double* bottom) {
  const int row = RowOf(j);
  if (row < 0) return DataDate{};
  if (top) *top = table_->GetDouble(row, Gbk("顶深"));
  if (bottom) *bottom = table_->GetDouble(row, Gbk("底深"));
  return DateOf(row);
}

double WaterProfileAdapter::GetSelectedValue(int j, const std::string& field) {
  const int row = RowOf(j);
  if (row < 0) return 0;
  const auto it = std::find(fields_.begin(), fields_.end(), field);
  if (it == fields_.end() || !numeric_[static_cast<std::size_t>(it - fields_.begin())]) return 0;
  return table_->GetDouble(row, field);
}

}  // namespace davodu
