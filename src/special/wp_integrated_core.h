// CWpIntegratedCore: Coring summary: core runs with recovery.
#ifndef DAVODU_SPECIAL_WP_INTEGRATED_CORE_H_
#define DAVODU_SPECIAL_WP_INTEGRATED_CORE_H_

#include "davodu/interval/wp_segment.h"
#include "davodu/data/observer.h"

namespace davodu {

class CWpIntegratedCore : public CWpSegment, public Observer {
  DAVODU_DECLARE_DYNCREATE(CWpIntegratedCore)

 public:
  explicit CWpIntegratedCore(CZuLayer* layer);

  void Clear() override;
  // Re-reads the bound data and redraws.
  void UpdateWithObservee() override;

 protected:
  void Initialize();
};

}  // namespace davodu

#endif  // DAVODU_SPECIAL_WP_INTEGRATED_CORE_H_
