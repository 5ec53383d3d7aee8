// CWpSymbleTexture: A bedding texture symbol column.
// Not built yet: draws only the title and frame every content has, and holds no data.
#ifndef DAVODU_SPECIAL_WP_SYMBLE_TEXTURE_H_
#define DAVODU_SPECIAL_WP_SYMBLE_TEXTURE_H_

#include "davodu/special/wp_symble.h"

namespace davodu {

class CWpSymbleTexture : public CWpSymble {
  DAVODU_DECLARE_DYNCREATE(CWpSymbleTexture)

 public:
  explicit CWpSymbleTexture(CZuLayer* layer);

  void Clear() override;
  int GetWpKitType() const override { return WPKIT_SYMBLETEXTURE; }

 protected:
  void Initialize();
  std::string KindLabel() const override;
};

}  // namespace davodu

#endif  // DAVODU_SPECIAL_WP_SYMBLE_TEXTURE_H_
