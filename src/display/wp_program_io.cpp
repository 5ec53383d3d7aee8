// The programmable kit: records.
#include <string>

#include "davodu/display/wp_program.h"
#include "davodu/host/records/zu_mfile.h"
#include "davodu/host/util/gbk.h"
#include "davodu/kits/kit_records.h"

namespace davodu {

namespace {

constexpr const char* kStampTag = "ProgramTimeStamp";

}  // namespace

int CWpProgram::SaveToFile(CZuMFile* file) {
  CWpContent::SaveToFile(file);
  program_->SaveToFile(*file);
  file->SetRecordNumber(kRecTagged);
  file->AddRecordElement(kStampTag);
  file->AddRecordElement(program_stamp_);
  file->WriteNextRecord();
  file->SetRecordNumber(kRecEnd);
  file->WriteNextRecord();
  return 1;
}

int CWpProgram::ReadFromFile(CZuMFile* file) {
  if (!CWpContent::ReadFromFile(file)) return 0;
  DeleteObjects();
  program_->Clear();
  if (!file->ReadNextRecord()) return 0;
  if (program_->LoadFromFile(*file) && !file->ReadNextRecord()) return 0;
  std::string tag;
  if (file->GetRecordNumber() == kRecTagged && file->GetRecordElement(0, tag) &&
      EqualsNoCase(tag, kStampTag)) {
    file->GetRecordElement(1, program_stamp_);
    if (!file->ReadNextRecord()) return 0;
  }
  if (file->GetRecordNumber() != kRecEnd) return 0;
  // The drawing is made again, with the chart's data once it is loaded.
  RunProgram();
  return 1;
}

}  // namespace davodu
