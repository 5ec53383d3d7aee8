// CZuObjectMultiText: the host's multi-line text object, which also serves
// as the in-place text editor of the kits that hold text.
//
// The object holds a text (GBK, lines separated by "\n") inside a map
// rectangle, drawn with a font at its zoom. A double click starts editing:
// a host then hands the typed text in (SetString, InsertText, Backspace)
// and reads it back (GetString) when the owner ends the edit (DisableEdit).
// The object is not stored in documents; an owner that uses it as its
// editor keeps the text itself.
#ifndef DAVODU_HOST_OBJECTS_ZU_OBJECT_MULTI_TEXT_H_
#define DAVODU_HOST_OBJECTS_ZU_OBJECT_MULTI_TEXT_H_

#include <string>

#include "davodu/host/graphics/styles.h"
#include "davodu/host/objects/zu_object.h"
#include "davodu/host/util/types.h"

namespace davodu {

class CZuObjectMultiText : public CZuObject {
  DAVODU_DECLARE_DYNCREATE(CZuObjectMultiText)

 public:
  explicit CZuObjectMultiText(CZuLayer* layer);

  // --- Host object slots.
  // The text in its rectangle, clipped to it.
  void Draw(CDC* dc, CView* view, CRect* clip, CRect* done) override;
  // While editing, a frame around the rectangle (a view's mark).
  void DrawSelectedMark(CDC* dc, CView* view) override;
  // Starts editing; returns 1.
  int OnLButtonDblClk(CView* view, CDC* dc, unsigned flags, CPoint point) override;
  // Inside the rectangle.
  CZuObject* HitTest(CPoint point) override;
  void BuildControlNodePointArray() override;
  void Clear() override;

  // --- Text.
  const std::string& GetString() const { return text_; }
  void SetString(std::string gbk_text) { text_ = std::move(gbk_text); }
  // Typing while editing: text appended at the end; the last character
  // (a two-byte GBK character whole) removed. Nothing when not editing.
  void InsertText(const std::string& gbk_text);
  void Backspace();

  // --- Place and look.
  // The rectangle (map units); its draw twin follows the layer's map.
  void SetMapRect(const FLOATRECT& rect);
  // The draw rectangle of the text.
  CRect GetRect() const { return draw_rect_; }
  const ZULOGFONT& GetLogFont() const { return font_; }
  void SetLogFont(const ZULOGFONT& font) { font_ = font; }
  // The colour the editor shows its text in.
  COLORREF GetColor() const { return color_; }
  void SetColor(COLORREF color) { color_ = color; }
  // Horizontal and vertical alignment codes of the text tool.
  void SetAlign(int align_h, int align_v) {
    align_h_ = align_h;
    align_v_ = align_v;
  }

  // --- Editing.
  bool IsEditing() const { return editing_; }
  void EnableEdit() { editing_ = true; }
  void DisableEdit() { editing_ = false; }

 protected:
  void Initialize();

 private:
  std::string text_;
  ZULOGFONT font_;
  COLORREF color_ = 0;
  int align_h_ = 0;
  int align_v_ = 0;
  bool editing_ = false;
};

}  // namespace davodu

#endif  // DAVODU_HOST_OBJECTS_ZU_OBJECT_MULTI_TEXT_H_
