// CWpWell: the root of a well-profile chart. It owns the tracks, names the
// well, holds the depth range and depth reference, and builds the piecewise
// depth scale (scale segments and fault points) that every kit's depth
// mapping consults.
#ifndef DAVODU_WELL_WP_WELL_H_
#define DAVODU_WELL_WP_WELL_H_

#include <string>
#include <vector>

#include "davodu/kits/wp_kit.h"

namespace davodu {

// Fault points open gaps in the depth scale.
struct FaultInfo {
  bool blank_space = false;  // the depth mapping uses the fault points only while set
  bool line = true;
  ZULOGPEN pen;              // line-style code 1006, width 20
  // (fault depth, shift, gap): shift is the sum of the gaps of all earlier
  // points; gap the depth thickness left blank.
  std::vector<ZUPOINT3D> points;
};

class CWpWell : public CWpKit {
  DAVODU_DECLARE_DYNCREATE(CWpWell)

 public:
  explicit CWpWell(CZuLayer* layer);
  ~CWpWell() override;

  int GetWpKitType() const override { return WPKIT_WELL; }
  void Clear() override;

  // The style of the whole chart, as stored (not derived from the flags).
  BorderStyle GetStyle() const { return style_; }
  // Stores the style when it differs; with apply set every kit of the tree
  // then applies it.
  void SetStyle(BorderStyle style, bool apply);

  // Rebuilds the fault points and the scale segments from the well data.
  // Without well data both lists are empty.
  void ScaleSegment() override;
  // The scale segments (start depth, map Y of the end, scale factor) for a
  // kit; flag 0 (the well itself asks) rebuilds them first.
  const std::vector<ZUPOINT3D>& ScaleSegment(int flag, int& count);
  FaultInfo& GetFaultInfo() { return fault_info_; }
  const FaultInfo& GetFaultInfo() const { return fault_info_; }
  bool IsBlankSpace() const { return fault_info_.blank_space; }

  // The kit under a draw point: a depth scale kit itself, or what the track
  // under the point answers; the well when no child is there; null outside.
  CWpKit* HitChild(CPoint point) override;

  // The first track whose body holds the map point (edges within 0.001
  // included), or null.
  CWpKit* PtInTrack(FLOATPOINT point);

  const FLOATRECT& GetShadowRect() const { return shadow_rect_; }
  void SetShadowRect(const FLOATRECT& rect) { shadow_rect_ = rect; }

 protected:
  void Initialize();
  // Older documents placed depth columns directly in the well: such a kit
  // is read into a new track of its own, which takes the column's look.
  bool ReadLegacyChild(CZuMFile* file, const std::string& class_name, CWpKit* child) override;

  std::vector<ZUPOINT3D> scale_segments_;
  FaultInfo fault_info_;
  FLOATRECT shadow_rect_;
};

}  // namespace davodu

#endif  // DAVODU_WELL_WP_WELL_H_
