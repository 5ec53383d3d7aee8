// Chart templates built in the library, with no well database: what a
// hostile template is refused for, and that refusing costs no more than
// reading it.
#include "davodu/well/chart_template.h"

#include <gtest/gtest.h>

#include <string>

#include "support/kit_fixture.h"

namespace davodu::testing {
namespace {

std::string Repeat(const std::string& text, int n, const std::string& separator = "") {
  std::string out;
  for (int i = 0; i < n; ++i) out += (i ? separator : "") + text;
  return out;
}

class ChartTemplate : public KitTest {};

TEST_F(ChartTemplate, HostileTemplatesAreRefusedWithTheirReason) {
  const std::string head = R"({"scale": 200, "top": 0, "bottom": 10, "tracks": )";
  const std::string curve = R"({"name": "GR", "left": 0, "right": 1})";
  const struct {
    std::string json;
    std::string says;
  } cases[] = {
      // The JSON reader recurses: deep nesting is refused before it is read.
      {Repeat("[", 1000000), "line 1: nested more than 64 levels deep"},
      {"{\"a\":\n" + Repeat("{\"a\":", 70), "line 2: nested more than 64 levels deep"},
      // Brackets inside texts do not count.
      {head + R"([{"kind": "blank", "title": ")" + Repeat("[", 100) + R"("}], "x": 1})",
       "x: unknown key"},
      {head + "[" + Repeat(R"({"kind": "blank"})", 101, ",") + "]}",
       "tracks: 101 tracks, more than a chart can hold (100)"},
      {head + R"([{"kind": "curve", "curves": [)" + Repeat(curve, 51, ",") + "]}]}",
       "tracks[0].curves: 51 curves, more than a track can hold (50)"},
  };
  for (const auto& c : cases) {
    std::string error;
    EXPECT_FALSE(BuildChartFromTemplate(c.json, "W1", layer, &error)) << c.says;
    EXPECT_EQ(error, c.says);
    EXPECT_TRUE(layer->GetObjectList().empty());
  }
}

TEST_F(ChartTemplate, TheLargestChartATemplateMayAskForIsBuilt) {
  const std::string json = R"({"scale": 200, "top": 0, "bottom": 10, "tracks": [)" +
                           Repeat(R"({"kind": "blank"})", 99, ",") + R"(, {"kind": "curve", "curves": [)" +
                           Repeat(R"({"name": "GR", "left": 0, "right": 1})", 50, ",") + "]}]}";
  std::string error;
  ASSERT_TRUE(BuildChartFromTemplate(json, "W1", layer, &error)) << error;
  auto* well = dynamic_cast<CWpWell*>(layer->GetObjectList().at(0));
  ASSERT_NE(well, nullptr);
  EXPECT_EQ(well->ChildrenCount(), 100);
  EXPECT_EQ(well->GetChild(99)->ChildrenCount(), 50);
}

// The chart is as wide as its tracks, so each track keeps the width its
// template gives (a well of another width would share itself among them).
TEST_F(ChartTemplate, TracksKeepTheirTemplateWidths) {
  const std::string json =
      R"({"scale": 500, "top": 1000, "bottom": 1100, "tracks": [{"kind": "text", "width": 3000},)"
      R"( {"kind": "blank", "width": 6400}, {"kind": "curve", "width": 4500, "curves": [{"name": "GR", "left": 0, "right": 150}]}]})";
  std::string error;
  ASSERT_TRUE(BuildChartFromTemplate(json, "W1", layer, &error)) << error;
  auto* well = dynamic_cast<CWpWell*>(layer->GetObjectList().at(0));
  ASSERT_NE(well, nullptr);
  ASSERT_EQ(well->ChildrenCount(), 3);
  EXPECT_FLOAT_EQ(well->GetWidth(), 13900);
  const float widths[] = {3000, 6400, 4500};
  for (int i = 0; i < 3; ++i) EXPECT_NEAR(well->GetChild(i)->GetWidth(), widths[i], 0.5) << "track " << i;
}

}  // namespace
}  // namespace davodu::testing
