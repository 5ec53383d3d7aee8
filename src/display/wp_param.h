// CWpParam: a parameter column, values over depth intervals.
//
// Each interval has a top depth, a bottom depth and a value text, drawn as a
// box with the frame lines, fill, point symbols and text placements the
// kit's settings switch on. The intervals are the kit's own, kept in the
// document (data type "图形", the default), or come from a parameter table
// of the gateway (data type "当前井" for the chart's well, "离散数据" for
// scattered tables, with a table and a field name). Every style can also be
// chosen per value through named templates of the host's template store
// (template_manager.h), which map a value text to a line style, size,
// colour, point style, font face or fill style. A number is shown with
// DigitNum decimals; a stratum number of the chart's well ("当前井", field
// "层号") is shown as the stratum's alias, in script text.
//
// Records (after the content section): 174 (flags, styles, template names),
// 153 (data type, table, field, alignments, font, NullDisplay), one 153 per
// interval (value, top depth, bottom depth), 142 "m_enTextDir", 150
// "m_iAngleType", 149 "m_iDigitNum", then 80.
//
// Sources: wp_param.cpp (settings, intervals, data), wp_param_io.cpp
// (records), wp_param_draw.cpp (drawing), wp_param_gestures.cpp (mouse and
// commands), wp_param_export.cpp (the table of intervals).
#ifndef DAVODU_DISPLAY_WP_PARAM_H_
#define DAVODU_DISPLAY_WP_PARAM_H_

#include <memory>
#include <string>
#include <vector>

#include "davodu/data/observer.h"
#include "davodu/kits/oriented_text.h"
#include "davodu/kits/wp_content.h"

namespace davodu {

class CWpParam;
class CWpWell;
class LogParaDIO;
class LogParaDMgrIO;
class WDMgrIO;

// One interval of a parameter column.
struct CgParamSegment {
  int number = -1;
  bool active = false;
  float left = 0, right = 0;       // map X
  float top_y = 0, bottom_y = 0;   // map Y
  float top_depth = 0, bottom_depth = 0;
  std::string value;               // GBK
  CWpParam* owner = nullptr;
};


class CWpParam : public CWpContent, public Observer {
  DAVODU_DECLARE_DYNCREATE(CWpParam)

 public:
  // The command that asks the bound source to check its data set.
  static constexpr unsigned kCmdCheckData = 16455;

  // Frame lines, point symbols and text placements of a box.
  enum Line { kTopHLine, kMidHLine, kBottomHLine, kLeftVLine, kMidVLine, kRightVLine, kLineCount };
  enum Point { kTopPoint, kMidPoint, kBottomPoint, kPointCount };
  enum Text { kTopHText, kMidHText, kBottomHText, kLeftVText, kMidVText, kRightVText, kTextCount };
  // The template names, in record order.
  enum Template {
    kLineTypeTemp, kLineSizeTemp, kLineColorTemp,
    kPointTypeTemp, kPointSizeTemp, kPointColorTemp,
    kTextTypeTemp, kTextSizeTemp, kTextColorTemp,
    kRectTypeTemp, kRectSizeTemp, kRectBColorTemp, kRectIColorTemp,
    kTemplateCount
  };

  explicit CWpParam(CZuLayer* layer);
  ~CWpParam() override;

  // --- Host object slots.
  void Draw(CDC* dc, CView* view, CRect* clip, CRect* done) override;
  void DrawSelectedMark(CDC* dc, CView* view) override;
  int OnLButtonDown(CView* view, CDC* dc, unsigned flags, CPoint point) override;
  int OnLButtonUp(CView* view, CDC* dc, unsigned flags, CPoint point) override;
  int OnMouseMove(CView* view, CDC* dc, unsigned flags, CPoint point) override;
  int OnCommand(CView* view, CDC* dc, unsigned id, long param) override;
  void DuplicateAttribute(CZuObject* target) override;
  void Amplify(FLOATPOINT centre, double fx, double fy) override;
  int ReadFromFile(CZuMFile* file) override;
  int SaveToFile(CZuMFile* file) override;
  void Clear() override;
  bool IfLineStyleUsed(int code) const override;
  bool IfPointStyleUsed(int code) const;
  bool IfFillStyleUsed(int code) const;

  // --- Kit slots.
  void InitDataTable() override;
  void ResetData() override;
  void ExportContent() override;
  void BuildBody() override;

  // --- Observer.
  void UpdateWithObservee() override;

  // --- Data. Initialize is the kit's own step after it is added to a
  // track: the defaults, and the well with its gateway.
  void Initialize(CWpWell* well);
  // Binds to a parameter table of the gateway and reads it at once; always
  // false (the binding shows in GetData()).
  bool SetData(const std::string& type, const std::string& table, const std::string& field);
  // The bound source; null when there is none (or its gateway is gone).
  LogParaDIO* GetData() const;
  WDMgrIO* GetDataMgr() const { return gateway_; }
  // A gateway for a kit outside any track (a track's kit uses its well's).
  void SetDataMgr(WDMgrIO* gateway) { own_gateway_ = gateway; }
  LogParaDMgrIO* GetDataInfo() const;
  // Clears the intervals and builds them again from the source.
  void UpdateData();

  // --- Intervals.
  // Appends an interval; nothing for depths that map outside the float
  // range or are missing. Returns whether it was added.
  bool AddSegment(int number, const std::string& value, float top, float bottom);
  const std::vector<std::shared_ptr<CgParamSegment>>& GetSegList() const { return segs_; }
  int GetSegCount() const { return static_cast<int>(segs_.size()); }
  int GetActiveSeg() const { return active_; }
  void ActivateSegment(int n);
  float GetActiveSegTopDepth() const;
  float GetActiveSegBotDepth() const;
  std::string GetActiveSegValue() const;
  // Sets the active interval's value: in the document for a "图形" column,
  // through the source (which redraws every kit showing it) otherwise.
  void SetActiveSegValue(const std::string& value);
  // A value as shown: a number with DigitNum decimals, any other text as
  // it is.
  std::string Str2Num(const std::string& value) const;

  // --- Settings.
  const ZULOGFONT& GetTextFont() const { return text_font_; }
  void SetTextFont(const ZULOGFONT& font) { text_font_ = font; }
  const std::string& GetTextAlignH() const { return align_h_; }
  void SetTextAlignH(const std::string& a) { align_h_ = a; }
  const std::string& GetTextAlignV() const { return align_v_; }
  void SetTextAlignV(const std::string& a) { align_v_ = a; }
  const std::string& GetTextDirection() const { return text_direction_; }
  void SetTextDirection(const std::string& d) { text_direction_ = d; }
  float GetBLWidth() const { return bl_width_; }
  void SetBLWidth(float w) { bl_width_ = w; }
  unsigned GetBLColor() const { return bl_color_; }
  void SetBLColor(unsigned c) { bl_color_ = c; }
  int GetState() const { return state_; }
  void SetState(int state) { state_ = state; }
  const std::string& GetDataType() const { return data_type_; }
  void SetDataType(const std::string& t) { data_type_ = t; }
  const std::string& GetDataTable() const { return data_table_; }
  void SetDataTable(const std::string& t) { data_table_ = t; }
  const std::string& GetDataField() const { return data_field_; }
  void SetDataField(const std::string& f) { data_field_ = f; }

  bool IsLineVisible(Line l) const { return lines_[l]; }
  void SetLineVisible(Line l, bool v) { lines_[l] = v; }
  bool IsPointVisible(Point p) const { return points_[p]; }
  void SetPointVisible(Point p, bool v) { points_[p] = v; }
  bool IsTextVisible(Text t) const { return texts_[t]; }
  void SetTextVisible(Text t, bool v) { texts_[t] = v; }
  const std::string& GetTemplateName(Template t) const { return templates_[t]; }
  void SetTemplateName(Template t, const std::string& name) { templates_[t] = name; }

  const ZULOGPEN& GetLineType() const { return line_type_; }
  void SetLineType(const ZULOGPEN& pen) { line_type_ = pen; }
  const ZULOGPOINT& GetPointType() const { return point_type_; }
  void SetPointType(const ZULOGPOINT& point) { point_type_ = point; }
  const ZULOGFONT& GetTextType() const { return text_type_; }
  void SetTextType(const ZULOGFONT& font) { text_type_ = font; }
  bool IsFillVisible() const { return fill_visible_; }
  void SetFillVisible(bool v) { fill_visible_ = v; }
  // The fill brush: style, colour, background colour (word2) and size
  // (word3, the bits of a float).
  const ZULOGBRUSH& GetRectFillBrush() const { return rect_fill_brush_; }
  void SetRectFillBrush(const ZULOGBRUSH& brush) { rect_fill_brush_ = brush; }
  bool IsNullDisplay() const { return null_display_; }
  void SetNullDisplay(bool v) { null_display_ = v; }
  int GetTextDir() const { return text_dir_; }
  void SetTextDir(int dir) { text_dir_ = dir; }
  int GetAngleType() const { return angle_type_; }
  void SetAngleType(int type) { angle_type_ = type; }
  int GetDigitNum() const { return digit_num_; }
  // Kept within 0..10.
  void SetDigitNum(int digits);

 protected:
  void InitializeNames();
  std::string KindLabel() const override;

 private:
  void SetDefaults();
  // The well and gateway of the parent track's well (or the given gateway
  // outside a track).
  void UpdateDataMgr();
  void SetupContent();
  void ClearContent();
  CgParamSegment* FindSeg(int number) const;
  int SegmentAt(CPoint point) const;
  void DrawBoxes(CDC* dc);
  void DrawTexts(CDC* dc);
  void DrawValue(CDC* dc, const CgParamSegment& seg, CPoint at);

  ZULOGFONT text_font_;
  std::string align_h_, align_v_, text_direction_;
  float bl_width_;
  unsigned bl_color_;
  int state_;
  std::string data_type_, data_table_, data_field_;
  CWpWell* well_ = nullptr;
  WDMgrIO* gateway_ = nullptr;
  WDMgrIO* own_gateway_ = nullptr;
  std::vector<std::shared_ptr<CgParamSegment>> segs_;
  int last_number_;
  int active_;
  bool lines_[kLineCount];
  ZULOGPEN line_type_;
  bool points_[kPointCount];
  ZULOGPOINT point_type_;
  bool texts_[kTextCount];
  ZULOGFONT text_type_;
  bool fill_visible_;
  ZULOGBRUSH rect_fill_brush_;
  std::string templates_[kTemplateCount];
  bool null_display_;
  int text_dir_;
  int angle_type_;
  int digit_num_;
};

}  // namespace davodu

#endif  // DAVODU_DISPLAY_WP_PARAM_H_
