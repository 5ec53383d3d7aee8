// Chart templates: a JSON text that describes a chart apart from any well
// (depth range, scale, depth type and a row of tracks), and the builder that
// makes the chart of one well from it. docs/templates.md describes the keys.
#ifndef DAVODU_WELL_CHART_TEMPLATE_H_
#define DAVODU_WELL_CHART_TEMPLATE_H_

#include <string>

namespace davodu {

class CZuLayer;

// The content kind (as numbered in content_kinds.h) of an English track kind
// such as "depth", "curve", "lithology" or "stratum"; -1 when unknown.
int ContentKindFromName(const std::string& name);

// Builds the chart of well well_utf8 from the template json_utf8 as a new
// well object of layer, binds its data through CWellDataManager::Instance()
// and lays it out. On failure nothing is added to layer and *error names the
// offending key and value ("tracks[1].curves[0].left: 'x' is not a
// number"); the caller prefixes the template's file name. Files the
// template names (pictures, programs) are read relative to base_dir, the
// template's folder (empty: the working folder); pictures and programs are
// read while the template is, so a chart keeps them.
bool BuildChartFromTemplate(const std::string& json_utf8, const std::string& well_utf8,
                            CZuLayer* layer, std::string* error, const std::string& base_dir = "");

}  // namespace davodu

#endif  // DAVODU_WELL_CHART_TEMPLATE_H_
