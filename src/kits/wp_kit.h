// CWpKit: the base of every drawing object of a well-profile chart.
//
// A chart is a tree of kits: a well owns tracks, a track owns contents and
// sub-tracks. Every kit has the same vertical layout, described by 20
// control nodes (map and draw twins):
//
//   4 ---- 8 ---- 5    top of the title band (top of the kit)
//   |   title     |
//   2 ---- 9 ---- 3    title/client boundary
//   6   client    7    (6, 7: middle of the client band)
//   0 ----------- 1    body top (anchor: node 0)
//   |    body     |
//   10 ---------- 11   body bottom (map Y of the bottom depth)
//   12, 13 / 16, 17 / 14, 15 / 18, 19: the head mirrored below the body
//
// The body maps depths to map Y through DepScl (map units per metre) and the
// well's scale segments and fault points. Geometry changes run change
// chains (Update*, Rebuild*) that lay the tree out again through the steps
// each kind fills in (Reset, ResetClient, ResetWidth); the Invalid* calls
// only ask the document to redraw.
//
// Setters ignore out-of-range values and values within 0.001 of the present
// one; an index outside a kit's own list raises CInvalidArgException.
//
// Sources: wp_kit.cpp (fields, tree, nodes and sizes, change chains, copies),
// wp_kit_depth.cpp (depth range and mapping), wp_kit_styles.cpp (styles and
// their scopes), wp_kit_draw.cpp (drawing), wp_kit_gestures.cpp (hit tests,
// mouse, drag shadow), wp_kit_menu.cpp (menu and commands), wp_kit_io.cpp
// (records), wp_kit_export.cpp (export of curve samples).
#ifndef DAVODU_KITS_WP_KIT_H_
#define DAVODU_KITS_WP_KIT_H_

#include <string>
#include <vector>

#include "davodu/host/graphics/styles.h"
#include "davodu/host/objects/zu_object.h"
#include "davodu/host/util/types.h"
#include "davodu/kits/wp_kit_type.h"

namespace davodu {

class CWpWell;

// Frame presets and styles.
using BorderStyle = int;

class CWpKit : public CZuObject {
  DAVODU_DECLARE_DYNCREATE(CWpKit)

 public:
  static constexpr int kNodeCount = 20;
  static constexpr int kBorderCount = 10;
  // Settings spread by ApplyReset: title, border flags, border pen.
  enum ResetKind { kResetTitle = 0, kResetBorder = 1, kResetBorderPen = 2 };

  explicit CWpKit(CZuLayer* layer);
  ~CWpKit() override;

  // --- Host object slots overridden here.
  void SetLayer(CZuLayer* layer) override;
  void Draw(CDC* dc, CView* view, CRect* clip, CRect* done) override;
  int OnLButtonDown(CView* view, CDC* dc, unsigned flags, CPoint point) override;
  int OnLButtonUp(CView* view, CDC* dc, unsigned flags, CPoint point) override;
  int OnMouseMove(CView* view, CDC* dc, unsigned flags, CPoint point) override;
  int OnRButtonDown(CView* view, CDC* dc, unsigned flags, CPoint point) override;
  int OnCommand(CView* view, CDC* dc, unsigned id, long param) override;
  // The kit hit at a draw point: the handles and bodies of selected kits
  // first, then the children (a track asks its curves by their title bands
  // and then picks the nearest curve, HitCve), then the kit's own draw
  // rectangle (the host's rule). Null when nothing is hit.
  CZuObject* HitTest(CPoint point) override;
  void BuildControlNodePointArray() override;
  // The map rectangle less the mirrored head below the body (nodes 10 to
  // 15) when neither the kit nor a kit of its tree draws it (a head align
  // other than 1).
  FLOATRECT GetPaperRect() const override;
  const CPoint* GetControlNodeDrawPointArray() const override { return draw_nodes_; }
  const FLOATPOINT* GetControlNodeMapPointArray() const override { return map_nodes_; }
  using CZuObject::SetPosition;
  void SetPosition(FLOATPOINT position) override { SetPosition(position, 1); }
  void SetZoomFactor(double zoom) override;
  void DuplicateObject(CZuObject* target) override;
  void DuplicateObject(CZuObject** copy, CZuLayer* layer) override;
  void DuplicateObjectA(CZuObject* target) override;
  void DuplicateObjectA(CZuObject** copy, CZuLayer* layer) override;
  void DuplicateAttribute(CZuObject* target) override;
  void Amplify(FLOATPOINT centre, double fx, double fy) override;
  int ReadFromFile(CZuMFile* file) override;
  int SaveToFile(CZuMFile* file) override;
  int NodeHitTest(CPoint point) override;
  void Clear() override;
  bool IfLineStyleUsed(int code) const override;

  // --- Slots declared by CWpKit, in slot order.
  virtual void ClearChildren();
  virtual void AddChild(CWpKit* kit);
  virtual void InsertChild(int index, CWpKit* kit);
  virtual void DeleteChild(CWpKit* kit);
  virtual void DeleteChild(int index);
  virtual void RemoveChild(CWpKit* kit);
  virtual void RemoveChild(int index);
  virtual CWpKit* HitChild(CPoint point);
  virtual void MoveChild(int from, int to);
  // Moves the anchor to position; with move_children set every child moves
  // by the same offset.
  virtual void SetPosition(FLOATPOINT position, int move_children);

  virtual void AutoDepth() {}
  virtual void ApplyStyle();
  virtual float MinWidth() { return 0.1f; }
  virtual float MinTitle() { return 0.1f; }
  virtual float MinClient() { return 0; }
  // Change-chain steps each kind fills in; the base does nothing in them.
  // A child's width changed (flag set: at its right edge): fit the kit to it.
  virtual void ResetWidth(CWpKit* /*child*/, int /*flag*/) {}
  // Shares the kit's width out among its children.
  virtual void ResetWidth() {}
  // A child's head bands changed: fit the client band and sibling heads to it.
  virtual void ResetClient(CWpKit* /*child*/) {}
  // Fits the children's head bands into the kit's client band.
  virtual void ResetClient() {}
  // Lays the kit and its children's places out again; no child runs its own.
  virtual void Reset() {}

  virtual int GetWpKitType() const { return WPKIT_KIT; }
  // Lays the whole subtree out bottom-up: each child's Update, then UpdateSelf.
  virtual void Update();
  virtual void ExportContent() {}
  virtual void ScaleSegment() {}
  virtual void InitDataTable();
  virtual void ResetData();
  virtual void ClearData() {}
  virtual int IsValid() { return 1; }
  // The node builders BuildControlNodePointArray runs in this order: the
  // head (nodes 0 to 9, from the position and the band heights), the body
  // bottom (10, 11, from the bottom depth), the mirrored head (12 to 19),
  // then the map and draw rectangles.
  virtual void BuildHead();
  virtual void BuildBody();
  virtual void BuildTail();
  virtual void BuildRect();
  virtual void Highlight(CDC* dc, CView* view);
  // Draws the children; tracks draw them in their draw order.
  virtual void DrawChildren(CDC* dc, CView* view, CRect* clip, CRect* done);

  // --- Tree.
  CWpKit* GetParent() const { return parent_; }
  void SetParent(CWpKit* parent) { parent_ = parent; }
  CWpKit* GetAncestor();
  CWpWell* GetWell();
  int ChildrenCount() const { return static_cast<int>(children_.size()); }
  CWpKit* GetChild(int index) const;
  int FindChild(const CWpKit* kit) const;
  // The child at index; raises CInvalidArgException outside 0..count-1.
  CWpKit* ChildAt(int index) const;
  bool IsSubKit() const;
  const std::vector<CWpKit*>& GetChildren() const { return children_; }
  CWpKit* GetHitKit() const { return hit_kit_; }
  void SetHitKit(CWpKit* kit) { hit_kit_ = kit; }

  // --- Geometry.
  FLOATRECT UpTitleMap() const { return MapRect(4, 3); }
  FLOATRECT UpClientMap() const { return MapRect(2, 1); }
  FLOATRECT UpHeadMap() const { return MapRect(4, 1); }
  FLOATRECT BodyMap() const { return MapRect(0, 11); }
  FLOATRECT DownClientMap() const { return MapRect(10, 13); }
  FLOATRECT DownTitleMap() const { return MapRect(12, 15); }
  FLOATRECT DownHeadMap() const { return MapRect(10, 15); }
  FLOATRECT TotalMap() const { return MapRect(4, 15); }
  CRect UpTitleDraw() const;
  CRect UpClientDraw() const;
  CRect UpHeadDraw() const;
  CRect BodyDraw() const;
  CRect DownClientDraw() const;
  CRect DownTitleDraw() const;
  CRect DownHeadDraw() const;
  CRect TotalDraw() const;
  float MapWidth() const;
  float MapTitle() const;
  float MapClient() const;
  float MapHead() const;
  float MapBody() const;
  const FLOATPOINT& MapNode(int i) const { return map_nodes_[i]; }
  const CPoint& DrawNode(int i) const { return draw_nodes_[i]; }

  float GetWidth() const { return width_; }
  void SetWidth(float width);
  float GetTitleHeight() const { return title_visible_ ? title_height_ : 0.0f; }
  void SetTitleHeight(float height);
  float GetClientHeight() const { return client_visible_ ? client_height_ : 0.0f; }
  void SetClientHeight(float height);
  float GetHeadHeight() const { return GetTitleHeight() + GetClientHeight(); }
  // Stored heights, whether the bands are shown or not.
  float GetStoredTitleHeight() const { return title_height_; }
  float GetStoredClientHeight() const { return client_height_; }

  float ChildMinWidth();
  float ChildMinTitle();
  float ChildMinClient();
  float MinChildWidth() const;
  float MinChildTitle() const;
  float MinChildClient() const;
  float MaxChildWidth() const;
  float MaxChildTitle() const;
  float MaxChildClient() const;

  // --- Depth.
  float GetTopDepth() const { return top_depth_; }
  void SetTopDepth(float depth);
  float GetBottomDepth() const { return bottom_depth_; }
  void SetBottomDepth(float depth);
  float GetDepScl() const { return dep_scl_; }
  void SetDepScl(float scl);
  int GetDepthScale() const;
  void SetDepthScale(int scale);
  int GetAutoDepth() const { return auto_depth_; }
  void SetAutoDepth(int value);
  float GetSandThick() const { return sand_thick_; }
  void SetSandThick(float thick);
  float GetShaleThick() const { return shale_thick_; }
  void SetShaleThick(float thick);
  double DepToMapY(double depth);
  float MapYToDep(float y);
  int DepToDrwY(float depth);
  float DrwYToDep(int y);
  float MapToDep(float length) const { return length / dep_scl_; }

  // --- Styles.
  int GetHeadAlign() const { return head_align_; }
  void SetHeadAlign(int align);
  int GetTitleVisible() const { return title_visible_; }
  void SetTitleVisible(int visible);
  int GetClientVisible() const { return client_visible_; }
  void SetClientVisible(int visible);
  const std::string& GetTitleText() const { return title_text_; }
  void SetTitleText(const std::string& text);
  const ZULOGFONT& GetTitleFont() const { return title_font_; }
  void SetTitleFont(const ZULOGFONT* font);
  int GetTitleDirection() const { return title_direction_; }
  void SetTitleDirection(int direction);
  int GetBorderMode() const { return border_mode_; }
  void SetBorderMode(int mode);
  // Flag i (0..9); raises CInvalidArgException outside.
  int GetBorderVisible(int index) const;
  // Sets flag index to value; any index outside 0..9 sets all ten.
  void SetBorderVisible(int value, int index);
  const ZULOGPEN& GetBorderPen() const { return border_pen_; }
  void SetBorderPen(const ZULOGPEN* pen);
  const ZULOGBRUSH& GetClientBrush() const { return client_brush_; }
  void SetClientBrush(const ZULOGBRUSH* brush);
  const std::string& GetClientFillStyleSet() const { return client_fill_style_set_; }
  void SetClientFillStyleSet(std::string set) { client_fill_style_set_ = std::move(set); }
  int GetTitleScope() const { return title_scope_; }
  void SetTitleScope(int scope);
  int GetTtlFtScope() const { return title_font_scope_; }
  void SetTtlFtScope(int scope);
  int GetBoderScope() const { return border_scope_; }
  void SetBoderScope(int scope);
  int GetBdrLnScope() const { return border_line_scope_; }
  void SetBdrLnScope(int scope);
  BorderStyle GetStyle();
  void SetStyle(BorderStyle style, bool apply);

  // --- Change chains. UpdateSelf and RebuildSelf end with the host's
  // OnChanged(nullptr), which only marks the kit modified.
  // This kit alone: Reset, ResetClient, ResetWidth, Reset, OnChanged; no child updates.
  void UpdateSelf();
  // Resets this kit and each of its ancestors, then runs Update on the root.
  void UpdateParent();
  // After a track's SetWidth: widens its ancestors by the change, then Update on the root.
  void UpdateParentForWidth();
  // UpdateSelf without the leading Reset: bands and widths fit from the present state.
  void RebuildSelf();
  // RebuildSelf of the root alone; no child is updated.
  void RebuildParent();
  // Asks the document to redraw a draw rectangle grown by 200; nothing is laid out.
  void InvalidRect(CRect rect);
  // Redraws the upper and the lower head.
  void InvalidHead();
  // Redraws the body.
  void InvalidBody();
  // Redraws the whole kit.
  void InvalidSelf();
  // Redraws the whole chart: the root kit.
  void InvalidParent();

  // --- Interaction helpers.
  FLOATRECT CalShadowRect(CPoint point);
  void DrawShadow(CDC* dc, FLOATRECT rect);
  bool IsPtInCenterRect(CPoint point);
  // Distance from a draw point to the curve the kit draws (draw units × 10);
  // FLT_MAX for a kit that draws no curve. A click in a track picks the
  // nearest curve by it.
  virtual float PtOnCurve(CPoint point) const;
  void ExportData();

  // The module-wide width change recorded by the last SetWidth of a track.
  static float GetTrackWidthDelta();

 protected:
  void Initialize();
  // False when nothing of the kit is to be drawn: it is hidden, its draw
  // rectangle misses the clip rectangle (when given), or lies wholly inside
  // the rectangle already drawn (when given).
  bool NeedsDrawing(const CRect* clip, const CRect* done) const;
  void DrawBorder(CDC* dc, CView* view, CRect* clip, CRect* done);
  // The square of a selection handle around draw node i, AfxGetNodeRectWidth wide.
  void DrawNodeSquare(CDC* dc, int i, const ZULOGPEN& pen) const;
  // Converts map node i to draw node i through the layer's translator.
  void MapToDrawNode(int i);
  // Spreads a change of the given kind by the scope that governs it.
  void ApplyReset(ResetKind kind);
  // Copies the settings of a change kind into this kit and its whole subtree;
  // with same_class_only only into kits of class_name.
  void AppRst(const CWpKit* from, ResetKind kind, bool same_class_only,
              const std::string& class_name);
  // Copies the settings of a change kind from another kit.
  void CopyResetSettings(const CWpKit* from, ResetKind kind);
  // Reads the elements of the "Kit" record (the current record).
  void ReadKitRecord(CZuMFile* file);
  // Older documents stored some kits where they no longer belong; a reader
  // that takes such a child over (and reads it) returns true.
  virtual bool ReadLegacyChild(CZuMFile* file, const std::string& class_name, CWpKit* child);
  // Whether a border line of flag index is drawn, given head align and title.
  bool BorderLineShown(int index) const;
  // The name of the kit's kind (GBK) that labels its context menu when the
  // title is empty; the base has a name for any kit.
  virtual std::string KindLabel() const;
  // Items of the kit's own in its context menu, added after the items its
  // parent offers and before the delete item; the base adds none.
  virtual void AddOwnMenu(CZuMapFile* /*file*/) {}

  // Fields, in declaration order.
  BorderStyle style_;
  int head_align_;
  CWpKit* parent_ = nullptr;
  CWpKit* hit_kit_ = nullptr;
  FLOATPOINT map_nodes_[kNodeCount];
  CPoint draw_nodes_[kNodeCount];
  float width_;
  float title_height_;
  float client_height_;
  float top_depth_;
  float bottom_depth_;
  float dep_scl_;
  float sand_thick_;
  float shale_thick_;
  int auto_depth_;
  int title_visible_;
  int client_visible_;
  int border_flags_[kBorderCount];
  std::string title_text_;
  ZULOGFONT title_font_;
  int title_direction_;
  int border_mode_;
  ZULOGPEN border_pen_;
  ZULOGBRUSH client_brush_;
  std::string client_fill_style_set_;
  int title_scope_;
  int title_font_scope_;
  int border_scope_;
  int border_line_scope_;
  std::vector<CWpKit*> children_;

  // HitTest without its last step: a kit whose own area is narrower than
  // its draw rectangle (a curve answers only in its title band) asks this
  // and then tests its own area.
  CZuObject* HitKits(CPoint point);

 private:
  FLOATRECT MapRect(int from, int to) const {
    return {map_nodes_[from].x, map_nodes_[from].y, map_nodes_[to].x, map_nodes_[to].y};
  }
  void DrawClientBrush(CDC* dc);
  // Gives a kit about to become a child this kit's layer, depths and style.
  void PrepareChild(CWpKit* kit);
  double FaultMapping(CWpWell* well, double depth);
  // The curve of a track nearest to a point, when the point is in this track.
  CZuObject* HitCve(const std::vector<CWpKit*>& curves, CPoint point);
  // The label of the context menu: the title, or a name of the kit's kind.
  std::string MenuLabel() const;
  // Menu items offered by the parent track (draw order, group divider).
  void AddParentMenu(CZuMapFile* file);
  // The draw-order and group commands; false for any other id.
  bool OnOrderCommand(unsigned id);
  // Writes the samples of curves to text files chosen in save dialogs, one
  // file per group of curves sampled alike.
  void ExportCves(const std::vector<CWpKit*>& curves);
  // The delete command: the parent deletes this kit, and a track left empty
  // is deleted from its own parent, narrowing it.
  void DeleteFromParent();
};

}  // namespace davodu

#endif  // DAVODU_KITS_WP_KIT_H_
