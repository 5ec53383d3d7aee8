// The bytes this process has allocated on the heap and not freed, for tests
// that bound what reading an input may cost.
#ifndef DAVODU_TESTS_SUPPORT_MEMORY_H_
#define DAVODU_TESTS_SUPPORT_MEMORY_H_

#include <cstddef>

#if defined(__SANITIZE_ADDRESS__)
// The AddressSanitizer runtime's count (its header is not shipped with
// every compiler).
extern "C" std::size_t __sanitizer_get_current_allocated_bytes();
#else
#include <malloc.h>
#endif

namespace davodu::testing {

inline std::size_t HeapBytesInUse() {
#if defined(__SANITIZE_ADDRESS__)
  return __sanitizer_get_current_allocated_bytes();
#else
  const struct mallinfo2 info = mallinfo2();
  return info.uordblks + info.hblkhd;
#endif
}

}  // namespace davodu::testing

#endif  // DAVODU_TESTS_SUPPORT_MEMORY_H_
