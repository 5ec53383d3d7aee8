// davodu import and davodu show, end to end, each test on its own database.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "support/cli.h"
#include "support/files.h"

namespace davodu::testing {
namespace {

std::string CorpusFile(const std::string& name) { return SharedData("lasio-examples/" + name); }

void Write(const std::string& path, const std::string& text) { std::ofstream(path) << text; }

TEST(ImportCli, LasFileShowsAsJson) {
  const std::string las = CorpusFile("6038187_v1.2.las");
  DAVODU_REQUIRE_SHARED_DATA(las);
  const std::string db = ScratchDir("import-las") + "/wells.db";
  // Imported twice: the second import replaces the curves.
  for (int i = 0; i < 2; ++i) {
    const CliResult r = RunCli("import --db " + db + " " + las);
    ASSERT_EQ(r.exit_code, 0) << r.out;
    EXPECT_EQ(r.out, "");  // no progress bar when stderr is not a terminal
  }
  const CliResult show = RunCli("show --json --db " + db);
  ASSERT_EQ(show.exit_code, 0) << show.out;
  // Counts, missing samples (NULL -99999) and ranges as an awk pass over
  // the ~A section gives them.
  const auto curve = [](const char* name, const char* unit, int missing, const char* min,
                        const char* max) {
    return std::string("{\"name\":\"") + name + "\",\"unit\":\"" + unit +
           "\",\"count\":2732,\"missing\":" + std::to_string(missing) + ",\"min\":" + min +
           ",\"max\":" + max + ",\"top\":0.05,\"bottom\":136.6}";
  };
  const std::string expected =
      "{\"wells\":[{\"name\":\"Scorpio E1\",\"curves\":[" +
      curve("CALI", "MM", 0, "-56.275", "103.38") + "," +
      curve("DFAR", "G/CM3", 31, "0.725", "5.989") + "," +
      curve("DNEAR", "G/CM3", 31, "0.657001", "3.382") + "," +
      curve("GAMN", "GAPI", 41, "-2324.28", "169.672") + "," +
      curve("NEUT", "CPS", 240, "81.0018", "1665.99") + "," +
      curve("PR", "OHM/M", 40, "115.508", "50499.9") + "," +
      curve("SP", "MV", 40, "-3.049", "102.902") + "," +
      curve("COND", "MS/M", 35, "-116.998", "4978.16") + "],\"tables\":{}}]}\n";
  EXPECT_EQ(show.out, expected);
}

TEST(ImportCli, FeetBecomeMetresAndTablesComeFromCsv) {
  const std::string las = CorpusFile("autodepthindex_FT.las");
  DAVODU_REQUIRE_SHARED_DATA(las);
  const std::string dir = ScratchDir("import-csv");
  const std::string db = dir + "/wells.db";
  Write(dir + "/lithology.csv", "井名,顶深,底深,岩性名称\nA1,10,12.5,砂岩\nA1,12.5,20,泥岩\n");
  Write(dir + "/survey.csv", "well,md,inc,azi\nA1,0,0,0\nA1,1000,30,45\n");
  Write(dir + "/strata.csv", "井名,层位,顶深,底深\nA1,沙三段,5,30\n");
  const CliResult r = RunCli("import --db " + db + " --well A1 " + las + " " + dir +
                             "/lithology.csv " + dir + "/survey.csv --table stratum3 " + dir +
                             "/strata.csv");
  // --table applies to every CSV file: the lithology and survey files do
  // not fit the third-level stratification.
  EXPECT_EQ(r.exit_code, 1) << r.out;
  const CliResult ok = RunCli("import --db " + db + " --well A1 " + las + " " + dir +
                              "/lithology.csv " + dir + "/survey.csv");
  ASSERT_EQ(ok.exit_code, 0) << ok.out;
  ASSERT_EQ(RunCli("import --db " + db + " --table 三级分层界限数据 " + dir + "/strata.csv").exit_code, 0);
  const CliResult show = RunCli("show --json --db " + db + " A1");
  ASSERT_EQ(show.exit_code, 0) << show.out;
  EXPECT_EQ(show.out,
            "{\"wells\":[{\"name\":\"A1\",\"curves\":[{\"name\":\"DD\",\"unit\":\"US/M\","
            "\"count\":101,\"missing\":0,\"min\":0.0051049375256,\"max\":0.995056199196,"
            "\"top\":0,\"bottom\":30.48}],"
            "\"tables\":{\"stratum3\":1,\"lithology\":2,\"deviation\":2}}]}\n");
}

TEST(ImportCli, RejectedFilesLeaveNothingBehind) {
  const std::string dir = ScratchDir("import-bad");
  const std::string db = dir + "/wells.db";
  Write(dir + "/good.csv", "井名,顶深,厚度\nA1,1,2\n");
  Write(dir + "/bad.csv", "井名,顶深,厚度\nA2,1,2\nA2,oops,2\n");
  Write(dir + "/odd.csv", "井名,frobs\nA3,1\n");
  Write(dir + "/broken.las", "this is not a LAS file\n");
  ASSERT_EQ(RunCli("import --db " + db + " --table lithology " + dir + "/good.csv").exit_code, 0);
  const std::string before = RunCli("show --json --db " + db).out;

  const CliResult r = RunCli("import --db " + db + " --table lithology " + dir + "/bad.csv " +
                             dir + "/broken.las " + dir + "/odd.csv");
  EXPECT_EQ(r.exit_code, 1);
  EXPECT_NE(r.out.find(dir + "/bad.csv:3: 顶深: 'oops' is not a number\n"), std::string::npos)
      << r.out;
  EXPECT_NE(r.out.find(dir + "/broken.las"), std::string::npos) << r.out;
  EXPECT_NE(r.out.find(dir + "/odd.csv:1: unknown column 'frobs' for 岩性数据\n"), std::string::npos)
      << r.out;
  int lines = 0;
  for (char c : r.out) lines += c == '\n';
  EXPECT_EQ(lines, 3) << r.out;  // one message per rejected file
  EXPECT_EQ(RunCli("show --json --db " + db).out, before);
}

TEST(ShowCli, UnknownWellAndMissingDatabase) {
  const std::string dir = ScratchDir("show");
  Write(dir + "/a.csv", "井名,顶深,厚度\nA1,1,2\n");
  ASSERT_EQ(RunCli("import --db " + dir + "/wells.db --table lithology " + dir + "/a.csv").exit_code, 0);
  const struct {
    std::string args;
    int exit_code;
    const char* says;
  } cases[] = {
      {"show --db " + dir + "/wells.db", 0, "table lithology"},
      {"show --db " + dir + "/wells.db B7", 1, "no well 'B7'"},
      {"show --db " + dir + "/none.db", 1, "no well database at"},
      {"show --db " + dir + "/wells.db A1 A2", 2, "unexpected argument 'A2'"},
      {"import --db " + dir + "/wells.db", 2, "import needs at least one file"},
      {"import --db " + dir + "/wells.db --table nonsense " + dir + "/a.csv", 1,
       "unknown table kind 'nonsense'"},
  };
  for (const auto& c : cases) {
    const CliResult r = RunCli(c.args);
    EXPECT_EQ(r.exit_code, c.exit_code) << c.args << "\n" << r.out;
    EXPECT_NE(r.out.find(c.says), std::string::npos) << c.args << "\n" << r.out;
  }
  EXPECT_FALSE(std::filesystem::exists(dir + "/none.db"));
}

}  // namespace
}  // namespace davodu::testing
