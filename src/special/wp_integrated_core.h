// CWpIntegratedCore: the coring summary column of a well.
//
// One segment per core run of the bound LogIntegratedCoreIO: the cored
// interval is outlined across the body; a bar at its left shows the core
// recovered (core length over footage, from the top of the run down, in
// the core fill) and the core lost below it (hatched); right of the bar
// the run number, "心长/进尺" (core length / footage, metres) and the
// recovery in percent are written one above the other, centred in the
// interval. Lines that do not fit the interval's height are left out, the
// lengths first, then the recovery; a text wider than its room is left
// out too. A run without a known recovery draws its bar hatched whole; a
// recovery above 100 % fills it.
//
// A run whose interval overlaps a run shown before it, lies outside the
// column's depth range or lacks a depth is not shown.
//
// Moving or resizing a run with the mouse writes the new interval through
// the data object (the gateway's neighbour rule applies); a refused edit
// shows the data again. A column without data (source 0) edits and keeps
// its own runs, which it stores.
//
// The data source is the DATATYPE (0 none, 1 the well's coring summary
// table 取芯综合数据); the data name is not used. Sources:
// wp_integrated_core.cpp (data link, editing, settings),
// wp_integrated_core_draw.cpp, wp_integrated_core_io.cpp (records, export).
#ifndef DAVODU_SPECIAL_WP_INTEGRATED_CORE_H_
#define DAVODU_SPECIAL_WP_INTEGRATED_CORE_H_

#include <string>

#include "davodu/data/data_io.h"
#include "davodu/interval/bound_segment.h"
#include "davodu/interval/wp_segment.h"

namespace davodu {

struct LOGINTEGRATEDCORE;

// The record of one core run: its number (-1 when unknown) and lengths
// (kFltMax when unknown): footage and core length in metres, recovery in
// percent.
struct CoreRunDIndex : DataIndex {
  explicit CoreRunDIndex(int i = -1) : DataIndex(i) {}
  int run = -1;
  double footage = kFltMax;
  double core_length = kFltMax;
  double recovery = kFltMax;
};

class CWpIntegratedCore : public CWpSegment,
                          public BoundSegment<CWpIntegratedCore, LogIntegratedCoreIO, LOGINTEGRATEDCORE> {
  DAVODU_DECLARE_DYNCREATE(CWpIntegratedCore)

 public:
  static constexpr unsigned kCmdCheckDataSet = 16455;

  explicit CWpIntegratedCore(CZuLayer* layer);

  // --- Host object slots.
  int OnCommand(CView* view, CDC* dc, unsigned id, long param) override;
  void DuplicateAttribute(CZuObject* target) override;
  int ReadFromFile(CZuMFile* file) override;
  int SaveToFile(CZuMFile* file) override;
  void Clear() override;
  void Amplify(FLOATPOINT centre, double fx, double fy) override;
  bool IfLineStyleUsed(int code) const override;

  // --- Kit slots.
  void InitDataTable() override { BindDataTable(); }
  // Reloads from the data; a column of source 0 keeps its own runs.
  void ResetData() override;
  void ExportContent() override;

  // --- Segment slots.
  void MoveSeg(int index, double dy) override;
  void MoveSegP(int index, double dy, int which) override;
  void DrawOneSeg(WPSEGMENT& seg, COLORREF color, CDC* dc, CView* view, CRect* clip,
                  CRect* done) override;
  void DrawOneSelectedSeg(WPSEGMENT& seg, COLORREF color, CDC* dc, CView* view, CRect* clip,
                          CRect* done) override;
  void UpdateSegDepth() override;

  // --- Data.
  // The segments from the data, one per run.
  void UpdateD2V();
  // Shows another source and reloads.
  void SetCoreSource(int source);
  // The record of segment i, or null.
  const CoreRunDIndex* GetRunRecord(int i) const;
  // Adds a run of the column's own (source 0); false when it overlaps a
  // run or lies outside the body.
  bool AddRun(double top, double bottom, int run, double core_length);
  // The recovered share of a run's footage, 0 to 1; -1 when unknown (or
  // without a record).
  static double RecoveredShare(const CoreRunDIndex* rec);

  // --- Look.
  const ZULOGPEN& GetOutlinePen() const { return outline_pen_; }
  void SetOutlinePen(const ZULOGPEN& pen) { outline_pen_ = pen; }
  const ZULOGBRUSH& GetCoreBrush() const { return core_brush_; }
  void SetCoreBrush(const ZULOGBRUSH& brush) { core_brush_ = brush; }
  const ZULOGBRUSH& GetLostBrush() const { return lost_brush_; }
  void SetLostBrush(const ZULOGBRUSH& brush) { lost_brush_ = brush; }
  const ZULOGFONT& GetTextFont() const { return text_font_; }
  void SetTextFont(const ZULOGFONT& font) { text_font_ = font; }
  bool IsTextVisible() const { return text_visible_; }
  void SetTextVisible(bool visible) { text_visible_ = visible; }
  // The bar's share of the body width, 0.05 to 0.9; other values are ignored.
  double GetBarWidth() const { return bar_width_; }
  void SetBarWidth(double share);

 protected:
  void Initialize();
  std::string KindLabel() const override;

 private:
  friend class BoundSegment<CWpIntegratedCore, LogIntegratedCoreIO, LOGINTEGRATEDCORE>;
  LogIntegratedCoreIO* FindDataObject(WDMgrIO* gateway);
  void TakeIdentifier(const LOGINTEGRATEDCORE& entry);

  CoreRunDIndex* Record(int i);
  void KeepLocalEdit(int index);
  void DrawTexts(const WPSEGMENT& seg, CDC* dc);

  ZULOGPEN outline_pen_;
  ZULOGBRUSH core_brush_;
  ZULOGBRUSH lost_brush_;
  ZULOGFONT text_font_;
  bool text_visible_;
  double bar_width_;
};

}  // namespace davodu

#endif  // DAVODU_SPECIAL_WP_INTEGRATED_CORE_H_
