#include "davodu/display/wp_program.h"

#include "davodu/host/objects/zu_map_file.h"
#include "davodu/host/util/gbk.h"
#include "davodu/kits/menu_ids.h"

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

void CWpProgram::AddOwnMenu(CZuMapFile* file) { file->AddMenu(kCmdEditProgram, Gbk("编辑程序")); }

}  // namespace davodu
