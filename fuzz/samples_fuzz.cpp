// libFuzzer target for the stored sample arrays of the well database:
// fuzz/run.sh samples. The first two bytes give the number of values
// (little-endian), the rest is the BLOB. A BLOB that is refused is refused
// with an exception; one that is read holds exactly that many values, and
// packed again they read back as the very same doubles.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <stdexcept>
#include <string>
#include <vector>

#include "davodu/store/detail/sample_codec.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size < 2) return 0;
  const std::size_t count = data[0] | static_cast<std::size_t>(data[1]) << 8;
  std::vector<double> values;
  try {
    values = davodu::welldb::DecodeSamples(data + 2, size - 2, count);
  } catch (const std::runtime_error&) {
    return 0;
  }
  if (values.size() != count) std::abort();
  std::string again;
  davodu::welldb::EncodeSamples(values.data(), values.size(), &again);
  if (again.size() > count * 8) std::abort();
  const std::vector<double> back = davodu::welldb::DecodeSamples(again.data(), again.size(), count);
  if (count > 0 && std::memcmp(back.data(), values.data(), count * sizeof(double)) != 0) std::abort();
  return 0;
}
