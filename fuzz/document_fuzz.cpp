// libFuzzer target for chart documents: every kit reader, with the record
// checksums recomputed after mutation. Build and run it with
// fuzz/run.sh document.
#include <cstddef>
#include <cstdint>
#include <cstdlib>

#include "document_exercise.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (!davodu::fuzzing::ExerciseDocument(data, size)) std::abort();
  return 0;
}
