// Helpers shared by the commands of both programs.
#include <cstdio>
#include <filesystem>
#include <string>

#include "commands.h"

namespace davodu::app {

bool MakeDir(const std::string& dir) {
  std::error_code ec;
  std::filesystem::create_directories(dir, ec);
  if (!ec) return true;
  std::fprintf(stderr, "davodu: cannot create %s: %s\n", dir.c_str(), ec.message().c_str());
  return false;
}

int UsageError(const std::string& message) {
  std::fprintf(stderr, "davodu: %s\nRun 'davodu --help' for usage.\n", message.c_str());
  return 2;
}

}  // namespace davodu::app
