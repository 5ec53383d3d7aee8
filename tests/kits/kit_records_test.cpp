#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "davodu/host/records/record_numbers.h"
#include "support/kit_fixture.h"
#include "support/records.h"

namespace davodu::testing {
namespace {

using KitRecords = KitTest;

// Reads a kit tree written by SaveToFile: the caller reads record 60 and
// creates the kit, as a parent or the document does.
CWpKit* ReadTree(const std::string& data, CZuLayer* layer) {
  CZuMFile in;
  if (!in.OpenRead(data) || !in.ReadNextRecord()) return nullptr;
  std::string class_name;
  in.GetRecordElement(0, class_name);
  auto* kit = dynamic_cast<CWpKit*>(AfxGetObjectFactory()->CreateObject(class_name));
  if (!kit) return nullptr;
  kit->SetLayer(layer);
  if (!kit->ReadFromFile(&in)) {
    AfxGetObjectFactory()->DeleteObject(kit);
    return nullptr;
  }
  return kit;
}

std::string Save(CWpKit* kit) {
  CZuMFile out;
  out.OpenWrite();
  kit->SaveToFile(&out);
  return out.GetData();
}

TEST_F(KitRecords, AChildlessKitWritesItsBaseSectionInOrder) {
  CWpKit kit(layer);
  kit.GetPropertyManager().Set("colour", "red");
  kit.GetSegments().push_back({"outline", {{0, 0}, {1, 1}}});
  EXPECT_EQ(RecordNumbers(Save(&kit)), (std::vector<int>{60, 100, 129, 143, 118, 123, 131, 153, 80}));
}

TEST_F(KitRecords, ATreeReadsBackWithItsSettings) {
  auto* well = MakeRoot<CWpWell>("CWpWell");
  auto* track = Make<CWpKit>("CWpTrack");
  auto* stratum = Make<CWpKit>("CWpStratum");
  well->AddChild(track);
  track->AddChild(stratum);
  well->SetName(Gbk("濮1-2井"));
  well->SetPosition(FLOATPOINT{1234.5, -678.25}, 1);
  well->SetBottomDepth(1750);
  well->SetAutoDepth(1);
  track->SetTitleText(Gbk("岩性"));
  track->SetBorderMode(4);
  ZULOGPEN pen = stratum->GetBorderPen();
  pen.color = RGB(1, 2, 3);
  stratum->SetBorderPen(&pen);
  stratum->SetHeadAlign(1);
  // Laid out as the program saves it: reading lays the chart out again.
  well->Update();

  const std::string data = Save(well);
  CWpKit* copy = ReadTree(data, layer);
  ASSERT_NE(copy, nullptr);
  EXPECT_EQ(copy->GetName(), Gbk("濮1-2井"));
  EXPECT_EQ(copy->GetPosition(), (FLOATPOINT{1234.5, -678.25}));
  EXPECT_FLOAT_EQ(copy->GetBottomDepth(), 1750);
  EXPECT_EQ(copy->GetAutoDepth(), 0);  // never restored
  ASSERT_EQ(copy->ChildrenCount(), 1);
  CWpKit* track2 = copy->GetChild(0);
  EXPECT_EQ(track2->GetClassName(), "CWpTrack");
  EXPECT_EQ(track2->GetTitleText(), Gbk("岩性"));
  EXPECT_EQ(track2->GetBorderMode(), 4);
  ASSERT_EQ(track2->ChildrenCount(), 1);
  EXPECT_EQ(track2->GetChild(0)->GetBorderPen(), pen);
  EXPECT_EQ(track2->GetChild(0)->GetHeadAlign(), 1);
  EXPECT_EQ(track2->GetChild(0)->GetParent(), track2);
  // Written again, the tree gives the same records, auto depth aside.
  well->SetAutoDepth(0);
  EXPECT_EQ(DumpRecords(Save(copy)), DumpRecords(Save(well)));
  AfxGetObjectFactory()->DeleteObject(copy);
}

TEST_F(KitRecords, AShortKitRecordKeepsDefaults) {
  CZuMFile out;
  out.OpenWrite();
  out.SetRecordNumber(kRecTagged);
  out.AddRecordElement("kit");  // tags compare without case
  FLOATPOINT anchor[2] = {{10, 20}, {0, 0}};
  out.AddRecordElement(anchor, 20);
  for (float f : {2000.f, 700.f, 900.f, 1100.f, 1900.f, 150.f, 0.f, 0.f}) out.AddRecordElement(f);
  out.AddRecordElement(0);
  out.AddRecordElement(1);
  out.AddRecordElement("T");
  ZULOGFONT font;
  out.AddRecordElement(&font, sizeof font);
  out.AddRecordElement(1);
  out.AddRecordElement(-1);
  for (int i = 0; i < 10; ++i) out.AddRecordElement(i % 2);
  ZULOGPEN pen;
  pen.width = 77;
  out.AddRecordElement(&pen, sizeof pen);  // 27 elements in all
  out.WriteNextRecord();
  out.SetRecordNumber(kRecEnd);
  out.WriteNextRecord();

  CZuMFile in;
  ASSERT_TRUE(in.OpenRead(out.GetData()));
  CWpKit kit(layer);
  kit.SetHeadAlign(1);
  ASSERT_EQ(kit.ReadFromFile(&in), 1);
  EXPECT_FLOAT_EQ(kit.GetWidth(), 2000);
  EXPECT_FLOAT_EQ(kit.GetDepScl(), 150);
  EXPECT_EQ(kit.GetPosition(), (FLOATPOINT{10, 20}));
  EXPECT_EQ(kit.GetBorderVisible(1), 1);
  EXPECT_FLOAT_EQ(kit.GetBorderPen().width, 77);
  EXPECT_EQ(kit.GetHeadAlign(), 1);  // not in the record: unchanged
  EXPECT_EQ(kit.GetClientBrush(), CWpKit(nullptr).GetClientBrush());
  EXPECT_EQ(kit.GetClientFillStyleSet(), "");
}

TEST_F(KitRecords, DataEndingInsideAChildFailsTheRead) {
  auto* well = MakeRoot<CWpWell>("CWpWell");
  well->AddChild(Make<CWpKit>("CWpTrack"));
  const std::string data = Save(well);
  const std::vector<int> numbers = RecordNumbers(data);
  const int total = static_cast<int>(numbers.size());
  ASSERT_GT(total, 14);  // the well's and the track's base sections at least
  // Every cut before the last record fails; the whole file reads.
  for (int keep = 1; keep < total; ++keep)
    EXPECT_EQ(ReadTree(FirstRecords(data, keep), layer), nullptr) << keep;
  CWpKit* whole = ReadTree(FirstRecords(data, total), layer);
  ASSERT_NE(whole, nullptr);
  AfxGetObjectFactory()->DeleteObject(whole);
}

TEST_F(KitRecords, AKitOfAnUnknownClassIsSkippedWhole) {
  // A well holding: an unknown kit (with a child of its own and a section of
  // its class), then a track.
  CZuMFile out;
  out.OpenWrite();
  auto rec = [&](unsigned short n, std::initializer_list<const char*> texts) { WriteTexts(&out, n, texts); };
  rec(kRecName, {"W1"});
  rec(kRecKitStart, {"CWpFromTheFuture"});
  rec(kRecName, {"future"});
  rec(kRecKitStart, {"CWpTrack"});  // nested inside the unknown kit
  rec(kRecName, {"inner"});
  rec(kRecEnd, {});
  rec(kRecEnd, {});                  // the unknown kit's base section
  rec(kRecTagged, {"Future", "x"});
  rec(kRecTagged, {"More", "y"});
  rec(kRecEnd, {});                  // its own section
  CWpTrack kept(layer);
  kept.SetName("kept");
  kept.SaveToFile(&out);
  rec(kRecEnd, {});                  // the well's base section
  rec(kRecEnd, {});                  // the well's own section

  CZuMFile in;
  ASSERT_TRUE(in.OpenRead(out.GetData()));
  CWpWell well(layer);
  ASSERT_EQ(well.ReadFromFile(&in), 1);
  EXPECT_EQ(well.GetName(), "W1");
  ASSERT_EQ(well.ChildrenCount(), 1);
  EXPECT_EQ(well.GetChild(0)->GetName(), "kept");
}

TEST_F(KitRecords, SectionsOpenedByOtherRecordsAndHoldingObjectsAreSkippedWhole) {
  // An unknown kit whose class sections open with a 174 and a 117, and one
  // of which holds a whole object (its own 80s inside), then a track.
  CZuMFile out;
  out.OpenWrite();
  auto rec = [&](unsigned short n, std::initializer_list<const char*> texts) { WriteTexts(&out, n, texts); };
  rec(kRecName, {"W1"});
  rec(kRecKitStart, {"CWpFromTheFuture"});
  rec(kRecName, {"future"});
  rec(kRecEnd, {});                  // base section
  rec(174, {"flags"});
  rec(kRecTagged, {"Data", "x"});
  rec(kRecEnd, {});                  // a section opened by 174
  rec(117, {"bytes"});
  rec(kRecTagged, {"before the object"});
  rec(kRecKitStart, {"CWpTrack"});   // an object ending the section
  rec(kRecName, {"inner"});
  rec(kRecEnd, {});
  rec(kRecTagged, {"Inner section"});
  rec(kRecEnd, {});
  rec(kRecEnd, {});                  // the section opened by 117
  CWpTrack kept(layer);
  kept.SetName("kept");
  kept.SaveToFile(&out);
  rec(kRecEnd, {});                  // the well's base section
  rec(kRecEnd, {});                  // the well's own section

  CZuMFile in;
  ASSERT_TRUE(in.OpenRead(out.GetData()));
  CWpWell well(layer);
  ASSERT_EQ(well.ReadFromFile(&in), 1);
  ASSERT_EQ(well.ChildrenCount(), 1);
  EXPECT_EQ(well.GetChild(0)->GetName(), "kept");
}

TEST_F(KitRecords, AContentKeepsItsPenAndGroup) {
  auto* content = Make<CWpContent>("CWpStratum");
  ZULOGPEN pen;
  pen.color = RGB(9, 8, 7);
  pen.width = 55;
  content->SetPen(&pen);
  content->SetGroup(3);
  const std::string data = Save(content);
  const std::vector<int> numbers = RecordNumbers(data);
  // The base section, then the content section: 153 "Cnt" and 80.
  ASSERT_GE(numbers.size(), 3u);
  EXPECT_EQ(numbers[numbers.size() - 2], kRecTagged);
  auto* copy = dynamic_cast<CWpContent*>(ReadTree(data, layer));
  ASSERT_NE(copy, nullptr);
  EXPECT_EQ(copy->GetPen(), pen);
  EXPECT_EQ(copy->GetGroup(), 3);
  AfxGetObjectFactory()->DeleteObject(copy);
  AfxGetObjectFactory()->DeleteObject(content);
}

}  // namespace
}  // namespace davodu::testing
