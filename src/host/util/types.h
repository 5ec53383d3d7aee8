// Geometry records and special values shared by the host framework and the kits.
//
// Map coordinates are doubles with Y growing upwards; one map unit is 0.01 mm
// on paper. Draw coordinates are the integer logical units of a view, Y also
// growing upwards, so a rectangle's top is its larger Y.
#ifndef DAVODU_HOST_UTIL_TYPES_H_
#define DAVODU_HOST_UTIL_TYPES_H_

#include <cstdint>
#include <utility>

namespace davodu {

struct FLOATPOINT {
  double x = 0;
  double y = 0;
  friend bool operator==(const FLOATPOINT&, const FLOATPOINT&) = default;
};

struct FLOATRECT {
  double left = 0;
  double top = 0;
  double right = 0;
  double bottom = 0;
  friend bool operator==(const FLOATRECT&, const FLOATRECT&) = default;
};

struct FLOATSIZE {
  double cx = 0;
  double cy = 0;
};

struct ZUPOINT3D {
  double x = 0;
  double y = 0;
  double z = 0;
};

// The host's map point and rectangle are the same records as the float ones.
using ZUPOINT = FLOATPOINT;
using ZURECT = FLOATRECT;

// A point in draw coordinates.
struct CPoint {
  int x = 0;
  int y = 0;
  friend bool operator==(const CPoint&, const CPoint&) = default;
};

// A rectangle in draw coordinates. With Y growing upwards a normalised
// rectangle has left <= right and bottom <= top.
struct CRect {
  int left = 0;
  int top = 0;
  int right = 0;
  int bottom = 0;

  friend bool operator==(const CRect&, const CRect&) = default;

  int Width() const { return right - left; }
  int Height() const { return top - bottom; }
  bool IsEmpty() const { return left == right || top == bottom; }

  // Swaps sides so that left <= right and bottom <= top.
  CRect Normalized() const {
    CRect r = *this;
    if (r.left > r.right) std::swap(r.left, r.right);
    if (r.bottom > r.top) std::swap(r.bottom, r.top);
    return r;
  }
  // True when p lies inside the normalised rectangle, edges included.
  bool Contains(CPoint p) const {
    CRect n = Normalized();
    return p.x >= n.left && p.x <= n.right && p.y >= n.bottom && p.y <= n.top;
  }
  void Inflate(int d) {
    left -= d;
    right += d;
    top += d;
    bottom -= d;
  }
};

using POINT = CPoint;
using RECT = CRect;

// Colours are 0x00BBGGRR: red in the low byte.
using COLORREF = std::uint32_t;
constexpr COLORREF RGB(unsigned r, unsigned g, unsigned b) {
  return (r & 0xFF) | ((g & 0xFF) << 8) | ((b & 0xFF) << 16);
}
constexpr unsigned GetRValue(COLORREF c) { return c & 0xFF; }
constexpr unsigned GetGValue(COLORREF c) { return (c >> 8) & 0xFF; }
constexpr unsigned GetBValue(COLORREF c) { return (c >> 16) & 0xFF; }

// Largest single-precision float; held in a double it marks a missing value.
constexpr double kFltMax = 3.4028234663852886e38;
// Smallest positive normal single-precision float.
constexpr double kFltMin = 1.1754943508222875e-38;
// A value within this distance of kFltMax counts as missing.
constexpr double kMissingTolerance = 1.1920928955078125e-7;

constexpr bool IsMissing(double v) {
  double d = v - kFltMax;
  return d < 0 ? -d <= kMissingTolerance : d <= kMissingTolerance;
}

}  // namespace davodu

#endif  // DAVODU_HOST_UTIL_TYPES_H_
