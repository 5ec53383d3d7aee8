#include "davodu/kits/head_text.h"

#include <gtest/gtest.h>

#include <string>

#include "davodu/host/util/gbk.h"

namespace davodu::testing {
namespace {

// Texts broken into lines to be drawn largest in a box. Measured by the
// font record's model: 50 across a byte and 100 high at the font height
// of 100.
TEST(WrapToFit, BreaksWhereTheTextGetsLargestAndKeepsWordsWhole) {
  const struct {
    const char* text;  // UTF-8
    double width, height;
    const char* lines;  // UTF-8, joined by "\n"
    double factor;
  } cases[] = {
      {"试油结果:  油层", 800, 100, "试油结果:  油层", 1},              // room on one line
      {"试油结果:  油层", 460, 250, "试油结果:\n油层", 1},              // at the blanks
      {"试油结果:  油层", 260, 400, "试油\n结果:\n油层", 1},            // between characters
      {"日产油量:  18.6吨", 200, 1000, "日产\n油量:\n18.6吨", 2.0 / 3},  // a number keeps its unit
      {"ABCDEFGH", 200, 1000, "ABCDEFGH", 0.5},                          // a word stays whole
      {"试油结果:  油层", 1000, 50, "试油结果:  油层", 0.5},             // too low for two lines
  };
  ZULOGFONT font;
  font.height = 100;
  for (const auto& tc : cases) {
    SCOPED_TRACE(std::string(tc.text) + " in " + std::to_string(tc.width) + " x " + std::to_string(tc.height));
    const WrappedText out = WrapToFit(nullptr, Utf8ToGbk(tc.text), font, 1, tc.width, tc.height);
    EXPECT_EQ(GbkToUtf8(out.text), tc.lines);
    EXPECT_NEAR(out.factor, tc.factor, 1e-9);
  }
}

}  // namespace
}  // namespace davodu::testing
