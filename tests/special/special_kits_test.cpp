// The specialised kits in a chart bound to a well database: the facies
// column, the symbol columns, rock samples, sidewall cores, core runs and
// the sand layer table: loading, drawing, editing written back, records
// and exports.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <string>
#include <vector>

#include "davodu/special/wp_facies.h"
#include "davodu/special/wp_symble_cycle.h"
#include "davodu/special/wp_symble_shoot.h"
#include "davodu/special/wp_symble_texture.h"
#include "support/cli.h"
#include "support/kit_fixture.h"
#include "support/records.h"

namespace davodu::testing {
namespace {

using Rows = std::vector<std::vector<std::string>>;

// A chart of 995 to 1045 m at 1:500 over well "W1", whose tables each test
// fills as it needs (UTF-8 here, GBK in the database).
class SpecialKits : public KitTest {
 protected:
  void SetUp() override {
    const std::string name = ::testing::UnitTest::GetInstance()->current_test_info()->name();
    wells = CWellDataManager::Instance();
    ASSERT_TRUE(wells->Open(ScratchDir("special-" + name) + "/wells.db")) << wells->GetLastError();
  }
  void TearDown() override {
    AfxSetDialogs(nullptr);
    wells->Close();
  }

  void Import(TableKind kind, int sub, std::vector<std::string> header, const Rows& rows) {
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

  // A well with one empty track; the test adds its column and loads.
  CWpWell* MakeWell(const char* name = "W1") {
    auto* well = MakeRoot<CWpWell>("CWpWell");
    well->SetPosition(FLOATPOINT{10000.0 * charts_++, 0}, 1);
    well->SetName(name);
    well->SetDepthScale(500);
    well->SetTopDepth(995);
    well->SetBottomDepth(1045);
    well->SetWidth(2000);
    well->AddTrack(kCmdWellTrackFirst, -1);
    return well;
  }
  static CWpTrack* Track(CWpWell* well) { return dynamic_cast<CWpTrack*>(well->GetChild(0)); }

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
  // The kit's own records, as the dump lists them.
  static std::vector<std::string> Records(CWpKit* kit) {
    CZuMFile f;
    f.OpenWrite();
    kit->SaveToFile(&f);
    return DumpRecords(f.GetData());
  }
  // A copy of a kit read back from its records into a well of its own
  // (which has no data bound).
  template <class Kit>
  Kit* ReadBack(Kit* kit) {
    CZuMFile out;
    out.OpenWrite();
    kit->SaveToFile(&out);
    CWpWell* well = MakeWell("nowhere");
    auto* copy = dynamic_cast<Kit*>(AfxGetObjectFactory()->CreateObject(kit->GetClassName().c_str()));
    Track(well)->AddChild(copy);
    CZuMFile in;
    EXPECT_TRUE(in.OpenRead(out.GetData()));
    EXPECT_TRUE(in.ReadNextRecord());
    EXPECT_EQ(copy->ReadFromFile(&in), 1);
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

  CWellDataManager* wells = nullptr;
  int charts_ = 0;
  RecordingDC dc;
  ChartView view{&doc, &dc};
};

// ---------------------------------------------------------------- facies

class FaciesKit : public SpecialKits {
 protected:
  void SetUp() override {
    SpecialKits::SetUp();
    Import(TableKind::kFineStratum, 3, {"name", "stratum_top", "stratum_bottom", "facies"},
           {{"S1", "1000", "1010", "HD"},
            {"S2", "1010", "1020", "HKB"},
            {"S2x", "1015", "1018", "HD"},  // overlaps S2: no interval
            {"S3", "1020", "1030", "XX"}});  // a code the catalogue lacks
  }
  CWpFacies* MakeFacies(CWpWell* well) {
    CWpFacies* f = Track(well)->AddFacies("", 1, -1);
    well->LoadChartData();
    return f;
  }
};

TEST_F(FaciesKit, ShowsTheFaciesOfTheStratificationWithCatalogueFills) {
  CWpWell* well = MakeWell();
  CWpFacies* f = MakeFacies(well);
  EXPECT_EQ(f->GetDataSource(), FACIES_FINE_FIRST + 2);
  EXPECT_EQ(Depths(f), (std::vector<std::pair<float, float>>{{1000, 1010}, {1010, 1020}, {1020, 1030}}));
  EXPECT_EQ(f->GetFaciesCode(1), "HKB");
  EXPECT_EQ(f->GetFaciesName(0), Gbk("河道"));
  EXPECT_EQ(f->GetFaciesName(2), "") << "a code the catalogue lacks has no name";
  EXPECT_THROW(f->GetFaciesName(3), CInvalidArgException);

  const std::vector<DrawOp> ops = Drawn(f);
  const std::vector<std::string> texts = Texts(ops);
  EXPECT_NE(std::find(texts.begin(), texts.end(), Gbk("河道")), texts.end());
  EXPECT_NE(std::find(texts.begin(), texts.end(), Gbk("河口坝")), texts.end());
  auto filled = [&](COLORREF color) {
    return std::count_if(ops.begin(), ops.end(), [&](const DrawOp& op) {
      return op.kind == DrawOp::kPolygon && op.brush && op.brush->color == color;
    });
  };
  EXPECT_EQ(filled(0x00D7FF), 1) << "河道's catalogue colour";
  EXPECT_EQ(filled(0x3080FF), 1) << "河口坝's catalogue colour";
  EXPECT_GE(filled(0xFFFFFF), 1) << "an unknown code draws white";

  // Dragging an interval or its boundary changes nothing.
  const auto before = Depths(f);
  view.LButtonDown(At(f, 1015));
  view.LButtonUp(At(f, 1015));
  view.LButtonDown(At(f, 1015));
  view.MouseMove(At(f, 1012), MK_LBUTTON);
  view.LButtonUp(At(f, 1012));
  view.LButtonDown(At(f, 1010));
  view.MouseMove(At(f, 1007), MK_LBUTTON);
  view.LButtonUp(At(f, 1007));
  EXPECT_EQ(Depths(f), before);
}

TEST_F(FaciesKit, ANewFaciesIsWrittenToTheDataOrKeptInAnUnboundColumn) {
  CWpWell* well = MakeWell();
  CWpFacies* f = MakeFacies(well);
  EXPECT_FALSE(f->SetFaciesName(Gbk("不是相"), 0));
  EXPECT_FALSE(f->SetFaciesName(Gbk("河道"), 7));
  ASSERT_TRUE(f->SetFaciesName(Gbk("席状砂"), 1));
  EXPECT_EQ(wells->GetTable("W1", TableKind::kFineStratum, 3)->GetString(1, "facies"), "XZS");
  EXPECT_EQ(f->GetFaciesCode(1), "XZS") << "the column reloaded";

  // Read back without data: the stored codes show, the fills come from the
  // catalogue, and a new facies stays in the kit.
  dynamic_cast<FDIndex*>(f->GetSeg(0).data.get())->fill.color = 0x123456;  // a stale fill
  CWpFacies* copy = ReadBack(f);
  EXPECT_EQ(Records(copy), Records(f));
  // Without a source the stored intervals survive the chart's loading.
  copy->SetDataSource(FACIES_NONE);
  copy->GetWell()->LoadChartData();
  ASSERT_EQ(copy->GetSegCount(), 3);
  EXPECT_EQ(copy->GetFaciesCode(0), "HD");
  const auto* rec = dynamic_cast<const FDIndex*>(copy->GetSeg(0).data.get());
  ASSERT_NE(rec, nullptr);
  EXPECT_EQ(rec->fill.color, 0x00D7FFu) << "the stored fill gives way to the catalogue's";
  ASSERT_TRUE(copy->SetFaciesName(Gbk("河口坝"), 0));
  EXPECT_EQ(copy->GetFaciesCode(0), "HKB");
  EXPECT_EQ(rec->fill.color, 0x3080FFu);
  EXPECT_EQ(wells->GetTable("W1", TableKind::kFineStratum, 3)->GetString(0, "facies"), "HD");
}

TEST_F(FaciesKit, ExportsTheStoredCodes) {
  CWpWell* well = MakeWell();
  CWpFacies* f = MakeFacies(well);
  const std::string dir = ScratchDir("facies-export");
  ScriptedDialogs dialogs;
  dialogs.file_answers = {dir + "/facies.txt", dir + "/empty.txt"};
  AfxSetDialogs(&dialogs);
  well->ExportData();
  ASSERT_EQ(dialogs.file_requests.size(), 1u);
  EXPECT_EQ(dialogs.file_requests[0].default_name, "W1" + Gbk("井沉积相数据"));
  EXPECT_EQ(dialogs.file_requests[0].title, Gbk("保存为文件 - 导出沉积相数据"));
  EXPECT_EQ(ReadFile(dir + "/facies.txt"), Gbk("顶深[m] 厚度[m] 沉积相") +
                                               "\r\n1000.00    10.0   HD\r\n1010.00    10.0  HKB"
                                               "\r\n1020.00    10.0   XX");

  // Codes all empty: the header alone names no column.
  for (int i = 0; i < 4; ++i) wells->GetTable("W1", TableKind::kFineStratum, 3)->SetValue(i, "facies", "");
  wells->GetTable("W1", TableKind::kFineStratum, 3)->SetModified(true);
  f->ResetData();
  f->ExportContent();
  EXPECT_EQ(ReadFile(dir + "/empty.txt"), Gbk("顶深[m] 厚度[m] ") +
                                              "\r\n1000.00    10.0\r\n1010.00    10.0\r\n1020.00    10.0");
}


// ---------------------------------------------------------------- symbol columns

// The polygons a kit drew, by their number of corners.
std::vector<std::vector<CPoint>> Polygons(const std::vector<DrawOp>& ops, std::size_t corners) {
  std::vector<std::vector<CPoint>> out;
  for (const DrawOp& op : ops)
    if (op.kind == DrawOp::kPolygon && op.points.size() == corners) out.push_back(op.points);
  return out;
}

TEST_F(SpecialKits, CyclesAreTrianglesSpanningTheirIntervals) {
  Import(TableKind::kCycle, 1, {"top", "thickness", "symbol"},
         {{"1000", "10", "正旋回"}, {"1010", "10", "反旋回"}});
  CWpWell* well = MakeWell();
  CWpSymbleCycle* cycle = Track(well)->AddSymbleCycle("", 1, -1);
  well->LoadChartData();
  ASSERT_EQ(Depths(cycle), (std::vector<std::pair<float, float>>{{1000, 1010}, {1010, 1020}}));
  EXPECT_EQ(cycle->GetSymbleName(0), Gbk("正旋回"));
  const auto* rec = dynamic_cast<const SymbleDIndex*>(cycle->GetSeg(0).data.get());
  ASSERT_NE(rec, nullptr);
  EXPECT_EQ(rec->style, 1301u) << "a cycle glyph, not the generic circle";

  const auto triangles = Polygons(Drawn(cycle), 3);
  ASSERT_EQ(triangles.size(), 2u);
  const CRect body = cycle->BodyDraw().Normalized();
  const CPoint top = At(cycle, 1000), bottom = At(cycle, 1010);
  // Fining upwards: the apex at the interval's top in the middle, the base
  // along its bottom from edge to edge (less the edge offsets).
  const int inset = static_cast<int>(std::lround(body.Width() * 0.05));
  EXPECT_NEAR(triangles[0][0].y, top.y, 1);
  EXPECT_NEAR(triangles[0][0].x, (body.left + body.right) / 2, 1);
  EXPECT_NEAR(triangles[0][1].y, bottom.y, 1);
  EXPECT_NEAR(triangles[0][1].x, body.right - inset, 1);
  EXPECT_NEAR(triangles[0][2].x, body.left + inset, 1);
  // Coarsening upwards: the apex at the bottom.
  EXPECT_NEAR(triangles[1][2].y, At(cycle, 1020).y, 1);
  EXPECT_NEAR(triangles[1][0].y, bottom.y, 1);
}

TEST_F(SpecialKits, ALocalColumnAddsAndDeletesInItself) {
  CWpWell* well = MakeWell();
  CWpSymbleCycle* cycle = Track(well)->AddSymbleCycle("", 1, -1);
  cycle->SetSymbleSource(SYMBLE_CYCLE_MGR);
  well->LoadChartData();
  // Deleting from an empty or a local column touches no data object.
  cycle->DeleteSymbleSeg(0);

  // A Ctrl-press on a column that is not selected starts nothing.
  ASSERT_FALSE(cycle->IsSelected());
  cycle->OnLButtonDown(nullptr, &dc, MK_CONTROL, At(cycle, 1005));
  cycle->OnLButtonUp(nullptr, &dc, MK_CONTROL, At(cycle, 1010));
  EXPECT_EQ(cycle->GetSegCount(), 0);

  view.LButtonDown(At(cycle, 1030));  // selects the column
  view.LButtonUp(At(cycle, 1030));
  view.LButtonDown(At(cycle, 1005), MK_CONTROL);
  view.MouseMove(At(cycle, 1010), MK_CONTROL | MK_LBUTTON);
  view.LButtonUp(At(cycle, 1010), MK_CONTROL);
  ASSERT_EQ(cycle->GetSegCount(), 1);
  EXPECT_NEAR(Depths(cycle)[0].first, 995, 0.01) << "from the body top: no interval above";
  EXPECT_NEAR(Depths(cycle)[0].second, 1010, 0.01);
  EXPECT_EQ(cycle->GetSymbleName(0), "");
  // An add released above where it starts is refused.
  view.LButtonDown(At(cycle, 1030), MK_CONTROL);
  view.LButtonUp(At(cycle, 1002), MK_CONTROL);
  EXPECT_EQ(cycle->GetSegCount(), 1);

  cycle->ResetData();
  EXPECT_EQ(cycle->GetSegCount(), 1) << "local intervals survive a reload";
  EXPECT_FALSE(cycle->SetSymbleName(0, Gbk("反旋回"))) << "kept in the kit, written nowhere";
  EXPECT_EQ(cycle->GetSymbleName(0), Gbk("反旋回"));

  // Read back, the interval and its text are there.
  CWpSymbleCycle* copy = ReadBack(cycle);
  EXPECT_EQ(Records(copy), Records(cycle));

  view.LButtonDown(At(cycle, 1000));  // picks the interval
  view.LButtonUp(At(cycle, 1000));
  const std::vector<MenuItem> menu = view.RightClick(At(cycle, 1000));
  ASSERT_FALSE(menu.empty());
  EXPECT_EQ(menu.back().text, Gbk("删除"));
  EXPECT_EQ(cycle->GetActiveSeg(), 0);
  EXPECT_EQ(view.GetMenuOwner(), cycle);
  view.Command(CWpSymble::kCmdDelete);
  EXPECT_EQ(cycle->GetSegCount(), 0);
}

TEST_F(SpecialKits, BeddingDrawsAtItsSizeAndReadsOnlyItsOwnRecords) {
  Import(TableKind::kTexture, 0, {"top", "thickness", "symbol"}, {{"1000", "2", "交错层理"}, {"1010", "20", "水平层理"}});
  CWpWell* well = MakeWell();
  CWpSymbleTexture* bedding = Track(well)->AddSymbleTexture("", 1, -1);
  well->LoadChartData();
  ASSERT_EQ(bedding->GetSegCount(), 2);
  EXPECT_FALSE(bedding->SetSymbleWidth(-1));
  // Fit mode 2: 2000 by 1200 draw units about each interval's middle.
  dc.Clear();
  bedding->Draw(&dc, nullptr, nullptr, nullptr);
  const std::vector<DrawOp> lines = dc.OpsOf(DrawOp::kPolyline);
  ASSERT_FALSE(lines.empty());
  int lowest = INT32_MAX, highest = INT32_MIN;
  const CPoint mid = At(bedding, 1020);
  for (const DrawOp& op : lines)
    for (const CPoint& p : op.points)
      if (std::abs(p.y - mid.y) < 700) lowest = std::min(lowest, p.x), highest = std::max(highest, p.x);
  EXPECT_NEAR(highest - lowest, 0.9 * 2000, 30) << "the horizontal bedding's lines span 90% of its box";

  // Edge offsets: 0.96 beside 0.05 is refused, 0.95 accepted.
  EXPECT_TRUE(bedding->SetEdgeOffR(0.05));
  EXPECT_FALSE(bedding->SetEdgeOffL(0.96));
  EXPECT_TRUE(bedding->SetEdgeOffL(0.95));

  // A bedding section followed by another object's records: the reader
  // stops at its own end even when its own settings record is missing.
  CZuMFile out;
  out.OpenWrite();
  CWpSymble plain(nullptr);  // writes the shared part and the 80, no settings record
  plain.SaveToFile(&out);
  out.SetRecordNumber(kRecTagged);
  out.AddRecordElement(7);
  out.WriteNextRecord();
  CZuMFile in;
  ASSERT_TRUE(in.OpenRead(out.GetData()));
  ASSERT_TRUE(in.ReadNextRecord());
  auto* copy = Make<CWpSymbleTexture>("CWpSymbleTexture");
  EXPECT_EQ(copy->ReadFromFile(&in), 1);
  EXPECT_EQ(in.GetRecordNumber(), kRecEnd) << "the next object's record is still to come";
  ASSERT_TRUE(in.ReadNextRecord());
  int next = 0;
  in.GetRecordElement(0, next);
  EXPECT_EQ(next, 7);
  delete copy;
}

TEST_F(SpecialKits, PerforationSymbolsFilterByDateAndExport) {
  Import(TableKind::kShoot, 0, {"top", "thickness", "date", "kind"},
         {{"1000", "2", "2020-01-05", "射孔"}, {"1010", "3", "2021-06-01", "补孔"}, {"1020", "1", "2023-03-03", "射孔"}});
  CWpWell* well = MakeWell();
  CWpSymbleShoot* shoot = Track(well)->AddSymbleShoot("", 1, -1);
  well->LoadChartData();
  ASSERT_EQ(shoot->GetSegCount(), 3);
  shoot->SetStartDateTime("2021-01-01");
  shoot->SetEndDateTime("2022-12-31");
  ASSERT_EQ(Depths(shoot), (std::vector<std::pair<float, float>>{{1010, 1013}}));
  const auto* rec = dynamic_cast<const SymbleDIndex*>(shoot->GetSeg(0).data.get());
  ASSERT_NE(rec, nullptr);
  EXPECT_EQ(rec->style, 1322u);
  EXPECT_EQ(rec->color, 0xFF0000u);
  shoot->IsFilter(true);  // the first and last date of the data
  EXPECT_EQ(shoot->GetSegCount(), 3);
  CWpSymbleShoot* copy = ReadBack(shoot);
  EXPECT_EQ(copy->GetStartDateTime(), "2020-01-05");
  EXPECT_EQ(copy->GetAllDateTime().size(), 3u);

  const std::string dir = ScratchDir("symbol-export");
  ScriptedDialogs dialogs;
  dialogs.file_answers = {dir + "/shoot.txt"};
  AfxSetDialogs(&dialogs);
  shoot->ExportContent();
  ASSERT_EQ(dialogs.file_requests.size(), 1u);
  EXPECT_EQ(dialogs.file_requests[0].title, Gbk("保存为文件 - 导出射孔数据"));
  EXPECT_EQ(ReadFile(dir + "/shoot.txt"), Gbk("顶深[m] 厚度[m]") + "\r\n1000.00     2.0\r\n1010.00     3.0\r\n1020.00     1.0");
}

}  // namespace
}  // namespace davodu::testing
