#include "davodu/import/las_import.h"

#include <filesystem>
#include <vector>

#include "davodu/host/util/gbk.h"
#include "davodu/host/util/util.h"
#include "davodu/import/las_reader.h"
#include "davodu/store/well_data_manager.h"

namespace davodu {

bool ImportLasFile(CWellDataManager& wells, const std::string& path, const std::string& well_in,
                   std::string* imported_well, std::string* error) {
  LasFile las;
  LasError las_error;
  if (!ReadLasFile(path, &las, &las_error)) {
    *error = las_error.ToString();
    return false;
  }
  std::string well = well_in;
  if (well.empty()) well = TrimBlanks(las.well_name);
  if (well.empty()) well = std::filesystem::path(path).stem().string();
  if (las.curves.empty()) {
    *error = path + ": no curves";
    return false;
  }
  const std::string& unit = las.index_unit();
  const double scale = TrimBlanks(unit).empty() ? 1.0 : LasIndexUnitToMetres(unit);
  if (scale <= 0) {
    *error = path + ": the depth index unit '" + unit + "' is not a length";
    return false;
  }
  std::vector<double> depths = las.curves.front().values;
  for (double& d : depths) d *= scale;
  std::vector<CurveImport> curves;
  for (std::size_t i = 1; i < las.curves.size(); ++i) {
    const LasCurve& c = las.curves[i];
    if (c.is_text) continue;
    curves.push_back({Utf8ToGbk(c.mnemonic), Utf8ToGbk(c.unit), depths, c.values});
  }
  if (!wells.ImportCurves(Utf8ToGbk(well), curves, true)) {
    *error = path + ": " + wells.GetLastError();
    return false;
  }
  if (imported_well) *imported_well = well;
  return true;
}

}  // namespace davodu
