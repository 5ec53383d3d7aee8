#include "davodu/data/data_date.h"

#include <charconv>
#include <cstdio>

namespace davodu {

namespace {

bool IsDigit(char c) { return c >= '0' && c <= '9'; }

// Reads `digits` (min..max) decimal digits at text[*at]; advances *at.
bool ReadNumber(std::string_view text, std::size_t* at, std::size_t min, std::size_t max, int* value) {
  std::size_t end = *at;
  while (end < text.size() && end - *at < max && IsDigit(text[end])) ++end;
  if (end - *at < min) return false;
  const auto r = std::from_chars(text.data() + *at, text.data() + end, *value);
  if (r.ec != std::errc()) return false;
  *at = end;
  return true;
}

std::string_view Trim(std::string_view s) {
  while (!s.empty() && (s.front() == ' ' || s.front() == '\t')) s.remove_prefix(1);
  while (!s.empty() && (s.back() == ' ' || s.back() == '\t')) s.remove_suffix(1);
  return s;
}

}  // namespace

bool ParseDataDate(std::string_view text, DataDate* out) {
  text = Trim(text);
  std::size_t at = 0;
  DataDate d;
  if (!ReadNumber(text, &at, 4, 4, &d.year)) return false;
  if (at >= text.size() || IsDigit(text[at])) return false;
  ++at;
  if (!ReadNumber(text, &at, 1, 2, &d.month)) return false;
  if (at >= text.size() || IsDigit(text[at])) return false;
  ++at;
  if (!ReadNumber(text, &at, 1, 2, &d.day)) return false;
  if (at != text.size() || !IsValidDate(d)) return false;
  if (out) *out = d;
  return true;
}

bool IsValidDate(const DataDate& date) {
  if (date.month < 1 || date.month > 12 || date.day < 1 || date.day > 31) return false;
  const std::chrono::year_month_day ymd{std::chrono::year{date.year},
                                        std::chrono::month{static_cast<unsigned>(date.month)},
                                        std::chrono::day{static_cast<unsigned>(date.day)}};
  return ymd.ok();
}

std::string FormatDataDate(const DataDate& date) {
  char buf[48];
  std::snprintf(buf, sizeof buf, "%4d-%02d-%02d", date.year, date.month, date.day);
  return buf;
}

std::chrono::sys_days DaysOf(const DataDate& date) {
  return std::chrono::sys_days{std::chrono::year_month_day{
      std::chrono::year{date.year}, std::chrono::month{static_cast<unsigned>(date.month)},
      std::chrono::day{static_cast<unsigned>(date.day)}}};
}

}  // namespace davodu
