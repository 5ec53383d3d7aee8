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
  full_width_ = true;
  fill_mode_ = 2;
  fill_brush_ = Solid(100);
  cell_text_ = false;
  rows_ = cols_ = 2;
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
  band_text_ = true;
  band_font_ = cell_font_;
  band_precision_ = 2;
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
  segs_.clear();
  largest_daily_ = largest_total_ = 0;
  CDIOilTest* io = GetData();
  if (!io) return;
  for (int row = 0; row < io->GetCount(); ++row) {
    const double top = io->GetTop(row), bottom = io->GetBottom(row);
    if (IsMissing(top) || IsMissing(bottom) || !std::isfinite(top) || !std::isfinite(bottom)) continue;
    auto seg = std::make_unique<CgOilTestSegment>();
    seg->index = row;
    seg->top_depth = top;
    seg->bottom_depth = bottom;
    for (const std::string& field : fields_) {
      CZuVariant v;
      seg->values.push_back(!field.empty() && io->GetValue(row, field, &v) ? v.ToString() : std::string());
    }
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
    // The pie starts inside the column, just left of its right edge, so
    // that it covers no neighbouring track.
    seg->pie_dx = -pie_radius_ * 1.2;
    seg->owner = this;
    segs_.push_back(std::move(seg));
  }
  BuildBody();
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

// ---------------------------------------------------------------- records

int CWpOilTest::SaveToFile(CZuMFile* file) {
  CWpContent::SaveToFile(file);
  file->SetRecordNumber(kRecTagged);
  file->AddRecordElement("OilTest");
  file->AddRecordElement(data_type_);
  file->AddRecordElement(data_table_);
  file->AddRecordElement(static_cast<int>(full_width_));
  file->AddRecordElement(fill_mode_);
  file->AddRecordElement(&fill_brush_, sizeof fill_brush_);
  file->AddRecordElement(static_cast<int>(cell_text_));
  file->AddRecordElement(rows_);
  file->AddRecordElement(cols_);
  file->AddRecordElement(bar_fraction_);
  file->AddRecordElement(static_cast<int>(bar_cumulative_));
  file->AddRecordElement(static_cast<int>(pie_visible_));
  file->AddRecordElement(static_cast<int>(cumulative_));
  file->AddRecordElement(static_cast<int>(proportional_));
  file->AddRecordElement(pie_radius_);
  file->AddRecordElement(pie_precision_);
  for (const std::string& f : fields_) file->AddRecordElement(f);
  file->WriteNextRecord();
  file->SetRecordNumber(kRecEnd);
  file->WriteNextRecord();
  return 1;
}

int CWpOilTest::ReadFromFile(CZuMFile* file) {
  if (!CWpContent::ReadFromFile(file)) return 0;
  segs_.clear();
  for (;;) {
    if (!file->ReadNextRecord()) return 0;
    if (file->GetRecordNumber() == kRecEnd) return 1;
    std::string tag;
    if (file->GetRecordNumber() != kRecTagged || !file->GetRecordElement(0, tag) || tag != "OilTest") continue;
    int at = 1, v = 0;
    const auto flag = [&](bool* f) {
      v = *f;
      file->GetRecordElement(at++, v);
      *f = v != 0;
    };
    file->GetRecordElement(at++, data_type_);
    file->GetRecordElement(at++, data_table_);
    flag(&full_width_);
    file->GetRecordElement(at++, fill_mode_);
    ReadBlock(file, at++, &fill_brush_);
    flag(&cell_text_);
    int rows = rows_, cols = cols_;
    file->GetRecordElement(at++, rows);
    file->GetRecordElement(at++, cols);
    rows_ = std::clamp(rows, 1, 8);
    cols_ = std::clamp(cols, 1, 8);
    file->GetRecordElement(at++, bar_fraction_);
    bar_fraction_ = std::clamp(bar_fraction_, 0.0, 1.0);
    flag(&bar_cumulative_);
    flag(&pie_visible_);
    flag(&cumulative_);
    flag(&proportional_);
    file->GetRecordElement(at++, pie_radius_);
    file->GetRecordElement(at++, pie_precision_);
    pie_precision_ = std::clamp(pie_precision_, 0, 10);
    fields_.assign(static_cast<std::size_t>(rows_ * cols_), std::string());
    for (std::string& f : fields_) file->GetRecordElement(at++, f);
    col_fractions_.clear();
    for (int i = 0; i < cols_; ++i) col_fractions_.push_back(static_cast<float>(i) / static_cast<float>(cols_));
    col_fractions_.push_back(1.0f);
  }
}

// ---------------------------------------------------------------- export

void CWpOilTest::ExportContent() {
  if (segs_.empty()) return;
  IntervalExportTable table;
  table.what = Gbk("试油");
  std::size_t longest = Gbk("试油结果").size();
  for (const auto& s : segs_) longest = std::max(longest, s->result.size());
  table.name_width = NameColumnWidth(longest);
  table.column_widths = {10, 10, 10};
  table.header = Gbk("顶深[m] 厚度[m] 试油结果 日产油量[t] 日产气量[千方] 日产水量[t]");
  const auto number = [](double v) {
    char buf[32];
    std::snprintf(buf, sizeof buf, "%.2f", v);
    return std::string(buf);
  };
  for (const auto& s : segs_)
    table.rows.push_back({static_cast<float>(s->top_depth), static_cast<float>(s->bottom_depth - s->top_depth),
                          s->result, {number(s->oil), number(s->gas), number(s->water)}});
  ExportIntervalTable(this, table);
}

}  // namespace davodu
