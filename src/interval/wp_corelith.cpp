// The lithology kit: settings, the data link, the catalogue look-ups and
// editing.
#include "davodu/interval/wp_corelith.h"

#include <cmath>
#include <cstdio>
#include <memory>

#include "davodu/data/adapters/catalog_adapters.h"
#include "davodu/data/data_sources.h"
#include "davodu/host/util/gbk.h"
#include "davodu/host/util/util.h"

namespace davodu {

DAVODU_IMPLEMENT_DYNCREATE(CWpCorelith, CWpSegment)

namespace {

// The texts of an interval, in the order of LogCorelithDIO's setters.
enum Text { kCategory, kLithology, kColorName, kOilName };

}  // namespace

CWpCorelith::CWpCorelith(CZuLayer* layer) : CWpSegment(layer) {
  data_source_ = CORELITH_WELL;
  Initialize();
}

void CWpCorelith::Initialize() {
  class_name_ = name_ = type_name_ = "CWpCorelith";
  title_text_ = Gbk("岩性");
  table_name_ = Gbk("岩性数据");
  lith_field_ = Gbk("岩性名称");
  color_field_ = Gbk("颜色");
  oil_field_ = Gbk("含油性");
  code_field_ = Gbk("岩性");
  ComposeDataName();
  catalog_ = nullptr;
  color_per_ = 0.0;
  oil_per_ = 0.16699999570846558;
  pattern_per_ = 1.0;
  use_bk_color_ = false;
  unit_height_ = 0.30000001192092896;
  name_font_ = ZULOGFONT{};
  name_font_.height = 300;
  name_font_.SetFaceName(Gbk("宋体"));
  name_visible_ = false;
  divide_pen_ = ZULOGPEN{};
  divide_pen_.width = 10;
  divide_line_visible_ = false;
  divide_point_ = ZULOGPOINT{};
  divide_point_.style = kPointFilledCircle;
  divide_point_.size = 60;
  divide_point_visible_ = false;
  nearest_top_ = 0;
  flags_[0] = flags_[1] = flags_[2] = false;
}

void CWpCorelith::Clear() {
  SepFrmObservee();
  CWpSegment::Clear();
  Initialize();
}

std::string CWpCorelith::KindLabel() const { return Gbk("岩性"); }

void CWpCorelith::Update() {
  CWpSegment::Update();
  UpdateD2V();
}

// ---------------------------------------------------------------- data link

LogCorelithDIO* CWpCorelith::FindDataObject(WDMgrIO* gateway) {
  return gateway->GetCorelith(static_cast<CORELITHSOURCE>(data_source_), data_name_);
}

void CWpCorelith::TakeIdentifier(const LOGCORELITH& entry) {
  data_source_ = entry.source;
  data_name_ = entry.name;
  SplitDataName();
}

void CWpCorelith::ComposeDataName() {
  std::string name(1, ',');
  for (const std::string* part : {&table_name_, &lith_field_, &color_field_, &oil_field_, &code_field_}) {
    // An empty part is kept as one blank, so that the name keeps its places.
    name += part->empty() ? std::string(1, ' ') : *part;
    name += ',';
  }
  data_name_ = std::move(name);
}

void CWpCorelith::SplitDataName() {
  const std::vector<std::string> fields = ComposedNameParts(data_name_);
  std::string* parts[] = {&table_name_, &lith_field_, &color_field_, &oil_field_, &code_field_};
  for (std::size_t i = 0; i < 5; ++i)
    *parts[i] = fields.size() > 4 ? fields[i] : std::string(1, ' ');
}

void CWpCorelith::SetNamePart(std::string* part, const std::string& value) {
  if (*part == value) return;
  *part = value;
  ComposeDataName();
  ResetData();
}

void CWpCorelith::SetTableName(const std::string& name) { SetNamePart(&table_name_, name); }
void CWpCorelith::SetCorelithField(const std::string& name) { SetNamePart(&lith_field_, name); }
void CWpCorelith::SetColorField(const std::string& name) { SetNamePart(&color_field_, name); }
void CWpCorelith::SetOilCodeField(const std::string& name) { SetNamePart(&oil_field_, name); }
void CWpCorelith::SetCorelithCodeField(const std::string& name) { SetNamePart(&code_field_, name); }

void CWpCorelith::SetCorelithSource(int source) {
  if (source == data_source_) return;
  data_source_ = source;
  ResetData();
}

LogCorelithMgrIO* CWpCorelith::GetColthMgr() {
  if (!catalog_)
    if (WDMgrIO* gateway = Gateway()) catalog_ = gateway->GetCorelithMgr();
  return catalog_;
}

double CWpCorelith::QuantiseDepth(double depth) {
  // floor, not truncation: altitude depths may be negative.
  return std::floor(depth * 1000 + 0.5) / 1000;
}

void CWpCorelith::IniSegData(WPSEGMENT& seg) { seg.data = std::make_shared<ColthDIndex>(); }

void CWpCorelith::UpdateD2V() {
  LogCorelithMgrIO* catalog = GetColthMgr();
  if (!catalog) return;
  if (LogCorelithDIO* io = GetData()) {
    const int n = io->GetCount();
    if (!segs_.empty() && n >= 0) ClearSeg();
    for (int i = 0; i < n; ++i) {
      const double top_read = io->GetTop(i), bottom_read = io->GetBottom(i);
      // A missing depth is no interval, and an interval whose thickness is
      // negative is refused rather than drawn upside down.
      if (IsMissing(top_read) || IsMissing(bottom_read)) continue;
      const double top = QuantiseDepth(top_read), bottom = QuantiseDepth(bottom_read);
      if (!(bottom > top) || !InDepthRange(top, bottom)) continue;
      const int at = AddASeg(DepToMapY(top), DepToMapY(bottom));
      if (at < 0) continue;  // overlaps an earlier interval
      WPSEGMENT& seg = segs_[static_cast<std::size_t>(at)];
      auto rec = std::make_shared<ColthDIndex>(i);
      rec->category = io->GetLithName(i);
      rec->lithology = io->GetAttr6(i);
      rec->structure = io->GetAttr5(i);
      rec->prefix = io->GetAttr4(i);
      rec->inclusions = io->GetAttr3(i);
      rec->color_name = io->GetAttr1(i);
      rec->oil_name = io->GetAttr2(i);
      seg.data = std::move(rec);
      seg.top_depth = top;
      seg.bottom_depth = bottom;
    }
  }
  for (int i = 0; i < GetSegCount(); ++i)
    if (ColthDIndex* rec = Record(i)) LookUp(rec);
  InvalidBody();
}

void CWpCorelith::LookUp(ColthDIndex* rec) {
  LogCorelithMgrIO* catalog = GetColthMgr();
  if (!catalog) return;
  // Each by its short name, else by its full name.
  COLORREF color = 0xFFFFFF;
  if (!catalog->GetColorValue(rec->color_name, &color)) {
    const COLORREF* found = catalog->GetColorValue(FindColor(catalog, rec->color_name));
    color = found ? *found : 0xFFFFFF;
  }
  rec->color = color;
  rec->color_width = 1.0;
  int symbol = 0;
  if (!catalog->GetOilSymbol(rec->oil_name, &symbol)) {
    const ZULOGPOINT* found = catalog->GetOilPoint(FindOil(catalog, rec->oil_name));
    symbol = found ? found->style : 0;
  }
  rec->oil_code = static_cast<unsigned>(symbol);
  rec->oil_width = 1.0;
  // The lithology names the pattern; an interval that gives only its
  // category is drawn with the category's.
  const std::string& lith = rec->lithology.empty() ? rec->category : rec->lithology;
  LithPatternInfo pattern;
  if (!catalog->GetLithPattern(lith, &pattern)) {
    const int i = FindLith(catalog, lith);
    pattern = i >= 0 ? catalog->GetLithPattern(i) : LithPatternInfo{0, 1.0};
  }
  rec->pattern_code = pattern.code;
  rec->pattern_width = pattern.scale;
}

void CWpCorelith::UpdateSegDepth() {
  if (GetData())
    UpdateD2V();
  else
    CWpSegment::UpdateSegDepth();
}

const ColthDIndex* CWpCorelith::Record(int i) const {
  if (i < 0 || i >= GetSegCount()) return nullptr;
  return dynamic_cast<const ColthDIndex*>(segs_[static_cast<std::size_t>(i)].data.get());
}

ColthDIndex* CWpCorelith::Record(int i) {
  return const_cast<ColthDIndex*>(static_cast<const CWpCorelith*>(this)->Record(i));
}

int CWpCorelith::CombinSegment(int index) const {
  const ColthDIndex* first = Record(index);
  if (!first) return 0;
  const double body_bottom = GetBodyBottom();
  int k = 0;
  for (int j = index + 1; j < GetSegCount(); ++j) {
    const WPSEGMENT& previous = segs_[static_cast<std::size_t>(j - 1)];
    const WPSEGMENT& follower = segs_[static_cast<std::size_t>(j)];
    const ColthDIndex* rec = Record(j);
    if (!rec || follower.top != previous.bottom || follower.top <= body_bottom ||
        !first->DrawsLike(*rec))
      break;
    ++k;
  }
  return k;
}

// ---------------------------------------------------------------- texts

std::string CWpCorelith::GetColthName(int i) const {
  const ColthDIndex* r = Record(i);
  return r ? r->category : std::string();
}
std::string CWpCorelith::GetColthTypeName(int i) const {
  const ColthDIndex* r = Record(i);
  return r ? r->lithology : std::string();
}
std::string CWpCorelith::GetContentName(int i) const {
  const ColthDIndex* r = Record(i);
  return r ? r->inclusions : std::string();
}
std::string CWpCorelith::GetColorName(int i) const {
  const ColthDIndex* r = Record(i);
  return r ? r->color_name : std::string();
}
std::string CWpCorelith::GetCtOilName(int i) const {
  const ColthDIndex* r = Record(i);
  return r ? r->oil_name : std::string();
}

LogCorelithDIO* CWpCorelith::EditableData() {
  return data_source_ != CORELITH_NONE ? GetData() : nullptr;
}

bool CWpCorelith::SetText(int i, int which, const std::string& text) {
  ColthDIndex* rec = Record(i);
  if (i < 0 || !rec) return false;
  if (LogCorelithDIO* io = EditableData()) {
    const int row = rec->index;
    bool ok = false;
    switch (which) {
      case kCategory: ok = io->SetLithName(row, text); break;
      case kLithology: ok = io->SetAttr6(row, text); break;
      case kColorName: ok = io->SetAttr1(row, text); break;
      case kOilName: ok = io->SetAttr2(row, text); break;
      default: break;
    }
    // A refused text leaves the view as it is.
    if (ok) io->Notify();
    return ok;
  }
  switch (which) {
    case kCategory: rec->category = text; break;
    case kLithology: rec->lithology = text; break;
    case kColorName: rec->color_name = text; break;
    case kOilName: rec->oil_name = text; break;
    default: break;
  }
  SetModifyFlag();
  UpdateD2V();
  return true;
}

bool CWpCorelith::SetColthName(const std::string& text, int i) { return SetText(i, kCategory, text); }
bool CWpCorelith::SetColthTypeName(const std::string& text, int i) {
  return SetText(i, kLithology, text);
}
bool CWpCorelith::SetColorName(const std::string& text, int i) { return SetText(i, kColorName, text); }
bool CWpCorelith::SetCtOilName(const std::string& text, int i) { return SetText(i, kOilName, text); }

// ---------------------------------------------------------------- depths

float CWpCorelith::GetSegTopDpth(int i) { return MapYToDep(static_cast<float>(GetSeg(i).top)); }
float CWpCorelith::GetSegBottomDpth(int i) { return MapYToDep(static_cast<float>(GetSeg(i).bottom)); }

bool CWpCorelith::SetSegTopDpth(int i, double depth) {
  if (i < 0 || i >= GetSegCount()) return false;
  if (LogCorelithDIO* io = EditableData()) {
    const ColthDIndex* rec = Record(i);
    return SettleEdit(rec && io->SetTop(rec->index, depth));
  }
  SetSegTop(i, DepToMapY(depth));
  SetModifyFlag();
  return true;
}

bool CWpCorelith::SetSegBottomDpth(int i, double depth) {
  if (i < 0 || i >= GetSegCount()) return false;
  if (LogCorelithDIO* io = EditableData()) {
    const ColthDIndex* rec = Record(i);
    return SettleEdit(rec && io->SetBottom(rec->index, depth));
  }
  SetSegBottom(i, DepToMapY(depth));
  SetModifyFlag();
  return true;
}

void CWpCorelith::MoveSeg(int index, double dy) {
  if (index < 0 || index >= GetSegCount()) return;
  CWpSegment::MoveSeg(index, dy);
  LogCorelithDIO* io = EditableData();
  const ColthDIndex* rec = Record(index);
  if (!io || !rec) {
    SetModifyFlag();
    return;
  }
  // The shift the neighbours allowed, as the row sees it.
  const double top = MapYToDep(static_cast<float>(segs_[static_cast<std::size_t>(index)].top));
  const double now = io->GetTop(rec->index);
  if (IsMissing(now)) {
    SettleEdit(false);
    return;
  }
  SettleEdit(io->Move(rec->index, top - now));
}

void CWpCorelith::MoveSegP(int index, double dy, int which) {
  if (index < 0 || index >= GetSegCount() || (which != kPickTop && which != kPickBottom)) return;
  CWpSegment::MoveSegP(index, dy, which);
  LogCorelithDIO* io = EditableData();
  const ColthDIndex* rec = Record(index);
  if (!io || !rec) {
    SetModifyFlag();
    return;
  }
  const WPSEGMENT& seg = segs_[static_cast<std::size_t>(index)];
  const double depth = MapYToDep(static_cast<float>(which == kPickTop ? seg.top : seg.bottom));
  SettleEdit(which == kPickTop ? io->SetTop(rec->index, depth) : io->SetBottom(rec->index, depth));
}

void CWpCorelith::AddDragged(double top, double bottom) {
  if (!ProbeAddSegment(top, bottom)) return;
  SetModifyFlag();
  if (data_source_ == CORELITH_NONE || data_source_ == CORELITH_SCATT) return;
  LogCorelithDIO* io = GetData();
  if (!io) {
    // A column whose well has no lithology table yet keeps the interval
    // itself.
    const int at = AddASeg(top, bottom);
    if (at >= 0) AnchorSeg(segs_[static_cast<std::size_t>(at)]);
    InvalidateSeg();
    return;
  }
  const float top_depth = MapYToDep(static_cast<float>(top));
  const float bottom_depth = MapYToDep(static_cast<float>(bottom));
  if (!io->AddSeg(top_depth, bottom_depth)) return;
  io->Notify();
  const int added = GetIndex(top, bottom);
  if (added >= 0) active_ = added;
}

void CWpCorelith::DeleteOneCorelith(int i) {
  if (i < 0 || i >= GetSegCount()) return;
  if (data_source_ == CORELITH_NONE || data_source_ == CORELITH_SCATT) return;
  LogCorelithDIO* io = GetData();
  if (!io) {
    segs_.erase(segs_.begin() + i);
    if (active_ == i) active_ = -1;
    SetModifyFlag();
    return;
  }
  const WPSEGMENT& seg = segs_[static_cast<std::size_t>(i)];
  const float top = MapYToDep(static_cast<float>(seg.top));
  const float bottom = MapYToDep(static_cast<float>(seg.bottom));
  if (!io->DeleteSeg(top, bottom)) return;
  if (active_ == i) active_ = -1;
  io->Notify();
}

// ---------------------------------------------------------------- settings

bool CWpCorelith::SetColorPer(double per) {
  if (!(per >= 0 && per <= 1)) return false;
  color_per_ = per;
  pattern_per_ = 1 - per;
  if (oil_per_ > pattern_per_) oil_per_ = pattern_per_;
  return true;
}

bool CWpCorelith::SetCtOilPer(double per) {
  // The pattern strip's share as it would be shown, to two decimals.
  char buf[32];
  std::snprintf(buf, sizeof buf, "%.2f", pattern_per_);
  if (!(per >= 0) || per > std::atof(buf)) return false;
  oil_per_ = per;
  return true;
}

bool CWpCorelith::IfLineStyleUsed(int code) const {
  return CWpSegment::IfLineStyleUsed(code) || divide_pen_.style == code;
}

bool CWpCorelith::IfPointStyleUsed(int code) const {
  if (divide_point_.style == code) return true;
  for (int i = 0; i < GetSegCount(); ++i) {
    const ColthDIndex* r = Record(i);
    if (r && (static_cast<int>(r->pattern_code) == code || static_cast<int>(r->oil_code) == code))
      return true;
  }
  return false;
}

void CWpCorelith::Amplify(FLOATPOINT centre, double fx, double fy) {
  CWpSegment::Amplify(centre, fx, fy);
  const auto f = static_cast<float>(fx);
  name_font_.height *= f;
  divide_pen_.width *= f;
  divide_point_.size *= f;
}

void CWpCorelith::DuplicateAttribute(CZuObject* target) {
  auto* c = dynamic_cast<CWpCorelith*>(target);
  if (!c || c == this) return;
  CWpSegment::DuplicateAttribute(target);
  if (Observee* io = GetObservee()) io->Register(c);
  c->table_name_ = table_name_;
  c->lith_field_ = lith_field_;
  c->color_field_ = color_field_;
  c->oil_field_ = oil_field_;
  c->code_field_ = code_field_;
  c->catalog_ = catalog_;
  c->color_per_ = color_per_;
  c->oil_per_ = oil_per_;
  c->pattern_per_ = pattern_per_;
  c->use_bk_color_ = use_bk_color_;
  c->unit_height_ = unit_height_;
  c->name_font_ = name_font_;
  c->name_visible_ = name_visible_;
  c->divide_pen_ = divide_pen_;
  c->divide_line_visible_ = divide_line_visible_;
  c->divide_point_ = divide_point_;
  c->divide_point_visible_ = divide_point_visible_;
}

}  // namespace davodu
