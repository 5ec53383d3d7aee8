// The programmable kit: drawing.
#include "davodu/display/wp_program.h"
#include "davodu/host/graphics/dc.h"
#include "davodu/host/graphics/graph_tool.h"
#include "davodu/host/objects/zu_shapes.h"

namespace davodu {

void CWpProgram::Draw(CDC* dc, CView* view, CRect* clip, CRect* done) {
  if (!visible_) return;
  CWpInWell::Draw(dc, view, clip, done);
  border_flags_[3] = border_flags_[4] = 0;
  DrawTitle(dc, view, clip, done);
  // A drawing older than its program, its table or the kit's geometry is
  // made again first.
  if (program_->GetTimeStamp() > program_stamp_ || DataStamp() > time_stamp_ ||
      GeometryKey() != geometry_)
    UpdateD2V();
  if (!objects_.empty()) {
    // What a program draws stays in the column's body.
    const CClipTool& tool = AfxGetClipTool();
    const int level = tool.SaveDC(dc);
    tool.SetClip(dc, BodyDraw());
    for (bool fills : {true, false})
      for (CZuObject* obj : objects_)
        if ((dynamic_cast<CZuObjectFill*>(obj) != nullptr) == fills) obj->Draw(dc, view, clip, done);
    tool.AbortClip(dc, level);
  }
  DrawBorder(dc, view, clip, done);
}

void CWpProgram::DrawSelectedMark(CDC* dc, CView*) { DrawContentMark(dc, true); }

}  // namespace davodu
