// The picture kit: its context menu and commands.
#include "davodu/display/wp_picture.h"
#include "davodu/host/objects/zu_map_file.h"
#include "davodu/host/util/gbk.h"
#include "davodu/kits/menu_ids.h"

namespace davodu {

int CWpPicture::OnRButtonDown(CView* view, CDC* dc, unsigned flags, CPoint point) {
  CZuMapFile* doc = GetMapFile();
  if (doc && !doc->GetMenu().empty()) doc->AddMenu(0, "");
  if (doc && PtInBody(point) && GetSegment(point) == -1) {
    menu_point_ = point;
    doc->AddMenu(kCmdAddBlock, Gbk("添加"));
  }
  if (doc && PtInBody(point) && SegActive()) {
    if (GetSegment(point) != active_) return 0;
    doc->AddMenu(kCmdDeleteBlock, Gbk("删除"));
    doc->AddMenu(kCmdReplace, Gbk("更换"));
    doc->AddMenu(kCmdOwnScale, Gbk("原比例显示"));
    doc->AddMenu(kCmdLock, Gbk(FindSeg(active_)->IsScaleLock() ? "解开比例锁定" : "比例锁定"));
    return 0;
  }
  return CWpInWell::OnRButtonDown(view, dc, flags, point);
}

int CWpPicture::OnCommand(CView* view, CDC* dc, unsigned id, long param) {
  fit_pending_.clear();
  switch (id) {
    case kCmdAddBlock:
      AddSegment(menu_point_);
      break;
    case kCmdDeleteBlock:
      if (SegActive()) {
        RemoveSegment(active_);
        InvalidBody();
        active_ = -1;
        pick_mode_ = SPM_NONE;
        SetModifyFlag();
      }
      break;
    case kCmdReplace:
      if (SegActive()) ChangeSegmentData(active_);
      break;
    case kCmdLock:
      if (SegActive()) {
        SwitchSegmentScaleLock(active_);
        SetModifyFlag();
      }
      break;
    case kCmdOwnScale:
      if (SegActive()) {
        ResetPicScale();
        InvalidBody();
        InvalidParent();
        SetModifyFlag();
      }
      break;
    case kCmdDelete:
      ClearContent();
      break;
    default:
      break;
  }
  OnChanged(nullptr);
  return CWpKit::OnCommand(view, dc, id, param);
}

}  // namespace davodu
