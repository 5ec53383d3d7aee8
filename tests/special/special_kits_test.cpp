// The specialised kits in a chart bound to a well database: the facies
// column, the symbol columns, rock samples, sidewall cores, core runs and
// the sand layer table: loading, drawing, editing written back, records
// and exports.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "davodu/special/wp_facies.h"
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
                                               "\n1000.00    10.0   HD\n1010.00    10.0  HKB"
                                               "\n1020.00    10.0   XX");

  // Codes all empty: the header alone names no column.
  for (int i = 0; i < 4; ++i) wells->GetTable("W1", TableKind::kFineStratum, 3)->SetValue(i, "facies", "");
  wells->GetTable("W1", TableKind::kFineStratum, 3)->SetModified(true);
  f->ResetData();
  f->ExportContent();
  EXPECT_EQ(ReadFile(dir + "/empty.txt"), Gbk("顶深[m] 厚度[m] ") +
                                              "\n1000.00    10.0\n1010.00    10.0\n1020.00    10.0");
}

}  // namespace
}  // namespace davodu::testing
