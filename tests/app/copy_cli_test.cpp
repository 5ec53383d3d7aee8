// davodu copy: a whole well database moved to another database (on the
// test command's PostgreSQL cluster when it runs there) and back.
#include <gtest/gtest.h>

#include <filesystem>

#include "support/cli.h"
#include "support/files.h"

namespace davodu::testing {
namespace {

// The demo database goes to a second database and back to a file; `show
// --json` of the three is the same, and the demo chart exports the same
// curve and interval tables from the copy as from the original.
TEST(CopyCli, TheDemoDatabaseMovesThereAndBackUnchanged) {
  const std::string dir = ScratchDir("copy");
  ASSERT_EQ(RunCli("demo --out " + dir).exit_code, 0);
  const std::string original = dir + "/demo.db";
  const std::string middle = "'" + ScratchDb(dir) + "'";
  const std::string back = dir + "/back.db";
  CliResult r = RunCli("copy --from " + original + " --to " + middle);
  ASSERT_EQ(r.exit_code, 0) << r.out;
  r = RunCli("copy --from " + middle + " --to " + back);
  ASSERT_EQ(r.exit_code, 0) << r.out;

  const CliResult shown = RunCli("show --db " + original + " --json");
  ASSERT_EQ(shown.exit_code, 0) << shown.out;
  EXPECT_EQ(RunCli("show --db " + middle + " --json").out, shown.out);
  EXPECT_EQ(RunCli("show --db " + back + " --json").out, shown.out);

  for (const std::string& db : {original, back}) {
    const std::string out = dir + "/export-" + std::filesystem::path(db).stem().string();
    r = RunCli("export --db " + db + " " + dir + "/demo.wpd --dir " + out + " --utf8");
    ASSERT_EQ(r.exit_code, 0) << r.out;
  }
  const std::vector<std::string> files = FolderEntries(dir + "/export-demo");
  ASSERT_FALSE(files.empty());
  EXPECT_EQ(FolderEntries(dir + "/export-back"), files);
  for (const std::string& f : files)
    EXPECT_EQ(ReadFile(dir + "/export-back/" + f), ReadFile(dir + "/export-demo/" + f)) << f;
}

TEST(CopyCli, RefusesWhatItCannotDoWithoutTouchingTheTarget) {
  const std::string dir = ScratchDir("copy-bad");
  ASSERT_EQ(RunCli("demo --out " + dir).exit_code, 0);
  const struct {
    std::string args;
    int exit_code;
    const char* says;
  } cases[] = {
      {"copy --from " + dir + "/demo.db", 2, "copy needs --from SRC and --to DST"},
      {"copy --from " + dir + "/none.db --to " + dir + "/x.db", 1, "no well database at"},
      {"copy --from " + dir + "/demo.db --to " + dir + "/demo.db", 1, "is not empty"},
      {"copy --from " + dir + "/demo.db --to " + dir + "/x.db --colour red", 2,
       "unexpected argument '--colour'"},
  };
  const std::string before = RunCli("show --db " + dir + "/demo.db --json").out;
  for (const auto& c : cases) {
    const CliResult r = RunCli(c.args);
    EXPECT_EQ(r.exit_code, c.exit_code) << c.args << "\n" << r.out;
    EXPECT_NE(r.out.find(c.says), std::string::npos) << c.args << "\n" << r.out;
  }
  EXPECT_EQ(RunCli("show --db " + dir + "/demo.db --json").out, before);
}

}  // namespace
}  // namespace davodu::testing
