// The programmable kit: its lifecycle, copies and menu.
#include "davodu/display/wp_program.h"

#include "davodu/host/objects/object_factory.h"
#include "davodu/host/objects/zu_map_file.h"
#include "davodu/host/util/gbk.h"
#include "davodu/kits/menu_ids.h"

namespace davodu {

namespace {

bool g_programs_enabled = true;

}  // namespace

DAVODU_IMPLEMENT_DYNCREATE(CWpProgram, CWpContent)

void CWpProgram::SetProgramsEnabled(bool enabled) { g_programs_enabled = enabled; }
bool CWpProgram::ProgramsEnabled() { return g_programs_enabled; }

CWpProgram::CWpProgram(CZuLayer* layer) : CWpContent(layer), program_(std::make_unique<CProgram>()) {
  Initialize();
}

CWpProgram::~CWpProgram() {
  DeleteObjects();
  SepFrmObservee();
}

void CWpProgram::Initialize() {
  class_name_ = "CWpProgram";
  name_ = type_name_ = "WpProgram";
  title_text_ = Gbk("可编程");
  time_stamp_ = 0;
  program_stamp_ = 0;
  geometry_ = {};
}

void CWpProgram::Clear() {
  SepFrmObservee();
  CWpContent::Clear();
  Initialize();
  program_->Clear();
  DeleteObjects();
}

void CWpProgram::DeleteObjects() {
  for (CZuObject* obj : objects_) AfxGetObjectFactory()->DeleteObject(obj);
  objects_.clear();
}

void CWpProgram::AddOwnMenu(CZuMapFile* file) { file->AddMenu(kCmdEditProgram, Gbk("编辑程序")); }

int CWpProgram::OnCommand(CView* view, CDC* dc, unsigned id, long param) {
  if (id == kCmdEditProgram) Program();
  return CWpKit::OnCommand(view, dc, id, param);
}

void CWpProgram::SetProgram(const CProgram* program) {
  if (program) *program_ = *program;
}

void CWpProgram::Program() {
  program_->SetName((title_text_.empty() ? name_ : title_text_) + Gbk("程序"));
  for (const char* name : {"纵坐标Y0", "横坐标X0", "横坐标X1", "纵向变换系数", "起始深度"})
    program_->AddData("", Gbk(name), 1);
}

bool CWpProgram::PtInHead(CPoint point) const {
  return point.x > draw_nodes_[0].x && point.x < draw_nodes_[1].x && point.y > draw_nodes_[0].y &&
         point.y < draw_nodes_[4].y;
}

void CWpProgram::SetZoomFactor(double zoom) {
  CWpContent::SetZoomFactor(zoom);
  for (CZuObject* obj : objects_) obj->SetZoomFactor(zoom);
}

void CWpProgram::DuplicateAttribute(CZuObject* target) {
  CWpContent::DuplicateAttribute(target);
  auto* t = dynamic_cast<CWpProgram*>(target);
  if (!t || t == this) return;
  *t->program_ = *program_;
  // The copy draws its own objects at its first drawing.
  t->program_stamp_ = 0;
}

}  // namespace davodu
