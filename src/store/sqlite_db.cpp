#include "davodu/store/detail/sqlite_db.h"

#include <sqlite3.h>

#include <atomic>
#include <cmath>
#include <cstdio>

namespace davodu::sql {
namespace {

bool IsBusy(int rc) { return (rc & 0xff) == SQLITE_BUSY || (rc & 0xff) == SQLITE_LOCKED; }

}  // namespace

Stmt::Stmt(Db& db, std::string_view sql) : db_(db) {
  db_.Check(sqlite3_prepare_v2(db_.handle(), sql.data(), static_cast<int>(sql.size()), &stmt_,
                               nullptr));
}

Stmt::~Stmt() { sqlite3_finalize(stmt_); }

Stmt& Stmt::Bind(int i, std::int64_t v) {
  db_.Check(sqlite3_bind_int64(stmt_, i, v));
  return *this;
}

Stmt& Stmt::Bind(int i, double v) {
  if (std::isnan(v)) return BindNull(i);
  db_.Check(sqlite3_bind_double(stmt_, i, v));
  return *this;
}

Stmt& Stmt::Bind(int i, std::string_view utf8) {
  db_.Check(sqlite3_bind_text(stmt_, i, utf8.data(), static_cast<int>(utf8.size()),
                              SQLITE_TRANSIENT));
  return *this;
}

Stmt& Stmt::BindBlob(int i, const void* data, std::size_t size) {
  db_.Check(sqlite3_bind_blob64(stmt_, i, size ? data : "", size, SQLITE_TRANSIENT));
  return *this;
}

Stmt& Stmt::BindBlobStatic(int i, const void* data, std::size_t size) {
  db_.Check(sqlite3_bind_blob64(stmt_, i, size ? data : "", size, SQLITE_STATIC));
  return *this;
}

Stmt& Stmt::BindNull(int i) {
  db_.Check(sqlite3_bind_null(stmt_, i));
  return *this;
}

bool Stmt::Step() {
  const int rc = sqlite3_step(stmt_);
  if (rc == SQLITE_ROW) return true;
  if (rc == SQLITE_DONE) return false;
  sqlite3_reset(stmt_);  // makes the connection report the step's real error
  db_.Check(rc);
  return false;
}

void Stmt::Run() {
  while (Step()) {
  }
}

void Stmt::Reset() { sqlite3_reset(stmt_); }
void Stmt::ClearBindings() { sqlite3_clear_bindings(stmt_); }

int Stmt::Type(int col) const { return sqlite3_column_type(stmt_, col); }
bool Stmt::IsNull(int col) const { return Type(col) == SQLITE_NULL; }
std::int64_t Stmt::Int(int col) const { return sqlite3_column_int64(stmt_, col); }
double Stmt::Real(int col) const { return sqlite3_column_double(stmt_, col); }

std::string Stmt::Text(int col) const {
  const unsigned char* p = sqlite3_column_text(stmt_, col);
  if (!p) return {};
  return std::string(reinterpret_cast<const char*>(p),
                     static_cast<std::size_t>(sqlite3_column_bytes(stmt_, col)));
}

const void* Stmt::Blob(int col, std::size_t* size) const {
  const void* p = sqlite3_column_blob(stmt_, col);
  *size = p ? static_cast<std::size_t>(sqlite3_column_bytes(stmt_, col)) : 0;
  return *size ? p : nullptr;
}

Db::~Db() { Close(); }

void Db::Open(const std::string& path) {
  Close();
  sqlite3* db = nullptr;
  const int rc = sqlite3_open_v2(path.c_str(), &db,
                                 SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE, nullptr);
  if (rc != SQLITE_OK) {
    std::string message = db ? sqlite3_errmsg(db) : sqlite3_errstr(rc);
    sqlite3_close(db);
    throw SqliteError("cannot open " + path + ": " + message);
  }
  db_ = db;
  path_ = path;
  sqlite3_busy_timeout(db_, 5000);
  Exec("PRAGMA foreign_keys = ON");
}

void Db::SetBusyTimeout(int ms) {
  if (db_) sqlite3_busy_timeout(db_, ms);
}

void Db::Close() {
  if (db_) sqlite3_close_v2(db_);
  db_ = nullptr;
  path_.clear();
}

void Db::Exec(std::string_view sql) {
  const std::string text(sql);
  char* message = nullptr;
  const int rc = sqlite3_exec(db_, text.c_str(), nullptr, nullptr, &message);
  if (rc != SQLITE_OK) {
    std::string what = message ? message : sqlite3_errstr(rc);
    sqlite3_free(message);
    throw SqliteError(what, IsBusy(rc));
  }
}

std::int64_t Db::QueryInt(std::string_view sql, std::int64_t fallback) {
  Stmt s(*this, sql);
  return s.Step() && !s.IsNull(0) ? s.Int(0) : fallback;
}

std::string Db::QueryText(std::string_view sql) {
  Stmt s(*this, sql);
  return s.Step() ? s.Text(0) : std::string();
}

std::int64_t Db::LastInsertId() const { return sqlite3_last_insert_rowid(db_); }
int Db::Changes() const { return sqlite3_changes(db_); }
std::int64_t Db::DataVersion() { return QueryInt("PRAGMA data_version"); }

void Db::Check(int rc) {
  if (rc == SQLITE_OK || rc == SQLITE_ROW || rc == SQLITE_DONE) return;
  std::string message = db_ ? sqlite3_errmsg(db_) : sqlite3_errstr(rc);
  throw SqliteError(message, IsBusy(rc));
}

namespace {

// A savepoint name not used before in this process.
std::string NextSavepointName() {
  static std::atomic<unsigned> counter{0};
  char name[32];
  std::snprintf(name, sizeof name, "t%u", ++counter);
  return std::string(name);
}

}  // namespace

Transaction::Transaction(Db& db, Mode mode) : db_(db) {
  if (db_.depth_ == 0) {
    db_.Exec(mode == kWrite ? "BEGIN IMMEDIATE" : "BEGIN");
    db_.read_only_ = mode == kRead;
  } else {
    if (mode == kWrite && db_.read_only_) throw SqliteError("a write inside a read transaction");
    name_ = NextSavepointName();
    db_.Exec("SAVEPOINT " + name_);
  }
  ++db_.depth_;
}

Transaction::~Transaction() {
  if (done_) return;
  --db_.depth_;
  try {
    if (name_.empty()) {
      db_.Exec("ROLLBACK");
    } else {
      db_.Exec("ROLLBACK TO " + name_);
      db_.Exec("RELEASE " + name_);
    }
  } catch (const SqliteError&) {
    // The connection is unusable; nothing more can be undone here.
  }
}

void Transaction::Commit() {
  db_.Exec(name_.empty() ? "COMMIT" : "RELEASE " + name_);
  --db_.depth_;
  done_ = true;
}

}  // namespace davodu::sql
