#include "davodu/store/zu_variant.h"

#include <fast_float/fast_float.h>

#include <charconv>
#include <cmath>

#include "davodu/host/util/util.h"

namespace davodu {

double CZuVariant::ToDouble() const {
  switch (GetType()) {
    case kInt:
      return static_cast<double>(std::get<std::int64_t>(value_));
    case kDouble:
      return std::get<double>(value_);
    case kText: {
      const std::string text = TrimBlanks(std::get<std::string>(value_));
      double v = 0;
      const char* end = text.data() + text.size();
      const auto r = fast_float::from_chars(text.data(), end, v);
      if (text.empty() || r.ec != std::errc() || r.ptr != end) return kFltMax;
      return v;
    }
    case kNull:
      break;
  }
  return kFltMax;
}

std::int64_t CZuVariant::ToInt(std::int64_t fallback) const {
  if (GetType() == kInt) return std::get<std::int64_t>(value_);
  const double v = ToDouble();
  if (IsMissing(v) || !std::isfinite(v) || std::fabs(v) > 9.2e18) return fallback;
  return static_cast<std::int64_t>(v);
}

std::string CZuVariant::ToString() const {
  switch (GetType()) {
    case kInt:
      return std::to_string(std::get<std::int64_t>(value_));
    case kDouble: {
      char buf[32];
      const auto r = std::to_chars(buf, buf + sizeof buf, std::get<double>(value_));
      return std::string(buf, r.ptr);
    }
    case kText:
      return std::get<std::string>(value_);
    case kNull:
      break;
  }
  return {};
}

}  // namespace davodu
