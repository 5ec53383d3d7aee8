// CWpWaterEntry: Injection and production profiles.
// Not built yet: draws only the title and frame every content has, and holds no data.
#ifndef DAVODU_INTERVAL_WP_WATER_ENTRY_H_
#define DAVODU_INTERVAL_WP_WATER_ENTRY_H_

#include "davodu/data/observer.h"
#include "davodu/kits/wp_content.h"

namespace davodu {

class CWpWaterEntry : public CWpContent, public Observer {
  DAVODU_DECLARE_DYNCREATE(CWpWaterEntry)

 public:
  explicit CWpWaterEntry(CZuLayer* layer);

  void Clear() override;
  int GetWpKitType() const override { return WPKIT_WATERENTRY; }
  // Only asks for a redraw: there is no bound data to read yet.
  void UpdateWithObservee() override;

 protected:
  void Initialize();
};

}  // namespace davodu

#endif  // DAVODU_INTERVAL_WP_WATER_ENTRY_H_
