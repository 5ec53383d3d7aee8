#include "davodu/host/objects/host_classes.h"

#include "davodu/host/objects/object_factory.h"
#include "davodu/host/objects/zu_object_cell.h"

namespace davodu {

void AfxInitHostClasses() {
  // Registering a name twice is refused by the factory, so a second call
  // leaves the registrations as they are.
  AfxGetObjectFactory()->RegisterClass(DAVODU_RUNTIME_CLASS(CZuObjectCell));
}

}  // namespace davodu
