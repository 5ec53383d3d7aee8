// Run-time class records: the class name, size, schema, create function and
// base link of every host object class, with IsKindOf tests along the links.
#ifndef DAVODU_HOST_OBJECTS_RUNTIME_CLASS_H_
#define DAVODU_HOST_OBJECTS_RUNTIME_CLASS_H_

#include <cstddef>

namespace davodu {

class CZuObject;

struct CRuntimeClass {
  const char* class_name;
  std::size_t object_size;
  unsigned schema;
  CZuObject* (*create)();     // constructs with a null layer; null if abstract
  const CRuntimeClass* base;  // null for the root

  // True when this class is cls or derives from it.
  bool IsDerivedFrom(const CRuntimeClass* cls) const {
    for (const CRuntimeClass* c = this; c; c = c->base)
      if (c == cls) return true;
    return false;
  }
  CZuObject* CreateObject() const { return create ? create() : nullptr; }
};

#define DAVODU_RUNTIME_CLASS(cls) (&cls::class##cls)

// Declares the run-time class record, its accessor and the static factory
// entry of a class. Put it in the class body.
#define DAVODU_DECLARE_DYNCREATE(cls)                                 \
 public:                                                              \
  static const ::davodu::CRuntimeClass class##cls;                    \
  const ::davodu::CRuntimeClass* GetRuntimeClass() const override;    \
  static ::davodu::CZuObject* CreateObject();

// Defines them; base is the direct base class. The create function returns
// null when the allocation fails.
#define DAVODU_IMPLEMENT_DYNCREATE(cls, base)                                     \
  const ::davodu::CRuntimeClass cls::class##cls = {#cls, sizeof(cls), 1,          \
                                                   &cls::CreateObject,            \
                                                   DAVODU_RUNTIME_CLASS(base)};   \
  const ::davodu::CRuntimeClass* cls::GetRuntimeClass() const {                   \
    return DAVODU_RUNTIME_CLASS(cls);                                             \
  }                                                                               \
  ::davodu::CZuObject* cls::CreateObject() { return new (std::nothrow) cls(nullptr); }

}  // namespace davodu

#endif  // DAVODU_HOST_OBJECTS_RUNTIME_CLASS_H_
