// The text kit: blocks made, moved, resized, edited and deleted with the
// mouse through a view; what is drawn; records, copies and the export.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <string>
#include <vector>

#include "davodu/display/wp_text.h"
#include "support/cli.h"
#include "support/kit_fixture.h"
#include "support/records.h"

namespace davodu::testing {
namespace {

constexpr unsigned kLeft = 1;     // the left button is held
constexpr unsigned kControl = 8;  // the Ctrl key is held

class Text : public KitTest {
 protected:
  // A free text column 2000 wide over 1000 to 1100 m at 100 map units a
  // metre (draw units are map units here): 1 m is 100 units down from y = 0.
  Text() : view(&doc, &dc) {
    text = MakeRoot<CWpText>("CWpText");
    text->SetTopDepth(1000);
    text->SetBottomDepth(1100);
    text->SetDepScl(100);
    text->SetWidth(2000);
    text->SetPosition(FLOATPOINT{0, 0});
    text->BuildControlNodePointArray();
  }

  static CPoint At(double depth, int x = 1000) { return CPoint{x, -static_cast<int>((depth - 1000) * 100)}; }

  // A drag with the left button from one depth to another.
  void Drag(double from, double to, unsigned flags = 0, int x = 1000) {
    view.LButtonDown(At(from, x), flags);
    view.MouseMove(At(from, x), kLeft | flags);
    view.MouseMove(At((from + to) / 2, x), kLeft | flags);
    view.MouseMove(At(to, x), kLeft | flags);
    view.LButtonUp(At(to, x), flags);
  }
  void Click(double depth) {
    view.LButtonDown(At(depth));
    view.LButtonUp(At(depth));
  }

  // "[top, bottom] text" of every block, top down.
  std::string Blocks() const {
    std::string out;
    char buf[64];
    for (const auto& s : text->GetSegList()) {
      std::snprintf(buf, sizeof buf, "[%.2f, %.2f]", s->top_depth, s->bottom_depth);
      out += (out.empty() ? "" : " ") + std::string(buf) + s->text;
    }
    return out;
  }

  RecordingDC dc;
  ChartView view;
  CWpText* text = nullptr;
};

TEST_F(Text, DefaultsOfANewKit) {
  EXPECT_EQ(text->GetClassName(), "CWpText");
  EXPECT_EQ(text->GetTitleText(), Gbk("文本"));
  EXPECT_EQ(text->GetWpKitType(), WPKIT_TEXT);
  EXPECT_EQ(text->GetTextAlignH(), Gbk("左对齐"));
  EXPECT_EQ(text->GetTextAlignV(), Gbk("顶对齐"));
  EXPECT_TRUE(text->IsTransparent());
  EXPECT_EQ(text->GetTextFont().height, 300);
  EXPECT_EQ(text->GetTextBoundaryPen().width, 20);
  EXPECT_EQ(text->GetActiveSeg(), -1);
  EXPECT_NE(text->GetEditPtr(), nullptr);
}

TEST_F(Text, DraggingInTheBodyCreatesABlock) {
  struct Case {
    const char* what;
    double from, to;
    unsigned flags;
    const char* blocks;
  };
  const Case cases[] = {
      {"a drag down makes a block", 1010, 1020, 0, "[1010.00, 1020.00]"},
      {"a drag up spans the same interval", 1030, 1025, 0, "[1010.00, 1020.00] [1025.00, 1030.00]"},
      {"shorter than two handles makes none", 1050, 1050.1, 0, "[1010.00, 1020.00] [1025.00, 1030.00]"},
      {"one over a block makes none", 1015, 1040, 0, "[1010.00, 1020.00] [1025.00, 1030.00]"},
      {"with Ctrl the block starts at the bottom of the one above", 1040, 1045, kControl,
       "[1010.00, 1020.00] [1025.00, 1030.00] [1030.00, 1045.00]"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    Drag(c.from, c.to, c.flags);
    EXPECT_EQ(Blocks(), c.blocks);
  }
  // The last block made is the active one; none is being edited.
  EXPECT_EQ(text->GetActiveSeg(), text->GetSegList().back()->number);
  for (const auto& s : text->GetSegList()) EXPECT_FALSE(s->editing);
}

TEST_F(Text, TheActiveBlockMovesAndResizesWithinItsNeighbours) {
  Drag(1010, 1020);
  Drag(1030, 1040);
  Click(1015);  // makes the first block the active one
  ASSERT_EQ(text->GetActiveSeg(), text->GetSegList().front()->number);

  // Dragged by its middle onto the block below, it stops at its top.
  Drag(1015, 1030);
  EXPECT_EQ(Blocks(), "[1020.00, 1030.00] [1030.00, 1040.00]");

  // Its top handle moves the top by 98 % of each step, and never closer to
  // the bottom than a handle's width.
  Drag(1020, 1025);
  EXPECT_NEAR(text->GetActiveSegTopDepth(), 1020 + 0.98 * 5, 0.01);
  Drag(1024.9, 1060);
  const double r = AfxGetNodeRectWidth() / 100.0;  // in metres
  EXPECT_GE(text->GetActiveSegBotDepth() - text->GetActiveSegTopDepth(), r - 1e-3);
  EXPECT_LT(text->GetActiveSegBotDepth() - text->GetActiveSegTopDepth(), 0.3);
  EXPECT_EQ(text->GetActiveSegBotDepth(), 1030);
}

TEST_F(Text, DoubleClicksActivateThenEditAndTypedTextIsKept) {
  Drag(1010, 1020);
  Drag(1030, 1040);
  ASSERT_EQ(text->GetActiveSeg(), text->GetSegList().back()->number);
  CgTextSegment* first = text->GetSegList().front().get();

  // The first block is not active: a double click only activates it.
  view.LButtonDblClk(At(1015));
  EXPECT_TRUE(first->active);
  EXPECT_FALSE(first->editing);
  EXPECT_FALSE(text->GetEditPtr()->IsEditing());

  // Now it is: the double click starts editing in the editor.
  view.LButtonDblClk(At(1015));
  EXPECT_TRUE(first->editing);
  ASSERT_TRUE(text->GetEditPtr()->IsEditing());
  EXPECT_EQ(text->GetEditPtr()->GetSegment(), first);
  text->GetEditPtr()->InsertText(Gbk("油层"));
  text->GetEditPtr()->InsertText("x");
  text->GetEditPtr()->Backspace();

  // A click inside the block being edited ends the edit and keeps the text.
  Click(1015);
  EXPECT_FALSE(first->editing);
  EXPECT_EQ(first->text, Gbk("油层"));

  // So does a click elsewhere.
  view.LButtonDblClk(At(1015));
  text->GetEditPtr()->InsertText(Gbk("\n高产"));
  Click(1060);
  EXPECT_EQ(first->text, Gbk("油层\n高产"));
  EXPECT_EQ(text->GetActiveSeg(), -1);
  EXPECT_TRUE(layer->GetSelectedObjects().empty() ||
              layer->GetSelectedObjects().front() != text->GetEditPtr());
}

TEST_F(Text, TheActiveBlockIsDeletedFromItsMenu) {
  Drag(1010, 1020);
  Drag(1030, 1040);
  // Not on the active block: the menu of a content.
  std::vector<MenuItem> menu = view.RightClick(At(1015));
  for (const MenuItem& m : menu) EXPECT_NE(m.id, CWpText::kCmdDeleteBlock);
  menu = view.RightClick(At(1035));
  ASSERT_EQ(menu.size(), 1u);
  EXPECT_EQ(menu[0].text, Gbk("删除该段"));
  view.Command(CWpText::kCmdDeleteBlock);
  EXPECT_EQ(Blocks(), "[1010.00, 1020.00]");
  EXPECT_EQ(text->GetActiveSeg(), -1);
}

TEST_F(Text, BlocksAreDrawnAtTheirDepthsBetweenTheirBoundaries) {
  ASSERT_TRUE(text->AddSegmentAtDepth(Gbk("油层"), 1010, 1020));
  ASSERT_TRUE(text->AddSegmentAtDepth(Gbk("水层\n含油"), 1095, 1120));  // beyond the bottom
  EXPECT_FALSE(text->AddSegmentAtDepth("x", 1015, 1030));  // overlaps
  text->SetTransparent(false);
  text->SetBackColor(RGB(250, 240, 200));
  text->SetTextAlignH(Gbk("居中"));
  text->BuildControlNodePointArray();
  RecordingDC file(false);
  text->Draw(&file, nullptr, nullptr, nullptr);

  std::vector<std::string> texts = file.Texts();
  for (const char* t : {"油层", "水层", "含油"})
    EXPECT_NE(std::find(texts.begin(), texts.end(), Gbk(t)), texts.end()) << t;
  // Each block: its background, its text inside it, its two boundary lines.
  int backgrounds = 0, boundaries = 0;
  for (const DrawOp& op : file.ops()) {
    if (op.kind == DrawOp::kPolygon && op.brush && op.brush->color == RGB(250, 240, 200)) ++backgrounds;
    if (op.kind == DrawOp::kPolyline && op.points.size() == 2 && op.points[0].y == op.points[1].y &&
        op.points[0].x == 0 && op.points[1].x == 2000 &&
        (op.points[0].y == At(1010).y || op.points[0].y == At(1020).y || op.points[0].y == At(1095).y))
      ++boundaries;
    if (op.kind == DrawOp::kText && op.text == Gbk("油层")) {
      ASSERT_FALSE(op.points.empty());
      EXPECT_LT(op.points[0].y, At(1010).y);
      EXPECT_GT(op.points[0].y, At(1020).y);
    }
  }
  EXPECT_EQ(backgrounds, 2);
  EXPECT_EQ(boundaries, 3);
  for (const DrawOp& op : file.OpsOf(DrawOp::kText)) {
    if (op.text != Gbk("油层")) continue;
    EXPECT_EQ(op.align_h, kAlignCenter);
  }
  // The block reaching beyond the range is drawn inside a clip to the body.
  bool body_clip = false;
  for (const DrawOp& op : file.OpsOf(DrawOp::kClipRect))
    body_clip = body_clip || (CRect{op.points[0].x, op.points[0].y, op.points[1].x, op.points[1].y}
                                  .Normalized() == text->BodyDraw().Normalized());
  EXPECT_TRUE(body_clip);
  // The handles of an active block are a view's marks only.
  int handles = 0;
  for (const DrawOp& op : file.ops()) handles += op.pen && op.pen->style == kPenMarkHandle;
  EXPECT_EQ(handles, 0);
}

CWpText* Reread(const std::string& data, CZuLayer* layer) {
  CZuMFile in;
  if (!in.OpenRead(data) || !in.ReadNextRecord()) return nullptr;
  auto* t = dynamic_cast<CWpText*>(AfxGetObjectFactory()->CreateObject("CWpText"));
  layer->AddObject(t);
  return t->ReadFromFile(&in) ? t : nullptr;
}

std::string Save(CWpText* t) {
  CZuMFile out;
  out.OpenWrite();
  t->SaveToFile(&out);
  return out.GetData();
}

TEST_F(Text, RecordsReadBackEveryBlockAndSetting) {
  ASSERT_TRUE(text->AddSegmentAtDepth(Gbk("TextBoundary"), 1010, 1020));  // a text like a tag
  ASSERT_TRUE(text->AddSegmentAtDepth(Gbk("油层\n高产"), 1030, 1040));
  text->SetTextAlignH(Gbk("右对齐"));
  text->SetTextAlignV(Gbk("居中"));
  text->SetTransparent(false);
  text->SetBackColor(RGB(1, 2, 3));
  ZULOGFONT font = text->GetTextFont();
  font.height = 450;
  text->SetTextFont(font);
  ZULOGPEN pen = text->GetTextBoundaryPen();
  pen.color = RGB(9, 9, 9);
  pen.width = 35;
  text->SetTextBoundaryPen(&pen);
  text->BuildControlNodePointArray();

  CWpText* back = Reread(Save(text), layer);
  ASSERT_NE(back, nullptr);
  back->SetPosition(FLOATPOINT{0, 0});
  back->BuildControlNodePointArray();
  ASSERT_EQ(back->GetSegCount(), 2);
  EXPECT_EQ(back->GetSegList()[0]->text, "TextBoundary");
  EXPECT_EQ(back->GetSegList()[1]->text, Gbk("油层\n高产"));
  EXPECT_EQ(back->GetSegList()[1]->top_depth, 1030);
  EXPECT_EQ(back->GetSegList()[1]->bottom_depth, 1040);
  EXPECT_EQ(back->GetTextAlignH(), Gbk("右对齐"));
  EXPECT_EQ(back->GetTextAlignV(), Gbk("居中"));
  EXPECT_FALSE(back->IsTransparent());
  EXPECT_EQ(back->GetBackColor(), RGB(1, 2, 3));
  EXPECT_EQ(back->GetTextFont(), font);
  EXPECT_EQ(back->GetTextBoundaryPen(), pen);
  EXPECT_EQ(DumpRecords(Save(back)), DumpRecords(Save(text)));
}

// A document of the older form: alignment without its tag, no pen record,
// blocks with their map Y only; its first block's text is the pen's tag.
TEST_F(Text, OlderRecordsReadBlocksByTheirPlace) {
  CZuMFile out;
  out.OpenWrite();
  text->CWpContent::SaveToFile(&out);
  ZULOGFONT font;
  font.height = 280;
  out.SetRecordNumber(kRecTagged);
  out.AddRecordElement(Gbk("居中"));
  out.AddRecordElement(false);
  out.AddRecordElement(&font, sizeof font);
  out.WriteNextRecord();
  for (const char* t : {"TextBoundary", "b"}) {
    out.SetRecordNumber(kRecTagged);
    out.AddRecordElement(t);
    out.AddRecordElement(t[0] == 'b' ? -3000.0f : -1000.0f);
    out.AddRecordElement(t[0] == 'b' ? -4000.0f : -2000.0f);
    out.WriteNextRecord();
  }
  out.SetRecordNumber(kRecEnd);
  out.WriteNextRecord();

  CWpText* back = Reread(out.GetData(), layer);
  ASSERT_NE(back, nullptr);
  EXPECT_EQ(back->GetTextAlignH(), Gbk("居中"));
  EXPECT_FALSE(back->IsTransparent());
  EXPECT_EQ(back->GetTextFont().height, 280);
  // Laid out again, the blocks take their depths from their stored places.
  back->SetPosition(FLOATPOINT{0, 0});
  back->BuildControlNodePointArray();
  ASSERT_EQ(back->GetSegCount(), 2);
  EXPECT_EQ(back->GetSegList()[0]->text, "TextBoundary");
  EXPECT_FLOAT_EQ(back->GetSegList()[0]->top_depth, 1010);
  EXPECT_FLOAT_EQ(back->GetSegList()[1]->bottom_depth, 1040);
}

TEST_F(Text, ACopyCarriesTheBlocks) {
  ASSERT_TRUE(text->AddSegmentAtDepth(Gbk("油层"), 1010, 1020));
  text->SetTextAlignH(Gbk("居中"));
  CZuObject* copy = nullptr;
  text->DuplicateObject(&copy, layer);
  auto* t = dynamic_cast<CWpText*>(copy);
  ASSERT_NE(t, nullptr);
  ASSERT_EQ(t->GetSegCount(), 1);
  EXPECT_EQ(t->GetSegList()[0]->text, Gbk("油层"));
  EXPECT_EQ(t->GetSegList()[0]->owner, t);
  EXPECT_EQ(t->GetTextAlignH(), Gbk("居中"));
  AfxGetObjectFactory()->DeleteObject(copy);
}

TEST_F(Text, ExportWritesOneLinePerBlock) {
  ScriptedDialogs dialogs;
  AfxSetDialogs(&dialogs);
  const std::string path = ScratchDir("text-export") + "/t.txt";
  dialogs.file_answers = {path};
  ASSERT_TRUE(text->AddSegmentAtDepth(Gbk("油层\n高产"), 1010.5, 1020));
  ASSERT_TRUE(text->AddSegmentAtDepth(Gbk("水层"), 1030, 1032.5));
  text->ExportContent();
  AfxSetDialogs(nullptr);
  ASSERT_EQ(dialogs.file_requests.size(), 1u);
  EXPECT_EQ(dialogs.file_requests[0].default_name, Gbk("井文本数据"));
  EXPECT_EQ(ReadFile(path), Gbk("顶深[m] 厚度[m] 文本\r\n1010.50     9.5 油层 高产\r\n1030.00     2.5 水层"));
}

}  // namespace
}  // namespace davodu::testing
