// The picture kit: its blocks and their geometry.
#include "davodu/display/wp_picture.h"

#include <algorithm>
#include <cmath>
#include <utility>

#include "davodu/host/dialogs/dialogs.h"
#include "davodu/host/graphics/graph_tool.h"
#include "davodu/host/objects/zu_layer.h"
#include "davodu/host/objects/zu_map.h"
#include "davodu/host/objects/zu_map_file.h"
#include "davodu/host/util/gbk.h"
#include "davodu/well/wp_well.h"

namespace davodu {

namespace {

// Touching blocks (within this many map units) do not overlap.
constexpr double kTouch = 1;
// Tolerance of a new block's ends at the ends of the body.
constexpr double kBodyEdge = 0.1;

bool EndsWith(const std::string& s, const char* suffix) {
  const std::size_t n = std::char_traits<char>::length(suffix);
  return s.size() >= n && s.compare(s.size() - n, n, suffix) == 0;
}

// A kit's left or right side given as kFltMin stands for the kit's edge.
bool IsEdge(double v) { return v == static_cast<double>(static_cast<float>(kFltMin)) || v == kFltMin; }

}  // namespace

// ---------------------------------------------------------------- blocks

CgPicSegment::CgPicSegment(CWpPicture* owner)
    : owner(owner), map_(std::make_unique<CZuMapFile>()) {}

CgPicSegment::~CgPicSegment() = default;

double CgPicSegment::GetScale() const {
  const double w = GetWidth();
  return w != 0 && std::isfinite(w) ? GetHeight() / w : 0;
}

void CgPicSegment::SetTopDepth(float depth) {
  top_depth = depth;
  top_y = owner->DepToMapY(depth);
}

void CgPicSegment::SetBottomDepth(float depth) {
  bottom_depth = depth;
  bottom_y = owner->DepToMapY(depth);
}

void CgPicSegment::DepthsFromY() {
  top_depth = owner->MapYToDep(static_cast<float>(top_y));
  bottom_depth = owner->MapYToDep(static_cast<float>(bottom_y));
}

void CgPicSegment::YFromDepths() {
  top_y = owner->DepToMapY(top_depth);
  bottom_y = owner->DepToMapY(bottom_depth);
}

bool CgPicSegment::IsMapPicture() const {
  return EndsWith(name, ".kmp") || EndsWith(name, ".KMP") || EndsWith(name, ".wpd") ||
         EndsWith(name, ".WPD");
}

void CgPicSegment::SetBaseZoom(double zoom) {
  if (!IsMapPicture() || !(zoom > 0) || !std::isfinite(zoom)) return;
  if (CZuMap* map = map_->GetActiveMap()) map->SetZoomFactor(map->GetZoomFactor() * zoom / base_zoom);
  base_zoom = zoom;
}

bool CgPicSegment::SetPicture(const std::string& path, std::string* error, bool fit) {
  name = path;
  std::string why;
  bool ok;
  if (IsMapPicture()) {
    map_->Clear();
    ok = map_->ReadFromFile(GbkToUtf8(path), 1, &why);
    if (ok) {
      // The charts of the document draw with the well data, like any chart.
      for (int l = 0; CZuMap* map = map_->GetActiveMap(); ++l) {
        CZuLayer* layer = map->GetLayer(l);
        if (!layer) break;
        for (CZuObject* obj : layer->GetObjectList())
          if (auto* well = dynamic_cast<CWpWell*>(obj)) well->LoadChartData();
      }
    } else {
      map_->Clear();
    }
  } else {
    dib_.Clear();
    ok = dib_.ReadFromFile(GbkToUtf8(path), &why);
    if (ok && fit) ResetScale();
  }
  if (!ok && error) *error = why;
  return ok;
}

void CgPicSegment::ResetScale() {
  float r = 0;
  if (IsMapPicture()) {
    CZuMap* map = map_->GetActiveMap();
    if (!map) return;
    const FLOATRECT m = map->GetMapRect();
    const double cx = m.right - m.left, cy = m.top - m.bottom;
    if (!(cx > 0) || !(cy > 0)) return;
    r = static_cast<float>(cy / cx);
  } else {
    // A picture without pixels has no proportions (no division by zero).
    if (dib_.GetWidth() <= 0 || dib_.GetHeight() <= 0) return;
    r = static_cast<float>(dib_.GetHeight()) / static_cast<float>(dib_.GetWidth());
  }
  if (!(r > 0) || !std::isfinite(r)) return;
  const float h = static_cast<float>(top_y - bottom_y);
  const float b = static_cast<float>(right - left);
  // A block without size has nothing to fit into (it would collapse).
  if (!(h > 0) || !(b > 0)) return;
  if (h < r * b) {
    right = left + h / r;
  } else {
    bottom_y = top_y - r * b;
    bottom_depth = owner->MapYToDep(static_cast<float>(bottom_y));
  }
  scale_lock = true;
}

void CgPicSegment::ChangeTopDepth(double d) {
  if (scale_lock) {
    const double a = GetScale();
    if (a > 0) right += d / a;
  }
  top_y += d;
  top_depth = owner->MapYToDep(static_cast<float>(top_y));
}

void CgPicSegment::ChangeBottomDepth(double d) {
  if (scale_lock) {
    const double a = GetScale();
    if (a > 0) right += d / a;
  }
  bottom_y -= d;
  bottom_depth = owner->MapYToDep(static_cast<float>(bottom_y));
}

void CgPicSegment::Move(double dx, double dy) {
  left += dx;
  right += dx;
  top_y += dy;
  bottom_y += dy;
  DepthsFromY();
}

void CgPicSegment::Raise(double dy) {
  const double y0 = owner->MapNode(0).y, y10 = owner->MapNode(10).y;
  if (dy > 0 && dy >= y0 - top_y) dy = (y0 - top_y) - 3;
  if (dy <= 0 && dy <= y10 - bottom_y) dy = (y10 - bottom_y) + 3;
  top_y += dy;
  bottom_y += dy;
  DepthsFromY();
}

void CgPicSegment::Update(double new_left, double new_right) {
  left = new_left;
  if (right > new_right) right = new_right;
}

int CgPicSegment::GetPickMode(double x, double y) const {
  const double g = owner->GetTranslator().DrawLengthToMap(
      static_cast<int>(1.2 * AfxGetNodeRectWidth()));
  const double cx = (left + right) / 2, cy = (top_y + bottom_y) / 2;
  if (std::fabs(x - cx) <= g && std::fabs(y - top_y) <= g) return SPM_TOP;
  if (std::fabs(x - cx) <= g && std::fabs(y - bottom_y) <= g) return SPM_BOTTOM;
  if (std::fabs(x - right) <= g && std::fabs(y - cy) <= g) return SPM_RIGHT;
  if (x > left && x < right && y > bottom_y && y < top_y) return SPM_MOVE;
  return SPM_NONE;
}

// ---------------------------------------------------------------- the kit

DAVODU_IMPLEMENT_DYNCREATE(CWpPicture, CWpContent)

CWpPicture::CWpPicture(CZuLayer* layer) : CWpContent(layer) { Initialize(); }

CWpPicture::~CWpPicture() = default;

void CWpPicture::Initialize() {
  class_name_ = name_ = type_name_ = "CWpPicture";
  title_text_ = Gbk("图片");
  picture_type_ = 0;
  active_ = -1;
  pick_mode_ = SPM_NONE;
  press_ = last_ = menu_point_ = CPoint{};
  width_at_press_ = 0;
  snap_ = false;
  snapped_top_ = 0;
  drag_started_ = false;
  button_down_ = false;
  segs_.clear();
  last_number_ = 0;
}

void CWpPicture::ClearContent() {
  segs_.clear();
  active_ = -1;
  last_number_ = 0;
}

void CWpPicture::Clear() {
  ClearContent();
  CWpContent::Clear();
  Initialize();
}

std::string CWpPicture::KindLabel() const { return Gbk(picture_type_ == 0 ? "图片" : "图形"); }

void CWpPicture::SetType(int type) {
  picture_type_ = type;
  UpdateTitleText();
}

void CWpPicture::UpdateTitleText() { title_text_ = Gbk(picture_type_ == 0 ? "图片" : "图形"); }

double CWpPicture::NodeLength() const {
  return GetTranslator().DrawLengthToMap(AfxGetNodeRectWidth());
}

int CWpPicture::IndexOf(int number) const {
  if (number == -1) return -1;
  for (std::size_t i = 0; i < segs_.size(); ++i)
    if (segs_[i]->number == number) return static_cast<int>(i);
  return -1;
}

CgPicSegment* CWpPicture::FindSeg(int number) const {
  const int i = IndexOf(number);
  return i < 0 ? nullptr : segs_[static_cast<std::size_t>(i)].get();
}

CgPicSegment* CWpPicture::GetSegmentAbove(int n) const {
  const int i = IndexOf(n);
  return i > 0 ? segs_[static_cast<std::size_t>(i - 1)].get() : nullptr;
}

CgPicSegment* CWpPicture::GetSegmentUnder(int n) const {
  const int i = IndexOf(n);
  return i >= 0 && i + 1 < GetSegCount() ? segs_[static_cast<std::size_t>(i + 1)].get() : nullptr;
}

CgPicSegment* CWpPicture::NewSegment(const std::string& path, double top_y, double bottom_y,
                                     double left, double right) {
  auto seg = std::make_unique<CgPicSegment>(this);
  seg->number = ++last_number_;
  seg->top_y = top_y;
  seg->bottom_y = bottom_y;
  seg->DepthsFromY();
  seg->left = IsEdge(left) ? map_nodes_[0].x : left;
  seg->right = IsEdge(right) ? map_nodes_[1].x : right;
  seg->name = path;
  return Insert(std::move(seg));
}

CgPicSegment* CWpPicture::Insert(std::unique_ptr<CgPicSegment> seg) {
  // Y grows upwards: the first block at or below the new one's bottom comes
  // after it.
  const double bottom = seg->bottom_y;
  auto at = std::find_if(segs_.begin(), segs_.end(),
                         [&](const auto& s) { return s->top_y <= bottom; });
  return segs_.insert(at, std::move(seg))->get();
}

CgPicSegment* CWpPicture::AddSegment(const std::string& path, double top_y, double bottom_y,
                                     double left, double right, bool lock, std::string* error) {
  CgPicSegment* seg = NewSegment(path, top_y, bottom_y, left, right);
  std::string why;
  if (!seg->SetPicture(path, &why)) {
    if (error) *error = why;
  }
  if (lock) seg->LockScale();
  return seg;
}

CgPicSegment* CWpPicture::AddSegment(const std::string& path, double top_y, double bottom_y,
                                     double left, double right, bool lock, const CDIB& picture) {
  CgPicSegment* seg = NewSegment(path, top_y, bottom_y, left, right);
  seg->GetBitmap().Duplicate(picture);
  if (lock) seg->LockScale();
  return seg;
}

bool CWpPicture::AddSegmentAtDepth(const std::string& path, float top_depth, float bottom_depth,
                                   bool keep_ratio, std::string* error) {
  if (!(top_depth < bottom_depth)) return false;
  for (const auto& s : segs_)
    if (top_depth < s->bottom_depth && s->top_depth < bottom_depth) return false;
  auto seg = std::make_unique<CgPicSegment>(this);
  seg->number = ++last_number_;
  seg->top_depth = top_depth;
  seg->bottom_depth = bottom_depth;
  seg->YFromDepths();
  seg->left = map_nodes_[0].x;
  seg->right = map_nodes_[1].x;
  CgPicSegment* added = Insert(std::move(seg));
  std::string why;
  const bool ok = added->SetPicture(path, &why);
  if (!ok && error) *error = why;
  // SetPicture fitted a bitmap to the interval's proportions with the
  // geometry at hand; a template's block waits for the layout instead.
  added->top_depth = top_depth;
  added->bottom_depth = bottom_depth;
  added->scale_lock = keep_ratio;
  fit_pending_.push_back({added->number, top_depth, bottom_depth});
  return true;
}

double CWpPicture::GetActiveSegTopDepth() const {
  const CgPicSegment* s = FindSeg(active_);
  return s ? s->top_depth : 0;
}

double CWpPicture::GetActiveSegBotDepth() const {
  const CgPicSegment* s = FindSeg(active_);
  return s ? s->bottom_depth : 0;
}

bool CWpPicture::SetActiveSegTopDepth(double depth) {
  CgPicSegment* s = FindSeg(active_);
  if (!s) return false;
  const double y = DepToMapY(depth);
  if (!TryModifySegment(y, s->bottom_y)) return false;
  s->SetTopDepth(static_cast<float>(depth));
  return true;
}

bool CWpPicture::SetActiveSegBotDepth(double depth) {
  CgPicSegment* s = FindSeg(active_);
  if (!s) return false;
  const double y = DepToMapY(depth);
  if (!TryModifySegment(s->top_y, y)) return false;
  s->SetBottomDepth(static_cast<float>(depth));
  return true;
}

void CWpPicture::LockScale(bool lock) {
  if (CgPicSegment* s = FindSeg(active_)) s->scale_lock = lock;
}

bool CWpPicture::AllocSegment(CPoint point, double* top, double* bottom) {
  if (GetSegment(point) != -1) return false;
  const double v = LP2MP(point).y;
  double t = map_nodes_[0].y, b = map_nodes_[10].y;
  for (const auto& s : segs_) {
    if (v - s->top_y > 0 && v - s->top_y < v - b) b = s->top_y;
    if (s->bottom_y - v > 0 && s->bottom_y - v < t - v) t = s->bottom_y;
  }
  *top = t;
  *bottom = b;
  const double half = (map_nodes_[0].y - map_nodes_[10].y) / 2;
  if (t - b > half) {
    *bottom = t - half;
    return true;
  }
  return t - b >= 3 * NodeLength();
}

bool CWpPicture::AddSegment(CPoint point) {
  double top = 0, bottom = 0;
  if (!AllocSegment(point, &top, &bottom)) return false;
  const double w = NodeLength();
  if (top - bottom < 6 * w) return false;
  if (top - bottom > 30 * w) bottom = top - 30 * w;
  if (!ProbeAddSegment(top, bottom)) return false;
  std::string name;
  if (!GetPicture(name)) return false;
  AddSegment(name, top, bottom, kFltMin, kFltMin, false);
  InvalidBody();
  SetModifyFlag();
  return true;
}

bool CWpPicture::GetPicture(std::string& name) {
  FileDialogRequest request;
  request.save = false;
  request.default_name = name;
  request.path_must_exist = true;
  request.filter = picture_type_ != 0 ? "*.kmp|*.kmp|*.wpd|*.wpd||"
                                      : "bmp|*.bmp|jpg|*.jpg|All Files(*.bmp;*.jpg)|*.bmp;*.jpg||";
  std::string path;
  if (!AfxGetDialogs().FileDialog(request, &path)) return false;
  name = path;
  return true;
}

bool CWpPicture::ProbeAddSegment(double top, double bottom) {
  if (top <= bottom) return false;
  const double y0 = map_nodes_[0].y, y10 = map_nodes_[10].y;
  const bool at_end = std::fabs(top - y0) < kBodyEdge || std::fabs(bottom - y10) < kBodyEdge;
  if (!at_end && (top > y0 || bottom < y10)) return false;
  if (top - bottom < 2 * NodeLength()) return false;
  for (const auto& s : segs_) {
    const bool touching = std::fabs(s->bottom_y - top) < kTouch || std::fabs(s->top_y - bottom) < kTouch;
    if (top >= s->bottom_y && bottom <= s->top_y && !touching) return false;
  }
  return true;
}

bool CWpPicture::TryModifySegment(double top, double bottom) {
  if (top <= bottom || top >= map_nodes_[0].y || bottom <= map_nodes_[10].y) return false;
  if (top - bottom < 2 * NodeLength()) return false;
  for (const auto& s : segs_) {
    if (s->number == active_) continue;
    if (top > s->bottom_y && bottom < s->top_y) return false;
  }
  return true;
}

void CWpPicture::RemoveSegment(int n) {
  const int i = IndexOf(n);
  if (i < 0) return;
  segs_.erase(segs_.begin() + i);
  if (n == active_) active_ = -1;
}

int CWpPicture::GetSegment(CPoint point) {
  const FLOATPOINT p = LP2MP(point);
  for (const auto& s : segs_)
    if (p.x > s->left && p.x < s->right && p.y > s->bottom_y && p.y < s->top_y) return s->number;
  return -1;
}

int CWpPicture::PickSeg(CPoint point) {
  if (!SegActive()) {
    active_ = GetSegment(point);
    return active_ != -1 ? SPM_ACTIVATED : SPM_NONE;
  }
  const FLOATPOINT p = LP2MP(point);
  const int mode = FindSeg(active_)->GetPickMode(p.x, p.y);
  if (mode != SPM_NONE) return mode;
  active_ = GetSegment(point);
  return SPM_NONE;
}

void CWpPicture::ActivateSegment(int n) {
  for (const auto& s : segs_) s->active = s->number == n && n != -1;
}

void CWpPicture::MoveSegment(int n, double dy) {
  CgPicSegment* s = FindSeg(n);
  if (!s || !std::isfinite(dy)) return;
  const CgPicSegment* above = GetSegmentAbove(n);
  const CgPicSegment* under = GetSegmentUnder(n);
  const double upper = above ? above->bottom_y : map_nodes_[0].y;
  const double lower = under ? under->top_y : map_nodes_[10].y;
  if (dy >= 0)
    dy = std::min(dy, upper - s->top_y);
  else
    dy = std::max(dy, lower - s->bottom_y);
  s->Raise(dy);
}

void CWpPicture::ResizeSegment(int n, int delta, int mode) {
  CgPicSegment* s = FindSeg(n);
  if (!s) return;
  const double d = GetTranslator().DrawLengthToMap(std::abs(delta)) * (delta < 0 ? -1 : 1);
  const double a = s->GetScale(), b = s->GetWidth();
  const double K = map_nodes_[1].x - map_nodes_[0].x;
  const double w = NodeLength();
  const CgPicSegment* above = GetSegmentAbove(n);
  const CgPicSegment* under = GetSegmentUnder(n);
  const double upper = above ? above->bottom_y : map_nodes_[0].y;
  const double lower = under ? under->top_y : map_nodes_[10].y;
  if (mode == SPM_TOP) {
    if (d < 0) {
      double room = s->top_y - (s->bottom_y + 2 * w);
      if (s->scale_lock) room = std::min(room, a * (b - 2 * w));
      s->ChangeTopDepth(-std::min(-d, std::max(room, 0.0)));
    } else {
      double room = upper - s->top_y;
      if (s->scale_lock) room = std::min(room, (K - b) * a);
      s->ChangeTopDepth(std::min(d, std::max(room, 0.0)));
    }
  } else if (mode == SPM_BOTTOM) {
    if (d < 0) {
      double room = s->bottom_y - lower;
      if (s->scale_lock) room = std::min(room, a * (K - b));
      s->ChangeBottomDepth(std::min(-d, std::max(room, 0.0)));
    } else {
      double room = (s->top_y - 2 * w) - s->bottom_y;
      if (s->scale_lock) room = std::min(room, (b - 2 * w) * a);
      s->ChangeBottomDepth(-std::min(d, std::max(room, 0.0)));
    }
  } else if (mode == SPM_RIGHT) {
    if (d > 0) {
      if (!s->scale_lock) {
        s->right += std::min(d, map_nodes_[1].x - s->right);
      } else {
        const double room = s->bottom_y - lower;
        s->ChangeBottomDepth(std::min(a * std::min(d, K - b), std::max(room, 0.0)));
      }
    } else {
      if (b - MinWidth() <= 0.001) return;
      const double change = std::fabs(d) - b <= 0.001 ? d : MinWidth() - b;
      if (!s->scale_lock)
        s->right += change;
      else
        s->ChangeBottomDepth(a * change);
    }
  }
}

void CWpPicture::SortByDepth() {
  std::stable_sort(segs_.begin(), segs_.end(),
                   [](const auto& a, const auto& b) { return a->top_depth < b->top_depth; });
}

void CWpPicture::UpdateSegments() {
  SortByDepth();
  const double width = map_nodes_[1].x - map_nodes_[0].x;
  const double change = width - width_at_press_;
  for (const auto& s : segs_) {
    const double l = s->left, r = s->right;
    const double new_left = map_nodes_[4].x;
    s->left = new_left;
    if (r + (new_left - l) < r) s->right = r + (new_left - l);
    if (std::fabs((r - l) - width) > 0.0001 && change != 0)
      ResizeSegment(s->number, GetTranslator().MapLengthToDraw(std::fabs(change)) * (change < 0 ? -1 : 1),
                    SPM_RIGHT);
    // Never wider than the column.
    s->right = std::min(s->right, map_nodes_[1].x);
  }
}

void CWpPicture::ChangeSegmentData(int n) {
  CgPicSegment* s = FindSeg(n);
  if (!s) return;
  std::string name = s->name;
  if (!GetPicture(name)) return;
  s->SetPicture(name);
  InvalidBody();
  SetModifyFlag();
}

void CWpPicture::SwitchSegmentScaleLock(int n) {
  if (CgPicSegment* s = FindSeg(n)) s->SwitchScaleLock();
}

void CWpPicture::ResetPicScale() {
  if (CgPicSegment* s = FindSeg(active_)) s->ResetScale();
}

double CWpPicture::GetNearestTop(CPoint point) {
  std::vector<CgPicSegment*> sorted;
  for (const auto& s : segs_) sorted.push_back(s.get());
  std::stable_sort(sorted.begin(), sorted.end(),
                   [](const auto* a, const auto* b) { return a->top_depth < b->top_depth; });
  const double v = LP2MP(point).y;
  const double y0 = map_nodes_[0].y;
  for (std::size_t i = 0; i < sorted.size(); ++i) {
    if (sorted[i]->bottom_y > v) continue;
    return i == 0 ? y0 : sorted[i - 1]->bottom_y;
  }
  return sorted.empty() ? y0 : sorted.back()->bottom_y;
}

void CWpPicture::BuildBody() {
  CWpKit::BuildBody();
  for (const auto& s : segs_) {
    if (s->depths_from_y) {
      s->DepthsFromY();
      s->depths_from_y = false;
    }
    const double w = s->GetWidth();
    s->left = map_nodes_[0].x;
    s->right = s->left + w;
    s->YFromDepths();
  }
  // Blocks made before the chart was laid out get their width and, when
  // they keep their picture's proportions, their size now.
  for (const PendingFit& fit : fit_pending_) {
    CgPicSegment* s = FindSeg(fit.number);
    if (!s) continue;
    s->left = map_nodes_[0].x;
    s->right = map_nodes_[1].x;
    s->top_depth = fit.top_depth;
    s->bottom_depth = fit.bottom_depth;
    s->YFromDepths();
    if (s->scale_lock) s->ResetScale();
    // A map picture fills its block.
    CZuMap* map = s->IsMapPicture() ? s->GetMapDocument()->GetActiveMap() : nullptr;
    const FLOATRECT m = map ? map->GetMapRect() : FLOATRECT{};
    if (m.right > m.left && m.top > m.bottom && s->GetWidth() > 0 && s->GetHeight() > 0)
      s->base_zoom = std::min(s->GetWidth() / (m.right - m.left), s->GetHeight() / (m.top - m.bottom));
  }
}

// ---------------------------------------------------------------- zoom and copies

void CWpPicture::SetZoomFactor(double zoom) {
  CWpContent::SetZoomFactor(zoom);
  for (const auto& s : segs_) {
    if (!s->IsMapPicture()) continue;
    if (CZuMap* map = s->GetMapDocument()->GetActiveMap()) map->SetZoomFactor(s->base_zoom * zoom);
  }
}

void CWpPicture::DuplicateAttribute(CZuObject* target) {
  CWpContent::DuplicateAttribute(target);
  auto* t = dynamic_cast<CWpPicture*>(target);
  if (!t || t == this) return;
  t->picture_type_ = picture_type_;
}

}  // namespace davodu
