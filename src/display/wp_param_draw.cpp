// The parameter column kit: drawing the boxes, symbols and values.
#include <bit>
#include <cmath>
#include <numbers>

#include "davodu/data/wd_mgr.h"
#include "davodu/display/wp_param.h"
#include "davodu/host/graphics/dc.h"
#include "davodu/host/graphics/graph_tool.h"
#include "davodu/host/objects/template_manager.h"
#include "davodu/host/objects/zu_map.h"
#include "davodu/host/util/gbk.h"
#include "davodu/store/well_catalogs.h"
#include "davodu/store/well_data_manager.h"
#include "davodu/well/wp_well.h"

namespace davodu {

namespace {

// Looks a value up in the template of that name and type.
bool Lookup(const std::string& name, int type, const std::string& value, double* result) {
  if (name.empty()) return false;
  const CGeneralTemplate* t = CTemplateManagerFacade::Instance()->GetGeneralTemplate(name, type);
  return t && t->Map(value, result);
}

bool LookupText(const std::string& name, const std::string& value, std::string* result) {
  if (name.empty()) return false;
  const CGeneralTemplate* t =
      CTemplateManagerFacade::Instance()->GetGeneralTemplate(name, kTemplateFontStyle);
  return t && t->MapText(value, result);
}

// The stratification level a table of stratum numbers names, or -1.
int StratumLevel(const std::string& table) {
  const char* const levels[] = {"一级分层", "二级分层", "三级分层", "四级分层", "五级分层"};
  for (int i = 0; i < 5; ++i)
    if (table.find(Gbk(levels[i])) != std::string::npos) return i;
  return -1;
}

}  // namespace

void CWpParam::Draw(CDC* dc, CView* view, CRect* clip, CRect* done) {
  if (!visible_) return;
  CWpInWell::Draw(dc, view, clip, done);
  DrawTitle(dc, view, clip, done);
  if (!segs_.empty()) {
    // Nothing of a value leaves the column's body.
    const CClipTool& tool = AfxGetClipTool();
    const int level = tool.SaveDC(dc);
    tool.SetClip(dc, BodyDraw());
    DrawBoxes(dc);
    DrawBlankSpace(dc, view);
    DrawTexts(dc);
    tool.AbortClip(dc, level);
  }
  border_flags_[3] = border_flags_[4] = 0;
  DrawBorder(dc, view, clip, done);
}

void CWpParam::DrawSelectedMark(CDC* dc, CView*) { DrawContentMark(dc, true); }

void CWpParam::DrawBoxes(CDC* dc) {
  const CCoordTranslator& tr = GetTranslator();
  const CLineTool& line = AfxGetLineTool();
  for (const auto& seg : segs_) {
    const CgParamSegment& s = *seg;
    if (s.number == -1 || !(s.top_depth < bottom_depth_ && s.bottom_depth > top_depth_)) continue;
    const CRect r = tr.MapToDraw(FLOATRECT{s.left, s.top_y, s.right, s.bottom_y});
    const int cx = r.left + (r.right - r.left) / 2, cy = r.top + (r.bottom - r.top) / 2;
    double v = 0;
    if (fill_visible_) {
      ZULOGBRUSH brush = rect_fill_brush_;
      if (Lookup(templates_[kRectTypeTemp], kTemplateFillStyle, s.value, &v))
        brush.style = static_cast<std::int32_t>(v);
      if (Lookup(templates_[kRectSizeTemp], kTemplateSize, s.value, &v))
        brush.word3 = std::bit_cast<std::int32_t>(static_cast<float>(v));
      if (!s.value.empty()) {
        if (Lookup(templates_[kRectBColorTemp], kTemplateColor, s.value, &v))
          brush.word2 = static_cast<std::int32_t>(v);
        if (Lookup(templates_[kRectIColorTemp], kTemplateColor, s.value, &v))
          brush.color = static_cast<COLORREF>(v);
      }
      AfxGetFillTool().FillRect(dc, r, brush, zoom_);
    }
    ZULOGPEN pen = line_type_;
    if (Lookup(templates_[kLineTypeTemp], kTemplateLineStyle, s.value, &v))
      pen.style = static_cast<std::int32_t>(v);
    if (Lookup(templates_[kLineSizeTemp], kTemplateSize, s.value, &v)) pen.width = static_cast<float>(v);
    if (Lookup(templates_[kLineColorTemp], kTemplateColor, s.value, &v)) pen.color = static_cast<COLORREF>(v);
    const struct {
      Line line;
      CPoint a, b;
    } lines[] = {{kTopHLine, {r.left, r.top}, {r.right, r.top}},
                 {kMidHLine, {r.left, cy}, {r.right, cy}},
                 {kBottomHLine, {r.left, r.bottom}, {r.right, r.bottom}},
                 {kLeftVLine, {r.left, r.top}, {r.left, r.bottom}},
                 {kMidVLine, {cx, r.top}, {cx, r.bottom}},
                 {kRightVLine, {r.right, r.top}, {r.right, r.bottom}}};
    for (const auto& l : lines)
      if (lines_[l.line]) line.DrawLine(dc, l.a, l.b, pen, zoom_);
    if (s.active) {
      ZULOGPEN handle;
      handle.style = kPenMarkHandle;
      handle.color = 0xFF0010;
      handle.width = 50;
      const int half = AfxGetNodeRectWidth() / 2;
      for (int y : {r.top, r.bottom})
        line.DrawRect(dc, CRect{cx - half, y + half, cx + half, y - half}, handle, zoom_);
    }
  }
}

void CWpParam::DrawTexts(CDC* dc) {
  const CCoordTranslator& tr = GetTranslator();
  for (const auto& seg : segs_) {
    const CgParamSegment& s = *seg;
    if (s.number == -1 || !(s.top_depth < bottom_depth_ && s.bottom_depth > top_depth_)) continue;
    const CRect r = tr.MapToDraw(FLOATRECT{s.left, s.top_y, s.right, s.bottom_y});
    const int cx = r.left + (r.right - r.left) / 2;
    const int cy = r.top + (r.bottom - r.top) / 2;
    const int mx = (r.left + r.right) / 2, my = (r.top + r.bottom) / 2;
    ZULOGPOINT symbol = point_type_;
    double v = 0;
    if (Lookup(templates_[kPointTypeTemp], kTemplatePointStyle, s.value, &v))
      symbol.style = static_cast<std::int32_t>(v);
    if (Lookup(templates_[kPointSizeTemp], kTemplateSize, s.value, &v)) symbol.size = static_cast<float>(v);
    if (Lookup(templates_[kPointColorTemp], kTemplateColor, s.value, &v))
      symbol.color = static_cast<COLORREF>(v);
    const CPointTool& points = AfxGetPointTool();
    if (points_[kTopPoint]) points.Draw(dc, CPoint{cx, r.top}, symbol, zoom_);
    if (points_[kMidPoint]) points.Draw(dc, CPoint{mx, my}, symbol, zoom_);
    if (points_[kBottomPoint]) points.Draw(dc, CPoint{cx, r.bottom}, symbol, zoom_);

    const bool top = texts_[kTopHText], bottom = texts_[kBottomHText];
    const bool left = texts_[kLeftVText], right = texts_[kRightVText];
    if (top) DrawValue(dc, s, CPoint{cx, r.top});
    if (bottom) DrawValue(dc, s, CPoint{cx, r.bottom});
    if (left) DrawValue(dc, s, CPoint{r.left, cy});
    if (right) DrawValue(dc, s, CPoint{r.right, cy});
    if (texts_[kMidHText] || texts_[kMidVText]) DrawValue(dc, s, CPoint{mx, my});
    if (top && left) DrawValue(dc, s, CPoint{r.left, r.bottom});
    if (top && right) DrawValue(dc, s, CPoint{r.right, r.bottom});
    if (bottom && left) DrawValue(dc, s, CPoint{r.left, r.top});
    if (bottom && right) DrawValue(dc, s, CPoint{r.right, r.top});
  }
}

void CWpParam::DrawValue(CDC* dc, const CgParamSegment& s, CPoint at) {
  // The kit's font, with what the value's templates choose.
  ZULOGFONT font = text_font_;
  std::string face;
  if (LookupText(templates_[kTextTypeTemp], s.value, &face)) font.SetFaceName(face.substr(0, 63));
  double v = 0;
  if (Lookup(templates_[kTextSizeTemp], kTemplateSize, s.value, &v)) font.height = static_cast<float>(v);
  if (Lookup(templates_[kTextColorTemp], kTemplateColor, s.value, &v)) font.color = static_cast<COLORREF>(v);

  // A stratum number of the chart's well shows the stratum's alias.
  const int level = data_type_ == Gbk("当前井") && data_field_ == Gbk("层号") ? StratumLevel(data_table_) : -1;
  if (level >= 0 && gateway_) {
    auto* adapter = dynamic_cast<WDMgrAdapter*>(gateway_);
    CWellDataManager* mgr = adapter ? adapter->GetManager() : nullptr;
    const auto strata = mgr ? mgr->GetStratumManager() : nullptr;
    const std::string alias = strata ? strata->GetAlias(level, s.value) : std::string();
    if (!alias.empty()) {
      DrawHorizontalTextBlock(dc, at.x, at.y, alias, font, zoom_);
      return;
    }
  }
  // Values of intervals outside the well's depth range are not written.
  CWpWell* well = GetWell();
  if (well) {
    constexpr float kEps = 1.1920929e-7f;
    if (s.top_depth < well->GetTopDepth() - kEps || s.bottom_depth > well->GetBottomDepth() + kEps) return;
  }
  // Numbers show DigitNum decimals, the column's own values as well as
  // those read from a table.
  const std::string text = Str2Num(s.value);
  if (text_dir_ == STRDIR_HORIZONTAL) {
    DrawHorizontalTextBlock(dc, at.x, at.y, text, font, zoom_);
  } else if (text_dir_ == STRDIR_VERTICAL) {
    if (angle_type_ == 0) {
      DrawVerticalTextBlock(dc, at.x, at.y, text, font, zoom_);
    } else {
      const double angle = angle_type_ == 1 ? std::numbers::pi / 2 : 3 * std::numbers::pi / 2;
      AfxGetTextTool().DrawText(dc, at, text, font, zoom_, angle, kAlignCenter, kAlignMiddle);
    }
  }
}

}  // namespace davodu
