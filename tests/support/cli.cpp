#include "support/cli.h"

#include <sys/wait.h>

#include <array>
#include <cctype>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <set>
#include <filesystem>
#include <fstream>
#include <sstream>

#include <gtest/gtest.h>

#include "davodu/store/detail/sql_db.h"

namespace davodu::testing {

CliResult RunCli(const std::string& args) {
  CliResult result;
  const std::string command = std::string(DAVODU_CLI) + " " + args + " 2>&1";
  FILE* pipe = popen(command.c_str(), "r");
  if (!pipe) return result;
  std::array<char, 4096> buffer;
  std::size_t n;
  while ((n = fread(buffer.data(), 1, buffer.size(), pipe)) > 0) result.out.append(buffer.data(), n);
  const int status = pclose(pipe);
  result.exit_code = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
  return result;
}

std::string ScratchDir(const std::string& name) {
  namespace fs = std::filesystem;
  // Under the build tree and the running test, so that tests run in
  // parallel, and test runs of several build trees, never share a folder.
  std::string test = "no-test";
  if (const auto* info = ::testing::UnitTest::GetInstance()->current_test_info())
    test = std::string(info->test_suite_name()) + "." + info->name();
  for (char& c : test)
    if (c == '/') c = '_';
  // The PostgreSQL run of the same tests goes on beside the plain one in
  // the same build tree: it has folders of its own.
  fs::path dir = fs::path(DAVODU_TEST_SCRATCH) / (OnPostgres() ? "pg" : "") / test / name;
  fs::remove_all(dir);
  fs::create_directories(dir);
  return dir.string();
}

bool OnPostgres() {
  const char* server = std::getenv("DAVODU_TEST_PG");
  return server && *server;
}

std::string ScratchDb(const std::string& dir) {
  if (!OnPostgres()) return dir + "/wells.db";
  const std::string server = std::getenv("DAVODU_TEST_PG");
  // A name of at most 63 bytes: the tail of the folder (which holds the
  // test's name) and a hash of all of it.
  std::string name;
  for (char c : dir) name += std::isalnum(static_cast<unsigned char>(c)) ? static_cast<char>(std::tolower(c)) : '_';
  char hash[24];
  std::snprintf(hash, sizeof hash, "%016zx", std::hash<std::string>()(dir));
  name = "t_" + name.substr(name.size() > 40 ? name.size() - 40 : 0) + "_" + hash;
  // postgresql://user@/postgres?host=... -> postgresql://user@/NAME?host=...
  const std::size_t query = server.find('?');
  const std::size_t slash = server.rfind('/', query);
  const std::string uri = server.substr(0, slash + 1) + name +
                          (query == std::string::npos ? "" : server.substr(query));
  static std::set<std::string> made;
  if (made.insert(name).second) {
    sql::Db admin;
    admin.Open(server);
    admin.Exec("DROP DATABASE IF EXISTS " + name + " WITH (FORCE)");
    admin.Exec("CREATE DATABASE " + name);
  }
  return uri;
}

std::string ReadFile(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::ostringstream s;
  s << in.rdbuf();
  return s.str();
}

}  // namespace davodu::testing
