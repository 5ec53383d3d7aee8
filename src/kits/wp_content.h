// CWpContent: the base of every content kit of a track (curve, depth scale,
// text, picture and the interval kits). It adds the content pen, the content
// type and the group that places the content in its track's column layout,
// draws the content title and the blank bands of fault gaps, and runs the
// gestures a user applies to a content: width and title-height drags, and
// moving it (swapping it with another content, or dropping it into another
// track).
#ifndef DAVODU_KITS_WP_CONTENT_H_
#define DAVODU_KITS_WP_CONTENT_H_

#include <string>

#include "davodu/host/graphics/dc.h"
#include "davodu/kits/wp_in_well.h"

namespace davodu {

class CWpTrack;

class CWpContent : public CWpInWell {
  DAVODU_DECLARE_DYNCREATE(CWpContent)

 public:
  explicit CWpContent(CZuLayer* layer);

  // Host object slots.
  // A plain content draws its children, client brush, frame and title.
  void Draw(CDC* dc, CView* view, CRect* clip, CRect* done) override;
  int OnLButtonUp(CView* view, CDC* dc, unsigned flags, CPoint point) override;
  int OnMouseMove(CView* view, CDC* dc, unsigned flags, CPoint point) override;
  CZuObject* HitTest(CPoint point) override;
  void DuplicateAttribute(CZuObject* target) override;
  void Amplify(FLOATPOINT centre, double fx, double fy) override;
  int ReadFromFile(CZuMFile* file) override;
  int SaveToFile(CZuMFile* file) override;
  void Clear() override;
  bool IfLineStyleUsed(int code) const override;

  // Kit slots.
  void ApplyStyle() override;
  int GetWpKitType() const override { return WPKIT_CONTENT; }
  void BuildHead() override;

  // Contents accept title font scopes 0 to 4.
  virtual void SetTtlFtScope(int scope);

  int GetType() const { return type_; }
  void SetType(int type) { type_ = type; }
  const ZULOGPEN& GetPen() const { return pen_; }
  void SetPen(const ZULOGPEN* pen) {
    if (pen) pen_ = *pen;
  }
  int GetGroup() const { return group_; }
  void SetGroup(int group) { group_ = group; }
  // True when the content's group in its track holds more than one content.
  bool IsGroup();
  double GetBodyTop() const { return map_nodes_[0].y; }
  double GetBodyBottom() const { return map_nodes_[10].y; }
  // Strictly inside the body, in draw coordinates.
  bool PtInBody(CPoint point) const;

  // Conversions through the layer map's translator.
  double LP2MP(int draw_value) const;
  FLOATPOINT LP2MP(CPoint point) const;
  int MP2LP(double map_y) const;
  CPoint MP2LP(FLOATPOINT point) const;
  CRect MP2LP(const FLOATSIZE& size) const;
  CRect MP2LP(const FLOATRECT& rect) const;

  // The blank bands left by the well's fault gaps.
  void DrawBlankSpace(CDC* dc, CView* view);
  // The content title, in the upper (and with head align 1 the lower) title band.
  void DrawTitle(CDC* dc, CView* view, CRect* clip, CRect* done);
  // The selection mark of the block-type contents (text, picture,
  // programmable, parameter columns): the frame of the head and body as a
  // view's mark and, with handles, the squares on draw nodes 5 to 9 (node 5,
  // the top right corner, in a mark of its own).
  void DrawContentMark(CDC* dc, bool handles);

  // Swaps two contents, in one track or across two.
  static void SwapWpContent(CWpContent* a, CWpContent* b);

 protected:
  void Initialize();
  // Ends a title-height drag.
  void ChangeTitleHeight(CPoint point);
  // How a content rejoins its group after a swap: 0 alone, 1 first of its
  // group, -1 a later member.
  int CalSwapGroupType(CWpContent* content);
  // Whether a drag shadow over target must be erased at point.
  bool IsEraseShadow(CWpKit* last, CWpKit* target, CPoint point);

  int type_;
  ZULOGPEN pen_;
  int group_;

 private:
  CWpTrack* ParentTrack() const;
  void EndWidthDrag(CPoint point);
  void EndMove(CPoint point);
  void DragWidth(CDC* dc, CPoint point);
  void DragTitle(CPoint point);
  void DragMove(CDC* dc, CView* view, CPoint point);
  // The kit highlighted by the move gesture (a content or a track).
  CWpKit* drop_target_ = nullptr;
};

// Text blocks: lines split at "\n", drawn centred around (x, y).
void DrawHorizontalTextBlock(CDC* dc, int x, int y, const std::string& gbk_text,
                             const ZULOGFONT& font, double zoom);
void DrawVerticalTextBlock(CDC* dc, int x, int y, const std::string& gbk_text,
                           const ZULOGFONT& font, double zoom);
// The extent of those blocks in draw units: a horizontal block measured by
// dc (or the font model without one), a vertical one by the font model.
TextSize HorizontalTextBlockSize(CDC* dc, const std::string& gbk_text, const ZULOGFONT& font,
                                 double zoom);
TextSize VerticalTextBlockSize(const std::string& gbk_text, const ZULOGFONT& font, double zoom);

}  // namespace davodu

#endif  // DAVODU_KITS_WP_CONTENT_H_
