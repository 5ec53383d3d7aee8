// The rock sample kit: the data link, the segments of the cored intervals,
// settings and editing.
#include "davodu/special/wp_lth_sample.h"

#include <cmath>
#include <map>
#include <memory>

#include "davodu/data/data_sources.h"
#include "davodu/host/util/gbk.h"
#include "davodu/host/util/util.h"

namespace davodu {

DAVODU_IMPLEMENT_DYNCREATE(CWpLthSample, CWpSegment)

CWpLthSample::CWpLthSample(CZuLayer* layer) : CWpSegment(layer) { Initialize(); }

void CWpLthSample::Initialize() {
  class_name_ = name_ = type_name_ = "CWpLthSample";
  title_text_ = Gbk("岩样");
  seg_pen_ = ZULOGPEN{};
  seg_pen_.width = 2;
  seg_pen_.color = 0x0000FF;
  sample_pen_ = ZULOGPEN{};
  sample_pen_.width = 2;
  sample_pen_.color = 0x00FF00;
  mark_font_ = ZULOGFONT{};
  mark_font_.color = 0xFF0000;
  mark_font_.height = 100;
  mark_step_ = 5;
  catalog_ = nullptr;
  table_name_.clear();
  depth_field_.clear();
  number_field_.clear();
  mark_text_visible_ = 1;
  mark_text_align_ = 0;
  ComposeDataName();
}

void CWpLthSample::Clear() {
  ClearSeg();
  SepFrmObservee();
  CWpSegment::Clear();
  Initialize();
}

std::string CWpLthSample::KindLabel() const { return Gbk("岩样"); }

// ---------------------------------------------------------------- data name

void CWpLthSample::ComposeDataName() {
  std::string name(1, ',');
  for (const std::string* part : {&table_name_, &depth_field_, &number_field_}) {
    // An empty part is kept as one blank, so that the name keeps its places.
    name += part->empty() ? std::string(1, ' ') : *part;
    name += ',';
  }
  data_name_ = std::move(name);
}

void CWpLthSample::SplitDataName() {
  const std::vector<std::string> fields = CommaFields(data_name_);
  // ",T,D,N," splits into "", T, D, N, "": the three names follow the
  // opening comma.
  std::vector<std::string> parts;
  for (std::size_t i = 1; i < fields.size(); ++i) parts.push_back(fields[i]);
  if (!parts.empty() && parts.back().empty()) parts.pop_back();
  std::string* names[] = {&table_name_, &depth_field_, &number_field_};
  for (std::size_t i = 0; i < 3; ++i) *names[i] = parts.size() > 2 ? parts[i] : std::string(1, ' ');
  ComposeDataName();
}

void CWpLthSample::Update() { SplitDataName(); }

void CWpLthSample::SetNamePart(std::string* part, const std::string& value) {
  if (*part == value) return;
  *part = value;
  ComposeDataName();
  ResetData();
}

void CWpLthSample::SetTableName(const std::string& name) { SetNamePart(&table_name_, name); }
void CWpLthSample::SetDepthFiledName(const std::string& name) { SetNamePart(&depth_field_, name); }
void CWpLthSample::SetNumberFiledName(const std::string& name) { SetNamePart(&number_field_, name); }

// ---------------------------------------------------------------- data link

LogLthSampleDIO* CWpLthSample::FindDataObject(WDMgrIO* gateway) {
  if (data_source_ == 0) return nullptr;
  return gateway->GetLthSmaple(static_cast<LSMAPLESOURCE>(data_source_), data_name_);
}

void CWpLthSample::TakeIdentifier(const LOGLTHSMAPLE& entry) {
  data_source_ = entry.source;
  data_name_ = entry.name;
  SplitDataName();
}

void CWpLthSample::ResetData() {
  if (data_source_ != 0) {
    ReloadData();
    return;
  }
  // A column without data shows the segments stored with it: clearing
  // them here would lose their only copy.
  SepFrmObservee();
  InvalidBody();
}

void CWpLthSample::SetSampleSource(int source) {
  if (source == data_source_) return;
  data_source_ = source;
  ResetData();
}

LogLthSmapleMgrIO* CWpLthSample::GetLthSmapleMgr() {
  if (!catalog_)
    if (WDMgrIO* gateway = Gateway()) catalog_ = gateway->GetLthSmapleMgr();
  return catalog_;
}

void CWpLthSample::UpdateD2V() {
  if (LogLthSampleDIO* io = GetData()) {
    const int n = io->GetCount();
    if (!segs_.empty()) ClearSeg();
    // The segments made in this pass by their map interval: a sample joins
    // the one whose interval is exactly its own.
    std::map<std::pair<double, double>, std::shared_ptr<LthSampleDIndex>> made;
    for (int i = 0; i < n; ++i) {
      const double top = io->GetTop(i), bottom = io->GetBottom(i);
      if (IsMissing(top) || IsMissing(bottom) || bottom < top || !InDepthRange(top, bottom)) continue;
      const double y1 = DepToMapY(top), y2 = DepToMapY(bottom);
      std::shared_ptr<LthSampleDIndex>& rec = made[{y1, y2}];
      if (!rec) {
        const int at = AddASeg(y1, y2);
        if (at < 0) {  // overlaps an interval shown: the sample is dropped
          made.erase({y1, y2});
          continue;
        }
        rec = std::make_shared<LthSampleDIndex>(i, top);
        WPSEGMENT& seg = segs_[static_cast<std::size_t>(at)];
        seg.data = rec;
        seg.top_depth = top;
        seg.bottom_depth = bottom;
      }
      // A sample whose place in its interval is unknown has no tick.
      const double distance = io->GetValue1(i);
      if (!IsMissing(distance)) rec->samples.emplace_back(distance, io->GetValue2(i));
    }
    SetModifyFlag();
  }
  InvalidBody();
}

void CWpLthSample::UpdateSegDepth() {
  if (GetData())
    UpdateD2V();
  else
    CWpSegment::UpdateSegDepth();
}

LthSampleDIndex* CWpLthSample::Record(int i) {
  if (i < 0 || i >= GetSegCount()) return nullptr;
  return dynamic_cast<LthSampleDIndex*>(segs_[static_cast<std::size_t>(i)].data.get());
}

const LthSampleDIndex* CWpLthSample::GetSampleRecord(int i) const {
  if (i < 0 || i >= GetSegCount()) return nullptr;
  return dynamic_cast<const LthSampleDIndex*>(segs_[static_cast<std::size_t>(i)].data.get());
}

bool CWpLthSample::IsMarked(double number) const {
  // A step below 1 marks nothing (and is never divided by).
  if (mark_step_ < 1 || IsMissing(number) || !std::isfinite(number)) return false;
  const double whole = std::trunc(number);
  if (std::fabs(whole) > 2e9) return false;
  return static_cast<long long>(whole) % mark_step_ == 0;
}

// ---------------------------------------------------------------- editing

void CWpLthSample::KeepLocalEdit(int index) {
  WPSEGMENT& seg = segs_[static_cast<std::size_t>(index)];
  AnchorSeg(seg);
  // The samples keep their distances below the top.
  if (auto* rec = dynamic_cast<LthSampleDIndex*>(seg.data.get())) rec->top_depth = seg.top_depth;
  SetTimeStamp(AfxGetTimeStamp());
  SetModifyFlag();
}

void CWpLthSample::MoveSeg(int index, double dy) {
  if (index < 0 || index >= GetSegCount()) return;
  CWpSegment::MoveSeg(index, dy);
  WriteSegEdit(index, 0);
}

void CWpLthSample::MoveSegP(int index, double dy, int which) {
  if (index < 0 || index >= GetSegCount() || (which != kPickTop && which != kPickBottom)) return;
  CWpSegment::MoveSegP(index, dy, which);
  WriteSegEdit(index, which);
}

int CWpLthSample::OnCommand(CView* view, CDC* dc, unsigned id, long param) {
  if (id == kCmdCheckDataSet)
    if (LogLthSampleDIO* io = GetData()) io->CheckDataSet();
  return CWpSegment::OnCommand(view, dc, id, param);
}

// ---------------------------------------------------------------- settings

bool CWpLthSample::IfLineStyleUsed(int code) const {
  return CWpSegment::IfLineStyleUsed(code) || seg_pen_.style == code || sample_pen_.style == code;
}

void CWpLthSample::Amplify(FLOATPOINT centre, double fx, double fy) {
  CWpSegment::Amplify(centre, fx, fy);
  seg_pen_.width = static_cast<float>(seg_pen_.width * fx);
  sample_pen_.width = static_cast<float>(sample_pen_.width * fx);
  mark_font_.height = static_cast<float>(mark_font_.height * fx);
}

void CWpLthSample::DuplicateAttribute(CZuObject* target) {
  auto* s = dynamic_cast<CWpLthSample*>(target);
  if (!s || s == this) return;
  CWpSegment::DuplicateAttribute(target);
  if (Observee* io = GetObservee()) io->Register(s);
  s->catalog_ = GetLthSmapleMgr();
  s->table_name_ = table_name_;
  s->depth_field_ = depth_field_;
  s->number_field_ = number_field_;
  s->seg_pen_ = seg_pen_;
  s->sample_pen_ = sample_pen_;
  s->mark_font_ = mark_font_;
  s->mark_step_ = mark_step_;
  s->mark_text_visible_ = mark_text_visible_;
  s->mark_text_align_ = mark_text_align_;
}

}  // namespace davodu
