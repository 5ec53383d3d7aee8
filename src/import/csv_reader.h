// Reading CSV tables (RFC 4180): a header row of column names, then rows of
// as many fields. Fields are separated by commas, semicolons or tabs, found
// from the file itself; quoted fields may hold separators, line breaks and
// doubled quotes. Files in UTF-8 (with or without byte-order mark) or GBK
// are read; all text is returned as UTF-8.
#ifndef DAVODU_IMPORT_CSV_READER_H_
#define DAVODU_IMPORT_CSV_READER_H_

#include <string>
#include <string_view>
#include <vector>

namespace davodu {

struct CsvTable {
  char delimiter = ',';        // ',', ';' or '\t'
  bool was_gbk = false;        // the file was GBK and has been converted
  std::vector<std::string> header;
  std::vector<std::vector<std::string>> rows;  // each as long as the header
  std::vector<int> row_lines;  // 1-based line on which each row starts
};

struct CsvError {
  std::string file;
  int line = 0;  // 1-based; 0 when the error concerns the whole file
  std::string message;
  // "FILE:LINE: MESSAGE"
  std::string ToString() const;
};

// Parses CSV bytes. name is used in error messages. Returns false with
// *error set when the text is not a well-formed table.
bool ReadCsv(std::string_view bytes, const std::string& name, CsvTable* out, CsvError* error);
// Reads a file from disk.
bool ReadCsvFile(const std::string& path, CsvTable* out, CsvError* error);

}  // namespace davodu

#endif  // DAVODU_IMPORT_CSV_READER_H_
