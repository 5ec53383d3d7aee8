// Layout of a track: minimum sizes, the width shared out over the groups,
// the group rows stacked and fitted into the client band, and the head.
#include <algorithm>
#include <cmath>
#include <map>
#include <vector>

#include "davodu/well/detail/track_group.h"
#include "davodu/well/wp_track.h"

namespace davodu {

namespace {

using track::GroupOf;

// The groups of a track in the order of their first child, with their
// members in child order. Every layout step works through this list, made
// in one pass, so that a track of n contents is laid out in O(n log n)
// rather than by a scan of all children for every group.
struct Group {
  int number;
  std::vector<CWpKit*> members;
  float title = 0;      // the highest title row of a member
  float min_title = 0;  // the highest minimum title row of a member
  bool held = false;    // held at its minimum row while the band is squeezed
};

std::vector<Group> CollectGroups(const std::vector<CWpKit*>& children) {
  std::vector<Group> groups;
  std::map<int, std::size_t> index;
  for (CWpKit* c : children) {
    const int g = GroupOf(c);
    const auto [it, added] = index.try_emplace(g, groups.size());
    if (added) groups.push_back({g, {}});
    groups[it->second].members.push_back(c);
  }
  return groups;
}

// The title rows of each group as GroupTitle and MinGroupTitle give them.
void MeasureGroups(std::vector<Group>* groups) {
  for (Group& g : *groups) {
    g.title = g.min_title = 0;
    for (CWpKit* c : g.members) {
      g.title = std::max(g.title, c->GetTitleHeight());
      g.min_title = std::max(g.min_title, c->MinTitle());
    }
  }
}

// Holds, one at a time, the first group (in child order) whose share of
// the band a, in proportion to its row among the rows b, would fall below
// its minimum; each one held takes its minimum out of the band and its row
// out of the rows left to share. Appends the first member of each group
// held to *mins and returns the groups held, in the order they were.
std::vector<const Group*> HoldAtMinimum(float a, float b, std::vector<Group>* groups,
                                        std::vector<CWpKit*>* mins) {
  std::vector<const Group*> held;
  auto hold = [&](Group& g) {
    g.held = true;
    mins->push_back(g.members.front());
    held.push_back(&g);
  };
  for (;;) {
    if (b <= a) return held;
    if (a < 0) {
      for (Group& g : *groups)
        if (!g.held) hold(g);
      return held;
    }
    // Here b > a >= 0, so the ratio is finite.
    const float r = a / b;
    Group* found = nullptr;
    for (Group& g : *groups)
      if (!g.held && g.title * r < g.min_title) {
        found = &g;
        break;
      }
    if (!found) return held;
    hold(*found);
    a -= found->min_title;
    b -= found->title;
  }
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

void CWpTrack::ResetClient() {
  BuildHead();
  UpdateGroup();
  std::vector<Group> groups = CollectGroups(children_);
  MeasureGroups(&groups);
  float c = 0;
  for (Group& g : groups) {
    const float t = std::max(g.title, g.min_title);
    for (CWpKit* m : g.members) {
      m->SetTitleHeight(t);
      m->SetClientHeight(c);
    }
    g.title = t;  // every member now has this row
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
  // The rows not held share what the held minimums leave of the band, in
  // proportion to their heights, so that the rows fill the band exactly.
  float held_min = 0, held_rows = 0;
  for (const Group* g : HoldAtMinimum(a, s, &groups, &mins_)) {
    held_min += g->min_title;
    held_rows += g->title;
  }
  // With every row held nothing is left to share (and no height to divide
  // by); a band smaller than the held minimums leaves the others no room.
  const float rest = s - held_rows;
  float r = rest > 0 ? (a - held_min) / rest : 0.0f;
  if (!(r > 0)) r = 0;
  float h = 0;
  bool any = false;
  int last = 0;
  for (const Group& g : groups) {
    // Groups are numbered in child order once UpdateGroup ran; a group
    // numbered below the one before it is laid out with it, as before.
    if (any && g.number <= last) continue;
    any = true;
    last = g.number;
    const float d = g.held ? g.min_title : g.title * r;
    for (CWpKit* m : g.members) {
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
  std::vector<Group> groups = CollectGroups(children_);
  MeasureGroups(&groups);
  float sum = 0;
  for (const Group& group : groups) sum += group.title;
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
