// The style templates of the well database, in the host's template store.
#include "davodu/data/style_templates.h"

#include <gtest/gtest.h>
#include <sqlite3.h>

#include <string>
#include <vector>

#include "davodu/host/objects/template_manager.h"
#include "davodu/host/util/gbk.h"
#include "davodu/store/well_data_manager.h"
#include "support/cli.h"

namespace davodu {
namespace {

class StyleTemplates : public ::testing::Test {
 protected:
  void SetUp() override {
    path = testing::ScratchDir("styles") + "/wells.db";
    ASSERT_TRUE(wells.Open(path)) << wells.GetLastError();
  }
  void TearDown() override {
    // Leave the process-wide store as it was.
    wells.Close();
    LoadStyleTemplates(&wells, 0);
  }
  void Import(std::vector<std::vector<std::string>> rows) {
    TableImport in;
    in.source = "styles.csv";
    in.kind = TableKind::kCatStyle;
    in.header = {"template", "kind", "value", "result"};
    for (auto& row : rows)
      for (auto& cell : row) cell = Utf8ToGbk(cell);
    in.rows = std::move(rows);
    std::string error;
    ASSERT_TRUE(wells.ImportTableRows(in, &error)) << error;
  }
  static const CGeneralTemplate* Get(const char* name, int type) {
    return CTemplateManagerFacade::Instance()->GetGeneralTemplate(Gbk(name), type);
  }

  std::string path;
  CWellDataManager wells;
};

TEST_F(StyleTemplates, RowsBecomeTemplatesAndGoneOnesAreRemoved) {
  Import({{"grades", "color", "油层", "#FF0000"},
          {"grades", "color", "水层", "blue"},  // not a colour: skipped
          {"widths", "size", "1", "30"},
          {"faces", "font", "油层", "黑体"},
          {"odd", "shape", "x", "1"}});       // no such kind: skipped
  const std::uint64_t stamp = LoadStyleTemplates(&wells, 0);
  EXPECT_GT(stamp, 0u);
  const CGeneralTemplate* grades = Get("grades", kTemplateColor);
  ASSERT_NE(grades, nullptr);
  double v = 0;
  EXPECT_TRUE(grades->Map(Gbk("油层"), &v));
  EXPECT_EQ(v, RGB(255, 0, 0));
  EXPECT_FALSE(grades->Map(Gbk("水层"), &v));
  ASSERT_NE(Get("widths", kTemplateSize), nullptr);
  EXPECT_TRUE(Get("widths", kTemplateSize)->Map("1.0", &v));
  EXPECT_EQ(v, 30);
  std::string face;
  ASSERT_NE(Get("faces", kTemplateFontStyle), nullptr);
  EXPECT_TRUE(Get("faces", kTemplateFontStyle)->MapText(Gbk("油层"), &face));
  EXPECT_EQ(face, Gbk("黑体"));
  // Nothing changed: nothing is read.
  EXPECT_EQ(LoadStyleTemplates(&wells, stamp), stamp);
  // A new catalogue replaces the old one.
  Import({{"widths", "size", "1", "40"}});
  EXPECT_GT(LoadStyleTemplates(&wells, stamp), stamp);
  EXPECT_EQ(Get("grades", kTemplateColor), nullptr);
  EXPECT_TRUE(Get("widths", kTemplateSize)->Map("1", &v));
  EXPECT_EQ(v, 40);
}

TEST_F(StyleTemplates, ADatabaseOfTheSchemaBeforeGetsTheCatalogue) {
  wells.Close();
  sqlite3* db = nullptr;
  ASSERT_EQ(sqlite3_open(path.c_str(), &db), SQLITE_OK);
  ASSERT_EQ(sqlite3_exec(db,
                         "DROP TABLE cat_style; DELETE FROM schema_version; "
                         "INSERT INTO schema_version VALUES(3, '2026-01-01T00:00:00Z'); "
                         "UPDATE meta SET value = 3 WHERE key = 'schema_version';",
                         nullptr, nullptr, nullptr),
            SQLITE_OK);
  sqlite3_close(db);
  ASSERT_TRUE(wells.Open(path)) << wells.GetLastError();
  Import({{"grades", "color", "油层", "#00FF00"}});
  LoadStyleTemplates(&wells, 0);
  ASSERT_NE(Get("grades", kTemplateColor), nullptr);
}

}  // namespace
}  // namespace davodu
