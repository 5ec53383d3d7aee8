// Numbers of the records every stored object writes.
#ifndef DAVODU_HOST_RECORDS_RECORD_NUMBERS_H_
#define DAVODU_HOST_RECORDS_RECORD_NUMBERS_H_

namespace davodu {

constexpr unsigned short kRecKitStart = 60;    // text: class name; starts an object
constexpr unsigned short kRecEnd = 80;         // end of a section
constexpr unsigned short kRecName = 100;       // text: object name
constexpr unsigned short kRecProperty = 118;   // one property: name, value
constexpr unsigned short kRecTimeStamp = 123;  // u64
constexpr unsigned short kRecTypeName = 129;   // text: object type name
constexpr unsigned short kRecSegment = 131;    // one segment
constexpr unsigned short kRecVisible = 143;    // int
constexpr unsigned short kRecTagged = 153;     // element 0: a text tag

}  // namespace davodu

#endif  // DAVODU_HOST_RECORDS_RECORD_NUMBERS_H_
