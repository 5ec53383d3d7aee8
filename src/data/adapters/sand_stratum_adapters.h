// The sand layer tables (LogSandStratum2DIO) of a well: the layers of one
// SANDTYPE of its sand or stratification data tables (1-25, sand_adapters.h
// says which table and which nested interval each shows), with the fields
// of the host records behind each layer; and their true-vertical-depth and
// altitude forms.
//
// The layers and their edits are those of the sand data object of the same
// type, which this object owns; the fields are read from the host table.
#ifndef DAVODU_DATA_ADAPTERS_SAND_STRATUM_ADAPTERS_H_
#define DAVODU_DATA_ADAPTERS_SAND_STRATUM_ADAPTERS_H_

#include <cstdint>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "davodu/data/adapters/sand_adapters.h"
#include "davodu/data/adapters/seg_depth_mode_adapter.h"
#include "davodu/data/adapters/stamped_adapter.h"
#include "davodu/data/data_io.h"

namespace davodu {

class LogSandStratum2DAdapter : public StampedAdapter<LogSandStratum2DIO> {
 public:
  // sand_type: SAND_CLASS1 .. SAND_INTERLAYER.
  LogSandStratum2DAdapter(CWellDataManager* mgr, std::string well, int sand_type);

  int GetCount() override { return layers_.GetCount(); }
  double GetTop(int i) override { return layers_.GetTop(i); }
  double GetBottom(int i) override { return layers_.GetBottom(i); }
  std::vector<std::string> GetFieldNames() override;
  double GetValue(int i, const std::string& field) override;
  std::string GetText(int i, const std::string& field) override;
  std::uint64_t GetTimeStamp() override { return RefreshStamp(); }
  void CheckDataSet() override { layers_.CheckDataSet(); }
  bool Move(int i, double delta) override { return layers_.Move(i, delta); }
  bool SetTop(int i, double depth) override { return layers_.SetTop(i, depth); }
  bool SetBottom(int i, double depth) override { return layers_.SetBottom(i, depth); }

  // Whether a field is summed over the records of a layer.
  static bool IsThicknessField(const std::string& field);

 protected:
  std::uint64_t HostTimeStamp() override { return table_ ? table_->GetTimeStamp() : 0; }

 private:
  // The host records [first, end) of layer i; empty outside the list.
  std::pair<int, int> RowsOf(int i);

  std::shared_ptr<CWellTable> table_;
  LogSandDAdapter layers_;
};

template <DepthType Mode>
class SandStratum2DDepthModeAdapter
    : public SegDepthModeAdapter<LogSandStratum2DIO, LogSandStratum2DAdapter, Mode> {
  using Base = SegDepthModeAdapter<LogSandStratum2DIO, LogSandStratum2DAdapter, Mode>;

 public:
  using Base::Base;
  std::vector<std::string> GetFieldNames() override { return this->inner_.GetFieldNames(); }
  // The values are the table's as stored (thicknesses measured along the hole).
  double GetValue(int i, const std::string& field) override { return this->inner_.GetValue(i, field); }
  std::string GetText(int i, const std::string& field) override { return this->inner_.GetText(i, field); }
  std::uint64_t GetTimeStamp() override { return this->inner_.GetTimeStamp(); }
};

using LogSandStratum2DTVDAdapter = SandStratum2DDepthModeAdapter<DT_TVD>;
using LogSandStratum2DADAdapter = SandStratum2DDepthModeAdapter<DT_AD>;

}  // namespace davodu

#endif  // DAVODU_DATA_ADAPTERS_SAND_STRATUM_ADAPTERS_H_
