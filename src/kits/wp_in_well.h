// CWpInWell: the base of everything inside a well (tracks and contents).
// It sets the smaller in-well defaults and keeps its client band as tall as
// the tallest child head.
#ifndef DAVODU_KITS_WP_IN_WELL_H_
#define DAVODU_KITS_WP_IN_WELL_H_

#include "davodu/kits/wp_kit.h"

namespace davodu {

class CWpInWell : public CWpKit {
  DAVODU_DECLARE_DYNCREATE(CWpInWell)

 public:
  explicit CWpInWell(CZuLayer* layer);

  CZuObject* HitTest(CPoint point) override;
  int OnRButtonDown(CView* view, CDC* dc, unsigned flags, CPoint point) override;
  int OnCommand(CView* view, CDC* dc, unsigned id, long param) override;
  void Clear() override;
  using CWpKit::ResetClient;
  void ResetClient(CWpKit* child) override;
  int GetWpKitType() const override { return WPKIT_INWELL; }

 protected:
  void Initialize();
};

}  // namespace davodu

#endif  // DAVODU_KITS_WP_IN_WELL_H_
