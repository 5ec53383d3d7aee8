// CWpStratum: the stratification of the well at one level.
//
// One segment per stratum of the bound LogStratum2DIO (a level of the
// well's stratification boundary tables, or a scattered table), filled
// with the stratum catalogue's colour of its name, with divide lines and
// divide points at the boundaries and the stratum's name (or the
// catalogue's alias; an alias with "/" or "\" is script text) centred in
// its band. The well's fault points are drawn over the column with labels
// made of fields of the fault point table.
//
// Boundaries are shared: dragging one moves the bottom of the stratum
// above and the top of the one below together, and the change is written
// back to the data (the data writes both records in one transaction).
// When the data refuses, the view is restored from the data. Whole strata
// are not moved.
//
// The data source is the level (STRATUMTYPE: 0..4, 5 a scattered table,
// -1 none); the data name is ",table,field," (the scattered table and its
// name column). Sources: wp_stratum.cpp (data link, editing),
// wp_stratum_draw.cpp, wp_stratum_io.cpp (records, export).
#ifndef DAVODU_INTERVAL_WP_STRATUM_H_
#define DAVODU_INTERVAL_WP_STRATUM_H_

#include <string>
#include <utility>
#include <vector>

#include "davodu/data/data_io.h"
#include "davodu/interval/bound_segment.h"
#include "davodu/interval/wp_segment.h"
#include "davodu/kits/oriented_text.h"

namespace davodu {

struct LOGSTRATUM2;

// The record of one stratum segment.
struct StratumDIndex : DataIndex {
  StratumDIndex(int i, std::string n, COLORREF c = 0xFFFFFF)
      : DataIndex(i), name(std::move(n)), color(c) {}
  std::string name;  // GBK
  COLORREF color;    // the catalogue's fill colour
};

// Where the fault point symbol stands across the body.
enum FaultPointPos : int { FPP_MIDDLE = 0, FPP_LEFT = 1, FPP_RIGHT = 2 };
// Where its label stands around the symbol.
enum FaultLabelPos : int { FLP_ABOVE = 0, FLP_BELOW = 1, FLP_LEFT = 2, FLP_RIGHT = 3 };

class CWpStratum : public CWpSegment, public BoundSegment<CWpStratum, LogStratum2DIO, LOGSTRATUM2> {
  DAVODU_DECLARE_DYNCREATE(CWpStratum)

 public:
  // The command that asks the host to check the data set shown.
  static constexpr unsigned kCmdCheckDataSet = 16455;

  explicit CWpStratum(CZuLayer* layer);

  // --- Host object slots.
  int OnCommand(CView* view, CDC* dc, unsigned id, long param) override;
  void DuplicateAttribute(CZuObject* target) override;
  void Amplify(FLOATPOINT centre, double fx, double fy) override;
  int ReadFromFile(CZuMFile* file) override;
  int SaveToFile(CZuMFile* file) override;
  void Clear() override;
  bool IfLineStyleUsed(int code) const override;
  bool IfPointStyleUsed(int code) const;

  // --- Kit slots.
  int GetWpKitType() const override { return WPKIT_STRATUM; }
  void InitDataTable() override { BindDataTable(); }
  void ResetData() override { ReloadData(); }
  void ExportContent() override;

  // --- Segment slots.
  // Whole strata do not move.
  void MoveSeg(int, double) override {}
  // Moves the boundary shared with the stratum above (kPickTop) or below
  // (kPickBottom) and writes it back.
  void MoveSegP(int index, double dy, int which) override;
  void DrawSeg(CDC* dc, CView* view, CRect* clip, CRect* done) override;
  void DrawOneSeg(WPSEGMENT& seg, COLORREF color, CDC* dc, CView* view, CRect* clip,
                  CRect* done) override;
  void DrawOneSelectedSeg(WPSEGMENT& seg, COLORREF color, CDC* dc, CView* view, CRect* clip,
                          CRect* done) override;
  void UpdateSegDepth() override;

  // --- Data.
  // The segments from the data: one per record that does not overlap an
  // earlier one, with its name and catalogue colour, and the fault points.
  void UpdateD2V();
  int GetStratumType() const { return data_source_; }
  // Shows another level (0..4) or kind of data and reloads.
  void SetStratumType(int type);
  // The level the well's unit class asks for: a level 0..4 is taken (and
  // the data reloaded); anything else (-1 for a well the data does not
  // know) leaves the configured level alone.
  void SetStratumGrade(int level);
  const std::string& GetTableName() const { return table_name_; }
  void SetTableName(const std::string& table);
  const std::string& GetFiledName() const { return field_name_; }
  void SetFiledName(const std::string& field);
  // A boundary set to a depth of the chart's reference, with the linked
  // rule of MoveSegP, and written back; false for a negative index or when
  // the data refuses (the view is then restored from the data).
  bool SetSegTopDpth(int index, double depth);
  bool SetSegBottomDpth(int index, double depth);

  // --- Look.
  bool IsBkColorUsed() const { return use_bk_color_; }
  void UseBkColor(bool use) { use_bk_color_ = use; }
  bool IsStratumNameShowed() const { return show_name_; }
  void ShowStratumName(bool show) { show_name_ = show; }
  const ZULOGFONT& GetSNFont() const { return name_font_; }
  void SetSNFont(const ZULOGFONT& font) { name_font_ = font; }
  const ZULOGPEN& GetDivideLogPen() const { return divide_pen_; }
  void SetDivideLogPen(const ZULOGPEN& pen) { divide_pen_ = pen; }
  bool IsDivideLineVisible() const { return divide_line_visible_; }
  void SetDivideLineVisible(bool visible) { divide_line_visible_ = visible; }
  const ZULOGPOINT& GetDivideLogPoint() const { return divide_point_; }
  void SetDivideLogPoint(const ZULOGPOINT& point) { divide_point_ = point; }
  bool IsDividePointVisible() const { return divide_point_visible_; }
  void SetDividePointVisible(bool visible) { divide_point_visible_ = visible; }
  const ZULOGPOINT& GetFaultLogPoint() const { return fault_point_; }
  void SetFaultLogPoint(const ZULOGPOINT& point) { fault_point_ = point; }
  bool IsFaultPointVisible() const { return fault_point_visible_; }
  void SetFaultPointVisible(bool visible) { fault_point_visible_ = visible; }
  int GetFaultPointPos() const { return fault_point_pos_; }
  void SetFaultPointPos(int pos) { fault_point_pos_ = pos; }
  const ZULOGFONT& GetFontFault() const { return fault_font_; }
  void SetFontFault(const ZULOGFONT& font) { fault_font_ = font; }
  bool GetFaultLabelVisible() const { return fault_label_visible_; }
  void SetFaultLabelVisible(bool visible) { fault_label_visible_ = visible; }
  int GetLabelShowFieldNum() const { return static_cast<int>(show_fields_.size()); }
  // Replaces the show fields by n empty names.
  void SetLabelShowFieldNum(int n);
  int GetFaultLabelPos() const { return fault_label_pos_; }
  void SetFaultLabelPos(int pos) { fault_label_pos_ = pos; }
  double GetHorizontalOffset() const { return horizontal_offset_; }
  void SetHorizontalOffset(double offset) { horizontal_offset_ = offset; }
  double GetVerticalOffset() const { return vertical_offset_; }
  void SetVerticalOffset(double offset) { vertical_offset_ = offset; }
  const std::vector<std::string>& GetShowField() const { return show_fields_; }
  // Field i; raises CInvalidArgException outside the list.
  const std::string& GetShowField(int i) const;
  void SetShowField(int i, const std::string& field);
  void SetShowField(std::vector<std::string> fields) { show_fields_ = std::move(fields); }
  int GetTextDir() const { return text_dir_; }
  void SetTextDir(int dir) { text_dir_ = dir; }
  int GetAngleType() const { return angle_type_; }
  void SetAngleType(int type) { angle_type_ = type; }
  // The fault points (depth, gap) read from the data with the segments.
  const FaultPointPairs& GetFaultPoints() const { return fault_points_; }

  // The label of fault point i: the show fields' values of row i of the
  // well's fault point table, "/" between two named fields.
  std::string FaultLabel(int i);
  // The text drawn for a stratum name: the catalogue's alias when it has
  // one, else the name.
  std::string DisplayName(const std::string& name);

 protected:
  void Initialize();
  std::string KindLabel() const override;

 private:
  friend class BoundSegment<CWpStratum, LogStratum2DIO, LOGSTRATUM2>;
  LogStratum2DIO* FindDataObject(WDMgrIO* gateway);
  void TakeIdentifier(const LOGSTRATUM2& entry);

  // The data name from the table and field names, and back.
  void ComposeDataName();
  void SplitDataName();
  // Writes the boundary of segment index (which: kPickTop or kPickBottom)
  // back to the data; on refusal the view is restored from the data.
  bool WriteBack(int index, int which);
  // Moves a shared boundary to map Y `y` (the linked rule).
  void PlaceBoundary(int index, int which, double y);
  void DrawStratumAlias(WPSEGMENT& seg, CDC* dc);
  void DrawFaultPoint(CDC* dc, double lower, double upper);

  std::string table_name_;
  std::string field_name_;
  bool use_bk_color_;
  ZULOGFONT name_font_;
  bool show_name_;
  ZULOGPEN divide_pen_;
  bool divide_line_visible_;
  ZULOGPOINT divide_point_;
  bool divide_point_visible_;
  ZULOGPOINT fault_point_;
  bool fault_point_visible_;
  int fault_point_pos_;
  ZULOGFONT fault_font_;
  bool fault_label_visible_;
  int fault_label_pos_;
  double horizontal_offset_;
  double vertical_offset_;
  std::vector<std::string> show_fields_;
  FaultPointPairs fault_points_;
  int text_dir_;
  int angle_type_;
};

}  // namespace davodu

#endif  // DAVODU_INTERVAL_WP_STRATUM_H_
