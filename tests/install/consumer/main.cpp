// Creates a well through the object factory and works it through the kit
// interface, as a host program would.
#include <davodu/davodu.h>

#include <cstdio>

using namespace davodu;

int main() {
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
  std::printf("consumer ok: %s with %d track(s)\n", well->GetClassName().c_str(),
              well->ChildrenCount());
  return 0;
}
