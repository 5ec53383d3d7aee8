// The sand layer table and the sidewall core column in a chart bound to a
// well database: their data objects, drawing, editing written back,
// records, exports and the site's presets of sand layer sub-columns.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "davodu/data/data_sources.h"
#include "davodu/special/sand_stratum_options.h"
#include "davodu/special/wp_sand_stratum.h"
#include "davodu/special/wp_sidewall_core.h"
#include "support/cli.h"
#include "support/kit_fixture.h"
#include "support/records.h"

namespace davodu::testing {
namespace {

using Rows = std::vector<std::vector<std::string>>;

// A chart of 995 to 1045 m at 1:500 over well "W1".
class CoreAndLayerKits : public KitTest {
 protected:
  void SetUp() override {
    const std::string name = ::testing::UnitTest::GetInstance()->current_test_info()->name();
    wells = CWellDataManager::Instance();
    ASSERT_TRUE(wells->Open(ScratchDir("cores-layers-" + name) + "/wells.db")) << wells->GetLastError();
    AfxSetDialogs(&dialogs);
  }
  void TearDown() override {
    AfxSetDialogs(nullptr);
    wells->Close();
  }

  void Import(TableKind kind, std::vector<std::string> header, const Rows& rows, int sub = 0) {
    TableImport in;
    in.source = "test";
    in.well = "W1";
    in.kind = kind;
    in.sub = sub;
    for (std::string& h : header) in.header.push_back(Utf8ToGbk(h));
    for (const auto& row : rows) {
      std::vector<std::string> gbk;
      for (const std::string& cell : row) gbk.push_back(Utf8ToGbk(cell));
      in.rows.push_back(gbk);
    }
    std::string error;
    ASSERT_TRUE(wells->ImportTableRows(in, &error)) << error;
  }
  std::shared_ptr<CWellTable> Table(TableKind kind) { return wells->GetTable("W1", kind); }

  CWpWell* MakeWell(const char* name = "W1") {
    auto* well = MakeRoot<CWpWell>("CWpWell");
    well->SetPosition(FLOATPOINT{20000.0 * charts_++, 0}, 1);
    well->SetName(name);
    well->SetDepthScale(500);
    well->SetTopDepth(995);
    well->SetBottomDepth(1045);
    well->SetWidth(2000);
    well->AddTrack(kCmdWellTrackFirst, -1);
    return well;
  }
  static CWpTrack* Track(CWpWell* well) { return dynamic_cast<CWpTrack*>(well->GetChild(0)); }

  static std::vector<std::string> Records(CWpKit* kit) {
    CZuMFile f;
    f.OpenWrite();
    kit->SaveToFile(&f);
    return DumpRecords(f.GetData());
  }
  // A copy read back from the kit's records into a well without data.
  template <class Kit>
  Kit* ReadBack(Kit* kit) {
    CZuMFile out;
    out.OpenWrite();
    kit->SaveToFile(&out);
    // A record of the next object follows: the reader must stop at its own end.
    out.SetRecordNumber(kRecTagged);
    out.AddRecordElement("next object");
    out.WriteNextRecord();
    CWpWell* well = MakeWell("nowhere");
    auto* copy = dynamic_cast<Kit*>(AfxGetObjectFactory()->CreateObject(kit->GetClassName().c_str()));
    Track(well)->AddChild(copy);
    CZuMFile in;
    EXPECT_TRUE(in.OpenRead(out.GetData()));
    EXPECT_TRUE(in.ReadNextRecord());
    EXPECT_EQ(copy->ReadFromFile(&in), 1);
    EXPECT_TRUE(in.ReadNextRecord());
    std::string tag;
    in.GetRecordElement(0, tag);
    EXPECT_EQ(tag, "next object");
    return copy;
  }
  std::vector<DrawOp> Drawn(CWpKit* kit) {
    dc.Clear();
    kit->Draw(&dc, nullptr, nullptr, nullptr);
    return dc.ops();
  }
  static std::vector<std::string> Texts(const std::vector<DrawOp>& ops) {
    std::vector<std::string> out;
    for (const DrawOp& op : ops)
      if (op.kind == DrawOp::kText) out.push_back(op.text);
    return out;
  }
  static bool Has(const std::vector<std::string>& texts, const std::string& text) {
    return std::find(texts.begin(), texts.end(), text) != texts.end();
  }
  static long Filled(const std::vector<DrawOp>& ops, COLORREF color) {
    return std::count_if(ops.begin(), ops.end(), [&](const DrawOp& op) {
      return op.kind == DrawOp::kPolygon && op.brush && op.brush->kind == DeviceBrush::kSolid &&
             op.brush->color == color;
    });
  }
  static long Patterned(const std::vector<DrawOp>& ops) {
    return std::count_if(ops.begin(), ops.end(), [](const DrawOp& op) {
      return op.brush && op.brush->kind == DeviceBrush::kPattern;
    });
  }
  static CPoint At(CWpKit* kit, double depth, double x_fraction) {
    const double left = kit->MapNode(0).x, right = kit->MapNode(1).x;
    return kit->GetTranslator().MapToDraw(FLOATPOINT{left + (right - left) * x_fraction, kit->DepToMapY(depth)});
  }
  void Drag(CWpKit* kit, double from, double to, double x_fraction) {
    view.LButtonDown(At(kit, 1040, 0.95));  // selects the column
    view.LButtonUp(At(kit, 1040, 0.95));
    view.LButtonDown(At(kit, from, x_fraction));
    view.MouseMove(At(kit, (from + to) / 2, x_fraction), MK_LBUTTON);
    view.MouseMove(At(kit, to, x_fraction), MK_LBUTTON);
    view.LButtonUp(At(kit, to, x_fraction));
  }

  CWellDataManager* wells = nullptr;
  ScriptedDialogs dialogs;
  int charts_ = 0;
  RecordingDC dc;
  ChartView view{&doc, &dc};
};

// ---------------------------------------------------------------- sidewall cores

class SidewallCores : public CoreAndLayerKits {
 protected:
  void SetUp() override {
    CoreAndLayerKits::SetUp();
    Import(TableKind::kSideWallCore, {"depth", "lithology", "oil", "sample_no"},
           {{"1002", "灰色细砂岩", "油斑", "1"},
            {"1010", "泥岩", "", "2"},
            {"1020", "玄武岩?", "荧光", "3"},
            {"1030", "浅灰色粉砂岩", "油迹", "4"}});
  }
  CWpSidewallCore* MakeCores(CWpWell* well) {
    CWpSidewallCore* kit = Track(well)->AddSidewallCore("", 1, -1);
    well->LoadChartData();
    return kit;
  }
  static std::vector<float> DepthsOf(const CWpSidewallCore* kit) {
    std::vector<float> out;
    for (const SidewallSample& s : kit->GetSamples()) out.push_back(s.depth);
    return out;
  }
};

TEST_F(SidewallCores, EachSampleTakesTheColourAndPatternOfItsLithologyText) {
  CWpWell* well = MakeWell();
  CWpSidewallCore* kit = MakeCores(well);
  ASSERT_NE(kit->GetData(), nullptr);
  ASSERT_EQ(DepthsOf(kit), (std::vector<float>{1002, 1010, 1020, 1030}));
  const std::vector<SidewallSample>& s = kit->GetSamples();
  EXPECT_EQ(s[0].lithology, Gbk("灰色细砂岩"));
  EXPECT_EQ(s[0].grade, Gbk("油斑"));
  struct Case {
    int sample;
    COLORREF color;
    bool pattern;
    bool grade;
    const char* why;
  } cases[] = {
      {0, 0x808080, true, true, "a colour of the colour catalogue before the lithology"},
      {1, 0x8CB48C, true, false, "no colour written: the lithology's own"},
      {2, 0xFFFFFF, false, true, "a text the catalogue does not know: white, no pattern"},
      {3, 0xC0C0C0, true, true, "浅灰色: the colour 浅灰"},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(s[c.sample].color, c.color) << c.why;
    EXPECT_EQ(s[c.sample].pattern != 0, c.pattern) << c.why;
    EXPECT_EQ(s[c.sample].grade_symbol != 0, c.grade) << c.why;
  }

  std::vector<DrawOp> ops = Drawn(kit);
  EXPECT_EQ(Filled(ops, 0x808080), 1);
  EXPECT_EQ(Filled(ops, 0x8CB48C), 1);
  EXPECT_GE(Patterned(ops), 3 + 3) << "three lithology patterns and three grade symbols";
  EXPECT_EQ(Texts(ops), std::vector<std::string>{Gbk("井壁取芯")}) << "the title alone: texts are off by default";

  kit->SetLithologyTextVisible(true);
  kit->SetGradeTextVisible(true);
  ops = Drawn(kit);
  EXPECT_TRUE(Has(Texts(ops), Gbk("灰色细砂岩 油斑")));
  EXPECT_TRUE(Has(Texts(ops), Gbk("泥岩")));
  // Everything stays inside the body.
  const CRect body = kit->BodyDraw();
  for (const DrawOp& op : ops)
    if (op.kind == DrawOp::kPolygon)
      for (const CPoint& p : op.points) {
        EXPECT_GE(p.x, body.left);
        EXPECT_LE(p.x, body.right);
      }
}

TEST_F(SidewallCores, CloseSamplesDoNotOverlapNorTheirTexts) {
  Import(TableKind::kSideWallCore, {"depth", "lithology", "oil"},
         {{"1002.0", "细砂岩", "油斑"}, {"1002.3", "细砂岩", "油斑"}, {"1002.6", "泥岩", ""}});
  CWpWell* well = MakeWell();
  CWpSidewallCore* kit = MakeCores(well);
  kit->SetLithologyTextVisible(true);
  ASSERT_EQ(kit->GetSamples().size(), 3u);
  const std::vector<DrawOp> ops = Drawn(kit);
  // The blocks: polygons filled with the lithology colours.
  std::vector<std::pair<int, int>> blocks;  // draw Y top, bottom
  for (const DrawOp& op : ops) {
    if (op.kind != DrawOp::kPolygon || !op.brush || op.brush->kind != DeviceBrush::kSolid) continue;
    if (op.brush->color != 0xA0F0FF && op.brush->color != 0x8CB48C) continue;
    int top = op.points[0].y, bottom = op.points[0].y;
    for (const CPoint& p : op.points) top = std::max(top, p.y), bottom = std::min(bottom, p.y);
    blocks.emplace_back(top, bottom);
  }
  ASSERT_EQ(blocks.size(), 3u);
  std::sort(blocks.rbegin(), blocks.rend());
  for (std::size_t i = 1; i < blocks.size(); ++i) EXPECT_LE(blocks[i].first, blocks[i - 1].second);
  // Three samples within 0.6 m (1.2 mm at 1:500): one text, not three on top of each other.
  const std::vector<std::string> texts = Texts(ops);
  EXPECT_EQ(std::count(texts.begin(), texts.end(), Gbk("细砂岩")), 1);
  EXPECT_FALSE(Has(texts, Gbk("泥岩")));
}

TEST_F(SidewallCores, ADraggedSampleIsWrittenBackAndStopsAtItsNeighbours) {
  CWpWell* well = MakeWell();
  CWpSidewallCore* kit = MakeCores(well);
  CWpWell* other_chart = MakeWell();
  CWpSidewallCore* other = MakeCores(other_chart);

  Drag(kit, 1010, 1015, kit->GetSymbolPos());
  EXPECT_NEAR(Table(TableKind::kSideWallCore)->GetDouble(1, "depth"), 1015, 0.05);
  EXPECT_NEAR(kit->GetSamples()[1].depth, 1015, 0.05);
  other_chart->OnIdle();
  EXPECT_NEAR(other->GetSamples()[1].depth, 1015, 0.05) << "another chart sees it at its next poll";

  Drag(kit, 1015, 1040, kit->GetSymbolPos());
  EXPECT_NEAR(Table(TableKind::kSideWallCore)->GetDouble(1, "depth"), 1020, 0.01) << "stops at the next sample";
  EXPECT_EQ(DepthsOf(kit)[2], 1020);

  // A press beside every sample drags nothing.
  Drag(kit, 1025, 1028, kit->GetSymbolPos());
  EXPECT_EQ(DepthsOf(kit), (std::vector<float>{1002, 1020, 1020, 1030}));

  // The data refuses what would pass a neighbour, and the column shows the data as it is.
  EXPECT_FALSE(kit->SetSampleDepth(0, 1031));
  EXPECT_NEAR(DepthsOf(kit)[0], 1002, 0.01);
  EXPECT_THROW(kit->SetSampleDepth(4, 1000), CInvalidArgException);
}

TEST_F(SidewallCores, RecordsReadBackAndTheTableExports) {
  CWpWell* well = MakeWell();
  CWpSidewallCore* kit = MakeCores(well);
  kit->SetLithologyTextVisible(true);
  kit->SetSymbolSize(300);
  CWpSidewallCore* copy = ReadBack(kit);
  EXPECT_EQ(Records(copy), Records(kit));
  EXPECT_EQ(copy->GetDataName(), Gbk("井壁取芯数据,岩性,含油级别"));
  EXPECT_EQ(copy->GetSamples().size(), 4u) << "without data the stored samples show";
  EXPECT_EQ(copy->GetSymbolSize(), 300);
  // A column of its own moves its sample itself, not past its neighbours.
  EXPECT_TRUE(copy->SetSampleDepth(1, 1025));
  EXPECT_EQ(copy->GetSamples()[1].depth, 1020);

  const std::string dir = ScratchDir("sidewall-export");
  dialogs.file_answers = {dir + "/cores.txt"};
  well->ExportData();
  ASSERT_EQ(dialogs.file_requests.size(), 1u);
  EXPECT_EQ(dialogs.file_requests[0].default_name, "W1" + Gbk("井井壁取芯数据"));
  // The text columns as wide as their longest text or heading rounds up to.
  EXPECT_EQ(ReadFile(dir + "/cores.txt"), Gbk("深度[m] 岩性 含油级别") +
                                              "\r\n1002.00" + Gbk("     灰色细砂岩      油斑") +
                                              "\r\n1010.00" + Gbk("           泥岩") + std::string(10, ' ') +
                                              "\r\n1020.00" + Gbk("        玄武岩?      荧光") +
                                              "\r\n1030.00" + Gbk("   浅灰色粉砂岩      油迹"));
}

TEST_F(SidewallCores, TheDataNamesChooseTheTableAndEditsKeepItSound) {
  Import(TableKind::kPointData, {"depth", "name", "岩性", "含油"}, {{"1005", "P1", "砂岩", "油浸"}}, 1);
  CWpWell* well = MakeWell();
  well->LoadChartData();
  WDMgrIO* gateway = well->GetDataMgr();
  struct Case {
    const char* name;
    int count;  // -2: no data object
  } cases[] = {
      {"井壁取芯数据,岩性,含油级别", 4},
      {"井壁取芯数据,,", 4},  // the table's own columns
      {"井壁取芯数据", -2},    // a table without its text columns
      {"点数据1,岩性,含油", 1},
      {"点数据2,岩性,含油", -2},
      {"岩性数据,岩性,含油", -2},
  };
  for (const Case& c : cases) {
    LogSidewallCoreIO* io = gateway->GetSidewallCoreIO(DATA_WELL, Gbk(c.name));
    if (c.count == -2) {
      EXPECT_EQ(io, nullptr) << c.name;
      continue;
    }
    ASSERT_NE(io, nullptr) << c.name;
    EXPECT_EQ(io->GetCount(), c.count) << c.name;
    EXPECT_FALSE(io->GetText1(0).empty()) << c.name;
  }

  LogSidewallCoreIO* io = gateway->GetSidewallCoreIO(DATA_WELL, Gbk("井壁取芯数据,岩性,含油级别"));
  ASSERT_NE(io, nullptr);
  EXPECT_TRUE(io->SetText1(0, Gbk("灰白色含砾中粗砂岩")));
  EXPECT_EQ(io->GetText1(0), TruncateGbk(Gbk("灰白色含砾中粗砂岩"), 15)) << "cut to 15 bytes, whole characters";
  EXPECT_EQ(io->GetText1(0).size(), 14u);
  EXPECT_FALSE(io->SetDepth(1, 1025)) << "would pass the next sample";
  EXPECT_TRUE(io->SetDepth(1, 1020)) << "two samples may share a depth";
  EXPECT_FALSE(io->Insert(1, 1040)) << "out of depth order there";
  EXPECT_TRUE(io->Insert(4, 1040));
  EXPECT_EQ(io->GetCount(), 5);
  EXPECT_EQ(io->GetText2(4), "");
}

// ---------------------------------------------------------------- sand layers

class SandLayers : public CoreAndLayerKits {
 protected:
  void SetUp() override {
    CoreAndLayerKits::SetUp();
    // Home of its own: the option file of a test is not another's.
    home = ScratchDir("sand-layer-home-" + std::string(
                                                ::testing::UnitTest::GetInstance()->current_test_info()->name()));
    std::filesystem::create_directories(home + "/Database");
    setenv("DAVODU_HOME", home.c_str(), 1);
    // S2 holds two sands: its second record starts no layer of its own.
    Import(TableKind::kSand,
           {"name", "stratum_top", "stratum_bottom", "sand_top", "sand_bottom", "sand_thickness",
            "valid_thickness", "porosity", "permeability", "oil_saturation", "result", "flooding"},
           {{"S1", "1000", "1006", "1001", "1005", "4", "3.2", "21.46", "350", "55", "油层", "中水淹"},
            {"S2", "1010", "1020", "1011", "1014", "3", "2", "18.2", "120.55", "40", "差油层", ""},
            {"S2", "", "", "1016", "1019", "3", "", "", "", "", "", ""},
            {"S3", "1030", "1040", "", "", "", "", "15", "", "", "水层", "未水淹"}});
  }
  void TearDown() override {
    unsetenv("DAVODU_HOME");
    CoreAndLayerKits::TearDown();
  }
  void WriteOptions(const std::string& text) {
    std::ofstream(home + "/Database/SandStratumOption.json") << text;
  }
  CWpSandStratum* MakeLayers(CWpWell* well) {
    CWpSandStratum* kit = Track(well)->AddSandStratum("", 1, -1);
    well->LoadChartData();
    return kit;
  }
  std::string home;
};

TEST_F(SandLayers, OneRowPerLayerWithItsFieldsAndTheFloodingColour) {
  CWpWell* well = MakeWell();
  CWpSandStratum* kit = MakeLayers(well);
  ASSERT_EQ(kit->GetSegCount(), 3);
  EXPECT_EQ(kit->GetFields(), DefaultSandStratumFields());
  // Layer, sand and effective thickness, porosity, permeability, oil
  // saturation, interpretation, flooding grade.
  const std::vector<std::string> s1{"S1", "4.0", "3.2", "21.5", "350.0", "55.0", Gbk("油层"), Gbk("中水淹")};
  const std::vector<std::string> s2{"S2", "6.0", "2.0", "18.2", "120.5", "40.0", Gbk("差油层"), ""};
  EXPECT_EQ(kit->GetCells(0), s1);
  EXPECT_EQ(kit->GetCells(1), s2) << "the sand thickness of both records of the layer";
  EXPECT_EQ(kit->GetCells(2)[1], "") << "a missing value is an empty cell";
  COLORREF color = 0;
  EXPECT_TRUE(kit->GetFloodColor(0, &color));
  EXPECT_EQ(color, 0xFF8080u) << "中水淹's catalogue colour";
  EXPECT_FALSE(kit->GetFloodColor(1, &color));
  EXPECT_THROW(kit->GetCells(3), CInvalidArgException);

  const std::vector<DrawOp> ops = Drawn(kit);
  const std::vector<std::string> texts = Texts(ops);
  EXPECT_EQ(Filled(ops, 0xFF8080), 1);
  EXPECT_TRUE(kit->GetFloodColor(2, &color));
  EXPECT_EQ(color, 0xFFFFFFu) << "未水淹";
  for (const std::string& text : {std::string("S1"), std::string("21.5"), Gbk("差油层"), Gbk("砂层")})
    EXPECT_TRUE(Has(texts, text)) << GbkToUtf8(text);
  // The second head row: the sub-column titles, below the column's title.
  int title_y = 0, field_y = 0;
  for (const DrawOp& op : ops) {
    if (op.kind != DrawOp::kText) continue;
    if (op.text == Gbk("砂层")) title_y = op.points[0].y;
    if (op.text == Gbk("层号")) field_y = op.points[0].y;
  }
  ASSERT_NE(field_y, 0) << "the sub-column titles are drawn";
  EXPECT_GT(title_y, field_y) << "the title above them (draw Y grows upwards)";
  EXPECT_GE(kit->GetTitleHeight(), kit->MinTitle() - 1);

  // Another SANDTYPE gives other layers: the sands themselves.
  kit->SetSandType(SAND_CLASS1);
  EXPECT_EQ(kit->GetSegCount(), 3);
  EXPECT_EQ(kit->GetCells(2)[0], "S2") << "the second sand of S2 is a row of its own";
}

TEST_F(SandLayers, ADraggedBoundaryIsWrittenBackAndARefusalRestoresTheView) {
  CWpWell* well = MakeWell();
  CWpSandStratum* kit = MakeLayers(well);
  view.LButtonDown(At(kit, 1025, 0.5));  // selects the column
  view.LButtonUp(At(kit, 1025, 0.5));
  // Picks the layer at `inside`, then drags its handle at `from` to `to`.
  const auto drag_handle = [&](double inside, double from, double to) {
    view.LButtonDown(At(kit, inside, 0.5));
    view.LButtonUp(At(kit, inside, 0.5));
    ASSERT_GE(kit->GetActiveSeg(), 0);
    view.LButtonDown(At(kit, from, 0.5));
    view.MouseMove(At(kit, (from + to) / 2, 0.5), MK_LBUTTON);
    view.LButtonUp(At(kit, to, 0.5));
  };
  drag_handle(1003, 1006, 1008);
  EXPECT_NEAR(Table(TableKind::kSand)->GetDouble(0, "stratum_bottom"), 1008, 0.05);
  EXPECT_NEAR(kit->MapYToDep(static_cast<float>(kit->GetSeg(0).bottom)), 1008, 0.05);

  // A top may not cut into the sand the layer holds (1001 to 1005).
  drag_handle(1003, 1000, 1003);
  EXPECT_NEAR(Table(TableKind::kSand)->GetDouble(0, "stratum_top"), 1001, 0.05) << "held at the sand's top";
  EXPECT_NEAR(kit->MapYToDep(static_cast<float>(kit->GetSeg(0).top)), 1001, 0.05);
  EXPECT_NEAR(Table(TableKind::kSand)->GetDouble(1, "stratum_top"), 1010, 0.01) << "the next layer as it was";
}

TEST_F(SandLayers, RecordsReadBackAndTheTableExports) {
  CWpWell* well = MakeWell();
  CWpSandStratum* kit = MakeLayers(well);
  std::vector<SandStratumField> fields{{Gbk("层位"), Gbk("层号"), -1, 1},
                                       {Gbk("孔隙度"), Gbk("孔隙度"), 2, 1},
                                       {Gbk("水淹级别"), Gbk("水淹"), -1, 2}};
  ASSERT_TRUE(kit->SetFields(fields));
  EXPECT_EQ(kit->GetCells(0), (std::vector<std::string>{"S1", "21.46", Gbk("中水淹")}));
  // A list the kit cannot show is refused whole.
  EXPECT_FALSE(kit->SetFields({}));
  EXPECT_FALSE(kit->SetFields({{Gbk("孔隙度"), "", 7, 1}}));
  EXPECT_FALSE(kit->SetFields({{Gbk("孔隙度"), "", 1, 0}}));
  EXPECT_EQ(kit->GetFields(), fields);

  CWpSandStratum* copy = ReadBack(kit);
  EXPECT_EQ(Records(copy), Records(kit));
  EXPECT_EQ(copy->GetFields(), fields);
  ASSERT_EQ(copy->GetSegCount(), 3);
  EXPECT_EQ(copy->GetCells(2), (std::vector<std::string>{"S3", "15.00", Gbk("未水淹")}));
  EXPECT_TRUE(copy->GetFloodColor(0, nullptr)) << "the stored rows keep their colour";

  const std::string dir = ScratchDir("sand-layer-export");
  dialogs.file_answers = {dir + "/layers.txt"};
  well->ExportData();
  ASSERT_EQ(dialogs.file_requests.size(), 1u);
  EXPECT_EQ(dialogs.file_requests[0].title, Gbk("保存为文件 - 导出砂层数据"));
  EXPECT_EQ(ReadFile(dir + "/layers.txt"), Gbk("顶深[m] 厚度[m] 层位 孔隙度 水淹级别") +
                                               "\r\n1000.00     6.0   S1     21.46" + Gbk("    中水淹") +
                                               "\r\n1010.00    10.0   S2     18.20         -" +
                                               "\r\n1030.00    10.0   S3     15.00" + Gbk("    未水淹"));
}

TEST_F(SandLayers, PresetsComeFromTheSiteFileAndABadFileIsReported) {
  struct Case {
    const char* name;
    const char* file;     // null: no file
    const char* preset;   // asked for
    const char* first;    // the first field taken
    bool found;
    const char* message;  // part of the report, null: none
  } cases[] = {
      {"no file", nullptr, "", "层位", false, nullptr},
      {"the first preset", R"({"presets": [{"name": "简", "fields": [{"field": "有效厚度", "decimals": 2}]},
                                           {"name": "孔渗", "fields": [{"field": "孔隙度"}]}]})",
       "", "有效厚度", true, nullptr},
      {"a preset by name", R"({"presets": [{"name": "简", "fields": [{"field": "有效厚度"}]},
                                           {"name": "孔渗", "fields": [{"field": "孔隙度"}]}]})",
       "孔渗", "孔隙度", true, nullptr},
      {"no such preset", R"({"presets": [{"name": "简", "fields": [{"field": "有效厚度"}]}]})", "全",
       "层位", false, nullptr},
      {"not JSON", "{\"presets\": [", "", "层位", false, "SandStratumOption.json: line"},
      {"decimals out of range", R"({"presets": [{"fields": [{"field": "孔隙度", "decimals": 9}]}]})", "",
       "层位", false, "presets[0].fields[0].decimals"},
      {"no presets key", R"({"preset": []})", "", "层位", false, "\"presets\" missing"},
  };
  for (const Case& c : cases) {
    std::filesystem::remove(home + "/Database/SandStratumOption.json");
    if (c.file) WriteOptions(c.file);
    dialogs.messages.clear();
    bool found = !c.found;
    const std::vector<SandStratumField> fields = SandStratumPresetFields(Utf8ToGbk(c.preset), &found);
    ASSERT_FALSE(fields.empty()) << c.name;
    EXPECT_EQ(fields[0].field, Utf8ToGbk(c.first)) << c.name;
    EXPECT_EQ(found, c.found) << c.name;
    if (c.message) {
      ASSERT_EQ(dialogs.messages.size(), 1u) << c.name;
      EXPECT_NE(dialogs.messages[0].find(c.message), std::string::npos) << c.name << ": " << dialogs.messages[0];
    } else {
      EXPECT_TRUE(dialogs.messages.empty()) << c.name;
    }
  }

  // A new column takes the first preset and keeps it: the file changing
  // later changes no chart.
  WriteOptions(R"({"presets": [{"name": "简", "fields": [{"field": "有效厚度", "title": "有效", "decimals": 2}]}]})");
  CWpWell* well = MakeWell();
  CWpSandStratum* kit = MakeLayers(well);
  ASSERT_EQ(kit->GetFields().size(), 1u);
  EXPECT_EQ(kit->GetCells(0), std::vector<std::string>{"3.20"});
  WriteOptions("damaged");
  kit->ResetData();
  CWpSandStratum* copy = ReadBack(kit);
  EXPECT_EQ(copy->GetFields(), kit->GetFields());
}

// ---------------------------------------------------------------- depth references

// Both families in each depth reference of a deviated well: depths read
// converted, depths written converted back to measured depth.
TEST_F(SandLayers, BothFamiliesConvertDepthsInEachReference) {
  Import(TableKind::kSideWallCore, {"depth", "lithology", "oil"}, {{"1002", "细砂岩", "油斑"}, {"1030", "泥岩", ""}});
  WellInfo info;
  ASSERT_TRUE(wells->GetWellInfo("W1", &info));
  info.kb = 100;
  ASSERT_TRUE(wells->SetWellInfo(info));
  ASSERT_TRUE(wells->SetDeviation("W1", {{0, 0, 0}, {500, 0, 0}, {600, 40, 90}, {3000, 40, 90}}));
  for (int mode : {DT_MD, DT_TVD, DT_AD}) {
    SCOPED_TRACE("depth reference " + std::to_string(mode));
    WDMgrAdapter gateway(wells, "W1");
    gateway.SetDepthType(static_cast<DepthType>(mode));
    const DepthConverter convert(wells, "W1", mode);
    if (mode != DT_MD) {
      ASSERT_GT(std::abs(convert.FromMeasured(1002) - 1002), 50) << "a reference of its own";
    }

    LogSidewallCoreIO* cores = gateway.GetSidewallCoreIO(DATA_WELL, Gbk("井壁取芯数据,岩性,含油级别"));
    ASSERT_NE(cores, nullptr);
    EXPECT_NEAR(cores->GetDepth(0), convert.FromMeasured(1002), 1e-6);
    EXPECT_TRUE(cores->SetDepth(0, convert.FromMeasured(1001)));
    EXPECT_NEAR(Table(TableKind::kSideWallCore)->GetDouble(0, "depth"), 1001, 1e-6);
    EXPECT_TRUE(cores->SetDepth(0, convert.FromMeasured(1002)));

    LogSandStratum2DIO* layers = gateway.GetSandStratum2DIO(DATA_WELL, SAND_CLASS2, nullptr);
    ASSERT_NE(layers, nullptr);
    ASSERT_EQ(layers->GetCount(), 3);
    EXPECT_NEAR(layers->GetTop(1), convert.FromMeasured(1010), 1e-6);
    EXPECT_NEAR(layers->GetBottom(1), convert.FromMeasured(1020), 1e-6);
    EXPECT_NEAR(layers->GetValue(1, Gbk("砂岩厚度")), 6, 1e-9) << "values as stored";
    EXPECT_TRUE(layers->SetBottom(1, convert.FromMeasured(1021)));
    EXPECT_NEAR(Table(TableKind::kSand)->GetDouble(1, "stratum_bottom"), 1021, 1e-6);
    EXPECT_TRUE(layers->Move(1, convert.FromMeasured(1011) - convert.FromMeasured(1010)));
    EXPECT_NEAR(Table(TableKind::kSand)->GetDouble(1, "stratum_top"), 1011, 1e-3);
    // Back as it was for the next reference.
    EXPECT_TRUE(layers->Move(1, convert.FromMeasured(1010) - convert.FromMeasured(1011)));
    EXPECT_TRUE(layers->SetBottom(1, convert.FromMeasured(1020)));
  }
  WDMgrAdapter gateway(wells, "W1");
  EXPECT_EQ(gateway.GetSandStratum2DIO(DATA_SCATT, SAND_CLASS2, nullptr), nullptr);
  EXPECT_EQ(gateway.GetSandStratum2DIO(DATA_WELL, SAND_SEGMENT1, nullptr), nullptr);
}

}  // namespace
}  // namespace davodu::testing
