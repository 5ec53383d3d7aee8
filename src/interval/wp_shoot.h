// CWpShoot: Perforation intervals.
// Not built yet: draws only the title and frame every content has, and holds no data.
#ifndef DAVODU_INTERVAL_WP_SHOOT_H_
#define DAVODU_INTERVAL_WP_SHOOT_H_

#include "davodu/data/observer.h"
#include "davodu/interval/wp_segment.h"

namespace davodu {

class CWpShoot : public CWpSegment, public Observer {
  DAVODU_DECLARE_DYNCREATE(CWpShoot)

 public:
  explicit CWpShoot(CZuLayer* layer);

  void Clear() override;
  int GetWpKitType() const override { return WPKIT_SHOOT; }
  // Only asks for a redraw: there is no bound data to read yet.
  void UpdateWithObservee() override;

 protected:
  void Initialize();
};

}  // namespace davodu

#endif  // DAVODU_INTERVAL_WP_SHOOT_H_
