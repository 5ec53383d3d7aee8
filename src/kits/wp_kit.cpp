// The kit model: fields, the tree of children, control nodes and sizes,
// change chains and duplication. Depth mapping is in wp_kit_depth.cpp, styles
// in wp_kit_styles.cpp.
#include "davodu/kits/wp_kit.h"

#include <algorithm>

#include "davodu/host/objects/object_factory.h"
#include "davodu/host/objects/zu_layer.h"
#include "davodu/host/objects/zu_map.h"
#include "davodu/host/objects/zu_map_file.h"
#include "davodu/host/util/exceptions.h"
#include "davodu/host/util/gbk.h"
#include "davodu/host/util/util.h"
#include "davodu/well/wp_well.h"

namespace davodu {

namespace {

// The width change of the last track whose width was set; read right after by
// UpdateParentForWidth on the same thread.
float g_track_width_delta = 0;

// Whether a kit or one of its descendants draws the mirrored head.
bool DrawsLowerHead(const CWpKit* kit) {
  if (kit->GetHeadAlign() == 1) return true;
  const auto& children = kit->GetChildren();
  return std::any_of(children.begin(), children.end(), [](const CWpKit* c) { return DrawsLowerHead(c); });
}

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

FLOATRECT CWpKit::GetPaperRect() const {
  FLOATRECT r = GetMapRect();
  // Map Y grows upwards: the mirrored head lies below the body's foot.
  const double foot = map_nodes_[10].y;
  if (r.bottom < foot && foot <= r.top && !DrawsLowerHead(this)) r.bottom = foot;
  return r;
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
