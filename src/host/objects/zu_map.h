// CZuMap: a map of a document, with its zoom factor, its layers and the
// coordinate translator between map and draw coordinates.
#ifndef DAVODU_HOST_OBJECTS_ZU_MAP_H_
#define DAVODU_HOST_OBJECTS_ZU_MAP_H_

#include <memory>
#include <string>
#include <vector>

#include "davodu/host/util/types.h"

namespace davodu {

class CZuLayer;
class CZuMapFile;

// Converts between map coordinates (doubles, 0.01 mm a unit) and draw
// coordinates (ints). Both Y axes grow upwards:
//   draw = round((map - origin) × zoom).
// Results are clamped to ±kDrawLimit so that a huge or missing value
// (FLT_MAX) can never overflow an int, nor can the sum or the difference of
// two draw coordinates (a midpoint, a width).
class CCoordTranslator {
 public:
  static constexpr int kDrawLimit = (1 << 30) - 1;

  CCoordTranslator() = default;
  CCoordTranslator(FLOATPOINT origin, double zoom) { Set(origin, zoom); }
  // A zoom of 0 or less, or not finite, is taken as 1.
  void Set(FLOATPOINT origin, double zoom);

  FLOATPOINT origin() const { return origin_; }
  double zoom() const { return zoom_; }

  int MapXToDrawX(double x) const;
  int MapYToDrawY(double y) const;
  double DrawXToMapX(int x) const;
  double DrawYToMapY(int y) const;
  CPoint MapToDraw(FLOATPOINT p) const { return {MapXToDrawX(p.x), MapYToDrawY(p.y)}; }
  FLOATPOINT DrawToMap(CPoint p) const { return {DrawXToMapX(p.x), DrawYToMapY(p.y)}; }
  CRect MapToDraw(const FLOATRECT& r) const;
  FLOATRECT DrawToMap(const CRect& r) const;
  // Lengths (sizes): no origin.
  int MapLengthToDraw(double length) const;
  double DrawLengthToMap(int length) const;
  CRect MapSizeToDraw(const FLOATSIZE& s) const;

 private:
  FLOATPOINT origin_{};
  double zoom_ = 1;
};

class CZuMap {
 public:
  explicit CZuMap(CZuMapFile* document = nullptr);
  ~CZuMap();
  CZuMap(const CZuMap&) = delete;
  CZuMap& operator=(const CZuMap&) = delete;

  CZuMapFile* GetMapFile() const { return document_; }
  void SetMapFile(CZuMapFile* document) { document_ = document; }

  const std::string& GetName() const { return name_; }
  void SetName(std::string name) { name_ = std::move(name); }

  // Draw units per map unit. Changing it keeps the translator's origin.
  double GetZoomFactor() const { return translator_.zoom(); }
  void SetZoomFactor(double zoom) { translator_.Set(translator_.origin(), zoom); }
  // The map point drawn at draw (0, 0).
  void SetOrigin(FLOATPOINT origin) { translator_.Set(origin, translator_.zoom()); }
  const CCoordTranslator& GetTranslator() const { return translator_; }

  // Layers, owned by the map, in drawing order.
  CZuLayer* AddLayer(const std::string& name);
  int GetLayerCount() const { return static_cast<int>(layers_.size()); }
  CZuLayer* GetLayer(int i) const;  // null outside 0..count-1
  void ClearLayers();

  // The union of the map rectangles of every visible object on every layer.
  FLOATRECT GetMapRect() const;
  // The same of their paper rectangles (CZuObject::GetPaperRect): what
  // the map puts on paper.
  FLOATRECT GetPaperRect() const;

 private:
  CZuMapFile* document_;
  std::string name_;
  CCoordTranslator translator_;
  std::vector<std::unique_ptr<CZuLayer>> layers_;
};

}  // namespace davodu

#endif  // DAVODU_HOST_OBJECTS_ZU_MAP_H_
