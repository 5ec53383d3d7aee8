// libFuzzer target for chart templates (JSON) and the charts built from
// them: fuzz/run.sh template.
#include <cstddef>
#include <cstdint>
#include <cstdlib>

#include "template_exercise.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (!davodu::fuzzing::ExerciseTemplate(data, size)) std::abort();
  return 0;
}
