#include "davodu/store/well_data_manager.h"

#include <cstdlib>
#include <filesystem>
#include <system_error>

#include "davodu/host/util/gbk.h"
#include "davodu/host/util/util.h"
#include "davodu/store/detail/well_db.h"

namespace davodu {

CWellDataManager* CWellDataManager::Instance() {
  static CWellDataManager manager;
  return &manager;
}

std::string CWellDataManager::DefaultPath() {
  if (const char* db = std::getenv("DAVODU_DB"); db && *db) return db;
  return AfxGetUserPath() + "/wells.db";
}

bool CWellDataManager::IsServer(const std::string& target) { return sql::IsPostgresUri(target); }

bool CWellDataManager::Exists(const std::string& target) {
  return IsServer(target) || std::filesystem::exists(target);
}

bool CWellDataManager::Open(const std::string& path, NewFile new_file) {
  Close();
  const std::string file = path.empty() ? DefaultPath() : path;
  try {
    if (path.empty() && !IsServer(file)) {
      std::error_code ec;
      std::filesystem::create_directories(std::filesystem::path(file).parent_path(), ec);
    }
    db_ = std::make_shared<WellDb>(file, new_file == NewFile::kWithFirstWrite);
  } catch (const std::exception& e) {
    error_ = e.what();
    return false;
  }
  position_ = CWellPosition(db_);
  stratum_ = std::make_shared<CStratumManager>(db_);
  lith_ = std::make_shared<CLithTypeManager>(db_);
  facies_ = std::make_shared<CFaciesTypeManager>(db_);
  for (int i = 0; i < 5; ++i)
    symbols_[i] = std::make_shared<CSymbolManager>(db_, static_cast<SymbolSet>(kSymbolShoot + i));
  tables_ = std::make_shared<CTableDefinitionManager>(db_);
  error_.clear();
  return true;
}

void CWellDataManager::Close() {
  db_.reset();
  position_ = CWellPosition(std::weak_ptr<WellDb>());
  stratum_.reset();
  lith_.reset();
  facies_.reset();
  for (auto& s : symbols_) s.reset();
  tables_.reset();
}

void CWellDataManager::SetBusyTimeout(int ms) {
  if (db_) db_->db().SetBusyTimeout(ms);
}

std::string CWellDataManager::GetPath() const { return db_ ? db_->path() : std::string(); }

bool CWellDataManager::Write(const std::function<void(WellDb&)>& f) {
  if (!db_) {
    error_ = "no well database is open";
    return false;
  }
  try {
    f(*db_);
    error_.clear();
    return true;
  } catch (const std::exception& e) {
    error_ = e.what();
    return false;
  }
}

std::int64_t CWellDataManager::WellId(WellRef well, bool sync) {
  if (!db_) return -1;
  try {
    if (sync) db_->Sync();
    const WellInfo* w = well.by_id ? db_->FindWell(well.id) : db_->FindWell(well.name);
    return w ? w->id : -1;
  } catch (const sql::Error& e) {
    error_ = e.what();
    return -1;
  }
}

std::vector<std::string> CWellDataManager::GetWellNames() {
  std::vector<std::string> names;
  if (!db_) return names;
  try {
    db_->Sync();
    for (const WellInfo& w : db_->Wells()) names.push_back(w.name);
  } catch (const sql::Error& e) {
    error_ = e.what();
  }
  return names;
}

std::int64_t CWellDataManager::FindWell(WellRef well) { return WellId(well); }

bool CWellDataManager::GetWellInfo(WellRef well, WellInfo* info) {
  const std::int64_t id = WellId(well);
  if (id < 0) return false;
  *info = *db_->FindWell(id);
  return true;
}

std::int64_t CWellDataManager::AddWell(const WellInfo& info) {
  std::int64_t id = -1;
  Write([&](WellDb& db) { id = db.CreateWell(info); });
  return id;
}

bool CWellDataManager::SetWellInfo(const WellInfo& info) {
  return Write([&](WellDb& db) { db.UpdateWell(info); });
}

bool CWellDataManager::RemoveWell(WellRef well) {
  const std::int64_t id = WellId(well);
  if (id < 0) {
    error_ = "no such well";
    return false;
  }
  return Write([&](WellDb& db) { db.DeleteWell(id); });
}

std::vector<SurveyStation> CWellDataManager::GetDeviation(WellRef well) {
  const std::int64_t id = WellId(well);
  if (id < 0) return {};
  try {
    return db_->Deviation(id);
  } catch (const sql::Error& e) {
    error_ = e.what();
    return {};
  }
}

bool CWellDataManager::SetDeviation(WellRef well, const std::vector<SurveyStation>& stations) {
  const std::int64_t id = WellId(well);
  if (id < 0) {
    error_ = "no such well";
    return false;
  }
  return Write([&](WellDb& db) { db.SetDeviation(id, stations); });
}

std::shared_ptr<CWellTable> CWellDataManager::GetTable(WellRef well, TableKind kind, int sub,
                                                       bool create) {
  const TableLayout& layout = GetTableLayout(kind);
  if (layout.owner != TableOwner::kWell) return nullptr;
  if (layout.sub_column ? sub < 1 || sub > layout.sub_count : sub != 0) return nullptr;
  const std::int64_t id = WellId(well);
  if (id < 0) return nullptr;
  const TableKey key{kind, id, sub};
  try {
    if (!db_->TableStamp(key)) {
      if (!create || !Write([&](WellDb& db) { db.CreateTable(key); })) return nullptr;
    }
  } catch (const sql::Error& e) {
    error_ = e.what();
    return nullptr;
  }
  return std::make_shared<CWellTable>(db_, key);
}

std::shared_ptr<CWellTable> CWellDataManager::GetCatalogTable(TableKind kind) const {
  if (!db_ || GetTableLayout(kind).owner != TableOwner::kGlobal) return nullptr;
  return std::make_shared<CWellTable>(db_, TableKey{kind, 0, 0});
}

std::shared_ptr<CWellLog> CWellDataManager::GetWellLog(WellRef well) {
  const std::int64_t id = WellId(well);
  if (id < 0) return nullptr;
  try {
    if (!db_->TableStamp({TableKind::kWellLog, id, 0})) return nullptr;
  } catch (const sql::Error& e) {
    error_ = e.what();
    return nullptr;
  }
  return std::make_shared<CWellLog>(db_, id);
}

std::shared_ptr<CWellTable> CWellDataManager::GetWellStratum(int level, WellRef well) {
  return GetTable(well, TableKind::kStratum, level + 1);
}
std::shared_ptr<CWellTable> CWellDataManager::GetWellFineStratum(int level, WellRef well) {
  return GetTable(well, TableKind::kFineStratum, level + 1);
}
std::shared_ptr<CWellTable> CWellDataManager::GetWellSandStratum(WellRef well) {
  return GetTable(well, TableKind::kSand);
}
std::shared_ptr<CWellTable> CWellDataManager::GetWellInterStratum(WellRef well) {
  return GetTable(well, TableKind::kInterStratum);
}
std::shared_ptr<CWellTable> CWellDataManager::GetWellLithology(WellRef well) {
  return GetTable(well, TableKind::kLithology);
}
std::shared_ptr<CWellTable> CWellDataManager::GetWellShoot(WellRef well) {
  return GetTable(well, TableKind::kShoot);
}
std::shared_ptr<CWellTable> CWellDataManager::GetWellTest(WellRef well) {
  return GetTable(well, TableKind::kTest);
}
std::shared_ptr<CWellTable> CWellDataManager::GetWellCore(WellRef well) {
  return GetTable(well, TableKind::kCore);
}
std::shared_ptr<CWellTable> CWellDataManager::GetWellPointData(int index, WellRef well) {
  return GetTable(well, TableKind::kPointData, index + 1);
}
std::shared_ptr<CWellTable> CWellDataManager::GetWellSegmentData(int index, WellRef well) {
  return GetTable(well, TableKind::kSegmentData, index + 1);
}
std::shared_ptr<CWellTable> CWellDataManager::GetWellGass(WellRef well) {
  return GetTable(well, TableKind::kGass);
}
std::shared_ptr<CWellTable> CWellDataManager::GetWellSuction(WellRef well) {
  return GetTable(well, TableKind::kSuction);
}
std::shared_ptr<CWellTable> CWellDataManager::GetWellProductFluid(WellRef well) {
  return GetTable(well, TableKind::kProductFluid);
}
std::shared_ptr<CWellTable> CWellDataManager::GetWellSideWallCore(WellRef well) {
  return GetTable(well, TableKind::kSideWallCore);
}
std::shared_ptr<CWellTable> CWellDataManager::GetWellIntegratedCore(WellRef well) {
  return GetTable(well, TableKind::kIntegratedCore);
}
std::shared_ptr<CWellTable> CWellDataManager::GetWellFaultPoint(WellRef well) {
  return GetTable(well, TableKind::kFaultPoint);
}
std::shared_ptr<CWellTable> CWellDataManager::GetWellTextureData(WellRef well) {
  return GetTable(well, TableKind::kTexture);
}

std::shared_ptr<CWellTable> CWellDataManager::GetCycleData(WellRef well, std::string_view kind) {
  TableKind k;
  int sub = 0;
  if (!ParseTableName(GbkToUtf8(kind), &k, &sub) || k != TableKind::kCycle) return nullptr;
  return GetTable(well, TableKind::kCycle, sub);
}

std::uint64_t CWellDataManager::GetTimeStamp() {
  if (!db_) return 0;
  try {
    db_->Sync();
    return db_->ManagerStamp();
  } catch (const sql::Error& e) {
    error_ = e.what();
    return 0;
  }
}

std::vector<CWellDataManager::TableSummary> CWellDataManager::GetTables(WellRef well) {
  std::vector<TableSummary> tables;
  const std::int64_t id = WellId(well);
  if (id < 0) return tables;
  try {
    for (const auto& [key, rows] : db_->TablesOf(id))
      tables.push_back({key, rows, db_->TableStamp(key).value_or(0)});
  } catch (const sql::Error& e) {
    error_ = e.what();
    tables.clear();
  }
  return tables;
}

std::vector<CurveSummary> CWellDataManager::GetCurveSummaries(WellRef well) {
  const std::int64_t id = WellId(well);
  if (id < 0) return {};
  try {
    return db_->CurveSummaries(id);
  } catch (const sql::Error& e) {
    error_ = e.what();
    return {};
  }
}

std::vector<LogRunInfo> CWellDataManager::GetLogRuns(WellRef well) {
  const std::int64_t id = WellId(well);
  if (id < 0) return {};
  try {
    return db_->Runs(id);
  } catch (const sql::Error& e) {
    error_ = e.what();
    return {};
  }
}

std::uint64_t CWellDataManager::GetTimeStamp(WellRef well, std::string_view table_name) {
  TableKind kind;
  int sub = 0;
  const std::int64_t id = WellId(well);
  if (id < 0 || !ParseTableName(GbkToUtf8(table_name), &kind, &sub)) return 0;
  try {
    return db_->TableStamp({kind, id, sub}).value_or(0);
  } catch (const sql::Error& e) {
    error_ = e.what();
    return 0;
  }
}

// --- depth conversions

std::shared_ptr<const Trajectory> CWellDataManager::TrajectoryOf(WellRef well, double* kb) {
  // Conversions come by the thousand (one per sample) and do not look for
  // other processes' commits; the polling of the tables does.
  const std::int64_t id = WellId(well, false);
  if (id < 0) return nullptr;
  try {
    const WellInfo* w = db_->FindWell(id);
    *kb = w && !IsMissing(w->kb) ? w->kb : 0;
    return db_->GetTrajectory(id);
  } catch (const sql::Error& e) {
    error_ = e.what();
    return nullptr;
  }
}

namespace {

// Whether a measured depth lies within the surveyed depths (any depth of a
// vertical well without survey).
bool InSurvey(const Trajectory& t, double md) { return t.IsVertical() || t.Covers(md); }

}  // namespace

double CWellDataManager::ConvertDepthToZ(WellRef well, double md, bool within_survey) {
  double kb = 0;
  const auto t = IsMissing(md) ? nullptr : TrajectoryOf(well, &kb);
  if (!t || (within_survey && !InSurvey(*t, md))) return kFltMax;
  return t->TvdAt(md);
}

double CWellDataManager::ConvertZToDepth(WellRef well, double tvd, bool within_survey) {
  double kb = 0;
  const auto t = IsMissing(tvd) ? nullptr : TrajectoryOf(well, &kb);
  double md = 0;
  if (!t || !t->MdAt(tvd, &md) || (within_survey && !InSurvey(*t, md))) return kFltMax;
  return md;
}

double CWellDataManager::ConvertDepthToAltitude(WellRef well, double md, bool within_survey) {
  double kb = 0;
  const auto t = IsMissing(md) ? nullptr : TrajectoryOf(well, &kb);
  if (!t || (within_survey && !InSurvey(*t, md))) return kFltMax;
  return kb - t->TvdAt(md);
}

double CWellDataManager::ConvertAltitudeToDepth(WellRef well, double altitude, bool within_survey) {
  double kb = 0;
  const auto t = IsMissing(altitude) ? nullptr : TrajectoryOf(well, &kb);
  double md = 0;
  if (!t || !t->MdAt(kb - altitude, &md) || (within_survey && !InSurvey(*t, md))) return kFltMax;
  return md;
}

}  // namespace davodu
