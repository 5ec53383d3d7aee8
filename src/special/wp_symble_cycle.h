// CWpSymbleCycle: the sedimentary cycles of a well (CWpSymble), each a
// triangle spanning its interval, drawn in the column's segment colour
// (black unless set). Source 2 (the long-term cycles of the well) by
// default; 3 short-term, 4 mid-term, 6 and 7 scattered tables, -1 local.
#ifndef DAVODU_SPECIAL_WP_SYMBLE_CYCLE_H_
#define DAVODU_SPECIAL_WP_SYMBLE_CYCLE_H_

#include "davodu/special/wp_symble.h"

namespace davodu {

class CWpSymbleCycle : public CWpSymble {
  DAVODU_DECLARE_DYNCREATE(CWpSymbleCycle)

 public:
  explicit CWpSymbleCycle(CZuLayer* layer);

  int ReadFromFile(CZuMFile* file) override;
  int SaveToFile(CZuMFile* file) override;
  void Clear() override;
  int GetWpKitType() const override { return WPKIT_SYMBLECYCLE; }

 protected:
  void Initialize();
  std::string KindLabel() const override;
};

}  // namespace davodu

#endif  // DAVODU_SPECIAL_WP_SYMBLE_CYCLE_H_
