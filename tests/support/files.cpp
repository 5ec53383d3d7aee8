#include "support/files.h"

#include <algorithm>
#include <cstdlib>

namespace davodu::testing {

FileSizeLimit::FileSizeLimit(std::size_t max_bytes) {
  getrlimit(RLIMIT_FSIZE, &previous_);
  previous_handler_ = std::signal(SIGXFSZ, SIG_IGN);
  rlimit limited = previous_;
  limited.rlim_cur = static_cast<rlim_t>(max_bytes);
  if (previous_.rlim_max != RLIM_INFINITY) limited.rlim_cur = std::min(limited.rlim_cur, previous_.rlim_max);
  EXPECT_EQ(setrlimit(RLIMIT_FSIZE, &limited), 0);
}

FileSizeLimit::~FileSizeLimit() {
  setrlimit(RLIMIT_FSIZE, &previous_);
  std::signal(SIGXFSZ, previous_handler_);
}

std::vector<std::string> FolderEntries(const std::string& dir) {
  std::vector<std::string> names;
  std::error_code ec;
  for (const auto& entry : std::filesystem::directory_iterator(dir, ec))
    names.push_back(entry.path().filename().string());
  std::sort(names.begin(), names.end());
  return names;
}

std::string SharedData(const std::string& relative) {
  return std::string(DAVODU_SOURCE_DIR "/../shared/data/") + relative;
}

bool InContinuousIntegration() {
  const char* ci = std::getenv("CI");
  return ci != nullptr && *ci != '\0';
}

}  // namespace davodu::testing
