// New well database files: made from the schema image, and put in place
// with the first write of an import.
#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <filesystem>
#include <fstream>
#include <future>
#include <sstream>
#include <string>
#include <vector>

#include "davodu/host/util/gbk.h"
#include "davodu/store/detail/well_db.h"
#include "davodu/store/well_data_manager.h"
#include "support/cli.h"

namespace davodu {
namespace {

namespace fs = std::filesystem;

std::vector<std::string> FolderNames(const std::string& dir) {
  std::vector<std::string> names;
  for (const auto& entry : fs::directory_iterator(dir)) names.push_back(entry.path().filename().string());
  std::sort(names.begin(), names.end());
  return names;
}

// The schema and every row of every table, as text.
std::string Contents(WellDb& db) {
  sql::Db& d = db.db();
  std::string out = "page_size " + std::to_string(d.QueryInt("PRAGMA page_size")) + "\n";
  std::vector<std::string> tables;
  sql::Stmt master(d, "SELECT type, name, tbl_name, sql FROM sqlite_master ORDER BY name");
  while (master.Step()) {
    out += master.Text(0) + " " + master.Text(1) + " " + master.Text(2) + ": " + master.Text(3) + "\n";
    if (master.Text(0) == "table" && !master.Text(1).starts_with("sqlite_")) tables.push_back(master.Text(1));
  }
  for (const std::string& table : tables) {
    std::string row = "''";
    sql::Stmt columns(d, "SELECT name FROM pragma_table_info(?1)");
    columns.Bind(1, table);
    while (columns.Step()) row += " || ',' || quote(\"" + columns.Text(0) + "\")";
    sql::Stmt rows(d, "SELECT " + row + " FROM \"" + table + "\" ORDER BY 1");
    while (rows.Step()) out += table + ": " + rows.Text(0) + "\n";
  }
  return out;
}

TEST(WellDbFile, TheSchemaImageMakesWhatTheSchemaMakes) {
  if (testing::OnPostgres()) GTEST_SKIP() << "files only";
  const std::string dir = testing::ScratchDir("welldb-image");
  // An empty file is opened as it is: the schema is executed in it.
  const std::string executed = dir + "/executed.db";
  { std::ofstream(executed, std::ios::binary); }
  WellDb a(executed);
  WellDb b(dir + "/imaged.db");
  const std::string from_schema = Contents(a), from_image = Contents(b);
  EXPECT_NE(from_schema.find("cat_table_def: "), std::string::npos);  // seeded
  // Line by line: the whole is some hundred kilobytes.
  std::istringstream want(from_schema), have(from_image);
  std::string w, h;
  int line = 0;
  while (std::getline(want, w)) {
    ++line;
    ASSERT_TRUE(std::getline(have, h)) << "line " << line << " missing: " << w;
    if (w.starts_with("schema_version: ")) {  // applied at the time of making
      EXPECT_EQ(w.substr(0, w.rfind(',')), h.substr(0, h.rfind(',')));
      continue;
    }
    ASSERT_EQ(h, w) << "line " << line;
  }
  EXPECT_FALSE(std::getline(have, h)) << "more: " << h;
}

LogImport OneCurve(const std::string& well, double value) {
  LogImport in;
  in.well = well;
  in.run.source = "made.las";
  in.run.hash = "xxh128:" + std::to_string(value);
  in.depths = {100, 101};
  in.curves.push_back({"GR", "API", {value, value}});
  return in;
}

// A database made for an import appears, whole, when its first write
// commits: until then the name is free and others that would create it
// wait. Afterwards the object goes on with the file at its name.
TEST(WellDbFile, AnImportsNewFileAppearsWithItsFirstWrite) {
  if (testing::OnPostgres()) GTEST_SKIP() << "files only";
  const std::string dir = testing::ScratchDir("welldb-staged");
  const std::string path = dir + "/wells.db";
  CWellDataManager importer;
  ASSERT_TRUE(importer.Open(path, CWellDataManager::NewFile::kWithFirstWrite)) << importer.GetLastError();
  EXPECT_FALSE(fs::exists(path));
  EXPECT_TRUE(importer.GetWellNames().empty());  // reads the file being made

  // Another creator waits for the file instead of making its own.
  auto other = std::async(std::launch::async, [&] {
    CWellDataManager wells(path);
    return wells.IsOpen() ? wells.GetWellNames() : std::vector<std::string>{"failed: " + wells.GetLastError()};
  });
  EXPECT_EQ(other.wait_for(std::chrono::milliseconds(200)), std::future_status::timeout);

  // A write that fails takes nothing into place.
  LogImport bad = OneCurve("W1", 1);
  bad.depths.pop_back();
  LogImportResult result;
  EXPECT_FALSE(importer.ImportLog(bad, &result));
  EXPECT_FALSE(fs::exists(path));

  ASSERT_TRUE(importer.ImportLog(OneCurve("W1", 1), &result)) << importer.GetLastError();
  EXPECT_TRUE(fs::exists(path));
  EXPECT_EQ(other.get(), std::vector<std::string>{"W1"});

  // The next write goes to the file at its name, where others see it.
  ASSERT_TRUE(importer.ImportLog(OneCurve("W2", 2), &result)) << importer.GetLastError();
  CWellDataManager reader(path);
  EXPECT_EQ(reader.GetWellNames(), (std::vector<std::string>{"W1", "W2"}));
  EXPECT_EQ(importer.GetWellNames(), (std::vector<std::string>{"W1", "W2"}));
  importer.Close();
  reader.Close();
  EXPECT_EQ(FolderNames(dir), std::vector<std::string>{"wells.db"});

  // Opened for an import and closed without a write, a new file appears
  // empty at the close, as one opened any other way does.
  const std::string unused = dir + "/unused.db";
  ASSERT_TRUE(importer.Open(unused, CWellDataManager::NewFile::kWithFirstWrite));
  EXPECT_FALSE(fs::exists(unused));
  importer.Close();
  ASSERT_TRUE(fs::exists(unused));
  EXPECT_TRUE(CWellDataManager(unused).GetWellNames().empty());
}

// A creator stopped while it made a database leaves its file beside the
// name. The next creator of that database, holding the folder's lock,
// removes it; what belongs to other names stays.
TEST(WellDbFile, FilesLeftByAStoppedCreatorAreRemovedByTheNext) {
  if (testing::OnPostgres()) GTEST_SKIP() << "files only";
  const std::string dir = testing::ScratchDir("welldb-leftovers");
  for (const char* name : {"wells.db.new-a1B2c3", "wells.db.new-a1B2c3-journal", "wells.db.new-zzzzzz-wal",
                           "other.db.new-a1B2c3", "wells.db.new-notes.txt", "wells.db.bak"}) {
    std::ofstream(dir + "/" + name) << "left";
  }
  CWellDataManager wells(dir + "/wells.db");
  ASSERT_TRUE(wells.IsOpen()) << wells.GetLastError();
  wells.Close();
  EXPECT_EQ(FolderNames(dir), (std::vector<std::string>{"other.db.new-a1B2c3", "wells.db", "wells.db.bak",
                                                        "wells.db.new-notes.txt"}));
}

}  // namespace
}  // namespace davodu
