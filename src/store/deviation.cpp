#include "davodu/store/deviation.h"

#include <algorithm>
#include <cmath>

namespace davodu {
namespace {

constexpr double kRadiansPerDegree = 3.14159265358979323846 / 180.0;

void Direction(double inclination, double azimuth, double out[3]) {
  const double i = inclination * kRadiansPerDegree;
  const double a = azimuth * kRadiansPerDegree;
  out[0] = std::sin(i) * std::cos(a);
  out[1] = std::sin(i) * std::sin(a);
  out[2] = std::cos(i);
}

double Dot(const double a[3], const double b[3]) { return a[0] * b[0] + a[1] * b[1] + a[2] * b[2]; }

// The angle between two unit vectors, accurate also for tiny angles.
double Angle(const double a[3], const double b[3]) {
  const double cx = a[1] * b[2] - a[2] * b[1];
  const double cy = a[2] * b[0] - a[0] * b[2];
  const double cz = a[0] * b[1] - a[1] * b[0];
  return std::atan2(std::sqrt(cx * cx + cy * cy + cz * cz), Dot(a, b));
}

// Below this dogleg a segment is a straight line.
constexpr double kStraight = 1e-9;

// The unit normal towards b in the plane of the directions a and b, at the
// angle beta between them. Directions turned right round (a dogleg of 180
// degrees) span no plane: the arc is taken in the plane of a and the
// vertical (or of a and north when a is vertical), instead of dividing by
// sin(180 degrees) = 0.
void ArcNormal(const double a[3], const double b[3], double beta, double out[3]) {
  const double sb = std::sin(beta);
  if (sb > 1e-7) {
    const double c = std::cos(beta);
    for (int k = 0; k < 3; ++k) out[k] = (b[k] - c * a[k]) / sb;
    return;
  }
  const double up[3] = {0, 0, 1};
  const double north[3] = {1, 0, 0};
  const double* ref = std::fabs(a[2]) < 0.9 ? up : north;
  const double d = Dot(a, ref);
  double len = 0;
  for (int k = 0; k < 3; ++k) {
    out[k] = ref[k] - d * a[k];
    len += out[k] * out[k];
  }
  len = std::sqrt(len);
  for (int k = 0; k < 3; ++k) out[k] /= len;
}

// Where the arc of length s from a (direction ta) to a point at angle beta
// runs, with radius r = length / beta.
void OnArc(const double from[3], const double ta[3], const double normal[3], double r, double phi,
           double out[3]) {
  for (int k = 0; k < 3; ++k) out[k] = from[k] + r * (std::sin(phi) * ta[k] + (1 - std::cos(phi)) * normal[k]);
}

}  // namespace

Trajectory::Trajectory(std::vector<SurveyStation> stations) {
  std::erase_if(stations, [](const SurveyStation& s) {
    return !std::isfinite(s.md) || !std::isfinite(s.inclination) || !std::isfinite(s.azimuth) ||
           std::fabs(s.md) > 1e12;
  });
  std::stable_sort(stations.begin(), stations.end(),
                   [](const SurveyStation& a, const SurveyStation& b) { return a.md < b.md; });
  std::vector<SurveyStation> unique;
  for (const SurveyStation& s : stations) {
    if (!unique.empty() && unique.back().md == s.md) {
      unique.back() = s;
    } else {
      unique.push_back(s);
    }
  }
  if (unique.empty() || unique.front().md > 0) unique.insert(unique.begin(), SurveyStation{});

  nodes_.reserve(unique.size());
  for (const SurveyStation& s : unique) {
    Node n{};
    n.md = s.md;
    Direction(s.inclination, s.azimuth, n.dir);
    if (nodes_.empty()) {
      // The first node is the reference point when it lies at depth 0; a
      // survey starting above it is placed so that depth 0 is there.
      for (int k = 0; k < 3; ++k) n.pos[k] = s.md * n.dir[k];
    } else {
      const Node& p = nodes_.back();
      const double beta = Angle(p.dir, n.dir);
      const double dmd = n.md - p.md;
      if (beta < kStraight) {
        for (int k = 0; k < 3; ++k) n.pos[k] = p.pos[k] + dmd * p.dir[k];
      } else {
        // The end of the arc; the same formula as inside the segment, so that
        // the two agree, and defined also for a dogleg of 180 degrees.
        double normal[3];
        ArcNormal(p.dir, n.dir, beta, normal);
        OnArc(p.pos, p.dir, normal, dmd / beta, beta, n.pos);
      }
    }
    if (n.dir[2] < 1 - 1e-15) vertical_ = false;
    nodes_.push_back(n);
  }
}

void Trajectory::PointInSegment(std::size_t i, double md, double out[3]) const {
  const Node& a = nodes_[i];
  const Node& b = nodes_[i + 1];
  const double s = md - a.md;
  const double beta = Angle(a.dir, b.dir);
  if (beta < kStraight) {
    for (int k = 0; k < 3; ++k) out[k] = a.pos[k] + s * a.dir[k];
    return;
  }
  // On the arc of radius r from a: r (sin(phi) t_a + (1 - cos(phi)) n), with
  // n the unit normal towards t_b in the plane of the two directions.
  const double r = (b.md - a.md) / beta;
  double normal[3];
  ArcNormal(a.dir, b.dir, beta, normal);
  OnArc(a.pos, a.dir, normal, r, s / r, out);
}

TrajectoryPoint Trajectory::At(double md) const {
  double p[3];
  const Node& first = nodes_.front();
  const Node& last = nodes_.back();
  if (md <= first.md || md >= last.md) {
    const Node& n = md <= first.md ? first : last;
    for (int k = 0; k < 3; ++k) p[k] = n.pos[k] + (md - n.md) * n.dir[k];
  } else {
    const auto it = std::upper_bound(nodes_.begin(), nodes_.end(), md,
                                     [](double v, const Node& n) { return v < n.md; });
    PointInSegment(static_cast<std::size_t>(it - nodes_.begin()) - 1, md, p);
  }
  return {md, p[0], p[1], p[2]};
}

bool Trajectory::MdAt(double tvd, double* md) const {
  if (vertical_) {
    *md = tvd;
    return true;
  }
  const Node& first = nodes_.front();
  if (tvd < first.pos[2]) {
    if (first.dir[2] <= 1e-12) return false;
    *md = first.md + (tvd - first.pos[2]) / first.dir[2];
    return true;
  }
  for (std::size_t i = 0; i + 1 < nodes_.size(); ++i) {
    const Node& a = nodes_[i];
    const Node& b = nodes_[i + 1];
    // Within a segment the vertical depth is a sinusoid of the arc length
    // with at most one turning point; split there so that each piece is
    // monotonic, then bisect the first piece that spans the depth.
    double cuts[3] = {a.md, b.md, b.md};
    int pieces = 1;
    const double beta = Angle(a.dir, b.dir);
    if (beta >= kStraight) {
      const double r = (b.md - a.md) / beta;
      const double normal_z = (b.dir[2] - std::cos(beta) * a.dir[2]) / std::sin(beta);
      double phi = std::atan2(a.dir[2], -normal_z);  // where d(tvd)/d(phi) = 0
      if (phi < 0) phi += 3.14159265358979323846;
      if (phi > 0 && phi < beta) {
        cuts[1] = a.md + phi * r;
        pieces = 2;
      }
    }
    for (int p = 0; p < pieces; ++p) {
      double lo = cuts[p];
      double hi = cuts[p + 1];
      const double zlo = TvdAt(lo);
      const double zhi = TvdAt(hi);
      if ((tvd - zlo) * (tvd - zhi) > 0) continue;
      if (zlo == tvd) {
        *md = lo;
        return true;
      }
      const bool rising = zhi > zlo;
      for (int k = 0; k < 80 && hi - lo > 1e-10; ++k) {
        const double mid = (lo + hi) / 2;
        if ((TvdAt(mid) < tvd) == rising) {
          lo = mid;
        } else {
          hi = mid;
        }
      }
      *md = (lo + hi) / 2;
      return true;
    }
  }
  const Node& last = nodes_.back();
  if (last.dir[2] <= 1e-12 || tvd < last.pos[2]) return false;
  *md = last.md + (tvd - last.pos[2]) / last.dir[2];
  return true;
}

}  // namespace davodu
