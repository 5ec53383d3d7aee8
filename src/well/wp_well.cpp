#include "davodu/well/wp_well.h"

#include "davodu/host/gbk.h"
#include "davodu/host/object_factory.h"
#include "davodu/well/wp_track.h"

namespace davodu {

DAVODU_IMPLEMENT_DYNCREATE(CWpWell, CWpKit)

CWpWell::CWpWell(CZuLayer* layer) : CWpKit(layer) { Initialize(); }

CWpWell::~CWpWell() { ClearChildren(); }

void CWpWell::Initialize() {
  class_name_ = "CWpWell";
  name_ = type_name_ = "WpWell";
  title_text_ = Gbk("井");
  border_flags_[2] = border_flags_[5] = border_flags_[6] = 0;
  border_flags_[9] = 1;
  constexpr float kSymbolSize = 300;
  title_height_ = title_font_.height + kSymbolSize;
  style_ = -1;
  scale_segments_.clear();
  fault_info_ = FaultInfo{};
  fault_info_.pen.style = 1006;
  fault_info_.pen.width = 20;
  shadow_rect_ = {};
}

void CWpWell::Clear() {
  CWpKit::Clear();
  Initialize();
}

void CWpWell::SetStyle(BorderStyle style, bool apply) {
  if (style == style_) return;
  style_ = style;
  if (apply) ApplyStyle();
}

void CWpWell::ScaleSegment() {
  // Without well data there are neither fault points nor sand intervals.
  fault_info_.points.clear();
  scale_segments_.clear();
}

const std::vector<ZUPOINT3D>& CWpWell::ScaleSegment(int flag, int& count) {
  if (flag == 0) ScaleSegment();
  count = static_cast<int>(scale_segments_.size());
  return scale_segments_;
}

CWpKit* CWpWell::HitChild(CPoint point) {
  if (!TotalDraw().Normalized().Contains(point)) return nullptr;
  for (CWpKit* c : children_) {
    if (!c->TotalDraw().Normalized().Contains(point)) continue;
    if (c->GetWpKitType() == WPKIT_DEPTH) return c;
    return c->HitChild(point);
  }
  return this;
}

CWpKit* CWpWell::PtInTrack(FLOATPOINT p) {
  constexpr double kTol = 0.001;
  for (CWpKit* c : children_) {
    if (c->GetWpKitType() != WPKIT_TRACK) continue;
    const FLOATPOINT& n0 = c->MapNode(0);
    const FLOATPOINT& n11 = c->MapNode(11);
    if (p.x >= n0.x - kTol && p.x <= n11.x + kTol && p.y >= n11.y - kTol && p.y <= n0.y + kTol)
      return c;
  }
  return nullptr;
}

bool CWpWell::ReadLegacyChild(CZuMFile* file, const std::string& class_name, CWpKit* child) {
  if (class_name != "CWpDepth") return false;
  CZuObjectFactory* factory = AfxGetObjectFactory();
  CZuObject* obj = factory->CreateObject("CWpTrack");
  auto* track = dynamic_cast<CWpTrack*>(obj);
  if (!track) {
    factory->DeleteObject(obj);
    return false;  // read the column as it stands
  }
  track->SetParent(this);
  // A depth column's track shows no grid and only the frame of its title.
  track->ShowScale(0);
  track->ShowDepth(0);
  track->SetBorderVisible(0, -1);
  for (int flag : {2, 5, 6}) track->SetBorderVisible(1, flag);

  child->SetParent(track);
  child->SetLayer(layer_);
  child->SetZoomFactor(zoom_);
  if (!child->ReadFromFile(file)) {
    factory->DeleteObject(child);
    factory->DeleteObject(track);
    return true;
  }
  child->SetBorderVisible(0, 2);
  track->SetWidth(child->GetWidth());
  // The track's group form gives the column the track's width, a group of
  // its own, its share of the head and a place in the draw order.
  if (track->FindChild(child) < 0) track->AddChild(child, 0);
  track->Duplicate(child);
  AddChild(track);
  return true;
}

}  // namespace davodu
