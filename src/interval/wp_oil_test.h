// CWpOilTest: the oil test intervals of the well.
//
// Each test interval is drawn as a small table of chosen test fields (name,
// value and unit per cell), filled with the colour of its result's oil
// symbol (fill mode 0) or the fill brush (1) or not at all (2); beside the
// table, when the kit is not full width, a composition bar splits the
// interval's height into oil, gas and water bands by their shares of the
// daily (or cumulative) production; and, when the pie is visible, a pie of
// the same three quantities sits in a lane at the column's right (the
// table and the bar give it room), joined to the interval by a leader, its
// sectors labelled with the value and the share outside the circle.
// A production value that is missing (kFltMax, an empty cell) counts as
// nothing: it takes no band and no sector.
//
// Beside each pie a label block may list chosen test fields above and
// below a label line.
//
// The data is the oil test object of the chart's well (data type
// "当前井") or of a scattered table ("离散数据"); data type "图形" shows
// nothing. Intervals can be picked, moved and resized with the mouse and
// their pies dragged; these are edits of the picture only, the test data
// keeps its depths (the next load of the data shows them again). A dragged
// pie keeps its place across reloads (offsets go to the intervals in list
// order).
//
// Records (after the content section): one 153 of the settings (data
// type, table, table and cell settings, bar, pie, leader and label block
// settings, the column fractions and show fields without counts), one 153
// per interval (top, bottom, pie offsets, value count as a short, the
// values), 102 (the result fill mode), then 80. Documents of another
// version than the current one carry an older settings layout, which is
// read too. Export: "顶深[m] 厚度[m] 试油结果 日产油量 日产气量 日产水量",
// one line per test.
// Sources: wp_oil_test.cpp (settings, data), wp_oil_test_io.cpp (records,
// export), wp_oil_test_draw.cpp, wp_oil_test_gestures.cpp.
#ifndef DAVODU_INTERVAL_WP_OIL_TEST_H_
#define DAVODU_INTERVAL_WP_OIL_TEST_H_

#include <memory>
#include <string>
#include <vector>

#include "davodu/data/observer.h"
#include "davodu/kits/wp_content.h"

namespace davodu {

class CDIOilTest;
class CWpOilTest;
class WDMgrIO;

struct CgOilTestSegment {
  int index = -1;
  bool active = false;
  double left = 0, right = 0;
  double top_y = 0, bottom_y = 0;
  double top_depth = 0, bottom_depth = 0;
  std::vector<std::string> values;  // one per show field
  std::string result;
  // Production; 0 where the test has no value.
  double oil = 0, gas = 0, water = 0;
  double oil_total = 0, gas_total = 0, water_total = 0;
  // The pie centre's offset from (right edge, middle of the interval).
  double pie_dx = 0, pie_dy = 0;
  bool pie_selected = false;
  CWpOilTest* owner = nullptr;
};

class CWpOilTest : public CWpContent, public Observer {
  DAVODU_DECLARE_DYNCREATE(CWpOilTest)

 public:
  explicit CWpOilTest(CZuLayer* layer);
  ~CWpOilTest() override;

  // Pick modes of PickSeg.
  static constexpr int kPickNone = 0;
  static constexpr int kPickActivated = 2;
  static constexpr int kPickInside = 4;
  static constexpr int kPickTop = 5;
  static constexpr int kPickBottom = 6;

  void Draw(CDC* dc, CView* view, CRect* clip, CRect* done) override;
  int OnLButtonDown(CView* view, CDC* dc, unsigned flags, CPoint point) override;
  int OnMouseMove(CView* view, CDC* dc, unsigned flags, CPoint point) override;
  int OnLButtonUp(CView* view, CDC* dc, unsigned flags, CPoint point) override;
  int ReadFromFile(CZuMFile* file) override;
  int SaveToFile(CZuMFile* file) override;
  void Clear() override;
  int GetWpKitType() const override { return WPKIT_OILTEST; }
  void InitDataTable() override;
  void ResetData() override;
  void ExportContent() override;
  void BuildBody() override;
  void UpdateWithObservee() override;

  // Binds to the oil tests of a source ("当前井"; "图形" binds nothing).
  bool SetData(const std::string& type, const std::string& table);
  CDIOilTest* GetData() const;
  // The default show fields for the bound data, 2 x 2.
  void InitFieldNames();
  void UpdateData();

  const std::vector<std::unique_ptr<CgOilTestSegment>>& GetSegList() const { return segs_; }
  int GetSegCount() const { return static_cast<int>(segs_.size()); }
  // Appends an interval with the values of the show fields; its map
  // values follow from the depths.
  CgOilTestSegment* AddSegment(double top, double bottom, const std::vector<std::string>& values);
  // The list index of the active interval, -1 without one.
  int GetActiveSeg() const { return active_; }
  // What a draw point picks (kPick*); an interval under the point becomes
  // active when none was or the point is outside the active one.
  int PickSeg(CPoint point);
  // Selects the pie whose square holds the point (clearing the others);
  // true when one was found.
  bool isSelectPie(CPoint point);
  // Every interval takes the body's left and right.
  void LimitSegments();

  // --- Settings.
  bool IsFullWidth() const { return full_width_; }
  void SetFullWidth(bool v) { full_width_ = v; }
  // 0 the result's symbol colour, 1 the fill brush, 2 none.
  int GetFillMode() const { return fill_mode_; }
  void SetFillMode(int mode) { fill_mode_ = mode; }
  const ZULOGBRUSH& GetFillBrush() const { return fill_brush_; }
  void SetFillBrush(const ZULOGBRUSH& b) { fill_brush_ = b; }
  bool IsCellTextVisible() const { return cell_text_; }
  void SetCellTextVisible(bool v) { cell_text_ = v; }
  int GetRowNumber() const { return rows_; }
  int GetColNumber() const { return cols_; }
  // 1 to 8; resize the show fields and every interval's values.
  void SetRowNumber(int n);
  void SetColNumber(int n);
  const std::vector<std::string>& GetShowFields() const { return fields_; }
  // Show field i becomes name; the values are read again.
  void UpdateField(int i, const std::string& name);
  bool IsPieVisible() const { return pie_visible_; }
  void SetPieVisible(bool v) { pie_visible_ = v; }
  bool IsCumulative() const { return cumulative_; }
  void SetCumulative(bool v) { cumulative_ = v; }
  double GetPieRadius() const { return pie_radius_; }
  void SetPieRadius(double r) { pie_radius_ = r; }
  int GetPiePrecision() const { return pie_precision_; }
  void SetPiePrecision(int n) { if (n >= 0 && n <= 10) pie_precision_ = n; }
  bool IsProportional() const { return proportional_; }
  void SetProportional(bool v) { proportional_ = v; }
  bool IsOutlineVisible() const { return outline_visible_; }
  void SetOutlineVisible(bool v) { outline_visible_ = v; }
  bool IsBandLineVisible() const { return band_lines_; }
  void SetBandLineVisible(bool v) { band_lines_ = v; }
  double GetBarFraction() const { return bar_fraction_; }
  void SetBarFraction(double f) { if (f > 0 && f < 1) bar_fraction_ = f; }
  const std::vector<float>& GetColWidth() const { return col_fractions_; }
  bool IsLabelBlockVisible() const { return label_block_; }
  void SetLabelBlockVisible(bool v) { label_block_ = v; }
  const std::vector<std::string>& GetUpperLabelFields() const { return upper_fields_; }
  void SetUpperLabelFields(std::vector<std::string> f) { upper_fields_ = std::move(f); }
  const std::vector<std::string>& GetLowerLabelFields() const { return lower_fields_; }
  void SetLowerLabelFields(std::vector<std::string> f) { lower_fields_ = std::move(f); }
  const std::string& GetDataType() const { return data_type_; }
  const std::string& GetDataTable() const { return data_table_; }

 protected:
  void InitializeNames();
  std::string KindLabel() const override;

 private:
  void SetDefaults();
  void UpdateDataMgr();
  void Resize();
  void DrawSegment(CDC* dc, const CgOilTestSegment& s);
  void DrawBar(CDC* dc, const CgOilTestSegment& s, const CRect& bar);
  void DrawPie(CDC* dc, const CgOilTestSegment& s);
  void DrawLabelBlock(CDC* dc, const CgOilTestSegment& s, CPoint centre);
  // The settings record of the current layout, and of older documents.
  void ReadSettings(CZuMFile* file);
  bool ReadOldSettings(CZuMFile* file);
  void ReadOldPens(CZuMFile* file);
  void ReadTaggedSettings(CZuMFile* file);
  // The drawing point of a pie's centre and its radius before scaling.
  CPoint PieCentre(const CgOilTestSegment& s) const;
  // Moves the active interval (mode kPickInside) or one of its edges by dy
  // map units within its neighbours and the body.
  void DragActive(int mode, double dy);
  CgOilTestSegment* Active() const;
  // The width kept free for the pies at the body's right (map units): with
  // pies shown, room for one, unless that takes half the body or more.
  double PieLane() const;

  std::string data_type_, data_table_;
  WDMgrIO* gateway_ = nullptr;
  std::vector<std::unique_ptr<CgOilTestSegment>> segs_;
  int active_ = -1;
  int pick_ = kPickNone;
  CPoint last_point_{};
  bool moved_ = false;
  bool full_width_ = true;
  int fill_mode_ = 2;
  ZULOGBRUSH fill_brush_;
  bool cell_text_ = false;
  int rows_ = 2, cols_ = 2;
  int cell_align_h_ = 0, cell_align_v_ = 1;
  ZULOGPEN grid_pen_;
  ZULOGFONT cell_font_;
  double bar_fraction_ = 0.5;
  bool bar_cumulative_ = false;
  ZULOGBRUSH oil_brush_, water_brush_, gas_brush_;
  bool band_lines_ = true;
  ZULOGPEN band_pen_;
  bool band_text_ = true;
  ZULOGFONT band_font_;
  int band_precision_ = 2;
  int band_align_h_ = 1, band_align_v_ = 1;
  std::vector<float> col_fractions_;
  std::vector<std::string> fields_;
  bool pie_visible_ = false;
  bool cumulative_ = false;
  COLORREF pie_colors_[3] = {0x0000FF, 0x00FF00, 0xFF0000};
  bool pie_values_ = true, pie_shares_ = true;
  ZULOGFONT pie_font_;
  int pie_precision_ = 2;
  ZULOGPEN outline_pen_;
  bool leader_visible_ = true;
  ZULOGPEN leader_pen_;
  bool proportional_ = false;
  double pie_radius_ = 500.0;
  bool outline_visible_ = true;
  bool label_block_ = true;
  ZULOGPEN label_pen_;
  ZULOGFONT label_font_;
  std::vector<std::string> upper_fields_, lower_fields_;
  double largest_daily_ = 0, largest_total_ = 0;
};

}  // namespace davodu

#endif  // DAVODU_INTERVAL_WP_OIL_TEST_H_
