// TextTableWriter: the one writer of the text tables that kits export
// (curve samples, interval tables, kit-specific tables).
//
// A table is a header line followed by one line per row, each line a run of
// cells in fixed-width columns. The rules, the same for every table:
//
//   - Lines are separated by CR LF (kLineBreak), the line break of the text
//     files these tables are read with: they are GBK text for the users'
//     desktop tools. The last line has no line break after it, so a table
//     of a header alone is one line without a break.
//   - Text(t, width) writes t right-aligned in width bytes ("%*s");
//     Number(v, width, decimals) writes v as "%*.*f". A cell wider than its
//     column takes the room it needs, as printf does. Text is written as
//     given (GBK inside the module).
//   - Value(v, width, decimals) writes a measured value: one above 9e9,
//     below -999, or not a number (a missing value is FLT_MAX) is written as
//     kMissingValue, -9999. The depths and thicknesses of a table are
//     Numbers.
//
// The table is written through AtomicFile (atomic_file.h): a temporary file
// beside the target, renamed into place by Commit once all of it is
// written and flushed. Writes are checked: the first failure is kept, later
// cells are ignored, and Commit reports it naming the file ("cannot write
// PATH: No space left on device") and leaves no file behind; a table never
// committed leaves the target as it was.
//
// Typical use:
//
//   TextTableWriter table;
//   std::string error;
//   if (!table.Open(path, &error)) { report(error); return; }
//   table.Text(Gbk("深度[m]"));
//   table.Text(" GR[API]");
//   for (int i = 0; i < n; ++i) {
//     table.NewLine();
//     table.Number(depth[i], 9, 3);
//     table.Value(value[i], 11, 3);
//   }
//   if (!table.Commit(&error)) report(error);
#ifndef DAVODU_HOST_UTIL_TEXT_TABLE_WRITER_H_
#define DAVODU_HOST_UTIL_TEXT_TABLE_WRITER_H_

#include <string>
#include <string_view>

#include "davodu/host/util/atomic_file.h"

namespace davodu {

class TextTableWriter {
 public:
  static constexpr std::string_view kLineBreak = "\r\n";
  static constexpr double kMissingValue = -9999;

  // The number Value writes for v: v, or kMissingValue when v is above 9e9,
  // below -999 or not a number.
  static double Printable(double v);

  TextTableWriter() = default;
  ~TextTableWriter() = default;  // an uncommitted table leaves nothing behind
  TextTableWriter(const TextTableWriter&) = delete;
  TextTableWriter& operator=(const TextTableWriter&) = delete;

  // Starts a table that replaces path on Commit; false with *error (naming
  // the file) when it cannot be written there.
  bool Open(const std::string& path, std::string* error);

  // Cells of the current line; the first line is the header.
  void Text(std::string_view text, int width = 0);
  void Number(double v, int width, int decimals);
  void Value(double v, int width, int decimals) { Number(Printable(v), width, decimals); }
  // Ends the current line; the cells that follow start the next one.
  void NewLine();

  // Writes what is left, flushes and renames the table into place. False
  // with *error naming the file when any write failed.
  bool Commit(std::string* error);

  // The first failure so far (empty while all is well).
  const std::string& error() const { return error_; }

 private:
  void Flush();

  AtomicFile file_;
  std::string buffer_;
  std::string error_;
  bool open_ = false;
};

}  // namespace davodu

#endif  // DAVODU_HOST_UTIL_TEXT_TABLE_WRITER_H_
