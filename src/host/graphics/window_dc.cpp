#include "davodu/host/graphics/window_dc.h"

#include <algorithm>
#include <cmath>

namespace davodu {

namespace {

// Margin around a stroke: half its width and a draw unit for rounding.
double StrokeMargin(const DevicePen& pen) {
  return (std::isfinite(pen.width) ? std::fabs(pen.width) / 2 : 0) + 1;
}

}  // namespace

WindowDC::WindowDC(CDC* inner, const CRect& window)
    : inner_(inner), window_(window.Normalized()), level_(inner->SaveDC()) {
  inner_->SetClipRect(window_);
}

WindowDC::~WindowDC() { inner_->RestoreDC(level_); }

bool WindowDC::Reaches(const CPoint* points, std::size_t n, double margin) const {
  if (n == 0) return false;
  double x0 = points[0].x, x1 = x0, y0 = points[0].y, y1 = y0;
  for (std::size_t i = 1; i < n; ++i) {
    x0 = std::min<double>(x0, points[i].x);
    x1 = std::max<double>(x1, points[i].x);
    y0 = std::min<double>(y0, points[i].y);
    y1 = std::max<double>(y1, points[i].y);
  }
  return x1 >= window_.left - margin && x0 <= window_.right + margin &&
         y1 >= window_.bottom - margin && y0 <= window_.top + margin;
}

void WindowDC::Polyline(const CPoint* points, std::size_t n, const DevicePen& pen) {
  if (points == nullptr || n < 2) return;
  const double m = StrokeMargin(pen);
  // Runs of consecutive segments that reach the window.
  std::size_t start = n;  // first point of the open run
  for (std::size_t i = 0; i + 1 < n; ++i) {
    if (Reaches(points + i, 2, m)) {
      if (start == n) start = i;
      continue;
    }
    if (start != n) {
      inner_->Polyline(points + start, i + 1 - start, pen);
      start = n;
    }
  }
  if (start != n) inner_->Polyline(points + start, n - start, pen);
}

void WindowDC::Polygon(const CPoint* points, std::size_t n, const DevicePen* pen,
                       const DeviceBrush* brush) {
  if (points == nullptr || !Reaches(points, n, pen ? StrokeMargin(*pen) : 1)) return;
  inner_->Polygon(points, n, pen, brush);
}

void WindowDC::Ellipse(const CRect& rect, const DevicePen* pen, const DeviceBrush* brush) {
  const CPoint corners[2] = {{rect.left, rect.top}, {rect.right, rect.bottom}};
  if (!Reaches(corners, 2, pen ? StrokeMargin(*pen) : 1)) return;
  inner_->Ellipse(rect, pen, brush);
}

void WindowDC::Image(const CRect& rect, const std::shared_ptr<const DeviceImage>& image) {
  const CPoint corners[2] = {{rect.left, rect.top}, {rect.right, rect.bottom}};
  if (!Reaches(corners, 2, 1)) return;
  inner_->Image(rect, image);
}

void WindowDC::Text(CPoint at, const std::string& gbk_text, const DeviceFont& font, double angle,
                    int align_h, int align_v) {
  if (!TextReaches(at, gbk_text.size(), font)) return;
  inner_->Text(at, gbk_text, font, angle, align_h, align_v);
}

void WindowDC::ScriptText(CPoint at, const std::vector<TextRun>& runs, const DeviceFont& font,
                          double angle, int align_h, int align_v) {
  std::size_t length = 0;
  for (const TextRun& run : runs) length += run.text.size();
  if (!TextReaches(at, length, font)) return;
  inner_->ScriptText(at, runs, font, angle, align_h, align_v);
}

bool WindowDC::TextReaches(CPoint at, std::size_t length, const DeviceFont& font) const {
  // A text reaches at most its length in font heights from its anchor in
  // any direction, whatever its angle and alignment.
  const double reach = (std::isfinite(font.height) ? std::fabs(font.height) : 0) *
                       (static_cast<double>(length) + 1);
  return Reaches(&at, 1, reach);
}

TextSize WindowDC::MeasureText(const std::string& gbk_text, const DeviceFont& font) {
  return inner_->MeasureText(gbk_text, font);
}

}  // namespace davodu
