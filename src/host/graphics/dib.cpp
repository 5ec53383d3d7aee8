#include "davodu/host/graphics/dib.h"

#include <gdk-pixbuf/gdk-pixbuf.h>

#include <cerrno>
#include <cstring>
#include <fstream>
#include <iterator>
#include <sstream>
#include <utility>

namespace davodu {

namespace {

void SetError(std::string* error, std::string message) {
  if (error != nullptr) *error = std::move(message);
}

// Holds a GObject reference.
struct Unref {
  void operator()(void* p) const {
    if (p != nullptr) g_object_unref(p);
  }
};
template <class T>
using GPtr = std::unique_ptr<T, Unref>;

// Decodes the bytes of a picture file into premultiplied ARGB pixels,
// turned by its EXIF orientation. False with *error on failure.
bool Decode(const std::string& bytes, DeviceImage* out, std::string* format, std::string* error) {
  if (bytes.empty()) {
    SetError(error, "the picture is empty");
    return false;
  }
  GPtr<GdkPixbufLoader> loader(gdk_pixbuf_loader_new());
  GError* gerror = nullptr;
  const auto fail = [&](const char* what) {
    SetError(error, std::string(what) + (gerror ? std::string(": ") + gerror->message : std::string()));
    if (gerror) g_error_free(gerror);
    gdk_pixbuf_loader_close(loader.get(), nullptr);
    return false;
  };
  // A huge picture is decoded at one pixel (its pixels are never
  // allocated) and then refused.
  bool too_big = false;
  g_signal_connect(loader.get(), "size-prepared",
                   G_CALLBACK(+[](GdkPixbufLoader* l, int w, int h, gpointer big) {
                     if (static_cast<std::int64_t>(w) * h > CDIB::kMaxPixels) {
                       *static_cast<bool*>(big) = true;
                       gdk_pixbuf_loader_set_size(l, 1, 1);
                     }
                   }),
                   &too_big);
  if (!gdk_pixbuf_loader_write(loader.get(), reinterpret_cast<const guchar*>(bytes.data()),
                               bytes.size(), &gerror))
    return fail("not a picture gdk-pixbuf can read");
  if (!gdk_pixbuf_loader_close(loader.get(), &gerror)) return fail("not a picture gdk-pixbuf can read");
  GdkPixbuf* decoded = gdk_pixbuf_loader_get_pixbuf(loader.get());
  if (decoded == nullptr) return fail("the picture has no pixels");
  GdkPixbufFormat* f = gdk_pixbuf_loader_get_format(loader.get());
  if (f != nullptr) {
    gchar* name = gdk_pixbuf_format_get_name(f);
    *format = name ? name : "";
    g_free(name);
  }
  const gchar* orientation = gdk_pixbuf_get_option(decoded, "orientation");
  const bool turned = orientation != nullptr && std::strcmp(orientation, "1") != 0;
  GPtr<GdkPixbuf> pixbuf(gdk_pixbuf_apply_embedded_orientation(decoded));
  if (!pixbuf) {
    SetError(error, "cannot turn the picture by its orientation");
    return false;
  }
  const int w = gdk_pixbuf_get_width(pixbuf.get()), h = gdk_pixbuf_get_height(pixbuf.get());
  if (too_big || static_cast<std::int64_t>(w) * h > CDIB::kMaxPixels) {
    SetError(error, "the picture is larger than " + std::to_string(CDIB::kMaxPixels) + " pixels");
    return false;
  }
  if (w <= 0 || h <= 0) {
    SetError(error, "the picture has no pixels");
    return false;
  }
  const int channels = gdk_pixbuf_get_n_channels(pixbuf.get());
  const bool alpha = gdk_pixbuf_get_has_alpha(pixbuf.get());
  const int stride = gdk_pixbuf_get_rowstride(pixbuf.get());
  const guchar* src = gdk_pixbuf_read_pixels(pixbuf.get());
  if (gdk_pixbuf_get_bits_per_sample(pixbuf.get()) != 8 || channels < 3 || src == nullptr) {
    SetError(error, "unsupported pixel layout");
    return false;
  }
  out->width = w;
  out->height = h;
  out->pixels.resize(static_cast<std::size_t>(w) * static_cast<std::size_t>(h));
  for (int y = 0; y < h; ++y) {
    const guchar* p = src + static_cast<std::ptrdiff_t>(y) * stride;
    std::uint32_t* row = out->pixels.data() + static_cast<std::size_t>(y) * w;
    for (int x = 0; x < w; ++x, p += channels) {
      const std::uint32_t a = alpha ? p[3] : 255;
      // Premultiplied, rounded.
      const auto pm = [a](std::uint32_t c) { return (c * a + 127) / 255; };
      row[x] = (a << 24) | (pm(p[0]) << 16) | (pm(p[1]) << 8) | pm(p[2]);
    }
  }
  // A JPEG shown as stored goes to vector files as its own bytes.
  if (*format == "jpeg" && !turned) out->jpeg = bytes;
  return true;
}

}  // namespace

void CDIB::Clear() {
  bytes_.reset();
  image_.reset();
  format_.clear();
}

bool CDIB::SetTotalBuf(const unsigned char* data, std::uint64_t length, std::string* error) {
  Clear();
  if (data == nullptr || length == 0) {
    SetError(error, "the picture is empty");
    return false;
  }
  if (length > kMaxFileBytes) {
    SetError(error, "the picture file is larger than " + std::to_string(kMaxFileBytes) + " bytes");
    return false;
  }
  auto bytes = std::make_shared<std::string>(reinterpret_cast<const char*>(data),
                                             static_cast<std::size_t>(length));
  auto image = std::make_shared<DeviceImage>();
  std::string format;
  if (!Decode(*bytes, image.get(), &format, error)) return false;
  bytes_ = std::move(bytes);
  image_ = std::move(image);
  format_ = std::move(format);
  return true;
}

bool CDIB::ReadFromFile(const std::string& path, std::string* error) {
  Clear();
  std::ifstream in(path, std::ios::binary);
  if (!in) {
    SetError(error, "cannot open " + path + ": " + std::strerror(errno));
    return false;
  }
  in.seekg(0, std::ios::end);
  const std::streamoff size = in.tellg();
  if (size < 0 || static_cast<std::uint64_t>(size) > kMaxFileBytes) {
    SetError(error, path + ": the picture file is larger than " + std::to_string(kMaxFileBytes) +
                        " bytes");
    return false;
  }
  in.seekg(0);
  std::string bytes(static_cast<std::size_t>(size), '\0');
  if (!in.read(bytes.data(), size)) {
    SetError(error, "cannot read " + path);
    return false;
  }
  std::string why;
  if (!SetTotalBuf(reinterpret_cast<const unsigned char*>(bytes.data()), bytes.size(), &why)) {
    SetError(error, path + ": " + why);
    return false;
  }
  return true;
}

const unsigned char* CDIB::GetTotalBuf() const {
  return bytes_ ? reinterpret_cast<const unsigned char*>(bytes_->data()) : nullptr;
}

std::uint64_t CDIB::GetTotalBufLength() const { return bytes_ ? bytes_->size() : 0; }

void CDIB::Draw(CDC* dc, const CRect& rect) const {
  if (dc != nullptr && !IsEmpty()) dc->Image(rect, image_);
}

}  // namespace davodu
