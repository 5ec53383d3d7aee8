// CZuMFile: the record file in which documents are stored.
//
// A record file is a sequence of records; a record has a number (unsigned
// 16-bit) and an ordered list of typed elements. Records are built with
// SetRecordNumber / AddRecordElement / WriteNextRecord and read back with
// ReadNextRecord / GetRecordNumber / GetRecordElementCount /
// GetRecordElement. The on-disk layout is described in
// docs/record-format.md: every record carries its own checksum, and a
// damaged or truncated file ends the read cleanly (ReadNextRecord returns 0)
// without ever reading out of bounds.
#ifndef DAVODU_HOST_RECORDS_ZU_MFILE_H_
#define DAVODU_HOST_RECORDS_ZU_MFILE_H_

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace davodu {

class CZuMFile {
 public:
  // Element types as stored.
  enum ElementType : std::uint8_t {
    kInt = 1,     // signed 32-bit
    kUInt = 2,    // unsigned 32-bit
    kShort = 3,   // signed 16-bit
    kBool = 4,
    kFloat = 5,   // IEEE 32-bit
    kDouble = 6,  // IEEE 64-bit
    kU64 = 7,     // unsigned 64-bit
    kText = 8,    // bytes of the document's code page (GBK)
    kWText = 9,   // UTF-16 code units
    kBytes = 10,  // a block of bytes with its length
  };

  CZuMFile();
  ~CZuMFile();
  CZuMFile(const CZuMFile&) = delete;
  CZuMFile& operator=(const CZuMFile&) = delete;

  // --- Writing. Records are collected in memory; the caller takes the
  // encoded bytes (header included) with GetData, or writes them with
  // SaveAs.
  void OpenWrite();
  // The encoded file so far.
  const std::string& GetData() const;
  // Writes GetData() to path, replacing the file only once all of it is
  // written (through a temporary file beside it); false with *error (naming
  // the file) on failure or when OpenWrite was not called.
  bool SaveAs(const std::string& path, std::string* error = nullptr) const;

  // --- Reading from encoded bytes (a whole file). Returns false, with
  // *error set, when the header is not a record file of a supported
  // version; the records themselves are checked as they are read.
  bool OpenRead(std::string data, std::string* error = nullptr);
  // Reads a file from disk; false with *error (naming the file) on failure.
  bool OpenReadFile(const std::string& path, std::string* error = nullptr);
  // True once a read stopped at a damaged record (rather than at the end).
  bool IsDamaged() const;
  // A description of the damage ("record 12 at byte 4711: checksum
  // mismatch"), empty when none.
  const std::string& GetDamage() const;

  // --- Building a record.
  void SetRecordNumber(unsigned short number);
  void AddRecordElement(int value);
  void AddRecordElement(unsigned int value);
  void AddRecordElement(short value);
  void AddRecordElement(bool value);
  void AddRecordElement(float value);
  void AddRecordElement(double value);
  void AddRecordElement(std::uint64_t value);
  void AddRecordElement(std::string_view text);
  void AddRecordElement(const std::string& text) { AddRecordElement(std::string_view(text)); }
  void AddRecordElement(const char* text) { AddRecordElement(std::string_view(text)); }
  void AddRecordElement(std::u16string_view wide_text);
  void AddRecordElement(const void* data, std::size_t length);
  // Writes the record built so far; returns non-zero on success.
  int WriteNextRecord();

  // --- Reading records.
  // Advances to the next record; 0 at the end of the data or at a damaged
  // record.
  int ReadNextRecord();
  unsigned short GetRecordNumber() const;
  int GetRecordElementCount() const;
  ElementType GetRecordElementType(int index) const;  // 0 outside the record
  // Reads element index. Integer kinds convert into each other when the
  // value fits, float and double into each other; text, wide text and bytes
  // only into their own kind. Returns non-zero on success; a failed read
  // leaves the variable unchanged.
  int GetRecordElement(int index, int& value) const;
  int GetRecordElement(int index, unsigned int& value) const;
  int GetRecordElement(int index, short& value) const;
  int GetRecordElement(int index, bool& value) const;
  int GetRecordElement(int index, float& value) const;
  int GetRecordElement(int index, double& value) const;
  int GetRecordElement(int index, std::uint64_t& value) const;
  int GetRecordElement(int index, std::string& text) const;
  int GetRecordElement(int index, std::u16string& wide_text) const;
  // A byte block: a pointer into the record (valid until the next read) and
  // its length.
  int GetRecordElement(int index, const unsigned char*& data, std::size_t& length) const;

  class Impl;

 private:
  std::unique_ptr<Impl> impl_;
};

}  // namespace davodu

#endif  // DAVODU_HOST_RECORDS_ZU_MFILE_H_
