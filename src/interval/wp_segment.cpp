// The segment kit: the segment list and its rules, layout, copies.
#include "davodu/interval/wp_segment.h"

#include <algorithm>
#include <cmath>

#include "davodu/host/graphics/graph_tool.h"
#include "davodu/host/objects/zu_map.h"
#include "davodu/host/util/exceptions.h"
#include "davodu/host/util/gbk.h"
#include "davodu/well/wp_well.h"

namespace davodu {

namespace {

constexpr double kTol = CWpSegment::SegmentTolerance();
constexpr double kEpsilon = 1.1920928955078125e-7;

// a - b < tolerance, or a equal to b within the epsilon.
bool Below(double a, double b) { return a - b < kTol || std::fabs(a - b) < kEpsilon; }

bool Unset(double v) { return IsMissing(v); }

}  // namespace

double SegmentShift(const std::vector<WPSEGMENT>& segs, int index, int part, double dy,
                    double body_top, double body_bottom, double min_thickness) {
  const int n = static_cast<int>(segs.size());
  if (index < 0 || index >= n || !std::isfinite(dy)) return 0;
  const WPSEGMENT& seg = segs[static_cast<std::size_t>(index)];
  // The room above and below, limited by the body and the neighbours.
  double upper = body_top;
  if (index > 0 && upper > segs[static_cast<std::size_t>(index - 1)].bottom)
    upper = segs[static_cast<std::size_t>(index - 1)].bottom;
  double lower = body_bottom;
  if (index + 1 < n && lower < segs[static_cast<std::size_t>(index + 1)].top)
    lower = segs[static_cast<std::size_t>(index + 1)].top;
  switch (part) {
    case CWpSegment::kPickInside:
      return dy >= 0 ? std::min(dy, upper - seg.top) : std::max(dy, lower - seg.bottom);
    case CWpSegment::kPickTop: {
      const double floor = seg.bottom > body_bottom ? seg.bottom + min_thickness : body_bottom;
      return dy >= 0 ? std::min(dy, upper - seg.top) : std::max(dy, floor - seg.top);
    }
    case CWpSegment::kPickBottom: {
      const double ceiling = seg.top < body_top ? seg.top - min_thickness : body_top;
      return dy >= 0 ? std::min(dy, ceiling - seg.bottom) : std::max(dy, lower - seg.bottom);
    }
    default:
      return 0;
  }
}

DAVODU_IMPLEMENT_DYNCREATE(CWpSegment, CWpContent)

CWpSegment::CWpSegment(CZuLayer* layer) : CWpContent(layer) {
  work_state_ = kWorkNone;
  data_source_ = -999999;
  Initialize();
}

void CWpSegment::Initialize() {
  class_name_ = "CWpSegment";
  name_ = type_name_ = "WpSeg";
  title_text_ = Gbk("分段 ?");
  client_height_ = 0;
  // The head's side lines belong to the track's frame.
  border_flags_[3] = border_flags_[4] = 0;
  dragging_ = false;
  active_ = -1;
  pick_state_ = kPickNone;
  seg_color_ = 0x00FFFF;
  segs_.clear();
  prev_body_top_ = prev_body_bottom_ = prev_top_depth_ = prev_bottom_depth_ = kFltMax;
  mapping_key_.clear();
  flags_[0] = flags_[1] = flags_[2] = false;
}

void CWpSegment::Clear() {
  // The work state and the data source outlive a clear.
  const int work_state = work_state_;
  const int source = data_source_;
  CWpContent::Clear();
  Initialize();
  work_state_ = work_state;
  data_source_ = source;
}

// ---------------------------------------------------------------- list

WPSEGMENT& CWpSegment::GetSeg(int index) {
  if (index < 0 || index >= GetSegCount())
    throw CInvalidArgException("segment " + std::to_string(index) + " out of range");
  return segs_[static_cast<std::size_t>(index)];
}

const WPSEGMENT& CWpSegment::GetSeg(int index) const {
  return const_cast<CWpSegment*>(this)->GetSeg(index);
}

int CWpSegment::AddASeg(double y1, double y2) {
  WPSEGMENT seg;
  seg.top = std::max(y1, y2);
  seg.bottom = std::min(y1, y2);
  if (!std::isfinite(seg.top) || !std::isfinite(seg.bottom)) return -1;
  const double body_top = GetBodyTop(), body_bottom = GetBodyBottom();
  if (std::fabs(body_top - body_bottom) > kEpsilon &&
      (body_top < seg.bottom || body_bottom > seg.top))
    return -1;
  const int pos = FindPos(seg);
  if (pos < 0 || pos > GetSegCount()) return -1;
  segs_.insert(segs_.begin() + pos, seg);
  // Its depths are taken by the caller, or by the next layout.
  IniSegData(segs_[static_cast<std::size_t>(pos)]);
  return pos;
}

void CWpSegment::IniSegData(WPSEGMENT& seg) { seg.data.reset(); }

void CWpSegment::ClearSeg() {
  segs_.clear();
  active_ = -1;
}

void CWpSegment::DelASeg(int index) {
  if (work_state_ != kWorkDelete || index < 0 || index >= GetSegCount()) return;
  segs_.erase(segs_.begin() + index);
}

void CWpSegment::InvalidateSeg() { InvalidSelf(); }

int CWpSegment::FindPos(const WPSEGMENT& seg) const {
  const int n = GetSegCount();
  if (n == 0) return 0;
  if (Below(segs_.front().top, seg.bottom)) return 0;
  if (Below(seg.top, segs_.back().bottom)) return n;
  return HalfSep(0, n - 1, seg);
}

int CWpSegment::HalfSep(int start, int end, const WPSEGMENT& seg) const {
  auto fits = [&](int above, int below) {
    return seg.top - segs_[static_cast<std::size_t>(above)].bottom < kTol &&
           segs_[static_cast<std::size_t>(below)].top - seg.bottom < kTol;
  };
  if (end - start <= 1) return end - start == 1 && fits(start, end) ? end : -1;
  const int mid = (start + end) / 2;
  if (fits(start, mid)) return HalfSep(start, mid, seg);
  if (fits(mid, end)) return HalfSep(mid, end, seg);
  return -1;
}

int CWpSegment::FindSegIndex(const WPSEGMENT& seg) const {
  for (int i = 0; i < GetSegCount(); ++i) {
    const WPSEGMENT& s = segs_[static_cast<std::size_t>(i)];
    if (std::fabs(s.top - seg.top) < kEpsilon && std::fabs(s.bottom - seg.bottom) < kEpsilon &&
        s.data == seg.data)
      return i;
  }
  return -1;
}

int CWpSegment::GetIndex(double top, double bottom) const {
  for (int i = 0; i < GetSegCount(); ++i) {
    const WPSEGMENT& s = segs_[static_cast<std::size_t>(i)];
    if (std::fabs(s.top - top) < kTol && std::fabs(s.bottom - bottom) < kTol) return i;
  }
  return -1;
}

double CWpSegment::GetNearestTop(CPoint point) const {
  const double y = LP2MP(point.y);
  if (segs_.empty() || y >= segs_.front().bottom) return GetBodyTop();
  for (int i = 1; i < GetSegCount(); ++i)
    if (segs_[static_cast<std::size_t>(i)].bottom <= y) return segs_[static_cast<std::size_t>(i - 1)].bottom;
  return segs_.back().bottom;
}

bool CWpSegment::ProbeAddSegment(double top, double bottom) const {
  if (top <= bottom) return false;
  const double body_top = GetBodyTop(), body_bottom = GetBodyBottom();
  if (std::fabs(top - body_top) > kTol && std::fabs(bottom - body_bottom) > kTol &&
      (top > body_top || bottom < body_bottom))
    return false;
  const double h = GetTranslator().DrawLengthToMap(AfxGetNodeRectWidth());
  if (2 * h > top - bottom) return false;
  for (const WPSEGMENT& s : segs_) {
    const bool clear = std::fabs(s.bottom - top) < kTol || std::fabs(s.top - bottom) < kTol ||
                       top < s.bottom || bottom > s.top;
    if (!clear) return false;
  }
  return true;
}

bool CWpSegment::MoveSegValid(int index, double dy) const {
  const WPSEGMENT& s = GetSeg(index);
  return s.top + dy < GetBodyTop() && s.bottom + dy > GetBodyBottom();
}

double CWpSegment::MinSegThickness() const { return AfxGetNodeRectWidth() * 0.1; }

void CWpSegment::MoveSeg(int index, double dy) {
  if (index < 0 || index >= GetSegCount()) return;
  const double d = SegmentShift(segs_, index, kPickInside, dy, GetBodyTop(), GetBodyBottom(), 0);
  WPSEGMENT& s = segs_[static_cast<std::size_t>(index)];
  s.top += d;
  s.bottom += d;
  AnchorSeg(s);
}

void CWpSegment::MoveSegP(int index, double dy, int which) {
  if (index < 0 || index >= GetSegCount() || (which != kPickTop && which != kPickBottom)) return;
  const double d =
      SegmentShift(segs_, index, which, dy, GetBodyTop(), GetBodyBottom(), MinSegThickness());
  WPSEGMENT& s = segs_[static_cast<std::size_t>(index)];
  (which == kPickTop ? s.top : s.bottom) += d;
  AnchorSeg(s);
}

bool CWpSegment::SetSegTop(int index, double y) {
  WPSEGMENT& s = GetSeg(index);
  double top = y;
  if (index > 0) top = std::min(top, segs_[static_cast<std::size_t>(index - 1)].bottom);
  s.top = std::max(top, s.bottom + MinSegThickness());
  AnchorSeg(s);
  return true;
}

bool CWpSegment::SetSegBottom(int index, double y) {
  WPSEGMENT& s = GetSeg(index);
  double bottom = y;
  if (index + 1 < GetSegCount()) bottom = std::max(bottom, segs_[static_cast<std::size_t>(index + 1)].top);
  s.bottom = std::min(bottom, s.top - MinSegThickness());
  AnchorSeg(s);
  return true;
}

bool CWpSegment::TestOneSeg(const WPSEGMENT& seg, FLOATPOINT p) {
  return GetLeft() < p.x && p.x < GetRight() && seg.bottom < p.y && p.y < seg.top;
}

// ---------------------------------------------------------------- depths

bool CWpSegment::InDepthRange(double top, double bottom) const {
  constexpr double kDepthTol = 0.001;
  return bottom - top_depth_ > kDepthTol && bottom_depth_ - top > kDepthTol;
}

void CWpSegment::AnchorSeg(WPSEGMENT& seg) {
  seg.top_depth = MapYToDep(static_cast<float>(seg.top));
  seg.bottom_depth = MapYToDep(static_cast<float>(seg.bottom));
}

std::vector<double> CWpSegment::MappingKey() {
  std::vector<double> key = {dep_scl_, top_depth_, bottom_depth_};
  CWpWell* well = GetWell();
  if (!well) return key;
  key.push_back(well->IsBlankSpace() ? 1 : 0);
  int n = 0;
  for (const ZUPOINT3D& p : well->ScaleSegment(1, n)) key.insert(key.end(), {p.x, p.y, p.z});
  key.push_back(-1);
  for (const ZUPOINT3D& p : well->GetFaultInfo().points) key.insert(key.end(), {p.x, p.y, p.z});
  return key;
}

void CWpSegment::BuildBody() {
  CWpContent::BuildBody();
  const double body_top = GetBodyTop(), body_bottom = GetBodyBottom();
  std::vector<double> key = MappingKey();
  const bool known = !Unset(prev_body_top_) && !Unset(prev_body_bottom_);
  const bool depths_known = !Unset(prev_top_depth_) && !Unset(prev_bottom_depth_);
  if (known && std::fabs(body_top - prev_body_top_) > kEpsilon) {
    // The kit moved on the map: its segments move along.
    const double dy = body_top - prev_body_top_;
    for (WPSEGMENT& s : segs_) {
      s.top += dy;
      s.bottom += dy;
    }
  }
  const bool range_changed =
      depths_known && (std::fabs(prev_top_depth_ - top_depth_) > kEpsilon ||
                       std::fabs(prev_bottom_depth_ - bottom_depth_) > kEpsilon);
  const bool scale_changed =
      known && std::fabs((prev_body_top_ - prev_body_bottom_) - (body_top - body_bottom)) > kTol;
  const bool mapping_changed = !mapping_key_.empty() && mapping_key_ != key;
  if (range_changed || scale_changed || mapping_changed) {
    // Segments whose depths were never taken (read from a document) take
    // them from the mapping they were laid out with: the previous one.
    if (known && depths_known && prev_body_top_ - prev_body_bottom_ > kEpsilon) {
      const double per_unit =
          (prev_bottom_depth_ - prev_top_depth_) / (prev_body_top_ - prev_body_bottom_);
      const double top_now = body_top;
      for (WPSEGMENT& s : segs_) {
        if (Unset(s.top_depth)) s.top_depth = prev_top_depth_ + (top_now - s.top) * per_unit;
        if (Unset(s.bottom_depth))
          s.bottom_depth = prev_top_depth_ + (top_now - s.bottom) * per_unit;
      }
    }
    UpdateSegDepth();
  } else {
    for (WPSEGMENT& s : segs_)
      if (Unset(s.top_depth) || Unset(s.bottom_depth)) AnchorSeg(s);
  }
  prev_body_top_ = body_top;
  prev_body_bottom_ = body_bottom;
  prev_top_depth_ = top_depth_;
  prev_bottom_depth_ = bottom_depth_;
  mapping_key_ = std::move(key);
}

void CWpSegment::UpdateSegDepth() { RemapSegments(); }

void CWpSegment::RemapSegments() {
  for (WPSEGMENT& s : segs_) {
    if (Unset(s.top_depth) || Unset(s.bottom_depth)) continue;
    s.top = DepToMapY(s.top_depth);
    s.bottom = DepToMapY(s.bottom_depth);
  }
}

// ---------------------------------------------------------------- copies

void CWpSegment::DuplicateAttribute(CZuObject* target) {
  auto* seg = dynamic_cast<CWpSegment*>(target);
  if (!seg || seg == this) return;
  CWpContent::DuplicateAttribute(target);
  seg->segs_ = segs_;  // the copies share the data records
  seg->data_source_ = data_source_;
  seg->data_name_ = data_name_;
  seg->seg_color_ = seg_color_;
  seg->work_state_ = work_state_;
  seg->prev_body_top_ = prev_body_top_;
  seg->prev_body_bottom_ = prev_body_bottom_;
  seg->prev_top_depth_ = prev_top_depth_;
  seg->prev_bottom_depth_ = prev_bottom_depth_;
  seg->mapping_key_ = mapping_key_;
}

}  // namespace davodu
