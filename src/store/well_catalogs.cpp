#include "davodu/store/well_catalogs.h"

#include <algorithm>

#include "davodu/host/util/gbk.h"
#include "davodu/store/detail/well_db.h"

namespace davodu {
namespace {

constexpr COLORREF kWhite = 0xFFFFFF;

COLORREF Color(const CWellTable& t, int row, const char* column) {
  const std::int64_t v = t.GetValue(row, column).ToInt(-1);
  return v < 0 ? kWhite : static_cast<COLORREF>(v);
}

int FindText(const CWellTable& t, const char* column, std::string_view text) {
  const int n = t.GetCount();
  for (int i = 0; i < n; ++i) {
    if (t.GetString(i, column) == text) return i;
  }
  return -1;
}

}  // namespace

// --- CStratumManager

CStratumManager::CStratumManager(std::weak_ptr<WellDb> db)
    : table_(std::move(db), {TableKind::kCatStratum, 0, 0}) {}

std::vector<int> CStratumManager::Rows(int level) const {
  std::vector<int> rows;
  const int n = table_.GetCount();
  for (int i = 0; i < n; ++i) {
    if (level < 0 || table_.GetValue(i, "level").ToInt(-1) == level + 1) rows.push_back(i);
  }
  return rows;
}

int CStratumManager::Row(int level, std::string_view name) const {
  for (int row : Rows(level)) {
    if (table_.GetString(row, "name") == name) return row;
  }
  return -1;
}

int CStratumManager::GetCount(int level) const {
  return level < 0 ? 0 : static_cast<int>(Rows(level).size());
}

std::string CStratumManager::GetName(int level, int i) const {
  const std::vector<int> rows = level < 0 ? std::vector<int>() : Rows(level);
  if (i < 0 || i >= static_cast<int>(rows.size())) return {};
  return table_.GetString(rows[static_cast<std::size_t>(i)], "name");
}

int CStratumManager::Find(int level, std::string_view name) const {
  if (level < 0) return -1;
  const std::vector<int> rows = Rows(level);
  for (std::size_t i = 0; i < rows.size(); ++i) {
    if (table_.GetString(rows[i], "name") == name) return static_cast<int>(i);
  }
  return -1;
}

bool CStratumManager::GetColor(int level, std::string_view name, COLORREF* color) const {
  const int row = Row(level, name);
  *color = row < 0 ? kWhite : Color(table_, row, "color");
  return row >= 0;
}

std::string CStratumManager::GetAlias(int level, std::string_view name) const {
  const int row = Row(level, name);
  return row < 0 ? std::string() : table_.GetString(row, "alias");
}

std::string CStratumManager::GetParent(int level, std::string_view name) const {
  const int row = Row(level, name);
  return row < 0 ? std::string() : table_.GetString(row, "parent");
}

// --- CLithTypeManager

CLithTypeManager::CLithTypeManager(std::weak_ptr<WellDb> db)
    : lith_(db, {TableKind::kCatLith, 0, 0}),
      colors_(db, {TableKind::kCatLithColor, 0, 0}),
      oils_(db, {TableKind::kCatOilGrade, 0, 0}) {}

int CLithTypeManager::GetLithCount() const { return std::max(0, lith_.GetCount()); }
std::string CLithTypeManager::GetLithName(int i) const { return lith_.GetString(i, "name"); }
std::string CLithTypeManager::GetLithFullName(int i) const { return lith_.GetString(i, "full_name"); }
int CLithTypeManager::FindLith(std::string_view name) const { return FindText(lith_, "name", name); }
COLORREF CLithTypeManager::GetLithColor(int i) const { return Color(lith_, i, "color"); }

LithPattern CLithTypeManager::GetLithPattern(int i) const {
  LithPattern p;
  if (i < 0 || i >= lith_.GetCount()) return p;
  p.code = static_cast<unsigned>(std::max<std::int64_t>(0, lith_.GetValue(i, "pattern").ToInt(0)));
  const double size = lith_.GetDouble(i, "size");
  if (!IsMissing(size)) p.size = size;
  return p;
}

int CLithTypeManager::GetColorCount() const { return std::max(0, colors_.GetCount()); }
std::string CLithTypeManager::GetColorName(int i) const { return colors_.GetString(i, "name"); }
std::string CLithTypeManager::GetColorFullName(int i) const {
  return colors_.GetString(i, "full_name");
}
COLORREF CLithTypeManager::GetColorValue(int i) const { return Color(colors_, i, "value"); }
int CLithTypeManager::FindColor(std::string_view name) const {
  return FindText(colors_, "name", name);
}

int CLithTypeManager::GetOilCount() const { return std::max(0, oils_.GetCount()); }
std::string CLithTypeManager::GetOilName(int i) const { return oils_.GetString(i, "name"); }
std::string CLithTypeManager::GetOilFullName(int i) const { return oils_.GetString(i, "full_name"); }
int CLithTypeManager::GetOilSymbol(int i) const {
  return static_cast<int>(oils_.GetValue(i, "symbol").ToInt(0));
}
COLORREF CLithTypeManager::GetOilColor(int i) const { return Color(oils_, i, "color"); }
int CLithTypeManager::FindOil(std::string_view name) const { return FindText(oils_, "name", name); }

std::uint64_t CLithTypeManager::GetTimeStamp() const {
  return std::max({lith_.GetTimeStamp(), colors_.GetTimeStamp(), oils_.GetTimeStamp()});
}

// --- CFaciesTypeManager

CFaciesTypeManager::CFaciesTypeManager(std::weak_ptr<WellDb> db)
    : table_(std::move(db), {TableKind::kCatFacies, 0, 0}) {}

int CFaciesTypeManager::GetCount() const { return std::max(0, table_.GetCount()); }
std::string CFaciesTypeManager::GetName(int i) const { return table_.GetString(i, "name"); }
std::string CFaciesTypeManager::GetCode(int i) const { return table_.GetString(i, "code"); }
int CFaciesTypeManager::GetBrushStyle(int i) const {
  return static_cast<int>(table_.GetValue(i, "brush_style").ToInt(1001));
}
COLORREF CFaciesTypeManager::GetColor(int i) const { return Color(table_, i, "color"); }
int CFaciesTypeManager::FindFaciesTypeByName(std::string_view name) const {
  return FindText(table_, "name", name);
}
int CFaciesTypeManager::FindFaciesTypeByCode(std::string_view code) const {
  return FindText(table_, "code", code);
}

// --- CSymbolManager

CSymbolManager::CSymbolManager(std::weak_ptr<WellDb> db, SymbolSet set)
    : table_(std::move(db), {TableKind::kCatSymbol, 0, set}) {}

int CSymbolManager::GetCount() const { return std::max(0, table_.GetCount()); }
std::string CSymbolManager::GetName(int i) const { return table_.GetString(i, "name"); }
int CSymbolManager::GetCode(int i) const {
  return static_cast<int>(table_.GetValue(i, "code").ToInt(-1));
}
int CSymbolManager::GetStyle(int i) const {
  return static_cast<int>(table_.GetValue(i, "style").ToInt(0));
}
COLORREF CSymbolManager::GetColor(int i) const { return Color(table_, i, "color"); }
double CSymbolManager::GetSize(int i) const {
  const double v = table_.GetDouble(i, "size");
  return IsMissing(v) ? 1.0 : v;
}
int CSymbolManager::FindData(std::string_view name) const { return FindText(table_, "name", name); }
int CSymbolManager::FindCode(std::string_view code) const {
  const int n = table_.GetCount();
  for (int i = 0; i < n; ++i) {
    if (!table_.GetValue(i, "code").IsNull() && table_.GetString(i, "code") == code) return i;
  }
  return -1;
}

// --- CTableDefinitionManager

CTableDefinitionManager::CTableDefinitionManager(std::weak_ptr<WellDb> db)
    : table_(std::move(db), {TableKind::kCatTableDef, 0, 0}) {}

bool CTableDefinitionManager::GetTableDefinition(std::string_view name, TableDefinition* out) const {
  const auto data = table_.GetData();
  if (!data) return false;
  const int table = data->FindColumn("table_name");
  TableDefinition def;
  def.name = std::string(name);
  for (int i = 0; i < data->GetCount(); ++i) {
    if (data->Get(i, table).ToString() != name) continue;
    ColumnDefinition c;
    c.name = data->Get(i, data->FindColumn("column_name")).ToString();
    c.second_name = data->Get(i, data->FindColumn("second_name")).ToString();
    c.type = static_cast<int>(data->Get(i, data->FindColumn("type")).ToInt(2));
    c.listed = data->Get(i, data->FindColumn("listed")).ToInt(1) != 0;
    def.columns.push_back(std::move(c));
  }
  if (def.columns.empty()) return false;
  *out = std::move(def);
  return true;
}

std::vector<std::string> CTableDefinitionManager::GetTableNames() const {
  std::vector<std::string> names;
  const int n = table_.GetCount();
  for (int i = 0; i < n; ++i) {
    std::string name = table_.GetString(i, "table_name");
    if (std::find(names.begin(), names.end(), name) == names.end()) names.push_back(std::move(name));
  }
  return names;
}

}  // namespace davodu
