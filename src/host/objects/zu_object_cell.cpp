#include "davodu/host/objects/zu_object_cell.h"

#include <algorithm>
#include <cmath>
#include <cstring>

#include "davodu/host/graphics/graph_tool.h"
#include "davodu/host/objects/zu_map.h"
#include "davodu/host/records/record_numbers.h"
#include "davodu/host/records/zu_mfile.h"

namespace davodu {

DAVODU_IMPLEMENT_DYNCREATE(CZuObjectCell, CZuObject)

namespace {

// Clear space, in map units, between a cell's text and its lines.
constexpr double kCellTextPad = 40;

double Length(double v) { return std::isfinite(v) && v > 0 ? v : 0; }

template <typename T>
bool ReadBytes(const CZuMFile* file, int index, T* out) {
  const unsigned char* data = nullptr;
  std::size_t length = 0;
  if (!file->GetRecordElement(index, data, length) || length != sizeof(T)) return false;
  std::memcpy(static_cast<void*>(out), data, sizeof(T));
  return true;
}

}  // namespace

CZuObjectCell::CZuObjectCell(CZuLayer* layer) : CZuObject(layer) { Initialize(); }

void CZuObjectCell::Initialize() {
  class_name_ = "CZuObjectCell";
  name_ = type_name_ = "ZuObjectCell";
  rows_ = 1;
  columns_ = 1;
  size_ = {1000, 1000};
  outer_pen_ = ZULOGPEN{};
  inner_pen_ = ZULOGPEN{};
  font_ = ZULOGFONT{};
  font_.height = 300;
  texts_.clear();
  UpdateRects();
}

void CZuObjectCell::Clear() {
  CZuObject::Clear();
  Initialize();
}

void CZuObjectCell::SetRowsAndColumns(int rows, int columns) {
  rows_ = std::clamp(rows, 1, kMaxRowsOrColumns);
  columns_ = std::clamp(columns, 1, kMaxRowsOrColumns);
  std::erase_if(texts_, [this](const auto& cell) { return !InGrid(cell.first.first, cell.first.second); });
}

void CZuObjectCell::SetSize(FLOATSIZE size) {
  size_ = {Length(size.cx), Length(size.cy)};
  UpdateRects();
}

std::string CZuObjectCell::GetCellText(int row, int column) const {
  const auto it = texts_.find({row, column});
  return it == texts_.end() ? std::string() : it->second;
}

void CZuObjectCell::SetCellText(int row, int column, std::string text) {
  if (!InGrid(row, column)) return;
  if (text.empty())
    texts_.erase({row, column});
  else
    texts_[{row, column}] = std::move(text);
}

FLOATRECT CZuObjectCell::GetCellRect(int row, int column) const {
  if (!InGrid(row, column)) return {};
  const double w = size_.cx / columns_, h = size_.cy / rows_;
  const double left = position_.x + column * w;
  const double top = position_.y + size_.cy - row * h;
  return {left, top, left + w, top - h};
}

void CZuObjectCell::UpdateRects() {
  map_rect_ = {position_.x, position_.y + size_.cy, position_.x + size_.cx, position_.y};
  draw_rect_ = GetTranslator().MapToDraw(map_rect_);
}

void CZuObjectCell::BuildControlNodePointArray() {
  map_rect_ = {position_.x, position_.y + size_.cy, position_.x + size_.cx, position_.y};
  CZuObject::BuildControlNodePointArray();
}

void CZuObjectCell::SetPosition(FLOATPOINT position) {
  CZuObject::SetPosition(position);
  UpdateRects();
}

void CZuObjectCell::Move(double dx, double dy) {
  CZuObject::Move(dx, dy);
  UpdateRects();
}

void CZuObjectCell::Amplify(FLOATPOINT centre, double fx, double fy) {
  CZuObject::Amplify(centre, fx, fy);
  size_ = {Length(size_.cx * std::fabs(fx)), Length(size_.cy * std::fabs(fy))};
  font_.height = static_cast<float>(font_.height * std::fabs(fy));
  UpdateRects();
}

void CZuObjectCell::Draw(CDC* dc, CView*, CRect*, CRect*) {
  if (!visible_ || manager_) return;
  DrawCell(dc);
}

void CZuObjectCell::DrawCell(CDC* dc) const {
  if (!dc || !visible_) return;
  const CCoordTranslator& tr = GetTranslator();
  const CLineTool& line = AfxGetLineTool();
  const double x0 = position_.x, y0 = position_.y, w = size_.cx, h = size_.cy;
  for (int r = 1; r < rows_; ++r) {
    const double y = y0 + h * r / rows_;
    line.DrawLine(dc, tr.MapToDraw(FLOATPOINT{x0, y}), tr.MapToDraw(FLOATPOINT{x0 + w, y}),
                  inner_pen_, zoom_);
  }
  for (int c = 1; c < columns_; ++c) {
    const double x = x0 + w * c / columns_;
    line.DrawLine(dc, tr.MapToDraw(FLOATPOINT{x, y0}), tr.MapToDraw(FLOATPOINT{x, y0 + h}),
                  inner_pen_, zoom_);
  }
  line.DrawRect(dc, tr.MapToDraw(map_rect_), outer_pen_, zoom_);
  const CTextTool& text = AfxGetTextTool();
  for (const auto& [at_cell, t] : texts_) {
    if (t.empty()) continue;
    const FLOATRECT cell = GetCellRect(at_cell.first, at_cell.second);
    const CPoint at =
        tr.MapToDraw(FLOATPOINT{(cell.left + cell.right) / 2, (cell.top + cell.bottom) / 2});
    // A text too large for its cell shrinks to fit, clear of the lines.
    const CRect box = tr.MapToDraw(cell).Normalized();
    const TextSize size = text.MeasureText(dc, t, font_, zoom_);
    const double room_w = box.Width() - 2 * kCellTextPad * zoom_;
    const double room_h = box.Height() - 2 * kCellTextPad * zoom_;
    ZULOGFONT font = font_;
    if (size.width > room_w || size.height > room_h) {
      const double f = std::max(0.0, std::min(room_w / size.width, room_h / size.height));
      font.height = static_cast<float>(font_.height * f);
    }
    text.DrawText(dc, at, t, font, zoom_, 0, kAlignCenter, kAlignMiddle);
  }
}

bool CZuObjectCell::IfLineStyleUsed(int code) const {
  return CZuObject::IfLineStyleUsed(code) || outer_pen_.style == code || inner_pen_.style == code;
}

void CZuObjectCell::DuplicateAttribute(CZuObject* target) {
  auto* cell = dynamic_cast<CZuObjectCell*>(target);
  if (!cell || cell == this) return;
  CZuObject::DuplicateAttribute(target);
  cell->rows_ = rows_;
  cell->columns_ = columns_;
  cell->size_ = size_;
  cell->outer_pen_ = outer_pen_;
  cell->inner_pen_ = inner_pen_;
  cell->font_ = font_;
  cell->texts_ = texts_;
  cell->UpdateRects();
}

int CZuObjectCell::SaveToFile(CZuMFile* file) {
  file->SetRecordNumber(kRecKitStart);
  file->AddRecordElement(GetRuntimeClass()->class_name);
  file->WriteNextRecord();
  CZuObject::SaveToFile(file);

  file->SetRecordNumber(kRecTagged);
  file->AddRecordElement("Cell");
  file->AddRecordElement(rows_);
  file->AddRecordElement(columns_);
  file->AddRecordElement(position_.x);
  file->AddRecordElement(position_.y);
  file->AddRecordElement(size_.cx);
  file->AddRecordElement(size_.cy);
  file->AddRecordElement(&outer_pen_, sizeof outer_pen_);
  file->AddRecordElement(&inner_pen_, sizeof inner_pen_);
  file->AddRecordElement(&font_, sizeof font_);
  file->WriteNextRecord();

  for (const auto& [cell, t] : texts_) {  // row by row
    file->SetRecordNumber(kRecTagged);
    file->AddRecordElement("CellText");
    file->AddRecordElement(cell.first);
    file->AddRecordElement(cell.second);
    file->AddRecordElement(t);
    file->WriteNextRecord();
  }

  file->SetRecordNumber(kRecEnd);
  file->WriteNextRecord();
  return 1;
}

int CZuObjectCell::ReadFromFile(CZuMFile* file) {
  while (file->ReadNextRecord()) {
    const unsigned short number = file->GetRecordNumber();
    if (number == kRecEnd) {
      UpdateRects();
      return 1;
    }
    const int own = ReadObjectRecord(file);
    if (own < 0) return 0;
    if (own > 0 || number != kRecTagged) continue;
    std::string tag;
    file->GetRecordElement(0, tag);
    if (tag == "Cell") {
      int rows = rows_, columns = columns_;
      file->GetRecordElement(1, rows);
      file->GetRecordElement(2, columns);
      SetRowsAndColumns(rows, columns);
      FLOATPOINT p = position_;
      FLOATSIZE s = size_;
      file->GetRecordElement(3, p.x);
      file->GetRecordElement(4, p.y);
      file->GetRecordElement(5, s.cx);
      file->GetRecordElement(6, s.cy);
      position_ = {std::isfinite(p.x) ? p.x : 0, std::isfinite(p.y) ? p.y : 0};
      size_ = {Length(s.cx), Length(s.cy)};
      ReadBytes(file, 7, &outer_pen_);
      ReadBytes(file, 8, &inner_pen_);
      if (ReadBytes(file, 9, &font_)) font_.face[sizeof font_.face - 1] = '\0';
    } else if (tag == "CellText") {
      int r = -1, c = -1;
      std::string text;
      if (file->GetRecordElement(1, r) && file->GetRecordElement(2, c) &&
          file->GetRecordElement(3, text))
        SetCellText(r, c, std::move(text));
    }
  }
  return 0;
}

}  // namespace davodu
