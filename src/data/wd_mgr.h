// The well-data gateway of a chart. Kits never reach the host's well-data
// manager themselves: they ask their well's gateway for data by source kind
// and names, and get a data object (data_io.h) in the chart's depth
// reference. The gateway caches every object it hands out, so that all kits
// showing the same data share one object and are notified together; it
// polls the cached objects for host changes and hands out the catalogues.
//
// Ownership: the gateway owns every data object it hands out and destroys
// them with itself; kits only observe them. Destroying the gateway (the
// chart switched wells) detaches every kit, which then holds no source until
// it fetches again.
//
// WDMgrIO holds the caches, the lookups and the polling; WDMgrAdapter builds
// the objects over a CWellDataManager and the well's name.
#ifndef DAVODU_DATA_WD_MGR_H_
#define DAVODU_DATA_WD_MGR_H_

#include <cstdint>
#include <memory>
#include <string>
#include <tuple>
#include <type_traits>
#include <vector>

#include "davodu/data/data_io.h"
#include "davodu/data/data_sources.h"

namespace davodu {

class CWpWell;
class CWellDataManager;
class CWellLog;
class LogCveMgrAdapter;

// Cache entries. Kits keep them as the identifier of their data and store
// the key fields with the chart. depth is the depth reference current when
// the entry was made.
struct LOGCVE {
  LogCveDataIO* io = nullptr;
  CVESOURCE source = CVE_WELLLOG;
  std::string name;   // curve or column name
  std::string name2;  // scattered table name
  int depth = DT_MD;
  auto Key() const { return std::tie(source, name, name2); }
};
struct LOGSTRATUM {
  LogStratumDIO* io = nullptr;
  std::string name;
  STRATUMTYPE type = STRATUM_LEVEL1;
  int depth = DT_MD;
  auto Key() const { return std::tie(name, type); }
};
struct LOGSTRATUM2 {
  LogStratum2DIO* io = nullptr;
  std::string name;
  STRATUMTYPE type = STRATUM_LEVEL1;
  int depth = DT_MD;
  auto Key() const { return std::tie(name, type); }
};
struct LOGSAND {
  LogSandDIO* io = nullptr;
  std::string name;
  SANDTYPE type = SAND_NONE;
  int depth = DT_MD;
  auto Key() const { return std::tie(name, type); }
};
struct LOGFACIES {
  LogFaciesDIO* io = nullptr;
  std::string name;
  FACIESSOURCE source = FACIES_NONE;
  int depth = DT_MD;
  auto Key() const { return std::tie(source, name); }
};
struct LOGTESTOIL {
  CDIOilTest* io = nullptr;
  std::string name;
  TESTOILSOURCE source = TESTOIL_WELL;
  int depth = DT_MD;
  auto Key() const { return std::tie(name, source); }
};
struct LOGCORELITH {
  LogCorelithDIO* io = nullptr;
  CORELITHSOURCE source = CORELITH_NONE;
  std::string name;
  int depth = DT_MD;
  auto Key() const { return std::tie(source, name); }
};
struct LOGSHOOT {
  LogShootDIO* io = nullptr;
  SHOOTSOURCE source = SHOOT_WELL;
  std::string name;
  int depth = DT_MD;
  auto Key() const { return std::tie(source, name); }
};
struct LOGLTHSMAPLE {
  LogLthSampleDIO* io = nullptr;
  LSMAPLESOURCE source = LSMAPLE_CORE;
  std::string name;
  int depth = DT_MD;
  auto Key() const { return std::tie(source, name); }
};
struct LOGSYMBLE {
  ISymbleData* io = nullptr;
  SYMBLE_SRC source = SYMBLE_SHOOT;
  std::string name;
  int depth = DT_MD;
  auto Key() const { return std::tie(source, name); }
};
struct LOGPARA {
  LogParaDIO* io = nullptr;
  std::string well;   // "当前井" or "离散数据"
  std::string table;
  std::string field;
  int depth = DT_MD;
  auto Key() const { return std::tie(well, table, field); }
};
struct LOGWATER {
  bool producted = false;  // production instead of injection profiles
  LogWaterDataIO* io = nullptr;
  WATERSOURCE source = WATER_WELL;
  std::string name;
  int depth = DT_MD;
  auto Key() const { return std::tie(source, name, producted); }
};
struct LOGSANDSTRATUM {
  LogSandStratum2DIO* io = nullptr;
  int index = 0;
  DATATYPE type = DATA_WELL;
  CWpWell* well = nullptr;
  int depth = DT_MD;
  auto Key() const { return std::tie(type, index, well); }
};
struct LOGFAULTPOINT {
  LogFaultPointIO* io = nullptr;
  FaultPointSOURCE source = FAULTPOINT_WELL;
  std::string name;  // the well
  int depth = DT_MD;
  auto Key() const { return std::tie(source, name); }
};
struct LOGSIDEWALLCORE {
  LogSidewallCoreIO* io = nullptr;
  DATATYPE type = DATA_WELL;
  std::string name;
  int depth = DT_MD;
  auto Key() const { return std::tie(type, name); }
};
struct LOGINTEGRATEDCORE {
  LogIntegratedCoreIO* io = nullptr;
  DATATYPE type = DATA_WELL;
  std::string name;
  int depth = DT_MD;
  auto Key() const { return std::tie(type, name); }
};

// How CheckDataUpdate polls the objects of a family: a plain check asks
// each object to compare its host table's stamp (CheckNotify); a catalogue
// check notifies outright every object refreshed before the family's type
// catalogue last changed, so that its kits redraw with the new catalogue.
enum class Catalogue { kNone, kFacies, kCorelith, kShoot, kLthSample, kStratum, kPara, kSymbol };

// One data family of the gateway: its cache entry (the record above, whose
// Key() names what a lookup compares besides the depth reference), its
// place in the polling order, the catalogue it is polled against, and
// whether NotifyAllData reaches it. Adding a family is one line in
// WDMgrIO::Families, one named lookup and one factory.
template <class EntryT, int PollRank, Catalogue Cat = Catalogue::kNone, bool Notified = true>
struct GatewayFamily {
  using Entry = EntryT;
  using IO = std::remove_pointer_t<decltype(EntryT::io)>;
  static constexpr int kPollRank = PollRank;
  static constexpr Catalogue kCatalogue = Cat;
  static constexpr bool kNotified = Notified;
};

template <class... F>
struct GatewayFamilyList {
  using Caches = std::tuple<std::vector<typename F::Entry>...>;
  static constexpr int kCount = sizeof...(F);
  // Whether the polling places are 1..kCount, each taken once.
  static constexpr bool kPollOrderComplete =
      ((F::kPollRank >= 1 && F::kPollRank <= kCount) && ...) &&
      ((std::uint64_t{1} << F::kPollRank) | ...) == (std::uint64_t{1} << (kCount + 1)) - 2;
  // Calls f.template operator()<F>() for each family in list order.
  template <class Fn>
  static void ForEach(Fn&& f) {
    (f.template operator()<F>(), ...);
  }
};

// The family of a cache entry type in a family list.
template <class List, class Entry>
struct FindGatewayFamily;
template <class Entry, class F, class... Rest>
struct FindGatewayFamily<GatewayFamilyList<F, Rest...>, Entry>
    : std::conditional_t<std::is_same_v<typename F::Entry, Entry>, std::type_identity<F>,
                         FindGatewayFamily<GatewayFamilyList<Rest...>, Entry>> {};

class WDMgrIO {
 public:
  // The families in the order of their caches, which is the order in which
  // NotifyAllData visits them; the number is the family's place in the
  // polling order of CheckDataUpdate.
  using Families = GatewayFamilyList<
      GatewayFamily<LOGCVE, 3>,
      GatewayFamily<LOGSTRATUM, 2>,
      GatewayFamily<LOGSTRATUM2, 9, Catalogue::kStratum>,
      GatewayFamily<LOGSAND, 1>,
      GatewayFamily<LOGFACIES, 4, Catalogue::kFacies>,
      GatewayFamily<LOGCORELITH, 6, Catalogue::kCorelith>,
      GatewayFamily<LOGSHOOT, 7, Catalogue::kShoot>,
      GatewayFamily<LOGTESTOIL, 5>,
      GatewayFamily<LOGPARA, 10, Catalogue::kPara>,
      GatewayFamily<LOGSYMBLE, 11, Catalogue::kSymbol>,
      GatewayFamily<LOGWATER, 12>,
      GatewayFamily<LOGLTHSMAPLE, 8, Catalogue::kLthSample>,
      GatewayFamily<LOGSANDSTRATUM, 13, Catalogue::kNone, false>,
      GatewayFamily<LOGFAULTPOINT, 14, Catalogue::kNone, false>,
      GatewayFamily<LOGSIDEWALLCORE, 15, Catalogue::kNone, false>,
      GatewayFamily<LOGINTEGRATEDCORE, 16, Catalogue::kNone, false>>;
  static_assert(Families::kPollOrderComplete, "each polling place is taken by one family");
  // The data interface of a family, by its cache entry type.
  template <class Entry>
  using IOOf = typename FindGatewayFamily<Families, Entry>::type::IO;

  WDMgrIO();
  WDMgrIO(const WDMgrIO&) = delete;
  WDMgrIO& operator=(const WDMgrIO&) = delete;
  virtual ~WDMgrIO();

  // --- catalogues (null where the chart's host has none)
  virtual LogShootMgrIO* GetShootMgr() = 0;
  virtual LogLthSmapleMgrIO* GetLthSmapleMgr() = 0;
  virtual LogCveMgrIO* GetLogCveMgr() = 0;
  virtual LogFaciesTypeMgrIO* GetFaciesTypeMgr() = 0;
  virtual LogCorelithMgrIO* GetCorelithMgr() = 0;
  virtual LogStratumMgrIO* GetStratumMgr() = 0;
  virtual LogParaDMgrIO* GetParaMgr() = 0;
  // Shoot symbols for 1, 5, -2; cycle symbols for 2, 3, 4, 6, -1; texture
  // symbols for 7, 8, -3; null otherwise.
  virtual ISymbleMgr* GetSymbleMgr(SYMBLE_SRC src) = 0;

  // --- lookups: the cached object whose entry has the same Key() and the
  // current depth reference, else a new one from the family's factory
  // (cached), else null (not cached, so the next request tries again).
  // Names compare exactly.
  virtual ISymbleData* GetSymbleData(SYMBLE_SRC src, const std::string& name) {
    return Lookup(LOGSYMBLE{nullptr, src, name}, [&] { return CreateSymbleData(src, name); });
  }
  // A scattered column is known by its table (name2) as well as its name.
  LogCveDataIO* GetLogCve(CVESOURCE src, const std::string& name, const std::string& name2) {
    return Lookup(LOGCVE{nullptr, src, name, name2}, [&] { return CreateLogCve(src, name, name2); });
  }
  LogSandDIO* GetSand(SANDTYPE type, const std::string& name) {
    return Lookup(LOGSAND{nullptr, name, type}, [&] { return CreateLogSand(type, name); });
  }
  LogStratumDIO* GetStratum(STRATUMTYPE type, const std::string& name) {
    return Lookup(LOGSTRATUM{nullptr, name, type}, [&] { return CreateLogStratum(type, name); });
  }
  LogStratum2DIO* GetStratum2(STRATUMTYPE type, const std::string& name) {
    return Lookup(LOGSTRATUM2{nullptr, name, type}, [&] { return CreateLogStratum2(type, name); });
  }
  LogFaciesDIO* GetFacies(FACIESSOURCE src, const std::string& name) {
    return Lookup(LOGFACIES{nullptr, name, src}, [&] { return CreateLogFacies(src, name); });
  }
  LogCorelithDIO* GetCorelith(CORELITHSOURCE src, const std::string& name) {
    return Lookup(LOGCORELITH{nullptr, src, name}, [&] { return CreateLogCorelith(src, name); });
  }
  LogShootDIO* GetShoot(SHOOTSOURCE src, const std::string& name) {
    return Lookup(LOGSHOOT{nullptr, src, name}, [&] { return CreateShoot(src, name); });
  }
  LogLthSampleDIO* GetLthSmaple(LSMAPLESOURCE src, const std::string& name) {
    return Lookup(LOGLTHSMAPLE{nullptr, src, name}, [&] { return CreateLthSmaple(src, name); });
  }
  CDIOilTest* GetTestOil(TESTOILSOURCE src, const std::string& name) {
    return Lookup(LOGTESTOIL{nullptr, name, src}, [&] { return CreateLogTestOil(src, name); });
  }
  LogParaDIO* GetPara(const std::string& well, const std::string& table, const std::string& field) {
    return Lookup(LOGPARA{nullptr, well, table, field}, [&] { return CreatePara(well, table, field); });
  }
  LogWaterDataIO* GetWaterEntry(WATERSOURCE src, bool producted, const std::string& name) {
    return Lookup(LOGWATER{producted, nullptr, src, name},
                  [&] { return CreateLogWater(src, name, producted); });
  }
  LogSandStratum2DIO* GetSandStratum2DIO(DATATYPE type, int index, CWpWell* well) {
    return Lookup(LOGSANDSTRATUM{nullptr, index, type, well},
                  [&] { return CreateLogSandStratum(type, index, well); });
  }
  LogFaultPointIO* GetFaultPointDIO(FaultPointSOURCE src, const std::string& well) {
    return Lookup(LOGFAULTPOINT{nullptr, src, well}, [&] { return CreateLogFaultPoint(src, well); });
  }
  LogSidewallCoreIO* GetSidewallCoreIO(DATATYPE type, const std::string& name) {
    return Lookup(LOGSIDEWALLCORE{nullptr, type, name},
                  [&] { return CreateLogSidewallCore(type, name); });
  }
  LogIntegratedCoreIO* GetIntegratedCoreIO(DATATYPE type, const std::string& name) {
    return Lookup(LOGINTEGRATEDCORE{nullptr, type, name},
                  [&] { return CreateLogIntegratedCore(type, name); });
  }

  // Polls the cached objects for host changes, family by family in the
  // polling order of Families: plain families ask each object's
  // CheckNotify(); catalogue families notify outright the objects refreshed
  // before their catalogue last changed (symbols: the catalogue of each
  // entry's source; entries of no symbol catalogue are skipped).
  virtual void CheckDataUpdate();

  // Entries made under another depth reference stay cached (and observed);
  // later lookups create objects of the new reference.
  void SetDepthType(DepthType type) { depth_type_ = type; }
  DepthType GetDepthType() const { return depth_type_; }

  // The cache entry of an object this gateway handed out: copied into the
  // record, true. False, record untouched, for any other object (of another
  // gateway, or null). One template serves every family.
  template <class Entry>
  bool FindData(const std::type_identity_t<IOOf<Entry>>* io, Entry& record) const;

  // Notifies every object of the families NotifyAllData reaches (all but
  // sand/stratum tables, fault points and cores), family by family.
  void NotifyAllData();

 private:
  // Factories of the implementation; null when the host has no such data.
  virtual std::unique_ptr<LogCveDataIO> CreateLogCve(CVESOURCE, const std::string&, const std::string&) = 0;
  virtual std::unique_ptr<LogSandDIO> CreateLogSand(SANDTYPE, const std::string&) = 0;
  virtual std::unique_ptr<LogStratumDIO> CreateLogStratum(STRATUMTYPE, const std::string&) = 0;
  virtual std::unique_ptr<LogStratum2DIO> CreateLogStratum2(STRATUMTYPE, const std::string&) = 0;
  virtual std::unique_ptr<LogFaciesDIO> CreateLogFacies(FACIESSOURCE, const std::string&) = 0;
  virtual std::unique_ptr<LogCorelithDIO> CreateLogCorelith(CORELITHSOURCE, const std::string&) = 0;
  virtual std::unique_ptr<CDIOilTest> CreateLogTestOil(TESTOILSOURCE, const std::string&) = 0;
  virtual std::unique_ptr<LogShootDIO> CreateShoot(SHOOTSOURCE, const std::string&) = 0;
  virtual std::unique_ptr<LogLthSampleDIO> CreateLthSmaple(LSMAPLESOURCE, const std::string&) = 0;
  virtual std::unique_ptr<LogParaDIO> CreatePara(const std::string&, const std::string&, const std::string&) = 0;
  virtual std::unique_ptr<ISymbleData> CreateSymbleData(SYMBLE_SRC, const std::string&) = 0;
  virtual std::unique_ptr<LogWaterDataIO> CreateLogWater(WATERSOURCE, const std::string&, bool) = 0;
  virtual std::unique_ptr<LogSandStratum2DIO> CreateLogSandStratum(DATATYPE, int, CWpWell*) = 0;
  virtual std::unique_ptr<LogFaultPointIO> CreateLogFaultPoint(FaultPointSOURCE, const std::string&) = 0;
  virtual std::unique_ptr<LogSidewallCoreIO> CreateLogSidewallCore(DATATYPE, const std::string&) = 0;
  virtual std::unique_ptr<LogIntegratedCoreIO> CreateLogIntegratedCore(DATATYPE, const std::string&) = 0;

  template <class Entry>
  std::vector<Entry>& Cache() { return std::get<std::vector<Entry>>(caches_); }
  template <class Entry>
  const std::vector<Entry>& Cache() const { return std::get<std::vector<Entry>>(caches_); }

  // The lookup every named lookup runs (see above).
  template <class Entry, class Create>
  auto Lookup(Entry key, Create create) -> IOOf<Entry>*;
  // One family's part of CheckDataUpdate.
  template <class Family>
  void Poll();
  // Destroys every cached object and empties the caches.
  void Clear();

  Families::Caches caches_;
  DepthType depth_type_ = DT_MD;
  // The objects the caches point to, in creation order.
  std::vector<std::unique_ptr<Observee>> owned_;
};

template <class Entry>
bool WDMgrIO::FindData(const std::type_identity_t<IOOf<Entry>>* io,
                       Entry& record) const {
  if (!io) return false;
  for (const Entry& e : Cache<Entry>()) {
    if (e.io == io) {
      record = e;
      return true;
    }
  }
  return false;
}

template <class Entry, class Create>
auto WDMgrIO::Lookup(Entry key, Create create) -> IOOf<Entry>* {
  std::vector<Entry>& cache = Cache<Entry>();
  for (const Entry& e : cache)
    if (e.depth == depth_type_ && e.Key() == key.Key()) return e.io;
  auto io = create();
  if (!io) return nullptr;
  key.io = io.get();
  key.depth = depth_type_;
  owned_.push_back(std::move(io));
  cache.push_back(std::move(key));
  return cache.back().io;
}

class WDMgrAdapter : public WDMgrIO {
 public:
  // mgr: the host's well-data manager (CWellDataManager::Instance() for a
  // chart); well_name: the chart's well (GBK).
  WDMgrAdapter(CWellDataManager* mgr, const char* well_name);
  ~WDMgrAdapter() override;

  LogShootMgrIO* GetShootMgr() override;
  LogLthSmapleMgrIO* GetLthSmapleMgr() override;
  LogCveMgrIO* GetLogCveMgr() override;
  LogFaciesTypeMgrIO* GetFaciesTypeMgr() override;
  LogCorelithMgrIO* GetCorelithMgr() override;
  LogStratumMgrIO* GetStratumMgr() override;
  LogParaDMgrIO* GetParaMgr() override;
  ISymbleMgr* GetSymbleMgr(SYMBLE_SRC src) override;

  // Also rebuilds the stratum colour table when the host manager changed,
  // and reloads the style templates when the database's changed.
  void CheckDataUpdate() override;

  // Fills the class-wide parameter catalogue from the configuration file
  // ParaConfigPath() (the argument is not used): true when the file was
  // read. A missing file gives the built-in catalogue; a file whose first
  // line is wrong gives an empty one and the message
  // "Not find KES_PARA_CONFIG file!".
  static bool ReadMgrs(const std::string& unused = std::string());
  // Writes nothing: false.
  static bool SaveMgrs(const std::string&) { return false; }
  // $DAVODU_HOME/Database/paraconfig.dat (AfxGetUserPath).
  static std::string ParaConfigPath();

  void SetWellName(const char* well_name);
  const std::string& GetWellName() const { return well_; }
  CWellDataManager* GetManager() const { return mgr_; }
  // Whether the host knows a well of that name.
  bool IsWellManaged(const std::string& well_name) const;

 private:
  std::unique_ptr<LogCveDataIO> CreateLogCve(CVESOURCE, const std::string&, const std::string&) override;
  std::unique_ptr<LogSandDIO> CreateLogSand(SANDTYPE, const std::string&) override;
  std::unique_ptr<LogStratumDIO> CreateLogStratum(STRATUMTYPE, const std::string&) override;
  std::unique_ptr<LogStratum2DIO> CreateLogStratum2(STRATUMTYPE, const std::string&) override;
  std::unique_ptr<LogFaciesDIO> CreateLogFacies(FACIESSOURCE, const std::string&) override;
  std::unique_ptr<LogCorelithDIO> CreateLogCorelith(CORELITHSOURCE, const std::string&) override;
  std::unique_ptr<CDIOilTest> CreateLogTestOil(TESTOILSOURCE, const std::string&) override;
  std::unique_ptr<LogShootDIO> CreateShoot(SHOOTSOURCE, const std::string&) override;
  std::unique_ptr<LogLthSampleDIO> CreateLthSmaple(LSMAPLESOURCE, const std::string&) override;
  std::unique_ptr<LogParaDIO> CreatePara(const std::string&, const std::string&, const std::string&) override;
  std::unique_ptr<ISymbleData> CreateSymbleData(SYMBLE_SRC, const std::string&) override;
  std::unique_ptr<LogWaterDataIO> CreateLogWater(WATERSOURCE, const std::string&, bool) override;
  std::unique_ptr<LogSandStratum2DIO> CreateLogSandStratum(DATATYPE, int, CWpWell*) override;
  std::unique_ptr<LogFaultPointIO> CreateLogFaultPoint(FaultPointSOURCE, const std::string&) override;
  std::unique_ptr<LogSidewallCoreIO> CreateLogSidewallCore(DATATYPE, const std::string&) override;
  std::unique_ptr<LogIntegratedCoreIO> CreateLogIntegratedCore(DATATYPE, const std::string&) override;

  std::shared_ptr<CWellLog> GetWellLog() const;
  // Whether the host has a scattered table named by the text before the
  // first of the separators.
  bool IsScattTableExist(const std::string& table, const std::string& separators) const;
  // Rebuilds the class-wide stratum colour table from the host catalogue.
  void RebuildStratumColors();

  std::unique_ptr<LogCveMgrAdapter> cve_mgr_;
  std::shared_ptr<CWellLog> well_log_;
  CWellDataManager* mgr_;
  std::string well_;
  // The stamp of the style templates of the well database last loaded.
  std::uint64_t style_stamp_ = 0;
};

}  // namespace davodu

#endif  // DAVODU_DATA_WD_MGR_H_
