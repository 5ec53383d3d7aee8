// The facies kit: the data link, the catalogue look-ups, editing and drawing.
#include "davodu/special/wp_facies.h"

#include <memory>

#include "davodu/data/data_sources.h"
#include "davodu/host/graphics/graph_tool.h"
#include "davodu/host/util/exceptions.h"
#include "davodu/host/util/gbk.h"
#include "davodu/host/util/util.h"

namespace davodu {

DAVODU_IMPLEMENT_DYNCREATE(CWpFacies, CWpSegment)

CWpFacies::CWpFacies(CZuLayer* layer) : CWpSegment(layer) { Initialize(); }

void CWpFacies::Initialize() {
  class_name_ = "CWpFacies";
  name_ = type_name_ = "WpFacies";
  title_text_ = Gbk("沉积相");
  catalog_ = nullptr;
  name_visible_ = true;
  name_font_ = ZULOGFONT{};
  name_font_.height = 300;
  name_font_.SetFaceName(Gbk("宋体"));
  divide_pen_ = ZULOGPEN{};
  divide_pen_.width = 10;
  divide_line_visible_ = 1;
}

void CWpFacies::Clear() {
  ClearSeg();
  SepFrmObservee();
  catalog_ = nullptr;
  CWpSegment::Clear();
  Initialize();
}

std::string CWpFacies::KindLabel() const { return Gbk("沉积相"); }

void CWpFacies::Update() { UpdateWithObservee(); }

// ---------------------------------------------------------------- data link

LogFaciesDIO* CWpFacies::FindDataObject(WDMgrIO* gateway) {
  return gateway->GetFacies(static_cast<FACIESSOURCE>(data_source_),
                            data_source_ == FACIES_SCATT ? data_name_ : std::string());
}

void CWpFacies::TakeIdentifier(const LOGFACIES& entry) {
  data_source_ = entry.source;
  data_name_ = entry.name;
}

void CWpFacies::ResetData() {
  const bool has_table = (data_source_ >= FACIES_STRATUM_FIRST && data_source_ <= FACIES_FINE_LAST) ||
                         data_source_ == FACIES_SCATT;
  if (has_table) {
    ReloadData();
    return;
  }
  // Clearing here would lose the only copy of the intervals.
  SepFrmObservee();
  UpdateD2V();
}

void CWpFacies::SetFaciesSource(int source, const std::string& name) {
  data_source_ = source;
  data_name_ = name;
  ResetData();
}

LogFaciesTypeMgrIO* CWpFacies::GetFaciesTypeMgr() {
  if (!catalog_)
    if (WDMgrIO* gateway = Gateway()) catalog_ = gateway->GetFaciesTypeMgr();
  return catalog_;
}

void CWpFacies::UpdateD2V() {
  LogFaciesTypeMgrIO* catalog = GetFaciesTypeMgr();
  if (!catalog) return;
  if (LogFaciesDIO* io = GetData()) {
    const int n = io->GetCount();
    if (!segs_.empty() && n >= 0) ClearSeg();
    for (int i = 0; i < n; ++i) {
      const double top = io->GetTop(i), bottom = io->GetBottom(i);
      // A record without depths, or upside down, is no interval.
      if (IsMissing(top) || IsMissing(bottom) || !(bottom > top) || !InDepthRange(top, bottom)) continue;
      const int at = AddASeg(DepToMapY(top), DepToMapY(bottom));
      if (at < 0) continue;  // overlaps an interval shown
      WPSEGMENT& seg = segs_[static_cast<std::size_t>(at)];
      seg.data = std::make_shared<FDIndex>(i, io->GetFaciesName(i));
      seg.top_depth = top;
      seg.bottom_depth = bottom;
    }
  }
  for (WPSEGMENT& seg : segs_)
    if (auto* rec = dynamic_cast<FDIndex*>(seg.data.get()))
      rec->fill = catalog->GetBrush(catalog->FindByCode(rec->code));
  InvalidBody();
}

void CWpFacies::UpdateSegDepth() {
  if (GetData())
    UpdateD2V();
  else
    CWpSegment::UpdateSegDepth();
}

FDIndex* CWpFacies::Record(int i) const {
  if (i < 0 || i >= GetSegCount()) return nullptr;
  return dynamic_cast<FDIndex*>(segs_[static_cast<std::size_t>(i)].data.get());
}

std::string CWpFacies::GetFaciesName(int i) {
  GetSeg(i);  // raises outside the list
  LogFaciesTypeMgrIO* catalog = GetFaciesTypeMgr();
  const FDIndex* rec = Record(i);
  if (!catalog || !rec) return std::string();
  const int k = catalog->FindByCode(rec->code);
  return k < 0 ? std::string() : catalog->GetName(k);
}

const std::string& CWpFacies::GetFaciesCode(int i) const {
  static const std::string kNone;
  GetSeg(i);
  const FDIndex* rec = Record(i);
  return rec ? rec->code : kNone;
}

bool CWpFacies::SetFaciesName(const std::string& name, int i) {
  LogFaciesTypeMgrIO* catalog = GetFaciesTypeMgr();
  if (i < 0 || i >= GetSegCount() || !catalog) return false;
  const int k = catalog->FindByName(name);
  if (k < 0 || k >= catalog->GetCount()) return false;
  const std::string code = catalog->GetCode(k);
  LogFaciesDIO* io = GetData();
  if (io && data_source_ != FACIES_NONE) {
    const FDIndex* rec = Record(i);
    if (!rec || !io->SetFaciesName(rec->index, code)) return false;
    io->Notify();
    return true;
  }
  WPSEGMENT& seg = segs_[static_cast<std::size_t>(i)];
  auto* rec = dynamic_cast<FDIndex*>(seg.data.get());
  if (!rec) {
    seg.data = std::make_shared<FDIndex>();
    rec = static_cast<FDIndex*>(seg.data.get());
  }
  rec->code = code;
  rec->fill = catalog->GetBrush(k);
  SetModifyFlag();
  InvalidateSeg();
  return true;
}

int CWpFacies::OnCommand(CView* view, CDC* dc, unsigned id, long param) {
  if (id == kCmdCheckDataSet)
    if (LogFaciesDIO* io = GetData()) io->CheckDataSet();
  return CWpSegment::OnCommand(view, dc, id, param);
}

// ---------------------------------------------------------------- drawing

void CWpFacies::DrawSeg(CDC* dc, CView* view, CRect* clip, CRect* done) {
  const CClipTool& clipper = AfxGetClipTool();
  const int level = clipper.SaveDC(dc);
  clipper.SetClip(dc, BodyDraw());
  const double body_top = GetBodyTop(), body_bottom = GetBodyBottom();
  auto shown = [&](const WPSEGMENT& s) { return body_top > s.bottom && body_bottom < s.top; };
  for (WPSEGMENT& s : segs_)
    if (shown(s)) DrawOneSeg(s, seg_color_, dc, view, clip, done);
  DrawBlankSpace(dc, view);
  // The names after every fill, so that no fill covers a name.
  for (WPSEGMENT& s : segs_)
    if (shown(s)) DrawName(s, dc);
  clipper.AbortClip(dc, level);
}

void CWpFacies::DrawOneSeg(WPSEGMENT& seg, COLORREF, CDC* dc, CView*, CRect*, CRect*) {
  const CRect r = MP2LP(FLOATRECT{GetLeft(), seg.top, GetRight(), seg.bottom});
  ZULOGBRUSH fill;
  fill.style = kBrushDefaultSolid;
  fill.color = 0xFFFFFF;
  if (const auto* rec = dynamic_cast<const FDIndex*>(seg.data.get())) fill = rec->fill;
  AfxGetFillTool().FillRect(dc, r, fill, zoom_);
  if (divide_line_visible_) {
    const CLineTool& line = AfxGetLineTool();
    line.DrawLine(dc, CPoint{r.left, r.top}, CPoint{r.right, r.top}, divide_pen_, zoom_);
    line.DrawLine(dc, CPoint{r.left, r.bottom}, CPoint{r.right, r.bottom}, divide_pen_, zoom_);
  }
}

void CWpFacies::DrawOneSelectedSeg(WPSEGMENT& seg, COLORREF color, CDC* dc, CView* view, CRect* clip,
                                   CRect* done) {
  DrawOneSeg(seg, color, dc, view, clip, done);
  DrawName(seg, dc);
}

void CWpFacies::DrawName(WPSEGMENT& seg, CDC* dc) {
  if (!name_visible_) return;
  LogFaciesTypeMgrIO* catalog = GetFaciesTypeMgr();
  const auto* rec = dynamic_cast<const FDIndex*>(seg.data.get());
  if (!catalog || !rec) return;
  const int k = catalog->FindByCode(rec->code);
  if (k < 0) return;
  const std::string name = catalog->GetName(k);
  if (name.empty()) return;
  const CRect r = MP2LP(FLOATRECT{GetLeft(), seg.top, GetRight(), seg.bottom});
  // A name taller than its interval would cross the divide lines: left out.
  if (std::abs(r.top - r.bottom) < name_font_.height * zoom_) return;
  AfxGetTextTool().DrawTextInRect(dc, r, name, name_font_, zoom_, kAlignCenter, kAlignMiddle);
}

// ---------------------------------------------------------------- settings

bool CWpFacies::IfFillStyleUsed(int code) const {
  for (int i = 0; i < GetSegCount(); ++i) {
    const FDIndex* rec = Record(i);
    if (rec && rec->fill.style == code) return true;
  }
  return false;
}

bool CWpFacies::IfLineStyleUsed(int code) const {
  return CWpSegment::IfLineStyleUsed(code) || divide_pen_.style == code;
}

void CWpFacies::Amplify(FLOATPOINT centre, double fx, double fy) {
  CWpSegment::Amplify(centre, fx, fy);
  name_font_.height = static_cast<float>(name_font_.height * fx);
  divide_pen_.width = static_cast<float>(divide_pen_.width * fx);
}

void CWpFacies::DuplicateAttribute(CZuObject* target) {
  auto* f = dynamic_cast<CWpFacies*>(target);
  if (!f || f == this) return;
  CWpSegment::DuplicateAttribute(target);
  if (Observee* io = GetObservee()) io->Register(f);
  f->data_source_ = data_source_;
  f->catalog_ = catalog_;
  f->name_font_ = name_font_;
  f->name_visible_ = name_visible_;
  f->divide_line_visible_ = divide_line_visible_;
  f->divide_pen_ = divide_pen_;
}

}  // namespace davodu
