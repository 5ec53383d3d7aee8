// CWpSegment: the base of the kits that draw a column of depth intervals
// ("segments") in a track: stratification, sand bodies, lithology,
// perforations, facies, symbols and rock samples.
//
// A segment covers the body's width between two map Y values (Y grows
// upwards: top > bottom). The list stays sorted from the shallowest down
// and its segments never overlap by SegmentTolerance() or more (touching is
// allowed): AddASeg refuses an overlapping segment, and moves and resizes
// stop at the neighbours (SegmentShift, the kit's neighbour rule).
//
// Depths enter and leave only through the kit's depth mapping (DepToMapY,
// MapYToDep). Each segment also remembers the depths it stands for (its
// anchors), so that when the mapping changes (the depth scale, the depth
// range, the well's scale segments or fault gaps) the segments are placed
// again at the same depths: a kit bound to data reloads them from the data
// (UpdateSegDepth), a plain list re-maps its anchors. A move of the kit on
// the map only shifts them.
//
// Editing (the kit must be selected): a press inside a segment picks it (the
// active segment); a press on the middle of the active segment's top or
// bottom edge picks that boundary. Dragging then moves the segment
// (MoveSeg) or the boundary (MoveSegP), drawing a rubber band meanwhile. In
// work state 1 a drag over free space adds a segment; in work state 2 the
// context menu offers to delete the active segment (command 7580).
//
// The kit keeps no device context between draws: a change asks the
// document to redraw the kit (InvalidateSeg).
//
// Records: after the content section one record 153 (work state, segment
// colour, previous body top and bottom, previous top and bottom depth); a
// plain segment kit closes its section with 80, derived kits write their
// own records after it (SaveSegmentSection) and close it themselves.
//
// Sources: wp_segment.cpp (list, rules, layout), wp_segment_draw.cpp,
// wp_segment_gestures.cpp (picking, mouse, menu), wp_segment_io.cpp.
#ifndef DAVODU_INTERVAL_WP_SEGMENT_H_
#define DAVODU_INTERVAL_WP_SEGMENT_H_

#include <memory>
#include <string>
#include <vector>

#include "davodu/host/graphics/styles.h"
#include "davodu/kits/wp_content.h"

namespace davodu {

// The kit-specific record of one segment. Kits derive their own (a data
// index and whatever they show).
struct SegData {
  virtual ~SegData() = default;
};
// Copies of a segment share one SegData.
using SegDataRef = std::shared_ptr<SegData>;

// The record of a segment that shows record `index` of the kit's data
// object (-1 until known).
struct DataIndex : SegData {
  explicit DataIndex(int i = -1) : index(i) {}
  int index;
};

struct WPSEGMENT {
  double top = 0;     // map Y of the upper boundary (the larger value)
  double bottom = 0;  // map Y of the lower boundary
  SegDataRef data;
  // The depths the boundaries stand for (kFltMax until known).
  double top_depth = kFltMax;
  double bottom_depth = kFltMax;
};

// The kit's neighbour rule: the shift (map Y) that part `part` of segment
// `index` may make of a wished shift dy. Part 1 moves the whole segment
// between the previous segment's bottom (or the body top) and the next
// segment's top (or the body bottom); part 2 moves its top between those
// upper limits and its own bottom plus min_thickness; part 3 its bottom
// between its own top less min_thickness and those lower limits. A limit
// lying beyond the body edge is the body edge. Returns 0 for an index
// outside the list or another part.
double SegmentShift(const std::vector<WPSEGMENT>& segs, int index, int part, double dy,
                    double body_top, double body_bottom, double min_thickness);

class CWpSegment : public CWpContent {
  DAVODU_DECLARE_DYNCREATE(CWpSegment)

 public:
  // Work states.
  static constexpr int kWorkNone = 0;
  static constexpr int kWorkAdd = 1;     // a drag over free space adds a segment
  static constexpr int kWorkDelete = 2;  // the context menu offers to delete
  // Pick states (PickSeg).
  static constexpr int kPickNone = -1;
  static constexpr int kPickInside = 1;
  static constexpr int kPickTop = 2;
  static constexpr int kPickBottom = 3;
  // The delete command of the context menu, "删除图形".
  static constexpr unsigned kCmdDeleteSeg = 7580;

  explicit CWpSegment(CZuLayer* layer);

  // --- Host object slots.
  void Draw(CDC* dc, CView* view, CRect* clip, CRect* done) override;
  void DrawSelectedMark(CDC* dc, CView* view) override;
  int OnLButtonDown(CView* view, CDC* dc, unsigned flags, CPoint point) override;
  int OnMouseMove(CView* view, CDC* dc, unsigned flags, CPoint point) override;
  int OnLButtonUp(CView* view, CDC* dc, unsigned flags, CPoint point) override;
  int OnRButtonDown(CView* view, CDC* dc, unsigned flags, CPoint point) override;
  int OnCommand(CView* view, CDC* dc, unsigned id, long param) override;
  void DuplicateAttribute(CZuObject* target) override;
  int ReadFromFile(CZuMFile* file) override;
  int SaveToFile(CZuMFile* file) override;
  void Clear() override;

  // --- Kit slots.
  int GetWpKitType() const override { return WPKIT_SEGMENT; }
  int IsValid() override { return segs_.empty() ? 0 : 1; }
  void BuildBody() override;
  void ResetData() override { ClearSeg(); }

  // --- Segment slots.
  // Adds the segment between two map Y values (either order); returns its
  // index, or -1 when it overlaps a segment or lies wholly outside a body
  // of some height.
  virtual int AddASeg(double y1, double y2);
  // Asks the document to redraw the kit.
  virtual void InvalidateSeg();
  virtual void ClearSeg();
  // Removes a segment; only in work state 2.
  virtual void DelASeg(int index);
  // Moves a whole segment by dy within its neighbours (ignores bad indices).
  virtual void MoveSeg(int index, double dy);
  // Moves one boundary (which: kPickTop or kPickBottom) by dy within its
  // neighbours, keeping a minimum thickness.
  virtual void MoveSegP(int index, double dy, int which);
  // Whether a map point lies strictly inside a segment.
  virtual bool TestOneSeg(const WPSEGMENT& seg, FLOATPOINT point);
  virtual void DrawSeg(CDC* dc, CView* view, CRect* clip, CRect* done);
  virtual void DrawSelectedSeg(CDC* dc, CView* view, CRect* clip, CRect* done);
  // Gives a new segment its data record (none in the base).
  virtual void IniSegData(WPSEGMENT& seg);
  virtual void DrawOneSeg(WPSEGMENT& seg, COLORREF color, CDC* dc, CView* view, CRect* clip,
                          CRect* done);
  virtual void DrawOneSelectedSeg(WPSEGMENT& seg, COLORREF color, CDC* dc, CView* view,
                                  CRect* clip, CRect* done);
  // The depth mapping changed: kits bound to data reload their segments;
  // the base places every segment again at its anchor depths.
  virtual void UpdateSegDepth();

  // --- Segments.
  // Segment i; raises CInvalidArgException outside 0..count-1.
  WPSEGMENT& GetSeg(int index);
  const WPSEGMENT& GetSeg(int index) const;
  int GetSegCount() const { return static_cast<int>(segs_.size()); }
  int GetActiveSeg() const { return active_; }
  void SetActiveSeg(int index) { active_ = index; }
  int GetWorkState() const { return work_state_; }
  void SetWorkState(int state) { work_state_ = state; }
  int GetPickState() const { return pick_state_; }
  int GetDataSource() const { return data_source_; }
  void SetDataSource(int source) { data_source_ = source; }
  const std::string& GetDataName() const { return data_name_; }
  COLORREF GetSegColor() const { return seg_color_; }
  void SetSegColor(COLORREF color) { seg_color_ = color; }
  // The body's left and right map X.
  double GetLeft() const { return map_nodes_[0].x; }
  double GetRight() const { return map_nodes_[1].x; }
  // What a draw point picks: kPickTop / kPickBottom for a boundary handle
  // of the active segment, kPickInside for a segment (index receives it),
  // else kPickNone (index -1).
  int PickSeg(CPoint point, int& index);

  // Segments closer than this (map units) touch; nearer still they overlap.
  static constexpr double SegmentTolerance() { return 0.1; }

 protected:
  void Initialize();

  // The record section up to the segment record; derived kits write their
  // own records after it and close the section with record 80.
  void SaveSegmentSection(CZuMFile* file);
  // Reads the content section and the segment record; false when the
  // data ends first. *pending: the record last read is not the segment
  // record (an older document) and is still to be looked at.
  bool ReadSegmentSection(CZuMFile* file, bool* pending);

  // --- Look-ups of the list.
  // Where a segment fits between the present ones; -1 when it overlaps.
  int FindPos(const WPSEGMENT& seg) const;
  int HalfSep(int start, int end, const WPSEGMENT& seg) const;
  // The first segment with equal boundaries (within the float epsilon) and
  // the same data record, else -1.
  int FindSegIndex(const WPSEGMENT& seg) const;
  // The first segment whose boundaries lie within SegmentTolerance() of
  // top and bottom, else -1.
  int GetIndex(double top, double bottom) const;
  // The bottom of the nearest segment above a draw point (the body top
  // when there is none).
  double GetNearestTop(CPoint point) const;
  // Whether a segment between top and bottom could be added: inside the
  // body, thicker than two handles, clear of every segment.
  bool ProbeAddSegment(double top, double bottom) const;
  // Whether segment index could move by dy and stay inside the body;
  // raises CInvalidArgException for a bad index.
  bool MoveSegValid(int index, double dy) const;
  // A boundary set directly, within the neighbours and the minimum
  // thickness; raises CInvalidArgException for a bad index.
  bool SetSegTop(int index, double y);
  bool SetSegBottom(int index, double y);
  // The minimum thickness of a segment in map units.
  double MinSegThickness() const;
  // Whether an interval of the data reaches into the kit's depth range
  // (more than touching it); the others would only be drawn flat on an
  // edge of the body.
  bool InDepthRange(double top, double bottom) const;
  // Takes the segment's anchor depths from its map Y values.
  void AnchorSeg(WPSEGMENT& seg);
  // The rubber band of a drag in progress, drawn (or erased) at a draw y.
  void DrawRubberBand(CDC* dc, int y);

  // The four sides of a rectangle as four lines.
  void Draw0WRect(CDC* dc, const CRect& rect, const ZULOGPEN& pen, double zoom) const;

  std::vector<WPSEGMENT> segs_;
  int work_state_;
  int pick_state_;
  double prev_body_top_;
  double prev_body_bottom_;
  double prev_top_depth_;
  double prev_bottom_depth_;
  int data_source_;
  std::string data_name_;
  int active_;
  bool dragging_;
  // Flags of the mouse handling of derived kits.
  bool flags_[3];
  COLORREF seg_color_;

 private:
  // What the depth mapping depends on besides the body: scale, range, and
  // the well's scale segments and fault gaps.
  std::vector<double> MappingKey();
  // The base of UpdateSegDepth: every segment back at its anchors.
  void RemapSegments();

  std::vector<double> mapping_key_;
};

}  // namespace davodu

#endif  // DAVODU_INTERVAL_WP_SEGMENT_H_
