#include "davodu/host/util/atomic_file.h"

#include <sys/stat.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "support/cli.h"
#include "support/files.h"

namespace davodu::testing {
namespace {

namespace fs = std::filesystem;

void Put(const std::string& path, const std::string& text) { std::ofstream(path, std::ios::binary) << text; }

unsigned ModeOf(const std::string& path) {
  struct stat st {};
  EXPECT_EQ(::stat(path.c_str(), &st), 0) << path;
  return st.st_mode & 07777;
}

TEST(AtomicFile, ANewFileGetsTheUsualModeAndNothingElseIsLeft) {
  const std::string dir = ScratchDir("new");
  std::string error;
  ASSERT_TRUE(WriteFileAtomically(dir + "/a.txt", "hello", &error)) << error;
  EXPECT_EQ(ReadFile(dir + "/a.txt"), "hello");
  const mode_t mask = ::umask(022);
  ::umask(mask);
  EXPECT_EQ(ModeOf(dir + "/a.txt"), 0666u & ~static_cast<unsigned>(mask));
  EXPECT_EQ(FolderEntries(dir), std::vector<std::string>{"a.txt"});
}

TEST(AtomicFile, AReplacedFileKeepsItsPermissions) {
  const std::string dir = ScratchDir("mode");
  const std::string path = dir + "/chart.wpd";
  Put(path, "old");
  ASSERT_EQ(::chmod(path.c_str(), 0640), 0);
  std::string error;
  ASSERT_TRUE(WriteFileAtomically(path, "new", &error)) << error;
  EXPECT_EQ(ReadFile(path), "new");
  EXPECT_EQ(ModeOf(path), 0640u);
}

// A link is followed through a chain, relative or absolute: the file at its
// end is replaced (or made) and every link stays a link.
TEST(AtomicFile, SymbolicLinksAreFollowedAndKept) {
  const std::string dir = ScratchDir("links");
  fs::create_directory(dir + "/real");
  Put(dir + "/real/data.txt", "old");
  fs::create_symlink("real/data.txt", dir + "/hop");       // relative
  fs::create_symlink(dir + "/hop", dir + "/link.txt");     // absolute, to a link
  fs::create_symlink("real/later.txt", dir + "/dangling");  // to a file not made yet
  std::string error;
  ASSERT_TRUE(WriteFileAtomically(dir + "/link.txt", "new", &error)) << error;
  ASSERT_TRUE(WriteFileAtomically(dir + "/dangling", "made", &error)) << error;
  EXPECT_TRUE(fs::is_symlink(dir + "/link.txt"));
  EXPECT_TRUE(fs::is_symlink(dir + "/hop"));
  EXPECT_TRUE(fs::is_symlink(dir + "/dangling"));
  EXPECT_EQ(ReadFile(dir + "/real/data.txt"), "new");
  EXPECT_EQ(ReadFile(dir + "/real/later.txt"), "made");
  EXPECT_EQ(FolderEntries(dir + "/real"), (std::vector<std::string>{"data.txt", "later.txt"}));

  fs::create_symlink("loop-b", dir + "/loop-a");
  fs::create_symlink("loop-a", dir + "/loop-b");
  EXPECT_FALSE(WriteFileAtomically(dir + "/loop-a", "x", &error));
  EXPECT_EQ(error.rfind("cannot write " + dir + "/loop-a: ", 0), 0u) << error;
}

// Two writers of one target each write a temporary file of their own; the
// target ends up as one of the two whole contents.
TEST(AtomicFile, TwoWritersOfOneTargetDoNotShareATemporaryFile) {
  const std::string dir = ScratchDir("two");
  const std::string path = dir + "/chart.wpd";
  AtomicFile a, b;
  std::string error;
  ASSERT_TRUE(a.Open(path, &error)) << error;
  ASSERT_TRUE(b.Open(path, &error)) << error;
  ASSERT_TRUE(a.Append(std::string(10000, 'a'), &error)) << error;
  ASSERT_TRUE(b.Append(std::string(5000, 'b'), &error)) << error;
  EXPECT_EQ(FolderEntries(dir).size(), 2u);
  ASSERT_TRUE(b.Commit(&error)) << error;
  EXPECT_EQ(ReadFile(path), std::string(5000, 'b'));
  ASSERT_TRUE(a.Commit(&error)) << error;
  EXPECT_EQ(ReadFile(path), std::string(10000, 'a'));
  EXPECT_EQ(FolderEntries(dir), std::vector<std::string>{"chart.wpd"});
}

// Whatever stops a write, the target keeps its content, the error names
// it, and no temporary file is left.
TEST(AtomicFile, AFailedWriteLeavesThePreviousFileAndNoLitter) {
  const std::string dir = ScratchDir("fail");
  const std::string path = dir + "/chart.wpd";
  Put(path, "previous");
  std::string error;
  {
    const FileSizeLimit full(1000);  // a disk that fills up after 1000 bytes
    EXPECT_FALSE(WriteFileAtomically(path, std::string(5000, 'x'), &error));
  }
  EXPECT_EQ(error, "cannot write " + path + ": File too large");
  EXPECT_EQ(ReadFile(path), "previous");

  {
    AtomicFile abandoned;
    ASSERT_TRUE(abandoned.Open(path, &error)) << error;
    ASSERT_TRUE(abandoned.Append("half", &error)) << error;
  }  // destroyed before Commit
  EXPECT_EQ(ReadFile(path), "previous");

  fs::create_directory(dir + "/folder");
  EXPECT_FALSE(WriteFileAtomically(dir + "/folder", "x", &error));
  EXPECT_EQ(error, "cannot write " + dir + "/folder: Is a directory");
  EXPECT_FALSE(WriteFileAtomically(dir + "/no/such/x.txt", "x", &error));
  EXPECT_EQ(error, "cannot write " + dir + "/no/such/x.txt: No such file or directory");
  EXPECT_EQ(FolderEntries(dir), (std::vector<std::string>{"chart.wpd", "folder"}));

  // A read-only file is not replaced (the file system lets root write
  // anything, so only an ordinary user can see this).
  if (::geteuid() != 0) {
    ASSERT_EQ(::chmod(path.c_str(), 0444), 0);
    EXPECT_FALSE(WriteFileAtomically(path, "x", &error));
    EXPECT_EQ(error, "cannot write " + path + ": Permission denied");
    EXPECT_EQ(ReadFile(path), "previous");
  }
}

}  // namespace
}  // namespace davodu::testing
