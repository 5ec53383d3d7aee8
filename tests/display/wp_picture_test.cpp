// The picture kit: blocks made, moved and resized with the mouse, their
// proportions, the menu, what is drawn, records (the pictures travel with
// the document) and map pictures, also of a document that shows itself.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <string>
#include <vector>

#include "davodu/display/wp_picture.h"
#include "support/cli.h"
#include "support/kit_fixture.h"
#include "support/pictures.h"
#include "support/records.h"

namespace davodu::testing {
namespace {

constexpr unsigned kLeft = 1;  // the left button is held

class Picture : public KitTest {
 protected:
  // A picture column 2000 wide over 1000 to 1100 m at 100 map units a metre
  // (draw units are map units): 1 m is 100 units down from y = 0.
  Picture() : view(&doc, &dc) {
    previous_ = AfxSetDialogs(&dialogs);
    dir = ScratchDir("picture");
    jpeg = dir + "/core.jpg";
    WriteFile(jpeg, MakePicture("jpeg", 400, 300, [](int x, int) { return x < 200 ? RGB(200, 0, 0) : RGB(0, 0, 200); }));
    picture = MakeRoot<CWpPicture>("CWpPicture");
    SetUp(picture);
  }
  ~Picture() override { AfxSetDialogs(previous_); }

  static void SetUp(CWpPicture* p) {
    p->SetTopDepth(1000);
    p->SetBottomDepth(1100);
    p->SetDepScl(100);
    p->SetWidth(2000);
    p->SetPosition(FLOATPOINT{0, 0});
    p->BuildControlNodePointArray();
  }

  static CPoint At(double depth, int x = 1000) { return CPoint{x, -static_cast<int>(std::lround((depth - 1000) * 100))}; }

  void Drag(double from, double to, int x = 1000) {
    view.LButtonDown(At(from, x));
    view.MouseMove(At(from, x), kLeft);
    view.MouseMove(At((from + to) / 2, x), kLeft);
    view.MouseMove(At(to, x), kLeft);
    view.LButtonUp(At(to, x));
  }
  void Click(double depth, int x = 1000) {
    view.LButtonDown(At(depth, x));
    view.LButtonUp(At(depth, x));
  }

  // "[top, bottom] width" of every block, top down.
  std::string Blocks() const {
    std::string out;
    char buf[96];
    for (const auto& s : picture->GetSegList()) {
      std::snprintf(buf, sizeof buf, "[%.2f, %.2f] %.0f", s->top_depth, s->bottom_depth, s->GetWidth());
      out += (out.empty() ? "" : " ") + std::string(buf);
    }
    return out;
  }

  ScriptedDialogs dialogs;
  RecordingDC dc;
  ChartView view;
  std::string dir, jpeg;
  CWpPicture* picture = nullptr;

 private:
  HostDialogs* previous_ = nullptr;
};

TEST_F(Picture, DefaultsOfANewKit) {
  EXPECT_EQ(picture->GetClassName(), "CWpPicture");
  EXPECT_EQ(picture->GetTitleText(), Gbk("图片"));
  EXPECT_EQ(picture->GetWpKitType(), WPKIT_PICTURE);
  EXPECT_EQ(picture->GetType(), 0);
  picture->SetType(1);
  EXPECT_EQ(picture->GetTitleText(), Gbk("图形"));
}

TEST_F(Picture, ADragAsksForAPictureAndTheBlockTakesItsProportions) {
  // Cancelled: nothing is made.
  Drag(1010, 1030);
  EXPECT_EQ(Blocks(), "");
  // A 400 x 300 picture in a dragged block 2000 wide and 2000 tall keeps
  // the width: 1500 tall, locked.
  dialogs.file_answers.push_back(jpeg);
  Drag(1010, 1030);
  EXPECT_EQ(Blocks(), "[1010.00, 1025.00] 2000");
  EXPECT_TRUE(picture->GetSegList().front()->IsScaleLock());
  EXPECT_EQ(picture->GetSegList().front()->GetBitmap().GetWidth(), 400);
  // The second block is made below it; one over it is refused.
  dialogs.file_answers.push_back(jpeg);
  Drag(1020, 1040);
  EXPECT_EQ(Blocks(), "[1010.00, 1025.00] 2000");
  dialogs.file_answers.push_back(jpeg);
  Drag(1050, 1052.5);
  EXPECT_EQ(Blocks(), "[1010.00, 1025.00] 2000 [1050.00, 1052.50] 333");
}

TEST_F(Picture, ResetScaleFitsThePictureAndNeverDividesByZero) {
  CgPicSegment* seg = picture->AddSegment("", 0, -100, 0, 100, false, CDIB());
  // No picture: no proportions, nothing changes.
  seg->ResetScale();
  EXPECT_EQ(seg->GetHeight(), 100);
  EXPECT_FALSE(seg->IsScaleLock());
  // A 400 x 300 bitmap in a block 100 x 100: width 100, height 75, top kept.
  ASSERT_TRUE(seg->SetPicture(jpeg));
  EXPECT_DOUBLE_EQ(seg->GetWidth(), 100);
  EXPECT_DOUBLE_EQ(seg->GetHeight(), 75);
  EXPECT_DOUBLE_EQ(seg->top_y, 0);
  EXPECT_TRUE(seg->IsScaleLock());
  // A block without width has no scale either.
  seg->right = seg->left;
  EXPECT_EQ(seg->GetScale(), 0);
  seg->ResetScale();
  EXPECT_DOUBLE_EQ(seg->GetHeight(), 75);
}

TEST_F(Picture, TheFirstPressActivatesThenItMovesWithinItsNeighbours) {
  picture->AddSegmentAtDepth(Gbk("").c_str(), 1010, 1020, false);
  picture->AddSegmentAtDepth("", 1040, 1050, false);
  picture->BuildControlNodePointArray();
  Click(1015);
  EXPECT_EQ(picture->GetPickMode(), SPM_ACTIVATED);
  ASSERT_EQ(picture->GetActiveSeg(), picture->GetSegList().front()->number);
  // Dragged by its middle onto the block below, it stops at its top.
  Drag(1016, 1045);
  EXPECT_EQ(Blocks(), "[1030.00, 1040.00] 2000 [1040.00, 1050.00] 2000");
  // Its right edge handle narrows it.
  Drag(1035, 1035, 2000);
  view.LButtonDown(At(1035, 1999));
  view.MouseMove(At(1035, 1999), kLeft);
  view.MouseMove(At(1035, 1500), kLeft);
  view.LButtonUp(At(1035, 1500));
  EXPECT_NEAR(picture->GetSegList().front()->GetWidth(), 1501, 2);
}

TEST_F(Picture, TheMenuOffersWhatFitsThePoint) {
  picture->AddSegmentAtDepth("", 1010, 1020, false);
  picture->BuildControlNodePointArray();
  layer->SetSelectedObject(picture);
  auto has = [](const std::vector<MenuItem>& menu, unsigned id) {
    for (const MenuItem& item : menu)
      if (item.id == id) return true;
    return false;
  };
  std::vector<MenuItem> menu = view.RightClick(At(1060));
  EXPECT_TRUE(has(menu, CWpPicture::kCmdAddBlock));
  Click(1015);
  menu = view.RightClick(At(1015));
  EXPECT_TRUE(has(menu, CWpPicture::kCmdDeleteBlock));
  EXPECT_TRUE(has(menu, CWpPicture::kCmdReplace));
  EXPECT_TRUE(has(menu, CWpPicture::kCmdOwnScale));
  EXPECT_TRUE(has(menu, CWpPicture::kCmdLock));
  view.Command(CWpPicture::kCmdLock);
  EXPECT_TRUE(picture->GetSegList().front()->IsScaleLock());
  menu = view.RightClick(At(1015));
  view.Command(CWpPicture::kCmdDeleteBlock);
  EXPECT_EQ(Blocks(), "");
  // "添加" fills the free gap around the point, at most 30 handle widths.
  dialogs.file_answers.push_back(jpeg);
  view.RightClick(At(1060));
  view.Command(CWpPicture::kCmdAddBlock);
  ASSERT_EQ(picture->GetSegCount(), 1);
  const double gap = 30.0 * AfxGetNodeRectWidth() / 100;
  EXPECT_NEAR(picture->GetSegList().front()->top_depth, 1000, 0.01);
  EXPECT_LE(picture->GetSegList().front()->bottom_depth, 1000 + gap + 0.01);
}

TEST_F(Picture, BlocksDrawTheirPicturesInsideTheColumn) {
  ASSERT_TRUE(picture->AddSegmentAtDepth(Utf8ToGbk(jpeg), 1010, 1030, false));
  ASSERT_TRUE(picture->AddSegmentAtDepth(Utf8ToGbk(jpeg), 1090, 1120, false));  // beyond the range
  picture->BuildControlNodePointArray();
  picture->Draw(&dc, nullptr, nullptr, nullptr);
  const std::vector<DrawOp> images = dc.OpsOf(DrawOp::kImage);
  ASSERT_EQ(images.size(), 2u);
  EXPECT_EQ(images[0].points[0], (CPoint{0, -1000}));
  EXPECT_EQ(images[0].points[1], (CPoint{2000, -3000}));
  // The one reaching beyond the range is clipped to the body.
  bool clipped = false;
  for (const DrawOp& op : dc.OpsOf(DrawOp::kClipRect))
    clipped = clipped || (op.points[1].y == -10000 && op.points[0].y == 0);
  EXPECT_TRUE(clipped);
}

TEST_F(Picture, ADocumentKeepsItsPicturesWhenTheFilesAreGone) {
  ASSERT_TRUE(picture->AddSegmentAtDepth(Utf8ToGbk(jpeg), 1010, 1030, true));
  picture->BuildControlNodePointArray();
  const std::string bytes = ReadFile(jpeg);
  const std::string path = dir + "/chart.wpd";
  ASSERT_TRUE(doc.SaveToFile(path));
  std::remove(jpeg.c_str());

  CZuMapFile copy;
  std::string error;
  ASSERT_TRUE(copy.ReadFromFile(path, 1, &error)) << error;
  auto* read = dynamic_cast<CWpPicture*>(copy.GetActiveMap()->GetLayer(0)->GetObjectList().front());
  ASSERT_NE(read, nullptr);
  ASSERT_EQ(read->GetSegCount(), 1);
  const CgPicSegment& s = *read->GetSegList().front();
  EXPECT_EQ(std::string(reinterpret_cast<const char*>(s.GetBitmap().GetTotalBuf()),
                        s.GetBitmap().GetTotalBufLength()),
            bytes);
  EXPECT_TRUE(s.IsScaleLock());
  EXPECT_FLOAT_EQ(s.top_depth, 1010);
  EXPECT_NEAR(s.bottom_depth, 1025, 0.01);  // fitted to 4:3 when it was made
  // Written again, the document is the same record for record.
  const std::string again = dir + "/again.wpd";
  ASSERT_TRUE(copy.SaveToFile(again));
  EXPECT_EQ(DumpRecords(ReadFile(again)), DumpRecords(ReadFile(path)));
}

TEST_F(Picture, WithoutItsStoredPictureABlockReadsItsFile) {
  ASSERT_TRUE(picture->AddSegmentAtDepth(Utf8ToGbk(jpeg), 1010, 1030, false));
  picture->BuildControlNodePointArray();
  const std::string path = dir + "/chart.wpd";
  ASSERT_TRUE(doc.SaveToFile(path));
  // The same document without its 117 record.
  CZuMFile in, out;
  ASSERT_TRUE(in.OpenRead(ReadFile(path)));
  out.OpenWrite();
  while (in.ReadNextRecord())
    if (in.GetRecordNumber() != 117) CopyRecord(in, &out);
  ASSERT_TRUE(out.SaveAs(dir + "/stripped.wpd"));
  for (bool file_there : {true, false}) {
    if (!file_there) std::remove(jpeg.c_str());
    CZuMapFile copy;
    ASSERT_TRUE(copy.ReadFromFile(dir + "/stripped.wpd"));
    auto* read = dynamic_cast<CWpPicture*>(copy.GetActiveMap()->GetLayer(0)->GetObjectList().front());
    ASSERT_EQ(read->GetSegCount(), 1);
    EXPECT_EQ(read->GetSegList().front()->GetBitmap().IsEmpty(), !file_there);
    // Its stored size stays, the picture's proportions do not reshape it.
    EXPECT_FLOAT_EQ(read->GetSegList().front()->bottom_depth, 1030);
  }
  EXPECT_EQ(dialogs.messages.size(), 1u);  // the block whose file is gone
}

TEST_F(Picture, AMapPictureDrawsItsDocumentAndOneThatShowsItselfStaysEmpty) {
  // Document B: a picture column of its own with the photograph.
  {
    CZuMapFile b;
    CZuLayer* l = b.GetActiveMap()->AddLayer("b");
    auto* inner = dynamic_cast<CWpPicture*>(AfxGetObjectFactory()->CreateObject("CWpPicture"));
    l->AddObject(inner);
    SetUp(inner);
    ASSERT_TRUE(inner->AddSegmentAtDepth(Utf8ToGbk(jpeg), 1000, 1100, false));
    inner->BuildControlNodePointArray();
    ASSERT_TRUE(b.SaveToFile(dir + "/b.wpd"));
  }
  picture->SetType(1);
  ASSERT_TRUE(picture->AddSegmentAtDepth(Utf8ToGbk(dir + "/b.wpd"), 1010, 1030, false));
  // A map picture of the document itself.
  ASSERT_TRUE(picture->AddSegmentAtDepth(Utf8ToGbk(dir + "/self.wpd"), 1040, 1050, false));
  picture->BuildControlNodePointArray();
  ASSERT_TRUE(doc.SaveToFile(dir + "/self.wpd"));

  CZuMapFile copy;
  std::string error;
  ASSERT_TRUE(copy.ReadFromFile(dir + "/self.wpd", 1, &error)) << error;
  auto* read = dynamic_cast<CWpPicture*>(copy.GetActiveMap()->GetLayer(0)->GetObjectList().front());
  ASSERT_EQ(read->GetSegCount(), 2);
  EXPECT_NE(read->GetSegList()[0]->GetMapDocument()->GetActiveMap(), nullptr);
  EXPECT_EQ(read->GetSegList()[1]->GetMapDocument()->GetActiveMap(), nullptr);
  ASSERT_EQ(dialogs.messages.size(), 1u);
  EXPECT_NE(GbkToUtf8(dialogs.messages[0]).find("refers to itself"), std::string::npos);

  // B's photograph is drawn inside the block, clipped to it.
  SetUp(read);
  RecordingDC out;
  read->Draw(&out, nullptr, nullptr, nullptr);
  EXPECT_EQ(out.OpsOf(DrawOp::kImage).size(), 1u);
  bool clipped = false;
  for (const DrawOp& op : out.OpsOf(DrawOp::kClipRect))
    clipped = clipped || (op.points[0] == CPoint{0, -1000} && op.points[1] == CPoint{2000, -3000});
  EXPECT_TRUE(clipped);
}

}  // namespace
}  // namespace davodu::testing
