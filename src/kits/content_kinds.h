// The content kinds offered by the "add column" menus, and the command id
// ranges of those menus. Kind k names a content such as "曲线" (1) or "深度"
// (22); kind 0, "内容", is an empty track.
#ifndef DAVODU_KITS_CONTENT_KINDS_H_
#define DAVODU_KITS_CONTENT_KINDS_H_

#include <string>

namespace davodu {

constexpr int kContentKindCount = 23;

// The GBK name of kind k (0..22); empty outside. The table is built once,
// when the module starts.
const std::string& ContentKindName(int kind);
// Builds the table; DaVoduAttach calls it, later calls do nothing.
void InitContentKindNames();

// The well's menu: a new track of kind id - 8004 at the right end.
constexpr unsigned kCmdWellTrackFirst = 8004;
constexpr unsigned kCmdWellTrackLast = 8026;
// A track's in-well menu, first block: kind id - 8027.
constexpr unsigned kCmdInWellTrackAFirst = 8028;
constexpr unsigned kCmdInWellTrackALast = 8049;
// A track's in-well menu, second block: kind id - 8050.
constexpr unsigned kCmdInWellTrackBFirst = 8051;
constexpr unsigned kCmdInWellTrackBLast = 8072;
// A track's own menu: a content of kind id - 8073 inside it.
constexpr unsigned kCmdTrackContentFirst = 8074;
constexpr unsigned kCmdTrackContentLast = 8095;

}  // namespace davodu

#endif  // DAVODU_KITS_CONTENT_KINDS_H_
