// The SQL engines behind the well database: one connection interface with an
// implementation per engine (SQLite for a file, PostgreSQL for a team
// server), and the thin RAII layer the store uses over it: a connection,
// prepared statements and nestable transactions. Errors are thrown as
// sql::Error; callers that must not throw catch it at their boundary.
//
// SQL text is written once for both engines: parameters are ?1, ?2, ...
// (the PostgreSQL engine rewrites them to $1, $2, ...), upserts use
// ON CONFLICT, new ids come back through RETURNING. Where the two differ
// (table definitions, triggers, the catalogue of tables) the store asks
// Db::dialect().
//
// No engine header is included here so that users of the well-data headers
// need neither.
#ifndef DAVODU_STORE_DETAIL_SQL_DB_H_
#define DAVODU_STORE_DETAIL_SQL_DB_H_

#include <cstdint>
#include <functional>
#include <memory>
#include <stdexcept>
#include <string>
#include <string_view>

namespace davodu::sql {

class Error : public std::runtime_error {
 public:
  enum Kind {
    kFailed,
    // Another connection held the lock longer than the busy timeout.
    kBusy,
    // The server refused the statement to this user (a read-only role).
    kDenied,
    // The connection to the server broke or could not be made.
    kConnection,
  };
  explicit Error(const std::string& what, Kind kind = kFailed)
      : std::runtime_error(what), kind_(kind) {}
  Kind kind() const { return kind_; }
  bool busy() const { return kind_ == kBusy; }
  bool denied() const { return kind_ == kDenied; }

 private:
  Kind kind_;
};

enum class Dialect { kSqlite, kPostgres };
// The kind of a result column's value in the current row.
enum class Type { kNull, kInteger, kReal, kText, kBlob };

// One prepared statement of an engine. Bind indices count from 1, column
// indices from 0. Step runs the statement on its first call after a reset
// and then walks its rows.
class Cursor {
 public:
  virtual ~Cursor() = default;
  virtual void BindInt(int i, std::int64_t v) = 0;
  virtual void BindReal(int i, double v) = 0;
  virtual void BindText(int i, std::string_view utf8) = 0;
  // copy false: the bytes stay valid until the statement is reset.
  virtual void BindBlob(int i, const void* data, std::size_t size, bool copy) = 0;
  virtual void BindNull(int i) = 0;
  virtual bool Step() = 0;
  virtual void Reset() = 0;
  virtual void ClearBindings() = 0;
  virtual Type ColumnType(int col) const = 0;
  virtual std::int64_t Int(int col) const = 0;
  virtual double Real(int col) const = 0;
  virtual std::string Text(int col) const = 0;
  virtual const void* Blob(int col, std::size_t* size) const = 0;
};

// A connection of an engine.
class Connection {
 public:
  virtual ~Connection() = default;
  virtual Dialect dialect() const = 0;
  virtual std::unique_ptr<Cursor> Prepare(std::string_view sql) = 0;
  // Runs statements without parameters that return nothing (several
  // separated by ';').
  virtual void Exec(std::string_view sql) = 0;
  // Rows changed by the last statement.
  virtual int Changes() const = 0;
  // A number that changes when another connection commits; -1 when the
  // engine has none (the store then watches its own stamp).
  virtual std::int64_t DataVersion() = 0;
  virtual void SetBusyTimeout(int ms) = 0;
  // Starts the outermost transaction. A writer's takes the database's write
  // lock at once, waiting up to the busy timeout (kBusy after it); a
  // reader's sees one state of the database throughout and never blocks
  // writers.
  virtual void Begin(bool write) = 0;
  virtual bool HasTable(std::string_view name) = 0;
};

// Opens a SQLite file (created when missing) with foreign keys on.
std::unique_ptr<Connection> OpenSqlite(const std::string& path);
// Opens a PostgreSQL database given as a connection URI
// (postgresql://user@host/dbname?...).
std::unique_ptr<Connection> OpenPostgres(const std::string& uri);
// True for a PostgreSQL connection URI (postgresql:// or postgres://).
bool IsPostgresUri(std::string_view target);
// The target without a password, fit for messages.
std::string RedactedTarget(const std::string& target);

class Db;

// A prepared statement of the connection of db.
class Stmt {
 public:
  Stmt(Db& db, std::string_view sql);
  Stmt(const Stmt&) = delete;
  Stmt& operator=(const Stmt&) = delete;

  Stmt& Bind(int i, std::int64_t v) {
    cursor_->BindInt(i, v);
    return *this;
  }
  Stmt& Bind(int i, int v) { return Bind(i, static_cast<std::int64_t>(v)); }
  // A NaN binds as NULL.
  Stmt& Bind(int i, double v);
  Stmt& Bind(int i, std::string_view utf8) {
    cursor_->BindText(i, utf8);
    return *this;
  }
  Stmt& Bind(int i, const char* utf8) { return Bind(i, std::string_view(utf8)); }
  Stmt& Bind(int i, const std::string& utf8) { return Bind(i, std::string_view(utf8)); }
  Stmt& BindBlob(int i, const void* data, std::size_t size) {
    cursor_->BindBlob(i, data, size, true);
    return *this;
  }
  // Binds without a copy: the bytes must stay until the statement is reset.
  Stmt& BindBlobStatic(int i, const void* data, std::size_t size) {
    cursor_->BindBlob(i, data, size, false);
    return *this;
  }
  Stmt& BindNull(int i) {
    cursor_->BindNull(i);
    return *this;
  }

  // Runs one step: true while a row is available, false when done.
  bool Step() { return cursor_->Step(); }
  // Steps to the end, for statements that return no rows.
  void Run() {
    while (Step()) {
    }
  }
  // Resets the statement for another run (bindings are kept).
  void Reset() { cursor_->Reset(); }
  void ClearBindings() { cursor_->ClearBindings(); }

  Type ColumnType(int col) const { return cursor_->ColumnType(col); }
  bool IsNull(int col) const { return ColumnType(col) == Type::kNull; }
  std::int64_t Int(int col) const { return cursor_->Int(col); }
  double Real(int col) const { return cursor_->Real(col); }
  std::string Text(int col) const { return cursor_->Text(col); }
  // Pointer and size of a blob (null and 0 for an empty or NULL one); valid
  // until the next step.
  const void* Blob(int col, std::size_t* size) const { return cursor_->Blob(col, size); }

 private:
  std::unique_ptr<Cursor> cursor_;
};

// A connection to a well database: a SQLite file or a PostgreSQL URI.
class Db {
 public:
  Db() = default;
  ~Db();
  Db(const Db&) = delete;
  Db& operator=(const Db&) = delete;

  // Opens target: a PostgreSQL URI, else a file path (created when
  // missing). Throws on failure.
  void Open(const std::string& target);
  // Opens target when the connection is first used, and then runs
  // on_open (which may use it); until then nothing is read. When opening
  // or on_open throws, the next use tries again.
  void OpenLater(const std::string& target, std::function<void()> on_open);
  void Close();
  bool IsOpen() const { return conn_ != nullptr || !later_.empty(); }
  // The target as opened (a URI without its password).
  const std::string& path() const { return path_; }
  Dialect dialect() const { return connection().dialect(); }
  bool sqlite() const { return dialect() == Dialect::kSqlite; }

  void Exec(std::string_view sql) { connection().Exec(sql); }
  // The first column of the first row of a query, or fallback when none.
  std::int64_t QueryInt(std::string_view sql, std::int64_t fallback = 0);
  std::string QueryText(std::string_view sql);
  int Changes() const { return connection().Changes(); }
  std::int64_t DataVersion() { return connection().DataVersion(); }
  bool HasTable(std::string_view name) { return connection().HasTable(name); }
  // Milliseconds a statement waits for another connection's lock.
  void SetBusyTimeout(int ms) { connection().SetBusyTimeout(ms); }
  // True inside a transaction.
  bool InTransaction() const { return depth_ > 0; }

  // The open connection; throws Error when the database is closed (after
  // a failure left it so).
  Connection& connection() const {
    if (!conn_) OpenNow();
    return *conn_;
  }

 private:
  friend class Transaction;
  // Opens what OpenLater named, or throws when nothing is to be opened.
  void OpenNow() const;

  mutable std::unique_ptr<Connection> conn_;
  mutable std::string later_;  // the target of OpenLater, until it is opened
  mutable std::function<void()> on_open_;
  std::string path_;
  int depth_ = 0;           // open Transaction objects
  bool read_only_ = false;  // the outermost one is a reader's
};

// A transaction that is rolled back unless committed. Transactions nest
// (savepoints): an inner one commits into the outer one, and rolling back
// the outermost undoes everything.
//
// The outermost transaction of a writer takes the database's write lock at
// once (Connection::Begin), waiting up to the busy timeout while another
// connection holds it: writers never interleave, and a write never fails
// half-way because another writer committed meanwhile. A reader's
// outermost transaction never blocks writers. A write nested in a read
// transaction is refused.
class Transaction {
 public:
  enum Mode { kWrite, kRead };
  explicit Transaction(Db& db, Mode mode = kWrite);
  ~Transaction();
  Transaction(const Transaction&) = delete;
  Transaction& operator=(const Transaction&) = delete;
  void Commit();

 private:
  Db& db_;
  std::string name_;  // the savepoint's; empty for the outermost
  bool done_ = false;
};

}  // namespace davodu::sql

#endif  // DAVODU_STORE_DETAIL_SQL_DB_H_
