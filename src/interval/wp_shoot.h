// CWpShoot: the perforated intervals of the well.
//
// One segment per perforation of the bound LogShootDIO whose kind is shown
// (kind 1 never is) and whose date passes the column's date filter, filled
// with the symbol of its kind: kind 2 with the perforation catalogue's
// first symbol, kind 3 with its second (by default the library patterns of
// a perforation and of an added perforation), any other with 1001.
// Moving and resizing an interval writes the new depths to the data at
// once; when the data refuses, the view shows the data again.
//
// The date filter: a start and an end date ("YYYY-MM-DD", the form in
// which the data lists its dates, GetAllDateTime); with only one of them
// given the other takes its value, with neither every date passes, and an
// end before the start is exchanged with it. Both ends are included. A
// perforation without a valid date passes only a filter that is not set.
//
// The data source is the SHOOTSOURCE (2 a scattered table named by the
// data name, 0 no data, any other value the well's perforations).
// Sources: wp_shoot.cpp (data link, filter, editing, drawing),
// wp_shoot_io.cpp (records, export).
#ifndef DAVODU_INTERVAL_WP_SHOOT_H_
#define DAVODU_INTERVAL_WP_SHOOT_H_

#include <string>
#include <vector>

#include "davodu/data/data_io.h"
#include "davodu/interval/bound_segment.h"
#include "davodu/interval/wp_segment.h"

namespace davodu {

struct LOGSHOOT;

// The record of one perforation segment.
struct ShootDIndex : DataIndex {
  ShootDIndex(int i = -1, int t = 1, unsigned code = 0) : DataIndex(i), type(t), symbol(code) {}
  int type;         // SHOOTTYPE: 1, 2 or 3
  unsigned symbol;  // the point style filling the interval
};

class CWpShoot : public CWpSegment, public BoundSegment<CWpShoot, LogShootDIO, LOGSHOOT> {
  DAVODU_DECLARE_DYNCREATE(CWpShoot)

 public:
  static constexpr unsigned kCmdCheckDataSet = 16455;
  // The symbol of a kind the catalogue has none for.
  static constexpr unsigned kOtherSymbol = 1001;

  explicit CWpShoot(CZuLayer* layer);

  // --- Host object slots.
  int OnCommand(CView* view, CDC* dc, unsigned id, long param) override;
  void DuplicateAttribute(CZuObject* target) override;
  int ReadFromFile(CZuMFile* file) override;
  int SaveToFile(CZuMFile* file) override;
  void Clear() override;
  bool IfPointStyleUsed(int code) const;

  // --- Kit slots.
  int GetWpKitType() const override { return WPKIT_SHOOT; }
  void InitDataTable() override { BindDataTable(); }
  void ResetData() override;
  void ExportContent() override;

  // --- Segment slots.
  void MoveSeg(int index, double dy) override;
  void MoveSegP(int index, double dy, int which) override;
  void DrawOneSeg(WPSEGMENT& seg, COLORREF color, CDC* dc, CView* view, CRect* clip,
                  CRect* done) override;
  void UpdateSegDepth() override;

  // --- Data.
  // The segments from the data: the perforations shown, each with its
  // kind's symbol. Nothing happens without the perforation catalogue.
  void UpdateD2V();
  LogShootMgrIO* GetShootMgr();
  // Shows another source and reloads.
  void SetShootSource(int source);
  void SetDataName(const std::string& name);
  int GetSegType(int i) const;
  // A new kind of interval i: written to the data when it is bound (false
  // when refused; the kits showing it reload), else kept with its symbol.
  // False for a negative index or without the catalogue.
  bool SetSegType(int i, int type);
  bool SetSegTopDpth(int i, double depth);
  bool SetSegBottomDpth(int i, double depth);

  // --- The date filter. A new date shows the perforations it passes.
  const std::string& GetStartDateTime() const { return start_date_; }
  void SetStartDateTime(const std::string& date);
  const std::string& GetEndDateTime() const { return end_date_; }
  void SetEndDateTime(const std::string& date);
  // Every perforation date of the data, as it lists them.
  const std::vector<std::string>& GetAllDateTime() const { return all_dates_; }
  // Whether a date passes the filter (see above).
  bool IsBetweenDateTime(const DataDate& date) const;

  // The symbol of a kind with the catalogue's settings.
  static unsigned SymbolOfType(LogShootMgrIO* catalog, int type);

 protected:
  void Initialize();
  std::string KindLabel() const override;

 private:
  friend class BoundSegment<CWpShoot, LogShootDIO, LOGSHOOT>;
  LogShootDIO* FindDataObject(WDMgrIO* gateway);
  void TakeIdentifier(const LOGSHOOT& entry);
  const ShootDIndex* Record(int i) const;

  LogShootMgrIO* catalog_;
  std::string start_date_;
  std::string end_date_;
  std::vector<std::string> all_dates_;
};

}  // namespace davodu

#endif  // DAVODU_INTERVAL_WP_SHOOT_H_
