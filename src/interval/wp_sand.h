// CWpSand: sand bodies, or any interval table of the well chosen by a
// SANDTYPE (1-29), drawn as filled bars or as brackets of lines, with the
// interval's thickness written beside it.
//
// The kit shows one LogSandDIO of its well's gateway. Moving a segment or
// one of its boundaries with the mouse edits the data at once: the drag
// (in map Y, clamped by the kit's neighbour rule) is converted to depths
// through the kit's depth mapping, scale segments and fault gaps
// included; when the data refuses, the view is restored from the data.
//
// The data source is the SANDTYPE; the data name names a scattered table
// (type 29). Sources: wp_sand.cpp (data link, editing, drawing),
// wp_sand_io.cpp (records, export).
#ifndef DAVODU_INTERVAL_WP_SAND_H_
#define DAVODU_INTERVAL_WP_SAND_H_

#include <cstdint>
#include <string>

#include "davodu/data/data_io.h"
#include "davodu/interval/bound_segment.h"
#include "davodu/interval/wp_segment.h"
#include "davodu/kits/oriented_text.h"

namespace davodu {

struct LOGSAND;

class CWpSand : public CWpSegment, public BoundSegment<CWpSand, LogSandDIO, LOGSAND> {
  DAVODU_DECLARE_DYNCREATE(CWpSand)

 public:
  // Symbol types.
  static constexpr int kSymbolBar = 0;
  static constexpr int kSymbolBracket = 1;
  // Positions of the bracket's vertical line.
  static constexpr int kLineLeft = -1;
  static constexpr int kLineMiddle = 0;
  static constexpr int kLineRight = 1;
  static constexpr int kLineBoth = 2;
  static constexpr int kLineNone = 3;
  // Documents before this format version took the bar colour from the
  // segment colour.
  static constexpr double kBrushColorVersion = 3.0103;

  explicit CWpSand(CZuLayer* layer);

  // --- Host object slots.
  void DuplicateAttribute(CZuObject* target) override;
  void Amplify(FLOATPOINT centre, double fx, double fy) override;
  int ReadFromFile(CZuMFile* file) override;
  int SaveToFile(CZuMFile* file) override;
  void Clear() override;
  bool IfLineStyleUsed(int code) const override;

  // --- Kit slots.
  int GetWpKitType() const override { return WPKIT_SAND; }
  void InitDataTable() override { BindDataTable(); }
  void ResetData() override { ReloadData(); }
  void ExportContent() override;

  // --- Segment slots.
  void MoveSeg(int index, double dy) override;
  void MoveSegP(int index, double dy, int which) override;
  void DrawOneSeg(WPSEGMENT& seg, COLORREF color, CDC* dc, CView* view, CRect* clip,
                  CRect* done) override;
  void UpdateSegDepth() override;

  // --- Data.
  // The segments from the data, one per record that does not overlap an
  // earlier one.
  void UpdateD2V();
  int GetSandType() const { return data_source_; }
  // Shows another sand type and reloads.
  void SetSandType(int type);
  // The scattered table of type 29; reloads.
  void SetDataName(const std::string& name);
  // A boundary set to a depth of the chart's reference: written to the
  // data as it is (the data applies its neighbour rule); false for a bad
  // index or when the data refuses. Without data the segment changes.
  bool SetSegTopDpth(int index, double depth);
  bool SetSegBottomDpth(int index, double depth);

  // --- Look. The setters return false, changing nothing, for values out
  // of range.
  int GetSymbleType() const { return symbol_type_; }
  bool SetSymbleType(int type);
  int GetVLinePos() const { return vline_pos_; }
  bool SetVLinePos(int pos);
  double GetSymbleLeftPos() const { return left_pos_; }
  bool SetSymbleLeftPos(double pos);
  double GetSymbleRightPos() const { return right_pos_; }
  bool SetSymbleRightPos(double pos);
  float GetLineSize() const { return line_size_; }
  bool SetLineSize(float size) {
    line_size_ = size;
    return true;
  }
  bool IsThkTextShow() const { return show_thickness_; }
  void ShowThkText(bool show) { show_thickness_ = show; }
  double GetThkTextPos() const { return thickness_pos_; }
  bool SetThkTextPos(double pos);
  const ZULOGFONT& GetThkTextFont() const { return thickness_font_; }
  void SetThkTextFont(const ZULOGFONT& font) { thickness_font_ = font; }
  int GetThkTextPrecision() const { return precision_; }
  void SetThkTextPrecision(int precision) { precision_ = precision; }
  const ZULOGPEN& GetLogDividePen() const { return divide_pen_; }
  void SetLogDividePen(const ZULOGPEN& pen) { divide_pen_ = pen; }
  bool IsDivideLineVisible() const { return divide_line_visible_; }
  void SetDivideLineVisible(bool visible) { divide_line_visible_ = visible; }
  bool IsFill() const { return fill_; }
  void SetFill(bool fill) { fill_ = fill; }
  const std::string& GetFillStyle() const { return fill_style_; }
  void SetFillStyle(const std::string& set) { fill_style_ = set; }
  const ZULOGBRUSH& GetFillBrush() const { return fill_brush_; }
  void SetFillBrush(const ZULOGBRUSH& brush) { fill_brush_ = brush; }
  int GetTextDir() const { return text_dir_; }
  void SetTextDir(int dir) { text_dir_ = dir; }
  int GetAngleType() const { return angle_type_; }
  void SetAngleType(int type) { angle_type_ = type; }

  // The thickness text of a segment: its thickness in the chart's depth
  // reference with the kit's precision.
  std::string ThicknessText(const WPSEGMENT& seg);

 protected:
  void Initialize();
  std::string KindLabel() const override;

 private:
  friend class BoundSegment<CWpSand, LogSandDIO, LOGSAND>;
  LogSandDIO* FindDataObject(WDMgrIO* gateway);
  void TakeIdentifier(const LOGSAND& entry);
  // The record a segment shows; -1 when none.
  int RecordOf(int index) const;

  int symbol_type_;
  int vline_pos_;
  double left_pos_;
  double right_pos_;
  float line_size_;
  bool show_thickness_;
  double thickness_pos_;
  ZULOGFONT thickness_font_;
  int precision_;
  ZULOGPEN divide_pen_;
  bool divide_line_visible_;
  bool fill_;
  std::uint32_t color_word_;
  std::string fill_style_;
  ZULOGBRUSH fill_brush_;
  int text_dir_;
  int angle_type_;
};

}  // namespace davodu

#endif  // DAVODU_INTERVAL_WP_SAND_H_
