// CWpResult: Interpretation results per interval.
#ifndef DAVODU_INTERVAL_WP_RESULT_H_
#define DAVODU_INTERVAL_WP_RESULT_H_

#include "davodu/kits/wp_content.h"
#include "davodu/data/observer.h"

namespace davodu {

class CWpResult : public CWpContent, public Observer {
  DAVODU_DECLARE_DYNCREATE(CWpResult)

 public:
  explicit CWpResult(CZuLayer* layer);

  void Clear() override;
  int GetWpKitType() const override { return WPKIT_RESULT; }
  // Re-reads the bound data and redraws.
  void UpdateWithObservee() override;

 protected:
  void Initialize();
  std::string KindLabel() const override;
};

}  // namespace davodu

#endif  // DAVODU_INTERVAL_WP_RESULT_H_
