// What every kit does with the mouse: hit tests of the kit and its handles,
// press and release, and the shadow of a drag.
#include <cfloat>
#include <cstdlib>
#include <vector>

#include "davodu/host/graphics/graph_tool.h"
#include "davodu/host/objects/view.h"
#include "davodu/host/objects/zu_layer.h"
#include "davodu/host/objects/zu_map.h"
#include "davodu/kits/wp_kit.h"
#include "davodu/well/wp_track.h"
#include "davodu/well/wp_well.h"

namespace davodu {

namespace {

bool InSquare(CPoint p, CPoint centre, int half) {
  return std::abs(p.x - centre.x) <= half && std::abs(p.y - centre.y) <= half;
}

}  // namespace

// ---------------------------------------------------------------- hit tests

CZuObject* CWpKit::HitTest(CPoint point) {
  if (CZuObject* hit = HitKits(point)) return hit;
  return visible_ ? CZuObject::HitTest(point) : nullptr;
}

CZuObject* CWpKit::HitKits(CPoint point) {
  if (!visible_) return nullptr;
  const int w = AfxGetNodeRectWidth() / 2;
  // The selected kits come first: their handles and bodies take precedence
  // over the normal search.
  if (layer_) {
    const std::vector<CZuObject*> list = layer_->GetSelectedObjects();
    for (CZuObject* obj : list) {
      auto* kit = dynamic_cast<CWpKit*>(obj);
      if (!kit || kit->GetControlNodeDrawPointCount() <= 0) continue;
      for (int i : {6, 7, 8, 9, 16, 17, 18, 19})
        if (InSquare(point, kit->draw_nodes_[i], w)) return kit;
    }
    for (CZuObject* obj : list) {
      auto* kit = dynamic_cast<CWpKit*>(obj);
      if (!kit) continue;
      const int type = kit->GetWpKitType();
      if (type == WPKIT_WELL || type == WPKIT_TRACK || type == WPKIT_CURVE) continue;
      if (kit->BodyDraw().Contains(point)) return kit;
    }
  }
  if (GetWpKitType() != WPKIT_TRACK) {
    for (auto it = children_.rbegin(); it != children_.rend(); ++it)
      if (CZuObject* hit = (*it)->HitTest(point)) return hit;
    return nullptr;
  }
  std::vector<CWpKit*> curves;
  for (auto it = children_.rbegin(); it != children_.rend(); ++it) {
    if ((*it)->GetWpKitType() != WPKIT_CURVE) continue;
    curves.push_back(*it);
    if (CZuObject* hit = (*it)->HitTest(point)) return hit;
  }
  if (CZuObject* hit = HitCve(curves, point)) return hit;
  for (auto it = children_.rbegin(); it != children_.rend(); ++it) {
    if ((*it)->GetWpKitType() == WPKIT_CURVE) continue;
    if (CZuObject* hit = (*it)->HitTest(point)) return hit;
  }
  return nullptr;
}

int CWpKit::NodeHitTest(CPoint point) {
  const int w = AfxGetNodeRectWidth() / 2;
  const CPoint* n = draw_nodes_;
  if (point.y >= n[0].y - w || point.y <= n[10].y + w) {
    static const int kNodes[] = {6, 7, 8, 9, 16, 17, 18, 19};
    static const int kCodes[] = {CN_LEFT, CN_RIGHT, CN_TITLE_TOP, CN_CLIENT_TOP,
                                 CN_LEFT, CN_RIGHT, CN_TITLE_TOP, CN_CLIENT_TOP};
    for (int k = 0; k < 8; ++k) {
      if (!InSquare(point, n[kNodes[k]], w)) continue;
      int code = kCodes[k];
      if (code == CN_TITLE_TOP && GetWpKitType() == WPKIT_TRACK && !title_visible_)
        code = CN_CLIENT_TOP;
      return code;
    }
    if ((point.x >= n[0].x && point.x <= n[5].x && point.y <= n[5].y + w) ||
        point.y + w >= n[15].y)
      return CN_BODY_MOVE;
    return CZuObject::NodeHitTest(point);
  }
  if (point.x >= n[0].x && point.x <= n[11].x && point.y >= n[11].y && point.y <= n[0].y)
    return CN_BODY_MOVE;
  return CZuObject::NodeHitTest(point);
}

CZuObject* CWpKit::HitCve(const std::vector<CWpKit*>& curves, CPoint point) {
  if (curves.empty()) return nullptr;
  CWpWell* well = GetWell();
  if (!well || well->PtInTrack(GetTranslator().DrawToMap(point)) != this) return nullptr;
  CWpKit* best = nullptr;
  double best_distance = 0;
  for (CWpKit* k : curves) {
    double d = k->PtOnCurve(point);
    if (!best || d < best_distance) {
      best = k;
      best_distance = d;
    }
  }
  if (best_distance > draw_nodes_[1].x - draw_nodes_[0].x) return nullptr;
  return best;
}

float CWpKit::PtOnCurve(CPoint) const { return FLT_MAX; }

// ---------------------------------------------------------------- mouse

int CWpKit::OnLButtonDown(CView* view, CDC* dc, unsigned flags, CPoint point) {
  hit_kit_ = nullptr;
  CZuObject* h = HitTest(point);
  if (auto* kit = dynamic_cast<CWpKit*>(h)) {
    hit_kit_ = kit;
    if (kit == this) {
      selected_handle_ = NodeHitTest(point);
      if (selected_handle_ != CN_NONE) {
        int cursor = IDC_CROSS;
        edit_mode_ = EM_RESIZE;
        switch (selected_handle_) {
          case CN_MOVE:
          case CN_BODY_MOVE:
            cursor = IDC_SIZEALL;
            edit_mode_ = EM_MOVE;
            break;
          case CN_LEFT:
          case CN_RIGHT:
            cursor = IDC_SIZEWE;
            break;
          case CN_TITLE_TOP:
          case CN_CLIENT_TOP:
            cursor = IDC_SIZENS;
            break;
          default:
            break;
        }
        if (view) {
          view->SetCursor(cursor);
          view->SetCapture();
        }
        press_point_ = last_point_ = point;
      }
    }
  }
  return CZuObject::OnLButtonDown(view, dc, flags, point);
}

int CWpKit::OnLButtonUp(CView* view, CDC* dc, unsigned flags, CPoint point) {
  press_point_ = point;
  selected_handle_ = CN_NONE;
  if (CWpWell* well = GetWell()) well->SetShadowRect(FLOATRECT{});
  return CZuObject::OnLButtonUp(view, dc, flags, point);
}

int CWpKit::OnMouseMove(CView* view, CDC* dc, unsigned flags, CPoint point) {
  return CZuObject::OnMouseMove(view, dc, flags, point);
}

bool CWpKit::IsPtInCenterRect(CPoint point) {
  const double w = width_, t = title_height_;
  FLOATRECT r{map_nodes_[2].x + w / 3, map_nodes_[4].y - t / 3, map_nodes_[2].x + 2 * w / 3,
              map_nodes_[2].y + t / 3};
  return GetTranslator().MapToDraw(r).Contains(point);
}

FLOATRECT CWpKit::CalShadowRect(CPoint point) {
  const CCoordTranslator& tr = GetTranslator();
  const double t = title_height_;
  const double x2 = map_nodes_[2].x, x3 = map_nodes_[3].x, y2 = map_nodes_[2].y,
               y4 = map_nodes_[4].y;
  const double mid_y = (map_nodes_[8].y + map_nodes_[9].y) / 2;
  const double mid_x = (x2 + x3) / 2;
  auto in = [&](double l, double top, double r, double b) {
    return tr.MapToDraw(FLOATRECT{l, top, r, b}).Contains(point);
  };
  if (in(x2, y4, x3, y4 - t / 3)) {
    if (!parent_) return {};
    return {parent_->map_nodes_[2].x, y4, parent_->map_nodes_[1].x, mid_y};
  }
  if (in(x2, y2 + t / 3, x3, y2)) {
    if (!parent_) return {};
    return {parent_->map_nodes_[2].x, mid_y, parent_->map_nodes_[1].x, y2};
  }
  const double w = x3 - x2;
  if (in(x2, y4 - t / 3, x2 + w / 3, y2 + t / 3)) return {x2, y4, mid_x, y2};
  if (in(x3 - w / 3, y4 - t / 3, x3, y2 + t / 3)) return {mid_x, y4, map_nodes_[5].x, y2};
  return {};
}

void CWpKit::DrawShadow(CDC* dc, FLOATRECT rect) {
  ZULOGBRUSH brush;
  brush.style = kBrushSolid;
  brush.color = 0x91D7C1;
  brush.word3 = 0x91D7C1;
  brush.rop = kRopNotXor;
  AfxGetFillTool().FillRect(dc, GetTranslator().MapToDraw(rect).Normalized(), brush, zoom_);
}

}  // namespace davodu
