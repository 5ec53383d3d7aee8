// WellDb: opening, schema, caches and reading. Writing is in
// well_db_write.cpp, the seed content of the catalogues in well_seed.cpp.
#include "davodu/store/detail/well_db.h"

#include <algorithm>
#include <charconv>
#include <chrono>
#include <thread>
#include <unordered_map>

#include "davodu/host/util/gbk.h"
#include "davodu/host/util/util.h"
#include "davodu/store/detail/well_db_sql.h"

namespace davodu {

using welldb::BindKey;
using welldb::KeyClause;
using welldb::OwnerColumn;

int TableData::FindColumn(std::string_view name) const {
  const auto it = lookup.find(std::string(name));
  return it == lookup.end() ? -1 : it->second;
}

const CZuVariant& TableData::Get(int row, int column) const {
  static const CZuVariant kNull;
  if (row < 0 || row >= GetCount() || column < 0 ||
      column >= static_cast<int>(rows[static_cast<std::size_t>(row)].size()))
    return kNull;
  return rows[static_cast<std::size_t>(row)][static_cast<std::size_t>(column)];
}

const std::vector<double>& CurveData::VerticalDepths() const {
  if (!tvd_done_) {
    const std::vector<double>& md = depths();
    tvd_.resize(md.size());
    for (std::size_t i = 0; i < md.size(); ++i) tvd_[i] = trajectory ? trajectory->TvdAt(md[i]) : md[i];
    tvd_done_ = true;
  }
  return tvd_;
}

namespace {

// ASCII letters in lower case; other bytes (GBK characters, whose trail
// bytes may look like letters) as they are.
std::string LowerAscii(std::string_view gbk) {
  std::string out;
  out.reserve(gbk.size());
  for (std::size_t i = 0; i < gbk.size(); ++i) {
    const auto c = static_cast<unsigned char>(gbk[i]);
    if (c >= 0x81 && i + 1 < gbk.size()) {
      out.push_back(gbk[i]);
      out.push_back(gbk[++i]);
    } else {
      out.push_back(c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : gbk[i]);
    }
  }
  return out;
}

const char* SqlType(ColumnType type) {
  switch (type) {
    case ColumnType::kReal:
      return "REAL";
    case ColumnType::kInt:
      return "INTEGER";
    default:
      return "TEXT";
  }
}

// The CREATE statements of one generic kind.
std::string TableSql(const TableLayout& layout) {
  std::string s = std::string("CREATE TABLE ") + layout.sql + "(\n  id INTEGER PRIMARY KEY";
  if (layout.owner == TableOwner::kWell)
    s += ",\n  well_id INTEGER NOT NULL REFERENCES wells(id) ON DELETE CASCADE";
  if (layout.owner == TableOwner::kScatter)
    s += ",\n  table_id INTEGER NOT NULL REFERENCES scatter_tables(id) ON DELETE CASCADE";
  if (layout.sub_column) {
    s += std::string(",\n  ") + layout.sub_column + " INTEGER NOT NULL CHECK(" + layout.sub_column +
         " BETWEEN 1 AND " + std::to_string(layout.sub_count) + ")";
  }
  s += ",\n  row_no INTEGER NOT NULL";
  for (const ColumnDef& c : layout.columns) {
    s += std::string(",\n  \"") + c.sql + "\" " + SqlType(c.type);
    if (c.required) s += " NOT NULL";
  }
  s += ");\n";
  std::string key;
  if (const char* owner = OwnerColumn(layout)) key += std::string(owner) + ", ";
  if (layout.sub_column) key += std::string(layout.sub_column) + ", ";
  s += std::string("CREATE INDEX ") + layout.sql + "_order ON " + layout.sql + "(" + key +
       "row_no);\n";
  if (layout.user_columns) {
    s += std::string("CREATE TABLE ") + layout.sql +
         "_values(\n  row_id INTEGER NOT NULL REFERENCES " + layout.sql +
         "(id) ON DELETE CASCADE,\n  col INTEGER NOT NULL,\n  value,\n"
         "  PRIMARY KEY(row_id, col)) WITHOUT ROWID;\n";
  }
  return s;
}

const char kBaseSchema[] = R"sql(
CREATE TABLE meta(key TEXT PRIMARY KEY, value) WITHOUT ROWID;
CREATE TABLE wells(
  id INTEGER PRIMARY KEY AUTOINCREMENT,
  name TEXT NOT NULL UNIQUE COLLATE NOCASE CHECK(name <> ''),
  x REAL, y REAL, kb REAL, ground REAL, total_depth REAL,
  field TEXT, well_type TEXT, uwi TEXT, location TEXT, crs TEXT);
CREATE TABLE table_stamps(
  kind TEXT NOT NULL, owner INTEGER NOT NULL, sub INTEGER NOT NULL,
  stamp INTEGER NOT NULL,
  PRIMARY KEY(kind, owner, sub)) WITHOUT ROWID;
CREATE INDEX table_stamps_owner ON table_stamps(owner);
CREATE TABLE scatter_tables(
  id INTEGER PRIMARY KEY AUTOINCREMENT,
  name TEXT NOT NULL UNIQUE COLLATE NOCASE CHECK(name <> ''),
  is_segment INTEGER NOT NULL DEFAULT 0);
CREATE TABLE user_columns(
  scope TEXT NOT NULL, owner INTEGER NOT NULL, sub INTEGER NOT NULL,
  pos INTEGER NOT NULL, name TEXT NOT NULL CHECK(name <> ''),
  PRIMARY KEY(scope, owner, sub, pos)) WITHOUT ROWID;
CREATE TRIGGER scatter_tables_gone AFTER DELETE ON scatter_tables BEGIN
  DELETE FROM table_stamps WHERE kind = 'scatter' AND owner = old.id;
  DELETE FROM user_columns WHERE scope = 'scatter_rows' AND owner = old.id;
END;
)sql";

// The log curves. A curve row holds only scalars (listing the curves or
// reading a stamp never touches samples); its values are a BLOB of their
// own, and its depths a BLOB shared by the curves of one import. An index
// goes when its last curve does.
const char kLogSchema[] = R"sql(
CREATE INDEX wells_uwi ON wells(uwi) WHERE uwi <> '';
CREATE TABLE log_runs(
  id INTEGER PRIMARY KEY,
  well_id INTEGER NOT NULL REFERENCES wells(id) ON DELETE CASCADE,
  source TEXT NOT NULL, size INTEGER NOT NULL, hash TEXT NOT NULL,
  imported_at TEXT NOT NULL, curves INTEGER NOT NULL);
CREATE INDEX log_runs_well ON log_runs(well_id, hash);
CREATE TABLE log_run_items(
  run_id INTEGER NOT NULL REFERENCES log_runs(id) ON DELETE CASCADE,
  pos INTEGER NOT NULL, section TEXT NOT NULL, mnemonic TEXT NOT NULL,
  unit TEXT NOT NULL, value TEXT NOT NULL, description TEXT NOT NULL,
  PRIMARY KEY(run_id, pos)) WITHOUT ROWID;
CREATE TABLE depth_indexes(
  id INTEGER PRIMARY KEY,
  count INTEGER NOT NULL,
  depths BLOB NOT NULL CHECK(length(depths) = 8 * count));
CREATE TABLE curves(
  id INTEGER PRIMARY KEY,
  well_id INTEGER NOT NULL REFERENCES wells(id) ON DELETE CASCADE,
  name TEXT NOT NULL COLLATE NOCASE CHECK(name <> ''),
  unit TEXT NOT NULL DEFAULT '',
  count INTEGER NOT NULL, missing INTEGER NOT NULL,
  min REAL, max REAL, top REAL, bottom REAL,
  stamp INTEGER NOT NULL,
  run_id INTEGER REFERENCES log_runs(id) ON DELETE SET NULL,
  index_id INTEGER NOT NULL REFERENCES depth_indexes(id),
  UNIQUE(well_id, name));
CREATE INDEX curves_index ON curves(index_id);
CREATE INDEX curves_run ON curves(run_id);
CREATE TABLE curve_samples(
  curve_id INTEGER PRIMARY KEY REFERENCES curves(id) ON DELETE CASCADE,
  samples BLOB NOT NULL);
CREATE TRIGGER curves_gone AFTER DELETE ON curves BEGIN
  DELETE FROM depth_indexes WHERE id = old.index_id
    AND NOT EXISTS (SELECT 1 FROM curves WHERE index_id = old.index_id);
END;
CREATE TRIGGER curves_moved AFTER UPDATE OF index_id ON curves
  WHEN old.index_id <> new.index_id BEGIN
  DELETE FROM depth_indexes WHERE id = old.index_id
    AND NOT EXISTS (SELECT 1 FROM curves WHERE index_id = old.index_id);
END;
)sql";

// Schema 1 kept each curve's depths and samples in its own row, after the
// stamp's columns in the file but before it in SQLite's record, so that
// reading a stamp read both BLOBs. Its curves move into the new tables,
// each keeping its id and its own index.
const char kUpgradeFrom1[] = R"sql(
ALTER TABLE wells ADD COLUMN uwi TEXT;
ALTER TABLE wells ADD COLUMN location TEXT;
ALTER TABLE wells ADD COLUMN crs TEXT;
ALTER TABLE curves RENAME TO curves_v1;
)sql";
const char kUpgradeFrom1Copy[] = R"sql(
INSERT INTO depth_indexes(id, count, depths) SELECT id, count, depths FROM curves_v1;
INSERT INTO curves(id, well_id, name, unit, count, missing, min, max, top, bottom, stamp,
                   run_id, index_id)
  SELECT id, well_id, name, unit, count, missing, min, max, top, bottom, stamp, NULL, id
  FROM curves_v1;
INSERT INTO curve_samples(curve_id, samples) SELECT id, samples FROM curves_v1;
DROP TABLE curves_v1;
)sql";

}  // namespace

WellDb::WellDb(const std::string& path) {
  db_.Open(path);
  // Several processes may open (and create) the same file at once; the
  // first to take the write lock makes the schema, the others wait for it.
  const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(10);
  for (;;) {
    try {
      Prepare();
      break;
    } catch (const sql::SqliteError& e) {
      if (!e.busy() || std::chrono::steady_clock::now() > deadline) throw;
      std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
  }
  data_version_ = db_.DataVersion();
}

void WellDb::Prepare() {
  // A new file gets large pages: curve samples fill whole pages, and a
  // page of 16 KiB holds four times the rows of a table for the same
  // bookkeeping. Has no effect on an existing file.
  db_.Exec("PRAGMA page_size = " + std::to_string(kPageSize));
  // Readers (charts) go on while a writer (an import) works; with WAL a
  // commit is durable at the next checkpoint, which is enough for data that
  // can be imported again.
  if (db_.QueryText("PRAGMA journal_mode = WAL") != "wal")
    throw sql::SqliteError("database is locked", true);
  db_.Exec("PRAGMA synchronous = NORMAL");
  const auto version = [&] {
    if (db_.QueryInt("SELECT count(*) FROM sqlite_master WHERE type = 'table' AND name = 'meta'") == 0)
      return std::int64_t{0};
    return db_.QueryInt("SELECT value FROM meta WHERE key = 'schema_version'", -1);
  };
  // Reading the version needs no lock; only a file to create or upgrade
  // takes the write lock, and looks again once it has it.
  std::int64_t v = version();
  if (v > welldb::kSchemaVersion) {
    throw sql::SqliteError(path() + " was written by a newer version (schema " + std::to_string(v) +
                           ")");
  }
  if (v == welldb::kSchemaVersion) return;
  sql::Transaction t(db_);
  v = version();
  if (v == 0) {
    CreateSchema();
    Seed();
  } else if (v < 1) {
    throw sql::SqliteError(path() + " is not a well database");
  } else if (v < welldb::kSchemaVersion) {
    Upgrade(v);
  }
  t.Commit();
}

void WellDb::CreateSchema() {
  db_.Exec(kBaseSchema);
  db_.Exec(kLogSchema);
  std::string scopes;
  for (const TableLayout& layout : AllTableLayouts()) {
    if (layout.owner == TableOwner::kNone) continue;
    db_.Exec(TableSql(layout));
    if (layout.owner == TableOwner::kWell && layout.user_columns) {
      if (!scopes.empty()) scopes += ",";
      scopes += std::string("'") + layout.sql + "'";
    }
  }
  // Stamps and column lists are keyed by owner id, not linked to wells.
  db_.Exec("CREATE TRIGGER wells_gone AFTER DELETE ON wells BEGIN\n"
           "  DELETE FROM table_stamps WHERE owner = old.id AND kind IN (" +
           welldb::WellStampKinds() + ");\n  DELETE FROM user_columns WHERE owner = old.id AND scope IN (" +
           scopes + ");\nEND;");
  sql::Stmt s(db_, "INSERT INTO meta(key, value) VALUES('schema_version', ?1), ('stamp', ?2)");
  s.Bind(1, welldb::kSchemaVersion).Bind(2, static_cast<std::int64_t>(AfxGetTimeStamp()));
  s.Run();
}

void WellDb::Upgrade(std::int64_t from_version) {
  if (from_version < 2) {
    db_.Exec(kUpgradeFrom1);
    db_.Exec(kLogSchema);
    db_.Exec(kUpgradeFrom1Copy);
  }
  // Schema 3 adds the style template catalogue.
  if (from_version < 3) db_.Exec(TableSql(GetTableLayout(TableKind::kCatStyle)));
  sql::Stmt s(db_, "UPDATE meta SET value = ?1 WHERE key = 'schema_version'");
  s.Bind(1, welldb::kSchemaVersion);
  s.Run();
}

sql::Stmt& WellDb::Cached(const char* sql) {
  auto& stmt = statements_[sql];
  if (!stmt) {
    stmt = std::make_unique<sql::Stmt>(db_, sql);
  } else {
    stmt->Reset();
    stmt->ClearBindings();
  }
  return *stmt;
}

void WellDb::Sync() {
  const std::int64_t v = db_.DataVersion();
  if (v != data_version_) {
    data_version_ = v;
    DropCaches();
    Invalidate();
  }
}

void WellDb::Invalidate() { ++generation_; }

void WellDb::CheckCaches() {
  if (cache_epoch_ == epoch_) return;
  cache_epoch_ = epoch_;
  wells_loaded_ = false;
  wells_.clear();
  well_index_.clear();
  trajectories_.clear();
  std::erase_if(tables_, [](const auto& e) { return e.second.expired(); });
  std::erase_if(curves_, [](const auto& e) { return e.second.expired(); });
}

const std::vector<WellInfo>& WellDb::Wells() {
  CheckCaches();
  if (wells_loaded_) return wells_;
  sql::Stmt s(db_,
              "SELECT id, name, x, y, kb, ground, total_depth, field, well_type, uwi, location, crs "
              "FROM wells ORDER BY id");
  while (s.Step()) {
    WellInfo w;
    w.id = s.Int(0);
    w.name = Utf8ToGbk(s.Text(1));
    w.x = welldb::ReadNumber(s, 2);
    w.y = welldb::ReadNumber(s, 3);
    w.kb = welldb::ReadNumber(s, 4);
    w.ground = welldb::ReadNumber(s, 5);
    w.total_depth = welldb::ReadNumber(s, 6);
    w.field = Utf8ToGbk(s.Text(7));
    w.well_type = Utf8ToGbk(s.Text(8));
    w.uwi = Utf8ToGbk(s.Text(9));
    w.location = Utf8ToGbk(s.Text(10));
    w.crs = Utf8ToGbk(s.Text(11));
    well_index_[LowerAscii(w.name)] = wells_.size();
    wells_.push_back(std::move(w));
  }
  wells_loaded_ = true;
  return wells_;
}

const WellInfo* WellDb::FindWell(std::string_view gbk_name) {
  const auto& wells = Wells();
  const auto it = well_index_.find(LowerAscii(gbk_name));
  return it == well_index_.end() ? nullptr : &wells[it->second];
}

const WellInfo* WellDb::FindWell(std::int64_t id) {
  const auto& wells = Wells();
  const auto it = std::lower_bound(wells.begin(), wells.end(), id,
                                   [](const WellInfo& w, std::int64_t v) { return w.id < v; });
  return it != wells.end() && it->id == id ? &*it : nullptr;
}

void WellDb::RememberWell(const WellInfo& info) {
  CheckCaches();
  if (!wells_loaded_) return;  // loaded whole on next use
  const auto it = std::lower_bound(wells_.begin(), wells_.end(), info.id,
                                   [](const WellInfo& w, std::int64_t v) { return w.id < v; });
  if (it != wells_.end() && it->id == info.id) {
    well_index_.erase(LowerAscii(it->name));
    *it = info;
    well_index_[LowerAscii(info.name)] = static_cast<std::size_t>(it - wells_.begin());
  } else if (it == wells_.end()) {
    well_index_[LowerAscii(info.name)] = wells_.size();
    wells_.push_back(info);
  } else {
    wells_loaded_ = false;  // ids grow, so this does not happen; reload to be safe
  }
}

void WellDb::ForgetWell(std::int64_t id) {
  CheckCaches();
  trajectories_.erase(id);
  wells_loaded_ = false;
  wells_.clear();
  well_index_.clear();
}

std::vector<SurveyStation> WellDb::Deviation(std::int64_t well_id) {
  std::vector<SurveyStation> stations;
  sql::Stmt s(db_,
              "SELECT md, inclination, azimuth FROM deviation WHERE well_id = ?1 "
              "ORDER BY row_no, id");
  s.Bind(1, well_id);
  while (s.Step()) stations.push_back({s.Real(0), s.Real(1), s.Real(2)});
  return stations;
}

std::shared_ptr<const Trajectory> WellDb::GetTrajectory(std::int64_t well_id) {
  CheckCaches();
  const auto it = trajectories_.find(well_id);
  if (it != trajectories_.end()) return it->second;
  if (!FindWell(well_id)) return nullptr;
  auto t = std::make_shared<const Trajectory>(Deviation(well_id));
  trajectories_[well_id] = t;
  return t;
}

std::optional<std::uint64_t> WellDb::TableStamp(const TableKey& key) {
  sql::Stmt& s = Cached("SELECT stamp FROM table_stamps WHERE kind = ?1 AND owner = ?2 AND sub = ?3");
  s.Bind(1, GetTableLayout(key.kind).id).Bind(2, key.owner).Bind(3, key.sub);
  std::optional<std::uint64_t> stamp;
  if (s.Step()) stamp = static_cast<std::uint64_t>(s.Int(0));
  s.Reset();
  return stamp;
}

std::uint64_t WellDb::CurveStamp(std::int64_t well_id, std::string_view gbk_name) {
  sql::Stmt& s = Cached("SELECT stamp FROM curves WHERE well_id = ?1 AND name = ?2");
  s.Bind(1, well_id).Bind(2, GbkToUtf8(gbk_name));
  const std::uint64_t stamp = s.Step() ? static_cast<std::uint64_t>(s.Int(0)) : 0;
  s.Reset();
  return stamp;
}

std::uint64_t WellDb::ManagerStamp() {
  return static_cast<std::uint64_t>(db_.QueryInt("SELECT value FROM meta WHERE key = 'stamp'"));
}

std::vector<std::string> WellDb::UserColumns(const TableKey& key) {
  std::vector<std::string> names;
  const TableLayout& layout = GetTableLayout(key.kind);
  if (!layout.user_columns) return names;
  sql::Stmt s(db_,
              "SELECT name FROM user_columns WHERE scope = ?1 AND owner = ?2 AND sub = ?3 "
              "ORDER BY pos");
  s.Bind(1, layout.sql).Bind(2, key.owner).Bind(3, key.sub);
  while (s.Step()) names.push_back(Utf8ToGbk(s.Text(0)));
  return names;
}

std::shared_ptr<const TableData> WellDb::LoadTable(const TableKey& key) {
  const TableLayout& layout = GetTableLayout(key.kind);
  if (layout.owner == TableOwner::kNone) return nullptr;
  CheckCaches();
  sql::Transaction read(db_, sql::Transaction::kRead);  // stamp and rows from the same state
  const std::optional<std::uint64_t> stamp = TableStamp(key);
  if (!stamp) return nullptr;
  auto& cached = tables_[key];
  if (auto hit = cached.lock(); hit && hit->stamp == *stamp) return hit;

  auto data = std::make_shared<TableData>();
  data->key = key;
  data->stamp = *stamp;
  data->layout = &layout;
  for (const ColumnDef& c : layout.columns) data->columns.push_back(Gbk(c.name));
  data->fixed_columns = data->columns.size();
  for (std::string& name : UserColumns(key)) data->columns.push_back(std::move(name));
  for (std::size_t i = data->columns.size(); i-- > 0;) data->lookup[data->columns[i]] = static_cast<int>(i);
  for (std::size_t i = 0; i < layout.columns.size(); ++i)
    data->lookup.emplace(layout.columns[i].sql, static_cast<int>(i));
  // The import names of a column find it too ("电测解释" the interpretation
  // column), unless a column of the table has that name itself.
  for (std::size_t i = 0; i < layout.columns.size(); ++i) {
    std::string_view aliases = layout.columns[i].aliases;
    while (!aliases.empty()) {
      const std::size_t bar = aliases.find('|');
      data->lookup.emplace(Utf8ToGbk(aliases.substr(0, bar)), static_cast<int>(i));
      if (bar == std::string_view::npos) break;
      aliases.remove_prefix(bar + 1);
    }
  }

  std::string select = "SELECT id, row_no";
  for (const ColumnDef& c : layout.columns) select += std::string(", \"") + c.sql + "\"";
  select += std::string(" FROM ") + layout.sql + " WHERE " + KeyClause(layout) + " ORDER BY row_no, id";
  sql::Stmt s(db_, select);
  BindKey(s, layout, key);
  std::unordered_map<std::int64_t, std::size_t> index;
  const std::size_t width = data->columns.size();
  while (s.Step()) {
    index[s.Int(0)] = data->rows.size();
    data->row_ids.push_back(s.Int(0));
    data->row_nos.push_back(s.Int(1));
    std::vector<CZuVariant> row(width);
    for (std::size_t c = 0; c < layout.columns.size(); ++c)
      row[c] = welldb::ReadCell(s, static_cast<int>(c) + 2);
    data->rows.push_back(std::move(row));
  }
  if (layout.user_columns && width > data->fixed_columns) {
    sql::Stmt v(db_, std::string("SELECT v.row_id, v.col, v.value FROM ") + layout.sql +
                         "_values v JOIN " + layout.sql + " r ON r.id = v.row_id WHERE " +
                         KeyClause(layout, "r."));
    BindKey(v, layout, key);
    while (v.Step()) {
      const auto it = index.find(v.Int(0));
      const std::size_t col = data->fixed_columns + static_cast<std::size_t>(v.Int(1));
      if (it != index.end() && col < width) data->rows[it->second][col] = welldb::ReadCell(v, 2);
    }
  }
  read.Commit();
  cached = data;
  return data;
}

std::shared_ptr<const std::vector<double>> WellDb::LoadIndex(std::int64_t index_id) {
  auto& cached = indexes_[index_id];
  if (auto hit = cached.lock()) return hit;
  sql::Stmt s(db_, "SELECT depths FROM depth_indexes WHERE id = ?1");
  s.Bind(1, index_id);
  if (!s.Step()) throw sql::SqliteError("a curve without its depth index");
  std::size_t size = 0;
  const void* blob = s.Blob(0, &size);
  auto index = std::make_shared<const std::vector<double>>(welldb::DecodeDoubles(blob, size));
  cached = index;
  return index;
}

std::shared_ptr<const CurveData> WellDb::LoadCurve(std::int64_t well_id, std::string_view gbk_name) {
  CheckCaches();
  const std::string utf8 = GbkToUtf8(gbk_name);
  sql::Transaction read(db_, sql::Transaction::kRead);
  sql::Stmt s(db_,
              "SELECT id, name, unit, stamp, count, missing, min, max, top, bottom, index_id "
              "FROM curves WHERE well_id = ?1 AND name = ?2");
  s.Bind(1, well_id).Bind(2, utf8);
  if (!s.Step()) return nullptr;
  auto& cached = curves_[{well_id, s.Text(1)}];
  const auto stamp = static_cast<std::uint64_t>(s.Int(3));
  if (auto hit = cached.lock(); hit && hit->stamp == stamp) return hit;
  auto c = std::make_shared<CurveData>();
  c->well_id = well_id;
  c->name = Utf8ToGbk(s.Text(1));
  c->unit = Utf8ToGbk(s.Text(2));
  c->stamp = stamp;
  const auto count = static_cast<std::size_t>(s.Int(4));
  c->missing = static_cast<int>(s.Int(5));
  c->min = welldb::ReadNumber(s, 6);
  c->max = welldb::ReadNumber(s, 7);
  c->top = welldb::ReadNumber(s, 8);
  c->bottom = welldb::ReadNumber(s, 9);
  c->index = LoadIndex(s.Int(10));
  sql::Stmt v(db_, "SELECT samples FROM curve_samples WHERE curve_id = ?1");
  v.Bind(1, s.Int(0));
  if (v.Step()) {
    std::size_t size = 0;
    const void* blob = v.Blob(0, &size);
    c->values = welldb::DecodeDoubles(blob, size);
  }
  read.Commit();
  if (c->values.size() != count || c->index->size() != count)
    throw sql::SqliteError("curve " + utf8 + ": samples and depths differ in length");
  c->trajectory = GetTrajectory(well_id);
  cached = c;
  return c;
}

std::vector<std::string> WellDb::CurveNames(std::int64_t well_id) {
  std::vector<std::string> names;
  sql::Stmt s(db_, "SELECT name FROM curves WHERE well_id = ?1 ORDER BY id");
  s.Bind(1, well_id);
  while (s.Step()) names.push_back(Utf8ToGbk(s.Text(0)));
  return names;
}

std::vector<CurveSummary> WellDb::CurveSummaries(std::int64_t well_id) {
  std::vector<CurveSummary> curves;
  sql::Stmt s(db_,
              "SELECT name, unit, count, missing, min, max, top, bottom, run_id FROM curves "
              "WHERE well_id = ?1 ORDER BY id");
  s.Bind(1, well_id);
  while (s.Step()) {
    CurveSummary c;
    c.name = Utf8ToGbk(s.Text(0));
    c.unit = Utf8ToGbk(s.Text(1));
    c.count = static_cast<int>(s.Int(2));
    c.missing = static_cast<int>(s.Int(3));
    c.min = welldb::ReadNumber(s, 4);
    c.max = welldb::ReadNumber(s, 5);
    c.top = welldb::ReadNumber(s, 6);
    c.bottom = welldb::ReadNumber(s, 7);
    c.run_id = s.IsNull(8) ? -1 : s.Int(8);
    curves.push_back(std::move(c));
  }
  return curves;
}

namespace {

const char kRunColumns[] =
    "SELECT r.id, r.well_id, r.source, r.size, r.hash, r.imported_at, r.curves, "
    "(SELECT count(*) FROM curves c WHERE c.run_id = r.id) FROM log_runs r ";

LogRunInfo ReadRun(const sql::Stmt& s) {
  LogRunInfo r;
  r.id = s.Int(0);
  r.well_id = s.Int(1);
  r.source = Utf8ToGbk(s.Text(2));
  r.size = s.Int(3);
  r.hash = s.Text(4);
  r.imported_at = s.Text(5);
  r.curves_written = static_cast<int>(s.Int(6));
  r.curves_current = static_cast<int>(s.Int(7));
  return r;
}

}  // namespace

std::vector<LogRunInfo> WellDb::Runs(std::int64_t well_id) {
  std::vector<LogRunInfo> runs;
  sql::Transaction read(db_, sql::Transaction::kRead);
  sql::Stmt s(db_, std::string(kRunColumns) + "WHERE r.well_id = ?1 ORDER BY r.id");
  s.Bind(1, well_id);
  while (s.Step()) runs.push_back(ReadRun(s));
  sql::Stmt items(db_,
                  "SELECT section, mnemonic, unit, value, description FROM log_run_items "
                  "WHERE run_id = ?1 ORDER BY pos");
  for (LogRunInfo& run : runs) {
    items.Reset();
    items.Bind(1, run.id);
    while (items.Step()) {
      run.items.push_back({items.Text(0), Utf8ToGbk(items.Text(1)), Utf8ToGbk(items.Text(2)),
                           Utf8ToGbk(items.Text(3)), Utf8ToGbk(items.Text(4))});
    }
  }
  read.Commit();
  return runs;
}

std::optional<LogRunInfo> WellDb::CurrentRun(std::int64_t well_id, std::string_view hash) {
  sql::Stmt s(db_, std::string(kRunColumns) + "WHERE r.well_id = ?1 AND r.hash = ?2 ORDER BY r.id DESC");
  s.Bind(1, well_id).Bind(2, hash);
  while (s.Step()) {
    LogRunInfo run = ReadRun(s);
    if (run.curves_current == run.curves_written) return run;
  }
  return std::nullopt;
}

std::vector<ScatterInfo> WellDb::ScatterTables() {
  std::vector<ScatterInfo> tables;
  sql::Stmt s(db_, "SELECT id, name, is_segment FROM scatter_tables ORDER BY id");
  while (s.Step()) tables.push_back({s.Int(0), Utf8ToGbk(s.Text(1)), s.Int(2) != 0});
  return tables;
}

std::optional<ScatterInfo> WellDb::FindScatter(std::int64_t id) {
  sql::Stmt s(db_, "SELECT id, name, is_segment FROM scatter_tables WHERE id = ?1");
  s.Bind(1, id);
  if (!s.Step()) return std::nullopt;
  return ScatterInfo{s.Int(0), Utf8ToGbk(s.Text(1)), s.Int(2) != 0};
}

std::vector<std::pair<TableKey, int>> WellDb::TablesOf(std::int64_t well_id) {
  std::vector<std::pair<TableKey, int>> tables;
  sql::Stmt s(db_, "SELECT kind, sub FROM table_stamps WHERE owner = ?1 AND kind IN (" +
                       welldb::WellStampKinds() + ")");
  s.Bind(1, well_id);
  while (s.Step()) {
    TableKey key{TableKind::kStratum, well_id, static_cast<int>(s.Int(1))};
    if (!welldb::KindOfStampText(s.Text(0), &key.kind)) continue;
    tables.emplace_back(key, 0);
  }
  for (auto& [key, rows] : tables) {
    const TableLayout& layout = GetTableLayout(key.kind);
    if (key.kind == TableKind::kWellLog) {
      sql::Stmt c(db_, "SELECT count(*) FROM curves WHERE well_id = ?1");
      c.Bind(1, well_id);
      rows = c.Step() ? static_cast<int>(c.Int(0)) : 0;
      continue;
    }
    sql::Stmt c(db_, std::string("SELECT count(*) FROM ") + layout.sql + " WHERE " + KeyClause(layout));
    BindKey(c, layout, key);
    rows = c.Step() ? static_cast<int>(c.Int(0)) : 0;
  }
  std::sort(tables.begin(), tables.end());
  return tables;
}

bool NormaliseDate(std::string_view text, std::string* out) {
  const std::string t = TrimBlanks(text);
  int parts[3] = {0, 0, 0};
  std::size_t pos = 0;
  const char* p = t.data();
  const char* end = t.data() + t.size();
  const auto digits_run = [&](const char* from) {
    const char* q = from;
    while (q < end && *q >= '0' && *q <= '9') ++q;
    return static_cast<std::size_t>(q - from);
  };
  if (digits_run(p) == 8) {
    std::from_chars(p, p + 4, parts[0]);
    std::from_chars(p + 4, p + 6, parts[1]);
    std::from_chars(p + 6, p + 8, parts[2]);
    pos = 8;
  } else {
    char separator = 0;
    for (int k = 0; k < 3; ++k) {
      const std::size_t n = digits_run(p + pos);
      if (n == 0 || n > (k == 0 ? 4u : 2u)) return false;
      std::from_chars(p + pos, p + pos + n, parts[k]);
      pos += n;
      if (k < 2) {
        if (pos >= t.size()) return false;
        const char c = t[pos];
        if (c != '-' && c != '/' && c != '.') return false;
        if (separator && c != separator) return false;
        separator = c;
        ++pos;
      }
    }
  }
  // A time may follow after a blank or a 'T'.
  if (pos < t.size() && t[pos] != ' ' && t[pos] != 'T') return false;
  const int y = parts[0], m = parts[1], d = parts[2];
  static const int kDays[] = {31, 29, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
  if (y < 1 || m < 1 || m > 12 || d < 1 || d > kDays[m - 1]) return false;
  const bool leap = (y % 4 == 0 && y % 100 != 0) || y % 400 == 0;
  if (m == 2 && d == 29 && !leap) return false;
  char buf[32];
  std::snprintf(buf, sizeof buf, "%04d-%02d-%02d", y, m, d);
  *out = buf;
  return true;
}

}  // namespace davodu
