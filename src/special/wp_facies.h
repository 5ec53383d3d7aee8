// CWpFacies: the sedimentary facies column of a well.
//
// One interval per record of the bound LogFaciesDIO, filled with the fill
// its facies code has in the facies type catalogue (a code the catalogue
// does not know draws white), with divide lines at its edges and the
// catalogue's name of the facies in its middle. Facies intervals follow
// the stratification they come from: they cannot be moved or resized with
// the mouse. SetFaciesName gives an interval another facies: written to
// the data when bound (source other than 0), else kept in the kit.
//
// Without the catalogue nothing is loaded. Intervals read from a chart
// file keep their codes and take their fills from the catalogue again.
//
// The data source is the FACIESSOURCE (0 none, 1-5 stratification
// boundaries, 6-9 stratification data, 11 a scattered table named by the
// data name). Sources: wp_facies.cpp (data, editing, drawing),
// wp_facies_io.cpp (records, export).
#ifndef DAVODU_SPECIAL_WP_FACIES_H_
#define DAVODU_SPECIAL_WP_FACIES_H_

#include <string>

#include "davodu/data/data_io.h"
#include "davodu/interval/bound_segment.h"
#include "davodu/interval/wp_segment.h"

namespace davodu {

struct LOGFACIES;

// The record of one facies interval.
struct FDIndex : DataIndex {
  FDIndex(int i = -1, std::string c = {}) : DataIndex(i), code(std::move(c)) {}
  std::string code;  // the record's facies text (GBK)
  ZULOGBRUSH fill;   // from the catalogue
};

class CWpFacies : public CWpSegment, public BoundSegment<CWpFacies, LogFaciesDIO, LOGFACIES> {
  DAVODU_DECLARE_DYNCREATE(CWpFacies)

 public:
  static constexpr unsigned kCmdCheckDataSet = 16455;

  explicit CWpFacies(CZuLayer* layer);

  // --- Host object slots.
  int OnCommand(CView* view, CDC* dc, unsigned id, long param) override;
  void DuplicateAttribute(CZuObject* target) override;
  int ReadFromFile(CZuMFile* file) override;
  int SaveToFile(CZuMFile* file) override;
  void Clear() override;
  void Amplify(FLOATPOINT centre, double fx, double fy) override;
  bool IfLineStyleUsed(int code) const override;
  bool IfFillStyleUsed(int code) const;

  // --- Kit slots.
  int GetWpKitType() const override { return WPKIT_FACIES; }
  void Update() override;
  void InitDataTable() override { BindDataTable(); }
  // Reloads from the data; a column whose source has no data (0, or a
  // source no table stands for) keeps the intervals stored with it.
  void ResetData() override;
  void ExportContent() override;

  // --- Segment slots. Facies intervals are not moved with the mouse.
  void MoveSeg(int, double) override {}
  void MoveSegP(int, double, int) override {}
  void DrawSeg(CDC* dc, CView* view, CRect* clip, CRect* done) override;
  void DrawOneSeg(WPSEGMENT& seg, COLORREF color, CDC* dc, CView* view, CRect* clip,
                  CRect* done) override;
  void DrawOneSelectedSeg(WPSEGMENT& seg, COLORREF color, CDC* dc, CView* view, CRect* clip,
                          CRect* done) override;
  void UpdateSegDepth() override;

  // --- Data.
  // The intervals from the data, then every interval's fill from the
  // catalogue. Nothing happens without the catalogue.
  void UpdateD2V();
  LogFaciesTypeMgrIO* GetFaciesTypeMgr();
  // Shows another source (and, for a scattered table, data name).
  void SetFaciesSource(int source, const std::string& name = {});
  // The catalogue name of interval i's facies; raises CInvalidArgException
  // outside the list.
  std::string GetFaciesName(int i);
  // The stored facies code of interval i; raises outside the list.
  const std::string& GetFaciesCode(int i) const;
  // Gives interval i the facies named (a catalogue name). False for a name
  // the catalogue does not know, an index outside the list, without the
  // catalogue, or when the data refuses.
  bool SetFaciesName(const std::string& name, int i);

  // --- Settings.
  bool IsNameVisible() const { return name_visible_; }
  void SetNameVisible(bool on) { name_visible_ = on; }
  const ZULOGFONT& GetNameFont() const { return name_font_; }
  void SetNameFont(const ZULOGFONT& font) { name_font_ = font; }
  bool IsDivideLineVisible() const { return divide_line_visible_ != 0; }
  void SetDivideLineVisible(bool on) { divide_line_visible_ = on ? 1 : 0; }
  const ZULOGPEN& GetDivideLinePen() const { return divide_pen_; }
  void SetDivideLinePen(const ZULOGPEN& pen) { divide_pen_ = pen; }

 protected:
  void Initialize();
  std::string KindLabel() const override;

 private:
  friend class BoundSegment<CWpFacies, LogFaciesDIO, LOGFACIES>;
  LogFaciesDIO* FindDataObject(WDMgrIO* gateway);
  void TakeIdentifier(const LOGFACIES& entry);
  FDIndex* Record(int i) const;
  void DrawName(WPSEGMENT& seg, CDC* dc);

  LogFaciesTypeMgrIO* catalog_;
  bool name_visible_;
  ZULOGFONT name_font_;
  ZULOGPEN divide_pen_;
  int divide_line_visible_;
};

}  // namespace davodu

#endif  // DAVODU_SPECIAL_WP_FACIES_H_
