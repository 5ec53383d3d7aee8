#include "davodu/store/detail/sql_db.h"

namespace davodu::sql {

std::unique_ptr<Connection> OpenPostgres(const std::string& uri) {
  throw Error("cannot open " + RedactedTarget(uri) + ": PostgreSQL is not supported yet",
              Error::kConnection);
}

}  // namespace davodu::sql
