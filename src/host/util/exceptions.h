// Exceptions of the host framework.
#ifndef DAVODU_HOST_UTIL_EXCEPTIONS_H_
#define DAVODU_HOST_UTIL_EXCEPTIONS_H_

#include <stdexcept>
#include <string>

namespace davodu {

// Raised for an index outside an object's own list. The only exception the
// kits let escape; everything else fails quietly.
class CInvalidArgException : public std::invalid_argument {
 public:
  explicit CInvalidArgException(const std::string& what) : std::invalid_argument(what) {}
};

}  // namespace davodu

#endif  // DAVODU_HOST_UTIL_EXCEPTIONS_H_
