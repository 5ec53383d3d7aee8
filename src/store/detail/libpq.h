// The PostgreSQL client library, loaded when the first PostgreSQL database
// is opened rather than linked: a program that only ever opens database
// files (an import, a chart) then does not load the client and the TLS,
// Kerberos and LDAP libraries it brings.
#ifndef DAVODU_STORE_DETAIL_LIBPQ_H_
#define DAVODU_STORE_DETAIL_LIBPQ_H_

#include <libpq-fe.h>

namespace davodu::sql {

#define DAVODU_LIBPQ_FUNCTIONS(X)                                                             \
  X(PQclear) X(PQcmdTuples) X(PQconnectdb) X(PQerrorMessage) X(PQexec) X(PQexecParams)      \
  X(PQexecPrepared) X(PQfinish) X(PQftype) X(PQgetisnull) X(PQgetlength) X(PQgetvalue)      \
  X(PQntuples) X(PQprepare) X(PQresultErrorField) X(PQresultStatus) X(PQsetNoticeProcessor) \
  X(PQstatus) X(PQtransactionStatus) X(PQuser)

// The functions of the client library the engine calls, by their own names.
struct LibPq {
#define DAVODU_LIBPQ_MEMBER(name) decltype(&::name) name = nullptr;
  DAVODU_LIBPQ_FUNCTIONS(DAVODU_LIBPQ_MEMBER)
#undef DAVODU_LIBPQ_MEMBER
};

// The loaded library; loads it on the first call (thread-safe). Throws
// Error (kConnection) naming the library when it is missing or lacks one
// of the functions.
const LibPq& Pq();

}  // namespace davodu::sql

#endif  // DAVODU_STORE_DETAIL_LIBPQ_H_
