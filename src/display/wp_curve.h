// CWpCurve: A log curve.
#ifndef DAVODU_DISPLAY_WP_CURVE_H_
#define DAVODU_DISPLAY_WP_CURVE_H_

#include "davodu/kits/wp_content.h"

namespace davodu {

class CWpCurve : public CWpContent {
  DAVODU_DECLARE_DYNCREATE(CWpCurve)

 public:
  explicit CWpCurve(CZuLayer* layer);

  void Clear() override;
  int GetWpKitType() const override { return WPKIT_CURVE; }
  // Distance from a draw point to the drawn curve (draw units × 10); FLT_MAX
  // when the curve has fewer than two draw points or the point is beside it.
  float PtOnCurve(CPoint point) const;

 protected:
  void Initialize();
};

}  // namespace davodu

#endif  // DAVODU_DISPLAY_WP_CURVE_H_
