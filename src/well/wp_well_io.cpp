// Reading and writing of the well's record section: the "Well" record, the
// key/value records of the name templates, and the rules for older
// documents.
#include <algorithm>
#include <cmath>
#include <string>

#include "davodu/host/objects/zu_map_file.h"
#include "davodu/host/records/zu_file_help.h"
#include "davodu/host/records/zu_mfile.h"
#include "davodu/host/objects/zu_object_cell.h"
#include "davodu/host/objects/zu_layer.h"
#include "davodu/host/util/gbk.h"
#include "davodu/kits/kit_records.h"
#include "davodu/well/wp_track.h"
#include "davodu/well/wp_well.h"

namespace davodu {

static_assert(sizeof(FLOATSIZE) == 16, "positions are stored as two doubles");

namespace {

// Keys of the name template records.
constexpr const char* kKeyNameStyle = "m_strWellNameStyleTemplate";
constexpr const char* kKeyNameSize = "m_strWellNameSizeTemplate";
constexpr const char* kKeyNameColor = "m_strWellNameColorTemplate";
constexpr const char* kKeySheets = "m_sheets";

bool TagAt(const CZuMFile* file, int index, const char* tag, bool exact_case) {
  std::string text;
  if (!file->GetRecordElement(index, text)) return false;
  return exact_case ? text == tag : EqualsNoCase(text, tag);
}

}  // namespace

int CWpWell::SaveToFile(CZuMFile* file) {
  CWpKit::SaveToFile(file);

  file->SetRecordNumber(kRecTagged);
  file->AddRecordElement("Well");
  file->AddRecordElement(well_exists_);
  file->AddRecordElement(unit_class_);
  file->AddRecordElement(top_unit_);
  file->AddRecordElement(bottom_unit_);
  file->AddRecordElement(top_extend_);
  file->AddRecordElement(title_align_);
  file->AddRecordElement(&title_position_, sizeof title_position_);
  file->AddRecordElement(&symbol_, sizeof symbol_);
  file->AddRecordElement(symbol_align_);
  file->AddRecordElement(&symbol_position_, sizeof symbol_position_);
  for (int i = 0; i < 3; ++i) file->AddRecordElement(1);
  file->AddRecordElement(static_cast<int>(style_));
  file->AddRecordElement(zoom_);
  file->AddRecordElement(point_style_template_);
  file->AddRecordElement(size_template_);
  file->AddRecordElement(border_color_template_);
  file->AddRecordElement(inner_color_template_);
  file->AddRecordElement(select_only_body_);
  file->AddRecordElement("RangeType");
  file->AddRecordElement(range_type_);
  file->AddRecordElement("DepthType");
  file->AddRecordElement(depth_type_);
  file->AddRecordElement("FaultPointInfo");
  file->AddRecordElement(fault_info_.blank_space);
  file->AddRecordElement(fault_info_.line);
  file->AddRecordElement(&fault_info_.pen, sizeof fault_info_.pen);
  file->AddRecordElement(static_cast<unsigned int>(fault_info_.points.size()));
  for (const ZUPOINT3D& p : fault_info_.points) {
    file->AddRecordElement(p.x);  // fault depth
    file->AddRecordElement(p.z);  // gap
    file->AddRecordElement(p.y);  // shift
  }
  file->AddRecordElement("BotExtendDepth");
  file->AddRecordElement(bottom_extend_);
  file->WriteNextRecord();

  CZuFileHelp::SaveValue(file, kKeyNameStyle, name_style_template_);
  CZuFileHelp::SaveValue(file, kKeyNameSize, name_size_template_);
  CZuFileHelp::SaveValue(file, kKeyNameColor, name_color_template_);

  // The header tables: each cell is a layer object of its own, named here
  // by its stamp so that reading gives the tables back to this well.
  std::vector<const WellSheet*> sheets;
  for (const WellSheet* sheet : sheets_)
    if (LiveCell(sheet->upper) || LiveCell(sheet->lower)) sheets.push_back(sheet);
  if (!sheets.empty()) {
    file->SetRecordNumber(kRecTagged);
    file->AddRecordElement(kKeySheets);
    file->AddRecordElement(static_cast<int>(sheets.size()));
    for (const WellSheet* sheet : sheets) {
      file->AddRecordElement(sheet->head_align);
      file->AddRecordElement(sheet->user);
      const CZuObjectCell* upper = LiveCell(sheet->upper);
      const CZuObjectCell* lower = LiveCell(sheet->lower);
      file->AddRecordElement(upper ? upper->GetTimeStamp() : std::uint64_t{0});
      file->AddRecordElement(lower ? lower->GetTimeStamp() : std::uint64_t{0});
    }
    file->WriteNextRecord();
  }

  file->SetRecordNumber(kRecEnd);
  file->WriteNextRecord();
  return 1;
}

void CWpWell::ReadWellRecord(CZuMFile* file) {
  const int count = file->GetRecordElementCount();
  file->GetRecordElement(1, well_exists_);
  file->GetRecordElement(2, unit_class_);
  file->GetRecordElement(3, top_unit_);
  file->GetRecordElement(4, bottom_unit_);
  file->GetRecordElement(5, top_extend_);
  file->GetRecordElement(6, title_align_);
  ReadBlock(file, 7, &title_position_);
  ReadBlock(file, 8, &symbol_);
  file->GetRecordElement(9, symbol_align_);
  ReadBlock(file, 10, &symbol_position_);
  // Elements 11 to 13 are read and dropped: they carry no setting.
  int style = style_;
  if (file->GetRecordElement(14, style)) style_ = style;

  // Each optional group starts right after the last group read.
  int next = 15;
  if (count >= 16) {
    double zoom = zoom_;
    if (file->GetRecordElement(next, zoom) && std::isfinite(zoom) && zoom > 0) zoom_ = zoom;
    ++next;
  }
  if (count > 16) {
    file->GetRecordElement(next, point_style_template_);
    file->GetRecordElement(next + 1, size_template_);
    file->GetRecordElement(next + 2, border_color_template_);
    file->GetRecordElement(next + 3, inner_color_template_);
    next += 4;
  }
  if (count > 17) file->GetRecordElement(next++, select_only_body_);
  if (count > 18 && TagAt(file, next, "RangeType", false)) {
    file->GetRecordElement(next + 1, range_type_);
    next += 2;
  }
  if (count >= 20 && TagAt(file, next, "DepthType", false)) {
    file->GetRecordElement(next + 1, depth_type_);
    next += 2;
  }
  if (count > 20 && TagAt(file, next, "FaultPointInfo", false)) {
    file->GetRecordElement(next + 1, fault_info_.blank_space);
    file->GetRecordElement(next + 2, fault_info_.line);
    ReadBlock(file, next + 3, &fault_info_.pen);
    unsigned int n = 0;
    file->GetRecordElement(next + 4, n);
    // A damaged count cannot claim more points than the record holds.
    const int first = next + 5;
    const unsigned int room = count > first ? static_cast<unsigned int>((count - first) / 3) : 0;
    n = std::min(n, room);
    fault_info_.points.clear();
    for (unsigned int i = 0; i < n; ++i) {
      const int at = first + static_cast<int>(3 * i);
      ZUPOINT3D p;
      file->GetRecordElement(at, p.x);
      file->GetRecordElement(at + 1, p.z);
      file->GetRecordElement(at + 2, p.y);
      fault_info_.points.push_back(p);
    }
    next = first + static_cast<int>(3 * n);
  }
  if (count > 21 && TagAt(file, next, "BotExtendDepth", true))
    file->GetRecordElement(next + 1, bottom_extend_);

  // A damaged file can carry anything: keep the settings within the ranges
  // the rest of the well relies on.
  title_align_ = std::clamp(title_align_, -1, 9);
  symbol_align_ = std::clamp(symbol_align_, -1, 4);
  if (range_type_ != kRangeByUnits) range_type_ = kRangeByDepths;
  if (depth_type_ < kDepthMeasured || depth_type_ > kDepthAltitude) depth_type_ = kDepthMeasured;
  if (!(top_extend_ >= 0)) top_extend_ = 0;
  if (!(bottom_extend_ >= 0)) bottom_extend_ = 0;
  for (FLOATSIZE* s : {&title_position_, &symbol_position_})
    if (!std::isfinite(s->cx) || !std::isfinite(s->cy)) *s = {};
  if (!std::isfinite(symbol_.size)) symbol_.size = 0;
}

void CWpWell::ReadSheetsRecord(CZuMFile* file) {
  stored_sheets_.clear();
  int count = 0;
  if (!file->GetRecordElement(1, count) || count < 0) return;
  // Four elements a sheet; a count the record cannot hold is cut to what it holds.
  const int held = (file->GetRecordElementCount() - 2) / 4;
  for (int i = 0; i < std::min(count, held); ++i) {
    StoredSheet s;
    const int at = 2 + 4 * i;
    file->GetRecordElement(at, s.head_align);
    file->GetRecordElement(at + 1, s.user);
    file->GetRecordElement(at + 2, s.upper);
    file->GetRecordElement(at + 3, s.lower);
    stored_sheets_.push_back(s);
  }
}

void CWpWell::OnLayerRead() {
  if (stored_sheets_.empty() || !layer_) return;
  auto find = [&](std::uint64_t stamp) -> CZuObjectCell* {
    if (stamp == 0) return nullptr;
    for (CZuObject* obj : layer_->GetObjectList()) {
      auto* cell = dynamic_cast<CZuObjectCell*>(obj);
      if (cell && !cell->GetManager() && cell->GetTimeStamp() == stamp) return cell;
    }
    return nullptr;
  };
  for (const StoredSheet& s : stored_sheets_) {
    CZuObjectCell* upper = find(s.upper);
    CZuObjectCell* lower = find(s.lower);
    if (!upper && !lower) continue;
    for (CZuObjectCell* cell : {upper, lower})
      if (cell) cell->SetManager(this);
    sheets_.push_back(new WellSheet{s.head_align, s.user, upper, lower});
  }
  stored_sheets_.clear();
  Update();
}

void CWpWell::FinishRead() {
  for (CWpKit* child : children_)
    if (auto* track = dynamic_cast<CWpTrack*>(child)) track->InitGroup();
  // Older documents anchored the well at its left edge; the anchor is now
  // the centre of the body's top.
  const CZuMapFile* doc = GetMapFile();
  if (!doc || doc->GetVersion() < kCentredAnchorVersion)
    SetPosition(FLOATPOINT{position_.x + width_ / 2, position_.y}, 1);
  if (depth_type_ != kDepthMeasured && data_mgr_) CopyDepthTypeToDataMgr();
  Update();
}

int CWpWell::ReadFromFile(CZuMFile* file) {
  if (!CWpKit::ReadFromFile(file)) return 0;
  while (file->ReadNextRecord()) {
    const unsigned short number = file->GetRecordNumber();
    if (number == kRecEnd) {
      FinishRead();
      return 1;
    }
    if (number != kRecTagged) continue;
    std::string tag;
    file->GetRecordElement(0, tag);
    if (EqualsNoCase(tag, "PltScl")) {
      double zoom = zoom_;
      if (file->GetRecordElement(1, zoom) && std::isfinite(zoom) && zoom > 0) zoom_ = zoom;
    } else if (EqualsNoCase(tag, "Well")) {
      ReadWellRecord(file);
    } else if (EqualsNoCase(tag, kKeySheets)) {
      ReadSheetsRecord(file);
    } else {
      CZuFileHelp::ReadValue(file, kKeyNameStyle, &name_style_template_) ||
          CZuFileHelp::ReadValue(file, kKeyNameSize, &name_size_template_) ||
          CZuFileHelp::ReadValue(file, kKeyNameColor, &name_color_template_);
    }
  }
  return 0;
}

}  // namespace davodu
