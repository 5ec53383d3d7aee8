// Layout of the well: widths shared among the tracks, heads made equal, the
// head band with the name, the symbol and the header tables, templates.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <string>
#include <vector>

#include "davodu/host/objects/template_manager.h"
#include "davodu/host/objects/zu_object_cell.h"
#include "support/cli.h"
#include "support/kit_fixture.h"

namespace davodu::testing {
namespace {

// A kit whose minimum sizes the test sets; with reenter set it asks that
// kit to lay out again while its own head is being fitted.
class SizedKit : public CWpKit {
 public:
  SizedKit() : CWpKit(nullptr) {}
  float min_width = 0.1f;
  float min_title = 0.1f;
  float min_client = 0;
  CWpKit* reenter = nullptr;
  float MinWidth() override { return min_width; }
  float MinTitle() override { return min_title; }
  float MinClient() override { return min_client; }
  void ResetClient() override {
    if (reenter) reenter->Reset();
  }
};

bool Finite(const CWpKit* k) {
  return std::isfinite(k->GetWidth()) && std::isfinite(k->GetTitleHeight()) &&
         std::isfinite(k->GetClientHeight()) && std::isfinite(k->GetPosition().x);
}

class WellLayout : public KitTest {
 public:
  WellLayout() { well = MakeRoot<CWpWell>("CWpWell"); }

  CWpTrack* AddTrack(float width) {
    auto* t = Make<CWpTrack>("CWpTrack");
    well->AddChild(t);
    t->SetWidth(width);
    return t;
  }
  SizedKit* AddSized(float width, float min_width) {
    auto* k = new SizedKit;
    well->AddChild(k);
    k->min_width = min_width;
    k->SetWidth(width);
    return k;
  }
  // The children stand side by side from the well's left edge to its right.
  void ExpectSideBySide() {
    double x = well->MapNode(0).x;
    for (const CWpKit* k : well->GetChildren()) {
      EXPECT_NEAR(k->GetPosition().x, x, 1e-6);
      x += k->GetWidth();
    }
    EXPECT_NEAR(x, well->MapNode(1).x, 1e-3);
  }

  CWpWell* well;
};

TEST_F(WellLayout, TracksShareAWiderWellInProportion) {
  for (float w : {1000.f, 1000.f, 2000.f}) AddTrack(w);
  well->SetWidth(8000);
  well->Update();
  const float want[] = {2000, 2000, 4000};
  for (int i = 0; i < 3; ++i) EXPECT_FLOAT_EQ(well->GetChild(i)->GetWidth(), want[i]) << i;
  // The anchor is the centre of the body's top.
  EXPECT_DOUBLE_EQ(well->MapNode(0).x, -4000);
  ExpectSideBySide();

  well->SetPosition(FLOATPOINT{100, 0}, 1);
  well->Update();
  EXPECT_DOUBLE_EQ(well->MapNode(0).x, -3900);
  EXPECT_DOUBLE_EQ(well->GetChild(2)->MapNode(1).x, 4100);
  ExpectSideBySide();
}

TEST_F(WellLayout, ANarrowerWellKeepsEveryChildAtLeastAtItsMinimum) {
  const struct {
    const char* what;
    std::vector<float> widths, mins;
    bool zero_widths;  // the children's widths are scaled down to nothing first
    float well_width;
    std::vector<float> want;
  } cases[] = {
      {"one held at its minimum, the others share the rest", {1000, 1000, 2000}, {800, 0.1f, 0.1f},
       false, 2000, {800, 400, 800}},
      {"every child held at its minimum", {2000, 2000}, {1000, 1000}, false, 1000, {1000, 1000}},
      {"children without width share equally", {1000, 1000, 1000}, {0, 0, 0}, true, 3000,
       {1000, 1000, 1000}},
  };
  const struct {
    const char* name;
    void (*run)(CWpWell*);
  } layouts[] = {{"Reset", [](CWpWell* w) { w->Reset(); }},
                 {"ResetWidth", [](CWpWell* w) { w->ResetWidth(); }}};
  for (const auto& layout : layouts)
    for (const auto& tc : cases) {
      SCOPED_TRACE(::testing::Message() << layout.name << ": " << tc.what);
      well->ClearChildren();
      well->SetWidth(tc.well_width);
      for (std::size_t i = 0; i < tc.widths.size(); ++i) {
        SizedKit* k = AddSized(tc.widths[i], tc.mins[i]);
        if (tc.zero_widths) k->Amplify(FLOATPOINT{}, 0, 1);
      }
      layout.run(well);
      float total = 0;
      for (std::size_t i = 0; i < tc.want.size(); ++i) {
        const CWpKit* k = well->GetChild(static_cast<int>(i));
        ASSERT_TRUE(Finite(k));
        EXPECT_NEAR(k->GetWidth(), tc.want[i], 0.01) << i;
        EXPECT_GE(k->GetWidth(), tc.mins[i]);
        total += k->GetWidth();
      }
      EXPECT_NEAR(well->GetWidth(), total, 0.01);
      ExpectSideBySide();
    }
}

TEST_F(WellLayout, EveryTrackHeadEndsAsTallAsTheClientBand) {
  const struct {
    const char* what;
    float title1, client1, title2, client2;
  } cases[] = {
      {"heads of 1500 and 2500", 500, 1000, 500, 2000},
      {"tallest title and tallest client in different tracks", 800, 700, 300, 2000},
      {"heads lower than the band", 300, 200, 100, 300},
  };
  for (const auto& tc : cases) {
    SCOPED_TRACE(tc.what);
    well->ClearChildren();
    well->SetClientHeight(1000);
    CWpTrack* a = AddTrack(1000);
    CWpTrack* b = AddTrack(1000);
    a->SetTitleHeight(tc.title1);
    a->SetClientHeight(tc.client1);
    b->SetTitleHeight(tc.title2);
    b->SetClientHeight(tc.client2);
    well->Update();
    EXPECT_NEAR(a->GetHeadHeight(), well->GetClientHeight(), 0.01);
    EXPECT_NEAR(b->GetHeadHeight(), well->GetClientHeight(), 0.01);
    EXPECT_DOUBLE_EQ(a->MapNode(0).y, well->MapNode(0).y);
    EXPECT_NEAR(a->MapNode(4).y, well->MapNode(2).y, 0.01);
  }
}

TEST_F(WellLayout, ALayoutThatCannotHaveItsWayStillEnds) {
  const struct {
    const char* what;
    void (*arrange)(WellLayout*, CWpWell*);
  } cases[] = {
      {"the well's client band is hidden",
       [](WellLayout* t, CWpWell* w) {
         w->SetClientVisible(0);
         t->AddTrack(1000)->SetClientHeight(2500);
       }},
      {"heads too tall for any client band",
       [](WellLayout* t, CWpWell*) {
         CWpTrack* k = t->AddTrack(1000);
         k->SetTitleHeight(9000);
         k->SetClientHeight(45000);
       }},
      {"minimum widths beyond any width",
       [](WellLayout* t, CWpWell*) {
         t->AddSized(70000, 60000);
         t->AddSized(70000, 60000);
       }},
      {"a child that asks for the layout again from inside it",
       [](WellLayout* t, CWpWell* w) { t->AddSized(1000, 0.1f)->reenter = w; }},
  };
  for (const auto& tc : cases) {
    SCOPED_TRACE(tc.what);
    well->ClearChildren();
    well->SetClientVisible(1);
    well->SetClientHeight(1000);
    tc.arrange(this, well);
    well->Update();
    EXPECT_TRUE(Finite(well));
    for (const CWpKit* k : well->GetChildren()) EXPECT_TRUE(Finite(k));
  }
}

TEST_F(WellLayout, FittingHeadsThatHaveNoHeight) {
  const struct {
    const char* what;
    int client_visible;  // 0: the band the heads fit into is 0 tall
    float want_head;
  } cases[] = {{"into a band of 1000", 1, 1000}, {"into no band at all", 0, 50}};
  for (const auto& tc : cases) {
    SCOPED_TRACE(tc.what);
    well->ClearChildren();
    well->SetClientVisible(tc.client_visible);
    for (int i = 0; i < 2; ++i) {
      SizedKit* k = AddSized(1000, 0.1f);
      k->min_title = 0;
      k->SetTitleHeight(0);
      k->SetClientHeight(0);
      k->min_title = 100;
      k->min_client = 50;
    }
    well->ResetClient();
    for (const CWpKit* k : well->GetChildren()) {
      ASSERT_TRUE(Finite(k));
      EXPECT_GE(k->GetTitleHeight(), 0);
      EXPECT_GE(k->GetClientHeight(), 0);
      EXPECT_FLOAT_EQ(k->GetHeadHeight(), tc.want_head);
    }
  }
}

TEST_F(WellLayout, ATrackEdgeDragMovesItsNeighbours) {
  const struct {
    const char* what;
    int right_edge;
    bool column_view;
    double a_left, c_left, anchor_x;
  } cases[] = {
      // The anchor stays the top centre of the tracks, or their left end in
      // column view.
      {"right edge: the tracks after it follow", 1, false, -1500, 1000, 250},
      {"left edge: the tracks before it give way", 0, false, -2000, 500, -250},
      {"left edge in column view", 0, true, -500, 2000, -500},
      {"right edge in column view", 1, true, 0, 2500, 0},
  };
  for (const auto& tc : cases) {
    SCOPED_TRACE(tc.what);
    well->ClearChildren();
    well->SetIsColumnView(tc.column_view);
    well->SetPosition(FLOATPOINT{0, 0}, 0);
    for (int i = 0; i < 3; ++i) AddTrack(1000);
    well->SetWidth(3000);
    well->Update();
    CWpKit* b = well->GetChild(1);
    b->SetWidth(1500);
    if (!tc.right_edge) b->SetPosition(FLOATPOINT{b->GetPosition().x - 500, 0}, 1);
    well->ResetWidth(b, tc.right_edge);
    EXPECT_DOUBLE_EQ(well->GetChild(0)->GetPosition().x, tc.a_left);
    EXPECT_DOUBLE_EQ(well->GetChild(2)->GetPosition().x, tc.c_left);
    EXPECT_FLOAT_EQ(well->GetWidth(), 3500);
    EXPECT_DOUBLE_EQ(well->GetPosition().x, tc.anchor_x);
    // The next layout leaves the tracks where they are.
    well->Update();
    EXPECT_DOUBLE_EQ(well->GetChild(0)->GetPosition().x, tc.a_left);
    EXPECT_DOUBLE_EQ(well->GetChild(2)->GetPosition().x, tc.c_left);
  }
}

TEST_F(WellLayout, TitleAlignPlacesTheNameInTheTitleBand) {
  AddTrack(3000);
  well->SetWidth(3000);
  const double w = well->GetTitleFont().GetWidth() * well->GetTitleText().size();
  const double h = well->GetTitleFont().height;
  const struct {
    int align;
    int head_align;
    double (*x)(const CWpWell*, double w);
    double (*y)(const CWpWell*, double h);
  } cases[] = {
      // At the edges of the band the name keeps clear of them by the padding.
      {5, 0, [](const CWpWell* k, double w) { return k->MapNode(0).x + kHeadCellPad + w / 2; },
       [](const CWpWell* k, double h) { return k->MapNode(4).y - kHeadCellPad - h / 2; }},
      {1, 1, [](const CWpWell* k, double) { return k->MapNode(9).x; },
       [](const CWpWell* k, double) { return (k->MapNode(2).y + k->MapNode(4).y) / 2; }},
      {9, 0, [](const CWpWell* k, double w) { return k->MapNode(1).x - kHeadCellPad - w / 2; },
       [](const CWpWell* k, double h) { return k->MapNode(2).y + kHeadCellPad + h / 2; }},
  };
  for (const auto& tc : cases) {
    SCOPED_TRACE(tc.align);
    well->SetTitleAlign(tc.align);
    well->SetHeadAlign(tc.head_align);
    well->Update();
    RecordingDC dc;
    well->Draw(&dc, nullptr, nullptr, nullptr);
    std::vector<CPoint> at;
    for (const DrawOp& op : dc.OpsOf(DrawOp::kText))
      if (op.text == well->GetTitleText()) at.push_back(op.points.at(0));
    ASSERT_EQ(at.size(), tc.head_align > 0 ? 2u : 1u);
    const double x = tc.x(well, w), y = tc.y(well, h);
    EXPECT_EQ(at[0], well->GetTranslator().MapToDraw(FLOATPOINT{x, y}));
    if (tc.head_align > 0) {
      // Mirrored below the body.
      const FLOATPOINT below{x, well->MapNode(10).y - (y - well->MapNode(0).y)};
      EXPECT_EQ(at[1], well->GetTranslator().MapToDraw(below));
    }
  }
}

TEST_F(WellLayout, ANameWiderThanTheWellWidensItsRectangle) {
  const struct {
    const char* title;
    bool wider;
  } cases[] = {{"W", false}, {"A NAME FAR WIDER THAN THE WELL", true}};
  for (const auto& tc : cases) {
    SCOPED_TRACE(tc.title);
    well->SetTitleText(tc.title);
    well->BuildControlNodePointArray();
    const double name = well->GetTitleFont().GetWidth() * std::string(tc.title).size();
    const double extra = tc.wider ? name / 2 : 0;
    EXPECT_EQ(tc.wider, name > well->GetWidth());
    EXPECT_DOUBLE_EQ(well->GetMapRect().left, well->MapNode(4).x - extra);
    EXPECT_DOUBLE_EQ(well->GetMapRect().right, well->MapNode(15).x + extra);
    // The name is drawn centred over the well however wide it is.
    RecordingDC dc;
    well->Draw(&dc, nullptr, nullptr, nullptr);
    bool drawn = false;
    for (const DrawOp& op : dc.OpsOf(DrawOp::kText))
      if (op.text == tc.title) {
        drawn = true;
        if (tc.wider) {
          EXPECT_EQ(op.points.at(0).x, well->DrawNode(9).x);
        }
      }
    EXPECT_TRUE(drawn);
  }
}

// A symbol right of the name stands one character width past the name's
// end, at its height, however long the name.
TEST_F(WellLayout, ASymbolRightOfTheNameStandsByItsEnd) {
  AddTrack(20000);
  well->SetWidth(20000);
  testing::DressTitleWithSymbol(well);
  for (const std::string& name : {std::string("W1"), Gbk("示例1井 综合测井图"),
                                  std::string("A WELL NAME OF THIRTY-TWO LETTERS")}) {
    SCOPED_TRACE(name);
    well->SetTitleText(name);
    well->Update();
    RecordingDC dc;
    well->Draw(&dc, nullptr, nullptr, nullptr);
    const DrawOp* text = nullptr;
    const std::vector<DrawOp> texts = dc.OpsOf(DrawOp::kText);
    for (const DrawOp& op : texts)
      if (op.text == name) text = &op;
    const std::vector<DrawOp> dots = dc.OpsOf(DrawOp::kEllipse);
    ASSERT_NE(text, nullptr);
    ASSERT_EQ(dots.size(), 1u);
    ASSERT_EQ(text->align_h, kAlignCenter);
    // The recording device measures half the font height a byte.
    const double cell = text->font->height / 2;
    const double name_end = text->points[0].x + cell * static_cast<double>(name.size()) / 2;
    const CRect dot = CRect{dots[0].points[0].x, dots[0].points[0].y, dots[0].points[1].x, dots[0].points[1].y}
                          .Normalized();
    EXPECT_GE(dot.left - name_end, 0.5 * cell) << "clear of the name";
    EXPECT_LE(dot.left - name_end, 1.5 * cell) << "beside the name";
    EXPECT_NEAR((dot.top + dot.bottom) / 2.0, text->points[0].y, 1) << "at the name's height";
  }
}

TEST_F(WellLayout, HeaderTables) {
  AddTrack(4000);
  well->SetWidth(4000);
  well->Update();
  const double client_top = well->MapNode(2).y;
  WellSheet* first = well->AddSheet();
  ASSERT_NE(first, nullptr);
  CZuObjectCell* upper = first->upper;
  ASSERT_NE(upper, nullptr);
  EXPECT_EQ(upper->GetLayer(), layer);
  EXPECT_EQ(upper->GetManager(), well);
  EXPECT_EQ(upper->GetColumns(), 4);
  EXPECT_EQ(upper->GetRows(), 7);
  EXPECT_DOUBLE_EQ(upper->GetSize().cx, 4000);
  EXPECT_DOUBLE_EQ(upper->GetSize().cy, 3000);
  EXPECT_EQ(upper->GetOuterPen(), well->GetBorderPen());
  EXPECT_DOUBLE_EQ(upper->GetMapRect().bottom, client_top + 3200);
  // The head now reaches the top of the table.
  EXPECT_DOUBLE_EQ(well->MapNode(4).y, client_top + 6200);

  WellSheet* second = well->AddSheet();
  ASSERT_NE(second, nullptr);
  EXPECT_DOUBLE_EQ(upper->GetMapRect().bottom, client_top + 6400);  // moved up
  EXPECT_DOUBLE_EQ(second->upper->GetMapRect().bottom, client_top + 3200);
  // In the lower head the newer table hangs nearest the body.
  EXPECT_DOUBLE_EQ(second->lower->GetMapRect().bottom, first->lower->GetMapRect().top + 200);
  EXPECT_DOUBLE_EQ(well->SheetDown(0, 0), 200);
  EXPECT_DOUBLE_EQ(well->SheetUp(1, 0), 200);
  EXPECT_DOUBLE_EQ(well->MapNode(4).y, client_top + 9400);
  EXPECT_EQ(well->FindSheet(second->lower), 1);

  // The tables move with the well, and the well draws them, the layer not.
  well->SetPosition(FLOATPOINT{well->GetPosition().x + 100, well->GetPosition().y}, 1);
  EXPECT_DOUBLE_EQ(upper->GetPosition().x, well->GetPosition().x - 2000);
  upper->SetCellText(0, 0, Gbk("井号"));
  RecordingDC own, by_well;
  upper->Draw(&own, nullptr, nullptr, nullptr);
  EXPECT_TRUE(own.ops().empty());
  well->BuildControlNodePointArray();
  well->Draw(&by_well, nullptr, nullptr, nullptr);
  const std::vector<std::string> texts = by_well.Texts();
  EXPECT_NE(std::find(texts.begin(), texts.end(), Gbk("井号")), texts.end());

  // The layer saves and reads the tables.
  const std::string path = ScratchDir("header-tables") + "/sheets.wpd";
  std::string error;
  ASSERT_TRUE(doc.SaveToFile(path, &error)) << error;
  CZuMapFile read;
  ASSERT_TRUE(read.ReadFromFile(path, 1, &error)) << error;
  int cells = 0;
  for (CZuObject* obj : read.GetActiveMap()->GetLayer(0)->GetObjectList())
    if (auto* cell = dynamic_cast<CZuObjectCell*>(obj)) {
      ++cells;
      EXPECT_EQ(cell->GetRows(), 7);
      if (cell->GetMapRect() == upper->GetMapRect()) {
        EXPECT_EQ(cell->GetCellText(0, 0), Gbk("井号"));
      }
    }
  EXPECT_EQ(cells, 4);
  // ... and the well takes them back: the same sheets, managed and drawn by
  // it (the lower tables only with a lower head), at the same places.
  CWpWell* again = nullptr;
  for (CZuObject* obj : read.GetActiveMap()->GetLayer(0)->GetObjectList())
    if (auto* w = dynamic_cast<CWpWell*>(obj)) again = w;
  ASSERT_NE(again, nullptr);
  ASSERT_EQ(again->SheetsCount(), 2);
  for (int i = 0; i < 2; ++i) {
    const WellSheet* mine = well->GetSheet(i);
    const WellSheet* theirs = again->GetSheet(i);
    ASSERT_NE(theirs->upper, nullptr);
    ASSERT_NE(theirs->lower, nullptr);
    EXPECT_EQ(theirs->upper->GetManager(), again);
    EXPECT_EQ(theirs->lower->GetManager(), again);
    EXPECT_EQ(theirs->upper->GetMapRect(), mine->upper->GetMapRect()) << "sheet " << i;
    EXPECT_EQ(theirs->lower->GetMapRect(), mine->lower->GetMapRect()) << "sheet " << i;
  }
  EXPECT_DOUBLE_EQ(again->MapNode(4).y, well->MapNode(4).y);

  const std::size_t objects = layer->GetObjectList().size();
  well->DelSheet(first);
  EXPECT_EQ(well->SheetsCount(), 1);
  EXPECT_EQ(layer->GetObjectList().size(), objects - 2);
  well->ClearSheets();
  EXPECT_EQ(layer->GetObjectList().size(), objects - 4);
  well->BuildControlNodePointArray();
  EXPECT_DOUBLE_EQ(well->MapNode(4).y, client_top + well->GetTitleHeight());
}

TEST_F(WellLayout, SymbolTemplates) {
  CTemplateManagerFacade* templates = CTemplateManagerFacade::Instance();
  CGeneralTemplate style("well kinds", kTemplatePointStyle, Gbk("井位.井别"));
  style.AddEntry(Gbk("油井"), kPointCircle);
  style.AddEntry("2", kPointStar);
  templates->RegisterTemplate(style);
  const struct {
    const char* value;
    bool found;
    double result;
  } cases[] = {{"油井", true, kPointCircle}, {" 2.0 ", true, kPointStar}, {"3", false, 0}};
  const CGeneralTemplate* t = templates->GetGeneralTemplate("well kinds", kTemplatePointStyle);
  ASSERT_NE(t, nullptr);
  EXPECT_EQ(t->GetFieldName(), Gbk("井别"));
  for (const auto& tc : cases) {
    double r = 0;
    EXPECT_EQ(t->Map(Gbk(tc.value), &r), tc.found) << tc.value;
    if (tc.found) {
      EXPECT_DOUBLE_EQ(r, tc.result) << tc.value;
    }
  }
  EXPECT_EQ(templates->GetGeneralTemplate("well kinds", kTemplateSize), nullptr);

  // A name whose template the host lacks is cleared; a known one stays.
  well->SetPointStyleTemplate("well kinds");
  well->SetSizeTemplate("well kinds");  // no size template of that name
  well->SetBorderColorTemplate("gone");
  const ZULOGPOINT symbol = well->GetTypePoint();
  well->UpdateTemplate();
  EXPECT_EQ(well->GetPointStyleTemplate(), "well kinds");
  EXPECT_EQ(well->GetSizeTemplate(), "");
  EXPECT_EQ(well->GetBorderColorTemplate(), "");
  // No well position value to map yet: the symbol keeps its style.
  EXPECT_EQ(well->GetTypePoint(), symbol);
  templates->RemoveTemplate("well kinds", kTemplatePointStyle);
}

}  // namespace
}  // namespace davodu::testing
