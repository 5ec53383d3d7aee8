// The sidewall core kit: records and the text export.
#include <algorithm>
#include <cmath>
#include <cstdio>

#include "davodu/host/records/record_numbers.h"
#include "davodu/host/records/zu_mfile.h"
#include "davodu/host/util/gbk.h"
#include "davodu/host/util/util.h"
#include "davodu/interval/interval_export.h"
#include "davodu/kits/kit_records.h"
#include "davodu/special/wp_sidewall_core.h"

namespace davodu {

namespace {

constexpr const char* kSettingsTag = "SidewallCore";

bool IsTagged(const CZuMFile* file) { return file->GetRecordNumber() == kRecTagged; }

}  // namespace

int CWpSidewallCore::SaveToFile(CZuMFile* file) {
  CWpContent::SaveToFile(file);
  file->SetRecordNumber(kRecTagged);
  file->AddRecordElement(kSettingsTag);
  file->AddRecordElement(data_type_);
  file->AddRecordElement(data_name_);
  file->AddRecordElement(symbol_pos_);
  file->AddRecordElement(symbol_size_);
  file->AddRecordElement(grade_pos_);
  file->AddRecordElement(lith_text_visible_ ? 1 : 0);
  file->AddRecordElement(grade_text_visible_ ? 1 : 0);
  file->AddRecordElement(&text_font_, sizeof text_font_);
  file->AddRecordElement(&outline_pen_, sizeof outline_pen_);
  file->WriteNextRecord();
  for (const SidewallSample& s : samples_) {
    file->SetRecordNumber(kRecTagged);
    file->AddRecordElement(static_cast<double>(s.depth));
    file->AddRecordElement(s.lithology);
    file->AddRecordElement(s.grade);
    file->AddRecordElement(s.index);
    file->WriteNextRecord();
  }
  file->SetRecordNumber(kRecEnd);
  file->WriteNextRecord();
  return 1;
}

// Reads up to the section's own end record and no further; records it does
// not know are skipped.
int CWpSidewallCore::ReadFromFile(CZuMFile* file) {
  if (!CWpContent::ReadFromFile(file)) return 0;
  samples_.clear();
  active_ = -1;
  for (;;) {
    if (!file->ReadNextRecord()) return 0;
    if (file->GetRecordNumber() == kRecEnd) break;
    if (!IsTagged(file) || file->GetRecordElementCount() < 1) continue;
    if (file->GetRecordElementType(0) == CZuMFile::kText) {
      std::string tag;
      file->GetRecordElement(0, tag);
      if (!EqualsNoCase(tag, kSettingsTag)) continue;
      file->GetRecordElement(1, data_type_);
      file->GetRecordElement(2, data_name_);
      double value = 0;
      if (file->GetRecordElement(3, value)) SetSymbolPos(value);
      if (file->GetRecordElement(4, value)) SetSymbolSize(value);
      if (file->GetRecordElement(5, value)) SetGradePos(value);
      int flag = 0;
      if (file->GetRecordElement(6, flag)) lith_text_visible_ = flag != 0;
      if (file->GetRecordElement(7, flag)) grade_text_visible_ = flag != 0;
      ReadBlock(file, 8, &text_font_);
      text_font_.face[sizeof text_font_.face - 1] = '\0';
      ReadBlock(file, 9, &outline_pen_);
      continue;
    }
    SidewallSample s;
    double depth = kFltMax;
    file->GetRecordElement(0, depth);
    if (IsMissing(depth) || !std::isfinite(depth)) continue;
    s.depth = static_cast<float>(depth);
    file->GetRecordElement(1, s.lithology);
    file->GetRecordElement(2, s.grade);
    file->GetRecordElement(3, s.index);
    samples_.push_back(std::move(s));
  }
  std::stable_sort(samples_.begin(), samples_.end(),
                   [](const SidewallSample& a, const SidewallSample& b) { return a.depth < b.depth; });
  return 1;
}

void CWpSidewallCore::ExportContent() {
  if (samples_.empty()) return;
  std::size_t lith_longest = 0, grade_longest = 0;
  for (const SidewallSample& s : samples_) {
    lith_longest = std::max(lith_longest, TrimBlanks(s.lithology).size());
    grade_longest = std::max(grade_longest, TrimBlanks(s.grade).size());
  }
  // Each text column at least as wide as its heading.
  const int lith_width = NameColumnWidth(std::max(lith_longest, Gbk("岩性").size()));
  const int grade_width = NameColumnWidth(std::max(grade_longest, Gbk("含油级别").size()));
  std::vector<std::string> lines;
  for (const SidewallSample& s : samples_) {
    char depth[32];
    std::snprintf(depth, sizeof depth, "%7.2f", static_cast<double>(s.depth));
    lines.push_back(depth + ExportColumnText(TrimBlanks(s.lithology), lith_width) +
                    ExportColumnText(TrimBlanks(s.grade), grade_width));
  }
  ExportTextTable(this, Gbk("井壁取芯"), Gbk("深度[m] 岩性 含油级别"), lines);
}

}  // namespace davodu
