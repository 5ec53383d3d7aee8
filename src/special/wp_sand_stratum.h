// CWpSandStratum: Interpretation tables of sand layers.
// Not built yet: draws only the title and frame every content has, and holds no data.
#ifndef DAVODU_SPECIAL_WP_SAND_STRATUM_H_
#define DAVODU_SPECIAL_WP_SAND_STRATUM_H_

#include "davodu/data/observer.h"
#include "davodu/interval/wp_segment.h"

namespace davodu {

class CWpSandStratum : public CWpSegment, public Observer {
  DAVODU_DECLARE_DYNCREATE(CWpSandStratum)

 public:
  explicit CWpSandStratum(CZuLayer* layer);

  void Clear() override;
  int GetWpKitType() const override { return WPKIT_SANDSTRATUM; }
  // Only asks for a redraw: there is no bound data to read yet.
  void UpdateWithObservee() override;

 protected:
  void Initialize();
};

}  // namespace davodu

#endif  // DAVODU_SPECIAL_WP_SAND_STRATUM_H_
