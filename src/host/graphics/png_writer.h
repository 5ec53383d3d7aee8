// Writing raster images as PNG files (or PNG bytes in memory), fast.
//
// Charts are line art on white: long vertical strokes, plain background,
// few colours per row. Each row is filtered by subtracting the row above
// (PNG filter "Up"), which turns the background and every vertical stroke
// into runs of zeros, and the image is compressed in one pass by libdeflate
// at a low level. That is several times faster than a general encoder's
// per-row filter search and zlib, for files a little larger; the pixels are
// the same.
#ifndef DAVODU_HOST_GRAPHICS_PNG_WRITER_H_
#define DAVODU_HOST_GRAPHICS_PNG_WRITER_H_

#include <cstdint>
#include <string>

namespace davodu {

// Writes an opaque image as an 8-bit RGB PNG file (no alpha channel).
// pixels holds height rows of width 32-bit native-endian 0xXXRRGGBB values
// (Cairo's RGB24 format), stride bytes apart. Replaces the file; false
// with *error set (naming the file) when it cannot be written.
bool WriteRgbPng(const std::string& path, const std::uint8_t* pixels, int width, int height,
                 int stride, std::string* error);

// The same PNG in memory: *png receives the bytes of the file. False with
// *error set when there is no image or memory runs out.
bool EncodeRgbPng(const std::uint8_t* pixels, int width, int height, int stride, std::string* png,
                  std::string* error);

}  // namespace davodu

#endif  // DAVODU_HOST_GRAPHICS_PNG_WRITER_H_
