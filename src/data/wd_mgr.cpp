#include "davodu/data/wd_mgr.h"

#include "davodu/data/adapters/catalog_adapters.h"
#include "davodu/data/adapters/fault_point_adapters.h"
#include "davodu/data/adapters/log_cve_adapters.h"
#include "davodu/data/adapters/sand_adapters.h"
#include "davodu/data/adapters/stratum_adapters.h"
#include "davodu/host/util/util.h"
#include "davodu/store/general_data_manager.h"
#include "davodu/store/well_data_manager.h"

namespace davodu {

namespace {

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
  Families::ForEach([this]<class F>() { Cache<typename F::Entry>().clear(); });
  // Each object detaches its kits as it goes.
  std::vector<std::unique_ptr<Observee>> owned;
  owned.swap(owned_);
  owned.clear();
}

template <class Family>
void WDMgrIO::Poll() {
  using Entry = typename Family::Entry;
  // Index loops: a kit refreshed here may fetch more data and grow the cache.
  std::vector<Entry>& cache = Cache<Entry>();
  if constexpr (Family::kCatalogue == Catalogue::kNone) {
    for (std::size_t i = 0; i < cache.size(); ++i)
      if (cache[i].io) cache[i].io->CheckNotify();
  } else {
    for (std::size_t i = 0; i < cache.size(); ++i) {
      auto* io = cache[i].io;
      // The catalogue the entry is drawn with and its stamp.
      bool has_catalog = false;
      std::uint64_t stamp = 0;
      auto take = [&](auto* catalog) {
        has_catalog = catalog != nullptr;
        stamp = StampOf(catalog);
      };
      if constexpr (Family::kCatalogue == Catalogue::kFacies) take(GetFaciesTypeMgr());
      if constexpr (Family::kCatalogue == Catalogue::kCorelith) take(GetCorelithMgr());
      if constexpr (Family::kCatalogue == Catalogue::kShoot) take(GetShootMgr());
      if constexpr (Family::kCatalogue == Catalogue::kLthSample) take(GetLthSmapleMgr());
      if constexpr (Family::kCatalogue == Catalogue::kStratum) take(GetStratumMgr());
      if constexpr (Family::kCatalogue == Catalogue::kPara) take(GetParaMgr());
      if constexpr (Family::kCatalogue == Catalogue::kSymbol) {
        // Entries of a source that has no symbol catalogue are not polled.
        if (SymbolCatalogOf(cache[i].source) == SymbolCatalog::kNone) continue;
        take(GetSymbleMgr(cache[i].source));
      }
      if (!io) continue;
      if (has_catalog && io->GetTimeStamp() < stamp)
        io->Notify();
      else
        io->CheckNotify();
    }
  }
}

void WDMgrIO::CheckDataUpdate() {
  for (int rank = 1; rank <= Families::kCount; ++rank) {
    Families::ForEach([&]<class F>() {
      if (F::kPollRank == rank) Poll<F>();
    });
  }
}

void WDMgrIO::NotifyAllData() {
  Families::ForEach([this]<class F>() {
    if constexpr (F::kNotified) {
      std::vector<typename F::Entry>& cache = Cache<typename F::Entry>();
      for (std::size_t i = 0; i < cache.size(); ++i)
        if (cache[i].io) cache[i].io->Notify();
    }
  });
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
  // The colour table takes the database's stamp it was built at (stamps
  // come from the database, not from this machine's clock).
  const std::uint64_t stamp = mgr_ ? mgr_->GetTimeStamp() : 0;
  if (mgr_ && stamp != StratumMgr().GetTimeStamp()) {
    RebuildStratumColors();
    StratumMgr().SetTimeStamp(stamp);
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

std::unique_ptr<LogSandDIO> WDMgrAdapter::CreateLogSand(SANDTYPE type, const std::string& name) {
  const DepthType mode = GetDepthType();
  const int t = type;
  if (t == SAND_NONE) return std::make_unique<LogSandDefaultAdapter>();
  if (t == SAND_SCATT) {
    if (!IsScattTableExist(name, " \t")) return nullptr;
    return std::make_unique<LogSandScattDAdapter>(mgr_, FirstField(name, " \t"));
  }
  if (t < SAND_CLASS1 || t > SAND_SEGMENT3 || !IsWellManaged(well_)) return nullptr;
  if (t >= SAND_SEGMENT1) {
    if (!mgr_->GetWellSegmentData(t - SAND_SEGMENT1, well_)) return nullptr;
    return ForDepth<AdapterSegmentSand, AdapterSegmentTVDSand, AdapterSegmentADSand, LogSandDIO>(
        mode, mgr_, well_, mgr_, well_, t);
  }
  const bool has_table = t <= SAND_NETVALID     ? mgr_->GetWellSandStratum(well_) != nullptr
                         : t <= SAND_LEVEL_LAST ? mgr_->GetWellFineStratum((t - SAND_LEVEL_FIRST) / 4,
                                                                         well_) != nullptr
                                                : mgr_->GetWellInterStratum(well_) != nullptr;
  if (!has_table) return nullptr;
  return ForDepth<LogSandDAdapter, LogSandDTVDAdapter, LogSandDADAdapter, LogSandDIO>(
      mode, mgr_, well_, mgr_, well_, t);
}

std::unique_ptr<LogStratumDIO> WDMgrAdapter::CreateLogStratum(STRATUMTYPE type, const std::string&) {
  const int level = type;
  if (level < STRATUM_LEVEL1 || level > STRATUM_LEVEL5 || !IsWellManaged(well_)) return nullptr;
  if (!mgr_->GetWellStratum(level, well_)) return nullptr;
  return ForDepth<LogStratumDAdapter, LogStratumDTVDAdapter, LogStratumDADAdapter, LogStratumDIO>(
      GetDepthType(), mgr_, well_, mgr_, well_, level);
}

std::unique_ptr<LogStratum2DIO> WDMgrAdapter::CreateLogStratum2(STRATUMTYPE type,
                                                                const std::string& name) {
  const int level = type;
  if (level == STRATUM_NONE) return std::make_unique<LogStratumDefaultAdapter>();
  if (level == STRATUM_SCATT) {
    // The composed name ",table,name column,": its first field is the table.
    const std::vector<std::string> fields = ComposedNameFields(name);
    if (fields.size() != 2 || !IsScattTableExist(fields[0], " \t")) return nullptr;
    return std::make_unique<LogStratum2ScattAdapter>(mgr_, name);
  }
  if (level < STRATUM_LEVEL1 || level > STRATUM_LEVEL5 || !IsWellManaged(well_)) return nullptr;
  if (!mgr_->GetWellStratum(level, well_)) return nullptr;
  return ForDepth<LogStratum2DAdapter, LogStratum2DTVDAdapter, LogStratum2DADAdapter,
                  LogStratum2DIO>(GetDepthType(), mgr_, well_, mgr_, well_, level);
}

std::unique_ptr<LogFaultPointIO> WDMgrAdapter::CreateLogFaultPoint(FaultPointSOURCE src,
                                                                   const std::string& well) {
  // The well named by the request, which need not be the chart's.
  if (src != FAULTPOINT_WELL || !IsWellManaged(well) || !mgr_->GetWellFaultPoint(well)) return nullptr;
  return ForDepth<AdapterFaultPoint, AdapterTVDFaultPoint, AdapterADFaultPoint, LogFaultPointIO>(
      GetDepthType(), mgr_, well, mgr_, well);
}

// The families below have no data objects yet; their requests yield no
// data, which kits show as empty.
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
std::unique_ptr<LogSidewallCoreIO> WDMgrAdapter::CreateLogSidewallCore(DATATYPE, const std::string&) {
  return nullptr;
}
std::unique_ptr<LogIntegratedCoreIO> WDMgrAdapter::CreateLogIntegratedCore(DATATYPE,
                                                                           const std::string&) {
  return nullptr;
}

}  // namespace davodu
