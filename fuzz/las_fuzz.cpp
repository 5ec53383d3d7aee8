// libFuzzer target for the LAS reader: fuzz/run.sh las.
#include <cstddef>
#include <cstdint>
#include <cstdlib>

#include "text_readers_exercise.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (!davodu::fuzzing::ExerciseLas(data, size)) std::abort();
  return 0;
}
