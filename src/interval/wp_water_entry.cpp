// The injection and production profile kit.
#include "davodu/interval/wp_water_entry.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

#include "davodu/data/data_date.h"
#include "davodu/data/data_io.h"
#include "davodu/data/wd_mgr.h"
#include "davodu/host/graphics/dc.h"
#include "davodu/host/graphics/graph_tool.h"
#include "davodu/host/objects/zu_map.h"
#include "davodu/host/records/zu_mfile.h"
#include "davodu/host/util/gbk.h"
#include "davodu/host/util/types.h"
#include "davodu/kits/head_text.h"
#include "davodu/kits/kit_records.h"
#include "davodu/well/wp_track.h"
#include "davodu/well/wp_well.h"

namespace davodu {

DAVODU_IMPLEMENT_DYNCREATE(CWpWaterEntry, CWpContent)

CWpWaterEntry::CWpWaterEntry(CZuLayer* layer) : CWpContent(layer) { SetDefaults(); }

CWpWaterEntry::~CWpWaterEntry() { SepFrmObservee(); }

void CWpWaterEntry::SetDefaults() {
  class_name_ = name_ = type_name_ = "CWpWaterEntry";
  title_text_ = Gbk(producted_ ? "产液" : "吸水");
  source_type_ = Gbk("当前井");
  scatt_table_.clear();
  scatt_time_field_.clear();
  start_date_.clear();
  end_date_.clear();
  columns_ = 1;
  dates_.clear();
  draw_width_ = 800.0;
  depth_lines_ = true;
  depth_pen_ = ZULOGPEN{};
  depth_pen_.color = 0xFF8057;
  params_.clear();
  segs_.clear();
}

void CWpWaterEntry::Clear() {
  SepFrmObservee();
  ClearChildren();
  CWpContent::Clear();
  SetDefaults();
}

COLORREF CWpWaterEntry::GetPreSetColor(int i) {
  static const COLORREF kColors[] = {0xFF00FF, 0x00CC99, 0xFF0000, 0xFF0080, 0xFF8000,
                                     0x008080, 0x00FF00, 0x000080, 0x808080, 0x404000};
  return i >= 0 && i < 10 ? kColors[i] : 0x0000FF;
}

void CWpWaterEntry::SetToProductedFluid(bool producted) {
  producted_ = producted;
  SetTitleText(Gbk(producted ? "产液" : "吸水"));
}

// ---------------------------------------------------------------- data

WDMgrIO* CWpWaterEntry::Gateway() {
  auto* track = dynamic_cast<CWpTrack*>(parent_);
  CWpWell* well = track ? track->GetWell() : nullptr;
  return well ? well->GetDataMgr() : nullptr;
}

LogWaterDataIO* CWpWaterEntry::GetData() const { return dynamic_cast<LogWaterDataIO*>(GetObservee()); }

bool CWpWaterEntry::SetData(const std::string& type, const std::string& name) {
  WDMgrIO* gateway = Gateway();
  if (!gateway) return false;
  if (type != Gbk("当前井") && type != Gbk("离散数据")) {
    SepFrmObservee();
    source_type_ = Gbk("图形");
    segs_.clear();
    return true;
  }
  const auto source = type == Gbk("当前井") ? WATER_WELL : WATER_SCATT;
  LogWaterDataIO* io = gateway->GetWaterEntry(source, producted_, name);
  SepFrmObservee();
  if (!io) return false;
  source_type_ = type;
  io->Attatch(this);
  return true;
}

std::string CWpWaterEntry::DataName() const {
  if (source_type_ != Gbk("离散数据") || scatt_table_.empty()) return std::string();
  return scatt_time_field_.empty() ? scatt_table_ : scatt_table_ + " " + scatt_time_field_;
}

void CWpWaterEntry::InitDataTable() {
  WDMgrIO* gateway = Gateway();
  const auto source = source_type_ == Gbk("离散数据") ? WATER_SCATT : WATER_WELL;
  LogWaterDataIO* io = gateway ? gateway->GetWaterEntry(source, producted_, DataName()) : nullptr;
  SepFrmObservee();
  if (io) io->Register(this);
}

void CWpWaterEntry::ResetData() {
  SetData(source_type_, DataName());
  LoadSegment(start_date_, end_date_);
}

void CWpWaterEntry::SetSourceType(const std::string& type) {
  if (type == source_type_) return;
  source_type_ = type;
  scatt_table_.clear();
  scatt_time_field_.clear();
  if (type == Gbk("当前井")) ResetData();
}

void CWpWaterEntry::SetScattTable(const std::string& table) {
  scatt_table_ = table;
  ResetData();
}

void CWpWaterEntry::SetScattTimeField(const std::string& field) {
  scatt_time_field_ = field;
  ResetData();
}

void CWpWaterEntry::UpdateWithObservee() {
  LoadSegment(start_date_, end_date_);
  InvalidBody();
}

void CWpWaterEntry::SetStartDate(const std::string& date) {
  if (date.empty() || date == Gbk("未指定")) return;
  start_date_ = date;
  LoadSegment(start_date_, end_date_);
}

void CWpWaterEntry::SetEndDate(const std::string& date) {
  if (date.empty() || date == Gbk("未指定")) return;
  end_date_ = date;
  LoadSegment(start_date_, end_date_);
}

void CWpWaterEntry::LoadSegment(const std::string& start_text, const std::string& end_text) {
  LogWaterDataIO* io = GetData();
  if (!io) return;
  segs_.clear();
  dates_.clear();
  columns_ = 1;
  DataDate start{}, end{};
  const bool has_start = ParseDataDate(start_text, &start), has_end = ParseDataDate(end_text, &end);
  if (!has_start && !has_end) {
    // No range: from the first to the last date of the data.
    std::vector<std::string> all;
    io->GetDates(&all);
    bool any = false;
    for (const std::string& d : all) {
      DataDate date;
      if (!ParseDataDate(d, &date)) continue;
      if (!any || DaysOf(date) < DaysOf(start)) start = date;
      if (!any || DaysOf(date) > DaysOf(end)) end = date;
      any = true;
    }
    if (!any) return;
  } else if (!has_start) {
    start = end;
  } else if (!has_end) {
    end = start;
  }
  if (DaysOf(end) < DaysOf(start)) std::swap(start, end);
  io->SelectDates(start, end);
  const int n = io->GetSelectedCount();
  DataDate previous{};
  for (int j = 0; j < n; ++j) {
    WATER_ENTRY_SEGMENT seg;
    seg.top = seg.bottom = kFltMax;
    const DataDate date = io->GetSelected(j, &seg.top, &seg.bottom);
    if (date.year <= 0) continue;
    for (const WATER_ENTRY_PARAM& p : params_) seg.values.push_back(io->GetSelectedValue(j, p.name));
    if (!(segs_.empty() || !(date == previous))) {
      seg.column = segs_.back().column;
    } else {
      char buf[32];
      std::snprintf(buf, sizeof buf, "%d-%d-%d", date.year, date.month, date.day);
      const auto it = std::find(dates_.begin(), dates_.end(), std::string(buf));
      seg.column = static_cast<int>(it - dates_.begin());
      if (it == dates_.end()) dates_.push_back(buf);
      previous = date;
    }
    segs_.push_back(std::move(seg));
  }
  columns_ = dates_.empty() ? 1 : static_cast<int>(dates_.size());
}

// ---------------------------------------------------------------- parameters

void CWpWaterEntry::SetParamNumber(int n) {
  if (n < 0 || n == GetParamNumber()) return;
  if (n < GetParamNumber()) {
    params_.resize(static_cast<std::size_t>(n));
    for (auto& s : segs_) s.values.resize(std::min(s.values.size(), static_cast<std::size_t>(n)));
    return;
  }
  while (GetParamNumber() < n) {
    WATER_ENTRY_PARAM p;
    p.color = GetPreSetColor(GetParamNumber());
    p.font.height = 200;
    p.font.SetFaceName(Gbk("宋体"));
    params_.push_back(p);
    for (auto& s : segs_) s.values.push_back(0.0);
  }
}

const WATER_ENTRY_PARAM* CWpWaterEntry::GetParam(int i) const {
  return i >= 0 && i < GetParamNumber() ? &params_[static_cast<std::size_t>(i)] : nullptr;
}

void CWpWaterEntry::SetParamName(int i, const std::string& name) {
  if (!GetParam(i)) return;
  WATER_ENTRY_PARAM& p = params_[static_cast<std::size_t>(i)];
  p.name = name;
  LogWaterDataIO* io = GetData();
  if (!io) return;
  for (int f = 0; f < io->GetFieldCount(); ++f) {
    if (io->GetFieldName(f) != name) continue;
    io->GetMinMax(name, &p.left, &p.right);
    p.color = GetPreSetColor(f);
    break;
  }
  LoadSegment(start_date_, end_date_);
}

void CWpWaterEntry::SetParamRange(int i, double left, double right) {
  if (!GetParam(i)) return;
  params_[static_cast<std::size_t>(i)].left = left;
  params_[static_cast<std::size_t>(i)].right = right;
}

void CWpWaterEntry::SetParamColor(int i, COLORREF color) {
  if (GetParam(i)) params_[static_cast<std::size_t>(i)].color = color;
}

// ---------------------------------------------------------------- drawing

float CWpWaterEntry::HeadRowHeight() const {
  double h = title_font_.height;
  for (const WATER_ENTRY_PARAM& p : params_) h = std::max<double>(h, p.font.height);
  return static_cast<float>(h * 1.6);
}

int CWpWaterEntry::HeadRows() const { return 1 + (dates_.empty() ? 0 : 1) + GetParamNumber(); }

float CWpWaterEntry::MinTitle() {
  if (!title_visible_) return CWpContent::MinTitle();
  return std::max(CWpContent::MinTitle(), HeadRowHeight() * static_cast<float>(HeadRows()));
}

void CWpWaterEntry::DrawHead(CDC* dc) {
  if (!title_visible_) return;
  const int n = GetParamNumber();
  const int columns = std::max(1, columns_);
  // The head from the kit's top (node 4) to the body's top (node 0): the
  // title, the date of each column, then per parameter its name, its left
  // and right values and a line in its colour at the row's top.
  const CPoint top = draw_nodes_[4], bottom = draw_nodes_[0], right = draw_nodes_[1];
  const int rows = HeadRows();
  const double rh = static_cast<double>(bottom.y - top.y) / rows;  // signed: the way draw Y runs
  const auto row_y = [&](int r) { return static_cast<int>(std::lround(top.y + r * rh)); };
  const int cw = (right.x - bottom.x) / columns;
  if (n == 0 && dates_.empty()) {
    DrawTitle(dc, nullptr, nullptr, nullptr);
    return;
  }
  // Texts shrink to fit their cells, clear of the lines.
  const auto fitted = [&](const ZULOGFONT& font, const std::string& text, const CRect& cell) {
    const double pad = 2 * kHeadCellPad * zoom_;
    return ScaledFont(font, FitFactor(AfxGetTextTool().MeasureText(dc, text, font, zoom_),
                                      std::abs(cell.right - cell.left) - pad, std::abs(cell.bottom - cell.top) - pad));
  };
  const CRect title_cell{bottom.x, row_y(0), right.x, row_y(1)};
  AfxGetTextTool().DrawTextInRect(dc, title_cell, title_text_, fitted(title_font_, title_text_, title_cell), zoom_,
                                  kAlignCenter, kAlignMiddle);
  int row = 1;
  ZULOGPEN divider;
  divider.width = 5;
  if (!dates_.empty()) {
    AfxGetLineTool().DrawLine(dc, {bottom.x, row_y(1)}, {right.x, row_y(1)}, divider, zoom_);
    for (int c = 0; c < columns && c < static_cast<int>(dates_.size()); ++c) {
      const int x0 = bottom.x + c * cw;
      const CRect cell{x0, row_y(1), x0 + cw, row_y(2)};
      const std::string& date = dates_[static_cast<std::size_t>(c)];
      AfxGetTextTool().DrawTextInRect(dc, cell, date, fitted(title_font_, date, cell), zoom_, kAlignCenter,
                                      kAlignMiddle);
      if (c > 0) AfxGetLineTool().DrawLine(dc, {x0, row_y(1)}, {x0, bottom.y}, divider, zoom_);
    }
    row = 2;
  }
  for (int c = 0; c < columns; ++c) {
    const int x0 = bottom.x + c * cw;
    for (int k = 0; k < n; ++k) {
      const WATER_ENTRY_PARAM& p = params_[static_cast<std::size_t>(k)];
      const int y0 = row_y(row + k), y1 = row_y(row + k + 1);
      const CRect cell{x0, y0, x0 + cw, y1};
      char left[64], right_text[64];
      std::snprintf(left, sizeof left, " %.*f", p.digits, p.left);
      std::snprintf(right_text, sizeof right_text, "%.*f ", p.digits, p.right);
      // The name between the two values: one font for the three, fitted
      // to the whole line.
      const std::string line = std::string(left) + "  " + p.name + "  " + right_text;
      const ZULOGFONT font = fitted(p.font, line, cell);
      AfxGetTextTool().DrawTextInRect(dc, cell, p.name, font, zoom_, kAlignCenter, kAlignMiddle);
      AfxGetTextTool().DrawTextInRect(dc, cell, left, font, zoom_, kAlignLeft, kAlignMiddle);
      AfxGetTextTool().DrawTextInRect(dc, cell, right_text, font, zoom_, kAlignRight, kAlignMiddle);
      ZULOGPEN pen;
      pen.color = p.color;
      pen.width = 10;
      AfxGetLineTool().DrawLine(dc, {cell.left, y0}, {cell.right, y0}, pen, zoom_);
    }
  }
}

void CWpWaterEntry::Draw(CDC* dc, CView* view, CRect* clip, CRect* done) {
  if (!visible_) return;
  CWpInWell::Draw(dc, view, clip, done);
  DrawHead(dc);
  const int n = GetParamNumber();
  const int columns = std::max(1, columns_);
  const CCoordTranslator& tr = GetTranslator();
  // The body: the bars of every interval in its date's column.
  const CClipTool& clipper = AfxGetClipTool();
  const int level = clipper.SaveDC(dc);
  clipper.SetClip(dc, BodyDraw());
  const int body_left = tr.MapXToDrawX(map_nodes_[0].x), body_right = tr.MapXToDrawX(map_nodes_[1].x);
  const double g = static_cast<double>(body_right - body_left) / columns;
  for (const WATER_ENTRY_SEGMENT& s : segs_) {
    if (IsMissing(s.top) || IsMissing(s.bottom)) continue;
    const double left = body_left + g * s.column, right = left + g;
    const int y1 = tr.MapYToDrawY(DepToMapY(s.top)), y2 = tr.MapYToDrawY(DepToMapY(s.bottom));
    const double h = std::abs(y2 - y1);
    const int sign = y1 > y2 ? -1 : 1;  // from the top edge towards the bottom
    double e = draw_width_ * zoom_, d = n * e;
    if (n > 0 && d > h) {
      e = h / n;
      d = h;
    }
    const double mid = (y1 + y2) / 2.0;
    for (int i = 0; i < n && i < static_cast<int>(s.values.size()); ++i) {
      const WATER_ENTRY_PARAM& p = params_[static_cast<std::size_t>(i)];
      const double v = s.values[static_cast<std::size_t>(i)];
      // No scale (left = right) or no value: no bar, and no division.
      if (p.right == p.left || IsMissing(v) || !std::isfinite(v)) continue;
      const double length = std::clamp((v - p.left) / (p.right - p.left), 0.0, 1.0) * g;
      const double top = mid - sign * d / 2 + sign * i * e;
      const CRect bar{static_cast<int>(std::lround(left)), static_cast<int>(std::lround(top)),
                      static_cast<int>(std::lround(left + length)), static_cast<int>(std::lround(top + sign * e))};
      ZULOGBRUSH brush;
      brush.style = kBrushDefaultSolid;
      brush.color = p.color;
      if (length > 0) AfxGetFillTool().FillRect(dc, bar, brush, zoom_);
      if (p.draw) {
        char text[64];
        std::snprintf(text, sizeof text, "%.*f", p.digits, v);
        const CRect cell{bar.left, bar.top, static_cast<int>(std::lround(right)), bar.bottom};
        AfxGetTextTool().DrawTextInRect(dc, cell, text, p.font, zoom_, p.align, kAlignMiddle);
      }
    }
    if (depth_lines_) {
      const int l = static_cast<int>(std::lround(left)), r = static_cast<int>(std::lround(right));
      AfxGetLineTool().DrawLine(dc, {l, y1}, {r, y1}, depth_pen_, zoom_);
      AfxGetLineTool().DrawLine(dc, {l, y2}, {r, y2}, depth_pen_, zoom_);
    }
  }
  clipper.AbortClip(dc, level);
  border_flags_[3] = border_flags_[4] = 0;
  DrawBorder(dc, view, clip, done);
}

// ---------------------------------------------------------------- records

int CWpWaterEntry::SaveToFile(CZuMFile* file) {
  CWpContent::SaveToFile(file);
  file->SetRecordNumber(kRecTagged);
  file->AddRecordElement("WaterEntry");
  file->AddRecordElement(columns_);
  file->AddRecordElement(static_cast<int>(dates_.size()));
  for (const std::string& d : dates_) file->AddRecordElement(d);
  file->AddRecordElement(source_type_);
  file->AddRecordElement(scatt_table_);
  file->AddRecordElement(scatt_time_field_);
  file->AddRecordElement(start_date_);
  file->AddRecordElement(end_date_);
  file->AddRecordElement(GetParamNumber());
  file->AddRecordElement(GetParamNumber());
  file->AddRecordElement(draw_width_);
  file->AddRecordElement(static_cast<int>(depth_lines_));
  file->AddRecordElement(&depth_pen_, sizeof depth_pen_);
  file->AddRecordElement(GetParamNumber());
  for (const WATER_ENTRY_PARAM& p : params_) {
    file->AddRecordElement(p.name);
    file->AddRecordElement(p.left);
    file->AddRecordElement(p.right);
    file->AddRecordElement(static_cast<unsigned>(p.color));
    file->AddRecordElement(static_cast<unsigned>(p.draw));
    file->AddRecordElement(p.font.FaceName());
    file->AddRecordElement(p.font.height);
    file->AddRecordElement(static_cast<unsigned>(p.font.color));
    file->AddRecordElement(p.align);
    file->AddRecordElement(p.digits);
  }
  file->AddRecordElement(static_cast<int>(segs_.size()));
  for (const WATER_ENTRY_SEGMENT& s : segs_) {
    file->AddRecordElement(s.column);
    file->AddRecordElement(s.top);
    file->AddRecordElement(s.bottom);
    file->AddRecordElement(static_cast<int>(s.values.size()));
    for (double v : s.values) file->AddRecordElement(v);
  }
  file->AddRecordElement(0);  // available dates: read from the data
  file->AddRecordElement(0);  // available fields
  file->AddRecordElement(static_cast<int>(producted_));
  file->WriteNextRecord();
  file->SetRecordNumber(kRecEnd);
  file->WriteNextRecord();
  return 1;
}

int CWpWaterEntry::ReadFromFile(CZuMFile* file) {
  if (!CWpContent::ReadFromFile(file)) return 0;
  dates_.clear();
  params_.clear();
  segs_.clear();
  for (;;) {
    if (!file->ReadNextRecord()) return 0;
    if (file->GetRecordNumber() == kRecEnd) return 1;
    std::string tag;
    if (file->GetRecordNumber() != kRecTagged || !file->GetRecordElement(0, tag) || tag != "WaterEntry") return 0;
    int at = 1;
    const int elements = file->GetRecordElementCount();
    // A count read from the record, bounded by what the record can hold.
    const auto count = [&](int* n) {
      *n = 0;
      file->GetRecordElement(at++, *n);
      if (*n < 0 || *n > elements) *n = 0;
    };
    file->GetRecordElement(at++, columns_);
    int n = 0;
    count(&n);
    dates_.resize(static_cast<std::size_t>(n));
    for (std::string& d : dates_) file->GetRecordElement(at++, d);
    file->GetRecordElement(at++, source_type_);
    file->GetRecordElement(at++, scatt_table_);
    file->GetRecordElement(at++, scatt_time_field_);
    file->GetRecordElement(at++, start_date_);
    file->GetRecordElement(at++, end_date_);
    at += 2;
    file->GetRecordElement(at++, draw_width_);
    int flag = 1;
    file->GetRecordElement(at++, flag);
    depth_lines_ = flag != 0;
    ReadBlock(file, at++, &depth_pen_);
    count(&n);
    for (int k = 0; k < n; ++k) {
      WATER_ENTRY_PARAM p;
      std::string face;
      unsigned draw = 1;
      file->GetRecordElement(at++, p.name);
      file->GetRecordElement(at++, p.left);
      file->GetRecordElement(at++, p.right);
      file->GetRecordElement(at++, p.color);
      file->GetRecordElement(at++, draw);
      file->GetRecordElement(at++, face);
      p.font.SetFaceName(face);
      file->GetRecordElement(at++, p.font.height);
      file->GetRecordElement(at++, p.font.color);
      file->GetRecordElement(at++, p.align);
      file->GetRecordElement(at++, p.digits);
      p.draw = draw != 0;
      p.digits = std::clamp(p.digits, 0, 10);
      params_.push_back(p);
    }
    count(&n);
    for (int k = 0; k < n; ++k) {
      WATER_ENTRY_SEGMENT s;
      int values = 0;
      file->GetRecordElement(at++, s.column);
      file->GetRecordElement(at++, s.top);
      file->GetRecordElement(at++, s.bottom);
      count(&values);
      s.values.resize(static_cast<std::size_t>(values));
      for (double& v : s.values) file->GetRecordElement(at++, v);
      s.column = std::clamp(s.column, 0, std::max(0, static_cast<int>(dates_.size()) - 1));
      segs_.push_back(std::move(s));
    }
    int skip = 0;
    count(&skip);
    at += skip;
    count(&skip);
    at += skip;
    int producted = 0;
    file->GetRecordElement(at++, producted);
    // The flag alone: the title was read with the kit's own section, and
    // a title of the user's ("产液剖面") stays.
    producted_ = producted != 0;
    columns_ = std::max(1, columns_);
  }
}

}  // namespace davodu
