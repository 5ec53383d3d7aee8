// CWpLthSample: the rock samples of a well's cored intervals.
//
// The bound LogLthSampleDIO lists samples, each with an interval (the
// cored interval of its core run), a distance below the interval's top
// (its first value, metres) and a sample number (its second value).
// Samples of one interval are drawn together as one segment: a bracket at
// the right of the column spanning the cored interval, and one tick per
// sample at its depth (interval top + distance). Samples whose number is a
// multiple of the mark step get a longer tick and, when mark texts are
// visible, their number left of the tick. A mark step below 1 marks no
// sample; a sample without a number is never marked.
//
// A sample whose interval overlaps a segment of another interval is not
// shown; nor is one without depths or outside the column's depth range.
//
// Moving or resizing a segment with the mouse writes the new top (a move)
// or the new boundary through the data object, for every sample of the
// interval at once; a refused edit shows the data again. A column without
// data (source 0) edits and keeps its own segments, which it stores.
//
// The data source is the LSMAPLESOURCE (0 none, 1 the well's core
// analysis table, 2 a scattered table) and the data name is composed of
// the table name, the distance column and the number column:
// ",岩心分析数据,距顶位置,样品编号,". Sources: wp_lth_sample.cpp (data
// link, settings, editing), wp_lth_sample_draw.cpp, wp_lth_sample_io.cpp
// (records, export).
#ifndef DAVODU_SPECIAL_WP_LTH_SAMPLE_H_
#define DAVODU_SPECIAL_WP_LTH_SAMPLE_H_

#include <string>
#include <utility>
#include <vector>

#include "davodu/data/data_io.h"
#include "davodu/interval/bound_segment.h"
#include "davodu/interval/wp_segment.h"

namespace davodu {

struct LOGLTHSMAPLE;

// The record of one cored interval: the sample that opened it, the top
// depth of the interval and its samples as (distance below the top in
// metres, sample number) pairs; a number the data lacks is kFltMax.
struct LthSampleDIndex : DataIndex {
  explicit LthSampleDIndex(int i = -1, double top = kFltMax) : DataIndex(i), top_depth(top) {}
  double top_depth;
  std::vector<std::pair<double, double>> samples;
};

class CWpLthSample : public CWpSegment,
                     public BoundSegment<CWpLthSample, LogLthSampleDIO, LOGLTHSMAPLE> {
  DAVODU_DECLARE_DYNCREATE(CWpLthSample)

 public:
  static constexpr unsigned kCmdCheckDataSet = 16455;

  explicit CWpLthSample(CZuLayer* layer);

  // --- Host object slots.
  int OnCommand(CView* view, CDC* dc, unsigned id, long param) override;
  void DuplicateAttribute(CZuObject* target) override;
  int ReadFromFile(CZuMFile* file) override;
  int SaveToFile(CZuMFile* file) override;
  void Clear() override;
  void Amplify(FLOATPOINT centre, double fx, double fy) override;
  bool IfLineStyleUsed(int code) const override;

  // --- Kit slots.
  int GetWpKitType() const override { return WPKIT_LTHSAMPLE; }
  // Takes the table and field names from the data name.
  void Update() override;
  void InitDataTable() override { BindDataTable(); }
  // Reloads from the data; a column of source 0 keeps its own segments.
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
  // The segments from the data: one per interval, its samples in data order.
  void UpdateD2V();
  // Shows another source and reloads.
  void SetSampleSource(int source);
  // The well's sample catalogue, fetched from the gateway on first use.
  LogLthSmapleMgrIO* GetLthSmapleMgr();
  // The parts of the data name; each setter recomposes it and reloads.
  const std::string& GetTableName() const { return table_name_; }
  void SetTableName(const std::string& name);
  const std::string& GetDepthFiledName() const { return depth_field_; }
  void SetDepthFiledName(const std::string& name);
  const std::string& GetNumberFiledName() const { return number_field_; }
  void SetNumberFiledName(const std::string& name);
  // The record of segment i, or null.
  const LthSampleDIndex* GetSampleRecord(int i) const;
  // Whether a sample number is marked with the present step.
  bool IsMarked(double number) const;

  // --- Look.
  const ZULOGPEN& GetSegLogPen() const { return seg_pen_; }
  void SetSegLogPen(const ZULOGPEN& pen) { seg_pen_ = pen; }
  const ZULOGPEN& GetSmapleLogPen() const { return sample_pen_; }
  void SetSmapleLogPen(const ZULOGPEN& pen) { sample_pen_ = pen; }
  const ZULOGFONT& GetMarkLogFont() const { return mark_font_; }
  void SetMarkLogFont(const ZULOGFONT& font) { mark_font_ = font; }
  int GetMarkStep() const { return mark_step_; }
  void SetMarkStep(int step) { mark_step_ = step; }
  int GetMarkTextVisible() const { return mark_text_visible_; }
  void SetMarkTextVisible(int visible) { mark_text_visible_ = visible; }
  // 0: a number is centred on its tick; otherwise it sits above it.
  int GetMarkTextAlign() const { return mark_text_align_; }
  void SetMarkTextAlign(int align) { mark_text_align_ = align; }

 protected:
  void Initialize();
  std::string KindLabel() const override;

 private:
  friend class BoundSegment<CWpLthSample, LogLthSampleDIO, LOGLTHSMAPLE>;
  LogLthSampleDIO* FindDataObject(WDMgrIO* gateway);
  void TakeIdentifier(const LOGLTHSMAPLE& entry);

  void ComposeDataName();
  void SplitDataName();
  void SetNamePart(std::string* part, const std::string& value);
  LthSampleDIndex* Record(int i);
  // A segment edited without data: its anchors and record follow.
  void KeepLocalEdit(int index);
  void DrawSamples(const WPSEGMENT& seg, CDC* dc);

  ZULOGPEN seg_pen_;
  ZULOGPEN sample_pen_;
  ZULOGFONT mark_font_;
  int mark_step_;
  LogLthSmapleMgrIO* catalog_;
  std::string table_name_;
  std::string depth_field_;
  std::string number_field_;
  int mark_text_visible_;
  int mark_text_align_;
};

}  // namespace davodu

#endif  // DAVODU_SPECIAL_WP_LTH_SAMPLE_H_
