// CWpOilTest: the oil test intervals of the well.
//
// Each test interval is drawn as a small table of chosen test fields (name,
// value and unit per cell), filled with the colour of its result's oil
// symbol (fill mode 0) or the fill brush (1) or not at all (2); beside the
// table, when the kit is not full width, a composition bar splits the
// interval's height into oil, gas and water bands by their shares of the
// daily (or cumulative) production; and, when the pie is visible, a pie of
// the same three quantities sits right of the column, joined to the
// interval by a leader, its sectors labelled with the value and the share.
// A production value that is missing (kFltMax, an empty cell) counts as
// nothing: it takes no band and no sector.
//
// The data is the oil test object of the chart's well (data type
// "当前井"); data type "图形" shows nothing. Records (after the content
// section): one 153 "OilTest" record of the settings, then 80. Export:
// "顶深[m] 厚度[m] 试油结果 日产油量 日产气量 日产水量", one line per test.
// Sources: wp_oil_test.cpp (settings, data, records, export),
// wp_oil_test_draw.cpp.
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
  double pie_dx = 0, pie_dy = 0;
  CWpOilTest* owner = nullptr;
};

class CWpOilTest : public CWpContent, public Observer {
  DAVODU_DECLARE_DYNCREATE(CWpOilTest)

 public:
  explicit CWpOilTest(CZuLayer* layer);
  ~CWpOilTest() override;

  void Draw(CDC* dc, CView* view, CRect* clip, CRect* done) override;
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

  std::string data_type_, data_table_;
  WDMgrIO* gateway_ = nullptr;
  std::vector<std::unique_ptr<CgOilTestSegment>> segs_;
  bool full_width_ = true;
  int fill_mode_ = 2;
  ZULOGBRUSH fill_brush_;
  bool cell_text_ = false;
  int rows_ = 2, cols_ = 2;
  ZULOGPEN grid_pen_;
  ZULOGFONT cell_font_;
  double bar_fraction_ = 0.5;
  bool bar_cumulative_ = false;
  ZULOGBRUSH oil_brush_, water_brush_, gas_brush_;
  bool band_text_ = true;
  ZULOGFONT band_font_;
  int band_precision_ = 2;
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
  double largest_daily_ = 0, largest_total_ = 0;
};

}  // namespace davodu

#endif  // DAVODU_INTERVAL_WP_OIL_TEST_H_
