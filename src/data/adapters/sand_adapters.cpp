#include "davodu/data/adapters/sand_adapters.h"

#include <cmath>

#include "davodu/data/data_set_checker.h"
#include "davodu/host/util/gbk.h"
#include "davodu/store/well_data_manager.h"

namespace davodu {

namespace {

// The top and bottom columns of each kind of nested interval.
constexpr const char* kTopColumn[] = {"stratum_top", "sand_top", "valid_top", "net_top", "top"};
constexpr const char* kBottomColumn[] = {"stratum_bottom", "sand_bottom", "valid_bottom",
                                         "net_bottom", "thickness"};

// A depth a row holds for its kind: neither 0 nor missing.
bool Present(double depth) { return !IsMissing(depth) && depth != 0 && std::isfinite(depth); }

std::shared_ptr<CWellTable> SandTable(CWellDataManager* mgr, const std::string& well, int t) {
  if (!mgr) return nullptr;
  if (t >= SAND_CLASS1 && t <= SAND_NETVALID) return mgr->GetWellSandStratum(well);
  if (t >= SAND_LEVEL_FIRST && t <= SAND_LEVEL_LAST)
    return mgr->GetWellFineStratum((t - SAND_LEVEL_FIRST) / 4, well);
  if (t == SAND_INTERLAYER) return mgr->GetWellInterStratum(well);
  return nullptr;
}

}  // namespace

// ---------------------------------------------------------------- well sand

LogSandDAdapter::LogSandDAdapter(CWellDataManager* mgr, std::string well, int sand_type)
    : well_(std::move(well)), type_(sand_type), table_(SandTable(mgr, well_, sand_type)) {}

LogSandDAdapter::Kind LogSandDAdapter::KindOf() const {
  switch (type_) {
    case SAND_CLASS1: return kSand;
    case SAND_CLASS2: return kStratum;
    case SAND_VALID: return kValid;
    case SAND_NETVALID: return kNet;
    case SAND_INTERLAYER: return kInterlayer;
    default: break;
  }
  if (type_ >= SAND_LEVEL_FIRST && type_ <= SAND_LEVEL_LAST) {
    static constexpr Kind kByClass[] = {kSand, kStratum, kValid, kNet};
    return kByClass[(type_ - SAND_LEVEL_FIRST) % 4];
  }
  return kNoKind;
}

double LogSandDAdapter::TopOfRow(Kind kind, int row) {
  if (!table_ || kind == kNoKind) return kFltMax;
  return table_->GetDouble(row, kTopColumn[kind]);
}

double LogSandDAdapter::BottomOfRow(Kind kind, int row) {
  if (!table_ || kind == kNoKind) return kFltMax;
  const double second = table_->GetDouble(row, kBottomColumn[kind]);
  if (kind != kInterlayer) return second;
  const double top = TopOfRow(kind, row);
  return IsMissing(top) || IsMissing(second) ? kFltMax : top + second;
}

void LogSandDAdapter::Map() {
  std::shared_ptr<const TableData> data = table_ ? table_->GetData() : nullptr;
  if (data == mapped_ && (data || rows_.empty())) return;
  mapped_ = data;
  rows_.clear();
  const Kind kind = KindOf();
  if (!data || kind == kNoKind) return;
  for (int row = 0; row < data->GetCount(); ++row)
    if (Present(TopOfRow(kind, row))) rows_.push_back(row);
}

int LogSandDAdapter::GetCount() {
  Map();
  return static_cast<int>(rows_.size());
}

int LogSandDAdapter::RowOf(int i) {
  Map();
  return i >= 0 && i < static_cast<int>(rows_.size()) ? rows_[static_cast<std::size_t>(i)] : -1;
}

std::pair<int, int> LogSandDAdapter::RowsOf(int i) {
  const int first = RowOf(i);
  if (first < 0) return {-1, -1};
  const int n = static_cast<int>(rows_.size());
  const int end = i + 1 < n ? rows_[static_cast<std::size_t>(i + 1)] : table_->GetCount();
  return {first, end};
}

double LogSandDAdapter::GetTop(int i) {
  const int row = RowOf(i);
  return row < 0 ? kFltMax : TopOfRow(KindOf(), row);
}

double LogSandDAdapter::GetBottom(int i) {
  const int row = RowOf(i);
  return row < 0 ? kFltMax : BottomOfRow(KindOf(), row);
}

std::string LogSandDAdapter::GetName(int i) {
  const int row = RowOf(i);
  if (row < 0 || type_ < SAND_LEVEL_FIRST || type_ > SAND_LEVEL_LAST) return std::string();
  return table_->GetString(row, "name");
}

bool LogSandDAdapter::Move(int i, double delta) {
  const Kind kind = KindOf();
  if (kind != kSand && kind != kStratum && kind != kValid && kind != kInterlayer) return false;
  if (type_ >= SAND_LEVEL_FIRST && type_ <= SAND_LEVEL_LAST) return false;
  const auto [first, end] = RowsOf(i);
  if (first < 0 || !std::isfinite(delta)) return false;
  const int n = GetCount();
  const DepthInterval moved{GetTop(i) + delta, GetBottom(i) + delta};
  const DepthInterval previous{i > 0 ? GetTop(i - 1) : 0, i > 0 ? GetBottom(i - 1) : 0};
  const DepthInterval next{i + 1 < n ? GetTop(i + 1) : 0, i + 1 < n ? GetBottom(i + 1) : 0};
  if (!FitsBetweenNeighbours(i > 0 ? &previous : nullptr, moved, i + 1 < n ? &next : nullptr))
    return false;
  std::vector<CellValue> cells;
  if (kind == kInterlayer) {
    cells.push_back({first, kTopColumn[kind], moved.top});
  } else {
    // The interval and everything inside it, row by row.
    for (int row = first; row < end; ++row) {
      for (int k = kind; k <= kNet; ++k) {
        for (const char* column : {kTopColumn[k], kBottomColumn[k]}) {
          const double v = table_->GetDouble(row, column);
          if (Present(v)) cells.push_back({row, column, v + delta});
        }
      }
    }
  }
  return table_->SetValues(cells);
}

bool LogSandDAdapter::SetTop(int i, double depth) {
  const Kind kind = KindOf();
  const bool editable = type_ == SAND_CLASS1 || type_ == SAND_CLASS2 || type_ == SAND_VALID ||
                        type_ == SAND_INTERLAYER;
  const auto [first, end] = RowsOf(i);
  if (!editable || first < 0 || !std::isfinite(depth)) return false;
  double top = depth;
  if ((type_ == SAND_CLASS1 || type_ == SAND_CLASS2) && top > GetTop(i)) {
    // A top moved down stops at the first inner interval of the body.
    const Kind inner = type_ == SAND_CLASS1 ? kValid : kSand;
    for (int row = first; row < end; ++row) {
      const double inner_top = TopOfRow(inner, row);
      if (!Present(inner_top)) continue;
      if (inner_top < top) top = inner_top;
      break;
    }
  }
  const DepthInterval moved{top, GetBottom(i)};
  const DepthInterval previous{i > 0 ? GetTop(i - 1) : 0, i > 0 ? GetBottom(i - 1) : 0};
  if (!FitsBetweenNeighbours(i > 0 ? &previous : nullptr, moved, nullptr)) return false;
  std::vector<CellValue> cells{{first, kTopColumn[kind], top}};
  // An interlayer keeps its bottom: its thickness takes up the change.
  if (kind == kInterlayer) cells.push_back({first, kBottomColumn[kind], moved.bottom - top});
  return table_->SetValues(cells);
}

bool LogSandDAdapter::SetBottom(int i, double depth) {
  const Kind kind = KindOf();
  const bool editable = type_ == SAND_CLASS1 || type_ == SAND_CLASS2 || type_ == SAND_VALID ||
                        type_ == SAND_INTERLAYER;
  const auto [first, end] = RowsOf(i);
  if (!editable || first < 0 || !std::isfinite(depth)) return false;
  double bottom = depth;
  if ((type_ == SAND_CLASS1 || type_ == SAND_CLASS2) && bottom < GetBottom(i)) {
    // A bottom moved up stops at the last inner interval of the body.
    const Kind inner = type_ == SAND_CLASS1 ? kValid : kSand;
    for (int row = end - 1; row >= first; --row) {
      const double inner_bottom = BottomOfRow(inner, row);
      if (!Present(inner_bottom)) continue;
      if (inner_bottom > bottom) bottom = inner_bottom;
      break;
    }
  }
  const int n = GetCount();
  const DepthInterval moved{GetTop(i), bottom};
  const DepthInterval next{i + 1 < n ? GetTop(i + 1) : 0, i + 1 < n ? GetBottom(i + 1) : 0};
  if (!FitsBetweenNeighbours(nullptr, moved, i + 1 < n ? &next : nullptr)) return false;
  const double value = kind == kInterlayer ? bottom - moved.top : bottom;
  return table_->SetValues({{first, kBottomColumn[kind], value}});
}

void LogSandDAdapter::CheckDataSet() {
  CDataSetChecker::Instance()->CheckData(well_, SandDataSetName(type_));
}

std::uint64_t LogSandDAdapter::HostTimeStamp() { return table_ ? table_->GetTimeStamp() : 0; }

// ---------------------------------------------------------------- segment tables

AdapterSegmentSand::AdapterSegmentSand(CWellDataManager* mgr, std::string well, int sand_type)
    : well_(std::move(well)),
      type_(sand_type),
      table_(mgr ? mgr->GetWellSegmentData(sand_type - SAND_SEGMENT1, well_) : nullptr),
      columns_("top", "bottom", IntervalColumns::Extent::kBottom) {}

void AdapterSegmentSand::CheckDataSet() {
  CDataSetChecker::Instance()->CheckData(well_, SandDataSetName(type_));
}

// ---------------------------------------------------------------- scattered

LogSandScattDAdapter::LogSandScattDAdapter(CWellDataManager* mgr, std::string table_name)
    : mgr_(mgr),
      table_name_(std::move(table_name)),
      columns_("depth", "thickness", IntervalColumns::Extent::kThickness) {}

CWellTable* LogSandScattDAdapter::Table() {
  if (table_name_.empty() || !mgr_) return nullptr;
  if (!table_ || table_->GetCount() < 0) table_ = CColPtDataManager(mgr_).GetData(table_name_);
  return table_ && table_->IsSegmentData() ? &table_->table() : nullptr;
}

int LogSandScattDAdapter::GetCount() { return columns_.Count(Table()); }
double LogSandScattDAdapter::GetTop(int i) { return columns_.Top(Table(), i); }
double LogSandScattDAdapter::GetBottom(int i) { return columns_.Bottom(Table(), i); }
bool LogSandScattDAdapter::Move(int i, double delta) { return columns_.Move(Table(), i, delta); }
bool LogSandScattDAdapter::SetTop(int i, double depth) {
  return columns_.SetTop(Table(), i, depth, false);
}
bool LogSandScattDAdapter::SetBottom(int i, double depth) {
  return columns_.SetBottom(Table(), i, depth, false);
}

void LogSandScattDAdapter::CheckDataSet() {
  CDataSetChecker::Instance()->CheckData(table_name_, Gbk(Table() ? "列数据" : "点数据"));
}

std::uint64_t LogSandScattDAdapter::HostTimeStamp() {
  CWellTable* t = Table();
  return t ? t->GetTimeStamp() : 0;
}

}  // namespace davodu
