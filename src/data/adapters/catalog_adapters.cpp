#include "davodu/data/adapters/catalog_adapters.h"

#include <algorithm>

#include "davodu/host/graphics/pattern_library.h"
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

// ---------------------------------------------------------------- lithology

int LogCorelithMgrAdapter::GetLithCount() { return mgr_ ? mgr_->GetLithCount() : 0; }
int LogCorelithMgrAdapter::GetColorCount() { return mgr_ ? mgr_->GetColorCount() : 0; }
int LogCorelithMgrAdapter::GetOilCount() { return mgr_ ? mgr_->GetOilCount() : 0; }

LithPatternInfo LogCorelithMgrAdapter::GetLithPattern(int i) {
  LithPatternInfo info;
  if (i < 0 || i >= GetLithCount()) return info;
  const LithPattern p = mgr_->GetLithPattern(i);
  info.code = static_cast<unsigned>(LithPatternCode(static_cast<int>(p.code)));
  info.scale = p.size > 0 ? p.size / 30 : 1.0;
  return info;
}

bool LogCorelithMgrAdapter::GetLithPattern(const std::string& name, LithPatternInfo* pattern) {
  const int i = mgr_ ? mgr_->FindLith(name) : -1;
  if (i < 0) return false;
  LithPatternInfo info = GetLithPattern(i);
  if (info.code == static_cast<unsigned>(kLithPatternBase)) {
    // No pattern of its own: the default lithology's.
    const int fallback = mgr_->FindLith("");
    if (fallback >= 0) info.code = GetLithPattern(fallback).code;
  }
  if (pattern) *pattern = info;
  return true;
}

bool LogCorelithMgrAdapter::GetColorValue(const std::string& name, COLORREF* color) {
  const int i = mgr_ ? mgr_->FindColor(name) : -1;
  if (i < 0) return false;
  if (color) *color = mgr_->GetColorValue(i);
  return true;
}

bool LogCorelithMgrAdapter::GetLithColor(const std::string& name, COLORREF* color) {
  const int i = mgr_ ? mgr_->FindLith(name) : -1;
  if (color) *color = i >= 0 ? mgr_->GetLithColor(i) : 0xFFFFFF;
  return i >= 0;
}

bool LogCorelithMgrAdapter::GetOilSymbol(const std::string& name, int* symbol) {
  const int i = mgr_ ? mgr_->FindOil(name) : -1;
  if (i < 0) return false;
  if (symbol) *symbol = OilPatternCode(mgr_->GetOilSymbol(i));
  return true;
}

const COLORREF* LogCorelithMgrAdapter::GetColorValue(int i) {
  if (i < 0 || i >= GetColorCount()) return nullptr;
  color_ = mgr_->GetColorValue(i);
  return &color_;
}

std::string LogCorelithMgrAdapter::GetColorName(int i) {
  return i >= 0 && i < GetColorCount() ? mgr_->GetColorName(i) : std::string();
}
std::string LogCorelithMgrAdapter::GetColorFullName(int i) {
  return i >= 0 && i < GetColorCount() ? mgr_->GetColorFullName(i) : std::string();
}

const ZULOGPOINT* LogCorelithMgrAdapter::GetOilPoint(int i) {
  if (i < 0 || i >= GetOilCount()) return nullptr;
  oil_point_ = ZULOGPOINT{};
  oil_point_.style = OilPatternCode(mgr_->GetOilSymbol(i));
  oil_point_.color = mgr_->GetOilColor(i);
  return &oil_point_;
}

std::string LogCorelithMgrAdapter::GetOilName(int i) {
  return i >= 0 && i < GetOilCount() ? mgr_->GetOilName(i) : std::string();
}
std::string LogCorelithMgrAdapter::GetOilFullName(int i) {
  return i >= 0 && i < GetOilCount() ? mgr_->GetOilFullName(i) : std::string();
}
std::string LogCorelithMgrAdapter::GetLithName(int i) {
  return i >= 0 && i < GetLithCount() ? mgr_->GetLithName(i) : std::string();
}
std::string LogCorelithMgrAdapter::GetLithFullName(int i) {
  return i >= 0 && i < GetLithCount() ? mgr_->GetLithFullName(i) : std::string();
}

std::uint64_t LogCorelithMgrAdapter::GetTimeStamp() { return mgr_ ? mgr_->GetTimeStamp() : 0; }

namespace {

template <class Count, class Name, class FullName>
int FindByNames(const std::string& text, Count count, Name name, FullName full_name) {
  const int n = count();
  for (int i = 0; i < n; ++i)
    if (name(i) == text) return i;
  for (int i = 0; i < n; ++i)
    if (!text.empty() && full_name(i) == text) return i;
  return -1;
}

}  // namespace

int FindLith(LogCorelithMgrIO* c, const std::string& name) {
  if (!c) return -1;
  return FindByNames(
      name, [&] { return c->GetLithCount(); }, [&](int i) { return c->GetLithName(i); },
      [&](int i) { return c->GetLithFullName(i); });
}

int FindColor(LogCorelithMgrIO* c, const std::string& name) {
  if (!c) return -1;
  return FindByNames(
      name, [&] { return c->GetColorCount(); }, [&](int i) { return c->GetColorName(i); },
      [&](int i) { return c->GetColorFullName(i); });
}

int FindOil(LogCorelithMgrIO* c, const std::string& name) {
  if (!c) return -1;
  return FindByNames(
      name, [&] { return c->GetOilCount(); }, [&](int i) { return c->GetOilName(i); },
      [&](int i) { return c->GetOilFullName(i); });
}

// ---------------------------------------------------------------- perforation

LogShootMgrAdapter::LogShootMgrAdapter()
    : setting1_(kShootPatternBase + 1), setting2_(kShootPatternBase + 2), stamp_(AfxGetTimeStamp()) {}

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
  // The style, not the catalogue's numbering: numbers 1, 2, 3 are the
  // generic circle, square and triangle.
  return mgr_->GetStyle(i);
}

COLORREF AdapterSymbleMgr::GetColor(int i) {
  if (i < 0 || i >= GetCount()) return 0;
  return mgr_->GetColor(i);
}

std::string AdapterSymbleMgr::GetName(int i) { return mgr_ ? mgr_->GetName(i) : std::string(); }
int AdapterSymbleMgr::Find(const std::string& name) { return mgr_ ? mgr_->FindData(name) : -1; }
std::uint64_t AdapterSymbleMgr::GetTimeStamp() { return mgr_ ? mgr_->GetTimeStamp() : 0; }

}  // namespace davodu
