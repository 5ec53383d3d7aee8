// Scattered oil tests and parameter tables, point data samples.
#include "davodu/data/adapters/scatt_table_adapters.h"

#include <cmath>

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

// ---------------------------------------------------------------- point data samples

AdapterPointSidewallCore::AdapterPointSidewallCore(std::shared_ptr<CWellTable> table, std::string first,
                                                   std::string second)
    : table_(std::move(table)), first_(std::move(first)), second_(std::move(second)) {}

bool AdapterPointSidewallCore::Valid(int i) const { return table_ && i >= 0 && i < table_->GetCount(); }

int AdapterPointSidewallCore::GetCount() { return table_ ? std::max(0, table_->GetCount()) : 0; }

double AdapterPointSidewallCore::GetDepth(int i) {
  return Valid(i) ? table_->GetDouble(i, "depth") : kFltMax;
}

std::string AdapterPointSidewallCore::GetText1(int i) {
  return Valid(i) && !first_.empty() ? table_->GetString(i, first_) : std::string();
}

std::string AdapterPointSidewallCore::GetText2(int i) {
  return Valid(i) && !second_.empty() ? table_->GetString(i, second_) : std::string();
}

bool AdapterPointSidewallCore::SetDepth(int i, double depth) {
  if (!Valid(i) || !std::isfinite(depth) || IsMissing(depth)) return false;
  const bool ok = table_->SetValue(i, "depth", CZuVariant(depth));
  if (ok) table_->SetModified(true);
  return ok;
}

bool AdapterPointSidewallCore::SetText(int i, const std::string& column, const std::string& text) {
  if (!Valid(i) || column.empty()) return false;
  const bool ok = table_->SetValue(i, column, CZuVariant(TruncateGbk(text, kSampleTextBytes)));
  if (ok) table_->SetModified(true);
  return ok;
}

bool AdapterPointSidewallCore::SetText1(int i, const std::string& text) { return SetText(i, first_, text); }
bool AdapterPointSidewallCore::SetText2(int i, const std::string& text) { return SetText(i, second_, text); }

bool AdapterPointSidewallCore::Insert(int pos, double depth) {
  if (!table_ || !std::isfinite(depth) || IsMissing(depth)) return false;
  const int n = std::max(0, table_->GetCount());
  RecordValues values;
  values.emplace_back("depth", CZuVariant(depth));
  const int row = table_->InsertRecord(pos < 0 || pos > n ? n : pos, values);
  if (row < 0) return false;
  table_->SetModified(true);
  return true;
}

std::unique_ptr<LogSidewallCoreIO> CreatePointSidewallCore(CWellDataManager* mgr, const std::string& well,
                                                           const std::string& name, DepthType depth) {
  const std::vector<std::string> fields = CommaFields(name);
  if (!mgr || fields.size() < 2) return nullptr;
  const std::string table_name = TrimBlanks(fields[0]);
  if (table_name != Gbk("点数据1") && table_name != Gbk("点数据2") && table_name != Gbk("点数据3")) return nullptr;
  std::shared_ptr<CWellTable> table = mgr->GetWellPointData(PointTableIndex(table_name), well);
  if (!table || !table->Exists()) return nullptr;
  const std::string first = TrimBlanks(fields[1]);
  const std::string second = fields.size() > 2 ? TrimBlanks(fields[2]) : std::string();
  switch (depth) {
    case DT_TVD: return std::make_unique<AdapterPointTVDSidewallCore>(mgr, well, table, first, second);
    case DT_AD: return std::make_unique<AdapterPointADSidewallCore>(mgr, well, table, first, second);
    default: return std::make_unique<AdapterPointSidewallCore>(table, first, second);
  }
}

}  // namespace davodu
