#include "davodu/host/objects/zu_layer.h"

#include <algorithm>

#include "davodu/host/objects/object_factory.h"
#include "davodu/host/objects/zu_map.h"
#include "davodu/host/objects/zu_object.h"

namespace davodu {

CZuLayer::CZuLayer(CZuMap* map, std::string name) : map_(map), name_(std::move(name)) {}

CZuLayer::~CZuLayer() { DeleteAllObjects(); }

CZuMapFile* CZuLayer::GetMapFile() const { return map_ ? map_->GetMapFile() : nullptr; }

double CZuLayer::GetZoomFactor() const { return map_ ? map_->GetZoomFactor() : 1.0; }

void CZuLayer::AddObject(CZuObject* object) {
  if (!object || std::find(objects_.begin(), objects_.end(), object) != objects_.end()) return;
  objects_.push_back(object);
  object->SetLayer(this);
  object->SetZoomFactor(GetZoomFactor());
}

bool CZuLayer::RemoveObject(CZuObject* object) {
  auto it = std::find(objects_.begin(), objects_.end(), object);
  if (it == objects_.end()) return false;
  objects_.erase(it);
  RemoveSelectedObject(object);
  return true;
}

void CZuLayer::DeleteObject(CZuObject* object) {
  if (RemoveObject(object)) AfxGetObjectFactory()->DeleteObject(object);
}

void CZuLayer::DeleteAllObjects() {
  selected_.clear();
  while (!objects_.empty()) {
    CZuObject* last = objects_.back();
    objects_.pop_back();
    AfxGetObjectFactory()->DeleteObject(last);
  }
}

void CZuLayer::SetSelectedObject(CZuObject* object) {
  if (object && !IsSelected(object)) selected_.push_back(object);
}

void CZuLayer::RemoveSelectedObject(CZuObject* object) {
  selected_.erase(std::remove(selected_.begin(), selected_.end(), object), selected_.end());
}

void CZuLayer::ClearSelection() { selected_.clear(); }

bool CZuLayer::IsSelected(const CZuObject* object) const {
  return std::find(selected_.begin(), selected_.end(), object) != selected_.end();
}

}  // namespace davodu
