// The stratification and sand kits in a chart bound to a well database:
// loading, drawing, boundary drags written back (and refused), a second
// chart's view of an edit, depth references, records and the exports.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "davodu/data/data_set_checker.h"
#include "davodu/interval/interval_export.h"
#include "davodu/interval/wp_sand.h"
#include "davodu/interval/wp_stratum.h"
#include "support/cli.h"
#include "support/interval_data.h"
#include "support/kit_fixture.h"
#include "support/records.h"

namespace davodu::testing {
namespace {

// A chart of 995 to 1045 m at 1:500 with a stratum (level 3) and a sand
// column, over the interval test wells (interval_data.h).
class IntervalKits : public KitTest {
 protected:
  void SetUp() override {
    const std::string name = ::testing::UnitTest::GetInstance()->current_test_info()->name();
    wells = CWellDataManager::Instance();
    ASSERT_TRUE(wells->Open(ScratchDb(ScratchDir("kits-" + name)))) << wells->GetLastError();
    std::string error;
    ASSERT_TRUE(FillIntervalWells(*wells, &error)) << error;
  }
  void TearDown() override {
    AfxSetDialogs(nullptr);
    wells->Close();
  }

  struct Chart {
    CWpWell* well;
    CWpStratum* stratum;
    CWpSand* sand;
  };
  // Each chart stands right of the ones made before it.
  Chart MakeChart(const char* well_name, int depth_type = CWpWell::kDepthMeasured) {
    auto* well = MakeRoot<CWpWell>("CWpWell");
    well->SetPosition(FLOATPOINT{10000.0 * charts_++, 0}, 1);
    well->SetName(well_name);
    well->SetDepthType(depth_type);
    well->SetDepthScale(500);
    well->SetTopDepth(995);
    well->SetBottomDepth(1045);
    well->SetWidth(2000);
    CWpTrack* t1 = well->AddTrack(kCmdWellTrackFirst, -1);
    CWpTrack* t2 = well->AddTrack(kCmdWellTrackFirst, -1);
    CWpStratum* stratum = t1->AddStratum("", 1, -1);
    CWpSand* sand = t2->AddSand("", 1, -1);
    stratum->UseBkColor(true);
    well->LoadChartData();
    return {well, stratum, sand};
  }
  // The depths the segments of a kit show.
  static std::vector<std::pair<float, float>> Depths(CWpSegment* kit) {
    std::vector<std::pair<float, float>> out;
    for (int i = 0; i < kit->GetSegCount(); ++i)
      out.emplace_back(kit->MapYToDep(static_cast<float>(kit->GetSeg(i).top)),
                       kit->MapYToDep(static_cast<float>(kit->GetSeg(i).bottom)));
    return out;
  }
  static CPoint At(CWpSegment* kit, double depth, double x_fraction = 0.5) {
    const double x = kit->GetLeft() + (kit->GetRight() - kit->GetLeft()) * x_fraction;
    return kit->GetTranslator().MapToDraw(FLOATPOINT{x, kit->DepToMapY(depth)});
  }
  double Cell(TableKind kind, int sub, int row, const char* column) {
    return wells->GetTable("W1", kind, sub)->GetDouble(row, column);
  }

  CWellDataManager* wells = nullptr;
  int charts_ = 0;
  RecordingDC dc;
  ChartView view{&doc, &dc};
};

TEST_F(IntervalKits, AStratumColumnShowsTheLevelOfItsWell) {
  Chart c = MakeChart("W1");
  EXPECT_EQ(c.stratum->GetStratumType(), STRATUM_LEVEL3);
  // The fourth record overlaps the third and is left out.
  const std::vector<std::pair<float, float>> want = {{1000, 1010}, {1010, 1025}, {1025, 1040}};
  EXPECT_EQ(Depths(c.stratum), want);
  const auto* second = dynamic_cast<const StratumDIndex*>(c.stratum->GetSeg(1).data.get());
  ASSERT_NE(second, nullptr);
  EXPECT_EQ(second->index, 1);
  EXPECT_EQ(second->name, Gbk("沙二段"));
  EXPECT_EQ(second->color, 0x7898F0u) << "the catalogue's colour";
  ASSERT_EQ(c.stratum->GetFaultPoints().size(), 1u);
  EXPECT_EQ(c.stratum->FaultLabel(0), "1020/5");

  // The alias names the band; with a slash or backslash it is script text.
  std::shared_ptr<CStratumManager> catalog = wells->GetStratumManager();
  const int row = [&] {
    for (int i = 0; i < catalog->table().GetCount(); ++i)
      if (catalog->table().GetString(i, "name") == Gbk("沙二段")) return i;
    return -1;
  }();
  ASSERT_TRUE(catalog->table().SetValue(row, "alias", "Es\\2/x"));
  c.well->Update();
  dc.Clear();
  c.well->Draw(&dc, nullptr, nullptr, nullptr);
  std::vector<DrawOp> texts = dc.OpsOf(DrawOp::kText);
  const auto script = std::find_if(texts.begin(), texts.end(), [](const DrawOp& op) { return !op.runs.empty(); });
  ASSERT_NE(script, texts.end());
  EXPECT_EQ(script->runs, (std::vector<TextRun>{{"Es", TextRun::kBaseline}, {"2", TextRun::kSubscript},
                                                {"x", TextRun::kSuperscript}}));
  EXPECT_NE(std::find_if(texts.begin(), texts.end(), [](const DrawOp& op) { return op.text == "Es1"; }),
            texts.end());
  EXPECT_NE(std::find_if(texts.begin(), texts.end(), [](const DrawOp& op) { return op.text == "1020/5"; }),
            texts.end());
  // The catalogue colour fills the band.
  const std::vector<DrawOp> fills = dc.OpsOf(DrawOp::kPolygon);
  EXPECT_NE(std::find_if(fills.begin(), fills.end(),
                         [](const DrawOp& op) { return op.brush && op.brush->color == 0x7898F0u; }),
            fills.end());
}

// Dragging the boundary between two strata writes both records in one
// transaction; a second chart of the well shows it after its idle poll.
TEST_F(IntervalKits, ABoundaryDragIsWrittenBackAndSeenByAnotherChart) {
  Chart a = MakeChart("W1");
  Chart b = MakeChart("W1");
  std::shared_ptr<CWellTable> table = wells->GetWellStratum(STRATUM_LEVEL3, "W1");
  const std::uint64_t stamp = table->GetTimeStamp();

  view.LButtonDown(At(a.stratum, 1015));  // select the second stratum
  view.LButtonUp(At(a.stratum, 1015));
  ASSERT_EQ(a.stratum->GetActiveSeg(), 1);
  view.LButtonDown(At(a.stratum, 1010));  // its top handle
  ASSERT_EQ(a.stratum->GetPickState(), CWpSegment::kPickTop);
  view.MouseMove(At(a.stratum, 1006), MK_LBUTTON);
  view.LButtonUp(At(a.stratum, 1006));

  EXPECT_EQ(Cell(TableKind::kStratum, 3, 0, "bottom"), 1006);
  EXPECT_EQ(Cell(TableKind::kStratum, 3, 1, "top"), 1006);
  EXPECT_GT(table->GetTimeStamp(), stamp);
  EXPECT_EQ(Depths(a.stratum)[0], std::make_pair(1000.0f, 1006.0f));

  EXPECT_EQ(Depths(b.stratum)[0], std::make_pair(1000.0f, 1010.0f)) << "not polled yet";
  b.well->OnIdle();
  EXPECT_EQ(Depths(b.stratum)[0], std::make_pair(1000.0f, 1006.0f));
  EXPECT_EQ(Depths(b.stratum)[1], std::make_pair(1006.0f, 1025.0f));
}

// When the data refuses an edit (here: the table lost the record since the
// chart last looked), the view shows the data again.
TEST_F(IntervalKits, ARefusedWriteRestoresTheView) {
  Chart c = MakeChart("W1");
  TableImport in;
  in.source = "test";
  in.well = "W1";
  in.kind = TableKind::kStratum;
  in.sub = 3;
  in.header = {"name", "top", "bottom"};
  in.rows = {{"A", "1000", "1020"}};
  std::string error;
  ASSERT_TRUE(wells->ImportTableRows(in, &error)) << error;
  ASSERT_EQ(c.stratum->GetSegCount(), 3) << "not polled yet";

  EXPECT_FALSE(c.stratum->SetSegTopDpth(2, 1030));
  EXPECT_EQ(Depths(c.stratum), (std::vector<std::pair<float, float>>{{1000, 1020}}));

  // The same through a drag: the stratum below would turn upside down.
  Chart d = MakeChart("W1");
  in.rows = {{"A", "1000", "1005"}, {"B", "1005", "1010"}};
  ASSERT_TRUE(wells->ImportTableRows(in, &error)) << error;
  d.stratum->SetActiveSeg(0);
  view.LButtonDown(At(d.stratum, 1020));  // the bottom handle, as the chart shows it
  ASSERT_EQ(d.stratum->GetPickState(), CWpSegment::kPickBottom);
  view.MouseMove(At(d.stratum, 1016), MK_LBUTTON);
  view.LButtonUp(At(d.stratum, 1016));
  EXPECT_EQ(Depths(d.stratum), (std::vector<std::pair<float, float>>{{1000, 1005}, {1005, 1010}}));
}

// The well's own uses of the data: its unit depth range, its fault gaps,
// and the data set check of a column.
TEST_F(IntervalKits, TheWellReadsUnitsAndFaultsAndAColumnChecksItsDataSet) {
  Chart c = MakeChart("W1");
  c.well->SetUnitClass(STRATUM_LEVEL3);
  c.well->SetRangeType(CWpWell::kRangeByUnits);
  c.well->SetTopUnit(Gbk("沙二段"));
  c.well->SetBottomUnit(Gbk("沙二段"));
  c.well->ComputeValidTopAndBottom();
  EXPECT_FLOAT_EQ(c.well->GetTopDepth(), 1010);
  EXPECT_FLOAT_EQ(c.well->GetBottomDepth(), 1025);
  c.well->FaultPointSegment();
  ASSERT_EQ(c.well->GetFaultInfo().points.size(), 2u);
  EXPECT_EQ(c.well->GetFaultInfo().points[0].x, 1020);
  EXPECT_EQ(c.well->GetFaultInfo().points[0].z, 5);

  std::string checked;
  CDataSetChecker::Instance()->SetCheckFun([&](const std::string& owner, const std::string& set) {
    checked = owner + "|" + set;
    return true;
  });
  c.stratum->OnCommand(&view, &dc, CWpStratum::kCmdCheckDataSet, 0);
  CDataSetChecker::Instance()->SetCheckFun({});
  EXPECT_EQ(checked, "W1|" + Gbk("分层界限.三级分层界限数据"));
}

// An unknown well asks for level -1: the columns keep theirs.
TEST_F(IntervalKits, AnUnknownWellLeavesTheConfiguredLevel) {
  Chart c = MakeChart("NOPE");
  EXPECT_EQ(c.stratum->GetStratumType(), STRATUM_LEVEL3);
  EXPECT_EQ(c.sand->GetSandType(), SAND_CLASS1);
  EXPECT_EQ(c.stratum->GetSegCount(), 0);
  c.well->SwitchData("W1");
  EXPECT_EQ(c.stratum->GetSegCount(), 3);
  c.well->SetUnitClass(STRATUM_LEVEL1);
  EXPECT_EQ(c.stratum->GetStratumType(), STRATUM_LEVEL1);
}

// In true vertical depth the boundaries stand at the converted depths.
TEST_F(IntervalKits, TheDepthReferenceConvertsTheBoundaries) {
  Chart c = MakeChart("D1", CWpWell::kDepthVertical);
  c.well->SetBottomDepth(1300);
  c.well->LoadChartData();
  ASSERT_EQ(c.stratum->GetSegCount(), 2);
  const double tvd = wells->ConvertDepthToZ("D1", 1100);
  EXPECT_NEAR(c.stratum->GetSeg(1).top, c.stratum->DepToMapY(tvd), 1e-6);
  ASSERT_EQ(c.stratum->GetFaultPoints().size(), 1u);
  EXPECT_DOUBLE_EQ(c.stratum->GetFaultPoints()[0].first, wells->ConvertDepthToZ("D1", 1150));
}

// The sand column draws brackets with their thickness; a drag is
// converted to depths through the chart's mapping, scale segments included.
TEST_F(IntervalKits, SandBracketsAndDragsThroughTheMapping) {
  Chart c = MakeChart("W1");
  const std::vector<std::pair<float, float>> want = {{1002, 1007}, {1013, 1019}, {1030, 1033}};
  EXPECT_EQ(Depths(c.sand), want);
  dc.Clear();
  c.sand->Draw(&dc, nullptr, nullptr, nullptr);
  const std::vector<std::string> texts = dc.Texts();
  EXPECT_NE(std::find(texts.begin(), texts.end(), "6.00"), texts.end());

  // Sands drawn 2 m tall: the map is no longer linear.
  c.well->SetSandThick(2);
  c.well->Update();
  EXPECT_NEAR(c.sand->MapYToDep(static_cast<float>(c.sand->GetSeg(1).top)), 1013, 1e-3);
  const double y = c.sand->GetSeg(1).bottom;
  const double dy = (c.sand->GetSeg(1).top - y) / 2;  // half way up the drawn sand
  c.sand->MoveSegP(1, dy, CWpSegment::kPickBottom);
  const double expected = c.sand->MapYToDep(static_cast<float>(y + dy));
  EXPECT_NEAR(expected, 1016, 1e-3) << "the sand's own scale";
  EXPECT_NEAR(Cell(TableKind::kSand, 0, 2, "sand_bottom"), expected, 1e-3);

  // A refused move changes nothing.
  const std::vector<std::pair<float, float>> before = Depths(c.sand);
  c.sand->SetSegTopDpth(1, 1005);  // into the sand above
  EXPECT_EQ(Depths(c.sand), before);
}

// Records read back unchanged; a second save is byte for byte the first.
TEST_F(IntervalKits, RecordsRoundTrip) {
  Chart c = MakeChart("W1");
  c.stratum->SetFaultLabelPos(FLP_ABOVE);
  c.stratum->SetHorizontalOffset(12.5);
  c.stratum->SetShowField({Gbk("断层名"), "", Gbk("断距")});
  c.stratum->SetTextDir(STRDIR_VERTICAL);
  c.sand->SetSymbleType(CWpSand::kSymbolBar);
  c.sand->SetThkTextPrecision(0);
  c.sand->SetFillStyle(Gbk("岩性"));
  c.well->Update();
  CZuMFile out;
  out.OpenWrite();
  c.well->SaveToFile(&out);
  const std::string saved = out.GetData();

  CZuMapFile copy_doc;
  CZuLayer* copy_layer = copy_doc.GetActiveMap()->AddLayer("copy");
  CZuMFile in;
  ASSERT_TRUE(in.OpenRead(saved));
  ASSERT_TRUE(in.ReadNextRecord());
  auto* well = dynamic_cast<CWpWell*>(AfxGetObjectFactory()->CreateObject("CWpWell"));
  copy_layer->AddObject(well);
  ASSERT_EQ(well->ReadFromFile(&in), 1);
  auto* stratum = dynamic_cast<CWpStratum*>(well->GetChild(0)->GetChild(0));
  auto* sand = dynamic_cast<CWpSand*>(well->GetChild(1)->GetChild(0));
  ASSERT_NE(stratum, nullptr);
  ASSERT_NE(sand, nullptr);
  EXPECT_EQ(stratum->GetSegCount(), 3);
  EXPECT_EQ(stratum->GetFaultLabelPos(), FLP_ABOVE);
  EXPECT_EQ(stratum->GetHorizontalOffset(), 12.5);
  EXPECT_EQ(stratum->GetShowField(), (std::vector<std::string>{Gbk("断层名"), "", Gbk("断距")}));
  EXPECT_EQ(stratum->GetTextDir(), STRDIR_VERTICAL);
  EXPECT_EQ(stratum->GetStratumType(), STRATUM_LEVEL3);
  EXPECT_EQ(sand->GetSegCount(), 3);
  EXPECT_EQ(sand->GetSymbleType(), CWpSand::kSymbolBar);
  EXPECT_EQ(sand->GetThkTextPrecision(), 0);
  EXPECT_EQ(sand->GetFillStyle(), Gbk("岩性"));
  EXPECT_EQ(sand->GetSandType(), SAND_CLASS1);

  // The copy has no data bound (its well keeps no fault points): compare
  // the columns' own records.
  const auto records = [](CWpKit* kit) {
    CZuMFile f;
    f.OpenWrite();
    kit->SaveToFile(&f);
    return DumpRecords(f.GetData());
  };
  EXPECT_EQ(records(stratum), records(c.stratum));
  EXPECT_EQ(records(sand), records(c.sand));
}

TEST_F(IntervalKits, ExportsWriteTheTablesOfTheColumns) {
  Chart c = MakeChart("W1");
  c.stratum->SetTitleText(Gbk("地层"));
  const std::string dir = ScratchDir("export");
  ScriptedDialogs dialogs;
  dialogs.file_answers = {dir + "/strata.txt", dir + "/sands.txt"};
  AfxSetDialogs(&dialogs);
  c.well->ExportData();
  ASSERT_EQ(dialogs.file_requests.size(), 2u);
  EXPECT_EQ(dialogs.file_requests[0].default_name, "W1" + Gbk("井地层数据"));
  EXPECT_EQ(dialogs.file_requests[0].title, Gbk("保存为文件 - 导出分层数据"));
  EXPECT_EQ(dialogs.file_requests[1].title, Gbk("保存为文件 - 导出砂岩数据"));
  // The names are six bytes, the title four: a column of ten.
  EXPECT_EQ(ReadFile(dir + "/strata.txt"), Gbk("顶深[m] 厚度[m] 地层") +
                                               "\r\n1000.00    10.0    " + Gbk("沙一段") +
                                               "\r\n1010.00    15.0    " + Gbk("沙二段") +
                                               "\r\n1025.00    15.0    " + Gbk("沙三段"));
  EXPECT_EQ(ReadFile(dir + "/sands.txt"), Gbk("顶深[m] 厚度[m]") +
                                              "\r\n1002.00     5.0\r\n1013.00     6.0\r\n1030.00     3.0");
}

TEST(IntervalExport, TheNameColumnWidthRule) {
  const struct {
    std::size_t longest;
    int width;
  } cases[] = {{0, 0}, {1, 5}, {4, 5}, {5, 10}, {9, 10}, {10, 15}, {14, 15}, {15, 20},
               {19, 20}, {20, 30}, {29, 30}, {30, 40}, {39, 40}, {40, 50}, {90, 50}};
  for (const auto& c : cases) EXPECT_EQ(NameColumnWidth(c.longest), c.width) << c.longest;
  EXPECT_EQ(FormatIntervalRow({1.5f, 2.25f, "ab", {}}, 5), "   1.50     2.2   ab");
  EXPECT_EQ(FormatIntervalRow({1.5f, 2.25f, "ab", {}}, 0), "   1.50     2.2");
}

}  // namespace
}  // namespace davodu::testing
