// SQL helpers shared by the well database sources (well_db*.cpp); not for
// other users.
#ifndef DAVODU_STORE_DETAIL_WELL_DB_SQL_H_
#define DAVODU_STORE_DETAIL_WELL_DB_SQL_H_

#include <string>
#include <vector>

#include "davodu/store/detail/sql_db.h"
#include "davodu/store/detail/well_db.h"

namespace davodu::welldb {

// The newest schema: the version a new database is made with and the one
// older databases are upgraded to when opened.
inline constexpr int kSchemaVersion = 6;

// "well_id", "table_id" or null (catalogues).
const char* OwnerColumn(const TableLayout& layout);
// The WHERE condition selecting one table's rows, with ?1 for the owner and
// ?2 for the sub-key; "1 = 1" when the kind has neither. prefix qualifies the
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
// missing numbers become NULL). Throws sql::Error when the value does
// not fit the type ("abc" for a number, "2010-13-01" for a date).
void BindTyped(sql::Stmt& stmt, int i, const CZuVariant& value, ColumnType type);
// Binds a variant as it is, for the columns a table defines itself.
void BindUntyped(sql::Stmt& stmt, int i, const CZuVariant& value);

// The value of a cell of a table's own columns (the *_values tables). SQLite
// keeps its type with the value in one column; PostgreSQL needs a column of
// one type, so there the value is text beside a type code (1 integer,
// 2 number, 3 text; numbers in their shortest exact form).
// The value's column names: "value" or "value, value_type".
const char* AnyColumns(sql::Dialect dialect);
// Binds a value to ?i (and ?i+1 in PostgreSQL); returns the next free index.
int BindAny(sql::Stmt& stmt, int i, const CZuVariant& value, sql::Dialect dialect);
// Reads a value bound by BindAny from column col (and col+1).
CZuVariant ReadAny(const sql::Stmt& stmt, int col, sql::Dialect dialect);
// A double that may be missing: NULL for kFltMax.
void BindNumber(sql::Stmt& stmt, int i, double v);
double ReadNumber(const sql::Stmt& stmt, int col);

// The time now in UTC, as the database records times (2026-01-31T12:00:00Z).
std::string UtcNow();

}  // namespace davodu::welldb

#endif  // DAVODU_STORE_DETAIL_WELL_DB_SQL_H_
