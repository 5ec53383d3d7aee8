// The record file: see docs/record-format.md for the byte layout.
//
// All multi-byte values are little-endian and are assembled byte by byte, so
// the files are the same on every host. A reader keeps the whole file in one
// string and never copies a payload: a record is a range of that string and
// its elements are an index of offsets into it, built and checked once by
// ReadNextRecord. Every length read from the file is compared with the bytes
// that are really there before it is used, so a damaged length can neither
// read out of bounds nor make the reader allocate memory.
#include "davodu/host/records/zu_mfile.h"

#include <bit>
#include <cerrno>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <limits>
#include <system_error>
#include <type_traits>
#include <utility>

#include <boost/crc.hpp>

#include "davodu/host/util/atomic_file.h"

namespace davodu {
namespace {

constexpr unsigned char kMagic[8] = {'D', 'V', 'D', 'U', 'R', 'E', 'C', 0};
constexpr std::uint16_t kFormatVersion = 1;

// File header: magic[8], u16 version, u16 reserved (0), u32 record count,
// u32 CRC-32 of the 16 bytes before it.
constexpr std::size_t kHeaderSize = 20;
constexpr std::size_t kHeaderCountOffset = 12;
constexpr std::size_t kHeaderCrcOffset = 16;

// Record header: u16 number, u32 payload length, u32 CRC-32 of number,
// length and payload.
constexpr std::size_t kRecordHeaderSize = 10;

// A payload larger than this is damage, whatever the file size: no document
// record comes near it, and it bounds what one record can cost a reader.
constexpr std::uint32_t kMaxPayload = 256u << 20;
// The element count is a u16.
constexpr std::uint32_t kMaxElements = 0xFFFF;
// The smallest element on disk is a bool: tag + one byte.
constexpr std::uint32_t kMinElementSize = 2;

void PutU16(std::string& out, std::uint16_t v) {
  out.push_back(static_cast<char>(v & 0xFF));
  out.push_back(static_cast<char>(v >> 8));
}

void PutU32(std::string& out, std::uint32_t v) {
  for (int shift = 0; shift < 32; shift += 8) out.push_back(static_cast<char>((v >> shift) & 0xFF));
}

void PutU64(std::string& out, std::uint64_t v) {
  for (int shift = 0; shift < 64; shift += 8) out.push_back(static_cast<char>((v >> shift) & 0xFF));
}

void StoreU32(char* p, std::uint32_t v) {
  for (int i = 0; i < 4; ++i) p[i] = static_cast<char>((v >> (8 * i)) & 0xFF);
}

std::uint16_t LoadU16(const unsigned char* p) {
  return static_cast<std::uint16_t>(p[0] | (p[1] << 8));
}

std::uint32_t LoadU32(const unsigned char* p) {
  return static_cast<std::uint32_t>(p[0]) | (static_cast<std::uint32_t>(p[1]) << 8) |
         (static_cast<std::uint32_t>(p[2]) << 16) | (static_cast<std::uint32_t>(p[3]) << 24);
}

std::uint64_t LoadU64(const unsigned char* p) {
  return static_cast<std::uint64_t>(LoadU32(p)) | (static_cast<std::uint64_t>(LoadU32(p + 4)) << 32);
}

std::uint32_t HeaderCrc(const unsigned char* header) {
  boost::crc_32_type crc;
  crc.process_bytes(header, kHeaderCrcOffset);
  return crc.checksum();
}

// CRC-32 of a record: its first six header bytes (number and length), then
// the payload. The stored checksum itself sits between the two.
std::uint32_t RecordCrc(const unsigned char* record_header, const unsigned char* payload,
                        std::size_t payload_length) {
  boost::crc_32_type crc;
  crc.process_bytes(record_header, 6);
  crc.process_bytes(payload, payload_length);
  return crc.checksum();
}

std::string ErrnoText(int err) { return std::error_code(err, std::generic_category()).message(); }

}  // namespace

class CZuMFile::Impl {
 public:
  enum class Mode { kIdle, kWrite, kRead };

  struct Element {
    std::size_t offset;    // into data_: the value, or the bytes after a u32 length
    std::uint32_t length;  // bytes of the value (for wide text: 2 per unit)
    std::uint8_t type;
  };

  Mode mode = Mode::kIdle;
  std::string data;

  // The record being built.
  bool building = false;
  bool build_failed = false;
  std::uint16_t build_number = 0;
  std::uint32_t build_count = 0;
  std::string build_payload;  // starts with two placeholder bytes for the count
  std::uint32_t records_written = 0;

  // Reading.
  std::size_t pos = 0;
  std::uint32_t declared_records = 0;
  std::uint32_t records_read = 0;
  bool at_end = false;
  bool damaged = false;
  std::string damage;
  std::uint16_t number = 0;
  std::vector<Element> elements;

  void Reset(Mode new_mode) {
    mode = new_mode;
    data.clear();
    building = false;
    build_failed = false;
    build_payload.clear();
    build_payload.shrink_to_fit();
    records_written = 0;
    pos = 0;
    declared_records = 0;
    records_read = 0;
    at_end = false;
    damaged = false;
    damage.clear();
    number = 0;
    elements.clear();
  }

  const unsigned char* Bytes(std::size_t offset) const {
    return reinterpret_cast<const unsigned char*>(data.data()) + offset;
  }

  const Element* At(int index) const {
    if (index < 0 || static_cast<std::size_t>(index) >= elements.size()) return nullptr;
    return &elements[static_cast<std::size_t>(index)];
  }

  // --- Writing.

  void WriteHeader() {
    if (data.size() < kHeaderSize) {
      data.assign(reinterpret_cast<const char*>(kMagic), sizeof kMagic);
      PutU16(data, kFormatVersion);
      PutU16(data, 0);
      PutU32(data, 0);
      PutU32(data, 0);
    }
    StoreU32(data.data() + kHeaderCountOffset, records_written);
    StoreU32(data.data() + kHeaderCrcOffset, HeaderCrc(Bytes(0)));
  }

  // Makes room for one more element of `size` bytes (tag included); false,
  // spoiling the record, when the record would exceed the format's limits.
  bool BeginElement(std::size_t size) {
    if (!building || build_failed) return false;
    if (build_count >= kMaxElements || size > kMaxPayload - build_payload.size()) {
      build_failed = true;
      build_payload.clear();
      return false;
    }
    ++build_count;
    return true;
  }

  void AddSized(ElementType type, const void* bytes, std::size_t length) {
    if (length > kMaxPayload) {
      if (building) build_failed = true;
      return;
    }
    if (!BeginElement(1 + 4 + length)) return;
    build_payload.push_back(static_cast<char>(type));
    PutU32(build_payload, static_cast<std::uint32_t>(length));
    if (length) build_payload.append(static_cast<const char*>(bytes), length);
  }

  // --- Reading.

  bool OpenHeader(std::string* error) {
    const char* cause = nullptr;
    std::string detail;
    if (data.size() < kHeaderSize) {
      detail = "too short for a record file header (" + std::to_string(data.size()) + " of " +
               std::to_string(kHeaderSize) + " bytes)";
    } else if (std::memcmp(Bytes(0), kMagic, sizeof kMagic) != 0) {
      cause = "not a record file (magic bytes differ)";
    } else if (LoadU32(Bytes(kHeaderCrcOffset)) != HeaderCrc(Bytes(0))) {
      cause = "header checksum mismatch";
    } else if (std::uint16_t version = LoadU16(Bytes(8)); version != kFormatVersion) {
      detail = "unsupported format version " + std::to_string(version) + " (this reader reads version " +
               std::to_string(kFormatVersion) + ")";
    } else if (LoadU16(Bytes(10)) != 0) {
      cause = "reserved header bytes are not zero";
    }
    if (cause) detail = cause;
    if (!detail.empty()) {
      // The reader is left empty and marked damaged, so a caller that only
      // looks at IsDamaged after its read loop still notices.
      data.clear();
      damaged = true;
      damage = "header: " + detail;
      if (error) *error = detail;
      return false;
    }
    declared_records = LoadU32(Bytes(kHeaderCountOffset));
    pos = kHeaderSize;
    return true;
  }

  int Fail(std::size_t record_start, const std::string& cause) {
    damaged = true;
    damage = "record " + std::to_string(records_read) + " at byte " + std::to_string(record_start) + ": " + cause;
    elements.clear();
    number = 0;
    return 0;
  }

  // Indexes the elements of the payload at data[start, start + length);
  // returns the cause of the first inconsistency, or an empty string.
  std::string IndexPayload(std::size_t start, std::uint32_t length) {
    elements.clear();
    if (length < 2) return "payload of " + std::to_string(length) + " bytes has no element count";
    const unsigned char* p = Bytes(start);
    const std::uint32_t count = LoadU16(p);
    if (count > (length - 2) / kMinElementSize)
      return "element count " + std::to_string(count) + " cannot fit in a payload of " + std::to_string(length) +
             " bytes";
    elements.reserve(count);
    std::uint32_t off = 2;
    for (std::uint32_t i = 0; i < count; ++i) {
      const std::string where = "element " + std::to_string(i);
      if (off == length) return where + ": payload ends before it";
      const std::uint8_t tag = p[off++];
      std::uint32_t left = length - off;
      std::uint64_t size = 0;  // 64 bits: a wide text count doubled can exceed 32
      switch (tag) {
        case kInt:
        case kUInt:
        case kFloat:
          size = 4;
          break;
        case kShort:
          size = 2;
          break;
        case kBool:
          size = 1;
          break;
        case kDouble:
        case kU64:
          size = 8;
          break;
        case kText:
        case kWText:
        case kBytes: {
          if (left < 4) return where + ": length field cut off by the payload end";
          const std::uint32_t n = LoadU32(p + off);
          off += 4;
          left -= 4;
          size = tag == kWText ? std::uint64_t{n} * 2 : n;
          break;
        }
        default:
          return where + ": unknown type tag " + std::to_string(tag);
      }
      if (size > left)
        return where + " (type " + std::to_string(tag) + "): needs " + std::to_string(size) + " bytes, " +
               std::to_string(left) + " left in the payload";
      if (tag == kBool && p[off] > 1) return where + ": bool value " + std::to_string(p[off]) + " is not 0 or 1";
      elements.push_back(Element{start + off, static_cast<std::uint32_t>(size), tag});
      off += static_cast<std::uint32_t>(size);
    }
    if (off != length) return std::to_string(length - off) + " bytes left over after the last element";
    return {};
  }

  int ReadNext() {
    elements.clear();
    number = 0;
    if (mode != Mode::kRead || damaged || at_end) return 0;
    const std::size_t start = pos;
    const std::size_t left = data.size() - pos;
    if (records_read == declared_records) {
      if (left == 0) {
        at_end = true;
        return 0;
      }
      return Fail(start, std::to_string(left) + " bytes follow the last of the " + std::to_string(declared_records) +
                             " records the header declares");
    }
    if (left == 0)
      return Fail(start, "data ends after " + std::to_string(records_read) + " of the " +
                             std::to_string(declared_records) + " records the header declares");
    if (left < kRecordHeaderSize)
      return Fail(start, "record header cut off (" + std::to_string(left) + " of " +
                             std::to_string(kRecordHeaderSize) + " bytes)");
    const unsigned char* header = Bytes(start);
    const std::uint32_t length = LoadU32(header + 2);
    if (length > kMaxPayload)
      return Fail(start, "payload length " + std::to_string(length) + " exceeds the limit of " +
                             std::to_string(kMaxPayload) + " bytes");
    if (length > left - kRecordHeaderSize)
      return Fail(start, "payload length " + std::to_string(length) + " runs past the end of the data (" +
                             std::to_string(left - kRecordHeaderSize) + " bytes left)");
    const std::size_t payload = start + kRecordHeaderSize;
    if (LoadU32(header + 6) != RecordCrc(header, Bytes(payload), length)) return Fail(start, "checksum mismatch");
    if (std::string cause = IndexPayload(payload, length); !cause.empty()) return Fail(start, cause);
    number = LoadU16(header);
    pos = payload + length;
    ++records_read;
    return 1;
  }

  // Reads an integer-kind element into T when the value fits; bool takes
  // exactly 0 and 1.
  template <typename T>
  int GetInteger(int index, T& value) const {
    const Element* e = At(index);
    if (!e) return 0;
    const unsigned char* p = Bytes(e->offset);
    std::int64_t s = 0;
    std::uint64_t u = 0;
    bool is_u64 = false;
    switch (e->type) {
      case kInt:
        s = static_cast<std::int32_t>(LoadU32(p));
        break;
      case kUInt:
        s = LoadU32(p);
        break;
      case kShort:
        s = static_cast<std::int16_t>(LoadU16(p));
        break;
      case kBool:
        s = p[0];
        break;
      case kU64:
        u = LoadU64(p);
        is_u64 = true;
        break;
      default:
        return 0;
    }
    if constexpr (std::is_same_v<T, bool>) {
      if (is_u64 ? u > 1 : (s < 0 || s > 1)) return 0;
      value = is_u64 ? u == 1 : s == 1;
    } else if (is_u64) {
      if (!std::in_range<T>(u)) return 0;
      value = static_cast<T>(u);
    } else {
      if (!std::in_range<T>(s)) return 0;
      value = static_cast<T>(s);
    }
    return 1;
  }
};

CZuMFile::CZuMFile() : impl_(std::make_unique<Impl>()) {}
CZuMFile::~CZuMFile() = default;

void CZuMFile::OpenWrite() {
  impl_->Reset(Impl::Mode::kWrite);
  impl_->WriteHeader();
}

const std::string& CZuMFile::GetData() const { return impl_->data; }

bool CZuMFile::SaveAs(const std::string& path, std::string* error) const {
  if (impl_->mode != Impl::Mode::kWrite) {
    if (error) *error = "cannot save " + path + ": no record file is being written";
    return false;
  }
  // A crash at any point leaves either the old file or the new one, never
  // a mix (see atomic_file.h).
  return WriteFileAtomically(path, impl_->data, error);
}

bool CZuMFile::OpenRead(std::string data, std::string* error) {
  impl_->Reset(Impl::Mode::kRead);
  impl_->data = std::move(data);
  return impl_->OpenHeader(error);
}

bool CZuMFile::OpenReadFile(const std::string& path, std::string* error) {
  std::FILE* f = std::fopen(path.c_str(), "rb");
  if (!f) {
    const std::string cause = "cannot open " + path + ": " + ErrnoText(errno);
    impl_->Reset(Impl::Mode::kRead);
    impl_->damaged = true;
    impl_->damage = cause;
    if (error) *error = cause;
    return false;
  }
  std::string data;
  char buffer[1 << 16];
  std::size_t n;
  while ((n = std::fread(buffer, 1, sizeof buffer, f)) > 0) data.append(buffer, n);
  const bool read_error = std::ferror(f) != 0;
  const int err = errno;
  std::fclose(f);
  if (read_error) {
    const std::string cause = "cannot read " + path + ": " + ErrnoText(err);
    impl_->Reset(Impl::Mode::kRead);
    impl_->damaged = true;
    impl_->damage = cause;
    if (error) *error = cause;
    return false;
  }
  std::string header_error;
  if (OpenRead(std::move(data), &header_error)) return true;
  if (error) *error = path + ": " + header_error;
  return false;
}

bool CZuMFile::IsDamaged() const { return impl_->damaged; }
const std::string& CZuMFile::GetDamage() const { return impl_->damage; }

void CZuMFile::SetRecordNumber(unsigned short number) {
  Impl& m = *impl_;
  m.building = true;
  m.build_failed = false;
  m.build_number = number;
  m.build_count = 0;
  // A record with one huge element should not pin its memory until the next
  // huge record comes along.
  if (m.build_payload.capacity() > (1u << 20)) {
    m.build_payload.clear();
    m.build_payload.shrink_to_fit();
  }
  m.build_payload.assign(2, '\0');  // the element count, filled in when written
}

void CZuMFile::AddRecordElement(int value) {
  if (!impl_->BeginElement(5)) return;
  impl_->build_payload.push_back(static_cast<char>(kInt));
  PutU32(impl_->build_payload, static_cast<std::uint32_t>(value));
}

void CZuMFile::AddRecordElement(unsigned int value) {
  if (!impl_->BeginElement(5)) return;
  impl_->build_payload.push_back(static_cast<char>(kUInt));
  PutU32(impl_->build_payload, value);
}

void CZuMFile::AddRecordElement(short value) {
  if (!impl_->BeginElement(3)) return;
  impl_->build_payload.push_back(static_cast<char>(kShort));
  PutU16(impl_->build_payload, static_cast<std::uint16_t>(value));
}

void CZuMFile::AddRecordElement(bool value) {
  if (!impl_->BeginElement(2)) return;
  impl_->build_payload.push_back(static_cast<char>(kBool));
  impl_->build_payload.push_back(value ? 1 : 0);
}

void CZuMFile::AddRecordElement(float value) {
  if (!impl_->BeginElement(5)) return;
  impl_->build_payload.push_back(static_cast<char>(kFloat));
  PutU32(impl_->build_payload, std::bit_cast<std::uint32_t>(value));
}

void CZuMFile::AddRecordElement(double value) {
  if (!impl_->BeginElement(9)) return;
  impl_->build_payload.push_back(static_cast<char>(kDouble));
  PutU64(impl_->build_payload, std::bit_cast<std::uint64_t>(value));
}

void CZuMFile::AddRecordElement(std::uint64_t value) {
  if (!impl_->BeginElement(9)) return;
  impl_->build_payload.push_back(static_cast<char>(kU64));
  PutU64(impl_->build_payload, value);
}

void CZuMFile::AddRecordElement(std::string_view text) { impl_->AddSized(kText, text.data(), text.size()); }

void CZuMFile::AddRecordElement(std::u16string_view wide_text) {
  Impl& m = *impl_;
  if (wide_text.size() > kMaxPayload / 2) {
    if (m.building) m.build_failed = true;
    return;
  }
  if (!m.BeginElement(1 + 4 + 2 * wide_text.size())) return;
  m.build_payload.push_back(static_cast<char>(kWText));
  PutU32(m.build_payload, static_cast<std::uint32_t>(wide_text.size()));
  for (char16_t unit : wide_text) PutU16(m.build_payload, static_cast<std::uint16_t>(unit));
}

void CZuMFile::AddRecordElement(const void* data, std::size_t length) {
  if (!data && length) {
    if (impl_->building) impl_->build_failed = true;
    return;
  }
  impl_->AddSized(kBytes, data, length);
}

int CZuMFile::WriteNextRecord() {
  Impl& m = *impl_;
  if (m.mode != Impl::Mode::kWrite || !m.building) return 0;
  m.building = false;
  if (m.build_failed || m.records_written == std::numeric_limits<std::uint32_t>::max()) return 0;
  std::string& payload = m.build_payload;
  payload[0] = static_cast<char>(m.build_count & 0xFF);
  payload[1] = static_cast<char>(m.build_count >> 8);
  std::string header;
  PutU16(header, m.build_number);
  PutU32(header, static_cast<std::uint32_t>(payload.size()));
  PutU32(header, RecordCrc(reinterpret_cast<const unsigned char*>(header.data()),
                           reinterpret_cast<const unsigned char*>(payload.data()), payload.size()));
  m.data.reserve(m.data.size() + header.size() + payload.size());
  m.data += header;
  m.data += payload;
  payload.clear();
  ++m.records_written;
  m.WriteHeader();
  return 1;
}

int CZuMFile::ReadNextRecord() { return impl_->ReadNext(); }

unsigned short CZuMFile::GetRecordNumber() const { return impl_->number; }

int CZuMFile::GetRecordElementCount() const { return static_cast<int>(impl_->elements.size()); }

CZuMFile::ElementType CZuMFile::GetRecordElementType(int index) const {
  const Impl::Element* e = impl_->At(index);
  return static_cast<ElementType>(e ? e->type : 0);
}

int CZuMFile::GetRecordElement(int index, int& value) const { return impl_->GetInteger(index, value); }
int CZuMFile::GetRecordElement(int index, unsigned int& value) const { return impl_->GetInteger(index, value); }
int CZuMFile::GetRecordElement(int index, short& value) const { return impl_->GetInteger(index, value); }
int CZuMFile::GetRecordElement(int index, bool& value) const { return impl_->GetInteger(index, value); }
int CZuMFile::GetRecordElement(int index, std::uint64_t& value) const { return impl_->GetInteger(index, value); }

int CZuMFile::GetRecordElement(int index, float& value) const {
  const Impl::Element* e = impl_->At(index);
  if (!e) return 0;
  const unsigned char* p = impl_->Bytes(e->offset);
  if (e->type == kFloat) {
    value = std::bit_cast<float>(LoadU32(p));
    return 1;
  }
  if (e->type == kDouble) {
    const double d = std::bit_cast<double>(LoadU64(p));
    // A finite double beyond float's range does not fit; infinities and NaN
    // carry over, and anything else is rounded to the nearest float.
    if (std::isfinite(d) && std::fabs(d) > static_cast<double>(std::numeric_limits<float>::max())) return 0;
    value = static_cast<float>(d);
    return 1;
  }
  return 0;
}

int CZuMFile::GetRecordElement(int index, double& value) const {
  const Impl::Element* e = impl_->At(index);
  if (!e) return 0;
  const unsigned char* p = impl_->Bytes(e->offset);
  if (e->type == kDouble) {
    value = std::bit_cast<double>(LoadU64(p));
    return 1;
  }
  if (e->type == kFloat) {
    value = static_cast<double>(std::bit_cast<float>(LoadU32(p)));
    return 1;
  }
  return 0;
}

int CZuMFile::GetRecordElement(int index, std::string& text) const {
  const Impl::Element* e = impl_->At(index);
  if (!e || e->type != kText) return 0;
  text.assign(reinterpret_cast<const char*>(impl_->Bytes(e->offset)), e->length);
  return 1;
}

int CZuMFile::GetRecordElement(int index, std::u16string& wide_text) const {
  const Impl::Element* e = impl_->At(index);
  if (!e || e->type != kWText) return 0;
  const unsigned char* p = impl_->Bytes(e->offset);
  std::u16string units(e->length / 2, u'\0');
  for (std::size_t i = 0; i < units.size(); ++i) units[i] = static_cast<char16_t>(LoadU16(p + 2 * i));
  wide_text = std::move(units);
  return 1;
}

int CZuMFile::GetRecordElement(int index, const unsigned char*& data, std::size_t& length) const {
  const Impl::Element* e = impl_->At(index);
  if (!e || e->type != kBytes) return 0;
  data = impl_->Bytes(e->offset);
  length = e->length;
  return 1;
}

}  // namespace davodu
