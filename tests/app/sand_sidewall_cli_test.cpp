// Sand layer tables and sidewall cores end to end: tables imported from
// CSV, a chart built from a template, rendered, exported, dumped and
// upgraded; and the template keys that are refused.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>

#include "support/cli.h"

namespace davodu::testing {
namespace {

void Write(const std::string& path, const std::string& text) { std::ofstream(path) << text; }

class SandSidewallCli : public ::testing::Test {
 protected:
  void SetUp() override {
    dir = ScratchDir("sand-sidewall-chart");
    db = dir + "/wells.db";
    const struct {
      const char* file;
      const char* table;
      const char* text;
    } tables[] = {
        {"sand.csv", "sand",
         "层位,砂层顶深,砂层底深,有效厚度,孔隙度,渗透率,解释结论,水淹级别\n"
         "S1,1000,1006,3.2,21.46,350,油层,中水淹\nS2,1010,1020,2,18.2,120.5,差油层,\n"},
        {"cores.csv", "sidewall_core", "深度,岩性,含油级别\n1002,灰色细砂岩,油斑\n1012.5,泥岩,\n"},
    };
    for (const auto& t : tables) {
      Write(dir + "/" + t.file, t.text);
      const CliResult r = RunCli("import --db " + db + " --well W1 --table " + t.table + " " + dir + "/" + t.file);
      ASSERT_EQ(r.exit_code, 0) << t.file << ": " << r.out;
    }
  }
  CliResult Build(const std::string& tracks) {
    Write(dir + "/t.json", R"({"scale": 200, "top": 995, "bottom": 1025, "tracks": [{"kind": "depth"}, )" + tracks +
                               "]}");
    return RunCli("build --db " + db + " --template " + dir + "/t.json --well W1 -o " + dir + "/c.wpd");
  }
  std::string dir, db;
};

TEST_F(SandSidewallCli, BuildRenderExportDumpAndUpgrade) {
  const CliResult built =
      Build(R"({"kind": "sand_layer", "width": 5000, "fields": [{"field": "层位", "title": "层号"},)"
            R"( {"field": "孔隙度", "decimals": 1}, {"field": "水淹级别", "title": "水淹\n级别"}]},)"
            R"( {"kind": "sidewall_core", "width": 3000, "names": true})");
  ASSERT_EQ(built.exit_code, 0) << built.out;
  for (const char* ext : {"png", "svg", "pdf"}) {
    const std::string out = dir + "/c." + ext;
    const CliResult r = RunCli("render --db " + db + " " + dir + "/c.wpd -o " + out + " --dpi 72");
    ASSERT_EQ(r.exit_code, 0) << out << ": " << r.out;
    EXPECT_GT(std::filesystem::file_size(out), 0u) << out;
  }
  const CliResult exported = RunCli("export --db " + db + " " + dir + "/c.wpd --dir " + dir + "/x --utf8");
  ASSERT_EQ(exported.exit_code, 0) << exported.out;
  EXPECT_EQ(ReadFile(dir + "/x/W1井砂层数据.txt"),
            "顶深[m] 厚度[m] 层位 孔隙度 水淹级别\r\n1000.00     6.0   S1      21.5    中水淹"
            "\r\n1010.00    10.0   S2      18.2         -");
  EXPECT_EQ(ReadFile(dir + "/x/W1井井壁取芯数据.txt"),
            "深度[m] 岩性 含油级别\r\n1002.00     灰色细砂岩      油斑\r\n1012.50           泥岩" +
                std::string(10, ' '));

  const CliResult dump = RunCli("dump " + dir + "/c.wpd");
  ASSERT_EQ(dump.exit_code, 0) << dump.out;
  ASSERT_EQ(RunCli("upgrade " + dir + "/c.wpd " + dir + "/again.wpd").exit_code, 0);
  EXPECT_EQ(RunCli("dump " + dir + "/again.wpd").out, dump.out);
}

TEST_F(SandSidewallCli, BadKeysAreNamed) {
  const struct {
    const char* track;
    const char* error;
  } cases[] = {
      {R"({"kind": "sand_layer", "fields": []})", "tracks[1].fields: a sand_layer track needs at least one field"},
      {R"({"kind": "sand_layer", "fields": [{"field": "孔隙度", "decimals": 7}]})", "tracks[1].fields[0].decimals"},
      {R"({"kind": "sand_layer", "fields": [{"title": "x"}]})", "tracks[1].fields[0].field: missing"},
      {R"({"kind": "sand_layer", "preset": "无此方案"})", "tracks[1].preset: '无此方案' is not a preset of"},
      {R"({"kind": "sand_layer", "sand_type": 26})", "tracks[1].sand_type"},
      {R"({"kind": "sidewall_core", "preset": "x"})", "tracks[1].preset: only a sand_layer track has it"},
      {R"({"kind": "sand", "names": true})", "tracks[1].names: only a stratum, lithology, facies or sidewall_core"},
  };
  for (const auto& c : cases) {
    const CliResult r = Build(c.track);
    EXPECT_NE(r.exit_code, 0) << c.track;
    EXPECT_NE(r.out.find(c.error), std::string::npos) << c.track << "\n" << r.out;
  }
}

}  // namespace
}  // namespace davodu::testing
