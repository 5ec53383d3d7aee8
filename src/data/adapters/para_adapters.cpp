#include "davodu/data/adapters/para_adapters.h"

#include <algorithm>
#include <fstream>

#include "davodu/data/data_set_checker.h"
#include "davodu/data/data_sources.h"
#include "davodu/host/util/gbk.h"
#include "davodu/host/util/util.h"
#include "davodu/store/general_data_manager.h"
#include "davodu/store/well_catalogs.h"
#include "davodu/store/well_data_manager.h"

namespace davodu {

namespace {

bool Contains(const std::string& text, const char* utf8) { return text.find(Gbk(utf8)) != std::string::npos; }

// Fields of a line separated by blanks or tabs.
std::vector<std::string> Fields(const std::string& line) {
  std::vector<std::string> out;
  std::size_t i = 0;
  while (i < line.size()) {
    const std::size_t start = line.find_first_not_of(" \t\r", i);
    if (start == std::string::npos) break;
    std::size_t end = line.find_first_of(" \t\r", start);
    if (end == std::string::npos) end = line.size();
    out.push_back(line.substr(start, end - start));
    i = end;
  }
  return out;
}

bool ReadInt(const std::string& text, int* out) {
  try {
    std::size_t used = 0;
    const int v = std::stoi(text, &used, 10);
    if (used != text.size()) return false;
    *out = v;
    return true;
  } catch (...) {
    return false;
  }
}

}  // namespace

// ---------------------------------------------------------------- tables

LogParaTableAdapter::LogParaTableAdapter(std::shared_ptr<void> owner, Intervals intervals,
                                         std::shared_ptr<CWellTable> table, std::string field,
                                         std::string well, std::string data_set)
    : owner_(std::move(owner)),
      intervals_(std::move(intervals)),
      table_(std::move(table)),
      field_(std::move(field)),
      well_(std::move(well)),
      data_set_(std::move(data_set)) {}

std::string LogParaTableAdapter::GetValue(int i) {
  const int row = intervals_.row(i);
  if (!table_ || row < 0 || row >= table_->GetCount() || table_->FindColumn(field_) < 0) return std::string();
  return table_->GetValue(row, field_).ToString();
}

bool LogParaTableAdapter::SetValue(int i, const std::string& value) {
  const int row = intervals_.row(i);
  if (!table_ || row < 0 || row >= table_->GetCount()) return false;
  // Written under the column's own name, which an import name stands for.
  const int column = table_->FindColumn(field_);
  if (column < 0) return false;
  return table_->SetValue(row, table_->GetColumnName(column), CZuVariant(value));
}

void LogParaTableAdapter::CheckDataSet() { CDataSetChecker::Instance()->CheckData(well_, data_set_); }

// ---------------------------------------------------------------- names

const std::vector<std::string>& ParaSandTableNames() {
  static const std::vector<std::string> names = [] {
    std::vector<std::string> n;
    for (int t = SAND_CLASS1; t <= SAND_INTERLAYER; ++t) n.push_back(SandTypeName(t));
    return n;
  }();
  return names;
}

ParaTableKind ParaTableKindOf(const std::string& table) {
  for (int level = 0; level < 5; ++level)
    if (table == StratumTableName(level)) return {ParaTableKind::kStratum, level};
  const int sand = SandTypeOfName(table);
  if (sand >= SAND_CLASS1 && sand <= SAND_INTERLAYER) return {ParaTableKind::kSand, sand};
  if (sand >= SAND_SEGMENT1 && sand <= SAND_SEGMENT3) return {ParaTableKind::kSegment, sand - SAND_SEGMENT1};
  if (table == Gbk("射孔数据")) return {ParaTableKind::kShoot, 0};
  if (table == Gbk("岩性数据")) return {ParaTableKind::kCorelith, 0};
  if (table == Gbk("试油数据")) return {ParaTableKind::kTestOil, 0};
  return {};
}

std::string ParaDefinitionOf(const std::string& table) {
  if (Contains(table, "分层界限") || Contains(table, "段数据")) return table;
  // A level-and-class table ("二级分层一类数据"): the level's data table.
  // The level is the first two characters (four GBK bytes).
  if (table.size() > 4 && table.compare(4, std::string::npos, Gbk("分层数据")) != 0 &&
      table.compare(4, Gbk("分层").size(), Gbk("分层")) == 0) {
    for (int level = 0; level < 5; ++level)
      if (table.compare(0, 4, LevelPrefix(level)) == 0) return LevelPrefix(level) + Gbk("分层数据");
  }
  if (Contains(table, "砂岩数据")) return Gbk("砂岩数据");
  return table;
}

// ---------------------------------------------------------------- catalogue

LogParaMgrAdapter::LogParaMgrAdapter() : stamp_(AfxGetTimeStamp()) {}

std::string LogParaMgrAdapter::GetSourceName(int source) {
  if (source == 0) return Gbk("当前井");
  if (source == 1) return Gbk("离散数据");
  return std::string();
}

namespace {
int SourceIndex(const std::string& name) {
  if (name == Gbk("当前井")) return 0;
  if (name == Gbk("离散数据")) return 1;
  return -1;
}
}  // namespace

int LogParaMgrAdapter::GetTableCount(const std::string& source) { return GetTableCount(SourceIndex(source)); }

int LogParaMgrAdapter::GetTableCount(int source) {
  if (source == 0) return static_cast<int>(tables_.size());
  if (source == 1) return static_cast<int>(ScattTables().size());
  return -1;
}

std::string LogParaMgrAdapter::GetTableName(const std::string& source, int table) {
  return GetTableName(SourceIndex(source), table);
}

std::string LogParaMgrAdapter::GetTableName(int source, int table) {
  const std::vector<std::string> names = source == 0 ? tables_ : source == 1 ? ScattTables() : std::vector<std::string>();
  return table >= 0 && table < static_cast<int>(names.size()) ? names[static_cast<std::size_t>(table)] : std::string();
}

int LogParaMgrAdapter::GetFieldCount(const std::string& source, const std::string& table) {
  const int s = SourceIndex(source);
  if (s == 0) {
    const auto it = fields_.find(table);
    return it == fields_.end() ? 0 : static_cast<int>(it->second.size());
  }
  if (s == 1) {
    if (!mgr_ || !CColPtDataManager(mgr_).IsExist(table)) return -1;
    return static_cast<int>(ScattFields(table).size());
  }
  return -1;
}

int LogParaMgrAdapter::GetFieldCount(int source, int table) {
  if (source != 0 && source != 1) return -1;
  return GetFieldCount(GetSourceName(source), GetTableName(source, table));
}

std::string LogParaMgrAdapter::GetFieldName(const std::string& source, const std::string& table, int field) {
  const int s = SourceIndex(source);
  std::vector<std::string> names;
  if (s == 0) {
    const auto it = fields_.find(table);
    if (it != fields_.end()) names = it->second;
  } else if (s == 1) {
    names = ScattFields(table);
  }
  return field >= 0 && field < static_cast<int>(names.size()) ? names[static_cast<std::size_t>(field)] : std::string();
}

std::string LogParaMgrAdapter::GetFieldName(int source, int table, int field) {
  return GetFieldName(GetSourceName(source), GetTableName(source, table), field);
}

std::vector<std::string> LogParaMgrAdapter::ScattTables() const {
  std::vector<std::string> out;
  if (!mgr_) return out;
  CColPtDataManager scatt(mgr_);
  for (int i = 0; i < scatt.GetCount(); ++i) {
    auto data = scatt.GetData(scatt.GetName(i));
    if (data && data->IsSegmentData()) out.push_back(scatt.GetName(i));
  }
  return out;
}

std::vector<std::string> LogParaMgrAdapter::ScattFields(const std::string& table) const {
  if (!mgr_) return {};
  auto data = CColPtDataManager(mgr_).GetData(table);
  return data ? data->GetValNames() : std::vector<std::string>();
}

void LogParaMgrAdapter::AddTable(const std::string& table) {
  if (fields_.count(table)) return;
  std::vector<std::string> names{std::string()};
  std::shared_ptr<CTableDefinitionManager> defs = mgr_ ? mgr_->GetTableDefinitionManager() : nullptr;
  TableDefinition def;
  if (defs && defs->GetTableDefinition(ParaDefinitionOf(table), &def))
    for (const ColumnDefinition& c : def.columns)
      if (c.listed) names.push_back(c.name);
  fields_.emplace(table, std::move(names));
  tables_.push_back(table);
}

void LogParaMgrAdapter::UseDefaults() {
  fields_.clear();
  tables_.clear();
  for (int level = 0; level < 5; ++level) AddTable(StratumTableName(level));
  for (const std::string& name : ParaSandTableNames()) AddTable(name);
  for (const char* name : {"射孔数据", "岩性数据", "试油数据"}) AddTable(Gbk(name));
  for (int t = SAND_SEGMENT1; t <= SAND_SEGMENT3; ++t) AddTable(SandTypeName(t));
  stamp_ = AfxGetTimeStamp();
  loaded_ = true;
}

bool LogParaMgrAdapter::Read(const std::string& path, std::string* error) {
  fields_.clear();
  tables_.clear();
  stamp_ = AfxGetTimeStamp();
  loaded_ = true;
  std::ifstream in(path, std::ios::binary);
  if (!in) {
    UseDefaults();
    return false;
  }
  std::string line;
  // Lines may end in CR LF; anything else on the first line rejects it.
  const auto next = [&in, &line] {
    if (!std::getline(in, line)) return false;
    if (!line.empty() && line.back() == '\r') line.pop_back();
    return true;
  };
  if (!next() || line != "KES_PARA_CONFIG") {
    if (error) *error = "Not find KES_PARA_CONFIG file!";
    return false;
  }
  int count = 0;
  if (!next()) return true;
  const std::vector<std::string> head = Fields(line);
  if (head.size() < 2 || !ReadInt(head[1], &count)) return true;
  for (int entry = 0; entry < count && next(); ++entry) {
    const std::vector<std::string> f = Fields(line);
    if (f.size() < 3 || f[2] != "Y") continue;
    int skip = 0;
    ReadInt(f[1], &skip);
    for (int k = 0; k < skip && next(); ++k) {
    }
    AddTable(f[0]);
  }
  return true;
}

}  // namespace davodu
