// The PostgreSQL engine of the well database: a team's database on a
// server, shared by many clients at once.
//
// Writers take one transaction-scoped advisory lock as their first act, so
// that writes are serial as in SQLite (a second writer waits up to the busy
// timeout, then fails cleanly and changes nothing); readers use repeatable
// read snapshots and never wait. Results come back in binary form (curve
// samples as they are stored); parameters go as text, blobs as bytes.
#include <algorithm>
#include <bit>
#include <charconv>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <vector>

#include "davodu/store/detail/libpq.h"
#include "davodu/store/detail/sql_db.h"

namespace davodu::sql {
namespace {

// Type oids of the built-in types the store reads.
constexpr Oid kBoolOid = 16;
constexpr Oid kByteaOid = 17;
constexpr Oid kInt8Oid = 20;
constexpr Oid kInt2Oid = 21;
constexpr Oid kInt4Oid = 23;
constexpr Oid kOidOid = 26;
constexpr Oid kFloat4Oid = 700;
constexpr Oid kFloat8Oid = 701;
constexpr Oid kNumericOid = 1700;

// The key of the advisory lock every writer holds ("davo").
constexpr long long kWriteLockKey = 0x6461766f;

// A number in network byte order.
template <class T>
T ReadBig(const char* p) {
  char bytes[sizeof(T)];
  std::memcpy(bytes, p, sizeof bytes);
  if constexpr (std::endian::native == std::endian::little) std::reverse(bytes, bytes + sizeof bytes);
  T v;
  std::memcpy(&v, bytes, sizeof v);
  return v;
}

// A NUMERIC value in binary form (digits of base 10000) as a double.
double NumericValue(const char* p, int size) {
  if (size < 8) return 0;
  const auto ndigits = ReadBig<std::int16_t>(p);
  const auto weight = ReadBig<std::int16_t>(p + 2);
  const auto sign = ReadBig<std::uint16_t>(p + 4);
  if (sign == 0xC000) return std::nan("");
  double v = 0;
  for (int i = 0; i < ndigits && 8 + 2 * i + 1 < size; ++i)
    v += ReadBig<std::int16_t>(p + 8 + 2 * i) * std::pow(10000.0, weight - i);
  return sign == 0x4000 ? -v : v;
}

// ?N becomes $N and a bare ? the next $N; quoted texts and names are left
// alone. *used gets, for each number up to the highest, whether the
// statement refers to it.
std::string PgParameters(std::string_view sql, std::vector<bool>* used) {
  std::string out;
  out.reserve(sql.size() + 8);
  char quote = 0;
  int next = 0;
  used->clear();
  for (std::size_t i = 0; i < sql.size(); ++i) {
    const char c = sql[i];
    if (quote) {
      if (c == quote) quote = 0;
      out += c;
      continue;
    }
    if (c == '\'' || c == '"') {
      quote = c;
      out += c;
      continue;
    }
    if (c != '?') {
      out += c;
      continue;
    }
    int n = 0;
    std::size_t j = i + 1;
    while (j < sql.size() && sql[j] >= '0' && sql[j] <= '9') n = n * 10 + (sql[j++] - '0');
    if (j == i + 1) n = ++next;
    next = std::max(next, n);
    if (n > static_cast<int>(used->size())) used->resize(static_cast<std::size_t>(n));
    if (n > 0) (*used)[static_cast<std::size_t>(n - 1)] = true;
    out += '$' + std::to_string(n);
    i = j - 1;
  }
  return out;
}

class PgConnection;

class PgCursor : public Cursor {
 public:
  PgCursor(PgConnection& conn, std::string_view sql);
  ~PgCursor() override;

  void BindInt(int i, std::int64_t v) override { SetText(i, std::to_string(v), kInt8Oid); }
  void BindReal(int i, double v) override {
    char buf[64];
    const auto end = std::to_chars(buf, buf + sizeof buf, v).ptr;
    SetText(i, std::string(buf, end), kFloat8Oid);
  }
  void BindText(int i, std::string_view utf8) override { SetText(i, std::string(utf8), 0); }
  void BindBlob(int i, const void* data, std::size_t size, bool copy) override {
    Param& p = At(i);
    p = Param{};
    p.null = false;
    p.type = kByteaOid;
    p.binary = true;
    if (copy) {
      p.value.assign(static_cast<const char*>(data), size);
      p.data = nullptr;
    } else {
      p.data = static_cast<const char*>(data);
    }
    p.size = size;
  }
  void BindNull(int i) override { At(i) = Param{}; }
  bool Step() override;
  void Reset() override {
    Pq().PQclear(result_);
    result_ = nullptr;
    row_ = -1;
  }
  void ClearBindings() override {
    for (Param& p : params_) p = Param{};
  }

  Type ColumnType(int col) const override {
    if (Pq().PQgetisnull(result_, row_, col)) return Type::kNull;
    switch (Pq().PQftype(result_, col)) {
      case kBoolOid:
      case kInt2Oid:
      case kInt4Oid:
      case kInt8Oid:
      case kOidOid:
        return Type::kInteger;
      case kFloat4Oid:
      case kFloat8Oid:
      case kNumericOid:
        return Type::kReal;
      case kByteaOid:
        return Type::kBlob;
      default:
        return Type::kText;
    }
  }
  std::int64_t Int(int col) const override {
    if (Pq().PQgetisnull(result_, row_, col)) return 0;
    const char* p = Pq().PQgetvalue(result_, row_, col);
    switch (Pq().PQftype(result_, col)) {
      case kBoolOid:
        return *p ? 1 : 0;
      case kInt2Oid:
        return ReadBig<std::int16_t>(p);
      case kInt4Oid:
      case kOidOid:
        return ReadBig<std::int32_t>(p);
      case kInt8Oid:
        return ReadBig<std::int64_t>(p);
      case kFloat4Oid:
      case kFloat8Oid:
      case kNumericOid:
        return static_cast<std::int64_t>(Real(col));
      default: {
        std::int64_t v = 0;
        std::from_chars(p, p + Pq().PQgetlength(result_, row_, col), v);
        return v;
      }
    }
  }
  double Real(int col) const override {
    if (Pq().PQgetisnull(result_, row_, col)) return 0;
    const char* p = Pq().PQgetvalue(result_, row_, col);
    switch (Pq().PQftype(result_, col)) {
      case kFloat8Oid:
        return std::bit_cast<double>(ReadBig<std::uint64_t>(p));
      case kFloat4Oid:
        return std::bit_cast<float>(ReadBig<std::uint32_t>(p));
      case kNumericOid:
        return NumericValue(p, Pq().PQgetlength(result_, row_, col));
      case kBoolOid:
      case kInt2Oid:
      case kInt4Oid:
      case kInt8Oid:
      case kOidOid:
        return static_cast<double>(Int(col));
      default: {
        double v = 0;
        std::from_chars(p, p + Pq().PQgetlength(result_, row_, col), v);
        return v;
      }
    }
  }
  std::string Text(int col) const override {
    if (Pq().PQgetisnull(result_, row_, col)) return {};
    switch (ColumnType(col)) {
      case Type::kInteger:
        return std::to_string(Int(col));
      case Type::kReal: {
        char buf[64];
        const auto end = std::to_chars(buf, buf + sizeof buf, Real(col)).ptr;
        return std::string(buf, end);
      }
      default:
        return std::string(Pq().PQgetvalue(result_, row_, col),
                           static_cast<std::size_t>(Pq().PQgetlength(result_, row_, col)));
    }
  }
  const void* Blob(int col, std::size_t* size) const override {
    *size = Pq().PQgetisnull(result_, row_, col) ? 0 : static_cast<std::size_t>(Pq().PQgetlength(result_, row_, col));
    return *size ? Pq().PQgetvalue(result_, row_, col) : nullptr;
  }

 private:
  struct Param {
    bool null = true;
    bool binary = false;
    Oid type = 0;
    std::string value;
    const char* data = nullptr;  // a blob bound without a copy
    std::size_t size = 0;
  };
  Param& At(int i) {
    if (i < 1 || i > static_cast<int>(params_.size()))
      throw Error("parameter " + std::to_string(i) + " out of range in: " + sql_);
    return params_[static_cast<std::size_t>(i - 1)];
  }
  void SetText(int i, std::string text, Oid type) {
    Param& p = At(i);
    p = Param{};
    p.null = false;
    p.type = type;
    p.value = std::move(text);
  }
  void Execute();

  PgConnection& conn_;
  std::string sql_;
  std::vector<Param> params_;
  std::vector<bool> used_;  // the parameters the statement refers to
  std::string prepared_;  // the name of the server-side statement, once prepared
  std::vector<Oid> prepared_types_;
  int runs_ = 0;
  PGresult* result_ = nullptr;
  int row_ = -1;
};

class PgConnection : public Connection {
 public:
  explicit PgConnection(const std::string& uri) : target_(RedactedTarget(uri)) {
    conn_ = Pq().PQconnectdb(uri.c_str());
    if (!conn_ || Pq().PQstatus(conn_) != CONNECTION_OK) {
      std::string message = conn_ ? Pq().PQerrorMessage(conn_) : "out of memory";
      while (!message.empty() && (message.back() == '\n' || message.back() == ' ')) message.pop_back();
      Pq().PQfinish(conn_);
      conn_ = nullptr;
      throw Error("cannot open " + target_ + ": " + message, Error::kConnection);
    }
    Pq().PQsetNoticeProcessor(conn_, [](void*, const char*) {}, nullptr);
    Exec("SET client_encoding = 'UTF8'; SET client_min_messages = warning");
    SetBusyTimeout(5000);
  }
  ~PgConnection() override { Pq().PQfinish(conn_); }

  Dialect dialect() const override { return Dialect::kPostgres; }
  std::unique_ptr<Cursor> Prepare(std::string_view sql) override {
    return std::make_unique<PgCursor>(*this, sql);
  }
  void Exec(std::string_view sql) override {
    const std::string text(sql);
    Pq().PQclear(Check(Pq().PQexec(conn_, text.c_str())));
  }
  int Changes() const override { return changes_; }
  std::int64_t DataVersion() override { return -1; }
  void SetBusyTimeout(int ms) override { Exec("SET lock_timeout = " + std::to_string(ms)); }
  void Begin(bool write) override {
    FlushDeallocations();
    try {
      Exec(write ? "BEGIN; SELECT pg_advisory_xact_lock(" + std::to_string(kWriteLockKey) + ")"
                 : std::string("BEGIN ISOLATION LEVEL REPEATABLE READ, READ ONLY"));
    } catch (const Error&) {
      Pq().PQclear(Pq().PQexec(conn_, "ROLLBACK"));
      throw;
    }
  }
  bool HasTable(std::string_view name) override {
    PgCursor s(*this,
               "SELECT count(*) FROM pg_catalog.pg_tables WHERE schemaname = current_schema() "
               "AND tablename = ?1");
    s.BindText(1, name);
    return s.Step() && s.Int(0) > 0;
  }

  PGconn* handle() { return conn_; }
  std::string NextStatementName() {
    char name[24];
    std::snprintf(name, sizeof name, "s%u", ++statements_);
    return name;
  }
  // A prepared statement no longer used; dropped when no transaction is
  // open (inside a failed one the server would refuse).
  void Forget(std::string name) {
    to_deallocate_.push_back(std::move(name));
    if (Pq().PQtransactionStatus(conn_) == PQTRANS_IDLE) FlushDeallocations();
  }
  // Takes the result of a command: the rows it changed, or an Error naming
  // the statement's fault. Returns the result when it succeeded.
  PGresult* Check(PGresult* result) {
    const ExecStatusType status = result ? Pq().PQresultStatus(result) : PGRES_FATAL_ERROR;
    if (status == PGRES_COMMAND_OK || status == PGRES_TUPLES_OK) {
      const char* changed = Pq().PQcmdTuples(result);
      changes_ = changed && *changed ? std::atoi(changed) : 0;
      if (status == PGRES_COMMAND_OK) {
        Pq().PQclear(result);
        return nullptr;
      }
      return result;
    }
    std::string message;
    std::string state;
    if (result) {
      if (const char* m = Pq().PQresultErrorField(result, PG_DIAG_MESSAGE_PRIMARY)) message = m;
      if (const char* s = Pq().PQresultErrorField(result, PG_DIAG_SQLSTATE)) state = s;
    }
    if (message.empty()) {
      message = Pq().PQerrorMessage(conn_);
      while (!message.empty() && (message.back() == '\n' || message.back() == ' ')) message.pop_back();
    }
    Pq().PQclear(result);
    Error::Kind kind = Error::kFailed;
    if (Pq().PQstatus(conn_) != CONNECTION_OK) {
      kind = Error::kConnection;
      message = target_ + ": " + message;
    } else if (state == "42501" || state == "25006") {
      kind = Error::kDenied;
      message += " (user " + std::string(Pq().PQuser(conn_)) + " of " + target_ +
                 " may only read: the server refuses the write)";
    } else if (state == "55P03" || state == "40001" || state == "40P01" || state == "57014") {
      kind = Error::kBusy;
      message = "database is busy: " + message;
    }
    throw Error(message, kind);
  }

 private:
  void FlushDeallocations() {
    for (const std::string& name : to_deallocate_)
      Pq().PQclear(Pq().PQexec(conn_, ("DEALLOCATE " + name).c_str()));
    to_deallocate_.clear();
  }

  PGconn* conn_ = nullptr;
  std::string target_;
  int changes_ = 0;
  unsigned statements_ = 0;
  std::vector<std::string> to_deallocate_;
};

PgCursor::PgCursor(PgConnection& conn, std::string_view sql) : conn_(conn) {
  sql_ = PgParameters(sql, &used_);
  params_.resize(used_.size());
}

PgCursor::~PgCursor() {
  Pq().PQclear(result_);
  if (!prepared_.empty()) conn_.Forget(prepared_);
}

void PgCursor::Execute() {
  const int n = static_cast<int>(params_.size());
  std::vector<Oid> types(params_.size());
  std::vector<const char*> values(params_.size());
  std::vector<int> lengths(params_.size());
  std::vector<int> formats(params_.size());
  for (std::size_t i = 0; i < params_.size(); ++i) {
    const Param& p = params_[i];
    // The server infers the types of NULLs from where they are used; one
    // the statement never refers to (a key the table does not have) is
    // sent as text.
    constexpr Oid kTextOid = 25;
    types[i] = p.null ? (used_[i] ? 0 : kTextOid) : p.type;
    values[i] = p.null ? nullptr : p.data ? p.data : p.value.data();
    lengths[i] = static_cast<int>(p.data ? p.size : p.value.size());
    formats[i] = p.binary ? 1 : 0;
  }
  PGconn* pg = conn_.handle();
  PGresult* result = nullptr;
  // The first run goes unprepared (one round trip); a statement run again
  // is prepared once per set of parameter types and reused.
  if (runs_++ == 0) {
    result = Pq().PQexecParams(pg, sql_.c_str(), n, types.data(), values.data(), lengths.data(),
                          formats.data(), 1);
  } else {
    if (prepared_.empty() || types != prepared_types_) {
      if (!prepared_.empty()) conn_.Forget(prepared_);
      prepared_.clear();
      const std::string name = conn_.NextStatementName();
      conn_.Check(Pq().PQprepare(pg, name.c_str(), sql_.c_str(), n, types.data()));
      prepared_ = name;
      prepared_types_ = types;
    }
    result = Pq().PQexecPrepared(pg, prepared_.c_str(), n, values.data(), lengths.data(),
                            formats.data(), 1);
  }
  result_ = conn_.Check(result);
}

bool PgCursor::Step() {
  if (row_ < 0) {
    Pq().PQclear(result_);
    result_ = nullptr;
    Execute();
    row_ = 0;
  } else {
    ++row_;
  }
  if (result_ && row_ < Pq().PQntuples(result_)) return true;
  row_ = -1;  // as in SQLite, a statement stepped past its end runs again
  return false;
}

}  // namespace

std::unique_ptr<Connection> OpenPostgres(const std::string& uri) {
  return std::make_unique<PgConnection>(uri);
}

}  // namespace davodu::sql
