#include "davodu/host/graphics/styles.h"

#include <algorithm>
#include <cmath>

#include "davodu/host/util/gbk.h"

namespace davodu {

ZULOGFONT::ZULOGFONT() {
  // The face array is stored whole in documents: no stale bytes after the
  // name.
  static const std::string& default_face = Gbk("宋体");
  SetFaceName(default_face);
}

void ZULOGFONT::SetFaceName(const std::string& gbk_name) {
  // Keep room for the terminating NUL and never cut a two-byte character in
  // half: a lone lead byte would swallow whatever is appended to the name.
  const std::size_t limit = sizeof face - 1;
  std::size_t n = 0;
  while (n < gbk_name.size()) {
    const std::size_t len = static_cast<unsigned char>(gbk_name[n]) >= 0x81 ? 2 : 1;
    if (n + len > gbk_name.size() || n + len > limit) break;
    n += len;
  }
  std::fill(std::begin(face), std::end(face), '\0');
  std::copy_n(gbk_name.data(), n, face);
}

namespace {

// Relative luminance of an sRGB colour, 0 (black) to 1 (white).
double Luminance(COLORREF c) {
  const auto linear = [](unsigned v) {
    const double s = v / 255.0;
    return s <= 0.04045 ? s / 12.92 : std::pow((s + 0.055) / 1.055, 2.4);
  };
  return 0.2126 * linear(GetRValue(c)) + 0.7152 * linear(GetGValue(c)) + 0.0722 * linear(GetBValue(c));
}

double Contrast(double a, double b) { return (std::max(a, b) + 0.05) / (std::min(a, b) + 0.05); }

}  // namespace

COLORREF ReadableOn(COLORREF text, COLORREF fill) {
  const double f = Luminance(fill);
  if (Contrast(Luminance(text), f) >= 4.5) return text;
  return Contrast(0, f) >= Contrast(1, f) ? RGB(0, 0, 0) : RGB(255, 255, 255);
}

}  // namespace davodu
