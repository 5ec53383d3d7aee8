#include "davodu/host/objects/chart_view.h"

#include "davodu/host/objects/zu_layer.h"
#include "davodu/host/objects/zu_map.h"
#include "davodu/host/objects/zu_object.h"

namespace davodu {

ChartView::ChartView(CZuMapFile* document, CDC* dc) : CView(document), dc_(dc) {}

CZuObject* ChartView::ObjectAt(CPoint point) const {
  CZuMap* map = GetDocument() ? GetDocument()->GetActiveMap() : nullptr;
  if (!map) return nullptr;
  for (int i = map->GetLayerCount() - 1; i >= 0; --i) {
    const std::vector<CZuObject*>& objects = map->GetLayer(i)->GetObjectList();
    for (auto it = objects.rbegin(); it != objects.rend(); ++it)
      if (CZuObject* hit = (*it)->HitTest(point)) return hit;
  }
  return nullptr;
}

CZuObject* ChartView::LButtonDown(CPoint point, unsigned flags) {
  captured_ = ObjectAt(point);
  if (!captured_) return nullptr;
  if (CZuLayer* layer = captured_->GetLayer()) {
    layer->ClearSelection();
    layer->SetSelectedObject(captured_);
  }
  captured_->OnLButtonDown(this, dc_, flags, point);
  return captured_;
}

void ChartView::MouseMove(CPoint point, unsigned flags) {
  if (captured_) captured_->OnMouseMove(this, dc_, flags, point);
}

void ChartView::LButtonUp(CPoint point, unsigned flags) {
  CZuObject* object = captured_;
  captured_ = nullptr;
  if (object) object->OnLButtonUp(this, dc_, flags, point);
  ReleaseCapture();
}

int ChartView::LButtonDblClk(CPoint point, unsigned flags) {
  CZuObject* object = ObjectAt(point);
  return object ? object->OnLButtonDblClk(this, dc_, flags, point) : 0;
}

std::vector<MenuItem> ChartView::RightClick(CPoint point, unsigned flags) {
  CZuMapFile* doc = GetDocument();
  menu_owner_ = nullptr;
  if (!doc) return {};
  doc->ClearMenu();
  menu_owner_ = ObjectAt(point);
  if (!menu_owner_) return {};
  menu_owner_->OnRButtonDown(this, dc_, flags, point);
  return doc->GetMenu();
}

int ChartView::Command(unsigned id) {
  CZuObject* owner = menu_owner_;
  menu_owner_ = nullptr;  // the command may delete it
  if (!owner) return 0;
  if (captured_ == owner) captured_ = nullptr;
  return owner->OnCommand(this, dc_, id, 0);
}

}  // namespace davodu
