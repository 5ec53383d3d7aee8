// What the pieces of the LAS reader share (las_reader.cpp, las_encoding.cpp,
// las_header.cpp, las_data.cpp, las_mapping.cpp); not for other users.
#ifndef DAVODU_IMPORT_DETAIL_LAS_PARSE_H_
#define DAVODU_IMPORT_DETAIL_LAS_PARSE_H_

#include <algorithm>
#include <cstddef>
#include <cstring>
#include <limits>
#include <string>
#include <string_view>
#include <vector>

#include "davodu/import/las_reader.h"

#if defined(__unix__) || defined(__APPLE__)
#define DAVODU_LAS_MMAP 1
#else
#define DAVODU_LAS_MMAP 0
#endif

namespace davodu::las {

inline constexpr std::size_t npos = std::string_view::npos;
inline constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();

// Thrown inside the reader and turned into a LasError by ReadLas.
struct Failure {
  int line;
  std::string message;
};

[[noreturn]] void Fail(int line, std::string message);

// A short, printable quotation of file text for error messages.
std::string Excerpt(std::string_view s);

// ---------------------------------------------------------------------------
// File mapping (las_mapping.cpp)

// Passes over a large text hand back, every kReleaseChunk bytes, the pages
// they are done with, so that a mapped file is never resident as a whole.
inline constexpr std::size_t kReleaseChunk = std::size_t{2} << 20;

// The pages of a read-only file mapping. Released pages are read again from
// the file when touched later, so releasing never changes the text. A default
// PageReleaser (text held in memory) releases nothing.
class PageReleaser {
 public:
  PageReleaser() = default;
  PageReleaser(const char* base, std::size_t size) : base_(base), size_(size) {}

  // Releases the whole pages of [from, to) and the page holding `from`.
  void Release(const char* from, const char* to) const;

 private:
  const char* base_ = nullptr;
  std::size_t size_ = 0;
};

// A read-only mapping of a whole file.
class FileMapping {
 public:
  FileMapping() = default;
  FileMapping(const FileMapping&) = delete;
  FileMapping& operator=(const FileMapping&) = delete;
  ~FileMapping() { Unmap(); }

  // Maps the regular, non-empty file at path; false (nothing mapped) when it
  // cannot be opened or mapped, or where files are not mapped at all.
  bool MapFile(const std::string& path);
  void Unmap();
  std::string_view bytes() const { return {data_, size_}; }
  PageReleaser releaser() const { return {data_, size_}; }

 private:
#if DAVODU_LAS_MMAP
  bool Map(int fd, std::size_t size);
#endif

  const char* data_ = nullptr;
  std::size_t size_ = 0;
};

// ---------------------------------------------------------------------------
// Text decoding (las_encoding.cpp)

// The file's bytes as UTF-8: UTF-8 is kept (a byte-order mark dropped),
// UTF-16 is converted, and anything else is taken as Windows-1252, which
// includes Latin-1. Converted text is kept in *storage.
std::string_view DecodeText(std::string_view raw, std::string* storage, const PageReleaser& releaser);

// Upper case of UTF-8 text (the decoded file is valid UTF-8).
std::string UpperUtf8(std::string_view s);

// ---------------------------------------------------------------------------
// Small text helpers

inline bool IsBlank(char c) { return c == ' ' || c == '\t' || c == '\v' || c == '\f' || c == '\r'; }
inline bool IsDigit(char c) { return c >= '0' && c <= '9'; }

inline std::string_view TrimLeft(std::string_view s) {
  std::size_t i = 0;
  while (i < s.size() && IsBlank(s[i])) ++i;
  return s.substr(i);
}

inline std::string_view Trim(std::string_view s) {
  s = TrimLeft(s);
  std::size_t n = s.size();
  while (n > 0 && IsBlank(s[n - 1])) --n;
  return s.substr(0, n);
}

inline char AsciiUpper(char c) { return c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c; }

inline std::string AsciiUpper(std::string_view s) {
  std::string out(s);
  for (char& c : out) c = AsciiUpper(c);
  return out;
}

inline bool EqualsIgnoreCase(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (std::size_t i = 0; i < a.size(); ++i) {
    if (AsciiUpper(a[i]) != AsciiUpper(b[i])) return false;
  }
  return true;
}

// Parses a whole field as a number. Accepts a leading '+', and a decimal
// comma ("123,45") in place of the point. (las_data.cpp)
bool ParseNumber(std::string_view s, double* value);

// ---------------------------------------------------------------------------
// Lines and sections

// Splits text into lines ended by "\n", "\r\n" or a lone "\r".
class LineReader {
 public:
  explicit LineReader(std::string_view text, std::size_t pos = 0) : text_(text), pos_(pos) {}

  bool Next(std::string_view* line) {
    if (pos_ >= text_.size()) return false;
    const std::size_t start = pos_;
    const std::size_t n = text_.size();
    // A line ends at "\n", "\r\n" or a lone "\r"; memchr looks for them
    // many bytes at a time.
    const char* const begin = text_.data() + start;
    const auto* lf = static_cast<const char*>(std::memchr(begin, '\n', n - start));
    const std::size_t span = lf ? static_cast<std::size_t>(lf - begin) : n - start;
    const auto* cr = static_cast<const char*>(std::memchr(begin, '\r', span));
    const std::size_t i = start + (cr ? static_cast<std::size_t>(cr - begin) : span);
    *line = text_.substr(start, i - start);
    start_ = start;
    pos_ = i + 1;
    if (cr && pos_ < n && text_[pos_] == '\n') ++pos_;
    return true;
  }
  // Where the line Next returned starts, and where the next one starts.
  std::size_t start() const { return start_; }
  std::size_t pos() const { return std::min(pos_, text_.size()); }
  void Seek(std::size_t pos) { pos_ = pos; }

 private:
  std::string_view text_;
  std::size_t pos_ = 0;
  std::size_t start_ = 0;
};

// Line numbers, counted only for the messages of errors.
class LineIndex {
 public:
  explicit LineIndex(std::string_view text) : text_(text) {}

  // The 1-based number of the line that holds the byte at `offset`.
  int LineOf(std::size_t offset) const {
    int line = 1;
    const std::size_t end = std::min(offset, text_.size());
    for (std::size_t i = 0; i < end; ++i) {
      if (text_[i] == '\n' || (text_[i] == '\r' && (i + 1 >= text_.size() || text_[i + 1] != '\n'))) ++line;
    }
    return line;
  }

 private:
  std::string_view text_;
};

// ---------------------------------------------------------------------------
// Header sections (las_header.cpp)

enum class Section { kNone, kVersion, kWell, kCurve, kParameter, kOther, kData, kIgnored };

// The kind of section a "~" line opens.
Section ClassifySection(std::string_view line);

std::string_view StripBrackets(std::string_view unit);

// Parses "MNEM.UNIT  VALUE : DESCRIPTION". Returns false for a line that
// has neither a dot nor a colon.
bool ParseHeaderLine(std::string_view line, LasHeaderItem* item);

// Renames duplicate mnemonics "SFLU:1", "SFLU:2", ... and gives empty ones
// the name "UNKNOWN" (numbered the same way when there are several).
void NameCurves(std::vector<LasCurve>* curves);

// ---------------------------------------------------------------------------
// The parser

enum class Delimiter { kAuto, kBlank, kComma, kTab };

struct ParsedHeader {
  std::size_t offset;  // where its line starts
  LasHeaderItem item;
};

// Reads a decoded text into a LasFile: the sections (las_reader.cpp), the
// version and well items (las_header.cpp), and the data (las_data.cpp).
class LasParser {
 public:
  LasParser(std::string_view text, LasFile* out, const PageReleaser& releaser)
      : text_(text), file_(*out), lines_(text), releaser_(releaser) {}

  void Parse();

 private:
  int LineOf(std::size_t offset) const { return lines_.LineOf(offset); }

  void ReadSections();
  // The start of the first line at or after `from` (a line start) whose
  // first character other than blanks is '~'; the end of the text if none.
  std::size_t FindSectionLine(std::size_t from) const;
  void ApplyVersionSection();
  void ApplyWellSection();
  // The first data line, empty when there is none.
  std::string_view FirstDataLine() const;
  // Reads the values straight into one vector per column. What makes the
  // data unreadable is noted on the way and reported at the end, in the
  // order: rows of the wrong length first, then a bad index value.
  void ReadData();

  std::string_view text_;
  LasFile& file_;
  LineIndex lines_;
  PageReleaser releaser_;
  // Curve definitions for data that has none: one per column of the
  // first row, named by the ~A line when it names them all.
  void DefineCurvesFromData();

  bool saw_curves_ = false;
  bool saw_data_ = false;
  std::string_view data_line_;  // the "~A ..." line
  std::size_t data_line_offset_ = 0;
  std::size_t data_begin_ = 0;
  std::size_t data_end_ = 0;
  int major_version_ = 2;
  Delimiter delimiter_ = Delimiter::kAuto;
  std::vector<ParsedHeader> version_items_;
  std::vector<ParsedHeader> well_items_;
  std::vector<ParsedHeader> curve_items_;
};

}  // namespace davodu::las

#endif  // DAVODU_IMPORT_DETAIL_LAS_PARSE_H_
