// The sub-columns of a sand layer table (CWpSandStratum) and the site's
// presets of them.
//
// A site may keep presets in $DAVODU_HOME/Database/SandStratumOption.json
// (UTF-8):
//
//   {"presets": [
//     {"name": "常规", "fields": [
//       {"field": "层位", "title": "层号"},
//       {"field": "有效厚度", "title": "有效\n厚度", "decimals": 1, "width": 1.2}, ...]}]}
//
// field: a column of the sand table; title: the sub-column's head ("\n"
// breaks it; default the field); decimals: 0 to 6 for a number, -1 (the
// default) for the text as stored; width: the sub-column's share of the
// column (default 1). A new sand layer column takes the first preset (or
// one named by its template); the chart keeps the list it took, so that
// the file changing later changes no chart. A missing file means the
// built-in list; a damaged one too, and it is reported naming the file.
#ifndef DAVODU_SPECIAL_SAND_STRATUM_OPTIONS_H_
#define DAVODU_SPECIAL_SAND_STRATUM_OPTIONS_H_

#include <string>
#include <vector>

namespace davodu {

struct SandStratumField {
  std::string field;  // GBK
  std::string title;  // GBK, lines split at "\n"
  int decimals = -1;
  double width = 1;
  friend bool operator==(const SandStratumField&, const SandStratumField&) = default;
};

struct SandStratumPreset {
  std::string name;  // GBK
  std::vector<SandStratumField> fields;
};

// Bounds of a field list, in files, templates and documents alike.
inline constexpr std::size_t kMaxSandStratumFields = 32;
inline constexpr int kMaxSandStratumDecimals = 6;

// Layer, sand and effective thickness, porosity, permeability, oil
// saturation, interpretation and flooding grade.
const std::vector<SandStratumField>& DefaultSandStratumFields();

// $DAVODU_HOME/Database/SandStratumOption.json (AfxGetUserPath).
std::string SandStratumOptionPath();

// The presets of a file. A missing file gives none and true; a file that is
// not such JSON gives none, false and the error (the file, the line where
// known, what is wrong).
bool ReadSandStratumOptions(const std::string& path, std::vector<SandStratumPreset>* presets,
                            std::string* error);

// The fields of the preset of that name (GBK; empty: the first) of the
// site file, else the built-in list. A damaged file is reported through
// the host's message dialog. *found tells whether the preset was found.
std::vector<SandStratumField> SandStratumPresetFields(const std::string& name, bool* found = nullptr);

}  // namespace davodu

#endif  // DAVODU_SPECIAL_SAND_STRATUM_OPTIONS_H_
