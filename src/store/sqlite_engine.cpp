// The SQLite engine of the well database: a file, one writer at a time
// (BEGIN IMMEDIATE), readers beside it in WAL mode.
#include <sqlite3.h>

#include "davodu/store/detail/sql_db.h"

namespace davodu::sql {
namespace {

bool IsBusy(int rc) { return (rc & 0xff) == SQLITE_BUSY || (rc & 0xff) == SQLITE_LOCKED; }

Error::Kind KindOf(int rc) {
  if (IsBusy(rc)) return Error::kBusy;
  if ((rc & 0xff) == SQLITE_READONLY || (rc & 0xff) == SQLITE_PERM || (rc & 0xff) == SQLITE_AUTH)
    return Error::kDenied;
  return Error::kFailed;
}

class SqliteConnection;

class SqliteCursor : public Cursor {
 public:
  SqliteCursor(SqliteConnection& conn, std::string_view sql);
  ~SqliteCursor() override { sqlite3_finalize(stmt_); }

  void BindInt(int i, std::int64_t v) override;
  void BindReal(int i, double v) override;
  void BindText(int i, std::string_view utf8) override;
  void BindBlob(int i, const void* data, std::size_t size, bool copy) override;
  void BindNull(int i) override;
  bool Step() override;
  void Reset() override { sqlite3_reset(stmt_); }
  void ClearBindings() override { sqlite3_clear_bindings(stmt_); }
  Type ColumnType(int col) const override {
    switch (sqlite3_column_type(stmt_, col)) {
      case SQLITE_INTEGER:
        return Type::kInteger;
      case SQLITE_FLOAT:
        return Type::kReal;
      case SQLITE_TEXT:
        return Type::kText;
      case SQLITE_BLOB:
        return Type::kBlob;
      default:
        return Type::kNull;
    }
  }
  std::int64_t Int(int col) const override { return sqlite3_column_int64(stmt_, col); }
  double Real(int col) const override { return sqlite3_column_double(stmt_, col); }
  std::string Text(int col) const override {
    const unsigned char* p = sqlite3_column_text(stmt_, col);
    if (!p) return {};
    return std::string(reinterpret_cast<const char*>(p),
                       static_cast<std::size_t>(sqlite3_column_bytes(stmt_, col)));
  }
  const void* Blob(int col, std::size_t* size) const override {
    const void* p = sqlite3_column_blob(stmt_, col);
    *size = p ? static_cast<std::size_t>(sqlite3_column_bytes(stmt_, col)) : 0;
    return *size ? p : nullptr;
  }

 private:
  SqliteConnection& conn_;
  sqlite3_stmt* stmt_ = nullptr;
};

class SqliteConnection : public Connection {
 public:
  explicit SqliteConnection(const std::string& path) {
    const int rc = sqlite3_open_v2(path.c_str(), &db_, SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE,
                                   nullptr);
    if (rc != SQLITE_OK) {
      std::string message = db_ ? sqlite3_errmsg(db_) : sqlite3_errstr(rc);
      sqlite3_close(db_);
      db_ = nullptr;
      throw Error("cannot open " + path + ": " + message, Error::kConnection);
    }
    sqlite3_busy_timeout(db_, 5000);
    Exec("PRAGMA foreign_keys = ON");
  }
  ~SqliteConnection() override { sqlite3_close_v2(db_); }

  Dialect dialect() const override { return Dialect::kSqlite; }
  std::unique_ptr<Cursor> Prepare(std::string_view sql) override {
    return std::make_unique<SqliteCursor>(*this, sql);
  }
  void Exec(std::string_view sql) override {
    const std::string text(sql);
    char* message = nullptr;
    const int rc = sqlite3_exec(db_, text.c_str(), nullptr, nullptr, &message);
    if (rc != SQLITE_OK) {
      std::string what = message ? message : sqlite3_errstr(rc);
      sqlite3_free(message);
      throw Error(what, KindOf(rc));
    }
  }
  int Changes() const override { return sqlite3_changes(db_); }
  std::int64_t DataVersion() override {
    SqliteCursor s(*this, "PRAGMA data_version");
    return s.Step() ? s.Int(0) : 0;
  }
  void SetBusyTimeout(int ms) override { sqlite3_busy_timeout(db_, ms); }
  // A deferred start would read first and then fail at its first write,
  // without waiting, whenever another writer committed meanwhile.
  void Begin(bool write) override { Exec(write ? "BEGIN IMMEDIATE" : "BEGIN"); }
  bool HasTable(std::string_view name) override {
    SqliteCursor s(*this, "SELECT count(*) FROM sqlite_master WHERE type = 'table' AND name = ?1");
    s.BindText(1, name);
    return s.Step() && s.Int(0) > 0;
  }

  sqlite3* handle() { return db_; }
  // Throws Error with the connection's message when rc is an error.
  void Check(int rc) {
    if (rc == SQLITE_OK || rc == SQLITE_ROW || rc == SQLITE_DONE) return;
    throw Error(sqlite3_errmsg(db_), KindOf(rc));
  }

 private:
  sqlite3* db_ = nullptr;
};

SqliteCursor::SqliteCursor(SqliteConnection& conn, std::string_view sql) : conn_(conn) {
  conn_.Check(sqlite3_prepare_v2(conn_.handle(), sql.data(), static_cast<int>(sql.size()), &stmt_,
                                 nullptr));
}

void SqliteCursor::BindInt(int i, std::int64_t v) { conn_.Check(sqlite3_bind_int64(stmt_, i, v)); }
void SqliteCursor::BindReal(int i, double v) { conn_.Check(sqlite3_bind_double(stmt_, i, v)); }

void SqliteCursor::BindText(int i, std::string_view utf8) {
  conn_.Check(sqlite3_bind_text(stmt_, i, utf8.data(), static_cast<int>(utf8.size()),
                                SQLITE_TRANSIENT));
}

void SqliteCursor::BindBlob(int i, const void* data, std::size_t size, bool copy) {
  conn_.Check(sqlite3_bind_blob64(stmt_, i, size ? data : "", size,
                                  copy ? SQLITE_TRANSIENT : SQLITE_STATIC));
}

void SqliteCursor::BindNull(int i) { conn_.Check(sqlite3_bind_null(stmt_, i)); }

bool SqliteCursor::Step() {
  const int rc = sqlite3_step(stmt_);
  if (rc == SQLITE_ROW) return true;
  if (rc == SQLITE_DONE) return false;
  sqlite3_reset(stmt_);  // makes the connection report the step's real error
  conn_.Check(rc);
  return false;
}

}  // namespace

std::unique_ptr<Connection> OpenSqlite(const std::string& path) {
  return std::make_unique<SqliteConnection>(path);
}

}  // namespace davodu::sql
