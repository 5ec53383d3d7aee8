#include "davodu/host/util/text_table_writer.h"

#include <gtest/gtest.h>

#include <cmath>
#include <string>

#include "support/cli.h"
#include "support/files.h"

namespace davodu::testing {
namespace {

TEST(TextTableWriter, LinesAreSeparatedByCrLfWithNoBreakAtTheEnd) {
  const std::string dir = ScratchDir("table");
  TextTableWriter table;
  std::string error;
  ASSERT_TRUE(table.Open(dir + "/t.txt", &error)) << error;
  table.Text("top");
  table.Text("name", 6);
  table.NewLine();
  table.Number(1000.5, 7, 2);
  table.Text("abcdefgh", 6);  // wider than its column: takes its room
  table.NewLine();
  table.Number(-3.14159, 0, 1);
  table.Value(5, 8, 1);
  ASSERT_TRUE(table.Commit(&error)) << error;
  EXPECT_EQ(ReadFile(dir + "/t.txt"), "top  name\r\n1000.50abcdefgh\r\n-3.1     5.0");

  ASSERT_TRUE(table.Open(dir + "/header.txt", &error)) << error;
  table.Text("header only");
  ASSERT_TRUE(table.Commit(&error)) << error;
  EXPECT_EQ(ReadFile(dir + "/header.txt"), "header only");
}

// The rule for measured values, once for every table.
TEST(TextTableWriter, ValuesOutOfRangeAreWrittenAsMinus9999) {
  const double kFltMax = 3.4028234663852886e38;
  const struct {
    double value;
    const char* written;
  } cases[] = {
      {45.25, "     45.250"},   {-999, "   -999.000"},    {-999.25, "  -9999.000"},
      {-1000, "  -9999.000"},   {9e9, "9000000000.000"}, {9.000001e9, "  -9999.000"},
      {kFltMax, "  -9999.000"}, {std::nan(""), "  -9999.000"}, {0, "      0.000"},
  };
  const std::string dir = ScratchDir("values");
  for (const auto& c : cases) {
    TextTableWriter table;
    std::string error;
    ASSERT_TRUE(table.Open(dir + "/v.txt", &error)) << error;
    table.Value(c.value, 11, 3);
    ASSERT_TRUE(table.Commit(&error)) << error;
    EXPECT_EQ(ReadFile(dir + "/v.txt"), c.written) << c.value;
  }
}

TEST(TextTableWriter, AFailedWriteIsReportedAndLeavesNoFile) {
  const std::string dir = ScratchDir("full");
  TextTableWriter table;
  std::string error;
  {
    const FileSizeLimit full(100000);
    ASSERT_TRUE(table.Open(dir + "/big.txt", &error)) << error;
    table.Text("depth value");
    for (int i = 0; i < 20000; ++i) {
      table.NewLine();
      table.Number(i, 9, 3);
      table.Value(i, 11, 3);
    }
    EXPECT_FALSE(table.Commit(&error));
  }
  EXPECT_EQ(error, "cannot write " + dir + "/big.txt: File too large");
  EXPECT_TRUE(FolderEntries(dir).empty());

  EXPECT_FALSE(table.Open(dir + "/none/t.txt", &error));
  EXPECT_EQ(error, "cannot write " + dir + "/none/t.txt: No such file or directory");
  table.Text("ignored");
  EXPECT_FALSE(table.Commit(&error));
}

}  // namespace
}  // namespace davodu::testing
