#include "davodu/host/records/zu_mfile.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <bit>
#include <climits>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <limits>
#include <optional>
#include <random>
#include <string>
#include <variant>
#include <vector>

#include <boost/crc.hpp>

#include "fuzz/zu_mfile_exercise.h"
#include "fuzz/zu_mfile_seeds.h"

#if defined(__SANITIZE_ADDRESS__)
#define DAVODU_TEST_HAVE_ASAN 1
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
#define DAVODU_TEST_HAVE_ASAN 1
#endif
#endif
#ifdef DAVODU_TEST_HAVE_ASAN
// The sanitizer runtime's allocation hooks (GCC's packages lack its header).
extern "C" int __sanitizer_install_malloc_and_free_hooks(void (*malloc_hook)(const volatile void*, std::size_t),
                                                         void (*free_hook)(const volatile void*));
#endif

namespace davodu {
namespace {

using namespace std::string_literals;
using fuzzing::ReadAll;
using fuzzing::ReadResult;

// ---------------------------------------------------------------------------
// Values of every element type, written and read through one interface.

struct Bytes {
  std::string b;
  bool operator==(const Bytes&) const = default;
};
using Value = std::variant<int, unsigned int, short, bool, float, double, std::uint64_t, std::string, std::u16string,
                           Bytes>;
enum Kind : std::size_t { kI, kU, kS, kB, kF, kD, kU64, kT, kW, kBy };

void Add(CZuMFile& f, const Value& v) {
  std::visit(
      [&](const auto& x) {
        using X = std::decay_t<decltype(x)>;
        if constexpr (std::is_same_v<X, Bytes>)
          f.AddRecordElement(static_cast<const void*>(x.b.data()), x.b.size());
        else if constexpr (std::is_same_v<X, std::string>)
          f.AddRecordElement(std::string_view(x));
        else if constexpr (std::is_same_v<X, std::u16string>)
          f.AddRecordElement(std::u16string_view(x));
        else
          f.AddRecordElement(x);
      },
      v);
}

// Equality that tells NaN payloads and the sign of zero apart.
bool SameBits(const Value& a, const Value& b) {
  if (a.index() != b.index()) return false;
  if (const float* x = std::get_if<float>(&a))
    return std::bit_cast<std::uint32_t>(*x) == std::bit_cast<std::uint32_t>(std::get<float>(b));
  if (const double* x = std::get_if<double>(&a))
    return std::bit_cast<std::uint64_t>(*x) == std::bit_cast<std::uint64_t>(std::get<double>(b));
  return a == b;
}

template <typename T>
std::optional<Value> Get(const CZuMFile& f, int index, T sentinel) {
  T v = sentinel;
  if (f.GetRecordElement(index, v)) return Value(std::in_place_type<T>, v);
  EXPECT_TRUE(SameBits(Value(std::in_place_type<T>, v), Value(std::in_place_type<T>, sentinel)))
      << "a failed read of element " << index << " changed the variable";
  return std::nullopt;
}

// Reads element index as `kind`; on failure also checks that the variable
// kept its previous value.
std::optional<Value> ReadAs(const CZuMFile& f, int index, Kind kind) {
  switch (kind) {
    case kI: return Get<int>(f, index, 0x5A5A5A5A);
    case kU: return Get<unsigned int>(f, index, 0xA5A5A5A5u);
    case kS: return Get<short>(f, index, static_cast<short>(12345));
    case kB: return Get<bool>(f, index, true);
    case kF: return Get<float>(f, index, 42.25f);
    case kD: return Get<double>(f, index, -42.125);
    case kU64: return Get<std::uint64_t>(f, index, 0x0123456789ABCDEFull);
    case kT: return Get<std::string>(f, index, std::string("sentinel"));
    case kW: return Get<std::u16string>(f, index, std::u16string(u"sentinel"));
    case kBy: {
      static const unsigned char marker = 0;
      const unsigned char* p = &marker;
      std::size_t n = 777;
      if (f.GetRecordElement(index, p, n)) return Bytes{std::string(reinterpret_cast<const char*>(p), n)};
      EXPECT_TRUE(p == &marker && n == 777) << "a failed read of element " << index << " changed the variables";
      return std::nullopt;
    }
  }
  return std::nullopt;
}

std::string Describe(const Value& v) {
  return std::visit(
      [](const auto& x) -> std::string {
        using X = std::decay_t<decltype(x)>;
        if constexpr (std::is_same_v<X, Bytes>) return "bytes[" + std::to_string(x.b.size()) + "]";
        else if constexpr (std::is_same_v<X, std::string>) return "text[" + std::to_string(x.size()) + "]";
        else if constexpr (std::is_same_v<X, std::u16string>) return "wtext[" + std::to_string(x.size()) + "]";
        else if constexpr (std::is_same_v<X, float>) return "float bits " + std::to_string(std::bit_cast<std::uint32_t>(x));
        else if constexpr (std::is_same_v<X, double>) return "double bits " + std::to_string(std::bit_cast<std::uint64_t>(x));
        else return std::to_string(x);
      },
      v);
}

TEST(ZuMFileTest, RoundTripsEveryElementTypeBitForBit) {
  std::string megabyte(1 << 20, '\0');
  std::mt19937 rng(7);
  for (char& c : megabyte) c = static_cast<char>(rng());
  const std::vector<std::vector<Value>> records = {
      {INT_MIN, INT_MAX, 0, -1},
      {0u, UINT_MAX},
      {static_cast<short>(SHRT_MIN), static_cast<short>(SHRT_MAX)},
      {true, false},
      {std::bit_cast<float>(0x7FC12345u), std::bit_cast<float>(0xFFC00001u), -0.0f,
       std::numeric_limits<float>::denorm_min(), std::numeric_limits<float>::infinity(),
       std::numeric_limits<float>::max()},
      {std::bit_cast<double>(0x7FF8DEADBEEF0001ull), -0.0, std::numeric_limits<double>::denorm_min(),
       -std::numeric_limits<double>::infinity(), std::numeric_limits<double>::lowest()},
      {std::uint64_t{0}, std::numeric_limits<std::uint64_t>::max(), std::uint64_t{1} << 63},
      {std::string(), std::string("\xC9\xEE\xB6\xC8\xB5\xC0"), std::string("a\0b", 3), std::string("\xFF\x80")},
      {std::u16string(), std::u16string(u"GR\u00B5"), std::u16string(1, u'\xD800'), std::u16string(u"\U0001F600")},
      {Bytes{}, Bytes{std::string("\0\0x\0", 4)}, Bytes{megabyte}},
      {},  // a record without elements
  };
  CZuMFile w;
  w.OpenWrite();
  for (std::size_t r = 0; r < records.size(); ++r) {
    w.SetRecordNumber(static_cast<unsigned short>(100 + r));
    for (const Value& v : records[r]) Add(w, v);
    ASSERT_EQ(w.WriteNextRecord(), 1);
  }

  CZuMFile f;
  ASSERT_TRUE(f.OpenRead(w.GetData()));
  for (std::size_t r = 0; r < records.size(); ++r) {
    ASSERT_EQ(f.ReadNextRecord(), 1) << f.GetDamage();
    EXPECT_EQ(f.GetRecordNumber(), 100 + r);
    ASSERT_EQ(f.GetRecordElementCount(), static_cast<int>(records[r].size()));
    for (std::size_t i = 0; i < records[r].size(); ++i) {
      const Value& expected = records[r][i];
      const int index = static_cast<int>(i);
      EXPECT_EQ(static_cast<std::size_t>(f.GetRecordElementType(index)), expected.index() + 1);
      const std::optional<Value> got = ReadAs(f, index, static_cast<Kind>(expected.index()));
      ASSERT_TRUE(got.has_value()) << "record " << r << " element " << i;
      EXPECT_TRUE(SameBits(*got, expected))
          << "record " << r << " element " << i << ": wrote " << Describe(expected) << ", read " << Describe(*got);
    }
  }
  EXPECT_EQ(f.ReadNextRecord(), 0);
  EXPECT_FALSE(f.IsDamaged()) << f.GetDamage();
}

TEST(ZuMFileTest, ConvertsOnlyWhereTheValueFits) {
  const std::vector<Value> elements = {
      -5,                               // 0
      70000,                            // 1
      UINT_MAX,                         // 2
      std::uint64_t{1} << 40,           // 3
      std::uint64_t{7},                 // 4
      static_cast<short>(-2),           // 5
      true,                             // 6
      1,                                // 7
      0,                                // 8
      1.5f,                             // 9
      0.1,                              // 10
      1e300,                            // 11
      std::string("12"),                // 12
      std::u16string(u"x"),             // 13
      Bytes{"ab"},                      // 14
      std::numeric_limits<double>::infinity(),  // 15
  };
  CZuMFile w;
  w.OpenWrite();
  w.SetRecordNumber(1);
  for (const Value& v : elements) Add(w, v);
  ASSERT_EQ(w.WriteNextRecord(), 1);
  CZuMFile f;
  ASSERT_TRUE(f.OpenRead(w.GetData()));
  ASSERT_EQ(f.ReadNextRecord(), 1);

  struct Row {
    int index;
    Kind as;
    std::optional<Value> expected;  // nullopt: the read fails
  };
  const std::optional<Value> fails;
  const Row rows[] = {
      {0, kI, -5},          {0, kS, static_cast<short>(-5)},
      {0, kU, fails},       {0, kU64, fails},
      {0, kB, fails},       {0, kD, fails},
      {0, kT, fails},       {1, kU, 70000u},
      {1, kS, fails},       {2, kI, fails},
      {2, kU64, std::uint64_t{UINT_MAX}},
      {3, kI, fails},       {3, kU, fails},
      {4, kI, 7},           {4, kS, static_cast<short>(7)},
      {4, kB, fails},       {5, kI, -2},
      {5, kU, fails},       {6, kI, 1},
      {6, kU64, std::uint64_t{1}},
      {6, kF, fails},       {7, kB, true},
      {8, kB, false},       {9, kD, 1.5},
      {9, kI, fails},       {10, kF, 0.1f},
      {10, kI, fails},      {11, kF, fails},
      {11, kD, 1e300},      {15, kF, std::numeric_limits<float>::infinity()},
      {12, kI, fails},      {12, kW, fails},
      {12, kBy, fails},     {12, kT, std::string("12")},
      {13, kT, fails},      {13, kW, std::u16string(u"x")},
      {14, kT, fails},      {14, kBy, Bytes{"ab"}},
      {16, kI, fails},      {16, kT, fails},
      {-1, kI, fails},      {-1, kBy, fails},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE("element " + std::to_string(row.index) + " as kind " + std::to_string(row.as));
    const std::optional<Value> got = ReadAs(f, row.index, row.as);
    ASSERT_EQ(got.has_value(), row.expected.has_value());
    if (got) {
      EXPECT_TRUE(SameBits(*got, *row.expected)) << Describe(*got);
    }
  }
  EXPECT_EQ(f.GetRecordElementType(16), 0);
  EXPECT_EQ(f.GetRecordElementType(-1), 0);
}

TEST(ZuMFileTest, BuildingARecordFollowsTheWriterContract) {
  CZuMFile w;
  w.SetRecordNumber(1);
  w.AddRecordElement(1);
  EXPECT_EQ(w.WriteNextRecord(), 0) << "writes before OpenWrite";

  w.OpenWrite();
  const std::string empty_file = w.GetData();
  EXPECT_EQ(w.WriteNextRecord(), 0) << "writes a record that was never started";
  w.SetRecordNumber(1);
  w.AddRecordElement(5);
  w.SetRecordNumber(2);  // discards record 1
  w.AddRecordElement(6);
  EXPECT_EQ(w.WriteNextRecord(), 1);
  EXPECT_EQ(w.WriteNextRecord(), 0) << "writes the same record twice";

  // The element count is a u16: one element more spoils the record.
  w.SetRecordNumber(3);
  for (int i = 0; i < 0xFFFF; ++i) w.AddRecordElement(false);
  EXPECT_EQ(w.WriteNextRecord(), 1);
  const std::string before = w.GetData();
  w.SetRecordNumber(4);
  for (int i = 0; i < 0x10000; ++i) w.AddRecordElement(false);
  EXPECT_EQ(w.WriteNextRecord(), 0);
  EXPECT_EQ(w.GetData(), before);

  CZuMFile f;
  ASSERT_TRUE(f.OpenRead(w.GetData()));
  ASSERT_EQ(f.ReadNextRecord(), 1);
  EXPECT_EQ(f.GetRecordNumber(), 2);
  ASSERT_EQ(f.GetRecordElementCount(), 1);
  int v = 0;
  EXPECT_TRUE(f.GetRecordElement(0, v));
  EXPECT_EQ(v, 6);
  ASSERT_EQ(f.ReadNextRecord(), 1);
  EXPECT_EQ(f.GetRecordNumber(), 3);
  EXPECT_EQ(f.GetRecordElementCount(), 0xFFFF);
  EXPECT_EQ(f.ReadNextRecord(), 0);
  EXPECT_EQ(f.ReadNextRecord(), 0) << "the end stays the end";
  EXPECT_FALSE(f.IsDamaged()) << f.GetDamage();

  ASSERT_TRUE(f.OpenRead(empty_file));
  EXPECT_EQ(f.ReadNextRecord(), 0);
  EXPECT_FALSE(f.IsDamaged());
  EXPECT_EQ(f.GetRecordNumber(), 0);
  EXPECT_EQ(f.GetRecordElementCount(), 0);
}

// ---------------------------------------------------------------------------
// Damage.

// About ten records of assorted elements, with the offset at which each
// record starts and the file size after it.
struct Sample {
  std::string data;
  std::vector<std::size_t> starts, ends;
};

Sample MakeSample() {
  Sample s;
  CZuMFile w;
  w.OpenWrite();
  for (int r = 0; r < 10; ++r) {
    s.starts.push_back(w.GetData().size());
    w.SetRecordNumber(static_cast<unsigned short>(r * 7));
    for (int e = 0; e < r % 4; ++e) {
      w.AddRecordElement(r * 1000 + e);
      w.AddRecordElement(std::string_view("\xC9\xEE\xB6\xC8", r % 5));
      w.AddRecordElement(r * 0.5);
      w.AddRecordElement(std::u16string_view(u"wide", static_cast<std::size_t>(e)));
      const char block[] = {0, 1, 0};
      w.AddRecordElement(block, static_cast<std::size_t>(r % 3));
      w.AddRecordElement(r % 2 == 0);
    }
    w.WriteNextRecord();
    s.ends.push_back(w.GetData().size());
  }
  s.data = w.GetData();
  return s;
}

// The record that contains byte `pos` (pos is past the file header).
std::size_t RecordAt(const Sample& s, std::size_t pos) {
  std::size_t k = 0;
  while (s.ends[k] <= pos) ++k;
  return k;
}

std::vector<std::string> Prefix(const std::vector<std::string>& records, std::size_t n) {
  return {records.begin(), records.begin() + static_cast<std::ptrdiff_t>(std::min(n, records.size()))};
}

TEST(ZuMFileTest, EveryTruncationIsDamageAfterTheRecordsThatAreWhole) {
  const Sample s = MakeSample();
  const ReadResult whole = ReadAll(s.data);
  ASSERT_TRUE(whole.ok && whole.opened && !whole.damaged);
  ASSERT_EQ(whole.records.size(), 10u);
  for (std::size_t n = 0; n < s.data.size(); ++n) {
    SCOPED_TRACE("truncated to " + std::to_string(n) + " bytes");
    const ReadResult r = ReadAll(s.data.substr(0, n));
    EXPECT_TRUE(r.ok);
    ASSERT_TRUE(r.damaged);
    if (n < s.starts[0]) {
      EXPECT_FALSE(r.opened);
      continue;
    }
    ASSERT_TRUE(r.opened);
    const std::size_t whole_records = RecordAt(s, n);  // records ending at or before n
    EXPECT_EQ(r.records, Prefix(whole.records, whole_records));
    EXPECT_EQ(r.damage.rfind(
                  "record " + std::to_string(whole_records) + " at byte " + std::to_string(s.starts[whole_records]) + ": ",
                  0),
              0u)
        << r.damage;
  }
}

TEST(ZuMFileTest, EveryChangedByteIsCaughtAtItsOwnRecord) {
  const Sample s = MakeSample();
  const ReadResult whole = ReadAll(s.data);
  ASSERT_TRUE(whole.ok && whole.opened && !whole.damaged);
  ASSERT_EQ(whole.records.size(), 10u);
  for (unsigned char mask : {0xFF, 0x01, 0x80, 0x20}) {
    for (std::size_t pos = 0; pos < s.data.size(); ++pos) {
      SCOPED_TRACE("byte " + std::to_string(pos) + " xor " + std::to_string(mask));
      std::string data = s.data;
      data[pos] = static_cast<char>(data[pos] ^ mask);
      const ReadResult r = ReadAll(data);
      EXPECT_TRUE(r.ok);
      ASSERT_TRUE(r.damaged);
      if (pos < s.starts[0]) {
        EXPECT_FALSE(r.opened);
        continue;
      }
      const std::size_t k = RecordAt(s, pos);
      EXPECT_EQ(r.records, Prefix(whole.records, k));
      EXPECT_EQ(r.damage.rfind("record " + std::to_string(k) + " at byte " + std::to_string(s.starts[k]) + ": ", 0),
                0u)
          << r.damage;
    }
  }
}

// --- Hand-made files with valid checksums, for the checks behind them.

std::string Le16(std::uint16_t v) { return {static_cast<char>(v & 0xFF), static_cast<char>(v >> 8)}; }
std::string Le32(std::uint32_t v) { return Le16(static_cast<std::uint16_t>(v & 0xFFFF)) + Le16(static_cast<std::uint16_t>(v >> 16)); }

std::string RawHeader(std::uint32_t count, std::uint16_t version = 1, std::uint16_t reserved = 0) {
  std::string h = std::string("DVDUREC\0", 8) + Le16(version) + Le16(reserved) + Le32(count);
  boost::crc_32_type crc;
  crc.process_bytes(h.data(), h.size());
  return h + Le32(crc.checksum());
}

// A record; `stated_length` replaces the true payload length in its header.
std::string RawRecord(std::uint16_t number, const std::string& payload,
                      std::optional<std::uint32_t> stated_length = std::nullopt, bool bad_crc = false) {
  const std::string head = Le16(number) + Le32(stated_length.value_or(static_cast<std::uint32_t>(payload.size())));
  boost::crc_32_type crc;
  crc.process_bytes(head.data(), head.size());
  crc.process_bytes(payload.data(), payload.size());
  return head + Le32(crc.checksum() ^ (bad_crc ? 1u : 0u)) + payload;
}

// Records the largest single heap allocation made while it is alive, where
// the sanitizer runtime can tell (the sanitized test build).
class LargestAllocation {
 public:
  LargestAllocation() {
#ifdef DAVODU_TEST_HAVE_ASAN
    static const int installed = __sanitizer_install_malloc_and_free_hooks(&OnMalloc, &OnFree);
    (void)installed;
#endif
    largest_ = 0;
    active_ = true;
  }
  ~LargestAllocation() { active_ = false; }
  static bool Measured() {
#ifdef DAVODU_TEST_HAVE_ASAN
    return true;
#else
    return false;
#endif
  }
  std::size_t bytes() const { return largest_; }

 private:
  static void OnMalloc(const volatile void*, std::size_t size) {
    if (active_ && size > largest_) largest_ = size;
  }
  static void OnFree(const volatile void*) {}
  static inline std::atomic<bool> active_{false};
  static inline std::atomic<std::size_t> largest_{0};
};

TEST(ZuMFileTest, InconsistentRecordsStopTheReadWithTheirCause) {
  const std::string good = RawRecord(1, Le16(1) + "\x01"s + Le32(5));  // one int
  const std::string int5 = "\x01"s + Le32(5);
  struct Row {
    const char* name;
    std::string bad_record;   // follows one good record
    std::string cause;        // empty: the file is sound
    std::uint32_t declared = 2;
    std::size_t records_read = 1;
  };
  const Row rows[] = {
      {"sound second record", RawRecord(2, Le16(2) + int5 + "\x04\x01"s), ""},
      {"empty payload", RawRecord(2, ""), "payload of 0 bytes has no element count"},
      {"one-byte payload", RawRecord(2, "\x01"s), "payload of 1 bytes has no element count"},
      {"count beyond the payload", RawRecord(2, Le16(3) + "\x04\x01"s), "element count 3 cannot fit"},
      {"65535 elements in four bytes", RawRecord(2, Le16(0xFFFF) + "\x04\x00"s), "element count 65535 cannot fit"},
      {"element missing", RawRecord(2, Le16(2) + int5), "element 1: payload ends before it"},
      {"type tag 0", RawRecord(2, Le16(1) + "\x00\x00"s), "element 0: unknown type tag 0"},
      {"type tag 11", RawRecord(2, Le16(1) + "\x0B\x00"s), "element 0: unknown type tag 11"},
      {"bool 2", RawRecord(2, Le16(1) + "\x04\x02"s), "element 0: bool value 2 is not 0 or 1"},
      {"int cut short", RawRecord(2, Le16(1) + "\x01\x05\x00\x00"s), "element 0 (type 1): needs 4 bytes, 3 left"},
      {"double cut short", RawRecord(2, Le16(1) + "\x06"s + Le32(0) + "\x00"s), "element 0 (type 6): needs 8 bytes, 5 left"},
      {"text length cut off", RawRecord(2, Le16(1) + "\x08\x01\x00"s), "element 0: length field cut off"},
      {"text longer than the payload", RawRecord(2, Le16(1) + "\x08"s + Le32(0xFFFFFFF0) + "ab"),
       "element 0 (type 8): needs 4294967280 bytes, 2 left"},
      // 0x80000000 units are 2^32 bytes: a 32-bit product would be 0.
      {"wide text count that overflows 32 bits", RawRecord(2, Le16(1) + "\x09"s + Le32(0x80000000) + "ab"),
       "element 0 (type 9): needs 4294967296 bytes, 2 left"},
      {"bytes one short", RawRecord(2, Le16(1) + "\x0A"s + Le32(3) + "ab"), "element 0 (type 10): needs 3 bytes, 2 left"},
      {"byte left over", RawRecord(2, Le16(1) + int5 + "\x00"s), "1 bytes left over after the last element"},
      {"checksum", RawRecord(2, Le16(1) + int5, std::nullopt, true), "checksum mismatch"},
      {"length over the limit", RawRecord(2, Le16(0), 0xFFFFFFFFu), "payload length 4294967295 exceeds the limit"},
      {"length one over the limit", RawRecord(2, Le16(0), (256u << 20) + 1), "exceeds the limit of 268435456 bytes"},
      {"length at the limit, past the data", RawRecord(2, Le16(0), 256u << 20),
       "payload length 268435456 runs past the end of the data (2 bytes left)"},
      {"header declares more records", "", "data ends after 1 of the 3 records", 3},
      {"bytes after the last record", "\x00"s, "1 bytes follow the last of the 1 records", 1},
      {"record header cut off", RawRecord(2, Le16(0)).substr(0, 5), "record header cut off (5 of 10 bytes)"},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.name);
    std::string file = RawHeader(row.declared) + good + row.bad_record;
    const std::size_t file_size = file.size();
    CZuMFile f;
    int records = 0;
    {
      LargestAllocation allocation;
      ASSERT_TRUE(f.OpenRead(std::move(file)));
      while (records < 10 && f.ReadNextRecord()) ++records;
      // A damaged length must never turn into an allocation.
      if (LargestAllocation::Measured()) {
        EXPECT_LT(allocation.bytes(), 4096u);
      }
    }
    if (row.cause.empty()) {
      EXPECT_EQ(records, 2);
      EXPECT_FALSE(f.IsDamaged()) << f.GetDamage();
      continue;
    }
    EXPECT_EQ(static_cast<std::size_t>(records), row.records_read);
    EXPECT_TRUE(f.IsDamaged());
    const std::size_t at = 20 + good.size();
    const std::string where = "record 1 at byte " + std::to_string(row.bad_record.empty() ? file_size : at) + ": ";
    EXPECT_EQ(f.GetDamage().rfind(where, 0), 0u) << f.GetDamage();
    EXPECT_NE(f.GetDamage().find(row.cause), std::string::npos) << f.GetDamage();
    EXPECT_EQ(f.GetRecordElementCount(), 0);
    EXPECT_EQ(f.ReadNextRecord(), 0) << "reading goes on after damage";
  }
}

TEST(ZuMFileTest, RejectsFilesWhoseHeaderIsNotOurs) {
  std::string bad_crc = RawHeader(0);
  bad_crc[19] = static_cast<char>(bad_crc[19] ^ 1);
  std::string bad_magic = RawHeader(0);
  bad_magic[0] = 'X';
  const struct {
    const char* name;
    std::string data;
    const char* cause;
  } rows[] = {
      {"empty", "", "too short for a record file header (0 of 20 bytes)"},
      {"one byte short", RawHeader(0).substr(0, 19), "too short for a record file header (19 of 20 bytes)"},
      {"magic", bad_magic, "not a record file"},
      {"header checksum", bad_crc, "header checksum mismatch"},
      {"version 2", RawHeader(0, 2), "unsupported format version 2"},
      {"reserved bytes", RawHeader(0, 1, 1), "reserved header bytes are not zero"},
  };
  for (const auto& row : rows) {
    SCOPED_TRACE(row.name);
    CZuMFile f;
    std::string error;
    EXPECT_FALSE(f.OpenRead(row.data, &error));
    EXPECT_NE(error.find(row.cause), std::string::npos) << error;
    EXPECT_TRUE(f.IsDamaged());
    EXPECT_NE(f.GetDamage().find(row.cause), std::string::npos) << f.GetDamage();
    EXPECT_EQ(f.ReadNextRecord(), 0);
  }
}

TEST(ZuMFileTest, FilesRoundTripAndErrorsNameTheFile) {
  const std::filesystem::path dir = std::filesystem::path(testing::TempDir()) / "zu_mfile_test";
  std::filesystem::remove_all(dir);
  std::filesystem::create_directories(dir);
  const std::string path = (dir / "doc.wpd").string();

  CZuMFile w;
  std::string error;
  EXPECT_FALSE(w.SaveAs(path, &error)) << "saves without OpenWrite";
  w.OpenWrite();
  w.SetRecordNumber(9);
  w.AddRecordElement("\xC9\xEE");
  ASSERT_EQ(w.WriteNextRecord(), 1);
  ASSERT_TRUE(w.SaveAs(path, &error)) << error;
  // Nothing but the file itself: no temporary file is left beside it.
  EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir), std::filesystem::directory_iterator()), 1);

  CZuMFile f;
  ASSERT_TRUE(f.OpenReadFile(path, &error)) << error;
  EXPECT_EQ(f.GetData(), w.GetData());
  ASSERT_EQ(f.ReadNextRecord(), 1);
  EXPECT_EQ(f.GetRecordNumber(), 9);

  const std::string missing = (dir / "missing.wpd").string();
  EXPECT_FALSE(f.OpenReadFile(missing, &error));
  EXPECT_NE(error.find(missing), std::string::npos) << error;
  EXPECT_NE(error.find("No such file or directory"), std::string::npos) << error;
  EXPECT_EQ(f.ReadNextRecord(), 0);

  const std::string not_ours = (dir / "notes.txt").string();
  std::ofstream(not_ours) << "depth,GR\n";
  EXPECT_FALSE(f.OpenReadFile(not_ours, &error));
  EXPECT_NE(error.find(not_ours), std::string::npos) << error;
  EXPECT_NE(error.find("too short"), std::string::npos) << error;

  const std::string unwritable = (dir / "no-such-dir" / "doc.wpd").string();
  EXPECT_FALSE(w.SaveAs(unwritable, &error));
  EXPECT_NE(error.find(unwritable), std::string::npos) << error;
  std::filesystem::remove_all(dir);
}

// ---------------------------------------------------------------------------
// The fuzz corpus: every file in it goes through the fuzzer's reading loop,
// and the seeds must still be what the writer produces.

std::string ReadWholeFile(const std::filesystem::path& path) {
  std::ifstream in(path, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

TEST(ZuMFileCorpusTest, EveryCorpusFileReadsWithinTheContract) {
  const std::filesystem::path dir = std::filesystem::path(DAVODU_SOURCE_DIR) / "fuzz" / "corpus" / "zu_mfile";
  ASSERT_TRUE(std::filesystem::is_directory(dir)) << dir;
  int files = 0;
  for (const auto& entry : std::filesystem::directory_iterator(dir)) {
    if (!entry.is_regular_file()) continue;
    ++files;
    const std::string name = entry.path().filename().string();
    SCOPED_TRACE(name);
    const std::string data = ReadWholeFile(entry.path());
    EXPECT_TRUE(fuzzing::ExerciseRecordFile(reinterpret_cast<const std::uint8_t*>(data.data()), data.size()));
    if (name.rfind("valid-", 0) == 0) {
      const ReadResult r = ReadAll(data);
      EXPECT_TRUE(r.opened && !r.damaged) << r.damage;
    }
  }
  EXPECT_GE(files, 4);
}

TEST(ZuMFileCorpusTest, SeedFilesAreWhatTheWriterProduces) {
  const std::filesystem::path dir = std::filesystem::path(DAVODU_SOURCE_DIR) / "fuzz" / "corpus" / "zu_mfile";
  for (const auto& [name, contents] : fuzzing::MakeSeedFiles()) {
    SCOPED_TRACE(name + " (rewrite the seeds with zu_mfile_seeds when the encoding changes on purpose)");
    ASSERT_TRUE(std::filesystem::exists(dir / name));
    EXPECT_EQ(ReadWholeFile(dir / name), contents);
  }
}

}  // namespace
}  // namespace davodu
