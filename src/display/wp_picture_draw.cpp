// The picture kit: drawing the blocks.
#include <algorithm>

#include "davodu/display/wp_picture.h"
#include "davodu/host/graphics/dc.h"
#include "davodu/host/graphics/graph_tool.h"
#include "davodu/host/objects/zu_layer.h"
#include "davodu/host/objects/zu_map.h"
#include "davodu/host/objects/zu_map_file.h"
#include "davodu/host/objects/zu_object.h"

namespace davodu {

void CWpPicture::Draw(CDC* dc, CView* view, CRect* clip, CRect* done) {
  if (!visible_) return;
  fit_pending_.clear();
  CWpInWell::Draw(dc, view, clip, done);
  DrawTitle(dc, view, clip, done);
  if (!segs_.empty()) {
    // A block reaching beyond the depth range shows the part inside it.
    const CClipTool& tool = AfxGetClipTool();
    const int level = tool.SaveDC(dc);
    tool.SetClip(dc, BodyDraw());
    for (const auto& s : segs_) DrawBlock(dc, *s);
    tool.AbortClip(dc, level);
  }
  border_flags_[3] = border_flags_[4] = 0;
  DrawBorder(dc, view, clip, done);
}

void CWpPicture::DrawBlock(CDC* dc, CgPicSegment& seg) {
  // The block keeps to the column: its left on the kit's left edge, its
  // right not beyond the right edge.
  seg.left = map_nodes_[0].x;
  seg.right = std::min(seg.right, map_nodes_[1].x);
  const double y0 = map_nodes_[0].y, y10 = map_nodes_[10].y;
  if (seg.top_y < y10 || seg.bottom_y > y0 + 0.1) return;  // wholly outside the body
  const CRect rect =
      GetTranslator().MapToDraw(FLOATRECT{seg.left, seg.top_y, seg.right, seg.bottom_y}).Normalized();
  if (seg.IsMapPicture())
    DrawMapPicture(dc, seg, rect);
  else
    seg.GetBitmap().Draw(dc, rect);
  if (seg.active) DrawHandle(dc, seg);
}

// The map picture's anchor (the centre of its map, less the block's offset)
// lands on the block's centre, at the map's own zoom; what lies outside the
// block is clipped.
void CWpPicture::DrawMapPicture(CDC* dc, CgPicSegment& seg, const CRect& rect) {
  CZuMap* map = seg.GetMapDocument()->GetActiveMap();
  if (!map || rect.IsEmpty()) return;
  const FLOATRECT m = map->GetMapRect();
  const FLOATPOINT anchor{(m.left + m.right) / 2 - seg.deta_x, (m.top + m.bottom) / 2 - seg.deta_y};
  const double cx = (rect.left + rect.right) / 2.0, cy = (rect.top + rect.bottom) / 2.0;
  // The map's zoom follows the chart's, scaled by the block's base zoom.
  const double zoom = seg.base_zoom * GetTranslator().zoom();
  map->SetZoomFactor(zoom);
  map->SetOrigin(FLOATPOINT{anchor.x - cx / zoom, anchor.y - cy / zoom});
  const CClipTool& tool = AfxGetClipTool();
  const int level = tool.SaveDC(dc);
  tool.SetClip(dc, rect);
  for (int l = 0; l < map->GetLayerCount(); ++l) {
    for (CZuObject* obj : map->GetLayer(l)->GetObjectList()) {
      obj->BuildControlNodePointArray();
      obj->Draw(dc, nullptr, nullptr, nullptr);
    }
  }
  tool.AbortClip(dc, level);
}

void CWpPicture::DrawHandle(CDC* dc, const CgPicSegment& seg) {
  const CCoordTranslator& tr = GetTranslator();
  ZULOGPEN pen;
  pen.style = kPenMarkHandle;
  pen.color = 0xFF0010;
  pen.width = 50;
  pen.rop = kRopCopy;
  const int half = AfxGetNodeRectWidth() / 2;
  const int cx = tr.MapXToDrawX((seg.left + seg.right) / 2);
  const int cy = tr.MapYToDrawY((seg.top_y + seg.bottom_y) / 2);
  const int top = tr.MapYToDrawY(seg.top_y), bottom = tr.MapYToDrawY(seg.bottom_y);
  const int right = tr.MapXToDrawX(seg.right);
  const CLineTool& line = AfxGetLineTool();
  for (const CPoint p : {CPoint{cx, top}, CPoint{cx, bottom}, CPoint{right, cy}})
    line.DrawRect(dc, CRect{p.x - half, p.y + half, p.x + half, p.y - half}, pen, zoom_);
  pen.style = kPenMarkPicture;
  pen.color = 0;
  pen.width = 0;
  line.DrawRect(dc, tr.MapToDraw(FLOATRECT{seg.left, seg.top_y, seg.right, seg.bottom_y}), pen, zoom_);
}

void CWpPicture::DrawSelectedMark(CDC* dc, CView*) { DrawContentMark(dc, true); }

}  // namespace davodu
