#include "davodu/store/well_schema.h"

#include <cctype>

#include "davodu/host/util/gbk.h"
#include "davodu/host/util/util.h"

namespace davodu {
namespace {

using T = ColumnType;
constexpr bool kReq = true;
constexpr bool kOpt = false;

// Columns shared by several kinds.
const ColumnDef kTop{"top", "顶深", "top_depth|顶界|顶界深度|起始深度", T::kReal, kReq};
const ColumnDef kBottom{"bottom", "底深", "bottom_depth|base|底界|底界深度|终止深度", T::kReal, kReq};
const ColumnDef kThickness{"thickness", "厚度", "thick|h", T::kReal, kReq};
const ColumnDef kDepth{"depth", "深度", "md|测深|井深", T::kReal, kReq};
const ColumnDef kStratumName{"name", "层位", "stratum|layer|zone|层名|地层|小层", T::kText, kOpt};

ColumnDef Required(ColumnDef c) {
  c.required = true;
  return c;
}

// The columns of the sand-like rows: stratification data and sand data.
std::vector<ColumnDef> SandColumns() {
  return {Required(kStratumName),
          {"sand_top", "砂岩顶深", "", T::kReal, kOpt},
          {"sand_bottom", "砂岩底深", "", T::kReal, kOpt},
          {"stratum_top", "砂层顶深", "", T::kReal, kOpt},
          {"stratum_bottom", "砂层底深", "", T::kReal, kOpt},
          {"valid_top", "有效顶深", "", T::kReal, kOpt},
          {"valid_bottom", "有效底深", "", T::kReal, kOpt},
          {"net_top", "纯有效顶深", "net_valid_top", T::kReal, kOpt},
          {"net_bottom", "纯有效底深", "net_valid_bottom", T::kReal, kOpt},
          {"sand_thickness", "砂岩厚度", "", T::kReal, kOpt},
          {"valid_thickness", "有效厚度", "", T::kReal, kOpt},
          {"porosity", "孔隙度", "por|phi", T::kReal, kOpt},
          {"permeability", "渗透率", "perm", T::kReal, kOpt},
          {"oil_saturation", "含油饱和度", "so", T::kReal, kOpt},
          {"result", "解释结论", "interpretation|电测解释", T::kText, kOpt},
          {"flooding", "水淹级别", "flooding_grade|水淹解释", T::kText, kOpt},
          {"facies", "沉积相", "facies_type|相", T::kText, kOpt}};
}

std::vector<TableLayout> BuildLayouts() {
  std::vector<TableLayout> s;
  const auto add = [&s](TableLayout layout) { s.push_back(std::move(layout)); };
  using O = TableOwner;
  using K = TableKind;

  add({K::kStratum, "stratum", "stratum", "分层界限数据", O::kWell, "level", 5, false,
       {Required(kStratumName), kTop, kBottom,
        {"facies", "沉积相", "facies_type|相", T::kText, kOpt},
        {"remark", "备注", "note|comment", T::kText, kOpt}}});
  add({K::kFineStratum, "fine_stratum", "fine_stratum", "分层数据", O::kWell, "level", 5, false,
       SandColumns()});
  add({K::kSand, "sand", "sand", "砂岩数据", O::kWell, nullptr, 0, false, SandColumns()});
  add({K::kInterStratum, "interlayer", "inter_stratum", "夹层数据", O::kWell, nullptr, 0, false,
       {kTop, kThickness, {"type", "夹层类型", "kind|类型", T::kText, kOpt}, kStratumName}});
  add({K::kLithology, "lithology", "lithology", "岩性数据", O::kWell, nullptr, 0, false,
       {kTop, kThickness,
        {"name", "岩性名称", "lithology_name|category|岩性类别", T::kText, kOpt},
        {"color", "颜色", "colour", T::kText, kOpt},
        {"oil", "含油性", "oil_bearing|含油级别", T::kText, kOpt},
        {"inclusion", "含有物", "inclusions", T::kText, kOpt},
        {"prefix", "岩性前缀", "", T::kText, kOpt},
        {"structure", "构造", "", T::kText, kOpt},
        {"lithology", "岩性", "code|lithology_code|岩性代码", T::kText, kOpt}}});
  add({K::kShoot, "perforation", "shoot", "射孔数据", O::kWell, nullptr, 0, false,
       {kTop, kThickness, {"date", "射孔日期", "日期|shoot_date", T::kDate, kOpt},
        {"kind", "射孔类型", "type|类型", T::kText, kOpt}, kStratumName,
        {"density", "孔密", "shot_density", T::kReal, kOpt}}});
  add({K::kTest, "oil_test", "oil_test", "试油数据", O::kWell, nullptr, 0, false,
       {kStratumName,
        {"test_no", "试油层号", "层号|test_number", T::kText, kOpt},
        {"top", "层段顶测深", "top|顶深|top_depth", T::kReal, kReq},
        {"bottom", "层段底测深", "bottom|底深|bottom_depth", T::kReal, kReq},
        {"result", "试油结果", "conclusion", T::kText, kOpt},
        {"contractor", "施工单位", "", T::kText, kOpt},
        {"purpose", "试油目的", "", T::kText, kOpt},
        {"start_date", "开工日期", "", T::kDate, kOpt},
        {"end_date", "完工日期", "", T::kDate, kOpt},
        {"measure", "措施类别", "", T::kText, kOpt},
        {"method", "求产方法", "", T::kText, kOpt},
        {"regime", "工作制度", "", T::kText, kOpt},
        {"tubing_pressure_from", "油压范围开始值", "", T::kReal, kOpt},
        {"tubing_pressure_to", "油压范围结束值", "", T::kReal, kOpt},
        {"casing_pressure_from", "套压范围开始值", "", T::kReal, kOpt},
        {"casing_pressure_to", "套压范围结束值", "", T::kReal, kOpt},
        {"static_pressure", "静压", "", T::kReal, kOpt},
        {"flowing_pressure", "流压", "", T::kReal, kOpt},
        {"static_temperature", "静温", "", T::kReal, kOpt},
        {"flowing_temperature", "流温", "", T::kReal, kOpt},
        {"oil_per_day", "日产油量", "", T::kReal, kOpt},
        {"gas_per_day", "日产气量", "", T::kReal, kOpt},
        {"water_per_day", "日产水量", "", T::kReal, kOpt},
        {"oil_total", "累产油量", "", T::kReal, kOpt},
        {"gas_total", "累产气量", "", T::kReal, kOpt},
        {"water_total", "累产水量", "", T::kReal, kOpt},
        {"test_time", "求产时间", "", T::kReal, kOpt},
        {"test_depth", "求产深度", "", T::kReal, kOpt}}});
  add({K::kCore, "core", "core", "岩心分析数据", O::kWell, nullptr, 0, false,
       {{"sample_no", "样品编号", "sample|编号", T::kText, kOpt},
        {"top", "顶深", "top_depth|样品深度|depth|深度", T::kReal, kReq},
        {"thickness", "厚度", "length|样品长度", T::kReal, kOpt},
        {"porosity", "孔隙度", "por|phi", T::kReal, kOpt},
        {"perm_h", "水平渗透率", "kh|渗透率|permeability", T::kReal, kOpt},
        {"perm_v", "垂直渗透率", "kv", T::kReal, kOpt},
        {"oil_saturation", "含油饱和度", "so", T::kReal, kOpt},
        {"water_saturation", "含水饱和度", "sw", T::kReal, kOpt},
        {"carbonate", "碳酸盐含量", "", T::kReal, kOpt},
        {"grain_density", "颗粒密度", "", T::kReal, kOpt},
        {"shale", "泥质含量", "vsh", T::kReal, kOpt},
        {"description", "岩性描述", "lithology|描述", T::kText, kOpt},
        // The core run the sample was taken from: its cored interval and
        // the sample's distance below the run's top, in centimetres.
        {"run_top", "取芯顶深", "筒顶深|run_top_depth", T::kReal, kOpt},
        {"run_bottom", "取芯底深", "筒底深|run_bottom_depth", T::kReal, kOpt},
        {"distance", "距顶位置", "距顶|距顶距离|distance_from_top", T::kReal, kOpt}}});
  add({K::kPointData, "point", "point_data", "点数据", O::kWell, "tbl", 3, true,
       {kDepth, {"name", "名称", "", T::kText, kOpt}}});
  add({K::kSegmentData, "segment", "segment_data", "段数据", O::kWell, "tbl", 3, true,
       {kTop, kBottom, kStratumName}});
  add({K::kGass, "gas", "gas", "气测数据", O::kWell, nullptr, 0, false,
       {kDepth,
        {"total", "全烃", "tg|total_gas", T::kReal, kOpt},
        {"c1", "甲烷", "", T::kReal, kOpt},
        {"c2", "乙烷", "", T::kReal, kOpt},
        {"c3", "丙烷", "", T::kReal, kOpt},
        {"ic4", "异丁烷", "", T::kReal, kOpt},
        {"nc4", "正丁烷", "", T::kReal, kOpt},
        {"ic5", "异戊烷", "", T::kReal, kOpt},
        {"nc5", "正戊烷", "", T::kReal, kOpt},
        {"co2", "二氧化碳", "", T::kReal, kOpt}}});
  add({K::kSuction, "injection", "suction", "吸水剖面数据", O::kWell, nullptr, 0, false,
       {{"date", "日期", "测试日期", T::kDate, kReq}, kStratumName, kTop, kBottom,
        {"injection", "日注入量", "", T::kReal, kOpt},
        {"injection_percent", "注入百分比", "", T::kReal, kOpt},
        {"injection_pressure", "注入压力", "", T::kReal, kOpt},
        {"intensity", "吸水强度", "", T::kReal, kOpt},
        {"water_percent", "吸水率", "", T::kReal, kOpt}}});
  add({K::kProductFluid, "production", "product_fluid", "产液剖面数据", O::kWell, nullptr, 0,
       false,
       {{"date", "日期", "测试日期", T::kDate, kReq}, kStratumName, kTop, kBottom,
        {"temperature", "温度", "", T::kReal, kOpt},
        {"flowing_pressure", "流压", "", T::kReal, kOpt},
        {"flow", "流量", "", T::kReal, kOpt},
        {"density", "密度", "", T::kReal, kOpt},
        {"fluid_per_day", "日产液量", "", T::kReal, kOpt},
        {"water_cut", "含水", "含水率", T::kReal, kOpt},
        {"gas_per_day", "日产气量", "", T::kReal, kOpt}}});
  add({K::kSideWallCore, "sidewall_core", "sidewall_core", "井壁取芯数据", O::kWell, nullptr, 0,
       false,
       {kDepth,
        {"lithology", "岩性", "", T::kText, kOpt},
        {"oil", "含油级别", "含油性|oil_bearing", T::kText, kOpt},
        {"sample_no", "序号", "no|编号", T::kText, kOpt},
        {"description", "描述", "", T::kText, kOpt}}});
  add({K::kIntegratedCore, "integrated_core", "integrated_core", "取芯综合数据", O::kWell, nullptr,
       0, false,
       {{"run", "筒次", "tube|run_no", T::kInt, kOpt}, kTop, kBottom,
        {"footage", "进尺", "", T::kReal, kOpt},
        {"core_length", "心长", "length|岩心长度", T::kReal, kOpt},
        {"recovery", "收获率", "", T::kReal, kOpt}, kStratumName}});
  add({K::kFaultPoint, "fault_point", "fault_point", "断点数据", O::kWell, nullptr, 0, false,
       {{"depth", "断点测深", "断点深度|深度|md", T::kReal, kReq},
        {"throw", "断距", "gap|fault_throw", T::kReal, kReq},
        {"fault", "断层名", "fault_name|断层", T::kText, kOpt},
        {"missing_stratum", "断失层位", "", T::kText, kOpt}}});
  add({K::kCycle, "cycle", "cycle", "旋回", O::kWell, "span", 3, false,
       {kTop, kThickness, {"symbol", "旋回", "cycle|符号", T::kText, kReq}}});
  add({K::kTexture, "texture", "texture", "层理数据", O::kWell, nullptr, 0, false,
       {kTop, kThickness, {"symbol", "层理", "texture|bedding|符号", T::kText, kReq}}});
  add({K::kDeviation, "deviation", "deviation", "井斜数据", O::kWell, nullptr, 0, false,
       {{"md", "测深", "斜深|井深|depth|深度|measured_depth", T::kReal, kReq},
        {"inclination", "井斜角", "井斜|inc|incl|dev|deviation", T::kReal, kReq},
        {"azimuth", "方位角", "方位|azi|az|azim", T::kReal, kReq}}});

  add({K::kCatStratum, "cat_stratum", "cat_stratum", "地层表", O::kGlobal, nullptr, 0, false,
       {{"level", "级别", "", T::kInt, kReq},
        {"name", "名称", "", T::kText, kReq},
        {"alias", "别名", "", T::kText, kOpt},
        {"parent", "上级", "", T::kText, kOpt},
        {"color", "颜色", "colour", T::kInt, kOpt}}});
  add({K::kCatLith, "cat_lith", "cat_lith", "岩性类型", O::kGlobal, nullptr, 0, false,
       {{"name", "名称", "", T::kText, kReq},
        {"full_name", "全称", "", T::kText, kOpt},
        {"pattern", "花纹", "", T::kInt, kOpt},
        {"size", "尺寸", "", T::kReal, kOpt},
        {"color", "颜色", "colour", T::kInt, kOpt}}});
  add({K::kCatLithColor, "cat_lith_color", "cat_lith_color", "岩性颜色", O::kGlobal, nullptr, 0,
       false,
       {{"name", "名称", "", T::kText, kReq},
        {"full_name", "全称", "", T::kText, kOpt},
        {"value", "颜色值", "colour|color", T::kInt, kOpt}}});
  add({K::kCatOilGrade, "cat_oil_grade", "cat_oil_grade", "含油级别", O::kGlobal, nullptr, 0,
       false,
       {{"name", "名称", "", T::kText, kReq},
        {"full_name", "全称", "", T::kText, kOpt},
        {"symbol", "符号", "", T::kInt, kOpt},
        {"color", "颜色", "colour", T::kInt, kOpt},
        {"size", "大小", "", T::kReal, kOpt}}});
  add({K::kCatFacies, "cat_facies", "cat_facies", "沉积相类型", O::kGlobal, nullptr, 0, false,
       {{"name", "名称", "", T::kText, kReq},
        {"code", "代码", "", T::kText, kOpt},
        {"brush_style", "填充样式", "", T::kInt, kOpt},
        {"color", "颜色", "colour", T::kInt, kOpt}}});
  add({K::kCatSymbol, "cat_symbol", "cat_symbol", "符号", O::kGlobal, "symbol_set", 5, false,
       {{"name", "名称", "", T::kText, kReq},
        {"code", "代码", "", T::kInt, kOpt},
        {"style", "样式", "", T::kInt, kOpt},
        {"color", "颜色", "colour", T::kInt, kOpt},
        {"size", "大小", "", T::kReal, kOpt}}});
  add({K::kCatTableDef, "cat_table_def", "cat_table_def", "表定义", O::kGlobal, nullptr, 0, false,
       {{"table_name", "表名", "", T::kText, kReq},
        {"column_name", "列名", "", T::kText, kReq},
        {"second_name", "第二名称", "", T::kText, kOpt},
        {"type", "类型", "", T::kInt, kOpt},
        {"listed", "列出", "", T::kInt, kOpt}}});
  // One row per template and value: what the value is drawn with. kind is
  // line_style, fill_style, point_style, font, size or color; result a
  // style code, a length in map units, a colour "#RRGGBB" or a font face.
  add({K::kCatStyle, "cat_style", "cat_style", "样式模板", O::kGlobal, nullptr, 0, false,
       {{"template", "模板名", "name|模板", T::kText, kReq},
        {"kind", "类型", "type", T::kText, kReq},
        {"value", "值", "", T::kText, kReq},
        {"result", "结果", "style|样式", T::kText, kReq}}});

  add({K::kScatter, "scatter", "scatter_rows", "离散数据", O::kScatter, nullptr, 0, true,
       {{"name", "名称", "井名|well|point", T::kText, kOpt},
        {"x", "X坐标", "x|东坐标|easting", T::kReal, kOpt},
        {"y", "Y坐标", "y|北坐标|northing", T::kReal, kOpt},
        kDepth,
        {"thickness", "厚度", "thick|h", T::kReal, kOpt}}});
  add({K::kWellHeader, "wells", "wells", "井位数据", O::kNone, nullptr, 0, false,
       {{"name", "井名", "well|well_name|井号", T::kText, kReq},
        {"x", "X坐标", "x|东坐标|easting", T::kReal, kOpt},
        {"y", "Y坐标", "y|北坐标|northing", T::kReal, kOpt},
        {"kb", "补心海拔", "kelly_bushing|elevation|补心高程|ekb", T::kReal, kOpt},
        {"ground", "地面海拔", "gl|ground_elevation", T::kReal, kOpt},
        {"total_depth", "完钻井深", "td", T::kReal, kOpt},
        {"field", "油田", "", T::kText, kOpt},
        {"well_type", "井别", "type", T::kText, kOpt},
        {"uwi", "井标识号", "api|api_number|unique_well_identifier|井编码", T::kText, kOpt},
        {"location", "井位描述", "loc|位置", T::kText, kOpt},
        {"crs", "坐标系", "coordinate_system|hzcs|坐标参考系", T::kText, kOpt}}});
  add({K::kWellLog, "log", "curves", "测井数据", O::kNone, nullptr, 0, false, {}});
  return s;
}

const char* const kLevelNames[] = {"一级", "二级", "三级", "四级", "五级"};
const char* const kCycleNames[] = {"长期旋回", "中期旋回", "短期旋回"};
const char* const kCycleIds[] = {"cycle_long", "cycle_mid", "cycle_short"};
const char* const kSymbolSetNames[] = {"射孔", "旋回", "层理", "含油", "水淹"};

bool IsBlankByte(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n'; }

}  // namespace

const std::vector<TableLayout>& AllTableLayouts() {
  static const std::vector<TableLayout> layouts = BuildLayouts();
  return layouts;
}

const TableLayout& GetTableLayout(TableKind kind) { return AllTableLayouts()[static_cast<int>(kind)]; }

std::string TableName(TableKind kind, int sub) {
  const TableLayout& layout = GetTableLayout(kind);
  if (sub < 1 || sub > layout.sub_count || kind == TableKind::kScatter) return layout.name;
  switch (kind) {
    case TableKind::kStratum:
    case TableKind::kFineStratum:
      return std::string(kLevelNames[sub - 1]) + layout.name;
    case TableKind::kCycle:
      return kCycleNames[sub - 1];
    case TableKind::kCatSymbol:
      return std::string(kSymbolSetNames[sub - 1]) + layout.name;
    default:
      return layout.name + std::to_string(sub);
  }
}

std::string TableId(TableKind kind, int sub) {
  const TableLayout& layout = GetTableLayout(kind);
  if (sub < 1 || sub > layout.sub_count || kind == TableKind::kScatter) return layout.id;
  if (kind == TableKind::kCycle) return kCycleIds[sub - 1];
  return layout.id + std::to_string(sub);
}

bool ParseTableName(std::string_view text, TableKind* kind, int* sub) {
  std::string name = TrimBlanks(text);
  for (const char* prefix : {"分层界限.", "分层数据.", "旋回.", "段数据.", "点数据."}) {
    if (name.rfind(prefix, 0) == 0) name.erase(0, std::string_view(prefix).size());
  }
  for (const TableLayout& layout : AllTableLayouts()) {
    const bool keyed = layout.sub_count > 0 && layout.kind != TableKind::kScatter;
    for (int s = keyed ? 1 : 0; s <= (keyed ? layout.sub_count : 0); ++s) {
      if (EqualsNoCase(name, TableId(layout.kind, s)) || name == TableName(layout.kind, s)) {
        *kind = layout.kind;
        *sub = s;
        return true;
      }
    }
  }
  return false;
}

std::string NormaliseHeader(std::string_view header) {
  std::string out;
  for (char c : header) {
    if (IsBlankByte(c)) continue;
    out.push_back(static_cast<char>(std::tolower(static_cast<unsigned char>(c))));
  }
  // A trailing unit: "顶深[m]", "top(m)", "深度（m）".
  for (const char* open : {"[", "(", "（"}) {
    const std::size_t at = out.rfind(open);
    if (at != std::string::npos && at > 0) {
      const char last = out.back();
      if (last == ']' || last == ')' || (out.size() >= 3 && out.compare(out.size() - 3, 3, "）") == 0))
        out.erase(at);
    }
  }
  // Underscores and hyphens are interchangeable with nothing ("top_depth",
  // "TOP-DEPTH", "topdepth").
  std::string squeezed;
  for (char c : out) {
    if (c != '_' && c != '-') squeezed.push_back(c);
  }
  return squeezed;
}

int FindColumn(const TableLayout& layout, std::string_view header) {
  const std::string key = NormaliseHeader(header);
  if (key.empty()) return -1;
  // Exact names first, so that an alias of one column cannot shadow the
  // proper name of another ("深度" is the core's depth alias but the point
  // table's own name).
  for (int pass = 0; pass < 2; ++pass) {
    for (std::size_t i = 0; i < layout.columns.size(); ++i) {
      const ColumnDef& c = layout.columns[i];
      if (pass == 0) {
        if (key == NormaliseHeader(c.sql) || key == NormaliseHeader(c.name))
          return static_cast<int>(i);
        continue;
      }
      std::string_view aliases = c.aliases;
      while (!aliases.empty()) {
        const std::size_t bar = aliases.find('|');
        if (key == NormaliseHeader(aliases.substr(0, bar))) return static_cast<int>(i);
        if (bar == std::string_view::npos) break;
        aliases.remove_prefix(bar + 1);
      }
    }
  }
  return -1;
}

}  // namespace davodu
