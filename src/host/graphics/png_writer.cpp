#include "davodu/host/graphics/png_writer.h"

#include <libdeflate.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <algorithm>
#include <memory>
#include <new>
#include <vector>

namespace davodu {

namespace {

// libdeflate's level 3: as fast as its lowest levels on line art, with
// noticeably better matches.
constexpr int kCompressionLevel = 3;
constexpr std::uint8_t kFilterUp = 2;
// IDAT chunks are written in pieces of this many bytes.
constexpr std::size_t kChunk = 1 << 20;

void PutU32(std::uint8_t* p, std::uint32_t v) {
  p[0] = static_cast<std::uint8_t>(v >> 24);
  p[1] = static_cast<std::uint8_t>(v >> 16);
  p[2] = static_cast<std::uint8_t>(v >> 8);
  p[3] = static_cast<std::uint8_t>(v);
}

struct FileCloser {
  void operator()(std::FILE* f) const { std::fclose(f); }
};

struct CompressorFree {
  void operator()(libdeflate_compressor* c) const { libdeflate_free_compressor(c); }
};

// Appends one chunk: length, type, data, CRC of type and data.
void AppendChunk(std::string* png, const char type[4], const std::uint8_t* data, std::size_t n) {
  std::uint8_t head[8];
  PutU32(head, static_cast<std::uint32_t>(n));
  std::memcpy(head + 4, type, 4);
  std::uint32_t crc = libdeflate_crc32(0, head + 4, 4);
  if (n > 0) crc = libdeflate_crc32(crc, data, n);
  std::uint8_t tail[4];
  PutU32(tail, crc);
  png->append(reinterpret_cast<const char*>(head), 8);
  if (n > 0) png->append(reinterpret_cast<const char*>(data), n);
  png->append(reinterpret_cast<const char*>(tail), 4);
}

}  // namespace

bool EncodeRgbPng(const std::uint8_t* pixels, int width, int height, int stride, std::string* png,
                  std::string* error) {
  auto fail = [&](const std::string& why) {
    if (error) *error = why;
    return false;
  };
  if (pixels == nullptr || width <= 0 || height <= 0 || stride < 4 * width)
    return fail("no image to write");

  // Filtered rows: a filter byte, then RGB. Each row holds the difference
  // from the row above (the first row from a row of zeros).
  const std::size_t w = static_cast<std::size_t>(width);
  const std::size_t row_bytes = 1 + 3 * w;
  // Buffers are left uninitialised: every byte of raw is written below, and
  // of packed only what the compressor writes is read.
  const std::size_t raw_size = row_bytes * static_cast<std::size_t>(height);
  std::unique_ptr<std::uint8_t[]> raw(new (std::nothrow) std::uint8_t[raw_size]);
  if (!raw) return fail("out of memory");
  std::vector<std::uint8_t> above(3 * w, 0), here(3 * w);
  for (int y = 0; y < height; ++y) {
    const auto* src = reinterpret_cast<const std::uint32_t*>(pixels + static_cast<std::size_t>(y) * static_cast<std::size_t>(stride));
    for (std::size_t x = 0; x < w; ++x) {
      const std::uint32_t p = src[x];
      here[3 * x] = static_cast<std::uint8_t>(p >> 16);
      here[3 * x + 1] = static_cast<std::uint8_t>(p >> 8);
      here[3 * x + 2] = static_cast<std::uint8_t>(p);
    }
    std::uint8_t* out = raw.get() + row_bytes * static_cast<std::size_t>(y);
    out[0] = kFilterUp;
    for (std::size_t i = 0; i < 3 * w; ++i) out[1 + i] = static_cast<std::uint8_t>(here[i] - above[i]);
    above.swap(here);
  }

  std::unique_ptr<libdeflate_compressor, CompressorFree> compressor(
      libdeflate_alloc_compressor(kCompressionLevel));
  if (!compressor) return fail("out of memory");
  const std::size_t bound = libdeflate_zlib_compress_bound(compressor.get(), raw_size);
  std::unique_ptr<std::uint8_t[]> packed(new (std::nothrow) std::uint8_t[bound]);
  if (!packed) return fail("out of memory");
  const std::size_t packed_size =
      libdeflate_zlib_compress(compressor.get(), raw.get(), raw_size, packed.get(), bound);
  if (packed_size == 0) return fail("the image did not compress");
  raw.reset();

  static constexpr std::uint8_t kSignature[8] = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1a, '\n'};
  std::uint8_t header[13];
  PutU32(header, static_cast<std::uint32_t>(width));
  PutU32(header + 4, static_cast<std::uint32_t>(height));
  header[8] = 8;   // bits per channel
  header[9] = 2;   // colour type: RGB
  header[10] = 0;  // deflate
  header[11] = 0;  // adaptive filtering
  header[12] = 0;  // not interlaced
  png->clear();
  png->reserve(packed_size + 64 + 12 * (packed_size / kChunk + 1));
  png->append(reinterpret_cast<const char*>(kSignature), 8);
  AppendChunk(png, "IHDR", header, 13);
  for (std::size_t at = 0; at < packed_size; at += kChunk)
    AppendChunk(png, "IDAT", packed.get() + at, std::min(kChunk, packed_size - at));
  AppendChunk(png, "IEND", nullptr, 0);
  return true;
}

bool WriteRgbPng(const std::string& path, const std::uint8_t* pixels, int width, int height,
                 int stride, std::string* error) {
  std::string png, why;
  if (!EncodeRgbPng(pixels, width, height, stride, &png, &why)) {
    if (error) *error = "cannot write " + path + ": " + why;
    return false;
  }
  std::unique_ptr<std::FILE, FileCloser> f(std::fopen(path.c_str(), "wb"));
  bool ok = f && std::fwrite(png.data(), 1, png.size(), f.get()) == png.size();
  ok = f && std::fflush(f.get()) == 0 && ok;
  if (!ok) {
    if (error) *error = "cannot write " + path + ": " + std::strerror(errno);
    return false;
  }
  return true;
}

}  // namespace davodu
