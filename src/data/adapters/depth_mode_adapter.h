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
#include "davodu/host/util/types.h"
#include "davodu/store/well_data_manager.h"

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
      : mgr_(mgr), well_(std::move(well)), inner_(std::forward<Args>(inner_args)...) {}

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
  const std::string& GetWellName() const { return well_; }

 protected:
  // A measured depth in this object's reference. The host passes kFltMax
  // through; in altitude mode a missing depth keeps its value and only has
  // its sign changed, so it arrives as -kFltMax.
  double ToMode(double md) const {
    if (!mgr_) return Mode == DT_AD ? -md : md;
    if constexpr (Mode == DT_TVD) {
      return mgr_->ConvertDepthToZ(well_, md);
    } else {
      return IsMissing(md) ? -md : -mgr_->ConvertDepthToAltitude(well_, md);
    }
  }
  // A depth of this object's reference back in measured depth.
  double ToMeasured(double depth) const {
    if (!mgr_) return depth;
    if constexpr (Mode == DT_TVD) {
      return mgr_->ConvertZToDepth(well_, depth, false);
    } else {
      return IsMissing(-depth) ? kFltMax : mgr_->ConvertAltitudeToDepth(well_, -depth, false);
    }
  }

  CWellDataManager* mgr_;
  std::string well_;
  Inner inner_;
};

}  // namespace davodu

#endif  // DAVODU_DATA_ADAPTERS_DEPTH_MODE_ADAPTER_H_
