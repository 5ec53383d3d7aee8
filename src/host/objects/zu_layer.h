// CZuLayer: a layer of a map. It owns its root objects and keeps the
// selection.
#ifndef DAVODU_HOST_OBJECTS_ZU_LAYER_H_
#define DAVODU_HOST_OBJECTS_ZU_LAYER_H_

#include <string>
#include <vector>

namespace davodu {

class CZuMap;
class CZuMapFile;
class CZuObject;

class CZuLayer {
 public:
  explicit CZuLayer(CZuMap* map = nullptr, std::string name = "");
  // Deletes the root objects through the object factory.
  ~CZuLayer();
  CZuLayer(const CZuLayer&) = delete;
  CZuLayer& operator=(const CZuLayer&) = delete;

  CZuMap* GetMap() const { return map_; }
  CZuMapFile* GetMapFile() const;
  const std::string& GetName() const { return name_; }
  void SetName(std::string name) { name_ = std::move(name); }

  // The map's zoom factor (1 without a map).
  double GetZoomFactor() const;

  // Root objects. AddObject takes ownership and gives the object this layer;
  // adding an object twice, or null, does nothing.
  void AddObject(CZuObject* object);
  // Unlinks without deleting; returns false when the object is not here.
  bool RemoveObject(CZuObject* object);
  // Unlinks and deletes through the object factory.
  void DeleteObject(CZuObject* object);
  void DeleteAllObjects();
  const std::vector<CZuObject*>& GetObjectList() const { return objects_; }

  // Selection: objects of this layer, or kits inside them, that the view
  // shows selected. Hit tests give the selected kits' handles precedence.
  void SetSelectedObject(CZuObject* object);
  void RemoveSelectedObject(CZuObject* object);
  void ClearSelection();
  bool IsSelected(const CZuObject* object) const;
  const std::vector<CZuObject*>& GetSelectedObjects() const { return selected_; }

 private:
  CZuMap* map_;
  std::string name_;
  std::vector<CZuObject*> objects_;
  std::vector<CZuObject*> selected_;
};

}  // namespace davodu

#endif  // DAVODU_HOST_OBJECTS_ZU_LAYER_H_
