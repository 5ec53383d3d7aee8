// Finding the visible part of a run of evenly spaced depths (grid lines,
// ticks) without walking through the part above it.
#ifndef DAVODU_KITS_DEPTH_STEPS_H_
#define DAVODU_KITS_DEPTH_STEPS_H_

#include <cstdint>
#include <optional>

namespace davodu {

// Steps lo..hi lie deeper, and so lower in draw Y, as their index grows.
// Returns the first step whose draw Y is at or below y (hi + 1 when none),
// by halving. draw_y(i) gives step i's draw Y as a std::optional<int>; a
// step without one counts as lying above.
template <typename DrawY>
std::int64_t FirstStepAtOrBelow(std::int64_t lo, std::int64_t hi, std::int64_t y, DrawY draw_y) {
  std::int64_t end = hi + 1;
  while (lo < end) {
    const std::int64_t mid = lo + (end - lo) / 2;
    const std::optional<int> my = draw_y(mid);
    if (my && *my <= y)
      end = mid;
    else
      lo = mid + 1;
  }
  return lo;
}

}  // namespace davodu

#endif  // DAVODU_KITS_DEPTH_STEPS_H_
