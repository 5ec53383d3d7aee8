#include "davodu/host/util/gbk.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <set>
#include <string>
#include <thread>
#include <vector>

#include "davodu/host/graphics/styles.h"

namespace davodu {
namespace {

TEST(GbkTest, ChineseTextsRoundTripWithTwoBytesPerCharacter) {
  struct Case {
    std::string utf8;
    std::string gbk;  // expected bytes when known, else empty
    std::size_t gbk_size;
  };
  const Case cases[] = {
      {"宋体", "\xCB\xCE\xCC\xE5", 4},
      {"深度[m]", "\xC9\xEE\xB6\xC8[m]", 7},
      {"确定进行清空操作吗?", "", 19},
      {"GR 自然伽马 (API)", "", 17},
      {"plain ascii", "plain ascii", 11},
      {"", "", 0},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.utf8);
    const std::string gbk = Utf8ToGbk(c.utf8);
    EXPECT_EQ(gbk.size(), c.gbk_size);
    if (!c.gbk.empty()) {
      EXPECT_EQ(gbk, c.gbk);
    }
    EXPECT_EQ(GbkToUtf8(gbk), c.utf8);
  }
}

TEST(GbkTest, EmbeddedNulIsCarriedThrough) {
  const std::string utf8("深\0度", 7);
  const std::string gbk = Utf8ToGbk(utf8);
  EXPECT_EQ(gbk, std::string("\xC9\xEE\0\xB6\xC8", 5));
  EXPECT_EQ(GbkToUtf8(gbk), utf8);
}

// Characters GBK lacks take their GB18030 four-byte codes and come back
// unchanged: different names stay different.
TEST(GbkTest, CharactersGbkLacksRoundTripAsFourByteCodes) {
  const struct {
    std::string utf8;
    std::string gbk;
  } cases[] = {
      {"a😀b", "a\x94\x39\xFC\x36" "b"},  // an emoji, beyond the basic plane
      {"º", "\x81\x30\x86\x32"},
      {"深ºᶟ", "\xC9\xEE\x81\x30\x86\x32\x81\x35\xE4\x37"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.utf8);
    EXPECT_EQ(Utf8ToGbk(c.utf8), c.gbk);
    EXPECT_EQ(GbkToUtf8(c.gbk), c.utf8);
  }
  const std::string name = "ºᶟᵌᴬŃ";
  EXPECT_EQ(GbkToUtf8(Utf8ToGbk(name)), name);
  EXPECT_NE(Utf8ToGbk(name), Utf8ToGbk("ºᶟᵌᴬN"));
  // Steps of two bytes never fold a byte of a four-byte code.
  EXPECT_FALSE(EqualsNoCase(Utf8ToGbk("Aº"), Utf8ToGbk("aᶟ")));
  EXPECT_TRUE(EqualsNoCase(Utf8ToGbk("Aº"), Utf8ToGbk("aº")));
}

TEST(GbkTest, MalformedUtf8BecomesQuestionMark) {
  const struct {
    std::string utf8;
    std::string gbk;
  } cases[] = {
      {"深\xE4\xB8", "\xC9\xEE?"},           // truncated character: one mark
      {"\xE4\xB8x", "?x"},                  // truncated, then ASCII survives
      {"\xFF\xFEz", "??z"},                 // bytes that never start UTF-8
      {"\xC0\x80", "??"},                   // overlong NUL
      {"\xED\xA0\x80", "???"},              // encoded surrogate
      {"\xF4\x90\x80\x80", "????"},         // above U+10FFFF
      {"\x80中", "?\xD6\xD0"},               // stray continuation byte
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.utf8);
    EXPECT_EQ(Utf8ToGbk(c.utf8), c.gbk);
  }
}

TEST(GbkTest, InvalidGbkBecomesReplacementCharacterAndConversionGoesOn) {
  const std::string fffd = "\xEF\xBF\xBD";
  const struct {
    std::string gbk;
    std::string utf8;
  } cases[] = {
      {"\xC9\xEE\x81", "深" + fffd},        // lead byte cut off at the end
      {"\x81" "1a", fffd + "1a"},           // lead byte without a trail byte
      {"\xFF" "a\xC9\xEE", fffd + "a深"},   // a byte no character starts with
      {"\xA1\x40x", fffd + "x"},             // well-formed pair with no mapping
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.utf8);
    EXPECT_EQ(GbkToUtf8(c.gbk), c.utf8);
  }
}

TEST(GbkTest, IsValidUtf8) {
  const struct {
    std::string text;
    bool valid;
  } cases[] = {
      {"", true},
      {"深度[m] 😀", true},
      {std::string("a\0b", 3), true},
      {"\xC9\xEE\xB6\xC8", false},  // GBK bytes
      {"\xE4\xB8", false},
      {"\xC0\xAF", false},
      {"\xED\xA0\x80", false},
      {"\xF4\x90\x80\x80", false},
      {"\xF4\x8F\xBF\xBF", true},   // U+10FFFF
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.text);
    EXPECT_EQ(IsValidUtf8(c.text), c.valid);
  }
}

TEST(GbkTest, GbkLiteralIsConvertedOnceAndStaysPut) {
  const std::string& first = Gbk("确定进行清空操作吗?");
  EXPECT_EQ(first, Utf8ToGbk("确定进行清空操作吗?"));
  // Many other texts later, the same object is returned.
  for (int i = 0; i < 200; ++i) Gbk("文本" + std::to_string(i));
  EXPECT_EQ(&Gbk("确定进行清空操作吗?"), &first);
}

TEST(GbkTest, GbkLiteralIsSafeFromManyThreads) {
  constexpr int kThreads = 8;
  std::vector<std::vector<const std::string*>> seen(kThreads);
  std::vector<std::thread> threads;
  for (int t = 0; t < kThreads; ++t) {
    threads.emplace_back([t, &seen] {
      for (int i = 0; i < 300; ++i) {
        seen[t].push_back(&Gbk("井名" + std::to_string(i % 50)));
      }
    });
  }
  for (auto& th : threads) th.join();
  for (int t = 1; t < kThreads; ++t) EXPECT_EQ(seen[t], seen[0]);
  EXPECT_EQ(std::set<const std::string*>(seen[0].begin(), seen[0].end()).size(), 50u);
  EXPECT_EQ(*seen[0][7], Utf8ToGbk("井名7"));
}

TEST(GbkTest, EqualsNoCase) {
  const struct {
    std::string a, b;
    bool equal;
  } cases[] = {
      {"", "", true},
      {"Depth", "dEPTH", true},
      {"Depth", "Depth2", false},
      {"a[", "A{", false},  // '[' and '{' differ only in the case bit
      {"@", "`", false},
      {Gbk("深度") + "Abc", Gbk("深度") + "aBC", true},
      {Gbk("深度"), Gbk("深浅"), false},
      // Two GBK characters whose trail bytes are 'A' and 'a'.
      {"\x81\x41", "\x81\x61", false},
      {"x\x81\x41y", "X\x81\x41Y", true},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.a + " / " + c.b);
    EXPECT_EQ(EqualsNoCase(c.a, c.b), c.equal);
    EXPECT_EQ(EqualsNoCase(c.b, c.a), c.equal);
  }
}

std::string RepeatHan(int n) {
  std::string s;
  for (int i = 0; i < n; ++i) s += "\xC9\xEE";  // 深
  return s;
}

TEST(GbkFaceNameTest, DefaultFaceIsSongTiInGbkWithZeroedTail) {
  const ZULOGFONT font;
  EXPECT_EQ(font.FaceName(), Gbk("宋体"));
  EXPECT_TRUE(std::all_of(font.face + 4, font.face + sizeof font.face,
                          [](char c) { return c == '\0'; }));
  EXPECT_EQ(ZULOGFONT(), font);  // no stray bytes make two fonts differ
}

TEST(GbkFaceNameTest, SetFaceNameTruncatesOnCharacterBoundaries) {
  const struct {
    std::string name;
    std::string stored;
  } cases[] = {
      {"Arial", "Arial"},
      {std::string(70, 'x'), std::string(63, 'x')},
      {RepeatHan(31) + "A", RepeatHan(31) + "A"},  // exactly 63 bytes
      {RepeatHan(32), RepeatHan(31)},              // 64th byte would split
      {"A" + RepeatHan(32), "A" + RepeatHan(31)},
      {"AB" + RepeatHan(32), "AB" + RepeatHan(30)},
      {"Arial\xC9", "Arial"},                      // a dangling lead byte
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    ZULOGFONT font;
    font.SetFaceName(std::string(63, 'z'));
    font.SetFaceName(c.name);
    EXPECT_EQ(font.FaceName(), c.stored);
    EXPECT_TRUE(std::all_of(font.face + c.stored.size(), font.face + sizeof font.face,
                            [](char ch) { return ch == '\0'; }));
  }
}

TEST(GbkTruncateTest, NeverSplitsATwoByteCharacter) {
  const std::string han = Gbk("砂岩");  // two characters, four bytes
  const struct {
    std::string text;
    std::size_t max;
    std::string kept;
  } cases[] = {
      {"abc", 5, "abc"},
      {"abcdef", 3, "abc"},
      {han, 4, han},
      {han, 3, han.substr(0, 2)},
      {"a" + han, 2, "a"},
      {"a" + han, 3, "a" + han.substr(0, 2)},
      {han, 0, ""},
      {"ab\xC9", 9, "ab\xC9"},  // a lead byte at the end stands alone
  };
  for (const auto& c : cases) EXPECT_EQ(TruncateGbk(c.text, c.max), c.kept) << c.max;
}

}  // namespace
}  // namespace davodu
