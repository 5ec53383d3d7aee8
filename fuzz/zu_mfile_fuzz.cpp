// libFuzzer target for the record file reader. Build and run it with
// fuzz/run.sh, or see fuzz/CMakeLists.txt.
#include <cstddef>
#include <cstdint>
#include <cstdlib>

#include "zu_mfile_exercise.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (!davodu::fuzzing::ExerciseRecordFile(data, size)) std::abort();
  return 0;
}
