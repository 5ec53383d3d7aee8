#include "support/pictures.h"

#include <gdk-pixbuf/gdk-pixbuf.h>

#include <fstream>

namespace davodu::testing {

std::string MakePicture(const char* format, int w, int h,
                        const std::function<COLORREF(int, int)>& color) {
  GdkPixbuf* pixbuf = gdk_pixbuf_new(GDK_COLORSPACE_RGB, FALSE, 8, w, h);
  const int stride = gdk_pixbuf_get_rowstride(pixbuf);
  guchar* pixels = gdk_pixbuf_get_pixels(pixbuf);
  for (int y = 0; y < h; ++y) {
    for (int x = 0; x < w; ++x) {
      const COLORREF c = color(x, y);
      guchar* p = pixels + y * stride + x * 3;
      p[0] = static_cast<guchar>(GetRValue(c));
      p[1] = static_cast<guchar>(GetGValue(c));
      p[2] = static_cast<guchar>(GetBValue(c));
    }
  }
  gchar* buffer = nullptr;
  gsize size = 0;
  std::string out;
  const bool jpeg = std::string(format) == "jpeg";
  if (jpeg ? gdk_pixbuf_save_to_buffer(pixbuf, &buffer, &size, format, nullptr, "quality", "95",
                                       nullptr)
           : gdk_pixbuf_save_to_buffer(pixbuf, &buffer, &size, format, nullptr, nullptr)) {
    out.assign(buffer, size);
    g_free(buffer);
  }
  g_object_unref(pixbuf);
  return out;
}

std::string WithExifOrientation(const std::string& jpeg, int orientation) {
  // APP1 "Exif\0\0", a little-endian TIFF header and one IFD entry:
  // tag 0x0112 (orientation), type SHORT, count 1, the value.
  const unsigned char tiff[] = {'I', 'I', 42, 0, 8, 0, 0, 0,          // header, IFD at 8
                                1, 0,                                 // one entry
                                0x12, 0x01, 3, 0, 1, 0, 0, 0,         // tag, type, count
                                static_cast<unsigned char>(orientation), 0, 0, 0,
                                0, 0, 0, 0};                          // no next IFD
  std::string app1 = "Exif";
  app1 += '\0';
  app1 += '\0';
  app1.append(reinterpret_cast<const char*>(tiff), sizeof tiff);
  const std::size_t length = app1.size() + 2;
  std::string segment = "\xFF\xE1";
  segment += static_cast<char>(length >> 8);
  segment += static_cast<char>(length & 0xFF);
  segment += app1;
  return jpeg.substr(0, 2) + segment + jpeg.substr(2);
}

bool WriteFile(const std::string& path, const std::string& bytes) {
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out << bytes;
  return static_cast<bool>(out.flush());
}

}  // namespace davodu::testing
