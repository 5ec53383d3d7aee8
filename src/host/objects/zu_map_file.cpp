#include "davodu/host/objects/zu_map_file.h"

#include "davodu/host/objects/zu_map.h"

namespace davodu {

CZuMapFile::CZuMapFile() { AddMap(""); }

CZuMapFile::~CZuMapFile() { Clear(); }

CZuMap* CZuMapFile::AddMap(const std::string& name) {
  maps_.push_back(std::make_unique<CZuMap>(this));
  maps_.back()->SetName(name);
  return maps_.back().get();
}

CZuMap* CZuMapFile::GetMap(int i) const {
  if (i < 0 || i >= GetMapCount()) return nullptr;
  return maps_[static_cast<std::size_t>(i)].get();
}

void CZuMapFile::Clear() {
  for (auto& map : maps_) map->ClearLayers();
  maps_.clear();
  menu_.clear();
  invalid_.clear();
}

}  // namespace davodu
