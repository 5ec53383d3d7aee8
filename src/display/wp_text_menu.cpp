// The text kit: its context menu and commands.
#include "davodu/display/wp_text.h"
#include "davodu/host/dialogs/dialogs.h"
#include "davodu/host/objects/zu_map_file.h"
#include "davodu/host/util/gbk.h"
#include "davodu/kits/menu_ids.h"

namespace davodu {

int CWpText::OnRButtonDown(CView* view, CDC* dc, unsigned flags, CPoint point) {
  CZuMapFile* doc = GetMapFile();
  if (doc && !doc->GetMenu().empty()) doc->AddMenu(0, "");
  if (doc && PtInBody(point) && SegActive() && GetSegment(point) == active_) {
    doc->AddMenu(kCmdDeleteBlock, Gbk("删除该段"));
    return 0;
  }
  return CWpInWell::OnRButtonDown(view, dc, flags, point);
}

int CWpText::OnCommand(CView* view, CDC* dc, unsigned id, long param) {
  switch (id) {
    case kCmdDeleteBlock:
      DeleteSegment(active_);
      active_ = -1;
      pick_mode_ = SPM_NONE;
      InvalidateBody();
      SetModifyFlag();
      return 2;
    case kCmdClear:
      // The blocks go only when the user confirms the clearing.
      if (AfxGetDialogs().AskYesNo(Gbk("确定进行清空操作吗?"))) {
        ClearContent();
        ClearChildren();
        InvalidateBody();
        SetModifyFlag();
      }
      return 2;
    case kCmdDelete:
      ClearContent();
      break;
    default:
      break;
  }
  return CWpKit::OnCommand(view, dc, id, param);
}

}  // namespace davodu
