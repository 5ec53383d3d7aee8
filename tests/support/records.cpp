#include "support/records.h"

#include <cstdint>

#include "davodu/host/records/record_dump.h"

namespace davodu::testing {

void WriteTexts(CZuMFile* out, unsigned short number, std::initializer_list<const char*> texts) {
  out->SetRecordNumber(number);
  for (const char* t : texts) out->AddRecordElement(t);
  out->WriteNextRecord();
}

void CopyRecord(const CZuMFile& in, CZuMFile* out) {
  out->SetRecordNumber(in.GetRecordNumber());
  for (int i = 0; i < in.GetRecordElementCount(); ++i) {
    switch (in.GetRecordElementType(i)) {
      case CZuMFile::kInt: { int v = 0; in.GetRecordElement(i, v); out->AddRecordElement(v); break; }
      case CZuMFile::kUInt: { unsigned v = 0; in.GetRecordElement(i, v); out->AddRecordElement(v); break; }
      case CZuMFile::kShort: { short v = 0; in.GetRecordElement(i, v); out->AddRecordElement(v); break; }
      case CZuMFile::kBool: { bool v = false; in.GetRecordElement(i, v); out->AddRecordElement(v); break; }
      case CZuMFile::kFloat: { float v = 0; in.GetRecordElement(i, v); out->AddRecordElement(v); break; }
      case CZuMFile::kDouble: { double v = 0; in.GetRecordElement(i, v); out->AddRecordElement(v); break; }
      case CZuMFile::kU64: { std::uint64_t v = 0; in.GetRecordElement(i, v); out->AddRecordElement(v); break; }
      case CZuMFile::kText: { std::string v; in.GetRecordElement(i, v); out->AddRecordElement(v); break; }
      case CZuMFile::kWText: { std::u16string v; in.GetRecordElement(i, v); out->AddRecordElement(std::u16string_view(v)); break; }
      case CZuMFile::kBytes: {
        const unsigned char* p = nullptr;
        std::size_t n = 0;
        in.GetRecordElement(i, p, n);
        out->AddRecordElement(p, n);
        break;
      }
      default: break;
    }
  }
  out->WriteNextRecord();
}

std::string FirstRecords(const std::string& data, int count) {
  CZuMFile in, out;
  out.OpenWrite();
  if (!in.OpenRead(data)) return out.GetData();
  for (int i = 0; i < count && in.ReadNextRecord(); ++i) CopyRecord(in, &out);
  return out.GetData();
}

std::vector<std::string> DumpRecords(const std::string& data) {
  CZuMFile in;
  std::vector<std::string> lines;
  if (!in.OpenRead(data)) return lines;
  while (in.ReadNextRecord()) lines.push_back(FormatRecord(in));
  return lines;
}

std::vector<int> RecordNumbers(const std::string& data) {
  CZuMFile in;
  std::vector<int> numbers;
  if (!in.OpenRead(data)) return numbers;
  while (in.ReadNextRecord()) numbers.push_back(in.GetRecordNumber());
  return numbers;
}

}  // namespace davodu::testing
