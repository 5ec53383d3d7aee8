#include "davodu/import/csv_reader.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "davodu/host/util/gbk.h"

namespace davodu {
namespace {

using Rows = std::vector<std::vector<std::string>>;

TEST(CsvReaderTest, ReadsTablesWithEachDelimiterQuotingAndLineEnd) {
  const struct {
    const char* name;
    std::string text;
    char delimiter;
    std::vector<std::string> header;
    Rows rows;
    std::vector<int> row_lines;
  } cases[] = {
      {"comma, LF", "DEPTH,GR\n100.0,45\n100.5,47\n", ',', {"DEPTH", "GR"}, {{"100.0", "45"}, {"100.5", "47"}}, {2, 3}},
      {"CRLF, no final line break", "DEPTH,GR\r\n100.0,45\r\n100.5,47", ',', {"DEPTH", "GR"},
       {{"100.0", "45"}, {"100.5", "47"}}, {2, 3}},
      {"CR only and blank lines", "A,B\r\r1,2\r\r\r3,4\r", ',', {"A", "B"}, {{"1", "2"}, {"3", "4"}}, {3, 6}},
      {"semicolon with decimal commas", "TOP;BOTTOM;NAME\n1,5;2,5;sand\n2,5;3,0;shale\n", ';',
       {"TOP", "BOTTOM", "NAME"}, {{"1,5", "2,5", "sand"}, {"2,5", "3,0", "shale"}}, {2, 3}},
      {"tab with spaces kept", "TOP\tNAME\n1\tupper sand \n", '\t', {"TOP", "NAME"}, {{"1", "upper sand "}}, {2}},
      {"quoted delimiter, quote and line break", "NAME,NOTE\n\"a,b\",\"say \"\"hi\"\"\"\n\"two\r\nlines\",x\nlast,\"\"\n",
       ',', {"NAME", "NOTE"}, {{"a,b", "say \"hi\""}, {"two\r\nlines", "x"}, {"last", ""}}, {2, 3, 5}},
      {"empty fields", "A,B,C\n,,\n1,,3\n", ',', {"A", "B", "C"}, {{"", "", ""}, {"1", "", "3"}}, {2, 3}},
      {"one column", "DEPTH\n1\n2\n", ',', {"DEPTH"}, {{"1"}, {"2"}}, {2, 3}},
      {"header only", "A;B\n", ';', {"A", "B"}, {}, {}},
      {"UTF-8 with byte-order mark", "\xEF\xBB\xBF井名,深度\n塔1,1500\n", ',', {"井名", "深度"}, {{"塔1", "1500"}}, {2}},
      // Commas inside a quoted header do not make it comma-separated.
      {"semicolons though quoted commas", "\"a,b\";\"c,d\"\n1;2\n", ';', {"a,b", "c,d"}, {{"1", "2"}}, {2}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    CsvTable table;
    CsvError error;
    ASSERT_TRUE(ReadCsv(c.text, "t.csv", &table, &error)) << error.ToString();
    EXPECT_EQ(table.delimiter, c.delimiter);
    EXPECT_EQ(table.header, c.header);
    EXPECT_EQ(table.rows, c.rows);
    EXPECT_EQ(table.row_lines, c.row_lines);
    EXPECT_FALSE(table.was_gbk);
  }
}

TEST(CsvReaderTest, GbkFilesAreConvertedToUtf8) {
  const std::string utf8 = "井名,层位,备注\n塔河1,奥陶系,\"含油，见气\"\n";
  const std::string gbk = Utf8ToGbk(utf8);
  ASSERT_FALSE(IsValidUtf8(gbk));
  CsvTable table;
  CsvError error;
  ASSERT_TRUE(ReadCsv(gbk, "gbk.csv", &table, &error)) << error.ToString();
  EXPECT_TRUE(table.was_gbk);
  EXPECT_EQ(table.header, (std::vector<std::string>{"井名", "层位", "备注"}));
  EXPECT_EQ(table.rows, (Rows{{"塔河1", "奥陶系", "含油，见气"}}));
}

TEST(CsvReaderTest, MalformedTablesAreRejectedWithFileAndLine) {
  const struct {
    const char* name;
    std::string text;
    int line;
    const char* message;
  } cases[] = {
      {"short row", "A,B,C\n1,2,3\n4,5\n", 3, "expected 3 fields as in the header, found 2"},
      {"long row", "A;B\n1;2\n\n3;4;5\n", 4, "expected 2 fields as in the header, found 3"},
      {"unterminated quote", "A,B\n1,\"open\n2,3\n", 2, "a quoted field is not closed"},
      {"text after a closing quote", "A,B\n1,\"x\"y\n", 2, "text after the closing quote"},
      {"row after a quoted line break", "A,B\n\"x\ny\",1\n1,2,3\n", 4, "found 3"},
      {"empty file", "", 0, "empty"},
      {"only line breaks", "\r\n\n\r", 0, "empty"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    CsvTable table;
    CsvError error;
    ASSERT_FALSE(ReadCsv(c.text, "bad.csv", &table, &error));
    EXPECT_EQ(error.file, "bad.csv");
    EXPECT_EQ(error.line, c.line);
    EXPECT_NE(error.message.find(c.message), std::string::npos) << error.ToString();
    if (c.line > 0) {
      EXPECT_EQ(error.ToString().rfind("bad.csv:" + std::to_string(c.line) + ": ", 0), 0u);
    }
  }
}

TEST(CsvReaderTest, MissingFileIsAnErrorNamingIt) {
  CsvTable table;
  CsvError error;
  ASSERT_FALSE(ReadCsvFile("/nonexistent/t.csv", &table, &error));
  EXPECT_EQ(error.file, "/nonexistent/t.csv");
  EXPECT_EQ(error.line, 0);
}

}  // namespace
}  // namespace davodu
