// CWpFacies: Sedimentary facies intervals.
// Not built yet: draws only the title and frame every content has, and holds no data.
#ifndef DAVODU_SPECIAL_WP_FACIES_H_
#define DAVODU_SPECIAL_WP_FACIES_H_

#include "davodu/data/observer.h"
#include "davodu/interval/wp_segment.h"

namespace davodu {

class CWpFacies : public CWpSegment, public Observer {
  DAVODU_DECLARE_DYNCREATE(CWpFacies)

 public:
  explicit CWpFacies(CZuLayer* layer);

  void Clear() override;
  int GetWpKitType() const override { return WPKIT_FACIES; }
  // Only asks for a redraw: there is no bound data to read yet.
  void UpdateWithObservee() override;

 protected:
  void Initialize();
  std::string KindLabel() const override;
};

}  // namespace davodu

#endif  // DAVODU_SPECIAL_WP_FACIES_H_
