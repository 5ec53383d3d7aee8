// The host's graphics tools: style records in map units -> device pens,
// brushes and fonts in draw units, then calls on the device.
#include "davodu/host/graphics/graph_tool.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstring>
#include <numbers>
#include <string_view>

#include "davodu/host/graphics/pattern_library.h"

namespace davodu {

namespace {

// Dash patterns of the line-style codes, in map units (0.01 mm): a dash of
// 3 mm, a dot of 0.5 mm, 1.5 mm between the parts of a pattern and 1 mm
// between the dots of a dotted line. Each length is scaled by the zoom and
// never drawn shorter than one draw unit, so a pattern stays visible however
// far the view is zoomed out.
constexpr double kDashLength = 300;
constexpr double kDotLength = 50;
constexpr double kPatternGap = 150;
constexpr double kDotGap = 100;

// Mark pens (992-999) outline handles and selection frames in a view. They
// keep the size of the view's pixels whatever the zoom: on two draw units,
// off two, one draw-unit wide.
constexpr double kMarkDot = 2;

// Distance between hatch lines in map units (2 mm).
constexpr double kHatchSpacing = 200;

double SafeLength(double map_length, double zoom) {
  double v = map_length * zoom;
  return std::isfinite(v) && v > 0 ? v : 0;
}

std::vector<double> DashPattern(std::int32_t style, double zoom) {
  std::vector<double> map;
  switch (style) {
    case kPenDash:
      map = {kDashLength, kPatternGap};
      break;
    case kPenDot:
      map = {kDotLength, kDotGap};
      break;
    case kPenDashDot:
      map = {kDashLength, kPatternGap, kDotLength, kPatternGap};
      break;
    case kPenDashDotDot:
      map = {kDashLength, kPatternGap, kDotLength, kPatternGap, kDotLength, kPatternGap};
      break;
    default:
      return {};
  }
  for (double& len : map) len = std::max(1.0, SafeLength(len, zoom));
  return map;
}

// True when a pen may not be drawn on this device: a null pen draws nothing
// anywhere; not-xor and mark pens belong to interactive views only.
bool SkipPen(const CDC* dc, const DevicePen& pen) {
  if (dc == nullptr || pen.style == kPenNull) return true;
  if (dc->IsInteractive()) return false;
  return pen.rop == kRopNotXor || IsMarkPenStyle(pen.style);
}

bool SkipBrush(const CDC* dc, const DeviceBrush& brush) {
  if (dc == nullptr) return true;
  return !dc->IsInteractive() && brush.rop == kRopNotXor;
}

int Round(double v) { return static_cast<int>(std::lround(v)); }

// Sizes a pattern may be drawn at, in map units: from 0.1 mm to 1 m.
constexpr double kMinPatternSize = 10;
constexpr double kMaxPatternSize = 100000;

double PatternSize(double size) {
  return std::isfinite(size) && size >= kMinPatternSize && size <= kMaxPatternSize ? size
                                                                                    : kPatternCellSize;
}

// The size word of a patterned brush: a float kept in word3. Older
// documents kept a colour there, which reads as no size.
double PatternCellSize(const ZULOGBRUSH& brush) {
  float size = 0;
  static_assert(sizeof size == sizeof brush.word3);
  std::memcpy(&size, &brush.word3, sizeof size);
  return PatternSize(size);
}

std::vector<CPoint> JoinSegments(const std::vector<std::vector<CPoint>>& segments) {
  std::vector<CPoint> joined;
  for (const auto& segment : segments) joined.insert(joined.end(), segment.begin(), segment.end());
  return joined;
}

std::array<CPoint, 4> RectCorners(const CRect& r) {
  return {CPoint{r.left, r.top}, CPoint{r.right, r.top}, CPoint{r.right, r.bottom},
          CPoint{r.left, r.bottom}};
}

// Splits text into lines at "\n", dropping a "\r" before it.
std::vector<std::string> SplitLines(const std::string& text) {
  std::vector<std::string> lines;
  std::string_view rest(text);
  for (;;) {
    std::size_t nl = rest.find('\n');
    std::string_view line = rest.substr(0, nl);
    if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
    lines.emplace_back(line);
    if (nl == std::string_view::npos) break;
    rest.remove_prefix(nl + 1);
  }
  return lines;
}

// Draws a point symbol of the given size (draw units) centred at (cx, cy).
void DrawSymbol(CDC* dc, double cx, double cy, double size, std::int32_t style,
                COLORREF color) {
  if (dc == nullptr || !std::isfinite(size) || size <= 0) return;
  DevicePen pen;
  pen.color = color;
  DeviceBrush brush;
  brush.color = color;
  const double h = size / 2;
  auto pt = [&](double dx, double dy) { return CPoint{Round(cx + dx), Round(cy + dy)}; };
  auto ellipse = [&](double r, bool filled) {
    CRect rect{Round(cx - r), Round(cy + r), Round(cx + r), Round(cy - r)};
    dc->Ellipse(rect, &pen, filled ? &brush : nullptr);
  };
  auto segment = [&](CPoint a, CPoint b) {
    CPoint line[2] = {a, b};
    dc->Polyline(line, 2, pen);
  };

  switch (style) {
    case kPointDot:
      // A small filled disc: a quarter of the symbol size, at least one unit.
      ellipse(std::max(0.5, h / 4), true);
      break;
    case kPointCircle:
      ellipse(h, false);
      break;
    case kPointSquare: {
      CPoint sq[4] = {pt(-h, h), pt(h, h), pt(h, -h), pt(-h, -h)};
      dc->Polygon(sq, 4, &pen, nullptr);
      break;
    }
    case kPointTriangle: {
      // Apex up; the base spans the full width at the bottom.
      CPoint tri[3] = {pt(0, h), pt(h, -h), pt(-h, -h)};
      dc->Polygon(tri, 3, &pen, nullptr);
      break;
    }
    case kPointCross:
      segment(pt(-h, 0), pt(h, 0));
      segment(pt(0, -h), pt(0, h));
      break;
    case kPointX:
      segment(pt(-h, -h), pt(h, h));
      segment(pt(-h, h), pt(h, -h));
      break;
    case kPointDiamond: {
      CPoint dia[4] = {pt(0, h), pt(h, 0), pt(0, -h), pt(-h, 0)};
      dc->Polygon(dia, 4, &pen, nullptr);
      break;
    }
    case kPointStar: {
      // A filled five-pointed star, one point up; inner radius 0.382 of the
      // outer one gives the regular pentagram outline.
      CPoint star[10];
      for (int i = 0; i < 10; ++i) {
        double r = (i % 2 == 0) ? h : h * 0.381966;
        double a = std::numbers::pi / 2 + i * std::numbers::pi / 5;
        star[i] = pt(r * std::cos(a), r * std::sin(a));
      }
      dc->Polygon(star, 10, &pen, &brush);
      break;
    }
    case kPointFilledCircle:
    default:
      ellipse(h, true);
      break;
  }
}

}  // namespace

// ---------------------------------------------------------------------------
// CLineTool

DevicePen CLineTool::Resolve(const ZULOGPEN& pen, double zoom) const {
  DevicePen out;
  out.color = pen.color;
  out.rop = pen.rop;
  out.style = pen.style;
  if (IsMarkPenStyle(pen.style)) {
    out.width = 0;
    out.dashes = {kMarkDot, kMarkDot};
    return out;
  }
  out.width = SafeLength(pen.width, zoom);
  out.dashes = DashPattern(pen.style, zoom);
  return out;
}

void CLineTool::DrawLine(CDC* dc, CPoint a, CPoint b, const ZULOGPEN& pen, double zoom) const {
  CPoint line[2] = {a, b};
  DrawPolyline(dc, line, 2, pen, zoom);
}

void CLineTool::DrawPolyline(CDC* dc, const CPoint* points, std::size_t n,
                             const ZULOGPEN& pen, double zoom) const {
  if (points == nullptr || n < 2) return;
  DevicePen dp = Resolve(pen, zoom);
  if (SkipPen(dc, dp)) return;
  dc->Polyline(points, n, dp);
}

void CLineTool::DrawRect(CDC* dc, const CRect& rect, const ZULOGPEN& pen, double zoom) const {
  DevicePen dp = Resolve(pen, zoom);
  if (SkipPen(dc, dp)) return;
  auto corners = RectCorners(rect);
  dc->Polygon(corners.data(), corners.size(), &dp, nullptr);
}

// ---------------------------------------------------------------------------
// CFillTool

bool CFillTool::Resolve(const ZULOGBRUSH& brush, double zoom, DeviceBrush* out) const {
  // Hollow, and the "no fill" first entry of a fill-style set.
  if (brush.style == kBrushHollow || brush.style == kBrushSetNone) return false;
  if (out == nullptr) return true;
  *out = DeviceBrush{};
  out->color = brush.color;
  out->rop = brush.rop;
  out->style = brush.style;
  if (brush.style >= kBrushHatchHorizontal && brush.style <= kBrushHatchDiagCross) {
    out->kind = DeviceBrush::kHatch;
    out->hatch = brush.style;
    out->hatch_spacing = std::max(1.0, SafeLength(kHatchSpacing, zoom));
  } else if (FindPattern(brush.style) != nullptr) {
    out->kind = DeviceBrush::kPattern;
    // Draw units per millimetre of the tile: the cell's map units per
    // millimetre at this size, times the zoom.
    out->pattern_scale = SafeLength(PatternCellSize(brush) / (kPatternCellSize / 100), zoom);
  } else {
    // Solid, the host's default solid (13), and the later entries of a
    // fill-style set, drawn as a solid fill in the brush colour.
    out->kind = DeviceBrush::kSolid;
  }
  return true;
}

void CFillTool::FillRect(CDC* dc, const CRect& rect, const ZULOGBRUSH& brush,
                         double zoom) const {
  auto corners = RectCorners(rect);
  FillPolygon(dc, corners.data(), corners.size(), brush, zoom);
}

void CFillTool::FillPolygon(CDC* dc, const CPoint* points, std::size_t n,
                            const ZULOGBRUSH& brush, double zoom) const {
  if (points == nullptr || n < 3) return;
  DeviceBrush db;
  if (!Resolve(brush, zoom, &db) || SkipBrush(dc, db)) return;
  dc->Polygon(points, n, nullptr, &db);
}

void CFillTool::FillSegments(CDC* dc, const std::vector<std::vector<CPoint>>& segments,
                             const ZULOGBRUSH& brush, double zoom) const {
  DeviceBrush db;
  if (!Resolve(brush, zoom, &db) || SkipBrush(dc, db)) return;
  const std::vector<CPoint> polygon = JoinSegments(segments);
  if (polygon.size() >= 3) dc->Polygon(polygon.data(), polygon.size(), nullptr, &db);
}

// ---------------------------------------------------------------------------
// CTextTool

DeviceFont CTextTool::Resolve(const ZULOGFONT& font, double zoom) const {
  DeviceFont out;
  out.face = font.FaceName();
  out.height = SafeLength(std::fabs(font.height), zoom);
  out.weight = font.weight > 0 ? font.weight : 400;
  out.italic = (font.flags & ZULOGFONT::kFontItalic) != 0;
  out.underline = (font.flags & ZULOGFONT::kFontUnderline) != 0;
  out.color = font.color;
  return out;
}

void CTextTool::DrawText(CDC* dc, CPoint at, const std::string& gbk_text,
                         const ZULOGFONT& font, double zoom, double angle, int align_h,
                         int align_v) const {
  if (dc == nullptr || gbk_text.empty()) return;
  dc->Text(at, gbk_text, Resolve(font, zoom), angle, align_h, align_v);
}

void CTextTool::DrawTextInRect(CDC* dc, const CRect& rect, const std::string& gbk_text,
                               const ZULOGFONT& font, double zoom, int align_h,
                               int align_v) const {
  if (dc == nullptr || gbk_text.empty()) return;
  const CRect r = rect.Normalized();
  const DeviceFont df = Resolve(font, zoom);
  const std::vector<std::string> lines = SplitLines(gbk_text);

  // Every line takes the height of the tallest one, so the lines of a block
  // are evenly spaced whatever characters they hold.
  double line_height = df.height;
  for (const auto& line : lines) {
    if (!line.empty()) line_height = std::max(line_height, dc->MeasureText(line, df).height);
  }
  const double block = line_height * static_cast<double>(lines.size());

  double top;  // Y of the first line's top edge (Y grows upwards)
  switch (align_v) {
    case kAlignMiddle:
      top = (r.top + r.bottom) / 2.0 + block / 2;
      break;
    case kAlignBottom:
      top = r.bottom + block;
      break;
    default:
      top = r.top;
      break;
  }
  int x;
  switch (align_h) {
    case kAlignCenter:
      x = Round((r.left + r.right) / 2.0);
      break;
    case kAlignRight:
      x = r.right;
      break;
    default:
      x = r.left;
      align_h = kAlignLeft;
      break;
  }

  const int level = dc->SaveDC();
  dc->SetClipRect(r);
  for (std::size_t i = 0; i < lines.size(); ++i) {
    if (lines[i].empty()) continue;
    CPoint at{x, Round(top - line_height * static_cast<double>(i))};
    dc->Text(at, lines[i], df, 0, align_h, kAlignTop);
  }
  dc->RestoreDC(level);
}

TextSize CTextTool::MeasureText(CDC* dc, const std::string& gbk_text, const ZULOGFONT& font,
                                double zoom) const {
  if (dc == nullptr || gbk_text.empty()) return {};
  return dc->MeasureText(gbk_text, Resolve(font, zoom));
}

// ---------------------------------------------------------------------------
// CScriptTextTool

namespace {

constexpr char kSubscriptMarker = '\\';
constexpr char kSuperscriptMarker = '/';

// Calls f(position, length) for every GBK character of a text.
template <typename F>
void ForEachGbkChar(const std::string& text, F&& f) {
  for (std::size_t i = 0; i < text.size();) {
    const auto lead = static_cast<unsigned char>(text[i]);
    const std::size_t len = lead >= 0x81 && lead <= 0xFE && i + 1 < text.size() ? 2 : 1;
    f(i, len);
    i += len;
  }
}

}  // namespace

bool CScriptTextTool::IsScriptText(const std::string& text) {
  bool found = false;
  ForEachGbkChar(text, [&](std::size_t i, std::size_t len) {
    if (len == 1 && (text[i] == kSubscriptMarker || text[i] == kSuperscriptMarker)) found = true;
  });
  return found;
}

std::vector<TextRun> CScriptTextTool::Parse(const std::string& text) {
  std::vector<TextRun> runs;
  TextRun run;
  auto flush = [&] {
    if (!run.text.empty()) runs.push_back(run);
    run.text.clear();
  };
  ForEachGbkChar(text, [&](std::size_t i, std::size_t len) {
    const char c = text[i];
    const int place = len != 1                   ? 0
                      : c == kSubscriptMarker    ? TextRun::kSubscript
                      : c == kSuperscriptMarker  ? TextRun::kSuperscript
                                                 : TextRun::kBaseline;
    if (place == TextRun::kBaseline) {
      run.text.append(text, i, len);
      return;
    }
    flush();
    run.place = run.place == place ? TextRun::kBaseline : place;
  });
  flush();
  return runs;
}

void CScriptTextTool::DrawScriptText(CDC* dc, CPoint at, const std::string& gbk_text,
                                     const ZULOGFONT& font, double zoom, double angle, int align_h,
                                     int align_v) const {
  if (dc == nullptr || gbk_text.empty()) return;
  const std::vector<TextRun> runs = Parse(gbk_text);
  if (runs.empty()) return;
  dc->ScriptText(at, runs, AfxGetTextTool().Resolve(font, zoom), angle, align_h, align_v);
}

// ---------------------------------------------------------------------------
// CPointTool

void CPointTool::Draw(CDC* dc, CPoint at, const ZULOGPOINT& point, double zoom) const {
  DrawSymbol(dc, at.x, at.y, SafeLength(point.size, zoom), point.style, point.color);
}

void CPointTool::FillRect(CDC* dc, const CRect& rect, const ZULOGPOINT& point, double zoom) const {
  if (FindPattern(point.style) == nullptr) {
    DrawInRect(dc, rect, point);
    return;
  }
  ZULOGBRUSH brush;
  brush.style = point.style;
  brush.color = point.color;
  const float size = static_cast<float>(PatternSize(point.size));
  std::memcpy(&brush.word3, &size, sizeof size);
  AfxGetFillTool().FillRect(dc, rect, brush, zoom);
}

void CPointTool::DrawInRect(CDC* dc, const CRect& rect, const ZULOGPOINT& point) const {
  const CRect r = rect.Normalized();
  double size = std::min(r.Width(), r.Height());
  DrawSymbol(dc, (r.left + r.right) / 2.0, (r.top + r.bottom) / 2.0, size, point.style,
             point.color);
}

// ---------------------------------------------------------------------------
// CClipTool

void CClipTool::SetClip(CDC* dc, const std::vector<std::vector<CPoint>>& segments) const {
  const std::vector<CPoint> polygon = JoinSegments(segments);
  dc->SetClipPolygon(polygon.data(), polygon.size());
}

// ---------------------------------------------------------------------------

const CLineTool& AfxGetLineTool() {
  static const CLineTool tool;
  return tool;
}

const CScriptTextTool& AfxGetScriptTextTool() {
  static const CScriptTextTool tool;
  return tool;
}

const CFillTool& AfxGetFillTool() {
  static const CFillTool tool;
  return tool;
}

const CTextTool& AfxGetTextTool() {
  static const CTextTool tool;
  return tool;
}

const CPointTool& AfxGetPointTool() {
  static const CPointTool tool;
  return tool;
}

const CClipTool& AfxGetClipTool() {
  static const CClipTool tool;
  return tool;
}

int AfxGetNodeRectWidth() { return 8; }

}  // namespace davodu
