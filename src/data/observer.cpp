#include "davodu/data/observer.h"

#include <algorithm>

namespace davodu {

Observer::~Observer() { SepFrmObservee(); }

void Observer::NotifyObservee() {
  if (source_) source_->Notify();
}

void Observer::SepFrmObservee() {
  if (source_) source_->Detatch(this);
}

Observee::~Observee() {
  for (Observer* o : observers_)
    if (o->source_ == this) o->source_ = nullptr;
}

void Observee::Notify() {
  // An observer may detach itself (or others) while being notified: walk a
  // copy and skip those no longer attached.
  std::vector<Observer*> snapshot = observers_;
  for (Observer* o : snapshot)
    if (std::find(observers_.begin(), observers_.end(), o) != observers_.end())
      o->UpdateWithObservee();
}

void Observee::Attatch(Observer* observer) {
  if (!observer) return;
  Register(observer);
  observer->UpdateWithObservee();
}

void Observee::Register(Observer* observer) {
  if (!observer) return;
  // An observer shows one source and is listed once: attaching it again
  // moves it here instead of listing it twice.
  if (observer->source_ && observer->source_ != this) observer->source_->Detatch(observer);
  if (std::find(observers_.begin(), observers_.end(), observer) == observers_.end())
    observers_.push_back(observer);
  observer->source_ = this;
}

void Observee::Detatch(Observer* observer) {
  auto it = std::find(observers_.begin(), observers_.end(), observer);
  if (it == observers_.end()) return;
  observers_.erase(it);
  observer->source_ = nullptr;
}

}  // namespace davodu
