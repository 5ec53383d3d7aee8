#include "davodu/kits/wp_in_well.h"

#include <algorithm>

#include "davodu/host/objects/zu_map_file.h"
#include "davodu/host/util/gbk.h"
#include "davodu/kits/content_kinds.h"
#include "davodu/kits/wp_content.h"

namespace davodu {

DAVODU_IMPLEMENT_DYNCREATE(CWpInWell, CWpKit)

CWpInWell::CWpInWell(CZuLayer* layer) : CWpKit(layer) { Initialize(); }

void CWpInWell::Initialize() {
  class_name_ = "CWpInWell";
  name_ = type_name_ = title_text_ = "WpInWell";
  title_font_.SetFaceName(Gbk("宋体"));
  title_font_.color = 0x800000;
  title_font_.height = 600;
  title_font_.width_ratio = 0.42f;
  border_pen_.width = 30;
}

void CWpInWell::Clear() {
  CWpKit::Clear();
  Initialize();
}

void CWpInWell::ResetClient(CWpKit* child) {
  if (FindChild(child) < 0) return;
  const float head = child->GetHeadHeight();
  if (head > client_height_) {
    client_height_ = head;
    return;
  }
  float tallest = 0;
  for (const CWpKit* c : children_) tallest = std::max(tallest, c->GetHeadHeight());
  client_height_ = tallest;
}

CZuObject* CWpInWell::HitTest(CPoint point) {
  if (CZuObject* hit = CWpKit::HitTest(point)) return hit;
  const CPoint* n = draw_nodes_;
  if (point.y >= n[0].y)
    return (n[0].x <= point.x && point.x <= n[5].x && point.y <= n[5].y) ? this : nullptr;
  return (n[0].x <= point.x && point.x <= n[11].x && point.y >= n[11].y) ? this : nullptr;
}

int CWpInWell::OnRButtonDown(CView* view, CDC* dc, unsigned flags, CPoint point) {
  CZuMapFile* doc = GetMapFile();
  if (doc && parent_ && !IsKindOf(&CWpContent::classCWpContent)) {
    if (!doc->GetMenu().empty()) doc->AddMenu(0, "");
    const std::string suffix = Gbk("道");
    for (int i = 1; i <= 22; ++i)
      doc->AddMenu(kCmdInWellTrackAFirst + i - 1, ContentKindName(i) + suffix);
    for (int i = 1; i <= 22; ++i)
      doc->AddMenu(kCmdInWellTrackBFirst + i - 1, ContentKindName(i) + suffix);
  }
  return CWpKit::OnRButtonDown(view, dc, flags, point);
}

int CWpInWell::OnCommand(CView* view, CDC* dc, unsigned id, long param) {
  return CWpKit::OnCommand(view, dc, id, param);
}

}  // namespace davodu
