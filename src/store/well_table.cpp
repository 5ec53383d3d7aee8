#include "davodu/store/well_table.h"

#include <algorithm>

#include "davodu/host/util/gbk.h"
#include "davodu/store/detail/well_db.h"

namespace davodu {

namespace {

// Brings a handle's snapshot up to date: nothing to do while the database
// saw no write since the handle last looked; otherwise the stored stamp is
// read (0: the table or curve is gone) and the rows reloaded only when it
// differs from the snapshot's.
template <typename Data, typename StampFn, typename LoadFn>
const std::shared_ptr<const Data>& Refresh(const std::weak_ptr<WellDb>& weak, std::uint64_t& seen,
                                           std::shared_ptr<const Data>& data, StampFn stamp_of,
                                           LoadFn load) {
  const std::shared_ptr<WellDb> db = weak.lock();
  if (!db) {
    data.reset();
    return data;
  }
  if (seen == db->generation()) return data;
  try {
    const std::uint64_t stamp = stamp_of(*db);
    if (stamp == 0)
      data.reset();
    else if (!data || data->stamp != stamp)
      data = load(*db);
    seen = db->generation();
  } catch (const sql::Error&) {
    // Busy or broken: keep what we have and try again next time.
  }
  return data;
}

}  // namespace

// --- CWellTable

std::shared_ptr<const TableData> CWellTable::GetData() const {
  return Refresh<TableData>(
      db_, seen_, data_, [&](WellDb& db) { return db.TableStamp(key_).value_or(0); },
      [&](WellDb& db) { return db.LoadTable(key_); });
}

int CWellTable::GetCount() const {
  const auto data = GetData();
  return data ? data->GetCount() : -1;
}

std::uint64_t CWellTable::GetTimeStamp() const {
  const std::shared_ptr<WellDb> db = db_.lock();
  if (!db) return 0;
  try {
    db->Sync();
    return db->TableStamp(key_).value_or(0);
  } catch (const sql::Error&) {
    return data_ ? data_->stamp : 0;
  }
}

int CWellTable::GetColumnCount() const {
  const auto data = GetData();
  return data ? static_cast<int>(data->columns.size()) : 0;
}

std::string CWellTable::GetColumnName(int column) const {
  const auto data = GetData();
  if (!data || column < 0 || column >= static_cast<int>(data->columns.size())) return {};
  return data->columns[static_cast<std::size_t>(column)];
}

int CWellTable::FindColumn(std::string_view name) const {
  const auto data = GetData();
  return data ? data->FindColumn(name) : -1;
}

CZuVariant CWellTable::GetValue(int row, std::string_view column) const {
  const auto data = GetData();
  return data ? data->Get(row, data->FindColumn(column)) : CZuVariant();
}

CZuVariant CWellTable::GetValue(int row, int column) const {
  const auto data = GetData();
  return data ? data->Get(row, column) : CZuVariant();
}

double CWellTable::GetDouble(int row, std::string_view column) const {
  return GetValue(row, column).ToDouble();
}

std::string CWellTable::GetString(int row, std::string_view column) const {
  return GetValue(row, column).ToString();
}

template <class F>
bool CWellTable::Write(F&& f) {
  const std::shared_ptr<WellDb> db = db_.lock();
  if (!db) {
    error_ = "the database is closed";
    return false;
  }
  try {
    f(*db);
    error_.clear();
    return true;
  } catch (const std::exception& e) {
    error_ = e.what();
    return false;
  }
}

bool CWellTable::SetValue(int row, std::string_view column, const CZuVariant& value) {
  const auto data = GetData();
  if (!data || row < 0 || row >= data->GetCount()) {
    error_ = "no row " + std::to_string(row);
    return false;
  }
  const std::int64_t id = data->row_ids[static_cast<std::size_t>(row)];
  return Write([&](WellDb& db) { db.SetValue(key_, id, column, value); });
}

bool CWellTable::SetValues(const std::vector<CellValue>& cells) {
  const auto data = GetData();
  if (!data) {
    error_ = "the table is gone";
    return false;
  }
  std::vector<WellDb::Cell> by_id;
  by_id.reserve(cells.size());
  for (const CellValue& c : cells) {
    if (c.row < 0 || c.row >= data->GetCount()) {
      error_ = "no row " + std::to_string(c.row);
      return false;
    }
    by_id.push_back({data->row_ids[static_cast<std::size_t>(c.row)], c.column, c.value});
  }
  return Write([&](WellDb& db) { db.SetValues(key_, by_id); });
}

int CWellTable::InsertRecord(int pos, const RecordValues& values) {
  const auto data = GetData();
  if (!data) {
    error_ = "the table is gone";
    return -1;
  }
  const bool inside = pos >= 0 && pos < data->GetCount();
  const std::int64_t before = inside ? data->row_nos[static_cast<std::size_t>(pos)] : -1;
  std::vector<std::string> columns;
  std::vector<CZuVariant> row;
  for (const auto& [name, value] : values) {
    columns.push_back(name);
    row.push_back(value);
  }
  const bool ok = Write([&](WellDb& db) { db.InsertRow(key_, before, columns, row); });
  if (!ok) return -1;
  return inside ? pos : data->GetCount();
}

bool CWellTable::DeleteRecord(int row) {
  const auto data = GetData();
  if (!data || row < 0 || row >= data->GetCount()) {
    error_ = "no row " + std::to_string(row);
    return false;
  }
  const std::int64_t id = data->row_ids[static_cast<std::size_t>(row)];
  return Write([&](WellDb& db) { db.DeleteRow(key_, id); });
}

bool CWellTable::AppendRecords(const std::vector<std::string>& columns,
                               const std::vector<std::vector<CZuVariant>>& rows) {
  if (!GetData()) {
    error_ = "the table is gone";
    return false;
  }
  return Write([&](WellDb& db) { db.AppendRows(key_, columns, rows); });
}

bool CWellTable::ReplaceRecords(const std::vector<std::string>& columns,
                                const std::vector<std::vector<CZuVariant>>& rows) {
  if (!GetData()) {
    error_ = "the table is gone";
    return false;
  }
  return Write([&](WellDb& db) { db.ReplaceRows(key_, columns, rows); });
}

void CWellTable::SetModified(bool modified) {
  if (const auto db = db_.lock()) db->SetModified(key_, modified);
}

bool CWellTable::IsModified() const {
  const auto db = db_.lock();
  return db && db->IsModified(key_);
}

// --- CWellLogColumn

std::shared_ptr<const CurveData> CWellLogColumn::GetData() const {
  return Refresh<CurveData>(
      db_, seen_, data_, [&](WellDb& db) { return db.CurveStamp(well_id_, name_); },
      [&](WellDb& db) { return db.LoadCurve(well_id_, name_); });
}

std::uint64_t CWellLogColumn::GetTimeStamp() const {
  const std::shared_ptr<WellDb> db = db_.lock();
  if (!db) return 0;
  try {
    db->Sync();
    return db->CurveStamp(well_id_, name_);
  } catch (const sql::Error&) {
    return data_ ? data_->stamp : 0;
  }
}

std::string CWellLogColumn::GetName() const {
  const auto data = GetData();
  return data ? data->name : name_;
}

std::string CWellLogColumn::GetUnit() const {
  const auto data = GetData();
  return data ? data->unit : std::string();
}

int CWellLogColumn::GetCount() const {
  const auto data = GetData();
  return data ? static_cast<int>(data->values.size()) : -1;
}

int CWellLogColumn::GetMissingCount() const {
  const auto data = GetData();
  return data ? data->missing : 0;
}

double CWellLogColumn::GetStartDepth() const {
  const auto data = GetData();
  return data ? data->top : kFltMax;
}

double CWellLogColumn::GetStopDepth() const {
  const auto data = GetData();
  return data ? data->bottom : kFltMax;
}

double CWellLogColumn::GetMinValue() const {
  const auto data = GetData();
  return data ? data->min : kFltMax;
}

double CWellLogColumn::GetMaxValue() const {
  const auto data = GetData();
  return data ? data->max : kFltMax;
}

namespace {

// Smallest (or largest) non-missing value between two depths.
double RangeExtreme(const CurveData* data, double top, double bottom, bool largest) {
  if (!data) return kFltMax;
  if (top > bottom) std::swap(top, bottom);
  const auto& d = data->depths();
  const auto first = std::lower_bound(d.begin(), d.end(), top);
  const auto last = std::upper_bound(d.begin(), d.end(), bottom);
  double best = kFltMax;
  bool any = false;
  for (auto it = first; it < last; ++it) {
    const double v = data->values[static_cast<std::size_t>(it - d.begin())];
    if (IsMissing(v)) continue;
    if (!any || (largest ? v > best : v < best)) best = v;
    any = true;
  }
  return best;
}

}  // namespace

double CWellLogColumn::GetMinValue(double top, double bottom) const {
  return RangeExtreme(GetData().get(), top, bottom, false);
}

double CWellLogColumn::GetMaxValue(double top, double bottom) const {
  return RangeExtreme(GetData().get(), top, bottom, true);
}

const double* CWellLogColumn::GetDepthBuf() const {
  const auto data = GetData();
  return data && !data->values.empty() ? data->depths().data() : nullptr;
}

const double* CWellLogColumn::GetDataBuf() const {
  const auto data = GetData();
  return data && !data->values.empty() ? data->values.data() : nullptr;
}

const double* CWellLogColumn::GetVerticalDepthBuf() const {
  const auto data = GetData();
  return data && !data->values.empty() ? data->VerticalDepths().data() : nullptr;
}

// --- CWellLog

const std::vector<std::string>* CWellLog::Names() const {
  const std::shared_ptr<WellDb> db = db_.lock();
  if (!db) return nullptr;
  if (seen_ != db->generation()) {
    try {
      exists_ = db->FindWell(well_id_) != nullptr;
      names_ = exists_ ? db->CurveNames(well_id_) : std::vector<std::string>();
      seen_ = db->generation();
    } catch (const sql::Error&) {
    }
  }
  return exists_ ? &names_ : nullptr;
}

int CWellLog::GetColumnCount() const {
  const auto* names = Names();
  return names ? static_cast<int>(names->size()) : -1;
}

std::string CWellLog::GetColumnName(int i) const {
  const auto* names = Names();
  if (!names || i < 0 || i >= static_cast<int>(names->size())) return {};
  return (*names)[static_cast<std::size_t>(i)];
}

std::vector<std::string> CWellLog::GetColumnNames() const {
  const auto* names = Names();
  return names ? *names : std::vector<std::string>();
}

std::shared_ptr<CWellLogColumn> CWellLog::GetColumn(std::string_view name) const {
  const auto* names = Names();
  if (!names) return nullptr;
  for (const std::string& n : *names) {
    if (EqualsNoCase(n, name)) return std::make_shared<CWellLogColumn>(db_, well_id_, n);
  }
  return nullptr;
}

std::uint64_t CWellLog::GetTimeStamp() const {
  const std::shared_ptr<WellDb> db = db_.lock();
  if (!db) return 0;
  try {
    db->Sync();
    return db->TableStamp({TableKind::kWellLog, well_id_, 0}).value_or(0);
  } catch (const sql::Error&) {
    return 0;
  }
}

// --- CWellPosition

int CWellPosition::GetCount() const {
  const auto db = db_.lock();
  if (!db) return 0;
  try {
    return static_cast<int>(db->Wells().size());
  } catch (const sql::Error&) {
    return 0;
  }
}

std::int64_t CWellPosition::FindData(std::string_view name) const {
  const auto db = db_.lock();
  if (!db) return -1;
  try {
    db->Sync();
    const WellInfo* w = db->FindWell(name);
    return w ? w->id : -1;
  } catch (const sql::Error&) {
    return -1;
  }
}

std::int64_t CWellPosition::GetId(int i) const {
  const auto db = db_.lock();
  if (!db) return -1;
  try {
    const auto& wells = db->Wells();
    return i >= 0 && i < static_cast<int>(wells.size()) ? wells[static_cast<std::size_t>(i)].id : -1;
  } catch (const sql::Error&) {
    return -1;
  }
}

std::string CWellPosition::GetName(int i) const {
  const auto db = db_.lock();
  if (!db) return {};
  try {
    const auto& wells = db->Wells();
    return i >= 0 && i < static_cast<int>(wells.size()) ? wells[static_cast<std::size_t>(i)].name
                                                        : std::string();
  } catch (const sql::Error&) {
    return {};
  }
}

CZuVariant CWellPosition::GetValue(std::int64_t id, std::string_view field) const {
  const auto db = db_.lock();
  if (!db) return {};
  const WellInfo* w = nullptr;
  try {
    w = db->FindWell(id);
  } catch (const sql::Error&) {
  }
  if (!w) return {};
  const int column = davodu::FindColumn(GetTableLayout(TableKind::kWellHeader), GbkToUtf8(field));
  const auto number = [](double v) { return IsMissing(v) ? CZuVariant() : CZuVariant(v); };
  switch (column) {
    case 0: return w->name;
    case 1: return number(w->x);
    case 2: return number(w->y);
    case 3: return number(w->kb);
    case 4: return number(w->ground);
    case 5: return number(w->total_depth);
    case 6: return w->field;
    case 7: return w->well_type;
    case 8: return w->uwi;
    case 9: return w->location;
    case 10: return w->crs;
    default: return {};
  }
}

std::uint64_t CWellPosition::GetTimeStamp() const {
  const auto db = db_.lock();
  if (!db) return 0;
  try {
    db->Sync();
    return db->TableStamp({TableKind::kWellHeader, 0, 0}).value_or(0);
  } catch (const sql::Error&) {
    return 0;
  }
}

}  // namespace davodu
