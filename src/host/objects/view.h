// CView: a view of a document, as far as objects see it: the document it
// shows, mouse capture and the cursor.
#ifndef DAVODU_HOST_OBJECTS_VIEW_H_
#define DAVODU_HOST_OBJECTS_VIEW_H_

namespace davodu {

class CZuMapFile;

// Mouse flags passed with mouse events: the buttons held and the modifier
// keys down at the event.
constexpr unsigned MK_LBUTTON = 0x0001;
constexpr unsigned MK_RBUTTON = 0x0002;
constexpr unsigned MK_SHIFT = 0x0004;
constexpr unsigned MK_CONTROL = 0x0008;
constexpr unsigned MK_MBUTTON = 0x0010;

// Standard cursors.
enum CursorId : int {
  IDC_ARROW = 0,
  IDC_SIZEALL = 1,  // four-way arrow
  IDC_SIZEWE = 2,   // west-east arrow
  IDC_SIZENS = 3,   // north-south arrow
  IDC_CROSS = 4,
  IDC_DROP = 7596,  // a content can be dropped here
};

class CView {
 public:
  explicit CView(CZuMapFile* document = nullptr) : document_(document) {}
  virtual ~CView() = default;

  CZuMapFile* GetDocument() const { return document_; }
  void SetDocument(CZuMapFile* document) { document_ = document; }

  void SetCapture() { captured_ = true; }
  void ReleaseCapture() { captured_ = false; }
  bool HasCapture() const { return captured_; }

  void SetCursor(int cursor) { cursor_ = cursor; }
  int GetCursor() const { return cursor_; }

 private:
  CZuMapFile* document_;
  bool captured_ = false;
  int cursor_ = IDC_ARROW;
};

}  // namespace davodu

#endif  // DAVODU_HOST_OBJECTS_VIEW_H_
