// CWpSegment: The base of the kits that draw depth intervals.
// Not built yet: adds nothing to a content.
#ifndef DAVODU_INTERVAL_WP_SEGMENT_H_
#define DAVODU_INTERVAL_WP_SEGMENT_H_

#include "davodu/kits/wp_content.h"

namespace davodu {

class CWpSegment : public CWpContent {
  DAVODU_DECLARE_DYNCREATE(CWpSegment)

 public:
  explicit CWpSegment(CZuLayer* layer);

  void Clear() override;
  int GetWpKitType() const override { return WPKIT_SEGMENT; }

 protected:
  void Initialize();
};

}  // namespace davodu

#endif  // DAVODU_INTERVAL_WP_SEGMENT_H_
