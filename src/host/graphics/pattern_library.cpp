// The patterns of the library, drawn after the conventions geologists read
// on composite logs and geologic maps: sand as dots (coarser sand, coarser
// dots), clay rocks as dashes, carbonates as bricks, conglomerate as
// pebbles, igneous rocks as crosses and V marks.
#include "davodu/host/graphics/pattern_library.h"

#include <algorithm>
#include <initializer_list>

namespace davodu {

namespace {

// --- shape builders, in millimetres

TileShape Line(std::initializer_list<double> xy) {
  TileShape s;
  s.kind = TileShape::kPolyline;
  s.xy = xy;
  return s;
}

TileShape Circle(double cx, double cy, double r) {
  TileShape s;
  s.kind = TileShape::kCircle;
  s.cx = cx, s.cy = cy, s.r = r;
  return s;
}

TileShape Disc(double cx, double cy, double r) {
  TileShape s;
  s.kind = TileShape::kDisc;
  s.cx = cx, s.cy = cy, s.r = r;
  return s;
}

PatternTile Tile(int code, const char* name, const char* name_cn, double w, double h,
                 std::vector<TileShape> shapes, double line_width = 0.12) {
  PatternTile t;
  t.code = code;
  t.name = name;
  t.name_cn = name_cn;
  t.width = w;
  t.height = h;
  t.line_width = line_width;
  t.shapes = std::move(shapes);
  return t;
}

// Dots of radius r on a staggered lattice: a tile of w x h holds one dot at
// a quarter of each side and one at three quarters.
PatternTile Dots(int code, const char* name, const char* cn, double w, double h, double r) {
  return Tile(code, name, cn, w, h, {Disc(w / 4, h / 4, r), Disc(3 * w / 4, 3 * h / 4, r)});
}

// Rows of horizontal dashes, each row shifted by half a period against the
// one above: dashes of length `dash` every `period`, rows `gap` apart.
std::vector<TileShape> DashRows(double period, double dash, double gap, double y0 = 0) {
  const double x0 = (period - dash) / 2;
  return {Line({x0, y0 + gap / 2, x0 + dash, y0 + gap / 2}),
          Line({x0 + period / 2, y0 + 1.5 * gap, x0 + period / 2 + dash, y0 + 1.5 * gap})};
}

// Bricks of w x h: horizontal courses, joints shifted half a brick in every
// other course; slant moves the lower end of each joint to the right.
std::vector<TileShape> Bricks(double w, double h, double slant = 0) {
  return {Line({0, 0, w, 0}), Line({0, h, w, h}), Line({0, 0, slant, h}),
          Line({w / 2, h, w / 2 + slant, 2 * h})};
}

std::vector<TileShape> Join(std::vector<TileShape> a, const std::vector<TileShape>& b) {
  a.insert(a.end(), b.begin(), b.end());
  return a;
}

std::vector<PatternTile> BuildPatterns() {
  std::vector<PatternTile> p;
  const int L = kLithPatternBase, O = kOilPatternBase, S = kShootPatternBase;

  // --- lithologies
  p.push_back(Tile(L + 1, "conglomerate", "砾岩", 8, 4.4,
                   {Circle(1.2, 1.0, 0.6), Circle(3.9, 1.4, 0.42), Circle(6.3, 0.9, 0.68),
                    Circle(2.5, 3.3, 0.5), Circle(5.3, 3.4, 0.72), Circle(7.5, 2.8, 0.36)}));
  p.push_back(Tile(L + 2, "pebbly sandstone", "含砾砂岩", 6, 3.6,
                   {Circle(1.1, 1.0, 0.5), Circle(4.2, 2.6, 0.45), Disc(3.0, 0.6, 0.16),
                    Disc(4.6, 1.1, 0.16), Disc(5.5, 0.5, 0.16), Disc(0.7, 2.6, 0.16),
                    Disc(2.2, 2.3, 0.16), Disc(2.8, 3.2, 0.16), Disc(5.7, 3.2, 0.16)}));
  p.push_back(Dots(L + 3, "coarse sandstone", "粗砂岩", 1.7, 2.2, 0.26));
  p.push_back(Dots(L + 4, "medium sandstone", "中砂岩", 1.4, 1.8, 0.2));
  p.push_back(Dots(L + 5, "fine sandstone", "细砂岩", 1.1, 1.4, 0.14));
  p.push_back(Dots(L + 6, "sandstone", "砂岩", 1.3, 1.6, 0.18));
  // Siltstone: a row of fine dots, a row of short dashes.
  p.push_back(Tile(L + 7, "siltstone", "粉砂岩", 1.2, 2.0,
                   {Disc(0.3, 0.5, 0.1), Disc(0.9, 0.5, 0.1), Line({0.35, 1.5, 0.85, 1.5})}));
  // Argillaceous siltstone: dashes with a dot between them.
  p.push_back(Tile(L + 8, "argillaceous siltstone", "泥质粉砂岩", 2.4, 2.0,
                   {Line({0.1, 0.5, 1.1, 0.5}), Disc(1.75, 0.5, 0.1), Line({1.3, 1.5, 2.3, 1.5}),
                    Disc(0.55, 1.5, 0.1)}));
  // Silty mudstone: mudstone dashes with a row of dots between them.
  p.push_back(Tile(L + 9, "silty mudstone", "粉砂质泥岩", 3.2, 2.4,
                   Join(DashRows(3.2, 1.3, 1.2),
                        {Disc(0.8, 1.2, 0.1), Disc(2.4, 0.0, 0.1)})));
  p.push_back(Tile(L + 10, "mudstone", "泥岩", 3.2, 2.0, DashRows(3.2, 1.4, 1.0)));
  // Shale: fine, nearly continuous dashes in close rows.
  p.push_back(Tile(L + 11, "shale", "页岩", 4.0, 1.2, DashRows(4.0, 3.3, 0.6), 0.1));
  p.push_back(Tile(L + 12, "oil shale", "油页岩", 4.0, 1.2,
                   Join(DashRows(4.0, 3.3, 0.6), {Disc(0.0, 0.3, 0.14), Disc(2.0, 0.9, 0.14)}), 0.1));
  p.push_back(Tile(L + 13, "limestone", "石灰岩", 4.0, 2.4, Bricks(4.0, 1.2)));
  p.push_back(Tile(L + 14, "dolomite", "白云岩", 4.0, 2.4, Bricks(4.0, 1.2, 0.6)));
  p.push_back(Tile(L + 15, "marl", "泥灰岩", 4.0, 2.4,
                   Join(Bricks(4.0, 1.2), {Line({1.4, 0.6, 2.6, 0.6}), Line({3.4, 1.8, 4.6, 1.8})})));
  PatternTile coal = Tile(L + 16, "coal", "煤", 4, 4, {});
  coal.solid = true;
  p.push_back(coal);
  // Volcanic rocks: V marks; intrusive rocks: crosses.
  p.push_back(Tile(L + 17, "basalt", "玄武岩", 3.0, 2.4,
                   {Line({0.35, 0.3, 0.75, 0.9, 1.15, 0.3}), Line({1.85, 1.5, 2.25, 2.1, 2.65, 1.5})}));
  p.push_back(Tile(L + 18, "granite", "花岗岩", 3.0, 2.4,
                   {Line({0.35, 0.6, 1.15, 0.6}), Line({0.75, 0.2, 0.75, 1.0}),
                    Line({1.85, 1.8, 2.65, 1.8}), Line({2.25, 1.4, 2.25, 2.2})}));
  // Evaporites: gypsum as courses with pairs of oblique strokes, salt as a
  // grid of cubes.
  p.push_back(Tile(L + 19, "gypsum", "石膏岩", 3.0, 2.4,
                   {Line({0, 0, 3.0, 0}), Line({0, 1.2, 3.0, 1.2}), Line({0.5, 0.95, 0.8, 0.25}),
                    Line({0.9, 0.95, 1.2, 0.25}), Line({2.0, 2.15, 2.3, 1.45}),
                    Line({2.4, 2.15, 2.7, 1.45})}));
  p.push_back(Tile(L + 20, "salt", "盐岩", 2.0, 2.0,
                   {Line({0, 0, 2.0, 0}), Line({0, 0, 0, 2.0}), Line({0.6, 1.0, 1.4, 1.0}),
                    Line({1.0, 0.6, 1.0, 1.4})}));

  // --- oil-bearing grades: richer grades denser and darker
  PatternTile saturated = Tile(O + 1, "oil-saturated", "饱含油", 2, 2, {});
  saturated.solid = true;
  p.push_back(saturated);
  p.push_back(Tile(O + 2, "oil-rich", "富含油", 0.6, 0.6,
                   {Line({0, 0.6, 0.6, 0})}, 0.2));
  p.push_back(Tile(O + 3, "oil-immersed", "油浸", 1.2, 1.2,
                   {Line({0, 1.2, 1.2, 0})}, 0.16));
  p.push_back(Dots(O + 4, "oil-spotted", "油斑", 1.6, 1.6, 0.3));
  p.push_back(Dots(O + 5, "oil traces", "油迹", 2.2, 2.2, 0.15));
  p.push_back(Tile(O + 6, "fluorescent", "荧光", 2.6, 2.6,
                   {Circle(0.65, 0.65, 0.3), Circle(1.95, 1.95, 0.3)}));
  p.push_back(Tile(O + 7, "not oil-bearing", "不含油", 2, 2, {}));

  // --- perforations
  p.push_back(Tile(S + 1, "perforated", "射孔", 2.4, 1.0,
                   {Line({0.2, 0.5, 1.4, 0.5}), Disc(1.65, 0.5, 0.16)}, 0.18));
  p.push_back(Tile(S + 2, "added perforation", "补孔", 1.2, 1.2,
                   {Line({0, 1.2, 1.2, 0}), Line({0, 0, 1.2, 1.2})}, 0.14));
  p.push_back(Tile(S + 3, "plugged", "堵孔", 2.0, 2.0,
                   {Line({0.4, 0.4, 1.6, 1.6}), Line({0.4, 1.6, 1.6, 0.4})}, 0.2));
  return p;
}

}  // namespace

const std::vector<PatternTile>& AllPatterns() {
  static const std::vector<PatternTile> patterns = BuildPatterns();
  return patterns;
}

const PatternTile* FindPattern(int code) {
  const std::vector<PatternTile>& all = AllPatterns();
  const auto it = std::lower_bound(all.begin(), all.end(), code,
                                   [](const PatternTile& t, int c) { return t.code < c; });
  return it != all.end() && it->code == code ? &*it : nullptr;
}

int LithPatternCode(int number) {
  if (number >= kLithPatternBase) return number;
  return number > 0 ? kLithPatternBase + number : kLithPatternBase;
}

int OilPatternCode(int number) {
  if (number >= kOilPatternBase) return number;
  return number > 0 ? kOilPatternBase + number : 0;
}

}  // namespace davodu
