// The track's core: defaults, groups, children and the draw order, copies,
// and the title font settings given to all contents. Layout is in
// wp_track_layout.cpp, records in wp_track_io.cpp, the Add operations in
// wp_track_add.cpp.
#include "davodu/well/wp_track.h"

#include <algorithm>
#include <cmath>
#include <map>
#include <vector>

#include "davodu/display/wp_curve.h"
#include "davodu/host/objects/zu_map_file.h"
#include "davodu/host/util/gbk.h"
#include "davodu/interval/wp_stratum.h"
#include "davodu/kits/wp_content.h"
#include "davodu/well/detail/track_group.h"

namespace davodu {

namespace {

using track::GroupOf;
using track::SetGroupOf;

constexpr COLORREF kCurveColors[CWpTrack::kCurveColorCount] = {
    0x000000, 0x0000FF, 0xFF0000, 0x008000, 0x800080, 0x404000, 0x804000, 0xFF0080, 0x004080};
constexpr COLORREF kCurveColors2[CWpTrack::kCurveColorCount] = {
    0x808080, 0x000080, 0x800000, 0x808000, 0xFF00FF, 0x80FF00, 0xFF8000, 0x8000FF, 0x4080FF};

ZULOGPEN MakePen(COLORREF color, float width) {
  ZULOGPEN pen;
  pen.color = color;
  pen.width = width;
  return pen;
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
  // Numbers the groups 0, 1, 2, ... in child order: a number met for the
  // first time becomes the next one, and so do the later children that
  // carry it. The renumbering is applied as each child is reached (a number
  // is renumbered at most once: it is always larger than the number it
  // gets, and every later new number is larger still), so that a track of
  // n children is numbered in one pass.
  std::map<int, int> renumbered;
  int j = -1;
  for (CWpKit* c : children_) {
    int g = GroupOf(c);
    if (const auto it = renumbered.find(g); it != renumbered.end()) g = it->second;
    if (g < 0) g = 0;
    if (g > j) {
      ++j;
      if (g != j) renumbered[g] = j;
      g = j;
    } else if (g < j) {
      // A child numbered below the group before it (only a damaged
      // document gives one) would split a group in two: it joins the
      // group it stands in.
      g = j;
    }
    if (GroupOf(c) != g) SetGroupOf(c, g);
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
  // The groups are numbered 0 .. k-1 in child order now: one pass finds
  // each group's minimum row, a second sets the rows.
  std::vector<float> rows(static_cast<std::size_t>(k), 0.0f);
  for (CWpKit* c : children_) {
    float& row = rows[static_cast<std::size_t>(GroupOf(c))];
    row = std::max(row, c->MinTitle());
  }
  for (CWpKit* c : children_)
    c->SetTitleHeight(std::max(share, rows[static_cast<std::size_t>(GroupOf(c))]));
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
  if (clearing_) return;
  UpdateGroup();
  for (int& e : draw_order_)
    if (e > i) --e;
}

void CWpTrack::DeleteChild(CWpKit* kit) {
  // The kit base drops the kit from the selection, unlinks it through
  // RemoveChild above, deletes it and forgets it as the hit kit.
  if (FindChild(kit) >= 0) CWpInWell::DeleteChild(kit);
  if (!clearing_) UpdateGroup();
}

void CWpTrack::ClearChildren() {
  // Renumbering the groups and the draw order after each deletion would
  // cost the square of the number of children.
  clearing_ = true;
  draw_order_.clear();
  CWpInWell::ClearChildren();
  clearing_ = false;
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

void CWpTrack::CurveColorGradualChange() {
  for (CWpKit* c : children_)
    if (auto* curve = dynamic_cast<CWpCurve*>(c)) curve->CurveColorGradualChange();
}

CWpCurve* CWpTrack::FindCurve(const std::string& name, bool by_name) const {
  if (name.empty()) return nullptr;
  for (CWpKit* c : children_) {
    auto* curve = dynamic_cast<CWpCurve*>(c);
    if (curve && EqualsNoCase(by_name ? curve->GetName() : curve->GetTitleText(), name))
      return curve;
  }
  return nullptr;
}

void CWpTrack::SetStratumGrade(int level) {
  for (CWpKit* c : children_)
    if (auto* stratum = dynamic_cast<CWpStratum*>(c)) stratum->SetStratumGrade(level);
}

}  // namespace davodu
