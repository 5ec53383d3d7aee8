// CWpResult: Interpretation results per interval.
// Not built yet: draws only the title and frame every content has, and holds no data.
#ifndef DAVODU_INTERVAL_WP_RESULT_H_
#define DAVODU_INTERVAL_WP_RESULT_H_

#include "davodu/data/observer.h"
#include "davodu/kits/wp_content.h"

namespace davodu {

class CWpResult : public CWpContent, public Observer {
  DAVODU_DECLARE_DYNCREATE(CWpResult)

 public:
  explicit CWpResult(CZuLayer* layer);

  void Clear() override;
  int GetWpKitType() const override { return WPKIT_RESULT; }
  // Only asks for a redraw: there is no bound data to read yet.
  void UpdateWithObservee() override;

 protected:
  void Initialize();
  std::string KindLabel() const override;
};

}  // namespace davodu

#endif  // DAVODU_INTERVAL_WP_RESULT_H_
