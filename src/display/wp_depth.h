// CWpDepth: The depth scale column.
#ifndef DAVODU_DISPLAY_WP_DEPTH_H_
#define DAVODU_DISPLAY_WP_DEPTH_H_

#include "davodu/kits/wp_content.h"

namespace davodu {

class CWpDepth : public CWpContent {
  DAVODU_DECLARE_DYNCREATE(CWpDepth)

 public:
  explicit CWpDepth(CZuLayer* layer);

  void Clear() override;
  int GetWpKitType() const override { return WPKIT_DEPTH; }

 protected:
  void Initialize();
};

}  // namespace davodu

#endif  // DAVODU_DISPLAY_WP_DEPTH_H_
