#include "davodu/import/las_import.h"

#include <cmath>
#include <filesystem>
#include <vector>

#include "davodu/host/util/gbk.h"
#include "davodu/host/util/util.h"
#include "davodu/import/las_reader.h"
#include "davodu/store/well_data_manager.h"

namespace davodu {
namespace {

// The first item of the section with one of the mnemonics and a value.
const LasHeaderItem* FindItem(const std::vector<LasHeaderItem>& items,
                              std::initializer_list<const char*> mnemonics) {
  for (const char* m : mnemonics) {
    for (const LasHeaderItem& item : items) {
      if (item.mnemonic == m && !TrimBlanks(item.value).empty()) return &item;
    }
  }
  return nullptr;
}

// A numeric item in metres when its unit is a length ("M", "FT", none);
// kFltMax when absent, not a number, the NULL value or in another unit.
double LengthItem(const LasFile& las, std::initializer_list<const char*> mnemonics) {
  const LasHeaderItem* item = FindItem(las.well_section, mnemonics);
  if (!item) return kFltMax;
  const double v = CZuVariant(item->value).ToDouble();
  if (IsMissing(v) || !std::isfinite(v) || (las.has_null && v == las.null_value)) return kFltMax;
  const double scale = TrimBlanks(item->unit).empty() ? 1.0 : LasIndexUnitToMetres(item->unit);
  return scale > 0 ? v * scale : kFltMax;
}

double NumberItem(const LasFile& las, std::initializer_list<const char*> mnemonics) {
  const LasHeaderItem* item = FindItem(las.well_section, mnemonics);
  if (!item) return kFltMax;
  const double v = CZuVariant(item->value).ToDouble();
  if (IsMissing(v) || !std::isfinite(v) || (las.has_null && v == las.null_value)) return kFltMax;
  return v;
}

std::string TextItem(const LasFile& las, std::initializer_list<const char*> mnemonics) {
  const LasHeaderItem* item = FindItem(las.well_section, mnemonics);
  return item ? Utf8ToGbk(TrimBlanks(item->value)) : std::string();
}

// The well's header fields a LAS well section gives. Elevations are taken
// as the file states them (the reference elevation from EKB, else the drill
// floor EDF, else EREF or ELEV), converted to metres.
WellInfo HeaderOf(const LasFile& las) {
  WellInfo w;
  w.uwi = TextItem(las, {"UWI", "API"});
  w.field = TextItem(las, {"FLD"});
  w.location = TextItem(las, {"LOC"});
  w.x = NumberItem(las, {"X"});
  w.y = NumberItem(las, {"Y"});
  if (!IsMissing(w.x) || !IsMissing(w.y)) w.crs = TextItem(las, {"HZCS"});
  w.kb = LengthItem(las, {"EKB", "EDF", "EREF", "ELEV"});
  w.ground = LengthItem(las, {"EGL", "GL"});
  return w;
}

void AddItems(const char* section, const std::vector<LasHeaderItem>& items, LogRunInfo* run) {
  for (const LasHeaderItem& i : items) {
    run->items.push_back({section, Utf8ToGbk(i.mnemonic), Utf8ToGbk(i.unit), Utf8ToGbk(i.value),
                          Utf8ToGbk(i.description)});
  }
}

}  // namespace

bool ReadLasImport(const std::string& path, const std::string& well_in, LasImport* out, std::string* error) {
  *out = LasImport();
  out->path = path;
  LasFile las;
  LasError las_error;
  if (!ReadLasFile(path, &las, &las_error)) {
    *error = las_error.ToString();
    return false;
  }
  std::string well = well_in;
  if (well.empty()) well = TrimBlanks(las.well_name);
  if (well.empty()) well = std::filesystem::path(path).stem().string();

  LogImport& in = out->log;
  in.well = Utf8ToGbk(well);
  in.header = HeaderOf(las);
  if (las.has_data && !las.curves.empty()) {
    LasCurve& index = las.curves.front();
    const double scale = TrimBlanks(index.unit).empty() ? 1.0 : LasIndexUnitToMetres(index.unit);
    if (scale <= 0) {
      *error = path + ": the index " + index.mnemonic + " is in '" + index.unit +
               "', which is not a length: a depth index is needed (M, FT, .1IN)";
      return false;
    }
    in.depths = std::move(index.values);
    if (scale != 1.0) {
      for (double& d : in.depths) d *= scale;
    }
    for (std::size_t i = 1; i < las.curves.size(); ++i) {
      LasCurve& c = las.curves[i];
      if (c.is_text) continue;
      in.curves.push_back({Utf8ToGbk(c.mnemonic), Utf8ToGbk(c.unit), std::move(c.values)});
      std::vector<double>().swap(c.values);
    }
  }
  in.run.size = las.file_size;
  in.run.hash = las.file_hash;
  in.run.source = Utf8ToGbk(path);
  AddItems("well", las.well_section, &in.run);
  AddItems("parameter", las.parameter_section, &in.run);
  for (const std::string& line : las.other_section) in.run.items.push_back({"other", "", "", "", Utf8ToGbk(line)});
  out->well = well;
  out->header_only = !las.has_data;
  return true;
}

bool StoreLasImport(CWellDataManager& wells, const LasImport& in, LasImportResult* result, std::string* error) {
  LasImportResult ignored;
  if (!result) result = &ignored;
  *result = LasImportResult();
  LogImportResult stored;
  if (!wells.ImportLog(in.log, &stored)) {
    *error = in.path + ": " + wells.GetLastError();
    return false;
  }
  result->well = in.well;
  result->curves = static_cast<int>(in.log.curves.size());
  result->header_only = in.header_only;
  result->already_imported = stored.already_imported;
  result->imported_at = stored.imported_at;
  result->notes = std::move(stored.notes);
  return true;
}

bool ImportLasFile(CWellDataManager& wells, const std::string& path, const std::string& well,
                   LasImportResult* result, std::string* error) {
  LasImport in;
  if (result) *result = LasImportResult();
  return ReadLasImport(path, well, &in, error) && StoreLasImport(wells, in, result, error);
}

}  // namespace davodu
