// CWpSidewallCore: Sidewall core samples.
// Not built yet: draws only the title and frame every content has, and holds no data.
#ifndef DAVODU_SPECIAL_WP_SIDEWALL_CORE_H_
#define DAVODU_SPECIAL_WP_SIDEWALL_CORE_H_

#include "davodu/data/observer.h"
#include "davodu/kits/wp_content.h"

namespace davodu {

class CWpSidewallCore : public CWpContent, public Observer {
  DAVODU_DECLARE_DYNCREATE(CWpSidewallCore)

 public:
  explicit CWpSidewallCore(CZuLayer* layer);

  void Clear() override;
  // Only asks for a redraw: there is no bound data to read yet.
  void UpdateWithObservee() override;

 protected:
  void Initialize();
};

}  // namespace davodu

#endif  // DAVODU_SPECIAL_WP_SIDEWALL_CORE_H_
