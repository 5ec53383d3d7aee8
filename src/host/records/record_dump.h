// A readable listing of a record file: one record a line, indented by the
// object it belongs to, elements written so that two listings are equal
// exactly when the records are.
#ifndef DAVODU_HOST_RECORDS_RECORD_DUMP_H_
#define DAVODU_HOST_RECORDS_RECORD_DUMP_H_

#include <ostream>
#include <string>

namespace davodu {

class CZuMFile;

// The current record as one line: its number, then each element. Integers
// as numbers (unsigned with a "u" suffix, 16-bit with "s", 64-bit with "q"),
// bools as true/false, floats with an "f" suffix and doubles as written
// with enough digits to read back the same value, texts (GBK) in UTF-8
// between double quotes with \" \\ and control characters escaped, wide
// texts as L"...", byte blocks as "x" and their hex digits.
std::string FormatRecord(const CZuMFile& file);

// Lists every record of a chart document. Returns false with *error set
// when the file is not a document or is damaged (the records read before
// the damage are listed).
bool DumpDocument(const std::string& path, std::ostream& out, std::string* error);

}  // namespace davodu

#endif  // DAVODU_HOST_RECORDS_RECORD_DUMP_H_
