// The context menu every kit offers (draw order, delete, clear) and its
// commands.
#include <string>

#include "davodu/host/dialogs/dialogs.h"
#include "davodu/host/objects/zu_map_file.h"
#include "davodu/host/util/gbk.h"
#include "davodu/kits/menu_ids.h"
#include "davodu/kits/wp_kit.h"
#include "davodu/well/wp_track.h"

namespace davodu {

std::string CWpKit::MenuLabel() const {
  if (!title_text_.empty()) return title_text_;
  return KindLabel();
}

std::string CWpKit::KindLabel() const { return Gbk("当选对象"); }

int CWpKit::OnRButtonDown(CView* view, CDC* dc, unsigned flags, CPoint point) {
  const std::string label = MenuLabel();
  if (CZuMapFile* doc = GetMapFile()) {
    if (parent_) {
      BuildControlNodePointArray();
      AddParentMenu(doc);
      AddOwnMenu(doc);
      doc->AddMenu(kCmdDelete, Gbk("删除[") + label + "](&D)");
    }
    if (!children_.empty()) doc->AddMenu(kCmdClear, Gbk("清空[") + label + "](&Q)");
  }
  return CZuObject::OnRButtonDown(view, dc, flags, point);
}

int CWpKit::OnCommand(CView*, CDC*, unsigned id, long) {
  switch (id) {
    case kCmdClear:
      if (AfxGetDialogs().AskYesNo(Gbk("确定进行清空操作吗?"))) {
        ClearChildren();
        UpdateSelf();
      }
      break;
    case kCmdDelete:
      DeleteFromParent();
      break;
    default:
      OnOrderCommand(id);
      break;
  }
  return 2;
}

void CWpKit::AddParentMenu(CZuMapFile* file) {
  if (auto* track = dynamic_cast<CWpTrack*>(parent_)) track->AddMoveMenu(file, this);
  if (auto* self = dynamic_cast<CWpTrack*>(this)) self->AddDivideMenu(file);
}

bool CWpKit::OnOrderCommand(unsigned id) {
  if (id == kCmdDivideGroups) {
    if (auto* self = dynamic_cast<CWpTrack*>(this)) self->AverageDivideGroupHeight();
    return true;
  }
  if (id < kCmdMoveFront || id > kCmdMoveMostBack) return false;
  auto* track = IsSubKit() ? static_cast<CWpTrack*>(parent_) : nullptr;
  if (!track) return true;
  switch (id) {
    case kCmdMoveFront: track->MoveFront(this); break;
    case kCmdMoveBack: track->MoveBack(this); break;
    case kCmdMoveMostFront: track->MoveMostFront(this); break;
    case kCmdMoveMostBack: track->MoveMostBack(this); break;
  }
  track->UpdateSelf();
  return true;
}

void CWpKit::DeleteFromParent() {
  CWpKit* parent = parent_;
  if (!parent) return;
  if (GetWpKitType() == WPKIT_TRACK) parent->SetWidth(parent->GetWidth() - width_);
  parent->DeleteChild(this);  // this is gone from here on
  parent->UpdateSelf();
  if (parent->GetWpKitType() == WPKIT_TRACK && parent->ChildrenCount() == 0) {
    CWpKit* grand = parent->GetParent();
    if (!grand) return;
    grand->SetWidth(grand->GetWidth() - parent->GetWidth());
    grand->DeleteChild(parent);
    grand->UpdateSelf();
  }
}

}  // namespace davodu
