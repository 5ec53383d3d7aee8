#include "davodu/data/data_set_checker.h"

namespace davodu {

CDataSetChecker* CDataSetChecker::Instance() {
  static CDataSetChecker checker;
  return &checker;
}

bool CDataSetChecker::CheckData(const std::string& well_name, const std::string& data_set) const {
  return fun_ ? fun_(well_name, data_set) : false;
}

}  // namespace davodu
