#include "davodu/interval/wp_water_entry.h"

namespace davodu {

DAVODU_IMPLEMENT_DYNCREATE(CWpWaterEntry, CWpContent)

CWpWaterEntry::CWpWaterEntry(CZuLayer* layer) : CWpContent(layer) { Initialize(); }

void CWpWaterEntry::Initialize() {
  class_name_ = "CWpWaterEntry";
  name_ = type_name_ = title_text_ = "WpWaterEntry";
}

void CWpWaterEntry::Clear() {
  SepFrmObservee();
  CWpContent::Clear();
  Initialize();
}

void CWpWaterEntry::UpdateWithObservee() { InvalidSelf(); }

}  // namespace davodu
