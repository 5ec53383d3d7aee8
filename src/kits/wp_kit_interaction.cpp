// What every kit does for the host's drawing and mouse calls: hit tests and
// handles, press and release, highlight and drag shadow, the base drawing
// (children, client brush, frame), the context menu and its commands.
#include <algorithm>
#include <cstdlib>
#include <string>
#include <vector>

#include "davodu/display/wp_curve.h"
#include "davodu/display/wp_depth.h"
#include "davodu/display/wp_param.h"
#include "davodu/display/wp_picture.h"
#include "davodu/display/wp_program.h"
#include "davodu/display/wp_text.h"
#include "davodu/host/graphics/dc.h"
#include "davodu/host/dialogs/dialogs.h"
#include "davodu/host/util/gbk.h"
#include "davodu/host/graphics/graph_tool.h"
#include "davodu/host/objects/view.h"
#include "davodu/host/objects/zu_layer.h"
#include "davodu/host/objects/zu_map.h"
#include "davodu/host/objects/zu_map_file.h"
#include "davodu/interval/wp_corelith.h"
#include "davodu/interval/wp_oil_test.h"
#include "davodu/interval/wp_result.h"
#include "davodu/interval/wp_sand.h"
#include "davodu/interval/wp_stratum.h"
#include "davodu/kits/menu_ids.h"
#include "davodu/kits/wp_kit.h"
#include "davodu/special/wp_facies.h"
#include "davodu/special/wp_symble_cycle.h"
#include "davodu/special/wp_symble_shoot.h"
#include "davodu/special/wp_symble_texture.h"
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
    return CZuObject::HitTest(point);
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
  return CZuObject::HitTest(point);
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
    double d = static_cast<CWpCurve*>(k)->PtOnCurve(point);
    if (!best || d < best_distance) {
      best = k;
      best_distance = d;
    }
  }
  if (best_distance > draw_nodes_[1].x - draw_nodes_[0].x) return nullptr;
  return best;
}

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

// ---------------------------------------------------------------- drawing

void CWpKit::Highlight(CDC* dc, CView*) {
  ZULOGPEN pen;
  pen.rop = kRopNotXor;
  const int type = GetWpKitType();
  if (type == WPKIT_WELL)
    pen.style = kPenMarkDepthFrame;
  else if (type == WPKIT_TRACK)
    pen.color = 0x00FF00;
  else
    pen.color = 0xFF0000;
  const CLineTool& line = AfxGetLineTool();
  const CPoint* n = draw_nodes_;
  auto seg = [&](int a, int b) { line.DrawLine(dc, n[a], n[b], pen, zoom_); };
  if (title_visible_ && head_align_ >= 0) {
    seg(4, 5), seg(2, 4), seg(3, 5);
    if (head_align_ == 1) seg(14, 15), seg(12, 14), seg(13, 15);
  }
  if (head_align_ >= 0) {
    seg(2, 3);
    if (head_align_ == 1) seg(12, 13);
    if (type == WPKIT_WELL || type == WPKIT_TRACK) {
      seg(0, 2), seg(1, 3);
      if (head_align_ == 1) seg(10, 12), seg(11, 13);
    }
  }
  if (client_height_ > 1) seg(0, 1);
  seg(0, 10), seg(1, 11), seg(10, 11);
}

bool CWpKit::NeedsDrawing(const CRect* clip, const CRect* done) const {
  if (!visible_) return false;
  const CRect me = draw_rect_.Normalized();
  if (clip) {
    const CRect c = clip->Normalized();
    // Y grows upwards: a rectangle wholly left, right, above or below misses.
    if (me.left >= c.right || c.left >= me.right || c.bottom >= me.top || me.bottom >= c.top)
      return false;
  }
  if (done) {
    const CRect d = done->Normalized();
    if (me.left >= d.left && me.right <= d.right && me.top <= d.top && me.bottom >= d.bottom)
      return false;
  }
  return true;
}

void CWpKit::Draw(CDC* dc, CView* view, CRect* clip, CRect* done) {
  if (!NeedsDrawing(clip, done)) return;
  DrawChildren(dc, view, clip, done);
  DrawClientBrush(dc);
  CZuObject::Draw(dc, view, clip, done);
}

void CWpKit::DrawChildren(CDC* dc, CView* view, CRect* clip, CRect* done) {
  for (CWpKit* c : children_) c->Draw(dc, view, clip, done);
}

void CWpKit::DrawClientBrush(CDC* dc) {
  const CPoint* n = draw_nodes_;
  const CPoint polygon[] = {n[4], n[8], n[5], n[7], n[3], n[9], n[2], n[6]};
  AfxGetFillTool().FillPolygon(dc, polygon, 8, client_brush_, zoom_);
}

void CWpKit::DrawNodeSquare(CDC* dc, int i, const ZULOGPEN& pen) const {
  const int half = AfxGetNodeRectWidth() / 2;
  const CPoint& p = draw_nodes_[i];
  AfxGetLineTool().DrawRect(dc, CRect{p.x - half, p.y + half, p.x + half, p.y - half}, pen, zoom_);
}

bool CWpKit::BorderLineShown(int index) const {
  if (index >= 1 && index <= 6 && head_align_ == -1) return false;
  if ((index == 2 || index == 5 || index == 6) && !title_visible_) return false;
  return true;
}

void CWpKit::DrawBorder(CDC* dc, CView*, CRect*, CRect*) {
  // Line of each flag, and its mirror in the lower head (-1: none).
  static const int kLines[kBorderCount][4] = {
      {0, 1, -1, -1},  {2, 3, 12, 13}, {4, 5, 14, 15}, {0, 2, 10, 12}, {1, 3, 11, 13},
      {2, 4, 12, 14},  {3, 5, 13, 15}, {0, 10, -1, -1}, {1, 11, -1, -1}, {10, 11, -1, -1}};
  const CLineTool& line = AfxGetLineTool();
  for (int i = 0; i < kBorderCount; ++i) {
    if (!border_flags_[i] || !BorderLineShown(i)) continue;
    const int* l = kLines[i];
    line.DrawLine(dc, draw_nodes_[l[0]], draw_nodes_[l[1]], border_pen_, zoom_);
    if (l[2] >= 0 && head_align_ == 1)
      line.DrawLine(dc, draw_nodes_[l[2]], draw_nodes_[l[3]], border_pen_, zoom_);
  }
}

// ---------------------------------------------------------------- menu

std::string CWpKit::MenuLabel() const {
  if (!title_text_.empty()) return title_text_;
  struct Label {
    const CRuntimeClass* cls;
    const char* text;
  };
  static const Label kLabels[] = {
      {&CWpParam::classCWpParam, "参数"},
      {&CWpSymbleTexture::classCWpSymbleTexture, "层理"},
      {&CWpSymbleShoot::classCWpSymbleShoot, "射孔"},
      {&CWpSymbleCycle::classCWpSymbleCycle, "旋回"},
      {&CWpResult::classCWpResult, "解释结果"},
      {&CWpFacies::classCWpFacies, "沉积相"},
      {&CWpCorelith::classCWpCorelith, "岩性"},
      {&CWpStratum::classCWpStratum, "分层"},
      {&CWpOilTest::classCWpOilTest, "试油"},
      {&CWpPicture::classCWpPicture, "图象"},
      {&CWpDepth::classCWpDepth, "深度道"},
      {&CWpTrack::classCWpTrack, "内容道"},
      {&CWpCurve::classCWpCurve, "曲线"},
      {&CWpSand::classCWpSand, "砂层"},
      {&CWpText::classCWpText, "文本"},
      {&CWpWell::classCWpWell, "井"},
  };
  for (const Label& l : kLabels)
    if (IsKindOf(l.cls)) return Gbk(l.text);
  return Gbk("当选对象");
}

int CWpKit::OnRButtonDown(CView* view, CDC* dc, unsigned flags, CPoint point) {
  const std::string label = MenuLabel();
  if (CZuMapFile* doc = GetMapFile()) {
    if (parent_) {
      BuildControlNodePointArray();
      AddParentMenu(doc);
      if (IsKindOf(&CWpProgram::classCWpProgram)) doc->AddMenu(kCmdEditProgram, Gbk("编辑程序"));
      doc->AddMenu(kCmdDelete, Gbk("删除[") + label + "](&D)");
    }
    if (!children_.empty()) doc->AddMenu(kCmdClear, Gbk("清空[") + label + "](&Q)");
  }
  return CZuObject::OnRButtonDown(view, dc, flags, point);
}

int CWpKit::OnCommand(CView*, CDC*, unsigned id, long) {
  switch (id) {
    case kCmdClear:
      if (AfxGetDialogs().AskYesNo(Gbk("确定进行清空操作吗?"))) {
        ClearChildren();
        UpdateSelf();
      }
      break;
    case kCmdDelete:
      DeleteFromParent();
      break;
    default:
      OnOrderCommand(id);
      break;
  }
  return 2;
}

void CWpKit::AddParentMenu(CZuMapFile* file) {
  if (auto* track = dynamic_cast<CWpTrack*>(parent_)) track->AddMoveMenu(file, this);
  if (auto* self = dynamic_cast<CWpTrack*>(this)) self->AddDivideMenu(file);
}

bool CWpKit::OnOrderCommand(unsigned id) {
  if (id == kCmdDivideGroups) {
    if (auto* self = dynamic_cast<CWpTrack*>(this)) self->AverageDivideGroupHeight();
    return true;
  }
  if (id < kCmdMoveFront || id > kCmdMoveMostBack) return false;
  auto* track = IsSubKit() ? static_cast<CWpTrack*>(parent_) : nullptr;
  if (!track) return true;
  switch (id) {
    case kCmdMoveFront: track->MoveFront(this); break;
    case kCmdMoveBack: track->MoveBack(this); break;
    case kCmdMoveMostFront: track->MoveMostFront(this); break;
    case kCmdMoveMostBack: track->MoveMostBack(this); break;
  }
  track->UpdateSelf();
  return true;
}

void CWpKit::DeleteFromParent() {
  CWpKit* parent = parent_;
  if (!parent) return;
  if (GetWpKitType() == WPKIT_TRACK) parent->SetWidth(parent->GetWidth() - width_);
  parent->DeleteChild(this);  // this is gone from here on
  parent->UpdateSelf();
  if (parent->GetWpKitType() == WPKIT_TRACK && parent->ChildrenCount() == 0) {
    CWpKit* grand = parent->GetParent();
    if (!grand) return;
    grand->SetWidth(grand->GetWidth() - parent->GetWidth());
    grand->DeleteChild(parent);
    grand->UpdateSelf();
  }
}

}  // namespace davodu
