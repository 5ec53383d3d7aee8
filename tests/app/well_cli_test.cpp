// davodu import and davodu show, end to end, each test on its own database.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "support/cli.h"
#include "support/files.h"

namespace davodu::testing {
namespace {

std::string CorpusFile(const std::string& name) { return SharedData("lasio-examples/" + name); }

void Write(const std::string& path, const std::string& text) { std::ofstream(path) << text; }

TEST(ImportCli, LasFileShowsAsJson) {
  const std::string las = CorpusFile("6038187_v1.2.las");
  DAVODU_REQUIRE_SHARED_DATA(las);
  const std::string db = ScratchDb(ScratchDir("import-las"));
  // Imported twice: the second import recognises the file and changes
  // nothing.
  for (int i = 0; i < 2; ++i) {
    const CliResult r = RunCli("import --db " + db + " " + las);
    ASSERT_EQ(r.exit_code, 0) << r.out;
    if (i == 0) {
      EXPECT_EQ(r.out, "");  // no progress bar when stderr is not a terminal
    } else {
      EXPECT_NE(r.out.find("already imported into well 'Scorpio E1' on "), std::string::npos) << r.out;
    }
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
      "\"curves\":[" +
      curve("CALI", "MM", 0, "-56.275", "103.38") + "," +
      curve("DFAR", "G/CM3", 31, "0.725", "5.989") + "," +
      curve("DNEAR", "G/CM3", 31, "0.657001", "3.382") + "," +
      curve("GAMN", "GAPI", 41, "-2324.28", "169.672") + "," +
      curve("NEUT", "CPS", 240, "81.0018", "1665.99") + "," +
      curve("PR", "OHM/M", 40, "115.508", "50499.9") + "," +
      curve("SP", "MV", 40, "-3.049", "102.902") + "," +
      curve("COND", "MS/M", 35, "-116.998", "4978.16") + "],\"tables\":{},\"runs\":[{\"source\":";
  EXPECT_EQ(show.out.rfind("{\"wells\":[{\"name\":\"Scorpio E1\",", 0), 0u) << show.out;
  EXPECT_NE(show.out.find(expected), std::string::npos) << show.out;
  // One import: the second was recognised.
  EXPECT_NE(show.out.find("\"curves\":8,\"current\":8,\"items\":[{\"section\":\"well\""), std::string::npos);
  EXPECT_EQ(show.out.find("\"source\":", show.out.find("\"source\":") + 1), std::string::npos);
}

TEST(ImportCli, FeetBecomeMetresAndTablesComeFromCsv) {
  const std::string las = CorpusFile("autodepthindex_FT.las");
  DAVODU_REQUIRE_SHARED_DATA(las);
  const std::string dir = ScratchDir("import-csv");
  const std::string db = ScratchDb(dir);
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
  EXPECT_NE(show.out.find(
                "\"curves\":[{\"name\":\"DD\",\"unit\":\"US/M\","
                "\"count\":101,\"missing\":0,\"min\":0.0051049375256,\"max\":0.995056199196,"
                "\"top\":0,\"bottom\":30.48}],"
                "\"tables\":{\"stratum3\":1,\"lithology\":2,\"deviation\":2}"),
            std::string::npos)
      << show.out;
}

TEST(ImportCli, RejectedFilesLeaveNothingBehind) {
  const std::string dir = ScratchDir("import-bad");
  const std::string db = ScratchDb(dir);
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

// Names GBK cannot hold keep every character: two of them, which a lossy
// conversion would both turn into "??", stay two curves.
TEST(ImportCli, NamesGbkCannotHoldSurviveExactly) {
  const std::string dir = ScratchDir("import-names");
  Write(dir + "/w.las",
        "~V\n VERS. 2.0 :\n WRAP. NO :\n~W\n NULL. -999.25 :\n WELL. Ŵell-ᵌ :\n"
        "~C\n DEPT.M :\n ºᶟ.K/M3 : first\n ᵌᴬ.µS : second\n~A\n100 1 2\n101 3 4\n");
  const std::string db = ScratchDb(dir);
  const CliResult r = RunCli("import --db " + db + " " + dir + "/w.las");
  ASSERT_EQ(r.exit_code, 0) << r.out;
  const CliResult show = RunCli("show --json --db " + db);
  EXPECT_NE(show.out.find("\"name\":\"Ŵell-ᵌ\""), std::string::npos) << show.out;
  EXPECT_NE(show.out.find("{\"name\":\"ºᶟ\",\"unit\":\"K/M3\",\"count\":2,\"missing\":0,\"min\":1,\"max\":3"),
            std::string::npos)
      << show.out;
  EXPECT_NE(show.out.find("{\"name\":\"ᵌᴬ\",\"unit\":\"µS\",\"count\":2,\"missing\":0,\"min\":2,\"max\":4"),
            std::string::npos)
      << show.out;
  EXPECT_EQ(RunCli("show --db " + db + " Ŵell-ᵌ").exit_code, 0);
}

// Two imports into one database at the same time both finish: the second
// writer waits for the first instead of failing at once.
TEST(ImportCli, TwoImportersAtOnceBothFinish) {
  const std::string dir = ScratchDir("import-concurrent");
  const std::string db = ScratchDb(dir);
  std::string rows;
  for (int i = 0; i < 20000; ++i) rows += std::to_string(1000 + 0.1 * i) + " 1 2 3 4 5 6\n";
  std::string args_a, args_b;
  for (int k = 0; k < 4; ++k) {
    for (const char* who : {"a", "b"}) {
      const std::string path = dir + "/" + who + std::to_string(k) + ".las";
      Write(path, std::string("~V\n VERS. 2.0 :\n WRAP. NO :\n~W\n WELL. W-") + who + std::to_string(k) +
                      " :\n~C\n DEPT.M :\n C1. :\n C2. :\n C3. :\n C4. :\n C5. :\n C6. :\n~A\n" + rows);
      (who[0] == 'a' ? args_a : args_b) += " " + path;
    }
  }
  // Both start on a database that does not exist yet.
  const CliResult r = RunCli("import --db " + db + args_a + " > " + dir + "/a.out 2>&1 & " +
                             "davodu_b=$!; " + std::string(DAVODU_CLI) + " import --db " + db + args_b +
                             " > " + dir + "/b.out 2>&1; b=$?; wait $davodu_b; a=$?; cat " + dir +
                             "/a.out " + dir + "/b.out; exit $((a + b))");
  EXPECT_EQ(r.exit_code, 0) << r.out;
  EXPECT_EQ(r.out, "");
  const CliResult show = RunCli("show --db " + db);
  for (const char* who : {"a", "b"}) {
    for (int k = 0; k < 4; ++k) {
      EXPECT_NE(show.out.find(std::string("W-") + who + std::to_string(k) + "\n"), std::string::npos);
    }
  }
  std::size_t curves = 0;
  for (std::size_t at = show.out.find("20000"); at != std::string::npos; at = show.out.find("20000", at + 1))
    ++curves;
  EXPECT_EQ(curves, 8u * 6u) << show.out;
}

// A survey is refused at the first line that cannot be a station.
TEST(ImportCli, SurveysAreCheckedLineByLine) {
  const std::string dir = ScratchDir("import-survey");
  const struct {
    const char* rows;
    const char* says;  // "" when the survey is taken
  } cases[] = {
      {"A1,0,0,0\nA1,500,180,360\nB1,0,0,0\n", ""},
      {"A1,0,0,0\nA1,500,181,0\n", ":3: inclination 181 is outside 0 to 180 degrees"},
      {"A1,0,-1,0\n", ":2: inclination -1 is outside 0 to 180 degrees"},
      {"A1,0,0,0\nA1,100,10,360.5\n", ":3: azimuth 360.5 is outside 0 to 360 degrees"},
      {"A1,0,0,0\nA1,100,10,10\nA1,100,12,10\n", ":4: measured depth 100 does not increase"},
      {"A1,200,0,0\nB1,0,0,0\nA1,100,12,10\n", ":4: measured depth 100 does not increase"},
  };
  int n = 0;
  for (const auto& c : cases) {
    const std::string csv = dir + "/survey" + std::to_string(++n) + ".csv";
    Write(csv, std::string("well,md,inc,azi\n") + c.rows);
    const CliResult r = RunCli("import --db " + ScratchDb(dir) + " --table deviation " + csv);
    SCOPED_TRACE(c.rows);
    if (*c.says == 0) {
      EXPECT_EQ(r.exit_code, 0) << r.out;
    } else {
      EXPECT_EQ(r.exit_code, 1);
      EXPECT_NE(r.out.find(csv + c.says), std::string::npos) << r.out;
    }
  }
}

TEST(ShowCli, UnknownWellAndMissingDatabase) {
  const std::string dir = ScratchDir("show");
  Write(dir + "/a.csv", "井名,顶深,厚度\nA1,1,2\n");
  ASSERT_EQ(RunCli("import --db " + ScratchDb(dir) + " --table lithology " + dir + "/a.csv").exit_code, 0);
  const struct {
    std::string args;
    int exit_code;
    const char* says;
  } cases[] = {
      {"show --db " + ScratchDb(dir), 0, "table lithology"},
      {"show --db " + ScratchDb(dir) + " B7", 1, "no well 'B7'"},
      {"show --db " + dir + "/none.db", 1, "no well database at"},
      {"show --db " + ScratchDb(dir) + " A1 A2", 2, "unexpected argument 'A2'"},
      {"import --db " + ScratchDb(dir), 2, "import needs at least one file"},
      {"import --db " + ScratchDb(dir) + " --table nonsense " + dir + "/a.csv", 1,
       "unknown table kind 'nonsense'"},
  };
  for (const auto& c : cases) {
    const CliResult r = RunCli(c.args);
    EXPECT_EQ(r.exit_code, c.exit_code) << c.args << "\n" << r.out;
    EXPECT_NE(r.out.find(c.says), std::string::npos) << c.args << "\n" << r.out;
  }
  EXPECT_FALSE(std::filesystem::exists(dir + "/none.db"));
}

// Columns a UTF-8 line takes on a terminal, for the characters used below:
// two for a CJK character, one for any other.
int Columns(const std::string& utf8) {
  int n = 0;
  for (std::size_t i = 0; i < utf8.size();) {
    const unsigned char c = static_cast<unsigned char>(utf8[i]);
    const std::size_t len = c < 0x80 ? 1 : c < 0xE0 ? 2 : c < 0xF0 ? 3 : 4;
    n += len == 3 && c >= 0xE2 && (c > 0xE2 || static_cast<unsigned char>(utf8[i + 1]) >= 0xBA) ? 2 : 1;
    i += len;
  }
  return n;
}

TEST(ShowCli, ColumnsAlignByDisplayWidth) {
  const std::string dir = ScratchDir("show-width");
  Write(dir + "/w.las",
        "~Version\nVERS. 2.0 :\nWRAP. NO :\n~Well\nSTRT.M 1 :\nSTOP.M 2 :\nSTEP.M 1 :\n"
        "NULL. -999.25 :\nWELL. W1 : WELL\n~Curve\nDEPT.M : depth\nRT.Ω·m : resistivity\n"
        "AC.μs/m : slowness\nGR.API : gamma\nPOR.百分比 : porosity\n~A\n1 2 3 4 5\n2 3 4 5 6\n");
  ASSERT_EQ(RunCli("import --db " + ScratchDb(dir) + " " + dir + "/w.las").exit_code, 0);
  const CliResult r = RunCli("show --db " + ScratchDb(dir) + " W1");
  ASSERT_EQ(r.exit_code, 0) << r.out;
  // Every row of the curve table ends its count column at the same place.
  std::istringstream lines(r.out);
  std::string line;
  std::vector<int> ends;
  while (std::getline(lines, line)) {
    if (line.rfind("  ", 0) != 0 || line.rfind("  table ", 0) == 0 || line.rfind("  import ", 0) == 0)
      continue;
    const std::size_t count = line.find(line.find("count") != std::string::npos ? "count" : " 2 ");
    ASSERT_NE(count, std::string::npos) << line;
    ends.push_back(Columns(line.substr(0, count + (line[count] == 'c' ? 5 : 2))));
  }
  ASSERT_EQ(ends.size(), 5u) << r.out;
  for (int e : ends) EXPECT_EQ(e, ends.front()) << r.out;
}

}  // namespace
}  // namespace davodu::testing
