// Registration of the host's own object classes with the object factory.
#ifndef DAVODU_HOST_OBJECTS_HOST_CLASSES_H_
#define DAVODU_HOST_OBJECTS_HOST_CLASSES_H_

namespace davodu {

// Makes the host's object classes creatable by name ("CZuObjectCell"), so
// that documents holding them read back. Calling it again does nothing.
void AfxInitHostClasses();

}  // namespace davodu

#endif  // DAVODU_HOST_OBJECTS_HOST_CLASSES_H_
