#include "davodu/data/wd_mgr.h"

#include "davodu/data/adapters/catalog_adapters.h"
#include "davodu/data/adapters/corelith_adapters.h"
#include "davodu/data/adapters/facies_adapters.h"
#include "davodu/data/adapters/integrated_core_adapters.h"
#include "davodu/data/adapters/fault_point_adapters.h"
#include "davodu/data/adapters/log_cve_adapters.h"
#include "davodu/data/adapters/para_adapters.h"
#include "davodu/data/adapters/scatt_table_adapters.h"
#include "davodu/data/adapters/table_adapters.h"
#include "davodu/data/adapters/lth_sample_adapters.h"
#include "davodu/data/adapters/sand_adapters.h"
#include "davodu/data/adapters/sand_stratum_adapters.h"
#include "davodu/data/adapters/shoot_adapters.h"
#include "davodu/data/adapters/sidewall_core_adapters.h"
#include "davodu/data/adapters/stratum_adapters.h"
#include "davodu/data/style_templates.h"
#include "davodu/data/adapters/symble_adapters.h"
#include "davodu/host/util/util.h"
#include "davodu/store/general_data_manager.h"
#include "davodu/host/dialogs/dialogs.h"
#include "davodu/host/util/gbk.h"
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
LogCorelithMgrAdapter& CorelithMgr() {
  static LogCorelithMgrAdapter mgr;
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
LogParaMgrAdapter& ParaMgr() {
  static LogParaMgrAdapter mgr;
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
    CorelithMgr().SetManager(mgr_->GetLithTypeManager());
    SymbleMgr(SymbolCatalog::kShoot).SetManager(mgr_->GetShootSymbolManager());
    SymbleMgr(SymbolCatalog::kCycle).SetManager(mgr_->GetCycleSymbolManager());
    SymbleMgr(SymbolCatalog::kTexture).SetManager(mgr_->GetTextureSymbolManager());
  }
  well_log_ = GetWellLog();
  cve_mgr_->SetWellLog(well_log_);
  RebuildStratumColors();
  style_stamp_ = LoadStyleTemplates(mgr_, 0);
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
  if (mgr_) style_stamp_ = LoadStyleTemplates(mgr_, style_stamp_);
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
LogCorelithMgrIO* WDMgrAdapter::GetCorelithMgr() { return &CorelithMgr(); }
LogStratumMgrIO* WDMgrAdapter::GetStratumMgr() { return &StratumMgr(); }
LogParaDMgrIO* WDMgrAdapter::GetParaMgr() {
  // The catalogue reads the host's table definitions and scattered tables
  // through the manager of the chart asking.
  ParaMgr().SetManager(mgr_);
  // Charts made without the host's start-up read the file on first use.
  if (!ParaMgr().IsLoaded()) ReadMgrs();
  return &ParaMgr();
}

std::string WDMgrAdapter::ParaConfigPath() { return AfxGetUserPath() + "/Database/paraconfig.dat"; }

bool WDMgrAdapter::ReadMgrs(const std::string&) {
  if (!ParaMgr().GetManager()) ParaMgr().SetManager(CWellDataManager::Instance());
  std::string error;
  const bool read = ParaMgr().Read(ParaConfigPath(), &error);
  if (!error.empty()) AfxGetDialogs().Message(error);
  return read;
}

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

std::unique_ptr<LogCorelithDIO> WDMgrAdapter::CreateLogCorelith(CORELITHSOURCE src,
                                                                const std::string& name) {
  switch (static_cast<int>(src)) {
    case CORELITH_NONE:
      return std::make_unique<LogCorelithDefaultAdapter>();
    case CORELITH_SCATT: {
      const std::vector<std::string> fields = ComposedNameParts(name);
      if (fields.empty() || !IsScattTableExist(fields[0], " \t")) return nullptr;
      return std::make_unique<LogCorelithScattDAdapter>(mgr_, name);
    }
    case CORELITH_WELL: {
      if (!IsWellManaged(well_)) return nullptr;
      int table = 0;
      if (IsLithologySegmentName(name, &table)) {
        if (!mgr_->GetWellSegmentData(table, well_)) return nullptr;
        return ForDepth<LogCorelithDSegementAdapter, LogCorelithDSegementTVDAdapter,
                        LogCorelithDSegementADAdapter, LogCorelithDIO>(GetDepthType(), mgr_, well_,
                                                                       mgr_, well_, name);
      }
      if (!mgr_->GetWellLithology(well_)) return nullptr;
      return ForDepth<LogCorelithDAdapter, LogCorelithDTVDAdapter, LogCorelithDADAdapter,
                      LogCorelithDIO>(GetDepthType(), mgr_, well_, mgr_, well_);
    }
    default:
      return nullptr;
  }
}

std::unique_ptr<LogShootDIO> WDMgrAdapter::CreateShoot(SHOOTSOURCE src, const std::string& name) {
  if (src == SHOOT_SCATT) {
    const std::vector<std::string> fields = ComposedNameParts(name);
    if (fields.empty() || !IsScattTableExist(fields[0], " \t")) return nullptr;
    return std::make_unique<LogShootScattAdapter>(mgr_, name);
  }
  if (!IsWellManaged(well_) || !mgr_->GetWellShoot(well_)) return nullptr;
  return ForDepth<LogShootAdapter, LogShootDTVDAdapter, LogShootDADAdapter, LogShootDIO>(
      GetDepthType(), mgr_, well_, mgr_, well_);
}

std::unique_ptr<LogLthSampleDIO> WDMgrAdapter::CreateLthSmaple(LSMAPLESOURCE src,
                                                               const std::string& name) {
  if (src == LSMAPLE_SCATT) {
    const std::vector<std::string> fields = ComposedNameParts(name);
    if (fields.empty() || !IsScattTableExist(fields[0], " \t")) return nullptr;
    return std::make_unique<LogLthSampleScattAdapter>(mgr_, name);
  }
  if (src != LSMAPLE_CORE || !IsWellManaged(well_)) return nullptr;
  std::shared_ptr<CWellTable> core = mgr_->GetWellCore(well_);
  if (!core || core->GetCount() < 0) return nullptr;
  return ForDepth<LogLthSampleCoreAdapter, LogLthSampleTVDCoreAdapter, LogLthSampleADCoreAdapter,
                  LogLthSampleDIO>(GetDepthType(), mgr_, well_, mgr_, well_, name);
}

std::unique_ptr<ISymbleData> WDMgrAdapter::CreateSymbleData(SYMBLE_SRC src, const std::string& name) {
  const DepthType mode = GetDepthType();
  switch (static_cast<int>(src)) {
    case SYMBLE_SHOOT:
      if (!IsWellManaged(well_) || !mgr_->GetWellShoot(well_)) return nullptr;
      return ForDepth<AdapterShoot, AdapterShootTVD, AdapterShootAD, ISymbleData>(mode, mgr_, well_,
                                                                                  mgr_, well_);
    case SYMBLE_CYCLE_LONG:
    case SYMBLE_CYCLE_SHORT:
    case SYMBLE_CYCLE_MID:
      if (!IsWellManaged(well_) || !mgr_->GetCycleData(well_, CycleKindName(src))) return nullptr;
      return ForDepth<AdapterCycle, AdapterCycleTVD, AdapterCycleAD, ISymbleData>(
          mode, mgr_, well_, mgr_, well_, static_cast<int>(src));
    case SYMBLE_TEXTURE:
      if (!IsWellManaged(well_) || !mgr_->GetWellTextureData(well_)) return nullptr;
      return ForDepth<AdapterTexture, AdapterTextureTVD, AdapterTextureAD, ISymbleData>(
          mode, mgr_, well_, mgr_, well_);
    case SYMBLE_SCATT_SHOOT:
    case SYMBLE_SCATT_CYCLE:
    case SYMBLE_SCATT_CYCLE2: {
      const std::vector<std::string> fields = ComposedNameParts(name);
      if (fields.empty() || !IsScattTableExist(fields[0], " \t")) return nullptr;
      if (src == SYMBLE_SCATT_SHOOT) return std::make_unique<AdapterScattShoot>(mgr_, name);
      return std::make_unique<AdapterScattCycle>(mgr_, name);
    }
    default:
      return std::make_unique<AdapterSymbleDefault>();
  }
}

std::unique_ptr<LogFaciesDIO> WDMgrAdapter::CreateLogFacies(FACIESSOURCE src, const std::string& name) {
  const int s = src;
  if (s == FACIES_NONE) return std::make_unique<LogFaciesDefaultAdapter>();
  if (s == FACIES_SCATT) {
    const std::vector<std::string> fields = ComposedNameParts(name);
    if (fields.empty() || !IsScattTableExist(fields[0], " \t")) return nullptr;
    return std::make_unique<LogFaciesScattAdapter>(mgr_, name);
  }
  if (!IsWellManaged(well_)) return nullptr;
  if (s >= FACIES_STRATUM_FIRST && s <= FACIES_STRATUM_LAST) {
    if (!mgr_->GetWellStratum(s - FACIES_STRATUM_FIRST, well_)) return nullptr;
    return ForDepth<LogFaciesDAdapter, LogFaciesDTVDAdapter, LogFaciesDADAdapter, LogFaciesDIO>(
        GetDepthType(), mgr_, well_, mgr_, well_, s);
  }
  if (s >= FACIES_FINE_FIRST && s <= FACIES_FINE_LAST) {
    if (!mgr_->GetWellFineStratum(s - FACIES_FINE_FIRST, well_)) return nullptr;
    return ForDepth<LogFaciesDAapter2, LogFaciesDTVDAdapter2, LogFaciesDADAdapter2, LogFaciesDIO>(
        GetDepthType(), mgr_, well_, mgr_, well_, s);
  }
  return nullptr;
}

std::unique_ptr<CDIOilTest> WDMgrAdapter::CreateLogTestOil(TESTOILSOURCE src, const std::string& name) {
  if (src == TESTOIL_SCATT) {
    if (!IsScattTableExist(name, " \t")) return nullptr;
    return std::make_unique<CDIOilTestS>(mgr_, FirstField(name, " \t"));
  }
  if (src != TESTOIL_WELL || !IsWellManaged(well_) || !mgr_->GetWellTest(well_)) return nullptr;
  return ForDepth<CDIOilTestW, CDIOilTestWTVD, CDIOilTestWAD, CDIOilTest>(GetDepthType(), mgr_, well_,
                                                                          mgr_, well_);
}

std::unique_ptr<LogWaterDataIO> WDMgrAdapter::CreateLogWater(WATERSOURCE src, const std::string& name,
                                                             bool producted) {
  if (src == WATER_SCATT) {
    // "TABLE[ TIME_FIELD]": a scattered table and the column of its dates.
    if (!IsScattTableExist(name, " \t")) return nullptr;
    const std::string table = FirstField(name, " \t");
    std::string field = TrimBlanks(std::string_view(name).substr(std::min(name.size(), name.find_first_of(" \t"))));
    if (field.empty()) field = Gbk("日期");
    return std::make_unique<WaterScattAdapter>(mgr_, table, field);
  }
  if (!IsWellManaged(well_)) return nullptr;
  std::shared_ptr<CWellTable> table =
      producted ? mgr_->GetWellProductFluid(well_) : mgr_->GetWellSuction(well_);
  if (!table || table->GetCount() < 1) return nullptr;
  return ForDepth<WaterProfileAdapter, LogWaterDataTVDAdapter, LogWaterDataADAdapter, LogWaterDataIO>(
      GetDepthType(), mgr_, well_, mgr_, well_, producted);
}

namespace {

// The interval source of a parameter table over an interval object whose
// interval i shows host row row(i).
template <class IO>
LogParaTableAdapter::Intervals IntervalsOf(IO* io, std::function<int(int)> row) {
  return {[io] { return io->GetCount(); }, [io](int i) { return io->GetTop(i); },
          [io](int i) { return io->GetBottom(i); }, std::move(row)};
}

// The host row of sand interval i in any depth reference.
int SandRowOf(LogSandDIO* io, int i) {
  if (auto* md = dynamic_cast<LogSandDAdapter*>(io)) return md->RowOf(i);
  if (auto* tvd = dynamic_cast<LogSandDTVDAdapter*>(io)) return tvd->inner().RowOf(i);
  if (auto* ad = dynamic_cast<LogSandDADAdapter*>(io)) return ad->inner().RowOf(i);
  return i;
}

}  // namespace

std::unique_ptr<LogParaDIO> WDMgrAdapter::CreatePara(const std::string& well, const std::string& table,
                                                     const std::string& field) {
  if (well == Gbk("离散数据")) {
    if (!IsScattTableExist(table, " \t")) return nullptr;
    return std::make_unique<LogParaScattAdapter>(mgr_, FirstField(table, " \t"), field);
  }
  if (well != Gbk("当前井") || !IsWellManaged(well_)) return nullptr;
  const ParaTableKind kind = ParaTableKindOf(table);
  const auto same_row = [](int i) { return i; };
  auto make = [&](auto io, std::shared_ptr<CWellTable> host, std::function<int(int)> row,
                  std::string data_set) -> std::unique_ptr<LogParaDIO> {
    if (!io || !host) return nullptr;
    std::shared_ptr<typename decltype(io)::element_type> owner(std::move(io));
    auto* raw = owner.get();
    return std::make_unique<LogParaTableAdapter>(owner, IntervalsOf(raw, std::move(row)), std::move(host),
                                                 field, well_, std::move(data_set));
  };
  switch (kind.family) {
    case ParaTableKind::kStratum:
      return make(CreateLogStratum2(static_cast<STRATUMTYPE>(kind.index), std::string()),
                  mgr_->GetWellStratum(kind.index, well_), same_row, StratumDataSetName(kind.index));
    case ParaTableKind::kSand: {
      const int t = kind.index;
      std::shared_ptr<CWellTable> host =
          t <= SAND_NETVALID     ? mgr_->GetWellSandStratum(well_)
          : t <= SAND_LEVEL_LAST ? mgr_->GetWellFineStratum((t - SAND_LEVEL_FIRST) / 4, well_)
                                 : mgr_->GetWellInterStratum(well_);
      std::unique_ptr<LogSandDIO> io = CreateLogSand(static_cast<SANDTYPE>(t), std::string());
      LogSandDIO* raw = io.get();
      return make(std::move(io), host, [raw](int i) { return SandRowOf(raw, i); }, SandDataSetName(t));
    }
    case ParaTableKind::kSegment:
      return make(CreateLogSand(static_cast<SANDTYPE>(SAND_SEGMENT1 + kind.index), std::string()),
                  mgr_->GetWellSegmentData(kind.index, well_), same_row, SegTableNameByID(SAND_SEGMENT1 + kind.index));
    case ParaTableKind::kShoot:
      return make(CreateShoot(SHOOT_WELL, std::string()), mgr_->GetWellShoot(well_), same_row, Gbk("射孔数据"));
    case ParaTableKind::kCorelith:
      return make(CreateLogCorelith(CORELITH_WELL, std::string()), mgr_->GetWellLithology(well_), same_row,
                  Gbk("岩性数据"));
    case ParaTableKind::kTestOil:
      return make(CreateLogTestOil(TESTOIL_WELL, std::string()), mgr_->GetWellTest(well_), same_row,
                  Gbk("试油数据"));
    default:
      return nullptr;
  }
}

// The index is the SANDTYPE whose intervals are the layers (1-25); the
// well argument is the chart's, which the gateway already knows.
std::unique_ptr<LogSandStratum2DIO> WDMgrAdapter::CreateLogSandStratum(DATATYPE type, int index,
                                                                       CWpWell*) {
  if (type != DATA_WELL || index < SAND_CLASS1 || index > SAND_INTERLAYER || !IsWellManaged(well_))
    return nullptr;
  const bool has_table =
      index <= SAND_NETVALID     ? mgr_->GetWellSandStratum(well_) != nullptr
      : index <= SAND_LEVEL_LAST ? mgr_->GetWellFineStratum((index - SAND_LEVEL_FIRST) / 4, well_) != nullptr
                                 : mgr_->GetWellInterStratum(well_) != nullptr;
  if (!has_table) return nullptr;
  return ForDepth<LogSandStratum2DAdapter, LogSandStratum2DTVDAdapter, LogSandStratum2DADAdapter,
                  LogSandStratum2DIO>(GetDepthType(), mgr_, well_, mgr_, well_, index);
}

// name: "TABLE,TEXT1,TEXT2" (sidewall_core_adapters.h).
std::unique_ptr<LogSidewallCoreIO> WDMgrAdapter::CreateLogSidewallCore(DATATYPE type,
                                                                       const std::string& name) {
  const std::vector<std::string> parts = ComposedNameParts(name);
  if (parts.size() < 2) return nullptr;
  const std::string& text1 = parts[1];
  const std::string text2 = parts.size() > 2 ? parts[2] : std::string();
  if (type == DATA_SCATT) {
    if (!IsScattTableExist(parts[0], " \t")) return nullptr;
    return std::make_unique<AdapterScattSidewallCore>(mgr_, FirstField(parts[0], " \t"), text1, text2);
  }
  if (type != DATA_WELL || !IsWellManaged(well_)) return nullptr;
  const DepthType mode = GetDepthType();
  for (int k = 0; k < 3; ++k) {
    if (parts[0] != Gbk("点数据") + std::to_string(k + 1)) continue;
    if (!mgr_->GetWellPointData(k, well_)) return nullptr;
    return ForDepth<AdapterPointSidewallCore, AdapterPointTVDSidewallCore, AdapterPointADSidewallCore,
                    LogSidewallCoreIO>(mode, mgr_, well_, mgr_, well_, k, text1, text2);
  }
  if (parts[0] != Gbk("井壁取芯数据")) return nullptr;
  std::shared_ptr<CWellTable> table = mgr_->GetWellSideWallCore(well_);
  if (!table || table->GetCount() < 0) return nullptr;
  return ForDepth<AdapterSidewallCore, AdapterTVDSidewallCore, AdapterADSidewallCore, LogSidewallCoreIO>(
      mode, mgr_, well_, mgr_, well_, text1, text2);
}
std::unique_ptr<LogIntegratedCoreIO> WDMgrAdapter::CreateLogIntegratedCore(DATATYPE type,
                                                                           const std::string&) {
  // Core runs are kept per well only.
  if (type != DATA_WELL || !IsWellManaged(well_)) return nullptr;
  std::shared_ptr<CWellTable> runs = mgr_->GetWellIntegratedCore(well_);
  if (!runs || runs->GetCount() < 0) return nullptr;
  return ForDepth<LogIntegratedCoreAdapter, LogIntegratedCoreTVDAdapter, LogIntegratedCoreADAdapter,
                  LogIntegratedCoreIO>(GetDepthType(), mgr_, well_, mgr_, well_);
}

}  // namespace davodu
