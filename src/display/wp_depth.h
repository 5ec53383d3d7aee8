// CWpDepth: the depth ruler of a chart. Between the top and bottom depth of
// its well it draws a tick every TickSpace metres, a longer middle tick
// every TickNum ticks and a labelled long tick every "ticks per label"
// ticks. Labels can be shown in another depth reference than the one the
// chart is drawn in (measured depth, vertical depth or altitude); each tick
// is then converted through the host's well-data manager.
#ifndef DAVODU_DISPLAY_WP_DEPTH_H_
#define DAVODU_DISPLAY_WP_DEPTH_H_

#include "davodu/data/data_sources.h"
#include "davodu/kits/wp_content.h"

namespace davodu {

// How the ticks are spaced.
enum DepthEqualIntervalType : int {
  DEI_CHART = 0,  // equally in the chart's depth reference
  DEI_SHOWN = 1,  // equally in the reference the labels are shown in
};

class CWpDepth : public CWpContent {
  DAVODU_DECLARE_DYNCREATE(CWpDepth)

 public:
  // Documents older than this kept a single tick pen; the three tick pens
  // are derived from it when such a document is read.
  static constexpr double kTickPensVersion = 3.0103;

  explicit CWpDepth(CZuLayer* layer);

  // Host object slots.
  void Draw(CDC* dc, CView* view, CRect* clip, CRect* done) override;
  void DrawSelectedMark(CDC* dc, CView* view) override { DrawSelectedMark(dc, view, 1); }
  // The selection frame; with handles set, also the four edge handles.
  void DrawSelectedMark(CDC* dc, CView* view, int handles);
  void DuplicateAttribute(CZuObject* target) override;
  void Amplify(FLOATPOINT centre, double fx, double fy) override;
  int ReadFromFile(CZuMFile* file) override;
  int SaveToFile(CZuMFile* file) override;
  void Clear() override;
  bool IfLineStyleUsed(int code) const override;

  // Kit slots.
  // Picks a tick spacing of 50, 100 or 200 times a power of ten that suits
  // the depth scale, with a label every 10 ticks and a middle tick every 5.
  void AutoDepth() override;
  void ApplyStyle() override;
  using CWpContent::ResetWidth;
  void ResetWidth() override;
  int GetWpKitType() const override { return WPKIT_DEPTH; }
  // Writes the chart's scale into a title that shows one ("深度(1:500)").
  void ScaleSegment() override;

  // --- Ticks. TickAlign: -1 labels only, 0 left, 1 right, 2 both sides,
  // 3 left / 4 right / 5 both with middle and long ticks only.
  int GetTickAlign() const { return tick_align_; }
  void SetTickAlign(int align);
  float GetTickSpace() const { return tick_space_; }
  // Values below 0.001 m are ignored; the label interval in metres stays.
  void SetTickSpace(float space);
  // The label interval in metres: ticks per label times TickSpace.
  float GetDepthSpace() const;
  // Sets the ticks per label from a label interval (at least 1 tick).
  void SetDepthSpace(float space);
  int GetTickNum() const { return tick_num_; }
  // Clamped to 1 .. ticks per label.
  void SetTickNum(int num);
  int GetTicksPerLabel() const { return ticks_per_label_; }
  const ZULOGPEN& GetTickPen() const { return tick_pen_; }
  void SetTickPen(const ZULOGPEN* pen) {
    if (pen) tick_pen_ = *pen;
  }
  const ZULOGPEN& GetLargeLinePen() const { return large_line_pen_; }
  void SetLargeLinePen(const ZULOGPEN& pen) { large_line_pen_ = pen; }
  const ZULOGPEN& GetMiddleLinePen() const { return middle_line_pen_; }
  void SetMiddleLinePen(const ZULOGPEN& pen) { middle_line_pen_ = pen; }
  const ZULOGPEN& GetSmallLinePen() const { return small_line_pen_; }
  void SetSmallLinePen(const ZULOGPEN& pen) { small_line_pen_ = pen; }

  // --- Labels. DepthAlign: 0 horizontal, 1 turned left, 2 turned right.
  const ZULOGFONT& GetDepthFont() const { return depth_font_; }
  void SetDepthFont(const ZULOGFONT* font) {
    if (font) depth_font_ = *font;
  }
  int GetDepthAlign() const { return depth_align_; }
  void SetDepthAlign(int align);
  DepthType GetShowDepthType() const { return show_depth_type_; }
  void SetShowDepthType(DepthType type) { show_depth_type_ = type; }
  DepthEqualIntervalType GetEqualIntervalType() const { return equal_interval_type_; }
  void SetEqualIntervalType(DepthEqualIntervalType type) { equal_interval_type_ = type; }

  // --- Settings of the host's style pages.
  int GetDepthScope() const { return depth_scope_; }
  void SetDepthScope(int scope);
  // The depth scale has no title scope: it stores nothing (hiding the
  // kit's setter, which would spread a title scope).
  void SetTitleScope(int) {}
  int GetLabelScope() const { return label_scope_; }
  void SetLabelScope(int) {}
  int GetLblFtScope() const { return label_font_scope_; }
  void SetLblFtScope(int) {}
  int GetTickScope() const { return tick_scope_; }
  void SetTickScope(int) {}
  int GetTikLnScope() const { return tick_line_scope_; }
  void SetTikLnScope(int) {}
  unsigned GetTtlFontNameApply() const { return title_font_name_apply_; }
  void SetTtlFontNameApply(unsigned apply) { title_font_name_apply_ = apply; }
  unsigned GetTtlFontSizeApply() const { return title_font_size_apply_; }
  void SetTtlFontSizeApply(unsigned apply) { title_font_size_apply_ = apply; }
  unsigned GetTtlFontClrApply() const { return title_font_color_apply_; }
  void SetTtlFontClrApply(unsigned apply) { title_font_color_apply_ = apply; }

  // --- Depth references. A depth of the chart's reference in the shown
  // one, and back. Altitude is carried as its negative so that it grows
  // downwards. Without a well-data manager depths pass unchanged.
  float DepthToShowDepth(float depth);
  double ShowDepthToDepth(double depth);

 protected:
  void Initialize();
  std::string KindLabel() const override;

 private:
  // The tick marks and labels of the body.
  void DrawBody(CDC* dc, const CRect* clip);
  // The document's format version (the current one without a document).
  double DocumentVersion() const;

  // Fields, in declaration order.
  int tick_align_;
  float tick_space_;
  int tick_num_;
  ZULOGPEN tick_pen_;
  ZULOGFONT depth_font_;
  int ticks_per_label_;
  int depth_align_;
  int depth_scope_;
  int spare_scope_;
  int label_scope_;
  int label_font_scope_;
  int tick_scope_;
  int tick_line_scope_;
  DepthType show_depth_type_;
  DepthEqualIntervalType equal_interval_type_;
  ZULOGPEN large_line_pen_;
  ZULOGPEN middle_line_pen_;
  ZULOGPEN small_line_pen_;
  unsigned title_font_name_apply_;
  unsigned title_font_size_apply_;
  unsigned title_font_color_apply_;
};

}  // namespace davodu

#endif  // DAVODU_DISPLAY_WP_DEPTH_H_
