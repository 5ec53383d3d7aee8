// The facies data objects (LogFaciesDIO), by FACIESSOURCE: the facies of
// the stratification boundaries of a level (1-5: "一级分层界限数据" ..),
// of the stratification data of a level (6-9: "一级分层数据" .., one
// interval per sand-stratum), of a scattered table (11), the object that
// stands for no data (0), and the true-vertical-depth and altitude forms.
//
// An interval's facies name is its record's facies text (沉积相), cut to
// 15 bytes without splitting a character when set. Facies intervals are
// not moved or resized here: the tables' tops and bottoms belong to the
// stratification.
#ifndef DAVODU_DATA_ADAPTERS_FACIES_ADAPTERS_H_
#define DAVODU_DATA_ADAPTERS_FACIES_ADAPTERS_H_

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "davodu/data/adapters/depth_mode_adapter.h"
#include "davodu/data/adapters/stamped_adapter.h"
#include "davodu/data/data_io.h"
#include "davodu/data/data_sources.h"
#include "davodu/store/general_data_manager.h"

namespace davodu {

// The facies of a table whose rows (all, or those the row map keeps) are
// the intervals.
class FaciesTableAdapter : public StampedAdapter<LogFaciesDIO> {
 public:
  int GetCount() override;
  double GetTop(int i) override;
  double GetBottom(int i) override;
  std::string GetFaciesName(int i) override;
  // False for an index out of range or without a table.
  bool SetFaciesName(int i, const std::string& name) override;
  std::uint64_t GetTimeStamp() override { return RefreshStamp(); }
  int GetSource() override { return source_; }

 protected:
  FaciesTableAdapter(int source, std::string top, std::string bottom, bool bottom_is_thickness,
                     std::string facies, bool mapped)
      : source_(source),
        top_(std::move(top)),
        bottom_(std::move(bottom)),
        thickness_(bottom_is_thickness),
        facies_(std::move(facies)),
        mapped_(mapped) {}
  virtual CWellTable* Table() = 0;
  std::uint64_t HostTimeStamp() override {
    CWellTable* t = Table();
    return t ? t->GetTimeStamp() : 0;
  }

 private:
  // The row of interval i; -1 outside.
  int RowOf(int i);
  void Map(CWellTable* t);

  int source_;
  std::string top_, bottom_;
  bool thickness_;
  std::string facies_;
  // Only the rows whose top is present (neither 0 nor missing) are intervals.
  bool mapped_;
  std::vector<int> rows_;
  std::shared_ptr<const TableData> read_;
};

// Sources 1-5: the stratification boundaries of level source - 1.
class LogFaciesDAdapter : public FaciesTableAdapter {
 public:
  LogFaciesDAdapter(CWellDataManager* mgr, std::string well, int source);
  void CheckDataSet() override;

 protected:
  CWellTable* Table() override { return table_.get(); }

 private:
  std::string well_;
  std::shared_ptr<CWellTable> table_;
};

// Sources 6-9: the sand-strata of the stratification data of level
// source - 6.
class LogFaciesDAapter2 : public FaciesTableAdapter {
 public:
  LogFaciesDAapter2(CWellDataManager* mgr, std::string well, int source);
  void CheckDataSet() override;

 protected:
  CWellTable* Table() override { return table_.get(); }

 private:
  std::string well_;
  std::shared_ptr<CWellTable> table_;
};

// Source 11: a scattered segment table; the data name ",table,facies
// column," (the facies column "沉积相" when not given).
class LogFaciesScattAdapter : public FaciesTableAdapter {
 public:
  LogFaciesScattAdapter(CWellDataManager* mgr, const std::string& name);
  void CheckDataSet() override;

 protected:
  CWellTable* Table() override;

 private:
  LogFaciesScattAdapter(CWellDataManager* mgr, const std::vector<std::string>& fields);

  CWellDataManager* mgr_;
  std::string table_name_;
  std::shared_ptr<CMutiColPtData> table_;
};

// No facies data.
class LogFaciesDefaultAdapter : public NoDataAdapter<LogFaciesDIO> {
 public:
  int GetCount() override { return -1; }
  double GetTop(int) override { return kFltMax; }
  double GetBottom(int) override { return kFltMax; }
  std::string GetFaciesName(int) override { return {}; }
  bool SetFaciesName(int, const std::string&) override { return false; }
  void CheckDataSet() override {}
  int GetSource() override { return FACIES_NONE; }
};

template <class Inner, DepthType Mode>
class FaciesDepthModeAdapter : public DepthModeAdapter<LogFaciesDIO, Inner, Mode> {
 public:
  using DepthModeAdapter<LogFaciesDIO, Inner, Mode>::DepthModeAdapter;
  int GetCount() override { return this->inner_.GetCount(); }
  double GetTop(int i) override { return this->ToMode(this->inner_.GetTop(i)); }
  double GetBottom(int i) override { return this->ToMode(this->inner_.GetBottom(i)); }
  std::string GetFaciesName(int i) override { return this->inner_.GetFaciesName(i); }
  bool SetFaciesName(int i, const std::string& n) override { return this->inner_.SetFaciesName(i, n); }
  std::uint64_t GetTimeStamp() override { return this->inner_.GetTimeStamp(); }
  void CheckDataSet() override { this->inner_.CheckDataSet(); }
  int GetSource() override { return this->inner_.GetSource(); }
};

using LogFaciesDTVDAdapter = FaciesDepthModeAdapter<LogFaciesDAdapter, DT_TVD>;
using LogFaciesDADAdapter = FaciesDepthModeAdapter<LogFaciesDAdapter, DT_AD>;
using LogFaciesDTVDAdapter2 = FaciesDepthModeAdapter<LogFaciesDAapter2, DT_TVD>;
using LogFaciesDADAdapter2 = FaciesDepthModeAdapter<LogFaciesDAapter2, DT_AD>;

}  // namespace davodu

#endif  // DAVODU_DATA_ADAPTERS_FACIES_ADAPTERS_H_
