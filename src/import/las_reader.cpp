#include "davodu/import/las_reader.h"

#include <fast_float/fast_float.h>

#include <algorithm>
#include <cerrno>
#include <charconv>
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <deque>
#include <fstream>
#include <limits>
#include <new>
#include <set>
#include <unordered_map>
#include <utility>

#include "davodu/host/util/gbk.h"

#if defined(__unix__) || defined(__APPLE__)
#include <fcntl.h>
#include <sys/mman.h>
#include <sys/stat.h>
#include <unistd.h>
#define DAVODU_LAS_MMAP 1
#else
#define DAVODU_LAS_MMAP 0
#endif

namespace davodu {
namespace {

constexpr std::size_t npos = std::string_view::npos;
constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();

// Thrown inside the reader and turned into a LasError by ReadLas.
struct Failure {
  int line;
  std::string message;
};

[[noreturn]] void Fail(int line, std::string message) { throw Failure{line, std::move(message)}; }

// Passes over a large text hand back, every kReleaseChunk bytes, the pages
// they are done with, so that a mapped file is never resident as a whole.
constexpr std::size_t kReleaseChunk = std::size_t{2} << 20;

// The pages of a read-only file mapping. Released pages are read again from
// the file when touched later, so releasing never changes the text. A default
// PageReleaser (text held in memory) releases nothing.
class PageReleaser {
 public:
  PageReleaser() = default;
  PageReleaser(const char* base, std::size_t size) : base_(base), size_(size) {}

  // Releases the whole pages of [from, to) and the page holding `from`.
  void Release(const char* from, const char* to) const {
#if DAVODU_LAS_MMAP
    if (base_ == nullptr || from < base_ || to > base_ + size_) return;
    static const auto page = static_cast<std::uintptr_t>(sysconf(_SC_PAGESIZE));
    const std::uintptr_t begin = reinterpret_cast<std::uintptr_t>(from) / page * page;
    const std::uintptr_t end = reinterpret_cast<std::uintptr_t>(to) / page * page;
    if (begin < end) madvise(reinterpret_cast<void*>(begin), end - begin, MADV_DONTNEED);
#else
    (void)from;
    (void)to;
#endif
  }

 private:
  const char* base_ = nullptr;
  std::size_t size_ = 0;
};

// ---------------------------------------------------------------------------
// Text decoding

void AppendUtf8(std::string* out, char32_t c) {
  if (c < 0x80) {
    out->push_back(static_cast<char>(c));
  } else if (c < 0x800) {
    out->push_back(static_cast<char>(0xC0 | (c >> 6)));
    out->push_back(static_cast<char>(0x80 | (c & 0x3F)));
  } else if (c < 0x10000) {
    out->push_back(static_cast<char>(0xE0 | (c >> 12)));
    out->push_back(static_cast<char>(0x80 | ((c >> 6) & 0x3F)));
    out->push_back(static_cast<char>(0x80 | (c & 0x3F)));
  } else {
    out->push_back(static_cast<char>(0xF0 | (c >> 18)));
    out->push_back(static_cast<char>(0x80 | ((c >> 12) & 0x3F)));
    out->push_back(static_cast<char>(0x80 | ((c >> 6) & 0x3F)));
    out->push_back(static_cast<char>(0x80 | (c & 0x3F)));
  }
}

// Windows-1252 meaning of the bytes 0x80 to 0x9F. The five bytes the code
// page leaves undefined keep their Latin-1 meaning, so that Latin-1 files
// decode the same way.
constexpr char16_t kCp1252High[32] = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021,
    0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0x008D, 0x017D, 0x008F,
    0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,
    0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178};

std::string Cp1252ToUtf8(std::string_view s) {
  std::string out;
  out.reserve(s.size() + s.size() / 8);
  for (char ch : s) {
    const auto b = static_cast<unsigned char>(ch);
    if (b < 0x80) {
      out.push_back(ch);
    } else if (b < 0xA0) {
      AppendUtf8(&out, kCp1252High[b - 0x80]);
    } else {
      AppendUtf8(&out, b);
    }
  }
  return out;
}

std::string Utf16ToUtf8(std::string_view s, bool big_endian) {
  auto unit = [&](std::size_t i) -> char32_t {
    const auto a = static_cast<unsigned char>(s[i]);
    const auto b = static_cast<unsigned char>(s[i + 1]);
    return big_endian ? (char32_t{a} << 8) | b : (char32_t{b} << 8) | a;
  };
  std::string out;
  out.reserve(s.size() / 2);
  std::size_t i = 0;
  while (i + 1 < s.size()) {
    char32_t c = unit(i);
    i += 2;
    if (c >= 0xD800 && c <= 0xDBFF && i + 1 < s.size() && unit(i) >= 0xDC00 && unit(i) <= 0xDFFF) {
      c = 0x10000 + ((c - 0xD800) << 10) + (unit(i) - 0xDC00);
      i += 2;
    } else if (c >= 0xD800 && c <= 0xDFFF) {
      c = 0xFFFD;
    }
    AppendUtf8(&out, c);
  }
  return out;
}

// UTF-16 written without a byte-order mark: text that is mostly ASCII has a
// zero byte in every other position. Returns 1 for little-endian, 2 for
// big-endian, 0 when the bytes do not look like UTF-16.
int GuessUtf16(std::string_view s) {
  const std::size_t pairs = std::min<std::size_t>(s.size() / 2, 4096);
  if (pairs < 4) return 0;
  std::size_t zero_even = 0, zero_odd = 0;
  for (std::size_t k = 0; k < pairs; ++k) {
    zero_even += s[2 * k] == '\0';
    zero_odd += s[2 * k + 1] == '\0';
  }
  if (zero_odd * 10 >= pairs * 7 && zero_even * 20 <= pairs) return 1;
  if (zero_even * 10 >= pairs * 7 && zero_odd * 20 <= pairs) return 2;
  return 0;
}

bool IsAscii(std::string_view s) {
  std::size_t i = 0;
  for (; i + 64 <= s.size(); i += 64) {
    std::uint64_t any = 0;
    for (std::size_t k = 0; k < 64; k += 8) {
      std::uint64_t word;
      std::memcpy(&word, s.data() + i + k, 8);
      any |= word;
    }
    if (any & 0x8080808080808080ull) return false;
  }
  for (; i < s.size(); ++i) {
    if (static_cast<unsigned char>(s[i]) >= 0x80) return false;
  }
  return true;
}

// True when the text is UTF-8 (ASCII included). Checked piece by piece, each
// piece cut before a byte that starts a character.
bool IsUtf8(std::string_view s, const PageReleaser& releaser) {
  std::size_t pos = 0;
  while (pos < s.size()) {
    std::size_t end = std::min(s.size(), pos + kReleaseChunk);
    for (int k = 0; k < 3 && end < s.size() && end > pos + 1 &&
                    (static_cast<unsigned char>(s[end]) & 0xC0) == 0x80;
         ++k) {
      --end;
    }
    const std::string_view piece = s.substr(pos, end - pos);
    if (!IsAscii(piece) && !IsValidUtf8(piece)) return false;
    releaser.Release(piece.data(), piece.data() + piece.size());
    pos = end;
  }
  return true;
}

// The file's bytes as UTF-8: UTF-8 is kept (a byte-order mark dropped),
// UTF-16 is converted, and anything else is taken as Windows-1252, which
// includes Latin-1. Converted text is kept in *storage.
std::string_view DecodeText(std::string_view raw, std::string* storage, const PageReleaser& releaser) {
  if (raw.starts_with("\xEF\xBB\xBF")) {
    raw.remove_prefix(3);
  } else if (raw.starts_with("\xFF\xFE") || raw.starts_with("\xFE\xFF")) {
    *storage = Utf16ToUtf8(raw.substr(2), raw[0] == '\xFE');
    return *storage;
  } else if (const int guess = GuessUtf16(raw)) {
    *storage = Utf16ToUtf8(raw, guess == 2);
    return *storage;
  }
  if (IsUtf8(raw, releaser)) return raw;
  *storage = Cp1252ToUtf8(raw);
  return *storage;
}

// ---------------------------------------------------------------------------
// Small text helpers

bool IsBlank(char c) { return c == ' ' || c == '\t' || c == '\v' || c == '\f' || c == '\r'; }
bool IsDigit(char c) { return c >= '0' && c <= '9'; }

std::string_view TrimLeft(std::string_view s) {
  std::size_t i = 0;
  while (i < s.size() && IsBlank(s[i])) ++i;
  return s.substr(i);
}

std::string_view Trim(std::string_view s) {
  s = TrimLeft(s);
  std::size_t n = s.size();
  while (n > 0 && IsBlank(s[n - 1])) --n;
  return s.substr(0, n);
}

char AsciiUpper(char c) { return c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c; }

std::string AsciiUpper(std::string_view s) {
  std::string out(s);
  for (char& c : out) c = AsciiUpper(c);
  return out;
}

// Upper case of the letters that occur in mnemonics: ASCII, Latin-1,
// Latin Extended-A, Greek and Cyrillic. Other characters are kept.
char32_t UpperCodePoint(char32_t c) {
  if (c >= 'a' && c <= 'z') return c - 0x20;
  if (c < 0x80) return c;
  if ((c >= 0xE0 && c <= 0xFE && c != 0xF7)) return c - 0x20;
  if (c == 0xFF) return 0x178;
  if (c >= 0x100 && c <= 0x17F) {
    if (c == 0x131) return 'I';
    if (c == 0x17F) return 'S';
    const bool odd_is_lower = (c <= 0x137) || (c >= 0x14A && c <= 0x177);
    const bool even_is_lower = (c >= 0x139 && c <= 0x148) || (c >= 0x179 && c <= 0x17E);
    if (odd_is_lower && (c & 1)) return c - 1;
    if (even_is_lower && !(c & 1)) return c - 1;
    return c;
  }
  if (c == 0x3C2) return 0x3A3;
  if (c >= 0x3B1 && c <= 0x3C9) return c - 0x20;
  if (c >= 0x430 && c <= 0x44F) return c - 0x20;
  if (c >= 0x450 && c <= 0x45F) return c - 0x50;
  return c;
}

// Upper case of UTF-8 text (the decoded file is valid UTF-8).
std::string UpperUtf8(std::string_view s) {
  std::string out;
  out.reserve(s.size());
  std::size_t i = 0;
  while (i < s.size()) {
    const auto b0 = static_cast<unsigned char>(s[i]);
    std::size_t len = b0 < 0x80 ? 1 : b0 < 0xE0 ? 2 : b0 < 0xF0 ? 3 : 4;
    if (i + len > s.size() || b0 < 0x80) {
      out.push_back(AsciiUpper(s[i]));
      ++i;
      continue;
    }
    char32_t c = len == 2 ? b0 & 0x1F : len == 3 ? b0 & 0x0F : b0 & 0x07;
    for (std::size_t k = 1; k < len; ++k) c = (c << 6) | (static_cast<unsigned char>(s[i + k]) & 0x3F);
    AppendUtf8(&out, UpperCodePoint(c));
    i += len;
  }
  return out;
}

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

// ---------------------------------------------------------------------------
// Numbers

// Parses a whole field as a number. Accepts a leading '+', and a decimal
// comma ("123,45") in place of the point.
bool ParseNumber(std::string_view s, double* value) {
  if (s.empty()) return false;
  if (s[0] == '+' && s.size() > 1 && s[1] != '-' && s[1] != '+') s.remove_prefix(1);
  const char* first = s.data();
  const char* last = first + s.size();
  auto result = fast_float::from_chars(first, last, *value);
  if (result.ec == std::errc() && result.ptr == last) return true;
  const std::size_t comma = s.find(',');
  if (comma == npos || comma == 0 || comma + 1 >= s.size() || s.find_first_of(",.", comma + 1) != npos ||
      s.find('.') != npos || !IsDigit(s[comma - 1]) || !IsDigit(s[comma + 1]) || s.size() > 64) {
    return false;
  }
  char buffer[64];
  std::memcpy(buffer, s.data(), s.size());
  buffer[comma] = '.';
  result = fast_float::from_chars(buffer, buffer + s.size(), *value);
  return result.ec == std::errc() && result.ptr == buffer + s.size();
}

bool EqualsIgnoreCase(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (std::size_t i = 0; i < a.size(); ++i) {
    if (AsciiUpper(a[i]) != AsciiUpper(b[i])) return false;
  }
  return true;
}

// Texts that stand for a missing number: the way the Microsoft C library
// prints a NaN or an infinity ("-1.#IND0000", "1.#INF", "1.#QNAN").
bool IsMissingMarker(std::string_view s) {
  std::size_t i = 0;
  if (i < s.size() && (s[i] == '-' || s[i] == '+')) ++i;
  const std::size_t digits = i;
  while (i < s.size() && IsDigit(s[i])) ++i;
  if (i == digits || i + 2 >= s.size() || s[i] != '.' || s[i + 1] != '#') return false;
  i += 2;
  std::size_t word = i;
  while (i < s.size() && !IsDigit(s[i])) ++i;
  const std::string_view name = s.substr(word, i - word);
  if (!EqualsIgnoreCase(name, "IND") && !EqualsIgnoreCase(name, "INF") && !EqualsIgnoreCase(name, "QNAN") &&
      !EqualsIgnoreCase(name, "SNAN")) {
    return false;
  }
  while (i < s.size() && IsDigit(s[i])) ++i;
  return i == s.size();
}

std::string NormalizeVersion(std::string_view text) {
  double v = 0;
  if (!ParseNumber(text, &v) || !std::isfinite(v) || v < 0 || v > 100) return std::string(text);
  char buffer[32];
  auto [end, ec] = std::to_chars(buffer, buffer + sizeof buffer, v);
  std::string out(buffer, ec == std::errc() ? end : buffer);
  if (out.find('.') == std::string::npos) out += ".0";
  return out;
}

// ---------------------------------------------------------------------------
// Lines and sections

// Splits text into lines ended by "\n", "\r\n" or a lone "\r".
class LineReader {
 public:
  explicit LineReader(std::string_view text, std::size_t pos = 0) : text_(text), pos_(pos) {}

  bool Next(std::string_view* line) {
    if (pos_ >= text_.size()) return false;
    const std::size_t start = pos_;
    std::size_t i = start;
    const std::size_t n = text_.size();
    while (i < n && text_[i] != '\n' && text_[i] != '\r') ++i;
    *line = text_.substr(start, i - start);
    start_ = start;
    pos_ = i + 1;
    if (i < n && text_[i] == '\r' && pos_ < n && text_[pos_] == '\n') ++pos_;
    return true;
  }
  // Where the line Next returned starts, and where the next one starts.
  std::size_t start() const { return start_; }
  std::size_t pos() const { return std::min(pos_, text_.size()); }
  void Seek(std::size_t pos) { pos_ = pos; }

 private:
  std::string_view text_;
  std::size_t pos_ = 0;
  std::size_t start_ = 0;
};

// Line numbers, counted only for the messages of errors.
class LineIndex {
 public:
  explicit LineIndex(std::string_view text) : text_(text) {}

  // The 1-based number of the line that holds the byte at `offset`.
  int LineOf(std::size_t offset) const {
    int line = 1;
    const std::size_t end = std::min(offset, text_.size());
    for (std::size_t i = 0; i < end; ++i) {
      if (text_[i] == '\n' || (text_[i] == '\r' && (i + 1 >= text_.size() || text_[i + 1] != '\n'))) ++line;
    }
    return line;
  }

 private:
  std::string_view text_;
};

enum class Section { kNone, kVersion, kWell, kCurve, kParameter, kOther, kData, kIgnored };

// The kind of section a "~" line opens. Sections are known by the first
// letter of their name; the log data set of version 3.0 is named
// ~Log_Parameter, ~Log_Definition and ~Log_Data, and its other data sets
// (~Core_Definition, ~Tops_Data[1], ...) are skipped.
Section ClassifySection(std::string_view line) {
  std::string_view rest = line.substr(1);
  std::size_t end = 0;
  while (end < rest.size() && !IsBlank(rest[end]) && rest[end] != '|' && rest[end] != ':') ++end;
  const std::string name = AsciiUpper(rest.substr(0, end));
  if (name.empty()) return Section::kIgnored;
  if (name.starts_with("LOG_")) {
    const std::string_view kind = std::string_view(name).substr(4);
    if (kind == "PARAMETER") return Section::kParameter;
    if (kind == "DEFINITION") return Section::kCurve;
    if (kind.starts_with("DATA")) return Section::kData;
    return Section::kIgnored;
  }
  std::string_view base = name;
  if (base.ends_with(']')) {
    const std::size_t open = base.rfind('[');
    if (open != npos) base = base.substr(0, open);
  }
  if (base.ends_with("_DEFINITION") || base.ends_with("_DATA") || base.ends_with("_PARAMETER")) {
    return Section::kIgnored;
  }
  switch (name[0]) {
    case 'V': return Section::kVersion;
    case 'W': return Section::kWell;
    case 'C': return Section::kCurve;
    case 'P': return Section::kParameter;
    case 'O': return Section::kOther;
    case 'A': return Section::kData;
    default: return Section::kIgnored;
  }
}

std::string_view StripBrackets(std::string_view unit) {
  if (unit.size() >= 2 && unit.front() == '[' && unit.back() == ']') return unit.substr(1, unit.size() - 2);
  return unit;
}

// Parses "MNEM.UNIT  VALUE : DESCRIPTION". Returns false for a line that
// has neither a dot nor a colon.
bool ParseHeaderLine(std::string_view line, LasHeaderItem* item) {
  std::string_view s = Trim(line);
  std::size_t dot = s.find('.');
  const std::size_t colon = s.find(':');
  if (dot == npos || (colon != npos && colon < dot)) {
    // "HOLE NUMBER :hole": a name and a text, no unit.
    if (colon == npos) return false;
    item->mnemonic = std::string(Trim(s.substr(0, colon)));
    item->unit.clear();
    item->value.clear();
    item->description = std::string(Trim(s.substr(colon + 1)));
    return true;
  }

  std::size_t mnemonic_end = dot;
  std::size_t unit_start = dot + 1;
  const std::size_t double_dot = s.find("..");
  const std::size_t gap = std::min(s.find("  "), s.find('\t'));
  if (double_dot != npos && double_dot > 0 && double_dot < gap && (colon == npos || double_dot < colon)) {
    // A mnemonic that ends in a dot ("COND." or "I. RES.") is followed by
    // the unit's dot: "Cond..MS/M".
    mnemonic_end = double_dot + 1;
    unit_start = double_dot + 2;
  } else if (dot == 0 && s.size() > 1 && !IsBlank(s[1]) && s[1] != '.') {
    // ".ILM .OHMM": a stray dot before the mnemonic, recognised by the
    // unit's dot after the word. Without it (" .OHMM : ...") the mnemonic
    // is empty.
    std::size_t i = 1;
    while (i < s.size() && !IsBlank(s[i]) && s[i] != '.') ++i;
    std::size_t j = i;
    while (j < s.size() && IsBlank(s[j])) ++j;
    if (j > i && j < s.size() && s[j] == '.') {
      s.remove_prefix(1);
      dot = s.find('.');
      mnemonic_end = dot;
      unit_start = dot + 1;
    }
  }

  std::size_t unit_end = unit_start;
  while (unit_end < s.size() && !IsBlank(s[unit_end])) ++unit_end;
  std::string_view unit = s.substr(unit_start, unit_end - unit_start);
  std::size_t rest_start = unit_end;
  // "DEPT.M:DEPTH" has no space before the colon; a unit such as "hh:mm"
  // keeps its colon when another colon follows on the line.
  if (const std::size_t uc = unit.find(':'); uc != npos && s.find(':', unit_end) == npos) {
    unit = unit.substr(0, uc);
    rest_start = unit_start + uc;
  }
  const std::string_view rest = s.substr(rest_start);

  // The colon between value and description. Values may hold times
  // ("21:30") and texts with colons ("Water depth: 3642 ft :Elevation"):
  // colons between two digits are skipped, and a colon with a blank before
  // it is preferred over one without.
  std::size_t separator = npos;
  std::size_t first_candidate = npos;
  for (std::size_t i = 0; i < rest.size(); ++i) {
    if (rest[i] != ':') continue;
    if (i > 0 && IsDigit(rest[i - 1]) && i + 1 < rest.size() && IsDigit(rest[i + 1])) continue;
    if (first_candidate == npos) first_candidate = i;
    if (i == 0 || IsBlank(rest[i - 1])) {
      separator = i;
      break;
    }
  }
  if (separator == npos) separator = first_candidate;

  item->mnemonic = std::string(Trim(s.substr(0, mnemonic_end)));
  item->unit = std::string(StripBrackets(unit));
  if (separator == npos) {
    item->value = std::string(Trim(rest));
    item->description.clear();
  } else {
    item->value = std::string(Trim(rest.substr(0, separator)));
    item->description = std::string(Trim(rest.substr(separator + 1)));
  }
  return true;
}

// ---------------------------------------------------------------------------
// Data section

enum class Delimiter { kAuto, kBlank, kComma, kTab };

// One value of a data row.
struct Cell {
  std::string_view text;
  double value = 0;
  bool missing = false;  // a value known to be missing (a run-on number)
  bool number = false;   // the text is a number, `value`
};

Cell TextCell(std::string_view text) {
  Cell cell{text};
  cell.number = ParseNumber(text, &cell.value);
  return cell;
}

// True when a data line separates its values with commas. Commas inside
// blank-separated numbers ("123,45  2550,0") are decimal commas.
bool LooksCommaDelimited(std::string_view line, std::size_t curve_count) {
  if (line.find(',') == npos) return false;
  std::size_t tokens = 0;
  std::size_t i = 0;
  while (i < line.size()) {
    while (i < line.size() && IsBlank(line[i])) ++i;
    if (i >= line.size()) break;
    std::size_t j = i;
    while (j < line.size() && !IsBlank(line[j])) ++j;
    const std::string_view token = line.substr(i, j - i);
    ++tokens;
    const std::size_t comma = token.find(',');
    if (comma != npos) {
      if (token.find(',', comma + 1) != npos || token.find('.') != npos || comma == 0 ||
          comma + 1 == token.size() || !IsDigit(token[comma - 1]) || !IsDigit(token[comma + 1])) {
        return true;
      }
    }
    i = j;
  }
  return tokens < 2 && curve_count > 1;
}

// Fixed-width writers let a wide value run into its neighbour:
// "7.330-19508.961" is two numbers, and "7.020101130.188" is two numbers
// whose boundary cannot be told, so both are missing. Splits such values of
// one row; the caller keeps the result only when it gives the row the right
// number of values.
std::vector<Cell> SplitRunOn(const std::vector<Cell>& row) {
  std::vector<Cell> out;
  for (const Cell& cell : row) {
    const std::string_view t = cell.text;
    if (cell.missing || cell.number || t.empty()) {
      out.push_back(cell);
      continue;
    }
    // Pieces split before each minus sign that follows a digit or a point.
    std::vector<std::string_view> pieces;
    std::size_t start = 0;
    for (std::size_t i = 1; i < t.size(); ++i) {
      if (t[i] == '-' && (IsDigit(t[i - 1]) || t[i - 1] == '.')) {
        pieces.push_back(t.substr(start, i - start));
        start = i;
      }
    }
    pieces.push_back(t.substr(start));
    bool all_numbers = pieces.size() > 1;
    double v;
    for (std::string_view p : pieces) all_numbers = all_numbers && ParseNumber(p, &v);
    if (all_numbers) {
      for (std::string_view p : pieces) out.push_back(TextCell(p));
      continue;
    }
    const std::size_t digits_from = t[0] == '-' ? 1 : 0;
    const auto points = static_cast<std::size_t>(std::count(t.begin(), t.end(), '.'));
    const bool digits_and_points =
        t.size() > digits_from &&
        std::all_of(t.begin() + static_cast<std::ptrdiff_t>(digits_from), t.end(),
                    [](char c) { return IsDigit(c) || c == '.'; });
    if (digits_and_points && points >= 2) {
      Cell missing;
      missing.missing = true;
      for (std::size_t k = 0; k < points; ++k) out.push_back(missing);
      continue;
    }
    out.push_back(cell);
  }
  return out;
}

// The rows of the data section [begin, end) of the text, one at a time.
class RowReader {
 public:
  RowReader(std::string_view text, std::size_t begin, std::size_t end, Delimiter delimiter, bool wrapped,
            std::size_t curve_count, const LineIndex& lines, const PageReleaser& releaser)
      : text_(text.substr(0, end)),
        reader_(text_, begin),
        delimiter_(delimiter),
        wrapped_(wrapped),
        curve_count_(curve_count),
        limit_(2 * curve_count + 1000),
        lines_(lines),
        releaser_(releaser),
        released_(begin) {}

  // Reads the next row into cells(); *offset is where its first line starts.
  // Returns false after the last row.
  bool Next(std::size_t* offset) {
    cells_.clear();
    unquoted_.clear();
    std::size_t row_start = 0;
    std::string_view line;
    while (NextLine(&line)) {
      const std::size_t line_start = reader_.start();
      if (wrapped_) {
        // Values of one row flow over several lines; a row is complete when
        // it holds one value per curve.
        if (cells_.empty()) row_start = line_start;
        if (!Split(line, line_start, curve_count_ - cells_.size())) {
          Fail(lines_.LineOf(line_start), "the row that starts on line " + std::to_string(lines_.LineOf(row_start)) +
                                              " has more than " + std::to_string(curve_count_) + " values");
        }
        if (cells_.size() == curve_count_) {
          *offset = row_start;
          return true;
        }
        continue;
      }
      if (!Split(line, line_start, limit_)) {
        Fail(lines_.LineOf(line_start), "expected " + std::to_string(curve_count_) + " values, found more than " +
                                            std::to_string(limit_));
      }
      if (cells_.empty()) continue;
      if (delimiter_ == Delimiter::kBlank && cells_.size() < curve_count_) {
        std::vector<Cell> split = SplitRunOn(cells_);
        if (split.size() == curve_count_) cells_ = std::move(split);
      }
      *offset = line_start;
      return true;
    }
    if (!cells_.empty()) {
      Fail(lines_.LineOf(last_line_), "the data ends inside a row: expected " + std::to_string(curve_count_) +
                                          " values, found " + std::to_string(cells_.size()));
    }
    return false;
  }

  const std::vector<Cell>& cells() const { return cells_; }

 private:
  // The next line that holds data (not blank, not a comment).
  bool NextLine(std::string_view* line) {
    while (reader_.Next(line)) {
      const std::string_view t = TrimLeft(*line);
      if (t.empty() || t[0] == '#') continue;
      last_line_ = reader_.start();
      if (last_line_ - released_ >= kReleaseChunk) {
        releaser_.Release(text_.data() + released_, text_.data() + last_line_);
        released_ = last_line_;
      }
      return true;
    }
    releaser_.Release(text_.data() + released_, text_.data() + text_.size());
    released_ = text_.size();
    return false;
  }

  // Appends the values of one line to cells_, at most `limit` of them;
  // returns false when the line holds more.
  bool Split(std::string_view line, std::size_t line_start, std::size_t limit) {
    return delimiter_ == Delimiter::kBlank
               ? SplitBlank(line, line_start, limit)
               : SplitDelimited(line, line_start, delimiter_ == Delimiter::kTab ? '\t' : ',', limit);
  }

  bool SplitBlank(std::string_view s, std::size_t line_start, std::size_t limit) {
    const char* const begin = s.data();
    const char* const end = begin + s.size();
    std::size_t count = 0;
    const char* p = begin;
    while (true) {
      while (p < end && IsBlank(*p)) ++p;
      if (p >= end) return true;
      if (++count > limit) return false;
      const char c = *p;
      if (c == '"' || c == '\'') {
        const std::size_t i = static_cast<std::size_t>(p - begin);
        const std::size_t close = s.find(c, i + 1);
        if (close == npos) {
          Fail(lines_.LineOf(line_start), "unterminated quoted text " + Excerpt(s.substr(i)));
        }
        cells_.push_back(TextCell(s.substr(i + 1, close - i - 1)));
        p = begin + close + 1;
        if (p < end && !IsBlank(*p)) {
          Fail(lines_.LineOf(line_start), "text after a closing quote " + Excerpt(s.substr(close + 1)));
        }
        continue;
      }
      // Most values are plain numbers: parsed where they stand.
      Cell cell;
      const auto result = fast_float::from_chars(p, end, cell.value);
      if (result.ec == std::errc() && (result.ptr == end || IsBlank(*result.ptr))) {
        cell.text = std::string_view(p, static_cast<std::size_t>(result.ptr - p));
        cell.number = true;
        cells_.push_back(cell);
        p = result.ptr;
        continue;
      }
      const char* q = p;
      while (q < end && !IsBlank(*q)) ++q;
      cells_.push_back(TextCell(std::string_view(p, static_cast<std::size_t>(q - p))));
      p = q;
    }
  }

  bool SplitDelimited(std::string_view line, std::size_t line_start, char delimiter, std::size_t limit) {
    const std::string_view s = Trim(line);
    auto is_pad = [delimiter](char c) { return IsBlank(c) && c != delimiter; };
    std::size_t count = 0;
    std::size_t i = 0;
    while (true) {
      if (++count > limit) return false;
      while (i < s.size() && is_pad(s[i])) ++i;
      if (i < s.size() && s[i] == '"') {
        std::string text;
        std::size_t j = i + 1;
        bool closed = false;
        while (j < s.size()) {
          if (s[j] == '"') {
            if (j + 1 < s.size() && s[j + 1] == '"') {
              text.push_back('"');
              j += 2;
              continue;
            }
            closed = true;
            ++j;
            break;
          }
          text.push_back(s[j++]);
        }
        if (!closed) Fail(lines_.LineOf(line_start), "unterminated quoted text " + Excerpt(s.substr(i)));
        while (j < s.size() && is_pad(s[j])) ++j;
        if (j < s.size() && s[j] != delimiter) {
          Fail(lines_.LineOf(line_start), "text after a closing quote " + Excerpt(s.substr(j)));
        }
        unquoted_.push_back(std::move(text));
        cells_.push_back(TextCell(unquoted_.back()));
        if (j >= s.size()) return true;
        i = j + 1;
        continue;
      }
      const std::size_t end = s.find(delimiter, i);
      cells_.push_back(TextCell(Trim(s.substr(i, (end == npos ? s.size() : end) - i))));
      if (end == npos) return true;
      i = end + 1;
    }
  }

  std::string_view text_;
  LineReader reader_;
  Delimiter delimiter_;
  bool wrapped_;
  std::size_t curve_count_;
  std::size_t limit_;
  const LineIndex& lines_;
  PageReleaser releaser_;
  std::size_t released_;
  std::size_t last_line_ = 0;
  std::vector<Cell> cells_;
  std::deque<std::string> unquoted_;  // quoted texts of the row with their quotes undone
};

struct ParsedHeader {
  std::size_t offset;  // where its line starts
  LasHeaderItem item;
};

// Renames duplicate mnemonics "SFLU:1", "SFLU:2", ... and gives empty ones
// the name "UNKNOWN" (numbered the same way when there are several).
void NameCurves(std::vector<LasCurve>* curves) {
  std::unordered_map<std::string, int> count;
  for (LasCurve& c : *curves) {
    if (c.mnemonic.empty()) c.mnemonic = "UNKNOWN";
    ++count[c.mnemonic];
  }
  std::set<std::string> taken;
  for (const LasCurve& c : *curves) {
    if (count[c.mnemonic] == 1) taken.insert(c.mnemonic);
  }
  std::unordered_map<std::string, int> next;
  for (LasCurve& c : *curves) {
    if (count[c.mnemonic] == 1) continue;
    int& k = next[c.mnemonic];
    std::string name;
    do {
      name = c.mnemonic + ":" + std::to_string(++k);
    } while (taken.count(name) != 0);
    taken.insert(name);
    c.mnemonic = std::move(name);
  }
}

class LasParser {
 public:
  LasParser(std::string_view text, LasFile* out, const PageReleaser& releaser)
      : text_(text), file_(*out), lines_(text), releaser_(releaser) {}

  void Parse() {
    if (text_.empty()) Fail(0, "the file is empty");
    ReadSections();
    ApplyVersionSection();
    ApplyWellSection();
    if (!saw_curves_) Fail(0, "no ~C section (curve definitions)");
    if (!saw_data_) Fail(0, "no ~A section (log data)");
    if (curve_items_.empty()) Fail(LineOf(curve_section_offset_), "the ~C section defines no curves");
    ReadData();
  }

 private:
  int LineOf(std::size_t offset) const { return lines_.LineOf(offset); }

  void ReadSections() {
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
          curve_section_offset_ = offset;
        } else if (section == Section::kData) {
          if (saw_data_) Fail(LineOf(offset), "a second ~A section: the file holds more than one log");
          saw_data_ = true;
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
        case Section::kData:
        case Section::kOther:
        case Section::kIgnored:
          break;
      }
    }
    if (!any_section) Fail(0, "not a LAS file: no ~ section");
  }

  // The start of the first line at or after `from` (a line start) whose
  // first character other than blanks is '~'; the end of the text if none.
  std::size_t FindSectionLine(std::size_t from) const {
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

  void ApplyVersionSection() {
    for (const ParsedHeader& header : version_items_) {
      const LasHeaderItem& item = header.item;
      file_.version_section.push_back(item);
      if (item.mnemonic == "VERS" && file_.version.empty()) {
        file_.version = NormalizeVersion(item.value);
      } else if (item.mnemonic == "WRAP") {
        const std::string v = AsciiUpper(item.value);
        if (v == "YES" || v == "Y" || v == "TRUE") {
          file_.wrapped = true;
        } else if (v == "NO" || v == "N" || v == "FALSE") {
          file_.wrapped = false;
        } else {
          Fail(LineOf(header.offset), "WRAP must be YES or NO, found " + Excerpt(item.value));
        }
      } else if (item.mnemonic == "DLM") {
        const std::string v = AsciiUpper(item.value);
        if (v == "SPACE" || v.empty()) {
          delimiter_ = Delimiter::kBlank;
        } else if (v == "TAB") {
          delimiter_ = Delimiter::kTab;
        } else if (v == "COMMA") {
          delimiter_ = Delimiter::kComma;
        } else {
          Fail(LineOf(header.offset), "DLM must be SPACE, TAB or COMMA, found " + Excerpt(item.value));
        }
      }
    }
    double v = 0;
    major_version_ = ParseNumber(file_.version, &v) && v >= 1 && v < 2 ? 1 : 2;
  }

  void ApplyWellSection() {
    bool have_well = false;
    for (ParsedHeader& header : well_items_) {
      LasHeaderItem& item = header.item;
      const std::string& m = item.mnemonic;
      const bool range_item = m == "STRT" || m == "STOP" || m == "STEP" || m == "NULL";
      // Version 1.2 writes the well items as "MNEM.UNIT DESCRIPTION : VALUE".
      if (major_version_ == 1 && !range_item) std::swap(item.value, item.description);
      if (m == "NULL" && !file_.has_null) {
        double v = 0;
        if (ParseNumber(item.value, &v) && std::isfinite(v)) {
          file_.null_value = v;
          file_.has_null = true;
        }
      }
      if (m == "WELL" && !have_well) {
        file_.well_name = item.value;
        have_well = true;
      }
      file_.well_section.push_back(std::move(item));
    }
  }

  // The first data line, empty when there is none.
  std::string_view FirstDataLine() const {
    LineReader reader(text_.substr(0, data_end_), data_begin_);
    std::string_view line;
    while (reader.Next(&line)) {
      const std::string_view t = TrimLeft(line);
      if (!t.empty() && t[0] != '#') return line;
    }
    return {};
  }

  // Reads the values straight into one vector per column. What makes the
  // data unreadable is noted on the way and reported at the end, in the
  // order: rows of the wrong length first, then a bad index value.
  void ReadData() {
    const std::size_t curve_count = curve_items_.size();
    const std::string_view first_line = FirstDataLine();
    if (delimiter_ == Delimiter::kAuto) {
      delimiter_ = !first_line.empty() && LooksCommaDelimited(first_line, curve_count) ? Delimiter::kComma
                                                                                        : Delimiter::kBlank;
    }
    // Room for the rows the data would hold if they were all as long as the
    // first line; a vector that turns out too big is trimmed at the end.
    const std::size_t data_bytes = data_end_ - data_begin_;
    const std::size_t expected_rows =
        std::min(data_bytes / (first_line.size() + 1), data_bytes / curve_count) + 16;

    std::vector<std::vector<double>> values;
    std::vector<char> is_text;
    const double null_value = file_.null_value;
    const bool has_null = file_.has_null;
    std::size_t rows = 0;
    std::size_t total_cells = 0;
    std::size_t first_width = 0;
    std::size_t first_row = 0;
    bool any_full_row = false;
    std::size_t not_full_row = npos, not_full_width = 0;    // the first row that is not full
    std::size_t not_first_row = npos, not_first_width = 0;  // the first row unlike the first
    std::size_t bad_index_row = npos;
    std::string bad_index;

    RowReader reader(text_, data_begin_, data_end_, delimiter_, file_.wrapped, curve_count, lines_, releaser_);
    std::size_t row_start = 0;
    while (reader.Next(&row_start)) {
      const std::vector<Cell>& cells = reader.cells();
      const std::size_t n = cells.size();
      if (rows == 0) {
        first_width = n;
        first_row = row_start;
      } else if (n != first_width && not_first_row == npos) {
        not_first_row = row_start;
        not_first_width = n;
      }
      if (n == curve_count) {
        any_full_row = true;
      } else if (not_full_row == npos) {
        not_full_row = row_start;
        not_full_width = n;
      }
      ++rows;
      total_cells += n;
      if (n > values.size()) {
        // Columns that appear after the first row make the data unreadable:
        // they need no room.
        const std::size_t reserve = rows == 1 ? expected_rows : 0;
        for (std::size_t j = values.size(); j < n; ++j) {
          values.emplace_back().reserve(reserve);
          is_text.push_back(0);
        }
      }
      // The index is never missing: a depth that equals the NULL value is
      // still a depth.
      const Cell& index = cells[0];
      if ((!index.number || !std::isfinite(index.value)) && bad_index_row == npos) {
        bad_index_row = row_start;
        bad_index = Excerpt(index.text);
      }
      values[0].push_back(index.value);
      for (std::size_t j = 1; j < n; ++j) {
        if (is_text[j]) continue;
        const Cell& cell = cells[j];
        const double v = cell.value;
        if (cell.number) {
          values[j].push_back(!std::isfinite(v) || (has_null && v == null_value) ? kNaN : v);
        } else if (cell.missing || cell.text.empty() || IsMissingMarker(cell.text)) {
          values[j].push_back(kNaN);
        } else {
          // A value that is not a number makes the whole column a text
          // column; its texts are read again at the end.
          is_text[j] = 1;
          std::vector<double>().swap(values[j]);
        }
      }
    }

    // Rows that all hold the same number of values other than the number
    // of curves: the trailing curves have no data, or the trailing columns
    // no definition.
    const std::size_t width = any_full_row || rows == 0 ? curve_count : first_width;
    // Curves without data are filled with missing values; they must not
    // swell a file of a few columns into a huge table.
    const bool too_few_columns =
        width < curve_count && (curve_count - width) * rows > 16 * (total_cells + 1024);
    if (too_few_columns) {
      Fail(LineOf(first_row), "expected " + std::to_string(width) + " values, found " + std::to_string(first_width));
    }
    if (any_full_row && not_full_row != npos) {
      Fail(LineOf(not_full_row),
           "expected " + std::to_string(width) + " values, found " + std::to_string(not_full_width));
    }
    if (!any_full_row && not_first_row != npos) {
      Fail(LineOf(not_first_row),
           "expected " + std::to_string(width) + " values, found " + std::to_string(not_first_width));
    }
    if (bad_index_row != npos) Fail(LineOf(bad_index_row), "the index value " + bad_index + " is not a number");

    const std::size_t columns = std::max(width, curve_count);
    if (values.size() < columns) {  // no rows
      values.resize(columns);
      is_text.resize(columns, 0);
    }
    file_.curves.resize(columns);
    for (std::size_t j = 0; j < curve_count; ++j) {
      LasCurve& c = file_.curves[j];
      c.mnemonic = curve_items_[j].item.mnemonic;
      c.unit = curve_items_[j].item.unit;
      c.description = curve_items_[j].item.description;
    }
    bool any_text = false;
    for (std::size_t j = 0; j < columns; ++j) {
      LasCurve& c = file_.curves[j];
      if (j >= width) {
        c.values.assign(rows, kNaN);
        continue;
      }
      if (is_text[j]) {
        c.is_text = true;
        c.texts.reserve(rows);
        any_text = true;
        continue;
      }
      c.values = std::move(values[j]);
      if (c.values.capacity() - c.values.size() > c.values.size() / 8) c.values.shrink_to_fit();
    }
    if (any_text) {
      RowReader again(text_, data_begin_, data_end_, delimiter_, file_.wrapped, curve_count, lines_, releaser_);
      while (again.Next(&row_start)) {
        const std::vector<Cell>& cells = again.cells();
        for (std::size_t j = 1; j < width; ++j) {
          if (is_text[j]) file_.curves[j].texts.emplace_back(cells[j].text);
        }
      }
    }
    NameCurves(&file_.curves);
  }

  std::string_view text_;
  LasFile& file_;
  LineIndex lines_;
  PageReleaser releaser_;
  bool saw_curves_ = false;
  bool saw_data_ = false;
  std::size_t curve_section_offset_ = 0;
  std::size_t data_begin_ = 0;
  std::size_t data_end_ = 0;
  int major_version_ = 2;
  Delimiter delimiter_ = Delimiter::kAuto;
  std::vector<ParsedHeader> version_items_;
  std::vector<ParsedHeader> well_items_;
  std::vector<ParsedHeader> curve_items_;
};

// A read-only mapping of a whole file.
class FileMapping {
 public:
  FileMapping() = default;
  FileMapping(const FileMapping&) = delete;
  FileMapping& operator=(const FileMapping&) = delete;
  ~FileMapping() { Unmap(); }

#if DAVODU_LAS_MMAP
  bool Map(int fd, std::size_t size) {
    void* p = mmap(nullptr, size, PROT_READ, MAP_PRIVATE, fd, 0);
    if (p == MAP_FAILED) return false;
    madvise(p, size, MADV_SEQUENTIAL);
    data_ = static_cast<const char*>(p);
    size_ = size;
    return true;
  }
  void Unmap() {
    if (data_ != nullptr) munmap(const_cast<char*>(data_), size_);
    data_ = nullptr;
    size_ = 0;
  }
#else
  void Unmap() {}
#endif
  std::string_view bytes() const { return {data_, size_}; }
  PageReleaser releaser() const { return {data_, size_}; }

 private:
  const char* data_ = nullptr;
  std::size_t size_ = 0;
};

bool Read(std::string_view bytes, const std::string& name, LasFile* out, LasError* error, FileMapping* mapping) {
  try {
    const PageReleaser releaser = mapping != nullptr ? mapping->releaser() : PageReleaser();
    std::string converted;
    const std::string_view text = DecodeText(bytes, &converted, releaser);
    const bool is_converted = text.data() == converted.data();
    // Converted text no longer needs the file's bytes.
    if (is_converted && mapping != nullptr) mapping->Unmap();
    LasFile file;
    LasParser parser(text, &file, is_converted ? PageReleaser() : releaser);
    parser.Parse();
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
#if DAVODU_LAS_MMAP
  // A regular file is mapped rather than copied, and read in one pass
  // whose finished pages are handed back as it goes.
  const int fd = open(path.c_str(), O_RDONLY | O_CLOEXEC);
  if (fd >= 0) {
    struct stat info {};
    FileMapping mapping;
    const bool mapped = fstat(fd, &info) == 0 && S_ISREG(info.st_mode) && info.st_size > 0 &&
                        mapping.Map(fd, static_cast<std::size_t>(info.st_size));
    close(fd);
    if (mapped) return Read(mapping.bytes(), path, out, error, &mapping);
  }
#endif
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
