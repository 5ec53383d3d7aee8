#include <gtest/gtest.h>

#include "support/cli.h"

namespace davodu::testing {
namespace {

TEST(Cli, DemoWritesThePictureInThreeFormats) {
  const std::string dir = ScratchDir("demo");
  CliResult r = RunCli("demo --out " + dir);
  ASSERT_EQ(r.exit_code, 0) << r.out;
  EXPECT_EQ(ReadFile(dir + "/demo.png").substr(0, 8), "\x89PNG\r\n\x1a\n");
  EXPECT_NE(ReadFile(dir + "/demo.svg").find("<svg"), std::string::npos);
  EXPECT_EQ(ReadFile(dir + "/demo.pdf").substr(0, 5), "%PDF-");
  // The chart document it drew, and the database behind it.
  CliResult dump = RunCli("dump " + dir + "/demo.wpd");
  ASSERT_EQ(dump.exit_code, 0) << dump.out;
  EXPECT_NE(dump.out.find("60 \"CWpWell\""), std::string::npos);
  EXPECT_NE(dump.out.find("60 \"CWpCurve\""), std::string::npos);
  // The tracks nest inside the well's base section, and an upgrade of the
  // document writes the same records.
  EXPECT_NE(dump.out.find("\n      60 \"CWpTrack\""), std::string::npos);
  ASSERT_EQ(RunCli("upgrade " + dir + "/demo.wpd " + dir + "/again.wpd").exit_code, 0);
  EXPECT_EQ(RunCli("dump " + dir + "/again.wpd").out, dump.out);
  CliResult show = RunCli("show --db " + dir + "/demo.db --json");
  ASSERT_EQ(show.exit_code, 0) << show.out;
  EXPECT_NE(show.out.find("\"name\":\"示例1井\""), std::string::npos) << show.out;
  EXPECT_NE(show.out.find("\"name\":\"CNL\""), std::string::npos);
}

TEST(Cli, HelpAndBadArguments) {
  const struct {
    const char* args;
    int exit_code;
    const char* says;
  } cases[] = {
      {"--help", 0, "usage: davodu"},
      {"demo --help", 0, "usage: davodu demo"},
      {"", 2, "usage: davodu"},
      {"frobnicate", 2, "unknown command 'frobnicate'"},
      {"demo --colour red", 2, "unexpected argument '--colour'"},
      {"demo --out /proc/no/such/dir", 1, "cannot create /proc/no/such/dir"},
  };
  for (const auto& c : cases) {
    CliResult r = RunCli(c.args);
    EXPECT_EQ(r.exit_code, c.exit_code) << c.args << "\n" << r.out;
    EXPECT_NE(r.out.find(c.says), std::string::npos) << c.args << "\n" << r.out;
  }
}

}  // namespace
}  // namespace davodu::testing
