// Module start-up: makes the kit classes creatable by name through the
// object factory.
#ifndef DAVODU_KITS_MODULE_H_
#define DAVODU_KITS_MODULE_H_

#include <vector>

namespace davodu {

struct CRuntimeClass;

// Registers the 23 kit classes with the object factory (once per process),
// then the perforation column (CWpShoot), which chart templates make, and
// builds the module's shared tables. Returns 1.
int DaVoduAttach();
// Ends the module. Classes stay registered.
void DaVoduDetach();

// The 23 kit classes the host knows, in registration order.
const std::vector<const CRuntimeClass*>& RegisteredKitClasses();

}  // namespace davodu

#endif  // DAVODU_KITS_MODULE_H_
