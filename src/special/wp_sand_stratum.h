// CWpSandStratum: the sand layer table of a well, drawn against depth.
//
// One row per sand layer, between lines at its top and bottom, divided
// into sub-columns that show chosen fields of the layer (sand_stratum_
// options.h: by default layer, sand and effective thickness, porosity,
// permeability, oil saturation, interpretation and flooding grade). A
// number is written with the sub-column's decimals, a text as stored; a
// text that the row cannot hold is made smaller down to a readable size
// and left out below it. A flooding grade cell ("水淹级别", "水淹解释") is
// filled with the colour its grade has in the flooding catalogue. The head
// has two rows: the column's title above the sub-column titles.
//
// The layers are those of the well's sand table (the data source is the
// SANDTYPE whose intervals are the layers, 2: sand-strata, by default),
// read through a LogSandStratum2DIO of the gateway. Moving a layer or one
// of its boundaries with the mouse writes it to the data as the sand kit
// does (the data keeps the layers apart and around their sands); when the
// data refuses, the view is restored from the data.
//
// The chart keeps its sub-column list (set from the site's presets when
// the column is made). A column whose data is not found shows the rows
// stored with it.
//
// Records, after the segment section: 153 "SandStratum" (data source,
// font, line pen, head font), one 153 "Field" per
// sub-column (field, title, decimals, width), one 153 per row (top, bottom
// in map Y, record index, flooding colour or -1, then the cell texts),
// then 80. Export: "顶深[m] 厚度[m]" and the sub-column fields, one line per
// layer. Sources: wp_sand_stratum.cpp (fields, data, editing),
// wp_sand_stratum_draw.cpp, wp_sand_stratum_io.cpp (records, export).
#ifndef DAVODU_SPECIAL_WP_SAND_STRATUM_H_
#define DAVODU_SPECIAL_WP_SAND_STRATUM_H_

#include <string>
#include <vector>

#include "davodu/data/data_io.h"
#include "davodu/interval/bound_segment.h"
#include "davodu/interval/wp_segment.h"
#include "davodu/special/sand_stratum_options.h"

namespace davodu {

struct LOGSANDSTRATUM;

// The record of one row: the texts of its cells, in sub-column order.
struct SandStratumDIndex : DataIndex {
  explicit SandStratumDIndex(int i = -1) : DataIndex(i) {}
  std::vector<std::string> cells;  // GBK
  bool has_flood_color = false;
  COLORREF flood_color = 0xFFFFFF;
};

class CWpSandStratum : public CWpSegment,
                       public BoundSegment<CWpSandStratum, LogSandStratum2DIO, LOGSANDSTRATUM> {
  DAVODU_DECLARE_DYNCREATE(CWpSandStratum)

 public:
  explicit CWpSandStratum(CZuLayer* layer);

  // --- Host object slots.
  void Draw(CDC* dc, CView* view, CRect* clip, CRect* done) override;
  void DuplicateAttribute(CZuObject* target) override;
  void Amplify(FLOATPOINT centre, double fx, double fy) override;
  int ReadFromFile(CZuMFile* file) override;
  int SaveToFile(CZuMFile* file) override;
  void Clear() override;
  bool IfLineStyleUsed(int code) const override;

  // --- Kit slots.
  int GetWpKitType() const override { return WPKIT_SANDSTRATUM; }
  // The title row and the sub-column row.
  float MinTitle() override;
  void InitDataTable() override { BindDataTable(); }
  // Reloads from the data; a column whose data is not found keeps the rows
  // stored with it.
  void ResetData() override;
  void ExportContent() override;

  // --- Segment slots.
  void MoveSeg(int index, double dy) override;
  void MoveSegP(int index, double dy, int which) override;
  void DrawSeg(CDC* dc, CView* view, CRect* clip, CRect* done) override;
  void DrawOneSeg(WPSEGMENT& seg, COLORREF color, CDC* dc, CView* view, CRect* clip,
                  CRect* done) override;
  void UpdateSegDepth() override;

  // --- Data.
  // The rows from the data, each with its cells.
  void UpdateD2V();
  int GetSandType() const { return data_source_; }
  // Shows the layers of another SANDTYPE (1-25) and reloads.
  void SetSandType(int type);
  // The texts of row i, in sub-column order; raises CInvalidArgException
  // outside the list.
  const std::vector<std::string>& GetCells(int i) const;
  // The flooding colour of row i, false when the row has none; raises
  // outside the list.
  bool GetFloodColor(int i, COLORREF* color) const;

  // --- Sub-columns. SetFields refuses (false) an empty list, one longer
  // than kMaxSandStratumFields, decimals outside -1..6 or a width that is
  // not above 0; the cells are read again.
  const std::vector<SandStratumField>& GetFields() const { return fields_; }
  bool SetFields(const std::vector<SandStratumField>& fields);
  static bool FieldsValid(const std::vector<SandStratumField>& fields);
  // The fields of a preset of the site file (empty name: the first); false
  // when the file has no such preset (the built-in list is taken then).
  bool UsePreset(const std::string& name);
  // Whether a field is a flooding grade, whose cell takes the grade's colour.
  static bool IsFloodingField(const std::string& field);

  // --- Look.
  const ZULOGFONT& GetCellFont() const { return cell_font_; }
  void SetCellFont(const ZULOGFONT& font) { cell_font_ = font; }
  const ZULOGFONT& GetHeadFont() const { return head_font_; }
  void SetHeadFont(const ZULOGFONT& font) { head_font_ = font; }
  const ZULOGPEN& GetLinePen() const { return line_pen_; }
  void SetLinePen(const ZULOGPEN& pen) { line_pen_ = pen; }

  // The left and right map X of sub-column k.
  std::pair<double, double> FieldSpan(int k) const;

 protected:
  void Initialize();
  std::string KindLabel() const override;

 private:
  friend class BoundSegment<CWpSandStratum, LogSandStratum2DIO, LOGSANDSTRATUM>;
  LogSandStratum2DIO* FindDataObject(WDMgrIO* gateway);
  void TakeIdentifier(const LOGSANDSTRATUM& entry);
  const SandStratumDIndex* Record(int i) const;
  int RecordOf(int index) const;
  // The cells of record i of the data.
  void FillCells(LogSandStratum2DIO* io, SandStratumDIndex* rec);
  // The flooding catalogue's colour of a grade.
  bool FloodColorOf(const std::string& grade, COLORREF* color);
  // The two head rows between draw Y top and bottom (top above bottom).
  void DrawHead(CDC* dc, int top, int bottom);
  // The height of the sub-column title row, map units.
  double FieldRowHeight() const;
  // A text centred in a cell, made smaller to fit, or left out.
  void DrawCellText(CDC* dc, const CRect& cell, const std::string& text, const ZULOGFONT& font);

  std::vector<SandStratumField> fields_;
  ZULOGFONT cell_font_;
  ZULOGFONT head_font_;
  ZULOGPEN line_pen_;
};

}  // namespace davodu

#endif  // DAVODU_SPECIAL_WP_SAND_STRATUM_H_
