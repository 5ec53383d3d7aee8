// A thin RAII layer over SQLite for the well database: a connection, prepared
// statements and nestable transactions. Errors are thrown as SqliteError;
// callers that must not throw catch it at their boundary.
//
// sqlite3.h is not included here so that users of the well-data headers do
// not need it.
#ifndef DAVODU_STORE_DETAIL_SQLITE_DB_H_
#define DAVODU_STORE_DETAIL_SQLITE_DB_H_

#include <cstdint>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

struct sqlite3;
struct sqlite3_stmt;

namespace davodu::sql {

class SqliteError : public std::runtime_error {
 public:
  explicit SqliteError(const std::string& what, bool busy = false)
      : std::runtime_error(what), busy_(busy) {}
  // The database was locked by another connection longer than the busy
  // timeout.
  bool busy() const { return busy_; }

 private:
  bool busy_;
};

class Db;

// A prepared statement. Bind indices count from 1, column indices from 0.
class Stmt {
 public:
  Stmt(Db& db, std::string_view sql);
  ~Stmt();
  Stmt(const Stmt&) = delete;
  Stmt& operator=(const Stmt&) = delete;

  Stmt& Bind(int i, std::int64_t v);
  Stmt& Bind(int i, int v) { return Bind(i, static_cast<std::int64_t>(v)); }
  // A NaN binds as NULL.
  Stmt& Bind(int i, double v);
  Stmt& Bind(int i, std::string_view utf8);
  Stmt& Bind(int i, const char* utf8) { return Bind(i, std::string_view(utf8)); }
  Stmt& BindBlob(int i, const void* data, std::size_t size);
  // Binds without a copy: the bytes must stay until the statement is reset.
  Stmt& BindBlobStatic(int i, const void* data, std::size_t size);
  Stmt& BindNull(int i);

  // Runs one step: true while a row is available, false when done.
  bool Step();
  // Steps to the end, for statements that return no rows.
  void Run();
  // Resets the statement for another run (bindings are kept).
  void Reset();
  void ClearBindings();

  // Column kinds as SQLite reports them (SQLITE_INTEGER, ...).
  int Type(int col) const;
  bool IsNull(int col) const;
  std::int64_t Int(int col) const;
  double Real(int col) const;
  std::string Text(int col) const;
  // Pointer and size of a blob (null and 0 for an empty or NULL one); valid
  // until the next step.
  const void* Blob(int col, std::size_t* size) const;

 private:
  Db& db_;
  sqlite3_stmt* stmt_ = nullptr;
};

// A connection with foreign keys on.
class Db {
 public:
  Db() = default;
  ~Db();
  Db(const Db&) = delete;
  Db& operator=(const Db&) = delete;

  // Opens (creating when missing) the file. Throws on failure.
  void Open(const std::string& path);
  void Close();
  bool IsOpen() const { return db_ != nullptr; }
  const std::string& path() const { return path_; }

  // Runs statements that return nothing (several separated by ';').
  void Exec(std::string_view sql);
  // The first column of the first row of a query, or fallback when none.
  std::int64_t QueryInt(std::string_view sql, std::int64_t fallback = 0);
  std::string QueryText(std::string_view sql);
  std::int64_t LastInsertId() const;
  // Rows changed by the last statement.
  int Changes() const;
  // The counter SQLite changes when another connection commits to the file.
  std::int64_t DataVersion();

  // Milliseconds a statement waits for another connection's lock.
  void SetBusyTimeout(int ms);

  sqlite3* handle() { return db_; }
  // Throws SqliteError with the connection's message when rc is an error.
  void Check(int rc);

 private:
  friend class Transaction;
  sqlite3* db_ = nullptr;
  std::string path_;
  int depth_ = 0;           // open Transaction objects
  bool read_only_ = false;  // the outermost one is a reader's
};

// A transaction that is rolled back unless committed. Transactions nest
// (savepoints): an inner one commits into the outer one, and rolling back
// the outermost undoes everything.
//
// The outermost transaction of a writer starts with BEGIN IMMEDIATE: it
// takes the database's write lock at once, waiting up to the busy timeout
// while another connection (another process) holds it. A deferred start
// would read first and then fail at its first write, without waiting,
// whenever another writer committed meanwhile. A reader's outermost
// transaction is deferred and never blocks writers (WAL). A write nested in
// a read transaction is refused.
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

#endif  // DAVODU_STORE_DETAIL_SQLITE_DB_H_
