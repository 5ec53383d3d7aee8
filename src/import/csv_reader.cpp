#include "davodu/import/csv_reader.h"

#include <cerrno>
#include <cstddef>
#include <cstring>
#include <fstream>
#include <iterator>
#include <new>
#include <utility>

#include "davodu/host/util/gbk.h"

namespace davodu {
namespace {

struct Failure {
  int line;
  std::string message;
};

// Splits text into records. Records end at "\n", "\r\n" or a lone "\r"
// outside quotes; line numbers count every line break, inside quotes too.
class RecordReader {
 public:
  RecordReader(std::string_view text, char delimiter) : text_(text), delimiter_(delimiter) {}

  // Reads the next record into *fields; false at the end of the text.
  // Empty lines are skipped.
  bool Next(std::vector<std::string>* fields, int* line) {
    fields->clear();
    while (pos_ < text_.size() && IsLineBreak(text_[pos_])) SkipLineBreak();
    if (pos_ >= text_.size()) return false;
    *line = line_;
    std::string field;
    while (true) {
      if (pos_ < text_.size() && text_[pos_] == '"') {
        ReadQuoted(&field, *line);
      } else {
        const std::size_t start = pos_;
        while (pos_ < text_.size() && text_[pos_] != delimiter_ && !IsLineBreak(text_[pos_])) ++pos_;
        field.assign(text_.substr(start, pos_ - start));
      }
      fields->push_back(std::move(field));
      field.clear();
      if (pos_ >= text_.size()) return true;
      if (text_[pos_] == delimiter_) {
        ++pos_;
        continue;
      }
      SkipLineBreak();
      return true;
    }
  }

 private:
  static bool IsLineBreak(char c) { return c == '\n' || c == '\r'; }

  void SkipLineBreak() {
    if (text_[pos_] == '\r' && pos_ + 1 < text_.size() && text_[pos_ + 1] == '\n') ++pos_;
    ++pos_;
    ++line_;
  }

  void ReadQuoted(std::string* field, int record_line) {
    const int open_line = line_;
    ++pos_;
    while (true) {
      const std::size_t quote = text_.find('"', pos_);
      if (quote == std::string_view::npos) {
        throw Failure{open_line, "a quoted field is not closed"};
      }
      const std::string_view part = text_.substr(pos_, quote - pos_);
      for (std::size_t i = 0; i < part.size(); ++i) {
        // Count the line breaks inside the quotes, "\r\n" once.
        if (part[i] == '\n' || (part[i] == '\r' && (i + 1 >= part.size() || part[i + 1] != '\n'))) ++line_;
      }
      field->append(part);
      pos_ = quote + 1;
      if (pos_ < text_.size() && text_[pos_] == '"') {
        field->push_back('"');
        ++pos_;
        continue;
      }
      break;
    }
    if (pos_ < text_.size() && text_[pos_] != delimiter_ && !IsLineBreak(text_[pos_])) {
      throw Failure{record_line, "text after the closing quote of a field"};
    }
  }

  std::string_view text_;
  char delimiter_;
  std::size_t pos_ = 0;
  int line_ = 1;
};

// The delimiter that splits the first rows into equal numbers of fields,
// the most of them; failing that, the one most frequent in the header.
char DetectDelimiter(std::string_view text) {
  constexpr char kCandidates[] = {',', ';', '\t'};
  constexpr int kRowsLooked = 20;
  char best = ',';
  std::size_t best_fields = 0;
  char best_header = ',';
  std::size_t best_header_fields = 1;
  for (char d : kCandidates) {
    RecordReader reader(text, d);
    std::vector<std::string> fields;
    int line = 0;
    std::size_t header_fields = 0;
    bool consistent = true;
    try {
      for (int row = 0; row < kRowsLooked && reader.Next(&fields, &line); ++row) {
        if (row == 0) header_fields = fields.size();
        consistent = consistent && fields.size() == header_fields;
      }
    } catch (const Failure&) {
      consistent = false;
    }
    if (consistent && header_fields > 1 && header_fields > best_fields) {
      best = d;
      best_fields = header_fields;
    }
    if (header_fields > best_header_fields) {
      best_header = d;
      best_header_fields = header_fields;
    }
  }
  return best_fields > 0 ? best : best_header;
}

}  // namespace

std::string CsvError::ToString() const {
  if (line > 0) return file + ":" + std::to_string(line) + ": " + message;
  return file + ": " + message;
}

bool ReadCsv(std::string_view bytes, const std::string& name, CsvTable* out, CsvError* error) {
  try {
    CsvTable table;
    std::string text;
    if (bytes.starts_with("\xEF\xBB\xBF")) bytes.remove_prefix(3);
    if (IsValidUtf8(bytes)) {
      text.assign(bytes);
    } else {
      text = GbkToUtf8(bytes);
      table.was_gbk = true;
    }
    table.delimiter = DetectDelimiter(text);
    RecordReader reader(text, table.delimiter);
    std::vector<std::string> fields;
    int line = 0;
    if (!reader.Next(&fields, &line)) throw Failure{0, "the file is empty: no header row"};
    table.header = std::move(fields);
    while (reader.Next(&fields, &line)) {
      if (fields.size() != table.header.size()) {
        throw Failure{line, "expected " + std::to_string(table.header.size()) + " fields as in the header, found " +
                                std::to_string(fields.size())};
      }
      table.rows.push_back(std::move(fields));
      table.row_lines.push_back(line);
      fields = {};
    }
    *out = std::move(table);
    return true;
  } catch (const Failure& failure) {
    *error = CsvError{name, failure.line, failure.message};
  } catch (const std::bad_alloc&) {
    *error = CsvError{name, 0, "not enough memory to read the file"};
  }
  return false;
}

bool ReadCsvFile(const std::string& path, CsvTable* out, CsvError* error) {
  std::ifstream in(path, std::ios::binary);
  if (!in) {
    *error = CsvError{path, 0, std::string("cannot open the file: ") + std::strerror(errno)};
    return false;
  }
  std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  if (in.bad()) {
    *error = CsvError{path, 0, "cannot read the file"};
    return false;
  }
  return ReadCsv(bytes, path, out, error);
}

}  // namespace davodu
