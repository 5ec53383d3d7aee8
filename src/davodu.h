// DaVodu: composite well-log charts. The umbrella header: the host
// framework, the kits and the module entry points.
#ifndef DAVODU_DAVODU_H_
#define DAVODU_DAVODU_H_

#include "davodu/host/cairo_dc.h"
#include "davodu/host/dc.h"
#include "davodu/host/dialogs.h"
#include "davodu/host/exceptions.h"
#include "davodu/host/gbk.h"
#include "davodu/host/graph_tool.h"
#include "davodu/host/object_factory.h"
#include "davodu/host/recording_dc.h"
#include "davodu/host/runtime_class.h"
#include "davodu/host/styles.h"
#include "davodu/host/types.h"
#include "davodu/host/util.h"
#include "davodu/host/view.h"
#include "davodu/host/zu_layer.h"
#include "davodu/host/zu_map.h"
#include "davodu/host/zu_map_file.h"
#include "davodu/host/zu_mfile.h"
#include "davodu/host/zu_object.h"

#include "davodu/data/observer.h"

#include "davodu/kits/content_kinds.h"
#include "davodu/kits/menu_ids.h"
#include "davodu/kits/module.h"
#include "davodu/kits/wp_content.h"
#include "davodu/kits/wp_in_well.h"
#include "davodu/kits/wp_kit.h"
#include "davodu/kits/wp_kit_type.h"

#include "davodu/well/wp_track.h"
#include "davodu/well/wp_well.h"

#include "davodu/display/wp_curve.h"
#include "davodu/display/wp_depth.h"
#include "davodu/display/wp_param.h"
#include "davodu/display/wp_picture.h"
#include "davodu/display/wp_program.h"
#include "davodu/display/wp_text.h"

#include "davodu/interval/wp_corelith.h"
#include "davodu/interval/wp_oil_test.h"
#include "davodu/interval/wp_result.h"
#include "davodu/interval/wp_sand.h"
#include "davodu/interval/wp_segment.h"
#include "davodu/interval/wp_shoot.h"
#include "davodu/interval/wp_stratum.h"
#include "davodu/interval/wp_water_entry.h"

#include "davodu/special/wp_facies.h"
#include "davodu/special/wp_integrated_core.h"
#include "davodu/special/wp_lth_sample.h"
#include "davodu/special/wp_sand_stratum.h"
#include "davodu/special/wp_sidewall_core.h"
#include "davodu/special/wp_symble.h"
#include "davodu/special/wp_symble_cycle.h"
#include "davodu/special/wp_symble_shoot.h"
#include "davodu/special/wp_symble_texture.h"

#endif  // DAVODU_DAVODU_H_
