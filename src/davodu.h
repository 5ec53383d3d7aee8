// DaVodu: composite well-log charts. The umbrella header of the installed
// API: the host framework (objects, documents, graphics, dialogs), the well
// database's data manager, importing, the gateway and data interfaces, the
// kits and chart templates. Headers in folders named detail/ and the data
// adapters (data/adapters/) are the library's own and are not installed.
#ifndef DAVODU_DAVODU_H_
#define DAVODU_DAVODU_H_

// The host framework: objects, documents, records, graphics, dialogs, utilities.
#include "davodu/host/dialogs/dialogs.h"
#include "davodu/host/graphics/cairo_dc.h"
#include "davodu/host/graphics/dc.h"
#include "davodu/host/graphics/dib.h"
#include "davodu/host/graphics/graph_tool.h"
#include "davodu/host/graphics/recording_dc.h"
#include "davodu/host/graphics/render.h"
#include "davodu/host/graphics/styles.h"
#include "davodu/host/objects/chart_view.h"
#include "davodu/host/objects/host_classes.h"
#include "davodu/host/objects/object_factory.h"
#include "davodu/host/objects/runtime_class.h"
#include "davodu/host/objects/template_manager.h"
#include "davodu/host/objects/view.h"
#include "davodu/host/objects/zu_layer.h"
#include "davodu/host/objects/zu_map.h"
#include "davodu/host/objects/zu_map_file.h"
#include "davodu/host/objects/zu_object.h"
#include "davodu/host/objects/zu_object_cell.h"
#include "davodu/host/objects/zu_shapes.h"
#include "davodu/host/program/program.h"
#include "davodu/host/records/record_dump.h"
#include "davodu/host/records/record_numbers.h"
#include "davodu/host/records/zu_mfile.h"
#include "davodu/host/util/atomic_file.h"
#include "davodu/host/util/exceptions.h"
#include "davodu/host/util/gbk.h"
#include "davodu/host/util/text_table_writer.h"
#include "davodu/host/util/types.h"
#include "davodu/host/util/util.h"

// The well database and its data manager.
#include "davodu/store/deviation.h"
#include "davodu/store/general_data_manager.h"
#include "davodu/store/well_catalogs.h"
#include "davodu/store/well_data_manager.h"
#include "davodu/store/well_records.h"
#include "davodu/store/well_schema.h"
#include "davodu/store/well_table.h"
#include "davodu/store/zu_variant.h"

// Importing LAS and text tables.
#include "davodu/import/csv_reader.h"
#include "davodu/import/las_import.h"
#include "davodu/import/las_reader.h"

// Well data access: notification, gateway, data interfaces.
#include "davodu/data/data_io.h"
#include "davodu/data/data_set_checker.h"
#include "davodu/data/data_sources.h"
#include "davodu/data/interval_rule.h"
#include "davodu/data/observer.h"
#include "davodu/data/style_templates.h"
#include "davodu/data/wd_mgr.h"

// The kit framework.
#include "davodu/kits/content_kinds.h"
#include "davodu/kits/depth_steps.h"
#include "davodu/kits/head_text.h"
#include "davodu/kits/kit_records.h"
#include "davodu/kits/menu_ids.h"
#include "davodu/kits/module.h"
#include "davodu/kits/oriented_text.h"
#include "davodu/kits/wp_content.h"
#include "davodu/kits/wp_in_well.h"
#include "davodu/kits/wp_kit.h"
#include "davodu/kits/wp_kit_type.h"

// Well, tracks and chart templates.
#include "davodu/well/chart_template.h"
#include "davodu/well/wp_track.h"
#include "davodu/well/wp_track_builder.h"
#include "davodu/well/wp_well.h"
#include "davodu/well/wp_well_scale.h"

// The content kits.
#include "davodu/display/wp_curve.h"
#include "davodu/display/wp_depth.h"
#include "davodu/display/wp_param.h"
#include "davodu/display/wp_picture.h"
#include "davodu/display/wp_program.h"
#include "davodu/display/wp_text.h"
#include "davodu/interval/bound_segment.h"
#include "davodu/interval/interval_export.h"
#include "davodu/interval/wp_corelith.h"
#include "davodu/interval/wp_oil_test.h"
#include "davodu/interval/wp_result.h"
#include "davodu/interval/wp_sand.h"
#include "davodu/interval/wp_segment.h"
#include "davodu/interval/wp_shoot.h"
#include "davodu/interval/wp_stratum.h"
#include "davodu/interval/wp_water_entry.h"
#include "davodu/special/sand_stratum_options.h"
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
