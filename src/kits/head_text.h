// Texts of kit heads: the clear space they keep, how small they may get, and
// how they are measured and fitted into their cells.
//
// A head text is measured by the device it is drawn on (its box is its
// advance width by its font height, dc.h); without a device, by the font
// record's own model (GetWidth() per byte, the font height). Layouts made
// without a device (the minimum head heights the chart layout grows heads
// to) therefore agree with the drawing on heights, and on widths as closely
// as the model allows: drawing measures again and shrinks what does not fit.
#ifndef DAVODU_KITS_HEAD_TEXT_H_
#define DAVODU_KITS_HEAD_TEXT_H_

#include <string>

#include "davodu/host/graphics/dc.h"
#include "davodu/host/graphics/styles.h"

namespace davodu {

// Clear space, in map units, between a head text and a line or the text
// above or below it.
inline constexpr double kHeadTextGap = 30;
// Clear space, in map units, between texts side by side in a row: a word
// space, so that a name and a scale value never read as one.
inline constexpr double kHeadWordGap = 100;
// Clear space, in map units, between a head text and the edges of its cell:
// the gap plus room for the frame line drawn on the edge.
inline constexpr double kHeadCellPad = 80;
// Font height, in map units (1.6 mm), below which a kit rearranges its head
// rather than shrink a text further.
inline constexpr double kHeadReadableHeight = 160;

// The font with its height multiplied by factor.
ZULOGFONT ScaledFont(const ZULOGFONT& font, double factor);

// Box of one line of text in draw units at a zoom: measured by dc when one
// is given, else the font record's model.
TextSize HeadTextSize(CDC* dc, const std::string& gbk_text, const ZULOGFONT& font, double zoom);

// The largest factor, at most 1, by which a block width × height shrinks to
// fit into avail_width × avail_height; 0 when no room is left, 1 for an
// empty block.
double FitFactor(double width, double height, double avail_width, double avail_height);
inline double FitFactor(TextSize size, double avail_width, double avail_height) {
  return FitFactor(size.width, size.height, avail_width, avail_height);
}

// A text broken into lines to fit a box, and the factor (at most 1) its
// font is scaled by to fit.
struct WrappedText {
  std::string text;  // the lines joined by "\n"
  double factor = 1;
};

// Breaks a one-line text into the lines that let it be drawn largest in
// avail_width x avail_height draw units (lines one font height apart), at
// most at the font's own size; of equally large layouts the one with the
// fewest lines. Lines break at blanks, which the break drops, and, where
// the blanks give no layout of as many lines, between two two-byte
// characters: a number, a word or a character and the punctuation after
// it stay whole.
WrappedText WrapToFit(CDC* dc, const std::string& gbk_text, const ZULOGFONT& font, double zoom,
                      double avail_width, double avail_height);

}  // namespace davodu

#endif  // DAVODU_KITS_HEAD_TEXT_H_
