#include "davodu/host/objects/zu_map.h"

#include <algorithm>
#include <cmath>

#include "davodu/host/objects/zu_layer.h"
#include "davodu/host/objects/zu_object.h"

namespace davodu {

namespace {

int ClampToDraw(double v) {
  if (std::isnan(v)) return 0;
  v = std::round(v);
  if (v > CCoordTranslator::kDrawLimit) return CCoordTranslator::kDrawLimit;
  if (v < -CCoordTranslator::kDrawLimit) return -CCoordTranslator::kDrawLimit;
  return static_cast<int>(v);
}

// The union of one rectangle of every visible object on every layer.
template <typename Rect>
FLOATRECT UnionOf(const std::vector<std::unique_ptr<CZuLayer>>& layers, Rect rect) {
  bool any = false;
  FLOATRECT u;
  for (const auto& layer : layers) {
    for (const CZuObject* obj : layer->GetObjectList()) {
      if (!obj->IsVisible()) continue;  // hidden objects take no room
      FLOATRECT r = rect(obj);
      double l = std::min(r.left, r.right), rt = std::max(r.left, r.right);
      double b = std::min(r.top, r.bottom), t = std::max(r.top, r.bottom);
      if (!any) {
        u = {l, t, rt, b};
        any = true;
      } else {
        u.left = std::min(u.left, l);
        u.right = std::max(u.right, rt);
        u.bottom = std::min(u.bottom, b);
        u.top = std::max(u.top, t);
      }
    }
  }
  return u;
}

}  // namespace

void CCoordTranslator::Set(FLOATPOINT origin, double zoom) {
  origin_ = origin;
  zoom_ = (std::isfinite(zoom) && zoom > 0) ? zoom : 1;
}

int CCoordTranslator::MapXToDrawX(double x) const { return ClampToDraw((x - origin_.x) * zoom_); }
int CCoordTranslator::MapYToDrawY(double y) const { return ClampToDraw((y - origin_.y) * zoom_); }
double CCoordTranslator::DrawXToMapX(int x) const { return x / zoom_ + origin_.x; }
double CCoordTranslator::DrawYToMapY(int y) const { return y / zoom_ + origin_.y; }

CRect CCoordTranslator::MapToDraw(const FLOATRECT& r) const {
  return {MapXToDrawX(r.left), MapYToDrawY(r.top), MapXToDrawX(r.right), MapYToDrawY(r.bottom)};
}

FLOATRECT CCoordTranslator::DrawToMap(const CRect& r) const {
  return {DrawXToMapX(r.left), DrawYToMapY(r.top), DrawXToMapX(r.right), DrawYToMapY(r.bottom)};
}

int CCoordTranslator::MapLengthToDraw(double length) const { return ClampToDraw(length * zoom_); }
double CCoordTranslator::DrawLengthToMap(int length) const { return length / zoom_; }

CRect CCoordTranslator::MapSizeToDraw(const FLOATSIZE& s) const {
  return {0, MapLengthToDraw(s.cy), MapLengthToDraw(s.cx), 0};
}

CZuMap::CZuMap(CZuMapFile* document) : document_(document) {}
CZuMap::~CZuMap() { ClearLayers(); }

CZuLayer* CZuMap::AddLayer(const std::string& name) {
  layers_.push_back(std::make_unique<CZuLayer>(this, name));
  return layers_.back().get();
}

CZuLayer* CZuMap::GetLayer(int i) const {
  if (i < 0 || i >= GetLayerCount()) return nullptr;
  return layers_[static_cast<std::size_t>(i)].get();
}

void CZuMap::ClearLayers() {
  // Objects may look at their layer while being destroyed: delete them
  // before the layers go.
  for (auto& layer : layers_) layer->DeleteAllObjects();
  layers_.clear();
}

FLOATRECT CZuMap::GetMapRect() const {
  return UnionOf(layers_, [](const CZuObject* obj) { return obj->GetMapRect(); });
}

FLOATRECT CZuMap::GetPaperRect() const {
  return UnionOf(layers_, [](const CZuObject* obj) { return obj->GetPaperRect(); });
}

}  // namespace davodu
