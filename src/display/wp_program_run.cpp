// The programmable kit: running its program over the bound table.
#include <algorithm>
#include <cmath>

#include "davodu/data/data_sources.h"
#include "davodu/data/wd_mgr.h"
#include "davodu/display/wp_program.h"
#include "davodu/host/dialogs/dialogs.h"
#include "davodu/host/objects/zu_layer.h"
#include "davodu/host/util/gbk.h"
#include "davodu/host/util/util.h"
#include "davodu/store/well_data_manager.h"
#include "davodu/store/well_schema.h"
#include "davodu/well/wp_well.h"

namespace davodu {

namespace {

// The records of one table of the chart's well, as a program sees them:
// fields by host or English column name, and depths converted to the
// chart's depth reference.
class TableRecords : public ProgramData {
 public:
  TableRecords(std::shared_ptr<const TableData> data, DepthConverter converter, CWpKit* kit)
      : data_(std::move(data)), converter_(std::move(converter)), kit_(kit) {
    for (const std::string& c : data_->columns) names_.push_back(c);
    const auto col = [&](const char* name) { return data_->FindColumn(name); };
    top_ = col("top");
    bottom_ = col("bottom");
    thickness_ = col("thickness");
    if (top_ < 0) top_ = col("depth");
    if (top_ < 0) {
      top_ = col("sand_top");
      bottom_ = col("sand_bottom");
    }
    if (top_ < 0) {
      top_ = col("stratum_top");
      bottom_ = col("stratum_bottom");
    }
    depths_.resize(static_cast<std::size_t>(data_->GetCount()));
    for (int i = 0; i < data_->GetCount(); ++i) {
      double top = kFltMax, bottom = kFltMax;
      if (top_ >= 0 && data_->Get(i, top_).IsNumber()) {
        const double md = data_->Get(i, top_).ToDouble();
        double md_bottom = md;
        if (bottom_ >= 0 && data_->Get(i, bottom_).IsNumber())
          md_bottom = data_->Get(i, bottom_).ToDouble();
        else if (thickness_ >= 0 && data_->Get(i, thickness_).IsNumber())
          md_bottom = md + data_->Get(i, thickness_).ToDouble();
        top = converter_.FromMeasured(md);
        bottom = converter_.FromMeasured(md_bottom);
      }
      depths_[static_cast<std::size_t>(i)] = {top, bottom};
    }
  }

  int GetCount() const { return data_->GetCount(); }

  bool GetField(int i, const char* name, Value* value) override {
    const int c = data_->FindColumn(name);
    if (c < 0 || i < 0 || i >= data_->GetCount()) return false;
    const CZuVariant& v = data_->Get(i, c);
    if (v.IsNull()) return false;
    value->is_number = v.IsNumber();
    if (value->is_number) {
      value->number = v.ToDouble();
    } else {
      text_ = v.ToString();
      value->text = text_;
    }
    return true;
  }
  const std::vector<std::string>& GetFieldNames() override { return names_; }
  bool GetDepths(int i, double* top, double* bottom) override {
    if (i < 0 || i >= GetCount()) return false;
    const auto& [t, b] = depths_[static_cast<std::size_t>(i)];
    if (IsMissing(t) || IsMissing(b)) return false;
    *top = std::min(t, b);
    *bottom = std::max(t, b);
    return true;
  }
  double DepthToMapY(double depth) override { return kit_->DepToMapY(depth); }

  // The first and last record lying (partly) between two depths of the
  // chart's reference; -1 and -1 when none does. A record without depths
  // is never picked.
  std::pair<int, int> Range(double top, double bottom) {
    int first = -1, last = -1;
    for (int i = 0; i < GetCount(); ++i) {
      double t = 0, b = 0;
      if (!GetDepths(i, &t, &b)) continue;
      if (b < top || t > bottom) continue;
      if (first < 0) first = i;
      last = i;
    }
    return {first, last};
  }

 private:
  std::shared_ptr<const TableData> data_;
  DepthConverter converter_;
  CWpKit* kit_;
  std::vector<std::string> names_;
  int top_ = -1, bottom_ = -1, thickness_ = -1;
  std::vector<std::pair<double, double>> depths_;
  std::string text_;
};

CWellDataManager* ManagerOf(CWpWell* well) {
  auto* gateway = well ? dynamic_cast<WDMgrAdapter*>(well->GetDataMgr()) : nullptr;
  CWellDataManager* mgr = gateway ? gateway->GetManager() : nullptr;
  return mgr && mgr->IsOpen() ? mgr : nullptr;
}

bool EndsWith(const std::string& s, const std::string& suffix) {
  return s.size() >= suffix.size() && s.compare(s.size() - suffix.size(), suffix.size(), suffix) == 0;
}

// What a table name names.
enum class TableLookup { kTable, kNoSuchKind, kNotThere };

// The table of the well a program is bound to: by its host name (with or
// without a data set prefix) or its command-line name.
TableLookup FindTable(CWellDataManager* mgr, const std::string& well, const std::string& gbk_name,
                      std::shared_ptr<CWellTable>* table) {
  TableKind kind;
  int sub = 0;
  if (!ParseTableName(GbkToUtf8(gbk_name), &kind, &sub)) {
    // A stratification table of a level that does not exist names no table
    // of another kind either: keep what was drawn.
    if (EndsWith(gbk_name, Gbk("界限数据")) || EndsWith(gbk_name, Gbk("分层数据")))
      return TableLookup::kNotThere;
    return TableLookup::kNoSuchKind;
  }
  *table = mgr->GetTable(well, kind, sub);
  return *table ? TableLookup::kTable : TableLookup::kNotThere;
}

}  // namespace

std::uint64_t CWpProgram::DataStamp() {
  CWpWell* well = GetWell();
  CWellDataManager* mgr = ManagerOf(well);
  if (!mgr) return 0;
  std::shared_ptr<CWellTable> table;
  if (FindTable(mgr, well->GetName(), program_->GetTableName(), &table) != TableLookup::kTable) return 0;
  return table->GetTimeStamp();
}

std::array<double, 6> CWpProgram::GeometryKey() const {
  return {map_nodes_[4].x, map_nodes_[1].x, map_nodes_[0].y, dep_scl_, top_depth_, bottom_depth_};
}

int CWpProgram::RunProgram() {
  CProgramLog& log = program_->GetProgramLog();
  log.SetEnable(true);
  log.Clear();
  if (!ProgramsEnabled()) return 0;
  CWpWell* well = GetWell();
  CWellDataManager* mgr = ManagerOf(well);
  if (!mgr || !layer_) return 0;
  // A run under way is newer than any data (a document read without its
  // data keeps the stamp it was stored with).
  time_stamp_ = AfxGetTimeStamp();

  const double x0 = map_nodes_[4].x, x1 = map_nodes_[1].x, y0 = map_nodes_[0].y;
  const double scale = well->GetDepScl();
  const struct {
    const char* gbk_name;
    const char* name;
    double value;
  } values[] = {{"横坐标X0", "x0", x0}, {"横坐标X1", "x1", x1}, {"纵坐标Y0", "y0", y0},
                {"纵向变换系数", "scale", scale}, {"起始深度", "top_depth", top_depth_},
                {"终止深度", "bottom_depth", bottom_depth_}};
  for (const auto& v : values) {
    program_->SetValueAtRuntime(Gbk(v.gbk_name), v.value);
    program_->SetValueAtRuntime(v.name, v.value);
  }
  program_->SetCurrentWellName(well->GetName());
  program_->SetLayer(layer_);

  std::shared_ptr<CWellTable> table;
  const TableLookup found = FindTable(mgr, well->GetName(), program_->GetTableName(), &table);
  if (found == TableLookup::kNotThere) return 0;
  std::shared_ptr<const TableData> data = table ? table->GetData() : nullptr;
  if (found == TableLookup::kTable && !data) return 0;

  DeleteObjects();
  const std::size_t n0 = layer_->GetObjectList().size();
  if (data) {
    TableRecords records(data, DepthConverter(mgr, well->GetName(), well->GetDepthType()), this);
    const auto [first, last] = records.Range(top_depth_, bottom_depth_);
    if (first >= 0) {
      program_->SetValueAtRuntime(Gbk("起始序号"), first);
      program_->SetValueAtRuntime("first", first);
      program_->SetValueAtRuntime(Gbk("终止序号"), last);
      program_->SetValueAtRuntime("last", last);
      program_->SetData(&records);
      for (int i = first; i <= last; ++i) {
        program_->SetCurrentRecordIndex(i);
        program_->SetValueAtRuntime(Gbk("当前序号"), i);
        if (!program_->Run()) break;
      }
      program_->End();
      program_->SetData(nullptr);
    }
  }
  // The objects the runs added to the layer are the kit's from now on.
  const std::vector<CZuObject*> all = layer_->GetObjectList();
  for (std::size_t i = n0; i < all.size(); ++i) {
    layer_->RemoveObject(all[i]);
    all[i]->SetZoomFactor(zoom_);
    objects_.push_back(all[i]);
  }
  for (const std::string& line : log.GetLines()) AfxGetDialogs().Message(Utf8ToGbk(line));
  SetModifyFlag();
  return 1;
}

void CWpProgram::UpdateD2V() {
  if (program_->IsSuspended() || !ManagerOf(GetWell())) return;
  const std::uint64_t data_stamp = DataStamp();
  const std::uint64_t stamp = program_->GetTimeStamp();
  program_stamp_ = stamp;
  time_stamp_ = 0;
  RunProgram();
  time_stamp_ = data_stamp;
  program_stamp_ = stamp;
  geometry_ = GeometryKey();
  InvalidBody();
}

}  // namespace davodu
