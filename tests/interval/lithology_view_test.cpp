// The lithology column edited through the view as a user edits it: an
// interval dragged into free space, a boundary dragged, an interval deleted
// from its menu; each edit lands in the well database's lithology table.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <utility>
#include <vector>

#include "davodu/interval/wp_corelith.h"
#include "support/cli.h"
#include "support/interval_data.h"
#include "support/kit_fixture.h"

namespace davodu::testing {
namespace {

class LithologyView : public KitTest {
 protected:
  void SetUp() override {
    const std::string name = ::testing::UnitTest::GetInstance()->current_test_info()->name();
    wells = CWellDataManager::Instance();
    ASSERT_TRUE(wells->Open(ScratchDb(ScratchDir("lithology-" + name)))) << wells->GetLastError();
    std::string error;
    ASSERT_TRUE(FillIntervalWells(*wells, &error)) << error;
    TableImport in;
    in.source = "lithology.csv";
    in.well = "W1";
    in.kind = TableKind::kLithology;
    in.header = {Gbk("顶深"), Gbk("厚度"), Gbk("岩性名称"), Gbk("岩性")};
    in.rows = {{"1000", "4", Gbk("泥岩"), Gbk("泥岩")}, {"1010", "5", Gbk("细砂岩"), Gbk("细砂岩")}};
    ASSERT_TRUE(wells->ImportTableRows(in, &error)) << error;

    well = MakeRoot<CWpWell>("CWpWell");
    well->SetName("W1");
    well->SetDepthScale(500);
    well->SetTopDepth(995);
    well->SetBottomDepth(1045);
    well->SetWidth(2000);
    lith = well->AddTrack(kCmdWellTrackFirst, -1)->AddCorelith("", 1, -1);
    ASSERT_NE(lith, nullptr);
    well->LoadChartData();
  }
  void TearDown() override {
    AfxSetDialogs(nullptr);
    wells->Close();
  }

  CPoint At(double depth) const {
    const double x = (lith->GetLeft() + lith->GetRight()) / 2;
    return lith->GetTranslator().MapToDraw(FLOATPOINT{x, lith->DepToMapY(depth)});
  }
  void Drag(double from, double to) {
    view.LButtonDown(At(from));
    for (int k = 1; k <= 4; ++k) view.MouseMove(At(from + (to - from) * k / 4), MK_LBUTTON);
    view.LButtonUp(At(to));
  }
  // (top, thickness) of every row of the well's lithology table.
  std::vector<std::pair<double, double>> Rows() const {
    std::shared_ptr<CWellTable> t = wells->GetTable("W1", TableKind::kLithology);
    std::vector<std::pair<double, double>> rows;
    for (int i = 0; t && i < t->GetCount(); ++i)
      rows.emplace_back(t->GetDouble(i, "top"), t->GetDouble(i, "thickness"));
    std::sort(rows.begin(), rows.end());
    return rows;
  }

  CWellDataManager* wells = nullptr;
  CWpWell* well = nullptr;
  CWpCorelith* lith = nullptr;
  RecordingDC dc{true};
  ChartView view{&doc, &dc};
};

TEST_F(LithologyView, AddingResizingAndDeletingChangeTheTable) {
  using List = std::vector<std::pair<double, double>>;
  ASSERT_EQ(lith->GetSegCount(), 2);
  ASSERT_EQ(Rows(), (List{{1000, 4}, {1010, 5}}));

  // A drag over free space adds an interval there.
  view.LButtonDown(At(1030));  // selects the column
  view.LButtonUp(At(1030));
  Drag(1020, 1026);
  ASSERT_EQ(lith->GetSegCount(), 3);
  const List added = Rows();
  ASSERT_EQ(added.size(), 3u);
  EXPECT_NEAR(added[2].first, 1020, 0.2);
  EXPECT_NEAR(added[2].second, 6, 0.2);

  // The bottom boundary of the sandstone dragged down two metres.
  view.LButtonDown(At(1012));  // makes it the active interval
  view.LButtonUp(At(1012));
  Drag(1015, 1017);
  const List resized = Rows();
  ASSERT_EQ(resized.size(), 3u);
  EXPECT_NEAR(resized[1].first, 1010, 0.01);
  EXPECT_NEAR(resized[1].second, 7, 0.2);

  // The mudstone deleted through its menu.
  view.LButtonDown(At(1002));
  view.LButtonUp(At(1002));
  const std::vector<MenuItem> menu = view.RightClick(At(1002));
  ASSERT_TRUE(std::any_of(menu.begin(), menu.end(),
                          [](const MenuItem& m) { return m.id == CWpCorelith::kCmdDeleteCorelith; }));
  view.Command(CWpCorelith::kCmdDeleteCorelith);
  const List left = Rows();
  ASSERT_EQ(left.size(), 2u);
  EXPECT_NEAR(left[0].first, 1010, 0.01);
  EXPECT_EQ(lith->GetSegCount(), 2);
}

}  // namespace
}  // namespace davodu::testing
