#include "davodu/host/program/program.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "davodu/host/objects/zu_layer.h"
#include "davodu/host/objects/zu_map.h"
#include "davodu/host/objects/zu_map_file.h"
#include "davodu/host/objects/zu_shapes.h"
#include "davodu/host/records/zu_mfile.h"
#include "davodu/host/util/gbk.h"

namespace davodu {
namespace {

// Three strata; depth y = -depth (one map unit a metre, downwards).
class Strata : public ProgramData {
 public:
  bool GetField(int i, const char* name, Value* v) override {
    if (i < 0 || i >= 3) return false;
    if (std::string(name) == Gbk("层位")) {
      text_ = names_[i];
      v->is_number = false;
      v->text = text_;
      return true;
    }
    if (std::string(name) == "top") {
      v->is_number = true;
      v->number = 100.0 + 10 * i;
      return true;
    }
    return false;
  }
  const std::vector<std::string>& GetFieldNames() override { return fields_; }
  bool GetDepths(int i, double* top, double* bottom) override {
    *top = 100.0 + 10 * i;
    *bottom = *top + 10;
    return true;
  }
  double DepthToMapY(double depth) override { return -depth; }

 private:
  std::vector<std::string> names_{"S1", "S2", "S3"};
  std::vector<std::string> fields_{Gbk("层位"), "top"};
  std::string text_;
};

class ProgramTest : public ::testing::Test {
 protected:
  ProgramTest() { layer = doc.GetActiveMap()->AddLayer("l"); }
  // Runs a program over the three records; returns whether every pass ran.
  bool RunAll(const std::string& source) {
    program.SetName("P");
    program.SetSource(source);
    program.SetLayer(layer);
    program.SetData(&data);
    program.SetValueAtRuntime("x0", 0);
    program.SetValueAtRuntime("x1", 50);
    bool ok = true;
    for (int i = 0; i < 3; ++i) {
      program.SetCurrentRecordIndex(i);
      ok = program.Run() && ok;
    }
    program.End();
    return ok;
  }
  std::string Log() const {
    std::string out;
    for (const std::string& line : const_cast<CProgram&>(program).GetProgramLog().GetLines()) out += line + "\n";
    return out;
  }

  CZuMapFile doc;
  CZuLayer* layer = nullptr;
  Strata data;
  CProgram program;
};

TEST_F(ProgramTest, DrawsOneBandPerRecordFromItsFields) {
  ASSERT_TRUE(RunAll("rect_fill(x0, depth_y(top), x1, depth_y(bottom), {fill = '#FFE45C'})\n"
                     "text((x0 + x1) / 2, depth_y(top), record['" + Gbk("层位") + "'], {align = 'center'})\n"
                     "hline(depth_y(field('top')), {color = '#FF0000', width = 10})\n"))
      << Log();
  const std::vector<CZuObject*>& objects = layer->GetObjectList();
  ASSERT_EQ(objects.size(), 9u);
  for (int i = 0; i < 3; ++i) {
    auto* fill = dynamic_cast<CZuObjectFill*>(objects[3 * i]);
    ASSERT_NE(fill, nullptr);
    EXPECT_EQ(fill->GetPoints()[0], (FLOATPOINT{0, -100.0 - 10 * i}));
    EXPECT_EQ(fill->GetPoints()[2], (FLOATPOINT{50, -110.0 - 10 * i}));
    EXPECT_EQ(fill->brush.color, RGB(0xFF, 0xE4, 0x5C));
    auto* text = dynamic_cast<CZuObjectText*>(objects[3 * i + 1]);
    ASSERT_NE(text, nullptr);
    EXPECT_EQ(text->text, std::string("S") + std::to_string(i + 1));
    auto* line = dynamic_cast<CZuObjectLine*>(objects[3 * i + 2]);
    ASSERT_NE(line, nullptr);
    EXPECT_EQ(line->GetPoints()[1], (FLOATPOINT{50, -100.0 - 10 * i}));
    EXPECT_EQ(line->pen.color, RGB(255, 0, 0));
  }
}

TEST_F(ProgramTest, TheSandboxAndTheLimitsStopARunWithAMessage) {
  struct Case {
    const char* source;
    const char* message;  // part of the log
  };
  const Case cases[] = {
      {"while true do end", "instructions"},
      {"os.execute('touch /tmp/davodu-owned')", "os"},
      {"io.open('/etc/passwd')", "io"},
      {"require('os')", "require"},
      {"dofile('/etc/passwd')", "dofile"},
      {"local t = {} for i = 1, 1e9 do t[i] = i end", "memory"},
      {"local s = string.rep('x', 1 << 30)", "memory"},
      {"assert(load('\\27Lua'))", "binary"},
      {"debug.sethook()", "debug"},
      {"this is not lua", "syntax"},
      {"line(0, 0, 1, 1, {color = 'red'})", "colour"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.source);
    program.GetProgramLog().Clear();
    program.SetLimits(2'000'000, 8u << 20);
    EXPECT_FALSE(RunAll(c.source));
    EXPECT_NE(Log().find(c.message), std::string::npos) << Log();
    EXPECT_NE(Log().find("program 'P'"), std::string::npos) << Log();
  }
}

TEST_F(ProgramTest, AStoppedRunKeepsWhatItDrewAndTheNextRunStartsAfresh) {
  program.SetLimits(100'000, 0);
  EXPECT_FALSE(RunAll("point(0, depth_y(top))\nif index == 1 then while true do end end"));
  // The first record drew, the second drew and stopped, the third never ran.
  EXPECT_EQ(layer->GetObjectList().size(), 2u);
  EXPECT_TRUE(RunAll("point(0, depth_y(top))"));
  EXPECT_EQ(layer->GetObjectList().size(), 5u);
}

TEST_F(ProgramTest, SuspendedProgramsDoNotRun) {
  program.SetSuspended(true);
  EXPECT_FALSE(RunAll("point(0, 0)"));
  EXPECT_TRUE(layer->GetObjectList().empty());
}

TEST_F(ProgramTest, RecordsKeepTheProgramAndTheStampGrowsWithTheText) {
  program.SetName(Gbk("分层程序"));
  program.SetTableName(Gbk("三级分层界限数据"));
  program.SetSource("point(0, 0)");
  const std::uint64_t stamp = program.GetTimeStamp();
  EXPECT_GT(stamp, 0u);
  program.SetSource("point(1, 1)");
  EXPECT_GT(program.GetTimeStamp(), stamp);
  CZuMFile out;
  out.OpenWrite();
  program.SaveToFile(out);
  CZuMFile in;
  ASSERT_TRUE(in.OpenRead(out.GetData()));
  ASSERT_TRUE(in.ReadNextRecord());
  CProgram copy;
  ASSERT_TRUE(copy.LoadFromFile(in));
  EXPECT_EQ(copy.GetName(), program.GetName());
  EXPECT_EQ(copy.GetTableName(), program.GetTableName());
  EXPECT_EQ(copy.GetSource(), program.GetSource());
  EXPECT_EQ(copy.GetTimeStamp(), program.GetTimeStamp());
}

}  // namespace
}  // namespace davodu
