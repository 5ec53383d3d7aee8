// The refresh bookkeeping of the measured-depth data objects over host
// tables: the object remembers when it last refreshed its kits (0 until
// the first time); Notify refreshes them and takes the time; CheckNotify
// refreshes them when the host table's stamp is newer than that.
#ifndef DAVODU_DATA_ADAPTERS_STAMPED_ADAPTER_H_
#define DAVODU_DATA_ADAPTERS_STAMPED_ADAPTER_H_

#include <cstdint>

#include "davodu/host/util/util.h"

namespace davodu {

// Interface: the data interface (an Observee). HostTimeStamp() gives the
// host table's stamp, 0 when there is no table.
template <class Interface>
class StampedAdapter : public Interface {
 public:
  void Notify() override {
    Interface::Notify();
    stamp_ = AfxGetTimeStamp();
  }
  bool CheckNotify() override {
    if (HostTimeStamp() <= stamp_) return false;
    Refreshing();
    Notify();
    return true;
  }
  std::uint64_t RefreshStamp() const { return stamp_; }

 protected:
  virtual std::uint64_t HostTimeStamp() = 0;
  // Called before the kits are told that the host table changed.
  virtual void Refreshing() {}

 private:
  std::uint64_t stamp_ = 0;
};

}  // namespace davodu

#endif  // DAVODU_DATA_ADAPTERS_STAMPED_ADAPTER_H_
