// CWpSymbleCycle: A cycle symbol column.
// Not built yet: draws only the title and frame every content has, and holds no data.
#ifndef DAVODU_SPECIAL_WP_SYMBLE_CYCLE_H_
#define DAVODU_SPECIAL_WP_SYMBLE_CYCLE_H_

#include "davodu/special/wp_symble.h"

namespace davodu {

class CWpSymbleCycle : public CWpSymble {
  DAVODU_DECLARE_DYNCREATE(CWpSymbleCycle)

 public:
  explicit CWpSymbleCycle(CZuLayer* layer);

  void Clear() override;
  int GetWpKitType() const override { return WPKIT_SYMBLECYCLE; }

 protected:
  void Initialize();
  std::string KindLabel() const override;
};

}  // namespace davodu

#endif  // DAVODU_SPECIAL_WP_SYMBLE_CYCLE_H_
