// Command identifiers of the kits' context menus.
#ifndef DAVODU_KITS_MENU_IDS_H_
#define DAVODU_KITS_MENU_IDS_H_

namespace davodu {

// Kit menu.
constexpr unsigned kCmdClear = 16548;          // "清空[...]"
constexpr unsigned kCmdMoveFront = 16549;      // "上移一层"
constexpr unsigned kCmdMoveBack = 16550;       // "下移一层"
constexpr unsigned kCmdMoveMostFront = 16551;  // "置于顶层"
constexpr unsigned kCmdMoveMostBack = 16552;   // "置于底层"
constexpr unsigned kCmdDivideGroups = 16553;   // "均分子道"
constexpr unsigned kCmdEditProgram = 7589;     // "编辑程序"
constexpr unsigned kCmdDelete = 49765;         // "删除[...]"

}  // namespace davodu

#endif  // DAVODU_KITS_MENU_IDS_H_
