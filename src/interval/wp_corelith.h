// CWpCorelith: the lithology column of the well.
//
// One segment per interval of the bound LogCorelithDIO, drawn as three
// strips side by side: a colour strip (the colour catalogue's colour of the
// interval's colour name) as wide as the colour fraction of the body, the
// lithology pattern strip (the catalogue's pattern of its lithology) over
// the rest, as wide as the catalogue's width factor of the lithology makes
// it (a grain-size profile draws finer rocks narrower), and over the start
// of the pattern strip an oil strip with the symbol of its oil-bearing
// grade (not drawn without a grade, nor for a grade whose symbol shows
// nothing). Neighbouring
// intervals that touch and read alike (colour, pattern, oil-bearing grade,
// inclusions, lithology) are drawn as one block without a line between
// them. The lithology text, divide lines and divide points are optional.
//
// Editing writes through the data at once: dragging over free space in the
// body adds an interval from the press (with Shift: from the bottom of the
// interval above) to the release; segments and their boundaries are moved
// and resized as in every segment kit; the context menu of the active
// interval deletes it. Data source 0 (no data) and 2 (a scattered table)
// add and delete nothing; a column of source 1 whose well has no
// lithology table yet edits its own segments.
//
// The data source is the CORELITHSOURCE; the data name is composed of the
// table name and four field names, ",岩性数据,岩性名称,颜色,含油性,岩性,"
// by default. Sources: wp_corelith.cpp (data link, settings, editing),
// wp_corelith_draw.cpp, wp_corelith_gestures.cpp, wp_corelith_io.cpp
// (records, export).
#ifndef DAVODU_INTERVAL_WP_CORELITH_H_
#define DAVODU_INTERVAL_WP_CORELITH_H_

#include <string>

#include "davodu/data/data_io.h"
#include "davodu/interval/bound_segment.h"
#include "davodu/interval/wp_segment.h"

namespace davodu {

struct LOGCORELITH;

// The record of one lithology segment: its texts and what the catalogue
// makes of them.
struct ColthDIndex : DataIndex {
  explicit ColthDIndex(int i = -1) : DataIndex(i) {}
  unsigned oil_code = 0;       // point style of the oil-bearing symbol
  double oil_width = 1.0;      // factors of the strip widths
  unsigned pattern_code = 0;   // point style of the lithology pattern
  double pattern_width = 1.0;  // of the pattern strip: the catalogue's size / 30
  COLORREF color = 0xFFFFFF;
  double color_width = 1.0;
  std::string category;     // the interval's name (岩性名称)
  std::string lithology;    // 岩性: names the pattern
  std::string structure;    // 构造
  std::string prefix;       // 岩性前缀
  std::string inclusions;   // 含有物
  std::string color_name;   // 颜色
  std::string oil_name;     // 含油性

  // Whether two intervals are drawn as one block.
  bool DrawsLike(const ColthDIndex& o) const {
    return color_width == o.color_width && color == o.color && oil_name == o.oil_name &&
           oil_width == o.oil_width && oil_code == o.oil_code && pattern_width == o.pattern_width &&
           pattern_code == o.pattern_code && inclusions == o.inclusions && lithology == o.lithology;
  }
};

class CWpCorelith : public CWpSegment,
                    public BoundSegment<CWpCorelith, LogCorelithDIO, LOGCORELITH> {
  DAVODU_DECLARE_DYNCREATE(CWpCorelith)

 public:
  // Commands: ask the host to check the data set; delete the active
  // interval ("删除").
  static constexpr unsigned kCmdCheckDataSet = 16455;
  static constexpr unsigned kCmdDeleteCorelith = 7591;
  // Mouse flag: the Shift key is held (an add starts at the interval above).
  static constexpr unsigned kShiftKey = 8;

  explicit CWpCorelith(CZuLayer* layer);

  // --- Host object slots.
  int OnLButtonDown(CView* view, CDC* dc, unsigned flags, CPoint point) override;
  int OnMouseMove(CView* view, CDC* dc, unsigned flags, CPoint point) override;
  int OnLButtonUp(CView* view, CDC* dc, unsigned flags, CPoint point) override;
  int OnRButtonDown(CView* view, CDC* dc, unsigned flags, CPoint point) override;
  int OnCommand(CView* view, CDC* dc, unsigned id, long param) override;
  void DuplicateAttribute(CZuObject* target) override;
  void Amplify(FLOATPOINT centre, double fx, double fy) override;
  int ReadFromFile(CZuMFile* file) override;
  int SaveToFile(CZuMFile* file) override;
  void Clear() override;
  bool IfLineStyleUsed(int code) const override;
  bool IfPointStyleUsed(int code) const;

  // --- Kit slots.
  int GetWpKitType() const override { return WPKIT_CORELITH; }
  void Update() override;
  void InitDataTable() override { BindDataTable(); }
  void ResetData() override { ReloadData(); }
  void ExportContent() override;

  // --- Segment slots.
  void MoveSeg(int index, double dy) override;
  void MoveSegP(int index, double dy, int which) override;
  void DrawSeg(CDC* dc, CView* view, CRect* clip, CRect* done) override;
  void DrawOneSeg(WPSEGMENT& seg, COLORREF color, CDC* dc, CView* view, CRect* clip,
                  CRect* done) override;
  void DrawOneSelectedSeg(WPSEGMENT& seg, COLORREF color, CDC* dc, CView* view, CRect* clip,
                          CRect* done) override;
  void IniSegData(WPSEGMENT& seg) override;
  void UpdateSegDepth() override;

  // --- Data.
  // The segments from the data (one per interval that lies in the kit's
  // range, reads the right way up and overlaps no earlier one), then every
  // segment's look from the catalogue. Nothing happens without a catalogue.
  void UpdateD2V();
  // The well's lithology catalogue, fetched from the gateway on first use.
  LogCorelithMgrIO* GetColthMgr();
  void SetColthMgr(LogCorelithMgrIO* mgr) { catalog_ = mgr; }
  // The parts of the data name; each setter recomposes it and reloads.
  const std::string& GetTableName() const { return table_name_; }
  void SetTableName(const std::string& name);
  const std::string& GetCorelithField() const { return lith_field_; }
  void SetCorelithField(const std::string& name);
  const std::string& GetColorField() const { return color_field_; }
  void SetColorField(const std::string& name);
  const std::string& GetOilCodeField() const { return oil_field_; }
  void SetOilCodeField(const std::string& name);
  const std::string& GetCorelithCodeField() const { return code_field_; }
  void SetCorelithCodeField(const std::string& name);
  // Shows another source and reloads.
  void SetCorelithSource(int source);

  // Segments i to i + k drawn as one block: the number k of followers
  // that touch the one before exactly (and start above the body's bottom)
  // and read alike.
  int CombinSegment(int index) const;

  // --- Texts of interval i ("" for an index outside the list).
  std::string GetColthName(int i) const;      // category
  std::string GetColthTypeName(int i) const;  // lithology
  std::string GetContentName(int i) const;    // inclusions
  std::string GetColorName(int i) const;
  std::string GetCtOilName(int i) const;
  // New texts of interval i: written to the data when it is bound (false
  // when refused; the kits showing it reload), else kept in the segment.
  // False for an index outside the list.
  bool SetColthName(const std::string& text, int i);
  bool SetColthTypeName(const std::string& text, int i);
  bool SetColorName(const std::string& text, int i);
  bool SetCtOilName(const std::string& text, int i);
  // Interval depths in the chart's reference; written to the data when it
  // is bound (false when refused; the view then shows the data again).
  float GetSegTopDpth(int i);
  float GetSegBottomDpth(int i);
  bool SetSegTopDpth(int i, double depth);
  bool SetSegBottomDpth(int i, double depth);
  // Deletes interval i (through the data when bound); nothing with data
  // source 0 or 2.
  void DeleteOneCorelith(int i);

  // --- Look. The width setters return false, changing nothing, for
  // values out of range.
  double GetColorPer() const { return color_per_; }
  // 0..1: the colour strip's share; the pattern strip takes the rest, and
  // the oil strip is narrowed to it.
  bool SetColorPer(double per);
  double GetCtOilPer() const { return oil_per_; }
  // 0 up to the pattern strip's share.
  bool SetCtOilPer(double per);
  double GetColthTypePer() const { return pattern_per_; }
  void SetColthPer(double per) { pattern_per_ = per; }
  bool UseColthBkColor() const { return use_bk_color_; }
  void SetColthUseBkColor(bool use) { use_bk_color_ = use; }
  double GetColthUnitHeight() const { return unit_height_; }
  void SetColthUnitHeight(double height) { unit_height_ = height; }
  const ZULOGFONT& GetNameFont() const { return name_font_; }
  void SetNameFont(const ZULOGFONT& font) { name_font_ = font; }
  bool IsNameVisible() const { return name_visible_; }
  void SetNameVisible(bool visible) { name_visible_ = visible; }
  const ZULOGPEN& GetDivideLogPen() const { return divide_pen_; }
  void SetDivideLogPen(const ZULOGPEN& pen) { divide_pen_ = pen; }
  bool IsDivideLineVisible() const { return divide_line_visible_; }
  void SetDivideLineVisible(bool visible) { divide_line_visible_ = visible; }
  const ZULOGPOINT& GetDivideLogPoint() const { return divide_point_; }
  void SetDivideLogPoint(const ZULOGPOINT& point) { divide_point_ = point; }
  bool IsDividePointVisible() const { return divide_point_visible_; }
  void SetDividePointVisible(bool visible) { divide_point_visible_ = visible; }

  // Depths are read to the millimetre: floor(depth * 1000 + 0.5) / 1000.
  static double QuantiseDepth(double depth);

 protected:
  void Initialize();
  std::string KindLabel() const override;

 private:
  friend class BoundSegment<CWpCorelith, LogCorelithDIO, LOGCORELITH>;
  LogCorelithDIO* FindDataObject(WDMgrIO* gateway);
  void TakeIdentifier(const LOGCORELITH& entry);

  void ComposeDataName();
  void SplitDataName();
  // Sets one part of the data name.
  void SetNamePart(std::string* part, const std::string& value);
  // The record of segment i, or null.
  const ColthDIndex* Record(int i) const;
  ColthDIndex* Record(int i);
  // The data when it is bound and its source takes edits (not 0).
  LogCorelithDIO* EditableData();
  // Looks up a segment's colour, oil symbol and pattern in the catalogue.
  void LookUp(ColthDIndex* rec);
  // Sets text `which` of interval i through the data or in the segment.
  bool SetText(int i, int which, const std::string& text);
  // Adds the interval between two map Y values, through the data when bound.
  void AddDragged(double top, double bottom);
  void DrawName(const CRect& r, const ColthDIndex& d, CDC* dc);

  std::string table_name_;
  std::string lith_field_;
  std::string color_field_;
  std::string oil_field_;
  std::string code_field_;
  LogCorelithMgrIO* catalog_;
  double color_per_;
  double oil_per_;
  double pattern_per_;
  bool use_bk_color_;
  double unit_height_;
  ZULOGFONT name_font_;
  bool name_visible_;
  ZULOGPEN divide_pen_;
  bool divide_line_visible_;
  ZULOGPOINT divide_point_;
  bool divide_point_visible_;
  double nearest_top_;
};

}  // namespace davodu

#endif  // DAVODU_INTERVAL_WP_CORELITH_H_
