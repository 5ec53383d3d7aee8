#include "davodu/data/data_sources.h"

#include <array>

#include "davodu/host/util/gbk.h"
#include "davodu/host/util/types.h"
#include "davodu/host/util/util.h"

namespace davodu {

namespace {

const char* const kLevels[5] = {"一级", "二级", "三级", "四级", "五级"};
const char* const kSandClasses[4] = {"一类", "二类", "视有效", "纯有效"};

bool ValidLevel(int level) { return level >= 0 && level < 5; }

}  // namespace

SymbolCatalog SymbolCatalogOf(int src) {
  switch (src) {
    case SYMBLE_SHOOT:
    case SYMBLE_SCATT_SHOOT:
    case SYMBLE_SHOOT_MGR:
      return SymbolCatalog::kShoot;
    case SYMBLE_CYCLE_LONG:
    case SYMBLE_CYCLE_SHORT:
    case SYMBLE_CYCLE_MID:
    case SYMBLE_SCATT_CYCLE:
    case SYMBLE_CYCLE_MGR:
      return SymbolCatalog::kCycle;
    case SYMBLE_SCATT_CYCLE2:
    case SYMBLE_TEXTURE:
    case SYMBLE_TEXTURE_MGR:
      return SymbolCatalog::kTexture;
    default:
      return SymbolCatalog::kNone;
  }
}

const std::string& LevelPrefix(int level) {
  static const std::string empty;
  return ValidLevel(level) ? Gbk(kLevels[level]) : empty;
}

std::string StratumTableName(int level) {
  return ValidLevel(level) ? LevelPrefix(level) + Gbk("分层界限数据") : std::string();
}

std::string FineStratumTableName(int level) {
  return ValidLevel(level) ? LevelPrefix(level) + Gbk("分层数据") : std::string();
}

std::string SandTypeName(int t) {
  if (t >= SAND_CLASS1 && t <= SAND_NETVALID) return Gbk(kSandClasses[t - 1]) + Gbk("砂岩数据");
  if (t >= SAND_LEVEL_FIRST && t <= SAND_LEVEL_LAST) {
    const int k = t - SAND_LEVEL_FIRST;
    return LevelPrefix(k / 4) + Gbk("分层") + Gbk(kSandClasses[k % 4]) + Gbk("数据");
  }
  if (t == SAND_INTERLAYER) return Gbk("夹层数据");
  return SegTableNameByID(t);
}

int SandTypeOfName(std::string_view name) {
  if (name.empty()) return -1;
  for (int t = SAND_CLASS1; t <= SAND_SEGMENT3; ++t)
    if (SandTypeName(t) == name) return t;
  return -1;
}

std::string SegTableNameByID(int t) {
  if (t < SAND_SEGMENT1 || t > SAND_SEGMENT3) return std::string();
  return Gbk("段数据") + std::to_string(t - SAND_SEGMENT1 + 1);
}

std::string PointTableName(int src) {
  if (src < CVE_POINT1 || src > CVE_POINT3) return std::string();
  return Gbk("点数据") + std::to_string(src - CVE_POINT1 + 1);
}

int PointTableIndex(std::string_view table_name) {
  if (table_name == Gbk("点数据1")) return 0;
  if (table_name == Gbk("点数据2")) return 1;
  return 2;
}

std::string CycleKindName(int src) {
  switch (src) {
    case SYMBLE_CYCLE_LONG: return Gbk("长期旋回");
    case SYMBLE_CYCLE_SHORT: return Gbk("短期旋回");
    case SYMBLE_CYCLE_MID: return Gbk("中期旋回");
    default: return std::string();
  }
}

std::string StratumDataSetName(int level) {
  return ValidLevel(level) ? Gbk("分层界限.") + StratumTableName(level) : std::string();
}

std::string FineStratumDataSetName(int level) {
  return ValidLevel(level) ? Gbk("分层数据.") + FineStratumTableName(level) : std::string();
}

std::string SandDataSetName(int t) {
  if (t >= SAND_CLASS1 && t <= SAND_NETVALID) return Gbk("砂岩数据");
  if (t >= SAND_LEVEL_FIRST && t <= SAND_LEVEL_LAST)
    return FineStratumDataSetName((t - SAND_LEVEL_FIRST) / 4);
  if (t == SAND_INTERLAYER) return Gbk("夹层数据");
  if (t >= SAND_SEGMENT1 && t <= SAND_SEGMENT3) return Gbk("段数据");
  return std::string();
}

std::string FirstField(std::string_view text, std::string_view separators) {
  const std::size_t end = text.find_first_of(separators);
  return std::string(text.substr(0, end));
}

std::vector<std::string> CommaFields(std::string_view text) {
  std::vector<std::string> fields;
  std::size_t start = 0;
  for (;;) {
    const std::size_t comma = text.find(',', start);
    fields.emplace_back(text.substr(start, comma - start));
    if (comma == std::string_view::npos) break;
    start = comma + 1;
  }
  return fields;
}

std::vector<std::string> ComposedNameFields(std::string_view text) {
  std::vector<std::string> fields;
  const CParseString parsed(text, ",", true);
  for (const std::string& field : parsed.fields()) {
    std::string trimmed = TrimBlanks(field);
    if (!trimmed.empty()) fields.push_back(std::move(trimmed));
  }
  return fields;
}

std::vector<std::string> ComposedNameParts(std::string_view text) {
  std::vector<std::string> fields = CommaFields(text);
  // The composed form starts and ends with a comma.
  if (fields.size() > 1 && TrimBlanks(fields.front()).empty()) fields.erase(fields.begin());
  if (fields.size() > 1 && TrimBlanks(fields.back()).empty()) fields.pop_back();
  for (std::string& f : fields) f = TrimBlanks(f);
  return fields;
}

double DepthConverter::FromMeasured(double md) const {
  if (IsMissing(md) || !mgr_) return kFltMax;
  switch (mode_) {
    case DT_TVD:
      return mgr_->ConvertDepthToZ(well_, md);
    case DT_AD: {
      const double altitude = mgr_->ConvertDepthToAltitude(well_, md);
      return IsMissing(altitude) ? kFltMax : -altitude;
    }
    default:
      return md;
  }
}

double DepthConverter::ToMeasured(double depth) const {
  if (IsMissing(depth) || IsMissing(-depth) || !mgr_) return kFltMax;
  switch (mode_) {
    case DT_TVD:
      return mgr_->ConvertZToDepth(well_, depth, false);
    case DT_AD:
      return mgr_->ConvertAltitudeToDepth(well_, -depth, false);
    default:
      return depth;
  }
}

}  // namespace davodu
