// Facies and symbol columns end to end: tables imported from CSV, a chart
// built from a template, rendered, exported, dumped and upgraded.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>

#include "support/cli.h"

namespace davodu::testing {
namespace {

void Write(const std::string& path, const std::string& text) { std::ofstream(path) << text; }

TEST(SpecialCli, FaciesAndSymbolColumnsBuildRenderExportDumpAndUpgrade) {
  const std::string dir = ScratchDir("special-chart");
  const std::string db = dir + "/wells.db";
  const struct {
    const char* file;
    const char* table;
    const char* text;
  } tables[] = {
      {"fine.csv", "fine_stratum3", "层位,砂层顶深,砂层底深,沉积相\nS1,1000,1010,HD\nS2,1010,1020,HKB\n"},
      {"cycle.csv", "cycle_long", "顶深,厚度,旋回\n1000,10,正旋回\n1010,12,反旋回\n"},
      {"texture.csv", "texture", "顶深,厚度,层理\n1000,4,水平层理\n1005,5,交错层理\n"},
      {"shoot.csv", "perforation", "顶深,厚度,射孔日期,射孔类型\n1002,3,2020-01-05,射孔\n1012,2,2021-06-01,补孔\n"},
  };
  for (const auto& t : tables) {
    Write(dir + "/" + t.file, t.text);
    const CliResult r = RunCli("import --db " + db + " --well W1 --table " + t.table + " " + dir + "/" + t.file);
    ASSERT_EQ(r.exit_code, 0) << t.file << ": " << r.out;
  }
  Write(dir + "/t.json",
        R"({"scale": 200, "top": 995, "bottom": 1035, "tracks": [{"kind": "depth"},)"
        R"( {"kind": "facies", "level": 3}, {"kind": "cycle"}, {"kind": "bedding"},)"
        R"( {"kind": "perforation_symbol", "from": "2021-01-01", "to": "2021-12-31"}]})");
  const CliResult built = RunCli("build --db " + db + " --template " + dir + "/t.json --well W1 -o " + dir + "/c.wpd");
  ASSERT_EQ(built.exit_code, 0) << built.out;
  for (const char* ext : {"png", "svg", "pdf"}) {
    const std::string out = dir + "/c." + ext;
    const CliResult r = RunCli("render --db " + db + " " + dir + "/c.wpd -o " + out + " --dpi 72");
    ASSERT_EQ(r.exit_code, 0) << out << ": " << r.out;
    EXPECT_GT(std::filesystem::file_size(out), 0u) << out;
  }
  const CliResult exported = RunCli("export --db " + db + " " + dir + "/c.wpd --dir " + dir + "/x --utf8");
  ASSERT_EQ(exported.exit_code, 0) << exported.out;
  EXPECT_EQ(ReadFile(dir + "/x/W1井沉积相数据.txt"), "顶深[m] 厚度[m] 沉积相\r\n1000.00    10.0   HD\r\n1010.00    10.0  HKB");
  EXPECT_EQ(ReadFile(dir + "/x/W1井旋回数据.txt"), "顶深[m] 厚度[m]\r\n1000.00    10.0\r\n1010.00    12.0");
  EXPECT_EQ(ReadFile(dir + "/x/W1井射孔数据.txt"), "顶深[m] 厚度[m]\r\n1012.00     2.0") << "only the perforations of 2021";

  const CliResult dump = RunCli("dump " + dir + "/c.wpd");
  ASSERT_EQ(dump.exit_code, 0) << dump.out;
  ASSERT_EQ(RunCli("upgrade " + dir + "/c.wpd " + dir + "/again.wpd").exit_code, 0);
  EXPECT_EQ(RunCli("dump " + dir + "/again.wpd").out, dump.out);
}

}  // namespace
}  // namespace davodu::testing
