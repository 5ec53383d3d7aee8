// The interval rows of a host table: each row holds a top and either a
// bottom or a thickness column. Reads give kFltMax where the table or the
// value is missing; edits apply the neighbour rule (interval_rule.h) and
// write all the cells they change in one transaction, so that both ends of
// a moved interval, or a boundary shared by two rows, never change apart.
//
// Used by the interval data objects over stratification tables, segment
// tables and scattered tables; the table is passed to every call because
// some owners look it up again each time.
#ifndef DAVODU_DATA_ADAPTERS_INTERVAL_COLUMNS_H_
#define DAVODU_DATA_ADAPTERS_INTERVAL_COLUMNS_H_

#include <string>
#include <vector>

#include "davodu/data/interval_rule.h"
#include "davodu/store/well_table.h"

namespace davodu {

class IntervalColumns {
 public:
  // How the second column gives the interval's lower end.
  enum class Extent { kBottom, kThickness };

  // Column names as the table knows them (English or GBK host names).
  IntervalColumns(std::string top, std::string second, Extent extent)
      : top_(std::move(top)), second_(std::move(second)), extent_(extent) {}

  // Rows; -1 without a table.
  int Count(const CWellTable* table) const;
  double Top(const CWellTable* table, int i) const;
  double Bottom(const CWellTable* table, int i) const;
  DepthInterval At(const CWellTable* table, int i) const { return {Top(table, i), Bottom(table, i)}; }

  // The cells that give row i the interval [top, bottom].
  void Put(int i, double top, double bottom, std::vector<CellValue>* cells) const;

  // Shifts both ends of row i by delta; refused (false, nothing written)
  // when the moved interval would reach into a neighbour.
  bool Move(CWellTable* table, int i, double delta) const;
  // A new top (bottom) of row i. With link set, a neighbour whose boundary
  // coincides with the one that moves (within kIntervalTolerance) keeps
  // sharing it: its bottom (top) is written in the same transaction, and
  // the rule then limits the move by the neighbour's far end instead.
  bool SetTop(CWellTable* table, int i, double top, bool link) const;
  bool SetBottom(CWellTable* table, int i, double bottom, bool link) const;

  // Inserts a record for the interval [top, bottom] with further values at
  // its place in depth order (before the first row that starts below its
  // top); refused (-1, nothing written) when the interval is not one (no
  // thickness, upside down, a depth missing) or reaches into an interval
  // of the table. Returns the new row.
  int Insert(CWellTable* table, double top, double bottom, RecordValues values) const;
  // The first row whose top and bottom lie within tolerance of top and
  // bottom; -1 when none.
  int Find(const CWellTable* table, double top, double bottom, double tolerance) const;
  // Puts the rows in the order of their tops (rows without a top last,
  // rows of equal tops as they were), in one transaction; true when the
  // table is in that order afterwards.
  bool Arrange(CWellTable* table) const;

 private:
  std::string top_;
  std::string second_;
  Extent extent_;
};

}  // namespace davodu

#endif  // DAVODU_DATA_ADAPTERS_INTERVAL_COLUMNS_H_
