// CWpWell: the root of a well-profile chart.
//
// A well draws a row of tracks between a top and a bottom depth, with a head
// band above them that shows the well name, the well symbol and header
// tables. It owns the tracks (and through them every content kit), names
// the well (the object name), holds the depth reference mode and the depth
// range, owns the gateway to the well data that all its kits use, and
// builds the piecewise depth scale (scale segments and fault points) that
// every kit's depth mapping consults.
//
// Geometry: the anchor (the host position) is the centre of the body's top
// edge, or its left end in column view. Tracks stand side by side from node
// 0 to the right and share the well's width; every track head is as tall as
// the well's client band. Above it lies the title band (name and symbol)
// and, above that, the header tables.
//
// Sources: wp_well.cpp (fields, data binding, tree, menus, copies),
// wp_well_layout.cpp (widths, heads, templates, header tables),
// wp_well_draw.cpp (drawing), wp_well_io.cpp (records),
// wp_well_gestures.cpp (name, symbol and well gestures).
#ifndef DAVODU_WELL_WP_WELL_H_
#define DAVODU_WELL_WP_WELL_H_

#include <string>
#include <vector>

#include "davodu/kits/wp_kit.h"
#include "davodu/well/wp_well_scale.h"

namespace davodu {

class CWpTrack;
class CZuObjectCell;
// The gateway to the host's data of one well; every kit of the chart reads
// its data through the gateway of its well.
class WDMgrIO;

// Command of the well: check the well position data set of the chart's
// well with the host's check function.
constexpr unsigned kCmdCheckWellData = 16455;

// Fault points open gaps in the depth scale.
struct FaultInfo {
  bool blank_space = false;  // the depth mapping uses the fault points only while set
  bool line = true;          // a line is drawn at each gap
  ZULOGPEN pen;              // line-style code 1006, width 20
  // (fault depth, shift, gap): shift is the sum of the gaps of all earlier
  // points; gap the depth thickness left blank.
  std::vector<ZUPOINT3D> points;
};

// A header table of the well: a table in the upper head and its twin in the
// lower head. The tables are objects of the well's layer, which saves them;
// the well places and draws them.
struct WellSheet {
  int head_align = 0;  // the well's head align when the sheet was made
  int user = 0;        // free for the host
  CZuObjectCell* upper = nullptr;
  CZuObjectCell* lower = nullptr;
};

class CWpWell : public CWpKit {
  DAVODU_DECLARE_DYNCREATE(CWpWell)

 public:
  // Depth reference modes of the well data.
  static constexpr int kDepthMeasured = 0;  // measured depth
  static constexpr int kDepthVertical = 1;  // true vertical depth
  static constexpr int kDepthAltitude = 2;  // altitude depth
  // How the depth range is given.
  static constexpr int kRangeByDepths = 0;
  static constexpr int kRangeByUnits = 1;
  // Documents older than this anchored the well at its left edge.
  static constexpr double kCentredAnchorVersion = 3.0003;

  explicit CWpWell(CZuLayer* layer);
  ~CWpWell() override;

  // --- Host object slots.
  void Draw(CDC* dc, CView* view, CRect* clip, CRect* done) override;
  void DrawSelectedMark(CDC* dc, CView* view) override;
  int OnLButtonDown(CView* view, CDC* dc, unsigned flags, CPoint point) override;
  int OnLButtonUp(CView* view, CDC* dc, unsigned flags, CPoint point) override;
  int OnMouseMove(CView* view, CDC* dc, unsigned flags, CPoint point) override;
  int OnRButtonDown(CView* view, CDC* dc, unsigned flags, CPoint point) override;
  int OnCommand(CView* view, CDC* dc, unsigned id, long param) override;
  // Polls the data gateway: data whose host tables changed notify their
  // kits.
  int OnIdle() override;
  CZuObject* HitTest(CPoint point) override;
  using CWpKit::DuplicateObject;
  void DuplicateObject(CZuObject** copy, CZuLayer* layer) override;
  void DuplicateAttribute(CZuObject* target) override;
  void Amplify(FLOATPOINT centre, double fx, double fy) override;
  int ReadFromFile(CZuMFile* file) override;
  // Takes back the header tables the document names as this well's.
  void OnLayerRead() override;
  int SaveToFile(CZuMFile* file) override;
  void Clear() override;
  bool IfPointStyleUsed(int code) const { return symbol_.style == code; }

  // --- Kit slots.
  CWpKit* HitChild(CPoint point) override;
  // Moves child from so that it stands before the child that was at to (to
  // counted before the move; < 0 or past the end: the end).
  void MoveChild(int from, int to) override;
  using CWpKit::SetPosition;
  // With move_children set the header tables move along.
  void SetPosition(FLOATPOINT position, int move_children) override;
  float MinWidth() override;
  float MinTitle() override;
  float MinClient() override;
  // A track's edge was dragged: the tracks after it (right edge) or before
  // it (left edge) move up to it, the well takes their span and its anchor
  // stays the top centre of the span (its left end in column view).
  void ResetWidth(CWpKit* child, int right_edge) override;
  // Fits the tracks to the well's width: a wider well widens them (depth
  // columns keep their width), a narrower one keeps each at least at its
  // minimum and shares the rest in proportion.
  void ResetWidth() override;
  // A track's head changed: every track takes its title and client heights
  // and the client band becomes that head.
  void ResetClient(CWpKit* child) override;
  // Fits every track head to the client band.
  void ResetClient() override;
  // The main layout: the client band holds the tallest title over the
  // tallest client, every head is fitted to it, the tracks share the width
  // and stand side by side from node 0; then the nodes and templates.
  void Reset() override;
  int GetWpKitType() const override { return WPKIT_WELL; }
  void Update() override;
  void ScaleSegment() override;
  void InitDataTable() override;
  void BuildHead() override;
  void BuildRect() override;

  // --- Style. The style of the whole chart, as stored (not derived from
  // the flags); SetStyle stores a different style and, with apply set, lets
  // every kit of the tree apply it.
  BorderStyle GetStyle() const { return style_; }
  void SetStyle(BorderStyle style, bool apply);

  // --- Data binding.
  // The gateway to the well data; null until data access is allowed and a
  // gateway exists.
  WDMgrIO* GetDataMgr() const { return data_mgr_; }
  // Binds the well to its data once data access is allowed.
  void IniData();
  // Loads the chart's data, in the one order every host path uses (building
  // from a template, rendering, exporting, changing the depth type): allow
  // data access and make the gateway (InitDataTable), lay out, let every kit
  // of the tree reload its own data (ResetData), lay out again. A kit whose
  // data is not found keeps its configured source and names, so a chart
  // saved afterwards finds its data again once it exists.
  void LoadChartData();
  // Rebinds the chart to another well: the old name in the title becomes
  // the new one, the gateway is rebuilt and the data reloaded.
  void SwitchData(const std::string& name);
  // Depth range from unit names (range by units) or unit names from the
  // depth range (range by depths), from the stratification of the well.
  void ComputeValidTopAndBottom();
  // Every depth scale of the well shows depths of the well's depth type.
  void ChangeDepthShowType();
  // The scale segments (start depth, map Y of the end, scale factor) for a
  // kit; flag 0 (the well itself asks) rebuilds them and the fault points
  // first.
  const std::vector<ZUPOINT3D>& ScaleSegment(int flag, int& count);
  // Rebuilds the fault points from the well data; without a gateway the
  // stored ones stay.
  void FaultPointSegment();
  bool IsExistDepth() const;

  // --- Fields.
  int GetUnitClass() const { return unit_class_; }
  void SetUnitClass(int unit_class);
  const std::string& GetTopUnit() const { return top_unit_; }
  void SetTopUnit(const std::string& unit) { top_unit_ = unit; }
  const std::string& GetBottomUnit() const { return bottom_unit_; }
  void SetBottomUnit(const std::string& unit) { bottom_unit_ = unit; }
  // Margins around the unit range; negative values and values within 0.001
  // of the present one are ignored.
  float GetTopExtendDepth() const { return top_extend_; }
  void SetTopExtendDepth(float depth);
  float GetBotExtendDepth() const { return bottom_extend_; }
  void SetBotExtendDepth(float depth);
  // -1 hides the name, 0 keeps it where it was placed by hand, 1..9 place
  // it in the title band (see AutoTitle). Clamped to -1..9.
  int GetTitleAlign() const { return title_align_; }
  void SetTitleAlign(int align);
  // Offsets of the name and of the symbol from node 0.
  const FLOATSIZE& GetTitlePosition() const { return title_position_; }
  void SetTitlePosition(const FLOATSIZE& position) { title_position_ = position; }
  const ZULOGPOINT& GetTypePoint() const { return symbol_; }
  // The title band grows or shrinks with the symbol while it is shown.
  void SetTypePoint(const ZULOGPOINT& point);
  // -1 hides the symbol, 0 keeps it where it was placed by hand, 1 below the
  // name, 2 above it, 3 at its height on the left, 4 right of it. Clamped to
  // -1..4.
  int GetTypeAlign() const { return symbol_align_; }
  void SetTypeAlign(int align);
  const FLOATSIZE& GetTypePosition() const { return symbol_position_; }
  void SetTypePosition(const FLOATSIZE& position) { symbol_position_ = position; }
  // 1 when the well data knows the well.
  int WellExist() const { return well_exists_; }
  int GetSelectOnlyBody() const { return select_only_body_; }
  void SetSelectOnlyBody(int only_body) { select_only_body_ = only_body; }
  int GetCanInitData() const { return can_init_data_; }
  void SetCanInitData(int can) { can_init_data_ = can; }
  float GetSheetHeight() const { return sheet_height_; }
  // Values of 200 or less, or of 100000 and more, are ignored.
  void SetSheetHeight(float height);
  // kRangeByDepths or kRangeByUnits; other values are ignored.
  int GetRangeType() const { return range_type_; }
  void SetRangeType(int type);
  // kDepthMeasured, kDepthVertical or kDepthAltitude; other values are
  // ignored. Once the chart's data is loaded, a new depth type reloads it
  // (LoadChartData): every kit fetches the data of the new reference.
  int GetDepthType() const { return depth_type_; }
  void SetDepthType(int type);
  FaultInfo& GetFaultInfo() { return fault_info_; }
  const FaultInfo& GetFaultInfo() const { return fault_info_; }
  bool IsBlankSpace() const { return fault_info_.blank_space; }
  void SetBlankSpace(bool blank) { fault_info_.blank_space = blank; }
  bool IsFaultPointLine() const { return fault_info_.line; }
  void SetFaultPointLineShown(bool shown) { fault_info_.line = shown; }
  const ZULOGPEN& GetFaultPointLine() const { return fault_info_.pen; }
  void SetFaultPointLine(const ZULOGPEN& pen) { fault_info_.pen = pen; }
  bool IsAutoArrange() const { return auto_arrange_; }
  void SetAutoArrange(bool arrange) { auto_arrange_ = arrange; }
  const FLOATRECT& GetShadowRect() const { return shadow_rect_; }
  void SetShadowRect(const FLOATRECT& rect) { shadow_rect_ = rect; }
  bool IsColumnView() const { return column_view_; }
  void SetIsColumnView(bool column_view) { column_view_ = column_view; }

  // --- Templates that set the symbol from the well data (point style,
  // size, border colour, inner colour) and that the host uses for the name.
  const std::string& GetPointStyleTemplate() const { return point_style_template_; }
  void SetPointStyleTemplate(const std::string& name) { point_style_template_ = name; }
  const std::string& GetSizeTemplate() const { return size_template_; }
  void SetSizeTemplate(const std::string& name) { size_template_ = name; }
  const std::string& GetBorderColorTemplate() const { return border_color_template_; }
  void SetBorderColorTemplate(const std::string& name) { border_color_template_ = name; }
  const std::string& GetInnerColorTemplate() const { return inner_color_template_; }
  void SetInnerColorTemplate(const std::string& name) { inner_color_template_ = name; }
  const std::string& GetWellNameStyleTemplate() const { return name_style_template_; }
  void SetWellNameStyleTemplate(const std::string& name) { name_style_template_ = name; }
  const std::string& GetWellNameSizeTemplate() const { return name_size_template_; }
  void SetWellNameSizeTemplate(const std::string& name) { name_size_template_ = name; }
  const std::string& GetWellNameColorTemplate() const { return name_color_template_; }
  void SetWellNameColorTemplate(const std::string& name) { name_color_template_ = name; }
  // Applies the four symbol templates; a name whose template the host does
  // not have is cleared.
  void UpdateTemplate();

  // --- Tracks.
  // A new track at index (< 0 or past the end: appended; ids 8051 to 8072
  // insert right of index). Curve ids (0, 8005, 8028, 8051) get the grid.
  // The track is 2000 wide and the well widens by as much.
  CWpTrack* AddTrack(unsigned id, int index);
  // The first track whose body holds the map point (edges within 0.001
  // included), or null.
  CWpTrack* PtInTrack(FLOATPOINT point);
  // Node 0 and node 1 x.
  double GetLeft() const { return map_nodes_[0].x; }
  double GetRight() const { return map_nodes_[1].x; }
  // Forwarded to every track: kind 0 face name, 1 height, 2 colour.
  void SetChildTitleFont(int kind, const ZULOGFONT& font);
  void SetDepChildTitleFont(int kind, const ZULOGFONT& font);
  // Recolours the curves of the tracks (column view).
  void CurveColorGradualChange();

  // --- Header tables, newest last (nearest the title band); each made of a
  // 4 × 7 table of the well's width and the sheet height less 200.
  // AddSheet makes a new one (null without a layer); existing upper tables
  // move up, lower ones down, by the sheet height.
  WellSheet* AddSheet();
  // Takes an entry over (its tables should be objects of the well's layer).
  void AddSheet(WellSheet* sheet);
  int SheetsCount() const { return static_cast<int>(sheets_.size()); }
  // Null outside 0..count-1.
  WellSheet* GetSheet(int index) const;
  // The index of the sheet holding the table, or of the entry; -1 if none.
  int FindSheet(const CZuObjectCell* cell) const;
  int FindSheet(const WellSheet* sheet) const;
  // Deletes the entry and its tables.
  void DelSheet(int index);
  void DelSheet(WellSheet* sheet);
  void ClearSheets();
  // Gaps (map units) on the side of sheet index away from the body (to the
  // previous sheet) and towards it (to the next sheet, or to the title band
  // for the last one); head 0 the upper tables, 1 the lower ones. Negative
  // where they overlap, 0 where there is nothing.
  double SheetUp(int index, int head) const;
  double SheetDown(int index, int head) const;
  // Bounding map rectangle of the tables of a head; zero without tables.
  FLOATRECT SheetsRect(int head) const;
  // SheetsRect extended towards the body by the gap below the last sheet.
  FLOATRECT SheetsArea(int head) const;

 protected:
  void Initialize();
  std::string KindLabel() const override;
  // Older documents placed depth columns directly in the well: such a kit
  // is read into a new track of its own, which takes the column's look.
  bool ReadLegacyChild(CZuMFile* file, const std::string& class_name, CWpKit* child) override;

  std::vector<ZUPOINT3D> scale_segments_;
  FaultInfo fault_info_;

 private:
  // --- Data paths. They read the well data through the gateway; until the
  // gateway exists there is none and they return nothing.
  // Creates the gateway: a WDMgrAdapter over the host's CWellDataManager for
  // the well name, in the well's depth type.
  WDMgrIO* CreateDataMgr();
  // The gateway's IsWellManaged: whether the well data knows the well.
  bool DataMgrKnowsWell() const;
  // Hands the well's depth type to the gateway.
  void CopyDepthTypeToDataMgr();
  // Deletes the gateway and every data object it handed out.
  void DestroyDataMgr();
  // The gateway's NotifyAllData: data whose host tables are newer than
  // their last load tell their kits.
  void PollDataMgr();
  // The fault points of source 1 for the well (GetFaultPointDIO): depth and
  // gap of each.
  std::vector<FaultPointData> ReadFaultPoints() const;
  // The class-two sand intervals of the well (GetSand with sand type 2 and
  // an empty name): top and bottom of each, in depth order.
  std::vector<SandInterval> ReadSandIntervals() const;
  // The stratification of the well at the unit class (GetStratum with the
  // unit class and an empty name): name, top and thickness of each unit.
  std::vector<StratumUnit> ReadStratumUnits() const;
  // The value of a field of the well's well position record
  // (CWellDataManager::GetWellPosition, FindData(well name)); false when
  // there is no value.
  bool WellPositionValue(const std::string& field, std::string* value) const;
  // A depth scale kit shows depths of the given depth type.
  void SetDepthKitShowType(CWpKit* depth, int type);
  // Stratification kits of a track show units of the given class (a value
  // outside the levels 0..4 leaves them as configured).
  void SetTrackStratumGrade(CWpTrack* track, int unit_class);
  // The curves of a track rebuild the value-coloured shading of their fills.
  void TrackCurveColorGradualChange(CWpTrack* track);

  // --- Layout steps (wp_well_layout.cpp).
  // The minimum-width pass: puts on the fixed list, one at a time, the
  // children that would fall below their minimum width if the width were
  // shared in proportion.
  void ResetWidth(float sum, float width);
  // Shares width among the children: those on the fixed list (filled by the
  // pass above) keep their minimum width, the others share the rest in
  // proportion to their widths. Empties the fixed list; returns the sum of
  // the new widths.
  double ShareWidth(float width);
  // Places the children side by side from node 0.
  void PlaceChildren();
  // Gives a child a width: above its minimum, within the kit bounds.
  static void GiveWidth(CWpKit* child, double width);
  // Sets the well's own width without the strict lower bound of SetWidth
  // (a width equal to the children's minimum is a valid layout result).
  void FitWidth(double width);
  // Node 0 x of a well of the given width.
  double LeftFor(double width) const;
  double GetMaxHeadHeight() const;
  void GetMaxTitleAndClient(double& title, double& client) const;
  // The width of the name in its font (character cells).
  double NameWidth() const;
  // Places the name (title align 1..9) and the symbol (symbol align 1..4).
  void AutoTitle();
  void AutoType();
  // Map centres of the name and of the symbol as drawn: placed, then kept
  // inside the title band.
  FLOATPOINT TitleCentre();
  FLOATPOINT TypeCentre();
  // The symbol's style, size and colours from the well data.
  void WellType();
  // Drawing steps (wp_well_draw.cpp).
  void DrawTitle(CDC* dc);
  void DrawType(CDC* dc);
  void DrawSheet(CDC* dc);
  // The table when it is still an object of the well's layer, else null.
  CZuObjectCell* LiveCell(const CZuObjectCell* cell) const;
  // Deletes a sheet's tables from the layer.
  void DeleteSheetCells(WellSheet* sheet);

  // --- Reading steps (wp_well_io.cpp).
  // The elements of a "Well" record (the current record).
  void ReadWellRecord(CZuMFile* file);
  // After the well's section: track groups, the anchor rule of older
  // documents, the depth type, the layout.
  void FinishRead();

  // --- Gesture steps (wp_well_gestures.cpp).
  bool OnNameOrSymbol(CView* view, CPoint point);
  void EndNameOrSymbolDrag(CPoint point);
  void EndResize(CPoint point);
  void EndMove(CPoint point);

  // Fields, in declaration order.
  std::vector<WellSheet*> sheets_;
  // Sheets named by a document being read: each cell by its time stamp,
  // found in the layer once the whole layer is read (OnLayerRead).
  struct StoredSheet {
    int head_align = 0;
    int user = 0;
    std::uint64_t upper = 0;
    std::uint64_t lower = 0;
  };
  std::vector<StoredSheet> stored_sheets_;
  void ReadSheetsRecord(CZuMFile* file);
  // Sets the header tables' visible flags to what the well draws of them.
  void ShowSheets();
  std::vector<CWpKit*> fixed_;  // children held at their minimum width during a width layout
  WDMgrIO* data_mgr_ = nullptr;
  int unit_class_;
  std::string top_unit_;
  std::string bottom_unit_;
  float top_extend_;
  float bottom_extend_;
  float sheet_height_;
  int title_align_;
  FLOATSIZE title_position_;
  ZULOGPOINT symbol_;
  int symbol_align_;
  FLOATSIZE symbol_position_;
  int well_exists_;
  int select_only_body_;
  int can_init_data_;
  std::string point_style_template_;
  std::string size_template_;
  std::string border_color_template_;
  std::string inner_color_template_;
  std::string name_style_template_;
  std::string name_size_template_;
  std::string name_color_template_;
  int range_type_;
  int depth_type_;
  bool auto_arrange_;
  FLOATRECT shadow_rect_;
  bool column_view_;

  bool in_reset_ = false;  // Reset is running: a nested call returns at once
};

}  // namespace davodu

#endif  // DAVODU_WELL_WP_WELL_H_
