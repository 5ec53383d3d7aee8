// Catalogue objects handed out by the gateway: the curves of the chart's
// well, stratum colours, facies types, symbol sets and the module's own
// perforation and rock sample settings. Apart from the curve list they are
// class-wide and shared by every chart of the process; each reports a time
// stamp that the gateway's polling compares with the data objects drawn
// with it.
#ifndef DAVODU_DATA_ADAPTERS_CATALOG_ADAPTERS_H_
#define DAVODU_DATA_ADAPTERS_CATALOG_ADAPTERS_H_

#include <cstdint>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "davodu/data/data_io.h"
#include "davodu/store/well_catalogs.h"
#include "davodu/store/well_table.h"

namespace davodu {

class LogCveMgrAdapter : public LogCveMgrIO {
 public:
  void SetWellLog(std::shared_ptr<CWellLog> log) { log_ = std::move(log); }
  int GetCount() override;
  std::string GetName(int i) override;

 private:
  std::shared_ptr<CWellLog> log_;
};

// Stratum name to fill colour, over all five levels; a name seen on an
// earlier level keeps its first colour.
class LogStratumMgrAdapter : public LogStratumMgrIO {
 public:
  LogStratumMgrAdapter();
  bool Reserved(const std::string&) override { return false; }
  bool GetColor(const std::string& name, COLORREF* color) override;
  int GetCount() override { return static_cast<int>(names_.size()); }
  std::string GetName(int i) override;
  std::uint64_t GetTimeStamp() override { return stamp_; }

  // Rebuilds the table from a host stratum catalogue (null: empty table).
  // The stamp is left alone; the poller sets it.
  void Rebuild(const CStratumManager* catalog);
  void SetTimeStamp(std::uint64_t stamp) { stamp_ = stamp; }

 private:
  std::map<std::string, COLORREF> colors_;
  std::vector<std::string> names_;
  std::uint64_t stamp_;
};

class LogFaciesTypeMgrAdapter : public LogFaciesTypeMgrIO {
 public:
  void SetManager(std::shared_ptr<CFaciesTypeManager> mgr) { mgr_ = std::move(mgr); }
  int GetCount() override;
  ZULOGBRUSH GetBrush(int i) override;
  COLORREF GetColor(int i) override;
  int GetBrushStyle(int i) override;
  std::string GetName(int i) override;
  std::string GetCode(int i) override;
  int FindByName(const std::string& name) override;
  int FindByCode(const std::string& code) override;
  int FindByColor(COLORREF color) override;
  std::uint64_t GetTimeStamp() override;

 private:
  bool InRange(int i) { return i >= 0 && i < GetCount(); }
  std::shared_ptr<CFaciesTypeManager> mgr_;
};

class LogShootMgrAdapter : public LogShootMgrIO {
 public:
  LogShootMgrAdapter();
  const std::uint32_t* GetSetting1() override { return &setting1_; }
  const std::uint32_t* GetSetting2() override { return &setting2_; }
  bool SetSetting1(std::uint32_t value) override;
  bool SetSetting2(std::uint32_t value) override;
  std::uint64_t GetTimeStamp() override { return stamp_; }

 private:
  std::uint32_t setting1_ = 0;
  std::uint32_t setting2_ = 0;
  std::uint64_t stamp_;
};

// Rock samples have no catalogue of their own; the stamp never advances.
class logLthSmapleAdapter : public LogLthSmapleMgrIO {
 public:
  logLthSmapleAdapter();
  std::uint64_t GetTimeStamp() override { return stamp_; }

 private:
  std::uint64_t stamp_;
};

class AdapterSymbleMgr : public ISymbleMgr {
 public:
  AdapterSymbleMgr() = default;
  virtual ~AdapterSymbleMgr() = default;
  void SetManager(std::shared_ptr<CSymbolManager> mgr) { mgr_ = std::move(mgr); }
  int GetCount() override;
  // Out of range: the style word of the default point symbol.
  int GetSymbol(int i) override;
  std::string GetName(int i) override;
  int Find(const std::string& name) override;
  std::uint64_t GetTimeStamp() override;

 private:
  std::shared_ptr<CSymbolManager> mgr_;
};

}  // namespace davodu

#endif  // DAVODU_DATA_ADAPTERS_CATALOG_ADAPTERS_H_
