// The core columns bound to a well database: rock samples of the cored
// intervals (CWpLthSample) and the coring summary (CWpIntegratedCore):
// loading, drawing, editing written back, records and exports.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <sstream>
#include <string>
#include <vector>

#include "davodu/host/records/record_dump.h"
#include "davodu/special/wp_integrated_core.h"
#include "davodu/special/wp_lth_sample.h"
#include "support/cli.h"
#include "support/kit_fixture.h"
#include "support/records.h"

namespace davodu::testing {
namespace {

using Rows = std::vector<std::vector<std::string>>;
using Depths = std::vector<std::pair<float, float>>;

// A chart of 995 to 1045 m at 1:500 over well "W1", whose tables each test
// fills as it needs (UTF-8 here, GBK in the database).
class CoreKits : public KitTest {
 protected:
  void SetUp() override {
    const std::string name = ::testing::UnitTest::GetInstance()->current_test_info()->name();
    wells = CWellDataManager::Instance();
    ASSERT_TRUE(wells->Open(ScratchDir("cores-" + name) + "/wells.db")) << wells->GetLastError();
  }
  void TearDown() override {
    AfxSetDialogs(nullptr);
    wells->Close();
  }

  void Import(TableKind kind, std::vector<std::string> header, const Rows& rows) {
    TableImport in;
    in.source = "test";
    in.well = "W1";
    in.kind = kind;
    for (std::string& h : header) in.header.push_back(Utf8ToGbk(h));
    for (const auto& row : rows) {
      std::vector<std::string> gbk;
      for (const std::string& cell : row) gbk.push_back(Utf8ToGbk(cell));
      in.rows.push_back(gbk);
    }
    std::string error;
    ASSERT_TRUE(wells->ImportTableRows(in, &error)) << error;
  }

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

  static Depths DepthsOf(CWpSegment* kit) {
    Depths out;
    for (int i = 0; i < kit->GetSegCount(); ++i)
      out.emplace_back(kit->MapYToDep(static_cast<float>(kit->GetSeg(i).top)),
                       kit->MapYToDep(static_cast<float>(kit->GetSeg(i).bottom)));
    return out;
  }
  static CPoint At(CWpSegment* kit, double depth, double x_fraction = 0.5) {
    const double x = kit->GetLeft() + (kit->GetRight() - kit->GetLeft()) * x_fraction;
    return kit->GetTranslator().MapToDraw(FLOATPOINT{x, kit->DepToMapY(depth)});
  }
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
  static bool Has(const std::vector<std::string>& texts, const std::string& text) {
    return std::find(texts.begin(), texts.end(), text) != texts.end();
  }
  // The polylines drawn with a pen of a colour.
  static std::vector<std::vector<CPoint>> Lines(const std::vector<DrawOp>& ops, COLORREF color) {
    std::vector<std::vector<CPoint>> out;
    for (const DrawOp& op : ops)
      if (op.kind == DrawOp::kPolyline && op.pen && op.pen->color == color) out.push_back(op.points);
    return out;
  }

  CWellDataManager* wells = nullptr;
  int charts_ = 0;
  RecordingDC dc;
  ChartView view{&doc, &dc};
};

// ---------------------------------------------------------------- rock samples

// Core analysis samples: three of one run 1000-1008 m, one of a run
// 1010-1015 m, one whose run overlaps the first (not shown) and one
// without a run (its own interval, no distance: a bracket without ticks).
class RockSamples : public CoreKits {
 protected:
  void SetUp() override {
    CoreKits::SetUp();
    Import(TableKind::kCore, {"样品编号", "顶深", "厚度", "取芯顶深", "取芯底深", "距顶位置"},
           {{"5", "1000.5", "0.1", "1000", "1008", "50"},
            {"7", "1003", "0.1", "1000", "1008", "300"},
            {"10", "1006", "0.1", "1000", "1008", "600"},
            {"11", "1011", "0.1", "1010", "1015", "100"},
            {"12", "1005", "0.1", "1004", "1012", "100"},
            {"13", "1020", "0.5", "", "", ""}});
  }
  CWpLthSample* MakeSamples(CWpWell* well) {
    CWpLthSample* s = Track(well)->AddLthSample("", 1, -1);
    s->SetTableName(Gbk("岩心分析数据"));
    s->SetDepthFiledName(Gbk("距顶位置"));
    s->SetNumberFiledName(Gbk("样品编号"));
    s->SetSampleSource(LSMAPLE_CORE);
    well->LoadChartData();
    return s;
  }
  std::shared_ptr<CWellTable> Core() { return wells->GetTable("W1", TableKind::kCore, 0); }
};

TEST_F(RockSamples, SamplesOfOneCoredIntervalFormOneSegment) {
  CWpWell* well = MakeWell();
  CWpLthSample* s = MakeSamples(well);
  EXPECT_EQ(s->GetDataName(), Gbk(",岩心分析数据,距顶位置,样品编号,"));
  ASSERT_EQ(DepthsOf(s), (Depths{{1000, 1008}, {1010, 1015}, {1020, 1020.5f}}))
      << "the overlapping run is not shown";
  const LthSampleDIndex* a = s->GetSampleRecord(0);
  ASSERT_NE(a, nullptr);
  EXPECT_EQ(a->index, 0);
  EXPECT_DOUBLE_EQ(a->top_depth, 1000);
  EXPECT_EQ(a->samples, (std::vector<std::pair<double, double>>{{0.5, 5}, {3, 7}, {6, 10}}))
      << "the distance in centimetres reads as metres";
  EXPECT_EQ(s->GetSampleRecord(1)->samples.size(), 1u);
  EXPECT_TRUE(s->GetSampleRecord(2)->samples.empty());
}

// The bracket of every interval, one tick per sample at its depth, marked
// samples (5 and 10 with step 5) with long ticks and their numbers.
TEST_F(RockSamples, DrawsBracketsTicksAndTheNumbersOfMarkedSamples) {
  CWpWell* well = MakeWell();
  CWpLthSample* s = MakeSamples(well);
  const std::vector<DrawOp> ops = Drawn(s);
  const auto brackets = Lines(ops, 0x0000FF);
  ASSERT_EQ(brackets.size(), 3u);
  const CRect body = s->BodyDraw().Normalized();
  const int w = body.right - body.left;
  const int e = body.left + w * 80 / 100;
  EXPECT_EQ(brackets[0].size(), 4u);
  EXPECT_EQ(brackets[0][0], (CPoint{body.right, At(s, 1000).y}));
  EXPECT_EQ(brackets[0][1].x, e);
  EXPECT_EQ(brackets[0][3], (CPoint{body.right, At(s, 1008).y}));
  // The arms of the thin interval do not cross.
  EXPECT_GE(brackets[2][1].y, brackets[2][2].y);

  const auto ticks = Lines(ops, 0x00FF00);
  ASSERT_EQ(ticks.size(), 4u);
  struct Tick {
    double depth;
    int from_percent;
  };
  const Tick expected[] = {{1000.5, 40}, {1003, 60}, {1006, 40}, {1011, 60}};
  for (std::size_t i = 0; i < 4; ++i) {
    EXPECT_NEAR(ticks[i][0].y, At(s, expected[i].depth).y, 1) << i;
    EXPECT_EQ(ticks[i][0].x, body.left + w * expected[i].from_percent / 100) << i;
    EXPECT_EQ(ticks[i][1].x, e) << i;
  }
  const std::vector<std::string> texts = Texts(ops);
  EXPECT_TRUE(Has(texts, "5"));
  EXPECT_TRUE(Has(texts, "10"));
  EXPECT_FALSE(Has(texts, "7"));
  EXPECT_FALSE(Has(texts, "11"));

  s->SetMarkTextVisible(0);
  EXPECT_FALSE(Has(Texts(Drawn(s)), "5"));
}

// A mark step of 0 used to divide by zero: it marks no sample.
TEST_F(RockSamples, AMarkStepBelowOneMarksNothing) {
  CWpWell* well = MakeWell();
  CWpLthSample* s = MakeSamples(well);
  struct Case {
    int step;
    double number;
    bool marked;
  };
  const Case cases[] = {{5, 5, true},  {5, 10, true},      {5, 7, false}, {5, -5, true},
                        {1, 7, true},  {5, kFltMax, false}, {0, 0, false}, {0, 5, false},
                        {-3, 6, false}};
  for (const Case& c : cases) {
    s->SetMarkStep(c.step);
    EXPECT_EQ(s->IsMarked(c.number), c.marked) << c.step << " " << c.number;
  }
  s->SetMarkStep(0);
  const std::vector<DrawOp> ops = Drawn(s);
  EXPECT_EQ(Lines(ops, 0x00FF00).size(), 4u);
  EXPECT_FALSE(Has(Texts(ops), "5"));
}

// Samples of one run share their interval: the run moves and stretches as
// one, stopped by the other runs only.
TEST_F(RockSamples, ARunIsEditedAsOneBetweenTheOtherRuns) {
  CWpWell* well = MakeWell();
  CWpLthSample* s = MakeSamples(well);
  LogLthSampleDIO* io = s->GetData();
  ASSERT_NE(io, nullptr);
  ASSERT_TRUE(io->Move(1, -2)) << "a sample may move with the others of its run";
  for (int row = 0; row < 3; ++row) {
    EXPECT_DOUBLE_EQ(io->GetTop(row), 998) << row;
    EXPECT_DOUBLE_EQ(io->GetBottom(row), 1006) << row;
  }
  EXPECT_DOUBLE_EQ(Core()->GetDouble(0, "top"), 998.5) << "a sample keeps its place in the run";
  EXPECT_DOUBLE_EQ(Core()->GetDouble(2, "distance"), 600);
  EXPECT_FALSE(io->Move(0, 1)) << "the overlapping run starting at 1004 is in the way";
  EXPECT_FALSE(io->SetBottom(3, 1020.2)) << "past the top of the interval below";
  ASSERT_TRUE(io->SetBottom(3, 1020));
  EXPECT_FALSE(io->SetTop(3, 1011.9)) << "above the bottom of the run starting higher up";
  EXPECT_FALSE(io->SetTop(3, 1020)) << "upside down";
  ASSERT_TRUE(io->SetTop(3, 1012.5));
  EXPECT_DOUBLE_EQ(Core()->GetDouble(3, "top"), 1013.5) << "the sample follows its run's top";
  // A sample without a run is its own interval.
  ASSERT_TRUE(io->SetBottom(5, 1021));
  EXPECT_DOUBLE_EQ(Core()->GetDouble(5, "thickness"), 1);
}

TEST_F(RockSamples, DraggingASegmentMovesItsRunInTheTable) {
  CWpWell* well = MakeWell();
  CWpLthSample* s = MakeSamples(well);
  view.LButtonDown(At(s, 1012));  // selects the column
  view.LButtonUp(At(s, 1012));
  view.LButtonDown(At(s, 1012));
  view.MouseMove(At(s, 1014), MK_LBUTTON);
  view.LButtonUp(At(s, 1014));
  EXPECT_NEAR(Core()->GetDouble(3, "run_top"), 1012, 0.01);
  EXPECT_NEAR(Core()->GetDouble(3, "run_bottom"), 1017, 0.01);
  EXPECT_NEAR(Core()->GetDouble(3, "top"), 1013, 0.01);
  ASSERT_EQ(s->GetSegCount(), 3);
  EXPECT_NEAR(DepthsOf(s)[1].first, 1012, 0.01) << "the column shows the table again";
}

TEST_F(RockSamples, RecordsReadBackAndAColumnWithoutDataKeepsItsSegments) {
  CWpWell* well = MakeWell();
  CWpLthSample* s = MakeSamples(well);
  s->SetMarkStep(3);
  s->SetMarkTextAlign(1);
  CWpLthSample* copy = ReadBack(s);
  EXPECT_EQ(Records(copy), Records(s));
  EXPECT_EQ(copy->GetMarkStep(), 3);
  EXPECT_EQ(copy->GetTableName(), Gbk("岩心分析数据"));
  EXPECT_EQ(copy->GetNumberFiledName(), Gbk("样品编号"));
  ASSERT_EQ(copy->GetSegCount(), 3);
  EXPECT_EQ(copy->GetSampleRecord(0)->samples, s->GetSampleRecord(0)->samples);

  // Without a source the stored segments survive the chart's loading, and
  // edits stay in the column.
  copy->SetSampleSource(0);
  copy->GetWell()->LoadChartData();
  ASSERT_EQ(copy->GetSegCount(), 3);
  copy->MoveSeg(2, copy->DepToMapY(1025) - copy->DepToMapY(1020));
  EXPECT_NEAR(DepthsOf(copy)[2].first, 1025, 0.01);
  EXPECT_EQ(copy->GetSampleRecord(2)->top_depth, copy->GetSeg(2).top_depth);
}

TEST_F(RockSamples, ADuplicateShowsTheSameSamplesWithTheSameLook) {
  CWpWell* well = MakeWell();
  CWpLthSample* s = MakeSamples(well);
  ZULOGPEN pen = s->GetSmapleLogPen();
  pen.width = 7;
  s->SetSmapleLogPen(pen);
  ZULOGPEN bracket = s->GetSegLogPen();
  bracket.style = kPenDash;
  s->SetSegLogPen(bracket);
  s->SetMarkStep(2);
  s->SetMarkTextAlign(1);
  auto* twin = Make<CWpLthSample>("CWpLthSample");
  Track(well)->AddChild(twin);
  s->DuplicateAttribute(twin);
  EXPECT_EQ(twin->GetData(), s->GetData());
  EXPECT_EQ(twin->GetDataName(), s->GetDataName());
  EXPECT_EQ(twin->GetDepthFiledName(), Gbk("距顶位置"));
  EXPECT_EQ(twin->GetSmapleLogPen().width, 7);
  EXPECT_EQ(twin->GetMarkStep(), 2);
  EXPECT_EQ(twin->GetMarkTextAlign(), 1);
  EXPECT_EQ(twin->GetSegCount(), 3);
  EXPECT_EQ(twin->GetLthSmapleMgr(), s->GetLthSmapleMgr());
  EXPECT_TRUE(twin->IfLineStyleUsed(kPenDash));

  s->Amplify(FLOATPOINT{0, 0}, 2, 2);
  EXPECT_EQ(s->GetSmapleLogPen().width, 14);
  EXPECT_EQ(s->GetMarkLogFont().height, 200);
}

// A stored segment that cannot be placed again (it overlaps the one before)
// is passed over with its own records; the reader stops at the section's end.
TEST_F(RockSamples, AStoredSegmentThatIsRefusedIsSkippedWithItsRecords) {
  CWpWell* well = MakeWell();
  CWpLthSample* s = MakeSamples(well);
  s->GetSeg(1).top = s->DepToMapY(1004);  // now overlaps the first
  CZuMFile out;
  out.OpenWrite();
  s->SaveToFile(&out);
  WriteTexts(&out, kRecTagged, {"after"});
  CWpLthSample* copy = Make<CWpLthSample>("CWpLthSample");
  Track(MakeWell("nowhere"))->AddChild(copy);
  CZuMFile in;
  ASSERT_TRUE(in.OpenRead(out.GetData()));
  ASSERT_TRUE(in.ReadNextRecord());
  ASSERT_EQ(copy->ReadFromFile(&in), 1);
  ASSERT_TRUE(in.ReadNextRecord());
  std::string tag;
  in.GetRecordElement(0, tag);
  EXPECT_EQ(tag, "after");
  ASSERT_EQ(copy->GetSegCount(), 2);
  EXPECT_EQ(copy->GetSampleRecord(0)->samples.size(), 3u);
  EXPECT_TRUE(copy->GetSampleRecord(1)->samples.empty()) << "the third interval, samples of none other";
}

TEST_F(RockSamples, ASectionThatDoesNotOpenWithItsClassRecordIsRefused) {
  CWpWell* well = MakeWell();
  for (const char* other : {"CWpSegment", "CWpFacies"}) {
    auto* kit = Make<CWpSegment>(other);
    Track(well)->AddChild(kit);
    CZuMFile out;
    out.OpenWrite();
    kit->SaveToFile(&out);
    auto* copy = Make<CWpLthSample>("CWpLthSample");
    Track(well)->AddChild(copy);
    CZuMFile in;
    ASSERT_TRUE(in.OpenRead(out.GetData()));
    ASSERT_TRUE(in.ReadNextRecord());
    EXPECT_EQ(copy->ReadFromFile(&in), 0) << other;
  }
}

// A document with sample columns, with and without segments, lists record
// by record: the class record inside the kit's section is walked as the
// section's own, so the walk ends where the document does.
TEST_F(RockSamples, DocumentsWithSampleColumnsDump) {
  CWpWell* well = MakeWell();
  MakeSamples(well);
  CWpLthSample* empty = Track(well)->AddLthSample(Gbk("空").c_str(), 1, -1);
  ASSERT_EQ(empty->GetSegCount(), 0);
  CWpLthSample* copy = ReadBack(empty);
  EXPECT_EQ(Records(copy), Records(empty));
  Track(well)->AddFacies(Gbk("后").c_str(), 1, -1);
  const std::string path = ScratchDir("cores-dump") + "/samples.wpd";
  ASSERT_TRUE(doc.SaveToFile(path));
  std::ostringstream listing;
  std::string error;
  EXPECT_TRUE(DumpDocument(path, listing, &error)) << error;
  CZuMapFile read;
  ASSERT_TRUE(read.ReadFromFile(path));
}

TEST_F(RockSamples, ExportsOneLinePerSample) {
  CWpWell* well = MakeWell();
  MakeSamples(well);
  const std::string dir = ScratchDir("cores-sample-export");
  ScriptedDialogs dialogs;
  dialogs.file_answers = {dir + "/samples.txt"};
  AfxSetDialogs(&dialogs);
  well->ExportData();
  ASSERT_EQ(dialogs.file_requests.size(), 1u);
  EXPECT_EQ(dialogs.file_requests[0].default_name, "W1" + Gbk("井岩样数据"));
  EXPECT_EQ(dialogs.file_requests[0].title, Gbk("保存为文件 - 导出岩样数据"));
  // The interval without samples writes no line.
  EXPECT_EQ(ReadFile(dir + "/samples.txt"),
            " TOP       BOT     DISTANCE  SAMPLEID"
            "\r\n1000.00   1008.00   0.50    5"
            "\r\n1000.00   1008.00   3.00    7"
            "\r\n1000.00   1008.00   6.00    10"
            "\r\n1010.00   1015.00   1.00    11");
}

// ---------------------------------------------------------------- coring summary

// Four runs: footage given or taken from the interval, recovery computed
// or given (above 100 %), and a run of one metre without a core length.
class CoreRuns : public CoreKits {
 protected:
  void SetUp() override {
    CoreKits::SetUp();
    Import(TableKind::kIntegratedCore, {"筒次", "顶深", "底深", "进尺", "心长", "收获率"},
           {{"1", "1000", "1009", "9", "8.4", ""},
            {"2", "1009", "1015", "", "3", ""},
            {"3", "1020", "1021", "", "", ""},
            {"4", "1030", "1040", "10", "10.5", "105"}});
  }
  CWpIntegratedCore* MakeCore(CWpWell* well) {
    CWpIntegratedCore* c = Track(well)->AddIntegratedCore("", 1, -1);
    well->LoadChartData();
    return c;
  }
  std::shared_ptr<CWellTable> Runs() { return wells->GetTable("W1", TableKind::kIntegratedCore, 0); }
  // The fills of a colour: their corners' y.
  static std::vector<std::vector<CPoint>> Fills(const std::vector<DrawOp>& ops, COLORREF color,
                                                DeviceBrush::Kind kind) {
    std::vector<std::vector<CPoint>> out;
    for (const DrawOp& op : ops)
      if (op.kind == DrawOp::kPolygon && op.brush && op.brush->kind == kind && op.brush->color == color &&
          op.brush->rop != kRopNotXor)
        out.push_back(op.points);
    return out;
  }
};

TEST_F(CoreRuns, ShowsEveryRunWithItsLengthsAndRecovery) {
  CWpWell* well = MakeWell();
  CWpIntegratedCore* c = MakeCore(well);
  EXPECT_EQ(c->GetDataSource(), DATA_WELL);
  ASSERT_EQ(DepthsOf(c), (Depths{{1000, 1009}, {1009, 1015}, {1020, 1021}, {1030, 1040}}));
  struct Expected {
    int run;
    double footage, core, recovery, share;
  };
  const Expected expected[] = {{1, 9, 8.4, 8.4 / 9 * 100, 8.4 / 9},
                               {2, 6, 3, 50, 0.5},
                               {3, 1, kFltMax, kFltMax, -1},
                               {4, 10, 10.5, 105, 1}};
  for (int i = 0; i < 4; ++i) {
    const CoreRunDIndex* rec = c->GetRunRecord(i);
    ASSERT_NE(rec, nullptr);
    EXPECT_EQ(rec->run, expected[i].run);
    EXPECT_NEAR(rec->footage, expected[i].footage, 1e-9) << i;
    EXPECT_NEAR(rec->core_length, expected[i].core, 1e-9) << i;
    EXPECT_NEAR(rec->recovery, expected[i].recovery, 1e-9) << i;
    EXPECT_NEAR(CWpIntegratedCore::RecoveredShare(rec), expected[i].share, 1e-9) << i;
  }
}

TEST_F(CoreRuns, DrawsTheRecoveredCoreOverTheLostAndTheTextsThatFit) {
  CWpWell* well = MakeWell();
  CWpIntegratedCore* c = MakeCore(well);
  const std::vector<DrawOp> ops = Drawn(c);
  const COLORREF core = c->GetCoreBrush().color;
  const auto recovered = Fills(ops, core, DeviceBrush::kSolid);
  const auto lost = Fills(ops, c->GetLostBrush().color, DeviceBrush::kHatch);
  // Run 1: 8.4 m of 9 recovered from the top; run 4 whole; run 3 all lost.
  ASSERT_EQ(recovered.size(), 3u);
  ASSERT_EQ(lost.size(), 3u);
  auto span = [](const std::vector<CPoint>& corners) {
    int lo = INT32_MAX, hi = INT32_MIN;
    for (const CPoint& p : corners) lo = std::min(lo, p.y), hi = std::max(hi, p.y);
    return std::pair<int, int>{hi, lo};
  };
  EXPECT_NEAR(span(recovered[0]).first, At(c, 1000).y, 1);
  EXPECT_NEAR(span(recovered[0]).second, At(c, 1008.4).y, 1);
  EXPECT_NEAR(span(lost[0]).second, At(c, 1009).y, 1);
  EXPECT_NEAR(span(recovered[2]).second, At(c, 1040).y, 1) << "a recovery above 100 % fills the bar";
  EXPECT_NEAR(span(lost[2]).first, At(c, 1020).y, 1) << "no core length: the bar is hatched whole";

  const std::vector<std::string> texts = Texts(ops);
  for (const char* t : {"1", "8.40/9.00", "93.3%", "2", "3.00/6.00", "50.0%", "4", "10.50/10.00", "105.0%"})
    EXPECT_TRUE(Has(texts, t)) << t;
  EXPECT_FALSE(Has(texts, "3")) << "one metre at 1:500 holds no line of text";
  // Every text stands right of the bar, inside the column.
  const CRect body = c->BodyDraw().Normalized();
  for (const DrawOp& op : ops) {
    if (op.kind != DrawOp::kText || op.text == c->GetTitleText()) continue;
    EXPECT_GT(op.points.empty() ? 0 : op.points[0].x, body.left + body.Width() * 0.36) << op.text;
  }
}

TEST_F(CoreRuns, MovesAndResizesAreWrittenBackWithinTheNeighbours) {
  CWpWell* well = MakeWell();
  CWpIntegratedCore* c = MakeCore(well);
  view.LButtonDown(At(c, 1012));  // selects the column
  view.LButtonUp(At(c, 1012));
  view.LButtonDown(At(c, 1012));  // picks run 2
  view.LButtonUp(At(c, 1012));
  view.LButtonDown(At(c, 1015));  // its bottom edge
  view.MouseMove(At(c, 1017), MK_LBUTTON);
  view.LButtonUp(At(c, 1017));
  EXPECT_NEAR(Runs()->GetDouble(1, "bottom"), 1017, 0.01);
  EXPECT_TRUE(IsMissing(Runs()->GetDouble(1, "footage"))) << "a footage not given stays so";
  EXPECT_NEAR(c->GetRunRecord(1)->footage, 8, 0.01);

  LogIntegratedCoreIO* io = c->GetData();
  ASSERT_NE(io, nullptr);
  EXPECT_FALSE(io->SetTop(1, 1005)) << "into run 1";
  EXPECT_FALSE(io->Move(2, -5)) << "into run 2";
  ASSERT_TRUE(io->SetTop(0, 1001));
  EXPECT_DOUBLE_EQ(Runs()->GetDouble(0, "footage"), 8) << "a given footage follows the interval";
  ASSERT_TRUE(io->SetBottom(3, 1041));
  EXPECT_NEAR(Runs()->GetDouble(3, "recovery"), 10.5 / 11 * 100, 1e-9) << "and a given recovery too";
  ASSERT_TRUE(io->Move(2, 2));
  EXPECT_DOUBLE_EQ(Runs()->GetDouble(2, "top"), 1022);
  EXPECT_DOUBLE_EQ(Runs()->GetDouble(2, "bottom"), 1023);
}

TEST_F(CoreRuns, RecordsReadBackAndTheTableExports) {
  CWpWell* well = MakeWell();
  CWpIntegratedCore* c = MakeCore(well);
  c->SetBarWidth(0.4);
  c->SetBarWidth(2);  // ignored
  CWpIntegratedCore* copy = ReadBack(c);
  EXPECT_EQ(Records(copy), Records(c));
  EXPECT_DOUBLE_EQ(copy->GetBarWidth(), 0.4);
  ASSERT_EQ(copy->GetSegCount(), 4);
  EXPECT_EQ(copy->GetRunRecord(3)->run, 4);
  copy->SetCoreSource(0);
  copy->GetWell()->LoadChartData();
  EXPECT_EQ(copy->GetSegCount(), 4) << "a column without data keeps its runs";

  const std::string dir = ScratchDir("cores-run-export");
  ScriptedDialogs dialogs;
  dialogs.file_answers = {dir + "/runs.txt"};
  AfxSetDialogs(&dialogs);
  well->ExportData();
  ASSERT_EQ(dialogs.file_requests.size(), 1u);
  EXPECT_EQ(dialogs.file_requests[0].default_name, "W1" + Gbk("井取芯数据"));
  EXPECT_EQ(ReadFile(dir + "/runs.txt"), Gbk("筒次 顶深[m] 底深[m] 进尺[m] 心长[m] 收获率[%]") +
                                             "\r\n   1  1000.00  1009.00     9.00     8.40     93.3"
                                             "\r\n   2  1009.00  1015.00     6.00     3.00     50.0"
                                             "\r\n   3  1020.00  1021.00     1.00 -9999.00  -9999.0"
                                             "\r\n   4  1030.00  1040.00    10.00    10.50    105.0");
}

// The runs in the chart's altitude: depths converted, lengths along the
// hole kept.
TEST_F(CoreRuns, AltitudeChartsConvertTheDepthsOnly) {
  WellInfo info;
  ASSERT_TRUE(wells->GetWellInfo("W1", &info));
  info.kb = 100;
  ASSERT_TRUE(wells->SetWellInfo(info)) << wells->GetLastError();
  CWpWell* well = MakeWell();
  well->SetDepthType(DT_AD);
  well->SetTopDepth(895);
  well->SetBottomDepth(945);
  CWpIntegratedCore* c = MakeCore(well);
  LogIntegratedCoreIO* io = c->GetData();
  ASSERT_NE(io, nullptr);
  EXPECT_DOUBLE_EQ(io->GetTop(0), 900);
  EXPECT_DOUBLE_EQ(io->GetBottom(0), 909);
  EXPECT_DOUBLE_EQ(io->GetFootage(1), 6);
  EXPECT_DOUBLE_EQ(io->GetCoreLength(0), 8.4);
  EXPECT_NEAR(DepthsOf(c)[0].first, 900, 0.01);
}

}  // namespace
}  // namespace davodu::testing
