#include "davodu/host/objects/zu_shapes.h"

#include <algorithm>
#include <cmath>
#include <utility>

#include "davodu/host/graphics/graph_tool.h"
#include "davodu/host/objects/zu_map.h"

namespace davodu {

void CZuShape::SetPoints(std::vector<FLOATPOINT> points) {
  points_ = std::move(points);
  if (!points_.empty()) position_ = points_.front();
  BuildControlNodePointArray();
}

void CZuShape::BuildControlNodePointArray() {
  if (points_.empty()) {
    map_rect_ = FLOATRECT{};
  } else {
    FLOATRECT r{points_[0].x, points_[0].y, points_[0].x, points_[0].y};
    for (const FLOATPOINT& p : points_) {
      r.left = std::min(r.left, p.x);
      r.right = std::max(r.right, p.x);
      r.bottom = std::min(r.bottom, p.y);
      r.top = std::max(r.top, p.y);
    }
    map_rect_ = r;
  }
  draw_rect_ = GetTranslator().MapToDraw(map_rect_);
}

void CZuShape::Move(double dx, double dy) {
  for (FLOATPOINT& p : points_) p = FLOATPOINT{p.x + dx, p.y + dy};
  CZuObject::Move(dx, dy);
  BuildControlNodePointArray();
}

void CZuShape::Amplify(FLOATPOINT centre, double fx, double fy) {
  for (FLOATPOINT& p : points_)
    p = FLOATPOINT{centre.x + (p.x - centre.x) * fx, centre.y + (p.y - centre.y) * fy};
  BuildControlNodePointArray();
}

std::vector<CPoint> CZuShape::DrawPoints() const {
  const CCoordTranslator& tr = GetTranslator();
  std::vector<CPoint> out;
  out.reserve(points_.size());
  for (const FLOATPOINT& p : points_) out.push_back(tr.MapToDraw(p));
  return out;
}

void CZuObjectLine::Draw(CDC* dc, CView*, CRect*, CRect*) {
  if (!visible_ || points_.size() < 2) return;
  AfxGetLineTool().DrawPolyline(dc, DrawPoints(), pen, zoom_);
}

void CZuObjectFill::Draw(CDC* dc, CView*, CRect*, CRect*) {
  if (!visible_ || points_.size() < 3) return;
  const std::vector<CPoint> pts = DrawPoints();
  AfxGetFillTool().FillPolygon(dc, pts, brush, zoom_);
  if (outlined) {
    std::vector<CPoint> closed = pts;
    closed.push_back(pts.front());
    AfxGetLineTool().DrawPolyline(dc, closed, pen, zoom_);
  }
}

void CZuObjectText::Draw(CDC* dc, CView*, CRect*, CRect*) {
  if (!visible_ || points_.empty() || text.empty()) return;
  AfxGetTextTool().DrawText(dc, GetTranslator().MapToDraw(points_.front()), text, font, zoom_, angle,
                            align_h, align_v);
}

void CZuObjectPoint::Draw(CDC* dc, CView*, CRect*, CRect*) {
  if (!visible_ || points_.empty()) return;
  AfxGetPointTool().Draw(dc, GetTranslator().MapToDraw(points_.front()), symbol, zoom_);
}

void CZuObjectCircle::Draw(CDC* dc, CView*, CRect*, CRect*) {
  if (!visible_ || points_.empty() || !(radius > 0)) return;
  const FLOATPOINT c = points_.front();
  const CRect rect = GetTranslator().MapToDraw(
      FLOATRECT{c.x - radius, c.y + radius, c.x + radius, c.y - radius});
  DeviceBrush device_brush;
  const bool fill = filled && AfxGetFillTool().Resolve(brush, zoom_, &device_brush);
  const DevicePen device_pen = AfxGetLineTool().Resolve(pen, zoom_);
  if (fill) dc->Ellipse(rect, nullptr, &device_brush);
  if (pen.style != kPenNull) dc->Ellipse(rect, &device_pen, nullptr);
}

void CZuObjectCircle::Amplify(FLOATPOINT centre, double fx, double fy) {
  CZuShape::Amplify(centre, fx, fy);
  radius *= std::sqrt(std::fabs(fx * fy));
}

}  // namespace davodu
