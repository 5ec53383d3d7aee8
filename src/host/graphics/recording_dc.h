// RecordingDC: a device that keeps every primitive it is given, for tests.
#ifndef DAVODU_HOST_GRAPHICS_RECORDING_DC_H_
#define DAVODU_HOST_GRAPHICS_RECORDING_DC_H_

#include <optional>
#include <string>
#include <vector>

#include "davodu/host/graphics/dc.h"

namespace davodu {

struct DrawOp {
  enum Kind {
    kPolyline, kPolygon, kEllipse, kText, kSaveDC, kRestoreDC, kClipRect, kClipPolygon, kImage
  };
  Kind kind = kPolyline;
  std::vector<CPoint> points;       // polyline, polygon, clip polygon; ellipse/clip rect/image: 2 corners
  std::optional<DevicePen> pen;
  std::optional<DeviceBrush> brush;
  std::optional<DeviceFont> font;
  std::string text;                 // GBK; script text: the runs' texts joined
  std::vector<TextRun> runs;        // script text only
  double angle = 0;
  int align_h = 0;
  int align_v = 0;
  int level = 0;                    // SaveDC result / RestoreDC argument
  std::shared_ptr<const DeviceImage> image;
};

class RecordingDC : public CDC {
 public:
  explicit RecordingDC(bool interactive = true) : interactive_(interactive) {}

  bool IsInteractive() const override { return interactive_; }
  void Polyline(const CPoint* points, std::size_t n, const DevicePen& pen) override;
  void Polygon(const CPoint* points, std::size_t n, const DevicePen* pen,
               const DeviceBrush* brush) override;
  void Ellipse(const CRect& rect, const DevicePen* pen, const DeviceBrush* brush) override;
  void Text(CPoint at, const std::string& gbk_text, const DeviceFont& font, double angle,
            int align_h, int align_v) override;
  // Recorded as a text op whose text joins the runs, with the runs kept.
  void ScriptText(CPoint at, const std::vector<TextRun>& runs, const DeviceFont& font, double angle,
                  int align_h, int align_v) override;
  // Width: one cell of half the font height per byte; height: the font height.
  TextSize MeasureText(const std::string& gbk_text, const DeviceFont& font) override;
  void Image(const CRect& rect, const std::shared_ptr<const DeviceImage>& image) override;
  int SaveDC() override;
  void RestoreDC(int level) override;
  void SetClipRect(const CRect& rect) override;
  void SetClipPolygon(const CPoint* points, std::size_t n) override;

  const std::vector<DrawOp>& ops() const { return ops_; }
  void Clear() { ops_.clear(); }
  // The ops of one kind, in order.
  std::vector<DrawOp> OpsOf(DrawOp::Kind kind) const;
  // Texts drawn, in order (GBK).
  std::vector<std::string> Texts() const;

 private:
  bool interactive_;
  int depth_ = 0;
  std::vector<DrawOp> ops_;
};

}  // namespace davodu

#endif  // DAVODU_HOST_GRAPHICS_RECORDING_DC_H_
