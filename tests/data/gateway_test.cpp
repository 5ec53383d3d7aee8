// The well-data gateway: caching by key and depth reference, polling,
// notification of all data, entry lookup and the lifetime of the objects
// it hands out to kits.
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "davodu/data/adapters/log_cve_adapters.h"
#include "davodu/data/wd_mgr.h"
#include "davodu/host/util/gbk.h"
#include "davodu/store/well_data_manager.h"
#include "support/cli.h"

namespace davodu {
namespace {

// A kit stand-in that counts its refreshes.
struct CountingKit : Observer {
  int updates = 0;
  void UpdateWithObservee() override { ++updates; }
};

CurveImport Curve(const std::string& name, double first, int n, double value) {
  CurveImport c{name, "", {}, {}};
  for (int i = 0; i < n; ++i) {
    c.depths.push_back(first + i);
    c.values.push_back(value + i);
  }
  return c;
}

class GatewayTest : public ::testing::Test {
 protected:
  void SetUp() override {
    const std::string name = ::testing::UnitTest::GetInstance()->current_test_info()->name();
    wells_ = std::make_unique<CWellDataManager>(testing::ScratchDb(testing::ScratchDir("gateway-" + name)));
    ASSERT_TRUE(wells_->IsOpen()) << wells_->GetLastError();
    ASSERT_TRUE(wells_->ImportCurves("W1", {Curve("GR", 1000, 11, 10), Curve("SP", 1000, 11, 50)}));
    ASSERT_TRUE(wells_->ImportCurves("W2", {Curve("GR", 2000, 5, 70)}));
  }

  std::unique_ptr<CWellDataManager> wells_;
};

TEST_F(GatewayTest, SameKeyAndDepthModeShareOneObject) {
  WDMgrAdapter gw(wells_.get(), "W1");
  LogCveDataIO* gr = gw.GetLogCve(CVE_WELLLOG, "GR", "");
  ASSERT_NE(gr, nullptr);
  EXPECT_EQ(gr->GetName(), "GR");
  EXPECT_EQ(gw.GetLogCve(CVE_WELLLOG, "GR", ""), gr);
  // The second name (a scattered table's) is part of the key: columns of
  // the same name in two tables are two curves.
  LogCveDataIO* other = gw.GetLogCve(CVE_WELLLOG, "GR", "other");
  EXPECT_NE(other, gr);
  EXPECT_EQ(gw.GetLogCve(CVE_WELLLOG, "GR", "other"), other);
  EXPECT_NE(gw.GetLogCve(CVE_WELLLOG, "SP", ""), gr);

  struct Case {
    DepthType mode;
    double top;  // vertical well without elevation: TVD = MD, altitude depth = MD
  };
  std::vector<LogCveDataIO*> seen = {gr};
  for (const Case& c : {Case{DT_TVD, 1000}, Case{DT_AD, 1000}}) {
    gw.SetDepthType(c.mode);
    EXPECT_EQ(gw.GetDepthType(), c.mode);
    LogCveDataIO* io = gw.GetLogCve(CVE_WELLLOG, "GR", "");
    ASSERT_NE(io, nullptr);
    for (LogCveDataIO* other : seen) EXPECT_NE(io, other) << "mode " << c.mode;
    EXPECT_EQ(gw.GetLogCve(CVE_WELLLOG, "GR", ""), io);
    EXPECT_DOUBLE_EQ(io->GetTopDepth(), c.top);
    seen.push_back(io);
  }
  // Entries of the earlier mode stay cached.
  gw.SetDepthType(DT_MD);
  EXPECT_EQ(gw.GetLogCve(CVE_WELLLOG, "GR", ""), gr);
}

TEST_F(GatewayTest, MissingDataIsNotCachedAndIsRetried) {
  WDMgrAdapter gw(wells_.get(), "W1");
  struct Case {
    const char* what;
    CVESOURCE src;
    const char* name;
    const char* name2;
  };
  const Case cases[] = {
      {"unknown curve", CVE_WELLLOG, "NOPE", ""},
      {"missing scattered table", CVE_SCATT, "POR", "T1 extra"},
      {"no core table", CVE_CORE, "POR", ""},
      {"no point table", CVE_POINT2, "POR", ""},
      {"no gas table", CVE_GASS, "total", ""},
      {"unknown source", static_cast<CVESOURCE>(42), "GR", ""},
  };
  for (const Case& c : cases) EXPECT_EQ(gw.GetLogCve(c.src, c.name, c.name2), nullptr) << c.what;

  WDMgrAdapter unknown_well(wells_.get(), "W9");
  EXPECT_FALSE(unknown_well.IsWellManaged("W9"));
  EXPECT_TRUE(unknown_well.IsWellManaged("w1"));
  EXPECT_EQ(unknown_well.GetLogCve(CVE_WELLLOG, "GR", ""), nullptr);

  ASSERT_TRUE(wells_->ImportCurves("W1", {Curve("NOPE", 1, 3, 0)}));
  LogCveDataIO* io = gw.GetLogCve(CVE_WELLLOG, "NOPE", "");
  ASSERT_NE(io, nullptr);
  EXPECT_EQ(io->GetValueCount(), 3);
}

TEST_F(GatewayTest, PollingNotifiesKitsWhenTheHostTableChanges) {
  WDMgrAdapter gw(wells_.get(), "W1");
  CountingKit md_kit, ad_kit, other_kit;
  gw.GetLogCve(CVE_WELLLOG, "GR", "")->Attatch(&md_kit);
  gw.SetDepthType(DT_AD);
  gw.GetLogCve(CVE_WELLLOG, "GR", "")->Attatch(&ad_kit);
  gw.GetLogCve(CVE_WELLLOG, "SP", "")->Attatch(&other_kit);
  ASSERT_EQ(md_kit.updates, 1);  // the attach itself

  // Objects start without a refresh time, so the first poll refreshes all.
  gw.CheckDataUpdate();
  EXPECT_EQ(md_kit.updates, 2);
  EXPECT_EQ(ad_kit.updates, 2);
  EXPECT_EQ(other_kit.updates, 2);

  gw.CheckDataUpdate();
  EXPECT_EQ(md_kit.updates, 2) << "nothing changed";

  ASSERT_TRUE(wells_->ImportCurves("W1", {Curve("GR", 900, 4, 1)}));
  gw.CheckDataUpdate();
  EXPECT_EQ(md_kit.updates, 3);
  EXPECT_EQ(ad_kit.updates, 3);
  EXPECT_EQ(other_kit.updates, 2) << "SP was not written";
  gw.SetDepthType(DT_MD);
  EXPECT_DOUBLE_EQ(gw.GetLogCve(CVE_WELLLOG, "GR", "")->GetTopDepth(), 900);

  gw.CheckDataUpdate();
  EXPECT_EQ(md_kit.updates, 3);
}

// Data objects of the core and sand-layer families that hold nothing.
class CoreStub : public LogIntegratedCoreIO {
 public:
  int GetCount() override { return -1; }
  double GetTop(int) override { return kFltMax; }
  double GetBottom(int) override { return kFltMax; }
  bool Move(int, double) override { return false; }
  bool SetTop(int, double) override { return false; }
  bool SetBottom(int, double) override { return false; }
  void CheckDataSet() override {}
  int GetRun(int) override { return -1; }
  double GetFootage(int) override { return kFltMax; }
  double GetCoreLength(int) override { return kFltMax; }
  double GetRecovery(int) override { return kFltMax; }
  std::uint64_t GetTimeStamp() override { return 0; }
};
class SandTableStub : public LogSandStratum2DIO {
 public:
  int GetCount() override { return -1; }
  double GetTop(int) override { return kFltMax; }
  double GetBottom(int) override { return kFltMax; }
  std::vector<std::string> GetFieldNames() override { return {}; }
  double GetValue(int, const std::string&) override { return kFltMax; }
  std::string GetText(int, const std::string&) override { return {}; }
  std::uint64_t GetTimeStamp() override { return 0; }
  void CheckDataSet() override {}
  bool Move(int, double) override { return false; }
  bool SetTop(int, double) override { return false; }
  bool SetBottom(int, double) override { return false; }
};

// Stands in for the families whose objects only carry notification, to see
// which caches NotifyAllData and FindData reach.
class RecordingGateway : public WDMgrAdapter {
 public:
  using WDMgrAdapter::WDMgrAdapter;

 private:
  std::unique_ptr<LogSandStratum2DIO> CreateLogSandStratum(DATATYPE type, int, CWpWell*) override {
    return type == DATA_WELL ? std::make_unique<SandTableStub>() : nullptr;
  }
  std::unique_ptr<LogIntegratedCoreIO> CreateLogIntegratedCore(DATATYPE,
                                                               const std::string& name) override {
    return name.empty() ? nullptr : std::make_unique<CoreStub>();
  }
};

TEST_F(GatewayTest, NotifyAllDataLeavesTablesAndCoresAlone) {
  RecordingGateway gw(wells_.get(), "W1");
  CountingKit curve_kit, sand_stratum_kit, core_kit;
  gw.GetLogCve(CVE_WELLLOG, "GR", "")->Attatch(&curve_kit);
  LogSandStratum2DIO* table = gw.GetSandStratum2DIO(DATA_WELL, 3, nullptr);
  ASSERT_NE(table, nullptr);
  table->Attatch(&sand_stratum_kit);
  LogIntegratedCoreIO* core = gw.GetIntegratedCoreIO(DATA_WELL, "cores");
  ASSERT_NE(core, nullptr);
  core->Attatch(&core_kit);

  gw.NotifyAllData();
  EXPECT_EQ(curve_kit.updates, 2);
  EXPECT_EQ(sand_stratum_kit.updates, 1);
  EXPECT_EQ(core_kit.updates, 1);

  // FindData copies the entry of an object of this gateway only.
  LOGSANDSTRATUM entry;
  ASSERT_TRUE(gw.FindData(table, entry));
  EXPECT_EQ(entry.io, table);
  EXPECT_EQ(entry.index, 3);
  EXPECT_EQ(entry.type, DATA_WELL);
  EXPECT_EQ(entry.depth, DT_MD);
  EXPECT_NE(gw.GetSandStratum2DIO(DATA_WELL, 4, nullptr), table);

  RecordingGateway other(wells_.get(), "W1");
  LogIntegratedCoreIO* foreign = other.GetIntegratedCoreIO(DATA_WELL, "cores");
  LOGINTEGRATEDCORE untouched;
  untouched.name = "kept";
  EXPECT_FALSE(gw.FindData(foreign, untouched));
  EXPECT_EQ(untouched.name, "kept");
  EXPECT_EQ(untouched.io, nullptr);
  EXPECT_TRUE(gw.FindData(core, untouched));
  EXPECT_EQ(untouched.name, "cores");
}

// Objects that log how the gateway reaches them.
using CallLog = std::vector<std::string>;

template <class IO>
class Logged : public IO {
 public:
  Logged(CallLog* log, std::string name) : log_(log), name_(std::move(name)) {}
  void Notify() override {
    log_->push_back(name_ + " notify");
    IO::Notify();
  }
  bool CheckNotify() override {
    log_->push_back(name_ + " check");
    return false;
  }

 protected:
  CallLog* log_;
  std::string name_;
};

class LoggedCurve : public Logged<LogCveDataIO> {
 public:
  using Logged::Logged;
  std::string GetName() override { return name_; }
  std::string GetUnit() override { return ""; }
  double GetTopDepth() override { return 0; }
  double GetBottomDepth() override { return 0; }
  double GetMaxValue(double, double) override { return 0; }
  double GetMaxValue() override { return 0; }
  double GetMinValue(double, double) override { return 0; }
  double GetMinValue() override { return 0; }
  int GetValueCount() override { return 0; }
  const double* GetDepthBuffer() override { return nullptr; }
  const double* GetValueBuffer() override { return nullptr; }
};

class LoggedFacies : public Logged<LogFaciesDIO> {
 public:
  LoggedFacies(CallLog* log, std::string name, std::uint64_t stamp)
      : Logged(log, std::move(name)), stamp_(stamp) {}
  int GetCount() override { return 0; }
  double GetTop(int) override { return 0; }
  double GetBottom(int) override { return 0; }
  std::string GetFaciesName(int) override { return ""; }
  bool SetFaciesName(int, const std::string&) override { return false; }
  std::uint64_t GetTimeStamp() override { return stamp_; }
  void CheckDataSet() override {}
  int GetSource() override { return 0; }

 private:
  std::uint64_t stamp_;
};

class LoggedFaultPoints : public Logged<LogFaultPointIO> {
 public:
  using Logged::Logged;
  double GetDepth1(int) override { return 0; }
  double GetDepth2(int) override { return 0; }
  int GetCount() override { return 0; }
};

// Hands out logged objects for four families.
class LoggingGateway : public WDMgrAdapter {
 public:
  LoggingGateway(CWellDataManager* wells, CallLog* log) : WDMgrAdapter(wells, "W1"), log_(log) {}

 private:
  std::unique_ptr<LogCveDataIO> CreateLogCve(CVESOURCE, const std::string& name,
                                             const std::string&) override {
    return std::make_unique<LoggedCurve>(log_, "curve " + name);
  }
  std::unique_ptr<LogFaciesDIO> CreateLogFacies(FACIESSOURCE, const std::string& name) override {
    // "old" was refreshed before any catalogue existed; "new" after every change.
    return std::make_unique<LoggedFacies>(log_, "facies " + name, name == "old" ? 0 : ~0ull);
  }
  std::unique_ptr<LogFaultPointIO> CreateLogFaultPoint(FaultPointSOURCE,
                                                       const std::string& name) override {
    return std::make_unique<LoggedFaultPoints>(log_, "fault " + name);
  }
  std::unique_ptr<LogIntegratedCoreIO> CreateLogIntegratedCore(DATATYPE,
                                                               const std::string&) override {
    return std::make_unique<Logged<CoreStub>>(log_, "core");
  }

  CallLog* log_;
};

TEST_F(GatewayTest, FamiliesArePolledAndNotifiedInTheirOrder) {
  CallLog log;
  LoggingGateway gw(wells_.get(), &log);
  // Made in an order unlike either walk.
  gw.GetIntegratedCoreIO(DATA_WELL, "c");
  gw.GetFaultPointDIO(FAULTPOINT_WELL, "W1");
  gw.GetFacies(FACIES_STRATUM_FIRST, "new");
  gw.GetFacies(FACIES_STRATUM_FIRST, "old");
  gw.GetLogCve(CVE_WELLLOG, "GR", "");

  gw.CheckDataUpdate();
  // Curves before facies, facies against their catalogue (the one refreshed
  // before the catalogue changed is notified outright), then fault points
  // and cores.
  EXPECT_EQ(log, (CallLog{"curve GR check", "facies new check", "facies old notify",
                          "fault W1 check", "core check"}));

  log.clear();
  gw.NotifyAllData();
  EXPECT_EQ(log, (CallLog{"curve GR notify", "facies new notify", "facies old notify"}))
      << "fault points and cores are not notified";
}

TEST_F(GatewayTest, RebuildingTheGatewayLeavesNoDanglingLinks) {
  // Kits outlive the gateway (the chart switched wells) and the other way
  // round; the sanitizers watch every step.
  CountingKit survivor, early;
  auto gw = std::make_unique<WDMgrAdapter>(wells_.get(), "W1");
  for (DepthType mode : {DT_MD, DT_TVD, DT_AD}) {
    gw->SetDepthType(mode);
    gw->GetLogCve(CVE_WELLLOG, "GR", "");
  }
  LogCveDataIO* ad = gw->GetLogCve(CVE_WELLLOG, "GR", "");
  ad->Attatch(&survivor);
  {
    auto short_lived = std::make_unique<CountingKit>();
    ad->Attatch(short_lived.get());
    gw->GetLogCve(CVE_WELLLOG, "SP", "")->Attatch(&early);
  }
  EXPECT_EQ(ad->GetObservers().size(), 1u);

  gw = std::make_unique<WDMgrAdapter>(wells_.get(), "W2");
  EXPECT_EQ(survivor.GetObservee(), nullptr);
  EXPECT_EQ(early.GetObservee(), nullptr);
  EXPECT_EQ(survivor.updates, 1) << "destruction does not notify";
  survivor.NotifyObservee();  // detached: nothing happens

  // Kits bind again to the new well's data.
  gw->SetDepthType(DT_AD);
  LogCveDataIO* w2 = gw->GetLogCve(CVE_WELLLOG, "GR", "");
  ASSERT_NE(w2, nullptr);
  w2->Attatch(&survivor);
  EXPECT_DOUBLE_EQ(w2->GetTopDepth(), 2000);
  gw.reset();
  EXPECT_EQ(survivor.GetObservee(), nullptr);
}

}  // namespace
}  // namespace davodu
