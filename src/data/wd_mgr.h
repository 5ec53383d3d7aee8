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
};
struct LOGSTRATUM {
  LogStratumDIO* io = nullptr;
  std::string name;
  STRATUMTYPE type = STRATUM_LEVEL1;
  int depth = DT_MD;
};
struct LOGSTRATUM2 {
  LogStratum2DIO* io = nullptr;
  std::string name;
  STRATUMTYPE type = STRATUM_LEVEL1;
  int depth = DT_MD;
};
struct LOGSAND {
  LogSandDIO* io = nullptr;
  std::string name;
  SANDTYPE type = SAND_NONE;
  int depth = DT_MD;
};
struct LOGFACIES {
  LogFaciesDIO* io = nullptr;
  std::string name;
  FACIESSOURCE source = FACIES_NONE;
  int depth = DT_MD;
};
struct LOGTESTOIL {
  CDIOilTest* io = nullptr;
  std::string name;
  TESTOILSOURCE source = TESTOIL_WELL;
  int depth = DT_MD;
};
struct LOGCORELITH {
  LogCorelithDIO* io = nullptr;
  CORELITHSOURCE source = CORELITH_NONE;
  std::string name;
  int depth = DT_MD;
};
struct LOGSHOOT {
  LogShootDIO* io = nullptr;
  SHOOTSOURCE source = SHOOT_WELL;
  std::string name;
  int depth = DT_MD;
};
struct LOGLTHSMAPLE {
  LogLthSampleDIO* io = nullptr;
  LSMAPLESOURCE source = LSMAPLE_CORE;
  std::string name;
  int depth = DT_MD;
};
struct LOGSYMBLE {
  ISymbleData* io = nullptr;
  SYMBLE_SRC source = SYMBLE_SHOOT;
  std::string name;
  int depth = DT_MD;
};
struct LOGPARA {
  LogParaDIO* io = nullptr;
  std::string well;   // "当前井" or "离散数据"
  std::string table;
  std::string field;
  int depth = DT_MD;
};
struct LOGWATER {
  bool producted = false;  // production instead of injection profiles
  LogWaterDataIO* io = nullptr;
  WATERSOURCE source = WATER_WELL;
  std::string name;
  int depth = DT_MD;
};
struct LOGSANDSTRATUM {
  LogSandStratum2DIO* io = nullptr;
  int index = 0;
  DATATYPE type = DATA_WELL;
  CWpWell* well = nullptr;
  int depth = DT_MD;
};
struct LOGFAULTPOINT {
  LogFaultPointIO* io = nullptr;
  FaultPointSOURCE source = FAULTPOINT_WELL;
  std::string name;  // the well
  int depth = DT_MD;
};
struct LOGSIDEWALLCORE {
  LogSidewallCoreIO* io = nullptr;
  DATATYPE type = DATA_WELL;
  std::string name;
  int depth = DT_MD;
};
struct LOGINTEGRATEDCORE {
  LogIntegratedCoreIO* io = nullptr;
  DATATYPE type = DATA_WELL;
  std::string name;
  int depth = DT_MD;
};

class WDMgrIO {
 public:
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

  // --- lookups: the cached object for the key and the current depth
  // reference, else a new one (cached), else null (not cached, so the
  // next request tries again). Names compare exactly.
  virtual ISymbleData* GetSymbleData(SYMBLE_SRC src, const std::string& name);
  // Polls the cached objects for host changes (and catalogue changes).
  virtual void CheckDataUpdate();

  // The curve lookup compares source and first name only.
  LogCveDataIO* GetLogCve(CVESOURCE src, const std::string& name, const std::string& name2);
  LogSandDIO* GetSand(SANDTYPE type, const std::string& name);
  LogStratumDIO* GetStratum(STRATUMTYPE type, const std::string& name);
  LogStratum2DIO* GetStratum2(STRATUMTYPE type, const std::string& name);
  LogFaciesDIO* GetFacies(FACIESSOURCE src, const std::string& name);
  LogCorelithDIO* GetCorelith(CORELITHSOURCE src, const std::string& name);
  LogShootDIO* GetShoot(SHOOTSOURCE src, const std::string& name);
  LogLthSampleDIO* GetLthSmaple(LSMAPLESOURCE src, const std::string& name);
  CDIOilTest* GetTestOil(TESTOILSOURCE src, const std::string& name);
  LogParaDIO* GetPara(const std::string& well, const std::string& table, const std::string& field);
  LogWaterDataIO* GetWaterEntry(WATERSOURCE src, bool producted, const std::string& name);
  LogSandStratum2DIO* GetSandStratum2DIO(DATATYPE type, int index, CWpWell* well);
  LogFaultPointIO* GetFaultPointDIO(FaultPointSOURCE src, const std::string& well);
  LogSidewallCoreIO* GetSidewallCoreIO(DATATYPE type, const std::string& name);
  LogIntegratedCoreIO* GetIntegratedCoreIO(DATATYPE type, const std::string& name);

  // Entries made under another depth reference stay cached (and observed);
  // later lookups create objects of the new reference.
  void SetDepthType(DepthType type) { depth_type_ = type; }
  DepthType GetDepthType() const { return depth_type_; }

  // The cache entry of an object this gateway handed out: copied into the
  // record, true. False, record untouched, for any other object.
  bool FindData(const LogSandDIO* io, LOGSAND& record) const;
  bool FindData(const LogLthSampleDIO* io, LOGLTHSMAPLE& record) const;
  bool FindData(const LogFaciesDIO* io, LOGFACIES& record) const;
  bool FindData(const CDIOilTest* io, LOGTESTOIL& record) const;
  bool FindData(const LogCorelithDIO* io, LOGCORELITH& record) const;
  bool FindData(const LogShootDIO* io, LOGSHOOT& record) const;
  bool FindData(const LogStratum2DIO* io, LOGSTRATUM2& record) const;
  bool FindData(const LogParaDIO* io, LOGPARA& record) const;
  bool FindData(const ISymbleData* io, LOGSYMBLE& record) const;
  bool FindData(const LogWaterDataIO* io, LOGWATER& record) const;
  bool FindData(const LogSandStratum2DIO* io, LOGSANDSTRATUM& record) const;
  bool FindData(const LogSidewallCoreIO* io, LOGSIDEWALLCORE& record) const;
  bool FindData(const LogIntegratedCoreIO* io, LOGINTEGRATEDCORE& record) const;

  // Notifies every object of the twelve data kinds (curves, stratum lists,
  // stratum segments, sand, facies, lithology, perforations, oil tests,
  // parameters, symbols, water profiles, rock samples); sand/stratum
  // tables, fault points and cores are left alone.
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

  template <class IO, class Entry, class SameKey, class Create>
  IO* Lookup(std::vector<Entry>& cache, Entry key, SameKey same, Create create);
  // Destroys every cached object and empties the caches.
  void Clear();

  std::vector<LOGCVE> cves_;
  std::vector<LOGSTRATUM> stratums_;
  std::vector<LOGSTRATUM2> stratum2s_;
  std::vector<LOGSAND> sands_;
  std::vector<LOGFACIES> facies_;
  std::vector<LOGCORELITH> coreliths_;
  std::vector<LOGSHOOT> shoots_;
  std::vector<LOGTESTOIL> testoils_;
  std::vector<LOGPARA> paras_;
  std::vector<LOGSYMBLE> symbles_;
  std::vector<LOGWATER> waters_;
  std::vector<LOGLTHSMAPLE> lthsamples_;
  std::vector<LOGSANDSTRATUM> sandstratums_;
  std::vector<LOGFAULTPOINT> faultpoints_;
  std::vector<LOGSIDEWALLCORE> sidewallcores_;
  std::vector<LOGINTEGRATEDCORE> integratedcores_;
  DepthType depth_type_ = DT_MD;
  // The objects the caches point to, in creation order.
  std::vector<std::unique_ptr<Observee>> owned_;
};

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

  // Also rebuilds the stratum colour table when the host manager changed.
  void CheckDataUpdate() override;

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
};

}  // namespace davodu

#endif  // DAVODU_DATA_WD_MGR_H_
