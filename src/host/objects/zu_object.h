// CZuObject: the host's drawing object, base of every kit.
//
// A drawing object lives on a layer, has a position (its anchor), a map
// rectangle and a draw rectangle, control nodes, a property manager and
// segments, and answers drawing, mouse, menu and file calls through its
// virtual operations. The order of the virtual operations below is the
// host contract; keep it.
#ifndef DAVODU_HOST_OBJECTS_ZU_OBJECT_H_
#define DAVODU_HOST_OBJECTS_ZU_OBJECT_H_

#include <cstdint>
#include <string>
#include <utility>
#include <vector>

#include "davodu/host/objects/runtime_class.h"
#include "davodu/host/util/types.h"

namespace davodu {

class CDC;
class CView;
class CZuLayer;
class CZuMFile;
class CZuMap;
class CZuMapFile;
class CCoordTranslator;

// Handle codes returned by NodeHitTest.
enum CONTROLNODE : int {
  CN_NONE = 0,
  CN_MOVE = 1,
  CN_LEFT = 2,
  CN_RIGHT = 3,
  CN_TITLE_TOP = 4,
  CN_CLIENT_TOP = 5,
  CN_BODY_MOVE = 23,
};

// Edit modes of a gesture in progress.
enum EditMode : int { EM_NONE = 0, EM_MOVE = 3, EM_RESIZE = 6 };

// Named properties of an object, stored as records 118 (name, value).
class CZuPropertyManager {
 public:
  void Set(const std::string& name, const std::string& value);
  // Empty when not set.
  std::string Get(const std::string& name) const;
  bool Has(const std::string& name) const;
  void Clear() { props_.clear(); }
  int GetCount() const { return static_cast<int>(props_.size()); }
  const std::vector<std::pair<std::string, std::string>>& items() const { return props_; }

  // One 118 record per property.
  void SaveToFile(CZuMFile* file) const;
  // Reads the current record (a 118) as one property.
  bool ReadOneProperty(CZuMFile* file);

 private:
  std::vector<std::pair<std::string, std::string>> props_;
};

// A host segment: a named polyline attached to an object, stored as one
// record 131.
struct CZuSegment {
  std::string name;
  std::vector<FLOATPOINT> points;
  friend bool operator==(const CZuSegment&, const CZuSegment&) = default;
};

class CZuObject {
 public:
  explicit CZuObject(CZuLayer* layer = nullptr);
  CZuObject(const CZuObject&) = delete;
  CZuObject& operator=(const CZuObject&) = delete;

  // --- Run-time class (slots 0 to 4).
  static const CRuntimeClass classCZuObject;
  virtual const CRuntimeClass* GetRuntimeClass() const;
  virtual ~CZuObject();
  bool IsKindOf(const CRuntimeClass* cls) const { return GetRuntimeClass()->IsDerivedFrom(cls); }

  // --- Host object operations (slots 5 onwards, in slot order).
  virtual void SetLayer(CZuLayer* layer);
  virtual CRect GetDrawRect() const { return draw_rect_; }
  virtual FLOATRECT GetMapRect() const { return map_rect_; }
  // The map rectangle of what the object puts on paper, which a rendered
  // page is sized to. The map rectangle by default; an object whose map
  // rectangle also holds bands it leaves undrawn (kept there for picking
  // and moving) gives less.
  virtual FLOATRECT GetPaperRect() const { return GetMapRect(); }
  virtual int GetModifyFlag() const { return modified_; }
  // Draws the object. clip: draw rectangle to draw into (null: all);
  // done: draw rectangle already drawn (null: none).
  virtual void Draw(CDC* dc, CView* view, CRect* clip, CRect* done);
  virtual void DrawSelectedMark(CDC* dc, CView* view);
  virtual void DrawMove(CDC* dc, CView* view, CPoint offset);

  virtual int OnLButtonDown(CView* view, CDC* dc, unsigned flags, CPoint point);
  virtual int OnLButtonUp(CView* view, CDC* dc, unsigned flags, CPoint point);
  virtual int OnMouseMove(CView* view, CDC* dc, unsigned flags, CPoint point);
  virtual int OnLButtonDblClk(CView* view, CDC* dc, unsigned flags, CPoint point);
  virtual int OnRButtonDown(CView* view, CDC* dc, unsigned flags, CPoint point);
  virtual int OnRButtonUp(CView* view, CDC* dc, unsigned flags, CPoint point);
  virtual int OnCommand(CView* view, CDC* dc, unsigned id, long param);
  virtual int OnKeyDown(CView* view, CDC* dc, unsigned key, unsigned flags);
  virtual int OnKeyUp(CView* view, CDC* dc, unsigned key, unsigned flags);
  virtual int OnIdle();

  // The object under a draw point, or null.
  virtual CZuObject* HitTest(CPoint point);
  // Called after a change; hint may carry the changed object.
  virtual void OnChanged(CZuObject* hint);
  // Recomputes the control nodes and rectangles from the position.
  virtual void BuildControlNodePointArray();
  virtual int GetControlNodePointCount() const { return node_count_; }
  virtual int GetControlNodeDrawPointCount() const { return node_count_; }
  virtual const CPoint* GetControlNodeDrawPointArray() const { return nullptr; }
  virtual const FLOATPOINT* GetControlNodeMapPointArray() const { return nullptr; }

  // The anchor (node 0) of the object.
  virtual void SetPosition(FLOATPOINT position);
  virtual void SetPosition(CPoint draw_position);
  virtual FLOATPOINT GetPosition() const { return position_; }
  virtual CPoint GetDrawPosition() const;

  virtual void SetZoomFactor(double zoom) { zoom_ = zoom; }
  // Copies children and attributes into target (an object of the same
  // class); the two-argument form creates the copy on a layer.
  virtual void DuplicateObject(CZuObject* target);
  virtual void DuplicateObject(CZuObject** copy, CZuLayer* layer);
  virtual void DuplicateObjectA(CZuObject* target);
  virtual void DuplicateObjectA(CZuObject** copy, CZuLayer* layer);
  virtual void DuplicateAttribute(CZuObject* target);

  // Scales about a centre by fx horizontally and fy vertically.
  virtual void Amplify(FLOATPOINT centre, double fx, double fy);
  virtual void Rotate(FLOATPOINT centre, double angle);
  virtual void Move(double dx, double dy);

  virtual int ReadFromFile(CZuMFile* file);
  virtual int SaveToFile(CZuMFile* file);
  // Called once every object of the object's layer has been read from a
  // document, so that an object can find the layer objects it manages.
  virtual void OnLayerRead() {}
  virtual int NodeHitTest(CPoint point);
  virtual void Clear();

  virtual bool IfLineStyleUsed(int code) const;
  virtual bool IsDeleteable() const { return true; }

  // --- Fields.
  const std::string& GetClassName() const { return class_name_; }
  const std::string& GetName() const { return name_; }
  void SetName(std::string name) { name_ = std::move(name); }
  const std::string& GetTypeName() const { return type_name_; }
  void SetTypeName(std::string name) { type_name_ = std::move(name); }
  int IsVisible() const { return visible_; }
  void SetVisible(int visible) { visible_ = visible; }
  std::uint64_t GetTimeStamp() const { return time_stamp_; }
  void SetTimeStamp(std::uint64_t stamp) { time_stamp_ = stamp; }
  void SetModifyFlag(int flag = 1) { modified_ = flag; }
  CZuPropertyManager& GetPropertyManager() { return properties_; }
  const CZuPropertyManager& GetPropertyManager() const { return properties_; }
  std::vector<CZuSegment>& GetSegments() { return segments_; }

  CZuLayer* GetLayer() const { return layer_; }
  CZuMap* GetMap() const;
  CZuMapFile* GetMapFile() const;
  // The translator of the layer's map (a unit one without a map).
  const CCoordTranslator& GetTranslator() const;
  double GetZoomFactor() const { return zoom_; }
  bool IsSelected() const;

  int GetEditMode() const { return edit_mode_; }
  void SetEditMode(int mode) { edit_mode_ = mode; }
  int GetSelectedHandle() const { return selected_handle_; }
  void SetSelectedHandle(int handle) { selected_handle_ = handle; }
  CPoint GetPressPoint() const { return press_point_; }
  void SetPressPoint(CPoint p) { press_point_ = p; }
  CPoint GetLastPoint() const { return last_point_; }
  void SetLastPoint(CPoint p) { last_point_ = p; }

  // Reads the current record when it is one of the object's own: name
  // (100), type name (129), visible flag (143), property (118), time stamp
  // (123) or segment (131). Returns 1 when it was, 0 when it is another
  // record, -1 for a segment that cannot be read.
  int ReadObjectRecord(CZuMFile* file);

  // Segments: one record 131 each.
  void SaveSegment(CZuMFile* file) const;
  // Reads the current record (a 131) as one segment; false for a bad record.
  bool ReadSegment(CZuMFile* file);
  void DuplicateSegment(CZuObject* target) const;

 protected:
  std::string class_name_ = "CZuObject";
  std::string name_;
  std::string type_name_;
  int visible_ = 1;
  std::uint64_t time_stamp_ = 0;
  CZuPropertyManager properties_;
  std::vector<CZuSegment> segments_;
  int node_count_ = 0;
  int object_flag_ = 0;
  CRect draw_rect_;
  FLOATRECT map_rect_;
  CZuLayer* layer_ = nullptr;
  double zoom_ = 1;
  FLOATPOINT position_;
  int modified_ = 0;
  int edit_mode_ = EM_NONE;
  int selected_handle_ = CN_NONE;
  CPoint press_point_;
  CPoint last_point_;
};

}  // namespace davodu

#endif  // DAVODU_HOST_OBJECTS_ZU_OBJECT_H_
