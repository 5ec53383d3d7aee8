#include "davodu/data/adapters/corelith_adapters.h"

#include "davodu/data/data_set_checker.h"
#include "davodu/host/util/gbk.h"
#include "davodu/host/util/util.h"
#include "davodu/store/well_data_manager.h"

namespace davodu {

namespace {

// How far the ends of an interval to delete may lie from the stored ones.
constexpr double kDeleteTolerance = 0.01;
// The fields of the host record: 31 bytes of name, 15 of each attribute.
constexpr std::size_t kNameBytes = 31;
constexpr std::size_t kAttrBytes = 15;

// The text columns named by a segment or scattered data name: the name,
// the colour (1), the oil-bearing grade (2) and the lithology (6).
std::array<std::string, 7> NamedColumns(const std::vector<std::string>& fields) {
  std::array<std::string, 7> columns;
  if (fields.size() != 5) return columns;
  columns[kLithName] = fields[1];
  columns[kLithAttr1] = fields[2];
  columns[kLithAttr2] = fields[3];
  columns[kLithAttr6] = fields[4];
  return columns;
}

}  // namespace

bool IsLithologySegmentName(std::string_view name, int* index) {
  const std::vector<std::string> fields = ComposedNameParts(name);
  if (fields.size() <= 4) return false;
  for (int k = 0; k < 3; ++k) {
    if (fields[0] == Gbk("段数据.段数据") + std::to_string(k + 1)) {
      if (index) *index = k;
      return true;
    }
  }
  return false;
}

// ---------------------------------------------------------------- table base

std::string CorelithTableAdapter::Text(int i, CorelithText which) {
  const std::string& column = TextColumn(which);
  CWellTable* t = Table();
  if (column.empty() || !t || t->FindColumn(column) < 0) return std::string();
  return t->GetValue(i, column).ToString();
}

bool CorelithTableAdapter::SetText(int i, CorelithText which, const std::string& text) {
  const std::string& column = TextColumn(which);
  CWellTable* t = Table();
  if (column.empty() || !t || i < 0 || i >= t->GetCount()) return false;
  return t->SetValue(i, column, TruncateGbk(text, which == kLithName ? kNameBytes : kAttrBytes));
}

bool CorelithTableAdapter::AddSeg(double top, double bottom) {
  CWellTable* t = Table();
  return t && columns_.Insert(t, top, bottom, {}) >= 0;
}

bool CorelithTableAdapter::DeleteSeg(double top, double bottom) {
  CWellTable* t = Table();
  const int row = t ? columns_.Find(t, top, bottom, kDeleteTolerance) : -1;
  return row >= 0 && t->DeleteRecord(row);
}

// ---------------------------------------------------------------- the well

LogCorelithDAdapter::LogCorelithDAdapter(CWellDataManager* mgr, std::string well)
    : CorelithTableAdapter(IntervalColumns("top", "thickness", IntervalColumns::Extent::kThickness),
                           {"name", "color", "oil", "inclusion", "prefix", "structure", "lithology"}),
      well_(std::move(well)),
      table_(mgr ? mgr->GetWellLithology(well_) : nullptr) {}

void LogCorelithDAdapter::CheckDataSet() {
  CDataSetChecker::Instance()->CheckData(well_, Gbk("岩性数据"));
}

LogCorelithDSegementAdapter::LogCorelithDSegementAdapter(CWellDataManager* mgr, std::string well,
                                                         const std::string& name)
    : CorelithTableAdapter(IntervalColumns("top", "bottom", IntervalColumns::Extent::kBottom),
                           NamedColumns(ComposedNameParts(name))),
      well_(std::move(well)) {
  int index = 2;
  const std::vector<std::string> fields = ComposedNameParts(name);
  // "段数据.段数据1" and "段数据.段数据2"; any other name is the third table.
  if (!fields.empty() && fields[0] == Gbk("段数据.段数据1")) index = 0;
  if (!fields.empty() && fields[0] == Gbk("段数据.段数据2")) index = 1;
  table_ = mgr ? mgr->GetWellSegmentData(index, well_) : nullptr;
}

void LogCorelithDSegementAdapter::CheckDataSet() {
  CDataSetChecker::Instance()->CheckData(well_, Gbk("段数据"));
}

// ---------------------------------------------------------------- scattered

LogCorelithScattDAdapter::LogCorelithScattDAdapter(CWellDataManager* mgr, const std::string& name)
    : CorelithTableAdapter(IntervalColumns("depth", "thickness", IntervalColumns::Extent::kThickness),
                           NamedColumns(ComposedNameParts(name))),
      mgr_(mgr) {
  const std::vector<std::string> fields = ComposedNameParts(name);
  if (!fields.empty()) table_name_ = FirstField(fields[0], " \t");
}

CWellTable* LogCorelithScattDAdapter::Table() {
  if (table_name_.empty() || !mgr_) return nullptr;
  if (!table_ || table_->GetCount() < 0) table_ = CColPtDataManager(mgr_).GetData(table_name_);
  return table_ && table_->IsSegmentData() ? &table_->table() : nullptr;
}

void LogCorelithScattDAdapter::CheckDataSet() {
  CDataSetChecker::Instance()->CheckData(table_name_, Gbk(Table() ? "列数据" : "点数据"));
}

}  // namespace davodu
