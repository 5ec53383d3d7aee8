#include "davodu/well/wp_track.h"

#include <algorithm>

#include "davodu/host/gbk.h"
#include "davodu/host/zu_map_file.h"
#include "davodu/kits/menu_ids.h"
#include "davodu/kits/wp_content.h"

namespace davodu {

DAVODU_IMPLEMENT_DYNCREATE(CWpTrack, CWpInWell)

CWpTrack::CWpTrack(CZuLayer* layer) : CWpInWell(layer) { Initialize(); }

CWpTrack::~CWpTrack() { ClearChildren(); }

void CWpTrack::Initialize() {
  class_name_ = "CWpTrack";
  name_ = type_name_ = title_text_ = "WpTrack";
}

void CWpTrack::Clear() {
  CWpInWell::Clear();
  draw_order_.clear();
  Initialize();
}

void CWpTrack::AddChild(CWpKit* kit) {
  const int before = ChildrenCount();
  CWpInWell::AddChild(kit);
  if (ChildrenCount() > before) draw_order_.push_back(before);
}

void CWpTrack::InsertChild(int index, CWpKit* kit) {
  const int before = ChildrenCount();
  if (index < 0 || index >= before) {
    AddChild(kit);
    return;
  }
  CWpInWell::InsertChild(index, kit);
  if (ChildrenCount() == before) return;
  for (int& i : draw_order_)
    if (i >= index) ++i;
  draw_order_.push_back(index);
}

void CWpTrack::RemoveChild(CWpKit* kit) {
  const int index = FindChild(kit);
  if (index < 0) return;
  CWpInWell::RemoveChild(kit);
  draw_order_.erase(std::remove(draw_order_.begin(), draw_order_.end(), index), draw_order_.end());
  for (int& i : draw_order_)
    if (i > index) --i;
}

void CWpTrack::NormalizeDrawOrder() {
  const int n = ChildrenCount();
  std::vector<int> order;
  std::vector<bool> seen(static_cast<std::size_t>(n), false);
  for (int i : draw_order_)
    if (i >= 0 && i < n && !seen[static_cast<std::size_t>(i)]) {
      seen[static_cast<std::size_t>(i)] = true;
      order.push_back(i);
    }
  for (int i = 0; i < n; ++i)
    if (!seen[static_cast<std::size_t>(i)]) order.push_back(i);
  draw_order_ = std::move(order);
}

void CWpTrack::SetDrawOrder(const std::vector<int>& order) {
  draw_order_ = order;
  NormalizeDrawOrder();
}

void CWpTrack::DrawChildren(CDC* dc, CView* view, CRect* clip, CRect* done) {
  NormalizeDrawOrder();
  for (int i : draw_order_) GetChild(i)->Draw(dc, view, clip, done);
}

int CWpTrack::FindDrawOrderIndex(int child_index) const {
  auto it = std::find(draw_order_.begin(), draw_order_.end(), child_index);
  return it == draw_order_.end() ? -1 : static_cast<int>(it - draw_order_.begin());
}

void CWpTrack::MoveMostFront(CWpKit* kit) {
  const int k = FindDrawOrderIndex(FindChild(kit));
  if (k < 0) return;
  const int v = draw_order_[static_cast<std::size_t>(k)];
  draw_order_.erase(draw_order_.begin() + k);
  draw_order_.push_back(v);
}

void CWpTrack::MoveMostBack(CWpKit* kit) {
  const int k = FindDrawOrderIndex(FindChild(kit));
  if (k < 0) return;
  const int v = draw_order_[static_cast<std::size_t>(k)];
  draw_order_.erase(draw_order_.begin() + k);
  draw_order_.insert(draw_order_.begin(), v);
}

void CWpTrack::MoveFront(CWpKit* kit) {
  const int k = FindDrawOrderIndex(FindChild(kit));
  if (k < 0) return;
  const int n = static_cast<int>(draw_order_.size());
  const int v = draw_order_[static_cast<std::size_t>(k)];
  draw_order_.erase(draw_order_.begin() + k);
  draw_order_.insert(draw_order_.begin() + std::min(k + 1, n - 1), v);
}

void CWpTrack::MoveBack(CWpKit* kit) {
  const int k = FindDrawOrderIndex(FindChild(kit));
  if (k < 0) return;
  const int v = draw_order_[static_cast<std::size_t>(k)];
  draw_order_.erase(draw_order_.begin() + k);
  draw_order_.insert(draw_order_.begin() + std::max(k - 1, 0), v);
}

void CWpTrack::AddMoveMenu(CZuMapFile* file, CWpKit* kit) {
  if (!file || !kit || kit->GetParent() != this || draw_order_.size() == 1) return;
  const int k = FindDrawOrderIndex(FindChild(kit));
  if (k < 0) return;
  const int n = static_cast<int>(draw_order_.size());
  if (k != n - 1) file->AddMenu(kCmdMoveMostFront, Gbk("置于顶层"));
  if (k != 0) file->AddMenu(kCmdMoveMostBack, Gbk("置于底层"));
  if (k < n - 1) file->AddMenu(kCmdMoveFront, Gbk("上移一层"));
  if (k > 0) file->AddMenu(kCmdMoveBack, Gbk("下移一层"));
  file->AddMenu(0, "");
}

void CWpTrack::AddDivideMenu(CZuMapFile* file) {
  if (file && GroupsCount() > 1) file->AddMenu(kCmdDivideGroups, Gbk("均分子道"));
}

int CWpTrack::GroupsCount() const {
  int groups = 0;
  for (const CWpKit* c : children_)
    if (auto* content = dynamic_cast<const CWpContent*>(c))
      groups = std::max(groups, content->GetGroup() + 1);
  return groups;
}

void CWpTrack::AverageDivideGroupHeight() {
  const int k = GroupsCount();
  if (k == 0) return;
  const float share = GetClientHeight() / static_cast<float>(k);
  for (CWpKit* c : children_) c->SetTitleHeight(share);
  for (CWpKit* c : children_) ResetClient(c);
  RebuildParent();
}

}  // namespace davodu
