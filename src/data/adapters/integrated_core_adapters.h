// The core run data objects (LogIntegratedCoreIO): the coring summary
// table of the chart's well (取芯综合数据: run number, top, bottom, footage,
// core length, recovery), and its true-vertical-depth and altitude forms.
// Only the well's table stands for core runs: a scattered source has no
// data object.
//
// The footage is the table's, else the cored interval's length; the
// recovery the table's (percent), else core length / footage. Footage and
// core length are lengths along the hole and stay as they are in every
// depth reference.
//
// Edits follow the neighbour rule of the interval tables (interval_rule.h):
// runs stay in depth order and never overlap. A new top or bottom also
// gives a stored footage the new interval's length and a stored recovery
// the new ratio, in the same transaction.
#ifndef DAVODU_DATA_ADAPTERS_INTEGRATED_CORE_ADAPTERS_H_
#define DAVODU_DATA_ADAPTERS_INTEGRATED_CORE_ADAPTERS_H_

#include <cstdint>
#include <memory>
#include <string>

#include "davodu/data/adapters/interval_columns.h"
#include "davodu/data/adapters/seg_depth_mode_adapter.h"
#include "davodu/data/adapters/stamped_adapter.h"
#include "davodu/data/data_io.h"

namespace davodu {

class CWellDataManager;

class LogIntegratedCoreAdapter : public StampedAdapter<LogIntegratedCoreIO> {
 public:
  LogIntegratedCoreAdapter(CWellDataManager* mgr, std::string well);

  int GetCount() override;
  double GetTop(int i) override;
  double GetBottom(int i) override;
  bool Move(int i, double delta) override;
  bool SetTop(int i, double depth) override;
  bool SetBottom(int i, double depth) override;
  void CheckDataSet() override;
  int GetRun(int i) override;
  double GetFootage(int i) override;
  double GetCoreLength(int i) override;
  double GetRecovery(int i) override;
  std::uint64_t GetTimeStamp() override { return RefreshStamp(); }

 protected:
  std::uint64_t HostTimeStamp() override { return table_ ? table_->GetTimeStamp() : 0; }

 private:
  // A number of row i; kFltMax when missing or outside the table.
  double Number(int i, const char* column) const;
  // Gives row i the interval [top, bottom] with the footage and recovery
  // that follow it; refused when a neighbour is in the way.
  bool Resize(int i, double top, double bottom);

  std::string well_;
  std::shared_ptr<CWellTable> table_;
  IntervalColumns columns_;
};

template <class Inner, DepthType Mode>
class IntegratedCoreDepthModeAdapter : public SegDepthModeAdapter<LogIntegratedCoreIO, Inner, Mode> {
 public:
  using SegDepthModeAdapter<LogIntegratedCoreIO, Inner, Mode>::SegDepthModeAdapter;
  int GetRun(int i) override { return this->inner_.GetRun(i); }
  double GetFootage(int i) override { return this->inner_.GetFootage(i); }
  double GetCoreLength(int i) override { return this->inner_.GetCoreLength(i); }
  double GetRecovery(int i) override { return this->inner_.GetRecovery(i); }
  std::uint64_t GetTimeStamp() override { return this->inner_.GetTimeStamp(); }
};

using LogIntegratedCoreTVDAdapter = IntegratedCoreDepthModeAdapter<LogIntegratedCoreAdapter, DT_TVD>;
using LogIntegratedCoreADAdapter = IntegratedCoreDepthModeAdapter<LogIntegratedCoreAdapter, DT_AD>;

}  // namespace davodu

#endif  // DAVODU_DATA_ADAPTERS_INTEGRATED_CORE_ADAPTERS_H_
