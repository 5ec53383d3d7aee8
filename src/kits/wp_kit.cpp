// The kit model: fields, control nodes, depth mapping, children, styles,
// change chains and duplication.
#include "davodu/kits/wp_kit.h"

#include <algorithm>
#include <cmath>
#include <limits>

#include "davodu/data/observer.h"
#include "davodu/host/util/exceptions.h"
#include "davodu/host/util/gbk.h"
#include "davodu/host/objects/object_factory.h"
#include "davodu/host/util/util.h"
#include "davodu/host/objects/zu_layer.h"
#include "davodu/host/objects/zu_map.h"
#include "davodu/host/objects/zu_map_file.h"
#include "davodu/kits/wp_in_well.h"
#include "davodu/well/wp_well.h"

namespace davodu {

namespace {

constexpr double kTol = 0.001;

// The width change of the last track whose width was set; read right after by
// UpdateParentForWidth on the same thread.
float g_track_width_delta = 0;

bool Near(double a, double b) { return std::fabs(a - b) < kTol; }

}  // namespace

const CRuntimeClass CWpKit::classCWpKit = {"CWpKit", sizeof(CWpKit), 1, &CWpKit::CreateObject,
                                           &CZuObject::classCZuObject};
const CRuntimeClass* CWpKit::GetRuntimeClass() const { return &classCWpKit; }
CZuObject* CWpKit::CreateObject() { return new (std::nothrow) CWpKit(nullptr); }

float CWpKit::GetTrackWidthDelta() { return g_track_width_delta; }

CWpKit::CWpKit(CZuLayer* layer) : CZuObject(layer) {
  for (auto& n : map_nodes_) n = {};
  for (auto& n : draw_nodes_) n = {};
  Initialize();
}

CWpKit::~CWpKit() {
  ClearChildren();
  Initialize();
  CZuObject::Clear();
}

void CWpKit::Initialize() {
  class_name_ = "CWpKit";
  name_ = type_name_ = "WpKit";
  node_count_ = kNodeCount;
  object_flag_ = 1;
  style_ = -1;
  head_align_ = 0;
  hit_kit_ = nullptr;
  width_ = 1000;
  title_height_ = 800;
  client_height_ = 1000;
  top_depth_ = 1000;
  bottom_depth_ = 2000;
  dep_scl_ = 200;
  sand_thick_ = 0;
  shale_thick_ = 0;
  auto_depth_ = 0;
  title_visible_ = 1;
  client_visible_ = 1;
  std::fill(std::begin(border_flags_), std::end(border_flags_), 1);
  title_text_ = "WpKit";
  title_font_ = ZULOGFONT{};
  title_font_.color = 128;
  title_font_.height = 800;
  title_direction_ = 1;
  border_mode_ = -1;
  border_pen_ = ZULOGPEN{};
  border_pen_.color = 0;
  border_pen_.width = 50;
  client_brush_ = ZULOGBRUSH{};
  client_brush_.style = kBrushSetNone;
  client_brush_.color = 0xC0C0C0;
  client_fill_style_set_ = Gbk("所有样式");
  title_scope_ = title_font_scope_ = border_scope_ = border_line_scope_ = 0;
}

void CWpKit::Clear() {
  ClearChildren();
  Initialize();
  CZuObject::Clear();
}

// ---------------------------------------------------------------- tree

CWpKit* CWpKit::GetAncestor() {
  CWpKit* k = this;
  while (k->parent_) k = k->parent_;
  return k;
}

CWpWell* CWpKit::GetWell() {
  for (CWpKit* k = this; k; k = k->parent_)
    if (k->GetWpKitType() == WPKIT_WELL) return static_cast<CWpWell*>(k);
  return nullptr;
}

CWpKit* CWpKit::GetChild(int index) const {
  if (index < 0 || index >= ChildrenCount()) return nullptr;
  return children_[static_cast<std::size_t>(index)];
}

CWpKit* CWpKit::ChildAt(int index) const {
  CWpKit* k = GetChild(index);
  if (!k)
    throw CInvalidArgException("child index " + std::to_string(index) + " outside 0.." +
                               std::to_string(ChildrenCount() - 1));
  return k;
}

int CWpKit::FindChild(const CWpKit* kit) const {
  if (!kit) return -1;
  auto it = std::find(children_.begin(), children_.end(), kit);
  return it == children_.end() ? -1 : static_cast<int>(it - children_.begin());
}

bool CWpKit::IsSubKit() const { return parent_ && parent_->GetWpKitType() == WPKIT_TRACK; }

void CWpKit::PrepareChild(CWpKit* kit) {
  kit->SetLayer(layer_);
  kit->parent_ = this;
  kit->SetTopDepth(top_depth_);
  kit->SetBottomDepth(bottom_depth_);
  kit->SetDepScl(dep_scl_);
  kit->ApplyStyle();
}

void CWpKit::AddChild(CWpKit* kit) {
  if (!kit || kit == this || FindChild(kit) >= 0) return;
  PrepareChild(kit);
  children_.push_back(kit);
}

void CWpKit::InsertChild(int index, CWpKit* kit) {
  if (!kit || kit == this || FindChild(kit) >= 0) return;
  if (index < 0 || index >= ChildrenCount()) {
    AddChild(kit);
    return;
  }
  PrepareChild(kit);
  children_.insert(children_.begin() + index, kit);
}

void CWpKit::DeleteChild(CWpKit* kit) {
  if (FindChild(kit) < 0) return;
  if (layer_) layer_->RemoveSelectedObject(kit);
  RemoveChild(kit);
  // Any kit up the tree may still remember the deleted kit, or a kit inside
  // it, from the last press: forget it before it dangles.
  for (CWpKit* k = this; k; k = k->parent_) {
    for (CWpKit* h = k->hit_kit_; h; h = h->parent_)
      if (h == kit) {
        k->hit_kit_ = nullptr;
        break;
      }
  }
  hit_kit_ = nullptr;
  AfxGetObjectFactory()->DeleteObject(kit);
}

void CWpKit::DeleteChild(int index) { DeleteChild(GetChild(index)); }

void CWpKit::RemoveChild(CWpKit* kit) {
  auto it = std::find(children_.begin(), children_.end(), kit);
  if (it != children_.end()) children_.erase(it);
}

void CWpKit::RemoveChild(int index) { RemoveChild(GetChild(index)); }

void CWpKit::ClearChildren() {
  for (int i = ChildrenCount() - 1; i >= 0; --i) DeleteChild(i);
}

CWpKit* CWpKit::HitChild(CPoint) { return nullptr; }

void CWpKit::MoveChild(int, int) { UpdateParent(); }

void CWpKit::SetPosition(FLOATPOINT position, int move_children) {
  if (move_children) {
    FLOATPOINT here = GetPosition();
    double dx = position.x - here.x, dy = position.y - here.y;
    for (CWpKit* child : children_) {
      FLOATPOINT p = child->GetPosition();
      child->SetPosition(FLOATPOINT{p.x + dx, p.y + dy}, 1);
    }
  }
  CZuObject::SetPosition(position);
}

void CWpKit::SetLayer(CZuLayer* layer) {
  if (!layer || layer == layer_) return;
  CZuObject::SetLayer(layer);
  for (CWpKit* child : children_) child->SetLayer(layer);
}

void CWpKit::SetZoomFactor(double zoom) {
  CZuObject::SetZoomFactor(zoom);
  for (CWpKit* child : children_) {
    child->SetZoomFactor(zoom);
    child->BuildControlNodePointArray();
  }
}

void CWpKit::Amplify(FLOATPOINT centre, double fx, double fy) {
  CZuObject::Amplify(centre, fx, fy);
  width_ = static_cast<float>(width_ * fx);
  title_font_.height = static_cast<float>(title_font_.height * fx);
  border_pen_.width = static_cast<float>(border_pen_.width * fx);
  title_height_ = static_cast<float>(title_height_ * fy);
  client_height_ = static_cast<float>(client_height_ * fy);
  dep_scl_ = static_cast<float>(dep_scl_ * fy);
  sand_thick_ = static_cast<float>(sand_thick_ * fy);
  shale_thick_ = static_cast<float>(shale_thick_ * fy);
  for (CWpKit* child : children_) child->Amplify(centre, fx, fy);
}

bool CWpKit::IfLineStyleUsed(int code) const {
  return CZuObject::IfLineStyleUsed(code) || border_pen_.style == code;
}

void CWpKit::InitDataTable() {
  for (CWpKit* child : children_) child->InitDataTable();
}

void CWpKit::ResetData() {
  for (CWpKit* child : children_) child->ResetData();
}

// ---------------------------------------------------------------- geometry

void CWpKit::MapToDrawNode(int i) { draw_nodes_[i] = GetTranslator().MapToDraw(map_nodes_[i]); }

void CWpKit::BuildControlNodePointArray() {
  BuildHead();
  BuildBody();
  BuildTail();
  BuildRect();
}

void CWpKit::BuildHead() {
  CZuObject::BuildControlNodePointArray();
  float min_width = MinWidth();
  if (min_width > width_) width_ = min_width;
  // A free kit places its head by the node table; subclasses place their own.
  const double x0 = position_.x, y0 = position_.y, w = width_;
  const double hc = GetClientHeight(), ht = GetTitleHeight();
  map_nodes_[0] = {x0, y0};
  map_nodes_[1] = {x0 + w, y0};
  map_nodes_[2] = {x0, y0 + hc};
  map_nodes_[3] = {x0 + w, y0 + hc};
  map_nodes_[4] = {x0, y0 + hc + ht};
  map_nodes_[5] = {x0 + w, y0 + hc + ht};
  map_nodes_[6] = {x0, y0 + hc / 2};
  map_nodes_[7] = {x0 + w, y0 + hc / 2};
  map_nodes_[8] = {x0 + w / 2, y0 + hc + ht};
  map_nodes_[9] = {x0 + w / 2, y0 + hc};
  for (int i = 0; i < 10; ++i) MapToDrawNode(i);
}

void CWpKit::BuildBody() {
  const double yb = DepToMapY(bottom_depth_);
  map_nodes_[10] = {map_nodes_[0].x, yb};
  map_nodes_[11] = {map_nodes_[1].x, yb};
  MapToDrawNode(10);
  MapToDrawNode(11);
}

void CWpKit::BuildTail() {
  const double y0 = map_nodes_[0].y, yb = map_nodes_[10].y;
  const double x0 = map_nodes_[0].x, x1 = map_nodes_[1].x, xc = map_nodes_[9].x;
  const double d2 = map_nodes_[2].y - y0, d4 = map_nodes_[4].y - y0, d6 = map_nodes_[6].y - y0;
  map_nodes_[12] = {x0, yb - d2};
  map_nodes_[13] = {x1, yb - d2};
  map_nodes_[14] = {x0, yb - d4};
  map_nodes_[15] = {x1, yb - d4};
  map_nodes_[16] = {x0, yb - d6};
  map_nodes_[17] = {x1, yb - d6};
  map_nodes_[18] = {xc, yb - d4};
  map_nodes_[19] = {xc, yb - d2};
  for (int i = 12; i < kNodeCount; ++i) MapToDrawNode(i);
}

void CWpKit::BuildRect() {
  map_rect_ = {map_nodes_[4].x, map_nodes_[4].y, map_nodes_[15].x, map_nodes_[15].y};
  draw_rect_ = GetTranslator().MapToDraw(map_rect_);
}

CRect CWpKit::UpTitleDraw() const { return GetTranslator().MapToDraw(UpTitleMap()); }
CRect CWpKit::UpClientDraw() const { return GetTranslator().MapToDraw(UpClientMap()); }
CRect CWpKit::UpHeadDraw() const { return GetTranslator().MapToDraw(UpHeadMap()); }
CRect CWpKit::BodyDraw() const { return GetTranslator().MapToDraw(BodyMap()); }
CRect CWpKit::DownClientDraw() const { return GetTranslator().MapToDraw(DownClientMap()); }
CRect CWpKit::DownTitleDraw() const { return GetTranslator().MapToDraw(DownTitleMap()); }
CRect CWpKit::DownHeadDraw() const { return GetTranslator().MapToDraw(DownHeadMap()); }
CRect CWpKit::TotalDraw() const { return GetTranslator().MapToDraw(TotalMap()); }

float CWpKit::MapWidth() const { return static_cast<float>(map_nodes_[1].x - map_nodes_[0].x); }
float CWpKit::MapTitle() const { return static_cast<float>(map_nodes_[4].y - map_nodes_[2].y); }
float CWpKit::MapClient() const { return static_cast<float>(map_nodes_[2].y - map_nodes_[0].y); }
float CWpKit::MapHead() const { return static_cast<float>(map_nodes_[4].y - map_nodes_[0].y); }
float CWpKit::MapBody() const { return static_cast<float>(map_nodes_[0].y - map_nodes_[10].y); }

void CWpKit::SetWidth(float width) {
  if (!(MinWidth() < width && width < 100000)) return;
  if (GetWpKitType() == WPKIT_TRACK) g_track_width_delta = width - width_;
  width_ = width;
}

void CWpKit::SetTitleHeight(float height) {
  if (!title_visible_) return;
  if (height < 10000 && MinTitle() < height + 50) title_height_ = height;
}

void CWpKit::SetClientHeight(float height) {
  if (!client_visible_) return;
  if (height < 50000 && MinClient() < height + 50) client_height_ = height;
}

float CWpKit::ChildMinWidth() {
  float m = 0;
  for (CWpKit* c : children_) m = std::max(m, c->MinWidth());
  return m;
}

float CWpKit::ChildMinTitle() {
  float m = 0;
  for (CWpKit* c : children_)
    if (c->GetWpKitType() == WPKIT_TRACK) m = std::max(m, c->MinTitle());
  return m;
}

float CWpKit::ChildMinClient() {
  float m = 0;
  for (CWpKit* c : children_)
    if (c->GetWpKitType() == WPKIT_TRACK) m = std::max(m, c->MinClient());
  return m;
}

float CWpKit::MinChildWidth() const {
  float m = width_;
  for (const CWpKit* c : children_) m = std::min(m, c->width_);
  return m;
}

float CWpKit::MinChildTitle() const {
  if (!title_visible_) return 0;
  float m = client_height_ + title_height_;
  for (const CWpKit* c : children_)
    if (c->GetWpKitType() == WPKIT_TRACK) m = std::min(m, c->GetTitleHeight());
  return m;
}

float CWpKit::MinChildClient() const {
  if (!client_visible_) return 0;
  float m = client_height_ + title_height_;
  for (const CWpKit* c : children_)
    if (c->GetWpKitType() == WPKIT_TRACK) m = std::min(m, c->GetClientHeight());
  return m;
}

float CWpKit::MaxChildWidth() const {
  float m = 0;
  for (const CWpKit* c : children_) m = std::max(m, c->width_);
  return m;
}

float CWpKit::MaxChildTitle() const {
  float m = 0;
  for (const CWpKit* c : children_)
    if (c->GetWpKitType() == WPKIT_TRACK) m = std::max(m, c->GetTitleHeight());
  return m;
}

float CWpKit::MaxChildClient() const {
  float m = 0;
  for (const CWpKit* c : children_) m = std::max(m, c->GetClientHeight());
  return m;
}

// ---------------------------------------------------------------- depth

void CWpKit::SetTopDepth(float depth) {
  if (Near(depth, top_depth_) || depth > 99900 || depth < -99999) return;
  top_depth_ = depth;
  for (CWpKit* c : children_) c->SetTopDepth(depth);
  ScaleSegment();
  if (GetWpKitType() == WPKIT_WELL) ResetData();
}

void CWpKit::SetBottomDepth(float depth) {
  if (Near(depth, bottom_depth_) || depth > 99900 || depth < -99999) return;
  bottom_depth_ = depth;
  for (CWpKit* c : children_) c->SetBottomDepth(depth);
  ScaleSegment();
  if (GetWpKitType() == WPKIT_WELL) ResetData();
}

void CWpKit::SetDepScl(float scl) {
  if (!(scl >= 1) || Near(scl, dep_scl_)) return;
  dep_scl_ = scl;
  for (CWpKit* c : children_) c->SetDepScl(scl);
  if (auto_depth_) AutoDepth();
  ScaleSegment();
}

int CWpKit::GetDepthScale() const {
  return static_cast<int>(std::floor(100000.0 / dep_scl_ + 0.5));
}

void CWpKit::SetDepthScale(int scale) {
  if (scale <= 0 || scale > 100000) return;
  SetDepScl(static_cast<float>(100000.0 / scale));
}

void CWpKit::SetAutoDepth(int value) {
  if (value == auto_depth_) return;
  auto_depth_ = value;
  if (value) AutoDepth();
  for (CWpKit* c : children_) c->SetAutoDepth(value);
  ScaleSegment();
}

void CWpKit::SetSandThick(float thick) {
  if ((thick > 0 && thick < 0.01f) || Near(thick, sand_thick_) || thick > 20) return;
  sand_thick_ = thick;
  ScaleSegment();
  for (CWpKit* c : children_) c->SetSandThick(thick);
  if (GetWpKitType() == WPKIT_SAND)
    if (auto* observer = dynamic_cast<Observer*>(this)) observer->UpdateWithObservee();
}

void CWpKit::SetShaleThick(float thick) {
  if ((thick > 0 && thick < 0.01f) || Near(thick, shale_thick_) || thick > 20) return;
  shale_thick_ = thick;
  ScaleSegment();
  for (CWpKit* c : children_) c->SetShaleThick(thick);
  if (GetWpKitType() == WPKIT_SAND)
    if (auto* observer = dynamic_cast<Observer*>(this)) observer->UpdateWithObservee();
}

double CWpKit::FaultMapping(CWpWell* well, double depth) {
  float e = static_cast<float>(depth);
  for (const ZUPOINT3D& p : well->GetFaultInfo().points) {
    if (p.x > e || Near(p.x, e)) {
      e = static_cast<float>(e + p.y);
      break;
    }
  }
  return static_cast<float>(map_nodes_[0].y - (e - top_depth_) * dep_scl_);
}

double CWpKit::DepToMapY(double d) {
  const double y0 = map_nodes_[0].y;
  if (d - top_depth_ < kTol) return y0;
  const double linear = y0 - (d - top_depth_) * dep_scl_;
  CWpWell* well = GetWell();
  if (!well) return d - bottom_depth_ > kTol ? map_nodes_[10].y : linear;

  const bool faults = well->IsBlankSpace();
  if (d - bottom_depth_ > kTol) return faults ? FaultMapping(well, bottom_depth_) : map_nodes_[10].y;
  if (d > bottom_depth_) return map_nodes_[10].y;
  if (faults) return FaultMapping(well, d);

  int n = 0;
  const std::vector<ZUPOINT3D>& seg = well->ScaleSegment(IsKindOf(&CWpInWell::classCWpInWell) ? 1 : 0, n);
  n = std::min(n, static_cast<int>(seg.size()));
  if (n == 0) return linear;
  auto value = [&](int i) {
    const double ystart = i == 0 ? y0 : seg[static_cast<std::size_t>(i - 1)].y;
    const ZUPOINT3D& s = seg[static_cast<std::size_t>(i)];
    return ystart - dep_scl_ * s.z * (d - s.x);
  };
  if (n == 1) return value(0);
  if (d - seg[1].x < kTol) return value(0);
  for (int i = 1; i <= n - 2; ++i)
    if (d - seg[static_cast<std::size_t>(i + 1)].x < kTol) return value(i);
  if (d - bottom_depth_ < kTol) return value(n - 1);
  return linear;
}

float CWpKit::MapYToDep(float y) {
  const double y0 = map_nodes_[0].y;
  if (y0 - y < kTol) return top_depth_;
  const double linear = (y0 - y) / dep_scl_ + top_depth_;
  CWpWell* well = GetWell();
  if (!well) return map_nodes_[10].y - y > kTol ? bottom_depth_ : static_cast<float>(linear);
  if (map_nodes_[10].y - y > kTol) return bottom_depth_;

  if (well->IsBlankSpace()) {
    for (const ZUPOINT3D& p : well->GetFaultInfo().points) {
      const double candidate = linear - p.y;
      if (p.x > candidate || Near(p.x, candidate)) return static_cast<float>(candidate);
    }
    return static_cast<float>(linear);
  }

  int n = 0;
  const std::vector<ZUPOINT3D>& seg = well->ScaleSegment(IsKindOf(&CWpInWell::classCWpInWell) ? 1 : 0, n);
  n = std::min(n, static_cast<int>(seg.size()));
  // A segment with no scale (a zero factor) cannot be inverted: use the
  // plain scale instead of dividing by zero.
  auto inverse = [&](double ystart, const ZUPOINT3D& s) {
    const double k = dep_scl_ * s.z;
    if (!(std::fabs(k) > 0) || !std::isfinite(k)) return linear;
    return (ystart - y) / k + s.x;
  };
  if (n == 0) return static_cast<float>(linear);
  if (n == 1) return static_cast<float>(inverse(y0, seg[0]));
  if (y - seg[0].y > kTol) return static_cast<float>(inverse(y0, seg[0]));
  for (int i = 1; i <= n - 1; ++i)
    if (y - seg[static_cast<std::size_t>(i)].y > kTol)
      return static_cast<float>(inverse(seg[static_cast<std::size_t>(i - 1)].y, seg[static_cast<std::size_t>(i)]));
  return static_cast<float>(linear);
}

int CWpKit::DepToDrwY(float depth) { return GetTranslator().MapYToDrawY(DepToMapY(depth)); }

float CWpKit::DrwYToDep(int y) {
  return MapYToDep(static_cast<float>(GetTranslator().DrawYToMapY(y)));
}

// ---------------------------------------------------------------- styles

void CWpKit::SetHeadAlign(int align) {
  for (CWpKit* c : children_) c->SetHeadAlign(align);
  head_align_ = align < 0 ? -1 : (align > 0 ? 1 : 0);
}

void CWpKit::SetTitleDirection(int direction) { title_direction_ = std::clamp(direction, 0, 2); }

void CWpKit::SetTtlFtScope(int scope) { title_font_scope_ = std::clamp(scope, 0, 2); }

void CWpKit::SetTitleScope(int scope) {
  if (scope == title_scope_) return;
  title_scope_ = std::clamp(scope, 0, 2);
  ApplyReset(kResetTitle);
}

void CWpKit::SetBoderScope(int scope) {
  if (scope == border_scope_) return;
  border_scope_ = std::clamp(scope, 0, 2);
  ApplyReset(kResetBorder);
}

void CWpKit::SetBdrLnScope(int scope) {
  if (scope == border_line_scope_) return;
  border_line_scope_ = std::clamp(scope, 0, 2);
  ApplyReset(kResetBorderPen);
}

void CWpKit::SetTitleVisible(int visible) {
  if (visible == title_visible_) return;
  border_mode_ = -1;
  border_flags_[2] = border_flags_[5] = border_flags_[6] = visible;
  title_visible_ = visible;
  ApplyReset(kResetTitle);
}

void CWpKit::SetClientVisible(int visible) {
  if (visible == client_visible_) return;
  border_mode_ = -1;
  border_flags_[1] = border_flags_[3] = border_flags_[4] = visible;
  client_visible_ = visible;
}

int CWpKit::GetBorderVisible(int index) const {
  if (index < 0 || index >= kBorderCount)
    throw CInvalidArgException("border flag index " + std::to_string(index) + " outside 0..9");
  return border_flags_[index];
}

void CWpKit::SetBorderVisible(int value, int index) {
  border_mode_ = -1;
  if (index >= 0 && index < kBorderCount)
    border_flags_[index] = value;
  else
    std::fill(std::begin(border_flags_), std::end(border_flags_), value);
  ApplyReset(kResetBorder);
}

void CWpKit::SetBorderPen(const ZULOGPEN* pen) {
  if (!pen || *pen == border_pen_) return;
  border_pen_ = *pen;
  ApplyReset(kResetBorderPen);
}

void CWpKit::SetClientBrush(const ZULOGBRUSH* brush) {
  if (brush && !(*brush == client_brush_)) client_brush_ = *brush;
}

void CWpKit::SetTitleText(const std::string& text) { title_text_ = TrimBlanks(text); }

void CWpKit::SetTitleFont(const ZULOGFONT* font) {
  if (!font) return;
  title_height_ += font->height - title_font_.height;
  title_font_ = *font;
}

void CWpKit::SetBorderMode(int mode) {
  if (mode == border_mode_) return;
  mode = std::clamp(mode, 0, 9);
  border_mode_ = mode;
  int* f = border_flags_;
  auto set_only = [f](std::initializer_list<int> on) {
    std::fill(f, f + kBorderCount, 0);
    for (int i : on) f[i] = 1;
  };
  switch (mode) {
    case 0: set_only({}); break;
    case 1: set_only({0, 1, 2, 3, 4, 5, 6, 7, 8, 9}); break;
    case 2: set_only({0, 1, 2}); break;
    case 3: set_only({3, 4, 5, 6, 7, 8, 9}); break;
    case 4: set_only({1, 2, 5, 6}); break;
    case 5: set_only({0, 1, 3, 4}); break;
    case 6: set_only({0, 7, 8}); break;
    case 7: set_only({0, 1, 2, 3, 4, 5, 6, 9}); break;
    case 8: set_only({0, 1, 3, 4, 7, 8, 9}); break;
    case 9: std::fill(f, f + 7, 0); break;
  }
  ApplyReset(kResetBorder);
}

void CWpKit::CopyResetSettings(const CWpKit* from, ResetKind kind) {
  switch (kind) {
    case kResetTitle:
      title_scope_ = from->title_scope_;
      border_mode_ = from->border_mode_;
      title_visible_ = from->title_visible_;
      for (int i : {2, 5, 6}) border_flags_[i] = from->border_flags_[i];
      break;
    case kResetBorder:
      border_scope_ = from->border_scope_;
      border_mode_ = from->border_mode_;
      std::copy(std::begin(from->border_flags_), std::end(from->border_flags_), border_flags_);
      break;
    case kResetBorderPen:
      border_line_scope_ = from->border_line_scope_;
      border_pen_ = from->border_pen_;
      break;
  }
}

void CWpKit::AppRst(const CWpKit* from, ResetKind kind, bool same_class_only,
                    const std::string& class_name) {
  if (this != from && (!same_class_only || EqualsNoCase(class_name_, class_name)))
    CopyResetSettings(from, kind);
  if (title_visible_) ResetClient();
  for (CWpKit* c : children_) c->AppRst(from, kind, same_class_only, class_name);
}

void CWpKit::ApplyReset(ResetKind kind) {
  const int scope = kind == kResetTitle ? title_scope_
                    : kind == kResetBorder ? border_scope_
                                           : border_line_scope_;
  if (scope == 0 || !parent_) return;
  CWpKit* root = GetAncestor();
  if (scope == 2 && root != this) root->CopyResetSettings(this, kind);
  root->AppRst(this, kind, scope == 1, class_name_);
}

void CWpKit::ApplyStyle() {
  CWpWell* well = GetWell();
  if (!well || well->GetStyle() == -1) return;
  const BorderStyle style = well->GetStyle();
  std::fill(std::begin(border_flags_), std::end(border_flags_), 0);
  if (style == 0) {
    std::fill(std::begin(border_flags_), std::end(border_flags_), 1);
  } else if (style == 1) {
    const int type = GetWpKitType();
    if (type != WPKIT_TRACK && type != WPKIT_CURVE)
      for (int i : {0, 7, 8, 9}) border_flags_[i] = 1;
  }
  for (CWpKit* c : children_) c->ApplyStyle();
}

void CWpKit::SetStyle(BorderStyle style, bool apply) {
  if (style == style_) return;
  style_ = style;
  if (apply) {
    border_flags_[0] = 1;
    if (style == 0) {
      std::fill(border_flags_ + 1, border_flags_ + kBorderCount, 1);
    } else if (style == 1) {
      std::fill(border_flags_ + 1, border_flags_ + 9, 0);
      border_flags_[9] = 1;
    } else if (style == 2) {
      std::fill(border_flags_ + 1, border_flags_ + kBorderCount, 0);
    }
  }
  for (CWpKit* c : children_) c->SetStyle(style, apply);
}

BorderStyle CWpKit::GetStyle() {
  const int* f = border_flags_;
  auto all_but = [f](std::initializer_list<int> off) {
    for (int i = 0; i < kBorderCount; ++i) {
      bool want = std::find(off.begin(), off.end(), i) == off.end();
      if ((f[i] != 0) != want) return false;
    }
    return true;
  };
  auto only = [f](std::initializer_list<int> on) {
    for (int i = 0; i < kBorderCount; ++i) {
      bool want = std::find(on.begin(), on.end(), i) != on.end();
      if ((f[i] != 0) != want) return false;
    }
    return true;
  };
  if (all_but({}) || all_but({3, 4}) || all_but({3}))
    style_ = 0;
  else if (only({0, 9}))
    style_ = 1;
  else if (only({0}))
    style_ = 2;
  else
    style_ = -1;
  return style_;
}

// ---------------------------------------------------------------- change chains

void CWpKit::Update() {
  for (CWpKit* c : children_) c->Update();
  UpdateSelf();
}

void CWpKit::UpdateSelf() {
  Reset();
  ResetClient();
  ResetWidth();
  Reset();
  OnChanged(nullptr);
}

void CWpKit::UpdateParent() {
  for (CWpKit* k = this; k; k = k->parent_) k->Reset();
  GetAncestor()->Update();
}

void CWpKit::UpdateParentForWidth() {
  CWpKit* below = this;
  for (CWpKit* k = parent_; k; below = k, k = k->parent_) {
    const int type = k->GetWpKitType();
    if (type == WPKIT_TRACK || type == WPKIT_WELL) {
      k->SetWidth(k->GetWidth() + g_track_width_delta);
      if (type == WPKIT_TRACK) k->ResetWidth(below, 1);
    }
  }
  GetAncestor()->Update();
}

void CWpKit::RebuildSelf() {
  ResetClient();
  ResetWidth();
  Reset();
  OnChanged(nullptr);
}

void CWpKit::RebuildParent() { GetAncestor()->RebuildSelf(); }

void CWpKit::InvalidRect(CRect rect) {
  CZuMapFile* doc = GetMapFile();
  if (!doc) return;
  rect = rect.Normalized();
  rect.Inflate(200);
  doc->InvalidateRect(rect);
}

void CWpKit::InvalidHead() {
  InvalidRect(UpHeadDraw());
  InvalidRect(DownHeadDraw());
}

void CWpKit::InvalidBody() { InvalidRect(BodyDraw()); }

void CWpKit::InvalidSelf() { InvalidRect(TotalDraw()); }

void CWpKit::InvalidParent() { GetAncestor()->InvalidSelf(); }

// ---------------------------------------------------------------- duplication

void CWpKit::DuplicateObject(CZuObject* target) {
  auto* kit = dynamic_cast<CWpKit*>(target);
  if (!kit || kit == this) return;
  for (CWpKit* child : children_) {
    CZuObject* copy = nullptr;
    child->DuplicateObject(&copy, kit->GetLayer());
    if (auto* c = dynamic_cast<CWpKit*>(copy))
      kit->AddChild(c);
    else
      AfxGetObjectFactory()->DeleteObject(copy);
  }
  CZuObject::DuplicateObject(target);
}

void CWpKit::DuplicateObject(CZuObject** copy, CZuLayer* layer) {
  CZuObject::DuplicateObject(copy, layer);
}

void CWpKit::DuplicateObjectA(CZuObject* target) {
  auto* kit = dynamic_cast<CWpKit*>(target);
  if (!kit || kit == this) return;
  DuplicateSegment(kit);
  for (CWpKit* child : children_) {
    CZuObject* copy = nullptr;
    child->DuplicateObjectA(&copy, kit->GetLayer());
    if (auto* c = dynamic_cast<CWpKit*>(copy))
      kit->AddChild(c);
    else
      AfxGetObjectFactory()->DeleteObject(copy);
  }
  CZuObject::DuplicateObjectA(target);
}

void CWpKit::DuplicateObjectA(CZuObject** copy, CZuLayer* layer) {
  CZuObject::DuplicateObjectA(copy, layer);
}

void CWpKit::DuplicateAttribute(CZuObject* target) {
  auto* kit = dynamic_cast<CWpKit*>(target);
  if (!kit || kit == this) return;
  CZuObject::DuplicateAttribute(target);
  // A copy that already sits in a tree keeps its parent: taking the
  // source's would link it into the source's tree.
  if (!kit->parent_) kit->parent_ = parent_;
  std::copy(std::begin(map_nodes_), std::end(map_nodes_), kit->map_nodes_);
  std::copy(std::begin(draw_nodes_), std::end(draw_nodes_), kit->draw_nodes_);
  kit->width_ = width_;
  kit->title_height_ = title_height_;
  kit->client_height_ = client_height_;
  kit->top_depth_ = top_depth_;
  kit->bottom_depth_ = bottom_depth_;
  kit->dep_scl_ = dep_scl_;
  kit->sand_thick_ = sand_thick_;
  kit->shale_thick_ = shale_thick_;
  kit->auto_depth_ = auto_depth_;
  kit->head_align_ = head_align_;
  kit->title_visible_ = title_visible_;
  kit->client_visible_ = client_visible_;
  kit->title_text_ = title_text_;
  kit->title_font_ = title_font_;
  kit->title_direction_ = title_direction_;
  kit->border_mode_ = border_mode_;
  std::copy(std::begin(border_flags_), std::end(border_flags_), kit->border_flags_);
  kit->border_pen_ = border_pen_;
  kit->title_scope_ = title_scope_;
  kit->title_font_scope_ = title_font_scope_;
  kit->border_scope_ = border_scope_;
  kit->border_line_scope_ = border_line_scope_;
  kit->client_brush_ = client_brush_;
  kit->client_fill_style_set_ = client_fill_style_set_;
  if (kit->ChildrenCount() == ChildrenCount()) {
    for (int i = 0; i < ChildrenCount(); ++i) {
      CWpKit* mine = children_[static_cast<std::size_t>(i)];
      CWpKit* theirs = kit->children_[static_cast<std::size_t>(i)];
      if (mine->class_name_ == theirs->class_name_) mine->DuplicateAttribute(theirs);
    }
  }
}

}  // namespace davodu
