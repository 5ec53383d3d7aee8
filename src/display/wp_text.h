// CWpText: free text in a track, as a stack of text blocks.
//
// Each block occupies a depth interval of the column and holds a multi-line
// text drawn inside it with the kit's font and alignment, between two
// boundary lines across the column. Blocks never overlap; the list runs from
// the top down. The user creates a block by dragging in the body (with Ctrl
// held at the press the block starts at the bottom of the block above),
// moves and resizes the active block by its middle and its two handles,
// types into it with the in-place editor after a double click, and deletes
// it from the context menu.
//
// A block keeps its depths; its map Y values follow them at every layout.
// Records (after the content section): 153 "AlignHV" (horizontal and
// vertical alignment, transparent flag, font, background colour), 153
// "TextBoundary" (the boundary pen), one 153 per block from the top (text,
// top Y, bottom Y, top depth, bottom depth), then 80.
//
// Sources: wp_text.cpp (blocks, geometry), wp_text_io.cpp (records),
// wp_text_draw.cpp (drawing), wp_text_gestures.cpp (mouse),
// wp_text_menu.cpp (menu and commands), wp_text_export.cpp (the table of
// blocks).
#ifndef DAVODU_DISPLAY_WP_TEXT_H_
#define DAVODU_DISPLAY_WP_TEXT_H_

#include <memory>
#include <string>
#include <vector>

#include "davodu/host/objects/zu_object_multi_text.h"
#include "davodu/kits/wp_content.h"

namespace davodu {

class CgEdit;

// What the current mouse drag does.
enum SEG_PICKMODE : int {
  SPM_NONE = 0,
  SPM_CREATE = 1,   // creates a block
  SPM_MOVE = 4,     // moves the active block
  SPM_TOP = 5,      // moves its top
  SPM_BOTTOM = 6,   // moves its bottom
};

// One text block, owned by its text kit.
struct CgTextSegment {
  int number = -1;       // unique within the kit; -1 is never a live block
  bool active = false;   // shows its handles
  bool editing = false;  // the editor holds its text
  float left = 0, right = 0;         // map X of the sides: the kit's
  float top_y = 0, bottom_y = 0;     // map Y
  float top_depth = 0, bottom_depth = 0;
  CRect editor_rect;                 // reported by the editor when editing ended
  CgEdit* editor = nullptr;
  std::string text;                  // GBK, lines separated by "\n"
  CWpKit* owner = nullptr;
  // Set for a block read from a document that stored only its map Y: the
  // depths are derived from them once the kit is laid out again.
  bool depths_from_y = false;
};

// The kit's in-place editor: the host's multi-line text object, never drawn
// by the host's object drawing (the kit draws the blocks), pointing to the
// block being edited.
class CgEdit : public CZuObjectMultiText {
 public:
  explicit CgEdit(CZuLayer* layer) : CZuObjectMultiText(layer) {}
  void Draw(CDC*, CView*, CRect*, CRect*) override {}
  void DrawSelectedMark(CDC*, CView*) override {}
  CgTextSegment* GetSegment() const { return segment_; }
  void SetSegment(CgTextSegment* segment) { segment_ = segment; }

 private:
  CgTextSegment* segment_ = nullptr;
};

class CWpText : public CWpContent {
  DAVODU_DECLARE_DYNCREATE(CWpText)

 public:
  static constexpr unsigned kCmdDeleteBlock = 7586;  // "删除该段"

  explicit CWpText(CZuLayer* layer);
  ~CWpText() override;

  // --- Host object slots.
  void SetLayer(CZuLayer* layer) override;
  void Draw(CDC* dc, CView* view, CRect* clip, CRect* done) override;
  void DrawSelectedMark(CDC* dc, CView* view) override;
  int OnLButtonDown(CView* view, CDC* dc, unsigned flags, CPoint point) override;
  int OnLButtonUp(CView* view, CDC* dc, unsigned flags, CPoint point) override;
  int OnMouseMove(CView* view, CDC* dc, unsigned flags, CPoint point) override;
  int OnLButtonDblClk(CView* view, CDC* dc, unsigned flags, CPoint point) override;
  int OnRButtonDown(CView* view, CDC* dc, unsigned flags, CPoint point) override;
  int OnCommand(CView* view, CDC* dc, unsigned id, long param) override;
  void DuplicateAttribute(CZuObject* target) override;
  void Amplify(FLOATPOINT centre, double fx, double fy) override;
  int ReadFromFile(CZuMFile* file) override;
  int SaveToFile(CZuMFile* file) override;
  void Clear() override;
  bool IfLineStyleUsed(int code) const override;

  // --- Kit slots.
  int GetWpKitType() const override { return WPKIT_TEXT; }
  void ResetData() override {}
  void ExportContent() override;
  int IsValid() override { return GetSegCount() > 0 ? 1 : 0; }
  void BuildBody() override;

  // --- Blocks.
  // Creates a block between two map Y values (top above bottom), placed in
  // the list by its height; with activate it becomes the active block.
  // Always true.
  bool AddSegment(const std::string& text, double top_y, double bottom_y, bool activate);
  // Creates a block at a depth interval, for callers that know depths (a
  // template) before the chart is laid out. False when bottom is not below
  // top or the block would overlap another.
  bool AddSegmentAtDepth(const std::string& text, float top_depth, float bottom_depth);
  // Whether a new block may take the interval from top to bottom (map Y):
  // inside the body, at least two handle widths tall, overlapping no block
  // (touching within 1 map unit is allowed).
  bool ProbeAddSegment(double top, double bottom);
  // Whether the active block may take the interval from top to bottom.
  bool TryModifySegment(double top, double bottom);
  // Activates block n (closing the previous one's editing).
  void ActivateSegment(int n);
  // Moves block n by dy map units, within its neighbours and the body.
  void MoveSegment(int n, double dy);
  // Moves the top (mode 5) or bottom (mode 6) of block n by dy draw units.
  void ResizeSegment(int n, int dy, int mode);
  // Deletes block n; the active number becomes -1 when it was active.
  void DeleteSegment(int n);
  // The number of the block under a draw point, -1 for none.
  int GetSegment(CPoint point);
  // What a press at a draw point does (SEG_PICKMODE), activating the block
  // under it when that is not the active one.
  int PickSeg(CPoint point);
  // The map Y a Ctrl-drag starting at a draw point snaps its top to.
  double GetNearestTop(CPoint point);
  // Keeps every block's sides on the body's sides.
  void LimitSegments();

  bool SegActive() const { return active_ != -1 && FindSeg(active_) != nullptr; }
  int GetActiveSeg() const { return active_; }
  CgTextSegment* FindSeg(int number) const;
  float GetActiveSegTopDepth() const;
  float GetActiveSegBotDepth() const;
  bool SetActiveSegTopDepth(float depth);
  bool SetActiveSegBotDepth(float depth);
  const std::vector<std::unique_ptr<CgTextSegment>>& GetSegList() const { return segs_; }
  int GetSegCount() const { return static_cast<int>(segs_.size()); }
  int GetPickMode() const { return pick_mode_; }

  // --- Look.
  const ZULOGFONT& GetTextFont() const { return font_; }
  // Copies the font; the editor shows its colour.
  void SetTextFont(const ZULOGFONT& font);
  // The colour a block is filled with when the kit is not transparent.
  COLORREF GetBackColor() const { return back_color_; }
  void SetBackColor(COLORREF color) { back_color_ = color; }
  void SetEditTextColor(unsigned color);
  void SetEditBkColor(unsigned color);
  // "左对齐" (left), "居中" (centre) or "右对齐" (right).
  const std::string& GetTextAlignH() const { return align_h_; }
  void SetTextAlignH(const std::string& align) { align_h_ = align; }
  // "顶对齐" (top), "居中" (centre) or anything else for the bottom.
  const std::string& GetTextAlignV() const { return align_v_; }
  void SetTextAlignV(const std::string& align) { align_v_ = align; }
  bool IsTransparent() const { return transparent_; }
  void SetTransparent(bool transparent) { transparent_ = transparent; }
  void SetTextBoundaryPen(const ZULOGPEN* pen) {
    if (pen) boundary_pen_ = *pen;
  }
  void GetTextBoundaryPen(ZULOGPEN& pen) const { pen = boundary_pen_; }
  const ZULOGPEN& GetTextBoundaryPen() const { return boundary_pen_; }
  CgEdit* GetEditPtr() const { return editor_.get(); }
  void SetView(CView* view) {
    view_ = view;
    view_set_ = true;
  }

 protected:
  void Initialize();
  std::string KindLabel() const override;

 private:
  int IndexOf(int number) const;
  CgTextSegment* ActiveSeg() const { return FindSeg(active_); }
  // Map length of AfxGetNodeRectWidth().
  double NodeLength() const;
  void CreateEditor();
  // Ends the editing of every block: the editor's text goes back to the
  // block it holds.
  void CloseEditing();
  void ClearContent();
  void UpdateEditor();
  void DrawBody(CDC* dc, CgTextSegment& seg);
  void OnLButtonDownInBody(CView* view, CDC* dc, unsigned flags, CPoint point);
  void OnMouseMoveInBody(CView* view, CDC* dc, unsigned flags, CPoint point);
  void OnLButtonUpInBody(CView* view, CDC* dc, unsigned flags, CPoint point);
  void InvalidateBody();

  // Fields, in declaration order.
  int pick_mode_;
  int active_;
  CPoint press_;
  CPoint last_;
  bool button_down_;
  ZULOGFONT font_;
  COLORREF back_color_;
  std::string align_h_;
  std::string align_v_;
  bool transparent_;
  bool drag_started_;
  std::vector<std::unique_ptr<CgTextSegment>> segs_;
  int last_number_;
  bool view_set_;
  std::unique_ptr<CgEdit> editor_;
  ZULOGPEN boundary_pen_;
  bool snap_;
  double snapped_top_;
  CView* view_ = nullptr;
};

}  // namespace davodu

#endif  // DAVODU_DISPLAY_WP_TEXT_H_
