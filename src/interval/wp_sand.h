// CWpSand: Sand bodies.
#ifndef DAVODU_INTERVAL_WP_SAND_H_
#define DAVODU_INTERVAL_WP_SAND_H_

#include "davodu/interval/wp_segment.h"
#include "davodu/data/observer.h"

namespace davodu {

class CWpSand : public CWpSegment, public Observer {
  DAVODU_DECLARE_DYNCREATE(CWpSand)

 public:
  explicit CWpSand(CZuLayer* layer);

  void Clear() override;
  int GetWpKitType() const override { return WPKIT_SAND; }
  // Re-reads the bound data and redraws.
  void UpdateWithObservee() override;

 protected:
  void Initialize();
  std::string KindLabel() const override;
};

}  // namespace davodu

#endif  // DAVODU_INTERVAL_WP_SAND_H_
