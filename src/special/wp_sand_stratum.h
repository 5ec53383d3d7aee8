// CWpSandStratum: Interpretation tables of sand layers.
#ifndef DAVODU_SPECIAL_WP_SAND_STRATUM_H_
#define DAVODU_SPECIAL_WP_SAND_STRATUM_H_

#include "davodu/interval/wp_segment.h"
#include "davodu/data/observer.h"

namespace davodu {

class CWpSandStratum : public CWpSegment, public Observer {
  DAVODU_DECLARE_DYNCREATE(CWpSandStratum)

 public:
  explicit CWpSandStratum(CZuLayer* layer);

  void Clear() override;
  int GetWpKitType() const override { return WPKIT_SANDSTRATUM; }
  // Re-reads the bound data and redraws.
  void UpdateWithObservee() override;

 protected:
  void Initialize();
};

}  // namespace davodu

#endif  // DAVODU_SPECIAL_WP_SAND_STRATUM_H_
