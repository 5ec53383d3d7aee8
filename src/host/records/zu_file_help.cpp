#include "davodu/host/records/zu_file_help.h"

#include "davodu/host/records/record_numbers.h"
#include "davodu/host/util/gbk.h"

namespace davodu {

namespace {

template <class T>
void Save(CZuMFile* file, std::string_view key, const T& value) {
  file->SetRecordNumber(kRecTagged);
  file->AddRecordElement(key);
  file->AddRecordElement(value);
  file->WriteNextRecord();
}

template <class T>
bool Read(const CZuMFile* file, std::string_view key, T* value) {
  if (!value || file->GetRecordNumber() != kRecTagged) return false;
  std::string tag;
  if (!file->GetRecordElement(0, tag) || !EqualsNoCase(tag, key)) return false;
  T read{};
  if (!file->GetRecordElement(1, read)) return false;
  *value = std::move(read);
  return true;
}

}  // namespace

void CZuFileHelp::SaveValue(CZuMFile* file, std::string_view key, int value) { Save(file, key, value); }
void CZuFileHelp::SaveValue(CZuMFile* file, std::string_view key, unsigned int value) {
  Save(file, key, value);
}
void CZuFileHelp::SaveValue(CZuMFile* file, std::string_view key, float value) { Save(file, key, value); }
void CZuFileHelp::SaveValue(CZuMFile* file, std::string_view key, double value) { Save(file, key, value); }
void CZuFileHelp::SaveValue(CZuMFile* file, std::string_view key, std::string_view value) {
  Save(file, key, value);
}

std::string CZuFileHelp::KeyOf(const CZuMFile* file) {
  std::string tag;
  if (file->GetRecordNumber() != kRecTagged || !file->GetRecordElement(0, tag)) return {};
  return tag;
}

bool CZuFileHelp::ReadValue(const CZuMFile* file, std::string_view key, int* value) {
  return Read(file, key, value);
}
bool CZuFileHelp::ReadValue(const CZuMFile* file, std::string_view key, unsigned int* value) {
  return Read(file, key, value);
}
bool CZuFileHelp::ReadValue(const CZuMFile* file, std::string_view key, float* value) {
  return Read(file, key, value);
}
bool CZuFileHelp::ReadValue(const CZuMFile* file, std::string_view key, double* value) {
  return Read(file, key, value);
}
bool CZuFileHelp::ReadValue(const CZuMFile* file, std::string_view key, std::string* value) {
  return Read(file, key, value);
}

}  // namespace davodu
