// CWpSidewallCore: the sidewall cores of a well, one symbol per sample at
// its depth.
//
// Each sample is drawn as a short shot line from the column's left edge to
// a small block at its depth, filled with the colour and the pattern of
// its lithology text in the lithology catalogue; beside it, the symbol of
// its oil-bearing grade (oil grade catalogue); optionally the lithology and
// grade texts to the right. A lithology text is read as the geologist
// writes it: a colour of the colour catalogue ("灰", "浅灰色") followed by
// a lithology ("细砂岩"); without a colour the lithology's own colour fills
// the block. Blocks of samples closer than a block's height are drawn
// lower, so that neighbours never overlap (samples taken at one depth
// share one place), and a text that would run into the one above is left
// out.
//
// In a selected column a sample is picked by a press on its block and
// dragged to another depth with the mouse: the new depth is written to
// the data (a sample stops at its neighbours' depths; the data refuses to
// let it pass them), and every kit showing the data reloads. An unbound
// column moves its own sample.
//
// The data is a LogSidewallCoreIO of the well's gateway, named by the data
// type (1 the well, 2 a scattered table) and the data name "TABLE,TEXT1,
// TEXT2" (default "井壁取芯数据,岩性,含油级别": the well's sidewall core table
// with its lithology and grade columns). When the data is not found the
// column keeps its name and shows the samples stored with it.
//
// Records, after the content section: 153 "SidewallCore" (data type,
// data name, block position and size, grade position, text flags, text
// font, outline pen), one 153 per sample (depth, lithology, grade, record
// index), then 80. Export: "深度[m] 岩性 含油级别", one line per sample.
// Sources: wp_sidewall_core.cpp (data, look-up, editing),
// wp_sidewall_core_draw.cpp, wp_sidewall_core_io.cpp (records, export).
#ifndef DAVODU_SPECIAL_WP_SIDEWALL_CORE_H_
#define DAVODU_SPECIAL_WP_SIDEWALL_CORE_H_

#include <string>
#include <vector>

#include "davodu/data/data_io.h"
#include "davodu/data/observer.h"
#include "davodu/kits/wp_content.h"

namespace davodu {

class WDMgrIO;

// One sample as the column shows it.
struct SidewallSample {
  int index = -1;  // record of the data; -1 for a sample of the column's own
  float depth = 0;
  std::string lithology;  // GBK, as stored
  std::string grade;      // the oil-bearing grade, GBK
  // From the catalogues.
  COLORREF color = 0xFFFFFF;
  unsigned pattern = 0;
  unsigned grade_symbol = 0;
};

class CWpSidewallCore : public CWpContent, public Observer {
  DAVODU_DECLARE_DYNCREATE(CWpSidewallCore)

 public:
  explicit CWpSidewallCore(CZuLayer* layer);
  ~CWpSidewallCore() override;

  // --- Host object slots.
  void Draw(CDC* dc, CView* view, CRect* clip, CRect* done) override;
  void DrawSelectedMark(CDC* dc, CView* view) override;
  int OnLButtonDown(CView* view, CDC* dc, unsigned flags, CPoint point) override;
  int OnMouseMove(CView* view, CDC* dc, unsigned flags, CPoint point) override;
  int OnLButtonUp(CView* view, CDC* dc, unsigned flags, CPoint point) override;
  void DuplicateAttribute(CZuObject* target) override;
  void Amplify(FLOATPOINT centre, double fx, double fy) override;
  int ReadFromFile(CZuMFile* file) override;
  int SaveToFile(CZuMFile* file) override;
  void Clear() override;
  bool IfLineStyleUsed(int code) const override;

  // --- Kit slots (the kit type is the plain content's).
  void InitDataTable() override;
  void ResetData() override;
  void ExportContent() override;
  int IsValid() override { return samples_.empty() ? 0 : 1; }

  // --- Data.
  LogSidewallCoreIO* GetData() const { return dynamic_cast<LogSidewallCoreIO*>(GetObservee()); }
  void UpdateWithObservee() override;
  int GetDataType() const { return data_type_; }
  const std::string& GetDataName() const { return data_name_; }
  // Shows other data and reloads.
  void SetDataSource(int type, const std::string& name);
  // The samples shown, shallowest first.
  const std::vector<SidewallSample>& GetSamples() const { return samples_; }
  int GetActiveSample() const { return active_; }
  // Moves sample i to a depth of the chart's reference: written to the data
  // when bound (false when the data refuses), else kept in the column.
  // Raises CInvalidArgException outside the list.
  bool SetSampleDepth(int i, double depth);

  // --- Look. Positions are fractions of the body width; sizes map units.
  double GetSymbolPos() const { return symbol_pos_; }
  bool SetSymbolPos(double pos);
  double GetSymbolSize() const { return symbol_size_; }
  bool SetSymbolSize(double size);
  double GetGradePos() const { return grade_pos_; }
  bool SetGradePos(double pos);
  bool IsLithologyTextVisible() const { return lith_text_visible_; }
  void SetLithologyTextVisible(bool on) { lith_text_visible_ = on; }
  bool IsGradeTextVisible() const { return grade_text_visible_; }
  void SetGradeTextVisible(bool on) { grade_text_visible_ = on; }
  const ZULOGFONT& GetTextFont() const { return text_font_; }
  void SetTextFont(const ZULOGFONT& font) { text_font_ = font; }
  const ZULOGPEN& GetOutlinePen() const { return outline_pen_; }
  void SetOutlinePen(const ZULOGPEN& pen) { outline_pen_ = pen; }

  // The colour and pattern a lithology text gets from the catalogue.
  static void LookUpLithology(LogCorelithMgrIO* catalog, const std::string& text, COLORREF* color,
                              unsigned* pattern);

 protected:
  void Initialize();
  std::string KindLabel() const override;

 private:
  WDMgrIO* Gateway();
  // Rebuilds the samples from the data, then their catalogue look.
  void UpdateSamples();
  void LookUp(SidewallSample* s);
  // The block of sample i in map coordinates (its top above its bottom).
  FLOATRECT BlockOf(int i);
  int SampleAt(CPoint point);
  // The depth a drag to draw Y gives sample i: within the body, not past
  // its neighbours.
  double DragDepth(int i, int y);
  void DrawShadow(CDC* dc, int y);

  int data_type_;
  std::string data_name_;
  std::vector<SidewallSample> samples_;
  double symbol_pos_;
  double symbol_size_;
  double grade_pos_;
  bool lith_text_visible_;
  bool grade_text_visible_;
  ZULOGFONT text_font_;
  ZULOGPEN outline_pen_;
  int active_ = -1;
  bool dragging_ = false;
  CPoint press_point_{};
  CPoint last_point_{};
};

}  // namespace davodu

#endif  // DAVODU_SPECIAL_WP_SIDEWALL_CORE_H_
