#include "davodu/kits/head_text.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <vector>

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

namespace {

// A piece of a text that a line break never splits: one two-byte
// character, or a run of single-byte characters up to a blank or a
// two-byte character.
struct TextPiece {
  std::string text;
  bool wide = false;  // a two-byte character
  int blanks = 0;     // blanks before it
};

std::vector<TextPiece> PiecesOf(const std::string& text) {
  std::vector<TextPiece> pieces;
  int blanks = 0;
  for (std::size_t i = 0; i < text.size();) {
    const auto lead = static_cast<unsigned char>(text[i]);
    if (text[i] == ' ' || text[i] == '\t' || text[i] == '\n') {
      ++blanks;
      ++i;
      continue;
    }
    const bool wide = lead >= 0x81 && lead <= 0xFE && i + 1 < text.size();
    if (wide || pieces.empty() || pieces.back().wide || blanks > 0) {
      pieces.push_back({std::string(), wide, pieces.empty() ? 0 : blanks});
      blanks = 0;
    }
    const std::size_t len = wide ? 2 : 1;
    pieces.back().text.append(text, i, len);
    i += len;
  }
  return pieces;
}

}  // namespace

WrappedText WrapToFit(CDC* dc, const std::string& gbk_text, const ZULOGFONT& font, double zoom,
                      double avail_width, double avail_height) {
  const std::vector<TextPiece> pieces = PiecesOf(gbk_text);
  const std::size_t m = pieces.size();
  if (m == 0) return {gbk_text, 1};
  const double line_height = HeadTextSize(dc, gbk_text, font, zoom).height;
  const double blank = HeadTextSize(dc, " ", font, zoom).width;
  // ends[i]: the width from the start of piece 0 to the end of piece i - 1;
  // starts[i]: to the start of piece i, after the blanks before it.
  std::vector<double> ends(m + 1, 0), starts(m + 1, 0);
  for (std::size_t i = 0; i < m; ++i) {
    starts[i] = ends[i] + pieces[i].blanks * blank;
    ends[i + 1] = starts[i] + HeadTextSize(dc, pieces[i].text, font, zoom).width;
  }
  // A line may start at piece i after a blank or, when characters may be
  // parted, between two two-byte characters.
  const auto breaks_before = [&](std::size_t i, bool parting) {
    return i == 0 || pieces[i].blanks > 0 || (parting && pieces[i].wide && pieces[i - 1].wide);
  };
  const double inf = std::numeric_limits<double>::infinity();
  // Two layouts of every number of lines, breaking at blanks only and
  // parting characters too: widest[p][n][b] is the narrowest widest line
  // that lays pieces [0, b) on n lines, from[p][n][b] where its last line
  // starts.
  std::vector<std::vector<double>> widest[2];
  std::vector<std::vector<std::size_t>> from[2];
  for (int p = 0; p < 2; ++p) {
    widest[p].assign(1, std::vector<double>(m + 1, inf));
    from[p].assign(1, std::vector<std::size_t>(m + 1, 0));
    widest[p][0][0] = 0;
  }
  double best = -1;
  std::size_t best_lines = 1;
  int best_parting = 0;
  for (std::size_t n = 1; n <= m; ++n) {
    // Nothing beats the font's own size, and more lines than the height
    // holds at the best size so far gain nothing.
    if (best >= 1) break;
    if (n > 1 && line_height > 0 && avail_height / (line_height * static_cast<double>(n)) <= best) break;
    for (int p = 0; p < 2; ++p) {
      std::vector<std::vector<double>>& wide = widest[p];
      wide.emplace_back(m + 1, inf);
      from[p].emplace_back(m + 1, 0);
      for (std::size_t b = 1; b <= m; ++b) {
        if (b < m && !breaks_before(b, p == 1)) continue;
        for (std::size_t a = n - 1; a < b; ++a) {
          if (!breaks_before(a, p == 1) || wide[n - 1][a] == inf) continue;
          const double w = std::max(wide[n - 1][a], ends[b] - starts[a]);
          if (w < wide[n][b]) {
            wide[n][b] = w;
            from[p][n][b] = a;
          }
        }
      }
    }
    // Characters are parted only where the blanks leave no layout of n
    // lines: a name stays whole on its line where it can.
    const int p = widest[0][n][m] < inf ? 0 : 1;
    if (widest[p][n][m] == inf) continue;
    const double f = FitFactor(widest[p][n][m], line_height * static_cast<double>(n), avail_width, avail_height);
    if (f > best * (1 + 1e-9)) {
      best = f;
      best_lines = n;
      best_parting = p;
    }
  }
  std::vector<std::string> lines(best_lines);
  for (std::size_t n = best_lines, b = m; n > 0; --n) {
    const std::size_t a = from[best_parting][n][b];
    for (std::size_t i = a; i < b; ++i) {
      if (i > a) lines[n - 1].append(static_cast<std::size_t>(pieces[i].blanks), ' ');
      lines[n - 1] += pieces[i].text;
    }
    b = a;
  }
  WrappedText out;
  out.factor = std::max(best, 0.0);
  // Widths need not scale exactly with the font (hinting): measured at the
  // size chosen, a line still too wide shrinks the font by its excess.
  const ZULOGFONT scaled = ScaledFont(font, out.factor);
  double wide = 0;
  for (std::size_t i = 0; i < lines.size(); ++i) {
    wide = std::max(wide, HeadTextSize(dc, lines[i], scaled, zoom).width);
    out.text += (i > 0 ? "\n" : "") + lines[i];
  }
  if (wide > avail_width && wide > 0) out.factor *= std::max(avail_width, 0.0) / wide;
  return out;
}

}  // namespace davodu
