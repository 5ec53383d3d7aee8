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

// Every special column in one chart, each with its table: the document
// walks and reads back the same with all of them beside each other, and
// export writes a table per column.
TEST(SpecialCli, AllSpecialColumnsInOneChart) {
  const std::string dir = ScratchDir("special-all");
  const std::string db = dir + "/wells.db";
  const struct {
    const char* file;
    const char* table;
    const char* text;
  } tables[] = {
      {"fine.csv", "fine_stratum3", "层位,砂层顶深,砂层底深,沉积相\nS1,1000,1010,HD\nS2,1010,1020,HKB\n"},
      {"cycle.csv", "cycle_long", "顶深,厚度,旋回\n1000,10,正旋回\n1010,12,反旋回\n"},
      {"texture.csv", "texture", "顶深,厚度,层理\n1000,4,水平层理\n1005,5,交错层理\n"},
      {"shoot.csv", "perforation", "顶深,厚度,射孔日期,射孔类型\n1002,3,2021-01-05,射孔\n"},
      {"runs.csv", "integrated_core", "筒次,顶深,底深,进尺,心长\n1,1000,1009,9,8.4\n"},
      {"samples.csv", "core",
       "样品编号,顶深,取芯顶深[m],取芯底深[m],距顶位置[cm],孔隙度\n5,1001.2,1000,1009,120,19.0\n"},
      {"sand.csv", "sand", "层位,砂层顶深,砂层底深,孔隙度,水淹级别\nS1,1000,1006,21.46,中水淹\n"},
      {"sidewall.csv", "sidewall_core", "深度,岩性,含油级别\n1002,灰色细砂岩,油斑\n"},
  };
  for (const auto& t : tables) {
    Write(dir + "/" + t.file, t.text);
    const CliResult r = RunCli("import --db " + db + " --well W1 --table " + t.table + " " + dir + "/" + t.file);
    ASSERT_EQ(r.exit_code, 0) << t.file << ": " << r.out;
  }
  Write(dir + "/t.json",
        R"({"scale": 200, "top": 995, "bottom": 1025, "tracks": [{"kind": "depth"},)"
        R"( {"kind": "facies", "level": 3}, {"kind": "cycle"}, {"kind": "bedding"},)"
        R"( {"kind": "perforation_symbol"}, {"kind": "core"}, {"kind": "rock_sample"},)"
        R"( {"kind": "sidewall_core", "names": true},)"
        R"( {"kind": "sand_layer", "fields": [{"field": "孔隙度", "decimals": 1}]}]})");
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
  for (const char* table : {"沉积相", "旋回", "层理", "射孔", "取芯", "岩样", "井壁取芯", "砂层"}) {
    const std::string file = dir + "/x/W1井" + table + "数据.txt";
    EXPECT_TRUE(std::filesystem::exists(file)) << file << "\n" << exported.out;
  }

  const CliResult dump = RunCli("dump " + dir + "/c.wpd");
  ASSERT_EQ(dump.exit_code, 0) << dump.out;
  for (const char* kit : {"CWpFacies", "CWpSymbleCycle", "CWpSymbleTexture", "CWpSymbleShoot", "CWpIntegratedCore",
                          "CWpLthSample", "CWpSidewallCore", "CWpSandStratum"})
    EXPECT_NE(dump.out.find(kit), std::string::npos) << kit;
  ASSERT_EQ(RunCli("upgrade " + dir + "/c.wpd " + dir + "/again.wpd").exit_code, 0);
  EXPECT_EQ(RunCli("dump " + dir + "/again.wpd").out, dump.out);
}

}  // namespace
}  // namespace davodu::testing
