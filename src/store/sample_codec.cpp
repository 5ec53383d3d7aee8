#include "davodu/store/detail/sample_codec.h"

#include <algorithm>
#include <bit>
#include <cmath>
#include <cstdint>
#include <cstring>

#include "davodu/host/util/types.h"

namespace davodu::welldb {
namespace {

constexpr unsigned char kPacked = 1;
constexpr int kMaxDecimals = 9;
constexpr double kPowers[kMaxDecimals + 1] = {1e0, 1e1, 1e2, 1e3, 1e4, 1e5, 1e6, 1e7, 1e8, 1e9};
// Rounding by adding and taking away 1.5 * 2^52 is exact below 2^51;
// larger decimals are kept whole.
constexpr double kRounder = 0x1.8p52;
constexpr double kLargest = 0x1p51;

// The digits n of x with k decimals (x == n / 10^k exactly); false when x
// has no such digits.
inline bool DecimalDigits(double x, double power, std::int64_t* n) {
  const double scaled = x * power;
  if (!(std::fabs(scaled) < kLargest)) return false;  // also NaN
  const double r = (scaled + kRounder) - kRounder;
  if (r / power != x || (r == 0 && std::signbit(x))) return false;
  *n = static_cast<std::int64_t>(r);
  return true;
}

inline std::uint64_t ZigZag(std::int64_t v) {
  return (static_cast<std::uint64_t>(v) << 1) ^ static_cast<std::uint64_t>(v >> 63);
}

inline std::int64_t UnZigZag(std::uint64_t v) {
  return static_cast<std::int64_t>((v >> 1) ^ (~(v & 1) + 1));
}

inline unsigned char* PutVarint(std::uint64_t v, unsigned char* out) {
  while (v >= 0x80) {
    *out++ = static_cast<unsigned char>(v | 0x80);
    v >>= 7;
  }
  *out++ = static_cast<unsigned char>(v);
  return out;
}

inline void PutDouble(double x, unsigned char* out) {
  std::uint64_t bits = std::bit_cast<std::uint64_t>(x);
  for (int b = 0; b < 8; ++b, bits >>= 8) out[b] = static_cast<unsigned char>(bits);
}

inline double GetDouble(const unsigned char* in) {
  std::uint64_t bits = 0;
  for (int b = 7; b >= 0; --b) bits = bits << 8 | in[b];
  return std::bit_cast<double>(bits);
}

void Raw(const double* values, std::size_t count, std::string* out) {
  out->resize(count * 8);
  if constexpr (std::endian::native == std::endian::little) {
    if (count) std::memcpy(out->data(), values, out->size());
  } else {
    auto* p = reinterpret_cast<unsigned char*>(out->data());
    for (std::size_t i = 0; i < count; ++i) PutDouble(values[i], p + 8 * i);
  }
}

}  // namespace

void EncodeSamples(const double* values, std::size_t count, std::string* out) {
  if (count == 0) return Raw(values, count, out);
  // Packing stops where it would no longer be shorter than the doubles.
  // The buffer starts at a quarter of that and grows as needed.
  const std::size_t limit = count * 8;
  // The values are packed with the decimals of the first; a value that
  // needs more starts the packing again with them. Those no number of
  // decimals gives are kept whole, unless so many that packing would not
  // pay.
  int k = 0;
again:
  const double power = kPowers[k];
  out->resize(std::min(limit, count * 2 + 16));
  auto* begin = reinterpret_cast<unsigned char*>(out->data());
  unsigned char* p = begin;
  unsigned char* end = begin + out->size();
  *p++ = kPacked;
  *p++ = static_cast<unsigned char>(k);
  std::int64_t previous = 0;
  double previous_value = kFltMax;  // the value `previous` gives
  std::size_t whole = 0;
  for (std::size_t i = 0; i < count; ++i) {
    if (end - p < 10) {
      const std::size_t used = static_cast<std::size_t>(p - begin);
      if (out->size() == limit) return Raw(values, count, out);
      out->resize(std::min(limit, out->size() * 2));
      begin = reinterpret_cast<unsigned char*>(out->data());
      p = begin + used;
      end = begin + out->size();
      if (end - p < 10) return Raw(values, count, out);
    }
    const double x = values[i];
    std::int64_t n;
    if (x == kFltMax) {
      *p++ = 0;
    } else if (std::bit_cast<std::uint64_t>(x) == std::bit_cast<std::uint64_t>(previous_value)) {
      *p++ = 2;  // the value again, as runs of a log often are
    } else if (DecimalDigits(x, power, &n)) {
      p = PutVarint(ZigZag(n - previous) + 2, p);
      previous = n;
      previous_value = x;
    } else {
      for (int more = k + 1; more <= kMaxDecimals; ++more) {
        if (DecimalDigits(x, kPowers[more], &n)) {
          k = more;
          goto again;
        }
      }
      if (++whole > i / 4 + 16) return Raw(values, count, out);
      *p++ = 1;
      PutDouble(x, p);
      p += 8;
    }
  }
  out->resize(static_cast<std::size_t>(p - begin));
}

std::vector<double> DecodeSamples(const void* data, std::size_t size, std::size_t count) {
  const auto* p = static_cast<const unsigned char*>(data);
  std::vector<double> values(count);
  if (size == count * 8) {
    if constexpr (std::endian::native == std::endian::little) {
      if (count) std::memcpy(values.data(), p, size);
    } else {
      for (std::size_t i = 0; i < count; ++i) values[i] = GetDouble(p + 8 * i);
    }
    return values;
  }
  if (size < 2 || p[0] != kPacked || p[1] > kMaxDecimals) {
    throw std::runtime_error("samples of " + std::to_string(size) + " bytes for " + std::to_string(count) +
                             " values, in no layout known");
  }
  const double power = kPowers[p[1]];
  const unsigned char* const end = p + size;
  p += 2;
  const auto damaged = [&] {
    return std::runtime_error("packed samples end before their " + std::to_string(count) + " values");
  };
  std::uint64_t previous = 0;  // unsigned: damaged data wraps instead of overflowing
  for (std::size_t i = 0; i < count; ++i) {
    std::uint64_t t = 0;
    for (int shift = 0;; shift += 7) {
      if (p == end || shift > 63) throw damaged();
      const unsigned char byte = *p++;
      t |= static_cast<std::uint64_t>(byte & 0x7f) << shift;
      if (!(byte & 0x80)) break;
    }
    if (t == 0) {
      values[i] = kFltMax;
    } else if (t == 1) {
      if (end - p < 8) throw damaged();
      values[i] = GetDouble(p);
      p += 8;
    } else {
      previous += static_cast<std::uint64_t>(UnZigZag(t - 2));
      values[i] = static_cast<double>(static_cast<std::int64_t>(previous)) / power;
    }
  }
  if (p != end) throw std::runtime_error("packed samples hold more than their " + std::to_string(count) + " values");
  return values;
}

}  // namespace davodu::welldb
