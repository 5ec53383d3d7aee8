// The fault points of a well (LogFaultPointIO): the fault depth and the gap
// (the depth thickness the fault cut out) of each row of the well's fault
// point table ("断点数据": "断点测深", "断距"), and their true-vertical-depth
// and altitude forms. The well lays its fault gaps out from them.
#ifndef DAVODU_DATA_ADAPTERS_FAULT_POINT_ADAPTERS_H_
#define DAVODU_DATA_ADAPTERS_FAULT_POINT_ADAPTERS_H_

#include <memory>
#include <string>

#include "davodu/data/adapters/depth_mode_adapter.h"
#include "davodu/data/adapters/stamped_adapter.h"
#include "davodu/data/data_io.h"
#include "davodu/store/well_table.h"

namespace davodu {

class AdapterFaultPoint : public StampedAdapter<LogFaultPointIO> {
 public:
  // The fault points of the named well (not necessarily the chart's).
  AdapterFaultPoint(CWellDataManager* mgr, const std::string& well);

  // The fault depth of point i; kFltMax outside.
  double GetDepth1(int i) override;
  // The gap of point i; kFltMax outside or where missing.
  double GetDepth2(int i) override;
  // 0 without a table.
  int GetCount() override;

 protected:
  std::uint64_t HostTimeStamp() override { return table_ ? table_->GetTimeStamp() : 0; }

 private:
  std::shared_ptr<CWellTable> table_;
};

// The fault depth is converted as a depth; the gap as the distance
// between the converted ends of the cut, ToMode(d + gap) - ToMode(d), so a
// gap in a deviated hole shrinks with the hole's slope as the chart does.
template <DepthType Mode>
class FaultPointDepthModeAdapter
    : public DepthModeAdapter<LogFaultPointIO, AdapterFaultPoint, Mode> {
 public:
  using DepthModeAdapter<LogFaultPointIO, AdapterFaultPoint, Mode>::DepthModeAdapter;

  double GetDepth1(int i) override { return this->ToMode(this->inner_.GetDepth1(i)); }
  double GetDepth2(int i) override {
    const double depth = this->inner_.GetDepth1(i), gap = this->inner_.GetDepth2(i);
    if (IsMissing(depth) || IsMissing(gap)) return gap;
    const double top = this->ToMode(depth), bottom = this->ToMode(depth + gap);
    return IsMissing(top) || IsMissing(bottom) ? kFltMax : bottom - top;
  }
  int GetCount() override { return this->inner_.GetCount(); }
};

using AdapterTVDFaultPoint = FaultPointDepthModeAdapter<DT_TVD>;
using AdapterADFaultPoint = FaultPointDepthModeAdapter<DT_AD>;

}  // namespace davodu

#endif  // DAVODU_DATA_ADAPTERS_FAULT_POINT_ADAPTERS_H_
