// The reading loop shared by the record file fuzzer and the test that
// replays the fuzz corpus: reads every record and every element by its type,
// tries every other getter on it, re-encodes what was read and checks that
// the result reads back the same.
//
// Mutated inputs nearly always fail the record checksum, so each input is
// exercised twice: as it is (the checksum and length checks) and with its
// checksums recomputed (the element parser behind them).
#ifndef DAVODU_FUZZ_ZU_MFILE_EXERCISE_H_
#define DAVODU_FUZZ_ZU_MFILE_EXERCISE_H_

#include <bit>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string>
#include <type_traits>
#include <vector>

#include <boost/crc.hpp>

#include "davodu/host/records/zu_mfile.h"

namespace davodu::fuzzing {

inline std::uint32_t LoadLe32(const std::string& d, std::size_t at) {
  std::uint32_t v = 0;
  for (int i = 3; i >= 0; --i) v = (v << 8) | static_cast<unsigned char>(d[at + static_cast<std::size_t>(i)]);
  return v;
}

inline void StoreLe32(std::string& d, std::size_t at, std::uint32_t v) {
  for (std::size_t i = 0; i < 4; ++i) d[at + i] = static_cast<char>((v >> (8 * i)) & 0xFF);
}

// Recomputes the header checksum and the checksum of every record that the
// record lengths lead to (see docs/record-format.md for the layout).
inline void FixChecksums(std::string& d) {
  if (d.size() < 20) return;
  boost::crc_32_type header_crc;
  header_crc.process_bytes(d.data(), 16);
  StoreLe32(d, 16, header_crc.checksum());
  std::size_t pos = 20;
  while (d.size() - pos >= 10) {
    const std::uint32_t length = LoadLe32(d, pos + 2);
    if (length > d.size() - pos - 10) break;
    boost::crc_32_type crc;
    crc.process_bytes(d.data() + pos, 6);
    crc.process_bytes(d.data() + pos + 10, length);
    StoreLe32(d, pos + 6, crc.checksum());
    pos += 10 + length;
  }
}

// Tries getter T on element i: success must agree with the conversion rules
// and failure must leave the variable untouched. Returns false on a
// violation.
template <typename T>
bool ProbeGetter(const CZuMFile& f, int i, bool expect_possible) {
  T value{};
  std::memset(static_cast<void*>(&value), 0x5A, sizeof value);
  if constexpr (std::is_same_v<T, bool>) value = true;
  T before = value;
  const int ok = f.GetRecordElement(i, value);
  if (ok && !expect_possible) return false;
  if (!ok && std::memcmp(&before, &value, sizeof value) != 0) return false;
  return true;
}

// Reads element i by its own type, appends a description of its exact value
// to *signature and the same element to *writer. False on a violation.
inline bool ReadElement(const CZuMFile& f, int i, std::string* signature, CZuMFile* writer) {
  using T = CZuMFile::ElementType;
  const T type = f.GetRecordElementType(i);
  const bool integer = type == T::kInt || type == T::kUInt || type == T::kShort || type == T::kBool || type == T::kU64;
  const bool real = type == T::kFloat || type == T::kDouble;
  if (!ProbeGetter<int>(f, i, integer) || !ProbeGetter<unsigned int>(f, i, integer) ||
      !ProbeGetter<short>(f, i, integer) || !ProbeGetter<bool>(f, i, integer) ||
      !ProbeGetter<std::uint64_t>(f, i, integer) || !ProbeGetter<float>(f, i, real) ||
      !ProbeGetter<double>(f, i, real))
    return false;
  signature->push_back(static_cast<char>(type));
  auto raw = [&](const auto& v) { signature->append(reinterpret_cast<const char*>(&v), sizeof v); };
  switch (type) {
    case T::kInt: {
      int v = 0;
      if (!f.GetRecordElement(i, v)) return false;
      raw(v);
      writer->AddRecordElement(v);
      return true;
    }
    case T::kUInt: {
      unsigned int v = 0;
      if (!f.GetRecordElement(i, v)) return false;
      raw(v);
      writer->AddRecordElement(v);
      return true;
    }
    case T::kShort: {
      short v = 0;
      if (!f.GetRecordElement(i, v)) return false;
      raw(v);
      writer->AddRecordElement(v);
      return true;
    }
    case T::kBool: {
      bool v = false;
      if (!f.GetRecordElement(i, v)) return false;
      raw(v);
      writer->AddRecordElement(v);
      return true;
    }
    case T::kFloat: {
      float v = 0;
      if (!f.GetRecordElement(i, v)) return false;
      raw(std::bit_cast<std::uint32_t>(v));
      writer->AddRecordElement(v);
      return true;
    }
    case T::kDouble: {
      double v = 0;
      if (!f.GetRecordElement(i, v)) return false;
      raw(std::bit_cast<std::uint64_t>(v));
      writer->AddRecordElement(v);
      return true;
    }
    case T::kU64: {
      std::uint64_t v = 0;
      if (!f.GetRecordElement(i, v)) return false;
      raw(v);
      writer->AddRecordElement(v);
      return true;
    }
    case T::kText: {
      std::string v;
      if (!f.GetRecordElement(i, v)) return false;
      raw(v.size());
      signature->append(v);
      writer->AddRecordElement(std::string_view(v));
      return true;
    }
    case T::kWText: {
      std::u16string v;
      if (!f.GetRecordElement(i, v)) return false;
      raw(v.size());
      signature->append(reinterpret_cast<const char*>(v.data()), 2 * v.size());
      writer->AddRecordElement(std::u16string_view(v));
      return true;
    }
    case T::kBytes: {
      const unsigned char* p = nullptr;
      std::size_t n = 0;
      if (!f.GetRecordElement(i, p, n) || !p) return false;
      raw(n);
      signature->append(reinterpret_cast<const char*>(p), n);
      writer->AddRecordElement(static_cast<const void*>(p), n);
      return true;
    }
  }
  return false;  // the reader indexed an element of no known type
}

struct ReadResult {
  std::vector<std::string> records;  // number + element signatures, in order
  bool opened = false;
  bool damaged = false;
  std::string damage;     // GetDamage() after the last read
  std::string rewritten;  // the records read, encoded again
  bool ok = true;         // no contract violation seen
};

inline ReadResult ReadAll(std::string data) {
  ReadResult r;
  CZuMFile f;
  CZuMFile writer;
  writer.OpenWrite();
  r.opened = f.OpenRead(data);
  // Every record takes at least 12 bytes, so this bound is never the one
  // that ends a read; it only makes the loop visibly finite.
  const std::size_t max_records = data.size() / 12 + 1;
  while (r.records.size() <= max_records && f.ReadNextRecord()) {
    const int n = f.GetRecordElementCount();
    std::string sig(reinterpret_cast<const char*>(&n), sizeof n);
    const unsigned short number = f.GetRecordNumber();
    sig.append(reinterpret_cast<const char*>(&number), sizeof number);
    writer.SetRecordNumber(number);
    for (int i = 0; i < n; ++i)
      if (!ReadElement(f, i, &sig, &writer)) r.ok = false;
    int dummy = 7;
    if (f.GetRecordElementType(n) != 0 || f.GetRecordElementType(-1) != 0 || f.GetRecordElement(n, dummy) ||
        f.GetRecordElement(-1, dummy) || dummy != 7)
      r.ok = false;
    if (!writer.WriteNextRecord()) r.ok = false;
    r.records.push_back(std::move(sig));
  }
  if (r.records.size() > max_records) r.ok = false;
  if (f.ReadNextRecord() != 0 || f.GetRecordElementCount() != 0) r.ok = false;  // the end stays the end
  r.damaged = f.IsDamaged();
  r.damage = f.GetDamage();
  if (r.damaged == f.GetDamage().empty()) r.ok = false;
  if (!r.opened && (!r.damaged || !r.records.empty())) r.ok = false;
  r.rewritten = writer.GetData();
  // The encoding is canonical: a file that reads cleanly is exactly the
  // encoding of its records.
  if (r.opened && !r.damaged && r.rewritten != data) r.ok = false;
  return r;
}

// Exercises one input; returns false when the reader broke its contract.
inline bool ExerciseRecordFile(const std::uint8_t* bytes, std::size_t size) {
  std::string data(reinterpret_cast<const char*>(bytes), size);
  for (int pass = 0; pass < 2; ++pass) {
    if (pass == 1) FixChecksums(data);
    const ReadResult first = ReadAll(data);
    if (!first.ok) return false;
    // What was read, written again, reads back identically and cleanly.
    const ReadResult again = ReadAll(first.rewritten);
    if (!again.ok || !again.opened || again.damaged || again.records != first.records) return false;
  }
  return true;
}

}  // namespace davodu::fuzzing

#endif  // DAVODU_FUZZ_ZU_MFILE_EXERCISE_H_
