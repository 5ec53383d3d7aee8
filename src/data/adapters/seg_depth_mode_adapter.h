// The depth-reference forms of the interval families: a DepthModeAdapter
// whose interface extends LogSegDIO. Tops and bottoms are converted from
// measured depth; new tops and bottoms are converted back before they are
// written; a move is converted at the interval's own top, so that the
// interval lands where the chart shows it: the measured shift is
// MD(top + delta) - MD(top). A depth that has no measured depth (beyond a
// hole that never reaches it) is refused rather than written as missing.
//
// The families add their own operations on top (names, levels, types) in
// thin subclasses; the stratification, sand and fault point forms are in
// stratum_adapters.h, sand_adapters.h and fault_point_adapters.h, and the
// lithology, perforation and symbol families use the same frame.
#ifndef DAVODU_DATA_ADAPTERS_SEG_DEPTH_MODE_ADAPTER_H_
#define DAVODU_DATA_ADAPTERS_SEG_DEPTH_MODE_ADAPTER_H_

#include "davodu/data/adapters/depth_mode_adapter.h"
#include "davodu/data/data_io.h"
#include "davodu/host/util/types.h"

namespace davodu {

// Interface: LogSegDIO's family interface (LogStratum2DIO, LogSandDIO, ...).
// Inner: its measured-depth class. Mode: DT_TVD or DT_AD.
template <class Interface, class Inner, DepthType Mode>
class SegDepthModeAdapter : public DepthModeAdapter<Interface, Inner, Mode> {
  using Base = DepthModeAdapter<Interface, Inner, Mode>;

 public:
  using Base::Base;

  int GetCount() override { return this->inner_.GetCount(); }
  double GetTop(int i) override { return this->ToMode(this->inner_.GetTop(i)); }
  double GetBottom(int i) override { return this->ToMode(this->inner_.GetBottom(i)); }

  bool Move(int i, double delta) override {
    const double md_top = this->inner_.GetTop(i);
    if (IsMissing(md_top)) return false;
    const double md_new = this->ToMeasured(this->ToMode(md_top) + delta);
    if (IsMissing(md_new)) return false;
    return this->inner_.Move(i, md_new - md_top);
  }
  bool SetTop(int i, double depth) override {
    const double md = this->ToMeasured(depth);
    return !IsMissing(md) && this->inner_.SetTop(i, md);
  }
  bool SetBottom(int i, double depth) override {
    const double md = this->ToMeasured(depth);
    return !IsMissing(md) && this->inner_.SetBottom(i, md);
  }
  void CheckDataSet() override { this->inner_.CheckDataSet(); }

 protected:
  // A length measured down from a measured depth, in this reference: the
  // distance between the converted ends (a fault's gap, a thickness).
  double LengthToMode(double md, double length) const {
    if (IsMissing(md) || IsMissing(length)) return length;
    const double top = this->ToMode(md), bottom = this->ToMode(md + length);
    if (IsMissing(top) || IsMissing(bottom)) return kFltMax;
    return bottom - top;
  }
};

}  // namespace davodu

#endif  // DAVODU_DATA_ADAPTERS_SEG_DEPTH_MODE_ADAPTER_H_
