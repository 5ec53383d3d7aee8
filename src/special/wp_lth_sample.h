// CWpLthSample: Rock samples of cored intervals.
// Not built yet: draws only the title and frame every content has, and holds no data.
#ifndef DAVODU_SPECIAL_WP_LTH_SAMPLE_H_
#define DAVODU_SPECIAL_WP_LTH_SAMPLE_H_

#include "davodu/data/observer.h"
#include "davodu/interval/wp_segment.h"

namespace davodu {

class CWpLthSample : public CWpSegment, public Observer {
  DAVODU_DECLARE_DYNCREATE(CWpLthSample)

 public:
  explicit CWpLthSample(CZuLayer* layer);

  void Clear() override;
  int GetWpKitType() const override { return WPKIT_LTHSAMPLE; }
  // Only asks for a redraw: there is no bound data to read yet.
  void UpdateWithObservee() override;

 protected:
  void Initialize();
};

}  // namespace davodu

#endif  // DAVODU_SPECIAL_WP_LTH_SAMPLE_H_
