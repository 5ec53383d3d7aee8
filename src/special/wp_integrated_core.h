// CWpIntegratedCore: Coring summary: core runs with recovery.
// Not built yet: draws only the title and frame every content has, and holds no data.
#ifndef DAVODU_SPECIAL_WP_INTEGRATED_CORE_H_
#define DAVODU_SPECIAL_WP_INTEGRATED_CORE_H_

#include "davodu/data/observer.h"
#include "davodu/interval/wp_segment.h"

namespace davodu {

class CWpIntegratedCore : public CWpSegment, public Observer {
  DAVODU_DECLARE_DYNCREATE(CWpIntegratedCore)

 public:
  explicit CWpIntegratedCore(CZuLayer* layer);

  void Clear() override;
  // Only asks for a redraw: there is no bound data to read yet.
  void UpdateWithObservee() override;

 protected:
  void Initialize();
};

}  // namespace davodu

#endif  // DAVODU_SPECIAL_WP_INTEGRATED_CORE_H_
