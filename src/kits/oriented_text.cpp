#include "davodu/kits/oriented_text.h"

#include "davodu/host/graphics/graph_tool.h"
#include "davodu/kits/wp_content.h"

namespace davodu {

namespace {

constexpr double kQuarter = 1.570796326794895;
constexpr double kThreeQuarters = 4.712388980384685;

}  // namespace

double OrientationAngle(int direction, int angle_type) {
  if (direction != STRDIR_VERTICAL || angle_type == kAngleUpright) return 0;
  return angle_type == kAngleLeft ? kQuarter : kThreeQuarters;
}

void DrawOrientationText(CDC* dc, CPoint at, const std::string& text, int direction,
                         const ZULOGFONT& font, int angle_type, double zoom) {
  if (!dc || text.empty()) return;
  if (direction == STRDIR_HORIZONTAL) {
    DrawHorizontalTextBlock(dc, at.x, at.y, text, font, zoom);
  } else if (direction == STRDIR_VERTICAL) {
    if (angle_type == kAngleUpright)
      DrawVerticalTextBlock(dc, at.x, at.y, text, font, zoom);
    else
      AfxGetTextTool().DrawText(dc, at, text, font, zoom, OrientationAngle(direction, angle_type),
                                kAlignCenter, kAlignMiddle);
  }
}

}  // namespace davodu
