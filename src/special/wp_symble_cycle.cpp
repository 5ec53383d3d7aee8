#include "davodu/special/wp_symble_cycle.h"

#include "davodu/data/data_sources.h"
#include "davodu/host/records/record_numbers.h"
#include "davodu/host/records/zu_mfile.h"
#include "davodu/host/util/gbk.h"

namespace davodu {

DAVODU_IMPLEMENT_DYNCREATE(CWpSymbleCycle, CWpSymble)

CWpSymbleCycle::CWpSymbleCycle(CZuLayer* layer) : CWpSymble(layer) {
  data_source_ = SYMBLE_CYCLE_LONG;
  // The triangles in black: the segment kit's yellow reads poorly as a line.
  seg_color_ = 0;
  Initialize();
}

void CWpSymbleCycle::Initialize() {
  class_name_ = name_ = type_name_ = "CWpSymbleCycle";
  title_text_ = Gbk("旋回");
  use_bk_color_ = true;
}

void CWpSymbleCycle::Clear() {
  CWpSymble::Clear();
  Initialize();
}

std::string CWpSymbleCycle::KindLabel() const { return Gbk("旋回"); }

int CWpSymbleCycle::SaveToFile(CZuMFile* file) {
  SaveSymbleSection(file);
  file->SetRecordNumber(kRecEnd);
  file->WriteNextRecord();
  return 1;
}

int CWpSymbleCycle::ReadFromFile(CZuMFile* file) {
  if (!ReadSymbleSection(file)) return 0;
  return file->GetRecordNumber() == kRecEnd ? 1 : 0;
}

}  // namespace davodu
