// The oil test kit: records and export.
#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstring>

#include "davodu/host/objects/zu_map_file.h"
#include "davodu/host/records/zu_mfile.h"
#include "davodu/host/util/gbk.h"
#include "davodu/host/util/util.h"
#include "davodu/interval/interval_export.h"
#include "davodu/interval/wp_oil_test.h"
#include "davodu/kits/kit_records.h"

namespace davodu {

// ---------------------------------------------------------------- records

namespace {

constexpr unsigned short kRecFillMode = 102;
// The table sizes of older documents (the setters allow 1 to 8).
constexpr int kOldMaxRows = 20;
constexpr int kOldMaxCols = 40;

void AddFlag(CZuMFile* file, bool v) { file->AddRecordElement(static_cast<int>(v)); }

}  // namespace

int CWpOilTest::SaveToFile(CZuMFile* file) {
  CWpContent::SaveToFile(file);
  file->SetRecordNumber(kRecTagged);
  file->AddRecordElement(data_type_);
  file->AddRecordElement(data_table_);
  AddFlag(file, full_width_);
  file->AddRecordElement(&fill_brush_, sizeof fill_brush_);
  AddFlag(file, cell_text_);
  file->AddRecordElement(rows_);
  file->AddRecordElement(cols_);
  file->AddRecordElement(cell_align_h_);
  file->AddRecordElement(cell_align_v_);
  file->AddRecordElement(&grid_pen_, sizeof grid_pen_);
  file->AddRecordElement(&cell_font_, sizeof cell_font_);
  file->AddRecordElement(bar_fraction_);
  AddFlag(file, bar_cumulative_);
  file->AddRecordElement(&oil_brush_, sizeof oil_brush_);
  file->AddRecordElement(&water_brush_, sizeof water_brush_);
  file->AddRecordElement(&gas_brush_, sizeof gas_brush_);
  AddFlag(file, band_lines_);
  file->AddRecordElement(&band_pen_, sizeof band_pen_);
  AddFlag(file, band_text_);
  file->AddRecordElement(&band_font_, sizeof band_font_);
  file->AddRecordElement(band_precision_);
  file->AddRecordElement(band_align_h_);
  file->AddRecordElement(band_align_v_);
  for (int i = 0; i <= cols_; ++i)
    file->AddRecordElement(static_cast<std::size_t>(i) < col_fractions_.size() ? col_fractions_[static_cast<std::size_t>(i)]
                                                                               : 1.0f);
  for (std::size_t i = 0; i < static_cast<std::size_t>(rows_ * cols_); ++i)
    file->AddRecordElement(i < fields_.size() ? fields_[i] : std::string());
  AddFlag(file, pie_visible_);
  AddFlag(file, cumulative_);
  for (COLORREF c : pie_colors_) file->AddRecordElement(static_cast<unsigned>(c));
  AddFlag(file, pie_values_);
  AddFlag(file, pie_shares_);
  file->AddRecordElement(&pie_font_, sizeof pie_font_);
  file->AddRecordElement(pie_precision_);
  file->AddRecordElement(&outline_pen_, sizeof outline_pen_);
  AddFlag(file, leader_visible_);
  file->AddRecordElement(&leader_pen_, sizeof leader_pen_);
  AddFlag(file, proportional_);
  file->AddRecordElement(pie_radius_);
  AddFlag(file, outline_visible_);
  AddFlag(file, label_block_);
  file->AddRecordElement(&label_pen_, sizeof label_pen_);
  file->AddRecordElement(&label_font_, sizeof label_font_);
  for (const auto* list : {&upper_fields_, &lower_fields_}) {
    file->AddRecordElement(static_cast<unsigned>(list->size()));
    for (const std::string& f : *list) file->AddRecordElement(f);
  }
  file->WriteNextRecord();
  for (const auto& s : segs_) {
    file->SetRecordNumber(kRecTagged);
    file->AddRecordElement(s->top_depth);
    file->AddRecordElement(s->bottom_depth);
    file->AddRecordElement(s->pie_dx);
    file->AddRecordElement(s->pie_dy);
    file->AddRecordElement(static_cast<short>(std::min<std::size_t>(s->values.size(), 0x7FFF)));
    for (std::size_t k = 0; k < s->values.size() && k < 0x7FFF; ++k) file->AddRecordElement(s->values[k]);
    file->WriteNextRecord();
  }
  file->SetRecordNumber(kRecFillMode);
  file->AddRecordElement(fill_mode_);
  file->WriteNextRecord();
  file->SetRecordNumber(kRecEnd);
  file->WriteNextRecord();
  return 1;
}

void CWpOilTest::ReadSettings(CZuMFile* file) {
  int at = 2, v = 0;
  const auto flag = [&](bool* f) {
    v = *f;
    file->GetRecordElement(at++, v);
    *f = v != 0;
  };
  const auto number = [&](int* n, int lo, int hi) {
    file->GetRecordElement(at++, *n);
    *n = std::clamp(*n, lo, hi);
  };
  flag(&full_width_);
  ReadBlock(file, at++, &fill_brush_);
  flag(&cell_text_);
  int rows = rows_, cols = cols_;
  file->GetRecordElement(at++, rows);
  file->GetRecordElement(at++, cols);
  // Up to the sizes an older document may carry, which are written back as
  // they are: the two lists below are as long as these say.
  rows_ = std::clamp(rows, 1, kOldMaxRows);
  cols_ = std::clamp(cols, 1, kOldMaxCols);
  number(&cell_align_h_, 0, 2);
  number(&cell_align_v_, 0, 2);
  ReadBlock(file, at++, &grid_pen_);
  ReadBlock(file, at++, &cell_font_);
  cell_font_.face[sizeof cell_font_.face - 1] = 0;
  file->GetRecordElement(at++, bar_fraction_);
  if (!(bar_fraction_ > 0 && bar_fraction_ < 1)) bar_fraction_ = 0.5;
  flag(&bar_cumulative_);
  ReadBlock(file, at++, &oil_brush_);
  ReadBlock(file, at++, &water_brush_);
  ReadBlock(file, at++, &gas_brush_);
  flag(&band_lines_);
  ReadBlock(file, at++, &band_pen_);
  flag(&band_text_);
  ReadBlock(file, at++, &band_font_);
  band_font_.face[sizeof band_font_.face - 1] = 0;
  number(&band_precision_, 0, 10);
  number(&band_align_h_, 0, 2);
  number(&band_align_v_, 0, 2);
  // The two lists hold as many entries as the table's size says.
  col_fractions_.assign(static_cast<std::size_t>(cols_ + 1), 0.0f);
  for (std::size_t i = 0; i < col_fractions_.size(); ++i) {
    float f = static_cast<float>(i) / static_cast<float>(cols_);
    file->GetRecordElement(at++, f);
    col_fractions_[i] = std::isfinite(f) ? std::clamp(f, 0.0f, 1.0f) : 0.0f;
  }
  fields_.assign(static_cast<std::size_t>(rows_ * cols_), std::string());
  for (std::string& f : fields_) file->GetRecordElement(at++, f);
  flag(&pie_visible_);
  flag(&cumulative_);
  for (COLORREF& c : pie_colors_) {
    unsigned u = c;
    file->GetRecordElement(at++, u);
    c = u;
  }
  flag(&pie_values_);
  flag(&pie_shares_);
  ReadBlock(file, at++, &pie_font_);
  pie_font_.face[sizeof pie_font_.face - 1] = 0;
  number(&pie_precision_, 0, 10);
  ReadBlock(file, at++, &outline_pen_);
  flag(&leader_visible_);
  ReadBlock(file, at++, &leader_pen_);
  flag(&proportional_);
  file->GetRecordElement(at++, pie_radius_);
  if (!(pie_radius_ >= 0 && pie_radius_ < 1e6)) pie_radius_ = 500.0;
  flag(&outline_visible_);
  flag(&label_block_);
  ReadBlock(file, at++, &label_pen_);
  ReadBlock(file, at++, &label_font_);
  label_font_.face[sizeof label_font_.face - 1] = 0;
  for (auto* list : {&upper_fields_, &lower_fields_}) {
    unsigned n = 0;
    file->GetRecordElement(at++, n);
    // A count is bounded by what the record can hold.
    n = std::min<unsigned>(n, static_cast<unsigned>(std::max(0, file->GetRecordElementCount() - at)));
    list->assign(n, std::string());
    for (std::string& f : *list) file->GetRecordElement(at++, f);
  }
}

bool CWpOilTest::ReadOldSettings(CZuMFile* file) {
  // The table: rows, twice the column count, the show fields after the
  // column widths.
  int align = cell_align_h_, rows = 0, twice = 0;
  file->GetRecordElement(1, align);
  file->GetRecordElement(2, rows);
  file->GetRecordElement(3, twice);
  const int cols = twice / 2;
  if (rows < 1 || rows > kOldMaxRows || cols < 2 || cols > kOldMaxCols) return false;
  cell_align_h_ = std::clamp(align, 0, 2);
  rows_ = rows;
  cols_ = cols;
  col_fractions_.clear();
  for (int i = 0; i < cols; ++i) col_fractions_.push_back(static_cast<float>(i) * (1.0f / static_cast<float>(cols)));
  col_fractions_.push_back(1.0f);
  fields_.assign(static_cast<std::size_t>(rows * cols), std::string());
  for (std::size_t i = 0; i < fields_.size(); ++i) file->GetRecordElement(7 + twice + static_cast<int>(i), fields_[i]);
  return true;
}

void CWpOilTest::ReadOldPens(CZuMFile* file) {
  // Two pens of five elements each (style, width, colour, second colour,
  // raster mode): the second is the grid's. Then the cell font's block.
  ZULOGPEN pen;
  unsigned u = 0;
  file->GetRecordElement(5, u);
  pen.style = static_cast<std::int32_t>(u);
  file->GetRecordElement(6, pen.width);
  u = 0;
  file->GetRecordElement(7, u);
  pen.color = u;
  u = 0;
  file->GetRecordElement(8, u);
  pen.color2 = u;
  file->GetRecordElement(9, pen.rop);
  if (std::isfinite(pen.width) && pen.width >= 0) grid_pen_ = pen;
  const unsigned char* data = nullptr;
  std::size_t length = 0;
  if (file->GetRecordElement(10, data, length) && data) {
    ZULOGFONT font = cell_font_;
    std::memcpy(static_cast<void*>(&font), data, std::min(length, sizeof font));
    font.face[sizeof font.face - 1] = 0;
    if (std::isfinite(font.height) && font.height > 0) cell_font_ = font;
  }
}

void CWpOilTest::ReadTaggedSettings(CZuMFile* file) {
  // The single "OilTest" record earlier versions of this kit wrote.
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
  fill_mode_ = std::clamp(fill_mode_, 0, 2);
  ReadBlock(file, at++, &fill_brush_);
  flag(&cell_text_);
  int rows = rows_, cols = cols_;
  file->GetRecordElement(at++, rows);
  file->GetRecordElement(at++, cols);
  rows_ = std::clamp(rows, 1, 8);
  cols_ = std::clamp(cols, 1, 8);
  file->GetRecordElement(at++, bar_fraction_);
  if (!(bar_fraction_ > 0 && bar_fraction_ < 1)) bar_fraction_ = 0.5;
  flag(&bar_cumulative_);
  flag(&pie_visible_);
  flag(&cumulative_);
  flag(&proportional_);
  file->GetRecordElement(at++, pie_radius_);
  if (!(pie_radius_ >= 0 && pie_radius_ < 1e6)) pie_radius_ = 500.0;
  file->GetRecordElement(at++, pie_precision_);
  pie_precision_ = std::clamp(pie_precision_, 0, 10);
  fields_.assign(static_cast<std::size_t>(rows_ * cols_), std::string());
  for (std::string& f : fields_) file->GetRecordElement(at++, f);
  col_fractions_.clear();
  for (int i = 0; i < cols_; ++i) col_fractions_.push_back(static_cast<float>(i) / static_cast<float>(cols_));
  col_fractions_.push_back(1.0f);
}

int CWpOilTest::ReadFromFile(CZuMFile* file) {
  if (!CWpContent::ReadFromFile(file)) return 0;
  segs_.clear();
  active_ = -1;
  CZuMapFile* doc = GetMapFile();
  const bool current = !doc || doc->GetVersionText() == CZuMapFile::kCurrentVersionText;
  if (!file->ReadNextRecord()) return 0;
  bool pending = true;  // the current record is still to be handled
  if (file->GetRecordNumber() == kRecTagged) {
    std::string first;
    file->GetRecordElement(0, first);
    pending = false;
    if (first == "OilTest") {
      ReadTaggedSettings(file);
    } else {
      data_type_ = first;
      file->GetRecordElement(1, data_table_);
      if (current) {
        ReadSettings(file);
      } else {
        // Older documents: a table record, then one of the pens and the
        // cell font.
        if (!file->ReadNextRecord()) return 0;
        pending = true;
        if (file->GetRecordNumber() == kRecTagged) {
          const bool table = ReadOldSettings(file);
          if (!file->ReadNextRecord()) return 0;
          if (file->GetRecordNumber() == kRecTagged) {
            if (table) ReadOldPens(file);
            pending = false;
          }
        }
      }
    }
  }
  // The intervals and the fill mode, up to the end of the section.
  std::vector<std::pair<double, double>> offsets;
  for (;;) {
    if (!pending && !file->ReadNextRecord()) return 0;
    pending = false;
    const int number = file->GetRecordNumber();
    if (number == kRecEnd) break;
    if (number == kRecFillMode) {
      file->GetRecordElement(0, fill_mode_);
      fill_mode_ = std::clamp(fill_mode_, 0, 2);
    } else if (number == kRecTagged) {
      double top = kFltMax, bottom = kFltMax, dx = 0, dy = 0;
      short count = 0;
      file->GetRecordElement(0, top);
      file->GetRecordElement(1, bottom);
      file->GetRecordElement(2, dx);
      file->GetRecordElement(3, dy);
      file->GetRecordElement(4, count);
      const int n = std::clamp<int>(count, 0, std::max(0, file->GetRecordElementCount() - 5));
      std::vector<std::string> values(static_cast<std::size_t>(n));
      for (int k = 0; k < n; ++k) file->GetRecordElement(5 + k, values[static_cast<std::size_t>(k)]);
      if (!std::isfinite(top) || !std::isfinite(bottom) || IsMissing(top) || IsMissing(bottom)) continue;
      AddSegment(top, bottom, values);
      offsets.emplace_back(std::isfinite(dx) ? dx : 0.0, std::isfinite(dy) ? dy : 0.0);
    }
  }
  // The intervals show their stored values until the data is next loaded;
  // the pies keep their stored places.
  for (std::size_t k = 0; k < segs_.size() && k < offsets.size(); ++k) {
    segs_[k]->pie_dx = offsets[k].first;
    segs_[k]->pie_dy = offsets[k].second;
  }
  return 1;
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
