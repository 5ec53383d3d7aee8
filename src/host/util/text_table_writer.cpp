#include "davodu/host/util/text_table_writer.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

namespace davodu {
namespace {

// Bytes gathered before they go to the file.
constexpr std::size_t kFlushSize = 1 << 16;
// Wider columns than this are no table any reader can use; the bound keeps
// one cell's formatting within a fixed buffer.
constexpr int kMaxWidth = 512;
constexpr int kMaxDecimals = 30;

}  // namespace

double TextTableWriter::Printable(double v) {
  return (v > 9e9 || v < -999 || std::isnan(v)) ? kMissingValue : v;
}

bool TextTableWriter::Open(const std::string& path, std::string* error) {
  buffer_.clear();
  error_.clear();
  open_ = file_.Open(path, &error_);
  if (!open_ && error) *error = error_;
  return open_;
}

void TextTableWriter::Flush() {
  if (!open_ || buffer_.empty()) return;
  if (!file_.Append(buffer_, &error_)) open_ = false;
  buffer_.clear();
}

void TextTableWriter::Text(std::string_view text, int width) {
  if (!open_) return;
  if (width > kMaxWidth) width = kMaxWidth;
  if (width > 0 && text.size() < static_cast<std::size_t>(width))
    buffer_.append(static_cast<std::size_t>(width) - text.size(), ' ');
  buffer_.append(text);
  if (buffer_.size() >= kFlushSize) Flush();
}

void TextTableWriter::Number(double v, int width, int decimals) {
  if (!open_) return;
  if (width < 0) width = 0;
  if (width > kMaxWidth) width = kMaxWidth;
  if (decimals < 0) decimals = 0;
  if (decimals > kMaxDecimals) decimals = kMaxDecimals;
  // The largest double has 309 digits before the point.
  char cell[kMaxWidth + 400];
  const int n = std::snprintf(cell, sizeof cell, "%*.*f", width, decimals, v);
  if (n > 0) buffer_.append(cell, std::min<std::size_t>(static_cast<std::size_t>(n), sizeof cell - 1));
  if (buffer_.size() >= kFlushSize) Flush();
}

void TextTableWriter::NewLine() { Text(kLineBreak); }

bool TextTableWriter::Commit(std::string* error) {
  Flush();
  if (open_) {
    open_ = false;
    if (file_.Commit(&error_)) return true;
  } else if (error_.empty()) {
    error_ = "cannot write " + file_.path() + ": the table was not opened";
  }
  file_.Abandon();
  if (error) *error = error_;
  return false;
}

}  // namespace davodu
