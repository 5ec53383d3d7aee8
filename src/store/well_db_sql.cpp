#include "davodu/store/detail/well_db_sql.h"

#include <algorithm>
#include <bit>
#include <charconv>
#include <cmath>
#include <cstring>
#include <ctime>

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
  return clause.empty() ? "1 = 1" : clause;
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
  switch (stmt.ColumnType(col)) {
    case sql::Type::kInteger:
      return CZuVariant(stmt.Int(col));
    case sql::Type::kReal:
      return CZuVariant(stmt.Real(col));
    case sql::Type::kText:
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
          throw sql::Error("not a number: '" + GbkToUtf8(value.ToString()) + "'");
        stmt.BindNull(i);
      } else if (!std::isfinite(v)) {
        stmt.BindNull(i);
      } else if (type == ColumnType::kInt) {
        if (v != std::floor(v) || std::fabs(v) > 9e15)
          throw sql::Error("not a whole number: '" + GbkToUtf8(value.ToString()) + "'");
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
      if (!NormaliseDate(text, &date)) throw sql::Error("not a date: '" + text + "'");
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

const char* AnyColumns(sql::Dialect dialect) {
  return dialect == sql::Dialect::kSqlite ? "value" : "value, value_type";
}

namespace {
enum AnyType { kAnyInteger = 1, kAnyReal = 2, kAnyText = 3 };
}  // namespace

int BindAny(sql::Stmt& stmt, int i, const CZuVariant& value, sql::Dialect dialect) {
  if (dialect == sql::Dialect::kSqlite) {
    BindUntyped(stmt, i, value);
    return i + 1;
  }
  char buf[64];
  switch (value.GetType()) {
    case CZuVariant::kNull:
      stmt.BindNull(i).BindNull(i + 1);
      break;
    case CZuVariant::kInt:
      stmt.Bind(i, std::to_string(value.ToInt())).Bind(i + 1, kAnyInteger);
      break;
    case CZuVariant::kDouble: {
      const double v = value.ToDouble();
      if (IsMissing(v) || !std::isfinite(v)) {
        stmt.BindNull(i).BindNull(i + 1);
        break;
      }
      const auto end = std::to_chars(buf, buf + sizeof buf, v).ptr;
      stmt.Bind(i, std::string_view(buf, static_cast<std::size_t>(end - buf))).Bind(i + 1, kAnyReal);
      break;
    }
    case CZuVariant::kText:
      stmt.Bind(i, GbkToUtf8(value.ToString())).Bind(i + 1, kAnyText);
      break;
  }
  return i + 2;
}

CZuVariant ReadAny(const sql::Stmt& stmt, int col, sql::Dialect dialect) {
  if (dialect == sql::Dialect::kSqlite || stmt.IsNull(col)) return ReadCell(stmt, col);
  const std::string text = stmt.Text(col);
  switch (stmt.Int(col + 1)) {
    case kAnyInteger: {
      std::int64_t v = 0;
      std::from_chars(text.data(), text.data() + text.size(), v);
      return CZuVariant(v);
    }
    case kAnyReal: {
      double v = 0;
      std::from_chars(text.data(), text.data() + text.size(), v);
      return CZuVariant(v);
    }
    default:
      return CZuVariant(Utf8ToGbk(text));
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

std::string UtcNow() {
  const std::time_t t = std::time(nullptr);
  std::tm tm{};
  gmtime_r(&t, &tm);
  char buf[32];
  std::strftime(buf, sizeof buf, "%Y-%m-%dT%H:%M:%SZ", &tm);
  return buf;
}

}  // namespace davodu::welldb
