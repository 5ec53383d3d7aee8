// libFuzzer target for the CSV reader: fuzz/run.sh csv.
#include <cstddef>
#include <cstdint>
#include <cstdlib>

#include "text_readers_exercise.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (!davodu::fuzzing::ExerciseCsv(data, size)) std::abort();
  return 0;
}
