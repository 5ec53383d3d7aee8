// The parameter column kit: number formats, intervals of its own and from a
// parameter source, what is drawn where, per-value templates, editing and
// records.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "davodu/data/wd_mgr.h"
#include "davodu/display/wp_param.h"
#include "davodu/host/objects/template_manager.h"
#include "support/kit_fixture.h"
#include "support/records.h"

namespace davodu::testing {
namespace {

// A parameter table: four intervals, one without a value and one without
// depths.
class FakePara : public LogParaDIO {
 public:
  int GetCount() override { return static_cast<int>(values.size()); }
  double GetTop(int i) override { return tops[static_cast<std::size_t>(i)]; }
  double GetBottom(int i) override { return tops[static_cast<std::size_t>(i)] + 10; }
  std::string GetValue(int i) override { return values[static_cast<std::size_t>(i)]; }
  bool SetValue(int i, const std::string& value) override {
    values[static_cast<std::size_t>(i)] = value;
    Notify();
    return true;
  }
  std::uint64_t GetTimeStamp() override { return 1; }
  void CheckDataSet() override {}

  std::vector<double> tops{1000, 1010, kFltMax, 1030};
  std::vector<std::string> values{"1.23456", "", "7", "abc"};
};

// A gateway whose parameter family hands out the fake.
class FakeGateway : public WDMgrAdapter {
 public:
  FakeGateway() : WDMgrAdapter(nullptr, "W") {}
  FakePara* made = nullptr;

 private:
  std::unique_ptr<LogParaDIO> CreatePara(const std::string&, const std::string&,
                                         const std::string&) override {
    auto para = std::make_unique<FakePara>();
    made = para.get();
    return para;
  }
};

class Param : public KitTest {
 protected:
  // A column 2000 wide over 1000 to 1100 m at 100 map units a metre.
  Param() {
    param = MakeRoot<CWpParam>("CWpParam");
    param->SetTopDepth(1000);
    param->SetBottomDepth(1100);
    param->SetDepScl(100);
    param->SetWidth(2000);
    param->SetPosition(FLOATPOINT{0, 0});
    param->BuildControlNodePointArray();
  }
  // Binds the column to the fake table.
  void BindData(bool null_display) {
    param->SetDataMgr(&gateway);
    param->SetDataType(Gbk("当前井"));
    param->SetDataTable("T");
    param->SetDataField("F");
    param->SetNullDisplay(null_display);
    param->ResetData();
  }
  std::string Intervals() const {
    std::string out;
    for (const auto& s : param->GetSegList())
      out += (out.empty() ? "" : " ") + std::to_string(s->number) + ":" + s->value;
    return out;
  }
  std::vector<DrawOp> Texts() {
    RecordingDC dc(false);
    param->Draw(&dc, nullptr, nullptr, nullptr);
    std::vector<DrawOp> out;
    for (const DrawOp& op : dc.OpsOf(DrawOp::kText))
      if (op.text != param->GetTitleText()) out.push_back(op);
    return out;
  }

  FakeGateway gateway;
  CWpParam* param = nullptr;
};

TEST_F(Param, NumbersShowTheirDecimals) {
  param->SetDigitNum(2);
  const struct {
    const char* in;
    const char* out;
  } cases[] = {{"12.34567", "12.35"}, {"7", "7.00"}, {" -0.5 ", "-0.50"}, {"abc", "abc"},
               {"12abc", "12abc"}, {"", ""}, {"1e400", "1e400"}};
  for (const auto& c : cases) EXPECT_EQ(param->Str2Num(c.in), c.out) << c.in;
}

TEST_F(Param, DataIntervalsKeepTheirIndexesAndMissingDepthsAddNone) {
  param->SetDigitNum(1);
  BindData(true);
  ASSERT_NE(param->GetData(), nullptr);
  EXPECT_EQ(Intervals(), "0:1.2 1: 3:abc");
  BindData(false);
  EXPECT_EQ(Intervals(), "0:1.2 3:abc");
  // A changed value reaches the column through the source's notice.
  gateway.made->values[0] = "2.25";
  gateway.made->Notify();
  EXPECT_EQ(Intervals(), "0:2.2 3:abc");
}

TEST_F(Param, EditingAValueGoesToTheDocumentOrTheSource) {
  param->AddSegment(1, "a", 1010, 1020);
  param->ActivateSegment(1);
  param->SetActiveSegValue("b");
  EXPECT_EQ(param->GetActiveSegValue(), "b");
  BindData(true);
  param->ActivateSegment(3);
  param->SetActiveSegValue("changed");
  EXPECT_EQ(gateway.made->values[3], "changed");
  EXPECT_EQ(param->GetActiveSegValue(), "");  // the kit read its intervals again
  EXPECT_NE(Intervals().find("3:changed"), std::string::npos);
}

TEST_F(Param, ValuesAreWrittenAtEveryPlacementSwitchedOn) {
  param->AddSegment(1, "v", 1010, 1030);
  // The default places the value once, in the middle.
  std::vector<DrawOp> texts = Texts();
  ASSERT_EQ(texts.size(), 1u);
  EXPECT_EQ(texts[0].points[0], (CPoint{1000, -2000}));
  // Top and left: the top centre, the left middle and the bottom-left corner.
  param->SetTextVisible(CWpParam::kMidHText, false);
  param->SetTextVisible(CWpParam::kMidVText, false);
  param->SetTextVisible(CWpParam::kTopHText, true);
  param->SetTextVisible(CWpParam::kLeftVText, true);
  texts = Texts();
  ASSERT_EQ(texts.size(), 3u);
  EXPECT_EQ(texts[0].points[0], (CPoint{1000, -1000}));
  EXPECT_EQ(texts[1].points[0], (CPoint{0, -2000}));
  EXPECT_EQ(texts[2].points[0], (CPoint{0, -3000}));
  // Vertical text stacks the characters of a two-character value.
  param->SetTextVisible(CWpParam::kTopHText, false);
  param->SetTextVisible(CWpParam::kLeftVText, false);
  param->SetTextVisible(CWpParam::kMidHText, true);
  param->SetTextDir(STRDIR_VERTICAL);
  param->GetSegList().front()->value = Gbk("油层");
  texts = Texts();
  ASSERT_EQ(texts.size(), 2u);
  EXPECT_EQ(texts[0].text, Gbk("油"));
  EXPECT_EQ(texts[1].text, Gbk("层"));
  EXPECT_EQ(texts[0].points[0].x, texts[1].points[0].x);
  EXPECT_GT(texts[0].points[0].y, texts[1].points[0].y);
}

TEST_F(Param, TemplatesChooseTheStyleOfEachValue) {
  CGeneralTemplate colours("grades", kTemplateColor, "T.F");
  colours.AddEntry(Gbk("油层"), RGB(255, 0, 0));
  colours.AddEntry(Gbk("水层"), RGB(0, 0, 255));
  CGeneralTemplate faces("faces", kTemplateFontStyle, "T.F");
  faces.AddTextEntry(Gbk("水层"), Gbk("黑体"));
  CTemplateManagerFacade::Instance()->RegisterTemplate(colours);
  CTemplateManagerFacade::Instance()->RegisterTemplate(faces);
  param->SetFillVisible(true);
  param->SetTemplateName(CWpParam::kRectIColorTemp, "grades");
  param->SetTemplateName(CWpParam::kTextTypeTemp, "faces");
  param->AddSegment(1, Gbk("油层"), 1010, 1020);
  param->AddSegment(2, Gbk("水层"), 1020, 1030);
  param->AddSegment(3, Gbk("干层"), 1030, 1040);
  RecordingDC dc(false);
  param->Draw(&dc, nullptr, nullptr, nullptr);
  std::vector<COLORREF> fills;
  for (const DrawOp& op : dc.OpsOf(DrawOp::kPolygon))
    if (op.brush && op.points.size() == 4 && op.points[0].x == 0) fills.push_back(op.brush->color);
  EXPECT_EQ(fills, (std::vector<COLORREF>{RGB(255, 0, 0), RGB(0, 0, 255), 0xFFFFFF}));
  std::vector<std::string> faces_used;
  for (const DrawOp& op : dc.OpsOf(DrawOp::kText))
    if (op.text != param->GetTitleText()) faces_used.push_back(op.font->face);
  EXPECT_EQ(faces_used, (std::vector<std::string>{Gbk("宋体"), Gbk("黑体"), Gbk("宋体")}));
  CTemplateManagerFacade::Instance()->RemoveTemplate("grades", kTemplateColor);
  CTemplateManagerFacade::Instance()->RemoveTemplate("faces", kTemplateFontStyle);
}

TEST_F(Param, RecordsKeepEverySettingAndTheFillColour) {
  ZULOGBRUSH brush = param->GetRectFillBrush();
  brush.color = RGB(10, 20, 30);
  param->SetRectFillBrush(brush);
  param->SetFillVisible(true);
  param->SetDigitNum(3);
  param->SetAngleType(1);
  param->SetTextDir(STRDIR_VERTICAL);
  param->SetNullDisplay(false);
  param->SetTemplateName(CWpParam::kLineColorTemp, "lc");
  param->SetLineVisible(CWpParam::kRightVLine, true);
  param->AddSegment(1, "a", 1010, 1020);
  param->AddSegment(2, "b", 1020, 1025);

  CZuMFile out;
  out.OpenWrite();
  param->SaveToFile(&out);
  const std::vector<int> numbers = RecordNumbers(out.GetData());
  CZuMFile in;
  ASSERT_TRUE(in.OpenRead(out.GetData()));
  ASSERT_TRUE(in.ReadNextRecord());  // the 60
  auto* read = Make<CWpParam>("CWpParam");
  ASSERT_EQ(read->ReadFromFile(&in), 1);
  EXPECT_EQ(read->GetRectFillBrush().color, RGB(10, 20, 30));
  EXPECT_TRUE(read->IsFillVisible());
  EXPECT_EQ(read->GetDigitNum(), 3);
  EXPECT_EQ(read->GetAngleType(), 1);
  EXPECT_EQ(read->GetTextDir(), STRDIR_VERTICAL);
  EXPECT_FALSE(read->IsNullDisplay());
  EXPECT_EQ(read->GetTemplateName(CWpParam::kLineColorTemp), "lc");
  EXPECT_TRUE(read->IsLineVisible(CWpParam::kRightVLine));
  ASSERT_EQ(read->GetSegCount(), 2);
  EXPECT_FLOAT_EQ(read->GetSegList()[1]->bottom_depth, 1025);
  // Written again it is the same, record for record.
  CZuMFile again;
  again.OpenWrite();
  read->SaveToFile(&again);
  EXPECT_EQ(DumpRecords(again.GetData()), DumpRecords(out.GetData()));
  EXPECT_NE(std::find(numbers.begin(), numbers.end(), 174), numbers.end());
  AfxGetObjectFactory()->DeleteObject(read);
}

}  // namespace
}  // namespace davodu::testing
