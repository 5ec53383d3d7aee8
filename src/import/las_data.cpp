// The data section of LAS files: numbers and missing values, the split of
// rows into values (blank, comma or tab delimited, wrapped or not), and the
// columns the rows make.
#include <fast_float/fast_float.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <deque>
#include <exception>
#include <string>
#include <string_view>
#include <system_error>
#include <thread>
#include <utility>
#include <vector>

#include "davodu/import/detail/las_parse.h"

namespace davodu::las {

// Parses a whole field as a number. Accepts a leading '+', and a decimal
// comma ("123,45") in place of the point.
bool ParseNumber(std::string_view s, double* value) {
  if (s.empty()) return false;
  if (s[0] == '+' && s.size() > 1 && s[1] != '-' && s[1] != '+') s.remove_prefix(1);
  const char* first = s.data();
  const char* last = first + s.size();
  auto result = fast_float::from_chars(first, last, *value);
  if (result.ec == std::errc() && result.ptr == last) return true;
  const std::size_t comma = s.find(',');
  if (comma == npos || comma == 0 || comma + 1 >= s.size() || s.find_first_of(",.", comma + 1) != npos ||
      s.find('.') != npos || !IsDigit(s[comma - 1]) || !IsDigit(s[comma + 1]) || s.size() > 64) {
    return false;
  }
  char buffer[64];
  std::memcpy(buffer, s.data(), s.size());
  buffer[comma] = '.';
  result = fast_float::from_chars(buffer, buffer + s.size(), *value);
  return result.ec == std::errc() && result.ptr == buffer + s.size();
}

namespace {

// Reads a plain decimal ("-123.450") at p: the value of its digits
// divided by a power of ten is exact when both fit a double's mantissa, as
// they do for the numbers of nearly every log. Returns the end of the
// number, or nullptr for anything else (exponents, long numbers, text),
// which the full parser reads.
const char* ParsePlainDecimal(const char* p, const char* end, double* value) {
  static constexpr double kPowers[] = {1e0, 1e1, 1e2,  1e3,  1e4,  1e5,  1e6,  1e7,
                                       1e8, 1e9, 1e10, 1e11, 1e12, 1e13, 1e14, 1e15};
  const bool negative = p < end && *p == '-';
  if (negative) ++p;
  std::uint64_t digits = 0;
  int count = 0, decimals = 0;
  const char* q = p;
  while (q < end && IsDigit(*q)) {
    digits = digits * 10 + static_cast<unsigned>(*q - '0');
    ++q;
  }
  count = static_cast<int>(q - p);
  if (q < end && *q == '.') {
    const char* f = ++q;
    while (q < end && IsDigit(*q)) {
      digits = digits * 10 + static_cast<unsigned>(*q - '0');
      ++q;
    }
    decimals = static_cast<int>(q - f);
    count += decimals;
  }
  // At most 15 digits: the integer is exact and below 2^53.
  if (count == 0 || count > 15 || (q < end && !IsBlank(*q))) return nullptr;
  const double v = static_cast<double>(digits) / kPowers[decimals];
  *value = negative ? -v : v;
  return q;
}

// Texts that stand for a missing number: the way the Microsoft C library
// prints a NaN or an infinity ("-1.#IND0000", "1.#INF", "1.#QNAN").
bool IsMissingMarker(std::string_view s) {
  std::size_t i = 0;
  if (i < s.size() && (s[i] == '-' || s[i] == '+')) ++i;
  const std::size_t digits = i;
  while (i < s.size() && IsDigit(s[i])) ++i;
  if (i == digits || i + 2 >= s.size() || s[i] != '.' || s[i + 1] != '#') return false;
  i += 2;
  std::size_t word = i;
  while (i < s.size() && !IsDigit(s[i])) ++i;
  const std::string_view name = s.substr(word, i - word);
  if (!EqualsIgnoreCase(name, "IND") && !EqualsIgnoreCase(name, "INF") && !EqualsIgnoreCase(name, "QNAN") &&
      !EqualsIgnoreCase(name, "SNAN")) {
    return false;
  }
  while (i < s.size() && IsDigit(s[i])) ++i;
  return i == s.size();
}

// One value of a data row.
struct Cell {
  std::string_view text;
  double value = 0;
  bool missing = false;  // a value known to be missing (a run-on number)
  bool number = false;   // the text is a number, `value`
};

Cell TextCell(std::string_view text) {
  Cell cell{text};
  cell.number = ParseNumber(text, &cell.value);
  return cell;
}

// True when a data line separates its values with commas. Commas inside
// blank-separated numbers ("123,45  2550,0") are decimal commas.
bool LooksCommaDelimited(std::string_view line, std::size_t curve_count) {
  if (line.find(',') == npos) return false;
  std::size_t tokens = 0;
  std::size_t i = 0;
  while (i < line.size()) {
    while (i < line.size() && IsBlank(line[i])) ++i;
    if (i >= line.size()) break;
    std::size_t j = i;
    while (j < line.size() && !IsBlank(line[j])) ++j;
    const std::string_view token = line.substr(i, j - i);
    ++tokens;
    const std::size_t comma = token.find(',');
    if (comma != npos) {
      if (token.find(',', comma + 1) != npos || token.find('.') != npos || comma == 0 ||
          comma + 1 == token.size() || !IsDigit(token[comma - 1]) || !IsDigit(token[comma + 1])) {
        return true;
      }
    }
    i = j;
  }
  return tokens < 2 && curve_count > 1;
}

// Fixed-width writers let a wide value run into its neighbour:
// "7.330-19508.961" is two numbers, and "7.020101130.188" is two numbers
// whose boundary cannot be told, so both are missing. Splits such values of
// one row; the caller keeps the result only when it gives the row the right
// number of values.
std::vector<Cell> SplitRunOn(const std::vector<Cell>& row) {
  std::vector<Cell> out;
  for (const Cell& cell : row) {
    const std::string_view t = cell.text;
    if (cell.missing || cell.number || t.empty()) {
      out.push_back(cell);
      continue;
    }
    // Pieces split before each minus sign that follows a digit or a point.
    std::vector<std::string_view> pieces;
    std::size_t start = 0;
    for (std::size_t i = 1; i < t.size(); ++i) {
      if (t[i] == '-' && (IsDigit(t[i - 1]) || t[i - 1] == '.')) {
        pieces.push_back(t.substr(start, i - start));
        start = i;
      }
    }
    pieces.push_back(t.substr(start));
    bool all_numbers = pieces.size() > 1;
    double v;
    for (std::string_view p : pieces) all_numbers = all_numbers && ParseNumber(p, &v);
    if (all_numbers) {
      for (std::string_view p : pieces) out.push_back(TextCell(p));
      continue;
    }
    const std::size_t digits_from = t[0] == '-' ? 1 : 0;
    const auto points = static_cast<std::size_t>(std::count(t.begin(), t.end(), '.'));
    const bool digits_and_points =
        t.size() > digits_from &&
        std::all_of(t.begin() + static_cast<std::ptrdiff_t>(digits_from), t.end(),
                    [](char c) { return IsDigit(c) || c == '.'; });
    if (digits_and_points && points >= 2) {
      Cell missing;
      missing.missing = true;
      for (std::size_t k = 0; k < points; ++k) out.push_back(missing);
      continue;
    }
    out.push_back(cell);
  }
  return out;
}

// The rows of the data section [begin, end) of the text, one at a time.
class RowReader {
 public:
  RowReader(std::string_view text, std::size_t begin, std::size_t end, Delimiter delimiter, bool wrapped,
            std::size_t curve_count, const LineIndex& lines, const PageReleaser& releaser)
      : text_(text.substr(0, end)),
        reader_(text_, begin),
        delimiter_(delimiter),
        wrapped_(wrapped),
        curve_count_(curve_count),
        limit_(2 * curve_count + 1000),
        lines_(lines),
        releaser_(releaser),
        released_(begin) {}

  // Reads the next row into cells(); *offset is where its first line starts.
  // Returns false after the last row.
  bool Next(std::size_t* offset) {
    cells_.clear();
    unquoted_.clear();
    std::size_t row_start = 0;
    std::string_view line;
    while (NextLine(&line)) {
      const std::size_t line_start = reader_.start();
      if (wrapped_) {
        // Values of one row flow over several lines; a row is complete when
        // it holds one value per curve.
        if (cells_.empty()) row_start = line_start;
        if (!Split(line, line_start, curve_count_ - cells_.size())) {
          Fail(lines_.LineOf(line_start), "the row that starts on line " + std::to_string(lines_.LineOf(row_start)) +
                                              " has more than " + std::to_string(curve_count_) + " values");
        }
        if (cells_.size() == curve_count_) {
          *offset = row_start;
          return true;
        }
        continue;
      }
      if (!Split(line, line_start, limit_)) {
        Fail(lines_.LineOf(line_start), "expected " + std::to_string(curve_count_) + " values, found more than " +
                                            std::to_string(limit_));
      }
      if (cells_.empty()) continue;
      if (delimiter_ == Delimiter::kBlank && cells_.size() < curve_count_) {
        std::vector<Cell> split = SplitRunOn(cells_);
        if (split.size() == curve_count_) cells_ = std::move(split);
      }
      *offset = line_start;
      return true;
    }
    if (!cells_.empty()) {
      Fail(lines_.LineOf(last_line_), "the data ends inside a row: expected " + std::to_string(curve_count_) +
                                          " values, found " + std::to_string(cells_.size()));
    }
    return false;
  }

  const std::vector<Cell>& cells() const { return cells_; }

 private:
  // The next line that holds data (not blank, not a comment).
  bool NextLine(std::string_view* line) {
    while (reader_.Next(line)) {
      const std::string_view t = TrimLeft(*line);
      if (t.empty() || t[0] == '#') continue;
      last_line_ = reader_.start();
      if (last_line_ - released_ >= kReleaseChunk) {
        releaser_.Release(text_.data() + released_, text_.data() + last_line_);
        released_ = last_line_;
      }
      return true;
    }
    releaser_.Release(text_.data() + released_, text_.data() + text_.size());
    released_ = text_.size();
    return false;
  }

  // Appends the values of one line to cells_, at most `limit` of them;
  // returns false when the line holds more.
  bool Split(std::string_view line, std::size_t line_start, std::size_t limit) {
    return delimiter_ == Delimiter::kBlank
               ? SplitBlank(line, line_start, limit)
               : SplitDelimited(line, line_start, delimiter_ == Delimiter::kTab ? '\t' : ',', limit);
  }

  bool SplitBlank(std::string_view s, std::size_t line_start, std::size_t limit) {
    const char* const begin = s.data();
    const char* const end = begin + s.size();
    std::size_t count = 0;
    const char* p = begin;
    while (true) {
      while (p < end && IsBlank(*p)) ++p;
      if (p >= end) return true;
      if (++count > limit) return false;
      const char c = *p;
      if (c == '"' || c == '\'') {
        const std::size_t i = static_cast<std::size_t>(p - begin);
        const std::size_t close = s.find(c, i + 1);
        if (close == npos) {
          Fail(lines_.LineOf(line_start), "unterminated quoted text " + Excerpt(s.substr(i)));
        }
        cells_.push_back(TextCell(s.substr(i + 1, close - i - 1)));
        p = begin + close + 1;
        if (p < end && !IsBlank(*p)) {
          Fail(lines_.LineOf(line_start), "text after a closing quote " + Excerpt(s.substr(close + 1)));
        }
        continue;
      }
      // Most values are plain numbers: parsed where they stand.
      double plain;
      if (const char* q = ParsePlainDecimal(p, end, &plain)) {
        // Built in place: a copy of a fresh cell stalls on its stores.
        Cell& cell = cells_.emplace_back();
        cell.text = std::string_view(p, static_cast<std::size_t>(q - p));
        cell.value = plain;
        cell.number = true;
        p = q;
        continue;
      }
      Cell cell;
      const auto result = fast_float::from_chars(p, end, cell.value);
      if (result.ec == std::errc() && (result.ptr == end || IsBlank(*result.ptr))) {
        cell.text = std::string_view(p, static_cast<std::size_t>(result.ptr - p));
        cell.number = true;
        cells_.push_back(cell);
        p = result.ptr;
        continue;
      }
      const char* q = p;
      while (q < end && !IsBlank(*q)) ++q;
      cells_.push_back(TextCell(std::string_view(p, static_cast<std::size_t>(q - p))));
      p = q;
    }
  }

  bool SplitDelimited(std::string_view line, std::size_t line_start, char delimiter, std::size_t limit) {
    const std::string_view s = Trim(line);
    auto is_pad = [delimiter](char c) { return IsBlank(c) && c != delimiter; };
    std::size_t count = 0;
    std::size_t i = 0;
    while (true) {
      if (++count > limit) return false;
      while (i < s.size() && is_pad(s[i])) ++i;
      if (i < s.size() && s[i] == '"') {
        std::string text;
        std::size_t j = i + 1;
        bool closed = false;
        while (j < s.size()) {
          if (s[j] == '"') {
            if (j + 1 < s.size() && s[j + 1] == '"') {
              text.push_back('"');
              j += 2;
              continue;
            }
            closed = true;
            ++j;
            break;
          }
          text.push_back(s[j++]);
        }
        if (!closed) Fail(lines_.LineOf(line_start), "unterminated quoted text " + Excerpt(s.substr(i)));
        while (j < s.size() && is_pad(s[j])) ++j;
        if (j < s.size() && s[j] != delimiter) {
          Fail(lines_.LineOf(line_start), "text after a closing quote " + Excerpt(s.substr(j)));
        }
        unquoted_.push_back(std::move(text));
        cells_.push_back(TextCell(unquoted_.back()));
        if (j >= s.size()) return true;
        i = j + 1;
        continue;
      }
      const std::size_t end = s.find(delimiter, i);
      cells_.push_back(TextCell(Trim(s.substr(i, (end == npos ? s.size() : end) - i))));
      if (end == npos) return true;
      i = end + 1;
    }
  }

  std::string_view text_;
  LineReader reader_;
  Delimiter delimiter_;
  bool wrapped_;
  std::size_t curve_count_;
  std::size_t limit_;
  const LineIndex& lines_;
  PageReleaser releaser_;
  std::size_t released_;
  std::size_t last_line_ = 0;
  std::vector<Cell> cells_;
  std::deque<std::string> unquoted_;  // quoted texts of the row with their quotes undone
};

}  // namespace

std::string_view LasParser::FirstDataLine() const {
  LineReader reader(text_.substr(0, data_end_), data_begin_);
  std::string_view line;
  while (reader.Next(&line)) {
    const std::string_view t = TrimLeft(line);
    if (!t.empty() && t[0] != '#') return line;
  }
  return {};
}

void LasParser::DefineCurvesFromData() {
  const std::string_view first_line = FirstDataLine();
  if (first_line.empty()) Fail(LineOf(data_line_offset_), "log data without curve definitions and without rows");
  if (delimiter_ == Delimiter::kAuto) {
    delimiter_ = LooksCommaDelimited(first_line, 2) ? Delimiter::kComma : Delimiter::kBlank;
  }
  RowReader reader(text_, data_begin_, data_end_, delimiter_, false, 1, lines_, PageReleaser());
  std::size_t offset = 0;
  reader.Next(&offset);
  const std::size_t columns = reader.cells().size();
  // "~A  DEPTH  DT  RHOB": the words after the section's name.
  std::vector<std::string_view> words;
  std::string_view rest = data_line_.substr(1);
  while (!rest.empty() && !IsBlank(rest.front())) rest.remove_prefix(1);
  for (;;) {
    rest = TrimLeft(rest);
    if (rest.empty()) break;
    std::size_t n = 0;
    while (n < rest.size() && !IsBlank(rest[n])) ++n;
    words.push_back(rest.substr(0, n));
    rest.remove_prefix(n);
  }
  for (std::size_t i = 0; i < columns; ++i) {
    ParsedHeader header{data_begin_, {}};
    if (words.size() == columns) header.item.mnemonic = UpperUtf8(words[i]);
    curve_items_.push_back(std::move(header));
  }
}

namespace {

// What the rows of a stretch of the data section hold: their values, one
// vector per column, and what the checks after reading need to know.
struct RowScan {
  std::vector<std::vector<double>> values;
  std::vector<char> is_text;
  std::size_t rows = 0;
  std::size_t total_cells = 0;
  std::size_t first_width = 0;
  std::size_t first_row = 0;
  bool any_full_row = false;
  std::size_t not_full_row = npos, not_full_width = 0;    // the first row that is not full
  std::size_t not_first_row = npos, not_first_width = 0;  // the first row unlike the first
  std::size_t bad_index_row = npos;
  std::string bad_index;
};

// Appends the scan of the stretch that follows `into`'s.
void Append(RowScan&& next, RowScan* into) {
  if (next.rows == 0) return;
  if (into->rows == 0) {
    *into = std::move(next);
    return;
  }
  if (into->not_first_row == npos) {
    if (next.first_width != into->first_width) {
      into->not_first_row = next.first_row;
      into->not_first_width = next.first_width;
    } else {
      into->not_first_row = next.not_first_row;
      into->not_first_width = next.not_first_width;
    }
  }
  into->any_full_row = into->any_full_row || next.any_full_row;
  if (into->not_full_row == npos) {
    into->not_full_row = next.not_full_row;
    into->not_full_width = next.not_full_width;
  }
  if (into->bad_index_row == npos) {
    into->bad_index_row = next.bad_index_row;
    into->bad_index = std::move(next.bad_index);
  }
  into->rows += next.rows;
  into->total_cells += next.total_cells;
  if (next.values.size() > into->values.size()) {
    into->values.resize(next.values.size());
    into->is_text.resize(next.values.size(), 0);
  }
  for (std::size_t j = 0; j < next.values.size(); ++j) {
    if (into->is_text[j] || next.is_text[j]) {
      into->is_text[j] = 1;
      std::vector<double>().swap(into->values[j]);
      continue;
    }
    into->values[j].insert(into->values[j].end(), next.values[j].begin(), next.values[j].end());
    std::vector<double>().swap(next.values[j]);
  }
}

// Where a data section of `size` bytes is split for two threads: the start
// of the line after its middle, or npos to read it in one piece. Small
// sections and wrapped rows (a row's lines cannot be told apart from the
// middle) are read in one piece.
std::size_t SplitPoint(std::string_view text, std::size_t begin, std::size_t end, bool wrapped) {
  constexpr std::size_t kMinSplit = 256 * 1024;
  if (wrapped || end - begin < kMinSplit || std::thread::hardware_concurrency() < 2) return npos;
  const std::size_t eol = text.find_first_of("\r\n", begin + (end - begin) / 2);
  if (eol == npos || eol + 2 >= end) return npos;
  return text[eol] == '\r' && text[eol + 1] == '\n' ? eol + 2 : eol + 1;
}

}  // namespace

void LasParser::ReadData() {
  const std::size_t curve_count = curve_items_.size();
  const std::string_view first_line = FirstDataLine();
  if (delimiter_ == Delimiter::kAuto) {
    delimiter_ = !first_line.empty() && LooksCommaDelimited(first_line, curve_count) ? Delimiter::kComma
                                                                                      : Delimiter::kBlank;
  }
  // Room for the rows the data would hold if they were all as long as the
  // first line; a vector that turns out too big is trimmed at the end.
  const auto expected_rows = [&](std::size_t bytes) {
    return std::min(bytes / (first_line.size() + 1), bytes / curve_count) + 16;
  };
  const double null_value = file_.null_value;
  const bool has_null = file_.has_null;

  // Reads the rows of [begin, end) into *scan.
  const auto scan_rows = [&](std::size_t begin, std::size_t end, std::size_t reserve, RowScan* scan) {
    RowScan& r = *scan;
    RowReader reader(text_, begin, end, delimiter_, file_.wrapped, curve_count, lines_, releaser_);
    std::size_t row_start = 0;
    while (reader.Next(&row_start)) {
      const std::vector<Cell>& cells = reader.cells();
      const std::size_t n = cells.size();
      if (r.rows == 0) {
        r.first_width = n;
        r.first_row = row_start;
      } else if (n != r.first_width && r.not_first_row == npos) {
        r.not_first_row = row_start;
        r.not_first_width = n;
      }
      if (n == curve_count) {
        r.any_full_row = true;
      } else if (r.not_full_row == npos) {
        r.not_full_row = row_start;
        r.not_full_width = n;
      }
      ++r.rows;
      r.total_cells += n;
      if (n > r.values.size()) {
        // Columns that appear after the first row make the data unreadable:
        // they need no room.
        for (std::size_t j = r.values.size(); j < n; ++j) {
          r.values.emplace_back().reserve(r.rows == 1 ? reserve : 0);
          r.is_text.push_back(0);
        }
      }
      // The index is never missing: a depth that equals the NULL value is
      // still a depth.
      const Cell& index = cells[0];
      if ((!index.number || !std::isfinite(index.value)) && r.bad_index_row == npos) {
        r.bad_index_row = row_start;
        r.bad_index = Excerpt(index.text);
      }
      r.values[0].push_back(index.value);
      for (std::size_t j = 1; j < n; ++j) {
        if (r.is_text[j]) continue;
        const Cell& cell = cells[j];
        const double v = cell.value;
        if (cell.number) {
          r.values[j].push_back(!std::isfinite(v) || (has_null && v == null_value) ? kNaN : v);
        } else if (cell.missing || cell.text.empty() || IsMissingMarker(cell.text)) {
          r.values[j].push_back(kNaN);
        } else {
          // A value that is not a number makes the whole column a text
          // column; its texts are read again at the end.
          r.is_text[j] = 1;
          std::vector<double>().swap(r.values[j]);
        }
      }
    }
  };

  // A large section is read by two threads, a half each. The first half's
  // columns have room for the whole; an error in the first half is the
  // one a reading from the top would have met first.
  RowScan scan;
  const std::size_t split = SplitPoint(text_, data_begin_, data_end_, file_.wrapped);
  if (split == npos) {
    scan_rows(data_begin_, data_end_, expected_rows(data_end_ - data_begin_), &scan);
  } else {
    RowScan second;
    std::exception_ptr second_error;
    std::thread helper([&] {
      try {
        scan_rows(split, data_end_, expected_rows(data_end_ - split), &second);
      } catch (...) {
        second_error = std::current_exception();
      }
    });
    std::exception_ptr first_error;
    try {
      scan_rows(data_begin_, split, expected_rows(data_end_ - data_begin_), &scan);
    } catch (...) {
      first_error = std::current_exception();
    }
    helper.join();
    if (first_error) std::rethrow_exception(first_error);
    if (second_error) std::rethrow_exception(second_error);
    Append(std::move(second), &scan);
  }
  std::vector<std::vector<double>>& values = scan.values;
  std::vector<char>& is_text = scan.is_text;
  const std::size_t rows = scan.rows;
  const std::size_t total_cells = scan.total_cells;
  const std::size_t first_width = scan.first_width;
  const std::size_t first_row = scan.first_row;
  const bool any_full_row = scan.any_full_row;
  const std::size_t not_full_row = scan.not_full_row, not_full_width = scan.not_full_width;
  const std::size_t not_first_row = scan.not_first_row, not_first_width = scan.not_first_width;
  const std::size_t bad_index_row = scan.bad_index_row;
  const std::string& bad_index = scan.bad_index;

  // Rows that all hold the same number of values other than the number
  // of curves: the trailing curves have no data, or the trailing columns
  // no definition.
  const std::size_t width = any_full_row || rows == 0 ? curve_count : first_width;
  // Curves without data are filled with missing values; they must not
  // swell a file of a few columns into a huge table.
  const bool too_few_columns =
      width < curve_count && (curve_count - width) * rows > 16 * (total_cells + 1024);
  if (too_few_columns) {
    Fail(LineOf(first_row), "expected " + std::to_string(width) + " values, found " + std::to_string(first_width));
  }
  if (any_full_row && not_full_row != npos) {
    Fail(LineOf(not_full_row),
         "expected " + std::to_string(width) + " values, found " + std::to_string(not_full_width));
  }
  if (!any_full_row && not_first_row != npos) {
    Fail(LineOf(not_first_row),
         "expected " + std::to_string(width) + " values, found " + std::to_string(not_first_width));
  }
  if (bad_index_row != npos) {
    Fail(LineOf(bad_index_row), "the index value " + bad_index + " is not a number: a depth index is needed");
  }

  const std::size_t columns = std::max(width, curve_count);
  if (values.size() < columns) {  // no rows
    values.resize(columns);
    is_text.resize(columns, 0);
  }
  file_.curves.resize(columns);
  for (std::size_t j = 0; j < curve_count; ++j) {
    LasCurve& c = file_.curves[j];
    c.mnemonic = curve_items_[j].item.mnemonic;
    c.unit = curve_items_[j].item.unit;
    c.description = curve_items_[j].item.description;
  }
  bool any_text = false;
  for (std::size_t j = 0; j < columns; ++j) {
    LasCurve& c = file_.curves[j];
    if (j >= width) {
      c.values.assign(rows, kNaN);
      continue;
    }
    if (is_text[j]) {
      c.is_text = true;
      c.texts.reserve(rows);
      any_text = true;
      continue;
    }
    c.values = std::move(values[j]);
    if (c.values.capacity() - c.values.size() > c.values.size() / 8) c.values.shrink_to_fit();
  }
  if (any_text) {
    RowReader again(text_, data_begin_, data_end_, delimiter_, file_.wrapped, curve_count, lines_, releaser_);
    std::size_t row_start = 0;
    while (again.Next(&row_start)) {
      const std::vector<Cell>& cells = again.cells();
      for (std::size_t j = 1; j < width; ++j) {
        if (is_text[j]) file_.curves[j].texts.emplace_back(cells[j].text);
      }
    }
  }
  NameCurves(&file_.curves);
}

}  // namespace davodu::las
