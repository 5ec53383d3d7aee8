// The oil test kit: settings, the bound data, records and export.
#include "davodu/interval/wp_oil_test.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

#include "davodu/data/data_io.h"
#include "davodu/data/wd_mgr.h"
#include "davodu/host/records/zu_mfile.h"
#include "davodu/host/util/gbk.h"
#include "davodu/host/util/util.h"
#include "davodu/interval/interval_export.h"
#include "davodu/kits/kit_records.h"
#include "davodu/well/wp_track.h"
#include "davodu/well/wp_well.h"

namespace davodu {

DAVODU_IMPLEMENT_DYNCREATE(CWpOilTest, CWpContent)

namespace {

ZULOGBRUSH Solid(COLORREF color) {
  ZULOGBRUSH b;
  b.style = kBrushDefaultSolid;
  b.color = color;
  return b;
}

// A production value as a number; a missing one (an empty cell, kFltMax)
// is no production.
double Production(CDIOilTest* io, int row, const char* field) {
  CZuVariant v;
  if (!io->GetValue(row, Gbk(field), &v) || v.IsNull()) return 0;
  const double d = v.ToDouble();
  return std::isfinite(d) && !IsMissing(d) && d > 0 ? d : 0;
}

}  // namespace

CWpOilTest::CWpOilTest(CZuLayer* layer) : CWpContent(layer) {
  SetDefaults();
  InitializeNames();
}

CWpOilTest::~CWpOilTest() { SepFrmObservee(); }

void CWpOilTest::InitializeNames() {
  class_name_ = name_ = type_name_ = "CWpOilTest";
  title_text_ = Gbk("试油");
}

std::string CWpOilTest::KindLabel() const { return Gbk("试油"); }

void CWpOilTest::SetDefaults() {
  data_type_ = Gbk("当前井");
  data_table_.clear();
  segs_.clear();
  active_ = -1;
  pick_ = kPickNone;
  moved_ = false;
  full_width_ = true;
  fill_mode_ = 2;
  fill_brush_ = Solid(100);
  cell_text_ = false;
  rows_ = cols_ = 2;
  cell_align_h_ = 0;
  cell_align_v_ = 1;
  grid_pen_ = ZULOGPEN{};
  grid_pen_.color = 0x00B000;
  grid_pen_.width = 10.0f;
  cell_font_ = ZULOGFONT{};
  cell_font_.height = 100.0f;
  cell_font_.SetFaceName(Gbk("宋体"));
  bar_fraction_ = 0.5;
  bar_cumulative_ = false;
  oil_brush_ = Solid(200);
  water_brush_ = Solid(0xC85000);
  gas_brush_ = Solid(0x00FFFF);
  band_lines_ = true;
  band_pen_ = ZULOGPEN{};
  band_text_ = true;
  band_font_ = cell_font_;
  band_precision_ = 2;
  band_align_h_ = band_align_v_ = 1;
  col_fractions_ = {0.0f, 0.5f, 1.0f};
  fields_ = {Gbk("试油结果"), Gbk("措施类别"), Gbk("工作制度"), Gbk("日产油量")};
  pie_visible_ = false;
  cumulative_ = false;
  pie_values_ = pie_shares_ = true;
  pie_font_ = cell_font_;
  pie_precision_ = 2;
  outline_pen_ = ZULOGPEN{};
  leader_visible_ = true;
  leader_pen_ = ZULOGPEN{};
  leader_pen_.width = 1.0f;
  leader_pen_.color = 0x0000FF;
  proportional_ = false;
  pie_radius_ = 500.0;
  outline_visible_ = true;
  label_block_ = true;
  label_pen_ = ZULOGPEN{};
  label_font_ = cell_font_;
  upper_fields_.clear();
  lower_fields_.clear();
}

void CWpOilTest::Clear() {
  SepFrmObservee();
  ClearChildren();
  CWpContent::Clear();
  SetDefaults();
  InitializeNames();
}

// ---------------------------------------------------------------- data

void CWpOilTest::UpdateDataMgr() {
  auto* track = dynamic_cast<CWpTrack*>(parent_);
  CWpWell* well = track ? track->GetWell() : nullptr;
  gateway_ = well ? well->GetDataMgr() : nullptr;
}

CDIOilTest* CWpOilTest::GetData() const { return dynamic_cast<CDIOilTest*>(GetObservee()); }

void CWpOilTest::InitDataTable() {
  UpdateDataMgr();
  const int source = data_type_ == Gbk("当前井") ? TESTOIL_WELL : data_type_ == Gbk("离散数据") ? TESTOIL_SCATT : 0;
  CDIOilTest* io =
      gateway_ && source ? gateway_->GetTestOil(static_cast<TESTOILSOURCE>(source), data_table_) : nullptr;
  SepFrmObservee();
  if (io) io->Register(this);
}

bool CWpOilTest::SetData(const std::string& type, const std::string& table) {
  UpdateDataMgr();
  SepFrmObservee();
  if (type != Gbk("当前井") && type != Gbk("离散数据")) {
    data_type_ = Gbk("图形");
    data_table_.clear();
    segs_.clear();
    return true;
  }
  const auto source = type == Gbk("当前井") ? TESTOIL_WELL : TESTOIL_SCATT;
  if (CDIOilTest* io = gateway_ ? gateway_->GetTestOil(source, table) : nullptr) io->Attatch(this);
  return true;
}

void CWpOilTest::ResetData() { SetData(data_type_, data_table_); }

void CWpOilTest::InitFieldNames() {
  CDIOilTest* io = GetData();
  if (!io) return;
  rows_ = cols_ = 2;
  col_fractions_ = {0.0f, 0.5f, 1.0f};
  if (data_type_ == Gbk("当前井")) {
    fields_ = {Gbk("试油结果"), Gbk("措施类别"), Gbk("工作制度"), Gbk("日产油量")};
  } else {
    const std::vector<std::string>* names = io->GetFieldNames();
    fields_.assign(4, std::string());
    if (names && !names->empty())
      for (std::size_t i = 0; i < 4; ++i) fields_[i] = (*names)[names->size() >= 4 ? i : 0];
  }
  UpdateData();
}

void CWpOilTest::UpdateWithObservee() {
  UpdateData();
  InvalidBody();
}

void CWpOilTest::UpdateData() {
  // Dragged pies keep their places: the offsets go to the new intervals in
  // list order.
  std::vector<std::pair<double, double>> offsets;
  for (const auto& s : segs_) offsets.emplace_back(s->pie_dx, s->pie_dy);
  const int active = active_;
  segs_.clear();
  largest_daily_ = largest_total_ = 0;
  CDIOilTest* io = GetData();
  if (!io) return;
  for (int row = 0; row < io->GetCount(); ++row) {
    const double top = io->GetTop(row), bottom = io->GetBottom(row);
    if (IsMissing(top) || IsMissing(bottom) || !std::isfinite(top) || !std::isfinite(bottom)) continue;
    std::vector<std::string> values;
    for (const std::string& field : fields_) {
      CZuVariant v;
      values.push_back(!field.empty() && io->GetValue(row, field, &v) ? v.ToString() : std::string());
    }
    CgOilTestSegment* seg = AddSegment(top, bottom, values);
    seg->index = row;
    seg->oil = Production(io, row, "日产油量");
    seg->gas = Production(io, row, "日产气量");
    seg->water = Production(io, row, "日产水量");
    CZuVariant result;
    if (io->GetValue(row, Gbk("试油结果"), &result)) seg->result = TrimBlanks(result.ToString());
    seg->oil_total = Production(io, row, "累产油量");
    seg->gas_total = Production(io, row, "累产气量");
    seg->water_total = Production(io, row, "累产水量");
    largest_daily_ = std::max(largest_daily_, seg->oil + seg->gas + seg->water);
    largest_total_ = std::max(largest_total_, seg->oil_total + seg->gas_total + seg->water_total);
    const std::size_t k = segs_.size() - 1;
    if (k < offsets.size() && !IsMissing(offsets[k].first) && !IsMissing(offsets[k].second)) {
      seg->pie_dx = offsets[k].first;
      seg->pie_dy = offsets[k].second;
    }
  }
  active_ = active < GetSegCount() ? active : -1;
  if (active_ >= 0) segs_[static_cast<std::size_t>(active_)]->active = true;
  BuildBody();
}

CgOilTestSegment* CWpOilTest::AddSegment(double top, double bottom, const std::vector<std::string>& values) {
  auto seg = std::make_unique<CgOilTestSegment>();
  seg->index = static_cast<int>(segs_.size());
  seg->top_depth = top;
  seg->bottom_depth = bottom;
  seg->values = values;
  seg->values.resize(fields_.size());
  seg->left = map_nodes_[0].x;
  seg->right = map_nodes_[1].x;
  seg->top_y = DepToMapY(top);
  seg->bottom_y = DepToMapY(bottom);
  // The pie starts inside the column, just left of its right edge, so
  // that it covers no neighbouring track.
  seg->pie_dx = -pie_radius_ * 1.2;
  seg->owner = this;
  segs_.push_back(std::move(seg));
  return segs_.back().get();
}

void CWpOilTest::LimitSegments() {
  for (const auto& s : segs_) {
    s->left = map_nodes_[0].x;
    s->right = map_nodes_[1].x;
  }
}

double CWpOilTest::PieLane() const {
  const double lane = 2.4 * pie_radius_;
  return pie_visible_ && lane < 0.5 * (map_nodes_[1].x - map_nodes_[0].x) ? lane : 0.0;
}

CgOilTestSegment* CWpOilTest::Active() const {
  return active_ >= 0 && active_ < GetSegCount() ? segs_[static_cast<std::size_t>(active_)].get() : nullptr;
}

void CWpOilTest::BuildBody() {
  CWpKit::BuildBody();
  for (const auto& s : segs_) {
    s->left = map_nodes_[0].x;
    s->right = map_nodes_[1].x;
    s->top_y = DepToMapY(s->top_depth);
    s->bottom_y = DepToMapY(s->bottom_depth);
  }
}

void CWpOilTest::Resize() {
  fields_.resize(static_cast<std::size_t>(rows_ * cols_));
  for (const auto& s : segs_) s->values.resize(fields_.size());
}

void CWpOilTest::SetRowNumber(int n) {
  if (n < 1 || n > 8 || n == rows_) return;
  rows_ = n;
  Resize();
}

void CWpOilTest::SetColNumber(int n) {
  if (n < 1 || n > 8 || n == cols_) return;
  // The fields keep their rows: re-lay them row by row.
  std::vector<std::string> fields(static_cast<std::size_t>(rows_ * n));
  for (int r = 0; r < rows_; ++r)
    for (int c = 0; c < std::min(n, cols_); ++c)
      fields[static_cast<std::size_t>(r * n + c)] = fields_[static_cast<std::size_t>(r * cols_ + c)];
  fields_ = fields;
  cols_ = n;
  col_fractions_.clear();
  for (int i = 0; i < n; ++i) col_fractions_.push_back(static_cast<float>(i) / static_cast<float>(n));
  col_fractions_.push_back(1.0f);
  UpdateData();
  Resize();
}

void CWpOilTest::UpdateField(int i, const std::string& name) {
  if (i < 0 || i >= static_cast<int>(fields_.size())) return;
  fields_[static_cast<std::size_t>(i)] = name;
  UpdateData();
}

}  // namespace davodu
