// Well trajectories from deviation surveys by the minimum curvature method.
//
// A survey is a list of stations (measured depth along the hole, inclination
// from vertical and azimuth from north, both in degrees). Between two
// stations the hole is taken to be a circular arc tangent to both station
// directions; points inside a segment lie on that arc. Above the first
// station and below the last one the hole runs straight on along the
// direction of that station. When the survey does not start at measured
// depth 0, a vertical tie-in station at depth 0 (the reference point, true
// vertical depth 0) is put in front of it.
#ifndef DAVODU_STORE_DEVIATION_H_
#define DAVODU_STORE_DEVIATION_H_

#include <vector>

namespace davodu {

struct SurveyStation {
  double md = 0;           // measured depth, metres
  double inclination = 0;  // degrees from vertical
  double azimuth = 0;      // degrees clockwise from north
};

struct TrajectoryPoint {
  double md = 0;
  double north = 0;
  double east = 0;
  double tvd = 0;  // true vertical depth below the reference point, positive down
};

class Trajectory {
 public:
  // A vertical hole.
  Trajectory() : Trajectory(std::vector<SurveyStation>{}) {}
  // Stations with a non-finite value are left out; they are sorted by
  // measured depth and of equal depths the last one is kept.
  explicit Trajectory(std::vector<SurveyStation> stations);

  // True when every station is vertical (or there is none): tvd equals md.
  bool IsVertical() const { return vertical_; }
  // True when md lies between the first and the last station (the tie-in
  // at depth 0 included).
  bool Covers(double md) const { return md >= nodes_.front().md && md <= nodes_.back().md; }
  // The point at a measured depth (any depth; see the extrapolation above).
  TrajectoryPoint At(double md) const;
  double TvdAt(double md) const { return At(md).tvd; }
  // The smallest measured depth whose true vertical depth is tvd. Returns
  // false when the hole never reaches it (a horizontal or rising last
  // direction, or a vertical depth above the hole's start that no upward
  // extrapolation reaches).
  bool MdAt(double tvd, double* md) const;

 private:
  struct Node {
    double md;
    double pos[3];   // north, east, tvd
    double dir[3];   // unit tangent
  };
  // The point at a fraction of segment i (between nodes i and i+1).
  void PointInSegment(std::size_t i, double md, double out[3]) const;

  std::vector<Node> nodes_;
  bool vertical_ = true;
};

}  // namespace davodu

#endif  // DAVODU_STORE_DEVIATION_H_
