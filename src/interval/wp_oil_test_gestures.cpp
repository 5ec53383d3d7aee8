// The oil test kit: picking, moving and resizing intervals, dragging pies.
//
// Moves and resizes change the picture only: the test data keeps its
// depths, and the next load of the data shows them again.
#include <algorithm>
#include <cmath>

#include "davodu/host/graphics/graph_tool.h"
#include "davodu/host/objects/view.h"
#include "davodu/host/objects/zu_map.h"
#include "davodu/interval/wp_oil_test.h"

namespace davodu {

namespace {

// Keeps an interval and its pie clear of the body's edges by this much (map units).
constexpr double kBodyMargin = 3.0;

}  // namespace

int CWpOilTest::PickSeg(CPoint point) {
  const FLOATPOINT p = LP2MP(point);
  const auto under = [&]() -> int {
    for (int i = 0; i < GetSegCount(); ++i) {
      const CgOilTestSegment& s = *segs_[static_cast<std::size_t>(i)];
      if (p.x > s.left && p.x < s.right && p.y < s.top_y && p.y > s.bottom_y) return i;
    }
    return -1;
  };
  const auto activate = [&](int i) {
    if (CgOilTestSegment* old = Active()) old->active = false;
    active_ = i;
    if (CgOilTestSegment* now = Active()) now->active = true;
  };
  CgOilTestSegment* a = Active();
  if (!a) {
    activate(under());
    return kPickActivated;
  }
  const double g = GetTranslator().DrawLengthToMap(static_cast<int>(AfxGetNodeRectWidth() * 0.8));
  const double mid = (a->left + a->right) / 2;
  const auto near = [&](double y) { return std::hypot(p.x - mid, p.y - y) <= g; };
  if (near(a->top_y)) return kPickTop;
  if (near(a->bottom_y)) return kPickBottom;
  if (p.x > a->left && p.x < a->right && p.y < a->top_y && p.y > a->bottom_y) return kPickInside;
  activate(under());
  return kPickNone;
}

bool CWpOilTest::isSelectPie(CPoint point) {
  bool found = false;
  for (const auto& s : segs_) {
    s->pie_selected = false;
    if (found || !pie_visible_) continue;
    const CPoint c = PieCentre(*s);
    const long r = std::lround(pie_radius_ * zoom_);
    if (std::abs(point.x - c.x) <= r && std::abs(point.y - c.y) <= r) s->pie_selected = found = true;
  }
  return found;
}

void CWpOilTest::DragActive(int mode, double dy) {
  CgOilTestSegment* a = Active();
  if (!a || dy == 0) return;
  // The room: up to the interval above (its bottom) or the body's top, down
  // to the interval below (its top) or the body's bottom.
  double ceiling = map_nodes_[0].y - kBodyMargin, floor = map_nodes_[10].y + kBodyMargin;
  for (const auto& s : segs_) {
    if (s.get() == a) continue;
    if (s->bottom_y >= a->top_y) ceiling = std::min(ceiling, s->bottom_y);
    if (s->top_y <= a->bottom_y) floor = std::max(floor, s->top_y);
  }
  const double least = GetTranslator().DrawLengthToMap(2 * AfxGetNodeRectWidth());
  if (mode == kPickInside) {
    dy = std::clamp(dy, floor - a->bottom_y, ceiling - a->top_y);
    a->top_y += dy;
    a->bottom_y += dy;
  } else if (mode == kPickTop) {
    a->top_y = std::clamp(a->top_y + dy, a->bottom_y + least, std::max(ceiling, a->bottom_y + least));
  } else if (mode == kPickBottom) {
    a->bottom_y = std::clamp(a->bottom_y + dy, std::min(floor, a->top_y - least), a->top_y - least);
  } else {
    return;
  }
  a->top_depth = MapYToDep(static_cast<float>(a->top_y));
  a->bottom_depth = MapYToDep(static_cast<float>(a->bottom_y));
  moved_ = true;
  SetModifyFlag();
  InvalidBody();
}

int CWpOilTest::OnLButtonDown(CView* view, CDC* dc, unsigned flags, CPoint point) {
  last_point_ = point;
  moved_ = false;
  pick_ = kPickNone;
  if (isSelectPie(point)) {
    if (view) view->SetCapture();
    InvalidBody();
    return 0;
  }
  if (!PtInBody(point)) return CWpContent::OnLButtonDown(view, dc, flags, point);
  if (!IsSelected()) return CWpContent::OnLButtonDown(view, dc, flags, point);
  pick_ = PickSeg(point);
  InvalidBody();
  if (view) {
    view->SetCursor(pick_ == kPickInside ? IDC_SIZEALL
                    : pick_ == kPickTop || pick_ == kPickBottom ? IDC_SIZENS
                                                                 : IDC_ARROW);
    view->SetCapture();
  }
  return 0;
}

int CWpOilTest::OnMouseMove(CView* view, CDC* dc, unsigned flags, CPoint point) {
  const bool button = (flags & MK_LBUTTON) != 0 || (view && view->HasCapture());
  for (const auto& s : segs_) {
    if (!s->pie_selected || !button) continue;
    const FLOATPOINT p = LP2MP(point);
    s->pie_dx = p.x - s->right;
    s->pie_dy = p.y - (s->top_y + s->bottom_y) / 2;
    SetModifyFlag();
    InvalidBody();
    last_point_ = point;
    return 0;
  }
  if (button && (pick_ == kPickInside || pick_ == kPickTop || pick_ == kPickBottom)) {
    DragActive(pick_, LP2MP(point.y) - LP2MP(last_point_.y));
    last_point_ = point;
    return 0;
  }
  return CWpContent::OnMouseMove(view, dc, flags, point);
}

int CWpOilTest::OnLButtonUp(CView* view, CDC* dc, unsigned flags, CPoint point) {
  for (const auto& s : segs_) {
    if (!s->pie_selected) continue;
    const FLOATPOINT p = LP2MP(point);
    s->pie_dx = p.x - s->right;
    s->pie_dy = p.y - (s->top_y + s->bottom_y) / 2;
    s->pie_selected = false;
    SetModifyFlag();
    InvalidBody();
    if (view) view->ReleaseCapture();
    return 2;
  }
  // A press in the body ends here; one outside it is the content's.
  if (pick_ != kPickNone || PtInBody(point)) {
    if (moved_) SetModifyFlag();
    moved_ = false;
    pick_ = kPickNone;
    if (view) view->ReleaseCapture();
    return 0;
  }
  const int result = CWpContent::OnLButtonUp(view, dc, flags, point);
  LimitSegments();
  return result;
}

}  // namespace davodu
