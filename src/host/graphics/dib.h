// CDIB: a picture (bitmap) as documents keep it: the bytes of the picture
// file exactly as they were read (BMP, JPEG, PNG or TIFF), and the picture
// decoded from them for drawing.
//
// The stored buffer (GetTotalBuf) is the file itself, so a document that
// keeps it keeps the picture whole (a core photograph stays the JPEG it was
// taken as) and SetTotalBuf takes back anything GetTotalBuf gave. Decoding
// goes through gdk-pixbuf and turns the picture the way its EXIF orientation
// says. Copies share the bytes and the decoded pixels; neither changes once
// made.
#ifndef DAVODU_HOST_GRAPHICS_DIB_H_
#define DAVODU_HOST_GRAPHICS_DIB_H_

#include <cstdint>
#include <memory>
#include <string>

#include "davodu/host/graphics/dc.h"
#include "davodu/host/util/types.h"

namespace davodu {

class CDIB {
 public:
  // Largest picture accepted, in pixels (its decoded form takes 4 bytes a
  // pixel), and largest file.
  static constexpr std::int64_t kMaxPixels = 100'000'000;
  static constexpr std::uint64_t kMaxFileBytes = 256ull << 20;

  void Clear();
  // True when there is no picture, or it has no pixels.
  bool IsEmpty() const { return !image_ || image_->width <= 0 || image_->height <= 0; }

  // Reads a picture file. On failure the picture stays empty and *error
  // names the file and the cause.
  bool ReadFromFile(const std::string& path, std::string* error = nullptr);
  // Takes a picture from the bytes of a picture file (what GetTotalBuf
  // gave). On failure the picture stays empty.
  bool SetTotalBuf(const unsigned char* data, std::uint64_t length, std::string* error = nullptr);
  // The bytes of the picture file; null and 0 when empty.
  const unsigned char* GetTotalBuf() const;
  std::uint64_t GetTotalBufLength() const;

  // Pixel size as shown (after the EXIF orientation); 0 when empty.
  int GetWidth() const { return image_ ? image_->width : 0; }
  int GetHeight() const { return image_ ? image_->height : 0; }
  // "jpeg", "png", "bmp", "tiff", ... as gdk-pixbuf names the format.
  const std::string& GetFormat() const { return format_; }
  std::shared_ptr<const DeviceImage> GetImage() const { return image_; }

  // Makes this picture a copy of another.
  void Duplicate(const CDIB& from) { *this = from; }
  // Draws the picture stretched into a draw rectangle.
  void Draw(CDC* dc, const CRect& rect) const;

 private:
  std::shared_ptr<const std::string> bytes_;
  std::shared_ptr<const DeviceImage> image_;
  std::string format_;
};

}  // namespace davodu

#endif  // DAVODU_HOST_GRAPHICS_DIB_H_
