// CairoDC: draws into a Cairo surface (PNG, SVG, PDF), text through Pango.
//
// Draw coordinates (Y up) are mapped to device coordinates (Y down) by hand:
// the Cairo matrix stays the identity except around text and ellipses, so
// pen widths, dashes and hatch spacings are given to Cairo in device units
// and a flipped matrix never reaches Pango.
#include "davodu/host/graphics/cairo_dc.h"

#include <cairo-pdf.h>
#include <cairo-svg.h>
#include <cairo.h>
#include <pango/pangocairo.h>
#include <sys/stat.h>

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <functional>
#include <map>
#include <numbers>
#include <optional>
#include <string_view>
#include <utility>
#include <vector>

#include "davodu/host/graphics/detail/cairo_tiles.h"
#include "davodu/host/graphics/pattern_library.h"
#include "davodu/host/graphics/png_writer.h"
#include "davodu/host/util/gbk.h"

#if defined(__SANITIZE_ADDRESS__)
#define DAVODU_LEAK_CHECKS 1
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
#define DAVODU_LEAK_CHECKS 1
#endif
#endif
#ifndef DAVODU_LEAK_CHECKS
#define DAVODU_LEAK_CHECKS 0
#endif

#if DAVODU_LEAK_CHECKS
extern "C" void __lsan_disable();
extern "C" void __lsan_enable();
#endif

namespace davodu {

namespace {

// Cairo 1.16 loses buffers while it subsets fonts to finish a PDF. Where
// leaks are checked, allocations made inside such a call are left out of the
// report; elsewhere this does nothing.
class LibraryLeaksIgnored {
 public:
#if DAVODU_LEAK_CHECKS
  LibraryLeaksIgnored() { __lsan_disable(); }
  ~LibraryLeaksIgnored() { __lsan_enable(); }
#else
  LibraryLeaksIgnored() = default;
#endif
  LibraryLeaksIgnored(const LibraryLeaksIgnored&) = delete;
  LibraryLeaksIgnored& operator=(const LibraryLeaksIgnored&) = delete;
};

// Largest side of a raster image Cairo can create.
constexpr int kMaxRasterSide = 32767;
// Thinnest visible line: one pixel in a raster image, a quarter point in a
// vector file (it prints as a fine line rather than vanishing).
constexpr double kRasterHairline = 1.0;
constexpr double kVectorHairline = 0.25;
// Closest spacing of hatch lines in device units, and the most hatch lines
// one family may draw across a fill.
constexpr double kMinHatchSpacing = 3.0;
constexpr double kMaxHatchLines = 20000;
// A font this small in device units draws nothing.
constexpr double kMinFontSize = 0.05;
// Texts are aligned on their em square, which stands this far above the
// baseline (and the rest of an em below it): the ideographic em box of CJK
// faces, which also holds Latin capitals and figures. A text's box is then
// exactly its font height tall on every device, so a layout that reserves
// the font height for a text can rely on it; the line box of the font
// (ascent plus descent, about 1.45 em for the CJK faces) would not fit.
constexpr double kEmAboveBaseline = 0.88;

const char* kSerifCjk = "Noto Serif CJK SC";
const char* kSansCjk = "Noto Sans CJK SC";

void SetError(std::string* error, std::string message) {
  if (error != nullptr) *error = std::move(message);
}

bool EndsWithNoCase(std::string_view s, std::string_view suffix) {
  if (s.size() < suffix.size()) return false;
  s.remove_prefix(s.size() - suffix.size());
  for (std::size_t i = 0; i < s.size(); ++i) {
    char a = s[i];
    if (a >= 'A' && a <= 'Z') a = static_cast<char>(a - 'A' + 'a');
    if (a != suffix[i]) return false;
  }
  return true;
}

std::string AsciiLower(std::string_view s) {
  std::string out(s);
  for (char& c : out) {
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
  }
  return out;
}

// The fontconfig family for a stored face name (GBK). The Chinese faces of
// office systems are not installed here; each maps to the Noto CJK face of
// its kind (Song, Fangsong and Kai faces are serif, Hei and the others
// sans). Any other name goes to fontconfig unchanged, which substitutes a
// near face and falls back per character for Chinese.
std::string FontFamily(const std::string& gbk_face) {
  std::string face = GbkToUtf8(gbk_face);
  // "@" asks for vertical writing of the same face.
  if (!face.empty() && face.front() == '@') face.erase(0, 1);
  if (face.empty()) return kSerifCjk;

  struct Alias {
    const char* name;  // UTF-8; ASCII names are matched in lower case
    bool serif;
  };
  static constexpr Alias kAliases[] = {
      {"宋体", true},          {"新宋体", true},       {"仿宋", true},
      {"仿宋_gb2312", true},   {"楷体", true},         {"楷体_gb2312", true},
      {"华文宋体", true},      {"华文中宋", true},     {"华文仿宋", true},
      {"华文楷体", true},      {"simsun", true},       {"nsimsun", true},
      {"fangsong", true},      {"fangsong_gb2312", true}, {"kaiti", true},
      {"kaiti_gb2312", true},  {"stsong", true},       {"stzhongsong", true},
      {"stfangsong", true},    {"stkaiti", true},      {"黑体", false},
      {"微软雅黑", false},     {"幼圆", false},        {"等线", false},
      {"华文黑体", false},     {"华文细黑", false},    {"simhei", false},
      {"microsoft yahei", false}, {"youyuan", false},  {"dengxian", false},
      {"stheiti", false},      {"stxihei", false},
  };
  const std::string key = AsciiLower(face);
  for (const Alias& alias : kAliases) {
    if (key == alias.name) return alias.serif ? kSerifCjk : kSansCjk;
  }
  return face;
}

void SetSourceColor(cairo_t* cr, COLORREF color) {
  cairo_set_source_rgb(cr, GetRValue(color) / 255.0, GetGValue(color) / 255.0,
                       GetBValue(color) / 255.0);
}

}  // namespace

bool ImageFormatFromPath(const std::string& path, ImageFormat* format) {
  ImageFormat f;
  if (EndsWithNoCase(path, ".png")) {
    f = ImageFormat::kPng;
  } else if (EndsWithNoCase(path, ".svg")) {
    f = ImageFormat::kSvg;
  } else if (EndsWithNoCase(path, ".pdf")) {
    f = ImageFormat::kPdf;
  } else {
    return false;
  }
  if (format != nullptr) *format = f;
  return true;
}

class CairoDC::Impl {
 public:
  Impl(ImageFormat format, std::string path, const CRect& page, double scale)
      : format_(format),
        path_(std::move(path)),
        page_(page),
        scale_(scale),
        tiles_(format == ImageFormat::kPng, hairline()) {}

  ~Impl() { Close(); }

  // Opens the surface; false with *error when Cairo refuses it.
  bool Open(std::string* error);
  bool Finish(std::string* error);
  bool EncodePng(std::string* png, std::string* error);
  bool NextPage(const std::string& next_path, std::string* error);
  void SetOrigin(CPoint top_left) {
    page_.left = top_left.x;
    page_.top = top_left.y;
  }
  bool open() const { return cr_ != nullptr; }

  double hairline() const {
    return format_ == ImageFormat::kPng ? kRasterHairline : kVectorHairline;
  }
  double DevX(double x) const { return (x - page_.left) * scale_; }
  double DevY(double y) const { return (page_.top - y) * scale_; }

  void Clear(COLORREF background);
  // Adds the points to the path as a new subpath; fresh: clears the path
  // first.
  void AppendPolygon(const CPoint* points, std::size_t n, bool snap = false, bool fresh = true);
  // An open polyline, stroked with the next ones of the same pen in one go:
  // the grid of a chart is thousands of lines of a few pens, and one
  // stroke per pen is much cheaper (and a smaller vector file) than one a
  // line. Where lines of one pen cross, the crossing is inked once.
  void BatchPolyline(const CPoint* points, std::size_t n, const DevicePen& pen);
  // Strokes the batched polylines; every other drawing operation calls it first.
  void Flush();
  void AppendEllipse(const CRect& rect);
  // Line width of a pen in device units, never thinner than a hairline.
  double DeviceWidth(const DevicePen& pen) const;
  // Strokes (and clears) the current path with a pen.
  void Stroke(const DevicePen& pen);
  // Strokes a polyline (closed: a polygon outline) with a pen.
  void StrokePoints(const CPoint* points, std::size_t n, bool closed, const DevicePen& pen);
  // Fills (and clears) the current path with a brush.
  void Fill(const DeviceBrush& brush);
  // markup: the text is Pango markup in UTF-8 instead of plain GBK.
  void Text(CPoint at, const std::string& text, const DeviceFont& font, double angle, int align_h,
            int align_v, bool markup = false);
  TextSize MeasureText(const std::string& gbk_text, const DeviceFont& font);
  int SaveDC();
  void RestoreDC(int level);
  void Image(const CRect& rect, const std::shared_ptr<const DeviceImage>& image);
  void Clip() {
    cairo_set_fill_rule(cr_, CAIRO_FILL_RULE_EVEN_ODD);
    cairo_clip(cr_);
  }

  cairo_t* cr() const { return cr_; }
  double encode_seconds() const { return encode_seconds_; }

 private:
  // Adds the time of its life to encode_seconds_.
  class EncodeTimer {
   public:
    explicit EncodeTimer(double* total) : total_(total), start_(std::chrono::steady_clock::now()) {}
    ~EncodeTimer() {
      *total_ += std::chrono::duration<double>(std::chrono::steady_clock::now() - start_).count();
    }
    EncodeTimer(const EncodeTimer&) = delete;
    EncodeTimer& operator=(const EncodeTimer&) = delete;

   private:
    double* total_;
    std::chrono::steady_clock::time_point start_;
  };

  void Close();
  // Writes the raster surface to path_ as a PNG file.
  cairo_status_t WritePng();
  void HatchLines(const DeviceBrush& brush);
  // Fills (and clears) the current path with a library pattern.
  void PatternFill(const DeviceBrush& brush);
  // A layout of text in font, in device units; null for an empty or
  // invisible text. markup: the text is Pango markup in UTF-8.
  PangoLayout* Layout(const std::string& text, const DeviceFont& font, bool markup = false);
  // The box a text is aligned on, in device units from the layout's origin:
  // its advance across, and its em square (the font size) up and down.
  struct TextBox {
    double left, top, width, em;
  };
  TextBox BoxOf(PangoLayout* layout, const DeviceFont& font) const;

  ImageFormat format_;
  std::string path_;
  CRect page_;
  double scale_;
  cairo_surface_t* surface_ = nullptr;
  cairo_t* cr_ = nullptr;
  PangoContext* pango_ = nullptr;
  int depth_ = 0;  // SaveDC levels in force
  std::optional<DevicePen> batch_pen_;  // the pen of the polylines in the path
  double encode_seconds_ = 0;
  std::string write_error_;  // why the last PNG could not be written
  // One surface per image drawn, kept (with the image, whose pixels and
  // bytes the surface points into) until the file is written: a vector
  // surface reads its sources when it is finished, and an image drawn twice
  // is embedded once.
  struct ImageSurface {
    std::shared_ptr<const DeviceImage> image;
    cairo_surface_t* surface = nullptr;
    std::string unique_id;  // of the JPEG's bytes: equal files are embedded once
  };
  std::map<const DeviceImage*, ImageSurface> images_;
  CairoTileCache tiles_;     // the pattern tiles drawn so far
};

bool CairoDC::Impl::Open(std::string* error) {
  const double width = page_.Width() * scale_;
  const double height = page_.Height() * scale_;
  switch (format_) {
    case ImageFormat::kPng: {
      // Round up so that the last, partly covered pixel of the page is kept.
      const double w = std::ceil(width - 1e-6);
      const double h = std::ceil(height - 1e-6);
      if (w > kMaxRasterSide || h > kMaxRasterSide) {
        char buf[64];
        std::snprintf(buf, sizeof buf, "%.0f x %.0f", w, h);
        SetError(error, std::string("the image would be ") + buf +
                            " pixels; a PNG can be at most " + std::to_string(kMaxRasterSide) +
                            " pixels a side: cut it into pages (--pages), use a lower --dpi, or write SVG or PDF");
        return false;
      }
      surface_ = cairo_image_surface_create(CAIRO_FORMAT_RGB24, std::max(1, static_cast<int>(w)),
                                            std::max(1, static_cast<int>(h)));
      break;
    }
    case ImageFormat::kSvg:
      surface_ = cairo_svg_surface_create(path_.c_str(), width, height);
      if (cairo_surface_status(surface_) == CAIRO_STATUS_SUCCESS) {
        cairo_svg_surface_set_document_unit(surface_, CAIRO_SVG_UNIT_PT);
      }
      break;
    case ImageFormat::kPdf:
      surface_ = cairo_pdf_surface_create(path_.c_str(), width, height);
      break;
  }
  cairo_status_t status = cairo_surface_status(surface_);
  if (status != CAIRO_STATUS_SUCCESS) {
    SetError(error, "cannot create the drawing surface for " + path_ + ": " +
                        cairo_status_to_string(status));
    Close();
    return false;
  }
  cr_ = cairo_create(surface_);
  status = cairo_status(cr_);
  if (status != CAIRO_STATUS_SUCCESS) {
    SetError(error, std::string("cannot draw on the surface: ") + cairo_status_to_string(status));
    Close();
    return false;
  }
  cairo_set_line_join(cr_, CAIRO_LINE_JOIN_ROUND);

  // Text metrics independent of the device and of rotation: no hinting of
  // metrics and no rounding of glyph positions, so a text measured here has
  // the same extent in a PNG, an SVG and a PDF.
  pango_ = pango_cairo_create_context(cr_);
  cairo_font_options_t* options = cairo_font_options_create();
  cairo_font_options_set_hint_metrics(options, CAIRO_HINT_METRICS_OFF);
  cairo_font_options_set_hint_style(options, CAIRO_HINT_STYLE_NONE);
  pango_cairo_context_set_font_options(pango_, options);
  cairo_font_options_destroy(options);
  pango_context_set_round_glyph_positions(pango_, FALSE);
  return true;
}

void CairoDC::Impl::Close() {
  tiles_.Clear();
  if (pango_ != nullptr) g_object_unref(pango_);
  pango_ = nullptr;
  if (cr_ != nullptr) cairo_destroy(cr_);
  cr_ = nullptr;
  if (surface_ != nullptr) cairo_surface_destroy(surface_);
  surface_ = nullptr;
  // After the page surface, which may still refer to them.
  for (auto& [key, entry] : images_) cairo_surface_destroy(entry.surface);
  images_.clear();
}

bool CairoDC::Impl::Finish(std::string* error) {
  if (!open()) {
    SetError(error, "the drawing of " + path_ + " was already finished");
    return false;
  }
  Flush();
  cairo_status_t status = cairo_status(cr_);
  if (status == CAIRO_STATUS_SUCCESS) {
    EncodeTimer timer(&encode_seconds_);
    cairo_surface_flush(surface_);
    if (format_ == ImageFormat::kPng) {
      // A raster device in memory has no file to write.
      if (!path_.empty()) status = WritePng();
    } else {
      [[maybe_unused]] LibraryLeaksIgnored ignored;
      cairo_surface_finish(surface_);
      status = cairo_surface_status(surface_);
    }
  }
  Close();
  if (status != CAIRO_STATUS_SUCCESS) {
    SetError(error, !write_error_.empty() ? write_error_
                                          : "cannot write " + path_ + ": " + cairo_status_to_string(status));
    return false;
  }
  return true;
}

bool CairoDC::Impl::EncodePng(std::string* png, std::string* error) {
  if (!open() || format_ != ImageFormat::kPng) {
    SetError(error, "the device holds no picture to encode");
    return false;
  }
  Flush();
  cairo_surface_flush(surface_);
  EncodeTimer timer(&encode_seconds_);
  return EncodeRgbPng(cairo_image_surface_get_data(surface_),
                      cairo_image_surface_get_width(surface_),
                      cairo_image_surface_get_height(surface_),
                      cairo_image_surface_get_stride(surface_), png, error);
}

cairo_status_t CairoDC::Impl::WritePng() {
  return WriteRgbPng(path_, cairo_image_surface_get_data(surface_),
                     cairo_image_surface_get_width(surface_),
                     cairo_image_surface_get_height(surface_),
                     cairo_image_surface_get_stride(surface_), &write_error_)
             ? CAIRO_STATUS_SUCCESS
             : CAIRO_STATUS_WRITE_ERROR;
}

bool CairoDC::Impl::NextPage(const std::string& next_path, std::string* error) {
  if (!open()) {
    SetError(error, "the drawing of " + path_ + " was already finished");
    return false;
  }
  if (format_ == ImageFormat::kSvg) {
    SetError(error, path_ + ": an SVG file has one page");
    return false;
  }
  Flush();
  // Back to the page's own state: no clip, no transformation.
  for (; depth_ > 0; --depth_) cairo_restore(cr_);
  cairo_status_t status = cairo_status(cr_);
  EncodeTimer timer(&encode_seconds_);
  switch (format_) {
    case ImageFormat::kPng:
      if (status == CAIRO_STATUS_SUCCESS) {
        cairo_surface_flush(surface_);
        status = WritePng();
      }
      path_ = next_path;
      break;
    case ImageFormat::kPdf:
      if (status == CAIRO_STATUS_SUCCESS) cairo_show_page(cr_);
      status = cairo_status(cr_);
      break;
    case ImageFormat::kSvg:
      break;  // refused above
  }
  if (status != CAIRO_STATUS_SUCCESS) {
    SetError(error, !write_error_.empty() ? write_error_
                                          : "cannot write " + path_ + ": " + cairo_status_to_string(status));
    return false;
  }
  Clear(0xFFFFFF);
  return true;
}

void CairoDC::Impl::Clear(COLORREF background) {
  cairo_save(cr_);
  cairo_reset_clip(cr_);
  SetSourceColor(cr_, background);
  cairo_paint(cr_);
  cairo_restore(cr_);
}

void CairoDC::Impl::AppendPolygon(const CPoint* points, std::size_t n, bool snap, bool fresh) {
  if (fresh) cairo_new_path(cr_);
  for (std::size_t i = 0; i < n; ++i) {
    double x = DevX(points[i].x), y = DevY(points[i].y);
    if (snap) {
      x = std::floor(x) + 0.5;
      y = std::floor(y) + 0.5;
    }
    if (i == 0) {
      cairo_move_to(cr_, x, y);
    } else {
      cairo_line_to(cr_, x, y);
    }
  }
}

void CairoDC::Impl::AppendEllipse(const CRect& rect) {
  const double x0 = DevX(rect.left), x1 = DevX(rect.right);
  const double y0 = DevY(rect.top), y1 = DevY(rect.bottom);
  const double rx = std::fabs(x1 - x0) / 2, ry = std::fabs(y1 - y0) / 2;
  const double cx = (x0 + x1) / 2, cy = (y0 + y1) / 2;
  cairo_new_path(cr_);
  if (rx <= 0 || ry <= 0) {
    // A flat ellipse is the segment between its corners.
    cairo_move_to(cr_, x0, y0);
    cairo_line_to(cr_, x1, y1);
    return;
  }
  cairo_save(cr_);
  cairo_translate(cr_, cx, cy);
  cairo_scale(cr_, rx, ry);
  cairo_arc(cr_, 0, 0, 1, 0, 2 * std::numbers::pi);
  cairo_close_path(cr_);
  cairo_restore(cr_);  // the path stays, in device coordinates
}

double CairoDC::Impl::DeviceWidth(const DevicePen& pen) const {
  const double width = std::isfinite(pen.width) ? pen.width * scale_ : 0;
  return std::max(width, hairline());
}

void CairoDC::Impl::BatchPolyline(const CPoint* points, std::size_t n, const DevicePen& pen) {
  if (!batch_pen_ || !(*batch_pen_ == pen)) {
    Flush();
    cairo_new_path(cr_);
    batch_pen_ = pen;
  }
  const bool snap = format_ == ImageFormat::kPng && DeviceWidth(pen) < 1.5;
  AppendPolygon(points, n, snap, false);
}

void CairoDC::Impl::Flush() {
  if (!batch_pen_) return;
  const DevicePen pen = *batch_pen_;
  batch_pen_.reset();
  Stroke(pen);
}

void CairoDC::Impl::StrokePoints(const CPoint* points, std::size_t n, bool closed,
                                 const DevicePen& pen) {
  // A line of one pixel drawn through pixel centres stays sharp instead of
  // smearing over two half-grey rows.
  const bool snap = format_ == ImageFormat::kPng && DeviceWidth(pen) < 1.5;
  AppendPolygon(points, n, snap);
  if (closed) cairo_close_path(cr_);
  Stroke(pen);
}

void CairoDC::Impl::Stroke(const DevicePen& pen) {
  SetSourceColor(cr_, pen.color);
  cairo_set_line_width(cr_, DeviceWidth(pen));
  std::vector<double> dashes;
  bool any_on = false;
  for (double d : pen.dashes) {
    const double v = std::isfinite(d) && d > 0 ? d * scale_ : 0;
    dashes.push_back(v);
    any_on = any_on || v > 0;
  }
  if (any_on) {
    // Butt ends keep the dash lengths as given.
    cairo_set_dash(cr_, dashes.data(), static_cast<int>(dashes.size()), 0);
    cairo_set_line_cap(cr_, CAIRO_LINE_CAP_BUTT);
  } else {
    cairo_set_dash(cr_, nullptr, 0, 0);
    cairo_set_line_cap(cr_, CAIRO_LINE_CAP_ROUND);
  }
  cairo_stroke(cr_);
}

void CairoDC::Impl::Fill(const DeviceBrush& brush) {
  cairo_set_fill_rule(cr_, CAIRO_FILL_RULE_EVEN_ODD);
  if (brush.kind == DeviceBrush::kPattern) {
    PatternFill(brush);
    return;
  }
  const bool hatch = brush.kind == DeviceBrush::kHatch &&
                     brush.hatch >= kBrushHatchHorizontal && brush.hatch <= kBrushHatchDiagCross;
  if (!hatch) {
    SetSourceColor(cr_, brush.color);
    cairo_fill(cr_);
    return;
  }
  cairo_save(cr_);
  cairo_clip(cr_);
  HatchLines(brush);
  cairo_restore(cr_);
}

void CairoDC::Impl::PatternFill(const DeviceBrush& brush) {
  const PatternTile* tile = FindPattern(brush.style);
  if (tile == nullptr || tile->solid) {
    SetSourceColor(cr_, brush.color);
    cairo_fill(cr_);
    return;
  }
  // The tiles are laid from the draw origin, so that neighbouring fills of
  // one pattern meet seamlessly, on every page.
  cairo_pattern_t* source =
      tiles_.Source(*tile, brush.color, brush.pattern_scale * scale_, DevX(0), DevY(0));
  if (source == nullptr) {
    cairo_new_path(cr_);
    return;
  }
  cairo_set_source(cr_, source);
  cairo_fill(cr_);
}

// Strokes the hatch lines of a brush across the present clip. The lines are
// laid from the device origin, so neighbouring fills of one hatch meet
// seamlessly; the background between them is left as it is.
void CairoDC::Impl::HatchLines(const DeviceBrush& brush) {
  double x1, y1, x2, y2;
  cairo_clip_extents(cr_, &x1, &y1, &x2, &y2);
  if (!(x2 > x1 && y2 > y1)) return;
  double step = std::isfinite(brush.hatch_spacing) ? brush.hatch_spacing * scale_ : 0;
  step = std::max({step, kMinHatchSpacing, (x2 - x1 + y2 - y1) / kMaxHatchLines});
  // In a raster image a one-pixel line on a pixel centre stays sharp.
  const double snap = format_ == ImageFormat::kPng ? 0.5 : 0;

  const int h = brush.hatch;
  const bool horizontal = h == kBrushHatchHorizontal || h == kBrushHatchCross;
  const bool vertical = h == kBrushHatchVertical || h == kBrushHatchCross;
  const bool forward = h == kBrushHatchFDiagonal || h == kBrushHatchDiagCross;  // "\"
  const bool backward = h == kBrushHatchBDiagonal || h == kBrushHatchDiagCross;  // "/"

  cairo_new_path(cr_);
  auto each = [step](double lo, double hi, auto&& draw) {
    for (double k = std::floor(lo / step); k * step <= hi; k += 1) draw(k * step);
  };
  if (horizontal) {
    each(y1, y2, [&](double y) {
      cairo_move_to(cr_, x1, y + snap);
      cairo_line_to(cr_, x2, y + snap);
    });
  }
  if (vertical) {
    each(x1, x2, [&](double x) {
      cairo_move_to(cr_, x + snap, y1);
      cairo_line_to(cr_, x + snap, y2);
    });
  }
  if (forward) {  // x - y = c, falling to the right on the page
    each(x1 - y2, x2 - y1, [&](double c) {
      cairo_move_to(cr_, c + y1, y1);
      cairo_line_to(cr_, c + y2, y2);
    });
  }
  if (backward) {  // x + y = c, rising to the right on the page
    each(x1 + y1, x2 + y2, [&](double c) {
      cairo_move_to(cr_, c - y1, y1);
      cairo_line_to(cr_, c - y2, y2);
    });
  }
  SetSourceColor(cr_, brush.color);
  cairo_set_line_width(cr_, hairline());
  cairo_set_dash(cr_, nullptr, 0, 0);
  cairo_set_line_cap(cr_, CAIRO_LINE_CAP_BUTT);
  cairo_stroke(cr_);
}

PangoLayout* CairoDC::Impl::Layout(const std::string& text, const DeviceFont& font, bool markup) {
  const double size = std::isfinite(font.height) ? std::fabs(font.height) * scale_ : 0;
  if (text.empty() || size < kMinFontSize || pango_ == nullptr) return nullptr;

  PangoFontDescription* desc = pango_font_description_new();
  const std::string family = FontFamily(font.face);
  pango_font_description_set_family(desc, family.c_str());
  pango_font_description_set_absolute_size(desc, size * PANGO_SCALE);
  pango_font_description_set_weight(
      desc, static_cast<PangoWeight>(std::clamp(font.weight > 0 ? font.weight : 400, 100, 1000)));
  pango_font_description_set_style(desc, font.italic ? PANGO_STYLE_ITALIC : PANGO_STYLE_NORMAL);

  PangoLayout* layout = pango_layout_new(pango_);
  pango_layout_set_font_description(layout, desc);
  pango_font_description_free(desc);
  if (font.underline) {
    PangoAttrList* attrs = pango_attr_list_new();
    pango_attr_list_insert(attrs, pango_attr_underline_new(PANGO_UNDERLINE_SINGLE));
    pango_layout_set_attributes(layout, attrs);
    pango_attr_list_unref(attrs);
  }
  if (markup) {
    pango_layout_set_markup(layout, text.data(), static_cast<int>(text.size()));
  } else {
    const std::string utf8 = GbkToUtf8(text);
    pango_layout_set_text(layout, utf8.data(), static_cast<int>(utf8.size()));
  }
  return layout;
}

void CairoDC::Impl::Text(CPoint at, const std::string& text, const DeviceFont& font,
                         double angle, int align_h, int align_v, bool markup) {
  if (!std::isfinite(angle)) angle = 0;
  cairo_save(cr_);
  cairo_translate(cr_, DevX(at.x), DevY(at.y));
  // Counter-clockwise on the page is a negative angle in Cairo's Y-down space.
  cairo_rotate(cr_, -angle);
  pango_cairo_update_context(cr_, pango_);
  PangoLayout* layout = Layout(text, font, markup);
  if (layout != nullptr) {
    const TextBox box = BoxOf(layout, font);
    const double dx = align_h == kAlignCenter ? -box.width / 2 : align_h == kAlignRight ? -box.width : 0;
    const double dy = align_v == kAlignMiddle ? -box.em / 2 : align_v == kAlignBottom ? -box.em : 0;
    cairo_move_to(cr_, dx - box.left, dy - box.top);
    SetSourceColor(cr_, font.color);
    pango_cairo_show_layout(cr_, layout);
    g_object_unref(layout);
  }
  cairo_restore(cr_);
}

CairoDC::Impl::TextBox CairoDC::Impl::BoxOf(PangoLayout* layout, const DeviceFont& font) const {
  PangoRectangle logical;
  pango_layout_get_extents(layout, nullptr, &logical);
  const double em = std::fabs(font.height) * scale_;
  const double baseline = static_cast<double>(pango_layout_get_baseline(layout)) / PANGO_SCALE;
  return {static_cast<double>(logical.x) / PANGO_SCALE, baseline - kEmAboveBaseline * em,
          static_cast<double>(logical.width) / PANGO_SCALE, em};
}

TextSize CairoDC::Impl::MeasureText(const std::string& gbk_text, const DeviceFont& font) {
  if (pango_ == nullptr) return {};
  pango_context_set_matrix(pango_, nullptr);
  PangoLayout* layout = Layout(gbk_text, font);
  if (layout == nullptr) return {};
  const TextBox box = BoxOf(layout, font);
  g_object_unref(layout);
  return {box.width / scale_, box.em / scale_};
}

int CairoDC::Impl::SaveDC() {
  cairo_save(cr_);
  return ++depth_;
}

void CairoDC::Impl::RestoreDC(int level) {
  // A positive level returns to the state before the SaveDC that gave it;
  // a negative one pops that many states. Others are ignored.
  int target;
  if (level > 0 && level <= depth_) {
    target = level - 1;
  } else if (level < 0) {
    target = std::max(0, depth_ + level);
  } else {
    return;
  }
  for (; depth_ > target; --depth_) cairo_restore(cr_);
}

void CairoDC::Impl::Image(const CRect& rect, const std::shared_ptr<const DeviceImage>& image) {
  const DeviceImage& im = *image;
  if (im.width <= 0 || im.height <= 0 ||
      im.pixels.size() != static_cast<std::size_t>(im.width) * static_cast<std::size_t>(im.height))
    return;
  const CRect r = rect.Normalized();
  const double x0 = DevX(r.left), y0 = DevY(r.top);
  const double w = DevX(r.right) - x0, h = DevY(r.bottom) - y0;
  if (!(w > 0 && h > 0)) return;
  ImageSurface& entry = images_[image.get()];
  if (entry.surface == nullptr) {
    entry.image = image;
    // Cairo only reads the pixels; the image keeps them alive.
    auto* data = reinterpret_cast<unsigned char*>(const_cast<std::uint32_t*>(im.pixels.data()));
    entry.surface = cairo_image_surface_create_for_data(data, CAIRO_FORMAT_ARGB32, im.width,
                                                        im.height, im.width * 4);
    if (!im.jpeg.empty() && format_ != ImageFormat::kPng) {
      cairo_surface_set_mime_data(entry.surface, CAIRO_MIME_TYPE_JPEG,
                                  reinterpret_cast<const unsigned char*>(im.jpeg.data()),
                                  im.jpeg.size(), nullptr, nullptr);
      entry.unique_id = "davodu-jpeg-" + std::to_string(std::hash<std::string>{}(im.jpeg)) + "-" +
                        std::to_string(im.jpeg.size());
      cairo_surface_set_mime_data(entry.surface, CAIRO_MIME_TYPE_UNIQUE_ID,
                                  reinterpret_cast<const unsigned char*>(entry.unique_id.data()),
                                  entry.unique_id.size(), nullptr, nullptr);
    }
  }
  if (cairo_surface_status(entry.surface) != CAIRO_STATUS_SUCCESS) return;
  cairo_save(cr_);
  cairo_new_path(cr_);
  cairo_rectangle(cr_, x0, y0, w, h);
  cairo_clip(cr_);
  cairo_translate(cr_, x0, y0);
  cairo_scale(cr_, w / im.width, h / im.height);
  cairo_set_source_surface(cr_, entry.surface, 0, 0);
  cairo_pattern_set_filter(cairo_get_source(cr_), CAIRO_FILTER_GOOD);
  cairo_paint(cr_);
  cairo_restore(cr_);
}

// ---------------------------------------------------------------------------

namespace {

// A pen or brush that a file never shows: not-xor marks and mark line styles
// belong to interactive views; a null pen draws nothing.
bool Invisible(const DevicePen& pen) {
  return pen.rop == kRopNotXor || pen.style == kPenNull || IsMarkPenStyle(pen.style);
}
bool Invisible(const DeviceBrush& brush) { return brush.rop == kRopNotXor; }

// Writable: the file can be opened for writing. A file made only to find
// out is removed again.
bool CheckWritable(const std::string& path, std::string* error) {
  struct stat st;
  const bool existed = ::stat(path.c_str(), &st) == 0;
  std::FILE* f = std::fopen(path.c_str(), "ab");
  if (f == nullptr) {
    SetError(error, "cannot write " + path + ": " + std::strerror(errno));
    return false;
  }
  std::fclose(f);
  if (!existed) std::remove(path.c_str());
  return true;
}

}  // namespace

std::unique_ptr<CairoDC> CairoDC::Create(ImageFormat format, const std::string& path,
                                         const CRect& page, double scale, std::string* error) {
  const CRect p = page.Normalized();
  if (p.IsEmpty()) {
    SetError(error, "the page to draw is empty");
    return nullptr;
  }
  if (!std::isfinite(scale) || scale <= 0) {
    SetError(error, "the drawing scale must be a positive number");
    return nullptr;
  }
  if (!std::isfinite(p.Width() * scale) || !std::isfinite(p.Height() * scale)) {
    SetError(error, "the page is too large for the drawing scale");
    return nullptr;
  }
  if (path.empty()) {
    SetError(error, "no output file was given");
    return nullptr;
  }
  if (!CheckWritable(path, error)) return nullptr;
  auto impl = std::make_unique<Impl>(format, path, p, scale);
  if (!impl->Open(error)) return nullptr;
  std::unique_ptr<CairoDC> dc(new CairoDC(std::move(impl)));
  dc->Clear();
  return dc;
}

std::unique_ptr<CairoDC> CairoDC::CreateRaster(const CRect& page, double scale,
                                               std::string* error) {
  const CRect p = page.Normalized();
  if (p.IsEmpty()) {
    SetError(error, "the page to draw is empty");
    return nullptr;
  }
  if (!std::isfinite(scale) || scale <= 0 || !std::isfinite(p.Width() * scale) ||
      !std::isfinite(p.Height() * scale)) {
    SetError(error, "the drawing scale must be a positive number that fits the page");
    return nullptr;
  }
  auto impl = std::make_unique<Impl>(ImageFormat::kPng, "", p, scale);
  if (!impl->Open(error)) return nullptr;
  std::unique_ptr<CairoDC> dc(new CairoDC(std::move(impl)));
  dc->Clear();
  return dc;
}

bool CairoDC::EncodePng(std::string* png, std::string* error) { return impl_->EncodePng(png, error); }

CairoDC::CairoDC(std::unique_ptr<Impl> impl) : impl_(std::move(impl)) {}

CairoDC::~CairoDC() = default;

void CairoDC::Clear(COLORREF background) {
  if (!impl_->open()) return;
  impl_->Flush();
  impl_->Clear(background);
}

bool CairoDC::Finish(std::string* error) { return impl_->Finish(error); }

double CairoDC::encode_seconds() const { return impl_->encode_seconds(); }

void CairoDC::SetOrigin(CPoint top_left) {
  if (!impl_->open()) return;
  impl_->Flush();
  impl_->SetOrigin(top_left);
}

bool CairoDC::NextPage(const std::string& next_path, std::string* error) {
  return impl_->NextPage(next_path, error);
}

void CairoDC::Polyline(const CPoint* points, std::size_t n, const DevicePen& pen) {
  if (!impl_->open() || points == nullptr || n < 2 || Invisible(pen)) return;
  impl_->BatchPolyline(points, n, pen);
}

void CairoDC::Polygon(const CPoint* points, std::size_t n, const DevicePen* pen,
                      const DeviceBrush* brush) {
  if (!impl_->open() || points == nullptr || n < 2) return;
  impl_->Flush();
  if (brush != nullptr && !Invisible(*brush) && n >= 3) {
    impl_->AppendPolygon(points, n);
    impl_->Fill(*brush);
  }
  if (pen != nullptr && !Invisible(*pen)) {
    impl_->StrokePoints(points, n, true, *pen);
  }
}

void CairoDC::Ellipse(const CRect& rect, const DevicePen* pen, const DeviceBrush* brush) {
  if (!impl_->open()) return;
  impl_->Flush();
  if (brush != nullptr && !Invisible(*brush)) {
    impl_->AppendEllipse(rect);
    impl_->Fill(*brush);
  }
  if (pen != nullptr && !Invisible(*pen)) {
    impl_->AppendEllipse(rect);
    impl_->Stroke(*pen);
  }
}

void CairoDC::Text(CPoint at, const std::string& gbk_text, const DeviceFont& font, double angle,
                   int align_h, int align_v) {
  if (!impl_->open()) return;
  impl_->Flush();
  impl_->Text(at, gbk_text, font, angle, align_h, align_v);
}

void CairoDC::ScriptText(CPoint at, const std::vector<TextRun>& runs, const DeviceFont& font,
                         double angle, int align_h, int align_v) {
  if (!impl_->open()) return;
  // Pango markup: each run escaped, scripts in <sub> and <sup>.
  std::string markup;
  for (const TextRun& run : runs) {
    const std::string utf8 = GbkToUtf8(run.text);
    if (utf8.empty()) continue;
    char* escaped = g_markup_escape_text(utf8.data(), static_cast<gssize>(utf8.size()));
    const char* open = run.place == TextRun::kSubscript     ? "<sub>"
                       : run.place == TextRun::kSuperscript ? "<sup>"
                                                            : "";
    const char* close = run.place == TextRun::kSubscript     ? "</sub>"
                        : run.place == TextRun::kSuperscript ? "</sup>"
                                                             : "";
    markup += open;
    markup += escaped;
    markup += close;
    g_free(escaped);
  }
  impl_->Text(at, markup, font, angle, align_h, align_v, true);
}

TextSize CairoDC::MeasureText(const std::string& gbk_text, const DeviceFont& font) {
  return impl_->MeasureText(gbk_text, font);
}

int CairoDC::SaveDC() {
  if (!impl_->open()) return 0;
  impl_->Flush();
  return impl_->SaveDC();
}

void CairoDC::Image(const CRect& rect, const std::shared_ptr<const DeviceImage>& image) {
  if (!impl_->open() || !image) return;
  impl_->Flush();  // lines drawn before the picture stay under it
  impl_->Image(rect, image);
}

void CairoDC::RestoreDC(int level) {
  if (!impl_->open()) return;
  impl_->Flush();
  impl_->RestoreDC(level);
}

void CairoDC::SetClipRect(const CRect& rect) {
  if (!impl_->open()) return;
  impl_->Flush();
  const CRect r = rect.Normalized();
  cairo_t* cr = impl_->cr();
  cairo_new_path(cr);
  const double x0 = impl_->DevX(r.left), y0 = impl_->DevY(r.top);
  cairo_rectangle(cr, x0, y0, impl_->DevX(r.right) - x0, impl_->DevY(r.bottom) - y0);
  impl_->Clip();
}

void CairoDC::SetClipPolygon(const CPoint* points, std::size_t n) {
  if (!impl_->open()) return;
  impl_->Flush();
  // Fewer than three points enclose nothing: the clip becomes empty.
  if (points == nullptr || n < 3) {
    cairo_new_path(impl_->cr());
  } else {
    impl_->AppendPolygon(points, n);
    cairo_close_path(impl_->cr());
  }
  impl_->Clip();
}

}  // namespace davodu

// In builds with AddressSanitizer, leak checking would fail every program
// that draws text: fontconfig keeps its configuration and match caches for
// the life of the process, partly behind offsets the leak checker cannot
// follow. They are not ours to free. Cairo, likewise, keeps what a pattern
// tile recorded (drawn once, repeated as a fill) reachable only from its
// font and snapshot caches when one process draws several charts in PNG,
// SVG and PDF (davodu demo); every pattern and surface the devices create
// is destroyed. The hook is weak so that a program with suppressions of its
// own keeps them.
#if DAVODU_LEAK_CHECKS
extern "C" __attribute__((weak, visibility("default"), used)) const char*
__lsan_default_suppressions() {
  return "leak:libfontconfig.so\nleak:libcairo.so\n";
}
#endif
