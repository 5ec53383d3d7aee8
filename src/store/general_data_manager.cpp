#include "davodu/store/general_data_manager.h"

#include "davodu/host/util/gbk.h"
#include "davodu/store/detail/well_db.h"
#include "davodu/store/well_data_manager.h"

namespace davodu {

bool CMutiColPtData::IsSegmentData() const {
  // Read each time: importing the table again may change it.
  const auto db = db_.lock();
  if (!db) return false;
  try {
    const std::optional<ScatterInfo> info = db->FindScatter(info_.id);
    return info && info->is_segment;
  } catch (const sql::Error&) {
    return false;
  }
}

std::vector<std::string> CMutiColPtData::GetValNames() const {
  const auto data = table_.GetData();
  if (!data) return {};
  return {data->columns.begin() + static_cast<std::ptrdiff_t>(data->fixed_columns),
          data->columns.end()};
}

int CMutiColPtData::GetValIndex(std::string_view name) const {
  const std::vector<std::string> names = GetValNames();
  for (std::size_t i = 0; i < names.size(); ++i) {
    if (names[i] == name) return static_cast<int>(i);
  }
  return -1;
}

CZuVariant CMutiColPtData::GetProVal(int record, int column) const {
  const auto data = table_.GetData();
  if (!data || column < 0) return {};
  return data->Get(record, static_cast<int>(data->fixed_columns) + column);
}

double CMutiColPtData::GetValue(int record, std::string_view name) const {
  return GetProVal(record, GetValIndex(name)).ToDouble();
}

bool CMutiColPtData::SetProVal(int record, int column, const CZuVariant& value) {
  const std::vector<std::string> names = GetValNames();
  if (column < 0 || column >= static_cast<int>(names.size())) return false;
  return table_.SetValue(record, names[static_cast<std::size_t>(column)], value);
}

std::vector<ScatterInfo> CColPtDataManager::Tables() const {
  const auto db = wells_ ? wells_->GetDb() : nullptr;
  if (!db) return {};
  try {
    db->Sync();
    return db->ScatterTables();
  } catch (const sql::Error&) {
    return {};
  }
}

int CColPtDataManager::GetCount() const { return static_cast<int>(Tables().size()); }

std::string CColPtDataManager::GetName(int i) const {
  const std::vector<ScatterInfo> tables = Tables();
  return i >= 0 && i < static_cast<int>(tables.size()) ? tables[static_cast<std::size_t>(i)].name
                                                       : std::string();
}

std::shared_ptr<CMutiColPtData> CColPtDataManager::GetData(std::string_view name) const {
  for (const ScatterInfo& t : Tables()) {
    if (EqualsNoCase(t.name, name)) return std::make_shared<CMutiColPtData>(wells_->GetDb(), t);
  }
  return nullptr;
}

bool CColPtDataManager::CreateData(std::string_view name, bool is_segment,
                                   const std::vector<std::string>& value_names) {
  const auto db = wells_ ? wells_->GetDb() : nullptr;
  if (!db) return false;
  try {
    db->Write([&] {
      const std::int64_t id = db->CreateScatterTable(name, is_segment);
      db->ReplaceRows({TableKind::kScatter, id, 0}, value_names, {});
    });
    return true;
  } catch (const std::exception&) {
    return false;
  }
}

bool CColPtDataManager::RemoveData(std::string_view name) {
  const auto data = GetData(name);
  const auto db = wells_ ? wells_->GetDb() : nullptr;
  if (!data || !db) return false;
  try {
    db->DeleteScatterTable(data->table().key().owner);
    return true;
  } catch (const std::exception&) {
    return false;
  }
}

CGeneralDataManager* CGeneralDataManager::Instance() {
  static CGeneralDataManager manager(CWellDataManager::Instance());
  return &manager;
}

}  // namespace davodu
