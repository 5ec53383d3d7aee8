// The depth ruler: tick spacing, the ticks and labels it draws (also in
// another depth reference), its records and older documents, and settings
// from damaged documents.
#include <gtest/gtest.h>

#include <climits>
#include <cmath>
#include <functional>
#include <limits>
#include <map>
#include <string>
#include <vector>

#include "davodu/host/records/record_numbers.h"
#include "davodu/store/well_data_manager.h"
#include "support/cli.h"
#include "support/kit_fixture.h"
#include "support/records.h"

namespace davodu::testing {
namespace {

constexpr COLORREF kLarge = 0xA1, kMiddle = 0xA2, kSmall = 0xA3;

ZULOGPEN Pen(COLORREF color, float width = 10) {
  ZULOGPEN pen;
  pen.color = color;
  pen.width = width;
  return pen;
}

enum TickKind { kNone, kSmallTick, kMiddleTick, kLargeTick };

struct Drawn {
  std::map<int, TickKind> ticks;         // by draw Y
  std::map<int, int> lines_at;           // tick lines by draw Y
  std::map<int, std::string> labels;     // by draw Y
};

// Ticks and labels of a ruler's body (the title is drawn as text too).
Drawn Collect(const RecordingDC& dc, const CWpDepth& ruler) {
  const int top = ruler.DrawNode(0).y, bottom = ruler.DrawNode(10).y;
  Drawn out;
  for (const DrawOp& op : dc.OpsOf(DrawOp::kPolyline)) {
    if (op.points.size() != 2 || !op.pen || op.points[0].y != op.points[1].y) continue;
    const COLORREF c = op.pen->color;
    const TickKind kind = c == kLarge    ? kLargeTick
                          : c == kMiddle ? kMiddleTick
                          : c == kSmall  ? kSmallTick
                                         : kNone;
    if (kind == kNone) continue;
    out.ticks[op.points[0].y] = kind;
    ++out.lines_at[op.points[0].y];
  }
  for (const DrawOp& op : dc.OpsOf(DrawOp::kText))
    if (op.points[0].y < top && op.points[0].y > bottom) out.labels[op.points[0].y] = op.text;
  return out;
}

class Depth : public KitTest {
 protected:
  // A free depth ruler over 1000 to 1030 m at 1:200 with auto depth, tick
  // pens told apart by colour; draw coordinates equal map coordinates.
  CWpDepth* MakeRuler(float top = 1000, float bottom = 1030) {
    auto* d = MakeRoot<CWpDepth>("CWpDepth");
    Setup(d, top, bottom);
    return d;
  }
  void Setup(CWpDepth* d, float top, float bottom) {
    d->SetTopDepth(top);
    d->SetBottomDepth(bottom);
    d->SetDepScl(500);
    d->SetAutoDepth(1);
    d->SetLargeLinePen(Pen(kLarge, 50));
    d->SetMiddleLinePen(Pen(kMiddle, 30));
    d->SetSmallLinePen(Pen(kSmall, 10));
  }
  Drawn Draw(CWpDepth* d, CRect* clip = nullptr) {
    d->BuildControlNodePointArray();
    dc.Clear();
    d->Draw(&dc, nullptr, clip, nullptr);
    return Collect(dc, *d);
  }
  int YOf(CWpDepth* d, double depth) {
    return d->GetTranslator().MapYToDrawY(d->DepToMapY(depth));
  }

  RecordingDC dc;
};

TEST_F(Depth, AutoDepthPicksTicksForTheScale) {
  const struct {
    int scale;
    float tick;
  } cases[] = {{200, 1}, {500, 2}, {1000, 5}, {100, 0.5f}, {2000, 10}, {50, 0.2f}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.scale);
    CWpDepth d(layer);
    d.SetDepthScale(c.scale);
    d.AutoDepth();
    EXPECT_FLOAT_EQ(d.GetTickSpace(), c.tick);
    EXPECT_FLOAT_EQ(d.GetDepthSpace(), 10 * c.tick);
    EXPECT_EQ(d.GetTickNum(), 5);
  }
}

TEST_F(Depth, SettersKeepTheLabelIntervalAndTheTickCountsInRange) {
  struct Case {
    const char* what;
    std::function<void(CWpDepth&)> act;
    float tick, depth_space;
    int per_label, tick_num;
  };
  const Case cases[] = {
      {"too fine a spacing", [](CWpDepth& d) { d.SetTickSpace(0.0005f); }, 1, 10, 10, 5},
      {"NaN spacing", [](CWpDepth& d) { d.SetTickSpace(std::nanf("")); }, 1, 10, 10, 5},
      {"half-metre ticks", [](CWpDepth& d) { d.SetTickSpace(0.5f); }, 0.5f, 10, 20, 5},
      {"label closer than a tick", [](CWpDepth& d) { d.SetDepthSpace(0.5f); }, 1, 1, 1, 1},
      {"NaN label interval", [](CWpDepth& d) { d.SetDepthSpace(std::nanf("")); }, 1, 1, 1, 1},
      {"tick number 0", [](CWpDepth& d) { d.SetTickNum(0); }, 1, 10, 10, 1},
      {"tick number 50", [](CWpDepth& d) { d.SetTickNum(50); }, 1, 10, 10, 10},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    CWpDepth d(layer);
    c.act(d);
    EXPECT_FLOAT_EQ(d.GetTickSpace(), c.tick);
    EXPECT_FLOAT_EQ(d.GetDepthSpace(), c.depth_space);
    EXPECT_EQ(d.GetTicksPerLabel(), c.per_label);
    EXPECT_EQ(d.GetTickNum(), c.tick_num);
  }
}

TEST_F(Depth, DrawsEveryMetreWithMiddleTicksAndLabelsOnTheTens) {
  CWpDepth* d = MakeRuler();
  const Drawn got = Draw(d);
  std::map<int, TickKind> want;
  // 1000 and 1030 lie on the body's edges and are not drawn.
  for (int m = 1001; m <= 1029; ++m)
    want[YOf(d, m)] = m % 10 == 0 ? kLargeTick : m % 5 == 0 ? kMiddleTick : kSmallTick;
  EXPECT_EQ(got.ticks, want);
  for (const auto& [y, n] : got.lines_at) EXPECT_EQ(n, 2) << "both sides at " << y;
  EXPECT_EQ(got.labels,
            (std::map<int, std::string>{{YOf(d, 1010), "1010"}, {YOf(d, 1020), "1020"}}));
  for (const DrawOp& op : dc.OpsOf(DrawOp::kText)) EXPECT_EQ(op.points[0].x, d->DrawNode(8).x);

  // The bottom on a whole label interval is drawn once it lies inside.
  d->SetBottomDepth(1030.5f);
  const Drawn deeper = Draw(d);
  EXPECT_EQ(deeper.ticks.count(YOf(d, 1030)), 1u);
  EXPECT_EQ(deeper.labels.at(YOf(d, 1030)), "1030");

  // Labels only; left ticks on the middle and long ticks only.
  d->SetTickAlign(-1);
  EXPECT_TRUE(Draw(d).ticks.empty());
  d->SetTickAlign(3);
  const Drawn sparse = Draw(d);
  EXPECT_EQ(sparse.ticks.size(), 6u);  // 1005 .. 1030
  for (const DrawOp& op : dc.OpsOf(DrawOp::kPolyline))
    if (op.pen && (op.pen->color == kLarge || op.pen->color == kMiddle)) {
      EXPECT_EQ(op.points[0].x, d->DrawNode(0).x);
    }
}

TEST_F(Depth, AClipLimitsTheTicksWalked) {
  CWpDepth* d = MakeRuler(1000, 3000);
  d->BuildControlNodePointArray();
  CRect clip{d->DrawNode(0).x - 10, YOf(d, 2000), d->DrawNode(1).x + 10, YOf(d, 2003)};
  const Drawn got = Draw(d, &clip);
  ASSERT_FALSE(got.ticks.empty());
  // Only ticks near the clip (label margin) are drawn.
  const int margin = 2 * 330 + 2;
  for (const auto& [y, kind] : got.ticks) {
    EXPECT_LE(y, clip.top + margin);
    EXPECT_GE(y, clip.bottom - margin);
  }
  EXPECT_LT(got.ticks.size(), 10u);
}

// Settings a damaged or foreign document may hold. Reading and drawing must
// neither hang nor divide by zero, and never draw more ticks than there are
// draw units in the body.
TEST_F(Depth, SettingsFromADamagedDocumentCannotHangTheDrawing) {
  const float nan = std::numeric_limits<float>::quiet_NaN();
  const struct {
    const char* what;
    float tick;
    int per_label, tick_num;
  } cases[] = {
      {"zero spacing", 0, 10, 5},
      {"negative spacing", -1, 10, 5},
      {"NaN spacing", nan, 10, 5},
      {"infinite spacing", std::numeric_limits<float>::infinity(), 10, 5},
      {"spacing far below a draw unit", 1e-30f, 10, 5},
      {"spacing below a millimetre", 0.0004f, 10, 5},
      {"no ticks per label", 1, 0, 5},
      {"negative ticks per label", 1, -7, 0},
      {"extreme counts", 1, INT_MIN, INT_MIN},
      {"huge counts", 1, INT_MAX, INT_MAX},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    CWpDepth* src = MakeRuler(1000, 1100);
    src->SetDepthScale(1000);  // 100 draw units a metre
    CZuMFile out;
    out.OpenWrite();
    src->SaveToFile(&out);
    // Rewrite the depth record with the hostile settings.
    CZuMFile in, patched;
    ASSERT_TRUE(in.OpenRead(out.GetData()));
    patched.OpenWrite();
    while (in.ReadNextRecord()) {
      std::string tag;
      in.GetRecordElement(0, tag);
      if (in.GetRecordNumber() != kRecTagged || tag != "Dep") {
        CopyRecord(in, &patched);
        continue;
      }
      patched.SetRecordNumber(kRecTagged);
      patched.AddRecordElement("Dep");
      patched.AddRecordElement(2);
      patched.AddRecordElement(c.tick);
      patched.AddRecordElement(c.tick_num);
      const ZULOGPEN tick = Pen(kSmall);
      patched.AddRecordElement(&tick, sizeof tick);
      patched.AddRecordElement(c.per_label);
      const ZULOGFONT font;
      patched.AddRecordElement(&font, sizeof font);
      patched.AddRecordElement(0);
      patched.WriteNextRecord();
    }
    CZuMFile back;
    ASSERT_TRUE(back.OpenRead(patched.GetData()));
    ASSERT_TRUE(back.ReadNextRecord());
    CWpDepth* d = Make<CWpDepth>("CWpDepth");
    layer->AddObject(d);
    ASSERT_EQ(d->ReadFromFile(&back), 1);
    d->SetTopDepth(1000);
    d->SetBottomDepth(1100);
    const Drawn got = Draw(d);
    const int body = d->DrawNode(0).y - d->DrawNode(10).y;
    EXPECT_LE(static_cast<int>(got.ticks.size()), body);
    // The setters stay safe on top of such settings.
    d->SetDepthSpace(10);
    d->SetTickNum(3);
    EXPECT_GE(d->GetTicksPerLabel(), 1);
    EXPECT_GE(d->GetTickNum(), 1);
    Draw(d);
  }
}

CWpDepth* ReadDepth(const std::string& data, CZuLayer* layer) {
  CZuMFile in;
  if (!in.OpenRead(data) || !in.ReadNextRecord()) return nullptr;
  auto* d = dynamic_cast<CWpDepth*>(AfxGetObjectFactory()->CreateObject("CWpDepth"));
  layer->AddObject(d);
  return d->ReadFromFile(&in) ? d : nullptr;
}

std::string SaveDepth(CWpDepth* d) {
  CZuMFile out;
  out.OpenWrite();
  d->SaveToFile(&out);
  return out.GetData();
}

TEST_F(Depth, RecordsReadBack) {
  CWpDepth* d = MakeRuler();
  d->SetTickAlign(4);
  d->SetTickSpace(0.25f);
  d->SetTickNum(4);
  const ZULOGPEN tick = Pen(0x123456, 7);
  d->SetTickPen(&tick);
  ZULOGFONT font;
  font.color = 0x654321;
  font.height = 250;
  d->SetDepthFont(&font);
  d->SetDepthAlign(0);
  d->SetShowDepthType(DT_TVD);
  d->SetEqualIntervalType(DEI_SHOWN);
  d->SetGroup(2);
  d->SetTitleText("DEP(1:200)");

  CWpDepth* copy = ReadDepth(SaveDepth(d), layer);
  ASSERT_NE(copy, nullptr);
  EXPECT_EQ(copy->GetTickAlign(), 4);
  EXPECT_FLOAT_EQ(copy->GetTickSpace(), 0.25f);
  EXPECT_EQ(copy->GetTickNum(), 4);
  EXPECT_EQ(copy->GetTicksPerLabel(), 40);
  EXPECT_EQ(copy->GetTickPen(), tick);
  EXPECT_EQ(copy->GetDepthFont(), font);
  EXPECT_EQ(copy->GetDepthAlign(), 0);
  EXPECT_EQ(copy->GetShowDepthType(), DT_TVD);
  EXPECT_EQ(copy->GetEqualIntervalType(), DEI_SHOWN);
  EXPECT_EQ(copy->GetGroup(), 2);
  EXPECT_EQ(copy->GetTitleText(), "DEP(1:200)");
  EXPECT_EQ(copy->GetLargeLinePen(), Pen(kLarge, 50));
  EXPECT_EQ(copy->GetMiddleLinePen(), Pen(kMiddle, 30));
  EXPECT_EQ(copy->GetSmallLinePen(), Pen(kSmall, 10));
}

// Documents before the three tick pens kept one tick pen and wrote only the
// fixed elements; the pens are derived from it (and the depth font colour).
TEST_F(Depth, OlderDocumentsDeriveTheTickPens) {
  const ZULOGPEN tick = Pen(0x112233, 12);
  const struct {
    double version;
    bool derived;
  } cases[] = {{3.0, true}, {3.01, true}, {3.0103, false}, {CZuMapFile::kCurrentVersion, false}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.version);
    CWpDepth* d = MakeRuler();
    d->SetTickPen(&tick);
    d->SetShowDepthType(DT_AD);
    // An old writer stopped after the label orientation.
    CZuMFile in, out;
    ASSERT_TRUE(in.OpenRead(SaveDepth(d)));
    out.OpenWrite();
    while (in.ReadNextRecord()) {
      std::string tag;
      in.GetRecordElement(0, tag);
      if (in.GetRecordNumber() == kRecTagged && tag == "Dep") {
        out.SetRecordNumber(kRecTagged);
        out.AddRecordElement("Dep");
        int i = 0;
        float f = 0;
        in.GetRecordElement(1, i), out.AddRecordElement(i);
        in.GetRecordElement(2, f), out.AddRecordElement(f);
        in.GetRecordElement(3, i), out.AddRecordElement(i);
        out.AddRecordElement(&tick, sizeof tick);
        in.GetRecordElement(5, i), out.AddRecordElement(i);
        const ZULOGFONT font = d->GetDepthFont();
        out.AddRecordElement(&font, sizeof font);
        in.GetRecordElement(7, i), out.AddRecordElement(i);
        out.WriteNextRecord();
      } else {
        CopyRecord(in, &out);
      }
    }
    doc.SetVersion(c.version);
    CWpDepth* copy = ReadDepth(out.GetData(), layer);
    ASSERT_NE(copy, nullptr);
    EXPECT_EQ(copy->GetShowDepthType(), DT_MD);  // not in the old record
    if (c.derived) {
      EXPECT_EQ(copy->GetLargeLinePen(), Pen(0x0000AA, 60));
      EXPECT_EQ(copy->GetMiddleLinePen(), Pen(0x112233, 36));
      EXPECT_EQ(copy->GetSmallLinePen(), tick);
    } else {
      EXPECT_EQ(copy->GetLargeLinePen(), Pen(0x0000AA, 50));
      EXPECT_EQ(copy->GetMiddleLinePen(), Pen(0x808080, 30));
      EXPECT_EQ(copy->GetSmallLinePen(), Pen(0x808080, 10));
    }
  }
}

TEST_F(Depth, TheTitleShowsTheScaleOnlyWhenItHoldsOne) {
  const struct {
    const char* title;  // UTF-8
    const char* want;
  } cases[] = {
      {"深度", "深度"},
      {"DEP(1:1)", "DEP(1:1000)"},
      {"Depth:", "DEP(1:1000)"},
      {"深度(1:1)", "深度(1:1000)"},
  };
  for (const auto& c : cases) {
    CWpDepth d(layer);
    d.SetTitleText(Gbk(c.title));
    d.SetDepthScale(1000);
    EXPECT_EQ(GbkToUtf8(d.GetTitleText()), c.want) << c.title;
  }
}

// A chart of the vertical well "V" (kelly bushing 100.6 m above the datum)
// bound to a well database of its own.
class DepthInWell : public Depth {
 protected:
  void SetUp() override {
    const std::string name = ::testing::UnitTest::GetInstance()->current_test_info()->name();
    wells = CWellDataManager::Instance();
    ASSERT_TRUE(wells->Open(ScratchDb(ScratchDir("depth-" + name)))) << wells->GetLastError();
    CurveImport gr{"GR", "", {0, 3000}, {1, 2}};
    ASSERT_TRUE(wells->ImportCurves("V", {gr}));
    WellInfo info;
    ASSERT_TRUE(wells->GetWellInfo("V", &info));
    info.kb = 100.6;
    ASSERT_TRUE(wells->SetWellInfo(info));

    well = MakeRoot<CWpWell>("CWpWell");
    well->SetName("V");
    auto* track = Make<CWpTrack>("CWpTrack");
    well->AddChild(track);
    ruler = Make<CWpDepth>("CWpDepth");
    track->AddChild(ruler);
    well->SetDepScl(500);
    well->InitDataTable();
    ASSERT_NE(well->GetDataMgr(), nullptr);
  }
  void TearDown() override { wells->Close(); }

  CWellDataManager* wells = nullptr;
  CWpWell* well = nullptr;
  CWpDepth* ruler = nullptr;
};

TEST_F(DepthInWell, LabelsShowTheDepthReferenceOfTheRuler) {
  const struct {
    const char* what;
    float top, bottom;
    DepthType shown;
    std::map<double, std::string> labels;  // measured depth of the tick: label
  } cases[] = {
      {"measured", 1000, 1030, DT_MD, {{1010, "1010"}, {1020, "1020"}}},
      {"vertical", 1000, 1030, DT_TVD, {{1010, "1010"}, {1020, "1020"}}},
      // Below the datum altitudes are negative: 100.6 - 1010 = -909.4.
      {"altitude below the datum", 1000, 1030, DT_AD, {{1010, "-909"}, {1020, "-919"}}},
      // Above it they are positive and round to the nearest metre: 90.6 -> 91.
      {"altitude above the datum", 0, 30, DT_AD, {{10, "91"}, {20, "81"}}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    Setup(ruler, c.top, c.bottom);
    well->SetTopDepth(c.top);
    well->SetBottomDepth(c.bottom);
    ruler->SetShowDepthType(c.shown);
    well->Update();
    std::map<int, std::string> want;
    for (const auto& [md, text] : c.labels) want[YOf(ruler, md)] = text;
    EXPECT_EQ(Draw(ruler).labels, want);
  }
}

TEST_F(DepthInWell, TicksCanBeEvenInTheShownReference) {
  // Altitude ticks every whole metre: the labelled ones fall on altitudes
  // -900, -910 and -920, that is 0.6 m below measured 1000, 1010 and 1020.
  Setup(ruler, 1000, 1030);
  well->SetTopDepth(1000);
  well->SetBottomDepth(1030);
  well->Update();
  ruler->SetShowDepthType(DT_AD);
  ruler->SetEqualIntervalType(DEI_SHOWN);
  const Drawn got = Draw(ruler);
  EXPECT_EQ(got.labels, (std::map<int, std::string>{{YOf(ruler, 1000.6), "-900"},
                                                     {YOf(ruler, 1010.6), "-910"},
                                                     {YOf(ruler, 1020.6), "-920"}}));
  EXPECT_EQ(got.ticks.count(YOf(ruler, 1015.6)), 1u);
  EXPECT_EQ(got.ticks.at(YOf(ruler, 1015.6)), kMiddleTick);
}

TEST_F(DepthInWell, RulersFollowTheChartsDepthReference) {
  well->SetDepthType(CWpWell::kDepthAltitude);
  EXPECT_EQ(ruler->GetShowDepthType(), DT_AD);
  well->SetDepthType(CWpWell::kDepthVertical);
  EXPECT_EQ(ruler->GetShowDepthType(), DT_TVD);
}

}  // namespace
}  // namespace davodu::testing
