// The two devices behind a chart shown in a browser.
//
// A desktop view is one window: the chart is painted into it, and the
// interactive marks (selection frames, handles, rubber bands, drop
// highlights, drag shadows) are drawn over it in the not-xor raster mode,
// where a second drawing of the same mark removes it. A browser shows the
// painted chart as images and the marks as an image laid over them, so the
// two are kept apart:
//
// - PaintDC wraps the raster device the chart images are drawn into. It is
//   interactive (the kits draw what a view shows), passes every ordinary
//   primitive on, draws copy-mode marks (a text block's handles) as plain
//   dotted lines, and leaves out the not-xor marks.
// - MarkLayer is the view's device for the marks: it keeps every not-xor
//   primitive it is given, and a primitive equal to one it holds removes
//   that one, exactly as a second not-xor drawing would. Ordinary drawing
//   is ignored. DrawMarks draws what it holds into an image that the page
//   lays over the chart with the "difference" blend, which gives the
//   not-xor result on every background: on white a mark shows in its own
//   colour, on a black line in the inverse.
#ifndef DAVODU_APP_SERVE_VIEW_DEVICES_H_
#define DAVODU_APP_SERVE_VIEW_DEVICES_H_

#include <cstddef>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "davodu/host/graphics/dc.h"

namespace davodu::serve {

class PaintDC : public CDC {
 public:
  // inner must outlive this device.
  explicit PaintDC(CDC* inner) : inner_(inner) {}

  bool IsInteractive() const override { return true; }
  void Polyline(const CPoint* points, std::size_t n, const DevicePen& pen) override;
  void Polygon(const CPoint* points, std::size_t n, const DevicePen* pen,
               const DeviceBrush* brush) override;
  void Ellipse(const CRect& rect, const DevicePen* pen, const DeviceBrush* brush) override;
  void Text(CPoint at, const std::string& gbk_text, const DeviceFont& font, double angle,
            int align_h, int align_v) override {
    inner_->Text(at, gbk_text, font, angle, align_h, align_v);
  }
  TextSize MeasureText(const std::string& gbk_text, const DeviceFont& font) override {
    return inner_->MeasureText(gbk_text, font);
  }
  void ScriptText(CPoint at, const std::vector<TextRun>& runs, const DeviceFont& font, double angle,
                  int align_h, int align_v) override {
    inner_->ScriptText(at, runs, font, angle, align_h, align_v);
  }
  void Image(const CRect& rect, const std::shared_ptr<const DeviceImage>& image) override {
    inner_->Image(rect, image);
  }
  int SaveDC() override { return inner_->SaveDC(); }
  void RestoreDC(int level) override { inner_->RestoreDC(level); }
  void SetClipRect(const CRect& rect) override { inner_->SetClipRect(rect); }
  void SetClipPolygon(const CPoint* points, std::size_t n) override {
    inner_->SetClipPolygon(points, n);
  }

 private:
  CDC* inner_;
};

// One mark: a polyline (pen), a polygon (pen and/or brush) or an ellipse
// (two corners), in draw coordinates.
struct Mark {
  enum Kind { kPolyline, kPolygon, kEllipse };
  Kind kind = kPolyline;
  std::vector<CPoint> points;
  std::optional<DevicePen> pen;
  std::optional<DeviceBrush> brush;

  friend bool operator==(const Mark&, const Mark&) = default;
};

class MarkLayer : public CDC {
 public:
  // measurer answers MeasureText (marks rarely measure; a kit drawing its
  // marks may); null: a text is measured as half its height a byte.
  explicit MarkLayer(CDC* measurer = nullptr) : measurer_(measurer) {}

  // The marks shown, in the order they were drawn.
  const std::vector<Mark>& marks() const { return marks_; }
  // Grows by one whenever the marks change.
  unsigned long long version() const { return version_; }
  void Clear();
  // The box of every mark in draw coordinates, widened by their pens;
  // empty when there are none.
  CRect Bounds() const;
  // Draws the marks into dc for the difference blend (see above): dc is
  // expected to be cleared to black; each mark is drawn in the inverse of
  // its colour as a copy-mode, solid-style primitive.
  void DrawMarks(CDC* dc) const;

  bool IsInteractive() const override { return true; }
  void Polyline(const CPoint* points, std::size_t n, const DevicePen& pen) override;
  void Polygon(const CPoint* points, std::size_t n, const DevicePen* pen,
               const DeviceBrush* brush) override;
  void Ellipse(const CRect& rect, const DevicePen* pen, const DeviceBrush* brush) override;
  void Text(CPoint, const std::string&, const DeviceFont&, double, int, int) override {}
  TextSize MeasureText(const std::string& gbk_text, const DeviceFont& font) override;
  void Image(const CRect&, const std::shared_ptr<const DeviceImage>&) override {}
  int SaveDC() override { return ++depth_; }
  void RestoreDC(int level) override { depth_ = level < 0 ? (depth_ > 0 ? depth_ - 1 : 0) : level - 1; }
  void SetClipRect(const CRect&) override {}
  void SetClipPolygon(const CPoint*, std::size_t) override {}

 private:
  // Adds a mark, or removes an equal one.
  void Toggle(Mark mark);

  CDC* measurer_;
  std::vector<Mark> marks_;
  unsigned long long version_ = 0;
  int depth_ = 0;
};

// True for a pen that draws a not-xor mark.
bool IsNotXor(const DevicePen& pen);
// True for a brush that fills a not-xor mark.
bool IsNotXor(const DeviceBrush& brush);

}  // namespace davodu::serve

#endif  // DAVODU_APP_SERVE_VIEW_DEVICES_H_
