#include "davodu/data/adapters/sand_stratum_adapters.h"

#include "davodu/host/util/gbk.h"
#include "davodu/host/util/util.h"
#include "davodu/store/well_data_manager.h"

namespace davodu {

namespace {

std::shared_ptr<CWellTable> HostTable(CWellDataManager* mgr, const std::string& well, int t) {
  if (!mgr) return nullptr;
  if (t >= SAND_CLASS1 && t <= SAND_NETVALID) return mgr->GetWellSandStratum(well);
  if (t >= SAND_LEVEL_FIRST && t <= SAND_LEVEL_LAST)
    return mgr->GetWellFineStratum((t - SAND_LEVEL_FIRST) / 4, well);
  if (t == SAND_INTERLAYER) return mgr->GetWellInterStratum(well);
  return nullptr;
}

}  // namespace

LogSandStratum2DAdapter::LogSandStratum2DAdapter(CWellDataManager* mgr, std::string well,
                                                 int sand_type)
    : table_(HostTable(mgr, well, sand_type)), layers_(mgr, std::move(well), sand_type) {}

bool LogSandStratum2DAdapter::IsThicknessField(const std::string& field) {
  static const std::string suffix = Gbk("厚度");
  return field.size() >= suffix.size() &&
         field.compare(field.size() - suffix.size(), suffix.size(), suffix) == 0;
}

std::pair<int, int> LogSandStratum2DAdapter::RowsOf(int i) {
  const int n = layers_.GetCount();
  if (i < 0 || i >= n || !table_) return {0, 0};
  const int first = layers_.RowOf(i);
  const int end = i + 1 < n ? layers_.RowOf(i + 1) : table_->GetCount();
  if (first < 0 || end <= first) return {0, 0};
  return {first, end};
}

std::vector<std::string> LogSandStratum2DAdapter::GetFieldNames() {
  std::vector<std::string> names;
  if (!table_) return names;
  const int n = table_->GetColumnCount();
  for (int c = 0; c < n; ++c) names.push_back(table_->GetColumnName(c));
  return names;
}

double LogSandStratum2DAdapter::GetValue(int i, const std::string& field) {
  const auto [first, end] = RowsOf(i);
  if (first == end || table_->FindColumn(field) < 0) return kFltMax;
  if (!IsThicknessField(field)) return table_->GetDouble(first, field);
  double sum = kFltMax;
  for (int row = first; row < end; ++row) {
    const double v = table_->GetDouble(row, field);
    if (IsMissing(v)) continue;
    sum = IsMissing(sum) ? v : sum + v;
  }
  return sum;
}

std::string LogSandStratum2DAdapter::GetText(int i, const std::string& field) {
  const auto [first, end] = RowsOf(i);
  if (first == end || table_->FindColumn(field) < 0) return std::string();
  if (IsThicknessField(field) && end - first > 1) {
    const double sum = GetValue(i, field);
    return IsMissing(sum) ? std::string() : AfxFloatToString(sum, "%g");
  }
  return table_->GetString(first, field);
}

}  // namespace davodu
