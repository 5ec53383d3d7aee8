// The track's context menu: a content of every kind to add inside it, the
// draw-order items its parent offers for a child and the group divider, and
// the track's commands.
#include "davodu/host/objects/zu_map_file.h"
#include "davodu/host/util/gbk.h"
#include "davodu/kits/content_kinds.h"
#include "davodu/kits/menu_ids.h"
#include "davodu/well/wp_track.h"
#include "davodu/well/wp_track_builder.h"

namespace davodu {

int CWpTrack::OnRButtonDown(CView* view, CDC* dc, unsigned flags, CPoint point) {
  if (CZuMapFile* doc = GetMapFile()) {
    if (!doc->GetMenu().empty()) doc->AddMenu(0, "");
    for (int kind = 1; kind < kContentKindCount; ++kind)
      doc->AddMenu(kCmdTrackContentFirst + static_cast<unsigned>(kind - 1), ContentKindName(kind));
  }
  // Then the columns beside this one and the kit menu.
  return CWpInWell::OnRButtonDown(view, dc, flags, point);
}

int CWpTrack::OnCommand(CView* view, CDC* dc, unsigned id, long param) {
  // Contents inside this track (8074 to 8095) and tracks beside it (8028 to
  // 8072); any other id is one of the kit's commands.
  CWpTrackBuilder(this).AddChild(id);
  return CWpInWell::OnCommand(view, dc, id, param);
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

std::string CWpTrack::KindLabel() const { return Gbk("内容道"); }

}  // namespace davodu
