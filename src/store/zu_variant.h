// CZuVariant: the host's database value, one of null, a 64-bit integer, a
// double or a text (GBK). Records of the well-data tables are read and
// written through it by column name.
#ifndef DAVODU_STORE_ZU_VARIANT_H_
#define DAVODU_STORE_ZU_VARIANT_H_

#include <cstdint>
#include <string>
#include <string_view>
#include <variant>

#include "davodu/host/util/types.h"

namespace davodu {

class CZuVariant {
 public:
  enum Type { kNull, kInt, kDouble, kText };

  CZuVariant() = default;
  CZuVariant(std::int64_t v) : value_(v) {}                  // NOLINT: implicit on purpose
  CZuVariant(int v) : value_(static_cast<std::int64_t>(v)) {}  // NOLINT
  CZuVariant(double v) : value_(v) {}                        // NOLINT
  CZuVariant(std::string gbk) : value_(std::move(gbk)) {}    // NOLINT
  CZuVariant(const char* gbk) : value_(std::string(gbk)) {}  // NOLINT

  Type GetType() const { return static_cast<Type>(value_.index()); }
  bool IsNull() const { return GetType() == kNull; }
  bool IsNumber() const { return GetType() == kInt || GetType() == kDouble; }

  // The value as a number: integers and doubles as they are, a text that is
  // wholly a number (blanks around it allowed) as that number; null and
  // other texts give kFltMax (the missing value).
  double ToDouble() const;
  // As ToDouble, truncated; fallback when there is no number.
  std::int64_t ToInt(std::int64_t fallback = 0) const;
  // The value as text: "" for null, integers in decimal, doubles in their
  // shortest round-trip form ("0.25", "1200"), texts as they are.
  std::string ToString() const;

  friend bool operator==(const CZuVariant&, const CZuVariant&) = default;

 private:
  std::variant<std::monostate, std::int64_t, double, std::string> value_;
};

}  // namespace davodu

#endif  // DAVODU_STORE_ZU_VARIANT_H_
