#include "davodu/data/wd_mgr.h"

#include "davodu/data/adapters/catalog_adapters.h"
#include "davodu/data/adapters/log_cve_adapters.h"
#include "davodu/store/general_data_manager.h"
#include "davodu/host/util/util.h"
#include "davodu/store/well_data_manager.h"

namespace davodu {

namespace {

// Plain check: the object compares its host table's stamp itself.
template <class Entry>
void CheckEach(const std::vector<Entry>& cache) {
  // Index loop: a kit refreshed here may fetch more data and grow the cache.
  for (std::size_t i = 0; i < cache.size(); ++i)
    if (cache[i].io) cache[i].io->CheckNotify();
}

// Catalogue check: an object refreshed before the catalogue last changed is
// notified outright, so that its kits redraw with the new catalogue.
template <class Entry>
void CheckEachAgainst(const std::vector<Entry>& cache, bool has_catalog, std::uint64_t stamp) {
  for (std::size_t i = 0; i < cache.size(); ++i) {
    auto* io = cache[i].io;
    if (!io) continue;
    if (has_catalog && io->GetTimeStamp() < stamp)
      io->Notify();
    else
      io->CheckNotify();
  }
}

template <class Entry>
void NotifyEach(const std::vector<Entry>& cache) {
  for (std::size_t i = 0; i < cache.size(); ++i)
    if (cache[i].io) cache[i].io->Notify();
}

template <class Entry, class IO>
bool FindEntry(const std::vector<Entry>& cache, const IO* io, Entry& record) {
  if (!io) return false;
  for (const Entry& e : cache) {
    if (e.io == io) {
      record = e;
      return true;
    }
  }
  return false;
}

template <class Catalog>
std::uint64_t StampOf(Catalog* catalog) {
  return catalog ? catalog->GetTimeStamp() : 0;
}

// Class-wide catalogues shared by every gateway of the process.
LogStratumMgrAdapter& StratumMgr() {
  static LogStratumMgrAdapter mgr;
  return mgr;
}
LogFaciesTypeMgrAdapter& FaciesMgr() {
  static LogFaciesTypeMgrAdapter mgr;
  return mgr;
}
LogShootMgrAdapter& ShootMgr() {
  static LogShootMgrAdapter mgr;
  return mgr;
}
logLthSmapleAdapter& LthSmapleMgr() {
  static logLthSmapleAdapter mgr;
  return mgr;
}
AdapterSymbleMgr& SymbleMgr(SymbolCatalog which) {
  static AdapterSymbleMgr shoot, cycle, texture;
  switch (which) {
    case SymbolCatalog::kCycle: return cycle;
    case SymbolCatalog::kTexture: return texture;
    default: return shoot;
  }
}

}  // namespace

// ---------------------------------------------------------------- WDMgrIO

WDMgrIO::WDMgrIO() = default;

WDMgrIO::~WDMgrIO() { Clear(); }

void WDMgrIO::Clear() {
  cves_.clear();
  stratums_.clear();
  stratum2s_.clear();
  sands_.clear();
  facies_.clear();
  coreliths_.clear();
  shoots_.clear();
  testoils_.clear();
  paras_.clear();
  symbles_.clear();
  waters_.clear();
  lthsamples_.clear();
  sandstratums_.clear();
  faultpoints_.clear();
  sidewallcores_.clear();
  integratedcores_.clear();
  // Each object detaches its kits as it goes.
  std::vector<std::unique_ptr<Observee>> owned;
  owned.swap(owned_);
  owned.clear();
}

template <class IO, class Entry, class SameKey, class Create>
IO* WDMgrIO::Lookup(std::vector<Entry>& cache, Entry key, SameKey same, Create create) {
  for (const Entry& e : cache)
    if (e.depth == depth_type_ && same(e, key)) return e.io;
  std::unique_ptr<IO> io = create();
  if (!io) return nullptr;
  key.io = io.get();
  key.depth = depth_type_;
  owned_.push_back(std::move(io));
  cache.push_back(std::move(key));
  return cache.back().io;
}

LogCveDataIO* WDMgrIO::GetLogCve(CVESOURCE src, const std::string& name, const std::string& name2) {
  LOGCVE key;
  key.source = src;
  key.name = name;
  key.name2 = name2;
  return Lookup<LogCveDataIO>(
      cves_, std::move(key),
      [](const LOGCVE& a, const LOGCVE& b) {
        // A scattered column is known by its table as well as its name.
        return a.source == b.source && a.name == b.name && a.name2 == b.name2;
      },
      [&] { return CreateLogCve(src, name, name2); });
}

LogSandDIO* WDMgrIO::GetSand(SANDTYPE type, const std::string& name) {
  LOGSAND key;
  key.type = type;
  key.name = name;
  return Lookup<LogSandDIO>(
      sands_, std::move(key),
      [](const LOGSAND& a, const LOGSAND& b) { return a.name == b.name && a.type == b.type; },
      [&] { return CreateLogSand(type, name); });
}

LogStratumDIO* WDMgrIO::GetStratum(STRATUMTYPE type, const std::string& name) {
  LOGSTRATUM key;
  key.type = type;
  key.name = name;
  return Lookup<LogStratumDIO>(
      stratums_, std::move(key),
      [](const LOGSTRATUM& a, const LOGSTRATUM& b) { return a.name == b.name && a.type == b.type; },
      [&] { return CreateLogStratum(type, name); });
}

LogStratum2DIO* WDMgrIO::GetStratum2(STRATUMTYPE type, const std::string& name) {
  LOGSTRATUM2 key;
  key.type = type;
  key.name = name;
  return Lookup<LogStratum2DIO>(
      stratum2s_, std::move(key),
      [](const LOGSTRATUM2& a, const LOGSTRATUM2& b) { return a.name == b.name && a.type == b.type; },
      [&] { return CreateLogStratum2(type, name); });
}

LogFaciesDIO* WDMgrIO::GetFacies(FACIESSOURCE src, const std::string& name) {
  LOGFACIES key;
  key.source = src;
  key.name = name;
  return Lookup<LogFaciesDIO>(
      facies_, std::move(key),
      [](const LOGFACIES& a, const LOGFACIES& b) { return a.source == b.source && a.name == b.name; },
      [&] { return CreateLogFacies(src, name); });
}

LogCorelithDIO* WDMgrIO::GetCorelith(CORELITHSOURCE src, const std::string& name) {
  LOGCORELITH key;
  key.source = src;
  key.name = name;
  return Lookup<LogCorelithDIO>(
      coreliths_, std::move(key),
      [](const LOGCORELITH& a, const LOGCORELITH& b) {
        return a.source == b.source && a.name == b.name;
      },
      [&] { return CreateLogCorelith(src, name); });
}

LogShootDIO* WDMgrIO::GetShoot(SHOOTSOURCE src, const std::string& name) {
  LOGSHOOT key;
  key.source = src;
  key.name = name;
  return Lookup<LogShootDIO>(
      shoots_, std::move(key),
      [](const LOGSHOOT& a, const LOGSHOOT& b) { return a.source == b.source && a.name == b.name; },
      [&] { return CreateShoot(src, name); });
}

LogLthSampleDIO* WDMgrIO::GetLthSmaple(LSMAPLESOURCE src, const std::string& name) {
  LOGLTHSMAPLE key;
  key.source = src;
  key.name = name;
  return Lookup<LogLthSampleDIO>(
      lthsamples_, std::move(key),
      [](const LOGLTHSMAPLE& a, const LOGLTHSMAPLE& b) {
        return a.source == b.source && a.name == b.name;
      },
      [&] { return CreateLthSmaple(src, name); });
}

CDIOilTest* WDMgrIO::GetTestOil(TESTOILSOURCE src, const std::string& name) {
  LOGTESTOIL key;
  key.source = src;
  key.name = name;
  return Lookup<CDIOilTest>(
      testoils_, std::move(key),
      [](const LOGTESTOIL& a, const LOGTESTOIL& b) { return a.name == b.name && a.source == b.source; },
      [&] { return CreateLogTestOil(src, name); });
}

ISymbleData* WDMgrIO::GetSymbleData(SYMBLE_SRC src, const std::string& name) {
  LOGSYMBLE key;
  key.source = src;
  key.name = name;
  return Lookup<ISymbleData>(
      symbles_, std::move(key),
      [](const LOGSYMBLE& a, const LOGSYMBLE& b) { return a.source == b.source && a.name == b.name; },
      [&] { return CreateSymbleData(src, name); });
}

LogParaDIO* WDMgrIO::GetPara(const std::string& well, const std::string& table,
                             const std::string& field) {
  LOGPARA key;
  key.well = well;
  key.table = table;
  key.field = field;
  return Lookup<LogParaDIO>(
      paras_, std::move(key),
      [](const LOGPARA& a, const LOGPARA& b) {
        return a.well == b.well && a.table == b.table && a.field == b.field;
      },
      [&] { return CreatePara(well, table, field); });
}

LogWaterDataIO* WDMgrIO::GetWaterEntry(WATERSOURCE src, bool producted, const std::string& name) {
  LOGWATER key;
  key.producted = producted;
  key.source = src;
  key.name = name;
  return Lookup<LogWaterDataIO>(
      waters_, std::move(key),
      [](const LOGWATER& a, const LOGWATER& b) {
        return a.source == b.source && a.name == b.name && a.producted == b.producted;
      },
      [&] { return CreateLogWater(src, name, producted); });
}

LogSandStratum2DIO* WDMgrIO::GetSandStratum2DIO(DATATYPE type, int index, CWpWell* well) {
  LOGSANDSTRATUM key;
  key.index = index;
  key.type = type;
  key.well = well;
  return Lookup<LogSandStratum2DIO>(
      sandstratums_, key,
      [](const LOGSANDSTRATUM& a, const LOGSANDSTRATUM& b) {
        return a.type == b.type && a.index == b.index && a.well == b.well;
      },
      [&] { return CreateLogSandStratum(type, index, well); });
}

LogFaultPointIO* WDMgrIO::GetFaultPointDIO(FaultPointSOURCE src, const std::string& well) {
  LOGFAULTPOINT key;
  key.source = src;
  key.name = well;
  return Lookup<LogFaultPointIO>(
      faultpoints_, std::move(key),
      [](const LOGFAULTPOINT& a, const LOGFAULTPOINT& b) {
        return a.source == b.source && a.name == b.name;
      },
      [&] { return CreateLogFaultPoint(src, well); });
}

LogSidewallCoreIO* WDMgrIO::GetSidewallCoreIO(DATATYPE type, const std::string& name) {
  LOGSIDEWALLCORE key;
  key.type = type;
  key.name = name;
  return Lookup<LogSidewallCoreIO>(
      sidewallcores_, std::move(key),
      [](const LOGSIDEWALLCORE& a, const LOGSIDEWALLCORE& b) {
        return a.type == b.type && a.name == b.name;
      },
      [&] { return CreateLogSidewallCore(type, name); });
}

LogIntegratedCoreIO* WDMgrIO::GetIntegratedCoreIO(DATATYPE type, const std::string& name) {
  LOGINTEGRATEDCORE key;
  key.type = type;
  key.name = name;
  return Lookup<LogIntegratedCoreIO>(
      integratedcores_, std::move(key),
      [](const LOGINTEGRATEDCORE& a, const LOGINTEGRATEDCORE& b) {
        return a.type == b.type && a.name == b.name;
      },
      [&] { return CreateLogIntegratedCore(type, name); });
}

bool WDMgrIO::FindData(const LogSandDIO* io, LOGSAND& r) const { return FindEntry(sands_, io, r); }
bool WDMgrIO::FindData(const LogLthSampleDIO* io, LOGLTHSMAPLE& r) const {
  return FindEntry(lthsamples_, io, r);
}
bool WDMgrIO::FindData(const LogFaciesDIO* io, LOGFACIES& r) const { return FindEntry(facies_, io, r); }
bool WDMgrIO::FindData(const CDIOilTest* io, LOGTESTOIL& r) const { return FindEntry(testoils_, io, r); }
bool WDMgrIO::FindData(const LogCorelithDIO* io, LOGCORELITH& r) const {
  return FindEntry(coreliths_, io, r);
}
bool WDMgrIO::FindData(const LogShootDIO* io, LOGSHOOT& r) const { return FindEntry(shoots_, io, r); }
bool WDMgrIO::FindData(const LogStratum2DIO* io, LOGSTRATUM2& r) const {
  return FindEntry(stratum2s_, io, r);
}
bool WDMgrIO::FindData(const LogParaDIO* io, LOGPARA& r) const { return FindEntry(paras_, io, r); }
bool WDMgrIO::FindData(const ISymbleData* io, LOGSYMBLE& r) const { return FindEntry(symbles_, io, r); }
bool WDMgrIO::FindData(const LogWaterDataIO* io, LOGWATER& r) const { return FindEntry(waters_, io, r); }
bool WDMgrIO::FindData(const LogSandStratum2DIO* io, LOGSANDSTRATUM& r) const {
  return FindEntry(sandstratums_, io, r);
}
bool WDMgrIO::FindData(const LogSidewallCoreIO* io, LOGSIDEWALLCORE& r) const {
  return FindEntry(sidewallcores_, io, r);
}
bool WDMgrIO::FindData(const LogIntegratedCoreIO* io, LOGINTEGRATEDCORE& r) const {
  return FindEntry(integratedcores_, io, r);
}

void WDMgrIO::CheckDataUpdate() {
  CheckEach(sands_);
  CheckEach(stratums_);
  CheckEach(cves_);
  {
    LogFaciesTypeMgrIO* catalog = GetFaciesTypeMgr();
    CheckEachAgainst(facies_, catalog != nullptr, StampOf(catalog));
  }
  CheckEach(testoils_);
  {
    LogCorelithMgrIO* catalog = GetCorelithMgr();
    CheckEachAgainst(coreliths_, catalog != nullptr, StampOf(catalog));
  }
  {
    LogShootMgrIO* catalog = GetShootMgr();
    CheckEachAgainst(shoots_, catalog != nullptr, StampOf(catalog));
  }
  {
    LogLthSmapleMgrIO* catalog = GetLthSmapleMgr();
    CheckEachAgainst(lthsamples_, catalog != nullptr, StampOf(catalog));
  }
  {
    LogStratumMgrIO* catalog = GetStratumMgr();
    CheckEachAgainst(stratum2s_, catalog != nullptr, StampOf(catalog));
  }
  {
    LogParaDMgrIO* catalog = GetParaMgr();
    CheckEachAgainst(paras_, catalog != nullptr, StampOf(catalog));
  }
  {
    ISymbleMgr* shoot = GetSymbleMgr(SYMBLE_SHOOT);
    ISymbleMgr* cycle = GetSymbleMgr(SYMBLE_CYCLE_LONG);
    ISymbleMgr* texture = GetSymbleMgr(SYMBLE_TEXTURE);
    const std::uint64_t stamps[3] = {StampOf(shoot), StampOf(cycle), StampOf(texture)};
    for (std::size_t i = 0; i < symbles_.size(); ++i) {
      ISymbleData* io = symbles_[i].io;
      ISymbleMgr* catalog = nullptr;
      std::uint64_t stamp = 0;
      switch (SymbolCatalogOf(symbles_[i].source)) {
        case SymbolCatalog::kShoot: catalog = shoot; stamp = stamps[0]; break;
        case SymbolCatalog::kCycle: catalog = cycle; stamp = stamps[1]; break;
        case SymbolCatalog::kTexture: catalog = texture; stamp = stamps[2]; break;
        case SymbolCatalog::kNone: continue;
      }
      if (!io) continue;
      if (catalog && io->GetTimeStamp() < stamp)
        io->Notify();
      else
        io->CheckNotify();
    }
  }
  CheckEach(waters_);
  CheckEach(sandstratums_);
  CheckEach(faultpoints_);
  CheckEach(sidewallcores_);
  CheckEach(integratedcores_);
}

void WDMgrIO::NotifyAllData() {
  NotifyEach(cves_);
  NotifyEach(stratums_);
  NotifyEach(stratum2s_);
  NotifyEach(sands_);
  NotifyEach(facies_);
  NotifyEach(coreliths_);
  NotifyEach(shoots_);
  NotifyEach(testoils_);
  NotifyEach(paras_);
  NotifyEach(symbles_);
  NotifyEach(waters_);
  NotifyEach(lthsamples_);
}

// ---------------------------------------------------------------- WDMgrAdapter

WDMgrAdapter::WDMgrAdapter(CWellDataManager* mgr, const char* well_name)
    : cve_mgr_(std::make_unique<LogCveMgrAdapter>()), mgr_(mgr), well_(well_name ? well_name : "") {
  if (mgr_) {
    FaciesMgr().SetManager(mgr_->GetFaciesTypeManager());
    SymbleMgr(SymbolCatalog::kShoot).SetManager(mgr_->GetShootSymbolManager());
    SymbleMgr(SymbolCatalog::kCycle).SetManager(mgr_->GetCycleSymbolManager());
    SymbleMgr(SymbolCatalog::kTexture).SetManager(mgr_->GetTextureSymbolManager());
  }
  well_log_ = GetWellLog();
  cve_mgr_->SetWellLog(well_log_);
  RebuildStratumColors();
}

WDMgrAdapter::~WDMgrAdapter() = default;

void WDMgrAdapter::SetWellName(const char* well_name) {
  well_ = well_name ? well_name : "";
  well_log_ = GetWellLog();
  cve_mgr_->SetWellLog(well_log_);
}

bool WDMgrAdapter::IsWellManaged(const std::string& well_name) const {
  if (!mgr_) return false;
  return mgr_->GetWellPosition()->FindData(well_name) >= 0;
}

std::shared_ptr<CWellLog> WDMgrAdapter::GetWellLog() const {
  return mgr_ ? mgr_->GetWellLog(well_) : nullptr;
}

bool WDMgrAdapter::IsScattTableExist(const std::string& table, const std::string& separators) const {
  const std::string name = FirstField(table, separators);
  if (name.empty() || !mgr_) return false;
  return CColPtDataManager(mgr_).IsExist(name);
}

void WDMgrAdapter::RebuildStratumColors() {
  std::shared_ptr<CStratumManager> catalog = mgr_ ? mgr_->GetStratumManager() : nullptr;
  StratumMgr().Rebuild(catalog.get());
}

void WDMgrAdapter::CheckDataUpdate() {
  WDMgrIO::CheckDataUpdate();
  if (mgr_ && mgr_->GetTimeStamp() > StratumMgr().GetTimeStamp()) {
    RebuildStratumColors();
    StratumMgr().SetTimeStamp(AfxGetTimeStamp());
  }
}

LogShootMgrIO* WDMgrAdapter::GetShootMgr() { return &ShootMgr(); }
LogLthSmapleMgrIO* WDMgrAdapter::GetLthSmapleMgr() { return &LthSmapleMgr(); }
LogCveMgrIO* WDMgrAdapter::GetLogCveMgr() { return cve_mgr_.get(); }
LogFaciesTypeMgrIO* WDMgrAdapter::GetFaciesTypeMgr() { return &FaciesMgr(); }
LogCorelithMgrIO* WDMgrAdapter::GetCorelithMgr() { return nullptr; }
LogStratumMgrIO* WDMgrAdapter::GetStratumMgr() { return &StratumMgr(); }
LogParaDMgrIO* WDMgrAdapter::GetParaMgr() { return nullptr; }

ISymbleMgr* WDMgrAdapter::GetSymbleMgr(SYMBLE_SRC src) {
  const SymbolCatalog which = SymbolCatalogOf(src);
  return which == SymbolCatalog::kNone ? nullptr : &SymbleMgr(which);
}

// ---------------------------------------------------------------- factories

namespace {

// The measured-depth object, or its wrapper for the depth reference.
template <class Md, class Tvd, class Ad, class IO, class... Args>
std::unique_ptr<IO> ForDepth(DepthType mode, CWellDataManager* mgr, const std::string& well,
                             Args&&... args) {
  switch (mode) {
    case DT_TVD: return std::make_unique<Tvd>(mgr, well, args...);
    case DT_AD: return std::make_unique<Ad>(mgr, well, args...);
    default: return std::make_unique<Md>(args...);
  }
}

}  // namespace

std::unique_ptr<LogCveDataIO> WDMgrAdapter::CreateLogCve(CVESOURCE src, const std::string& name,
                                                         const std::string& name2) {
  const DepthType mode = GetDepthType();
  switch (src) {
    case CVE_WELLLOG: {
      if (!IsWellManaged(well_)) return nullptr;
      std::shared_ptr<CWellLog> log = GetWellLog();
      std::shared_ptr<CWellLogColumn> column = log ? log->GetColumn(name) : nullptr;
      if (!column) return nullptr;
      return ForDepth<LogCveDAdapter, LogCveDTVDAdapter, LogCveDADAdapter, LogCveDataIO>(
          mode, mgr_, well_, column);
    }
    case CVE_SCATT: {
      if (!IsScattTableExist(name2, " \t")) return nullptr;
      return std::make_unique<LogCveDScattAdapter>(mgr_, FirstField(name2, " \t"), name);
    }
    case CVE_CORE: {
      if (!IsWellManaged(well_)) return nullptr;
      std::shared_ptr<CWellTable> core = mgr_->GetWellCore(well_);
      if (!core || core->FindColumn(name) < 0) return nullptr;
      return ForDepth<LogCveDCoreAdapter, LogCveDTVDCoreAdapter, LogCveDADCoreAdapter,
                      LogCveDataIO>(mode, mgr_, well_, mgr_, well_, name);
    }
    case CVE_POINT1:
    case CVE_POINT2:
    case CVE_POINT3: {
      if (!IsWellManaged(well_)) return nullptr;
      const std::string table = PointTableName(src);
      if (!mgr_->GetWellPointData(PointTableIndex(table), well_)) return nullptr;
      return ForDepth<LogCveDPointAdapter, LogCveDTVDPointAdapter, LogCveDADPointAdapter,
                      LogCveDataIO>(mode, mgr_, well_, mgr_, table, name, well_);
    }
    case CVE_GASS: {
      if (!IsWellManaged(well_)) return nullptr;
      std::shared_ptr<CWellTable> gass = mgr_->GetWellGass(well_);
      if (!gass || gass->GetCount() < 1) return nullptr;
      return ForDepth<CCurveWellGassAdapter, CCurveWellGassTVDAdapter, CCurveWellGassADAdapter,
                      LogCveDataIO>(mode, mgr_, well_, gass, name);
    }
  }
  return nullptr;
}

// The families below have no data objects yet; their requests yield no
// data, which kits show as empty.
std::unique_ptr<LogSandDIO> WDMgrAdapter::CreateLogSand(SANDTYPE, const std::string&) {
  return nullptr;
}
std::unique_ptr<LogStratumDIO> WDMgrAdapter::CreateLogStratum(STRATUMTYPE, const std::string&) {
  return nullptr;
}
std::unique_ptr<LogStratum2DIO> WDMgrAdapter::CreateLogStratum2(STRATUMTYPE, const std::string&) {
  return nullptr;
}
std::unique_ptr<LogFaciesDIO> WDMgrAdapter::CreateLogFacies(FACIESSOURCE, const std::string&) {
  return nullptr;
}
std::unique_ptr<LogCorelithDIO> WDMgrAdapter::CreateLogCorelith(CORELITHSOURCE, const std::string&) {
  return nullptr;
}
std::unique_ptr<CDIOilTest> WDMgrAdapter::CreateLogTestOil(TESTOILSOURCE, const std::string&) {
  return nullptr;
}
std::unique_ptr<LogShootDIO> WDMgrAdapter::CreateShoot(SHOOTSOURCE, const std::string&) {
  return nullptr;
}
std::unique_ptr<LogLthSampleDIO> WDMgrAdapter::CreateLthSmaple(LSMAPLESOURCE, const std::string&) {
  return nullptr;
}
std::unique_ptr<LogParaDIO> WDMgrAdapter::CreatePara(const std::string&, const std::string&,
                                                     const std::string&) {
  return nullptr;
}
std::unique_ptr<ISymbleData> WDMgrAdapter::CreateSymbleData(SYMBLE_SRC, const std::string&) {
  return nullptr;
}
std::unique_ptr<LogWaterDataIO> WDMgrAdapter::CreateLogWater(WATERSOURCE, const std::string&, bool) {
  return nullptr;
}
std::unique_ptr<LogSandStratum2DIO> WDMgrAdapter::CreateLogSandStratum(DATATYPE, int, CWpWell*) {
  return nullptr;
}
std::unique_ptr<LogFaultPointIO> WDMgrAdapter::CreateLogFaultPoint(FaultPointSOURCE,
                                                                   const std::string&) {
  return nullptr;
}
std::unique_ptr<LogSidewallCoreIO> WDMgrAdapter::CreateLogSidewallCore(DATATYPE, const std::string&) {
  return nullptr;
}
std::unique_ptr<LogIntegratedCoreIO> WDMgrAdapter::CreateLogIntegratedCore(DATATYPE,
                                                                           const std::string&) {
  return nullptr;
}

}  // namespace davodu
