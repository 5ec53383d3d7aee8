// The core columns end to end: core runs and core analysis samples
// imported from CSV, a chart built from a template, rendered, exported,
// dumped and upgraded.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>

#include "support/cli.h"

namespace davodu::testing {
namespace {

void Write(const std::string& path, const std::string& text) { std::ofstream(path) << text; }

class CoreCli : public ::testing::Test {
 protected:
  void SetUp() override {
    dir = ScratchDir(std::string("core-cli-") +
                     ::testing::UnitTest::GetInstance()->current_test_info()->name());
    db = dir + "/wells.db";
    const struct {
      const char* file;
      const char* table;
      const char* text;
    } tables[] = {
        {"runs.csv", "integrated_core", "筒次,顶深,底深,进尺,心长\n1,1000,1009,9,8.4\n2,1009,1015,6,3\n"},
        {"samples.csv", "core",
         "样品编号,顶深,取芯顶深[m],取芯底深[m],距顶位置[cm],孔隙度\n"
         "4,1000.4,1000,1009,40,18.2\n5,1001.2,1000,1009,120,19.0\n6,1010.5,1009,1015,150,15.1\n"},
    };
    for (const auto& t : tables) {
      Write(dir + "/" + t.file, t.text);
      const CliResult r = RunCli("import --db " + db + " --well W1 --table " + t.table + " " + dir + "/" + t.file);
      ASSERT_EQ(r.exit_code, 0) << t.file << ": " << r.out;
    }
  }
  CliResult Build(const std::string& tracks) {
    Write(dir + "/t.json", R"({"scale": 200, "top": 995, "bottom": 1020, "tracks": [)" + tracks + "]}");
    return RunCli("build --db " + db + " --template " + dir + "/t.json --well W1 -o " + dir + "/c.wpd");
  }

  std::string dir, db;
};

TEST_F(CoreCli, CoreAndSampleColumnsBuildRenderExportDumpAndUpgrade) {
  const CliResult built = Build(R"({"kind": "depth"}, {"kind": "core", "title": "取芯"},)"
                                R"( {"kind": "rock_sample", "mark_step": 2})");
  ASSERT_EQ(built.exit_code, 0) << built.out;
  for (const char* ext : {"png", "svg", "pdf"}) {
    const std::string out = dir + "/c." + ext;
    const CliResult r = RunCli("render --db " + db + " " + dir + "/c.wpd -o " + out + " --dpi 72");
    ASSERT_EQ(r.exit_code, 0) << out << ": " << r.out;
    EXPECT_GT(std::filesystem::file_size(out), 0u) << out;
  }
  const CliResult exported = RunCli("export --db " + db + " " + dir + "/c.wpd --dir " + dir + "/x --utf8");
  ASSERT_EQ(exported.exit_code, 0) << exported.out;
  EXPECT_EQ(ReadFile(dir + "/x/W1井取芯数据.txt"),
            "筒次 顶深[m] 底深[m] 进尺[m] 心长[m] 收获率[%]"
            "\r\n   1  1000.00  1009.00     9.00     8.40     93.3"
            "\r\n   2  1009.00  1015.00     6.00     3.00     50.0");
  EXPECT_EQ(ReadFile(dir + "/x/W1井岩样数据.txt"),
            " TOP       BOT     DISTANCE  SAMPLEID"
            "\r\n1000.00   1009.00   0.40    4"
            "\r\n1000.00   1009.00   1.20    5"
            "\r\n1009.00   1015.00   1.50    6");

  const CliResult dump = RunCli("dump " + dir + "/c.wpd");
  ASSERT_EQ(dump.exit_code, 0) << dump.out;
  ASSERT_EQ(RunCli("upgrade " + dir + "/c.wpd " + dir + "/again.wpd").exit_code, 0);
  EXPECT_EQ(RunCli("dump " + dir + "/again.wpd").out, dump.out);
}

TEST_F(CoreCli, TemplateKeysOfTheSampleColumnAreChecked) {
  const struct {
    const char* track;
    const char* message;
  } cases[] = {
      {R"({"kind": "core", "mark_step": 5})", "tracks[0].mark_step: only a rock sample track has it"},
      {R"({"kind": "rock_sample", "mark_step": -1})", "tracks[0].mark_step"},
      {R"({"kind": "rock_sample", "numbers": "yes"})", "tracks[0].numbers"},
  };
  for (const auto& c : cases) {
    const CliResult r = Build(c.track);
    EXPECT_NE(r.exit_code, 0) << c.track;
    EXPECT_NE(r.out.find(c.message), std::string::npos) << c.track << ": " << r.out;
  }
}

}  // namespace
}  // namespace davodu::testing
