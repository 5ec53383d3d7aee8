// The text kit: its settings, the block list and the geometry of blocks.
#include "davodu/display/wp_text.h"

#include <algorithm>
#include <cmath>
#include <utility>

#include "davodu/host/graphics/graph_tool.h"
#include "davodu/host/objects/zu_layer.h"
#include "davodu/host/objects/zu_map.h"
#include "davodu/host/util/gbk.h"

namespace davodu {

namespace {

// Touching blocks (within this many map units) do not overlap.
constexpr double kTouch = 1;
// Tolerance of a new block's ends at the ends of the body.
constexpr double kBodyEdge = 0.1;

}  // namespace

DAVODU_IMPLEMENT_DYNCREATE(CWpText, CWpContent)

CWpText::CWpText(CZuLayer* layer) : CWpContent(layer) { Initialize(); }

// The editor leaves the layer's selection as it is destroyed.
CWpText::~CWpText() = default;

void CWpText::Initialize() {
  class_name_ = name_ = type_name_ = "CWpText";
  title_text_ = Gbk("文本");
  pick_mode_ = SPM_NONE;
  active_ = -1;
  press_ = last_ = CPoint{};
  button_down_ = false;
  font_ = ZULOGFONT{};
  font_.color = 0;
  font_.height = 300;
  font_.SetFaceName(Gbk("宋体"));
  back_color_ = 0xFFFFFF;
  align_h_ = Gbk("左对齐");
  align_v_ = Gbk("顶对齐");
  transparent_ = true;
  drag_started_ = false;
  segs_.clear();
  last_number_ = 0;
  view_set_ = false;
  boundary_pen_ = ZULOGPEN{};
  boundary_pen_.color = 0;
  boundary_pen_.width = 20;
  snap_ = false;
  snapped_top_ = 0;
  CreateEditor();
}

void CWpText::CreateEditor() {
  if (!editor_) editor_ = std::make_unique<CgEdit>(layer_);
  editor_->SetColor(font_.color);
}

void CWpText::SetLayer(CZuLayer* layer) {
  if (editor_ && layer_ && layer_ != layer) layer_->RemoveSelectedObject(editor_.get());
  CWpContent::SetLayer(layer);
  if (editor_) editor_->SetLayer(layer);
}

void CWpText::ClearContent() {
  CloseEditing();
  segs_.clear();
  active_ = -1;
  pick_mode_ = SPM_NONE;
  view_set_ = false;
}

void CWpText::Clear() {
  ClearContent();
  CWpContent::Clear();
  Initialize();
}

std::string CWpText::KindLabel() const { return Gbk("文本"); }

// ---------------------------------------------------------------- look

void CWpText::SetTextFont(const ZULOGFONT& font) {
  font_ = font;
  SetEditTextColor(font.color);
  SetEditBkColor(back_color_);
}

// The editor has one colour field: the text colour and the background
// colour both go there, the last one set stays.
void CWpText::SetEditTextColor(unsigned color) {
  if (editor_) editor_->SetColor(color);
}

void CWpText::SetEditBkColor(unsigned color) {
  if (editor_) editor_->SetColor(color);
}

// ---------------------------------------------------------------- blocks

double CWpText::NodeLength() const { return GetTranslator().DrawLengthToMap(AfxGetNodeRectWidth()); }

int CWpText::IndexOf(int number) const {
  if (number == -1) return -1;
  for (std::size_t i = 0; i < segs_.size(); ++i)
    if (segs_[i]->number == number) return static_cast<int>(i);
  return -1;
}

CgTextSegment* CWpText::FindSeg(int number) const {
  const int i = IndexOf(number);
  return i < 0 ? nullptr : segs_[static_cast<std::size_t>(i)].get();
}

bool CWpText::AddSegment(const std::string& text, double top_y, double bottom_y, bool activate) {
  auto seg = std::make_unique<CgTextSegment>();
  seg->number = ++last_number_;
  seg->top_y = static_cast<float>(top_y);
  seg->bottom_y = static_cast<float>(bottom_y);
  seg->left = static_cast<float>(map_nodes_[0].x);
  seg->right = static_cast<float>(map_nodes_[1].x);
  seg->top_depth = MapYToDep(seg->top_y);
  seg->bottom_depth = MapYToDep(seg->bottom_y);
  seg->editor = editor_.get();
  seg->text = text;
  seg->active = seg->editing = true;
  seg->owner = this;
  const int number = seg->number;
  // Y grows upwards: the first block at or below the new one's bottom
  // comes after it.
  auto at = std::find_if(segs_.begin(), segs_.end(),
                         [&](const auto& s) { return s->top_y <= bottom_y; });
  CgTextSegment* added = segs_.insert(at, std::move(seg))->get();
  if (activate) {
    ActivateSegment(number);
  } else {
    added->active = added->editing = false;
  }
  return true;
}

bool CWpText::AddSegmentAtDepth(const std::string& text, float top_depth, float bottom_depth) {
  if (!(top_depth < bottom_depth)) return false;
  for (const auto& s : segs_)
    if (top_depth < s->bottom_depth && s->top_depth < bottom_depth) return false;
  auto seg = std::make_unique<CgTextSegment>();
  seg->number = ++last_number_;
  seg->top_depth = top_depth;
  seg->bottom_depth = bottom_depth;
  seg->top_y = static_cast<float>(DepToMapY(top_depth));
  seg->bottom_y = static_cast<float>(DepToMapY(bottom_depth));
  seg->left = static_cast<float>(map_nodes_[0].x);
  seg->right = static_cast<float>(map_nodes_[1].x);
  seg->editor = editor_.get();
  seg->text = text;
  seg->owner = this;
  auto at = std::find_if(segs_.begin(), segs_.end(),
                         [&](const auto& s) { return s->top_depth >= bottom_depth; });
  segs_.insert(at, std::move(seg));
  return true;
}

// Takes the editor's text back into the block it holds and ends editing.
// Every way editing ends passes here, so typed text is never dropped.
void CWpText::CloseEditing() {
  if (!editor_) return;
  for (const auto& s : segs_) {
    if (!s->editing) continue;
    s->text = editor_->GetString();
    s->editor_rect = editor_->GetRect();
    s->editing = false;
  }
  editor_->SetSegment(nullptr);
  editor_->DisableEdit();
  if (layer_) layer_->RemoveSelectedObject(editor_.get());
}

void CWpText::ActivateSegment(int n) {
  CloseEditing();
  if (n != active_) {
    if (CgTextSegment* previous = FindSeg(active_)) previous->active = false;
  }
  if (CgTextSegment* seg = FindSeg(n)) {
    seg->active = true;
    seg->editing = false;
  }
  active_ = n;
}

void CWpText::DeleteSegment(int n) {
  const int i = IndexOf(n);
  if (i < 0) return;
  if (segs_[static_cast<std::size_t>(i)]->editing) CloseEditing();
  segs_.erase(segs_.begin() + i);
  if (n == active_) active_ = -1;
}

float CWpText::GetActiveSegTopDepth() const {
  const CgTextSegment* seg = ActiveSeg();
  return seg ? seg->top_depth : 0.0f;
}

float CWpText::GetActiveSegBotDepth() const {
  const CgTextSegment* seg = ActiveSeg();
  return seg ? seg->bottom_depth : 0.0f;
}

bool CWpText::SetActiveSegTopDepth(float depth) {
  CgTextSegment* seg = ActiveSeg();
  if (!seg) return false;
  const double y = DepToMapY(depth);
  if (!TryModifySegment(y, seg->bottom_y)) return false;
  seg->top_depth = depth;
  seg->top_y = static_cast<float>(y);
  return true;
}

bool CWpText::SetActiveSegBotDepth(float depth) {
  CgTextSegment* seg = ActiveSeg();
  if (!seg) return false;
  const double y = DepToMapY(depth);
  if (!TryModifySegment(seg->top_y, y)) return false;
  seg->bottom_depth = depth;
  seg->bottom_y = static_cast<float>(y);
  return true;
}

bool CWpText::ProbeAddSegment(double top, double bottom) {
  if (top <= bottom) return false;
  const double y0 = map_nodes_[0].y, y10 = map_nodes_[10].y;
  if (top > y0 + kBodyEdge || bottom < y10 - kBodyEdge) return false;
  if (top - bottom < 2 * NodeLength()) return false;
  for (const auto& s : segs_) {
    const bool touching = std::fabs(s->bottom_y - top) < kTouch || std::fabs(s->top_y - bottom) < kTouch;
    if (top >= s->bottom_y && bottom <= s->top_y && !touching) return false;
  }
  return true;
}

bool CWpText::TryModifySegment(double top, double bottom) {
  if (top <= bottom || top >= map_nodes_[0].y || bottom <= map_nodes_[10].y) return false;
  if (top - bottom < 2 * NodeLength()) return false;
  for (const auto& s : segs_) {
    if (s->number == active_) continue;
    if (top > s->bottom_y && bottom < s->top_y) return false;
  }
  return true;
}

void CWpText::MoveSegment(int n, double dy) {
  const int i = IndexOf(n);
  if (i < 0 || !std::isfinite(dy)) return;
  CgTextSegment& seg = *segs_[static_cast<std::size_t>(i)];
  const double y0 = map_nodes_[0].y, y10 = map_nodes_[10].y;
  const double upper = i > 0 ? segs_[static_cast<std::size_t>(i - 1)]->bottom_y : y0;
  const double lower =
      i + 1 < GetSegCount() ? segs_[static_cast<std::size_t>(i + 1)]->top_y : y10;
  if (dy > 0) dy = std::min(dy, upper - seg.top_y);
  if (dy < 0) dy = std::max(dy, lower - seg.bottom_y);
  // Against the body: a block that would reach an end stops 3 units short.
  if (dy > 0 && dy >= (y0 - seg.top_y) - 0.5) dy = (y0 - seg.top_y) - 3;
  if (dy < 0 && dy <= (y10 - seg.bottom_y) + 0.5) dy = (y10 - seg.bottom_y) + 3;
  seg.top_y = static_cast<float>(seg.top_y + dy);
  seg.bottom_y = static_cast<float>(seg.bottom_y + dy);
  seg.top_depth = MapYToDep(seg.top_y);
  seg.bottom_depth = MapYToDep(seg.bottom_y);
}

void CWpText::ResizeSegment(int n, int dy, int mode) {
  const int i = IndexOf(n);
  if (i < 0) return;
  CgTextSegment& seg = *segs_[static_cast<std::size_t>(i)];
  const double r = NodeLength();
  double d = GetTranslator().DrawLengthToMap(std::abs(dy)) * (dy < 0 ? -1 : 1);
  if (mode == SPM_TOP) {
    const double limit = i > 0 ? segs_[static_cast<std::size_t>(i - 1)]->bottom_y : map_nodes_[0].y;
    if (d < 0) d = std::max(d, (seg.bottom_y + r) - seg.top_y);
    if (d > 0) d = std::min(d, limit - seg.top_y);
    seg.top_y = static_cast<float>(seg.top_y + 0.98 * d);
    seg.top_depth = MapYToDep(seg.top_y);
  } else if (mode == SPM_BOTTOM) {
    const double limit =
        i + 1 < GetSegCount() ? segs_[static_cast<std::size_t>(i + 1)]->top_y : map_nodes_[10].y;
    if (d > 0) d = std::min(d, (seg.top_y - r) - seg.bottom_y);
    if (d < 0) d = std::max(d, limit - seg.bottom_y);
    seg.bottom_y = static_cast<float>(seg.bottom_y + 0.98 * d);
    seg.bottom_depth = MapYToDep(seg.bottom_y);
  }
}

int CWpText::GetSegment(CPoint point) {
  const FLOATPOINT p = LP2MP(point);
  const double half = NodeLength() / 2;
  for (const auto& s : segs_) {
    if (p.x > s->left && p.x < s->right && p.y > s->bottom_y - half && p.y < s->top_y + half)
      return s->number;
  }
  return -1;
}

int CWpText::PickSeg(CPoint point) {
  const int n = GetSegment(point);
  if (n != -1 && n == active_) {
    const CgTextSegment& s = *FindSeg(n);
    const FLOATPOINT p = LP2MP(point);
    const double g = 1.2 * NodeLength();
    const double cx = (s.left + s.right) / 2.0;
    if (std::fabs(p.x - cx) <= g && std::fabs(p.y - s.top_y) <= g) return SPM_TOP;
    if (std::fabs(p.x - cx) <= g && std::fabs(p.y - s.bottom_y) <= g) return SPM_BOTTOM;
    if (p.x > s.left && p.x < s.right && p.y > s.bottom_y && p.y < s.top_y) return SPM_MOVE;
    return SPM_NONE;
  }
  if (editor_) editor_->DisableEdit();
  ActivateSegment(n);
  return SPM_NONE;
}

double CWpText::GetNearestTop(CPoint point) {
  const double y = LP2MP(point).y;
  const double y0 = map_nodes_[0].y;
  for (std::size_t i = 0; i < segs_.size(); ++i) {
    if (segs_[i]->bottom_y > y) continue;
    if (i == 0) return y0;
    const double above = segs_[i - 1]->bottom_y;
    return above <= y0 ? above : y0;
  }
  return segs_.empty() ? y0 : segs_.back()->bottom_y;
}

void CWpText::LimitSegments() {
  for (const auto& s : segs_) {
    s->left = static_cast<float>(map_nodes_[4].x);
    s->right = static_cast<float>(map_nodes_[5].x);
  }
}

void CWpText::BuildBody() {
  CWpKit::BuildBody();
  for (const auto& s : segs_) {
    if (s->depths_from_y) {
      s->top_depth = MapYToDep(s->top_y);
      s->bottom_depth = MapYToDep(s->bottom_y);
      s->depths_from_y = false;
    }
    s->left = static_cast<float>(map_nodes_[0].x);
    s->right = static_cast<float>(map_nodes_[1].x);
    s->top_y = static_cast<float>(DepToMapY(s->top_depth));
    s->bottom_y = static_cast<float>(DepToMapY(s->bottom_depth));
  }
}

// ---------------------------------------------------------------- copies

void CWpText::DuplicateAttribute(CZuObject* target) {
  CWpContent::DuplicateAttribute(target);
  auto* t = dynamic_cast<CWpText*>(target);
  if (!t || t == this) return;
  t->pick_mode_ = pick_mode_;
  t->last_number_ = last_number_;
  t->transparent_ = transparent_;
  // A copy of a text column carries its text: the blocks, their font and
  // alignment come along.
  t->ClearContent();
  for (const auto& s : segs_) {
    auto copy = std::make_unique<CgTextSegment>(*s);
    copy->editing = false;
    copy->editor = t->editor_.get();
    copy->owner = t;
    if (s->editing && editor_) copy->text = editor_->GetString();
    t->segs_.push_back(std::move(copy));
  }
  t->active_ = active_;
  t->font_ = font_;
  t->back_color_ = back_color_;
  t->align_h_ = align_h_;
  t->align_v_ = align_v_;
  t->boundary_pen_ = boundary_pen_;
}

void CWpText::Amplify(FLOATPOINT centre, double fx, double fy) {
  CWpContent::Amplify(centre, fx, fy);
  font_.height = static_cast<float>(font_.height * fx);
  boundary_pen_.width = static_cast<float>(boundary_pen_.width * fx);
}

bool CWpText::IfLineStyleUsed(int code) const {
  return code == pen_.style || code == boundary_pen_.style;
}

}  // namespace davodu
