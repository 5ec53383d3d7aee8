// Reading LAS files: the public entry points, error reporting, and the
// parser's pass over the sections that puts the pieces together.
#include "davodu/import/las_reader.h"

#include <xxhash.h>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <fstream>
#include <future>
#include <memory>
#include <new>
#include <utility>

#include "davodu/import/detail/las_parse.h"

namespace davodu {
namespace las {

void Fail(int line, std::string message) { throw Failure{line, std::move(message)}; }

// A short, printable quotation of file text for error messages.
std::string Excerpt(std::string_view s) {
  constexpr std::size_t kMax = 40;
  bool cut = false;
  if (s.size() > kMax) {
    std::size_t n = kMax;
    while (n > 0 && (static_cast<unsigned char>(s[n]) & 0xC0) == 0x80) --n;
    s = s.substr(0, n);
    cut = true;
  }
  std::string out = "'";
  for (char c : s) out.push_back(static_cast<unsigned char>(c) < 0x20 ? '?' : c);
  if (cut) out += "...";
  out += "'";
  return out;
}

void LasParser::Parse() {
  if (text_.empty()) Fail(0, "the file is empty");
  ReadSections();
  ApplyVersionSection();
  ApplyWellSection();
  if (!saw_data_) {
    if (version_items_.empty() && well_items_.empty())
      Fail(0, "no ~A section (log data), and no version or well items: not a LAS header");
    // A header without log data: how wells, locations and elevations are
    // delivered. The curves it defines have no values.
    for (const ParsedHeader& header : curve_items_) {
      LasCurve c;
      c.mnemonic = header.item.mnemonic;
      c.unit = header.item.unit;
      c.description = header.item.description;
      file_.curves.push_back(std::move(c));
    }
    NameCurves(&file_.curves);
    return;
  }
  file_.has_data = true;
  if (curve_items_.empty()) DefineCurvesFromData();
  ReadData();
}

void LasParser::ReadSections() {
  LineReader reader(text_);
  std::string_view line;
  Section section = Section::kNone;
  bool any_section = false;
  while (reader.Next(&line)) {
    const std::string_view t = TrimLeft(line);
    if (t.empty() || t[0] == '#') continue;
    const std::size_t offset = reader.start();
    if (t[0] == '~') {
      any_section = true;
      section = ClassifySection(t);
      if (section == Section::kCurve) {
        if (saw_curves_) Fail(LineOf(offset), "a second ~C section: the file holds more than one log");
        saw_curves_ = true;
      } else if (section == Section::kData) {
        if (saw_data_) Fail(LineOf(offset), "a second ~A section: the file holds more than one log");
        saw_data_ = true;
        data_line_ = Trim(t);
        data_line_offset_ = offset;
        // The data lines are read later; here only where they end matters.
        data_begin_ = reader.pos();
        data_end_ = FindSectionLine(data_begin_);
        reader.Seek(data_end_);
      }
      continue;
    }
    switch (section) {
      case Section::kNone:
        Fail(LineOf(offset), "text before the first ~ section: " + Excerpt(t));
      case Section::kVersion:
      case Section::kWell:
      case Section::kCurve:
      case Section::kParameter: {
        ParsedHeader header{offset, {}};
        if (!ParseHeaderLine(t, &header.item)) {
          Fail(LineOf(offset), "expected \"MNEM.UNIT VALUE : DESCRIPTION\", found " + Excerpt(Trim(t)));
        }
        header.item.mnemonic = UpperUtf8(header.item.mnemonic);
        if (section == Section::kVersion) version_items_.push_back(std::move(header));
        if (section == Section::kWell) well_items_.push_back(std::move(header));
        if (section == Section::kParameter) file_.parameter_section.push_back(header.item);
        if (section == Section::kCurve) curve_items_.push_back(std::move(header));
        break;
      }
      case Section::kOther:
        file_.other_section.emplace_back(Trim(t));
        break;
      case Section::kData:
      case Section::kIgnored:
        break;
    }
  }
  if (!any_section) Fail(0, "not a LAS file: no ~ section");
}

std::size_t LasParser::FindSectionLine(std::size_t from) const {
  const std::size_t n = text_.size();
  std::size_t pos = from;
  while (pos < n) {
    const std::size_t end = std::min(n, pos + kReleaseChunk);
    const void* hit = std::memchr(text_.data() + pos, '~', end - pos);
    if (hit == nullptr) {
      releaser_.Release(text_.data() + pos, text_.data() + end);
      pos = end;
      continue;
    }
    const auto tilde = static_cast<std::size_t>(static_cast<const char*>(hit) - text_.data());
    std::size_t start = tilde;
    while (start > from && IsBlank(text_[start - 1]) && text_[start - 1] != '\r') --start;
    if (start == from || text_[start - 1] == '\n' || text_[start - 1] == '\r') return start;
    pos = tilde + 1;
  }
  return n;
}

}  // namespace las

namespace {

using las::DecodeText;
using las::EqualsIgnoreCase;
using las::Failure;
using las::FileMapping;
using las::LasParser;
using las::PageReleaser;
using las::StripBrackets;
using las::Trim;

// The hash of the bytes, taken before they are parsed. A large mapped file
// hands its pages back behind the hash, as the parser does behind itself.
std::string HashOf(std::string_view bytes, const PageReleaser& releaser) {
  constexpr std::size_t kChunk = 8 << 20;
  const bool release = bytes.size() > 4 * kChunk;
  const std::unique_ptr<XXH3_state_t, decltype(&XXH3_freeState)> state(XXH3_createState(), &XXH3_freeState);
  if (!state) throw std::bad_alloc();
  XXH3_128bits_reset(state.get());
  for (std::size_t at = 0; at < bytes.size(); at += kChunk) {
    const std::size_t n = std::min(kChunk, bytes.size() - at);
    XXH3_128bits_update(state.get(), bytes.data() + at, n);
    if (release) releaser.Release(bytes.data() + at, bytes.data() + at + n);
  }
  XXH128_canonical_t canonical;
  XXH128_canonicalFromHash(&canonical, XXH3_128bits_digest(state.get()));
  static const char kHex[] = "0123456789abcdef";
  std::string out = "xxh128:";
  for (const unsigned char byte : canonical.digest) {
    out.push_back(kHex[byte >> 4]);
    out.push_back(kHex[byte & 15]);
  }
  return out;
}

bool Read(std::string_view bytes, const std::string& name, LasFile* out, LasError* error, FileMapping* mapping) {
  try {
    const PageReleaser releaser = mapping != nullptr ? mapping->releaser() : PageReleaser();
    // The hash of a file of a few megabytes is taken on another thread
    // while the header is read; a larger file's is taken first, handing
    // its pages back as it goes.
    constexpr std::size_t kHashBeside = 1 << 20, kHashFirst = 32 << 20;
    std::string hash;
    std::future<std::string> hashing;
    if (bytes.size() >= kHashBeside && bytes.size() <= kHashFirst) {
      hashing = std::async(std::launch::async, [bytes] { return HashOf(bytes, PageReleaser()); });
    } else {
      hash = HashOf(bytes, releaser);
    }
    std::string converted;
    const std::string_view text = DecodeText(bytes, &converted, releaser);
    const bool is_converted = text.data() == converted.data();
    // Converted text no longer needs the file's bytes.
    if (is_converted && mapping != nullptr) {
      if (hashing.valid()) hash = hashing.get();
      mapping->Unmap();
    }
    LasFile file;
    LasParser parser(text, &file, is_converted ? PageReleaser() : releaser);
    parser.Parse();
    file.file_size = static_cast<std::int64_t>(bytes.size());
    file.file_hash = hashing.valid() ? hashing.get() : hash;
    *out = std::move(file);
    return true;
  } catch (const Failure& failure) {
    *error = LasError{name, failure.line, failure.message};
  } catch (const std::bad_alloc&) {
    *error = LasError{name, 0, "not enough memory to read the file"};
  }
  return false;
}

}  // namespace

const std::string& LasFile::index_unit() const {
  static const std::string kNone;
  return curves.empty() ? kNone : curves.front().unit;
}

std::string LasError::ToString() const {
  if (line > 0) return file + ":" + std::to_string(line) + ": " + message;
  return file + ": " + message;
}

bool ReadLas(std::string_view bytes, const std::string& name, LasFile* out, LasError* error) {
  return Read(bytes, name, out, error, nullptr);
}

bool ReadLasFile(const std::string& path, LasFile* out, LasError* error) {
  // A regular file is mapped rather than copied, and read in one pass
  // whose finished pages are handed back as it goes.
  FileMapping mapping;
  if (mapping.MapFile(path)) return Read(mapping.bytes(), path, out, error, &mapping);
  std::ifstream in(path, std::ios::binary);
  if (!in) {
    *error = LasError{path, 0, std::string("cannot open the file: ") + std::strerror(errno)};
    return false;
  }
  std::string bytes;
  in.seekg(0, std::ios::end);
  const std::streamoff size = in.tellg();
  in.seekg(0, std::ios::beg);
  if (size > 0) {
    bytes.resize(static_cast<std::size_t>(size));
    in.read(bytes.data(), size);
    bytes.resize(static_cast<std::size_t>(in.gcount()));
  }
  if (in.bad()) {
    *error = LasError{path, 0, "cannot read the file"};
    return false;
  }
  return ReadLas(bytes, path, out, error);
}

double LasIndexUnitToMetres(std::string_view unit) {
  unit = StripBrackets(Trim(unit));
  static constexpr std::string_view kMetres[] = {"M", "METER", "METERS", "METRE", "METRES", "MTR"};
  static constexpr std::string_view kFeet[] = {"F", "FT", "FEET", "FOOT"};
  static constexpr std::string_view kCyrillicMetres[] = {"м", "М", "метр", "МЕТР", "метер", "МЕТЕР"};
  for (std::string_view m : kMetres) {
    if (EqualsIgnoreCase(unit, m)) return 1.0;
  }
  for (std::string_view m : kCyrillicMetres) {
    if (unit == m) return 1.0;
  }
  for (std::string_view f : kFeet) {
    if (EqualsIgnoreCase(unit, f)) return 0.3048;
  }
  if (EqualsIgnoreCase(unit, ".1IN") || EqualsIgnoreCase(unit, "0.1IN")) return 0.00254;
  return 0.0;
}

}  // namespace davodu
