// Host style records: pen, brush, font and point symbol.
//
// These records are stored whole in documents as byte blocks (20, 20, 84 and
// 20 bytes), so their layouts are fixed: little-endian 32-bit words, no
// padding. Do not reorder or resize their fields.
#ifndef DAVODU_HOST_GRAPHICS_STYLES_H_
#define DAVODU_HOST_GRAPHICS_STYLES_H_

#include <cstdint>
#include <cstring>
#include <string>

#include "davodu/host/util/types.h"

namespace davodu {

// Raster modes of a pen or brush.
constexpr std::int32_t kRopCopy = 13;    // plain drawing
constexpr std::int32_t kRopNotXor = 10;  // a second drawing removes the first

// Pen line-style codes. 0 to 5 are line patterns; 992 to 999 are reserved for
// interactive marks.
enum PenStyleCode : std::int32_t {
  kPenSolid = 0,
  kPenDash = 1,
  kPenDot = 2,
  kPenDashDot = 3,
  kPenDashDotDot = 4,
  kPenNull = 5,
  kPenMarkHandle = 992,
  kPenMarkTopRight = 993,
  kPenMarkPicture = 994,
  kPenMarkDepthFrame = 997,
  kPenMarkSelection = 999,
};
constexpr bool IsMarkPenStyle(std::int32_t code) { return code >= 992 && code <= 999; }

struct ZULOGPEN {
  std::int32_t style = kPenSolid;  // line-style code
  COLORREF color2 = 0;             // second colour (two-colour lines)
  COLORREF color = 0;
  float width = 0;                 // map units; 0 draws a hairline
  std::int32_t rop = kRopCopy;     // raster mode

  friend bool operator==(const ZULOGPEN& a, const ZULOGPEN& b) {
    return std::memcmp(&a, &b, sizeof a) == 0;
  }
};
static_assert(sizeof(ZULOGPEN) == 20);

// Brush style codes. 0 to 7 are the basic fills; 13 is the plain solid fill
// of the host's default brushes; codes of 1000 and above name entries of a
// fill-style set: 1000, the first entry, is "no fill" (the default client
// brush leaves the head transparent); the later entries are the patterns of
// the pattern library (pattern_library.h), drawn in the brush colour at the
// size the brush's word3 gives, and an entry the library does not know is
// drawn as a solid fill in the brush colour.
enum BrushStyleCode : std::int32_t {
  kBrushSolid = 0,
  kBrushHollow = 1,
  kBrushHatchHorizontal = 2,
  kBrushHatchVertical = 3,
  kBrushHatchFDiagonal = 4,  // "\\\\"
  kBrushHatchBDiagonal = 5,  // "////"
  kBrushHatchCross = 6,
  kBrushHatchDiagCross = 7,
  kBrushDefaultSolid = 13,
  kBrushSetNone = 1000,
  kBrushSetFirstPattern = 1001,
};

struct ZULOGBRUSH {
  std::int32_t style = kBrushSolid;
  COLORREF color = 0;
  std::int32_t word2 = 0;  // second colour of patterned fills
  // Patterned fills: the pattern's size as a float in map units (the side
  // of its reference cell, kPatternCellSize at the natural size); 0 or a
  // value that is no size draws the natural size.
  std::int32_t word3 = 0;
  std::int32_t rop = kRopCopy;  // last word: raster mode

  friend bool operator==(const ZULOGBRUSH& a, const ZULOGBRUSH& b) {
    return std::memcmp(&a, &b, sizeof a) == 0;
  }
};
static_assert(sizeof(ZULOGBRUSH) == 20);

struct ZULOGFONT {
  COLORREF color = 0;
  std::int32_t weight = 400;  // 400 normal, 700 bold
  std::int32_t flags = 0;     // kFontItalic | kFontUnderline
  float height = 400;         // map units
  float width_ratio = 0.5f;   // width of one single-byte character cell / height
  char face[64];              // face name, GBK, NUL-terminated; "宋体" by default

  static constexpr std::int32_t kFontItalic = 1;
  static constexpr std::int32_t kFontUnderline = 2;

  ZULOGFONT();

  // Width of one single-byte character cell in map units; a two-byte
  // (Chinese) character takes two cells. A ratio of 0 or less counts as 0.5.
  float GetWidth() const { return height * (width_ratio > 0 ? width_ratio : 0.5f); }
  std::string FaceName() const { return std::string(face, strnlen(face, sizeof face)); }
  void SetFaceName(const std::string& gbk_name);

  friend bool operator==(const ZULOGFONT& a, const ZULOGFONT& b) {
    return std::memcmp(&a, &b, sizeof a) == 0;
  }
};
static_assert(sizeof(ZULOGFONT) == 84);

// Point symbol style codes.
enum PointStyleCode : std::int32_t {
  kPointDot = 0,
  kPointCircle = 1,
  kPointSquare = 2,
  kPointTriangle = 3,
  kPointCross = 4,
  kPointX = 5,
  kPointDiamond = 6,
  kPointFilledCircle = 7,
  kPointStar = 8,
};

struct ZULOGPOINT {
  std::int32_t style = kPointFilledCircle;
  std::int32_t word1 = 0;
  std::int32_t word2 = 0;
  COLORREF color = 0;
  float size = 100;  // map units

  friend bool operator==(const ZULOGPOINT& a, const ZULOGPOINT& b) {
    return std::memcmp(&a, &b, sizeof a) == 0;
  }
};
static_assert(sizeof(ZULOGPOINT) == 20);

// The colour to draw a text of colour text in on a fill: its own when it
// stands out from the fill (a contrast ratio of at least 4.5 between their
// relative luminances), else black or white, whichever stands out more.
COLORREF ReadableOn(COLORREF text, COLORREF fill);

}  // namespace davodu

#endif  // DAVODU_HOST_GRAPHICS_STYLES_H_
