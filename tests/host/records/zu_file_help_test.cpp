// Keyed value records: written and read back by key, whatever other keyed
// records sit around them; a wrong key, type or record leaves the value.
#include "davodu/host/records/zu_file_help.h"

#include <gtest/gtest.h>

#include <string>

#include "davodu/host/records/record_numbers.h"

namespace davodu {
namespace {

TEST(ZuFileHelp, KeyedValuesReadBackByKeyAndType) {
  CZuMFile out;
  out.OpenWrite();
  CZuFileHelp::SaveValue(&out, "m_width", 12);
  CZuFileHelp::SaveValue(&out, "m_ratio", 0.25);
  CZuFileHelp::SaveValue(&out, "m_name", "GR");
  out.SetRecordNumber(kRecName);
  out.AddRecordElement("m_width");
  out.AddRecordElement(5);
  out.WriteNextRecord();

  CZuMFile in;
  ASSERT_TRUE(in.OpenRead(out.GetData()));
  int width = -1;
  double ratio = -1;
  std::string name = "kept";
  ASSERT_TRUE(in.ReadNextRecord());
  EXPECT_EQ(CZuFileHelp::KeyOf(&in), "m_width");
  EXPECT_FALSE(CZuFileHelp::ReadValue(&in, "m_ratio", &ratio)) << "another key";
  EXPECT_FALSE(CZuFileHelp::ReadValue(&in, "m_width", &name)) << "an int is not a text";
  EXPECT_TRUE(CZuFileHelp::ReadValue(&in, "M_WIDTH", &width)) << "keys ignore letter case";
  EXPECT_EQ(width, 12);

  ASSERT_TRUE(in.ReadNextRecord());
  EXPECT_TRUE(CZuFileHelp::ReadValue(&in, "m_ratio", &ratio));
  EXPECT_EQ(ratio, 0.25);
  ASSERT_TRUE(in.ReadNextRecord());
  EXPECT_TRUE(CZuFileHelp::ReadValue(&in, "m_name", &name));
  EXPECT_EQ(name, "GR");

  ASSERT_TRUE(in.ReadNextRecord());
  EXPECT_EQ(CZuFileHelp::KeyOf(&in), "") << "not a keyed record";
  EXPECT_FALSE(CZuFileHelp::ReadValue(&in, "m_width", &width));
  EXPECT_EQ(width, 12);
}

}  // namespace
}  // namespace davodu
