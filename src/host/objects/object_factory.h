// The object factory: creates host objects by class name.
#ifndef DAVODU_HOST_OBJECTS_OBJECT_FACTORY_H_
#define DAVODU_HOST_OBJECTS_OBJECT_FACTORY_H_

#include <string>
#include <string_view>
#include <vector>

#include "davodu/host/objects/runtime_class.h"

namespace davodu {

class CZuObject;

class CZuObjectFactory {
 public:
  // Makes a class creatable by its name. Registering a name again replaces
  // nothing and returns false.
  bool RegisterClass(const CRuntimeClass* cls);
  // A new object of the class registered under the name (exact match),
  // constructed with a null layer; null for a name not registered.
  CZuObject* CreateObject(std::string_view class_name) const;
  // Destroys an object (its destructor deletes its children). Null is ignored.
  void DeleteObject(CZuObject* object) const;

  const CRuntimeClass* FindClass(std::string_view class_name) const;
  // Registered classes in registration order.
  const std::vector<const CRuntimeClass*>& GetClasses() const { return classes_; }

 private:
  std::vector<const CRuntimeClass*> classes_;
};

CZuObjectFactory* AfxGetObjectFactory();

}  // namespace davodu

#endif  // DAVODU_HOST_OBJECTS_OBJECT_FACTORY_H_
