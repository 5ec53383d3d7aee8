// CWpSymble: the base of the symbol column kits (cycles, bedding textures,
// perforation symbols).
//
// Each interval shows one symbol of a catalogue (ISymbleMgr), chosen by the
// interval's symbol text, stretched to the interval's rectangle (the body
// less the edge offsets on either side; symbol_glyphs.h). With "use
// background colour" the symbol takes the kit's segment colour, else the
// catalogue's colour.
//
// Sources (SYMBLE_SRC): 1 to 8 are the well's or a scattered table's data
// (ISymbleData); -1, -2 and -3 are local columns (cycle, perforation and
// texture catalogues) whose intervals live only in the kit and the chart
// file; 0 shows nothing. The data name is ",table,field,".
//
// Editing (the kit selected): a Ctrl-drag from a point adds an interval
// from the bottom of the interval above it (or the body top) down to the
// release; in work state 1 a plain drag over free space adds one. The
// context menu of a picked interval offers "删除" (7591). Moves, resizes,
// adds, deletes and new symbol texts go to the data when the column shows
// table data (the data refusing, the column shows the data again) and stay
// in the kit in a local column.
//
// Records (after the segment section): the source, data name, frame flag,
// edge offsets and background flag; the interval count; one record per
// interval (top, bottom, record index, symbol text, style word). Each kind
// appends its own records and closes the section with 80.
// Sources: wp_symble.cpp (data, editing), wp_symble_draw.cpp,
// wp_symble_gestures.cpp (mouse and menu), wp_symble_io.cpp (records,
// export).
#ifndef DAVODU_SPECIAL_WP_SYMBLE_H_
#define DAVODU_SPECIAL_WP_SYMBLE_H_

#include <cstdint>
#include <string>

#include "davodu/data/data_io.h"
#include "davodu/interval/bound_segment.h"
#include "davodu/interval/wp_segment.h"

namespace davodu {

struct LOGSYMBLE;

// The record of one symbol interval.
struct SymbleDIndex : DataIndex {
  SymbleDIndex(int i = -1, std::string t = {}, std::uint32_t w = 0) : DataIndex(i), text(std::move(t)), style(w) {}
  std::string text;    // the symbol text (GBK)
  std::uint32_t style;  // the catalogue's point style for it
  COLORREF color = 0;   // the catalogue's colour for it
};

class CWpSymble : public CWpSegment, public BoundSegment<CWpSymble, ISymbleData, LOGSYMBLE> {
  DAVODU_DECLARE_DYNCREATE(CWpSymble)

 public:
  static constexpr unsigned kCmdCheckDataSet = 16455;
  static constexpr unsigned kCmdDelete = 7591;  // "删除"
  // The style of a text the catalogue does not know, when renamed.
  static constexpr std::uint32_t kUnknownStyle = 1001;

  explicit CWpSymble(CZuLayer* layer);

  // --- Host object slots.
  int OnLButtonDown(CView* view, CDC* dc, unsigned flags, CPoint point) override;
  int OnLButtonUp(CView* view, CDC* dc, unsigned flags, CPoint point) override;
  int OnRButtonDown(CView* view, CDC* dc, unsigned flags, CPoint point) override;
  int OnCommand(CView* view, CDC* dc, unsigned id, long param) override;
  void DuplicateAttribute(CZuObject* target) override;
  int ReadFromFile(CZuMFile* file) override;
  int SaveToFile(CZuMFile* file) override;
  void Clear() override;
  bool IfPointStyleUsed(int code) const;

  // --- Kit slots.
  int GetWpKitType() const override { return WPKIT_SYMBLE; }
  void Update() override;
  void InitDataTable() override;
  void ResetData() override;
  void ExportContent() override;

  // --- Segment slots.
  void MoveSeg(int index, double dy) override;
  void MoveSegP(int index, double dy, int which) override;
  void DrawOneSeg(WPSEGMENT& seg, COLORREF color, CDC* dc, CView* view, CRect* clip,
                  CRect* done) override;
  void UpdateSegDepth() override;

  // The intervals from the data (local intervals stay), then every
  // interval's style from the catalogue. Nothing without a catalogue.
  virtual void UpdateD2V();

  // --- Data.
  ISymbleMgr* GetSymbleMgr() const { return catalog_; }
  // Shows another source: its catalogue and its data.
  void SetSymbleSource(int source);
  // Whether the column shows table data (sources 1 to 8, bound).
  bool IsTableData() const;
  static bool IsLocalSource(int source) { return source >= -3 && source <= -1; }
  // Interval i's symbol text; raises CInvalidArgException outside the list.
  const std::string& GetSymbleName(int i) const;
  // A new symbol text for interval i: the kit shows it at once (the style
  // 1001 for a text the catalogue lacks). True only when written to the
  // data; false for a negative index, without a catalogue, or unbound.
  // Raises CInvalidArgException for an index beyond the list.
  bool SetSymbleName(int i, const std::string& name);
  bool SetSegTopDpth(int i, double depth);
  bool SetSegBottomDpth(int i, double depth);
  // Removes interval i (nothing outside the list): from the data when it
  // shows table data, else from the kit.
  void DeleteSymbleSeg(int i);

  // --- Settings.
  double GetEdgeOffL() const { return edge_left_; }
  double GetEdgeOffR() const { return edge_right_; }
  // Offsets from 0 to 1 whose sum stays at most 1; false otherwise.
  bool SetEdgeOffL(double x);
  bool SetEdgeOffR(double x);
  bool IsUseBkColor() const { return use_bk_color_; }
  void SetBkColorUsed(bool on) { use_bk_color_ = on; }
  bool IsFrameVisible() const { return frame_visible_; }
  void SetFrameVisible(bool on) { frame_visible_ = on; }
  const std::string& GetTableName() const { return table_name_; }
  const std::string& GetFiledName() const { return field_name_; }
  void SetTableName(const std::string& table);
  void SetFiledName(const std::string& field);

 protected:
  void Initialize();
  // The records of this level, without the closing 80.
  void SaveSymbleSection(CZuMFile* file);
  // Reads them; false when the data ends first. The record after them is
  // current on return.
  bool ReadSymbleSection(CZuMFile* file);
  // The rectangle the symbol of an interval is drawn in (draw units).
  virtual CRect SymbolRect(const WPSEGMENT& seg) const;
  SymbleDIndex* Record(int i) const;
  // Takes a new style and colour for every interval from the catalogue.
  void Restyle();
  void ComposeDataName();
  void SplitDataName();

  ISymbleMgr* catalog_;
  bool frame_visible_;
  double edge_left_;
  double edge_right_;
  bool use_bk_color_;
  double nearest_top_;
  std::string table_name_;
  std::string field_name_;
  bool adding_;

 private:
  friend class BoundSegment<CWpSymble, ISymbleData, LOGSYMBLE>;
  ISymbleData* FindDataObject(WDMgrIO* gateway);
  void TakeIdentifier(const LOGSYMBLE& entry);
};

}  // namespace davodu

#endif  // DAVODU_SPECIAL_WP_SYMBLE_H_
