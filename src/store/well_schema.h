// The kinds of table the well database holds and their columns: one
// registry from which the SQL schema, the table definitions catalogue, the
// record access by column name and the CSV import all derive.
//
// Column and table names are given in UTF-8 (the database's encoding); the
// module's API converts them to GBK where it hands them out.
#ifndef DAVODU_STORE_WELL_SCHEMA_H_
#define DAVODU_STORE_WELL_SCHEMA_H_

#include <string>
#include <string_view>
#include <vector>

namespace davodu {

enum class ColumnType { kReal, kInt, kText, kDate };

struct ColumnDef {
  const char* sql;      // SQL column name, also the English import name
  const char* name;     // host column name, the Chinese import name
  const char* aliases;  // further accepted import names, '|' separated
  ColumnType type;
  bool required;        // must be present in an import and not NULL
};

enum class TableKind {
  // Per-well tables; a sub-key selects one of several tables of a kind.
  kStratum,         // stratification boundaries, sub = level 1..5
  kFineStratum,     // stratification data (small layers), sub = level 1..5
  kSand,            // sand data
  kInterStratum,    // interlayers
  kLithology,
  kShoot,           // perforations
  kTest,            // oil tests
  kCore,            // core analysis
  kPointData,       // point data, sub = 1..3
  kSegmentData,     // segment data, sub = 1..3
  kGass,            // gas logging
  kSuction,         // injection profiles
  kProductFluid,    // production profiles
  kSideWallCore,
  kIntegratedCore,  // coring summary
  kFaultPoint,
  kCycle,           // sub = 1 long-term, 2 mid-term, 3 short-term
  kTexture,         // bedding textures
  kDeviation,       // deviation survey; written through SetDeviation only
  // Catalogues, shared by all wells.
  kCatStratum,      // stratum names with colours, aliases and parents per level
  kCatLith,         // lithology types
  kCatLithColor,    // lithology colours
  kCatOilGrade,     // oil-bearing grades
  kCatFacies,       // facies types
  kCatSymbol,       // symbol sets, sub = SymbolSet
  kCatTableDef,     // table definitions
  kCatStyle,        // style templates: a value of a field to a style, per template name
  // Scattered multi-column point tables, sub = the table's id.
  kScatter,
  // Not stored as generic rows: the well position table (wells) and the
  // log curve set of a well (curves), listed for names, stamps and import.
  kWellHeader,
  kWellLog,
};

// Who owns the rows of a kind: a well, nobody (catalogues), a scattered
// table; kNone marks the kinds that are not generic rows.
enum class TableOwner { kWell, kGlobal, kScatter, kNone };

// Symbol sets of the kCatSymbol catalogue.
enum SymbolSet { kSymbolShoot = 1, kSymbolCycle, kSymbolTexture, kSymbolOil, kSymbolInundation };

struct TableLayout {
  TableKind kind;
  const char* id;          // command-line name; with a sub-key the sub is appended ("stratum2")
  const char* sql;         // SQL table of the rows
  const char* name;        // host table name (for sub-keyed kinds see TableName)
  TableOwner owner;
  const char* sub_column;  // SQL column of the sub-key, or null
  int sub_count;           // sub-keys 1..sub_count; 0 without sub-key
  bool user_columns;       // rows also carry named values of columns defined per table
  std::vector<ColumnDef> columns;
};

const TableLayout& GetTableLayout(TableKind kind);
// Every kind in TableKind order.
const std::vector<TableLayout>& AllTableLayouts();

// The host table name, UTF-8: "一级分层界限数据", "岩性数据", "段数据2", "长期旋回".
std::string TableName(TableKind kind, int sub);
// The command-line name: "stratum1", "lithology", "segment2", "cycle_long".
std::string TableId(TableKind kind, int sub);
// Reads a table given by its command-line name or host name (with or without
// the data set prefix "分层界限." / "分层数据." / "旋回."); false when unknown.
// Scattered tables are named "scatter" (sub 0).
bool ParseTableName(std::string_view utf8, TableKind* kind, int* sub);

// Index of the column of a header name, or -1. Names compare without ASCII
// case and blanks, and a trailing unit in brackets is ignored ("顶深[m]",
// "TOP (m)").
int FindColumn(const TableLayout& layout, std::string_view header_utf8);
// The header name without blanks and a trailing bracketed unit, lower-case.
std::string NormaliseHeader(std::string_view header_utf8);

}  // namespace davodu

#endif  // DAVODU_STORE_WELL_SCHEMA_H_
