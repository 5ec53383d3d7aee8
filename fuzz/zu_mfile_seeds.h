// The seed corpus of the record file fuzzer: small valid files that between
// them use every element type, edge values and the record shapes of a chart
// document. fuzz/zu_mfile_seeds writes them to fuzz/corpus/zu_mfile/; the
// unit tests check that the checked-in files are still exactly what the
// writer produces, so a change of the encoding cannot go unnoticed.
#ifndef DAVODU_FUZZ_ZU_MFILE_SEEDS_H_
#define DAVODU_FUZZ_ZU_MFILE_SEEDS_H_

#include <cstdint>
#include <limits>
#include <string>
#include <utility>
#include <vector>

#include "davodu/host/records/zu_mfile.h"

namespace davodu::fuzzing {

// (file name, contents) pairs; every name starts with "valid-".
inline std::vector<std::pair<std::string, std::string>> MakeSeedFiles() {
  std::vector<std::pair<std::string, std::string>> seeds;
  CZuMFile f;

  f.OpenWrite();
  seeds.emplace_back("valid-no-records", f.GetData());

  f.OpenWrite();
  f.SetRecordNumber(7);
  f.AddRecordElement(std::numeric_limits<int>::min());
  f.AddRecordElement(std::numeric_limits<unsigned int>::max());
  f.AddRecordElement(static_cast<short>(-32768));
  f.AddRecordElement(true);
  f.AddRecordElement(-1.5f);
  f.AddRecordElement(3.25e300);
  f.AddRecordElement(std::numeric_limits<std::uint64_t>::max());
  f.AddRecordElement("\xC9\xEE\xB6\xC8");  // GBK text
  f.AddRecordElement(std::u16string_view(u"d\u00E9pth"));
  const unsigned char block[] = {0, 1, 2, 0xFF, 0};
  f.AddRecordElement(block, sizeof block);
  f.WriteNextRecord();
  seeds.emplace_back("valid-every-type", f.GetData());

  f.OpenWrite();
  f.SetRecordNumber(0);
  f.WriteNextRecord();
  f.SetRecordNumber(65535);
  f.AddRecordElement("");
  f.AddRecordElement(std::u16string_view());
  f.AddRecordElement(static_cast<const void*>(nullptr), 0);
  f.AddRecordElement(false);
  f.WriteNextRecord();
  seeds.emplace_back("valid-empty-values", f.GetData());

  // The shape of a document: its own records, then a kit with nested
  // sections (60 opens a kit or section with its class name, 80 closes it).
  f.OpenWrite();
  f.SetRecordNumber(1);
  f.AddRecordElement(1);
  f.WriteNextRecord();
  f.SetRecordNumber(10);
  f.AddRecordElement("map");
  f.AddRecordElement(0.0);
  f.AddRecordElement(2500.0);
  f.WriteNextRecord();
  f.SetRecordNumber(60);
  f.AddRecordElement("CurveKit");
  f.WriteNextRecord();
  f.SetRecordNumber(61);
  f.AddRecordElement(static_cast<short>(3));
  f.AddRecordElement(0.5f);
  f.WriteNextRecord();
  f.SetRecordNumber(60);
  f.AddRecordElement("Track");
  f.WriteNextRecord();
  f.SetRecordNumber(62);
  f.AddRecordElement(std::u16string_view(u"GR"));
  f.AddRecordElement(static_cast<std::uint64_t>(1) << 40);
  f.WriteNextRecord();
  f.SetRecordNumber(80);
  f.WriteNextRecord();
  f.SetRecordNumber(80);
  f.WriteNextRecord();
  seeds.emplace_back("valid-document-shape", f.GetData());

  return seeds;
}

}  // namespace davodu::fuzzing

#endif  // DAVODU_FUZZ_ZU_MFILE_SEEDS_H_
