// CairoDC: a device that draws with Cairo and Pango into PNG, SVG or PDF.
//
// The device shows one draw-coordinate rectangle (the page) scaled by a
// fixed factor: device units per draw unit (pixels for PNG, points for SVG
// and PDF). Text goes through Pango with fontconfig; GBK face names are
// converted to UTF-8 and "宋体" and the other common Chinese faces resolve to
// an installed CJK face. Not-xor marks are never drawn: a file is not a view.
#ifndef DAVODU_HOST_GRAPHICS_CAIRO_DC_H_
#define DAVODU_HOST_GRAPHICS_CAIRO_DC_H_

#include <memory>
#include <string>

#include "davodu/host/graphics/dc.h"

namespace davodu {

enum class ImageFormat { kPng, kSvg, kPdf };

// The format named by a file's extension (.png, .svg, .pdf, any case);
// false for any other extension.
bool ImageFormatFromPath(const std::string& path, ImageFormat* format);

class CairoDC : public CDC {
 public:
  // Opens a device writing to path. page is the draw rectangle to show;
  // scale is device units per draw unit. Returns null and sets *error when
  // the surface cannot be created (an empty page, a raster image larger
  // than the PNG limit of 32767 pixels a side, an unwritable path).
  static std::unique_ptr<CairoDC> Create(ImageFormat format, const std::string& path,
                                         const CRect& page, double scale, std::string* error);
  // A raster device drawing into memory instead of a file: an opaque image
  // of the page at scale pixels per draw unit, painted white, read back
  // with EncodePng. Fails as Create does for an empty page, a bad scale or
  // an image larger than the PNG limit.
  static std::unique_ptr<CairoDC> CreateRaster(const CRect& page, double scale,
                                               std::string* error);
  ~CairoDC() override;

  // Paints the page white; called by Create.
  void Clear(COLORREF background = 0xFFFFFF);
  // Shows another part of the drawing: the draw point top_left lands at the
  // page's top-left corner from now on (Create shows the page rectangle's).
  void SetOrigin(CPoint top_left);
  // Ends the page and starts a blank one of the same size: a new page of a
  // PDF, or, for PNG, the page written and the device drawing afresh for
  // next_path. SVG has no pages. False with *error set on failure.
  bool NextPage(const std::string& next_path, std::string* error);
  // Seconds spent writing output so far (encoding PNG pages, finishing PDF
  // pages and files).
  double encode_seconds() const;
  // The picture of a raster device (PNG output, from Create or
  // CreateRaster) as the bytes of a PNG file; the device stays open. False
  // with *error set for a vector device or a closed one.
  bool EncodePng(std::string* png, std::string* error);
  // Writes the file and closes the device. Returns false with *error set when
  // writing failed. Drawing after Finish does nothing.
  bool Finish(std::string* error);

  bool IsInteractive() const override { return false; }
  void Polyline(const CPoint* points, std::size_t n, const DevicePen& pen) override;
  void Polygon(const CPoint* points, std::size_t n, const DevicePen* pen,
               const DeviceBrush* brush) override;
  void Ellipse(const CRect& rect, const DevicePen* pen, const DeviceBrush* brush) override;
  void Text(CPoint at, const std::string& gbk_text, const DeviceFont& font, double angle,
            int align_h, int align_v) override;
  TextSize MeasureText(const std::string& gbk_text, const DeviceFont& font) override;
  // Sets the scripts through Pango markup.
  void ScriptText(CPoint at, const std::vector<TextRun>& runs, const DeviceFont& font, double angle,
                  int align_h, int align_v) override;
  // A JPEG image goes into SVG and PDF files as its own bytes (once per
  // image, however often it is drawn); other images as their pixels.
  void Image(const CRect& rect, const std::shared_ptr<const DeviceImage>& image) override;
  int SaveDC() override;
  void RestoreDC(int level) override;
  void SetClipRect(const CRect& rect) override;
  void SetClipPolygon(const CPoint* points, std::size_t n) override;

  class Impl;

 private:
  explicit CairoDC(std::unique_ptr<Impl> impl);
  std::unique_ptr<Impl> impl_;
};

}  // namespace davodu

#endif  // DAVODU_HOST_GRAPHICS_CAIRO_DC_H_
