// File system helpers of the tests: a limit on the size of written files
// (a full disk, for any user, root included), the files of a folder, and the
// shared corpus of sample data.
#ifndef DAVODU_TESTS_SUPPORT_FILES_H_
#define DAVODU_TESTS_SUPPORT_FILES_H_

#include <sys/resource.h>

#include <csignal>
#include <cstddef>
#include <filesystem>
#include <string>
#include <vector>

#include <gtest/gtest.h>

namespace davodu::testing {

// While alive, no file of this process or of the programs it starts can
// grow beyond max_bytes: a write past the limit fails with EFBIG ("File too
// large"), as a write to a full disk fails. Only the soft limit is lowered,
// so that it can be restored; SIGXFSZ is ignored meanwhile.
class FileSizeLimit {
 public:
  explicit FileSizeLimit(std::size_t max_bytes);
  ~FileSizeLimit();
  FileSizeLimit(const FileSizeLimit&) = delete;
  FileSizeLimit& operator=(const FileSizeLimit&) = delete;

 private:
  rlimit previous_{};
  void (*previous_handler_)(int) = nullptr;
};

// The names of the entries of a folder (hidden ones included), sorted.
std::vector<std::string> FolderEntries(const std::string& dir);

// The path of a file or folder of the shared corpus (/work/shared/data
// beside the source tree), e.g. SharedData("lasio-examples").
std::string SharedData(const std::string& relative);
// True when the environment variable CI is set (and not empty).
bool InContinuousIntegration();

}  // namespace davodu::testing

// Ends the running test when a file of the shared corpus is missing: as a
// failure in continuous integration (a green run must have read the corpus),
// as a skip in a developer's local build.
#define DAVODU_REQUIRE_SHARED_DATA(path)                                                      \
  do {                                                                                       \
    if (!std::filesystem::exists(path)) {                                                    \
      if (::davodu::testing::InContinuousIntegration())                                      \
        FAIL() << "the shared corpus is missing: no " << (path) << " (CI is set)";           \
      else                                                                                   \
        GTEST_SKIP() << "the shared corpus is missing: no " << (path);                       \
    }                                                                                        \
  } while (0)

#endif  // DAVODU_TESTS_SUPPORT_FILES_H_
