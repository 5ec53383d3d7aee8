#include "davodu/data/adapters/interval_columns.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <numeric>

#include "davodu/host/util/types.h"

namespace davodu {

namespace {

bool Coincide(double a, double b) {
  return !IsMissing(a) && !IsMissing(b) && std::fabs(a - b) < kIntervalTolerance;
}

}  // namespace

int IntervalColumns::Count(const CWellTable* table) const { return table ? table->GetCount() : -1; }

double IntervalColumns::Top(const CWellTable* table, int i) const {
  return table ? table->GetDouble(i, top_) : kFltMax;
}

double IntervalColumns::Bottom(const CWellTable* table, int i) const {
  if (!table) return kFltMax;
  const double second = table->GetDouble(i, second_);
  if (extent_ == Extent::kBottom) return second;
  const double top = Top(table, i);
  return IsMissing(top) || IsMissing(second) ? kFltMax : top + second;
}

void IntervalColumns::Put(int i, double top, double bottom, std::vector<CellValue>* cells) const {
  cells->push_back({i, top_, top});
  cells->push_back({i, second_, extent_ == Extent::kBottom ? bottom : bottom - top});
}

bool IntervalColumns::Move(CWellTable* table, int i, double delta) const {
  const int n = Count(table);
  if (i < 0 || i >= n || !std::isfinite(delta)) return false;
  const DepthInterval now = At(table, i);
  const DepthInterval moved{now.top + delta, now.bottom + delta};
  const DepthInterval previous = i > 0 ? At(table, i - 1) : DepthInterval{};
  const DepthInterval next = i + 1 < n ? At(table, i + 1) : DepthInterval{};
  if (IsMissing(now.top) || IsMissing(now.bottom) ||
      !FitsBetweenNeighbours(i > 0 ? &previous : nullptr, moved, i + 1 < n ? &next : nullptr))
    return false;
  std::vector<CellValue> cells;
  Put(i, moved.top, moved.bottom, &cells);
  return table->SetValues(cells);
}

bool IntervalColumns::SetTop(CWellTable* table, int i, double top, bool link) const {
  const int n = Count(table);
  if (i < 0 || i >= n) return false;
  const DepthInterval now = At(table, i);
  const DepthInterval moved{top, now.bottom};
  std::vector<CellValue> cells;
  if (i > 0) {
    const DepthInterval previous = At(table, i - 1);
    if (link && Coincide(previous.bottom, now.top)) {
      // The record above ends where this one starts: it must still be an
      // interval once its bottom follows.
      if (!FitsBetweenNeighbours(nullptr, {previous.top, top}, nullptr)) return false;
      if (!FitsBetweenNeighbours(nullptr, moved, nullptr)) return false;
      Put(i - 1, previous.top, top, &cells);
    } else if (!FitsBetweenNeighbours(&previous, moved, nullptr)) {
      return false;
    }
  } else if (!FitsBetweenNeighbours(nullptr, moved, nullptr)) {
    return false;
  }
  Put(i, moved.top, moved.bottom, &cells);
  return table->SetValues(cells);
}

bool IntervalColumns::SetBottom(CWellTable* table, int i, double bottom, bool link) const {
  const int n = Count(table);
  if (i < 0 || i >= n) return false;
  const DepthInterval now = At(table, i);
  const DepthInterval moved{now.top, bottom};
  std::vector<CellValue> cells;
  Put(i, moved.top, moved.bottom, &cells);
  if (i + 1 < n) {
    const DepthInterval next = At(table, i + 1);
    if (link && Coincide(next.top, now.bottom)) {
      if (!FitsBetweenNeighbours(nullptr, {bottom, next.bottom}, nullptr)) return false;
      if (!FitsBetweenNeighbours(nullptr, moved, nullptr)) return false;
      Put(i + 1, bottom, next.bottom, &cells);
    } else if (!FitsBetweenNeighbours(nullptr, moved, &next)) {
      return false;
    }
  } else if (!FitsBetweenNeighbours(nullptr, moved, nullptr)) {
    return false;
  }
  return table->SetValues(cells);
}

int IntervalColumns::Insert(CWellTable* table, double top, double bottom, RecordValues values) const {
  const int n = Count(table);
  if (n < 0 || !FitsBetweenNeighbours(nullptr, {top, bottom}, nullptr) ||
      bottom - top < kIntervalTolerance)
    return -1;
  int pos = n;
  for (int i = 0; i < n; ++i) {
    const DepthInterval row = At(table, i);
    if (IsMissing(row.top) || IsMissing(row.bottom)) continue;
    // Touching is allowed, reaching into an interval is not.
    if (row.top < bottom - kIntervalTolerance && top < row.bottom - kIntervalTolerance) return -1;
    if (pos == n && row.top > top) pos = i;
  }
  values.emplace_back(top_, top);
  values.emplace_back(second_, extent_ == Extent::kBottom ? bottom : bottom - top);
  return table->InsertRecord(pos, values);
}

int IntervalColumns::Find(const CWellTable* table, double top, double bottom, double tolerance) const {
  const int n = Count(table);
  for (int i = 0; i < n; ++i) {
    const DepthInterval row = At(table, i);
    if (std::fabs(row.top - top) < tolerance && std::fabs(row.bottom - bottom) < tolerance) return i;
  }
  return -1;
}

bool IntervalColumns::Arrange(CWellTable* table) const {
  std::shared_ptr<const TableData> data = table ? table->GetData() : nullptr;
  if (!data) return false;
  const int n = data->GetCount();
  std::vector<int> order(static_cast<std::size_t>(n));
  std::iota(order.begin(), order.end(), 0);
  const auto key = [&](int row) {
    const double top = Top(table, row);
    return IsMissing(top) ? std::numeric_limits<double>::infinity() : top;
  };
  std::stable_sort(order.begin(), order.end(), [&](int a, int b) { return key(a) < key(b); });
  if (std::is_sorted(order.begin(), order.end())) return true;
  std::vector<std::vector<CZuVariant>> rows;
  for (int row : order) rows.push_back(data->rows[static_cast<std::size_t>(row)]);
  return table->ReplaceRecords(data->columns, rows);
}

}  // namespace davodu
