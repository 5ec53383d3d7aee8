// The pattern library, perforation dates and the lithology column's depth
// reading.
#include <gtest/gtest.h>

#include <cmath>
#include <string>

#include "davodu/data/data_date.h"
#include "davodu/host/graphics/pattern_library.h"
#include "davodu/interval/wp_corelith.h"

namespace davodu {
namespace {

TEST(PatternLibrary, EveryCatalogueEntryHasAPattern) {
  // Lithologies 1 to 20 draw a motif (coal solid); oil-bearing grades 1 to
  // 6 draw something and 7 (not oil-bearing) nothing; perforations 1 to 3.
  for (int n = 1; n <= 20; ++n) {
    const PatternTile* t = FindPattern(LithPatternCode(n));
    ASSERT_NE(t, nullptr) << n;
    EXPECT_TRUE(t->solid || !t->shapes.empty()) << t->name;
    EXPECT_GT(t->width, 0);
    EXPECT_GT(t->height, 0);
  }
  for (int n = 1; n <= 7; ++n) {
    const PatternTile* t = FindPattern(OilPatternCode(n));
    ASSERT_NE(t, nullptr) << n;
    EXPECT_EQ(t->solid || !t->shapes.empty(), n != 7) << t->name;
  }
  for (int code : {kShootPatternBase + 1, kShootPatternBase + 2, kShootPatternBase + 3})
    EXPECT_NE(FindPattern(code), nullptr) << code;
  // No pattern: the set's "no fill" entry, unknown entries, and no grade.
  for (int code : {kLithPatternBase, kLithPatternBase + 21, 1999, 0, 7})
    EXPECT_EQ(FindPattern(code), nullptr) << code;
  EXPECT_EQ(LithPatternCode(0), kLithPatternBase);
  EXPECT_EQ(LithPatternCode(1010), 1010);
  EXPECT_EQ(OilPatternCode(0), 0);
}

TEST(PatternLibrary, CoarserSandHasCoarserDots) {
  const auto dot = [](int n) { return FindPattern(LithPatternCode(n))->shapes.front().r; };
  EXPECT_GT(dot(3), dot(4));  // coarse > medium
  EXPECT_GT(dot(4), dot(5));  // medium > fine
}

TEST(DataDate, ParsesOnlyCalendarDates) {
  const struct {
    const char* text;
    bool ok;
    const char* formatted;
  } cases[] = {
      {"2012-05-01", true, "2012-05-01"}, {" 2012/5/1 ", true, "2012-05-01"},
      {"2020-02-29", true, "2020-02-29"}, {"2021-02-29", false, ""},
      {"2012-13-01", false, ""},          {"2012-00-10", false, ""},
      {"2012-05-32", false, ""},          {"2012-05-01x", false, ""},
      {"12-05-01", false, ""},            {"", false, ""},
      {"2012-05", false, ""},             {"abcd-05-01", false, ""},
  };
  for (const auto& c : cases) {
    DataDate d = kInvalidDate;
    EXPECT_EQ(ParseDataDate(c.text, &d), c.ok) << c.text;
    if (c.ok) EXPECT_EQ(FormatDataDate(d), c.formatted) << c.text;
    else EXPECT_FALSE(IsValidDate(d)) << c.text << ": *out left alone";
  }
}

TEST(CorelithDepths, QuantiseRoundsToTheNearestMillimetreBothSidesOfZero) {
  const struct {
    double in, out;
  } cases[] = {{1234.5674, 1234.567}, {1234.5676, 1234.568}, {-12.3456, -12.346},
               {-12.3454, -12.345}, {-0.0004, 0.0}, {0, 0}};
  for (const auto& c : cases) EXPECT_NEAR(CWpCorelith::QuantiseDepth(c.in), c.out, 1e-9) << c.in;
}

}  // namespace
}  // namespace davodu
