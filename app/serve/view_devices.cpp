#include "serve/view_devices.h"

#include <algorithm>
#include <cmath>
#include <limits>

#include "davodu/host/graphics/styles.h"

namespace davodu::serve {

namespace {

// A copy-mode mark pen drawn as the plain line it looks like: its dashes
// were resolved from the mark style already.
DevicePen Plain(DevicePen pen) {
  pen.style = kPenSolid;
  return pen;
}

// The inverse of a colour: drawn with the difference blend over a
// background, it gives the not-xor of the colour and the background.
COLORREF Inverse(COLORREF color) { return ~color & 0xFFFFFF; }

}  // namespace

bool IsNotXor(const DevicePen& pen) { return pen.rop == kRopNotXor; }
bool IsNotXor(const DeviceBrush& brush) { return brush.rop == kRopNotXor; }

// ---------------------------------------------------------------- PaintDC

void PaintDC::Polyline(const CPoint* points, std::size_t n, const DevicePen& pen) {
  if (IsNotXor(pen)) return;
  if (IsMarkPenStyle(pen.style)) {
    inner_->Polyline(points, n, Plain(pen));
    return;
  }
  inner_->Polyline(points, n, pen);
}

void PaintDC::Polygon(const CPoint* points, std::size_t n, const DevicePen* pen,
                      const DeviceBrush* brush) {
  std::optional<DevicePen> p;
  if (pen && !IsNotXor(*pen)) p = IsMarkPenStyle(pen->style) ? Plain(*pen) : *pen;
  const DeviceBrush* b = brush && !IsNotXor(*brush) ? brush : nullptr;
  if (p || b) inner_->Polygon(points, n, p ? &*p : nullptr, b);
}

void PaintDC::Ellipse(const CRect& rect, const DevicePen* pen, const DeviceBrush* brush) {
  std::optional<DevicePen> p;
  if (pen && !IsNotXor(*pen)) p = IsMarkPenStyle(pen->style) ? Plain(*pen) : *pen;
  const DeviceBrush* b = brush && !IsNotXor(*brush) ? brush : nullptr;
  if (p || b) inner_->Ellipse(rect, p ? &*p : nullptr, b);
}

// ---------------------------------------------------------------- MarkLayer

void MarkLayer::Clear() {
  if (marks_.empty()) return;
  marks_.clear();
  ++version_;
}

void MarkLayer::Toggle(Mark mark) {
  auto same = std::find(marks_.begin(), marks_.end(), mark);
  if (same != marks_.end())
    marks_.erase(same);
  else
    marks_.push_back(std::move(mark));
  ++version_;
}

void MarkLayer::Polyline(const CPoint* points, std::size_t n, const DevicePen& pen) {
  if (!points || n < 2 || !IsNotXor(pen)) return;
  Toggle(Mark{Mark::kPolyline, std::vector<CPoint>(points, points + n), pen, std::nullopt});
}

void MarkLayer::Polygon(const CPoint* points, std::size_t n, const DevicePen* pen,
                        const DeviceBrush* brush) {
  if (!points || n < 2) return;
  Mark mark{Mark::kPolygon, std::vector<CPoint>(points, points + n), std::nullopt, std::nullopt};
  if (pen && IsNotXor(*pen)) mark.pen = *pen;
  if (brush && IsNotXor(*brush)) mark.brush = *brush;
  if (mark.pen || mark.brush) Toggle(std::move(mark));
}

void MarkLayer::Ellipse(const CRect& rect, const DevicePen* pen, const DeviceBrush* brush) {
  Mark mark{Mark::kEllipse, {CPoint{rect.left, rect.top}, CPoint{rect.right, rect.bottom}},
            std::nullopt, std::nullopt};
  if (pen && IsNotXor(*pen)) mark.pen = *pen;
  if (brush && IsNotXor(*brush)) mark.brush = *brush;
  if (mark.pen || mark.brush) Toggle(std::move(mark));
}

TextSize MarkLayer::MeasureText(const std::string& gbk_text, const DeviceFont& font) {
  if (measurer_) return measurer_->MeasureText(gbk_text, font);
  return TextSize{font.height / 2 * static_cast<double>(gbk_text.size()), font.height};
}

CRect MarkLayer::Bounds() const {
  if (marks_.empty()) return CRect{};
  int left = std::numeric_limits<int>::max(), right = std::numeric_limits<int>::min();
  int bottom = left, top = right;
  for (const Mark& m : marks_) {
    const int grow = m.pen ? static_cast<int>(std::ceil(std::max(1.0, m.pen->width))) + 1 : 1;
    for (const CPoint& p : m.points) {
      left = std::min(left, p.x - grow);
      right = std::max(right, p.x + grow);
      bottom = std::min(bottom, p.y - grow);
      top = std::max(top, p.y + grow);
    }
  }
  return CRect{left, top, right, bottom};
}

void MarkLayer::DrawMarks(CDC* dc) const {
  for (const Mark& m : marks_) {
    std::optional<DevicePen> pen;
    std::optional<DeviceBrush> brush;
    if (m.pen) {
      pen = Plain(*m.pen);
      pen->rop = kRopCopy;
      pen->color = Inverse(pen->color);
    }
    if (m.brush) {
      brush = *m.brush;
      brush->rop = kRopCopy;
      brush->color = Inverse(brush->color);
    }
    switch (m.kind) {
      case Mark::kPolyline:
        dc->Polyline(m.points.data(), m.points.size(), *pen);
        break;
      case Mark::kPolygon:
        dc->Polygon(m.points.data(), m.points.size(), pen ? &*pen : nullptr, brush ? &*brush : nullptr);
        break;
      case Mark::kEllipse:
        dc->Ellipse(CRect{m.points[0].x, m.points[0].y, m.points[1].x, m.points[1].y},
                    pen ? &*pen : nullptr, brush ? &*brush : nullptr);
        break;
    }
  }
}

}  // namespace davodu::serve
