// CWpSymbleShoot: A perforation symbol column.
// Not built yet: draws only the title and frame every content has, and holds no data.
#ifndef DAVODU_SPECIAL_WP_SYMBLE_SHOOT_H_
#define DAVODU_SPECIAL_WP_SYMBLE_SHOOT_H_

#include "davodu/special/wp_symble.h"

namespace davodu {

class CWpSymbleShoot : public CWpSymble {
  DAVODU_DECLARE_DYNCREATE(CWpSymbleShoot)

 public:
  explicit CWpSymbleShoot(CZuLayer* layer);

  void Clear() override;
  int GetWpKitType() const override { return WPKIT_SYMBLESHOOT; }

 protected:
  void Initialize();
  std::string KindLabel() const override;
};

}  // namespace davodu

#endif  // DAVODU_SPECIAL_WP_SYMBLE_SHOOT_H_
