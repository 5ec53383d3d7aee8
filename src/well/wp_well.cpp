// The well: fields and defaults, data binding, depth range and depth scale,
// tree operations, menus and commands, copies.
#include "davodu/well/wp_well.h"

#include "davodu/data/data_set_checker.h"
#include "davodu/data/wd_mgr.h"
#include "davodu/display/wp_depth.h"
#include "davodu/store/well_data_manager.h"
#include "davodu/store/well_table.h"
#include "davodu/store/zu_variant.h"

#include <algorithm>
#include <cmath>

#include "davodu/host/objects/object_factory.h"
#include "davodu/host/objects/zu_map_file.h"
#include "davodu/host/objects/zu_object_cell.h"
#include "davodu/host/util/gbk.h"
#include "davodu/kits/content_kinds.h"
#include "davodu/well/wp_track.h"
#include "davodu/well/wp_track_builder.h"

namespace davodu {

DAVODU_IMPLEMENT_DYNCREATE(CWpWell, CWpKit)

namespace {

constexpr double kTol = 0.001;
// Size of the well symbol of a new well.
constexpr float kSymbolSize = 300;
// Width of a track added by AddTrack.
constexpr float kNewTrackWidth = 2000;

// Replaces every occurrence of from in text by to, matching only at GBK
// character boundaries (the trail byte of a two-byte character may equal an
// ASCII letter).
std::string ReplaceGbk(const std::string& text, const std::string& from, const std::string& to) {
  if (from.empty()) return text;
  std::string out;
  std::size_t i = 0;
  while (i < text.size()) {
    if (text.compare(i, from.size(), from) == 0) {
      out += to;
      i += from.size();
      continue;
    }
    const auto lead = static_cast<unsigned char>(text[i]);
    const std::size_t len = lead >= 0x81 && lead <= 0xFE && i + 1 < text.size() ? 2 : 1;
    out.append(text, i, len);
    i += len;
  }
  return out;
}

}  // namespace

CWpWell::CWpWell(CZuLayer* layer) : CWpKit(layer) { Initialize(); }

CWpWell::~CWpWell() {
  ClearChildren();
  DestroyDataMgr();
  // The tables belong to the layer, which goes on saving and drawing them.
  for (WellSheet* sheet : sheets_) {
    if (CZuObjectCell* cell = LiveCell(sheet->upper)) cell->SetManager(nullptr);
    if (CZuObjectCell* cell = LiveCell(sheet->lower)) cell->SetManager(nullptr);
    delete sheet;
  }
  sheets_.clear();
}

void CWpWell::Initialize() {
  class_name_ = "CWpWell";
  name_ = type_name_ = "WpWell";
  title_text_ = Gbk("井");
  border_flags_[2] = border_flags_[5] = border_flags_[6] = 0;
  border_flags_[9] = 1;
  style_ = -1;
  // The host has no point-style group for well symbols: the first style.
  symbol_ = ZULOGPOINT{};
  symbol_.style = 0;
  symbol_.size = kSymbolSize;
  title_height_ = title_font_.height + symbol_.size;

  fixed_.clear();
  unit_class_ = -1;
  top_unit_ = bottom_unit_ = Gbk("未知");
  top_extend_ = bottom_extend_ = 0;
  sheet_height_ = 3200;
  title_align_ = 1;
  title_position_ = {};
  symbol_align_ = -1;
  symbol_position_ = {};
  well_exists_ = 1;
  select_only_body_ = 0;
  can_init_data_ = 0;
  point_style_template_.clear();
  size_template_.clear();
  border_color_template_.clear();
  inner_color_template_.clear();
  name_style_template_.clear();
  name_size_template_.clear();
  name_color_template_.clear();
  range_type_ = kRangeByDepths;
  depth_type_ = kDepthMeasured;
  scale_segments_.clear();
  fault_info_ = FaultInfo{};
  fault_info_.pen.style = 1006;
  fault_info_.pen.width = 20;
  auto_arrange_ = false;
  shadow_rect_ = {};
  column_view_ = false;
}

void CWpWell::Clear() {
  CWpKit::Clear();
  DestroyDataMgr();
  scale_segments_.clear();
  fault_info_.points.clear();
  ClearSheets();
  Initialize();
}

// ---------------------------------------------------------------- fields

void CWpWell::SetStyle(BorderStyle style, bool apply) {
  if (style == style_) return;
  style_ = style;
  if (apply) ApplyStyle();
}

void CWpWell::SetUnitClass(int unit_class) {
  unit_class_ = unit_class;
  for (CWpKit* child : children_)
    if (auto* track = dynamic_cast<CWpTrack*>(child)) SetTrackStratumGrade(track, unit_class);
}

void CWpWell::SetTopExtendDepth(float depth) {
  if (!(depth >= 0) || std::fabs(depth - top_extend_) < kTol) return;
  top_extend_ = depth;
}

void CWpWell::SetBotExtendDepth(float depth) {
  if (!(depth >= 0) || std::fabs(depth - bottom_extend_) < kTol) return;
  bottom_extend_ = depth;
}

void CWpWell::SetTitleAlign(int align) { title_align_ = std::clamp(align, -1, 9); }

void CWpWell::SetTypeAlign(int align) { symbol_align_ = std::clamp(align, -1, 4); }

void CWpWell::SetTypePoint(const ZULOGPOINT& point) {
  // The title band holds the symbol only while it is shown: a hidden symbol
  // must not make the band grow each time its style is set.
  if (symbol_align_ >= 0) title_height_ += point.size - symbol_.size;
  symbol_ = point;
}

void CWpWell::SetSheetHeight(float height) {
  if (height > 200 && height < 100000) sheet_height_ = height;
}

void CWpWell::SetRangeType(int type) {
  if (type == kRangeByDepths || type == kRangeByUnits) range_type_ = type;
}

void CWpWell::SetDepthType(int type) {
  if (type == depth_type_ || type < kDepthMeasured || type > kDepthAltitude) return;
  depth_type_ = type;
  if (data_mgr_) CopyDepthTypeToDataMgr();
  ChangeDepthShowType();
  if (data_mgr_) LoadChartData();
}

// ---------------------------------------------------------------- data binding

void CWpWell::InitDataTable() {
  can_init_data_ = 1;
  IniData();
  CWpKit::InitDataTable();
}

void CWpWell::LoadChartData() {
  InitDataTable();
  Update();
  ResetData();
  Update();
}

void CWpWell::IniData() {
  if (!can_init_data_) return;
  if (data_mgr_) {
    CopyDepthTypeToDataMgr();
    return;
  }
  data_mgr_ = CreateDataMgr();
  if (data_mgr_ && DataMgrKnowsWell()) {
    well_exists_ = 1;
    FaultPointSegment();
    return;
  }
  top_unit_ = bottom_unit_ = Gbk("未知");
  well_exists_ = 0;
  SetUnitClass(-1);
}

void CWpWell::SwitchData(const std::string& name) {
  if (EqualsNoCase(name, name_)) return;
  const std::string shown = name == Gbk("未指定") ? std::string() : name;
  SetTitleText(ReplaceGbk(title_text_, name_, shown));
  name_ = name;
  DestroyDataMgr();
  IniData();
  ResetData();
  Update();
}

void CWpWell::ChangeDepthShowType() {
  for (CWpKit* child : children_) {
    if (child->GetWpKitType() == WPKIT_DEPTH) {
      SetDepthKitShowType(child, depth_type_);
    } else if (child->GetWpKitType() == WPKIT_TRACK) {
      for (CWpKit* k : child->GetChildren())
        if (k->GetWpKitType() == WPKIT_DEPTH) SetDepthKitShowType(k, depth_type_);
    }
  }
}

bool CWpWell::IsExistDepth() const {
  return std::any_of(children_.begin(), children_.end(),
                     [](const CWpKit* k) { return k->GetWpKitType() == WPKIT_DEPTH; });
}

void CWpWell::ComputeValidTopAndBottom() {
  if (!data_mgr_ || !well_exists_) return;
  const std::vector<StratumUnit> units = ReadStratumUnits();
  UnitDepthRange range{top_depth_, bottom_depth_, top_unit_, bottom_unit_};
  if (range_type_ == kRangeByUnits) {
    DepthsFromUnits(units, top_extend_, bottom_extend_, range);
    top_unit_ = range.top_unit;
    bottom_unit_ = range.bottom_unit;
    SetTopDepth(range.top);
    SetBottomDepth(range.bottom);
  } else {
    UnitsFromDepths(units, top_extend_, bottom_extend_, range);
    top_unit_ = range.top_unit;
    bottom_unit_ = range.bottom_unit;
  }
}

void CWpWell::FaultPointSegment() {
  // Without data (a document read but not bound, as `davodu upgrade` does)
  // the stored fault points stand: clearing them would lose them from the
  // document written next.
  if (!data_mgr_) return;
  fault_info_.points = BuildFaultPoints(ReadFaultPoints(), top_depth_, bottom_depth_);
}

void CWpWell::ScaleSegment() {
  FaultPointSegment();
  scale_segments_.clear();
  if (!data_mgr_) return;
  auto tiny = [](float t) { return t > 0 && t < kTol; };
  if (tiny(sand_thick_) && tiny(shale_thick_)) return;
  const std::vector<SandInterval> sands = ReadSandIntervals();
  if (sands.empty()) return;
  scale_segments_ = BuildScaleSegments(sands, top_depth_, bottom_depth_, map_nodes_[0].y, dep_scl_,
                                       sand_thick_, shale_thick_);
}

const std::vector<ZUPOINT3D>& CWpWell::ScaleSegment(int flag, int& count) {
  if (flag == 0) ScaleSegment();
  count = static_cast<int>(scale_segments_.size());
  return scale_segments_;
}

int CWpWell::OnIdle() {
  PollDataMgr();
  return CWpKit::OnIdle();
}

// The gateway does not exist yet: these paths read nothing. Each names the
// gateway call that will fill it.

WDMgrIO* CWpWell::CreateDataMgr() {
  CWellDataManager* wells = CWellDataManager::Instance();
  if (!wells) return nullptr;
  auto* mgr = new WDMgrAdapter(wells, name_.c_str());
  mgr->SetDepthType(static_cast<DepthType>(depth_type_));
  return mgr;
}

bool CWpWell::DataMgrKnowsWell() const {
  auto* mgr = dynamic_cast<WDMgrAdapter*>(data_mgr_);
  return mgr && mgr->IsWellManaged(name_);
}

void CWpWell::CopyDepthTypeToDataMgr() {
  if (data_mgr_) data_mgr_->SetDepthType(static_cast<DepthType>(depth_type_));
}

void CWpWell::DestroyDataMgr() {
  // Deleting the gateway detaches every kit that observes its data.
  delete data_mgr_;
  data_mgr_ = nullptr;
}

void CWpWell::PollDataMgr() {
  if (data_mgr_) data_mgr_->CheckDataUpdate();
}

std::vector<FaultPointData> CWpWell::ReadFaultPoints() const {
  std::vector<FaultPointData> points;
  LogFaultPointIO* io = data_mgr_ ? data_mgr_->GetFaultPointDIO(FAULTPOINT_WELL, name_) : nullptr;
  if (!io) return points;
  for (int i = 0; i < io->GetCount(); ++i) points.push_back({io->GetDepth1(i), io->GetDepth2(i)});
  return points;
}

std::vector<SandInterval> CWpWell::ReadSandIntervals() const {
  std::vector<SandInterval> sands;
  LogSandDIO* io = data_mgr_ ? data_mgr_->GetSand(SAND_CLASS2, "") : nullptr;
  if (!io) return sands;
  for (int i = 0; i < io->GetCount(); ++i) sands.push_back({io->GetTop(i), io->GetBottom(i)});
  return sands;
}

std::vector<StratumUnit> CWpWell::ReadStratumUnits() const {
  std::vector<StratumUnit> units;
  LogStratumDIO* io =
      data_mgr_ ? data_mgr_->GetStratum(static_cast<STRATUMTYPE>(unit_class_), "") : nullptr;
  if (!io) return units;
  for (int i = 0; i < io->GetCount(); ++i) units.push_back({io->GetName(i), io->GetTop(i), io->GetThickness(i)});
  return units;
}

bool CWpWell::WellPositionValue(const std::string& field, std::string* value) const {
  CWellDataManager* wells = CWellDataManager::Instance();
  if (!wells || !wells->IsOpen()) return false;
  CWellPosition* positions = wells->GetWellPosition();
  const std::int64_t id = positions->FindData(name_);
  if (id < 0) return false;
  const CZuVariant v = positions->GetValue(id, field);
  if (v.IsNull()) return false;
  *value = v.ToString();
  return true;
}

// A depth scale follows the chart's depth reference in its labels.
void CWpWell::SetDepthKitShowType(CWpKit* kit, int type) {
  if (auto* depth = dynamic_cast<CWpDepth*>(kit))
    depth->SetShowDepthType(static_cast<DepthType>(type));
}

void CWpWell::SetTrackStratumGrade(CWpTrack* track, int unit_class) {
  if (track) track->SetStratumGrade(unit_class);
}

void CWpWell::TrackCurveColorGradualChange(CWpTrack* track) {
  if (track) track->CurveColorGradualChange();
}

// ---------------------------------------------------------------- tracks

void CWpWell::SetChildTitleFont(int kind, const ZULOGFONT& font) {
  for (CWpKit* child : children_)
    if (auto* track = dynamic_cast<CWpTrack*>(child)) track->SetChildTitleFont(kind, font);
}

void CWpWell::SetDepChildTitleFont(int kind, const ZULOGFONT& font) {
  for (CWpKit* child : children_)
    if (auto* track = dynamic_cast<CWpTrack*>(child)) track->SetDepChildTitleFont(kind, font);
}

void CWpWell::CurveColorGradualChange() {
  for (CWpKit* child : children_)
    if (auto* track = dynamic_cast<CWpTrack*>(child)) TrackCurveColorGradualChange(track);
}

CWpTrack* CWpWell::AddTrack(unsigned id, int index) {
  CZuObjectFactory* factory = AfxGetObjectFactory();
  CZuObject* obj = factory->CreateObject("CWpTrack");
  auto* track = dynamic_cast<CWpTrack*>(obj);
  if (!track) {
    factory->DeleteObject(obj);
    return nullptr;
  }
  // Curve tracks show their grid.
  const int grid = id == 0 || id == kCmdWellTrackFirst + 1 || id == kCmdInWellTrackAFirst ||
                           id == kCmdInWellTrackBFirst
                       ? 1
                       : 0;
  // The second block of the in-well menu adds right of the clicked track.
  if (id >= kCmdInWellTrackBFirst && id <= kCmdInWellTrackBLast) ++index;
  if (index < 0 || index >= ChildrenCount())
    AddChild(track);
  else
    InsertChild(index, track);
  track->SetClientHeight(MinClient());
  track->SetTitleHeight(MinTitle());
  track->SetWidth(kNewTrackWidth);
  track->ShowScale(grid);
  track->ShowDepth(grid);
  SetWidth(width_ + kNewTrackWidth);
  return track;
}

CWpTrack* CWpWell::PtInTrack(FLOATPOINT p) {
  for (CWpKit* c : children_) {
    auto* track = dynamic_cast<CWpTrack*>(c);
    if (!track) continue;
    const FLOATPOINT& n0 = c->MapNode(0);
    const FLOATPOINT& n11 = c->MapNode(11);
    if (p.x >= n0.x - kTol && p.x <= n11.x + kTol && p.y >= n11.y - kTol && p.y <= n0.y + kTol)
      return track;
  }
  return nullptr;
}

// ---------------------------------------------------------------- tree

CWpKit* CWpWell::HitChild(CPoint point) {
  if (!TotalDraw().Normalized().Contains(point)) return nullptr;
  for (CWpKit* c : children_) {
    if (!c->TotalDraw().Normalized().Contains(point)) continue;
    if (c->GetWpKitType() == WPKIT_DEPTH) return c;
    return c->HitChild(point);
  }
  return this;
}

CZuObject* CWpWell::HitTest(CPoint point) {
  if (!visible_) return nullptr;
  const CPoint* n = draw_nodes_;
  if (select_only_body_) {
    const CRect body{n[0].x, n[0].y, n[1].x, n[10].y};
    return body.Contains(point) ? this : nullptr;
  }
  CZuObject* hit = CWpKit::HitTest(point);
  if (hit && hit != this) return hit;
  const int handle = NodeHitTest(point);
  if (handle != CN_NONE && handle != CN_MOVE && handle != CN_BODY_MOVE) return this;
  const CRect whole{n[0].x, n[4].y, n[1].x, n[14].y};
  return whole.Contains(point) ? this : nullptr;
}

void CWpWell::MoveChild(int from, int to) {
  const int count = ChildrenCount();
  if (from == to || from < 0 || from >= count) return;
  CWpKit* kit = children_[static_cast<std::size_t>(from)];
  children_.erase(children_.begin() + from);
  // to names a place in the list as it was: the child goes before the kit
  // that stood at to, which moved one to the left when the child stood left
  // of it.
  if (to < 0 || to >= count)
    children_.push_back(kit);
  else
    children_.insert(children_.begin() + (to > from ? to - 1 : to), kit);
  UpdateParent();
}

void CWpWell::SetPosition(FLOATPOINT position, int move_children) {
  if (move_children) {
    const double dx = position.x - position_.x, dy = position.y - position_.y;
    for (WellSheet* sheet : sheets_)
      for (CZuObjectCell* cell : {sheet->upper, sheet->lower})
        if (CZuObjectCell* live = LiveCell(cell)) live->Move(dx, dy);
  }
  CWpKit::SetPosition(position, move_children);
}

bool CWpWell::ReadLegacyChild(CZuMFile* file, const std::string& class_name, CWpKit* child) {
  if (class_name != "CWpDepth") return false;
  CZuObjectFactory* factory = AfxGetObjectFactory();
  CZuObject* obj = factory->CreateObject("CWpTrack");
  auto* track = dynamic_cast<CWpTrack*>(obj);
  if (!track) {
    factory->DeleteObject(obj);
    return false;  // read the column as it stands
  }
  track->SetParent(this);
  // A depth column's track shows no grid and only the frame of its title.
  track->ShowScale(0);
  track->ShowDepth(0);
  track->SetBorderVisible(0, -1);
  for (int flag : {2, 5, 6}) track->SetBorderVisible(1, flag);

  child->SetParent(track);
  child->SetLayer(layer_);
  child->SetZoomFactor(zoom_);
  if (!child->ReadFromFile(file)) {
    factory->DeleteObject(child);
    factory->DeleteObject(track);
    return true;
  }
  child->SetBorderVisible(0, 2);
  track->SetWidth(child->GetWidth());
  // The track's group form gives the column the track's width, a group of
  // its own, its share of the head and a place in the draw order.
  if (track->FindChild(child) < 0) track->AddChild(child, 0);
  track->Duplicate(child);
  AddChild(track);
  return true;
}

// ---------------------------------------------------------------- menu

int CWpWell::OnRButtonDown(CView* view, CDC* dc, unsigned flags, CPoint point) {
  if (CZuMapFile* doc = GetMapFile()) {
    if (!doc->GetMenu().empty()) doc->AddMenu(0, "");
    const std::string& suffix = Gbk("道");
    for (int kind = 0; kind < kContentKindCount; ++kind)
      doc->AddMenu(kCmdWellTrackFirst + static_cast<unsigned>(kind), ContentKindName(kind) + suffix);
  }
  return CWpKit::OnRButtonDown(view, dc, flags, point);
}

int CWpWell::OnCommand(CView* view, CDC* dc, unsigned id, long param) {
  if (id == kCmdCheckWellData)
    CDataSetChecker::Instance()->CheckData(name_, Gbk("井位数据"));
  else
    CWpTrackBuilder(this).AddChild(id);
  return CWpKit::OnCommand(view, dc, id, param);
}

std::string CWpWell::KindLabel() const { return Gbk("井"); }

// ---------------------------------------------------------------- copies

void CWpWell::DuplicateObject(CZuObject** copy, CZuLayer* layer) {
  // The copy's kits are added under a well of style -1, so they keep the
  // frames they have: bring them in line with this well's style first.
  if (style_ != -1) {
    ApplyStyle();
    SetStyle(-1, true);
  }
  CWpKit::DuplicateObject(copy, layer);
}

void CWpWell::DuplicateAttribute(CZuObject* target) {
  auto* well = dynamic_cast<CWpWell*>(target);
  if (!well || well == this) return;
  CWpKit::DuplicateAttribute(target);
  well->zoom_ = zoom_;
  well->well_exists_ = well_exists_;
  well->unit_class_ = unit_class_;
  well->top_unit_ = top_unit_;
  well->bottom_unit_ = bottom_unit_;
  well->top_extend_ = top_extend_;
  well->bottom_extend_ = bottom_extend_;
  well->title_align_ = title_align_;
  well->title_position_ = title_position_;
  well->symbol_ = symbol_;
  well->symbol_align_ = symbol_align_;
  well->symbol_position_ = symbol_position_;
  well->style_ = style_;
  well->select_only_body_ = select_only_body_;
  well->range_type_ = range_type_;
  well->depth_type_ = depth_type_;
  well->fault_info_.blank_space = fault_info_.blank_space;
  well->fault_info_.line = fault_info_.line;
  well->fault_info_.pen = fault_info_.pen;
  // The copied nodes follow the anchor rule of this well.
  well->column_view_ = column_view_;
  well->sheet_height_ = sheet_height_;
  well->name_style_template_ = name_style_template_;
  well->name_size_template_ = name_size_template_;
  well->name_color_template_ = name_color_template_;
  well->point_style_template_ = point_style_template_;
  well->size_template_ = size_template_;
  well->border_color_template_ = border_color_template_;
  well->inner_color_template_ = inner_color_template_;
  well->UpdateTemplate();
}

void CWpWell::Amplify(FLOATPOINT centre, double fx, double fy) {
  // The host map of this system keeps no relative-object links, so nothing
  // needs switching off while the chart scales.
  CWpKit::Amplify(centre, fx, fy);
  symbol_.size = static_cast<float>(symbol_.size * fx);
  symbol_position_.cx *= fx;
  title_position_.cx *= fx;
  symbol_position_.cy *= fy;
  title_position_.cy *= fy;
}

}  // namespace davodu
