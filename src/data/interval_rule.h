// The neighbour rule of interval edits, shared by every interval family
// that writes tops and bottoms back to its table (stratification, sand,
// segment and scattered tables, and the lithology, perforation and symbol
// families that follow them).
//
// Interval tables are ordered by depth and their intervals do not overlap.
// An edit (a move of both ends, or a new top or bottom) keeps that true:
// the interval may touch its neighbours but not reach into them, and it
// may not turn upside down.
#ifndef DAVODU_DATA_INTERVAL_RULE_H_
#define DAVODU_DATA_INTERVAL_RULE_H_

namespace davodu {

// Depths closer than this count as equal (a boundary shared by two
// intervals, an interval of no thickness).
constexpr double kIntervalTolerance = 0.001;

// The depths of one interval; kFltMax where missing.
struct DepthInterval {
  double top = 0;
  double bottom = 0;
};

// Whether an interval may take the depths of `moved` between its
// neighbours: both depths present and finite, top not below bottom, top
// not above the previous interval's bottom and bottom not below the next
// interval's top (each within kIntervalTolerance). A null neighbour, or a
// neighbour depth that is missing, sets no limit.
bool FitsBetweenNeighbours(const DepthInterval* previous, const DepthInterval& moved,
                           const DepthInterval* next);

}  // namespace davodu

#endif  // DAVODU_DATA_INTERVAL_RULE_H_
