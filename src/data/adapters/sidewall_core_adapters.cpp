#include "davodu/data/adapters/sidewall_core_adapters.h"

#include <algorithm>
#include <limits>
#include <numeric>
#include <vector>

#include "davodu/host/util/gbk.h"
#include "davodu/host/util/types.h"
#include "davodu/store/general_data_manager.h"
#include "davodu/store/well_data_manager.h"

namespace davodu {

namespace {

std::string OrDefault(const std::string& column, const char* fallback_utf8) {
  return column.empty() ? Gbk(fallback_utf8) : column;
}

}  // namespace

SidewallCoreAdapter::SidewallCoreAdapter(std::function<CWellTable*()> table, std::string depth,
                                         std::string text1, std::string text2)
    : table_(std::move(table)), depth_(std::move(depth)), text1_(std::move(text1)), text2_(std::move(text2)) {}

std::uint64_t SidewallCoreAdapter::HostTimeStamp() {
  const CWellTable* t = table_();
  return t ? t->GetTimeStamp() : 0;
}

int SidewallCoreAdapter::GetCount() {
  const CWellTable* t = table_();
  return t ? t->GetCount() : -1;
}

double SidewallCoreAdapter::GetDepth(int i) {
  const CWellTable* t = table_();
  return t ? t->GetDouble(i, depth_) : kFltMax;
}

std::string SidewallCoreAdapter::GetText1(int i) {
  const CWellTable* t = table_();
  return t && !text1_.empty() ? t->GetString(i, text1_) : std::string();
}

std::string SidewallCoreAdapter::GetText2(int i) {
  const CWellTable* t = table_();
  return t && !text2_.empty() ? t->GetString(i, text2_) : std::string();
}

bool SidewallCoreAdapter::SetDepth(int i, double depth) {
  CWellTable* t = table_();
  if (!t || i < 0 || i >= t->GetCount() || IsMissing(depth)) return false;
  // Neither neighbour may be passed; one without a depth does not bound.
  const double above = i > 0 ? t->GetDouble(i - 1, depth_) : kFltMax;
  const double below = i + 1 < t->GetCount() ? t->GetDouble(i + 1, depth_) : kFltMax;
  if (!IsMissing(above) && depth < above) return false;
  if (!IsMissing(below) && depth > below) return false;
  return t->SetValue(i, depth_, depth);
}

bool SidewallCoreAdapter::SetText(int i, const std::string& column, const std::string& text) {
  CWellTable* t = table_();
  if (!t || column.empty() || i < 0 || i >= t->GetCount()) return false;
  return t->SetValue(i, column, TruncateGbk(text, kTextBytes));
}

bool SidewallCoreAdapter::SetText1(int i, const std::string& text) { return SetText(i, text1_, text); }
bool SidewallCoreAdapter::SetText2(int i, const std::string& text) { return SetText(i, text2_, text); }

bool SidewallCoreAdapter::Insert(int pos, double depth) {
  CWellTable* t = table_();
  if (!t || IsMissing(depth)) return false;
  const int n = t->GetCount();
  if (pos < 0 || pos > n) pos = n;
  const double above = pos > 0 ? t->GetDouble(pos - 1, depth_) : kFltMax;
  const double below = pos < n ? t->GetDouble(pos, depth_) : kFltMax;
  if ((!IsMissing(above) && depth < above) || (!IsMissing(below) && depth > below)) return false;
  RecordValues values{{depth_, CZuVariant(depth)}};
  if (!text1_.empty()) values.emplace_back(text1_, CZuVariant(std::string()));
  if (!text2_.empty()) values.emplace_back(text2_, CZuVariant(std::string()));
  return t->InsertRecord(pos, values) >= 0;
}

void SidewallCoreAdapter::Arrange() {
  CWellTable* t = table_();
  std::shared_ptr<const TableData> data = t ? t->GetData() : nullptr;
  if (!data) return;
  std::vector<int> order(static_cast<std::size_t>(data->GetCount()));
  std::iota(order.begin(), order.end(), 0);
  const auto key = [&](int row) {
    const double d = t->GetDouble(row, depth_);
    return IsMissing(d) ? std::numeric_limits<double>::infinity() : d;
  };
  std::stable_sort(order.begin(), order.end(), [&](int a, int b) { return key(a) < key(b); });
  if (std::is_sorted(order.begin(), order.end())) return;
  std::vector<std::vector<CZuVariant>> rows;
  for (int row : order) rows.push_back(data->rows[static_cast<std::size_t>(row)]);
  t->ReplaceRecords(data->columns, rows);
}

AdapterSidewallCore::AdapterSidewallCore(CWellDataManager* mgr, const std::string& well,
                                         const std::string& text1, const std::string& text2)
    : SidewallCoreAdapter([this] { return host_.get(); }, "depth", OrDefault(text1, "岩性"),
                          OrDefault(text2, "含油级别")),
      host_(mgr ? mgr->GetWellSideWallCore(well) : nullptr) {}

AdapterPointSidewallCore::AdapterPointSidewallCore(CWellDataManager* mgr, const std::string& well,
                                                   int index, const std::string& text1,
                                                   const std::string& text2)
    : SidewallCoreAdapter([this] { return host_.get(); }, "depth", text1, text2),
      host_(mgr ? mgr->GetWellPointData(index, well) : nullptr) {}

AdapterScattSidewallCore::AdapterScattSidewallCore(CWellDataManager* mgr, const std::string& table,
                                                   const std::string& text1, const std::string& text2)
    : SidewallCoreAdapter([this] { return Table(); }, "depth", text1, text2), mgr_(mgr), name_(table) {}

CWellTable* AdapterScattSidewallCore::Table() {
  if (name_.empty() || !mgr_) return nullptr;
  if (!host_ || host_->GetCount() < 0) host_ = CColPtDataManager(mgr_).GetData(name_);
  return host_ ? &host_->table() : nullptr;
}

}  // namespace davodu
