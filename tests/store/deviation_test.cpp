#include "davodu/store/deviation.h"

#include <gtest/gtest.h>

#include <cmath>

#include "davodu/store/well_data_manager.h"
#include "support/cli.h"

namespace davodu {
namespace {

// Two textbook stations: 15 to 25 degrees inclination and 20 to 45 degrees
// azimuth between 3500 and 3600 gain 94.01 of vertical depth; a quarter
// circle from vertical to horizontal over 1000 drops 2000 / pi.
TEST(Deviation, MatchesWorkedExamples) {
  const Trajectory pair({{0, 15, 20}, {3500, 15, 20}, {3600, 25, 45}});
  EXPECT_NEAR(pair.TvdAt(3600) - pair.TvdAt(3500), 94.01, 0.005);
  const Trajectory quarter({{0, 0, 0}, {1000, 90, 0}});
  EXPECT_NEAR(quarter.TvdAt(1000), 2000 / 3.14159265358979323846, 1e-9);
}

// A hole turned right round between two stations (straight down, then
// straight up) is a half circle of length 100: it ends 200 / pi to the side
// at the depth it started from, and every point on it is finite.
TEST(Deviation, HalfTurnDoglegIsAHalfCircle) {
  const Trajectory t({{0, 0, 0}, {1000, 0, 0}, {1100, 180, 0}});
  const double pi = 3.14159265358979323846;
  EXPECT_NEAR(t.TvdAt(1100), 1000, 1e-6);
  EXPECT_NEAR(t.TvdAt(1050), 1000 + 100 / pi, 1e-6);
  const TrajectoryPoint end = t.At(1100);
  EXPECT_NEAR(std::hypot(end.north, end.east), 200 / pi, 1e-6);
  for (double md = 1000; md <= 1100; md += 5) EXPECT_TRUE(std::isfinite(t.TvdAt(md))) << md;
}

// Minimum-curvature positions worked out by hand: a build from vertical to
// 30 degrees over 1000 m is an arc of radius R = 1000 / (pi / 6), so
// tvd = R sin(phi) and north = R (1 - cos(phi)) at arc angle phi.
TEST(Deviation, MatchesHandComputedMinimumCurvature) {
  const Trajectory build({{0, 0, 0}, {1000, 30, 0}});
  const Trajectory hold({{0, 30, 45}, {1000, 30, 45}});
  const Trajectory turn({{0, 0, 0}, {1000, 30, 0}, {2000, 30, 90}});
  const Trajectory late({{500, 0, 0}, {1500, 30, 0}});  // tied in vertically at 0
  const struct {
    const Trajectory* t;
    double md, tvd, north, east;
  } cases[] = {
      {&build, 500, 494.3079647326846, 65.07687813440027, 0},
      {&build, 1000, 954.929658551372, 255.87263083736778, 0},
      {&build, 1100, 1041.5321989298159, 305.87263083736778, 0},  // straight on at 30 degrees
      {&build, -10, -10, 0, 0},
      {&hold, 500, 433.01270189221935, 176.77669529663686, 176.77669529663686},
      // The turn segment: dogleg 41.41 degrees, ratio factor 1.0459293.
      {&turn, 2000, 954.929658551372 + 905.8013684678543, 255.87263083736778 + 261.48233195862355,
       261.4823319586235},
      {&late, 500, 500, 0, 0},
      {&late, 1000, 500 + 494.3079647326846, 65.07687813440027, 0},
  };
  for (const auto& c : cases) {
    const TrajectoryPoint p = c.t->At(c.md);
    EXPECT_NEAR(p.tvd, c.tvd, 1e-9) << c.md;
    EXPECT_NEAR(p.north, c.north, 1e-9) << c.md;
    EXPECT_NEAR(p.east, c.east, 1e-9) << c.md;
  }
}

TEST(Deviation, VerticalDepthLeadsBackToMeasuredDepth) {
  const Trajectory turn({{0, 0, 0}, {1000, 30, 0}, {2000, 30, 90}, {2500, 60, 120}});
  for (double md = -50; md <= 3000; md += 37.5) {
    double back = 0;
    ASSERT_TRUE(turn.MdAt(turn.TvdAt(md), &back)) << md;
    EXPECT_NEAR(back, md, 1e-6);
  }
  // A hole that turns horizontal never gets deeper than where it levelled out.
  const Trajectory flat({{0, 0, 0}, {1000, 90, 0}});
  double md = 0;
  EXPECT_FALSE(flat.MdAt(flat.TvdAt(1000) + 1, &md));
  EXPECT_TRUE(flat.MdAt(flat.TvdAt(400), &md));
  EXPECT_NEAR(md, 400, 1e-6);
}

TEST(Deviation, ManagerConvertsByWellNameAndElevation) {
  CWellDataManager wells(testing::ScratchDb(testing::ScratchDir("deviation")));
  ASSERT_TRUE(wells.IsOpen()) << wells.GetLastError();
  WellInfo info;
  info.name = "D1";
  info.kb = 120;
  ASSERT_GT(wells.AddWell(info), 0);
  info.name = "V1";  // no survey: vertical
  info.kb = 50;
  ASSERT_GT(wells.AddWell(info), 0);
  ASSERT_TRUE(wells.SetDeviation("D1", {{0, 0, 0}, {1000, 30, 0}}));

  const double tvd500 = 494.3079647326846;
  EXPECT_NEAR(wells.ConvertDepthToZ("D1", 500), tvd500, 1e-9);
  EXPECT_NEAR(wells.ConvertZToDepth("d1", tvd500), 500, 1e-6);  // letter case ignored
  EXPECT_NEAR(wells.ConvertDepthToAltitude("D1", 500), 120 - tvd500, 1e-9);
  EXPECT_NEAR(wells.ConvertAltitudeToDepth("D1", 120 - tvd500), 500, 1e-6);
  EXPECT_DOUBLE_EQ(wells.ConvertDepthToZ("V1", 777.5), 777.5);
  EXPECT_DOUBLE_EQ(wells.ConvertDepthToAltitude("V1", 777.5), 50 - 777.5);
  // Missing stays missing; an unknown well gives the missing value.
  EXPECT_EQ(wells.ConvertDepthToZ("D1", kFltMax), kFltMax);
  EXPECT_EQ(wells.ConvertAltitudeToDepth("D1", kFltMax), kFltMax);
  EXPECT_EQ(wells.ConvertDepthToZ("nowhere", 100), kFltMax);
  // Beyond the survey: extrapolated, unless asked to stay within it.
  EXPECT_NEAR(wells.ConvertDepthToZ("D1", 1100), 1041.5321989298159, 1e-9);
  EXPECT_EQ(wells.ConvertDepthToZ("D1", 1100, true), kFltMax);
}

}  // namespace
}  // namespace davodu
