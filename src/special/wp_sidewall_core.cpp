// The sidewall core kit: settings, the data link, the catalogue look-up and
// editing.
#include "davodu/special/wp_sidewall_core.h"

#include <algorithm>
#include <cmath>

#include "davodu/data/data_sources.h"
#include "davodu/data/wd_mgr.h"
#include "davodu/host/graphics/graph_tool.h"
#include "davodu/host/objects/view.h"
#include "davodu/host/objects/zu_map.h"
#include "davodu/host/util/exceptions.h"
#include "davodu/host/util/gbk.h"
#include "davodu/host/util/util.h"
#include "davodu/well/wp_well.h"

namespace davodu {

DAVODU_IMPLEMENT_DYNCREATE(CWpSidewallCore, CWpContent)

CWpSidewallCore::CWpSidewallCore(CZuLayer* layer) : CWpContent(layer) { Initialize(); }

CWpSidewallCore::~CWpSidewallCore() { SepFrmObservee(); }

void CWpSidewallCore::Initialize() {
  class_name_ = "CWpSidewallCore";
  name_ = type_name_ = "WpSidewallCore";
  title_text_ = Gbk("井壁取芯");
  data_type_ = DATA_WELL;
  data_name_ = Gbk("井壁取芯数据,岩性,含油级别");
  samples_.clear();
  symbol_pos_ = 0.15;
  symbol_size_ = 400;
  grade_pos_ = 0.32;
  lith_text_visible_ = false;
  grade_text_visible_ = false;
  text_font_ = ZULOGFONT{};
  text_font_.height = 200;
  text_font_.SetFaceName(Gbk("宋体"));
  outline_pen_ = ZULOGPEN{};
  outline_pen_.color = 0;
  outline_pen_.color2 = 0xFFFFFF;
  outline_pen_.width = 10;
  active_ = -1;
  dragging_ = false;
}

void CWpSidewallCore::Clear() {
  SepFrmObservee();
  CWpContent::Clear();
  Initialize();
}

std::string CWpSidewallCore::KindLabel() const { return Gbk("井壁取芯"); }

// ---------------------------------------------------------------- settings

bool CWpSidewallCore::SetSymbolPos(double pos) {
  if (!(pos >= 0 && pos <= 1)) return false;
  symbol_pos_ = pos;
  return true;
}

bool CWpSidewallCore::SetSymbolSize(double size) {
  if (!(size > 0 && size < 10000)) return false;
  symbol_size_ = size;
  return true;
}

bool CWpSidewallCore::SetGradePos(double pos) {
  if (!(pos >= 0 && pos <= 1)) return false;
  grade_pos_ = pos;
  return true;
}

bool CWpSidewallCore::IfLineStyleUsed(int code) const {
  return CWpContent::IfLineStyleUsed(code) || outline_pen_.style == code;
}

void CWpSidewallCore::Amplify(FLOATPOINT centre, double fx, double fy) {
  CWpContent::Amplify(centre, fx, fy);
  symbol_size_ *= fx;
  text_font_.height *= static_cast<float>(fx);
  outline_pen_.width *= static_cast<float>(fx);
}

void CWpSidewallCore::DuplicateAttribute(CZuObject* target) {
  CWpContent::DuplicateAttribute(target);
  auto* t = dynamic_cast<CWpSidewallCore*>(target);
  if (!t || t == this) return;
  if (Observee* io = GetObservee()) io->Register(t);
  t->data_type_ = data_type_;
  t->data_name_ = data_name_;
  t->samples_ = samples_;
  t->symbol_pos_ = symbol_pos_;
  t->symbol_size_ = symbol_size_;
  t->grade_pos_ = grade_pos_;
  t->lith_text_visible_ = lith_text_visible_;
  t->grade_text_visible_ = grade_text_visible_;
  t->text_font_ = text_font_;
  t->outline_pen_ = outline_pen_;
}

// ---------------------------------------------------------------- data link

WDMgrIO* CWpSidewallCore::Gateway() {
  CWpWell* well = GetWell();
  return well ? well->GetDataMgr() : nullptr;
}

void CWpSidewallCore::InitDataTable() {
  WDMgrIO* gateway = Gateway();
  LogSidewallCoreIO* io =
      gateway ? gateway->GetSidewallCoreIO(static_cast<DATATYPE>(data_type_), data_name_) : nullptr;
  SepFrmObservee();
  if (io) io->Register(this);
}

void CWpSidewallCore::ResetData() {
  WDMgrIO* gateway = Gateway();
  LogSidewallCoreIO* io =
      gateway ? gateway->GetSidewallCoreIO(static_cast<DATATYPE>(data_type_), data_name_) : nullptr;
  SepFrmObservee();
  if (io) {
    io->Attatch(this);  // loads the samples
  } else {
    // The samples stored with the column stay; they take their look from
    // the catalogue again.
    for (SidewallSample& s : samples_) LookUp(&s);
    InvalidBody();
  }
}

void CWpSidewallCore::SetDataSource(int type, const std::string& name) {
  if (type == data_type_ && name == data_name_) return;
  data_type_ = type;
  data_name_ = name;
  ResetData();
}

void CWpSidewallCore::UpdateWithObservee() {
  UpdateSamples();
  InvalidBody();
}

void CWpSidewallCore::UpdateSamples() {
  LogSidewallCoreIO* io = GetData();
  if (!io) return;
  samples_.clear();
  const int n = io->GetCount();
  for (int i = 0; i < n; ++i) {
    const double depth = io->GetDepth(i);
    if (IsMissing(depth) || !std::isfinite(depth)) continue;
    SidewallSample s;
    s.index = i;
    s.depth = static_cast<float>(depth);
    s.lithology = io->GetText1(i);
    s.grade = io->GetText2(i);
    LookUp(&s);
    samples_.push_back(std::move(s));
  }
  // Records out of depth order are shown in depth order.
  std::stable_sort(samples_.begin(), samples_.end(),
                   [](const SidewallSample& a, const SidewallSample& b) { return a.depth < b.depth; });
  if (active_ >= static_cast<int>(samples_.size())) active_ = -1;
}

void CWpSidewallCore::LookUpLithology(LogCorelithMgrIO* catalog, const std::string& text,
                                      COLORREF* color, unsigned* pattern) {
  *color = 0xFFFFFF;
  *pattern = 0;
  const std::string name = TrimBlanks(text);
  if (!catalog || name.empty()) return;
  // The longest lithology of the catalogue the text ends with; what stands
  // before it is the colour.
  std::string lith;
  for (int i = 0; i < catalog->GetLithCount(); ++i) {
    const std::string candidate = catalog->GetLithName(i);
    if (candidate.empty() || candidate.size() <= lith.size() || candidate.size() > name.size()) continue;
    if (name.compare(name.size() - candidate.size(), candidate.size(), candidate) == 0) lith = candidate;
  }
  LithPatternInfo info;
  if (!lith.empty() && catalog->GetLithPattern(lith, &info)) *pattern = info.code;
  COLORREF own = 0xFFFFFF;
  const bool has_own = !lith.empty() && catalog->GetLithColor(lith, &own);
  std::string prefix = TrimBlanks(name.substr(0, name.size() - lith.size()));
  COLORREF named = 0xFFFFFF;
  bool has_named = !prefix.empty() && catalog->GetColorValue(prefix, &named);
  // "灰色" is the colour "灰".
  static const std::string kColorWord = Gbk("色");
  if (!has_named && prefix.size() > kColorWord.size() &&
      prefix.compare(prefix.size() - kColorWord.size(), kColorWord.size(), kColorWord) == 0)
    has_named = catalog->GetColorValue(prefix.substr(0, prefix.size() - kColorWord.size()), &named);
  if (has_named)
    *color = named;
  else if (has_own)
    *color = own;
}

void CWpSidewallCore::LookUp(SidewallSample* s) {
  WDMgrIO* gateway = Gateway();
  LogCorelithMgrIO* catalog = gateway ? gateway->GetCorelithMgr() : nullptr;
  LookUpLithology(catalog, s->lithology, &s->color, &s->pattern);
  int symbol = 0;
  s->grade_symbol = catalog && !TrimBlanks(s->grade).empty() && catalog->GetOilSymbol(TrimBlanks(s->grade), &symbol)
                        ? static_cast<unsigned>(symbol)
                        : 0;
}

// ---------------------------------------------------------------- editing

bool CWpSidewallCore::SetSampleDepth(int i, double depth) {
  if (i < 0 || i >= static_cast<int>(samples_.size()))
    throw CInvalidArgException("CWpSidewallCore: no sample " + std::to_string(i));
  SidewallSample& s = samples_[static_cast<std::size_t>(i)];
  if (LogSidewallCoreIO* io = GetData()) {
    if (s.index < 0 || !io->SetDepth(s.index, depth)) {
      // Refused: the column shows the data as it is.
      UpdateSamples();
      InvalidBody();
      return false;
    }
    io->Notify();
    return true;
  }
  // A column of its own keeps its samples in depth order as well.
  const double above = i > 0 ? samples_[static_cast<std::size_t>(i - 1)].depth : -kFltMax;
  const double below = i + 1 < static_cast<int>(samples_.size()) ? samples_[static_cast<std::size_t>(i + 1)].depth
                                                                 : kFltMax;
  s.depth = static_cast<float>(std::clamp(depth, above, below));
  SetModifyFlag();
  InvalidBody();
  return true;
}

FLOATRECT CWpSidewallCore::BlockOf(int i) {
  const SidewallSample& s = samples_[static_cast<std::size_t>(i)];
  const double left = map_nodes_[0].x, width = map_nodes_[1].x - map_nodes_[0].x;
  const double cx = left + width * symbol_pos_;
  const double half_w = std::min(symbol_size_ / 2, width * 0.2);
  // Half the block's height: as much as the neighbours leave (they share
  // the gap). Samples taken at one depth are drawn at one place.
  double half_h = symbol_size_ * 0.3;
  const double y = DepToMapY(s.depth);
  for (int k : {i - 1, i + 1}) {
    if (k < 0 || k >= static_cast<int>(samples_.size())) continue;
    const double gap = std::abs(DepToMapY(samples_[static_cast<std::size_t>(k)].depth) - y);
    if (gap > 1) half_h = std::min(half_h, gap * 0.45);
  }
  return FLOATRECT{cx - half_w, y + half_h, cx + half_w, y - half_h};
}

int CWpSidewallCore::SampleAt(CPoint point) {
  if (!PtInBody(point)) return -1;
  const FLOATPOINT p = LP2MP(point);
  const double e = GetTranslator().DrawLengthToMap(AfxGetNodeRectWidth() / 2);
  for (int i = 0; i < static_cast<int>(samples_.size()); ++i) {
    const FLOATRECT r = BlockOf(i);
    if (p.x >= r.left - e && p.x <= r.right + e && p.y <= r.top + e && p.y >= r.bottom - e) return i;
  }
  return -1;
}

double CWpSidewallCore::DragDepth(int i, int y) {
  const double body_top = GetBodyTop(), body_bottom = GetBodyBottom();
  const double map_y = std::clamp(LP2MP(y), body_bottom, body_top);
  double depth = MapYToDep(static_cast<float>(map_y));
  if (i > 0) depth = std::max(depth, static_cast<double>(samples_[static_cast<std::size_t>(i - 1)].depth));
  if (i + 1 < static_cast<int>(samples_.size()))
    depth = std::min(depth, static_cast<double>(samples_[static_cast<std::size_t>(i + 1)].depth));
  return depth;
}

int CWpSidewallCore::OnLButtonDown(CView* view, CDC* dc, unsigned flags, CPoint point) {
  dragging_ = false;
  press_point_ = last_point_ = point;
  if (!IsSelected() || !PtInBody(point)) {
    if (active_ >= 0) InvalidBody();
    active_ = -1;
    return CWpContent::OnLButtonDown(view, dc, flags, point);
  }
  const int picked = SampleAt(point);
  if (picked != active_) InvalidBody();
  active_ = picked;
  if (view) {
    view->SetCursor(active_ >= 0 ? IDC_SIZENS : IDC_ARROW);
    view->SetCapture();
  }
  return 0;
}

int CWpSidewallCore::OnMouseMove(CView* view, CDC* dc, unsigned flags, CPoint point) {
  const bool button = (flags & MK_LBUTTON) != 0 || (view && view->HasCapture());
  if (button && active_ >= 0) {
    if (dragging_) DrawShadow(dc, last_point_.y);  // off at the old place
    DrawShadow(dc, point.y);                        // on at the new one
    dragging_ = true;
    last_point_ = point;
    return 0;
  }
  if (PtInBody(point)) return 0;
  return CWpContent::OnMouseMove(view, dc, flags, point);
}

int CWpSidewallCore::OnLButtonUp(CView* view, CDC* dc, unsigned flags, CPoint point) {
  if (active_ >= 0 && active_ < static_cast<int>(samples_.size()) && dragging_) {
    DrawShadow(dc, last_point_.y);
    dragging_ = false;
    if (point.y != press_point_.y) SetSampleDepth(active_, DragDepth(active_, point.y));
    if (view) view->ReleaseCapture();
    return 2;
  }
  dragging_ = false;
  if (view) view->ReleaseCapture();
  return CWpContent::OnLButtonUp(view, dc, flags, point);
}

}  // namespace davodu
