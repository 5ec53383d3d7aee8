// The depth-scale arithmetic of a well: the piecewise scale segments drawn
// from sand intervals, the fault points with their accumulated shifts, and
// the depth range taken from (or given to) stratigraphic units.
//
// These work on plain lists so that the well can feed them whatever its
// data gateway reads, and so that they can be checked on their own.
#ifndef DAVODU_WELL_WP_WELL_SCALE_H_
#define DAVODU_WELL_WP_WELL_SCALE_H_

#include <string>
#include <vector>

#include "davodu/host/util/types.h"

namespace davodu {

// A sand interval of the well, in metres.
struct SandInterval {
  double top = 0;
  double bottom = 0;
};

// A fault point as the well data holds it: the fault depth and the depth
// thickness to leave blank (kFltMax when missing).
struct FaultPointData {
  double depth = 0;
  double gap = 0;
};

// A stratigraphic unit of the well's stratification list.
struct StratumUnit {
  std::string name;  // GBK
  double top = 0;
  double thickness = 0;
};

// The depth range of a chart together with the units at its ends.
struct UnitDepthRange {
  float top = 0;
  float bottom = 0;
  std::string top_unit;     // GBK; "未知" when unknown
  std::string bottom_unit;  // GBK
};

// Cuts [top, bottom] into sand pieces and the shale between them; each
// piece becomes a segment (start depth, map Y at its end, scale factor).
// A sand piece is drawn sand_thick metres tall and a shale piece
// shale_thick metres tall; a setting below 0.001 draws the true thickness.
// The first piece starts at y0; every piece ends dep_scl × drawn height
// further down. sands are in depth order. Empty without sands.
std::vector<ZUPOINT3D> BuildScaleSegments(const std::vector<SandInterval>& sands, double top,
                                          double bottom, double y0, double dep_scl,
                                          double sand_thick, double shale_thick);

// The fault points (fault depth, shift, gap) of the points that lie within
// [top, bottom], closed by a point at the bottom depth when the data holds
// any point at all, sorted by depth, with their shifts accumulated.
std::vector<ZUPOINT3D> BuildFaultPoints(const std::vector<FaultPointData>& data, double top,
                                        double bottom);

// Each point's shift (y) becomes the sum of the gaps (z) of the points
// before it; a missing gap (kFltMax) counts as 0 and is stored as 0.
void AccumulateFaultShifts(std::vector<ZUPOINT3D>& points);

// The index of the unit of that name, or -1.
int FindUnitByName(const std::vector<StratumUnit>& units, const std::string& name);
// The index of the first unit holding the depth (edges within 0.001), or -1.
int FindUnitByDepth(const std::vector<StratumUnit>& units, double depth);
// The top of unit i when it is usable (0.001 to 100000); otherwise the first
// usable top after i, else the first one before it, else the stored top.
double ValidUnitTop(const std::vector<StratumUnit>& units, int i);

// The range given by unit names: a known top unit sets the top depth to its
// top less top_extend, a known bottom unit the bottom depth to its base plus
// bottom_extend, unless the present depth already lies inside that unit.
// Names not in the list become "未知" and leave their depth alone. Negative
// extends count as 0.
void DepthsFromUnits(const std::vector<StratumUnit>& units, float top_extend,
                     float bottom_extend, UnitDepthRange& range);
// The unit names given by the depths: the units holding top + top_extend
// and bottom - bottom_extend - (thickness of the present bottom unit).
void UnitsFromDepths(const std::vector<StratumUnit>& units, float top_extend,
                     float bottom_extend, UnitDepthRange& range);

}  // namespace davodu

#endif  // DAVODU_WELL_WP_WELL_SCALE_H_
