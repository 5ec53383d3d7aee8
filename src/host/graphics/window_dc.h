// WindowDC: a device that passes drawing on to another device, limited to a
// window of the drawing.
//
// Paged output draws the whole chart once per page window; the window device
// keeps each page to its own part. The inner device is clipped to the window
// for the life of the WindowDC. Polylines and polygon outlines are cut to the
// runs of segments that reach the window (with the segment just outside each
// end, so a line leaves the window where it would have), and shapes wholly
// outside it are dropped, so a page holds only what it shows. A segment that
// crosses the window's edge is drawn on both sides of it: nothing is lost
// where two windows meet.
#ifndef DAVODU_HOST_GRAPHICS_WINDOW_DC_H_
#define DAVODU_HOST_GRAPHICS_WINDOW_DC_H_

#include <cstddef>
#include <memory>
#include <string>
#include <vector>

#include "davodu/host/graphics/dc.h"

namespace davodu {

class WindowDC : public CDC {
 public:
  // inner must outlive this device; window is in draw coordinates.
  WindowDC(CDC* inner, const CRect& window);
  ~WindowDC() override;
  WindowDC(const WindowDC&) = delete;
  WindowDC& operator=(const WindowDC&) = delete;

  const CRect& window() const { return window_; }

  bool IsInteractive() const override { return inner_->IsInteractive(); }
  void Polyline(const CPoint* points, std::size_t n, const DevicePen& pen) override;
  void Polygon(const CPoint* points, std::size_t n, const DevicePen* pen,
               const DeviceBrush* brush) override;
  void Ellipse(const CRect& rect, const DevicePen* pen, const DeviceBrush* brush) override;
  void Text(CPoint at, const std::string& gbk_text, const DeviceFont& font, double angle,
            int align_h, int align_v) override;
  // Passed on whole, runs and all (the base would flatten the scripts).
  void ScriptText(CPoint at, const std::vector<TextRun>& runs, const DeviceFont& font, double angle,
                  int align_h, int align_v) override;
  TextSize MeasureText(const std::string& gbk_text, const DeviceFont& font) override;
  void Image(const CRect& rect, const std::shared_ptr<const DeviceImage>& image) override;
  int SaveDC() override { return inner_->SaveDC(); }
  void RestoreDC(int level) override { inner_->RestoreDC(level); }
  void SetClipRect(const CRect& rect) override { inner_->SetClipRect(rect); }
  void SetClipPolygon(const CPoint* points, std::size_t n) override {
    inner_->SetClipPolygon(points, n);
  }

 private:
  // True when the box of the points, widened by margin, meets the window.
  bool Reaches(const CPoint* points, std::size_t n, double margin) const;
  // True when a text of length bytes anchored at at may reach the window.
  bool TextReaches(CPoint at, std::size_t length, const DeviceFont& font) const;

  CDC* inner_;
  CRect window_;
  int level_;
};

}  // namespace davodu

#endif  // DAVODU_HOST_GRAPHICS_WINDOW_DC_H_
