// RecordingDC: keeps every primitive as a DrawOp.
#include "davodu/host/graphics/recording_dc.h"

#include <algorithm>
#include <iterator>
#include <utility>

namespace davodu {

void RecordingDC::Polyline(const CPoint* points, std::size_t n, const DevicePen& pen) {
  DrawOp op;
  op.kind = DrawOp::kPolyline;
  if (points != nullptr) op.points.assign(points, points + n);
  op.pen = pen;
  ops_.push_back(std::move(op));
}

void RecordingDC::Polygon(const CPoint* points, std::size_t n, const DevicePen* pen,
                          const DeviceBrush* brush) {
  DrawOp op;
  op.kind = DrawOp::kPolygon;
  if (points != nullptr) op.points.assign(points, points + n);
  if (pen != nullptr) op.pen = *pen;
  if (brush != nullptr) op.brush = *brush;
  ops_.push_back(std::move(op));
}

void RecordingDC::Ellipse(const CRect& rect, const DevicePen* pen, const DeviceBrush* brush) {
  DrawOp op;
  op.kind = DrawOp::kEllipse;
  op.points = {CPoint{rect.left, rect.top}, CPoint{rect.right, rect.bottom}};
  if (pen != nullptr) op.pen = *pen;
  if (brush != nullptr) op.brush = *brush;
  ops_.push_back(std::move(op));
}

void RecordingDC::Text(CPoint at, const std::string& gbk_text, const DeviceFont& font,
                       double angle, int align_h, int align_v) {
  DrawOp op;
  op.kind = DrawOp::kText;
  op.points = {at};
  op.font = font;
  op.text = gbk_text;
  op.angle = angle;
  op.align_h = align_h;
  op.align_v = align_v;
  ops_.push_back(std::move(op));
}

void RecordingDC::ScriptText(CPoint at, const std::vector<TextRun>& runs, const DeviceFont& font,
                             double angle, int align_h, int align_v) {
  std::string text;
  for (const TextRun& run : runs) text += run.text;
  Text(at, text, font, angle, align_h, align_v);
  ops_.back().runs = runs;
}

TextSize RecordingDC::MeasureText(const std::string& gbk_text, const DeviceFont& font) {
  return {static_cast<double>(gbk_text.size()) * font.height / 2, font.height};
}

void RecordingDC::Image(const CRect& rect, const std::shared_ptr<const DeviceImage>& image) {
  DrawOp op;
  op.kind = DrawOp::kImage;
  op.points = {CPoint{rect.left, rect.top}, CPoint{rect.right, rect.bottom}};
  op.image = image;
  ops_.push_back(std::move(op));
}

int RecordingDC::SaveDC() {
  DrawOp op;
  op.kind = DrawOp::kSaveDC;
  op.level = ++depth_;
  ops_.push_back(std::move(op));
  return depth_;
}

void RecordingDC::RestoreDC(int level) {
  DrawOp op;
  op.kind = DrawOp::kRestoreDC;
  op.level = level;
  ops_.push_back(std::move(op));
  // A positive level returns to the state before the SaveDC that gave it;
  // a negative one pops that many states from the top.
  if (level > 0 && level <= depth_) {
    depth_ = level - 1;
  } else if (level < 0) {
    depth_ = std::max(0, depth_ + level);
  }
}

void RecordingDC::SetClipRect(const CRect& rect) {
  DrawOp op;
  op.kind = DrawOp::kClipRect;
  op.points = {CPoint{rect.left, rect.top}, CPoint{rect.right, rect.bottom}};
  ops_.push_back(std::move(op));
}

void RecordingDC::SetClipPolygon(const CPoint* points, std::size_t n) {
  DrawOp op;
  op.kind = DrawOp::kClipPolygon;
  if (points != nullptr) op.points.assign(points, points + n);
  ops_.push_back(std::move(op));
}

std::vector<DrawOp> RecordingDC::OpsOf(DrawOp::Kind kind) const {
  std::vector<DrawOp> out;
  std::copy_if(ops_.begin(), ops_.end(), std::back_inserter(out),
               [kind](const DrawOp& op) { return op.kind == kind; });
  return out;
}

std::vector<std::string> RecordingDC::Texts() const {
  std::vector<std::string> out;
  for (const DrawOp& op : ops_) {
    if (op.kind == DrawOp::kText) out.push_back(op.text);
  }
  return out;
}

}  // namespace davodu
