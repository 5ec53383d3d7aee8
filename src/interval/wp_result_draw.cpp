// The interpretation result kit: drawing the bands, symbols and labels.
#include "davodu/data/wd_mgr.h"
#include "davodu/host/graphics/dc.h"
#include "davodu/host/graphics/graph_tool.h"
#include "davodu/host/objects/zu_map.h"
#include "davodu/host/graphics/pattern_library.h"
#include "davodu/host/util/gbk.h"
#include "davodu/interval/wp_result.h"
#include "davodu/store/well_catalogs.h"
#include "davodu/store/well_data_manager.h"

namespace davodu {

bool CWpResult::SymbolOf(const std::string& value, ZULOGPOINT* symbol) const {
  auto* adapter = dynamic_cast<WDMgrAdapter*>(gateway_);
  CWellDataManager* mgr = adapter ? adapter->GetManager() : nullptr;
  if (!mgr) return false;
  std::shared_ptr<CSymbolManager> set =
      IsFloodingField() ? mgr->GetInundationSymbolManager() : mgr->GetOilSymbolManager();
  if (!set) return false;
  int i = set->FindData(value);
  // An oil-bearing result may be written as its symbol code.
  if (i < 0 && !IsFloodingField()) i = set->FindCode(value);
  if (i < 0) return false;
  symbol->style = set->GetStyle(i);
  symbol->color = set->GetColor(i);
  symbol->size = static_cast<float>(kPatternCellSize);
  return true;
}

void CWpResult::Draw(CDC* dc, CView* view, CRect* clip, CRect* done) {
  if (!visible_) return;
  CWpInWell::Draw(dc, view, clip, done);
  DrawTitle(dc, view, clip, done);
  const CCoordTranslator& tr = GetTranslator();
  const CLineTool& line = AfxGetLineTool();
  const auto shown = [this](const CgResultSegment& s) {
    return s.index != -1 && bottom_depth_ > s.top_depth && top_depth_ < s.bottom_depth;
  };
  const CClipTool& tool = AfxGetClipTool();
  const int level = tool.SaveDC(dc);
  tool.SetClip(dc, BodyDraw());
  for (const auto& seg : segs_) {
    const CgResultSegment& s = *seg;
    if (!shown(s)) continue;
    const CRect r = tr.MapToDraw(FLOATRECT{s.left, s.top_y, s.right, s.bottom_y});
    ZULOGBRUSH background;
    background.style = kBrushDefaultSolid;
    background.color = GetBGColor();
    AfxGetFillTool().FillRect(dc, r, background, zoom_);
    ZULOGPOINT symbol;
    if (SymbolOf(s.value, &symbol)) AfxGetPointTool().FillRect(dc, r, symbol, zoom_);
    if (divide_line_visible_) {
      line.DrawLine(dc, {r.left, r.top}, {r.right, r.top}, divide_pen_, zoom_);
      line.DrawLine(dc, {r.left, r.bottom}, {r.right, r.bottom}, divide_pen_, zoom_);
    }
    const int cx = r.left + (r.right - r.left) / 2;
    if (divide_point_visible_) {
      AfxGetPointTool().Draw(dc, {cx, r.top}, divide_point_, zoom_);
      AfxGetPointTool().Draw(dc, {cx, r.bottom}, divide_point_, zoom_);
    }
    if (s.active) {
      ZULOGPEN handle;
      handle.style = kPenMarkHandle;
      handle.color = 0xFF0010;
      handle.width = 50;
      const int half = AfxGetNodeRectWidth() / 2;
      for (int y : {r.top, r.bottom}) line.DrawRect(dc, CRect{cx - half, y + half, cx + half, y - half}, handle, zoom_);
    }
  }
  DrawBlankSpace(dc, view);
  if (label_visible_) {
    for (const auto& seg : segs_) {
      if (!shown(*seg)) continue;
      const CRect r = tr.MapToDraw(FLOATRECT{seg->left, seg->top_y, seg->right, seg->bottom_y});
      AfxGetTextTool().DrawTextInRect(dc, r, seg->value, label_font_, zoom_, kAlignCenter, kAlignMiddle);
    }
  }
  tool.AbortClip(dc, level);
  border_flags_[3] = border_flags_[4] = 0;
  DrawBorder(dc, view, clip, done);
}

}  // namespace davodu
