// Helpers for tests that build or cut record files.
#ifndef DAVODU_TESTS_SUPPORT_RECORDS_H_
#define DAVODU_TESTS_SUPPORT_RECORDS_H_

#include <initializer_list>
#include <string>
#include <vector>

#include "davodu/host/records/zu_mfile.h"

namespace davodu::testing {

// Writes a record whose elements are texts.
void WriteTexts(CZuMFile* out, unsigned short number, std::initializer_list<const char*> texts = {});
// Appends the current record of in, element by element, to out.
void CopyRecord(const CZuMFile& in, CZuMFile* out);
// The record file made of the first count records of data.
std::string FirstRecords(const std::string& data, int count);
// Each record of a record file as one line (FormatRecord).
std::vector<std::string> DumpRecords(const std::string& data);
// The record numbers of a record file, in order.
std::vector<int> RecordNumbers(const std::string& data);

}  // namespace davodu::testing

#endif  // DAVODU_TESTS_SUPPORT_RECORDS_H_
