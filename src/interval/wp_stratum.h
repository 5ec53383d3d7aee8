// CWpStratum: Stratification at one level.
// Not built yet: draws only the title and frame every content has, and holds no data.
#ifndef DAVODU_INTERVAL_WP_STRATUM_H_
#define DAVODU_INTERVAL_WP_STRATUM_H_

#include "davodu/data/observer.h"
#include "davodu/interval/wp_segment.h"

namespace davodu {

class CWpStratum : public CWpSegment, public Observer {
  DAVODU_DECLARE_DYNCREATE(CWpStratum)

 public:
  explicit CWpStratum(CZuLayer* layer);

  void Clear() override;
  int GetWpKitType() const override { return WPKIT_STRATUM; }
  // Only asks for a redraw: there is no bound data to read yet.
  void UpdateWithObservee() override;

 protected:
  void Initialize();
  std::string KindLabel() const override;
};

}  // namespace davodu

#endif  // DAVODU_INTERVAL_WP_STRATUM_H_
