// CWpContent: the base of every content kit of a track (curve, depth scale,
// text, picture and the interval kits). It adds the content pen, the content
// type and the group that places the content in its track's column layout.
#ifndef DAVODU_KITS_WP_CONTENT_H_
#define DAVODU_KITS_WP_CONTENT_H_

#include "davodu/kits/wp_in_well.h"

namespace davodu {

class CWpContent : public CWpInWell {
  DAVODU_DECLARE_DYNCREATE(CWpContent)

 public:
  explicit CWpContent(CZuLayer* layer);

  void Clear() override;
  int GetWpKitType() const override { return WPKIT_CONTENT; }
  void BuildHead() override;

  int GetType() const { return type_; }
  void SetType(int type) { type_ = type; }
  const ZULOGPEN& GetPen() const { return pen_; }
  void SetPen(const ZULOGPEN* pen) {
    if (pen) pen_ = *pen;
  }
  int GetGroup() const { return group_; }
  void SetGroup(int group) { group_ = group; }
  double GetBodyTop() const { return map_nodes_[0].y; }
  double GetBodyBottom() const { return map_nodes_[10].y; }

 protected:
  void Initialize();

  int type_;
  ZULOGPEN pen_;
  int group_;
};

}  // namespace davodu

#endif  // DAVODU_KITS_WP_CONTENT_H_
