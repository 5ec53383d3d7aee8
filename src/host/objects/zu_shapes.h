// The host's simple drawing objects: polylines, filled polygons, texts,
// point symbols and circles, in map coordinates with host style records.
// Programs (host/program/program.h) create them in a layer; whoever takes
// them over draws, moves and zooms them. They are not stored in documents:
// a program draws them again when its document is read.
#ifndef DAVODU_HOST_OBJECTS_ZU_SHAPES_H_
#define DAVODU_HOST_OBJECTS_ZU_SHAPES_H_

#include <string>
#include <vector>

#include "davodu/host/graphics/styles.h"
#include "davodu/host/objects/zu_object.h"
#include "davodu/host/util/types.h"

namespace davodu {

// The common part: the points (map coordinates) and the map rectangle
// around them.
class CZuShape : public CZuObject {
 public:
  explicit CZuShape(CZuLayer* layer) : CZuObject(layer) {}
  void BuildControlNodePointArray() override;
  void Move(double dx, double dy) override;
  void Amplify(FLOATPOINT centre, double fx, double fy) override;

  const std::vector<FLOATPOINT>& GetPoints() const { return points_; }
  void SetPoints(std::vector<FLOATPOINT> points);

 protected:
  std::vector<CPoint> DrawPoints() const;
  std::vector<FLOATPOINT> points_;
};

// An open polyline (a line, a horizontal or vertical line, a curve).
class CZuObjectLine : public CZuShape {
 public:
  explicit CZuObjectLine(CZuLayer* layer) : CZuShape(layer) { class_name_ = "CZuObjectLine"; }
  void Draw(CDC* dc, CView* view, CRect* clip, CRect* done) override;
  ZULOGPEN pen;
};

// A closed polygon filled with a brush, outlined with a pen when it has one.
class CZuObjectFill : public CZuShape {
 public:
  explicit CZuObjectFill(CZuLayer* layer) : CZuShape(layer) { class_name_ = "CZuObjectFill"; }
  void Draw(CDC* dc, CView* view, CRect* clip, CRect* done) override;
  ZULOGBRUSH brush;
  bool outlined = false;
  ZULOGPEN pen;
};

// A line of text (GBK) at its one point.
class CZuObjectText : public CZuShape {
 public:
  explicit CZuObjectText(CZuLayer* layer) : CZuShape(layer) { class_name_ = "CZuObjectText"; }
  void Draw(CDC* dc, CView* view, CRect* clip, CRect* done) override;
  std::string text;
  ZULOGFONT font;
  double angle = 0;  // radians, counter-clockwise
  int align_h = 0;   // the text tool's codes
  int align_v = 0;
};

// A point symbol at its one point.
class CZuObjectPoint : public CZuShape {
 public:
  explicit CZuObjectPoint(CZuLayer* layer) : CZuShape(layer) { class_name_ = "CZuObjectPoint"; }
  void Draw(CDC* dc, CView* view, CRect* clip, CRect* done) override;
  ZULOGPOINT symbol;
};

// A circle around its one point.
class CZuObjectCircle : public CZuShape {
 public:
  explicit CZuObjectCircle(CZuLayer* layer) : CZuShape(layer) { class_name_ = "CZuObjectCircle"; }
  void Draw(CDC* dc, CView* view, CRect* clip, CRect* done) override;
  void Amplify(FLOATPOINT centre, double fx, double fy) override;
  double radius = 0;  // map units
  ZULOGPEN pen;
  bool filled = false;
  ZULOGBRUSH brush;
};

}  // namespace davodu

#endif  // DAVODU_HOST_OBJECTS_ZU_SHAPES_H_
