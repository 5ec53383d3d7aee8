#include "davodu/data/adapters/symble_adapters.h"

#include "davodu/data/data_set_checker.h"
#include "davodu/host/util/gbk.h"
#include "davodu/store/well_data_manager.h"

namespace davodu {

namespace {

constexpr double kDeleteTolerance = 0.01;

IntervalColumns TopThickness() {
  return IntervalColumns("top", "thickness", IntervalColumns::Extent::kThickness);
}
IntervalColumns DepthThickness() {
  return IntervalColumns("depth", "thickness", IntervalColumns::Extent::kThickness);
}

std::string Part(const std::vector<std::string>& fields, std::size_t i, const char* fallback) {
  return i < fields.size() && !fields[i].empty() ? fields[i] : Gbk(fallback);
}

std::string TableOf(const std::vector<std::string>& fields) {
  return fields.empty() ? std::string() : FirstField(fields[0], " \t");
}

CWellTable* Scattered(CWellDataManager* mgr, const std::string& name, std::shared_ptr<CMutiColPtData>* table) {
  if (name.empty() || !mgr) return nullptr;
  if (!*table || (*table)->GetCount() < 0) *table = CColPtDataManager(mgr).GetData(name);
  return *table && (*table)->IsSegmentData() ? &(*table)->table() : nullptr;
}

}  // namespace

// ---------------------------------------------------------------- table base

template <class Interface>
std::string SymbleTableAdapter<Interface>::GetSymble(int i) {
  CWellTable* t = Table();
  return t ? t->GetString(i, cols_.symbol) : std::string();
}

template <class Interface>
bool SymbleTableAdapter<Interface>::SetSymble(int i, const std::string& text) {
  CWellTable* t = Table();
  if (!t || i < 0 || i >= t->GetCount()) return false;
  return t->SetValue(i, cols_.symbol, TruncateGbk(text, cols_.symbol_bytes));
}

template <class Interface>
bool SymbleTableAdapter<Interface>::AddSeg(double top, double bottom) {
  CWellTable* t = Table();
  return t && cols_.intervals.Insert(t, top, bottom, {{cols_.symbol, cols_.new_symbol}}) >= 0;
}

template <class Interface>
bool SymbleTableAdapter<Interface>::DeleteSeg(double top, double bottom) {
  CWellTable* t = Table();
  const int row = t ? cols_.intervals.Find(t, top, bottom, kDeleteTolerance) : -1;
  return row >= 0 && t->DeleteRecord(row);
}

template <class Interface>
void SymbleTableAdapter<Interface>::Arrange() {
  if (CWellTable* t = Table()) cols_.intervals.Arrange(t);
}

template class SymbleTableAdapter<ISymbleData>;
template class SymbleTableAdapter<ISymbleShootData>;

// ---------------------------------------------------------------- the well

AdapterCycle::AdapterCycle(CWellDataManager* mgr, std::string well, int source)
    : SymbleTableAdapter({TopThickness(), "symbol", 23, Gbk("正旋回")}),
      mgr_(mgr),
      well_(std::move(well)),
      kind_(CycleKindName(source)) {}

CWellTable* AdapterCycle::Table() {
  // Looked up on first use and kept.
  if (!table_ && mgr_ && !kind_.empty()) table_ = mgr_->GetCycleData(well_, kind_);
  return table_.get();
}

void AdapterCycle::CheckDataSet() {
  CDataSetChecker::Instance()->CheckData(well_, Gbk("旋回.") + kind_);
}

AdapterTexture::AdapterTexture(CWellDataManager* mgr, std::string well)
    : SymbleTableAdapter({TopThickness(), "symbol", 23, Gbk("水平层理")}),
      well_(std::move(well)),
      table_(mgr ? mgr->GetWellTextureData(well_) : nullptr) {}

void AdapterTexture::CheckDataSet() {
  CDataSetChecker::Instance()->CheckData(well_, Gbk("层理数据"));
}

AdapterShoot::AdapterShoot(CWellDataManager* mgr, std::string well)
    : SymbleTableAdapter({TopThickness(), "kind", 7, Gbk("射孔")}),
      well_(std::move(well)),
      table_(mgr ? mgr->GetWellShoot(well_) : nullptr) {}

void AdapterShoot::CheckDataSet() {
  CDataSetChecker::Instance()->CheckData(well_, Gbk("射孔数据"));
}

// ---------------------------------------------------------------- scattered

AdapterScattCycle::AdapterScattCycle(CWellDataManager* mgr, const std::string& name)
    : AdapterScattCycle(mgr, ComposedNameParts(name)) {}

AdapterScattCycle::AdapterScattCycle(CWellDataManager* mgr, const std::vector<std::string>& fields)
    : SymbleTableAdapter({DepthThickness(), Part(fields, 1, "符号"), 23, Gbk("正旋回")}),
      mgr_(mgr),
      table_name_(TableOf(fields)) {}

CWellTable* AdapterScattCycle::Table() { return Scattered(mgr_, table_name_, &table_); }

void AdapterScattCycle::CheckDataSet() {
  CDataSetChecker::Instance()->CheckData(table_name_, Gbk(Table() ? "列数据" : "点数据"));
}

AdapterScattShoot::AdapterScattShoot(CWellDataManager* mgr, const std::string& name)
    : AdapterScattShoot(mgr, ComposedNameParts(name)) {}

AdapterScattShoot::AdapterScattShoot(CWellDataManager* mgr, const std::vector<std::string>& fields)
    : SymbleTableAdapter({DepthThickness(), Part(fields, 1, "射孔类型"), 7, Gbk("射孔")}),
      mgr_(mgr),
      table_name_(TableOf(fields)),
      dates_(Part(fields, 2, "射孔日期")) {}

CWellTable* AdapterScattShoot::Table() { return Scattered(mgr_, table_name_, &table_); }

void AdapterScattShoot::CheckDataSet() {
  CDataSetChecker::Instance()->CheckData(table_name_, Gbk(Table() ? "列数据" : "点数据"));
}

}  // namespace davodu
