#include "davodu/kits/content_kinds.h"

#include <array>
#include <mutex>

#include "davodu/host/util/gbk.h"

namespace davodu {

namespace {

std::array<std::string, kContentKindCount> g_names;
std::once_flag g_names_once;

}  // namespace

void InitContentKindNames() {
  std::call_once(g_names_once, [] {
    static const char* const kNames[kContentKindCount] = {
        "内容", "曲线", "岩性",   "砂岩", "砂层", "分层", "旋回",     "层理",
        "沉积相", "射孔", "试油", "解释结果", "图片", "图形", "参数",   "文本",
        "吸水", "产液剖面", "井壁取芯", "取芯综合", "岩样", "可编程", "深度"};
    for (int i = 0; i < kContentKindCount; ++i) g_names[static_cast<std::size_t>(i)] = Gbk(kNames[i]);
  });
}

const std::string& ContentKindName(int kind) {
  static const std::string kEmpty;
  if (kind < 0 || kind >= kContentKindCount) return kEmpty;
  InitContentKindNames();
  return g_names[static_cast<std::size_t>(kind)];
}

}  // namespace davodu
