// Runs the davodu command for end-to-end tests.
#ifndef DAVODU_TESTS_SUPPORT_CLI_H_
#define DAVODU_TESTS_SUPPORT_CLI_H_

#include <string>

namespace davodu::testing {

struct CliResult {
  int exit_code = -1;
  std::string out;  // stdout and stderr together
};

// Runs `davodu ARGS` through the shell (ARGS is pasted as it is).
CliResult RunCli(const std::string& args);

// A fresh scratch folder of the running test, under the test build tree.
std::string ScratchDir(const std::string& name);

// A fresh well database of the running test: the file dir/wells.db, or,
// when the environment variable DAVODU_TEST_PG names a PostgreSQL server's
// maintenance database (postgresql://user@/postgres?host=...), a new empty
// database on that server named after the test and dir. Calls with the same
// dir in one test give the same database.
std::string ScratchDb(const std::string& dir);
// True when the tests run against a PostgreSQL server (DAVODU_TEST_PG).
bool OnPostgres();

// The whole content of a file ("" when it cannot be read).
std::string ReadFile(const std::string& path);

}  // namespace davodu::testing

#endif  // DAVODU_TESTS_SUPPORT_CLI_H_
