#include "support/cli.h"

#include <sys/wait.h>

#include <array>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <sstream>

#include <gtest/gtest.h>

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
  fs::path dir = fs::path(DAVODU_TEST_SCRATCH) / test / name;
  fs::remove_all(dir);
  fs::create_directories(dir);
  return dir.string();
}

std::string ReadFile(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::ostringstream s;
  s << in.rdbuf();
  return s.str();
}

}  // namespace davodu::testing
