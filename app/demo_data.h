// The demo's well database: a synthetic well and, when the shared LAS
// corpus is present, a real log as a second well.
#ifndef DAVODU_APP_DEMO_DATA_H_
#define DAVODU_APP_DEMO_DATA_H_

#include <string>

namespace davodu {
class CWellDataManager;
}

namespace davodu::app {

// The synthetic well's name (UTF-8) and its logged interval.
constexpr const char* kDemoWell = "示例1井";
constexpr double kDemoTop = 1000;
constexpr double kDemoBottom = 2200;

// Fills an open, empty database: the synthetic well with its header,
// deviation survey, curves GR, SP, RT, RXO, AC, DEN, CNL, stratification at
// three levels (formations, members, sub-members with script aliases in the
// catalogue), sands where the logs read sand and a fault point; and the
// real log when las_path names a readable file. Returns false with *error
// set.
bool BuildDemoDatabase(CWellDataManager& wells, const std::string& las_path, std::string* error);

}  // namespace davodu::app

#endif  // DAVODU_APP_DEMO_DATA_H_
