// Creates a well through the object factory and works it through the kit
// interface, and reads well data through the data manager and the gateway,
// as a host program would.
#include <davodu/davodu.h>

#include <cstdio>
#include <filesystem>

using namespace davodu;

int main(int argc, char** argv) {
  if (DaVoduAttach() != 1) return 1;
  CZuMapFile doc;
  CZuLayer* layer = doc.GetActiveMap()->AddLayer("chart");
  auto* well = dynamic_cast<CWpWell*>(AfxGetObjectFactory()->CreateObject("CWpWell"));
  if (!well || well->GetWpKitType() != WPKIT_WELL) return 2;
  layer->AddObject(well);
  auto* track = dynamic_cast<CWpKit*>(AfxGetObjectFactory()->CreateObject("CWpTrack"));
  well->AddChild(track);
  well->SetDepthScale(500);
  well->SetTopDepth(1200);
  well->BuildControlNodePointArray();
  if (track->GetTopDepth() != 1200 || well->GetDepthScale() != 500) return 3;
  if (well->DepToMapY(1200) != well->MapNode(0).y) return 4;

  // The well database through its public face.
  const std::filesystem::path db = std::filesystem::path(argc > 1 ? argv[1] : ".") / "wells.db";
  std::filesystem::remove(db);
  CWellDataManager wells(db.string());
  if (!wells.IsOpen()) return 5;
  if (!wells.ImportCurves("W1", {{"GR", "API", {1200, 1201, 1202}, {40, 60, 80}}})) return 6;
  WDMgrAdapter gateway(&wells, "W1");
  LogCveDataIO* gr = gateway.GetLogCve(CVE_WELLLOG, "GR", "");
  if (!gr || gr->GetValueCount() != 3 || gr->GetMaxValue() != 80) return 7;

  std::printf("consumer ok: %s with %d track(s), GR of %d samples\n",
              well->GetClassName().c_str(), well->ChildrenCount(), gr->GetValueCount());
  return 0;
}
