// CWpLthSample: Rock samples of cored intervals.
#ifndef DAVODU_SPECIAL_WP_LTH_SAMPLE_H_
#define DAVODU_SPECIAL_WP_LTH_SAMPLE_H_

#include "davodu/interval/wp_segment.h"
#include "davodu/data/observer.h"

namespace davodu {

class CWpLthSample : public CWpSegment, public Observer {
  DAVODU_DECLARE_DYNCREATE(CWpLthSample)

 public:
  explicit CWpLthSample(CZuLayer* layer);

  void Clear() override;
  int GetWpKitType() const override { return WPKIT_LTHSAMPLE; }
  // Re-reads the bound data and redraws.
  void UpdateWithObservee() override;

 protected:
  void Initialize();
};

}  // namespace davodu

#endif  // DAVODU_SPECIAL_WP_LTH_SAMPLE_H_
