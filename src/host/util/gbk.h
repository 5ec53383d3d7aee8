// Conversion between GBK, the code page of all text inside the module, and
// UTF-8, the code page of terminals, JSON, SQLite and Pango.
//
// A character GBK cannot hold ("ºᶟᵌᴬŃ" in a curve name) is written as its
// four-byte code of GB18030, the standard that extends GBK to all of
// Unicode, so that every text survives the round trip UTF-8 -> GBK -> UTF-8
// and two different names never become the same. Text GBK can hold is
// plain GBK. The four-byte codes (lead byte 0x81-0xFE, then a digit) keep
// ASCII letters out of trail positions, so code that steps over GBK
// characters two bytes at a time stays right.
#ifndef DAVODU_HOST_UTIL_GBK_H_
#define DAVODU_HOST_UTIL_GBK_H_

#include <string>
#include <string_view>

namespace davodu {

// GBK bytes (with GB18030 four-byte codes) to UTF-8. A byte sequence that
// is neither becomes U+FFFD.
std::string GbkToUtf8(std::string_view gbk);
// UTF-8 to GBK; a character GBK cannot hold becomes its GB18030 four-byte
// code, a malformed sequence "?".
std::string Utf8ToGbk(std::string_view utf8);
// True when the bytes are valid UTF-8.
bool IsValidUtf8(std::string_view text);

// The GBK form of a UTF-8 literal of the source code, converted on first use
// and kept for the life of the process. Use it for the system's own texts:
//   title = Gbk("深度道");
const std::string& Gbk(std::string_view utf8_literal);

// The longest head of a GBK text that fits in max_bytes without splitting
// a two-byte character (a lead byte 0x81-0xFE and the byte after it). Used
// wherever a text is cut to fit a fixed field.
std::string TruncateGbk(std::string_view gbk, std::size_t max_bytes);

// Case-insensitive comparison of ASCII letters; other bytes (GBK
// characters) compare exactly.
bool EqualsNoCase(std::string_view a, std::string_view b);

}  // namespace davodu

#endif  // DAVODU_HOST_UTIL_GBK_H_
