#include "davodu/host/objects/zu_object.h"

#include <algorithm>
#include <cmath>

#include "davodu/host/objects/zu_layer.h"
#include "davodu/host/objects/zu_map.h"

namespace davodu {

const CRuntimeClass CZuObject::classCZuObject = {"CZuObject", sizeof(CZuObject), 1, nullptr,
                                                 nullptr};

const CRuntimeClass* CZuObject::GetRuntimeClass() const { return &classCZuObject; }

CZuObject::CZuObject(CZuLayer* layer) : layer_(layer) {
  if (layer_) zoom_ = layer_->GetZoomFactor();
}

CZuObject::~CZuObject() {
  if (layer_) layer_->RemoveSelectedObject(this);
}

void CZuObject::SetLayer(CZuLayer* layer) { layer_ = layer; }

void CZuObject::Draw(CDC*, CView*, CRect*, CRect*) {}
void CZuObject::DrawSelectedMark(CDC*, CView*) {}
void CZuObject::DrawMove(CDC*, CView*, CPoint) {}

int CZuObject::OnLButtonDown(CView*, CDC*, unsigned, CPoint point) {
  press_point_ = point;
  last_point_ = point;
  return 1;
}
int CZuObject::OnLButtonUp(CView*, CDC*, unsigned, CPoint point) {
  last_point_ = point;
  edit_mode_ = EM_NONE;
  return 1;
}
int CZuObject::OnMouseMove(CView*, CDC*, unsigned, CPoint) { return 0; }
int CZuObject::OnLButtonDblClk(CView*, CDC*, unsigned, CPoint) { return 0; }
int CZuObject::OnRButtonDown(CView*, CDC*, unsigned, CPoint) { return 0; }
int CZuObject::OnRButtonUp(CView*, CDC*, unsigned, CPoint) { return 0; }
int CZuObject::OnCommand(CView*, CDC*, unsigned, long) { return 0; }
int CZuObject::OnKeyDown(CView*, CDC*, unsigned, unsigned) { return 0; }
int CZuObject::OnKeyUp(CView*, CDC*, unsigned, unsigned) { return 0; }
int CZuObject::OnIdle() { return 0; }

CZuObject* CZuObject::HitTest(CPoint point) {
  if (!visible_) return nullptr;
  return draw_rect_.Contains(point) ? this : nullptr;
}

void CZuObject::OnChanged(CZuObject*) { modified_ = 1; }

void CZuObject::BuildControlNodePointArray() {
  if (layer_) zoom_ = layer_->GetZoomFactor();
  draw_rect_ = GetTranslator().MapToDraw(map_rect_);
}

void CZuObject::SetPosition(FLOATPOINT position) { position_ = position; }

void CZuObject::SetPosition(CPoint draw_position) {
  SetPosition(GetTranslator().DrawToMap(draw_position));
}

CPoint CZuObject::GetDrawPosition() const { return GetTranslator().MapToDraw(position_); }

void CZuObject::DuplicateObject(CZuObject* target) {
  if (target && target != this) DuplicateAttribute(target);
}

void CZuObject::DuplicateObject(CZuObject** copy, CZuLayer* layer) {
  if (!copy) return;
  const CRuntimeClass* cls = GetRuntimeClass();
  CZuObject* obj = cls->CreateObject();
  *copy = obj;
  if (!obj) return;
  obj->SetLayer(layer);
  obj->SetZoomFactor(layer ? layer->GetZoomFactor() : zoom_);
  DuplicateObject(obj);
}

void CZuObject::DuplicateObjectA(CZuObject* target) { DuplicateObject(target); }

void CZuObject::DuplicateObjectA(CZuObject** copy, CZuLayer* layer) {
  if (!copy) return;
  CZuObject* obj = GetRuntimeClass()->CreateObject();
  *copy = obj;
  if (!obj) return;
  obj->SetLayer(layer);
  obj->SetZoomFactor(layer ? layer->GetZoomFactor() : zoom_);
  DuplicateObjectA(obj);
}

void CZuObject::DuplicateAttribute(CZuObject* target) {
  if (!target || target == this) return;
  target->name_ = name_;
  target->type_name_ = type_name_;
  target->visible_ = visible_;
  target->properties_ = properties_;
  target->position_ = position_;
  target->map_rect_ = map_rect_;
  target->draw_rect_ = draw_rect_;
  target->node_count_ = node_count_;
  target->object_flag_ = object_flag_;
}

void CZuObject::Amplify(FLOATPOINT centre, double fx, double fy) {
  position_.x = centre.x + (position_.x - centre.x) * fx;
  position_.y = centre.y + (position_.y - centre.y) * fy;
  for (CZuSegment& seg : segments_)
    for (FLOATPOINT& p : seg.points) {
      p.x = centre.x + (p.x - centre.x) * fx;
      p.y = centre.y + (p.y - centre.y) * fy;
    }
}

void CZuObject::Rotate(FLOATPOINT centre, double angle) {
  double c = std::cos(angle), s = std::sin(angle);
  double dx = position_.x - centre.x, dy = position_.y - centre.y;
  position_ = {centre.x + dx * c - dy * s, centre.y + dx * s + dy * c};
}

void CZuObject::Move(double dx, double dy) {
  position_.x += dx;
  position_.y += dy;
  for (CZuSegment& seg : segments_)
    for (FLOATPOINT& p : seg.points) {
      p.x += dx;
      p.y += dy;
    }
}

int CZuObject::NodeHitTest(CPoint) { return CN_NONE; }

void CZuObject::Clear() {
  properties_.Clear();
  segments_.clear();
  edit_mode_ = EM_NONE;
  selected_handle_ = CN_NONE;
}

bool CZuObject::IfLineStyleUsed(int) const { return false; }

CZuMap* CZuObject::GetMap() const { return layer_ ? layer_->GetMap() : nullptr; }

CZuMapFile* CZuObject::GetMapFile() const { return layer_ ? layer_->GetMapFile() : nullptr; }

const CCoordTranslator& CZuObject::GetTranslator() const {
  static const CCoordTranslator kUnit;
  CZuMap* map = GetMap();
  return map ? map->GetTranslator() : kUnit;
}

bool CZuObject::IsSelected() const { return layer_ && layer_->IsSelected(this); }

void CZuPropertyManager::Set(const std::string& name, const std::string& value) {
  for (auto& p : props_)
    if (p.first == name) {
      p.second = value;
      return;
    }
  props_.emplace_back(name, value);
}

std::string CZuPropertyManager::Get(const std::string& name) const {
  for (const auto& p : props_)
    if (p.first == name) return p.second;
  return {};
}

bool CZuPropertyManager::Has(const std::string& name) const {
  return std::any_of(props_.begin(), props_.end(), [&](const auto& p) { return p.first == name; });
}

void CZuObject::DuplicateSegment(CZuObject* target) const {
  if (target && target != this) target->segments_ = segments_;
}

}  // namespace davodu
