// Texts drawn in the directions the kits offer for names and labels
// (STRDIRECTION): horizontal lines, or vertical text either as columns of
// upright characters or turned a quarter round. Shared by the interval
// kits (stratum names, thicknesses, lithology names, ...).
#ifndef DAVODU_KITS_ORIENTED_TEXT_H_
#define DAVODU_KITS_ORIENTED_TEXT_H_

#include <string>

#include "davodu/host/graphics/dc.h"
#include "davodu/host/graphics/styles.h"

namespace davodu {

// Text directions.
enum STRDIRECTION : int {
  STRDIR_HORIZONTAL = 1,  // lines split at "\n", centred on the point
  STRDIR_VERTICAL = 2,    // by the angle type, below
};

// Angle types of vertical text.
constexpr int kAngleUpright = 0;    // columns of upright characters
constexpr int kAngleLeft = 1;       // turned a quarter round counter-clockwise
// Any other angle type turns the text three quarters round.

// The rotation (radians, counter-clockwise) of a text drawn in a direction
// and angle type: a quarter or three quarters round for turned vertical
// text, 0 otherwise.
double OrientationAngle(int direction, int angle_type);

// Draws a text centred on a draw point: direction 1 as a horizontal text
// block, direction 2 with angle type 0 as a vertical text block (columns
// two character cells apart), with another angle type turned by
// OrientationAngle. Other directions draw nothing.
void DrawOrientationText(CDC* dc, CPoint at, const std::string& gbk_text, int direction,
                         const ZULOGFONT& font, int angle_type, double zoom);

}  // namespace davodu

#endif  // DAVODU_KITS_ORIENTED_TEXT_H_
