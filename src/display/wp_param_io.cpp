// The parameter column kit: records.
#include <bit>
#include <string>

#include "davodu/display/wp_param.h"
#include "davodu/host/records/zu_mfile.h"
#include "davodu/host/util/gbk.h"
#include "davodu/kits/kit_records.h"
#include "davodu/well/wp_track.h"
#include "davodu/well/wp_well.h"

namespace davodu {

namespace {

constexpr unsigned short kRecStyles = 174;
constexpr unsigned short kRecTextDir = 142;
constexpr unsigned short kRecDigitNum = 149;
constexpr unsigned short kRecAngleType = 150;
constexpr const char* kTextDirKey = "m_enTextDir";
constexpr const char* kAngleTypeKey = "m_iAngleType";
constexpr const char* kDigitNumKey = "m_iDigitNum";

void AddKeyed(CZuMFile* file, unsigned short number, const char* key, int value) {
  file->SetRecordNumber(number);
  file->AddRecordElement(key);
  file->AddRecordElement(value);
  file->WriteNextRecord();
}

}  // namespace

int CWpParam::SaveToFile(CZuMFile* file) {
  CWpContent::SaveToFile(file);
  file->SetRecordNumber(kRecStyles);
  for (bool f : lines_) file->AddRecordElement(static_cast<int>(f));
  file->AddRecordElement(static_cast<unsigned>(line_type_.style));
  file->AddRecordElement(line_type_.width);
  file->AddRecordElement(static_cast<unsigned>(line_type_.color));
  for (int t = kLineTypeTemp; t <= kLineColorTemp; ++t) file->AddRecordElement(templates_[t]);
  for (bool f : points_) file->AddRecordElement(static_cast<int>(f));
  file->AddRecordElement(static_cast<unsigned>(point_type_.style));
  file->AddRecordElement(point_type_.size);
  file->AddRecordElement(static_cast<unsigned>(point_type_.color));
  for (int t = kPointTypeTemp; t <= kPointColorTemp; ++t) file->AddRecordElement(templates_[t]);
  for (bool f : texts_) file->AddRecordElement(static_cast<int>(f));
  file->AddRecordElement(text_type_.FaceName());
  file->AddRecordElement(text_type_.height);
  file->AddRecordElement(static_cast<unsigned>(text_type_.color));
  for (int t = kTextTypeTemp; t <= kTextColorTemp; ++t) file->AddRecordElement(templates_[t]);
  file->AddRecordElement(static_cast<int>(fill_visible_));
  file->AddRecordElement(static_cast<unsigned>(rect_fill_brush_.style));
  file->AddRecordElement(std::bit_cast<float>(rect_fill_brush_.word3));
  file->AddRecordElement(static_cast<unsigned>(rect_fill_brush_.word2));
  file->AddRecordElement(static_cast<unsigned>(rect_fill_brush_.color));
  for (int t = kRectTypeTemp; t <= kRectIColorTemp; ++t) file->AddRecordElement(templates_[t]);
  file->WriteNextRecord();

  file->SetRecordNumber(kRecTagged);
  file->AddRecordElement(data_type_);
  file->AddRecordElement(data_table_);
  file->AddRecordElement(data_field_);
  file->AddRecordElement(align_h_);
  file->AddRecordElement(align_v_);
  file->AddRecordElement(text_direction_);
  file->AddRecordElement(&text_font_, sizeof text_font_);
  file->AddRecordElement(static_cast<int>(null_display_));
  file->WriteNextRecord();

  for (const auto& s : segs_) {
    file->SetRecordNumber(kRecTagged);
    file->AddRecordElement(s->value);
    file->AddRecordElement(s->top_depth);
    file->AddRecordElement(s->bottom_depth);
    file->WriteNextRecord();
  }
  AddKeyed(file, kRecTextDir, kTextDirKey, text_dir_);
  AddKeyed(file, kRecAngleType, kAngleTypeKey, angle_type_);
  AddKeyed(file, kRecDigitNum, kDigitNumKey, digit_num_);
  file->SetRecordNumber(kRecEnd);
  file->WriteNextRecord();
  return 1;
}

int CWpParam::ReadFromFile(CZuMFile* file) {
  if (!CWpContent::ReadFromFile(file)) return 0;
  auto* track = dynamic_cast<CWpTrack*>(parent_);
  Initialize(track ? track->GetWell() : nullptr);
  ClearContent();
  last_number_ = 0;
  if (!file->ReadNextRecord()) return 0;
  if (file->GetRecordNumber() == kRecStyles) {
    int at = 0;
    const auto flag = [&](bool* f) {
      int v = *f;
      file->GetRecordElement(at++, v);
      *f = v != 0;
    };
    const auto word = [&](std::int32_t* w) {
      unsigned v = static_cast<unsigned>(*w);
      file->GetRecordElement(at++, v);
      *w = static_cast<std::int32_t>(v);
    };
    const auto color = [&](COLORREF* c) { file->GetRecordElement(at++, *c); };
    const auto real = [&](float* f) { file->GetRecordElement(at++, *f); };
    const auto names = [&](int from, int to) {
      for (int t = from; t <= to; ++t) file->GetRecordElement(at++, templates_[t]);
    };
    for (bool& f : lines_) flag(&f);
    word(&line_type_.style);
    real(&line_type_.width);
    color(&line_type_.color);
    names(kLineTypeTemp, kLineColorTemp);
    for (bool& f : points_) flag(&f);
    word(&point_type_.style);
    real(&point_type_.size);
    color(&point_type_.color);
    names(kPointTypeTemp, kPointColorTemp);
    for (bool& f : texts_) flag(&f);
    std::string face = text_type_.FaceName();
    file->GetRecordElement(at++, face);
    text_type_.SetFaceName(face);
    real(&text_type_.height);
    color(&text_type_.color);
    names(kTextTypeTemp, kTextColorTemp);
    flag(&fill_visible_);
    word(&rect_fill_brush_.style);
    float size = std::bit_cast<float>(rect_fill_brush_.word3);
    real(&size);
    rect_fill_brush_.word3 = std::bit_cast<std::int32_t>(size);
    COLORREF back = static_cast<COLORREF>(rect_fill_brush_.word2);
    color(&back);
    rect_fill_brush_.word2 = static_cast<std::int32_t>(back);
    color(&rect_fill_brush_.color);
    names(kRectTypeTemp, kRectIColorTemp);
    if (!file->ReadNextRecord()) return 0;
  }
  if (file->GetRecordNumber() == kRecTagged) {
    file->GetRecordElement(0, data_type_);
    file->GetRecordElement(1, data_table_);
    file->GetRecordElement(2, data_field_);
    file->GetRecordElement(3, align_h_);
    file->GetRecordElement(4, align_v_);
    file->GetRecordElement(5, text_direction_);
    ReadBlock(file, 6, &text_font_);
    text_font_.face[sizeof text_font_.face - 1] = '\0';
    // The fill keeps the colour stored with it (the 174 record).
    if (file->GetRecordElementCount() >= 8) {
      int v = 1;
      file->GetRecordElement(7, v);
      null_display_ = v != 0;
    }
    if (!file->ReadNextRecord()) return 0;
  }
  for (;;) {
    std::string key;
    int value = 0;
    const auto keyed = [&](const char* expected) {
      return file->GetRecordElement(0, key) && key == expected && file->GetRecordElement(1, value);
    };
    switch (file->GetRecordNumber()) {
      case kRecEnd:
        state_ = 1;
        return 1;
      case kRecTextDir:
        if (keyed(kTextDirKey)) text_dir_ = value;
        break;
      case kRecDigitNum:
        if (keyed(kDigitNumKey)) SetDigitNum(value);
        break;
      case kRecAngleType:
        if (keyed(kAngleTypeKey)) angle_type_ = value;
        break;
      case kRecTagged: {
        std::string text;
        float top = 0, bottom = 0;
        file->GetRecordElement(0, text);
        file->GetRecordElement(1, top);
        file->GetRecordElement(2, bottom);
        AddSegment(++last_number_, text, top, bottom);
        break;
      }
      default:
        break;
    }
    if (!file->ReadNextRecord()) return 0;
  }
}

}  // namespace davodu
