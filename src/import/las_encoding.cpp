// Text decoding of LAS files: detection of UTF-8, UTF-16 and Windows-1252,
// conversion to UTF-8, and the upper case of mnemonics.
#include <algorithm>
#include <cstdint>
#include <cstring>
#include <string>
#include <string_view>

#include "davodu/host/util/gbk.h"
#include "davodu/import/detail/las_parse.h"

namespace davodu::las {

namespace {

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

}  // namespace

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

namespace {

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

}  // namespace

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

}  // namespace davodu::las
