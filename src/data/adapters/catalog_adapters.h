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

// The lithology catalogue: lithology types with their patterns, lithology
// colours and oil-bearing grades with their symbols. Pattern and symbol
// numbers of the catalogue are handed out as the style codes of the pattern
// library (pattern_library.h): lithology pattern n as 1000 + n, oil-bearing
// grade symbol n as 1100 + n; a pattern scale is the type's size / 30.
// Lookups by name compare the short names exactly; the kit falls back on
// the full names (FindLith, FindColor, FindOil below).
class LogCorelithMgrAdapter : public LogCorelithMgrIO {
 public:
  void SetManager(std::shared_ptr<CLithTypeManager> mgr) { mgr_ = std::move(mgr); }

  int GetLithCount() override;
  int GetColorCount() override;
  int GetOilCount() override;
  // False, record untouched, for a name the catalogue does not have. A type
  // without a pattern takes the default lithology's (the empty name's).
  bool GetLithPattern(const std::string& name, LithPatternInfo* pattern) override;
  bool GetColorValue(const std::string& name, COLORREF* color) override;
  bool GetOilSymbol(const std::string& name, int* symbol) override;
  bool GetLithColor(const std::string& name, COLORREF* color) override;
  // Null out of range.
  const COLORREF* GetColorValue(int i) override;
  bool Reserved8(const std::string&) override { return false; }
  std::string GetColorName(int i) override;
  std::string GetColorFullName(int i) override;
  // Null out of range.
  const ZULOGPOINT* GetOilPoint(int i) override;
  bool Reserved12(const std::string&) override { return false; }
  std::string GetOilName(int i) override;
  std::string GetOilFullName(int i) override;
  // Code 0 and scale 1 out of range.
  LithPatternInfo GetLithPattern(int i) override;
  bool Reserved16(const std::string&) override { return false; }
  std::string GetLithName(int i) override;
  std::string GetLithFullName(int i) override;
  bool Reserved19(const std::string&) override { return false; }
  bool Reserved20() override { return false; }
  bool Reserved21(const std::string&) override { return false; }
  bool Reserved22() override { return false; }
  bool Reserved23(const std::string&) override { return false; }
  bool Reserved24() override { return false; }
  bool Reserved25(const std::string&) override { return false; }
  bool Reserved26(const std::string&) override { return false; }
  bool Reserved27(const std::string&) override { return false; }
  std::uint64_t GetTimeStamp() override;

 private:
  // The records the pointer getters hand out, refreshed on every call.
  COLORREF color_ = 0;
  ZULOGPOINT oil_point_;
  std::shared_ptr<CLithTypeManager> mgr_;
};

// The index of the entry whose short name, else whose full name, is the
// text; -1 when none. The kit's two-step look-ups.
int FindLith(LogCorelithMgrIO* catalog, const std::string& name);
int FindColor(LogCorelithMgrIO* catalog, const std::string& name);
int FindOil(LogCorelithMgrIO* catalog, const std::string& name);

class LogShootMgrAdapter : public LogShootMgrIO {
 public:
  LogShootMgrAdapter();
  // The symbols of the two shown perforation types: the library patterns
  // of a perforation (1201) and of an added perforation (1202) until set.
  const std::uint32_t* GetSetting1() override { return &setting1_; }
  const std::uint32_t* GetSetting2() override { return &setting2_; }
  bool SetSetting1(std::uint32_t value) override;
  bool SetSetting2(std::uint32_t value) override;
  std::uint64_t GetTimeStamp() override { return stamp_; }

 private:
  std::uint32_t setting1_;
  std::uint32_t setting2_;
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
  COLORREF GetColor(int i) override;
  std::string GetName(int i) override;
  int Find(const std::string& name) override;
  std::uint64_t GetTimeStamp() override;

 private:
  std::shared_ptr<CSymbolManager> mgr_;
};

}  // namespace davodu

#endif  // DAVODU_DATA_ADAPTERS_CATALOG_ADAPTERS_H_
