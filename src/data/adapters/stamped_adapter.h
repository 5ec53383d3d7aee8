// The refresh bookkeeping of the measured-depth data objects over host
// tables: the object remembers the stamp it last refreshed its kits at (0
// until the first time); Notify refreshes them and takes the stamp;
// CheckNotify refreshes them when the host table's stamp is newer than that.
//
// Stamps are handed out by the database, never read from a clock, so that
// an edit made on another machine (whose clock may run behind) is seen: the
// stamp taken is the host table's own, or the database's latest stamp where
// the object is also compared with a catalogue (HostClock).
#ifndef DAVODU_DATA_ADAPTERS_STAMPED_ADAPTER_H_
#define DAVODU_DATA_ADAPTERS_STAMPED_ADAPTER_H_

#include <algorithm>
#include <cstdint>

#include "davodu/host/util/util.h"


namespace davodu {

// Interface: the data interface (an Observee). HostTimeStamp() gives the
// host table's stamp, 0 when there is no table.
template <class Interface>
class StampedAdapter : public Interface {
 public:
  void Notify() override {
    // Taken before the kits reload: a change committed meanwhile is seen
    // again at the next poll rather than missed.
    const std::uint64_t seen = std::max(HostTimeStamp(), HostClock());
    Interface::Notify();
    stamp_ = seen;
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
  // The database's latest stamp; 0 where the object is compared only with
  // its own table.
  virtual std::uint64_t HostClock() { return 0; }
  // Called before the kits are told that the host table changed.
  virtual void Refreshing() {}

 private:
  std::uint64_t stamp_ = 0;
};

// The stamp bookkeeping of a data object that stands for no data: it has no
// host table, so its stamp is the process's time stamp of the last Notify.
template <class Interface>
class NoDataAdapter : public Interface {
 public:
  std::uint64_t GetTimeStamp() override { return stamp_; }
  void Notify() override {
    Interface::Notify();
    stamp_ = AfxGetTimeStamp();
  }

 private:
  std::uint64_t stamp_ = 0;
};

}  // namespace davodu

#endif  // DAVODU_DATA_ADAPTERS_STAMPED_ADAPTER_H_
