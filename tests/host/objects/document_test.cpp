#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "davodu/host/records/record_numbers.h"
#include "support/cli.h"
#include "support/files.h"
#include "support/memory.h"
#include "support/kit_fixture.h"
#include "support/records.h"

namespace davodu::testing {
namespace {

// A small chart document: a well with two tracks and a content.
class Document : public KitTest {
 protected:
  Document() {
    auto* well = MakeRoot<CWpWell>("CWpWell");
    well->SetName(Gbk("濮1-2井"));
    auto* t1 = Make<CWpKit>("CWpTrack");
    auto* t2 = Make<CWpKit>("CWpTrack");
    well->AddChild(t1);
    well->AddChild(t2);
    t2->AddChild(Make<CWpKit>("CWpStratum"));
    t1->SetTitleText(Gbk("深度"));
    // Laid out as the program saves it: reading lays the chart out again.
    well->Update();
    dir = ScratchDir("document");
  }

  std::string SaveDoc(const std::string& name) {
    const std::string path = dir + "/" + name;
    std::string error;
    EXPECT_TRUE(doc.SaveToFile(path, &error)) << error;
    return path;
  }

  std::string dir;
};

TEST_F(Document, SavesAndReadsBackTheSameRecords) {
  const std::string path = SaveDoc("a.wpd");
  CZuMapFile copy;
  std::string error;
  ASSERT_TRUE(copy.ReadFromFile(path, 1, &error)) << error;
  EXPECT_DOUBLE_EQ(copy.GetVersion(), CZuMapFile::kCurrentVersion);
  EXPECT_EQ(copy.GetVersionText(), "KESMap3.0");
  ASSERT_EQ(copy.GetActiveMap()->GetLayerCount(), 1);
  CZuLayer* layer2 = copy.GetActiveMap()->GetLayer(0);
  EXPECT_EQ(layer2->GetName(), "chart");
  ASSERT_EQ(layer2->GetObjectList().size(), 1u);
  auto* well = dynamic_cast<CWpWell*>(layer2->GetObjectList()[0]);
  ASSERT_NE(well, nullptr);
  EXPECT_EQ(well->GetName(), Gbk("濮1-2井"));
  EXPECT_EQ(well->GetLayer(), layer2);
  ASSERT_EQ(well->ChildrenCount(), 2);
  EXPECT_EQ(well->GetChild(1)->GetChild(0)->GetLayer(), layer2);

  const std::string again = dir + "/b.wpd";
  ASSERT_TRUE(copy.SaveToFile(again, &error)) << error;
  EXPECT_EQ(DumpRecords(ReadFile(again)), DumpRecords(ReadFile(path)));
}

TEST_F(Document, RefusesWhatIsNotADocument) {
  const struct {
    const char* name;
    std::string bytes;
    const char* says;
  } cases[] = {
      {"empty.wpd", "", "not a chart document"},
      {"text.wpd", "hello, world\n", "not a chart document"},
      {"records.wpd", FirstRecords(ReadFile(SaveDoc("x.wpd")), 0), "not a chart document"},
  };
  for (const auto& c : cases) {
    const std::string path = dir + "/" + c.name;
    std::ofstream(path, std::ios::binary) << c.bytes;
    CZuMapFile d;
    std::string error;
    EXPECT_FALSE(d.ReadFromFile(path, 1, &error)) << c.name;
    EXPECT_NE(error.find(path), std::string::npos) << error;
    EXPECT_NE(error.find(c.says), std::string::npos) << error;
    EXPECT_EQ(d.GetMapCount(), 0);
  }
  CZuMapFile d;
  std::string error;
  EXPECT_FALSE(d.ReadFromFile(dir + "/missing.wpd", 1, &error));
  EXPECT_NE(error.find("missing.wpd"), std::string::npos);
}

// A table object may claim up to 1000 × 1000 cells. A crafted document of
// a thousand such tables (about 110 KB) is read within a small memory bound:
// only the cells a document fills cost memory, and each of them is a record
// of the file.
TEST_F(Document, HugeTablesCostNoMoreThanTheirFilledCells) {
  CZuMFile out;
  out.OpenWrite();
  out.SetRecordNumber(1);
  out.AddRecordElement("DaVodu chart");
  out.AddRecordElement(CZuMapFile::kCurrentVersion);
  out.AddRecordElement(CZuMapFile::kCurrentVersionText);
  out.WriteNextRecord();
  WriteTexts(&out, 2, {"map"});
  WriteTexts(&out, 3, {"chart"});
  constexpr int kTables = 1000;
  for (int t = 0; t < kTables; ++t) {
    WriteTexts(&out, kRecKitStart, {"CZuObjectCell"});
    out.SetRecordNumber(kRecTagged);
    out.AddRecordElement("Cell");
    out.AddRecordElement(1000);
    out.AddRecordElement(1000);
    out.WriteNextRecord();
    out.SetRecordNumber(kRecTagged);
    out.AddRecordElement("CellText");
    out.AddRecordElement(999);
    out.AddRecordElement(999);
    out.AddRecordElement("x");
    out.WriteNextRecord();
    WriteTexts(&out, kRecEnd);
  }
  WriteTexts(&out, 4);
  WriteTexts(&out, 5);
  const std::string data = out.GetData();
  ASSERT_LT(data.size(), 120000u);

  CZuMapFile d;
  std::string error;
  const std::size_t before = HeapBytesInUse();
  ASSERT_TRUE(d.ReadFromData(data, "tables.wpd", &error)) << error;
  const std::size_t used = HeapBytesInUse() - before;
  EXPECT_LT(used, 20 * data.size()) << used << " bytes for a file of " << data.size();
  const auto& objects = d.GetActiveMap()->GetLayer(0)->GetObjectList();
  ASSERT_EQ(objects.size(), static_cast<std::size_t>(kTables));
  auto* last = dynamic_cast<CZuObjectCell*>(objects.back());
  ASSERT_NE(last, nullptr);
  EXPECT_EQ(last->GetRows(), 1000);
  EXPECT_EQ(last->GetColumns(), 1000);
  EXPECT_EQ(last->GetCellText(999, 999), "x");
  EXPECT_EQ(last->GetCellText(0, 0), "");
  // Shrinking the grid drops the texts outside it.
  last->SetRowsAndColumns(10, 10);
  EXPECT_EQ(last->GetCellText(999, 999), "");
  last->SetRowsAndColumns(1000, 1000);
  EXPECT_EQ(last->GetCellText(999, 999), "");
}

// Every truncation and every single-byte change either reads cleanly or is
// refused; none crashes (the suite runs under ASan and UBSan).
TEST_F(Document, DamagedFilesAreRefusedCleanly) {
  const std::string data = ReadFile(SaveDoc("sample.wpd"));
  ASSERT_GT(data.size(), 100u);
  int refused = 0;
  for (std::size_t n = 0; n < data.size(); ++n) {
    CZuMapFile d;
    std::string error;
    if (!d.ReadFromData(data.substr(0, n), "cut", &error)) ++refused;
  }
  EXPECT_EQ(refused, static_cast<int>(data.size()));  // the end record is always missing
  int read = 0;
  for (std::size_t i = 0; i < data.size(); ++i) {
    for (unsigned char x : {0xFF, 0x01, 0x80}) {
      std::string bad = data;
      bad[i] = static_cast<char>(bad[i] ^ x);
      CZuMapFile d;
      std::string error;
      if (d.ReadFromData(bad, "flip", &error)) ++read;
      else EXPECT_FALSE(error.empty());
    }
  }
  // Checksums catch every change of a record.
  EXPECT_EQ(read, 0);
}

TEST_F(Document, AnInterruptedSaveLeavesThePreviousFile) {
  const std::string path = SaveDoc("keep.wpd");
  const std::string before = ReadFile(path);
  std::string error;
  doc.GetActiveMap()->GetLayer(0)->GetObjectList()[0]->SetName("changed");
  {
    const FileSizeLimit full(before.size() / 2);  // the disk fills up halfway
    EXPECT_FALSE(doc.SaveToFile(path, &error));
  }
  EXPECT_EQ(error, "cannot write " + path + ": File too large");
  EXPECT_EQ(ReadFile(path), before);
  EXPECT_EQ(FolderEntries(dir), std::vector<std::string>{"keep.wpd"});
}

// A chart reached through a link is saved where the link points, with the
// file's permissions; the link stays.
TEST_F(Document, SavingThroughALinkKeepsTheLinkAndThePermissions) {
  const std::string path = SaveDoc("real.wpd");
  std::filesystem::permissions(path, std::filesystem::perms::owner_read | std::filesystem::perms::owner_write);
  std::filesystem::create_symlink("real.wpd", dir + "/link.wpd");
  doc.GetActiveMap()->GetLayer(0)->GetObjectList()[0]->SetName("changed");
  std::string error;
  ASSERT_TRUE(doc.SaveToFile(dir + "/link.wpd", &error)) << error;
  EXPECT_TRUE(std::filesystem::is_symlink(dir + "/link.wpd"));
  EXPECT_EQ(std::filesystem::status(path).permissions() & std::filesystem::perms::all,
            std::filesystem::perms::owner_read | std::filesystem::perms::owner_write);
  CZuMapFile copy;
  ASSERT_TRUE(copy.ReadFromFile(path, 1, &error)) << error;
  EXPECT_EQ(copy.GetActiveMap()->GetLayer(0)->GetObjectList()[0]->GetName(), "changed");
}

TEST_F(Document, RootsOfUnknownClassesAreSkipped) {
  CZuMFile out;
  out.OpenWrite();
  auto rec = [&](unsigned short n, std::initializer_list<const char*> texts) { WriteTexts(&out, n, texts); };
  out.SetRecordNumber(1);
  out.AddRecordElement("DaVodu chart");
  out.AddRecordElement(3.011);
  out.AddRecordElement("KESMap3.0");
  out.WriteNextRecord();
  rec(2, {"map"});
  rec(3, {"chart"});
  rec(kRecKitStart, {"CWpFromTheFuture"});
  rec(kRecEnd, {});
  rec(kRecTagged, {"Own"});
  rec(kRecEnd, {});
  rec(kRecKitStart, {"CWpWell"});
  rec(kRecName, {"W"});
  rec(kRecEnd, {});
  rec(kRecEnd, {});  // the well's own section
  rec(4, {});
  rec(5, {});
  CZuMapFile d;
  std::string error;
  ASSERT_TRUE(d.ReadFromData(out.GetData(), "future.wpd", &error)) << error;
  ASSERT_EQ(d.GetActiveMap()->GetLayer(0)->GetObjectList().size(), 1u);
  EXPECT_EQ(d.GetActiveMap()->GetLayer(0)->GetObjectList()[0]->GetName(), "W");
}

TEST_F(Document, DumpAndUpgradeCommands) {
  const std::string path = SaveDoc("cli.wpd");
  const std::string upgraded = dir + "/cli-upgraded.wpd";
  CliResult dump = RunCli("dump " + path);
  ASSERT_EQ(dump.exit_code, 0) << dump.out;
  EXPECT_NE(dump.out.find("60 \"CWpWell\""), std::string::npos);
  EXPECT_NE(dump.out.find("100 \"濮1-2井\""), std::string::npos) << dump.out;
  // The tracks nest inside the well's base section.
  EXPECT_NE(dump.out.find("\n      60 \"CWpTrack\""), std::string::npos) << dump.out;
  ASSERT_EQ(RunCli("upgrade " + path + " " + upgraded).exit_code, 0);
  EXPECT_EQ(RunCli("dump " + upgraded).out, dump.out);

  std::ofstream(dir + "/junk.wpd") << "junk";
  for (const std::string& args : {"dump " + dir + "/junk.wpd", "upgrade " + dir + "/junk.wpd " + dir + "/o.wpd",
                                  "dump " + dir + "/none.wpd"}) {
    CliResult r = RunCli(args);
    EXPECT_EQ(r.exit_code, 1) << args;
    EXPECT_NE(r.out.find("davodu: "), std::string::npos) << r.out;
  }
  EXPECT_EQ(RunCli("dump").exit_code, 2);
}

}  // namespace
}  // namespace davodu::testing
