#include "davodu/kits/head_text.h"

#include <algorithm>
#include <cmath>

#include "davodu/host/graphics/graph_tool.h"

namespace davodu {

ZULOGFONT ScaledFont(const ZULOGFONT& font, double factor) {
  ZULOGFONT scaled = font;
  if (std::isfinite(factor) && factor >= 0) scaled.height = static_cast<float>(font.height * factor);
  return scaled;
}

TextSize HeadTextSize(CDC* dc, const std::string& gbk_text, const ZULOGFONT& font, double zoom) {
  if (gbk_text.empty()) return {};
  if (dc != nullptr) return AfxGetTextTool().MeasureText(dc, gbk_text, font, zoom);
  const double h = std::fabs(static_cast<double>(font.height)) * zoom;
  return {std::fabs(static_cast<double>(font.GetWidth())) * zoom * static_cast<double>(gbk_text.size()),
          h};
}

double FitFactor(double width, double height, double avail_width, double avail_height) {
  double f = 1;
  if (width > 0) f = std::min(f, avail_width / width);
  if (height > 0) f = std::min(f, avail_height / height);
  return std::isfinite(f) ? std::max(f, 0.0) : 0.0;
}

}  // namespace davodu
