#include "davodu/display/wp_program.h"

namespace davodu {

DAVODU_IMPLEMENT_DYNCREATE(CWpProgram, CWpContent)

CWpProgram::CWpProgram(CZuLayer* layer) : CWpContent(layer) { Initialize(); }

void CWpProgram::Initialize() {
  class_name_ = "CWpProgram";
  name_ = type_name_ = title_text_ = "WpProgram";
}

void CWpProgram::Clear() {
  SepFrmObservee();
  CWpContent::Clear();
  Initialize();
}

void CWpProgram::UpdateWithObservee() { InvalidSelf(); }

}  // namespace davodu
