#include "davodu/data/interval_rule.h"

#include <cmath>

#include "davodu/host/util/types.h"

namespace davodu {

namespace {

bool Usable(double depth) { return std::isfinite(depth) && !IsMissing(depth) && !IsMissing(-depth); }

}  // namespace

bool FitsBetweenNeighbours(const DepthInterval* previous, const DepthInterval& moved,
                           const DepthInterval* next) {
  if (!Usable(moved.top) || !Usable(moved.bottom)) return false;
  if (moved.top - moved.bottom > kIntervalTolerance) return false;
  if (previous && Usable(previous->bottom) && previous->bottom - moved.top > kIntervalTolerance)
    return false;
  if (next && Usable(next->top) && moved.bottom - next->top > kIntervalTolerance) return false;
  return true;
}

}  // namespace davodu
