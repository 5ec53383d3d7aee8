// How the well database stores an array of samples (a curve's values or a
// depth index) in one BLOB; not for other users.
//
// A BLOB of exactly 8 * count bytes holds the count values as little-endian
// IEEE doubles. A shorter one is packed: log values are decimals written
// with a few digits after the point, and a curve changes little from one
// sample to the next, so each value is kept as the difference of its
// decimal digits from the previous value's:
//
//   byte 0   1 (the packing's version)
//   byte 1   k, the decimals every packed value has (0 to 9)
//   then one LEB128 token per value, in order:
//     0      the missing value (kFltMax)
//     1      a value kept whole: 8 bytes, a little-endian double
//     t >= 2 n = n' + unzigzag(t - 2), where n' is the n of the previous
//            value given this way (0 at the start); the value is n / 10^k,
//            the double nearest to that decimal
//
// Packing is exact: a value is packed only when n / 10^k gives back the
// very same double, and kept whole otherwise (a value computed rather than
// read, -0, NaN, an infinity). Values are packed only when that is shorter
// than 8 * count bytes, so the two layouts never meet.
#ifndef DAVODU_STORE_DETAIL_SAMPLE_CODEC_H_
#define DAVODU_STORE_DETAIL_SAMPLE_CODEC_H_

#include <cstddef>
#include <stdexcept>
#include <string>
#include <vector>

namespace davodu::welldb {

// Makes *out the BLOB of values[0..count): packed when that is shorter,
// else the doubles themselves. *out's memory is reused from call to call.
void EncodeSamples(const double* values, std::size_t count, std::string* out);

// The count values of a BLOB written by EncodeSamples. Throws
// std::runtime_error naming what is wrong when the BLOB does not hold
// exactly count values.
std::vector<double> DecodeSamples(const void* data, std::size_t size, std::size_t count);

}  // namespace davodu::welldb

#endif  // DAVODU_STORE_DETAIL_SAMPLE_CODEC_H_
