// Values no user would set, as a damaged or crafted document carries them:
// each is stored in a chart, and the chart is read back, laid out, drawn and
// written again through the document fuzzer's exercise. The sanitizers of
// the test build stop at any overflow or out-of-range conversion.
#include <gtest/gtest.h>

#include <functional>
#include <string>

#include "fuzz/document_exercise.h"
#include "fuzz/document_seeds.h"
#include "support/kit_fixture.h"

namespace davodu::testing {
namespace {

class HostileValues : public KitTest {};

TEST_F(HostileValues, ChartsWithThemAreReadDrawnAndWritten) {
  // A font of a height no title row makes room for (the document stores
  // both, and a crafted one need not keep them in step).
  auto huge_title_font = [](CWpKit* c, int direction) {
    const float row = c->GetTitleHeight();
    ZULOGFONT font = c->GetTitleFont();
    font.height = 7.4e21f;
    c->SetTitleFont(&font);
    c->SetTitleHeight(row);
    c->SetTitleDirection(direction);
  };
  // Applied to the well and to every content of a chart that shows one of
  // each kind.
  const struct {
    const char* what;
    std::function<void(CWpWell*, CWpKit* content)> set;
  } cases[] = {
      {"a title font 7e21 high, across", [&](CWpWell*, CWpKit* c) { huge_title_font(c, 1); }},
      {"a title font 7e21 high, upright", [&](CWpWell*, CWpKit* c) { huge_title_font(c, 2); }},
      // Both edges of the title band lie beyond the drawable range, on one
      // side: their midpoint is taken from two clamped coordinates.
      {"a well far above the paper", [](CWpWell* w, CWpKit*) { w->SetPosition(FLOATPOINT{0, 1e300}, 1); }},
      {"title rows 1e30 high", [](CWpWell*, CWpKit* c) { c->SetTitleHeight(1e30f); }},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    CZuMapFile chart;
    CWpWell* well = fuzzing::AddSeedWell(chart.GetActiveMap()->AddLayer("chart"), "W1", 1000, 1012);
    for (int kind = 1; kind < kContentKindCount; ++kind)
      CWpTrackBuilder(well).AddChild(kCmdWellTrackFirst + static_cast<unsigned>(kind));
    fuzzing::AddSeedCurves(well);
    for (CWpKit* track : well->GetChildren())
      for (CWpKit* content : track->GetChildren()) c.set(well, content);
    const std::string data = chart.SaveToData();
    EXPECT_TRUE(fuzzing::ExerciseDocument(reinterpret_cast<const std::uint8_t*>(data.data()), data.size()));
  }
}

}  // namespace
}  // namespace davodu::testing
