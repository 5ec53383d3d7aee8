// davodu patterns: a sheet of every pattern of the pattern library, each
// in a swatch at its natural size with its code and names.
#include <algorithm>
#include <charconv>
#include <cstdio>
#include <memory>
#include <string>

#include "commands.h"
#include "davodu/host/graphics/cairo_dc.h"
#include "davodu/host/graphics/graph_tool.h"
#include "davodu/host/graphics/pattern_library.h"
#include "davodu/host/graphics/styles.h"
#include "davodu/host/util/gbk.h"

namespace davodu::app {

namespace {

constexpr char kUsage[] =
    "usage: davodu patterns -o OUT.png|OUT.svg|OUT.pdf [--dpi N]\n"
    "\n"
    "Draws every fill pattern of the lithology columns, the oil-bearing\n"
    "grades and the perforation columns at its natural size, with its style\n"
    "code and names, to a PNG (at --dpi, default 150), SVG or PDF file.\n";

// The sheet, in map units (0.01 mm): four swatches a row.
constexpr int kColumns = 4;
constexpr int kMargin = 800;
constexpr int kSwatchWidth = 3600, kSwatchHeight = 2000;
constexpr int kLabelHeight = 900;
constexpr int kGapX = 700;
constexpr int kCellWidth = kSwatchWidth + kGapX;
constexpr int kCellHeight = kSwatchHeight + kLabelHeight + 300;
constexpr double kMapUnitsPerInch = 2540;
constexpr double kPointsPerInch = 72;

// The colour a pattern is drawn in by the columns that use it.
COLORREF ColorOf(int code) { return code > kShootPatternBase ? RGB(220, 0, 0) : RGB(0, 0, 0); }

}  // namespace

int RunPatterns(const Args& args) {
  std::string out;
  int dpi = 150;
  for (std::size_t i = 0; i < args.size(); ++i) {
    const std::string& a = args[i];
    if (a == "-h" || a == "--help") {
      std::fputs(kUsage, stdout);
      return 0;
    }
    if ((a == "-o" || a == "--dpi") && i + 1 == args.size()) return UsageError(a + " needs a value");
    if (a == "-o") {
      out = args[++i];
    } else if (a == "--dpi") {
      const std::string& v = args[++i];
      const auto [end, ec] = std::from_chars(v.data(), v.data() + v.size(), dpi);
      if (ec != std::errc() || end != v.data() + v.size() || dpi < 10 || dpi > 1200)
        return UsageError("--dpi: '" + v + "' is not a whole number from 10 to 1200");
    } else {
      return UsageError("patterns: unexpected argument '" + a + "'");
    }
  }
  if (out.empty()) return UsageError("patterns: no output file (-o OUT.png|OUT.svg|OUT.pdf)");
  ImageFormat format;
  if (!ImageFormatFromPath(out, &format))
    return UsageError("patterns: '" + out + "' is not a .png, .svg or .pdf file");

  const std::vector<PatternTile>& all = AllPatterns();
  const int rows = static_cast<int>((all.size() + kColumns - 1) / kColumns);
  const CRect page(0, 0, 2 * kMargin + kColumns * kCellWidth - kGapX, 2 * kMargin + rows * kCellHeight);
  const double scale = (format == ImageFormat::kPng ? dpi : kPointsPerInch) / kMapUnitsPerInch;
  std::string error;
  std::unique_ptr<CairoDC> dc = CairoDC::Create(format, out, page, scale, &error);
  if (!dc) {
    std::fprintf(stderr, "davodu: %s: %s\n", out.c_str(), error.c_str());
    return 1;
  }
  ZULOGPEN frame;
  DeviceFont font;
  font.face = ZULOGFONT().face;
  font.height = 280;
  for (std::size_t i = 0; i < all.size(); ++i) {
    const PatternTile& tile = all[i];
    const int x = kMargin + static_cast<int>(i % kColumns) * kCellWidth;
    // Draw units grow upwards: y is the top of the swatch.
    const int y = page.bottom - kMargin - static_cast<int>(i / kColumns) * kCellHeight;
    const CRect swatch(x, y - kSwatchHeight, x + kSwatchWidth, y);
    ZULOGBRUSH brush;
    brush.style = tile.code;
    brush.color = ColorOf(tile.code);
    AfxGetFillTool().FillRect(dc.get(), swatch, brush, 1);
    AfxGetLineTool().DrawRect(dc.get(), swatch, frame, 1);
    const std::string label = std::to_string(tile.code) + "  " + Gbk(tile.name_cn);
    dc->Text(CPoint(x, y - kSwatchHeight - 150), label, font, 0, 0, 0);
    dc->Text(CPoint(x, y - kSwatchHeight - 150 - 380), tile.name, font, 0, 0, 0);
  }
  if (!dc->Finish(&error)) {
    std::fprintf(stderr, "davodu: %s: %s\n", out.c_str(), error.c_str());
    return 1;
  }
  std::printf("wrote %s\n", out.c_str());
  return 0;
}

}  // namespace davodu::app
