// ChartView: an interactive view of a document as far as mouse and menus
// go. It is how a host (tests now, an interactive program later) sends a
// press, move, release or right click at a draw point to the object under
// it, reads back the context menu the object built, and sends the chosen
// command.
//
// A press goes to the topmost object under the point (asked through
// HitTest, layers from last to first, objects from last to first); that
// object is selected and receives the moves and the release of the gesture.
// A right click asks the object under the point to build the pop-up menu.
#ifndef DAVODU_HOST_OBJECTS_CHART_VIEW_H_
#define DAVODU_HOST_OBJECTS_CHART_VIEW_H_

#include <vector>

#include "davodu/host/objects/view.h"
#include "davodu/host/objects/zu_map_file.h"
#include "davodu/host/util/types.h"

namespace davodu {

class CDC;
class CZuObject;

class ChartView : public CView {
 public:
  // dc: the device the objects draw their interactive marks into.
  ChartView(CZuMapFile* document, CDC* dc);

  // The topmost object under a draw point, or null.
  CZuObject* ObjectAt(CPoint point) const;

  // Returns the object that took the press (null: nothing there).
  CZuObject* LButtonDown(CPoint point, unsigned flags = 0);
  void MouseMove(CPoint point, unsigned flags = 0);
  void LButtonUp(CPoint point, unsigned flags = 0);
  // A double click goes to the object under the point; returns its answer
  // (0 when nothing is there).
  int LButtonDblClk(CPoint point, unsigned flags = 0);
  // Builds the context menu of the object under the point and returns its
  // items (empty when nothing is there).
  std::vector<MenuItem> RightClick(CPoint point, unsigned flags = 0);
  // Sends a command chosen from the last menu to the object that built it.
  // Returns the object's answer, or 0 when there is no menu.
  int Command(unsigned id);

  // The object of the gesture in progress.
  CZuObject* GetCapturedObject() const { return captured_; }
  // The object whose menu the next Command goes to (null: none).
  CZuObject* GetMenuOwner() const { return menu_owner_; }
  // Forgets the gesture in progress and the last menu without telling their
  // objects: for a host that lets another view change the document, whose
  // change may delete them.
  void Forget() {
    captured_ = nullptr;
    menu_owner_ = nullptr;
    ReleaseCapture();
  }

 private:
  CDC* dc_;
  CZuObject* captured_ = nullptr;
  CZuObject* menu_owner_ = nullptr;
};

}  // namespace davodu

#endif  // DAVODU_HOST_OBJECTS_CHART_VIEW_H_
