// How sample arrays are stored: packed decimals where that is shorter,
// always giving back the very same doubles.
#include "davodu/store/detail/sample_codec.h"

#include <gtest/gtest.h>

#include <bit>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <limits>
#include <string>
#include <vector>

#include "davodu/host/util/types.h"

namespace davodu::welldb {
namespace {

std::vector<std::uint64_t> Bits(const std::vector<double>& v) {
  std::vector<std::uint64_t> bits;
  for (const double x : v) bits.push_back(std::bit_cast<std::uint64_t>(x));
  return bits;
}

std::vector<double> Log(std::size_t n, double start, double step, int decimals) {
  std::vector<double> v;
  const double scale = std::pow(10.0, decimals);
  for (std::size_t i = 0; i < n; ++i) {
    // A wandering curve written with a fixed number of decimals, as a
    // logging tool's file holds it.
    const double x = start + step * static_cast<double>(i) + 7 * std::sin(0.05 * static_cast<double>(i));
    v.push_back(std::round(x * scale) / scale);
  }
  return v;
}

TEST(SampleCodec, EveryDoubleComesBackBitForBit) {
  constexpr double inf = std::numeric_limits<double>::infinity();
  constexpr double nan = std::numeric_limits<double>::quiet_NaN();
  const struct {
    const char* what;
    std::vector<double> values;
    bool packs;
  } cases[] = {
      {"nothing", {}, false},
      {"a depth index", Log(2000, 1500, 0.125, 3), true},
      {"a curve with missing values",
       [] {
         auto v = Log(500, 80, 0, 2);
         for (std::size_t i = 0; i < v.size(); i += 7) v[i] = kFltMax;
         return v;
       }(),
       true},
      {"whole numbers and negatives", {-3, -2, 0, 5, 1000000, -999.25, 0.001}, false},
      {"runs of one value",
       {5.5, 5.5, 5.5, -0.0, 0.0, 0.0, -0.0, 1.0 / 3, 1.0 / 3, kFltMax, kFltMax, 5.5, 5.5, 12.25, 12.25}, false},
      {"a few values kept whole among decimals",
       [] {
         auto v = Log(300, 10, 0.5, 1);
         v[3] = 1.0 / 3;
         v[100] = -0.0;
         v[101] = nan;
         v[200] = inf;
         v[201] = -inf;
         v[250] = 4.9e-324;
         v[299] = 1e300;
         return v;
       }(),
       true},
      {"large steps, packed longer than a quarter of the doubles",
       [] {
         std::vector<double> v;
         for (int i = 0; i < 1000; ++i) v.push_back(i % 2 ? 1e6 + i * 0.001 : -1e6);
         return v;
       }(),
       false},
      {"feet turned into metres", [] {
         auto v = Log(400, 5000, 0.5, 1);
         for (double& x : v) x *= 0.3048;
         return v;
       }(),
       false},
      {"decimals beyond nine places", Log(100, 1, 0.001, 12), false},
      {"digits near the largest packed", {2251799813685.247, -2251799813685.247, 1e15, 0.5, 0.25}, false},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    std::string bytes = "left over from before";
    EncodeSamples(c.values.data(), c.values.size(), &bytes);
    if (c.packs) {
      EXPECT_LT(bytes.size(), c.values.size() * 8 / 2) << "a log packs to well under half";
    } else {
      EXPECT_LE(bytes.size(), c.values.size() * 8);
    }
    const std::vector<double> back = DecodeSamples(bytes.data(), bytes.size(), c.values.size());
    EXPECT_EQ(Bits(back), Bits(c.values));
  }
}

TEST(SampleCodec, DoublesStoredWholeAreReadAsBefore) {
  // Files written before packing hold little-endian doubles, 8 bytes each.
  const std::vector<double> v = {1500.125, kFltMax, 1.0 / 3};
  std::string bytes(v.size() * 8, '\0');
  for (std::size_t i = 0; i < v.size(); ++i) {
    std::uint64_t bits = std::bit_cast<std::uint64_t>(v[i]);
    for (int b = 0; b < 8; ++b, bits >>= 8) bytes[i * 8 + b] = static_cast<char>(bits & 0xff);
  }
  EXPECT_EQ(Bits(DecodeSamples(bytes.data(), bytes.size(), v.size())), Bits(v));
}

TEST(SampleCodec, DamagedSamplesAreRefused) {
  const std::vector<double> v = Log(50, 100, 0.5, 2);
  std::string good;
  EncodeSamples(v.data(), v.size(), &good);
  ASSERT_LT(good.size(), v.size() * 8);
  const struct {
    const char* what;
    std::string bytes;
    std::size_t count;
  } cases[] = {
      {"cut short", good.substr(0, good.size() - 1), v.size()},
      {"too long", good + '\x02', v.size()},
      {"more values than held", good, v.size() + 1},
      {"an unknown layout", std::string(1, '\x07') + good.substr(1), v.size()},
      {"too many decimals", good.substr(0, 1) + '\x0a' + good.substr(2), v.size()},
      {"a value kept whole cut short", std::string("\x01\x00\x01\x00\x00", 5), 1},
      {"a token that never ends", std::string("\x01\x00", 2) + std::string(12, '\xff'), 1},
      {"empty", std::string(), 3},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    EXPECT_THROW(DecodeSamples(c.bytes.data(), c.bytes.size(), c.count), std::runtime_error);
  }
}

}  // namespace
}  // namespace davodu::welldb
