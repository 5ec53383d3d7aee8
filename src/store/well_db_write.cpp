// WellDb: writing. Every public write runs inside Write(), so it is one
// transaction that stamps what it changed.
#include <algorithm>
#include <array>
#include <bit>
#include <cmath>
#include <ctime>
#include <numeric>
#include <utility>

#include "davodu/host/util/gbk.h"
#include "davodu/host/util/util.h"
#include "davodu/store/detail/sample_codec.h"
#include "davodu/store/detail/well_db.h"
#include "davodu/store/detail/well_db_sql.h"

namespace davodu {

using welldb::BindKey;
using welldb::KeyClause;
using welldb::OwnerColumn;

namespace {

const TableLayout& RowTableLayout(const TableKey& key) {
  const TableLayout& layout = GetTableLayout(key.kind);
  if (layout.owner == TableOwner::kNone)
    throw sql::Error(std::string("not a table of rows: ") + layout.id);
  // The survey changes every vertical depth of the well: it is written
  // only through SetDeviation, which re-stamps the well's tables.
  if (key.kind == TableKind::kDeviation)
    throw sql::Error("the deviation survey is replaced as a whole");
  if (layout.sub_column && (key.sub < 1 || key.sub > layout.sub_count))
    throw sql::Error(std::string("no table ") + layout.id + " " + std::to_string(key.sub));
  return layout;
}

// Where a written column goes: a column of the kind (index >= 0) or a column
// of the table's own (-1 - position).
int ColumnSlot(const TableLayout& layout, std::string_view gbk, const std::vector<std::string>& own) {
  for (std::size_t i = 0; i < layout.columns.size(); ++i) {
    if (gbk == Gbk(layout.columns[i].name) || gbk == layout.columns[i].sql) return static_cast<int>(i);
  }
  for (std::size_t i = 0; i < own.size(); ++i) {
    if (gbk == own[i]) return -1 - static_cast<int>(i);
  }
  return INT32_MIN;
}

}  // namespace

std::int64_t WellDb::TxStamp() {
  if (tx_stamp_ == 0) {
    // SQLite has one writer at a time, so a counter row serves as a
    // sequence; PostgreSQL hands out a sequence's next value.
    tx_stamp_ = db_.sqlite()
                    ? db_.QueryInt("UPDATE meta SET value = value + 1 WHERE key = 'stamp' RETURNING value")
                    : db_.QueryInt("SELECT nextval('stamps')");
    if (tx_stamp_ <= 0) throw sql::Error("the database has no stamp counter");
  }
  return tx_stamp_;
}

void WellDb::BeginWrite() {
  // Writers hold the database's write lock, so the stamp read here is the
  // last commit's: when it is the one this object last saw, nobody else
  // committed in between (SQLite tells that by itself).
  if (!db_.sqlite()) stamp_before_ = static_cast<std::int64_t>(ManagerStamp());
}

void WellDb::EndWrite() {
  if (!db_.sqlite() && stamp_before_ == data_version_ && tx_stamp_ > 0) data_version_ = tx_stamp_;
  tx_stamp_ = 0;
}

void WellDb::StampTable(const TableKey& key) {
  sql::Stmt& s = Cached(
      "INSERT INTO table_stamps(kind, owner, sub, stamp) VALUES(?1, ?2, ?3, ?4) "
      "ON CONFLICT(kind, owner, sub) DO UPDATE SET stamp = CASE WHEN excluded.stamp > "
      "table_stamps.stamp THEN excluded.stamp ELSE table_stamps.stamp + 1 END");
  s.Bind(1, GetTableLayout(key.kind).id).Bind(2, key.owner).Bind(3, key.sub).Bind(4, TxStamp());
  s.Run();
}

void WellDb::StampManager() {
  sql::Stmt& s = Cached(
      "INSERT INTO meta(key, value) VALUES('stamp', ?1) "
      "ON CONFLICT(key) DO UPDATE SET value = CASE WHEN excluded.value > meta.value "
      "THEN excluded.value ELSE meta.value END");
  s.Bind(1, TxStamp());
  s.Run();
}

void WellDb::RestampWell(std::int64_t well_id) {
  const std::int64_t now = TxStamp();
  sql::Stmt t(db_,
              "UPDATE table_stamps SET stamp = CASE WHEN ?1 > stamp THEN ?1 ELSE stamp + 1 END "
              "WHERE owner = ?2 AND kind IN (" + welldb::WellStampKinds() + ")");
  t.Bind(1, now).Bind(2, well_id);
  t.Run();
  sql::Stmt c(db_,
              "UPDATE curves SET stamp = CASE WHEN ?1 > stamp THEN ?1 ELSE stamp + 1 END "
              "WHERE well_id = ?2");
  c.Bind(1, now).Bind(2, well_id);
  c.Run();
}

namespace {

void BindWell(sql::Stmt& s, const WellInfo& info) {
  s.Bind(1, GbkToUtf8(info.name));
  welldb::BindNumber(s, 2, info.x);
  welldb::BindNumber(s, 3, info.y);
  welldb::BindNumber(s, 4, info.kb);
  welldb::BindNumber(s, 5, info.ground);
  welldb::BindNumber(s, 6, info.total_depth);
  s.Bind(7, GbkToUtf8(info.field));
  s.Bind(8, GbkToUtf8(info.well_type));
  s.Bind(9, GbkToUtf8(info.uwi));
  s.Bind(10, GbkToUtf8(info.location));
  s.Bind(11, GbkToUtf8(info.crs));
}

}  // namespace

std::int64_t WellDb::CreateWell(const WellInfo& info) {
  std::int64_t id = -1;
  Write([&] {
    sql::Stmt& s = Cached(
        "INSERT INTO wells(name, x, y, kb, ground, total_depth, field, well_type, uwi, location, "
        "crs) VALUES(?1, ?2, ?3, ?4, ?5, ?6, ?7, ?8, ?9, ?10, ?11) RETURNING id");
    BindWell(s, info);
    if (!s.Step()) throw sql::Error("the well was not written");
    id = s.Int(0);
    s.Run();
    StampTable({TableKind::kWellHeader, 0, 0});
    WellInfo stored = info;
    stored.id = id;
    RememberWell(stored);
  });
  return id;
}

void WellDb::UpdateWell(const WellInfo& info) {
  Write([&] {
    sql::Stmt old(db_, "SELECT kb FROM wells WHERE id = ?1");
    old.Bind(1, info.id);
    if (!old.Step()) throw sql::Error("no well with id " + std::to_string(info.id));
    const double old_kb = welldb::ReadNumber(old, 0);
    sql::Stmt& s = Cached(
        "UPDATE wells SET name = ?1, x = ?2, y = ?3, kb = ?4, ground = ?5, total_depth = ?6, "
        "field = ?7, well_type = ?8, uwi = ?9, location = ?10, crs = ?11 WHERE id = ?12");
    BindWell(s, info);
    s.Bind(12, info.id);
    s.Run();
    const bool same = (IsMissing(old_kb) && IsMissing(info.kb)) || old_kb == info.kb;
    if (!same) RestampWell(info.id);
    StampTable({TableKind::kWellHeader, 0, 0});
    RememberWell(info);
  });
}

void WellDb::DeleteWell(std::int64_t id) {
  Write([&] {
    sql::Stmt s(db_, "DELETE FROM wells WHERE id = ?1");
    s.Bind(1, id);
    s.Run();
    if (db_.Changes() == 0) throw sql::Error("no well with id " + std::to_string(id));
    StampTable({TableKind::kWellHeader, 0, 0});
    ForgetWell(id);
  });
}

void WellDb::SetDeviation(std::int64_t well_id, const std::vector<SurveyStation>& stations) {
  Write([&] {
    sql::Stmt d(db_, "DELETE FROM deviation WHERE well_id = ?1");
    d.Bind(1, well_id);
    d.Run();
    sql::Stmt s(db_,
                "INSERT INTO deviation(well_id, row_no, md, inclination, azimuth) "
                "VALUES(?1, ?2, ?3, ?4, ?5)");
    for (std::size_t i = 0; i < stations.size(); ++i) {
      s.Reset();
      s.Bind(1, well_id).Bind(2, static_cast<std::int64_t>(i));
      welldb::BindNumber(s, 3, stations[i].md);
      welldb::BindNumber(s, 4, stations[i].inclination);
      welldb::BindNumber(s, 5, stations[i].azimuth);
      s.Run();
    }
    StampTable({TableKind::kDeviation, well_id, 0});
    RestampWell(well_id);
    trajectories_.erase(well_id);
  });
}

void WellDb::CreateTable(const TableKey& key) {
  RowTableLayout(key);
  Write([&] {
    sql::Stmt s(db_,
                "INSERT INTO table_stamps(kind, owner, sub, stamp) VALUES(?1, ?2, ?3, ?4) "
                "ON CONFLICT DO NOTHING");
    s.Bind(1, GetTableLayout(key.kind).id).Bind(2, key.owner).Bind(3, key.sub).Bind(4, TxStamp());
    s.Run();
  });
}

std::int64_t WellDb::NextRowNo(const TableKey& key) {
  const TableLayout& layout = RowTableLayout(key);
  sql::Stmt s(db_, std::string("SELECT max(row_no) FROM ") + layout.sql + " WHERE " + KeyClause(layout));
  BindKey(s, layout, key);
  return s.Step() && !s.IsNull(0) ? s.Int(0) + 1 : 0;
}

std::int64_t WellDb::InsertRows(const TableKey& key, const std::vector<std::string>& columns,
                                const std::vector<std::vector<CZuVariant>>& rows,
                                std::int64_t first_row_no) {
  const TableLayout& layout = RowTableLayout(key);
  std::vector<std::string> own = UserColumns(key);
  std::vector<int> slots;
  for (const std::string& name : columns) {
    int slot = ColumnSlot(layout, name, own);
    if (slot == INT32_MIN) {
      if (!layout.user_columns || TrimBlanks(name).empty())
        throw sql::Error("no column '" + GbkToUtf8(name) + "' in " +
                               TableName(key.kind, key.sub));
      sql::Stmt add(db_,
                    "INSERT INTO user_columns(scope, owner, sub, pos, name) VALUES(?1, ?2, ?3, ?4, ?5)");
      add.Bind(1, layout.sql).Bind(2, key.owner).Bind(3, key.sub)
          .Bind(4, static_cast<std::int64_t>(own.size())).Bind(5, GbkToUtf8(name));
      add.Run();
      own.push_back(name);
      slot = -static_cast<int>(own.size());
    }
    slots.push_back(slot);
  }

  std::string names = "row_no";
  std::string params = "?3";
  if (const char* owner = OwnerColumn(layout)) names += std::string(", ") + owner, params += ", ?1";
  if (layout.sub_column) names += std::string(", ") + layout.sub_column, params += ", ?2";
  for (std::size_t i = 0; i < layout.columns.size(); ++i) {
    names += std::string(", \"") + layout.columns[i].sql + "\"";
    params += ", ?" + std::to_string(i + 4);
  }
  sql::Stmt insert(db_, std::string("INSERT INTO ") + layout.sql + "(" + names + ") VALUES(" +
                            params + ") RETURNING id");
  std::unique_ptr<sql::Stmt> value;
  if (layout.user_columns) {
    value = std::make_unique<sql::Stmt>(
        db_, std::string("INSERT INTO ") + layout.sql + "_values(row_id, col, " +
                 welldb::AnyColumns(db_.dialect()) + ") VALUES(?1, ?2, ?3" +
                 (db_.sqlite() ? ")" : ", ?4)"));
  }
  std::int64_t id = -1;
  for (std::size_t r = 0; r < rows.size(); ++r) {
    const std::vector<CZuVariant>& row = rows[r];
    insert.Reset();
    BindKey(insert, layout, key);
    insert.Bind(3, first_row_no + static_cast<std::int64_t>(r));
    for (std::size_t i = 0; i < layout.columns.size(); ++i) insert.BindNull(static_cast<int>(i) + 4);
    for (std::size_t c = 0; c < slots.size() && c < row.size(); ++c) {
      if (slots[c] >= 0) {
        welldb::BindTyped(insert, slots[c] + 4, row[c], layout.columns[static_cast<std::size_t>(slots[c])].type);
      }
    }
    if (!insert.Step()) throw sql::Error("a row was not written");
    id = insert.Int(0);
    insert.Run();
    for (std::size_t c = 0; c < slots.size() && c < row.size(); ++c) {
      if (slots[c] >= 0 || row[c].IsNull()) continue;
      value->Reset();
      value->Bind(1, id).Bind(2, -1 - slots[c]);
      welldb::BindAny(*value, 3, row[c], db_.dialect());
      value->Run();
    }
  }
  return id;
}

void WellDb::ReplaceRows(const TableKey& key, const std::vector<std::string>& columns,
                         const std::vector<std::vector<CZuVariant>>& rows) {
  const TableLayout& layout = RowTableLayout(key);
  Write([&] {
    sql::Stmt d(db_, std::string("DELETE FROM ") + layout.sql + " WHERE " + KeyClause(layout));
    BindKey(d, layout, key);
    d.Run();
    sql::Stmt u(db_, "DELETE FROM user_columns WHERE scope = ?1 AND owner = ?2 AND sub = ?3");
    u.Bind(1, layout.sql).Bind(2, key.owner).Bind(3, key.sub);
    u.Run();
    InsertRows(key, columns, rows, 0);
    StampTable(key);
  });
}

void WellDb::AppendRows(const TableKey& key, const std::vector<std::string>& columns,
                        const std::vector<std::vector<CZuVariant>>& rows) {
  Write([&] {
    InsertRows(key, columns, rows, NextRowNo(key));
    StampTable(key);
  });
}

void WellDb::SetValue(const TableKey& key, std::int64_t row_id, std::string_view column,
                      const CZuVariant& value) {
  const TableLayout& layout = RowTableLayout(key);
  Write([&] {
    // The row must belong to the table.
    sql::Stmt check(db_, std::string("SELECT 1 FROM ") + layout.sql + " WHERE id = ?3 AND " +
                             KeyClause(layout));
    BindKey(check, layout, key);
    check.Bind(3, row_id);
    if (!check.Step()) throw sql::Error("no such row");
    int final_slot = ColumnSlot(layout, column, UserColumns(key));
    if (final_slot == INT32_MIN) {
      // A new column of the table's own (where the kind has them; else this throws).
      InsertRows(key, {std::string(column)}, {}, 0);
      final_slot = ColumnSlot(layout, column, UserColumns(key));
    }
    if (final_slot >= 0) {
      const ColumnDef& c = layout.columns[static_cast<std::size_t>(final_slot)];
      sql::Stmt s(db_, std::string("UPDATE ") + layout.sql + " SET \"" + c.sql + "\" = ?1 WHERE id = ?2");
      welldb::BindTyped(s, 1, value, c.type);
      s.Bind(2, row_id);
      s.Run();
    } else {
      const bool lite = db_.sqlite();
      sql::Stmt s(db_, std::string("INSERT INTO ") + layout.sql + "_values(row_id, col, " +
                           welldb::AnyColumns(db_.dialect()) + ") VALUES(?1, ?2, ?3" +
                           (lite ? ")" : ", ?4)") +
                           " ON CONFLICT(row_id, col) DO UPDATE SET value = excluded.value" +
                           (lite ? "" : ", value_type = excluded.value_type"));
      s.Bind(1, row_id).Bind(2, -1 - final_slot);
      welldb::BindAny(s, 3, value, db_.dialect());
      s.Run();
    }
    StampTable(key);
  });
}

void WellDb::SetValues(const TableKey& key, const std::vector<Cell>& cells) {
  // Each SetValue nests in this one transaction.
  Write([&] {
    for (const Cell& c : cells) SetValue(key, c.row_id, c.column, c.value);
  });
}

std::int64_t WellDb::InsertRow(const TableKey& key, std::int64_t before_row_no,
                               const std::vector<std::string>& columns,
                               const std::vector<CZuVariant>& values) {
  const TableLayout& layout = RowTableLayout(key);
  std::int64_t id = -1;
  Write([&] {
    std::int64_t row_no = NextRowNo(key);
    if (before_row_no >= 0 && before_row_no < row_no) {
      sql::Stmt shift(db_, std::string("UPDATE ") + layout.sql + " SET row_no = row_no + 1 WHERE " +
                               KeyClause(layout) + " AND row_no >= ?3");
      BindKey(shift, layout, key);
      shift.Bind(3, before_row_no);
      shift.Run();
      row_no = before_row_no;
    }
    id = InsertRows(key, columns, {values}, row_no);
    StampTable(key);
  });
  return id;
}

void WellDb::DeleteRow(const TableKey& key, std::int64_t row_id) {
  const TableLayout& layout = RowTableLayout(key);
  Write([&] {
    sql::Stmt s(db_, std::string("DELETE FROM ") + layout.sql + " WHERE id = ?3 AND " + KeyClause(layout));
    BindKey(s, layout, key);
    s.Bind(3, row_id);
    s.Run();
    if (db_.Changes() == 0) throw sql::Error("no such row");
    StampTable(key);
  });
}

namespace {

// A key whose unsigned order is the order of the double (for numbers; the
// depths sorted here are all numbers).
inline std::uint64_t OrderedBits(double x) {
  if (x == 0) x = 0.0;  // -0 sorts with 0
  const std::uint64_t bits = std::bit_cast<std::uint64_t>(x);
  return bits & (std::uint64_t{1} << 63) ? ~bits : bits | (std::uint64_t{1} << 63);
}

// Sorts the positions in *order by depth, keeping the order of equal depths:
// a radix sort, a byte a pass, that skips the bytes every depth shares (the
// high bytes of depths of one well nearly always).
void StableSortByDepth(const std::vector<double>& depths, std::vector<std::size_t>* order) {
  const std::size_t n = order->size();
  std::vector<std::array<std::size_t, 256>> counts(8, std::array<std::size_t, 256>{});
  for (const std::size_t i : *order) {
    const std::uint64_t key = OrderedBits(depths[i]);
    for (int b = 0; b < 8; ++b) ++counts[b][(key >> (8 * b)) & 0xff];
  }
  std::vector<std::size_t> sorted(n);
  for (int b = 0; b < 8; ++b) {
    auto& count = counts[b];
    if (std::find(count.begin(), count.end(), n) != count.end()) continue;  // one value
    std::size_t at = 0;
    for (std::size_t& c : count) at += std::exchange(c, at);
    for (const std::size_t i : *order) sorted[count[(OrderedBits(depths[i]) >> (8 * b)) & 0xff]++] = i;
    order->swap(sorted);
  }
}

// One curve made ready to store: its values in depth order with every
// value that is not a number made kFltMax, their statistics, and the BLOB.
struct StoredCurve {
  std::vector<double> values;
  std::string bytes;
  int missing = 0;
  double lo = kFltMax, hi = -kFltMax;

  void Take(const std::vector<double>& in, const std::vector<std::size_t>* order) {
    const std::size_t n = order ? order->size() : in.size();
    values.resize(n);
    missing = 0;
    lo = kFltMax;
    hi = -kFltMax;
    for (std::size_t k = 0; k < n; ++k) {
      double x = in[order ? (*order)[k] : k];
      if (!std::isfinite(x) || IsMissing(x)) {
        x = kFltMax;
        ++missing;
      } else {
        lo = x < lo ? x : lo;
        hi = x > hi ? x : hi;
      }
      values[k] = x;
    }
    welldb::EncodeSamples(values.data(), n, &bytes);
  }
};

}  // namespace

void WellDb::WriteCurve(std::int64_t well_id, std::string_view gbk_name, std::string_view gbk_unit,
                        const std::vector<double>& depths, const std::vector<double>& values) {
  WriteCurves(well_id, -1, depths, {{gbk_name, gbk_unit, &values}});
}

void WellDb::WriteCurves(std::int64_t well_id, std::int64_t run_id, const std::vector<double>& depths,
                         const std::vector<CurveValues>& curves) {
  for (const CurveValues& c : curves) {
    if (c.values->size() != depths.size()) throw sql::Error("depths and values differ in length");
  }
  // Samples without a depth are dropped; the rest are put in ascending
  // depth order (a file written bottom-up is turned round). Depths that
  // already ascend, as most do, are stored as they are.
  const auto has_depth = [](double d) { return std::isfinite(d) && !IsMissing(d); };
  const bool in_order = std::all_of(depths.begin(), depths.end(), has_depth) &&
                        std::is_sorted(depths.begin(), depths.end());
  std::vector<std::size_t> order;
  std::vector<double> sorted_depths;
  if (!in_order) {
    for (std::size_t i = 0; i < depths.size(); ++i) {
      if (has_depth(depths[i])) order.push_back(i);
    }
    // A file written bottom-up only needs turning round (when no two
    // samples share a depth, whose order would turn round too).
    const auto not_descending = [&](std::size_t a, std::size_t b) { return depths[a] <= depths[b]; };
    if (std::adjacent_find(order.begin(), order.end(), not_descending) == order.end()) {
      std::reverse(order.begin(), order.end());
    } else {
      StableSortByDepth(depths, &order);
    }
    sorted_depths.reserve(order.size());
    for (std::size_t k : order) sorted_depths.push_back(depths[k]);
  }
  const std::vector<double>& d = in_order ? depths : sorted_depths;

  Write([&] {
    StoredCurve stored;
    welldb::EncodeSamples(d.data(), d.size(), &stored.bytes);
    sql::Stmt& index = Cached("INSERT INTO depth_indexes(count, depths) VALUES(?1, ?2) RETURNING id");
    index.Bind(1, static_cast<std::int64_t>(d.size()))
        .BindBlobStatic(2, stored.bytes.data(), stored.bytes.size());
    if (!index.Step()) throw sql::Error("the depth index was not written");
    const std::int64_t index_id = index.Int(0);
    index.Run();

    sql::Stmt& curve = Cached(
        "INSERT INTO curves(well_id, name, unit, count, missing, min, max, top, bottom, stamp, "
        "run_id, index_id) VALUES(?1, ?2, ?3, ?4, ?5, ?6, ?7, ?8, ?9, ?10, ?11, ?12) "
        "ON CONFLICT(well_id, name) DO UPDATE SET name = excluded.name, unit = excluded.unit, "
        "count = excluded.count, missing = excluded.missing, min = excluded.min, "
        "max = excluded.max, top = excluded.top, bottom = excluded.bottom, "
        "stamp = CASE WHEN excluded.stamp > curves.stamp THEN excluded.stamp ELSE curves.stamp + 1 END, "
        "run_id = excluded.run_id, "
        "index_id = excluded.index_id RETURNING id");
    sql::Stmt& samples =
        Cached("INSERT INTO curve_samples(curve_id, samples) VALUES(?1, ?2) "
               "ON CONFLICT(curve_id) DO UPDATE SET samples = excluded.samples");
    for (const CurveValues& c : curves) {
      stored.Take(*c.values, in_order ? nullptr : &order);
      const bool any = stored.missing < static_cast<int>(d.size());
      curve.Reset();
      curve.Bind(1, well_id).Bind(2, GbkToUtf8(c.name)).Bind(3, GbkToUtf8(c.unit));
      curve.Bind(4, static_cast<std::int64_t>(d.size())).Bind(5, stored.missing);
      welldb::BindNumber(curve, 6, any ? stored.lo : kFltMax);
      welldb::BindNumber(curve, 7, any ? stored.hi : kFltMax);
      welldb::BindNumber(curve, 8, d.empty() ? kFltMax : d.front());
      welldb::BindNumber(curve, 9, d.empty() ? kFltMax : d.back());
      curve.Bind(10, TxStamp());
      if (run_id >= 0) {
        curve.Bind(11, run_id);
      } else {
        curve.BindNull(11);
      }
      curve.Bind(12, index_id);
      if (!curve.Step()) throw sql::Error("curve " + GbkToUtf8(c.name) + " was not written");
      const std::int64_t curve_id = curve.Int(0);
      curve.Run();
      samples.Reset();
      samples.Bind(1, curve_id).BindBlobStatic(2, stored.bytes.data(), stored.bytes.size());
      samples.Run();
    }
    curve.Reset();
    samples.Reset();
    index.Reset();
    StampTable({TableKind::kWellLog, well_id, 0});
  });
}

std::int64_t WellDb::AddRun(const LogRunInfo& run) {
  std::int64_t id = -1;
  Write([&] {
    sql::Stmt s(db_,
                "INSERT INTO log_runs(well_id, source, size, hash, imported_at, curves) "
                "VALUES(?1, ?2, ?3, ?4, ?5, ?6) RETURNING id");
    s.Bind(1, run.well_id).Bind(2, GbkToUtf8(run.source)).Bind(3, run.size).Bind(4, run.hash);
    s.Bind(5, run.imported_at.empty() ? welldb::UtcNow() : run.imported_at).Bind(6, run.curves_written);
    if (!s.Step()) throw sql::Error("the import was not recorded");
    id = s.Int(0);
    s.Run();
    sql::Stmt item(db_,
                   "INSERT INTO log_run_items(run_id, pos, section, mnemonic, unit, value, "
                   "description) VALUES(?1, ?2, ?3, ?4, ?5, ?6, ?7)");
    for (std::size_t i = 0; i < run.items.size(); ++i) {
      const LogRunItem& it = run.items[i];
      item.Reset();
      item.Bind(1, id).Bind(2, static_cast<std::int64_t>(i)).Bind(3, it.section);
      item.Bind(4, GbkToUtf8(it.mnemonic)).Bind(5, GbkToUtf8(it.unit)).Bind(6, GbkToUtf8(it.value));
      item.Bind(7, GbkToUtf8(it.description));
      item.Run();
    }
  });
  return id;
}

void WellDb::DeleteCurve(std::int64_t well_id, std::string_view gbk_name) {
  Write([&] {
    sql::Stmt s(db_, "DELETE FROM curves WHERE well_id = ?1 AND name = ?2");
    s.Bind(1, well_id).Bind(2, GbkToUtf8(gbk_name));
    s.Run();
    if (db_.Changes() == 0) throw sql::Error("no curve " + GbkToUtf8(gbk_name));
    StampTable({TableKind::kWellLog, well_id, 0});
  });
}

std::int64_t WellDb::CreateScatterTable(std::string_view gbk_name, bool is_segment) {
  std::int64_t id = -1;
  Write([&] {
    sql::Stmt s(db_, "INSERT INTO scatter_tables(name, is_segment) VALUES(?1, ?2) RETURNING id");
    s.Bind(1, GbkToUtf8(gbk_name)).Bind(2, is_segment ? 1 : 0);
    if (!s.Step()) throw sql::Error("the table was not written");
    id = s.Int(0);
    s.Run();
    StampTable({TableKind::kScatter, id, 0});
  });
  return id;
}

void WellDb::DeleteScatterTable(std::int64_t id) {
  Write([&] {
    sql::Stmt s(db_, "DELETE FROM scatter_tables WHERE id = ?1");
    s.Bind(1, id);
    s.Run();
    if (db_.Changes() == 0) throw sql::Error("no scattered table " + std::to_string(id));
  });
}

void WellDb::SetScatterSegment(std::int64_t id, bool is_segment) {
  Write([&] {
    sql::Stmt s(db_, "UPDATE scatter_tables SET is_segment = ?2 WHERE id = ?1");
    s.Bind(1, id).Bind(2, is_segment ? 1 : 0);
    s.Run();
    StampTable({TableKind::kScatter, id, 0});
  });
}

}  // namespace davodu
