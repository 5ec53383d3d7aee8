#include "davodu/host/objects/object_factory.h"

#include "davodu/host/objects/zu_object.h"

namespace davodu {

bool CZuObjectFactory::RegisterClass(const CRuntimeClass* cls) {
  if (!cls || FindClass(cls->class_name)) return false;
  classes_.push_back(cls);
  return true;
}

const CRuntimeClass* CZuObjectFactory::FindClass(std::string_view class_name) const {
  for (const CRuntimeClass* cls : classes_)
    if (class_name == cls->class_name) return cls;
  return nullptr;
}

CZuObject* CZuObjectFactory::CreateObject(std::string_view class_name) const {
  const CRuntimeClass* cls = FindClass(class_name);
  return cls ? cls->CreateObject() : nullptr;
}

void CZuObjectFactory::DeleteObject(CZuObject* object) const { delete object; }

CZuObjectFactory* AfxGetObjectFactory() {
  static CZuObjectFactory factory;
  return &factory;
}

}  // namespace davodu
