// The interpretation result, oil test and injection profile columns in a
// chart bound to a well database: what they draw, editing, gestures,
// records and exports.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <string>
#include <vector>

#include "davodu/interval/wp_oil_test.h"
#include "davodu/interval/wp_result.h"
#include "davodu/interval/wp_water_entry.h"
#include "davodu/kits/head_text.h"
#include "support/cli.h"
#include "support/kit_fixture.h"
#include "support/records.h"

namespace davodu::testing {
namespace {

using Rows = std::vector<std::vector<std::string>>;

// Well W1 with
//   sands (一类砂岩数据): S1 1000-1004 油层/弱水淹, S2 1006-1008 (no result)/强水淹,
//     S3 1010-1014 水层/未水淹;
//   oil tests: T1 1000-1004 油层, daily oil 1, gas 1, water 2; T2 1010-1014
//     水层, no oil, gas missing, water 6;
//   injection profiles on 2010-03-05 (1000-1004: 20, 1006-1008: 40) and
//     2011-01-20 (1010-1014: 10).
// The chart: 995 to 1020 m at 1:200, a result, an oil test and an
// injection profile column.
class ResultKits : public KitTest {
 protected:
  void SetUp() override {
    const std::string name = ::testing::UnitTest::GetInstance()->current_test_info()->name();
    wells = CWellDataManager::Instance();
    ASSERT_TRUE(wells->Open(ScratchDb(ScratchDir("results-" + name)))) << wells->GetLastError();
    Import(TableKind::kSand, {"层位", "砂岩顶深", "砂岩底深", "电测解释", "水淹解释"},
           {{"S1", "1000", "1004", "油层", "弱水淹"},
            {"S2", "1006", "1008", "", "强水淹"},
            {"S3", "1010", "1014", "水层", "未水淹"}});
    Import(TableKind::kTest,
           {"层位", "层段顶测深", "层段底测深", "试油结果", "措施类别", "工作制度", "日产油量", "日产气量",
            "日产水量"},
           {{"T1", "1000", "1004", "油层", "压裂", "自喷", "1", "1", "2"},
            {"T2", "1010", "1014", "水层", "", "抽油", "0", "", "6"}});
    Import(TableKind::kSuction, {"日期", "顶深", "底深", "日注入量", "吸水强度"},
           {{"2010-03-05", "1000", "1004", "20", "2"},
            {"2010-03-05", "1006", "1008", "40", "4"},
            {"2011-01-20", "1010", "1014", "10", "3"}});
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
    for (std::string& h : header) h = Utf8ToGbk(h);
    in.header = header;
    for (const auto& row : rows) {
      std::vector<std::string> r;
      for (const std::string& cell : row) r.push_back(Utf8ToGbk(cell));
      in.rows.push_back(r);
    }
    std::string error;
    ASSERT_TRUE(wells->ImportTableRows(in, &error)) << error;
  }

  struct Chart {
    CWpWell* well;
    CWpResult* result;
    CWpOilTest* test;
    CWpWaterEntry* profile;
  };
  Chart MakeChart() {
    auto* well = MakeRoot<CWpWell>("CWpWell");
    well->SetPosition(FLOATPOINT{20000.0 * charts_++, 0}, 1);
    well->SetName("W1");
    well->SetDepthScale(200);
    well->SetTopDepth(995);
    well->SetBottomDepth(1020);
    CWpResult* result = well->AddTrack(kCmdWellTrackFirst, -1)->AddResult("", 1, -1);
    CWpOilTest* test = well->AddTrack(kCmdWellTrackFirst, -1)->AddOilTest("", 1, -1);
    CWpWaterEntry* profile = well->AddTrack(kCmdWellTrackFirst, -1)->AddWaterEntryList(false, "", 1, -1);
    well->GetChild(0)->SetWidth(1000);
    well->GetChild(1)->SetWidth(4000);
    well->GetChild(2)->SetWidth(3000);
    result->SetDataType(Gbk("当前井"));
    result->SetDataTable(Gbk("一类砂岩数据"));
    result->SetLabelVisible(true);
    test->SetCellTextVisible(true);
    test->SetFillMode(0);
    test->SetFullWidth(false);
    test->SetPieVisible(true);
    well->LoadChartData();
    profile->SetParamNumber(2);
    profile->SetParamName(0, Gbk("日注入量"));
    profile->SetParamName(1, Gbk("吸水强度"));
    profile->SetParamRange(0, 0, 40);
    profile->SetParamRange(1, 5, 5);  // no scale yet
    profile->ResetData();
    well->Update();
    return {well, result, test, profile};
  }

  std::vector<DrawOp> Draw(CWpKit* kit) {
    dc.Clear();
    kit->Draw(&dc, nullptr, nullptr, nullptr);
    return dc.ops();
  }
  static bool HasText(const std::vector<DrawOp>& ops, const std::string& text) {
    return std::any_of(ops.begin(), ops.end(),
                       [&](const DrawOp& op) { return op.kind == DrawOp::kText && op.text == text; });
  }
  // The filled polygons of one brush colour.
  static std::vector<DrawOp> Fills(const std::vector<DrawOp>& ops, COLORREF color) {
    std::vector<DrawOp> out;
    for (const DrawOp& op : ops)
      if (op.kind == DrawOp::kPolygon && op.brush && op.brush->color == color) out.push_back(op);
    return out;
  }
  static CRect Bounds(const DrawOp& op) {
    CRect r{op.points[0].x, op.points[0].y, op.points[0].x, op.points[0].y};
    for (const CPoint& p : op.points) {
      r.left = std::min(r.left, p.x);
      r.right = std::max(r.right, p.x);
      r.top = std::min(r.top, p.y);
      r.bottom = std::max(r.bottom, p.y);
    }
    return r;
  }
  // A text in a rectangle: the rectangle it is clipped to and the lines
  // drawn in it.
  struct Block {
    CRect rect;
    std::vector<const DrawOp*> lines;
    // The text with its line breaks and blanks taken out.
    std::string Solid() const {
      std::string out;
      for (const DrawOp* op : lines)
        for (char ch : op->text)
          if (ch != ' ') out += ch;
      return out;
    }
  };
  static std::vector<Block> Blocks(const std::vector<DrawOp>& ops) {
    std::vector<Block> out;
    bool open = false;
    for (const DrawOp& op : ops) {
      if (op.kind == DrawOp::kClipRect) {
        out.push_back({CRect{op.points[0].x, op.points[0].y, op.points[1].x, op.points[1].y}.Normalized(), {}});
        open = true;
      } else if (op.kind == DrawOp::kRestoreDC) {
        open = false;
      } else if (open && op.kind == DrawOp::kText) {
        out.back().lines.push_back(&op);
      }
    }
    return out;
  }
  // Whether a cell shows the text, broken into lines or not.
  static bool HasCellText(const std::vector<DrawOp>& ops, std::string text) {
    std::erase(text, ' ');
    const std::vector<Block> blocks = Blocks(ops);
    return std::any_of(blocks.begin(), blocks.end(), [&](const Block& b) { return b.Solid() == text; });
  }
  // The box of a text the recording device measured (half the font height
  // a byte across, the font height up and down) about its middle.
  struct Box {
    double left, bottom, right, top;
    bool Overlaps(const Box& o) const { return left < o.right && o.left < right && bottom < o.top && o.bottom < top; }
  };
  static Box TextBox(const DrawOp& op) {
    EXPECT_EQ(op.align_v, kAlignMiddle) << op.text;
    const double w = op.font->height / 2 * static_cast<double>(op.text.size()), h = op.font->height;
    const double x = op.points[0].x - (op.align_h == kAlignCenter ? w / 2 : op.align_h == kAlignRight ? w : 0);
    return {x, op.points[0].y - h / 2, x + w, op.points[0].y + h / 2};
  }
  static CPoint At(CWpKit* kit, double depth, double x_fraction = 0.5) {
    const double x = kit->MapNode(0).x + (kit->MapNode(1).x - kit->MapNode(0).x) * x_fraction;
    return kit->GetTranslator().MapToDraw(FLOATPOINT{x, kit->DepToMapY(depth)});
  }
  // A chart read back from the records of another.
  CWpWell* ReadCopy(CWpWell* well) {
    CZuMFile out;
    out.OpenWrite();
    well->SaveToFile(&out);
    CZuMFile in;
    EXPECT_TRUE(in.OpenRead(out.GetData()));
    EXPECT_TRUE(in.ReadNextRecord());
    auto* copy = MakeRoot<CWpWell>("CWpWell");
    EXPECT_EQ(copy->ReadFromFile(&in), 1);
    return copy;
  }
  static std::vector<std::string> Records(CWpKit* kit) {
    CZuMFile f;
    f.OpenWrite();
    kit->SaveToFile(&f);
    return DumpRecords(f.GetData());
  }

  CWellDataManager* wells = nullptr;
  int charts_ = 0;
  RecordingDC dc;
  ChartView view{&doc, &dc};
};

TEST_F(ResultKits, ResultIntervalsCarryTheirSymbolsAndLabels) {
  Chart c = MakeChart();
  // The row without a result shows nothing.
  ASSERT_EQ(c.result->GetSegCount(), 2);
  EXPECT_EQ(c.result->GetSegList()[0]->index, 0);
  EXPECT_EQ(c.result->GetSegList()[1]->index, 2);
  std::vector<DrawOp> ops = Draw(c.result);
  EXPECT_TRUE(HasText(ops, Gbk("油层")));
  EXPECT_TRUE(HasText(ops, Gbk("水层")));
  // The oil-bearing symbols: 油层 blue, 水层 red.
  const auto painted = [](const std::vector<DrawOp>& ops, COLORREF color) {
    return std::any_of(ops.begin(), ops.end(), [&](const DrawOp& op) {
      return (op.brush && op.brush->color == color) || (op.pen && op.pen->color == color);
    });
  };
  EXPECT_TRUE(painted(ops, 0x0000FF));
  EXPECT_TRUE(painted(ops, 0xFF0000));

  // The flooding field draws the water-flooding symbols, S2 included.
  ASSERT_TRUE(c.result->SetData(Gbk("当前井"), Gbk("一类砂岩数据"), Gbk("水淹解释")));
  ASSERT_EQ(c.result->GetSegCount(), 3);
  ops = Draw(c.result);
  EXPECT_TRUE(HasText(ops, Gbk("强水淹")));
  EXPECT_TRUE(painted(ops, 0xFFC0C0)) << "弱水淹's colour";
}

// The document numbers its intervals 1, 2, ...: an edit made before the
// data is read again still lands in the row the interval came from.
TEST_F(ResultKits, AnEditAfterReadingADocumentWritesTheRowItCameFrom) {
  Chart c = MakeChart();
  CWpWell* copy = ReadCopy(c.well);
  auto* result = dynamic_cast<CWpResult*>(copy->GetChild(0)->GetChild(0));
  ASSERT_NE(result, nullptr);
  ASSERT_EQ(result->GetSegCount(), 2);
  EXPECT_EQ(result->GetSegList()[0]->index, 1) << "numbered by the document";
  EXPECT_EQ(result->GetSegList()[1]->index, 2);
  copy->InitDataTable();  // bound, not yet read again
  result->ActivateSegment(2);  // the document's second interval: S3, row 2
  ASSERT_EQ(result->GetActiveSegValue(), Gbk("水层"));
  result->SetActiveSegValue(Gbk("干层"));
  std::shared_ptr<CWellTable> sands = wells->GetWellSandStratum("W1");
  EXPECT_EQ(sands->GetString(2, Gbk("解释结论")), Gbk("干层"));
  EXPECT_EQ(sands->GetString(1, Gbk("解释结论")), "");

  // The first interval is row 0, not row 1.
  CWpWell* again = ReadCopy(c.well);
  auto* second = dynamic_cast<CWpResult*>(again->GetChild(0)->GetChild(0));
  again->InitDataTable();
  second->ActivateSegment(1);
  second->SetActiveSegValue(Gbk("差油层"));
  EXPECT_EQ(sands->GetString(0, Gbk("解释结论")), Gbk("差油层"));
  EXPECT_EQ(sands->GetString(1, Gbk("解释结论")), "");
}

TEST_F(ResultKits, OilTestCellsFillBarAndPie) {
  Chart c = MakeChart();
  ASSERT_EQ(c.test->GetSegCount(), 2);
  const CgOilTestSegment& t1 = *c.test->GetSegList()[0];
  EXPECT_EQ(t1.oil, 1);
  EXPECT_EQ(t1.gas, 1);
  EXPECT_EQ(t1.water, 2);
  const std::vector<DrawOp> ops = Draw(c.test);
  // Cells: field, value and unit; an empty value shows the name alone.
  EXPECT_TRUE(HasCellText(ops, Gbk("试油结果:  油层")));
  EXPECT_TRUE(HasCellText(ops, Gbk("日产油量:  1吨")));
  EXPECT_TRUE(HasCellText(ops, Gbk("措施类别")));

  const int y1 = c.test->GetTranslator().MapYToDrawY(c.test->DepToMapY(1000));
  const int y2 = c.test->GetTranslator().MapYToDrawY(c.test->DepToMapY(1004));
  const int height = std::abs(y2 - y1);
  // The composition bar of T1: oil, gas and water bands of 1 : 1 : 2 from
  // the top, right of the table.
  const std::vector<DrawOp> oil = Fills(ops, 200), gas = Fills(ops, 0x00FFFF), water = Fills(ops, 0xC85000);
  ASSERT_EQ(oil.size(), 1u);
  ASSERT_EQ(gas.size(), 1u) << "T2 has no gas: no band";
  ASSERT_EQ(water.size(), 2u);
  EXPECT_NEAR((Bounds(oil[0]).bottom - Bounds(oil[0]).top), height / 4.0, 1.5);
  EXPECT_NEAR((Bounds(gas[0]).bottom - Bounds(gas[0]).top), height / 4.0, 1.5);
  EXPECT_NEAR((Bounds(water[0]).bottom - Bounds(water[0]).top), height / 2.0, 1.5);
  // Whichever way draw Y runs: the oil band starts at the top edge (y1),
  // the gas band where the oil band ends.
  const auto far_edge = [&](const CRect& b) { return std::abs(b.top - y1) > std::abs(b.bottom - y1) ? b.top : b.bottom; };
  const auto near_edge = [&](const CRect& b) { return std::abs(b.top - y1) < std::abs(b.bottom - y1) ? b.top : b.bottom; };
  EXPECT_EQ(near_edge(Bounds(oil[0])), y1);
  EXPECT_EQ(near_edge(Bounds(gas[0])), far_edge(Bounds(oil[0])));
  EXPECT_EQ(far_edge(Bounds(water[0])), y2);
  const int body_right = c.test->GetTranslator().MapXToDrawX(c.test->MapNode(1).x);
  EXPECT_LT(Bounds(oil[0]).right, body_right);
  EXPECT_TRUE(HasText(ops, "1.00" + Gbk(" 千方")));

  // The result fill: the table area in 油层's colour.
  const std::vector<DrawOp> blue = Fills(ops, 0x0000FF);
  EXPECT_TRUE(std::any_of(blue.begin(), blue.end(), [&](const DrawOp& op) {
    return Bounds(op).right == Bounds(oil[0]).left && op.points.size() <= 5;
  }));

  // The pie: oil, gas and water sectors with values and shares; T2's pie
  // is all water, with no gas label.
  EXPECT_TRUE(HasText(ops, "1.00" + Gbk("吨")));
  EXPECT_TRUE(HasText(ops, "1.00" + Gbk("千方")));
  EXPECT_TRUE(HasText(ops, "2.00" + Gbk("吨")));
  EXPECT_TRUE(HasText(ops, "0.25"));
  EXPECT_TRUE(HasText(ops, "0.50"));
  EXPECT_TRUE(HasText(ops, "6.00" + Gbk("吨")));
  EXPECT_TRUE(HasText(ops, "1.00"));
  EXPECT_FALSE(HasText(ops, "0.00" + Gbk("千方")));
  EXPECT_FALSE(HasText(ops, "0.00" + Gbk("吨"))) << "no empty sector for T2's oil";
  const std::vector<DrawOp> sectors = Fills(ops, 0x00FF00);  // gas
  ASSERT_EQ(sectors.size(), 1u);
  // The pie keeps to its lane: right of the bar, inside the column.
  std::vector<DrawOp> water_sectors = Fills(ops, 0xFF0000);  // and T2's table, 水层's colour
  std::erase_if(water_sectors, [](const DrawOp& op) { return op.points.size() <= 5; });
  ASSERT_EQ(water_sectors.size(), 2u);
  for (const DrawOp& op : water_sectors) {
    EXPECT_GE(Bounds(op).left, Bounds(oil[0]).right - 1);
    EXPECT_LE(Bounds(op).right, body_right);
  }
}

// Each sector's value and share stand off the pie, apart from every other
// label and inside the column, thin sectors and single ones alike.
TEST_F(ResultKits, OilTestPieLabelsStayOffThePieAndApart) {
  const struct {
    const char *oil, *gas, *water;
  } cases[] = {{"1", "1", "2"}, {"18.6", "2.1", "0.8"}, {"0", "0", "6"}, {"0.3", "0.3", "9"}, {"5", "5", "5"},
               {"12.4", "1.3", "3.5"}};
  for (const auto& tc : cases) {
    SCOPED_TRACE(std::string(tc.oil) + " " + tc.gas + " " + tc.water);
    Import(TableKind::kTest, {"层段顶测深", "层段底测深", "试油结果", "日产油量", "日产气量", "日产水量"},
           {{"1000", "1004", "油层", tc.oil, tc.gas, tc.water}});
    Chart c = MakeChart();
    ASSERT_EQ(c.test->GetSegCount(), 1);
    const std::vector<DrawOp> ops = Draw(c.test);
    // The pie: its sectors run out from the centre to the circle.
    CPoint centre{};
    double radius = 0;
    int sectors = 0;
    for (COLORREF color : {COLORREF{0x0000FF}, COLORREF{0x00FF00}, COLORREF{0xFF0000}})
      for (const DrawOp& op : Fills(ops, color)) {
        if (op.points.size() <= 5) continue;  // the table's result fill
        ++sectors;
        centre = op.points[0];
        radius = std::hypot(op.points[1].x - centre.x, op.points[1].y - centre.y);
      }
    ASSERT_GT(radius, 0);
    // The labels: numbers, with a unit for the values, drawn about a point
    // (a cell's lines are drawn from the top of their cell).
    std::vector<Box> labels;
    for (const DrawOp& op : ops) {
      if (op.kind != DrawOp::kText || op.align_v != kAlignMiddle) continue;
      std::string t = op.text;
      for (const std::string& unit : {Gbk("吨"), Gbk("千方")})
        if (t.size() > unit.size() && t.compare(t.size() - unit.size(), unit.size(), unit) == 0)
          t.resize(t.size() - unit.size());
      if (!t.empty() && t.find_first_not_of("0123456789.") == std::string::npos) labels.push_back(TextBox(op));
    }
    EXPECT_EQ(labels.size(), 2u * static_cast<unsigned>(sectors)) << "a value and a share a sector";
    const CCoordTranslator& tr = c.test->GetTranslator();
    const int left = std::min(tr.MapXToDrawX(c.test->MapNode(0).x), tr.MapXToDrawX(c.test->MapNode(1).x));
    const int right = std::max(tr.MapXToDrawX(c.test->MapNode(0).x), tr.MapXToDrawX(c.test->MapNode(1).x));
    for (std::size_t i = 0; i < labels.size(); ++i) {
      const Box& b = labels[i];
      const double dx = std::max({b.left - centre.x, 0.0, centre.x - b.right});
      const double dy = std::max({b.bottom - centre.y, 0.0, centre.y - b.top});
      EXPECT_GE(std::hypot(dx, dy), radius) << "label " << i << " on the pie";
      EXPECT_GE(b.left, left) << "label " << i;
      EXPECT_LE(b.right, right) << "label " << i;
      for (std::size_t j = i + 1; j < labels.size(); ++j)
        EXPECT_FALSE(b.Overlaps(labels[j])) << "labels " << i << " and " << j;
    }
  }
}

// Cell texts are drawn at least at a readable size where the cell has room
// for it, broken into lines that keep inside the cell, in a colour that
// stands out from the fill; the document keeps its own font.
TEST_F(ResultKits, OilTestCellTextsAreReadableOnTheirFill) {
  const struct {
    int fill_mode;
    COLORREF fill, text;
  } cases[] = {
      {1, RGB(255, 0, 0), RGB(0, 0, 0)},       // black stands out from red
      {1, RGB(0, 0, 255), RGB(255, 255, 255)},  // but not from blue
      {1, RGB(255, 255, 0), RGB(0, 0, 0)},
      {1, RGB(0, 64, 0), RGB(255, 255, 255)},
      {2, RGB(0, 0, 255), RGB(0, 0, 0)},        // no fill: the font's own
  };
  Chart c = MakeChart();
  for (const auto& tc : cases) {
    SCOPED_TRACE(::testing::Message() << "fill " << tc.fill_mode << " " << std::hex << tc.fill);
    c.test->SetFillMode(tc.fill_mode);
    ZULOGBRUSH brush;
    brush.style = kBrushDefaultSolid;
    brush.color = tc.fill;
    c.test->SetFillBrush(brush);
    Draw(c.test);  // drawing sets the border flags, once for all
    const std::vector<std::string> stored = Records(c.test);
    const std::vector<DrawOp> ops = Draw(c.test);
    EXPECT_EQ(Records(c.test), stored) << "drawing changes nothing the document keeps";
    // The cells' texts start with their field names; the bar's with numbers.
    std::vector<Block> cells = Blocks(ops);
    std::erase_if(cells, [](const Block& b) {
      return b.lines.empty() || static_cast<unsigned char>(b.lines[0]->text[0]) < 0x81;
    });
    ASSERT_EQ(cells.size(), 8u) << "2 x 2 cells of two tests";
    for (const Block& cell : cells) {
      ASSERT_FALSE(cell.lines.empty());
      for (const DrawOp* line : cell.lines) {
        EXPECT_EQ(line->font->color, tc.text) << line->text;
        EXPECT_GE(line->font->height, kHeadReadableHeight * c.test->GetZoomFactor() - 0.5) << line->text;
        EXPECT_LE(line->font->height / 2 * static_cast<double>(line->text.size()), cell.rect.Width() + 0.5)
            << line->text;
      }
    }
    EXPECT_TRUE(HasCellText(ops, Gbk("工作制度:  自喷")));
  }
}

// The composition bar's values stand out from their bands: white on the
// dark oil and water bands, black on the yellow gas band.
TEST_F(ResultKits, OilTestBarTextsStandOutFromTheirBands) {
  Chart c = MakeChart();
  const std::vector<DrawOp> ops = Draw(c.test);
  const struct {
    std::string text;
    COLORREF color;
  } cases[] = {{"1.00" + Gbk(" 吨"), RGB(255, 255, 255)},   // oil, RGB(200, 0, 0)
               {"1.00" + Gbk(" 千方"), RGB(0, 0, 0)},       // gas, yellow
               {"2.00" + Gbk(" 吨"), RGB(255, 255, 255)}};  // water, RGB(0, 80, 200)
  for (const auto& tc : cases) {
    SCOPED_TRACE(tc.text);
    const auto op = std::find_if(ops.begin(), ops.end(),
                                 [&](const DrawOp& o) { return o.kind == DrawOp::kText && o.text == tc.text; });
    ASSERT_NE(op, ops.end());
    EXPECT_EQ(op->font->color, tc.color);
  }
}

// A missing production value (kFltMax, an empty cell) is no production:
// with nothing produced, neither bands nor sectors are drawn.
TEST_F(ResultKits, MissingProductionStaysOutOfBarsAndPies) {
  Import(TableKind::kTest, {"层段顶测深", "层段底测深", "试油结果", "日产油量", "日产气量", "日产水量"},
         {{"1000", "1004", "干层", "", "", ""}});
  Chart c = MakeChart();
  ASSERT_EQ(c.test->GetSegCount(), 1);
  const CgOilTestSegment& s = *c.test->GetSegList()[0];
  EXPECT_EQ(s.oil + s.gas + s.water, 0);
  const std::vector<DrawOp> ops = Draw(c.test);
  for (COLORREF color : {COLORREF{200}, COLORREF{0x00FFFF}, COLORREF{0xC85000}, COLORREF{0x00FF00},
                         COLORREF{0xFF0000}})
    EXPECT_TRUE(Fills(ops, color).empty()) << color;
  for (const DrawOp& op : ops) EXPECT_EQ(op.text.find("nan"), std::string::npos) << op.text;
}

TEST_F(ResultKits, OneProfileColumnPerDateWithProportionalBars) {
  Chart c = MakeChart();
  EXPECT_EQ(c.profile->GetColumnDates(), (std::vector<std::string>{"2010-3-5", "2011-1-20"}));
  EXPECT_EQ(c.profile->GetColumns(), 2);
  ASSERT_EQ(c.profile->GetSegments().size(), 3u);
  const std::vector<DrawOp> ops = Draw(c.profile);
  const CCoordTranslator& tr = c.profile->GetTranslator();
  const int left = tr.MapXToDrawX(c.profile->MapNode(0).x), right = tr.MapXToDrawX(c.profile->MapNode(1).x);
  const double g = (right - left) / 2.0;
  // 日注入量 between 0 and 40: 20 fills half the first column, 40 all of
  // it, 10 a quarter of the second.
  std::vector<DrawOp> bars = Fills(ops, c.profile->GetParam(0)->color);
  ASSERT_EQ(bars.size(), 3u);
  std::sort(bars.begin(), bars.end(),
            [](const DrawOp& a, const DrawOp& b) { return Bounds(a).Width() < Bounds(b).Width(); });
  EXPECT_NEAR(Bounds(bars[0]).Width(), g / 4, 1.5);
  EXPECT_NEAR(Bounds(bars[0]).left, left + g, 1.5);
  EXPECT_NEAR(Bounds(bars[1]).Width(), g / 2, 1.5);
  EXPECT_NEAR(Bounds(bars[2]).Width(), g, 1.5);
  EXPECT_NEAR(Bounds(bars[2]).left, left, 1.5);
  // 吸水强度's left equals its right: no scale, no bars.
  EXPECT_TRUE(Fills(ops, c.profile->GetParam(1)->color).empty());

  // The head: the dates, then per parameter and column its name, its
  // range and a line in its colour.
  EXPECT_TRUE(HasText(ops, "2010-3-5"));
  EXPECT_TRUE(HasText(ops, "2011-1-20"));
  EXPECT_EQ(std::count_if(ops.begin(), ops.end(),
                          [](const DrawOp& op) { return op.kind == DrawOp::kText && op.text == Gbk("日注入量"); }),
            2);
  EXPECT_TRUE(HasText(ops, "40 "));
  const int head_top = std::min(c.profile->DrawNode(4).y, c.profile->DrawNode(0).y);
  const int head_bottom = std::max(c.profile->DrawNode(4).y, c.profile->DrawNode(0).y);
  EXPECT_GE(c.profile->GetTitleHeight(), c.profile->MinTitle() - 0.5f) << "the head has room for its rows";
  int colour_lines = 0;
  for (const DrawOp& op : ops) {
    if (op.kind != DrawOp::kPolyline || !op.pen || op.pen->color != c.profile->GetParam(1)->color) continue;
    ++colour_lines;
    EXPECT_GT(op.points[0].y, head_top);
    EXPECT_LT(op.points[0].y, head_bottom);
  }
  EXPECT_EQ(colour_lines, 2);

  // A range of the later date leaves one column.
  c.profile->SetStartDate("2011-01-01");
  c.profile->SetEndDate("2011-12-31");
  EXPECT_EQ(c.profile->GetColumnDates(), std::vector<std::string>{"2011-1-20"});
}

TEST_F(ResultKits, OilTestIntervalsMoveAndResizeOnlyInThePicture) {
  Chart c = MakeChart();
  view.LButtonDown(At(c.test, 1002, 0.25));  // select the column
  view.LButtonUp(At(c.test, 1002, 0.25));
  view.LButtonDown(At(c.test, 1002, 0.25));
  view.LButtonUp(At(c.test, 1002, 0.25));
  ASSERT_EQ(c.test->GetActiveSeg(), 0);

  // Moved by 2 m inside.
  view.LButtonDown(At(c.test, 1002, 0.25));
  view.MouseMove(At(c.test, 1004, 0.25), MK_LBUTTON);
  view.LButtonUp(At(c.test, 1004, 0.25));
  const CgOilTestSegment& t1 = *c.test->GetSegList()[0];
  EXPECT_NEAR(t1.top_depth, 1002, 0.05);
  EXPECT_NEAR(t1.bottom_depth, 1006, 0.05);

  // Up against the body's top: it stops 3 map units inside.
  view.LButtonDown(At(c.test, 1004, 0.25));
  view.MouseMove(At(c.test, 980, 0.25), MK_LBUTTON);
  view.LButtonUp(At(c.test, 980, 0.25));
  EXPECT_NEAR(t1.top_y, c.test->GetBodyTop() - 3, 1e-6);
  EXPECT_NEAR(t1.bottom_depth - t1.top_depth, 4, 0.05);

  // The bottom edge dragged down stops at T2's top.
  const CPoint bottom = c.test->GetTranslator().MapToDraw(FLOATPOINT{(t1.left + t1.right) / 2, t1.bottom_y});
  view.LButtonDown(bottom);
  view.MouseMove(At(c.test, 1016, 0.5), MK_LBUTTON);
  view.LButtonUp(At(c.test, 1016, 0.5));
  EXPECT_NEAR(t1.bottom_depth, 1010, 0.05);
  // The data keeps its depths.
  EXPECT_EQ(wells->GetWellTest("W1")->GetDouble(0, Gbk("层段顶测深")), 1000);
  EXPECT_EQ(wells->GetWellTest("W1")->GetDouble(0, Gbk("层段底测深")), 1004);
}

TEST_F(ResultKits, ADraggedPieKeepsItsPlace) {
  Chart c = MakeChart();
  const CgOilTestSegment* t1 = c.test->GetSegList()[0].get();
  const double mid = (t1->top_y + t1->bottom_y) / 2;
  const CCoordTranslator& tr = c.test->GetTranslator();
  const CPoint centre = tr.MapToDraw(FLOATPOINT{t1->right + t1->pie_dx, mid + t1->pie_dy});
  const FLOATPOINT target{t1->right - 200, mid - 400};
  view.LButtonDown(centre);
  view.MouseMove(tr.MapToDraw(target), MK_LBUTTON);
  view.LButtonUp(tr.MapToDraw(target));
  const FLOATPOINT back = tr.DrawToMap(tr.MapToDraw(target));
  EXPECT_NEAR(t1->pie_dx, back.x - t1->right, 1e-6);
  EXPECT_NEAR(t1->pie_dy, back.y - mid, 1e-6);
  // A reload of the data keeps it.
  const double dx = t1->pie_dx, dy = t1->pie_dy;
  c.test->UpdateData();
  EXPECT_EQ(c.test->GetSegList()[0]->pie_dx, dx);
  EXPECT_EQ(c.test->GetSegList()[0]->pie_dy, dy);

  // An unset offset (kFltMax) draws the pie at its first place, inside the
  // column.
  c.test->GetSegList()[0]->pie_dx = kFltMax;
  const int right = tr.MapXToDrawX(c.test->MapNode(1).x), left = tr.MapXToDrawX(c.test->MapNode(0).x);
  for (const DrawOp& op : Draw(c.test))
    for (const CPoint& p : op.points) {
      EXPECT_LE(p.x, right);
      EXPECT_GE(p.x, left);
    }
}

// Records read back unchanged; a second save is byte for byte the first.
TEST_F(ResultKits, RecordsRoundTrip) {
  Chart c = MakeChart();
  c.result->SetDividePointVisible(true);
  c.result->SetBGColor(0x00FFFF);
  c.test->SetRowNumber(3);
  c.test->UpdateField(4, Gbk("日产水量"));
  c.test->SetUpperLabelFields({Gbk("试油结果")});
  c.test->SetProportional(true);
  c.test->SetFillMode(1);
  c.profile->SetDrawWidth(600);
  c.profile->SetTitleText(Gbk("吸水剖面"));
  CWpWell* copy = ReadCopy(c.well);
  auto* result = dynamic_cast<CWpResult*>(copy->GetChild(0)->GetChild(0));
  auto* test = dynamic_cast<CWpOilTest*>(copy->GetChild(1)->GetChild(0));
  auto* profile = dynamic_cast<CWpWaterEntry*>(copy->GetChild(2)->GetChild(0));
  ASSERT_NE(result, nullptr);
  ASSERT_NE(test, nullptr);
  ASSERT_NE(profile, nullptr);
  EXPECT_EQ(result->GetDataField(), Gbk("电测解释"));
  EXPECT_TRUE(result->IsDividePointVisible());
  EXPECT_EQ(test->GetRowNumber(), 3);
  EXPECT_EQ(test->GetShowFields()[4], Gbk("日产水量"));
  EXPECT_EQ(test->GetFillMode(), 1);
  ASSERT_EQ(test->GetSegCount(), 2);
  EXPECT_EQ(test->GetSegList()[1]->values[0], Gbk("水层"));
  EXPECT_EQ(test->GetSegList()[0]->pie_dx, c.test->GetSegList()[0]->pie_dx);
  EXPECT_EQ(profile->GetColumnDates(), c.profile->GetColumnDates());
  EXPECT_EQ(profile->GetSegments().size(), 3u);
  EXPECT_EQ(profile->GetParam(0)->name, Gbk("日注入量"));
  EXPECT_EQ(profile->GetTitleText(), Gbk("吸水剖面")) << "the user's title, not the kind's";
  EXPECT_EQ(Records(result), Records(c.result));
  EXPECT_EQ(Records(test), Records(c.test));
  EXPECT_EQ(Records(profile), Records(c.profile));
}

TEST_F(ResultKits, AnOilTestSectionCutShortIsNotRead) {
  Chart c = MakeChart();
  CZuMFile out;
  out.OpenWrite();
  c.test->SaveToFile(&out);
  const std::vector<int> numbers = RecordNumbers(out.GetData());
  ASSERT_EQ(numbers.back(), 80);
  CZuMFile in;
  ASSERT_TRUE(in.OpenRead(FirstRecords(out.GetData(), static_cast<int>(numbers.size()) - 1)));
  ASSERT_TRUE(in.ReadNextRecord());
  auto* kit = Make<CWpOilTest>("CWpOilTest");
  EXPECT_EQ(kit->ReadFromFile(&in), 0);
  AfxGetObjectFactory()->DeleteObject(kit);
}

// A document of an older version keeps the table settings in two records:
// the table (rows, twice the columns, column widths, show fields) and the
// pens with the cell font.
TEST_F(ResultKits, AnOlderDocumentsOilTestLayoutIsRead) {
  auto* fresh = Make<CWpOilTest>("CWpOilTest");
  CZuMFile saved;
  saved.OpenWrite();
  fresh->SaveToFile(&saved);
  AfxGetObjectFactory()->DeleteObject(fresh);
  // The content section, up to the kit's own settings record.
  CZuMFile in, out;
  ASSERT_TRUE(in.OpenRead(saved.GetData()));
  out.OpenWrite();
  std::string first;
  while (in.ReadNextRecord() && !(in.GetRecordNumber() == 153 && in.GetRecordElement(0, first) &&
                                   first == Gbk("当前井")))
    CopyRecord(in, &out);
  out.SetRecordNumber(153);
  out.AddRecordElement(Gbk("当前井"));
  out.AddRecordElement("");
  out.WriteNextRecord();
  out.SetRecordNumber(153);
  for (int v : {0, 1, 10, 4, 0, 0}) out.AddRecordElement(v);  // ten rows: more than the setters allow
  for (int i = 0; i < 5; ++i) out.AddRecordElement(100.0f);
  const char* const names[] = {"试油结果", "日产油量", "日产气量", "日产水量", "工作制度", "措施类别"};
  for (int i = 0; i < 20; ++i) out.AddRecordElement(Gbk(names[i % 6]));
  out.WriteNextRecord();
  out.SetRecordNumber(153);
  for (int pen = 0; pen < 2; ++pen) {
    out.AddRecordElement(0u);
    out.AddRecordElement(pen ? 25.0f : 5.0f);
    out.AddRecordElement(pen ? 0x123456u : 0u);
    out.AddRecordElement(0u);
    out.AddRecordElement(13);
  }
  ZULOGFONT font;
  font.height = 150;
  out.AddRecordElement(&font, sizeof font);
  out.WriteNextRecord();
  out.SetRecordNumber(153);
  out.AddRecordElement(1000.0);
  out.AddRecordElement(1004.0);
  out.AddRecordElement(10.0);
  out.AddRecordElement(20.0);
  out.AddRecordElement(static_cast<short>(2));
  out.AddRecordElement("a");
  out.AddRecordElement("b");
  out.WriteNextRecord();
  out.SetRecordNumber(102);
  out.AddRecordElement(1);
  out.WriteNextRecord();
  out.SetRecordNumber(80);
  out.WriteNextRecord();

  doc.SetVersionText("KESMap2.0");
  auto* kit = MakeRoot<CWpOilTest>("CWpOilTest");
  CZuMFile older;
  ASSERT_TRUE(older.OpenRead(out.GetData()));
  ASSERT_TRUE(older.ReadNextRecord());
  ASSERT_EQ(kit->ReadFromFile(&older), 1);
  EXPECT_EQ(kit->GetRowNumber(), 10);
  EXPECT_EQ(kit->GetColNumber(), 2);
  EXPECT_EQ(kit->GetColWidth(), (std::vector<float>{0.0f, 0.5f, 1.0f}));
  EXPECT_EQ(kit->GetShowFields()[5], Gbk("措施类别"));
  EXPECT_EQ(kit->GetFillMode(), 1);
  ASSERT_EQ(kit->GetSegCount(), 1);
  const CgOilTestSegment& s = *kit->GetSegList()[0];
  EXPECT_EQ(s.values[1], "b");
  EXPECT_EQ(s.pie_dx, 10);
  EXPECT_EQ(s.pie_dy, 20);
  // Written again, it is a document of the current layout.
  doc.SetVersionText(CZuMapFile::kCurrentVersionText);
  const std::vector<std::string> again = Records(kit);
  CZuMFile current;
  current.OpenWrite();
  kit->SaveToFile(&current);
  auto* copy = MakeRoot<CWpOilTest>("CWpOilTest");
  CZuMFile back;
  ASSERT_TRUE(back.OpenRead(current.GetData()));
  ASSERT_TRUE(back.ReadNextRecord());
  ASSERT_EQ(copy->ReadFromFile(&back), 1);
  EXPECT_EQ(Records(copy), again);
  EXPECT_EQ(copy->GetRowNumber(), 10) << "kept through the current layout";
}

TEST_F(ResultKits, ExportsWriteTheResultAndOilTestTables) {
  Chart c = MakeChart();
  const std::string dir = ScratchDir("export");
  ScriptedDialogs dialogs;
  dialogs.file_answers = {dir + "/result.txt", dir + "/test.txt", dir + "/profile.txt"};
  AfxSetDialogs(&dialogs);
  c.well->ExportData();
  ASSERT_GE(dialogs.file_requests.size(), 2u);
  EXPECT_EQ(dialogs.file_requests[0].title, Gbk("保存为文件 - 导出解释结果数据"));
  // The values take a column of ten: the field's eight bytes are the longest.
  EXPECT_EQ(ReadFile(dir + "/result.txt"), Gbk("顶深[m] 厚度[m] 电测解释") +
                                               "\r\n1000.00     4.0      " + Gbk("油层") +
                                               "\r\n1010.00     4.0      " + Gbk("水层"));
  const std::string tests = ReadFile(dir + "/test.txt");
  EXPECT_EQ(tests.substr(0, tests.find("\r\n")),
            Gbk("顶深[m] 厚度[m] 试油结果 日产油量[t] 日产气量[千方] 日产水量[t]"));
  EXPECT_NE(tests.find("1010.00     4.0"), std::string::npos);
  EXPECT_NE(tests.find("0.00"), std::string::npos) << "T2's missing gas is written as none";
}

}  // namespace
}  // namespace davodu::testing
