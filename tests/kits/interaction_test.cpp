// Mouse, menus and drawing of kits, driven through the view as a host does.
#include <gtest/gtest.h>

#include <algorithm>

#include "davodu/host/objects/chart_view.h"
#include "davodu/kits/menu_ids.h"
#include "support/kit_fixture.h"

namespace davodu::testing {
namespace {

class PlainContent : public CWpContent {
 public:
  PlainContent() : CWpContent(nullptr) {}
};

// A well with two tracks: t1 holds a (group 0) and b (group 1, stacked
// above a); t2 holds c alone. Draw coordinates equal map coordinates.
class Interaction : public KitTest {
 protected:
  Interaction() {
    AfxSetDialogs(&dialogs);
    well = MakeRoot<CWpWell>("CWpWell");
    well->SetWidth(6000);
    // The well's anchor is the centre of the body's top: the tracks stand
    // from 0 to 6000.
    well->SetPosition(FLOATPOINT{3000, 0}, 0);
    t1 = Make<CWpTrack>("CWpTrack");
    t2 = Make<CWpTrack>("CWpTrack");
    well->AddChild(t1);
    well->AddChild(t2);
    t1->SetWidth(3000);
    t2->SetWidth(3000);
    t2->SetPosition(FLOATPOINT{3000, 0}, 1);
    a = Make<CWpContent>("CWpStratum");
    b = Make<CWpContent>("CWpSand");
    // A content of no kind of its own: the base behaviour of gestures and
    // menus, which every kind starts from.
    c = new PlainContent;
    t1->AddChild(a, 0);
    t1->AddChild(b, 0);
    t2->AddChild(c, 0);
    for (CWpContent* k : {a, b, c}) k->SetTitleText("");
    Layout();
  }
  ~Interaction() override { AfxSetDialogs(nullptr); }

  void Layout() {
    well->BuildControlNodePointArray();
    for (CWpKit* t : well->GetChildren()) {
      t->Reset();
      t->BuildControlNodePointArray();
      for (CWpKit* k : t->GetChildren()) k->BuildControlNodePointArray();
    }
  }
  static CPoint BodyMiddle(const CWpKit* k) {
    return {(k->DrawNode(0).x + k->DrawNode(1).x) / 2, (k->DrawNode(0).y + k->DrawNode(10).y) / 2};
  }
  static CPoint TitleMiddle(const CWpKit* k) {
    return {(k->DrawNode(2).x + k->DrawNode(3).x) / 2, (k->DrawNode(2).y + k->DrawNode(4).y) / 2};
  }
  static bool HasItem(const std::vector<MenuItem>& menu, unsigned id, const std::string& text) {
    return std::any_of(menu.begin(), menu.end(),
                       [&](const MenuItem& m) { return m.id == id && m.text == text; });
  }

  ScriptedDialogs dialogs;
  RecordingDC dc{true};
  ChartView view{&doc, &dc};
  CWpWell* well;
  CWpTrack* t1;
  CWpTrack* t2;
  CWpContent* a;
  CWpContent* b;
  CWpContent* c;
};

TEST_F(Interaction, AClickInAContentBodyStartsAMove) {
  ASSERT_EQ(view.LButtonDown(BodyMiddle(c)), c);
  EXPECT_EQ(c->GetSelectedHandle(), CN_BODY_MOVE);
  EXPECT_EQ(c->GetEditMode(), EM_MOVE);
  EXPECT_EQ(view.GetCursor(), IDC_SIZEALL);
  EXPECT_TRUE(view.HasCapture());
  EXPECT_TRUE(c->IsSelected());
  view.LButtonUp(BodyMiddle(c));
  EXPECT_EQ(c->GetSelectedHandle(), CN_NONE);
  EXPECT_FALSE(view.HasCapture());
}

TEST_F(Interaction, HandlesOfTheHead) {
  EXPECT_EQ(c->NodeHitTest(c->DrawNode(7)), CN_RIGHT);
  EXPECT_EQ(c->NodeHitTest(c->DrawNode(6)), CN_LEFT);
  EXPECT_EQ(c->NodeHitTest(c->DrawNode(8)), CN_TITLE_TOP);
  EXPECT_EQ(c->NodeHitTest(c->DrawNode(9)), CN_CLIENT_TOP);
  t2->SetTitleVisible(0);
  Layout();
  EXPECT_EQ(t2->NodeHitTest(t2->DrawNode(8)), CN_CLIENT_TOP);
}

TEST_F(Interaction, AContentsClientBandIsNotTheContent) {
  // b sits on top of a: b's client band is a's title row.
  ASSERT_GT(b->GetClientHeight(), 0);
  const CPoint in_client{(b->DrawNode(0).x + b->DrawNode(1).x) / 2 + 1,
                         (b->DrawNode(0).y + b->DrawNode(2).y) / 2};
  EXPECT_EQ(b->HitTest(in_client), nullptr);
  EXPECT_NE(view.ObjectAt(in_client), b);
}

TEST_F(Interaction, DeletingTheLastContentDeletesItsTrack) {
  const std::vector<MenuItem> menu = view.RightClick(BodyMiddle(c));
  EXPECT_TRUE(HasItem(menu, kCmdDelete, Gbk("删除[当选对象](&D)")));
  EXPECT_EQ(view.Command(kCmdDelete), 2);
  ASSERT_EQ(well->ChildrenCount(), 1);
  EXPECT_EQ(well->GetChild(0), t1);
  EXPECT_FLOAT_EQ(well->GetWidth(), 3000);
  // A content with a sibling goes alone.
  view.RightClick(BodyMiddle(a));
  view.Command(kCmdDelete);
  EXPECT_EQ(t1->ChildrenCount(), 1);
  EXPECT_EQ(well->ChildrenCount(), 1);
}

TEST_F(Interaction, AnUntitledKitIsNamedByItsKindInTheMenu) {
  const struct {
    const char* class_name;
    const char* label;
  } kinds[] = {
      {"CWpParam", "参数"},   {"CWpSymbleShoot", "射孔"}, {"CWpCorelith", "岩性"},
      {"CWpOilTest", "试油"}, {"CWpDepth", "深度道"},    {"CWpCurve", "曲线"},
      {"CWpText", "文本"},
      // Kinds without a name of their own.
      {"CWpProgram", "当选对象"}, {"CWpWaterEntry", "当选对象"},
  };
  for (const auto& kind : kinds) {
    auto* kit = Make<CWpContent>(kind.class_name);
    ASSERT_NE(kit, nullptr);
    t2->AddChild(kit, 0);
    kit->SetTitleText("");
    Layout();
    doc.ClearMenu();
    kit->OnRButtonDown(&view, &dc, 0, BodyMiddle(kit));
    const std::vector<MenuItem>& menu = doc.GetMenu();
    EXPECT_TRUE(HasItem(menu, kCmdDelete, Gbk("删除[") + Gbk(kind.label) + "](&D)")) << kind.class_name;
    // Only a program offers to edit its program.
    EXPECT_EQ(HasItem(menu, kCmdEditProgram, Gbk("编辑程序")),
              std::string(kind.class_name) == "CWpProgram")
        << kind.class_name;
  }
  // A title, when there is one, names the kit instead.
  c->SetTitleText(Gbk("主力层"));
  doc.ClearMenu();
  c->OnRButtonDown(&view, &dc, 0, BodyMiddle(c));
  EXPECT_TRUE(HasItem(doc.GetMenu(), kCmdDelete, Gbk("删除[主力层](&D)")));
  // An untitled track, and the well once its title is emptied.
  doc.ClearMenu();
  t2->OnRButtonDown(&view, &dc, 0, BodyMiddle(t2));
  EXPECT_TRUE(HasItem(doc.GetMenu(), kCmdDelete, Gbk("删除[内容道](&D)")));
  EXPECT_TRUE(HasItem(doc.GetMenu(), kCmdClear, Gbk("清空[内容道](&Q)")));
  well->SetTitleText("");
  doc.ClearMenu();
  well->OnRButtonDown(&view, &dc, 0, BodyMiddle(t2));
  EXPECT_TRUE(HasItem(doc.GetMenu(), kCmdClear, Gbk("清空[井](&Q)")));
}

TEST_F(Interaction, ClearAsksFirst) {
  const std::vector<MenuItem> menu = view.RightClick(TitleMiddle(a));
  ASSERT_FALSE(menu.empty());
  // The track's own menu has the clear item; reach it through the track.
  doc.ClearMenu();
  t1->OnRButtonDown(&view, &dc, 0, BodyMiddle(a));
  EXPECT_TRUE(HasItem(doc.GetMenu(), kCmdClear, Gbk("清空[WpTrk](&Q)")) ||
              HasItem(doc.GetMenu(), kCmdClear, Gbk("清空[内容道](&Q)")));
  dialogs.yes_no_answers = {false};
  t1->OnCommand(&view, &dc, kCmdClear, 0);
  EXPECT_EQ(t1->ChildrenCount(), 2);
  dialogs.yes_no_answers = {true};
  t1->OnCommand(&view, &dc, kCmdClear, 0);
  EXPECT_EQ(t1->ChildrenCount(), 0);
  ASSERT_EQ(dialogs.questions.size(), 2u);
  EXPECT_EQ(dialogs.questions[0], Gbk("确定进行清空操作吗?"));
}

TEST_F(Interaction, DrawOrderCommands) {
  std::vector<MenuItem> menu = view.RightClick(TitleMiddle(a));
  // a is first in the draw order of two.
  EXPECT_TRUE(HasItem(menu, kCmdMoveMostFront, Gbk("置于顶层")));
  EXPECT_TRUE(HasItem(menu, kCmdMoveFront, Gbk("上移一层")));
  EXPECT_FALSE(HasItem(menu, kCmdMoveMostBack, Gbk("置于底层")));
  EXPECT_EQ(view.Command(kCmdMoveMostFront), 2);
  EXPECT_EQ(t1->GetDrawOrder(), (std::vector<int>{1, 0}));
  // Not a sub-kit of a track: nothing happens, and still answered.
  EXPECT_EQ(t1->OnCommand(&view, &dc, kCmdMoveBack, 0), 2);
}

TEST_F(Interaction, HighlightingTwiceRestoresThePicture) {
  dc.Clear();
  c->Highlight(&dc, &view);
  const std::vector<DrawOp> first = dc.ops();
  c->Highlight(&dc, &view);
  ASSERT_FALSE(first.empty());
  ASSERT_EQ(dc.ops().size(), 2 * first.size());
  for (std::size_t i = 0; i < first.size(); ++i) {
    const DrawOp& again = dc.ops()[first.size() + i];
    EXPECT_EQ(again.points, first[i].points);
    ASSERT_TRUE(again.pen.has_value());
    EXPECT_EQ(again.pen->rop, kRopNotXor);
  }
  // A file render draws no marks.
  RecordingDC file_dc(false);
  c->Highlight(&file_dc, nullptr);
  EXPECT_TRUE(file_dc.ops().empty());
}

TEST_F(Interaction, DraggingAnEdgeAgainstAnotherGroupChangesOnlyThatWidth) {
  const CPoint edge = a->DrawNode(6);
  ASSERT_EQ(view.LButtonDown(edge), a);
  ASSERT_EQ(a->GetSelectedHandle(), CN_LEFT);
  EXPECT_EQ(view.GetCursor(), IDC_SIZEWE);
  view.MouseMove({1234, edge.y});
  view.LButtonUp({1234, edge.y});
  EXPECT_FLOAT_EQ(a->GetWidth(), 1750);  // 3000 - 1234, cut down to a multiple of 50
  EXPECT_DOUBLE_EQ(a->MapNode(1).x, 3000);  // the right edge stays
  // Never below the track's minimum width.
  view.LButtonDown(a->DrawNode(6));
  view.MouseMove({2999, edge.y});
  view.LButtonUp({2999, edge.y});
  EXPECT_GE(a->GetWidth(), t1->MinWidth());
}

TEST_F(Interaction, DroppingATitleOnAnotherTitleSwapsThem) {
  ASSERT_EQ(view.LButtonDown(TitleMiddle(a)), a);
  const CPoint target = TitleMiddle(c);
  view.MouseMove(target);
  view.LButtonUp(target);
  EXPECT_EQ(a->GetParent(), t2);
  EXPECT_EQ(c->GetParent(), t1);
}

TEST_F(Interaction, MovingTheLastContentOutDeletesItsTrack) {
  ASSERT_EQ(view.LButtonDown(TitleMiddle(c)), c);
  // Into t1's client band, beside a's title.
  const CPoint drop{t1->DrawNode(0).x + 100, (a->DrawNode(2).y + a->DrawNode(4).y) / 2};
  view.MouseMove(drop);
  view.LButtonUp(drop);
  EXPECT_EQ(c->GetParent(), t1);
  EXPECT_EQ(well->ChildrenCount(), 1);
  EXPECT_FLOAT_EQ(well->GetWidth(), 3000);
}

TEST_F(Interaction, ContentTitles) {
  // An even-length title drawn across; a long one down, character by character.
  c->SetTitleText(Gbk("沉积相"));
  dc.Clear();
  c->DrawTitle(&dc, &view, nullptr, nullptr);
  ASSERT_EQ(dc.Texts().size(), 1u);
  EXPECT_EQ(dc.Texts()[0], Gbk("沉积相"));
  c->SetTitleDirection(2);
  dc.Clear();
  c->DrawTitle(&dc, &view, nullptr, nullptr);
  EXPECT_EQ(dc.Texts(), (std::vector<std::string>{Gbk("沉"), Gbk("积"), Gbk("相")}));
  // An odd byte length gains a blank; characters stay whole.
  c->SetTitleText("G" + Gbk("曲"));
  dc.Clear();
  c->DrawTitle(&dc, &view, nullptr, nullptr);
  EXPECT_EQ(dc.Texts(), (std::vector<std::string>{"G", Gbk("曲"), " "}));
  // Hidden heads draw nothing.
  c->SetHeadAlign(-1);
  dc.Clear();
  c->DrawTitle(&dc, &view, nullptr, nullptr);
  EXPECT_TRUE(dc.Texts().empty());
}

TEST_F(Interaction, DraggingTheBoundaryBetweenTwoRowsSharesTheirHeight) {
  const float rows = t1->GroupTitle(0) + t1->GroupTitle(1);
  const float before = t1->GroupTitle(0);
  // The boundary between the rows: the bottom edge of b's title band (the
  // top edge of a's lies under it).
  ASSERT_EQ(view.LButtonDown(a->DrawNode(8)), b);
  ASSERT_EQ(b->GetSelectedHandle(), CN_CLIENT_TOP);
  const int target = static_cast<int>(rows * 0.7f);
  const CPoint to{a->DrawNode(8).x, a->DrawNode(2).y + target};
  view.MouseMove(to);
  view.LButtonUp(to);
  EXPECT_NE(t1->GroupTitle(0), before);
  EXPECT_NEAR(t1->GroupTitle(0), target, 50);  // b's row is cut to a multiple of 50
  EXPECT_FLOAT_EQ(t1->GroupTitle(0) + t1->GroupTitle(1), rows);
}

TEST_F(Interaction, FaultGapsLeaveWhiteBands) {
  well->GetFaultInfo().blank_space = true;
  well->GetFaultInfo().points = {{1200, 0, 5}, {2000, 5, 0}};
  dc.Clear();
  c->DrawBlankSpace(&dc, &view);
  const std::vector<DrawOp> fills = dc.OpsOf(DrawOp::kPolygon);
  ASSERT_EQ(fills.size(), 1u);  // the closing point has no band
  ASSERT_TRUE(fills[0].brush.has_value());
  EXPECT_EQ(fills[0].brush->color, 0xFFFFFFu);
  // The band runs from the fault depth down by the gap.
  int top = fills[0].points[0].y, bottom = top;
  for (const CPoint& p : fills[0].points) {
    top = std::max(top, p.y);
    bottom = std::min(bottom, p.y);
  }
  EXPECT_EQ(top, c->DepToDrwY(1200));
  EXPECT_EQ(top - bottom, static_cast<int>(5 * c->GetDepScl()));
  EXPECT_EQ(dc.OpsOf(DrawOp::kPolyline).size(), 2u);  // its two edges
}

TEST_F(Interaction, ContentSettings) {
  c->SetTtlFtScope(7);
  EXPECT_EQ(c->GetTtlFtScope(), 4);
  t2->SetTtlFtScope(7);
  EXPECT_EQ(t2->GetTtlFtScope(), 2);
  EXPECT_FALSE(c->IsGroup());
  auto* d = Make<CWpContent>("CWpCorelith");
  t2->AddChild(d, 1);
  EXPECT_TRUE(c->IsGroup());
  EXPECT_TRUE(d->IsGroup());
}

}  // namespace
}  // namespace davodu::testing
