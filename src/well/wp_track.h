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
#ifndef DAVODU_WELL_WP_TRACK_H_
#define DAVODU_WELL_WP_TRACK_H_

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
  // The child whose upper title band holds the draw point, else the track
  // when the point is inside it, else null.
  CWpKit* HitChild(CPoint point) override;
  using CWpInWell::MoveChild;
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
  // Menu items that move a child in the draw order, and the group divider.
  void AddMoveMenu(CZuMapFile* file, CWpKit* kit);
  void AddDivideMenu(CZuMapFile* file);

  // --- Copies.
  // Takes over the look of a depth column that older documents placed
  // directly in the well: its width, its head (title and client swapped)
  // and its title direction.
  void Duplicate(CWpKit* kit);

  // --- Adding contents. Each creates its kit through the object factory,
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

  // --- Grid settings. ShowDepth and ShowScale store the flag for this
  // track only; the other settings are read from documents and copies.
  int IsShowDepth() const { return show_depth_; }
  void ShowDepth(int show) { show_depth_ = show; }
  int IsShowScale() const { return show_scale_; }
  void ShowScale(int show) { show_scale_ = show; }
  int IsLogScale() const { return log_scale_; }
  int IsShowMid() const { return show_mid_; }
  float GetMajDep() const { return maj_dep_; }
  float GetMidDep() const { return mid_dep_; }
  float GetMinDep() const { return min_dep_; }
  float GetLeft() const { return left_; }
  float GetRight() const { return right_; }
  int GetMajScale() const { return maj_scale_; }
  int GetMinScale() const { return min_scale_; }
  const ZULOGPEN& GetMajDepPen() const { return maj_dep_pen_; }
  const ZULOGPEN& GetMidDepPen() const { return mid_dep_pen_; }
  const ZULOGPEN& GetMinDepPen() const { return min_dep_pen_; }
  const ZULOGPEN& GetMajScalePen() const { return maj_scale_pen_; }
  const ZULOGPEN& GetMidScalePen() const { return mid_scale_pen_; }
  const ZULOGPEN& GetMinScalePen() const { return min_scale_pen_; }
  int GetScaleScope() const { return scale_scope_; }
  int GetSclLnScope() const { return scale_line_scope_; }
  int GetDepthScope() const { return depth_scope_; }
  int GetDepLnScope() const { return depth_line_scope_; }
  int GetContentScope() const { return content_scope_; }
  // Colours given to added curves, slot i of 9 (taken round).
  COLORREF GetCurveColor(int i) const { return curve_colors_[Slot(i)]; }
  COLORREF GetCurveColor2(int i) const { return curve_colors2_[Slot(i)]; }

 protected:
  void Initialize();

 private:
  static int Slot(int i) { return ((i % kCurveColorCount) + kCurveColorCount) % kCurveColorCount; }
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
  // Holds the groups whose rows, scaled from the total b down to the band
  // a, would fall below their minimum (one content of each in mins_).
  void MarkMinClient(float a, float b);
  bool IsInMins(int group) const;
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
};

}  // namespace davodu

#endif  // DAVODU_WELL_WP_TRACK_H_
