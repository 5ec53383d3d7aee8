#include "davodu/store/detail/well_db_sql.h"

#include <sqlite3.h>

#include <algorithm>
#include <bit>
#include <cmath>
#include <cstring>

#include "davodu/host/util/gbk.h"

namespace davodu::welldb {

const char* OwnerColumn(const TableLayout& layout) {
  switch (layout.owner) {
    case TableOwner::kWell:
      return "well_id";
    case TableOwner::kScatter:
      return "table_id";
    default:
      return nullptr;
  }
}

std::string KeyClause(const TableLayout& layout, const char* prefix) {
  std::string clause;
  if (const char* owner = OwnerColumn(layout)) clause = std::string(prefix) + owner + " = ?1";
  if (layout.sub_column) {
    if (!clause.empty()) clause += " AND ";
    clause += std::string(prefix) + layout.sub_column + " = ?2";
  }
  return clause.empty() ? "1" : clause;
}

void BindKey(sql::Stmt& stmt, const TableLayout& layout, const TableKey& key) {
  if (OwnerColumn(layout)) stmt.Bind(1, key.owner);
  if (layout.sub_column) stmt.Bind(2, key.sub);
}

const std::string& WellStampKinds() {
  static const std::string kinds = [] {
    std::string s;
    for (const TableLayout& layout : AllTableLayouts()) {
      if (layout.owner != TableOwner::kWell && layout.kind != TableKind::kWellLog) continue;
      if (!s.empty()) s += ",";
      s += std::string("'") + layout.id + "'";
    }
    return s;
  }();
  return kinds;
}

bool KindOfStampText(const std::string& text, TableKind* kind) {
  for (const TableLayout& layout : AllTableLayouts()) {
    if (text == layout.id) {
      *kind = layout.kind;
      return true;
    }
  }
  return false;
}

CZuVariant ReadCell(const sql::Stmt& stmt, int col) {
  switch (stmt.Type(col)) {
    case SQLITE_INTEGER:
      return CZuVariant(stmt.Int(col));
    case SQLITE_FLOAT:
      return CZuVariant(stmt.Real(col));
    case SQLITE_TEXT:
      return CZuVariant(Utf8ToGbk(stmt.Text(col)));
    default:
      return CZuVariant();
  }
}

void BindTyped(sql::Stmt& stmt, int i, const CZuVariant& value, ColumnType type) {
  if (value.IsNull()) {
    stmt.BindNull(i);
    return;
  }
  switch (type) {
    case ColumnType::kReal:
    case ColumnType::kInt: {
      const double v = value.ToDouble();
      if (IsMissing(v)) {
        const bool blank = value.GetType() == CZuVariant::kText &&
                           value.ToString().find_first_not_of(" \t") == std::string::npos;
        if (value.GetType() == CZuVariant::kText && !blank)
          throw sql::SqliteError("not a number: '" + GbkToUtf8(value.ToString()) + "'");
        stmt.BindNull(i);
      } else if (!std::isfinite(v)) {
        stmt.BindNull(i);
      } else if (type == ColumnType::kInt) {
        if (v != std::floor(v) || std::fabs(v) > 9e15)
          throw sql::SqliteError("not a whole number: '" + GbkToUtf8(value.ToString()) + "'");
        stmt.Bind(i, static_cast<std::int64_t>(v));
      } else {
        stmt.Bind(i, v);
      }
      return;
    }
    case ColumnType::kDate: {
      const std::string text = GbkToUtf8(value.ToString());
      if (text.find_first_not_of(" \t") == std::string::npos) {
        stmt.BindNull(i);
        return;
      }
      std::string date;
      if (!NormaliseDate(text, &date)) throw sql::SqliteError("not a date: '" + text + "'");
      stmt.Bind(i, date);
      return;
    }
    case ColumnType::kText:
      stmt.Bind(i, GbkToUtf8(value.ToString()));
      return;
  }
}

void BindUntyped(sql::Stmt& stmt, int i, const CZuVariant& value) {
  switch (value.GetType()) {
    case CZuVariant::kNull:
      stmt.BindNull(i);
      return;
    case CZuVariant::kInt:
      stmt.Bind(i, value.ToInt());
      return;
    case CZuVariant::kDouble:
      BindNumber(stmt, i, value.ToDouble());
      return;
    case CZuVariant::kText:
      stmt.Bind(i, GbkToUtf8(value.ToString()));
      return;
  }
}

void BindNumber(sql::Stmt& stmt, int i, double v) {
  if (IsMissing(v) || !std::isfinite(v)) {
    stmt.BindNull(i);
  } else {
    stmt.Bind(i, v);
  }
}

double ReadNumber(const sql::Stmt& stmt, int col) {
  return stmt.IsNull(col) ? kFltMax : stmt.Real(col);
}

std::string EncodeDoubles(const std::vector<double>& v) {
  std::string out(v.size() * 8, '\0');
  if (!v.empty()) std::memcpy(out.data(), v.data(), out.size());
  if constexpr (std::endian::native == std::endian::big) {
    for (std::size_t i = 0; i < out.size(); i += 8) std::reverse(&out[i], &out[i] + 8);
  }
  return out;
}

std::vector<double> DecodeDoubles(const void* data, std::size_t size) {
  std::vector<double> v(size / 8);
  if (!v.empty()) std::memcpy(v.data(), data, v.size() * 8);
  if constexpr (std::endian::native == std::endian::big) {
    auto* bytes = reinterpret_cast<char*>(v.data());
    for (std::size_t i = 0; i < v.size() * 8; i += 8) std::reverse(bytes + i, bytes + i + 8);
  }
  return v;
}

}  // namespace davodu::welldb
