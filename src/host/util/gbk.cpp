#include "davodu/host/util/gbk.h"

#include <iconv.h>

#include <cerrno>
#include <cstddef>
#include <map>
#include <mutex>

namespace davodu {
namespace {

constexpr std::string_view kReplacementUtf8 = "\xEF\xBF\xBD";  // U+FFFD

bool IsGbkLead(unsigned char c) { return c >= 0x81 && c <= 0xFE; }
bool IsGbkTrail(unsigned char c) { return (c >= 0x40 && c <= 0x7E) || (c >= 0x80 && c <= 0xFE); }

// Length of the UTF-8 sequence at the start of `s` (non-empty). A valid
// sequence reports its length with *valid set; an invalid one reports the
// length of its maximal well-formed prefix (at least 1), so that a truncated
// character is replaced once rather than once per byte.
std::size_t Utf8SequenceLength(std::string_view s, bool* valid) {
  const auto b0 = static_cast<unsigned char>(s[0]);
  *valid = false;
  if (b0 < 0x80) {
    *valid = true;
    return 1;
  }
  std::size_t need = 0;
  unsigned char lo = 0x80, hi = 0xBF;  // allowed range of the second byte
  if (b0 >= 0xC2 && b0 <= 0xDF) {
    need = 1;
  } else if (b0 >= 0xE0 && b0 <= 0xEF) {
    need = 2;
    if (b0 == 0xE0) lo = 0xA0;  // no overlong forms
    if (b0 == 0xED) hi = 0x9F;  // no surrogates
  } else if (b0 >= 0xF0 && b0 <= 0xF4) {
    need = 3;
    if (b0 == 0xF0) lo = 0x90;  // no overlong forms
    if (b0 == 0xF4) hi = 0x8F;  // nothing above U+10FFFF
  } else {
    return 1;
  }
  std::size_t i = 1;
  for (; i <= need; ++i) {
    if (i >= s.size()) return i;
    const auto b = static_cast<unsigned char>(s[i]);
    const unsigned char l = i == 1 ? lo : 0x80;
    const unsigned char h = i == 1 ? hi : 0xBF;
    if (b < l || b > h) return i;
  }
  *valid = true;
  return i;
}

// An iconv descriptor owned by one thread: descriptors carry shift state
// and must not be used by two threads at once, while opening one per call
// costs a module lookup.
class ThreadConverter {
 public:
  ThreadConverter(const char* to, const char* from) : to_(to), from_(from) {}
  ~ThreadConverter() {
    if (cd_ != kInvalid) iconv_close(cd_);
  }
  ThreadConverter(const ThreadConverter&) = delete;
  ThreadConverter& operator=(const ThreadConverter&) = delete;

  // The descriptor reset to its initial state, or kInvalid when the system
  // has no converter for the pair.
  iconv_t Get() {
    if (cd_ == kInvalid && !failed_) {
      cd_ = iconv_open(to_, from_);
      failed_ = cd_ == kInvalid;
    }
    if (cd_ != kInvalid) iconv(cd_, nullptr, nullptr, nullptr, nullptr);
    return cd_;
  }

  static inline const iconv_t kInvalid = reinterpret_cast<iconv_t>(-1);

 private:
  const char* to_;
  const char* from_;
  iconv_t cd_ = kInvalid;
  bool failed_ = false;
};

ThreadConverter& GbkToUtf8Converter() {
  thread_local ThreadConverter converter("UTF-8", "GBK");
  return converter;
}

ThreadConverter& Utf8ToGbkConverter() {
  thread_local ThreadConverter converter("GBK", "UTF-8");
  return converter;
}

ThreadConverter& Gb18030ToUtf8Converter() {
  thread_local ThreadConverter converter("UTF-8", "GB18030");
  return converter;
}

ThreadConverter& Utf8ToGb18030Converter() {
  thread_local ThreadConverter converter("GB18030", "UTF-8");
  return converter;
}

// A GB18030 four-byte code at the start of s: lead, digit, lead, digit.
bool IsFourByteCode(std::string_view s) {
  const auto b = [&](std::size_t i) { return static_cast<unsigned char>(s[i]); };
  return s.size() >= 4 && IsGbkLead(b(0)) && b(1) >= 0x30 && b(1) <= 0x39 && IsGbkLead(b(2)) &&
         b(3) >= 0x30 && b(3) <= 0x39;
}

// Converts one whole character with cd; false when cd cannot.
bool ConvertOne(iconv_t cd, std::string_view in, std::string& out) {
  if (cd == ThreadConverter::kInvalid) return false;
  iconv(cd, nullptr, nullptr, nullptr, nullptr);
  char* src = const_cast<char*>(in.data());
  std::size_t src_left = in.size();
  char buf[16];
  char* dst = buf;
  std::size_t dst_left = sizeof buf;
  if (iconv(cd, &src, &src_left, &dst, &dst_left) == static_cast<std::size_t>(-1) || src_left != 0)
    return false;
  out.append(buf, sizeof buf - dst_left);
  return true;
}

// Converts `in` with `cd`, appending to `out`. Stops at the first byte iconv
// rejects and returns its offset in `in` (in.size() when all was converted).
std::size_t ConvertUntilError(iconv_t cd, std::string_view in, std::string& out) {
  // iconv's interface takes a non-const input pointer but never writes
  // through it.
  char* src = const_cast<char*>(in.data());
  std::size_t src_left = in.size();
  while (src_left > 0) {
    const std::size_t used = out.size();
    const std::size_t room = src_left * 2 + 16;
    out.resize(used + room);
    char* dst = out.data() + used;
    std::size_t dst_left = room;
    const std::size_t rc = iconv(cd, &src, &src_left, &dst, &dst_left);
    const int err = errno;
    out.resize(used + (room - dst_left));
    if (rc != static_cast<std::size_t>(-1)) break;
    if (err != E2BIG) break;  // EILSEQ or EINVAL: a byte the caller handles
  }
  return in.size() - src_left;
}

}  // namespace

std::string GbkToUtf8(std::string_view gbk) {
  std::string out;
  out.reserve(gbk.size() + gbk.size() / 2);
  const iconv_t cd = GbkToUtf8Converter().Get();
  std::size_t pos = 0;
  while (pos < gbk.size()) {
    if (cd != ThreadConverter::kInvalid) {
      pos += ConvertUntilError(cd, gbk.substr(pos), out);
      if (pos >= gbk.size()) break;
    } else if (static_cast<unsigned char>(gbk[pos]) < 0x80) {
      // Without a converter only ASCII can be carried over.
      out.push_back(gbk[pos++]);
      continue;
    }
    // A four-byte code of a character GBK lacks.
    if (IsFourByteCode(gbk.substr(pos)) && ConvertOne(Gb18030ToUtf8Converter().Get(), gbk.substr(pos, 4), out)) {
      pos += 4;
      continue;
    }
    // A rejected character: a lead byte with a proper trail byte is one
    // (unmapped) character; anything else is a single stray byte, so that an
    // ASCII byte after a broken lead byte survives.
    const auto b = static_cast<unsigned char>(gbk[pos]);
    const bool pair = IsGbkLead(b) && pos + 1 < gbk.size() &&
                      IsGbkTrail(static_cast<unsigned char>(gbk[pos + 1]));
    out.append(kReplacementUtf8);
    pos += pair ? 2 : 1;
  }
  return out;
}

std::string Utf8ToGbk(std::string_view utf8) {
  std::string out;
  out.reserve(utf8.size());
  const iconv_t cd = Utf8ToGbkConverter().Get();
  std::size_t pos = 0;
  while (pos < utf8.size()) {
    // Hand iconv only well-formed runs, so that malformed input is judged
    // here by one rule whatever the system converter tolerates.
    std::size_t end = pos;
    bool valid = true;
    std::size_t len = 0;
    while (end < utf8.size()) {
      len = Utf8SequenceLength(utf8.substr(end), &valid);
      if (!valid) break;
      end += len;
    }
    std::string_view run = utf8.substr(pos, end - pos);
    while (!run.empty()) {
      std::size_t done = 0;
      if (cd != ThreadConverter::kInvalid) {
        done = ConvertUntilError(cd, run, out);
      } else {
        while (done < run.size() && static_cast<unsigned char>(run[done]) < 0x80) {
          out.push_back(run[done++]);
        }
      }
      if (done >= run.size()) break;
      // A character GBK has no code for: its GB18030 four-byte code.
      bool ignored = false;
      const std::size_t n = Utf8SequenceLength(run.substr(done), &ignored);
      if (!ConvertOne(Utf8ToGb18030Converter().Get(), run.substr(done, n), out)) out.push_back('?');
      run.remove_prefix(done + n);
    }
    pos = end;
    if (pos < utf8.size()) {
      out.push_back('?');
      pos += len;
    }
  }
  return out;
}

bool IsValidUtf8(std::string_view text) {
  std::size_t pos = 0;
  while (pos < text.size()) {
    bool valid = false;
    pos += Utf8SequenceLength(text.substr(pos), &valid);
    if (!valid) return false;
  }
  return true;
}

const std::string& Gbk(std::string_view utf8_literal) {
  // Never destroyed: the references handed out must outlive every static
  // object that holds one. std::map nodes do not move when others are added.
  static auto* const mutex = new std::mutex;
  static auto* const cache = new std::map<std::string, std::string, std::less<>>;
  std::lock_guard<std::mutex> lock(*mutex);
  auto it = cache->find(utf8_literal);
  if (it == cache->end()) {
    it = cache->emplace(std::string(utf8_literal), Utf8ToGbk(utf8_literal)).first;
  }
  return it->second;
}

std::string TruncateGbk(std::string_view gbk, std::size_t max_bytes) {
  std::size_t end = 0;
  while (end < gbk.size()) {
    const auto lead = static_cast<unsigned char>(gbk[end]);
    const std::size_t len = lead >= 0x81 && lead <= 0xFE && end + 1 < gbk.size() ? 2 : 1;
    if (end + len > max_bytes) break;
    end += len;
  }
  return std::string(gbk.substr(0, end));
}

bool EqualsNoCase(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  std::size_t i = 0;
  while (i < a.size()) {
    const auto ca = static_cast<unsigned char>(a[i]);
    const auto cb = static_cast<unsigned char>(b[i]);
    if (ca >= 0x81) {
      // A two-byte character: its trail byte may fall in the ASCII letter
      // range and must not be folded.
      if (ca != cb) return false;
      if (i + 1 < a.size() && a[i + 1] != b[i + 1]) return false;
      i += 2;
      continue;
    }
    const auto fold = [](unsigned char c) {
      return (c >= 'A' && c <= 'Z') ? static_cast<unsigned char>(c - 'A' + 'a') : c;
    };
    if (fold(ca) != fold(cb)) return false;
    ++i;
  }
  return true;
}

}  // namespace davodu
