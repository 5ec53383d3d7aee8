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
// A kit whose segments are edited through WriteSegEdit also provides
//   Record(i)                              the record of segment i (with its data
//                                          row `index`), or null;
//   void KeepLocalEdit(int i)              an edit of a segment without data kept.
#ifndef DAVODU_INTERVAL_BOUND_SEGMENT_H_
#define DAVODU_INTERVAL_BOUND_SEGMENT_H_

#include "davodu/data/observer.h"
#include "davodu/data/wd_mgr.h"
#include "davodu/host/util/types.h"
#include "davodu/interval/wp_segment.h"
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

  // After an edit written through the data object: on success every kit
  // showing the data reloads; on refusal this kit shows the data again.
  // Returns ok.
  bool SettleEdit(bool ok) {
    IO* io = GetData();
    if (!io) return ok;
    if (ok) {
      io->Notify();
    } else {
      kit().UpdateD2V();
      kit().InvalidateSeg();
    }
    return ok;
  }

  // Segment i, just moved (which 0) or stretched at its top or bottom
  // (which CWpSegment::kPickTop or kPickBottom) by the segment kit, written
  // through the data object to the row it shows: a move as the shift of the
  // row's top (refused when the row has no top), a boundary at its new
  // depth. A segment without data or record keeps the edit itself.
  void WriteSegEdit(int i, int which) {
    Kit& k = kit();
    IO* io = GetData();
    const auto* rec = k.Record(i);
    if (!io || !rec) {
      k.KeepLocalEdit(i);
      return;
    }
    const WPSEGMENT& seg = k.segs_[static_cast<std::size_t>(i)];
    if (which == CWpSegment::kPickTop || which == CWpSegment::kPickBottom) {
      const bool top = which == CWpSegment::kPickTop;
      const double depth = k.MapYToDep(static_cast<float>(top ? seg.top : seg.bottom));
      SettleEdit(top ? io->SetTop(rec->index, depth) : io->SetBottom(rec->index, depth));
      return;
    }
    const double now = io->GetTop(rec->index);
    SettleEdit(!IsMissing(now) && io->Move(rec->index, k.MapYToDep(static_cast<float>(seg.top)) - now));
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
