// BoundSegment: the data link of a segment kit that shows one data object
// of its well's gateway (a stratification level, a sand table, a
// lithology table, ...). Every interval kit binds the same way:
//
//   InitDataTable  BindDataTable(): looks its data up and registers with
//                  it without loading (the chart's load order reloads
//                  every kit right after, ResetData);
//   ResetData      ReloadData(): clears the segments, looks the data up
//                  again and shows it (SetData);
//   SetData        detaches from the old object, attaches to the new one
//                  (which loads the segments at once) and takes the new
//                  object's identifier (source and names) from the gateway;
//   a change       UpdateWithObservee: the segments are rebuilt from the
//                  data (UpdateD2V) and the kit redrawn.
//
// When the data is not found the kit keeps the source and names it is
// configured with, so that a chart saved meanwhile finds its data again
// once the data exists.
//
// Kit derives from CWpSegment and from BoundSegment<Kit, IO, Entry> and
// provides, to its friend BoundSegment:
//   IO* FindDataObject(WDMgrIO* gateway)   the lookup by its source and names;
//   void TakeIdentifier(const Entry& e)    the source and names of a cache entry;
//   void UpdateD2V()                       the segments from the data.
#ifndef DAVODU_INTERVAL_BOUND_SEGMENT_H_
#define DAVODU_INTERVAL_BOUND_SEGMENT_H_

#include "davodu/data/observer.h"
#include "davodu/data/wd_mgr.h"
#include "davodu/well/wp_well.h"

namespace davodu {

template <class Kit, class IO, class Entry>
class BoundSegment : public Observer {
 public:
  // The data object shown, or null.
  IO* GetData() const { return dynamic_cast<IO*>(GetObservee()); }

  // Shows a data object (null: none).
  void SetData(IO* io) {
    SepFrmObservee();
    if (io)
      io->Attatch(this);
    else
      kit().InvalidateSeg();
    UpdateDataIdentifier();
  }

  // The data changed: rebuild the segments and redraw.
  void UpdateWithObservee() override {
    kit().UpdateD2V();
    kit().InvalidateSeg();
  }

 protected:
  // The gateway of the kit's well; null outside a well or before the
  // chart's data is loaded.
  WDMgrIO* Gateway() {
    CWpWell* well = kit().GetWell();
    return well ? well->GetDataMgr() : nullptr;
  }

  void BindDataTable() {
    if (IO* io = Lookup()) {
      io->Register(this);
    } else {
      SepFrmObservee();
      UpdateDataIdentifier();
    }
  }

  void ReloadData() {
    kit().ClearSeg();
    SetData(Lookup());
  }

  // Takes the identifier of the data shown from the gateway's cache.
  void UpdateDataIdentifier() {
    IO* io = GetData();
    WDMgrIO* gateway = Gateway();
    Entry entry;
    if (io && gateway && gateway->FindData(io, entry)) kit().TakeIdentifier(entry);
  }

 private:
  IO* Lookup() {
    WDMgrIO* gateway = Gateway();
    return gateway ? kit().FindDataObject(gateway) : nullptr;
  }
  Kit& kit() { return static_cast<Kit&>(*this); }
};

}  // namespace davodu

#endif  // DAVODU_INTERVAL_BOUND_SEGMENT_H_
