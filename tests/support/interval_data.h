// A well database for the interval tests, filled through the importer.
//
// "W1": a vertical well, kelly bushing 100 m (altitude depth = measured
// depth - 100), with
//   level 3 stratification (STRATUM_LEVEL3): 沙一段 1000-1010, 沙二段
//     1010-1025, 沙三段 1025-1040, and 沙三段 again 1030-1035 overlapping;
//   sand rows (name, sand-stratum, sand, valid):
//     0 S1  1001-1008  1002-1007  1003-1006
//     1 S1x    -          -       1006.2-1006.8   (inside S1's body)
//     2 S2  1012-1020  1013-1019     -
//     3 S3      0      1030-1033     -            (no sand-stratum: 0)
//   a fault point at 1020 m with a gap of 5 m ("F1");
//   segment table 1: 1000-1005, 1010-1015, 1020-1030.
// "D1": a well built to 60 degrees from 1000 m (true vertical depth well
//   above measured depth below 1000 m), level 3 stratification 沙一段
//   1000-1100, 沙二段 1100-1200, a fault point at 1150 m with a 10 m gap.
// The scattered segment table "T" (depth, thickness, LAYER): 1000 +5 a,
//   1005 +10 b, 1020 +3 c.
#ifndef DAVODU_TESTS_SUPPORT_INTERVAL_DATA_H_
#define DAVODU_TESTS_SUPPORT_INTERVAL_DATA_H_

#include <string>

namespace davodu {
class CWellDataManager;
}

namespace davodu::testing {

// Fills an open database; false with *error set.
bool FillIntervalWells(CWellDataManager& wells, std::string* error);

}  // namespace davodu::testing

#endif  // DAVODU_TESTS_SUPPORT_INTERVAL_DATA_H_
