// How kits name the well data they show: the depth reference of a chart,
// the source kinds of every data family, the host table names behind them
// and the depth conversions between the three depth references.
//
// Sources are plain 32-bit ints with named values, because kits store them
// in chart documents and a value read back from an old document may lie
// outside the names below; such values simply yield no data.
#ifndef DAVODU_DATA_DATA_SOURCES_H_
#define DAVODU_DATA_DATA_SOURCES_H_

#include <string>
#include <string_view>
#include <vector>

#include "davodu/store/well_data_manager.h"

namespace davodu {

// Depth reference of a chart. Depths grow downwards in all three.
enum DepthType : int {
  DT_MD = 0,   // measured (along-hole) depth, the host's own
  DT_TVD = 1,  // true vertical depth
  DT_AD = 2,   // altitude depth: the altitude with its sign changed
};

// Curves (GetLogCve).
enum CVESOURCE : int {
  CVE_WELLLOG = 1,  // log curve of the chart's well
  CVE_SCATT = 2,    // column of a scattered table; the second name is the table
  CVE_CORE = 3,     // core analysis value
  CVE_POINT1 = 4,   // point data tables 1 to 3
  CVE_POINT2 = 5,
  CVE_POINT3 = 6,
  CVE_GASS = 7,     // gas logging
};

// Sand and segment intervals (GetSand). 5..24 are the sand bodies of a
// stratification level and class: 5 + 4 * (level - 1) + class.
enum SANDTYPE : int {
  SAND_NONE = 0,
  SAND_CLASS1 = 1,
  SAND_CLASS2 = 2,
  SAND_VALID = 3,
  SAND_NETVALID = 4,
  SAND_LEVEL_FIRST = 5,
  SAND_LEVEL_LAST = 24,
  SAND_INTERLAYER = 25,
  SAND_SEGMENT1 = 26,
  SAND_SEGMENT2 = 27,
  SAND_SEGMENT3 = 28,
  SAND_SCATT = 29,
};

// Stratification (GetStratum, GetStratum2): levels 0..4 are the first to
// the fifth level.
enum STRATUMTYPE : int {
  STRATUM_NONE = -1,
  STRATUM_LEVEL1 = 0,
  STRATUM_LEVEL2 = 1,
  STRATUM_LEVEL3 = 2,
  STRATUM_LEVEL4 = 3,
  STRATUM_LEVEL5 = 4,
  STRATUM_SCATT = 5,
};

// Facies: 1..5 from the stratification boundaries of levels 1..5, 6..9
// from the stratification data of levels 1..4.
enum FACIESSOURCE : int {
  FACIES_NONE = 0,
  FACIES_STRATUM_FIRST = 1,
  FACIES_STRATUM_LAST = 5,
  FACIES_FINE_FIRST = 6,
  FACIES_FINE_LAST = 9,
  FACIES_SCATT = 11,
};

enum CORELITHSOURCE : int { CORELITH_NONE = 0, CORELITH_WELL = 1, CORELITH_SCATT = 2 };
enum TESTOILSOURCE : int { TESTOIL_WELL = 1, TESTOIL_SCATT = 2 };
// Any value but SHOOT_SCATT reads the chart's well.
enum SHOOTSOURCE : int { SHOOT_WELL = 1, SHOOT_SCATT = 2 };
enum LSMAPLESOURCE : int { LSMAPLE_CORE = 1, LSMAPLE_SCATT = 2 };
// 0 and 1 read the chart's well; a flag chooses production or injection.
enum WATERSOURCE : int { WATER_WELL0 = 0, WATER_WELL = 1, WATER_SCATT = 2 };

enum SYMBLE_SRC : int {
  SYMBLE_SHOOT = 1,
  SYMBLE_CYCLE_LONG = 2,
  SYMBLE_CYCLE_SHORT = 3,
  SYMBLE_CYCLE_MID = 4,
  SYMBLE_SCATT_SHOOT = 5,
  SYMBLE_SCATT_CYCLE = 6,
  SYMBLE_SCATT_CYCLE2 = 7,
  SYMBLE_TEXTURE = 8,
  // Catalogue selectors without data of their own.
  SYMBLE_CYCLE_MGR = -1,
  SYMBLE_SHOOT_MGR = -2,
  SYMBLE_TEXTURE_MGR = -3,
};

enum FaultPointSOURCE : int { FAULTPOINT_WELL = 1 };

enum DATATYPE : int { DATA_WELL = 1, DATA_SCATT = 2 };

// The symbol catalogue a symbol source draws with.
enum class SymbolCatalog { kNone, kShoot, kCycle, kTexture };
SymbolCatalog SymbolCatalogOf(int symble_src);

// --- names (GBK)

// "一级" .. "五级" for levels 0..4; "" otherwise.
const std::string& LevelPrefix(int level);
// The host's stratification boundary table of a level: "一级分层界限数据".
std::string StratumTableName(int level);
// The host's stratification data table of a level: "一级分层数据".
std::string FineStratumTableName(int level);
// The name of a sand type: "一类砂岩数据", "三级分层二类数据", "夹层数据",
// "段数据1"; "" for types without a name.
std::string SandTypeName(int sand_type);
// The sand type of such a name; -1 for other names.
int SandTypeOfName(std::string_view name);
// "段数据1".."段数据3" for SAND_SEGMENT1..3, "" otherwise.
std::string SegTableNameByID(int sand_type);
// "点数据1".."点数据3" for CVE_POINT1..3, "" otherwise.
std::string PointTableName(int cve_source);
// Host table index of a point data table name: 0 for "点数据1", 1 for
// "点数据2", 2 for any other name.
int PointTableIndex(std::string_view table_name);
// The host cycle table of a cycle source: "长期旋回", "短期旋回", "中期旋回".
std::string CycleKindName(int symble_src);

// The data set a check hook is asked about for the data of a source:
// "分层界限.一级分层界限数据", "分层数据.三级分层数据", "砂岩数据", ...
std::string StratumDataSetName(int level);
std::string FineStratumDataSetName(int level);
std::string SandDataSetName(int sand_type);

// The scattered table candidate of a request: the text before the first of
// the separators (" \t" for table names, "," for composed names).
std::string FirstField(std::string_view text, std::string_view separators);
// All fields of a composed name split at commas (empty fields kept).
std::vector<std::string> CommaFields(std::string_view text);
// The fields of a composed data name such as a kit's ",table,field,": split
// at commas, blanks trimmed, empty fields dropped (",T,F," has the two
// fields T and F; ", , ," has none).
std::vector<std::string> ComposedNameFields(std::string_view text);
// The same fields in place: blanks trimmed, an empty field kept where it
// stands (only the commas that open and close the name are dropped), so
// ",T, ,F," has the three fields T, "" and F. For names whose fields mean
// what their place says (the columns of a lithology or symbol table).
std::vector<std::string> ComposedNameParts(std::string_view text);

// --- depth conversions through the host well-data manager

// Converts between measured depth and the depth of a reference for one
// well: the one conversion rule of the module, used by the depth-mode data
// objects and the depth scale alike. A missing depth stays kFltMax in every
// reference and in either direction (an altitude-mode kFltMax is not
// negated, so every reader still recognises it as missing; -kFltMax is
// accepted as missing on the way back). So does any depth of a well the
// manager does not know, or of a converter without a manager.
class DepthConverter {
 public:
  DepthConverter(CWellDataManager* mgr, std::string well, int mode)
      : mgr_(mgr), well_(std::move(well)), mode_(mode) {}

  int GetMode() const { return mode_; }
  const std::string& GetWell() const { return well_; }
  CWellDataManager* GetManager() const { return mgr_; }

  double FromMeasured(double md) const;
  double ToMeasured(double depth) const;

 private:
  CWellDataManager* mgr_;
  std::string well_;
  int mode_;
};

}  // namespace davodu

#endif  // DAVODU_DATA_DATA_SOURCES_H_
