// CWpTrack: a column of the chart.
//
// The contents of a track form groups: the members of a group stand side by
// side and share the track's width; the groups are stacked as title rows in
// the track's client band, group 0 directly above the body. Every child
// carries its group number (CWpContent::GetGroup); the groups are numbered
// 0, 1, 2, ... in child order and each is a contiguous run of children. A
// child that is not a content (a sub-track) carries no number and counts as
// group 0.
//
// The contents are drawn in the track's draw order, a list naming every
// child index once (the last entry is drawn on top). The track also holds the
// grid settings of its body: depth lines, scale lines and their pens.
//
// Sources: wp_track.cpp (groups, children, draw order, copies),
// wp_track_layout.cpp (widths and group rows), wp_track_add.cpp (the Add
// operations), wp_track_io.cpp (records), wp_track_draw.cpp (drawing),
// wp_track_grid.cpp (grid settings), wp_track_gestures.cpp (gestures),
// wp_track_menu.cpp (menu and commands).
#ifndef DAVODU_WELL_WP_TRACK_H_
#define DAVODU_WELL_WP_TRACK_H_

#include <string>
#include <vector>

#include "davodu/kits/wp_in_well.h"

namespace davodu {

class CZuMapFile;
class CWpContent;
class CWpCurve;
class CWpCorelith;
class CWpSand;
class CWpSandStratum;
class CWpStratum;
class CWpSymbleCycle;
class CWpSymbleTexture;
class CWpFacies;
class CWpSymbleShoot;
class CWpShoot;
class CWpOilTest;
class CWpResult;
class CWpPicture;
class CWpParam;
class CWpText;
class CWpWaterEntry;
class CWpSidewallCore;
class CWpIntegratedCore;
class CWpLthSample;
class CWpProgram;
class CWpDepth;

class CWpTrack : public CWpInWell {
  DAVODU_DECLARE_DYNCREATE(CWpTrack)

 public:
  static constexpr int kCurveColorCount = 9;
  // Documents older than this stored no draw order.
  static constexpr double kDrawOrderVersion = 3.011;

  explicit CWpTrack(CZuLayer* layer);
  ~CWpTrack() override;

  // --- Host object slots.
  void DuplicateAttribute(CZuObject* target) override;
  void Amplify(FLOATPOINT centre, double fx, double fy) override;
  int ReadFromFile(CZuMFile* file) override;
  int SaveToFile(CZuMFile* file) override;
  void Clear() override;
  bool IfLineStyleUsed(int code) const override;

  // --- Drawing (wp_track_draw.cpp). The grid of the body comes first, then
  // the contents in draw order, the title and the frame.
  void Draw(CDC* dc, CView* view, CRect* clip, CRect* done) override;
  // The selection frame with the handles.
  void DrawSelectedMark(CDC* dc, CView* view) override { DrawSelectedMark(dc, view, 1); }
  // The selection frame, drawn not-xor so that a second drawing removes it;
  // with handles set also the squares of the edge and head handles.
  void DrawSelectedMark(CDC* dc, CView* view, int handles);

  // --- Gestures (wp_track_gestures.cpp). A drag on an edge handle resizes
  // the track (width, title band or client band, in steps of 50 map units);
  // a drag on the move handle moves the track between its siblings.
  int OnLButtonUp(CView* view, CDC* dc, unsigned flags, CPoint point) override;
  int OnMouseMove(CView* view, CDC* dc, unsigned flags, CPoint point) override;
  // --- Menu and commands (wp_track_menu.cpp). The menu offers a content of
  // every kind inside the track, then the in-well and kit menus.
  int OnRButtonDown(CView* view, CDC* dc, unsigned flags, CPoint point) override;
  int OnCommand(CView* view, CDC* dc, unsigned id, long param) override;

  // --- Kit slots.
  // The virtual forms keep the plain kit behaviour (no group is assigned)
  // and only keep the draw order naming every child once; the reader uses
  // them. Contents added by the user go through the group forms below.
  void AddChild(CWpKit* kit) override;
  void InsertChild(int index, CWpKit* kit) override;
  using CWpInWell::DeleteChild;
  void DeleteChild(CWpKit* kit) override;
  using CWpInWell::RemoveChild;
  void RemoveChild(CWpKit* kit) override;
  // Deletes every child: the draw order and the groups are emptied once,
  // not renumbered after each deletion.
  void ClearChildren() override;
  // The child whose upper title band holds the draw point, else the track
  // when the point is inside it, else null.
  CWpKit* HitChild(CPoint point) override;
  using CWpInWell::MoveChild;
  // Chooses round depth-line intervals for the depth scale, a few mm apart
  // on paper: 1:500 gives a line every 2 m, middle every 10 m, major every
  // 20 m.
  void AutoDepth() override;
  // Applies the well's style; styles above 2 also frame the left sides of
  // the client band, the title band and the body.
  void ApplyStyle() override;
  float MinWidth() override;
  float MinTitle() override;
  float MinClient() override;
  // A child changed its width: the track takes its group's width (keeping
  // its right edge when side is 0) and lays out the other groups.
  void ResetWidth(CWpKit* kit, int side) override;
  // Shares the track's width out: a child alone in its group takes the whole
  // width, the members of a group share it in proportion to their widths.
  void ResetWidth() override;
  // A child changed its title height: its group follows it, and the track's
  // client band becomes the stack of the group rows.
  void ResetClient(CWpKit* kit) override;
  // Stacks the group rows and fits them into the client band: scaled up
  // when the band is taller, squeezed when it is shorter (groups that would
  // fall below their minimum row are held at it).
  void ResetClient() override;
  void Reset() override;
  int GetWpKitType() const override { return WPKIT_TRACK; }
  void BuildHead() override;
  void DrawChildren(CDC* dc, CView* view, CRect* clip, CRect* done) override;

  // --- Children and groups.
  // Adds a content: with join set (and a group present) it joins the last
  // group, else it opens a new group on top.
  void AddChild(CWpKit* kit, int join);
  // Inserts a content at index (outside the list: appends). group_type 0
  // opens a new group there, > 0 joins the group of the child that follows,
  // < 0 the group of the child that precedes.
  void InsertChild(int index, CWpKit* kit, int group_type);
  // A content dropped at a draw point: into a new group above or below the
  // content under the point, or beside it in its group.
  void MoveChild(CWpKit* kit, CPoint point);
  // Exchanges two contents of this track: places, groups, heights, widths.
  void SwapChild(CWpContent* a, CWpContent* b);
  int GroupsCount();
  int GroupContentCount(int group) const;
  int LessGroupContentCount(int group) const;
  // Renumbers the groups 0, 1, 2, ... in the order of their first child.
  void UpdateGroup();
  // Converts the group numbers read from a document: older documents stored
  // a join flag per child.
  void InitGroup();
  // Gives every group an equal share of the client band (at least its
  // minimum row).
  void InitChildTitle();
  float GroupTitle(int group) const;
  float MinGroupTitle(int group);
  void SetGroupTitle(int group, float height);
  void AverageDivideGroupHeight();

  // --- Draw order.
  const std::vector<int>& GetDrawOrder() const { return draw_order_; }
  void GetDrawOrder(std::vector<int>& out) const { out = draw_order_; }
  // Takes a caller's list; entries naming no child and repeats are dropped,
  // children it leaves out are appended in child order.
  void SetDrawOrder(const std::vector<int>& order);
  void MoveMostFront(CWpKit* kit);
  void MoveMostBack(CWpKit* kit);
  void MoveFront(CWpKit* kit);
  void MoveBack(CWpKit* kit);
  // Menu items that move a child in the draw order, and the group divider
  // (wp_track_menu.cpp).
  void AddMoveMenu(CZuMapFile* file, CWpKit* kit);
  void AddDivideMenu(CZuMapFile* file);

  // --- Copies.
  // Takes over the look of a depth column that older documents placed
  // directly in the well: its width, its head (title and client swapped)
  // and its title direction.
  void Duplicate(CWpKit* kit);

  // --- Adding contents (wp_track_add.cpp). Each creates its kit through the object factory,
  // sets the title (when not empty) and the minimum title height, places it
  // by index (< 0 or past the end: appended; join serves as the group type
  // of an insertion) and returns it; null when the kit cannot be created.
  CWpCurve* AddCurve(const char* title, int join, int index);
  CWpCorelith* AddCorelith(const char* title, int join, int index);
  CWpSand* AddSand(const char* title, int join, int index);
  CWpSandStratum* AddSandStratum(const char* title, int join, int index);
  CWpStratum* AddStratum(const char* title, int join, int index);
  CWpSymbleCycle* AddSymbleCycle(const char* title, int join, int index);
  CWpSymbleTexture* AddSymbleTexture(const char* title, int join, int index);
  CWpFacies* AddFacies(const char* title, int join, int index);
  CWpSymbleShoot* AddSymbleShoot(const char* title, int join, int index);
  // The perforation column of the well, which no track menu offers (its
  // menu item adds the perforation symbol column); chart templates make it.
  CWpShoot* AddShoot(const char* title, int join, int index);
  CWpOilTest* AddOilTest(const char* title, int join, int index);
  CWpResult* AddResult(const char* title, int join, int index);
  CWpPicture* AddPictureList(int type, const char* title, int join, int index);
  CWpParam* AddParam(const char* title, int join, int index);
  CWpText* AddText(CView* view, const char* title, int join, int index);
  CWpWaterEntry* AddWaterEntryList(bool production, const char* title, int join, int index);
  CWpSidewallCore* AddSidewallCore(const char* title, int join, int index);
  CWpIntegratedCore* AddIntegratedCore(const char* title, int join, int index);
  CWpLthSample* AddLthSample(const char* title, int join, int index);
  CWpProgram* AddProgram(const char* title, int join, int index);
  CWpDepth* AddDepth(const char* title, int join, int index);

  // --- Settings applied to all contents (the well forwards them).
  // kind 0 takes the face name of font, 1 its height, 2 its colour; a
  // content's title band grows with its font.
  void SetChildTitleFont(int kind, const ZULOGFONT& font);
  // The same for the depth columns only.
  void SetDepChildTitleFont(int kind, const ZULOGFONT& font);
  // Every curve rebuilds the value-coloured shading of its fills.
  void CurveColorGradualChange();
  // The first curve whose name (by_name) or title is name, letter case
  // ignored; null when there is none.
  CWpCurve* FindCurve(const std::string& name, bool by_name = true) const;
  // Every stratification content shows the given level (0..4); any other
  // value leaves their levels as configured (CWpStratum::SetStratumGrade).
  void SetStratumGrade(int level);

  // --- Grid (wp_track_grid.cpp). Depth lines run across the body every
  // MinDep, emphasised every MidDep and MajDep; scale lines run down the
  // body, MinScale divisions with every MajScale-th line major, or on a
  // logarithmic scale from Left to Right with a line at every whole
  // mantissa of every decade. The depth-line and scale-line settings spread
  // to the other tracks of the well by their scopes: 0 none, 1 the tracks
  // that hold only curves, 2 all tracks.
  int IsShowDepth() const { return show_depth_; }
  void ShowDepth(int show);
  int IsShowScale() const { return show_scale_; }
  void ShowScale(int show);
  int IsLogScale() const { return log_scale_; }
  void LogScale(int log) { log_scale_ = log; }
  int IsShowMid() const { return show_mid_; }
  void ShowMid(int show) { show_mid_ = show; }
  // The intervals ignore values within 0.001 of the present one and values
  // that are not numbers.
  float GetMajDep() const { return maj_dep_; }
  void SetMajDep(float depth);
  float GetMidDep() const { return mid_dep_; }
  void SetMidDep(float depth);
  float GetMinDep() const { return min_dep_; }
  void SetMinDep(float depth);
  // While log scale is on, values below 1e-9 are ignored.
  float GetLeft() const { return left_; }
  void SetLeft(float value);
  float GetRight() const { return right_; }
  void SetRight(float value);
  // At least 1.
  int GetMajScale() const { return maj_scale_; }
  void SetMajScale(int n) { maj_scale_ = n < 1 ? 1 : n; }
  int GetMinScale() const { return min_scale_; }
  void SetMinScale(int n) { min_scale_ = n < 1 ? 1 : n; }
  // Pen setters ignore null and an equal pen; getters copy into out.
  const ZULOGPEN& GetMajDepPen() const { return maj_dep_pen_; }
  void GetMajDepPen(ZULOGPEN* out) const { CopyPen(maj_dep_pen_, out); }
  void SetMajDepPen(const ZULOGPEN* pen);
  const ZULOGPEN& GetMidDepPen() const { return mid_dep_pen_; }
  void GetMidDepPen(ZULOGPEN* out) const { CopyPen(mid_dep_pen_, out); }
  void SetMidDepPen(const ZULOGPEN* pen);
  const ZULOGPEN& GetMinDepPen() const { return min_dep_pen_; }
  void GetMinDepPen(ZULOGPEN* out) const { CopyPen(min_dep_pen_, out); }
  void SetMinDepPen(const ZULOGPEN* pen);
  const ZULOGPEN& GetMajScalePen() const { return maj_scale_pen_; }
  void GetMajScalePen(ZULOGPEN* out) const { CopyPen(maj_scale_pen_, out); }
  void SetMajScalePen(const ZULOGPEN* pen);
  // The pen of the centre line.
  const ZULOGPEN& GetMidScalePen() const { return mid_scale_pen_; }
  void GetMidScalePen(ZULOGPEN* out) const { CopyPen(mid_scale_pen_, out); }
  void SetMidScalePen(const ZULOGPEN* pen);
  const ZULOGPEN& GetMinScalePen() const { return min_scale_pen_; }
  void GetMinScalePen(ZULOGPEN* out) const { CopyPen(min_scale_pen_, out); }
  void SetMinScalePen(const ZULOGPEN* pen);
  // Scopes, clamped to 0..2; a change spreads the settings at once.
  int GetScaleScope() const { return scale_scope_; }
  void SetScaleScope(int scope);
  int GetDepthScope() const { return depth_scope_; }
  void SetDepthScope(int scope);
  // These three stay 0; a non-zero scale-line or depth-line scope spreads
  // the scale-line or depth-line settings once more by the scopes above.
  int GetSclLnScope() const { return scale_line_scope_; }
  void SetSclLnScope(int scope);
  int GetDepLnScope() const { return depth_line_scope_; }
  void SetDepLnScope(int scope);
  int GetContentScope() const { return content_scope_; }
  void SetContentScope(int /*scope*/) {}
  // True when every child is a curve (also for an empty track).
  bool HoldsOnlyCurves() const;
  // Colours given to added curves, slot i of 9 (taken round).
  COLORREF GetCurveColor(int i) const { return curve_colors_[Slot(i)]; }
  COLORREF GetCurveColor2(int i) const { return curve_colors2_[Slot(i)]; }

 protected:
  void Initialize();
  std::string KindLabel() const override;

 private:
  static int Slot(int i) { return ((i % kCurveColorCount) + kCurveColorCount) % kCurveColorCount; }
  static void CopyPen(const ZULOGPEN& pen, ZULOGPEN* out) {
    if (out) *out = pen;
  }
  // Copies the depth-line settings (depth_lines set) or the scale-line
  // settings into the other tracks of the well that the scope selects.
  void ApplyGrid(int depth_lines);

  // Drawing steps (wp_track_draw.cpp). Depth lines and linear scale lines
  // are limited to the clip rectangle (null: everything).
  void DrawBody(CDC* dc, CView* view, CRect* clip, CRect* done);
  void DrawDepthLine(CDC* dc, const CRect* clip);
  void DrawLinearScale(CDC* dc, const CRect* clip);
  void DrawLogScale(CDC* dc);
  void DrawTitle(CDC* dc, CView* view, CRect* clip, CRect* done);

  // Gesture steps (wp_track_gestures.cpp).
  float DragWidthLimit();
  void DragEdge(CDC* dc, CView* view, CPoint point);
  void EndEdgeDrag();
  // Returns the point the host's move handler is given: the press point
  // moved by the displacement kept inside the well's head.
  CPoint DragOrder(CDC* dc, CView* view, CPoint point);
  void EndOrderDrag(CDC* dc, CView* view);
  // The format version of the track's document; a track outside a document
  // counts as current.
  double DocumentVersion() const;
  // A new kit of class_name through the object factory; null (nothing
  // left behind) when the factory does not make a T of that name.
  template <typename T>
  T* NewContent(const char* class_name);
  // Creates a content, runs the common steps and, with invalidate set,
  // redraws.
  template <typename T>
  T* AddContent(const char* class_name, const char* title, int join, int index, bool invalidate);
  // The steps every added content goes through: title, minimum title
  // height, placement, nodes.
  void InitAddedChild(const char* title, CWpContent* content, int join, int index);
  // Places a new content by index and join, as the Add operations do.
  void PlaceAddedChild(CWpContent* content, int join, int index);
  // Redraws the chart (or the track alone) after a content was added.
  void InvalidateAdded();
  // Width layout of all groups except skip_group (-1: none).
  void ResetWidth(int skip_group);
  int FindDrawOrderIndex(int child_index) const;
  void DeleteDrawOrder(int child_index);
  // Carries the draw order over an insertion: each entry, an index into
  // old_children, becomes the index of the same child now.
  void SortDrawOrder(const std::vector<CWpKit*>& old_children);
  // Documents older than kDrawOrderVersion draw in child order.
  void ProOldVersion();
  // Makes the draw order name every child once: drops entries naming no
  // child and repeats (the first one stays), appends missing children.
  void NormalizeDrawOrder();

  // Fields, in declaration order.
  std::vector<CWpKit*> mins_;  // one content of each group held at its minimum row
  COLORREF curve_colors_[kCurveColorCount];
  COLORREF curve_colors2_[kCurveColorCount];
  int show_depth_;
  int show_scale_;
  int log_scale_;
  int show_mid_;
  float maj_dep_;
  float mid_dep_;
  float min_dep_;
  float left_;
  float right_;
  int maj_scale_;
  int min_scale_;
  ZULOGPEN maj_dep_pen_;
  ZULOGPEN mid_dep_pen_;
  ZULOGPEN min_dep_pen_;
  ZULOGPEN maj_scale_pen_;
  ZULOGPEN mid_scale_pen_;
  ZULOGPEN min_scale_pen_;
  int scale_scope_;
  int scale_line_scope_;
  int depth_scope_;
  int depth_line_scope_;
  int content_scope_;
  std::vector<int> draw_order_;

  // Set while Reset raises the client band to its minimum: the nested
  // layout runs Reset again, which must not try once more when the band
  // cannot be raised (hidden, or the setter refuses the height).
  bool raising_client_ = false;
  // Set while ClearChildren deletes the children.
  bool clearing_ = false;
};

}  // namespace davodu

#endif  // DAVODU_WELL_WP_TRACK_H_
