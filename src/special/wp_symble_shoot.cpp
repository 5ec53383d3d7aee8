#include "davodu/special/wp_symble_shoot.h"

#include <algorithm>
#include <memory>

#include "davodu/data/data_date.h"
#include "davodu/data/data_sources.h"
#include "davodu/host/records/record_numbers.h"
#include "davodu/host/records/zu_mfile.h"
#include "davodu/host/util/gbk.h"
#include "davodu/host/util/util.h"

namespace davodu {

DAVODU_IMPLEMENT_DYNCREATE(CWpSymbleShoot, CWpSymble)

namespace {

// The perforation column's filter rule: empty texts take each other's
// value, both empty pass everything, reversed bounds are exchanged, both
// ends are included.
bool Between(const std::string& from_text, const std::string& to_text, const DataDate* date) {
  DataDate from, to;
  const bool has_from = ParseDataDate(from_text, &from), has_to = ParseDataDate(to_text, &to);
  if (!has_from && !has_to) return true;
  if (!has_from) from = to;
  if (!has_to) to = from;
  if (!date || !IsValidDate(*date)) return false;
  auto a = DaysOf(from), b = DaysOf(to);
  if (b < a) std::swap(a, b);
  const auto d = DaysOf(*date);
  return a <= d && d <= b;
}

}  // namespace

CWpSymbleShoot::CWpSymbleShoot(CZuLayer* layer) : CWpSymble(layer) {
  data_source_ = SYMBLE_SHOOT;
  Initialize();
}

void CWpSymbleShoot::Initialize() {
  class_name_ = name_ = type_name_ = "CWpSymbleShoot";
  title_text_ = Gbk("射孔");
  edge_left_ = edge_right_ = 0;
  filter_ = false;
  start_date_.clear();
  end_date_.clear();
  all_dates_.clear();
}

void CWpSymbleShoot::Clear() {
  CWpSymble::Clear();
  Initialize();
}

std::string CWpSymbleShoot::KindLabel() const { return Gbk("射孔"); }

void CWpSymbleShoot::UpdateD2V() {
  auto* io = dynamic_cast<ISymbleShootData*>(GetData());
  if (data_source_ != SYMBLE_SHOOT || !io) {
    CWpSymble::UpdateD2V();
    return;
  }
  if (!catalog_)
    if (WDMgrIO* gateway = Gateway()) catalog_ = gateway->GetSymbleMgr(SYMBLE_SHOOT);
  if (!catalog_) return;
  all_dates_.clear();
  io->GetDates(&all_dates_);
  const int n = io->GetCount();
  if (!segs_.empty() && n >= 0) ClearSeg();
  for (int i = 0; i < n; ++i) {
    if (!Between(start_date_, end_date_, io->GetDate(i))) continue;
    const double top = io->GetTop(i), bottom = io->GetBottom(i);
    if (IsMissing(top) || IsMissing(bottom) || !(bottom > top) || !InDepthRange(top, bottom)) continue;
    const int at = AddASeg(DepToMapY(top), DepToMapY(bottom));
    if (at < 0) continue;
    WPSEGMENT& seg = segs_[static_cast<std::size_t>(at)];
    seg.data = std::make_shared<SymbleDIndex>(i, io->GetSymble(i));
    seg.top_depth = top;
    seg.bottom_depth = bottom;
  }
  Restyle();
  InvalidBody();
}

void CWpSymbleShoot::IsFilter(bool on) {
  filter_ = on;
  if (on && !all_dates_.empty()) {
    start_date_ = all_dates_.front();
    end_date_ = all_dates_.back();
  } else if (!on) {
    start_date_.clear();
    end_date_.clear();
  }
  UpdateD2V();
}

void CWpSymbleShoot::SetStartDateTime(const std::string& date) {
  if (date == start_date_) return;
  start_date_ = date;
  UpdateD2V();
}

void CWpSymbleShoot::SetEndDateTime(const std::string& date) {
  if (date == end_date_) return;
  end_date_ = date;
  UpdateD2V();
}

int CWpSymbleShoot::SaveToFile(CZuMFile* file) {
  SaveSymbleSection(file);
  file->SetRecordNumber(kRecTagged);
  file->AddRecordElement("DateTimes");
  file->AddRecordElement(static_cast<unsigned>(filter_ ? 1 : 0));
  file->AddRecordElement(start_date_);
  file->AddRecordElement(end_date_);
  file->AddRecordElement(static_cast<unsigned>(all_dates_.size()));
  for (const std::string& d : all_dates_) file->AddRecordElement(d);
  file->WriteNextRecord();
  file->SetRecordNumber(kRecEnd);
  file->WriteNextRecord();
  return 1;
}

int CWpSymbleShoot::ReadFromFile(CZuMFile* file) {
  if (!ReadSymbleSection(file)) return 0;
  std::string tag;
  if (file->GetRecordNumber() == kRecTagged && file->GetRecordElement(0, tag) && tag == "DateTimes") {
    unsigned flag = 0, k = 0;
    file->GetRecordElement(1, flag);
    filter_ = flag == 1;
    file->GetRecordElement(2, start_date_);
    file->GetRecordElement(3, end_date_);
    file->GetRecordElement(4, k);
    // No more dates than the record holds.
    const int held = std::max(0, file->GetRecordElementCount() - 5);
    all_dates_.assign(std::min<std::size_t>(k, static_cast<std::size_t>(held)), std::string());
    for (std::size_t j = 0; j < all_dates_.size(); ++j)
      file->GetRecordElement(static_cast<int>(5 + j), all_dates_[j]);
    if (!file->ReadNextRecord()) return 0;
  }
  return file->GetRecordNumber() == kRecEnd ? 1 : 0;
}

void CWpSymbleShoot::DuplicateAttribute(CZuObject* target) {
  auto* s = dynamic_cast<CWpSymbleShoot*>(target);
  if (!s || s == this) return;
  CWpSymble::DuplicateAttribute(target);
  s->all_dates_ = all_dates_;
  s->IsFilter(filter_);
  s->start_date_ = start_date_;
  s->end_date_ = end_date_;
}

}  // namespace davodu
