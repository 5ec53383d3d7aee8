#include "davodu/kits/module.h"

#include <mutex>

#include "davodu/display/wp_curve.h"
#include "davodu/display/wp_depth.h"
#include "davodu/display/wp_param.h"
#include "davodu/display/wp_picture.h"
#include "davodu/display/wp_program.h"
#include "davodu/display/wp_text.h"
#include "davodu/host/objects/host_classes.h"
#include "davodu/host/objects/object_factory.h"
#include "davodu/interval/wp_corelith.h"
#include "davodu/interval/wp_oil_test.h"
#include "davodu/interval/wp_result.h"
#include "davodu/interval/wp_sand.h"
#include "davodu/interval/wp_segment.h"
#include "davodu/interval/wp_shoot.h"
#include "davodu/interval/wp_stratum.h"
#include "davodu/interval/wp_water_entry.h"
#include "davodu/kits/content_kinds.h"
#include "davodu/special/wp_facies.h"
#include "davodu/special/wp_integrated_core.h"
#include "davodu/special/wp_lth_sample.h"
#include "davodu/special/wp_sand_stratum.h"
#include "davodu/special/wp_sidewall_core.h"
#include "davodu/special/wp_symble_cycle.h"
#include "davodu/special/wp_symble_shoot.h"
#include "davodu/special/wp_symble_texture.h"
#include "davodu/well/wp_track.h"
#include "davodu/well/wp_well.h"

namespace davodu {

const std::vector<const CRuntimeClass*>& RegisteredKitClasses() {
  // The order is part of the module's contract with the host.
  static const std::vector<const CRuntimeClass*> kClasses = {
      DAVODU_RUNTIME_CLASS(CWpWell),         DAVODU_RUNTIME_CLASS(CWpTrack),
      DAVODU_RUNTIME_CLASS(CWpDepth),        DAVODU_RUNTIME_CLASS(CWpCurve),
      DAVODU_RUNTIME_CLASS(CWpSegment),      DAVODU_RUNTIME_CLASS(CWpSand),
      DAVODU_RUNTIME_CLASS(CWpFacies),       DAVODU_RUNTIME_CLASS(CWpCorelith),
      DAVODU_RUNTIME_CLASS(CWpPicture),      DAVODU_RUNTIME_CLASS(CWpOilTest),
      DAVODU_RUNTIME_CLASS(CWpText),         DAVODU_RUNTIME_CLASS(CWpParam),
      DAVODU_RUNTIME_CLASS(CWpResult),       DAVODU_RUNTIME_CLASS(CWpLthSample),
      DAVODU_RUNTIME_CLASS(CWpStratum),      DAVODU_RUNTIME_CLASS(CWpSymbleShoot),
      DAVODU_RUNTIME_CLASS(CWpSymbleCycle),  DAVODU_RUNTIME_CLASS(CWpSymbleTexture),
      DAVODU_RUNTIME_CLASS(CWpWaterEntry),   DAVODU_RUNTIME_CLASS(CWpSandStratum),
      DAVODU_RUNTIME_CLASS(CWpProgram),      DAVODU_RUNTIME_CLASS(CWpSidewallCore),
      DAVODU_RUNTIME_CLASS(CWpIntegratedCore),
  };
  return kClasses;
}

int DaVoduAttach() {
  static std::once_flag once;
  std::call_once(once, [] {
    InitContentKindNames();
    AfxInitHostClasses();
    for (const CRuntimeClass* cls : RegisteredKitClasses()) AfxGetObjectFactory()->RegisterClass(cls);
    // The perforation column is made by chart templates (kind
    // "perforation") rather than by the track menus, and read back from
    // the documents that hold it.
    AfxGetObjectFactory()->RegisterClass(DAVODU_RUNTIME_CLASS(CWpShoot));
  });
  return 1;
}

void DaVoduDetach() {}

}  // namespace davodu
