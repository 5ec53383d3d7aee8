// CWpSymble: The base of the symbol column kits.
// Not built yet: adds nothing to a content.
#ifndef DAVODU_SPECIAL_WP_SYMBLE_H_
#define DAVODU_SPECIAL_WP_SYMBLE_H_

#include "davodu/data/observer.h"
#include "davodu/interval/wp_segment.h"

namespace davodu {

class CWpSymble : public CWpSegment, public Observer {
  DAVODU_DECLARE_DYNCREATE(CWpSymble)

 public:
  explicit CWpSymble(CZuLayer* layer);

  void Clear() override;
  int GetWpKitType() const override { return WPKIT_SYMBLE; }
  // Only asks for a redraw: there is no bound data to read yet.
  void UpdateWithObservee() override;

 protected:
  void Initialize();
};

}  // namespace davodu

#endif  // DAVODU_SPECIAL_WP_SYMBLE_H_
