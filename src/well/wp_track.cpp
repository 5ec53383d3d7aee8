#include "davodu/well/wp_track.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <string>

#include "davodu/display/wp_curve.h"
#include "davodu/display/wp_depth.h"
#include "davodu/display/wp_param.h"
#include "davodu/display/wp_picture.h"
#include "davodu/display/wp_program.h"
#include "davodu/display/wp_text.h"
#include "davodu/host/util/gbk.h"
#include "davodu/host/objects/object_factory.h"
#include "davodu/host/records/record_numbers.h"
#include "davodu/host/objects/zu_map_file.h"
#include "davodu/host/records/zu_mfile.h"
#include "davodu/interval/wp_corelith.h"
#include "davodu/interval/wp_oil_test.h"
#include "davodu/interval/wp_result.h"
#include "davodu/interval/wp_sand.h"
#include "davodu/interval/wp_stratum.h"
#include "davodu/interval/wp_water_entry.h"
#include "davodu/kits/menu_ids.h"
#include "davodu/kits/wp_content.h"
#include "davodu/special/wp_facies.h"
#include "davodu/special/wp_integrated_core.h"
#include "davodu/special/wp_lth_sample.h"
#include "davodu/special/wp_sand_stratum.h"
#include "davodu/special/wp_sidewall_core.h"
#include "davodu/special/wp_symble_cycle.h"
#include "davodu/special/wp_symble_shoot.h"
#include "davodu/special/wp_symble_texture.h"

namespace davodu {

namespace {

constexpr COLORREF kCurveColors[CWpTrack::kCurveColorCount] = {
    0x000000, 0x0000FF, 0xFF0000, 0x008000, 0x800080, 0x404000, 0x804000, 0xFF0080, 0x004080};
constexpr COLORREF kCurveColors2[CWpTrack::kCurveColorCount] = {
    0x808080, 0x000080, 0x800000, 0x808000, 0xFF00FF, 0x80FF00, 0xFF8000, 0x8000FF, 0x4080FF};

// The track layout reads group numbers from every child; only contents
// carry one.
int GroupOf(const CWpKit* kit) {
  auto* content = dynamic_cast<const CWpContent*>(kit);
  return content ? content->GetGroup() : 0;
}

void SetGroupOf(CWpKit* kit, int group) {
  if (auto* content = dynamic_cast<CWpContent*>(kit)) content->SetGroup(group);
}

ZULOGPEN MakePen(COLORREF color, float width) {
  ZULOGPEN pen;
  pen.color = color;
  pen.width = width;
  return pen;
}

// A pen block of a record: at most the pen's 20 bytes are taken.
void ReadPenBlock(const CZuMFile* file, int index, ZULOGPEN* pen) {
  const unsigned char* data = nullptr;
  std::size_t length = 0;
  if (!file->GetRecordElement(index, data, length) || !data) return;
  std::memcpy(static_cast<void*>(pen), data, std::min(length, sizeof *pen));
}

void WritePen(CZuMFile* file, const ZULOGPEN& pen) { file->AddRecordElement(&pen, sizeof pen); }

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

DAVODU_IMPLEMENT_DYNCREATE(CWpTrack, CWpInWell)

CWpTrack::CWpTrack(CZuLayer* layer) : CWpInWell(layer) { Initialize(); }

CWpTrack::~CWpTrack() { ClearChildren(); }

void CWpTrack::Initialize() {
  class_name_ = "CWpTrack";
  name_ = type_name_ = "WpTrk";
  title_text_.clear();
  border_flags_[0] = 1;
  border_flags_[2] = 0;
  mins_.clear();
  std::copy(std::begin(kCurveColors), std::end(kCurveColors), curve_colors_);
  std::copy(std::begin(kCurveColors2), std::end(kCurveColors2), curve_colors2_);
  show_depth_ = 1;
  show_scale_ = 1;
  log_scale_ = 0;
  show_mid_ = 0;
  maj_dep_ = 25;
  mid_dep_ = 5;
  min_dep_ = 1;
  left_ = 0.2f;
  right_ = 2000;
  maj_scale_ = 5;
  min_scale_ = 10;
  maj_dep_pen_ = MakePen(0x808080, 30);
  mid_dep_pen_ = MakePen(0x808080, 10);
  min_dep_pen_ = MakePen(0xC0C0C0, 10);
  maj_scale_pen_ = MakePen(0x808080, 10);
  mid_scale_pen_ = MakePen(0x4D4D4D, 10);
  min_scale_pen_ = MakePen(0xC0C0C0, 10);
  scale_scope_ = scale_line_scope_ = depth_scope_ = depth_line_scope_ = content_scope_ = 0;
  draw_order_.clear();
}

void CWpTrack::Clear() {
  CWpInWell::Clear();
  Initialize();
}

double CWpTrack::DocumentVersion() const {
  const CZuMapFile* doc = GetMapFile();
  return doc ? doc->GetVersion() : CZuMapFile::kCurrentVersion;
}

// ---------------------------------------------------------------- groups

void CWpTrack::UpdateGroup() {
  const std::size_t n = children_.size();
  int j = -1;
  for (std::size_t i = 0; i < n; ++i) {
    CWpKit* c = children_[i];
    if (GroupOf(c) < 0) SetGroupOf(c, 0);
    const int g = GroupOf(c);
    if (g > j) {
      ++j;
      if (g != j)
        for (std::size_t k = i; k < n; ++k)
          if (GroupOf(children_[k]) == g) SetGroupOf(children_[k], j);
    } else if (g < j) {
      // A child numbered below the group before it (only a damaged
      // document gives one) would split a group in two: it joins the
      // group it stands in.
      SetGroupOf(c, j);
    }
  }
}

int CWpTrack::GroupsCount() {
  if (children_.empty()) return 0;
  UpdateGroup();
  return GroupOf(children_.back()) + 1;
}

int CWpTrack::GroupContentCount(int group) const {
  return static_cast<int>(std::count_if(children_.begin(), children_.end(),
                                        [group](const CWpKit* c) { return GroupOf(c) == group; }));
}

int CWpTrack::LessGroupContentCount(int group) const {
  return static_cast<int>(std::count_if(children_.begin(), children_.end(),
                                        [group](const CWpKit* c) { return GroupOf(c) < group; }));
}

void CWpTrack::InitGroup() {
  if (DocumentVersion() > 3.0) {
    UpdateGroup();
    return;
  }
  // Older documents stored 0 for a child that opens a group and non-zero
  // for one that joins the child before it; only the first such child of
  // the track opened a group all the same.
  int p = -1;
  bool first_joined = true;
  for (CWpKit* c : children_) {
    int given = p + 1;
    if (GroupOf(c) != 0) {
      if (!first_joined) given = p;
      first_joined = false;
    }
    SetGroupOf(c, given);
    p = given;
  }
}

float CWpTrack::GroupTitle(int group) const {
  float t = 0;
  for (const CWpKit* c : children_)
    if (GroupOf(c) == group) t = std::max(t, c->GetTitleHeight());
  return t;
}

float CWpTrack::MinGroupTitle(int group) {
  float t = 0;
  for (CWpKit* c : children_)
    if (GroupOf(c) == group) t = std::max(t, c->MinTitle());
  return t;
}

void CWpTrack::SetGroupTitle(int group, float height) {
  for (CWpKit* c : children_)
    if (GroupOf(c) == group) c->SetTitleHeight(height);
}

void CWpTrack::InitChildTitle() {
  const int k = GroupsCount();
  if (k == 0) return;
  const float share = GetClientHeight() / static_cast<float>(k);
  for (int g = 0; g < k; ++g) SetGroupTitle(g, std::max(share, MinGroupTitle(g)));
}

void CWpTrack::AverageDivideGroupHeight() {
  const int k = GroupsCount();
  if (k == 0) return;
  const float share = GetClientHeight() / static_cast<float>(k);
  for (CWpKit* c : children_) c->SetTitleHeight(share);
  // ResetClient(child) reaches the parent, which may call back into this
  // track: walk a copy of the list.
  const std::vector<CWpKit*> children = children_;
  for (CWpKit* c : children) ResetClient(c);
  RebuildParent();
}

// ---------------------------------------------------------------- children

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

void CWpTrack::AddChild(CWpKit* kit, int join) {
  if (!kit || kit == this || FindChild(kit) >= 0) return;
  const int g = GroupsCount();
  CWpKit* last = children_.empty() ? nullptr : children_.back();
  CWpInWell::AddChild(kit);
  if (FindChild(kit) < 0) return;
  if (join && g > 0 && last) {
    kit->SetTitleHeight(last->GetStoredTitleHeight());
    kit->SetClientHeight(last->GetStoredClientHeight());
    SetGroupOf(kit, g - 1);
  } else {
    kit->SetWidth(width_);
    SetGroupOf(kit, g);
    InitChildTitle();
  }
  draw_order_.push_back(ChildrenCount() - 1);
}

void CWpTrack::InsertChild(int index, CWpKit* kit, int group_type) {
  if (!kit || kit == this || FindChild(kit) >= 0) return;
  const std::vector<CWpKit*> old_children = children_;
  // The plain kit forms: the draw order is carried over below.
  if (index < 0 || index >= ChildrenCount())
    CWpKit::AddChild(kit);
  else
    CWpKit::InsertChild(index, kit);
  const int p = FindChild(kit);
  if (p < 0) return;
  const int n = ChildrenCount();
  auto at = [this](int i) { return children_[static_cast<std::size_t>(i)]; };
  auto join = [kit](CWpKit* neighbour) {
    SetGroupOf(kit, GroupOf(neighbour));
    kit->SetTitleHeight(neighbour->GetStoredTitleHeight());
    kit->SetClientHeight(neighbour->GetStoredClientHeight());
  };
  if (p == 0) {
    SetGroupOf(kit, 0);
    kit->SetClientHeight(0);
    if (group_type > 0) {
      if (n >= 2) kit->SetTitleHeight(at(1)->GetStoredTitleHeight());
    } else {
      for (int i = 1; i < n; ++i) SetGroupOf(at(i), GroupOf(at(i)) + 1);
      InitChildTitle();
    }
  } else if (p == n - 1) {
    if (group_type < 0) {
      join(at(p - 1));
    } else {
      SetGroupOf(kit, GroupOf(at(p - 1)) + 1);
      InitChildTitle();
    }
  } else if (group_type < 0) {
    join(at(p - 1));
  } else if (group_type == 0) {
    SetGroupOf(kit, GroupOf(at(p - 1)) + 1);
    for (int i = p + 1; i < n; ++i) SetGroupOf(at(i), GroupOf(at(i)) + 1);
    InitChildTitle();
  } else {
    join(at(p + 1));
  }
  SortDrawOrder(old_children);
  draw_order_.push_back(p);
}

void CWpTrack::RemoveChild(CWpKit* kit) {
  const int i = FindChild(kit);
  if (i < 0) return;
  while (FindDrawOrderIndex(i) >= 0) DeleteDrawOrder(i);
  CWpInWell::RemoveChild(kit);
  UpdateGroup();
  for (int& e : draw_order_)
    if (e > i) --e;
}

void CWpTrack::DeleteChild(CWpKit* kit) {
  // The kit base drops the kit from the selection, unlinks it through
  // RemoveChild above, deletes it and forgets it as the hit kit.
  if (FindChild(kit) >= 0) CWpInWell::DeleteChild(kit);
  UpdateGroup();
}

CWpKit* CWpTrack::HitChild(CPoint point) {
  if (!TotalDraw().Contains(point)) return nullptr;
  for (CWpKit* c : children_)
    if (c->UpTitleDraw().Contains(point)) return c;
  return this;
}

void CWpTrack::MoveChild(CWpKit* kit, CPoint point) {
  if (!dynamic_cast<CWpContent*>(kit)) return;
  CWpKit* h = nullptr;
  for (CWpKit* c : children_)
    if (c->UpTitleDraw().Contains(point)) {
      h = c;
      break;
    }
  if (!h) {
    InsertChild(0, kit, 0);
  } else if (h != kit) {
    const CRect r = h->UpTitleDraw().Normalized();
    const double x1 = r.left + r.Width() / 3.0;
    const double x2 = r.left + 2.0 * r.Width() / 3.0;
    const int band = r.Height() / 3;
    const bool top_band = point.y >= r.top - band;
    const bool bottom_band = !top_band && point.y <= r.bottom + band;
    const bool centre = !top_band && !bottom_band && point.x >= x1 && point.x <= x2;
    if (!centre) {
      if (FindChild(kit) >= 0) RemoveChild(kit);
      if (children_.empty()) {
        InsertChild(0, kit, 0);
      } else {
        const int g = GroupOf(h);
        SetGroupOf(kit, g);
        kit->SetClientHeight(h->GetClientHeight());
        kit->SetTitleHeight(h->GetTitleHeight());
        int first = -1, last = -1;
        for (int i = 0; i < ChildrenCount(); ++i)
          if (GroupOf(children_[static_cast<std::size_t>(i)]) == g) {
            if (first < 0) first = i;
            last = i;
          }
        if (first < 0) first = last = 0;
        if (top_band) {
          InsertChild(last + 1, kit, 0);
        } else if (bottom_band) {
          InsertChild(first, kit, 0);
        } else {
          const float half = h->GetWidth() / 2;
          const FLOATPOINT pos = h->GetPosition();
          h->SetWidth(half);
          kit->SetWidth(half);
          if (point.x < x1) {
            InsertChild(FindChild(h), kit, 1);
            kit->SetPosition(pos, 1);
            h->SetPosition(FLOATPOINT{pos.x + half, pos.y}, 1);
          } else {
            InsertChild(FindChild(h) + 1, kit, -1);
            kit->SetPosition(FLOATPOINT{pos.x + half, pos.y}, 1);
          }
        }
      }
    }
  }
  const int g = GroupOf(kit);
  SetGroupTitle(g, std::max(GroupTitle(g), MinGroupTitle(g)));
  Reset();
}

void CWpTrack::SwapChild(CWpContent* a, CWpContent* b) {
  const int ia = FindChild(a), ib = FindChild(b);
  if (ia < 0 || ib < 0 || ia == ib) return;
  std::swap(children_[static_cast<std::size_t>(ia)], children_[static_cast<std::size_t>(ib)]);
  struct Place {
    int group;
    float title, client, width;
  };
  auto place_of = [](const CWpContent* c) {
    return Place{c->GetGroup(), std::trunc(c->GetTitleHeight()), std::trunc(c->GetClientHeight()),
                 c->GetWidth()};
  };
  auto take = [](CWpContent* c, const Place& p) {
    c->SetGroup(p.group);
    c->SetTitleHeight(p.title);
    c->SetClientHeight(p.client);
    c->SetWidth(p.width);
  };
  const Place pa = place_of(a), pb = place_of(b);
  take(a, pb);
  take(b, pa);
}

// ---------------------------------------------------------------- draw order

void CWpTrack::DrawChildren(CDC* dc, CView* view, CRect* clip, CRect* done) {
  for (int i : draw_order_)
    if (CWpKit* c = GetChild(i)) c->Draw(dc, view, clip, done);
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

void CWpTrack::SortDrawOrder(const std::vector<CWpKit*>& old_children) {
  std::vector<int> order;
  for (int e : draw_order_) {
    if (e < 0 || e >= static_cast<int>(old_children.size())) continue;
    const int now = FindChild(old_children[static_cast<std::size_t>(e)]);
    if (now >= 0) order.push_back(now);
  }
  draw_order_ = std::move(order);
}

void CWpTrack::ProOldVersion() {
  if (DocumentVersion() >= kDrawOrderVersion) return;
  for (int i = 0; i < ChildrenCount(); ++i) draw_order_.push_back(i);
}

int CWpTrack::FindDrawOrderIndex(int child_index) const {
  auto it = std::find(draw_order_.begin(), draw_order_.end(), child_index);
  return it == draw_order_.end() ? -1 : static_cast<int>(it - draw_order_.begin());
}

void CWpTrack::DeleteDrawOrder(int child_index) {
  auto it = std::find(draw_order_.begin(), draw_order_.end(), child_index);
  if (it != draw_order_.end()) draw_order_.erase(it);
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

// ---------------------------------------------------------------- sizes

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

// ---------------------------------------------------------------- records

int CWpTrack::SaveToFile(CZuMFile* file) {
  CWpInWell::SaveToFile(file);

  file->SetRecordNumber(kRecTagged);
  file->AddRecordElement("Trk");
  file->AddRecordElement(1);
  file->AddRecordElement(1);
  file->AddRecordElement(show_depth_);
  file->AddRecordElement(show_scale_);
  file->AddRecordElement(maj_dep_);
  file->AddRecordElement(mid_dep_);
  file->AddRecordElement(min_dep_);
  WritePen(file, maj_dep_pen_);
  WritePen(file, mid_dep_pen_);
  WritePen(file, min_dep_pen_);
  file->AddRecordElement(log_scale_);
  file->AddRecordElement(left_);
  file->AddRecordElement(right_);
  file->AddRecordElement(maj_scale_);
  file->AddRecordElement(show_mid_);
  file->AddRecordElement(min_scale_);
  WritePen(file, maj_scale_pen_);
  WritePen(file, mid_scale_pen_);
  WritePen(file, min_scale_pen_);
  file->WriteNextRecord();

  for (int i : draw_order_) {
    file->SetRecordNumber(kRecTagged);
    file->AddRecordElement("DrawOrder");
    file->AddRecordElement(i);
    file->WriteNextRecord();
  }

  file->SetRecordNumber(kRecEnd);
  file->WriteNextRecord();
  return 1;
}

int CWpTrack::ReadFromFile(CZuMFile* file) {
  // A base section that did not end at its 80 leaves the file somewhere
  // inside it; reading on would take the parent's records for the track's.
  if (!CWpInWell::ReadFromFile(file)) return 0;
  draw_order_.clear();
  while (file->ReadNextRecord()) {
    const unsigned short number = file->GetRecordNumber();
    if (number == kRecEnd) {
      ProOldVersion();
      NormalizeDrawOrder();
      return 1;
    }
    if (number != kRecTagged) continue;
    std::string tag;
    file->GetRecordElement(0, tag);
    if (EqualsNoCase(tag, "Trk")) {
      int dropped = 0;
      file->GetRecordElement(1, dropped);
      file->GetRecordElement(2, dropped);
      file->GetRecordElement(3, show_depth_);
      file->GetRecordElement(4, show_scale_);
      file->GetRecordElement(5, maj_dep_);
      file->GetRecordElement(6, mid_dep_);
      file->GetRecordElement(7, min_dep_);
      ReadPenBlock(file, 8, &maj_dep_pen_);
      ReadPenBlock(file, 9, &mid_dep_pen_);
      ReadPenBlock(file, 10, &min_dep_pen_);
      file->GetRecordElement(11, log_scale_);
      file->GetRecordElement(12, left_);
      file->GetRecordElement(13, right_);
      file->GetRecordElement(14, maj_scale_);
      file->GetRecordElement(15, show_mid_);
      file->GetRecordElement(16, min_scale_);
      ReadPenBlock(file, 17, &maj_scale_pen_);
      ReadPenBlock(file, 18, &mid_scale_pen_);
      ReadPenBlock(file, 19, &min_scale_pen_);
      // The scale divides the width by these.
      maj_scale_ = std::max(maj_scale_, 1);
      min_scale_ = std::max(min_scale_, 1);
    } else if (tag == "DrawOrder") {
      int index = -1;
      file->GetRecordElement(1, index);
      draw_order_.push_back(index);
    }
  }
  return 0;
}

// ---------------------------------------------------------------- copies

void CWpTrack::DuplicateAttribute(CZuObject* target) {
  CWpInWell::DuplicateAttribute(target);
  auto* t = dynamic_cast<CWpTrack*>(target);
  if (!t || t == this) return;
  t->show_depth_ = show_depth_;
  t->show_scale_ = show_scale_;
  t->maj_dep_ = maj_dep_;
  t->mid_dep_ = mid_dep_;
  t->min_dep_ = min_dep_;
  t->maj_dep_pen_ = maj_dep_pen_;
  t->mid_dep_pen_ = mid_dep_pen_;
  t->min_dep_pen_ = min_dep_pen_;
  t->log_scale_ = log_scale_;
  t->left_ = left_;
  t->right_ = right_;
  t->maj_scale_ = maj_scale_;
  t->show_mid_ = show_mid_;
  t->min_scale_ = min_scale_;
  t->maj_scale_pen_ = maj_scale_pen_;
  t->mid_scale_pen_ = mid_scale_pen_;
  t->min_scale_pen_ = min_scale_pen_;
  t->scale_scope_ = scale_scope_;
  t->scale_line_scope_ = scale_line_scope_;
  t->depth_scope_ = depth_scope_;
  t->depth_line_scope_ = depth_line_scope_;
  t->content_scope_ = content_scope_;
  // The target's children decide which entries name a child there.
  t->SetDrawOrder(draw_order_);
}

void CWpTrack::Duplicate(CWpKit* kit) {
  if (!kit) return;
  SetWidth(kit->GetWidth());
  SetClientHeight(kit->GetTitleHeight());
  SetTitleHeight(kit->GetClientHeight());
  SetTitleDirection(kit->GetTitleDirection());
}

void CWpTrack::Amplify(FLOATPOINT centre, double fx, double fy) {
  CWpInWell::Amplify(centre, fx, fy);
  for (ZULOGPEN* pen : {&maj_dep_pen_, &mid_dep_pen_, &min_dep_pen_, &maj_scale_pen_,
                        &mid_scale_pen_, &min_scale_pen_})
    pen->width = static_cast<float>(pen->width * fx);
}

bool CWpTrack::IfLineStyleUsed(int code) const {
  if (CWpInWell::IfLineStyleUsed(code)) return true;
  for (const ZULOGPEN* pen : {&maj_dep_pen_, &mid_dep_pen_, &min_dep_pen_, &maj_scale_pen_,
                              &mid_scale_pen_, &min_scale_pen_})
    if (pen->style == code) return true;
  return false;
}

// ---------------------------------------------------------------- adding contents

template <typename T>
T* CWpTrack::NewContent(const char* class_name) {
  CZuObject* obj = AfxGetObjectFactory()->CreateObject(class_name);
  auto* kit = dynamic_cast<T*>(obj);
  if (!kit) AfxGetObjectFactory()->DeleteObject(obj);
  return kit;
}

void CWpTrack::PlaceAddedChild(CWpContent* content, int join, int index) {
  if (index >= 0 && index < ChildrenCount())
    InsertChild(index, content, join);
  else
    AddChild(content, join);
}

void CWpTrack::InitAddedChild(const char* title, CWpContent* content, int join, int index) {
  if (title && *title) content->SetTitleText(title);
  content->SetTitleHeight(content->MinTitle());
  PlaceAddedChild(content, join, index);
  content->BuildControlNodePointArray();
}

void CWpTrack::InvalidateAdded() {
  if (parent_)
    parent_->InvalidParent();
  else
    InvalidSelf();
}

template <typename T>
T* CWpTrack::AddContent(const char* class_name, const char* title, int join, int index,
                        bool invalidate) {
  T* kit = NewContent<T>(class_name);
  if (!kit) return nullptr;
  InitAddedChild(title, kit, join, index);
  if (invalidate) InvalidateAdded();
  return kit;
}

CWpCurve* CWpTrack::AddCurve(const char* title, int join, int index) {
  CWpCurve* curve = NewContent<CWpCurve>("CWpCurve");
  if (!curve) return nullptr;
  if (title && *title) curve->SetTitleText(title);
  PlaceAddedChild(curve, join, index);
  curve->SetTitleHeight(curve->MinTitle());
  // Curves take their colours in turn from the track's table.
  const int slot = (ChildrenCount() - 1) % kCurveColorCount;
  ZULOGPEN pen = curve->GetPen();
  pen.color = curve_colors_[slot];
  curve->SetPen(&pen);
  ZULOGFONT font = curve->GetTitleFont();
  font.color = curve_colors_[slot];
  curve->SetTitleFont(&font);
  return curve;
}

CWpCorelith* CWpTrack::AddCorelith(const char* title, int join, int index) {
  return AddContent<CWpCorelith>("CWpCorelith", title, join, index, true);
}

CWpSand* CWpTrack::AddSand(const char* title, int join, int index) {
  CWpSand* sand = AddContent<CWpSand>("CWpSand", title, join, index, true);
  if (sand) sand->BuildBody();
  return sand;
}

CWpSandStratum* CWpTrack::AddSandStratum(const char* title, int join, int index) {
  return AddContent<CWpSandStratum>("CWpSandStratum", title, join, index, true);
}

CWpStratum* CWpTrack::AddStratum(const char* title, int join, int index) {
  return AddContent<CWpStratum>("CWpStratum", title, join, index, true);
}

CWpSymbleCycle* CWpTrack::AddSymbleCycle(const char* title, int join, int index) {
  return AddContent<CWpSymbleCycle>("CWpSymbleCycle", title, join, index, true);
}

CWpSymbleTexture* CWpTrack::AddSymbleTexture(const char* title, int join, int index) {
  return AddContent<CWpSymbleTexture>("CWpSymbleTexture", title, join, index, true);
}

CWpFacies* CWpTrack::AddFacies(const char* title, int join, int index) {
  return AddContent<CWpFacies>("CWpFacies", title, join, index, true);
}

CWpSymbleShoot* CWpTrack::AddSymbleShoot(const char* title, int join, int index) {
  return AddContent<CWpSymbleShoot>("CWpSymbleShoot", title, join, index, true);
}

CWpOilTest* CWpTrack::AddOilTest(const char* title, int join, int index) {
  return AddContent<CWpOilTest>("CWpOilTest", title, join, index, false);
}

CWpResult* CWpTrack::AddResult(const char* title, int join, int index) {
  return AddContent<CWpResult>("CWpResult", title, join, index, false);
}

CWpPicture* CWpTrack::AddPictureList(int type, const char* title, int join, int index) {
  CWpPicture* picture = AddContent<CWpPicture>("CWpPicture", title, join, index, false);
  if (picture) picture->SetTitleText(Gbk(type != 0 ? "图形" : "图片"));
  return picture;
}

CWpParam* CWpTrack::AddParam(const char* title, int join, int index) {
  return AddContent<CWpParam>("CWpParam", title, join, index, false);
}

CWpText* CWpTrack::AddText(CView* /*view*/, const char* title, int join, int index) {
  return AddContent<CWpText>("CWpText", title, join, index, false);
}

CWpWaterEntry* CWpTrack::AddWaterEntryList(bool production, const char* title, int join,
                                           int index) {
  CWpWaterEntry* kit = AddContent<CWpWaterEntry>("CWpWaterEntry", title, join, index, false);
  if (kit) kit->SetTitleText(Gbk(production ? "产液" : "吸水"));
  return kit;
}

CWpSidewallCore* CWpTrack::AddSidewallCore(const char* title, int join, int index) {
  CWpSidewallCore* kit = AddContent<CWpSidewallCore>("CWpSidewallCore", title, join, index, true);
  if (kit) kit->ResetData();
  return kit;
}

CWpIntegratedCore* CWpTrack::AddIntegratedCore(const char* title, int join, int index) {
  CWpIntegratedCore* kit =
      AddContent<CWpIntegratedCore>("CWpIntegratedCore", title, join, index, true);
  if (kit) kit->ResetData();
  return kit;
}

CWpLthSample* CWpTrack::AddLthSample(const char* title, int join, int index) {
  return AddContent<CWpLthSample>("CWpLthSample", title, join, index, true);
}

CWpProgram* CWpTrack::AddProgram(const char* title, int join, int index) {
  return AddContent<CWpProgram>("CWpProgram", title, join, index, true);
}

CWpDepth* CWpTrack::AddDepth(const char* title, int join, int index) {
  return AddContent<CWpDepth>("CWpDepth", title, join, index, true);
}

// ---------------------------------------------------------------- settings of all contents

namespace {

void ApplyTitleFont(CWpKit* kit, int kind, const ZULOGFONT& font) {
  ZULOGFONT f = kit->GetTitleFont();
  switch (kind) {
    case 0: f.SetFaceName(font.FaceName()); break;
    case 1: f.height = font.height; break;
    case 2: f.color = font.color; break;
    default: return;
  }
  kit->SetTitleFont(&f);  // the title band grows with the font
}

}  // namespace

void CWpTrack::SetChildTitleFont(int kind, const ZULOGFONT& font) {
  for (CWpKit* c : children_) ApplyTitleFont(c, kind, font);
}

void CWpTrack::SetDepChildTitleFont(int kind, const ZULOGFONT& font) {
  for (CWpKit* c : children_)
    if (c->GetWpKitType() == WPKIT_DEPTH) ApplyTitleFont(c, kind, font);
}

}  // namespace davodu
