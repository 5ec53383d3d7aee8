#include "davodu/data/adapters/shoot_adapters.h"

#include <algorithm>

#include "davodu/data/data_date.h"
#include "davodu/data/data_set_checker.h"
#include "davodu/host/util/gbk.h"
#include "davodu/host/util/util.h"
#include "davodu/store/well_data_manager.h"

namespace davodu {

int ShootKindOfText(std::string_view text) {
  const std::string t = TrimBlanks(text);
  if (t == "1" || t == Gbk("射孔")) return 2;
  if (t == "2" || t == Gbk("补孔")) return 3;
  return 1;
}

// ---------------------------------------------------------------- dates

void RecordDates::Read(const CWellTable* table) {
  std::shared_ptr<const TableData> data = table ? table->GetData() : nullptr;
  if (data == read_ && (data || dates_.empty())) return;
  read_ = data;
  dates_.clear();
  if (!data) return;
  const int column = data->FindColumn(column_);
  for (int i = 0; i < data->GetCount(); ++i) {
    DataDate date = kInvalidDate;
    if (column < 0 || !ParseDataDate(data->Get(i, column).ToString(), &date)) date = kInvalidDate;
    dates_.push_back(date);
  }
}

const DataDate* RecordDates::At(const CWellTable* table, int i) {
  Read(table);
  return i >= 0 && i < static_cast<int>(dates_.size()) ? &dates_[static_cast<std::size_t>(i)] : nullptr;
}

void RecordDates::Collect(const CWellTable* table, std::vector<std::string>* out, bool valid_only) {
  if (!out) return;
  Read(table);
  for (const DataDate& date : dates_) {
    if (valid_only && !IsValidDate(date)) continue;
    std::string text = FormatDataDate(date);
    if (std::find(out->begin(), out->end(), text) == out->end()) out->push_back(std::move(text));
  }
}

// ---------------------------------------------------------------- table base

int ShootTableAdapter::GetKind(int i) {
  CWellTable* t = Table();
  if (!t || i < 0 || i >= t->GetCount()) return 1;
  return ShootKindOfText(t->GetString(i, kind_column_));
}

bool ShootTableAdapter::SetKind(int i, int kind) {
  CWellTable* t = Table();
  if (!t || i < 0 || i >= t->GetCount()) return false;
  const char* text = kind == 1 ? "0" : kind == 2 ? "1" : kind == 3 ? "2" : "";
  return t->SetValue(i, kind_column_, std::string(text));
}

void ShootTableAdapter::GetDates(std::vector<std::string>* dates) {
  dates_.Collect(Table(), dates, false);
}

// ---------------------------------------------------------------- the well

LogShootAdapter::LogShootAdapter(CWellDataManager* mgr, std::string well)
    : ShootTableAdapter(IntervalColumns("top", "thickness", IntervalColumns::Extent::kThickness),
                        "date", "kind"),
      well_(std::move(well)),
      table_(mgr ? mgr->GetWellShoot(well_) : nullptr) {}

void LogShootAdapter::CheckDataSet() {
  CDataSetChecker::Instance()->CheckData(well_, Gbk("射孔数据"));
}

// ---------------------------------------------------------------- scattered

namespace {

std::string Part(const std::vector<std::string>& fields, std::size_t i, const char* fallback) {
  return i < fields.size() && !fields[i].empty() ? fields[i] : Gbk(fallback);
}

}  // namespace

LogShootScattAdapter::LogShootScattAdapter(CWellDataManager* mgr, const std::string& name)
    : LogShootScattAdapter(mgr, ComposedNameParts(name)) {}

LogShootScattAdapter::LogShootScattAdapter(CWellDataManager* mgr, const std::vector<std::string>& fields)
    : ShootTableAdapter(IntervalColumns("depth", "thickness", IntervalColumns::Extent::kThickness),
                        Part(fields, 1, "射孔日期"), Part(fields, 2, "射孔类型")),
      mgr_(mgr),
      table_name_(fields.empty() ? std::string() : FirstField(fields[0], " \t")) {}

CWellTable* LogShootScattAdapter::Table() {
  if (table_name_.empty() || !mgr_) return nullptr;
  if (!table_ || table_->GetCount() < 0) table_ = CColPtDataManager(mgr_).GetData(table_name_);
  return table_ && table_->IsSegmentData() ? &table_->table() : nullptr;
}

void LogShootScattAdapter::CheckDataSet() {
  CDataSetChecker::Instance()->CheckData(table_name_, Gbk(Table() ? "列数据" : "点数据"));
}

}  // namespace davodu
