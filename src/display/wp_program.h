// CWpProgram: A programmable drawing, one program run per table record.
#ifndef DAVODU_DISPLAY_WP_PROGRAM_H_
#define DAVODU_DISPLAY_WP_PROGRAM_H_

#include "davodu/kits/wp_content.h"
#include "davodu/data/observer.h"

namespace davodu {

class CWpProgram : public CWpContent, public Observer {
  DAVODU_DECLARE_DYNCREATE(CWpProgram)

 public:
  explicit CWpProgram(CZuLayer* layer);

  void Clear() override;
  int GetWpKitType() const override { return WPKIT_PROGRAM; }
  // Re-reads the bound data and redraws.
  void UpdateWithObservee() override;

 protected:
  void Initialize();
  // The item that edits the program.
  void AddOwnMenu(CZuMapFile* file) override;
};

}  // namespace davodu

#endif  // DAVODU_DISPLAY_WP_PROGRAM_H_
