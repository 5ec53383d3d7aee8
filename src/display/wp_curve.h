// CWpCurve: one well-log curve in a track.
//
// The kit keeps its own copy of the samples (depth, value) of a curve loaded
// through the well's data gateway, maps values onto the column through a
// linear or logarithmic scale from Left to Right, and draws the curve in one
// of seven styles with a head of title, unit, scale values and sample line.
// Values beyond the scale can be wrapped back into the column on a back-up
// scale Multiples times as wide as the main one. Fills shade the area between
// the curve and an edge, the middle line, a value line or another curve.
//
// wp_curve.cpp holds the data, the scale and the fills, wp_curve_io.cpp the
// records, wp_curve_export.cpp the text export, wp_curve_layout.cpp the
// arrangement of the head, wp_curve_draw.cpp the drawing and hit tests.
#ifndef DAVODU_DISPLAY_WP_CURVE_H_
#define DAVODU_DISPLAY_WP_CURVE_H_

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "davodu/data/data_sources.h"
#include "davodu/host/graphics/dc.h"
#include "davodu/kits/wp_content.h"

namespace davodu {

class LogCveDataIO;

// Drawing styles. For a style above 0, style % 3 gives 0 square wave,
// 1 points, 2 bars; the line is also drawn for 0 and above 3.
enum CURVETYPE : int {
  CVT_LINE = 0,
  CVT_POINT = 1,
  CVT_BAR = 2,
  CVT_SQUARE = 3,
  CVT_POINT_LINE = 4,
  CVT_BAR_LINE = 5,
  CVT_SQUARE_LINE = 6,
};

// What the head shows of the scale.
enum ScaleShowWays : int {
  SSW_NONE = 0,
  SSW_LINE_AND_VALUES = 1,
  SSW_VALUES = 2,
  SSW_LINE = 3,
};

// One entry of a fill's colour table: values from lower to upper take colour.
struct WPCVEFILLCOLOR {
  double lower = 0;
  double upper = 0;
  COLORREF color = 0xFFFFFF;
  bool flag = false;
  friend bool operator==(const WPCVEFILLCOLOR&, const WPCVEFILLCOLOR&) = default;
};

// The stored block of a fill, 184 bytes in the document.
struct CVEFILLBLOCK {
  std::int32_t enabled = 1;  // drawn only when non-zero
  std::int32_t enabled2 = 1;
  char target[32] = {};      // "边框", "中线", "指定值线" or another curve's name
  float value = 0;           // boundary value (LmtFll)
  float factor = 1.0f;
  std::int32_t sides = 2;    // bit 0 side 0, bit 1 side 1; negative: off
  std::int32_t reserved = 0;
  char group0[32] = {};      // fill-style group names of the two brushes
  char group1[32] = {};
  ZULOGBRUSH brush0;
  ZULOGBRUSH brush1;
  std::uint32_t page_color1 = 0xFFFFFF;
  std::uint32_t page_word = 0;
  std::uint32_t page_color2 = 0xFF0000;
  std::uint32_t page_color3 = 255;
  std::int32_t shade1 = 0;  // value-coloured shading of side 1
  std::int32_t shade0 = 0;  // value-coloured shading of side 0
};
static_assert(sizeof(CVEFILLBLOCK) == 184);

// The value-coloured shading of one side of a fill, rebuilt from the curve
// and the side's colour table whenever the curve is laid out (never stored).
// A run is a stretch of consecutive samples whose values the table covers;
// missing samples and values outside the table end a run, so no shading
// crosses them. Each run is cut into slices, one per sample, reaching half
// way to the neighbouring samples; a slice takes the colour of its own
// sample's value, and neighbouring slices of one colour are merged.
struct CVEFILLSHADE {
  std::vector<std::vector<double>> values;  // the runs' values
  std::vector<std::vector<double>> depths;  // the runs' depths
  // Slices in map coordinates, from the side's column edge to the curve and
  // back, top to bottom. Each slice but the last of a run also covers the
  // upper half of the next one, which is drawn over it, so that no seam
  // shows between the two.
  std::vector<std::vector<FLOATPOINT>> polygons;
  std::vector<COLORREF> colors;  // one per polygon

  bool Empty() const { return polygons.empty() || colors.size() != polygons.size(); }
  void Clear();
};

struct CVEFILL {
  CVEFILLBLOCK block;
  std::vector<WPCVEFILLCOLOR> colors1;  // side 1
  std::vector<WPCVEFILLCOLOR> colors0;  // side 0
  // Each fill keeps the shading of its own tables.
  CVEFILLSHADE shade1;  // from colors1
  CVEFILLSHADE shade0;  // from colors0
  std::string Target() const;
  void SetTarget(const std::string& gbk_name);
  // What the target names: the column edge, the middle line, the
  // specified-value line, or (none of these) another curve of the track.
  bool TargetsEdge() const;
  bool TargetsLine() const;  // the edge, the middle line or the value line
  // The colour table and shading of a side (0 or 1).
  const std::vector<WPCVEFILLCOLOR>& Table(int side) const { return side ? colors1 : colors0; }
  std::vector<WPCVEFILLCOLOR>& Table(int side) { return side ? colors1 : colors0; }
  const CVEFILLSHADE& Shade(int side) const { return side ? shade1 : shade0; }
  CVEFILLSHADE& Shade(int side) { return side ? shade1 : shade0; }
  // Whether a side is shaded by value (its switch is on).
  bool ShadesSide(int side) const { return (side ? block.shade1 : block.shade0) == 1; }
  const ZULOGBRUSH& Brush(int side) const { return side ? block.brush1 : block.brush0; }
};

// A stretch of the draw points drawn as one piece: first point, count, and
// the scale part (0 wrapped from the left, 1 main, 2 wrapped from the right).
struct CDrawPointSegment {
  int first = 0;
  int count = 0;
  int direction = 1;
  int part = 1;
};
using CDrawPointSegmentArray = std::vector<CDrawPointSegment>;

class CWpCurve : public CWpContent {
  DAVODU_DECLARE_DYNCREATE(CWpCurve)

 public:
  // The draw point standing for a missing value.
  static constexpr CPoint kGapPoint{2147483647, 2147483647};

  explicit CWpCurve(CZuLayer* layer);
  ~CWpCurve() override;

  // --- Host object slots.
  void Draw(CDC* dc, CView* view, CRect* clip, CRect* done) override;
  void DrawSelectedMark(CDC* dc, CView* view) override { DrawSelectedMark(dc, view, 1); }
  // The selection mark; with handles set, also the body drawn selected and
  // the four edge handles.
  void DrawSelectedMark(CDC* dc, CView* view, int handles);
  int OnCommand(CView* view, CDC* dc, unsigned id, long param) override;
  CZuObject* HitTest(CPoint point) override;
  void DuplicateAttribute(CZuObject* target) override;
  void Amplify(FLOATPOINT centre, double fx, double fy) override;
  int ReadFromFile(CZuMFile* file) override;
  int SaveToFile(CZuMFile* file) override;
  int NodeHitTest(CPoint point) override;
  void Clear() override;
  bool IfLineStyleUsed(int code) const override;
  bool IfPointStyleUsed(int code) const;
  bool IfFillStyleUsed(int code) const;

  // --- Kit slots.
  int GetWpKitType() const override { return WPKIT_CURVE; }
  void Update() override;
  void ExportContent() override;
  void ResetData() override;
  void ClearData() override;
  int IsValid() override;
  void BuildHead() override;
  void BuildBody() override;
  // The height the head needs for its title, unit, scale values and sample
  // line at their full size (map units); the chart layout grows the head
  // row of the curve to it.
  float MinTitle() override;

  // --- Head.
  // One text of the head, at draw coordinates: x absolute, y relative to
  // the sample line.
  struct HeadText {
    std::string text;  // GBK
    ZULOGFONT font;    // shrunk where the text had to fit
    double x = 0, y = 0;
    int align_h = kAlignCenter, align_v = kAlignBottom;
  };
  // The arrangement of the head in draw units. Texts keep clear of the
  // sample line and of each other and stay inside [left, right] less the
  // cell padding; above and below are the extents of the whole block from
  // the line.
  struct HeadLayout {
    std::vector<HeadText> texts;
    double above = 0, below = 0;
    bool line = false;
    double line_left = 0, line_right = 0;
    bool point = false;
  };
  // Arranges the head between draw x left and right at a zoom, its fonts
  // first multiplied by fit. Texts are measured by dc, or by the font model
  // without one. A title and scale values too wide to share their row at a
  // readable size take a row each; what is still too wide is shrunk.
  HeadLayout LayOutHead(CDC* dc, double zoom, double left, double right, double fit) const;

  // --- Data.
  // Loads the samples of the named curve from the well's gateway; mode < 2
  // also deletes the fills.
  void InitData(const std::string& name, int mode);
  int GetSource() const { return source_; }
  void SetSource(int source);
  const std::string& GetTable() const { return table_; }
  void SetTable(const std::string& table);
  const std::vector<double>& GetDepth() const { return depths_; }
  const std::vector<double>& GetValue() const { return values_; }
  int GetSampleCount() const { return static_cast<int>(depths_.size()); }
  double GetSampleDepth(int i) const { return depths_[static_cast<std::size_t>(i)]; }
  double GetSampleValue(int i) const { return values_[static_cast<std::size_t>(i)]; }
  // Keeps both arrays when they have the same length, else clears both.
  void SetSamples(std::vector<double> depths, std::vector<double> values);
  // The value (or depth) of the sample nearest to a depth; -9999 (or the
  // depth itself) when there is none or the scale is unusable.
  float GetValue(float depth) const;
  float GetDepth(float depth) const;
  // Whether the samples were read from the document instead of the source.
  int IsDocumentSamples() const { return document_samples_; }
  // Sets the scale from the data by ValueRangeType.
  void UpdateRightLeftValue();

  // --- Scale.
  float GetLeft() const { return left_; }
  void SetLeft(float value, int unused = 0);
  float GetRight() const { return right_; }
  void SetRight(float value, int unused = 0);
  int IsLogScale() const { return log_scale_; }
  void LogScale(int flag);
  float GetMultiples() const { return multiples_; }
  void SetMultiples(float multiples) { multiples_ = multiples < 0.001f ? 1.0f : multiples; }
  int GetValueRangeType() const { return value_range_type_; }
  void SetValueRangeType(int type);
  int GetScaleDecimalDigit() const { return scale_decimal_digit_; }
  void SetScaleDecimalDigit(int digits);
  int GetUnitAlign() const { return unit_align_; }
  void SetUnitAlign(int align) { unit_align_ = align < 0 ? -1 : (align > 0 ? 1 : 0); }
  int GetLimitAlign() const { return limit_align_; }
  void SetLimitAlign(int align) { limit_align_ = align < 0 ? -1 : (align > 0 ? 1 : 0); }
  int GetUntScope() const { return unt_scope_; }
  void SetUntScope(int scope) { unt_scope_ = scope <= 0 ? 0 : (scope == 1 ? 1 : 2); }
  int GetLmtScope() const { return lmt_scope_; }
  void SetLmtScope(int scope) { lmt_scope_ = scope <= 0 ? 0 : (scope == 1 ? 1 : 2); }
  bool GetLeftAlignText() const { return right_ > left_; }
  void SetLeftAlignText(bool up);
  // The drawing style (CURVETYPE). SetType is the curve's own: it hides the
  // content type setter of CWpContent, which stays reachable through a
  // CWpContent pointer. SetCurveType is the same with an int.
  CURVETYPE GetType() const { return static_cast<CURVETYPE>(type_curve_); }
  void SetType(CURVETYPE type) { SetCurveType(type); }
  int GetCurveType() const { return type_curve_; }
  void SetCurveType(int type);
  int GetScanted() const { return scanted_; }
  void SetScanted(int n) { scanted_ = n < 1 ? 1 : n + 1; }
  float GetFrequency() const { return frequency_; }
  void SetFrequency(float f);
  int IsShowUnit() const { return show_unit_; }
  void ShowUnit(int show) { show_unit_ = show; }
  int IsShowScale() const { return show_scale_; }
  void ShowScale(int show) { show_scale_ = show; }
  int GetShowLimit() const { return show_limit_; }
  void SetShowLimit(int way) { show_limit_ = way; }
  // The unit shown in the head; "无" (none) is stored as an empty text.
  const std::string& GetUnitText() const { return unit_text_; }
  void SetUnitText(const std::string& unit);
  const ZULOGFONT& GetUnitFont() const { return unit_font_; }
  void SetUnitFont(const ZULOGFONT& font) { unit_font_ = font; }
  const ZULOGFONT& GetLimitFont() const { return limit_font_; }
  void SetLimitFont(const ZULOGFONT& font) { limit_font_ = font; }
  const ZULOGPOINT& GetPoint() const { return point_; }
  void SetPoint(const ZULOGPOINT& point) { point_ = point; }
  const ZULOGPOINT& GetPoint2() const { return point2_; }
  void SetPoint2(const ZULOGPOINT& point) { point2_ = point; }
  const ZULOGPEN& GetPen2() const { return pen2_; }
  void SetPen2(const ZULOGPEN& pen) { pen2_ = pen; }
  const ZULOGPEN& GetPenCur2() const { return pen_cur2_; }
  void SetPenCur2(const ZULOGPEN& pen) { pen_cur2_ = pen; }
  float GetFlagLineValue() const { return flag_line_value_; }
  void SetFlagLineValue(float v) { flag_line_value_ = v; }
  bool GetFlagLineShow() const { return flag_line_show_; }
  void SetFlagLineShow(bool show) { flag_line_show_ = show; }
  const ZULOGPEN& GetFlagLinePen() const { return flag_line_pen_; }
  void SetFlagLinePen(const ZULOGPEN& pen) { flag_line_pen_ = pen; }
  int GetPenColorScope() const { return pen_color_scope_; }
  void SetPenColorScope(int scope) { pen_color_scope_ = scope; }
  // Flags of the host's style pages: whether a change of the title font's
  // face, size or colour applies to this curve. Stored and returned plainly.
  unsigned GetTtlFontNameApply() const { return title_font_name_apply_; }
  void SetTtlFontNameApply(unsigned apply) { title_font_name_apply_ = apply; }
  unsigned GetTtlFontSizeApply() const { return title_font_size_apply_; }
  void SetTtlFontSizeApply(unsigned apply) { title_font_size_apply_ = apply; }
  unsigned GetTtlFontClrApply() const { return title_font_color_apply_; }
  void SetTtlFontClrApply(unsigned apply) { title_font_color_apply_ = apply; }
  double GetGridOrigin() const { return grid_origin_; }
  double GetGridStep() const { return grid_step_; }

  // Map x of a value; part receives 0 (wrapped from beyond the left end),
  // 1 (main scale) or 2 (wrapped from beyond the right end). Node 0's x
  // (part unchanged) when the value or the scale cannot be mapped.
  double ValToMapX(double value, int* part) const;
  double ValToMapX(double value) const {
    int part = 1;
    return ValToMapX(value, &part);
  }
  // Scale ends after a change of kind or data, and the square-wave step and
  // grid; keep_frequency keeps a stored step that still fits the scale.
  void LmtCve(bool keep_frequency = false);
  void RecAmp();

  // --- Fills.
  int FillCount() const { return static_cast<int>(fills_.size()); }
  CVEFILL* FillAt(int i) const;
  int FindFill(const CVEFILL* fill) const;
  // Takes ownership; null or a fill already present is ignored.
  void AddFill(std::unique_ptr<CVEFILL> fill);
  void DelFill(int i);
  void DelFill(CVEFILL* fill);
  void ClearFills();
  int GetFillAt() const { return fill_at_; }
  // The fill commands: 0 add, 1/2 enable/disable the current fill, 3 delete
  // it, 4/5 enable/disable all, 6 delete all, others select fill cmd - 7.
  void Operation(int command);
  // Places the boundary values of the fills on the present scale.
  void LmtFll();

  // --- Fill shading (wp_curve_fill_layout.cpp).
  // Rebuilds the shading of every fill from its tables: side 1 from the
  // first table, side 0 from the second. Runs after every body build, so
  // the shading follows the curve's geometry and data.
  void CurveColorGradualChange();
  // Rebuilds the shading of one side of a fill from a colour table; an
  // empty table leaves no shading (the fill then uses its brush).
  void CalCurveColorSegmentAndColorRef(CVEFILL* fill, const std::vector<WPCVEFILLCOLOR>& table,
                                       bool side1);
  void ClearCurveColorSegmentAndColorRef(CVEFILL* fill, bool side1);
  // The runs of the samples a colour table covers (see CVEFILLSHADE).
  void GetFillSegmentVal(const std::vector<WPCVEFILLCOLOR>& table, CVEFILLSHADE* shade);
  // The slices of the runs, closed at the side's edge, with their colours.
  void GetFillSegmentPoint(const std::vector<WPCVEFILLCOLOR>& table, CVEFILLSHADE* shade,
                           bool side1);
  // The band of a value in a table: k when it lies from entry k's lower
  // value up to entry k+1's, the last entry when it lies between that
  // entry's lower and upper value; -1 otherwise. Values are log10 on a
  // logarithmic scale, as the tables hold them then.
  static int GetPointInColorIndex(const std::vector<WPCVEFILLCOLOR>& table, double x);
  // The colour of a value: the first entry's colour at or below its lower
  // value, the last entry's above the last lower value, and between two
  // lower values each channel blended between the two entries' colours.
  // False for an empty table.
  static bool GetCurveColorref(const std::vector<WPCVEFILLCOLOR>& table, double x,
                               COLORREF* color);

  // --- Fill drawing (wp_curve_fill_draw.cpp).
  // Whether the fills are drawn with an update rectangle (null: all): the
  // body must meet it, the curve have draw segments and at least one fill,
  // and its style draw a line or points (Type 0, 1 or 4).
  bool IsDrawFill(const CRect* rect) const;
  // Draws every enabled fill, in list order, inside the body. A track draws
  // the fills of all its curves before any curve line (so no fill covers a
  // line); a curve outside a track draws its own before its body.
  void DrawFills(CDC* dc, const CRect* rect);
  // Clipped to the body, one side (0 or 1) of a fill whose target is the
  // edge, the middle line or the value line, and of a fill to another curve.
  void DrawOneFillToLine(CDC* dc, const CRect* rect, const CVEFILL& fill, int side);
  void DrawOneFillToCurve(CDC* dc, const CRect* rect, const CVEFILL& fill, int side);
  // The value-coloured shading of one side of a fill.
  void DrawFillShade(CDC* dc, const CVEFILL& fill, int side);
  // The curve's drawn path on the main scale (the points of its part-1 draw
  // segments in order), split at missing samples into stretches. With a
  // rectangle only the stretches and points near its height (100 draw units
  // beyond it) are kept.
  std::vector<std::vector<CPoint>> FillPath(const CRect* rect) const;

  // --- Drawing (wp_curve_draw.cpp).
  // Distance from a draw point to the drawn curve (draw units × 10); FLT_MAX
  // when the curve has fewer than two draw points or the point is beside it.
  float PtOnCurve(CPoint point) const override;
  const std::vector<CPoint>& GetDrawPoints() const {
    EnsureDrawn();
    return draw_points_;
  }
  const CDrawPointSegmentArray& GetDrawSegments() const {
    EnsureDrawn();
    return draw_segments_;
  }
  void ArrSegFll(CDrawPointSegmentArray& out) const {
    EnsureDrawn();
    out = draw_segments_;
  }
  // Builds the draw points and runs; 1 on success.
  int BuildCurve();
  // Cuts the runs into draw segments, limited to a clip rectangle when given;
  // returns the segment count.
  int BuildDrw(const CRect* rect);

 protected:
  void Initialize();
  std::string KindLabel() const override;

 private:
  void InitDepAndVal(LogCveDataIO* io);
  LogCveDataIO* FindCurveData();
  bool ScaleUsable() const;
  bool ValueValid(double v) const;
  void SclTrk();
  void ReCalFillColor(bool to_log);
  void Convert();
  static void ConvertFill(CVEFILL* fill, const std::string& version_text);
  void ReadFills(CZuMFile* file, int index, int count);

  void BuildOuterCurve(int from, int to, double d1, double d2);
  void CloseRun(int part);
  void DrawBody(CDC* dc, bool selected);
  void DrawCurveSegments(CDC* dc, const ZULOGPEN& pen, double zoom);
  void DrawScatteredPoint(CDC* dc, const ZULOGPOINT& point, double zoom);
  void DrawBar(CDC* dc, const ZULOGPEN& pen, double zoom);
  void DrawSquareWave(CDC* dc, const ZULOGPEN& pen, double zoom);
  void DrawHead(CDC* dc);
  void DrawFlagLine(CDC* dc);
  int SnapToGrid(int x) const;

  // Fields, in declaration order.
  int source_;
  std::string table_;
  int show_unit_;
  std::string unit_text_;
  ZULOGFONT unit_font_;
  int unit_align_;
  int log_scale_;
  int show_scale_;
  float multiples_;
  float left_;
  float right_;
  int show_limit_;
  ZULOGFONT limit_font_;
  int limit_align_;
  int type_curve_;
  ZULOGPOINT point_;
  ZULOGPOINT point2_;
  ZULOGPEN pen2_;
  ZULOGPEN pen_cur2_;
  int scanted_;
  float frequency_;
  std::vector<double> depths_;
  std::vector<double> values_;
  std::vector<std::unique_ptr<CVEFILL>> fills_;
  int fill_at_;
  int document_samples_;
  int unt_scope_;
  int lmt_scope_;
  double grid_origin_;
  double grid_step_;
  double linear_left_;
  double linear_right_;
  double log_left_;
  double log_right_;
  // The draw points and segments are a cache: BuildBody only marks them
  // stale and they are built on first use, as a chart's layout runs its
  // change chains many times over before the chart is drawn once.
  void EnsureDrawn() const;
  bool drawn_stale_ = false;
  std::vector<CPoint> draw_points_;
  std::vector<int> segment_lengths_;
  std::vector<int> segment_parts_;
  CDrawPointSegmentArray draw_segments_;
  float flag_line_value_;
  bool flag_line_show_;
  ZULOGPEN flag_line_pen_;
  int value_range_type_;
  int scale_decimal_digit_;
  int pen_color_scope_;
  unsigned title_font_name_apply_ = 0;
  unsigned title_font_size_apply_ = 0;
  unsigned title_font_color_apply_ = 0;
  unsigned ttl_font_name_apply_;
  unsigned ttl_font_size_apply_;
  unsigned ttl_font_clr_apply_;

  // Run being built by BuildCurve.
  int run_length_ = 0;
};

}  // namespace davodu

#endif  // DAVODU_DISPLAY_WP_CURVE_H_
