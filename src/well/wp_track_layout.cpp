// Layout of a track: minimum sizes, the width shared out over the groups,
// the group rows stacked and fitted into the client band, and the head.
#include <algorithm>
#include <cmath>
#include <vector>

#include "davodu/well/detail/track_group.h"
#include "davodu/well/wp_track.h"

namespace davodu {

namespace {

using track::GroupOf;

// The groups of a track in the order of their first child, with their
// members in child order.
struct Group {
  int number;
  std::vector<CWpKit*> members;
};

std::vector<Group> CollectGroups(const std::vector<CWpKit*>& children) {
  std::vector<Group> groups;
  for (CWpKit* c : children) {
    const int g = GroupOf(c);
    auto it = std::find_if(groups.begin(), groups.end(), [g](const Group& x) { return x.number == g; });
    if (it == groups.end())
      groups.push_back({g, {c}});
    else
      it->members.push_back(c);
  }
  return groups;
}

}  // namespace

float CWpTrack::MinWidth() {
  float m = 0.1f;
  for (CWpKit* c : children_) m = std::max(m, c->MinWidth());
  return m;
}

float CWpTrack::MinTitle() {
  return title_visible_ && !title_text_.empty() ? title_font_.height : 0.0f;
}

float CWpTrack::MinClient() {
  float sum = 0;
  float row = 0;
  bool open = false;
  int last = 0;
  for (CWpKit* c : children_) {
    const int g = GroupOf(c);
    if (!open || g > last) {
      sum += row;
      row = 0;
      last = g;
      open = true;
    }
    row = std::max(row, c->MinTitle());
  }
  return sum + row;
}

void CWpTrack::ResetWidth() { ResetWidth(-1); }

void CWpTrack::ResetWidth(int skip_group) {
  BuildControlNodePointArray();
  const FLOATPOINT origin = map_nodes_[0];
  const double track_width = width_;
  const std::vector<Group> groups = CollectGroups(children_);
  for (const Group& g : groups) {
    if (g.number == skip_group || g.members.size() != 1) continue;
    CWpKit* c = g.members.front();
    c->SetWidth(width_);
    c->SetPosition(origin, 1);
    c->BuildControlNodePointArray();
  }
  for (const Group& g : groups) {
    if (g.number == skip_group || g.members.size() < 2) continue;
    double sum = 0;
    for (const CWpKit* c : g.members) sum += c->GetWidth();
    // Members whose widths add up to nothing (or to no number at all) have
    // no proportions to keep: they share the width equally.
    const bool equal = !(sum > 0) || !std::isfinite(sum);
    double x = origin.x;
    for (CWpKit* c : g.members) {
      const double w = equal ? track_width / static_cast<double>(g.members.size())
                             : c->GetWidth() * (track_width / sum);
      c->SetWidth(static_cast<float>(w));
      c->SetPosition(FLOATPOINT{x, origin.y}, 1);
      c->BuildControlNodePointArray();
      x += c->GetWidth();
    }
  }
}

void CWpTrack::ResetWidth(CWpKit* kit, int side) {
  if (FindChild(kit) < 0) return;
  const int g = GroupOf(kit);
  float w = 0;
  for (const CWpKit* c : children_)
    if (GroupOf(c) == g) w += c->GetWidth();
  SetWidth(w);
  if (side == 0) SetPosition(FLOATPOINT{map_nodes_[1].x - width_, map_nodes_[0].y}, 1);
  BuildControlNodePointArray();
  ResetWidth(g);
  if (parent_) parent_->ResetWidth(this, side);
}

bool CWpTrack::IsInMins(int group) const {
  return std::any_of(mins_.begin(), mins_.end(),
                     [group](const CWpKit* c) { return GroupOf(c) == group; });
}

void CWpTrack::MarkMinClient(float a, float b) {
  for (;;) {
    if (b <= a) return;
    if (a < 0) {
      for (CWpKit* c : children_)
        if (!IsInMins(GroupOf(c))) mins_.push_back(c);
      return;
    }
    // Here b > a >= 0, so the ratio is finite.
    const float r = a / b;
    bool added = false;
    for (CWpKit* c : children_) {
      const int g = GroupOf(c);
      if (IsInMins(g)) continue;
      const float m = MinGroupTitle(g);
      const float row = GroupTitle(g);
      if (row * r < m) {
        // The held row takes its minimum out of the band and its own
        // height out of the rows left to share.
        mins_.push_back(c);
        a -= m;
        b -= row;
        added = true;
        break;
      }
    }
    if (!added) return;
  }
}

void CWpTrack::ResetClient() {
  BuildHead();
  UpdateGroup();
  const std::vector<Group> groups = CollectGroups(children_);
  float c = 0;
  for (const Group& g : groups) {
    const float t = std::max(GroupTitle(g.number), MinGroupTitle(g.number));
    for (CWpKit* m : g.members) {
      m->SetTitleHeight(t);
      m->SetClientHeight(c);
    }
    c += t;
  }
  const float s = c;
  const float a = GetClientHeight();
  if (a > s || std::fabs(a - s) < 0.0001f) {
    // Rows that add up to nothing have no proportions to scale.
    const float q = s > 0 ? a / s : 1.0f;
    for (CWpKit* k : children_) {
      k->SetTitleHeight(k->GetTitleHeight() * q);
      k->SetClientHeight(k->GetClientHeight() * q);
      k->BuildHead();
    }
    return;
  }
  // Squeeze: groups that would fall below their minimum row are held at it,
  // the others share the rest in proportion.
  mins_.clear();
  MarkMinClient(a, s);
  // The rows not held share what the held minimums leave of the band, in
  // proportion to their heights, so that the rows fill the band exactly.
  float held_min = 0, held_rows = 0;
  for (const CWpKit* m : mins_) {
    held_min += MinGroupTitle(GroupOf(m));
    held_rows += GroupTitle(GroupOf(m));
  }
  // With every row held nothing is left to share (and no height to divide
  // by); a band smaller than the held minimums leaves the others no room.
  const float rest = s - held_rows;
  float r = rest > 0 ? (a - held_min) / rest : 0.0f;
  if (!(r > 0)) r = 0;
  float h = 0;
  bool any = false;
  int last = 0;
  for (CWpKit* k : children_) {
    const int g = GroupOf(k);
    if (any && g <= last) continue;
    any = true;
    last = g;
    const float d = IsInMins(g) ? MinGroupTitle(g) : GroupTitle(g) * r;
    for (CWpKit* m : children_) {
      if (GroupOf(m) != g) continue;
      m->SetTitleHeight(d);
      m->SetClientHeight(h);
      m->BuildHead();
    }
    h += d;
  }
  mins_.clear();
  BuildHead();
}

void CWpTrack::ResetClient(CWpKit* kit) {
  if (FindChild(kit) < 0) return;
  const int g = GroupOf(kit);
  if (GroupContentCount(g) > 1) {
    const float t = kit->GetTitleHeight();
    for (CWpKit* c : children_)
      if (GroupOf(c) == g) {
        c->SetTitleHeight(t);
        c->BuildHead();
      }
  }
  float sum = 0;
  for (const Group& group : CollectGroups(children_)) sum += GroupTitle(group.number);
  SetClientHeight(sum);
  ResetClient();
  CWpInWell::ResetClient(kit);
  if (parent_) parent_->ResetClient(this);
}

void CWpTrack::Reset() {
  if (!raising_client_ && GetClientHeight() < MinClient()) {
    struct Raising {
      bool& flag;
      explicit Raising(bool& f) : flag(f) { flag = true; }
      ~Raising() { flag = false; }
    } raising(raising_client_);
    SetClientHeight(MinClient());
    ResetClient();
    ResetWidth();
    Reset();
    OnChanged(nullptr);
    RebuildParent();
  }
  ResetClient();
  ResetWidth();
  BuildControlNodePointArray();
}

void CWpTrack::BuildHead() {
  CWpInWell::BuildHead();
  // Nodes 6 and 7 carry the width handles in the middle of the title band,
  // as for a content.
  const double mid = (map_nodes_[2].y + map_nodes_[4].y) / 2;
  map_nodes_[6].y = mid;
  map_nodes_[7].y = mid;
  MapToDrawNode(6);
  MapToDrawNode(7);
  BuildRect();
}

}  // namespace davodu
