#include "davodu/host/objects/zu_object_multi_text.h"

#include "davodu/host/graphics/graph_tool.h"
#include "davodu/host/objects/zu_map.h"

namespace davodu {

DAVODU_IMPLEMENT_DYNCREATE(CZuObjectMultiText, CZuObject)

CZuObjectMultiText::CZuObjectMultiText(CZuLayer* layer) : CZuObject(layer) { Initialize(); }

void CZuObjectMultiText::Initialize() {
  class_name_ = "CZuObjectMultiText";
  name_ = type_name_ = "ZuObjectMultiText";
  text_.clear();
  font_ = ZULOGFONT{};
  font_.height = 300;
  color_ = 0;
  align_h_ = align_v_ = 0;
  editing_ = false;
  map_rect_ = FLOATRECT{};
  draw_rect_ = CRect{};
}

void CZuObjectMultiText::Clear() {
  CZuObject::Clear();
  Initialize();
}

void CZuObjectMultiText::SetMapRect(const FLOATRECT& rect) {
  map_rect_ = rect;
  BuildControlNodePointArray();
}

void CZuObjectMultiText::BuildControlNodePointArray() {
  draw_rect_ = GetTranslator().MapToDraw(map_rect_);
}

void CZuObjectMultiText::Draw(CDC* dc, CView*, CRect*, CRect*) {
  if (!visible_) return;
  BuildControlNodePointArray();
  ZULOGFONT font = font_;
  font.color = color_;
  AfxGetTextTool().DrawTextInRect(dc, draw_rect_, text_, font, zoom_, align_h_, align_v_);
}

void CZuObjectMultiText::DrawSelectedMark(CDC* dc, CView*) {
  if (!editing_) return;
  ZULOGPEN frame;
  frame.style = kPenMarkSelection;
  frame.rop = kRopNotXor;
  AfxGetLineTool().DrawRect(dc, draw_rect_, frame, zoom_);
}

int CZuObjectMultiText::OnLButtonDblClk(CView*, CDC*, unsigned, CPoint) {
  editing_ = true;
  return 1;
}

CZuObject* CZuObjectMultiText::HitTest(CPoint point) {
  return visible_ && draw_rect_.Contains(point) ? this : nullptr;
}

void CZuObjectMultiText::InsertText(const std::string& gbk_text) {
  if (editing_) text_ += gbk_text;
}

void CZuObjectMultiText::Backspace() {
  if (!editing_ || text_.empty()) return;
  // A GBK character is one byte below 0x80 or a lead byte (0x81-0xFE) and
  // a trail byte; walk from the start to find where the last one begins.
  std::size_t last = 0;
  for (std::size_t i = 0; i < text_.size();) {
    last = i;
    const auto c = static_cast<unsigned char>(text_[i]);
    i += (c >= 0x81 && c <= 0xFE && i + 1 < text_.size()) ? 2 : 1;
  }
  text_.erase(last);
}

}  // namespace davodu
