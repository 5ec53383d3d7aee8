#include "davodu/data/adapters/fault_point_adapters.h"

#include <algorithm>

#include "davodu/store/well_data_manager.h"

namespace davodu {

AdapterFaultPoint::AdapterFaultPoint(CWellDataManager* mgr, const std::string& well)
    : table_(mgr ? mgr->GetWellFaultPoint(well) : nullptr) {}

int AdapterFaultPoint::GetCount() { return table_ ? std::max(table_->GetCount(), 0) : 0; }

double AdapterFaultPoint::GetDepth1(int i) {
  return table_ ? table_->GetDouble(i, "depth") : kFltMax;
}

double AdapterFaultPoint::GetDepth2(int i) {
  return table_ ? table_->GetDouble(i, "throw") : kFltMax;
}

}  // namespace davodu
