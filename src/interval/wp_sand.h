// CWpSand: Sand bodies.
// Not built yet: draws only the title and frame every content has, and holds no data.
#ifndef DAVODU_INTERVAL_WP_SAND_H_
#define DAVODU_INTERVAL_WP_SAND_H_

#include "davodu/data/observer.h"
#include "davodu/interval/wp_segment.h"

namespace davodu {

class CWpSand : public CWpSegment, public Observer {
  DAVODU_DECLARE_DYNCREATE(CWpSand)

 public:
  explicit CWpSand(CZuLayer* layer);

  void Clear() override;
  int GetWpKitType() const override { return WPKIT_SAND; }
  // Only asks for a redraw: there is no bound data to read yet.
  void UpdateWithObservee() override;

 protected:
  void Initialize();
  std::string KindLabel() const override;
};

}  // namespace davodu

#endif  // DAVODU_INTERVAL_WP_SAND_H_
