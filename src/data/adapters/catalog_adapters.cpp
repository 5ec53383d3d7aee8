#include "davodu/data/adapters/catalog_adapters.h"

#include <algorithm>

#include "davodu/host/util/util.h"

namespace davodu {

namespace {
constexpr COLORREF kWhite = 0xFFFFFF;
}  // namespace

int LogCveMgrAdapter::GetCount() { return log_ ? std::max(log_->GetColumnCount(), 0) : 0; }

std::string LogCveMgrAdapter::GetName(int i) {
  return log_ ? log_->GetColumnName(i) : std::string();
}

LogStratumMgrAdapter::LogStratumMgrAdapter() : stamp_(0) {}

bool LogStratumMgrAdapter::GetColor(const std::string& name, COLORREF* color) {
  const auto it = colors_.find(name);
  const bool found = it != colors_.end();
  if (color) *color = found ? it->second : kWhite;
  return found;
}

std::string LogStratumMgrAdapter::GetName(int i) {
  return i >= 0 && i < GetCount() ? names_[static_cast<std::size_t>(i)] : std::string();
}

void LogStratumMgrAdapter::Rebuild(const CStratumManager* catalog) {
  colors_.clear();
  names_.clear();
  if (!catalog) return;
  for (int level = 0; level < 5; ++level) {
    const int count = catalog->GetCount(level);
    for (int i = 0; i < count; ++i) {
      std::string name = catalog->GetName(level, i);
      if (colors_.count(name)) continue;
      COLORREF color = kWhite;
      catalog->GetColor(level, name, &color);
      colors_.emplace(name, color);
      names_.push_back(std::move(name));
    }
  }
}

int LogFaciesTypeMgrAdapter::GetCount() { return mgr_ ? std::max(mgr_->GetCount(), 0) : 0; }

ZULOGBRUSH LogFaciesTypeMgrAdapter::GetBrush(int i) {
  ZULOGBRUSH brush;
  if (!InRange(i)) {
    brush.color = kWhite;
    return brush;
  }
  brush.style = mgr_->GetBrushStyle(i);
  brush.color = mgr_->GetColor(i);
  return brush;
}

COLORREF LogFaciesTypeMgrAdapter::GetColor(int i) { return InRange(i) ? mgr_->GetColor(i) : kWhite; }
int LogFaciesTypeMgrAdapter::GetBrushStyle(int i) { return InRange(i) ? mgr_->GetBrushStyle(i) : 1001; }
std::string LogFaciesTypeMgrAdapter::GetName(int i) { return InRange(i) ? mgr_->GetName(i) : ""; }
std::string LogFaciesTypeMgrAdapter::GetCode(int i) { return InRange(i) ? mgr_->GetCode(i) : ""; }

int LogFaciesTypeMgrAdapter::FindByName(const std::string& name) {
  return mgr_ ? mgr_->FindFaciesTypeByName(name) : -1;
}

int LogFaciesTypeMgrAdapter::FindByCode(const std::string& code) {
  return mgr_ ? mgr_->FindFaciesTypeByCode(code) : -1;
}

int LogFaciesTypeMgrAdapter::FindByColor(COLORREF color) {
  const int n = GetCount();
  for (int i = 0; i < n; ++i)
    if (GetBrush(i).color == color) return i;
  return -1;
}

std::uint64_t LogFaciesTypeMgrAdapter::GetTimeStamp() { return mgr_ ? mgr_->GetTimeStamp() : 0; }

LogShootMgrAdapter::LogShootMgrAdapter() : stamp_(AfxGetTimeStamp()) {}

bool LogShootMgrAdapter::SetSetting1(std::uint32_t value) {
  setting1_ = value;
  stamp_ = AfxGetTimeStamp();
  return true;
}

bool LogShootMgrAdapter::SetSetting2(std::uint32_t value) {
  setting2_ = value;
  stamp_ = AfxGetTimeStamp();
  return true;
}

logLthSmapleAdapter::logLthSmapleAdapter() : stamp_(AfxGetTimeStamp()) {}

int AdapterSymbleMgr::GetCount() { return mgr_ ? std::max(mgr_->GetCount(), 0) : 0; }

int AdapterSymbleMgr::GetSymbol(int i) {
  if (i < 0 || i >= GetCount()) return ZULOGPOINT().style;
  return mgr_->GetCode(i);
}

std::string AdapterSymbleMgr::GetName(int i) { return mgr_ ? mgr_->GetName(i) : std::string(); }
int AdapterSymbleMgr::Find(const std::string& name) { return mgr_ ? mgr_->FindData(name) : -1; }
std::uint64_t AdapterSymbleMgr::GetTimeStamp() { return mgr_ ? mgr_->GetTimeStamp() : 0; }

}  // namespace davodu
