// CWpSymble: The base of the symbol column kits.
#ifndef DAVODU_SPECIAL_WP_SYMBLE_H_
#define DAVODU_SPECIAL_WP_SYMBLE_H_

#include "davodu/interval/wp_segment.h"
#include "davodu/data/observer.h"

namespace davodu {

class CWpSymble : public CWpSegment, public Observer {
  DAVODU_DECLARE_DYNCREATE(CWpSymble)

 public:
  explicit CWpSymble(CZuLayer* layer);

  void Clear() override;
  int GetWpKitType() const override { return WPKIT_SYMBLE; }
  // Re-reads the bound data and redraws.
  void UpdateWithObservee() override;

 protected:
  void Initialize();
};

}  // namespace davodu

#endif  // DAVODU_SPECIAL_WP_SYMBLE_H_
