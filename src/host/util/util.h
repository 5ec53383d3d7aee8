// The host's utility library.
#ifndef DAVODU_HOST_UTIL_UTIL_H_
#define DAVODU_HOST_UTIL_UTIL_H_

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace davodu {

// A time stamp: strictly increasing within a process and across restarts
// (microseconds since the Unix epoch, bumped past the last value handed out).
std::uint64_t AfxGetTimeStamp();

// The user's folder of this system: $DAVODU_HOME when set and not empty,
// else ~/.local/share/davodu. Returned without a trailing separator; the
// folder is not created.
std::string AfxGetUserPath();

// The shortest plain decimal form of a number that reads back as the same
// float: 1 -> "1", 0.5 -> "0.5", -2.25 -> "-2.25", 1e20 -> "100000000000000000000".
std::string AfxFloatToString(double value);
// The number formatted with a printf format such as "%.2f" (one double
// conversion). An unusable format falls back to the plain form above.
std::string AfxFloatToString(double value, const std::string& format);

// Adjusts a range to a step: start moves down to the nearest whole multiple
// of step at or below it, end up to the nearest multiple at or above it.
// A step of 0 or less (or not finite) leaves both unchanged. Returns false
// when nothing was adjusted for that reason.
bool AfxModifyStepValue(double& start, double& end, double step);

// Splits a text into fields at any of the separator characters, the way the
// host parses tables and lists. Empty fields between two separators are kept
// unless skip_empty is set.
class CParseString {
 public:
  CParseString() = default;
  CParseString(std::string_view text, std::string_view separators, bool skip_empty = false) {
    Parse(text, separators, skip_empty);
  }
  // Returns the number of fields.
  int Parse(std::string_view text, std::string_view separators, bool skip_empty = false);
  int GetCount() const { return static_cast<int>(fields_.size()); }
  // Field i; empty for an index outside 0..count-1.
  std::string GetAt(int i) const;
  // Field i as a number; false (and value untouched) when it is not one.
  bool GetDouble(int i, double* value) const;
  bool GetInt(int i, int* value) const;
  const std::vector<std::string>& fields() const { return fields_; }

 private:
  std::vector<std::string> fields_;
};

// A double truncated towards zero into an int: NaN gives 0, and values
// beyond the int range give its nearest end, so that a size or position
// read from a damaged document cannot overflow a conversion.
int SaturatingInt(double value);

// Trims blanks (space, tab, CR, LF) from both ends.
std::string TrimBlanks(std::string_view text);

}  // namespace davodu

#endif  // DAVODU_HOST_UTIL_UTIL_H_
