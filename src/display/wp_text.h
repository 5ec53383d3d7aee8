// CWpText: Text blocks placed in a track.
// Not built yet: draws only the title and frame every content has, and holds no data.
#ifndef DAVODU_DISPLAY_WP_TEXT_H_
#define DAVODU_DISPLAY_WP_TEXT_H_

#include "davodu/kits/wp_content.h"

namespace davodu {

class CWpText : public CWpContent {
  DAVODU_DECLARE_DYNCREATE(CWpText)

 public:
  explicit CWpText(CZuLayer* layer);

  void Clear() override;
  int GetWpKitType() const override { return WPKIT_TEXT; }

 protected:
  void Initialize();
  std::string KindLabel() const override;
};

}  // namespace davodu

#endif  // DAVODU_DISPLAY_WP_TEXT_H_
