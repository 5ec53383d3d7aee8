// CWpCorelith: A lithology column.
// Not built yet: draws only the title and frame every content has, and holds no data.
#ifndef DAVODU_INTERVAL_WP_CORELITH_H_
#define DAVODU_INTERVAL_WP_CORELITH_H_

#include "davodu/data/observer.h"
#include "davodu/interval/wp_segment.h"

namespace davodu {

class CWpCorelith : public CWpSegment, public Observer {
  DAVODU_DECLARE_DYNCREATE(CWpCorelith)

 public:
  explicit CWpCorelith(CZuLayer* layer);

  void Clear() override;
  int GetWpKitType() const override { return WPKIT_CORELITH; }
  // Only asks for a redraw: there is no bound data to read yet.
  void UpdateWithObservee() override;

 protected:
  void Initialize();
  std::string KindLabel() const override;
};

}  // namespace davodu

#endif  // DAVODU_INTERVAL_WP_CORELITH_H_
