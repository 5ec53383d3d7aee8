// CWpFacies: Sedimentary facies intervals.
#ifndef DAVODU_SPECIAL_WP_FACIES_H_
#define DAVODU_SPECIAL_WP_FACIES_H_

#include "davodu/interval/wp_segment.h"
#include "davodu/data/observer.h"

namespace davodu {

class CWpFacies : public CWpSegment, public Observer {
  DAVODU_DECLARE_DYNCREATE(CWpFacies)

 public:
  explicit CWpFacies(CZuLayer* layer);

  void Clear() override;
  int GetWpKitType() const override { return WPKIT_FACIES; }
  // Re-reads the bound data and redraws.
  void UpdateWithObservee() override;

 protected:
  void Initialize();
  std::string KindLabel() const override;
};

}  // namespace davodu

#endif  // DAVODU_SPECIAL_WP_FACIES_H_
