// The programmable kit: a program run over a table of the well database,
// in every depth reference, again when the table or the program changes;
// failures leave a message and a chart; records.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "davodu/display/wp_program.h"
#include "davodu/host/objects/zu_shapes.h"
#include "davodu/store/well_data_manager.h"
#include "davodu/well/chart_template.h"
#include "support/cli.h"
#include "support/kit_fixture.h"

namespace davodu::testing {
namespace {

// One band per record, from the record's top to its bottom.
const char kBands[] = "rect_fill(x0, depth_y(top), x1, depth_y(bottom), {fill = '#FFE45C'})";

class ProgramKit : public KitTest {
 protected:
  void SetUp() override {
    previous_ = AfxSetDialogs(&dialogs);
    const std::string name = ::testing::UnitTest::GetInstance()->current_test_info()->name();
    wells = CWellDataManager::Instance();
    ASSERT_TRUE(wells->Open(ScratchDir("program-" + name) + "/wells.db")) << wells->GetLastError();
    ASSERT_TRUE(wells->ImportCurves("V", {CurveImport{"GR", "", {900, 1200}, {1, 2}}}));
    WellInfo info;
    ASSERT_TRUE(wells->GetWellInfo("V", &info));
    info.kb = 100;  // altitude = 100 - depth
    ASSERT_TRUE(wells->SetWellInfo(info));
    ImportStrata({{"A1", "1005", "1010"}, {"A2", "1010", "1020"}, {"A3", "1040", "1050"}});
  }
  void TearDown() override {
    AfxSetDialogs(previous_);
    CWpProgram::SetProgramsEnabled(true);
    wells->Close();
  }

  void ImportStrata(std::vector<std::vector<std::string>> rows) {
    TableImport in;
    in.source = "strata.csv";
    in.well = "V";
    in.kind = TableKind::kStratum;
    in.sub = 3;
    in.header = {"name", "top", "bottom"};
    in.rows = std::move(rows);
    std::string error;
    ASSERT_TRUE(wells->ImportTableRows(in, &error)) << error;
  }

  // The chart of "V" with one program column over the third-level strata.
  CWpProgram* Build(const std::string& source, const char* depth_type = "md", float top = 1000,
                    float bottom = 1030) {
    const std::string json = std::string(R"({"scale": 500, "depth_type": ")") + depth_type +
                             R"(", "top": )" + std::to_string(top) + R"(, "bottom": )" +
                             std::to_string(bottom) +
                             R"(, "tracks": [{"kind": "program", "table": "stratum3", "source": ")" +
                             source + R"("}]})";
    std::string error;
    EXPECT_TRUE(BuildChartFromTemplate(json, "V", layer, &error)) << error;
    well = dynamic_cast<CWpWell*>(layer->GetObjectList().back());
    return well ? dynamic_cast<CWpProgram*>(well->GetChild(0)->GetChild(0)) : nullptr;
  }

  // The bands drawn: the top and bottom depth of each filled rectangle.
  std::vector<std::pair<double, double>> Bands(CWpProgram* kit) {
    RecordingDC dc(false);
    kit->Draw(&dc, nullptr, nullptr, nullptr);
    std::vector<std::pair<double, double>> out;
    for (const DrawOp& op : dc.OpsOf(DrawOp::kPolygon)) {
      if (!op.brush || op.brush->color != RGB(0xFF, 0xE4, 0x5C)) continue;
      out.emplace_back(kit->DrwYToDep(op.points[0].y), kit->DrwYToDep(op.points[2].y));
    }
    return out;
  }

  ScriptedDialogs dialogs;
  CWellDataManager* wells = nullptr;
  CWpWell* well = nullptr;

 private:
  HostDialogs* previous_ = nullptr;
};

void ExpectBands(const std::vector<std::pair<double, double>>& got,
                 const std::vector<std::pair<double, double>>& want) {
  ASSERT_EQ(got.size(), want.size());
  for (std::size_t i = 0; i < want.size(); ++i) {
    EXPECT_NEAR(got[i].first, want[i].first, 0.05) << i;
    EXPECT_NEAR(got[i].second, want[i].second, 0.05) << i;
  }
}

TEST_F(ProgramKit, OneBandPerRecordInTheChartsRange) {
  CWpProgram* kit = Build(kBands);
  ASSERT_NE(kit, nullptr);
  // A3 lies below the chart.
  ExpectBands(Bands(kit), {{1005, 1010}, {1010, 1020}});
  // The objects are the kit's, not the layer's.
  for (CZuObject* obj : kit->GetObjects())
    for (CZuObject* root : layer->GetObjectList()) EXPECT_NE(obj, root);
}

TEST_F(ProgramKit, InAltitudeChartsRecordsArePickedByTheirAltitudes) {
  // Altitude depths 905-930 are measured depths 1005-1030.
  CWpProgram* kit = Build(kBands, "ad", 905, 930);
  ASSERT_NE(kit, nullptr);
  ExpectBands(Bands(kit), {{905, 910}, {910, 920}});
}

TEST_F(ProgramKit, AMovedBoundaryMovesTheBandOnTheNextDrawing) {
  CWpProgram* kit = Build(kBands);
  ASSERT_NE(kit, nullptr);
  ExpectBands(Bands(kit), {{1005, 1010}, {1010, 1020}});
  ImportStrata({{"A1", "1005", "1012"}, {"A2", "1012", "1020"}, {"A3", "1040", "1050"}});
  ExpectBands(Bands(kit), {{1005, 1012}, {1012, 1020}});
  // Drawing again runs nothing new.
  const std::vector<CZuObject*> objects = kit->GetObjects();
  Bands(kit);
  EXPECT_EQ(kit->GetObjects(), objects);
  // An edited program runs at the next drawing.
  kit->GetProgram().SetSource(std::string(kBands) + "\nline(x0, depth_y(top), x1, depth_y(top))");
  Bands(kit);
  EXPECT_EQ(kit->GetObjects().size(), 4u);
}

TEST_F(ProgramKit, FailingProgramsLeaveAMessageAndTheChart) {
  const struct {
    const char* source;
    const char* message;
  } cases[] = {{"while true do end", "instructions"}, {"os.execute('ls')", "'os'"}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.source);
    dialogs.messages.clear();
    CWpProgram* kit = Build(c.source);
    ASSERT_NE(kit, nullptr);
    ASSERT_FALSE(dialogs.messages.empty());
    EXPECT_NE(GbkToUtf8(dialogs.messages.front()).find(c.message), std::string::npos)
        << GbkToUtf8(dialogs.messages.front());
    RecordingDC dc(false);
    kit->Draw(&dc, nullptr, nullptr, nullptr);
    EXPECT_FALSE(dc.OpsOf(DrawOp::kPolyline).empty());  // the frame, at least
  }
}

TEST_F(ProgramKit, ProgramsCanBeSwitchedOff) {
  CWpProgram::SetProgramsEnabled(false);
  CWpProgram* kit = Build(kBands);
  ASSERT_NE(kit, nullptr);
  EXPECT_TRUE(Bands(kit).empty());
}

TEST_F(ProgramKit, ADocumentReadBackRunsItsProgramAgain) {
  CWpProgram* kit = Build(kBands);
  ASSERT_NE(kit, nullptr);
  const std::uint64_t stamp = kit->GetProgramTimeStamp();
  const std::string path = ScratchDir("program-doc") + "/c.wpd";
  ASSERT_TRUE(doc.SaveToFile(path));
  CZuMapFile copy;
  ASSERT_TRUE(copy.ReadFromFile(path));
  auto* read_well = dynamic_cast<CWpWell*>(copy.GetActiveMap()->GetLayer(0)->GetObjectList().front());
  ASSERT_NE(read_well, nullptr);
  read_well->LoadChartData();
  auto* read = dynamic_cast<CWpProgram*>(read_well->GetChild(0)->GetChild(0));
  ASSERT_NE(read, nullptr);
  EXPECT_EQ(read->GetProgram().GetSource(), kBands);
  EXPECT_EQ(read->GetProgram().GetTableName(), "stratum3");
  EXPECT_EQ(read->GetProgramTimeStamp(), stamp);
  ExpectBands(Bands(read), {{1005, 1010}, {1010, 1020}});
}

}  // namespace
}  // namespace davodu::testing
