#include "davodu/data/adapters/interval_columns.h"

#include <cmath>

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

}  // namespace davodu
