// SQL helpers shared by the well database sources (well_db*.cpp); not for
// other users.
#ifndef DAVODU_STORE_DETAIL_WELL_DB_SQL_H_
#define DAVODU_STORE_DETAIL_WELL_DB_SQL_H_

#include <string>
#include <vector>

#include "davodu/store/detail/sqlite_db.h"
#include "davodu/store/detail/well_db.h"

namespace davodu::welldb {

// The version written to meta.schema_version.
inline constexpr int kSchemaVersion = 3;

// "well_id", "table_id" or null (catalogues).
const char* OwnerColumn(const TableLayout& layout);
// The WHERE condition selecting one table's rows, with ?1 for the owner and
// ?2 for the sub-key; "1" when the kind has neither. prefix qualifies the
// columns ("r.").
std::string KeyClause(const TableLayout& layout, const char* prefix = "");
// Binds ?1 and ?2 of KeyClause.
void BindKey(sql::Stmt& stmt, const TableLayout& layout, const TableKey& key);

// The quoted kinds of the stamps a well owns: "'stratum','sand',...,'log'".
const std::string& WellStampKinds();
// The kind of a stamp's kind text; false when unknown.
bool KindOfStampText(const std::string& text, TableKind* kind);

// A cell as a variant (texts converted to GBK).
CZuVariant ReadCell(const sql::Stmt& stmt, int col);
// Binds a variant to a column of a type (GBK texts converted to UTF-8;
// missing numbers become NULL). Throws sql::SqliteError when the value does
// not fit the type ("abc" for a number, "2010-13-01" for a date).
void BindTyped(sql::Stmt& stmt, int i, const CZuVariant& value, ColumnType type);
// Binds a variant as it is, for the columns a table defines itself.
void BindUntyped(sql::Stmt& stmt, int i, const CZuVariant& value);
// A double that may be missing: NULL for kFltMax.
void BindNumber(sql::Stmt& stmt, int i, double v);
double ReadNumber(const sql::Stmt& stmt, int col);

// Little-endian doubles.
std::string EncodeDoubles(const std::vector<double>& v);
std::vector<double> DecodeDoubles(const void* data, std::size_t size);

}  // namespace davodu::welldb

#endif  // DAVODU_STORE_DETAIL_WELL_DB_SQL_H_
