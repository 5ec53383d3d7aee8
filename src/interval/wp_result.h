// CWpResult: log interpretation results over depth intervals.
//
// Each interval has a result text ("油层", "弱水淹", ...) and is drawn as a
// band filled with the background colour and the symbol of its text, with
// divide lines at its edges, optional divide points and the text as a
// label. The intervals come from a field of a parameter table of the
// chart's well (data type "当前井", a table of GetTableNames(), a field,
// "电测解释" by default) or, in graphics mode (data type "图形"), are the
// kit's own, kept in the document. The field chooses the symbol set: the
// flooding grade ("水淹解释" or "水淹级别") draws the water-flooding
// symbols, any other field the oil-bearing symbols.
//
// The active interval's text can be edited (SetActiveSegValue); a bound
// kit writes it to the row the interval shows. Intervals read from a
// document are numbered 1, 2, 3 and are only the document's picture of
// the data: a bound kit reads its data again before it accepts an edit,
// so that an edit always lands in the row the interval came from.
//
// Records (after the content section): 174 (divide line and point flags,
// the divide point, label flag and font), 153 (data type, table, divide
// pen, background colour, field), one 153 per interval (value, top,
// bottom), then 80. Export: "顶深[m] 厚度[m] FIELD", one line per interval.
// Sources: wp_result.cpp (data, intervals, editing), wp_result_draw.cpp,
// wp_result_io.cpp (records, export).
#ifndef DAVODU_INTERVAL_WP_RESULT_H_
#define DAVODU_INTERVAL_WP_RESULT_H_

#include <memory>
#include <string>
#include <vector>

#include "davodu/data/observer.h"
#include "davodu/kits/wp_content.h"

namespace davodu {

class CWpResult;
class CWpWell;
class LogParaDIO;
class LogParaDMgrIO;
class WDMgrIO;

// One interval of a result column.
struct CgResultSegment {
  int index = -1;  // row of the parameter table; 1, 2, ... when read from a document
  bool active = false;
  double left = 0, right = 0;
  double top_y = 0, bottom_y = 0;
  float top_depth = 0, bottom_depth = 0;
  std::string value;  // GBK
  CWpResult* owner = nullptr;
};

class CWpResult : public CWpContent, public Observer {
  DAVODU_DECLARE_DYNCREATE(CWpResult)

 public:
  static constexpr unsigned kCmdCheckData = 16455;

  explicit CWpResult(CZuLayer* layer);
  ~CWpResult() override;

  // --- Host object slots.
  void Draw(CDC* dc, CView* view, CRect* clip, CRect* done) override;
  int OnLButtonDown(CView* view, CDC* dc, unsigned flags, CPoint point) override;
  int OnLButtonUp(CView* view, CDC* dc, unsigned flags, CPoint point) override;
  int OnCommand(CView* view, CDC* dc, unsigned id, long param) override;
  void DuplicateAttribute(CZuObject* target) override;
  void Amplify(FLOATPOINT centre, double fx, double fy) override;
  int ReadFromFile(CZuMFile* file) override;
  int SaveToFile(CZuMFile* file) override;
  void Clear() override;
  bool IfPointStyleUsed(int code) const { return divide_point_.style == code; }
  int GetWpKitType() const override { return WPKIT_RESULT; }

  // --- Kit slots.
  void InitDataTable() override;
  void ResetData() override;
  void ExportContent() override;
  void BuildBody() override;
  void UpdateWithObservee() override;

  // --- Data.
  void Initialize(CWpWell* well);
  // Binds to a parameter table and reads it: true when found. Otherwise
  // (graphics mode, no table) the kit turns to graphics mode, false.
  bool SetData(const std::string& type, const std::string& table, const std::string& field);
  LogParaDIO* GetData() const;
  WDMgrIO* GetDataMgr() const { return gateway_; }
  LogParaDMgrIO* GetDataInfo() const;
  // Rebuilds the intervals from the bound data.
  void UpdateData();
  // The result tables offered to the user (29 names).
  static const std::vector<std::string>& GetTableNames();
  int IsValid() override { return segs_.empty() ? 0 : 1; }
  // Whether the field draws the water-flooding symbols.
  bool IsFloodingField() const;

  const std::string& GetDataType() const { return data_type_; }
  void SetDataType(const std::string& t) { data_type_ = t; }
  const std::string& GetDataTable() const { return data_table_; }
  void SetDataTable(const std::string& t) { data_table_ = t; }
  const std::string& GetDataField() const { return data_field_; }
  void SetDataField(const std::string& f) { data_field_ = f; }

  // --- Intervals.
  bool AddSegment(int index, const std::string& value, float top, float bottom);
  const std::vector<std::unique_ptr<CgResultSegment>>& GetSegList() const { return segs_; }
  int GetSegCount() const { return static_cast<int>(segs_.size()); }
  int GetActiveSeg() const { return active_; }
  // Makes the interval of that index active (-1: none).
  void ActivateSegment(int index);
  float GetActiveSegTopDepth() const;
  float GetActiveSegBotDepth() const;
  std::string GetActiveSegValue() const;
  // A new text for the active interval: kept by a graphics-mode kit,
  // written to the interval's row by a bound kit.
  void SetActiveSegValue(const std::string& value);

  // --- Settings.
  const ZULOGPEN& GetDivideLinePen() const { return divide_pen_; }
  COLORREF GetBGColor() const { return static_cast<COLORREF>(divide_pen_.color2); }
  void SetBGColor(COLORREF c) { divide_pen_.color2 = c; }
  COLORREF GetBLColor() const { return divide_pen_.color; }
  void SetBLColor(COLORREF c) { divide_pen_.color = c; }
  float GetBLWidth() const { return divide_pen_.width; }
  void SetBLWidth(float w) { divide_pen_.width = w; }
  bool IsDivideLineVisible() const { return divide_line_visible_; }
  void SetDivideLineVisible(bool v) { divide_line_visible_ = v; }
  const ZULOGPOINT& GetDivideLogPoint() const { return divide_point_; }
  void SetDivideLogPoint(const ZULOGPOINT& p) { divide_point_ = p; }
  bool IsDividePointVisible() const { return divide_point_visible_; }
  void SetDividePointVisible(bool v) { divide_point_visible_ = v; }
  const ZULOGFONT& GetLabelFont() const { return label_font_; }
  void SetLabelFont(const ZULOGFONT& f) { label_font_ = f; }
  bool IsLabelVisible() const { return label_visible_; }
  void SetLabelVisible(bool v) { label_visible_ = v; }

 protected:
  void InitializeNames();
  std::string KindLabel() const override;

 private:
  void SetDefaults();
  void UpdateDataMgr();
  void SetupContent();
  CgResultSegment* FindSeg(int index) const;
  int SegmentAt(CPoint point) const;
  // The symbol of a result text, false when its set has none.
  bool SymbolOf(const std::string& value, ZULOGPOINT* symbol) const;

  ZULOGPEN divide_pen_;
  std::string data_type_, data_table_, data_field_;
  bool loaded_ = true;
  int read_counter_ = 0;
  // Whether the intervals are the document's picture of bound data (read
  // from a document and not yet from the data).
  bool from_document_ = false;
  CWpWell* well_ = nullptr;
  WDMgrIO* gateway_ = nullptr;
  std::vector<std::unique_ptr<CgResultSegment>> segs_;
  int active_ = -1;
  bool divide_line_visible_ = true;
  ZULOGPOINT divide_point_;
  bool divide_point_visible_ = false;
  ZULOGFONT label_font_;
  bool label_visible_ = false;
};

}  // namespace davodu

#endif  // DAVODU_INTERVAL_WP_RESULT_H_
