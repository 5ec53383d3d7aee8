// CWpParam: A parameter column: table values per interval.
// Not built yet: draws only the title and frame every content has, and holds no data.
#ifndef DAVODU_DISPLAY_WP_PARAM_H_
#define DAVODU_DISPLAY_WP_PARAM_H_

#include "davodu/data/observer.h"
#include "davodu/kits/wp_content.h"

namespace davodu {

class CWpParam : public CWpContent, public Observer {
  DAVODU_DECLARE_DYNCREATE(CWpParam)

 public:
  explicit CWpParam(CZuLayer* layer);

  void Clear() override;
  // Only asks for a redraw: there is no bound data to read yet.
  void UpdateWithObservee() override;

 protected:
  void Initialize();
  std::string KindLabel() const override;
};

}  // namespace davodu

#endif  // DAVODU_DISPLAY_WP_PARAM_H_
