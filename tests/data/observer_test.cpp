#include "davodu/data/observer.h"

#include <gtest/gtest.h>

#include <memory>

namespace davodu {
namespace {

struct Counter : Observer {
  int updates = 0;
  Observee* detach_on_update = nullptr;
  Observer* other = nullptr;
  void UpdateWithObservee() override {
    ++updates;
    if (detach_on_update && other) detach_on_update->Detatch(other);
  }
};

TEST(Observer, AttachingLoadsAndListsOnce) {
  Observee source;
  Counter a;
  source.Attatch(&a);
  EXPECT_EQ(a.updates, 1);
  EXPECT_EQ(a.GetObservee(), &source);
  source.Attatch(&a);  // again: still listed once
  EXPECT_EQ(source.GetObservers().size(), 1u);
  source.Notify();
  EXPECT_EQ(a.updates, 3);
  // Attaching to another source moves it there.
  Observee second;
  second.Register(&a);
  EXPECT_TRUE(source.GetObservers().empty());
  EXPECT_EQ(a.GetObservee(), &second);
  // Detaching an observer that is not listed leaves it alone.
  source.Detatch(&a);
  EXPECT_EQ(a.GetObservee(), &second);
}

TEST(Observer, EitherSideMayDieFirst) {
  Counter a;
  {
    Observee source;
    source.Register(&a);
  }
  EXPECT_EQ(a.GetObservee(), nullptr);
  Observee source;
  {
    Counter b;
    source.Register(&b);
  }
  EXPECT_FALSE(source.HasObserver());
  source.Notify();  // nothing dangles
}

TEST(Observer, NotifySkipsObserversDetachedMeanwhile) {
  Observee source;
  Counter first, second;
  source.Register(&first);
  source.Register(&second);
  first.detach_on_update = &source;
  first.other = &second;
  source.Notify();
  EXPECT_EQ(first.updates, 1);
  EXPECT_EQ(second.updates, 0);
  EXPECT_EQ(second.GetObservee(), nullptr);
}

}  // namespace
}  // namespace davodu
