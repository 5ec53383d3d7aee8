#include "davodu/host/util/util.h"

#include <fast_float/fast_float.h>
#include <pwd.h>
#include <unistd.h>

#include <atomic>
#include <charconv>
#include <chrono>
#include <climits>
#include <clocale>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <limits>
#include <system_error>

namespace davodu {
namespace {

// Length of the GBK character starting at text[i]: a byte of 0x81 and above
// leads a two-byte character (whose trail byte may look like ASCII).
std::size_t GbkCharLength(std::string_view text, std::size_t i) {
  return static_cast<unsigned char>(text[i]) >= 0x81 && i + 1 < text.size() ? 2 : 1;
}

bool IsBlank(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n'; }

// Writes the digits and decimal exponent of a shortest round-trip form
// ("-1.2345e+03") out in plain positional notation ("-1234.5").
std::string ScientificToPlain(std::string_view sci) {
  std::string out;
  if (!sci.empty() && sci.front() == '-') {
    out.push_back('-');
    sci.remove_prefix(1);
  }
  const std::size_t e = sci.find('e');
  std::string digits;
  for (char c : sci.substr(0, e)) {
    if (c != '.') digits.push_back(c);
  }
  int exponent = 0;
  if (e != std::string_view::npos) {
    std::string_view exp_text = sci.substr(e + 1);
    if (!exp_text.empty() && exp_text.front() == '+') exp_text.remove_prefix(1);
    std::from_chars(exp_text.data(), exp_text.data() + exp_text.size(), exponent);
  }
  // The value is 0.<digits> * 10^point.
  const int point = exponent + 1;
  const int count = static_cast<int>(digits.size());
  if (point <= 0) {
    out += "0.";
    out.append(static_cast<std::size_t>(-point), '0');
    out += digits;
  } else if (point >= count) {
    out += digits;
    out.append(static_cast<std::size_t>(point - count), '0');
  } else {
    out.append(digits, 0, static_cast<std::size_t>(point));
    out.push_back('.');
    out.append(digits, static_cast<std::size_t>(point));
  }
  return out;
}

template <typename T>
std::string ShortestPlain(T value) {
  char buf[64];
  const auto r = std::to_chars(buf, buf + sizeof buf, value, std::chars_format::scientific);
  return ScientificToPlain(std::string_view(buf, static_cast<std::size_t>(r.ptr - buf)));
}

// One printf conversion for a double, checked character by character:
// %[flags][width][.precision][l](f|F|e|E|g|G). Width and precision are
// limited to three digits, so the output stays small.
struct Conversion {
  std::string directive;  // "%...f", passed to snprintf
  std::string prefix;     // literal text before it, "%%" already undone
  std::string suffix;     // literal text after it
};

bool ParseFloatFormat(const std::string& format, Conversion* conv) {
  bool found = false;
  std::string* literal = &conv->prefix;
  std::size_t i = 0;
  const std::size_t n = format.size();
  while (i < n) {
    const char c = format[i];
    if (c == '\0') return false;  // snprintf would stop there
    if (c != '%') {
      literal->push_back(c);
      ++i;
      continue;
    }
    if (i + 1 < n && format[i + 1] == '%') {
      literal->push_back('%');
      i += 2;
      continue;
    }
    if (found) return false;  // a second conversion
    const std::size_t start = i++;
    while (i < n && (format[i] == '-' || format[i] == '+' || format[i] == ' ' ||
                     format[i] == '#' || format[i] == '0')) {
      ++i;
    }
    std::size_t digits = 0;
    while (i < n && format[i] >= '0' && format[i] <= '9') ++i, ++digits;
    if (digits > 3) return false;
    if (i < n && format[i] == '.') {
      ++i;
      digits = 0;
      while (i < n && format[i] >= '0' && format[i] <= '9') ++i, ++digits;
      if (digits > 3) return false;
    }
    if (i < n && format[i] == 'l') ++i;  // "%lf" means the same as "%f"
    if (i >= n) return false;
    switch (format[i]) {
      case 'f': case 'F': case 'e': case 'E': case 'g': case 'G':
        break;
      default:
        return false;
    }
    ++i;
    conv->directive.assign(format, start, i - start);
    found = true;
    literal = &conv->suffix;
  }
  return found;
}

// Numbers are written for files and documents, so the decimal separator is
// always '.', whatever locale the process runs under.
void UseDotDecimal(std::string& text) {
  const char* point = std::localeconv()->decimal_point;
  if (point == nullptr || point[0] == '\0' || std::string_view(point) == ".") return;
  const std::string_view sep(point);
  const std::size_t at = text.find(sep);
  if (at != std::string::npos) text = text.substr(0, at) + '.' + text.substr(at + sep.size());
}

}  // namespace

std::uint64_t AfxGetTimeStamp() {
  static std::atomic<std::uint64_t> last{0};
  const auto now = static_cast<std::uint64_t>(
      std::chrono::duration_cast<std::chrono::microseconds>(
          std::chrono::system_clock::now().time_since_epoch())
          .count());
  std::uint64_t prev = last.load(std::memory_order_relaxed);
  std::uint64_t next;
  do {
    // The wall clock may stand still or step back; never hand out a value
    // at or below one already given.
    next = now > prev ? now : prev + 1;
  } while (!last.compare_exchange_weak(prev, next, std::memory_order_relaxed));
  return next;
}

std::string AfxGetUserPath() {
  std::string path;
  if (const char* home = std::getenv("DAVODU_HOME"); home != nullptr && home[0] != '\0') {
    path = home;
  } else {
    const char* user_home = std::getenv("HOME");
    if (user_home == nullptr || user_home[0] == '\0') {
      const passwd* pw = getpwuid(getuid());
      user_home = pw != nullptr && pw->pw_dir != nullptr ? pw->pw_dir : "";
    }
    path = user_home;
    while (!path.empty() && path.back() == '/') path.pop_back();
    path += "/.local/share/davodu";
  }
  while (path.size() > 1 && path.back() == '/') path.pop_back();
  return path;
}

std::string AfxFloatToString(double value) {
  if (std::isnan(value)) return "nan";
  if (std::isinf(value)) return value > 0 ? "inf" : "-inf";
  if (value == 0) return "0";  // also -0
  // Values are single-precision floats carried in doubles, so the shortest
  // text that reads back as the same float is what a user wrote (0.1f is
  // "0.1", not "0.10000000149011612"). A double beyond what a float holds
  // keeps its double digits.
  const double magnitude = std::fabs(value);
  if (magnitude <= std::numeric_limits<float>::max()) {
    const auto f = static_cast<float>(value);
    if (f != 0) return ShortestPlain(f);
  }
  return ShortestPlain(value);
}

std::string AfxFloatToString(double value, const std::string& format) {
  Conversion conv;
  if (!ParseFloatFormat(format, &conv)) return AfxFloatToString(value);
  // The directive was checked to be a single double conversion above.
  char buf[128];
  const int len = std::snprintf(buf, sizeof buf, conv.directive.c_str(), value);
  if (len < 0) return AfxFloatToString(value);
  std::string number;
  if (static_cast<std::size_t>(len) < sizeof buf) {
    number.assign(buf, static_cast<std::size_t>(len));
  } else {
    number.resize(static_cast<std::size_t>(len) + 1);
    std::snprintf(number.data(), number.size(), conv.directive.c_str(), value);
    number.resize(static_cast<std::size_t>(len));
  }
  UseDotDecimal(number);
  return conv.prefix + number + conv.suffix;
}

bool AfxModifyStepValue(double& start, double& end, double step) {
  if (!(step > 0) || !std::isfinite(step)) return false;
  // A bound that is already a multiple (within rounding of the division,
  // e.g. 0.3 / 0.1) stays as it is; beyond 2^53 steps every double is one.
  const auto snap = [step](double& v, bool down) {
    const double q = v / step;
    if (!std::isfinite(q) || std::fabs(q) >= 9007199254740992.0) return;
    const double nearest = std::nearbyint(q);
    if (std::fabs(q - nearest) <= 1e-9 * std::fmax(1.0, std::fabs(q))) return;
    v = (down ? std::floor(q) : std::ceil(q)) * step;
  };
  snap(start, true);
  snap(end, false);
  return true;
}

int CParseString::Parse(std::string_view text, std::string_view separators, bool skip_empty) {
  fields_.clear();
  if (text.empty()) return 0;
  // Separators are characters, not bytes: "|" must not split a Chinese
  // character whose trail byte is 0x7C, and a two-byte separator is allowed.
  std::vector<std::string_view> seps;
  for (std::size_t i = 0; i < separators.size();) {
    const std::size_t len = GbkCharLength(separators, i);
    seps.push_back(separators.substr(i, len));
    i += len;
  }
  std::size_t field_start = 0;
  std::size_t i = 0;
  const auto close_field = [&](std::size_t field_end) {
    if (!skip_empty || field_end > field_start) {
      fields_.emplace_back(text.substr(field_start, field_end - field_start));
    }
  };
  while (i < text.size()) {
    const std::size_t len = GbkCharLength(text, i);
    const std::string_view ch = text.substr(i, len);
    bool is_sep = false;
    for (std::string_view s : seps) {
      if (s == ch) {
        is_sep = true;
        break;
      }
    }
    if (is_sep) {
      close_field(i);
      field_start = i + len;
    }
    i += len;
  }
  close_field(text.size());
  return GetCount();
}

std::string CParseString::GetAt(int i) const {
  if (i < 0 || i >= GetCount()) return {};
  return fields_[static_cast<std::size_t>(i)];
}

namespace {

// The number text of a field: blanks trimmed, and a leading '+' (which the
// parsers reject) dropped when a digit or point follows it.
std::string_view NumberText(const std::string& field) {
  std::string_view s(field);
  while (!s.empty() && IsBlank(s.front())) s.remove_prefix(1);
  while (!s.empty() && IsBlank(s.back())) s.remove_suffix(1);
  if (s.size() > 1 && s[0] == '+' && ((s[1] >= '0' && s[1] <= '9') || s[1] == '.')) {
    s.remove_prefix(1);
  }
  return s;
}

}  // namespace

bool CParseString::GetDouble(int i, double* value) const {
  if (i < 0 || i >= GetCount() || value == nullptr) return false;
  const std::string_view s = NumberText(fields_[static_cast<std::size_t>(i)]);
  if (s.empty()) return false;
  double parsed = 0;
  const auto r = fast_float::from_chars(s.data(), s.data() + s.size(), parsed);
  // "nan", "inf" and overflowing exponents are not numbers of a table.
  if (r.ec != std::errc() || r.ptr != s.data() + s.size() || !std::isfinite(parsed)) {
    return false;
  }
  *value = parsed;
  return true;
}

bool CParseString::GetInt(int i, int* value) const {
  if (i < 0 || i >= GetCount() || value == nullptr) return false;
  const std::string_view s = NumberText(fields_[static_cast<std::size_t>(i)]);
  if (s.empty()) return false;
  int parsed = 0;
  const auto r = std::from_chars(s.data(), s.data() + s.size(), parsed, 10);
  if (r.ec != std::errc() || r.ptr != s.data() + s.size()) return false;
  *value = parsed;
  return true;
}

std::string TrimBlanks(std::string_view text) {
  while (!text.empty() && IsBlank(text.front())) text.remove_prefix(1);
  while (!text.empty() && IsBlank(text.back())) text.remove_suffix(1);
  return std::string(text);
}

int SaturatingInt(double value) {
  if (std::isnan(value)) return 0;
  if (value >= static_cast<double>(INT_MAX)) return INT_MAX;
  if (value <= static_cast<double>(INT_MIN)) return INT_MIN;
  return static_cast<int>(value);
}

}  // namespace davodu
