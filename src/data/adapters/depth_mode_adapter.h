// The common frame of the depth-converting data objects: a wrapper that owns
// a measured-depth object of the same family, built over the same host data,
// forwards to it and converts depths between measured depth and its own
// depth reference. The wrapped object is private to the wrapper and has no
// observers; kits observe the wrapper.
#ifndef DAVODU_DATA_ADAPTERS_DEPTH_MODE_ADAPTER_H_
#define DAVODU_DATA_ADAPTERS_DEPTH_MODE_ADAPTER_H_

#include <string>
#include <utility>

#include "davodu/data/data_sources.h"

namespace davodu {

// Interface: the data interface both objects implement. Inner: the
// measured-depth class. Mode: DT_TVD or DT_AD. Families derive from it and
// implement their interface's depth operations with ToMode / ToMeasured.
template <class Interface, class Inner, DepthType Mode>
class DepthModeAdapter : public Interface {
  static_assert(Mode == DT_TVD || Mode == DT_AD);

 public:
  template <class... Args>
  DepthModeAdapter(CWellDataManager* mgr, std::string well, Args&&... inner_args)
      : convert_(mgr, std::move(well), Mode), inner_(std::forward<Args>(inner_args)...) {}

  // The wrapped object refreshes its copies first, then the kits run.
  void Notify() override {
    inner_.Notify();
    Interface::Notify();
  }
  bool CheckNotify() override {
    if (!inner_.CheckNotify()) return false;
    Interface::Notify();
    return true;
  }

  Inner& inner() { return inner_; }
  const std::string& GetWellName() const { return convert_.GetWell(); }

 protected:
  // A measured depth in this object's reference, and back; a missing depth
  // stays kFltMax (DepthConverter).
  double ToMode(double md) const { return convert_.FromMeasured(md); }
  double ToMeasured(double depth) const { return convert_.ToMeasured(depth); }

  DepthConverter convert_;
  Inner inner_;
};

}  // namespace davodu

#endif  // DAVODU_DATA_ADAPTERS_DEPTH_MODE_ADAPTER_H_
