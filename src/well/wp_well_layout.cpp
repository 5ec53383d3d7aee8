// Layout of the well: minimum sizes, the tracks' widths shared out over the
// well's width, the track heads made as tall as the well's client band, the
// head band (name, symbol, header tables) and the symbol templates.
#include <algorithm>
#include <cfloat>
#include <cmath>

#include "davodu/host/objects/object_factory.h"
#include "davodu/host/objects/template_manager.h"
#include "davodu/host/objects/zu_layer.h"
#include "davodu/host/objects/zu_map.h"
#include "davodu/host/objects/zu_object_cell.h"
#include "davodu/host/util/util.h"
#include "davodu/kits/head_text.h"
#include "davodu/well/wp_well.h"

namespace davodu {

namespace {

constexpr double kTol = 0.001;
constexpr double kMaxWidth = 100000;

bool IsDepth(const CWpKit* k) { return k->GetWpKitType() == WPKIT_DEPTH; }

bool AboutZero(const FLOATSIZE& s) { return std::fabs(s.cx) < kTol && std::fabs(s.cy) < kTol; }

// Keeps v within [lo, hi]; the middle when the range is empty.
double Confine(double v, double lo, double hi) {
  return lo <= hi ? std::clamp(v, lo, hi) : (lo + hi) / 2;
}

// Runs while a flag is set and clears it on the way out.
class FlagGuard {
 public:
  explicit FlagGuard(bool& flag) : flag_(flag) { flag_ = true; }
  ~FlagGuard() { flag_ = false; }
  FlagGuard(const FlagGuard&) = delete;
  FlagGuard& operator=(const FlagGuard&) = delete;

 private:
  bool& flag_;
};

}  // namespace

// ---------------------------------------------------------------- minimum sizes

float CWpWell::MinWidth() {
  float sum = 0;
  for (CWpKit* c : children_) sum += c->MinWidth();
  return sum;
}

float CWpWell::MinTitle() {
  return (symbol_align_ >= 0 ? symbol_.size : 0.0f) + (title_align_ >= 0 ? 0.1f : 0.0f);
}

float CWpWell::MinClient() {
  float title = 0, client = 0;
  for (CWpKit* c : children_) {
    title = std::max(title, c->MinTitle());
    client = std::max(client, c->MinClient());
  }
  return std::max(200.0f, title + client);
}

double CWpWell::GetMaxHeadHeight() const {
  double h = 0;
  for (const CWpKit* c : children_) h = std::max<double>(h, c->GetHeadHeight());
  return h;
}

void CWpWell::GetMaxTitleAndClient(double& title, double& client) const {
  title = client = 0;
  for (const CWpKit* c : children_) {
    if (IsDepth(c)) continue;
    title = std::max<double>(title, c->GetTitleHeight());
    client = std::max<double>(client, c->GetClientHeight());
  }
}

// ---------------------------------------------------------------- widths

double CWpWell::LeftFor(double width) const {
  return column_view_ ? position_.x : position_.x - width / 2;
}

void CWpWell::FitWidth(double width) {
  if (std::isfinite(width) && width > 0 && width < kMaxWidth) width_ = static_cast<float>(width);
}

void CWpWell::GiveWidth(CWpKit* child, double width) {
  if (!std::isfinite(width)) return;
  // SetWidth takes only widths above the minimum: a child held at its
  // minimum gets the nearest width above it.
  const float min = child->MinWidth();
  float w = static_cast<float>(width);
  if (!(w > min)) w = std::nextafter(min, FLT_MAX);
  child->SetWidth(w);
}

void CWpWell::ResetWidth(float sum, float width) {
  fixed_.clear();
  // The rows still to share (s) and the width left for them (w): a child
  // held at its minimum takes its own width out of the one and its minimum
  // out of the other, so the ratio always applies to the children left.
  double s = sum, w = width;
  for (;;) {
    if (!(s > 0)) return;
    bool added = false;
    for (CWpKit* c : children_) {
      if (std::find(fixed_.begin(), fixed_.end(), c) != fixed_.end()) continue;
      if ((w / s) * c->GetWidth() < c->MinWidth()) {
        fixed_.push_back(c);
        s -= c->GetWidth();
        w -= c->MinWidth();
        added = true;
        break;
      }
    }
    if (!added) return;
  }
}

double CWpWell::ShareWidth(float width) {
  auto held = [this](const CWpKit* c) {
    return std::find(fixed_.begin(), fixed_.end(), c) != fixed_.end();
  };
  double held_min = 0, free_widths = 0;
  int free_count = 0;
  for (CWpKit* c : children_) {
    if (held(c)) {
      held_min += c->MinWidth();
    } else {
      free_widths += c->GetWidth();
      ++free_count;
    }
  }
  // The children not held share what the held minimums leave, in
  // proportion to their widths; without widths to go by (all zero) they
  // share it equally. With every child held there is nothing to share.
  const double rest = width - held_min;
  const bool equal = !(free_widths > 0) || !std::isfinite(free_widths);
  double total = 0;
  for (CWpKit* c : children_) {
    if (held(c))
      GiveWidth(c, c->MinWidth());
    else
      GiveWidth(c, equal ? rest / free_count : c->GetWidth() * (rest / free_widths));
    total += c->GetWidth();
  }
  fixed_.clear();
  return total;
}

void CWpWell::PlaceChildren() {
  double x = LeftFor(width_);
  const double y = position_.y;
  for (CWpKit* c : children_) {
    c->SetPosition(FLOATPOINT{x, y}, 1);
    c->BuildControlNodePointArray();
    x += c->GetWidth();
    c->ResetWidth();
  }
}

void CWpWell::ResetWidth() {
  BuildControlNodePointArray();
  const int count = ChildrenCount();
  if (count == 0) return;
  if (count == 1) {
    CWpKit* c = children_.front();
    GiveWidth(c, width_);
    c->SetPosition(FLOATPOINT{map_nodes_[0].x, position_.y}, 1);
    c->BuildControlNodePointArray();
    c->ResetWidth();
    return;
  }
  double sum = 0, depth_sum = 0;
  int others = 0;
  for (const CWpKit* c : children_) {
    sum += c->GetWidth();
    if (IsDepth(c))
      depth_sum += c->GetWidth();
    else
      ++others;
  }
  const float before = width_;
  if (sum < width_) {
    // The depth columns keep their widths; the others widen in proportion
    // (equally when their widths add up to nothing).
    const double other_sum = sum - depth_sum;
    const double room = width_ - depth_sum;
    for (CWpKit* c : children_) {
      if (IsDepth(c)) continue;
      GiveWidth(c, other_sum > 0 ? c->GetWidth() * (room / other_sum) : room / others);
    }
  } else {
    ResetWidth(static_cast<float>(sum), width_);
    // Tracks held at their minimum may not fit: the well takes what they
    // need rather than letting them run past its edge.
    const double total = ShareWidth(width_);
    if (total > width_ + kTol) FitWidth(total);
  }
  if (std::fabs(width_ - before) > kTol) BuildControlNodePointArray();
  PlaceChildren();
}

void CWpWell::ResetWidth(CWpKit* child, int right_edge) {
  const int i = FindChild(child);
  if (i < 0) return;
  const int count = ChildrenCount();
  auto right_of = [](const CWpKit* k) { return k->GetPosition().x + k->GetWidth(); };
  double left = map_nodes_[0].x;
  if (right_edge) {
    double x = right_of(child);
    for (int j = i + 1; j < count; ++j) {
      CWpKit* k = children_[static_cast<std::size_t>(j)];
      k->SetPosition(FLOATPOINT{x, k->GetPosition().y}, 1);
      k->BuildControlNodePointArray();
      x += k->GetWidth();
    }
  } else {
    double x = i + 1 < count ? children_[static_cast<std::size_t>(i + 1)]->GetPosition().x
                             : map_nodes_[1].x;
    for (int j = i; j >= 0; --j) {
      CWpKit* k = children_[static_cast<std::size_t>(j)];
      x -= k->GetWidth();
      k->SetPosition(FLOATPOINT{x, k->GetPosition().y}, 1);
      k->BuildControlNodePointArray();
    }
    left = x;
  }
  FitWidth(right_of(children_.back()) - left);
  // The anchor stays where the tracks now stand: their left edge in column
  // view, the centre of their span otherwise (else the next layout would
  // centre them on the old anchor and the chart would jump).
  CWpKit::SetPosition(FLOATPOINT{column_view_ ? left : left + width_ / 2, position_.y}, 0);
}

// ---------------------------------------------------------------- heads

void CWpWell::ResetClient() {
  const double h = GetClientHeight();
  const double hmax = GetMaxHeadHeight();
  if (hmax < h) {
    const double grow = h - hmax;
    for (CWpKit* c : children_) {
      if (IsDepth(c))
        c->SetTitleHeight(static_cast<float>(c->GetTitleHeight() + grow));
      else
        c->SetClientHeight(static_cast<float>(c->GetClientHeight() + grow));
    }
  } else {
    double tmin = 0, cmin = 0;
    for (CWpKit* c : children_) {
      // A depth column's title band is the well's client band: its minima
      // count the other way round.
      tmin = std::max<double>(tmin, IsDepth(c) ? c->MinClient() : c->MinTitle());
      cmin = std::max<double>(cmin, IsDepth(c) ? c->MinTitle() : c->MinClient());
    }
    // Heads of no height have no proportions to keep: they start from 0
    // and take the minimums.
    const double q = hmax > 0 ? h / hmax : 0;
    for (CWpKit* c : children_) {
      if (IsDepth(c)) {
        c->SetTitleHeight(static_cast<float>(h));
        c->SetClientHeight(0);
        continue;
      }
      double t = c->GetTitleHeight() * q;
      double cl = c->GetClientHeight() * q;
      if (t < tmin) {
        t = tmin;
        cl = h - tmin;
      }
      if (cl < cmin) {
        cl = cmin;
        t = h - cmin;
      }
      // A band too low for both minimums leaves no room, not a negative one.
      c->SetTitleHeight(static_cast<float>(std::max(0.0, t)));
      c->SetClientHeight(static_cast<float>(std::max(0.0, cl)));
    }
  }
  for (CWpKit* c : children_) {
    c->BuildHead();
    c->ResetClient();
  }
}

void CWpWell::ResetClient(CWpKit* child) {
  if (FindChild(child) < 0) return;
  float tmin = 0, cmin = 0;
  for (CWpKit* c : children_) {
    tmin = std::max(tmin, c->MinTitle());
    cmin = std::max(cmin, c->MinClient());
  }
  if (child->GetTitleHeight() < tmin) child->SetTitleHeight(tmin);
  const float title = child->GetTitleHeight();
  for (CWpKit* c : children_)
    if (c != child) c->SetTitleHeight(title);
  if (child->GetClientHeight() < cmin) child->SetClientHeight(cmin);
  const float client = child->GetClientHeight();
  for (CWpKit* c : children_)
    if (c != child) c->SetClientHeight(client);
  SetClientHeight(child->GetTitleHeight() + child->GetClientHeight());
  ResetClient();
}

// ---------------------------------------------------------------- the main layout

void CWpWell::Reset() {
  // A child that rebuilds its parent from inside this layout must not start
  // it over.
  if (in_reset_) return;
  FlagGuard guard(in_reset_);

  const double w0 = width_;
  const double h0 = GetClientHeight();
  double sum = 0;
  for (const CWpKit* c : children_) sum += c->GetWidth();
  const double hmax = GetMaxHeadHeight();
  double tmax = 0, cmax = 0;
  GetMaxTitleAndClient(tmax, cmax);

  // The client band holds the tallest title over the tallest client (the
  // setter may refuse; the fitting below then uses what there is).
  if (GetClientHeight() < tmax + cmax) SetClientHeight(static_cast<float>(tmax + cmax));
  const double hc = GetClientHeight();

  // Every head as tall as the client band: squeezed in proportion when the
  // heads were taller than the band, else the clients take up the rest.
  const bool squeeze = hmax > h0;
  const double title = squeeze ? tmax * hc / hmax : tmax;
  for (CWpKit* c : children_) {
    if (IsDepth(c)) {
      c->SetTitleHeight(static_cast<float>(hc));
      continue;
    }
    c->SetTitleHeight(static_cast<float>(title));
    c->SetClientHeight(static_cast<float>(squeeze ? hc - title : cmax + (hc - hmax)));
    c->ResetClient();
  }

  const float min_width = MinWidth();
  if (min_width > width_) FitWidth(min_width);

  if (!children_.empty()) {
    if (w0 < sum) {
      ResetWidth(static_cast<float>(sum), width_);
      FitWidth(ShareWidth(width_));
    } else {
      const bool proportional = sum > 0 && std::isfinite(sum);
      const double n = static_cast<double>(children_.size());
      double total = 0;
      for (CWpKit* c : children_) {
        GiveWidth(c, proportional ? c->GetWidth() * (width_ / sum) : width_ / n);
        total += c->GetWidth();
      }
      // A child that refused its share would leave a gap or run past the
      // edge: the well takes the widths the children have.
      if (std::fabs(total - width_) > kTol) FitWidth(total);
    }
  }

  PlaceChildren();
  BuildControlNodePointArray();
  UpdateTemplate();
  if (column_view_) CurveColorGradualChange();
}

void CWpWell::Update() {
  CWpKit::Update();
  ShowSheets();
  CurveColorGradualChange();
}

void CWpWell::ShowSheets() {
  // The well draws upper tables with an upper head and lower tables only
  // with a lower head; the cells' own flags say the same, so that a table
  // the well does not draw takes no room on a page either.
  for (WellSheet* sheet : sheets_) {
    if (CZuObjectCell* cell = LiveCell(sheet->upper)) cell->SetVisible(head_align_ >= 0 ? 1 : 0);
    if (CZuObjectCell* cell = LiveCell(sheet->lower)) cell->SetVisible(head_align_ > 0 ? 1 : 0);
  }
}

// ---------------------------------------------------------------- head band

void CWpWell::BuildHead() {
  CWpKit::BuildHead();
  const double w = width_;
  const double x0 = LeftFor(w), y0 = position_.y;
  const double hc = GetClientHeight(), ht = GetTitleHeight();
  const FLOATRECT area = SheetsArea(0);
  const double sheets = std::max(0.0, area.top - area.bottom);
  const double top = y0 + hc + ht + sheets;
  map_nodes_[0] = {x0, y0};
  map_nodes_[1] = {x0 + w, y0};
  map_nodes_[2] = {x0, y0 + hc};
  map_nodes_[3] = {x0 + w, y0 + hc};
  map_nodes_[4] = {x0, top};
  map_nodes_[5] = {x0 + w, top};
  map_nodes_[6] = {x0, y0 + hc / 2};
  map_nodes_[7] = {x0 + w, y0 + hc / 2};
  map_nodes_[8] = {x0 + w / 2, top};
  map_nodes_[9] = {x0 + w / 2, y0 + hc};
  for (int i = 0; i < 10; ++i) MapToDrawNode(i);
}

void CWpWell::BuildRect() {
  map_rect_ = {map_nodes_[4].x, map_nodes_[4].y, map_nodes_[15].x, map_nodes_[15].y};
  const double name = NameWidth();
  if (title_visible_ && title_align_ >= 0 && name > width_) {
    map_rect_.left -= name / 2;
    map_rect_.right += name / 2;
  }
  draw_rect_ = GetTranslator().MapToDraw(map_rect_);
}

double CWpWell::NameWidth() const {
  return static_cast<double>(title_font_.GetWidth()) * static_cast<double>(title_text_.size());
}

void CWpWell::AutoTitle() {
  if (title_align_ < 1) return;
  const double w = NameWidth(), h = title_font_.height;
  const double left = map_nodes_[0].x, right = map_nodes_[1].x;
  const double boundary = map_nodes_[2].y, top = boundary + GetTitleHeight();
  const int column = (title_align_ - 1) / 3;  // 0 centre, 1 left, 2 right
  const int row = (title_align_ - 1) % 3;     // 0 middle, 1 top, 2 bottom
  // At the edges the name keeps clear of the frame and the header tables.
  const double pad = kHeadCellPad;
  const double x = column == 0   ? (left + right) / 2
                   : column == 1 ? left + pad + w / 2
                                 : right - pad - w / 2;
  const double y = row == 0   ? (top + boundary) / 2
                   : row == 1 ? top - pad - h / 2
                              : boundary + pad + h / 2;
  title_position_ = {x - map_nodes_[0].x, y - map_nodes_[0].y};
  const double s = symbol_.size;
  switch (symbol_align_) {
    case 1: title_position_.cy += s; break;
    case 2: title_position_.cy -= s; break;
    case 3: title_position_.cx += s; break;
    case 4: title_position_.cx -= s; break;
    default: break;
  }
}

void CWpWell::AutoType() {
  if (symbol_align_ < 1) return;
  const double w = NameWidth(), h = title_font_.height, s = symbol_.size;
  const FLOATSIZE& t = title_position_;
  switch (symbol_align_) {
    case 1: symbol_position_ = {t.cx, t.cy - (h + s)}; break;
    case 2: symbol_position_ = {t.cx, t.cy + h + s}; break;
    case 3: symbol_position_ = {0, t.cy}; break;
    // The title position is the name's centre: right of the name, the
    // symbol keeps one character width from its end.
    case 4: symbol_position_ = {t.cx + w / 2 + title_font_.GetWidth() + s / 2, t.cy}; break;
    default: break;
  }
}

FLOATPOINT CWpWell::TitleCentre() {
  AutoTitle();
  const double w = NameWidth(), h = title_font_.height;
  const FLOATPOINT& n0 = map_nodes_[0];
  const double left = n0.x, right = map_nodes_[1].x;
  const double boundary = map_nodes_[2].y, top = boundary + GetTitleHeight();
  if (AboutZero(title_position_)) title_position_ = {(right - left) / 2, (top + boundary) / 2 - n0.y};
  const double pad = kHeadCellPad;
  double x = n0.x + title_position_.cx;
  const double y = Confine(n0.y + title_position_.cy, boundary + pad + h / 2, top - pad - h / 2);
  x = w + 2 * pad >= right - left ? (left + right) / 2
                                  : std::clamp(x, left + pad + w / 2, right - pad - w / 2);
  return {x, y};
}

FLOATPOINT CWpWell::TypeCentre() {
  AutoType();
  const double h = title_font_.height, s = symbol_.size;
  const FLOATPOINT& n0 = map_nodes_[0];
  const double left = n0.x, right = map_nodes_[1].x;
  const double boundary = map_nodes_[2].y, top = boundary + GetTitleHeight();
  if (AboutZero(symbol_position_))
    symbol_position_ = {title_position_.cx, title_position_.cy - (h / 2 + s)};
  return {Confine(n0.x + symbol_position_.cx, left + s / 2, right - s / 2),
          Confine(n0.y + symbol_position_.cy, boundary + s / 2, top - s / 2)};
}

// ---------------------------------------------------------------- templates

namespace {

// The symbol templates: which template type each is and what it sets.
enum class SymbolPart { kStyle, kSize, kBorderColor, kInnerColor };

}  // namespace

void CWpWell::UpdateTemplate() {
  const CTemplateManagerFacade* templates = CTemplateManagerFacade::Instance();
  const std::pair<std::string*, int> names[] = {
      {&point_style_template_, kTemplatePointStyle},
      {&size_template_, kTemplateSize},
      {&border_color_template_, kTemplateColor},
      {&inner_color_template_, kTemplateColor},
  };
  for (const auto& [name, type] : names)
    if (!name->empty() && !templates->GetGeneralTemplate(*name, type)) name->clear();
  WellType();
}

void CWpWell::WellType() {
  const CTemplateManagerFacade* templates = CTemplateManagerFacade::Instance();
  const struct {
    const std::string& name;
    int type;
    SymbolPart part;
  } slots[] = {
      {point_style_template_, kTemplatePointStyle, SymbolPart::kStyle},
      {size_template_, kTemplateSize, SymbolPart::kSize},
      {border_color_template_, kTemplateColor, SymbolPart::kBorderColor},
      {inner_color_template_, kTemplateColor, SymbolPart::kInnerColor},
  };
  for (const auto& slot : slots) {
    if (slot.name.empty()) continue;
    const CGeneralTemplate* t = templates->GetGeneralTemplate(slot.name, slot.type);
    std::string value;
    double result = 0;
    if (!t || !WellPositionValue(t->GetFieldName(), &value) || !t->Map(value, &result) ||
        !std::isfinite(result))
      continue;
    switch (slot.part) {
      case SymbolPart::kStyle:
        symbol_.style = static_cast<std::int32_t>(result);
        break;
      case SymbolPart::kSize: {
        ZULOGPOINT p = symbol_;
        p.size = static_cast<float>(result);
        SetTypePoint(p);
        break;
      }
      case SymbolPart::kBorderColor:
        symbol_.color = static_cast<COLORREF>(result);
        break;
      case SymbolPart::kInnerColor:
        symbol_.word2 = static_cast<std::int32_t>(result);
        break;
    }
  }
}

// ---------------------------------------------------------------- header tables

CZuObjectCell* CWpWell::LiveCell(const CZuObjectCell* cell) const {
  if (!cell || !layer_) return nullptr;
  for (CZuObject* obj : layer_->GetObjectList())
    if (obj == cell) return static_cast<CZuObjectCell*>(obj);
  return nullptr;
}

void CWpWell::DeleteSheetCells(WellSheet* sheet) {
  for (CZuObjectCell* cell : {sheet->upper, sheet->lower})
    if (CZuObjectCell* live = LiveCell(cell)) layer_->DeleteObject(live);
  sheet->upper = sheet->lower = nullptr;
}

WellSheet* CWpWell::AddSheet() {
  if (!layer_) return nullptr;
  CZuObjectFactory* factory = AfxGetObjectFactory();
  auto make = [factory]() -> CZuObjectCell* {
    CZuObject* obj = factory->CreateObject("CZuObjectCell");
    auto* cell = dynamic_cast<CZuObjectCell*>(obj);
    if (!cell) factory->DeleteObject(obj);
    return cell;
  };
  CZuObjectCell* upper = make();
  CZuObjectCell* lower = upper ? make() : nullptr;
  if (!lower) {
    factory->DeleteObject(upper);
    return nullptr;
  }
  BuildControlNodePointArray();
  // Older tables make room: up in the upper head, down in the lower one.
  for (WellSheet* sheet : sheets_) {
    if (CZuObjectCell* cell = LiveCell(sheet->upper)) cell->Move(0, sheet_height_);
    if (CZuObjectCell* cell = LiveCell(sheet->lower)) cell->Move(0, -sheet_height_);
  }
  const double height = std::max(0.0f, sheet_height_ - 200);
  for (CZuObjectCell* cell : {upper, lower}) {
    cell->SetRowsAndColumns(7, 4);
    cell->SetSize(FLOATSIZE{width_, height});
    cell->SetOuterPen(border_pen_);
    cell->SetInnerPen(border_pen_);
    cell->SetManager(this);
    // The stamp names the cell in the well's records (sheets are found
    // again by it when a document is read).
    cell->SetTimeStamp(AfxGetTimeStamp());
    layer_->AddObject(cell);
  }
  upper->SetPosition(FLOATPOINT{map_nodes_[2].x, map_nodes_[2].y + sheet_height_});
  // The lower table hangs from node 12 lowered by 200.
  lower->SetPosition(FLOATPOINT{map_nodes_[12].x, map_nodes_[12].y - 200 - height});
  auto* sheet = new WellSheet{head_align_, 0, upper, lower};
  sheets_.push_back(sheet);
  ShowSheets();
  BuildControlNodePointArray();
  return sheet;
}

void CWpWell::AddSheet(WellSheet* sheet) {
  if (!sheet || FindSheet(sheet) >= 0) return;
  for (CZuObjectCell* cell : {sheet->upper, sheet->lower}) {
    if (!cell) continue;
    cell->SetManager(this);
    if (cell->GetTimeStamp() == 0) cell->SetTimeStamp(AfxGetTimeStamp());
  }
  sheets_.push_back(sheet);
}

WellSheet* CWpWell::GetSheet(int index) const {
  if (index < 0 || index >= SheetsCount()) return nullptr;
  return sheets_[static_cast<std::size_t>(index)];
}

int CWpWell::FindSheet(const CZuObjectCell* cell) const {
  if (!cell) return -1;
  for (std::size_t i = 0; i < sheets_.size(); ++i)
    if (sheets_[i]->upper == cell || sheets_[i]->lower == cell) return static_cast<int>(i);
  return -1;
}

int CWpWell::FindSheet(const WellSheet* sheet) const {
  auto it = std::find(sheets_.begin(), sheets_.end(), sheet);
  return sheet && it != sheets_.end() ? static_cast<int>(it - sheets_.begin()) : -1;
}

void CWpWell::DelSheet(int index) {
  WellSheet* sheet = GetSheet(index);
  if (!sheet) return;
  DeleteSheetCells(sheet);
  sheets_.erase(sheets_.begin() + index);
  delete sheet;
}

void CWpWell::DelSheet(WellSheet* sheet) { DelSheet(FindSheet(sheet)); }

void CWpWell::ClearSheets() {
  while (!sheets_.empty()) DelSheet(SheetsCount() - 1);
}

namespace {

const CZuObjectCell* CellOf(const WellSheet* sheet, int head) {
  return head == 0 ? sheet->upper : sheet->lower;
}

}  // namespace

double CWpWell::SheetUp(int index, int head) const {
  const WellSheet* sheet = GetSheet(index);
  const WellSheet* previous = GetSheet(index - 1);
  if (!sheet || !previous) return 0;
  const CZuObjectCell* cell = LiveCell(CellOf(sheet, head));
  const CZuObjectCell* other = LiveCell(CellOf(previous, head));
  if (!cell || !other) return 0;
  const FLOATRECT r = cell->GetMapRect(), o = other->GetMapRect();
  return head == 0 ? o.bottom - r.top : r.bottom - o.top;
}

double CWpWell::SheetDown(int index, int head) const {
  const WellSheet* sheet = GetSheet(index);
  if (!sheet) return 0;
  const CZuObjectCell* cell = LiveCell(CellOf(sheet, head));
  if (!cell) return 0;
  const FLOATRECT r = cell->GetMapRect();
  if (const WellSheet* next = GetSheet(index + 1)) {
    const CZuObjectCell* other = LiveCell(CellOf(next, head));
    if (!other) return 0;
    const FLOATRECT o = other->GetMapRect();
    return head == 0 ? r.bottom - o.top : o.bottom - r.top;
  }
  // The last table: the gap to the title band (its top in the upper head,
  // its bottom in the lower one).
  const double band = GetClientHeight() + GetTitleHeight();
  return head == 0 ? r.bottom - (position_.y + band) : (map_nodes_[10].y - band) - r.top;
}

FLOATRECT CWpWell::SheetsRect(int head) const {
  bool any = false;
  FLOATRECT box;
  for (const WellSheet* sheet : sheets_) {
    const CZuObjectCell* cell = LiveCell(CellOf(sheet, head));
    if (!cell) continue;
    const FLOATRECT r = cell->GetMapRect();
    if (!any) {
      box = r;
      any = true;
      continue;
    }
    box.left = std::min(box.left, r.left);
    box.right = std::max(box.right, r.right);
    box.top = std::max(box.top, r.top);
    box.bottom = std::min(box.bottom, r.bottom);
  }
  return any ? box : FLOATRECT{};
}

FLOATRECT CWpWell::SheetsArea(int head) const {
  FLOATRECT area = SheetsRect(head);
  if (area == FLOATRECT{}) return area;
  const double gap = SheetDown(SheetsCount() - 1, head);
  if (head == 0)
    area.bottom -= gap;
  else
    area.top += gap;
  return area;
}

}  // namespace davodu
