// CWpWaterEntry: an injection ("吸水") or production ("产液") profile.
//
// For each tested interval of a date range, one horizontal bar per shown
// parameter (a field of the profile data), its length the value's place
// between the parameter's left and right values, the bars stacked around
// the middle of the interval. Each test date has a column of its own
// across the body, headed by the date and, per parameter, its name, left
// and right values and a line in its colour. A parameter whose left and
// right values are equal has no scale and draws no bars; a missing value
// draws no bar.
//
// The data is the profile object of the chart's well (source type
// "当前井"); "图形" shows nothing. The range: start and end dates
// ("YYYY-MM-DD"); with only one given the other takes its value, with
// neither every date of the data is shown, and an end before the start is
// exchanged with it.
//
// Records (after the content section): one 153 "WaterEntry" record with
// the settings, parameters and intervals, then 80.
// Sources: wp_water_entry.cpp.
#ifndef DAVODU_INTERVAL_WP_WATER_ENTRY_H_
#define DAVODU_INTERVAL_WP_WATER_ENTRY_H_

#include <string>
#include <vector>

#include "davodu/data/observer.h"
#include "davodu/kits/wp_content.h"

namespace davodu {

class LogWaterDataIO;
class WDMgrIO;

struct WATER_ENTRY_PARAM {
  std::string name;  // GBK
  double left = 0, right = 0;
  COLORREF color = 0x0000FF;
  bool draw = true;
  ZULOGFONT font;
  int align = 0;
  int digits = 0;
};

struct WATER_ENTRY_SEGMENT {
  int column = 0;
  double top = 0, bottom = 0;
  std::vector<double> values;  // one per parameter; kFltMax missing
};

class CWpWaterEntry : public CWpContent, public Observer {
  DAVODU_DECLARE_DYNCREATE(CWpWaterEntry)

 public:
  explicit CWpWaterEntry(CZuLayer* layer);
  ~CWpWaterEntry() override;

  void Draw(CDC* dc, CView* view, CRect* clip, CRect* done) override;
  int ReadFromFile(CZuMFile* file) override;
  int SaveToFile(CZuMFile* file) override;
  void Clear() override;
  int GetWpKitType() const override { return WPKIT_WATERENTRY; }
  void InitDataTable() override;
  void ResetData() override;
  void UpdateWithObservee() override;
  // The head needs one row for the title, one for the dates and one per
  // parameter.
  float MinTitle() override;

  // The preset colour of parameter i.
  static COLORREF GetPreSetColor(int i);

  void SetToProductedFluid(bool producted);
  bool IsProductedFluid() const { return producted_; }
  bool SetData(const std::string& type, const std::string& name);
  LogWaterDataIO* GetData() const;

  // "当前井" (the chart's well), "离散数据" (a scattered table) or "图形"
  // (no data). A new type empties the scattered table and its time field.
  const std::string& GetSourceType() const { return source_type_; }
  void SetSourceType(const std::string& type);
  // The scattered table and the column of its dates (empty: "日期").
  const std::string& GetScattTable() const { return scatt_table_; }
  void SetScattTable(const std::string& table);
  const std::string& GetScattTimeField() const { return scatt_time_field_; }
  void SetScattTimeField(const std::string& field);

  const std::string& GetStartDate() const { return start_date_; }
  const std::string& GetEndDate() const { return end_date_; }
  // "未指定" or empty is ignored; otherwise stored and the range reloaded.
  void SetStartDate(const std::string& date);
  void SetEndDate(const std::string& date);
  // Loads the intervals of a date range (see above).
  void LoadSegment(const std::string& start, const std::string& end);

  int GetParamNumber() const { return static_cast<int>(params_.size()); }
  void SetParamNumber(int n);
  const WATER_ENTRY_PARAM* GetParam(int i) const;
  // Parameter i shows the field name (range from the data when bound).
  void SetParamName(int i, const std::string& name);
  void SetParamRange(int i, double left, double right);
  void SetParamColor(int i, COLORREF color);

  int GetColumns() const { return columns_; }
  const std::vector<std::string>& GetColumnDates() const { return dates_; }
  const std::vector<WATER_ENTRY_SEGMENT>& GetSegments() const { return segs_; }
  double GetDrawWidth() const { return draw_width_; }
  void SetDrawWidth(double w) { if (w > 0) draw_width_ = w; }

 private:
  void SetDefaults();
  WDMgrIO* Gateway();
  // The name the gateway knows the data by: empty for the well,
  // "TABLE[ TIME_FIELD]" for a scattered table.
  std::string DataName() const;
  float HeadRowHeight() const;
  int HeadRows() const;
  void DrawHead(CDC* dc);

  bool producted_ = false;
  std::string source_type_;
  std::string scatt_table_, scatt_time_field_;
  std::string start_date_, end_date_;
  int columns_ = 1;
  std::vector<std::string> dates_;
  double draw_width_ = 800.0;
  bool depth_lines_ = true;
  ZULOGPEN depth_pen_;
  std::vector<WATER_ENTRY_PARAM> params_;
  std::vector<WATER_ENTRY_SEGMENT> segs_;
};

}  // namespace davodu

#endif  // DAVODU_INTERVAL_WP_WATER_ENTRY_H_
