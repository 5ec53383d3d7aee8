// The curve kit: records.
#include <algorithm>
#include <cstring>
#include <memory>
#include <string>

#include "davodu/display/wp_curve.h"
#include "davodu/host/objects/zu_map_file.h"
#include "davodu/host/records/zu_file_help.h"
#include "davodu/host/util/gbk.h"
#include "davodu/host/util/util.h"
#include "davodu/kits/kit_records.h"

namespace davodu {

namespace {

constexpr const char* kScaleDigitKey = "ScaleDecimalDigit";
constexpr const char* kPenColorScopeKey = "m_penColorScope";

void WriteColorTable(CZuMFile* file, const std::vector<WPCVEFILLCOLOR>& table) {
  file->AddRecordElement(static_cast<int>(table.size()));
  for (const WPCVEFILLCOLOR& e : table) {
    file->AddRecordElement(e.lower);
    file->AddRecordElement(e.upper);
    file->AddRecordElement(static_cast<unsigned>(e.color));
    file->AddRecordElement(e.flag);
  }
}

// Reads a colour table starting at *index; missing elements take the
// defaults of a new entry. Advances *index past the table.
void ReadColorTable(const CZuMFile* file, int* index, std::vector<WPCVEFILLCOLOR>* table) {
  int count = 0;
  file->GetRecordElement((*index)++, count);
  // A count beyond the elements left cannot be honest; keep what exists.
  const int left = std::max(0, file->GetRecordElementCount() - *index);
  count = std::clamp(count, 0, left / 4 + 1);
  table->clear();
  for (int k = 0; k < count; ++k) {
    WPCVEFILLCOLOR e;
    unsigned color = e.color;
    int flag = 0;
    file->GetRecordElement((*index)++, e.lower);
    file->GetRecordElement((*index)++, e.upper);
    file->GetRecordElement((*index)++, color);
    file->GetRecordElement((*index)++, flag);
    e.color = color;
    e.flag = flag == 1;
    table->push_back(e);
  }
}

// Number of digits after the decimal point of a plain decimal text; -1
// when it has none.
int DecimalsOf(const std::string& text) {
  const std::size_t dot = text.find('.');
  return dot == std::string::npos ? -1 : static_cast<int>(text.size() - dot - 1);
}

}  // namespace

int CWpCurve::SaveToFile(CZuMFile* file) {
  CWpContent::SaveToFile(file);
  const int n = GetSampleCount();
  file->SetRecordNumber(kRecTagged);
  file->AddRecordElement("Cve");
  file->AddRecordElement(source_);
  file->AddRecordElement(table_);
  file->AddRecordElement(show_unit_);
  file->AddRecordElement(unit_text_);
  file->AddRecordElement(&unit_font_, sizeof unit_font_);
  file->AddRecordElement(unit_align_);
  file->AddRecordElement(log_scale_);
  file->AddRecordElement(show_scale_);
  file->AddRecordElement(multiples_);
  file->AddRecordElement(left_);
  file->AddRecordElement(right_);
  file->AddRecordElement(show_limit_);
  file->AddRecordElement(&limit_font_, sizeof limit_font_);
  file->AddRecordElement(limit_align_);
  file->AddRecordElement(type_curve_);
  file->AddRecordElement(&point_, sizeof point_);
  file->AddRecordElement(&pen2_, sizeof pen2_);
  file->AddRecordElement(scanted_);
  file->AddRecordElement(frequency_);
  file->AddRecordElement(n);
  if (n > 1) {
    file->AddRecordElement(depths_.data(), depths_.size() * sizeof(double));
    file->AddRecordElement(values_.data(), values_.size() * sizeof(double));
  }
  file->AddRecordElement(FillCount());
  for (const auto& f : fills_) {
    file->AddRecordElement(&f->block, sizeof f->block);
    WriteColorTable(file, f->colors1);
    WriteColorTable(file, f->colors0);
  }
  file->WriteNextRecord();

  file->SetRecordNumber(kRecTagged);
  file->AddRecordElement(flag_line_value_);
  file->AddRecordElement(static_cast<unsigned>(flag_line_show_ ? 1 : 0));
  file->AddRecordElement(&flag_line_pen_, sizeof flag_line_pen_);
  file->AddRecordElement(&point2_, sizeof point2_);
  file->AddRecordElement(&pen_cur2_, sizeof pen_cur2_);
  file->WriteNextRecord();

  file->SetRecordNumber(kRecTagged);
  file->AddRecordElement(value_range_type_);
  file->AddRecordElement(kScaleDigitKey);
  file->AddRecordElement(scale_decimal_digit_);
  file->WriteNextRecord();

  CZuFileHelp::SaveValue(file, kPenColorScopeKey, pen_color_scope_);

  file->SetRecordNumber(kRecEnd);
  file->WriteNextRecord();
  return 1;
}

// Documents written before the version text of the present format stored
// the two brushes and the sides of a fill the other way round.
void CWpCurve::ConvertFill(CVEFILL* fill, const std::string& version_text) {
  if (version_text == CZuMapFile::kCurrentVersionText) return;
  std::swap(fill->block.brush0, fill->block.brush1);
  const int s = fill->block.sides;
  fill->block.sides = s == 0 ? 2 : s == 1 ? 1 : s == 2 ? 3 : 0;
}

void CWpCurve::ReadFills(CZuMFile* file, int index, int count) {
  CZuMapFile* doc = GetMapFile();
  const std::string version =
      doc ? doc->GetVersionText() : std::string(CZuMapFile::kCurrentVersionText);
  count = std::clamp(count, 0, std::max(0, file->GetRecordElementCount() - index));
  for (int i = 0; i < count; ++i) {
    auto fill = std::make_unique<CVEFILL>();
    if (!ReadBlock(file, index++, &fill->block)) break;
    fill->block.target[sizeof fill->block.target - 1] = 0;
    fill->block.group0[sizeof fill->block.group0 - 1] = 0;
    fill->block.group1[sizeof fill->block.group1 - 1] = 0;
    ReadColorTable(file, &index, &fill->colors1);
    ReadColorTable(file, &index, &fill->colors0);
    if (fill->block.factor < 0.001f) fill->block.factor = 1.0f;
    // "左边" and "右边" (left, right edge) of old documents are the frame.
    if (std::memcmp(fill->block.target, Gbk("左边").c_str(), 5) == 0 ||
        std::memcmp(fill->block.target, Gbk("右边").c_str(), 5) == 0)
      fill->SetTarget(Gbk("边框"));
    ConvertFill(fill.get(), version);
    AddFill(std::move(fill));
  }
}

// Documents without a decimal count show the scale ends as they were typed.
void CWpCurve::Convert() {
  if (show_limit_ == SSW_NONE) show_limit_ = SSW_LINE;
  const int a = DecimalsOf(AfxFloatToString(left_));
  const int b = DecimalsOf(AfxFloatToString(right_));
  scale_decimal_digit_ = (a < 0 || b < 0) ? 0 : std::clamp(std::max(a, b), 0, 8);
}

int CWpCurve::ReadFromFile(CZuMFile* file) {
  if (!CWpContent::ReadFromFile(file)) return 0;
  if (!file->ReadNextRecord()) return 0;
  std::string tag;
  if (file->GetRecordNumber() == kRecTagged && file->GetRecordElement(0, tag) &&
      EqualsNoCase(tag, "Cve")) {
    file->GetRecordElement(1, source_);
    file->GetRecordElement(2, table_);
    file->GetRecordElement(3, show_unit_);
    std::string unit;
    if (file->GetRecordElement(4, unit)) SetUnitText(unit);
    ReadBlock(file, 5, &unit_font_);
    file->GetRecordElement(6, unit_align_);
    file->GetRecordElement(7, log_scale_);
    file->GetRecordElement(8, show_scale_);
    float multiples = multiples_;
    file->GetRecordElement(9, multiples);
    SetMultiples(multiples);
    file->GetRecordElement(10, left_);
    file->GetRecordElement(11, right_);
    show_limit_ = -1;
    file->GetRecordElement(12, show_limit_);
    ReadBlock(file, 13, &limit_font_);
    file->GetRecordElement(14, limit_align_);
    type_curve_ = 0;
    file->GetRecordElement(15, type_curve_);
    type_curve_ = std::clamp(type_curve_, 0, 6);
    ReadBlock(file, 16, &point_);
    ReadBlock(file, 17, &pen2_);
    file->GetRecordElement(18, scanted_);
    scanted_ = std::max(scanted_, 1);
    file->GetRecordElement(19, frequency_);
    InitData(name_, 1);

    int n = 0;
    file->GetRecordElement(20, n);
    int fill_index = 21;
    if (n >= 2) {
      fill_index = 23;
      // Stored samples stand in for a source that delivered none. Depths
      // and values are taken together, as far as both blocks go.
      if (source_ < 1 || GetSampleCount() == 0) {
        const unsigned char* dep = nullptr;
        const unsigned char* val = nullptr;
        std::size_t dep_len = 0, val_len = 0;
        if (file->GetRecordElement(21, dep, dep_len) && file->GetRecordElement(22, val, val_len)) {
          const std::size_t m =
              std::min({static_cast<std::size_t>(n), dep_len / sizeof(double), val_len / sizeof(double)});
          std::vector<double> d(m), v(m);
          if (m > 0) {
            std::memcpy(d.data(), dep, m * sizeof(double));
            std::memcpy(v.data(), val, m * sizeof(double));
          }
          SetSamples(std::move(d), std::move(v));
          document_samples_ = 1;
        }
      }
    }
    int fills = 0;
    file->GetRecordElement(fill_index, fills);
    ReadFills(file, fill_index + 1, fills);
    fill_at_ = FillCount() > 0 ? 1 : 0;
    if (!file->ReadNextRecord()) return 0;
  }

  if (file->GetRecordNumber() == kRecEnd) {
    LmtCve(true);
    CZuMapFile* doc = GetMapFile();
    if (!doc || doc->GetVersion() <= 0) {
      value_range_type_ = 0;
      if (left_ != right_) scale_decimal_digit_ = 2;
    }
    return 1;
  }
  if (file->GetRecordNumber() == kRecTagged) {
    file->GetRecordElement(0, flag_line_value_);
    unsigned show = 0;
    if (file->GetRecordElement(1, show)) flag_line_show_ = show > 0;
    ReadBlock(file, 2, &flag_line_pen_);
    if (file->GetRecordElementCount() >= 4) ReadBlock(file, 3, &point2_);
    if (file->GetRecordElementCount() > 4) ReadBlock(file, 4, &pen_cur2_);
  }
  if (!file->ReadNextRecord()) return 0;
  bool has_digits = false;
  if (file->GetRecordNumber() == kRecTagged) {
    int range_type = value_range_type_;
    file->GetRecordElement(0, range_type);
    SetValueRangeType(range_type);
    UpdateRightLeftValue();
    std::string key;
    if (file->GetRecordElement(1, key) && key == kScaleDigitKey) {
      int digits = scale_decimal_digit_;
      file->GetRecordElement(2, digits);
      SetScaleDecimalDigit(digits);
      has_digits = true;
    }
  }
  if (!file->ReadNextRecord()) return 0;
  if (file->GetRecordNumber() == kRecTagged) {
    if (EqualsNoCase(CZuFileHelp::KeyOf(file), kPenColorScopeKey) &&
        !CZuFileHelp::ReadValue(file, kPenColorScopeKey, &pen_color_scope_))
      pen_color_scope_ = -1;
    if (!file->ReadNextRecord()) return 0;
  }
  if (file->GetRecordNumber() != kRecEnd) return 0;
  LmtCve(true);
  if (!has_digits) Convert();
  CurveColorGradualChange();
  return 1;
}

}  // namespace davodu
