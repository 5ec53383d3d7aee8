// CWpProgram: A programmable drawing, one program run per table record.
// Not built yet: draws only the title and frame every content has, and holds no data.
#ifndef DAVODU_DISPLAY_WP_PROGRAM_H_
#define DAVODU_DISPLAY_WP_PROGRAM_H_

#include "davodu/data/observer.h"
#include "davodu/kits/wp_content.h"

namespace davodu {

class CWpProgram : public CWpContent, public Observer {
  DAVODU_DECLARE_DYNCREATE(CWpProgram)

 public:
  explicit CWpProgram(CZuLayer* layer);

  void Clear() override;
  int GetWpKitType() const override { return WPKIT_PROGRAM; }
  // Only asks for a redraw: there is no bound data to read yet.
  void UpdateWithObservee() override;

 protected:
  void Initialize();
  // The edit-program item; its command does nothing yet.
  void AddOwnMenu(CZuMapFile* file) override;
};

}  // namespace davodu

#endif  // DAVODU_DISPLAY_WP_PROGRAM_H_
