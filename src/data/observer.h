// Change notification between shared data objects and the kits that show
// them. A data object (Observee) keeps the kits attached to it (Observers)
// and calls UpdateWithObservee on each when its data changed. Neither side
// owns the other; each side's destructor breaks the links, so either may
// die first. Everything runs synchronously on the caller's thread.
#ifndef DAVODU_DATA_OBSERVER_H_
#define DAVODU_DATA_OBSERVER_H_

#include <vector>

namespace davodu {

class Observee;

class Observer {
 public:
  Observer() = default;
  Observer(const Observer&) = delete;
  Observer& operator=(const Observer&) = delete;
  virtual ~Observer();
  // Called when the source changed: re-read the data and redraw.
  virtual void UpdateWithObservee() = 0;

  Observee* GetObservee() const { return source_; }
  // Asks the source to notify all its observers (this one included).
  void NotifyObservee();
  // Detaches from the source, if attached.
  void SepFrmObservee();

 protected:
  Observer* GetThis() { return this; }

 private:
  friend class Observee;
  Observee* source_ = nullptr;
};

class Observee {
 public:
  Observee() = default;
  Observee(const Observee&) = delete;
  Observee& operator=(const Observee&) = delete;
  virtual ~Observee();
  // Calls UpdateWithObservee of every observer in list order.
  virtual void Notify();
  // Data objects over host tables compare time stamps here and notify when
  // the table is newer; the base does nothing and returns false.
  virtual bool CheckNotify() { return false; }
  virtual bool HasObserver() const { return !observers_.empty(); }

  // Appends the observer, sets its source and lets it load at once.
  void Attatch(Observer* observer);
  // Appends the observer and sets its source, without a notification. An
  // observer is listed once and shows one source: one attached elsewhere
  // is detached there first; one already listed here stays where it is.
  void Register(Observer* observer);
  // Removes the observer and clears its source; an observer that is not in
  // the list is left untouched.
  void Detatch(Observer* observer);
  const std::vector<Observer*>& GetObservers() const { return observers_; }

 protected:
  Observee* GetThis() { return this; }

 private:
  std::vector<Observer*> observers_;
};

}  // namespace davodu

#endif  // DAVODU_DATA_OBSERVER_H_
