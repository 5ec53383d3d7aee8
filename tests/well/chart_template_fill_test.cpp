// Chart templates: the fills of curves and the blocks of text tracks, and the
// faults a template can hold in them.
#include <gtest/gtest.h>

#include <cmath>
#include <string>

#include "davodu/display/wp_curve.h"
#include "davodu/display/wp_text.h"
#include "davodu/well/chart_template.h"
#include "support/kit_fixture.h"

namespace davodu::testing {
namespace {

std::string Template(const std::string& tracks) {
  return R"({"scale": 500, "top": 1000, "bottom": 1100, "tracks": [)" + tracks + "]}";
}

class TemplateFills : public KitTest {
 protected:
  CWpWell* Build(const std::string& json) {
    std::string error;
    EXPECT_TRUE(BuildChartFromTemplate(json, "W1", layer, &error)) << error;
    return layer->GetObjectList().empty() ? nullptr
                                          : dynamic_cast<CWpWell*>(layer->GetObjectList().back());
  }
  std::string Fault(const std::string& json) {
    std::string error;
    EXPECT_FALSE(BuildChartFromTemplate(json, "W1", layer, &error));
    return error;
  }
  static CWpCurve* Curve(CWpWell* well, int track, int index) {
    return dynamic_cast<CWpCurve*>(well->GetChild(track)->GetChild(index));
  }
};

TEST_F(TemplateFills, FillsBecomeFillRecordsOfTheirCurves) {
  CWpWell* well = Build(Template(R"(
    {"kind": "curve", "curves": [
      {"name": "GR", "left": 0, "right": 150, "fills": [
        {"to": "left", "colors": [{"from": 0, "to": 60, "color": "#FFFF00"},
                                  {"from": 60, "to": 150, "color": "#808080"}]}]},
      {"name": "SP", "left": -70, "right": -5, "fills": [{"to": "middle", "color": "#00FF00"}]}]},
    {"kind": "curve", "curves": [
      {"name": "DEN", "left": 1.95, "right": 2.95, "fills": [
        {"to": "cnl", "where_left": "#FFD800", "where_right": "#00A000"}]},
      {"name": "CNL", "left": 45, "right": -15}]},
    {"kind": "curve", "curves": [
      {"name": "RT", "left": 1, "right": 1000, "log": true, "fills": [
        {"to": "value", "value": 10, "where_right": "#FF0000",
         "colors": [{"from": 10, "to": 100, "color": "#FF0000"}]},
        {"to": "right", "color": "#0000FF"}]}]})"));
  ASSERT_NE(well, nullptr);

  CWpCurve* gr = Curve(well, 0, 0);
  ASSERT_EQ(gr->FillCount(), 1);
  const CVEFILL& edge = *gr->FillAt(0);
  EXPECT_EQ(edge.Target(), Gbk("边框"));
  EXPECT_EQ(edge.block.sides, 1);  // side 0: from the left edge to the curve
  EXPECT_EQ(edge.block.shade0, 1);
  EXPECT_EQ(edge.block.shade1, 0);
  ASSERT_EQ(edge.colors0.size(), 2u);
  EXPECT_EQ(edge.colors0[1].lower, 60);
  EXPECT_EQ(edge.colors0[1].color, RGB(128, 128, 128));
  EXPECT_TRUE(edge.colors1.empty());

  const CVEFILL& middle = *Curve(well, 0, 1)->FillAt(0);
  EXPECT_EQ(middle.Target(), Gbk("中线"));
  EXPECT_EQ(middle.block.sides, 3);
  EXPECT_EQ(middle.block.brush0.color, RGB(0, 255, 0));
  EXPECT_EQ(middle.block.brush1.color, RGB(0, 255, 0));
  EXPECT_FLOAT_EQ(middle.block.value, -37.5f);

  const CVEFILL& cross = *Curve(well, 1, 0)->FillAt(0);
  EXPECT_EQ(cross.Target(), "cnl");
  EXPECT_EQ(cross.block.sides, 3);
  EXPECT_EQ(cross.block.brush1.color, RGB(255, 216, 0));  // where DEN lies left of CNL
  EXPECT_EQ(cross.block.brush0.color, RGB(0, 160, 0));    // and where it lies right

  CWpCurve* rt = Curve(well, 2, 0);
  ASSERT_EQ(rt->FillCount(), 2);
  const CVEFILL& value = *rt->FillAt(0);
  EXPECT_EQ(value.Target(), Gbk("指定值线"));
  EXPECT_FLOAT_EQ(value.block.value, 10);
  EXPECT_EQ(value.block.sides, 1);
  ASSERT_EQ(value.colors0.size(), 1u);
  EXPECT_DOUBLE_EQ(value.colors0[0].lower, 1);  // the logarithm, on a log scale
  EXPECT_DOUBLE_EQ(value.colors0[0].upper, 2);
  EXPECT_EQ(rt->FillAt(1)->block.sides, 2);
  EXPECT_EQ(rt->FillAt(1)->block.brush1.color, RGB(0, 0, 255));
}

TEST_F(TemplateFills, TextTracksHoldTheirBlocks) {
  CWpWell* well = Build(Template(R"(
    {"kind": "text", "title": "结论", "transparent": false, "align": "center", "valign": "bottom",
     "items": [{"top": 1030, "bottom": 1040, "text": "水层"},
               {"top": 1010, "bottom": 1020.5, "text": "油层\n高产"}]})"));
  ASSERT_NE(well, nullptr);
  auto* text = dynamic_cast<CWpText*>(well->GetChild(0)->GetChild(0));
  ASSERT_NE(text, nullptr);
  EXPECT_EQ(text->GetTitleText(), Gbk("结论"));
  EXPECT_FALSE(text->IsTransparent());
  EXPECT_EQ(text->GetTextAlignH(), Gbk("居中"));
  EXPECT_EQ(text->GetTextAlignV(), Gbk("底对齐"));
  ASSERT_EQ(text->GetSegCount(), 2);
  const CgTextSegment& first = *text->GetSegList()[0];
  EXPECT_EQ(first.text, Gbk("油层\n高产"));
  EXPECT_FLOAT_EQ(first.top_depth, 1010);
  EXPECT_FLOAT_EQ(first.bottom_depth, 1020.5);
  EXPECT_FLOAT_EQ(first.top_y, static_cast<float>(text->DepToMapY(1010)));
}

TEST_F(TemplateFills, FaultsNameTheKeyAndTheValue) {
  const std::string den = R"({"kind": "curve", "curves": [{"name": "DEN", "left": 1.95, "right": 2.95, )";
  const struct {
    std::string tracks;
    const char* says;
  } cases[] = {
      {den + R"("fills": [{"to": "CNL", "color": "#FF0000"}]}]})",
       "tracks[0].curves[0].fills[0].to: no other curve 'CNL' in this track"},
      {den + R"("fills": [{"to": "DEN", "color": "#FF0000"}]}]})",
       "tracks[0].curves[0].fills[0].to: no other curve 'DEN'"},
      {den + R"("fills": [{"color": "#FF0000"}]}]})", "tracks[0].curves[0].fills[0].to: missing"},
      {den + R"("fills": [{"to": "value", "color": "#FF0000"}]}]})",
       "tracks[0].curves[0].fills[0].value: missing"},
      {den + R"("fills": [{"to": "left", "value": 2, "color": "#FF0000"}]}]})",
       "tracks[0].curves[0].fills[0].value: only a fill to \"value\" has it"},
      {den + R"("fills": [{"to": "left", "where_left": "#FF0000"}]}]})",
       "tracks[0].curves[0].fills[0].where_left: a fill to an edge shades one side"},
      {den + R"("fills": [{"to": "middle"}]}]})",
       "tracks[0].curves[0].fills[0]: give color, where_left, where_right or colors"},
      {den + R"("fills": [{"to": "left", "color": "red"}]}]})",
       "tracks[0].curves[0].fills[0].color: 'red' is not a colour #RRGGBB"},
      {den + R"("fills": [{"to": "left", "colors": [{"from": 2, "to": 1, "color": "#FF0000"}]}]}]})",
       "tracks[0].curves[0].fills[0].colors[0].to: must be above from"},
      {den + R"("fills": [{"to": "left", "colors": [{"from": 1, "to": 2, "color": "#FF0000"},)"
             R"( {"from": 2.5, "to": 3, "color": "#FF0000"}]}]}]})",
       "tracks[0].curves[0].fills[0].colors[1].from: does not continue the entry before"},
      {den + R"("fills": [{"to": "left", "colors": []}]}]})",
       "tracks[0].curves[0].fills[0].colors: a colour table needs at least one entry"},
      {den + R"("fills": [{"to": "left", "shade": 1}]}]})", "tracks[0].curves[0].fills[0].shade: unknown key"},
      {R"({"kind": "curve", "curves": [{"name": "RT", "left": 1, "right": 100, "log": true,)"
       R"( "fills": [{"to": "value", "value": 0, "color": "#FF0000"}]}]})",
       "tracks[0].curves[0].fills[0].value: a logarithmic curve needs a positive value"},
      {R"({"kind": "text", "items": [{"top": 1020, "bottom": 1010, "text": "a"}]})",
       "tracks[0].items[0].bottom: must lie below top"},
      {R"({"kind": "text", "items": [{"top": 1010, "bottom": 1020}]})", "tracks[0].items[0].text: missing"},
      {R"({"kind": "text", "items": [{"top": 1010, "bottom": 1020, "text": "a"},)"
       R"( {"top": 1015, "bottom": 1030, "text": "b"}]})",
       "tracks[0].items[1]: overlaps items[0]"},
      {R"({"kind": "text", "align": "middle"})",
       "tracks[0].align: unknown alignment 'middle' (left, center or right)"},
      {R"({"kind": "depth", "items": []})", "tracks[0].items: only a text, picture, graphic or parameter track has it"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.tracks);
    const std::string error = Fault(Template(c.tracks));
    EXPECT_NE(error.find(c.says), std::string::npos) << error;
  }
  EXPECT_TRUE(layer->GetObjectList().empty());
}

}  // namespace
}  // namespace davodu::testing
