#include "davodu/host/util/util.h"

#include <gtest/gtest.h>

#include <chrono>
#include <cmath>
#include <cstdlib>
#include <limits>
#include <optional>
#include <set>
#include <thread>
#include <vector>

#include "davodu/host/util/gbk.h"

namespace davodu {
namespace {

TEST(FloatToStringTest, PlainShortestForm) {
  const double nan = std::numeric_limits<double>::quiet_NaN();
  const double inf = std::numeric_limits<double>::infinity();
  const struct {
    double value;
    std::string text;
  } cases[] = {
      {0.0, "0"},
      {-0.0, "0"},
      {1.0, "1"},
      {0.5, "0.5"},
      {0.1f, "0.1"},  // a float held in a double
      {1234.5, "1234.5"},
      {-2.25, "-2.25"},
      {1e20, "100000000000000000000"},
      {1e-7, "0.0000001"},
      {-1.5e-5f, "-0.000015"},
      {2500.0, "2500"},
      {3.4028234663852886e38, "340282350000000000000000000000000000000"},  // missing value
      {1e300, "1" + std::string(300, '0')},  // beyond float: double digits
      {nan, "nan"},
      {inf, "inf"},
      {-inf, "-inf"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.text);
    EXPECT_EQ(AfxFloatToString(c.value), c.text);
  }
}

TEST(FloatToStringTest, PlainFormReadsBackAsTheSameFloat) {
  for (float f : {0.1f, 1.0f / 3, 123456.79f, 7.0e-10f, 9.9999e30f, -65504.5f}) {
    const std::string text = AfxFloatToString(f);
    SCOPED_TRACE(text);
    EXPECT_EQ(text.find_first_of("eE"), std::string::npos);
    EXPECT_EQ(std::strtof(text.c_str(), nullptr), f);
  }
}

TEST(FloatToStringTest, FormatIsUsedOnlyWhenItIsOneFloatConversion) {
  const struct {
    const char* format;
    double value;
    const char* text;
  } cases[] = {
      {"%.2f", 3.14159, "3.14"},
      {"%8.3f", -1.5, "  -1.500"},
      {"%-6.1f|", 2.0, "2.0   |"},
      {"%+.1e", 12345.0, "+1.2e+04"},
      {"%g", 0.0001, "0.0001"},
      {"%lf", 0.25, "0.250000"},
      {"深度=%.1fm (100%%)", 1000.0, "深度=1000.0m (100%)"},
      // Unusable formats fall back to the plain form.
      {"%s", 1.5, "1.5"},
      {"%n", 1.5, "1.5"},
      {"%d", 1.5, "1.5"},
      {"%x", 1.5, "1.5"},
      {"%.2f%.2f", 1.5, "1.5"},
      {"%.2f %s", 1.5, "1.5"},
      {"%*.2f", 1.5, "1.5"},
      {"%.*f", 1.5, "1.5"},
      {"%Lf", 1.5, "1.5"},
      {"%1$f", 1.5, "1.5"},
      {"%9999f", 1.5, "1.5"},
      {"%.9999f", 1.5, "1.5"},
      {"%", 1.5, "1.5"},
      {"%%", 1.5, "1.5"},
      {"abc", 1.5, "1.5"},
      {"", 1.5, "1.5"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.format);
    EXPECT_EQ(AfxFloatToString(c.value, c.format), c.text);
  }
  // A NUL would hide the rest of the format from printf.
  EXPECT_EQ(AfxFloatToString(1.5, std::string("%.1f\0%s", 7)), "1.5");
}

TEST(UtilTest, ModifyStepValue) {
  const double nan = std::numeric_limits<double>::quiet_NaN();
  const double inf = std::numeric_limits<double>::infinity();
  const struct {
    double start, end, step;
    bool adjusted;
    double new_start, new_end;
  } cases[] = {
      {1003, 1997, 10, true, 1000, 2000},
      {1000, 2000, 10, true, 1000, 2000},
      {-1003, -997, 10, true, -1010, -990},
      {-5, 5, 2, true, -6, 6},
      {0.3, 0.75, 0.1, true, 0.3, 0.8},  // 0.3 / 0.1 is 2.9999999999999996
      {2.35, 2.55, 0.05, true, 2.35, 2.55},
      {1003, 1997, 0, false, 1003, 1997},
      {1003, 1997, -10, false, 1003, 1997},
      {1003, 1997, nan, false, 1003, 1997},
      {1003, 1997, inf, false, 1003, 1997},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(::testing::Message() << c.start << ".." << c.end << " step " << c.step);
    double start = c.start, end = c.end;
    EXPECT_EQ(AfxModifyStepValue(start, end, c.step), c.adjusted);
    EXPECT_NEAR(start, c.new_start, 1e-9);
    EXPECT_NEAR(end, c.new_end, 1e-9);
  }
}

TEST(UtilTest, TimeStampsAreUniqueIncreasingWallClockMicroseconds) {
  const auto wall_us = [] {
    return static_cast<std::uint64_t>(std::chrono::duration_cast<std::chrono::microseconds>(
                                          std::chrono::system_clock::now().time_since_epoch())
                                          .count());
  };
  const std::uint64_t before = wall_us();
  std::uint64_t last = AfxGetTimeStamp();
  EXPECT_GE(last, before);
  for (int i = 0; i < 100000; ++i) {
    const std::uint64_t t = AfxGetTimeStamp();
    ASSERT_GT(t, last);
    last = t;
  }
  // Bumping past the last value must not run away from the clock.
  EXPECT_LT(last, wall_us() + 1000000);

  constexpr int kThreads = 4, kEach = 20000;
  std::vector<std::vector<std::uint64_t>> got(kThreads);
  std::vector<std::thread> threads;
  for (int t = 0; t < kThreads; ++t) {
    threads.emplace_back([&got, t] {
      for (int i = 0; i < kEach; ++i) got[t].push_back(AfxGetTimeStamp());
    });
  }
  for (auto& th : threads) th.join();
  std::set<std::uint64_t> all;
  for (const auto& v : got) all.insert(v.begin(), v.end());
  EXPECT_EQ(all.size(), static_cast<std::size_t>(kThreads * kEach));
}

// Sets or removes an environment variable for one scope.
class EnvOverride {
 public:
  EnvOverride(const char* name, const char* value) : name_(name) {
    if (const char* old = std::getenv(name)) old_ = old;
    if (value != nullptr) {
      setenv(name, value, 1);
    } else {
      unsetenv(name);
    }
  }
  ~EnvOverride() {
    if (old_) {
      setenv(name_, old_->c_str(), 1);
    } else {
      unsetenv(name_);
    }
  }

 private:
  const char* name_;
  std::optional<std::string> old_;
};

TEST(UtilTest, UserPath) {
  const struct {
    const char* davodu_home;
    const char* home;
    const char* path;
  } cases[] = {
      {"/data/dv", "/home/u", "/data/dv"},
      {"/data/dv/", "/home/u", "/data/dv"},
      {"", "/home/u", "/home/u/.local/share/davodu"},
      {nullptr, "/home/u", "/home/u/.local/share/davodu"},
      {nullptr, "/home/u/", "/home/u/.local/share/davodu"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.path);
    EnvOverride dv("DAVODU_HOME", c.davodu_home);
    EnvOverride home("HOME", c.home);
    EXPECT_EQ(AfxGetUserPath(), c.path);
  }
}

TEST(ParseStringTest, Fields) {
  const std::string han_with_bar_trail = "\x81\x7C";  // trail byte is '|'
  const struct {
    std::string text;
    std::string separators;
    bool skip_empty;
    std::vector<std::string> fields;
  } cases[] = {
      {"a,b,c", ",", false, {"a", "b", "c"}},
      {"a,,b", ",", false, {"a", "", "b"}},
      {"a,,b", ",", true, {"a", "b"}},
      {",a,", ",", false, {"", "a", ""}},
      {",a,", ",", true, {"a"}},
      {"1 2\t3", " \t", false, {"1", "2", "3"}},
      {"abc", "", false, {"abc"}},
      {"", ",", false, {}},
      {",,", ",", true, {}},
      {" a , b ", ",", false, {" a ", " b "}},
      {Gbk("文本文件(*.txt)|*.txt"), "|", false, {Gbk("文本文件(*.txt)"), "*.txt"}},
      {"x" + han_with_bar_trail + "|y", "|", false, {"x" + han_with_bar_trail, "y"}},
      {Gbk("深度，名称"), Gbk("，"), false, {Gbk("深度"), Gbk("名称")}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(GbkToUtf8(c.text));
    CParseString parse;
    EXPECT_EQ(parse.Parse(c.text, c.separators, c.skip_empty),
              static_cast<int>(c.fields.size()));
    EXPECT_EQ(parse.fields(), c.fields);
  }
  // A second parse replaces the fields; indices outside the range are empty.
  CParseString parse("a;b", ";");
  parse.Parse("c", ";");
  EXPECT_EQ(parse.GetCount(), 1);
  EXPECT_EQ(parse.GetAt(0), "c");
  EXPECT_EQ(parse.GetAt(1), "");
  EXPECT_EQ(parse.GetAt(-1), "");
}

TEST(ParseStringTest, Numbers) {
  const struct {
    std::string field;
    std::optional<double> as_double;
    std::optional<int> as_int;
  } cases[] = {
      {"12.5", 12.5, std::nullopt},
      {" \t-0.25\r\n", -0.25, std::nullopt},
      {"42", 42, 42},
      {" +7 ", 7, 7},
      {"-2147483648", -2147483648.0, -2147483647 - 1},
      {"2147483648", 2147483648.0, std::nullopt},
      {"1e3", 1000, std::nullopt},
      {".5", 0.5, std::nullopt},
      {"1.", 1, std::nullopt},
      {"", std::nullopt, std::nullopt},
      {"   ", std::nullopt, std::nullopt},
      {"abc", std::nullopt, std::nullopt},
      {"12abc", std::nullopt, std::nullopt},
      {"1 2", std::nullopt, std::nullopt},
      {"+-1", std::nullopt, std::nullopt},
      {"+", std::nullopt, std::nullopt},
      {"0x10", std::nullopt, std::nullopt},
      {"nan", std::nullopt, std::nullopt},
      {"inf", std::nullopt, std::nullopt},
      {"1e400", std::nullopt, std::nullopt},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE("'" + c.field + "'");
    const CParseString parse("x;" + c.field, ";");
    double d = -99;
    int n = -99;
    EXPECT_EQ(parse.GetDouble(1, &d), c.as_double.has_value());
    EXPECT_EQ(d, c.as_double.value_or(-99));  // untouched on failure
    EXPECT_EQ(parse.GetInt(1, &n), c.as_int.has_value());
    EXPECT_EQ(n, c.as_int.value_or(-99));
  }
  const CParseString parse("5", ";");
  double d = -99;
  EXPECT_FALSE(parse.GetDouble(1, &d));
  EXPECT_FALSE(parse.GetDouble(-1, &d));
  EXPECT_EQ(d, -99);
}

TEST(UtilTest, TrimBlanks) {
  EXPECT_EQ(TrimBlanks(" \t\r\n a b \n"), "a b");
  EXPECT_EQ(TrimBlanks(" \t "), "");
  EXPECT_EQ(TrimBlanks(Gbk("  深度 ")), Gbk("深度"));
}

}  // namespace
}  // namespace davodu
