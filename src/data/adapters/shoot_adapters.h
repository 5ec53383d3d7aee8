// The perforation data objects (LogShootDIO), by SHOOTSOURCE: the
// perforation table of the chart's well ("射孔数据"; any source but 2), a
// scattered table (2), and the true-vertical-depth and altitude forms.
//
// A perforation has a kind and a date. The kind column holds "0", "1" or
// "2" (kinds 1, 2 and 3; kind 1 is not shown by the perforation column),
// or the perforation symbol's name that the perforation symbol column
// writes: "射孔" reads as kind 2 and "补孔" as kind 3; anything else as
// kind 1. Dates are read from the date column ("YYYY-MM-DD"); one that is
// missing or no day of the calendar reads as -1 in every part.
#ifndef DAVODU_DATA_ADAPTERS_SHOOT_ADAPTERS_H_
#define DAVODU_DATA_ADAPTERS_SHOOT_ADAPTERS_H_

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "davodu/data/adapters/interval_columns.h"
#include "davodu/data/adapters/seg_depth_mode_adapter.h"
#include "davodu/data/adapters/stamped_adapter.h"
#include "davodu/data/data_io.h"
#include "davodu/data/data_sources.h"
#include "davodu/store/general_data_manager.h"

namespace davodu {

// The kind a kind text stands for (1, 2 or 3).
int ShootKindOfText(std::string_view text);

// The dates of a table's records, read again whenever the table changed.
class RecordDates {
 public:
  explicit RecordDates(std::string column) : column_(std::move(column)) {}
  // The date of row i; null outside the rows.
  const DataDate* At(const CWellTable* table, int i);
  // Appends each distinct date of the rows, in row order, as "%4d-%02d-%02d";
  // with valid_only, rows without a valid date are left out.
  void Collect(const CWellTable* table, std::vector<std::string>* out, bool valid_only);

 private:
  void Read(const CWellTable* table);

  std::string column_;
  std::vector<DataDate> dates_;
  std::shared_ptr<const TableData> read_;
};

// The perforations of a table.
class ShootTableAdapter : public StampedAdapter<LogShootDIO> {
 public:
  int GetCount() override { return columns_.Count(Table()); }
  double GetTop(int i) override { return columns_.Top(Table(), i); }
  double GetBottom(int i) override { return columns_.Bottom(Table(), i); }
  bool Move(int i, double delta) override { return columns_.Move(Table(), i, delta); }
  bool SetTop(int i, double depth) override { return columns_.SetTop(Table(), i, depth, false); }
  bool SetBottom(int i, double depth) override { return columns_.SetBottom(Table(), i, depth, false); }
  int GetKind(int i) override;
  // Kinds 1, 2 and 3 write "0", "1" and "2"; any other kind an empty text.
  bool SetKind(int i, int kind) override;
  std::uint64_t GetTimeStamp() override { return RefreshStamp(); }
  // Valid until the table changes.
  const DataDate* GetDate(int i) override { return dates_.At(Table(), i); }
  void GetDates(std::vector<std::string>* dates) override;

 protected:
  ShootTableAdapter(IntervalColumns columns, std::string date_column, std::string kind_column)
      : columns_(std::move(columns)), dates_(date_column), kind_column_(std::move(kind_column)) {}
  virtual CWellTable* Table() = 0;
  std::uint64_t HostTimeStamp() override {
    CWellTable* t = Table();
    return t ? t->GetTimeStamp() : 0;
  }

 private:
  IntervalColumns columns_;
  RecordDates dates_;
  std::string kind_column_;
};

// The perforation table of a well (top and thickness).
class LogShootAdapter : public ShootTableAdapter {
 public:
  LogShootAdapter(CWellDataManager* mgr, std::string well);
  void CheckDataSet() override;

 protected:
  CWellTable* Table() override { return table_.get(); }

 private:
  std::string well_;
  std::shared_ptr<CWellTable> table_;
};

// A scattered segment table: the name's first field is the table, the
// optional second and third name its date and kind columns ("射孔日期" and
// "射孔类型" when not given). The table is looked up again whenever it has
// gone.
class LogShootScattAdapter : public ShootTableAdapter {
 public:
  LogShootScattAdapter(CWellDataManager* mgr, const std::string& name);
  void CheckDataSet() override;

 protected:
  CWellTable* Table() override;

 private:
  LogShootScattAdapter(CWellDataManager* mgr, const std::vector<std::string>& fields);

  CWellDataManager* mgr_;
  std::string table_name_;
  std::shared_ptr<CMutiColPtData> table_;
};

template <class Inner, DepthType Mode>
class ShootDepthModeAdapter : public SegDepthModeAdapter<LogShootDIO, Inner, Mode> {
 public:
  using SegDepthModeAdapter<LogShootDIO, Inner, Mode>::SegDepthModeAdapter;
  int GetKind(int i) override { return this->inner_.GetKind(i); }
  bool SetKind(int i, int kind) override { return this->inner_.SetKind(i, kind); }
  std::uint64_t GetTimeStamp() override { return this->inner_.GetTimeStamp(); }
  const DataDate* GetDate(int i) override { return this->inner_.GetDate(i); }
  void GetDates(std::vector<std::string>* dates) override { this->inner_.GetDates(dates); }
};

using LogShootDTVDAdapter = ShootDepthModeAdapter<LogShootAdapter, DT_TVD>;
using LogShootDADAdapter = ShootDepthModeAdapter<LogShootAdapter, DT_AD>;

}  // namespace davodu

#endif  // DAVODU_DATA_ADAPTERS_SHOOT_ADAPTERS_H_
