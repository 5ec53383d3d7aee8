// The catalogues of the well database, shared by all wells: stratum names
// (with colours, aliases and parents per level), lithology types with their
// colours and oil-bearing grades, facies types, symbol sets and table
// definitions. Each is a thin view over catalogue tables (well_table.h), so
// it reads the current content on every call and reports the tables' time
// stamp. Indices count from 0; lookups outside a catalogue give -1, empty
// texts or white (0xFFFFFF). Text is GBK.
#ifndef DAVODU_STORE_WELL_CATALOGS_H_
#define DAVODU_STORE_WELL_CATALOGS_H_

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "davodu/host/util/types.h"
#include "davodu/store/well_table.h"

namespace davodu {

class CStratumManager {
 public:
  explicit CStratumManager(std::weak_ptr<WellDb> db);
  // Levels count from 0 (the first level) to 4.
  int GetCount(int level) const;
  std::string GetName(int level, int i) const;
  int Find(int level, std::string_view name) const;
  // The colour of a name; level -1 searches all levels. False and white
  // when the name is not in the catalogue.
  bool GetColor(int level, std::string_view name, COLORREF* color) const;
  std::string GetAlias(int level, std::string_view name) const;
  // The name of the enclosing stratum of the level above ("" when none).
  std::string GetParent(int level, std::string_view name) const;
  std::uint64_t GetTimeStamp() const { return table_.GetTimeStamp(); }
  CWellTable& table() { return table_; }

 private:
  // Catalogue rows of a level, in order.
  std::vector<int> Rows(int level) const;
  int Row(int level, std::string_view name) const;
  mutable CWellTable table_;
};

struct LithPattern {
  unsigned code = 0;
  double size = 30;  // the pattern's size; 30 is the natural scale
};

class CLithTypeManager {
 public:
  explicit CLithTypeManager(std::weak_ptr<WellDb> db);
  int GetLithCount() const;
  std::string GetLithName(int i) const;
  std::string GetLithFullName(int i) const;
  int FindLith(std::string_view name) const;
  LithPattern GetLithPattern(int i) const;
  COLORREF GetLithColor(int i) const;

  int GetColorCount() const;
  std::string GetColorName(int i) const;
  std::string GetColorFullName(int i) const;
  COLORREF GetColorValue(int i) const;
  int FindColor(std::string_view name) const;

  int GetOilCount() const;
  std::string GetOilName(int i) const;
  std::string GetOilFullName(int i) const;
  int GetOilSymbol(int i) const;
  COLORREF GetOilColor(int i) const;
  int FindOil(std::string_view name) const;

  // The newest stamp of the three tables.
  std::uint64_t GetTimeStamp() const;

 private:
  mutable CWellTable lith_;
  mutable CWellTable colors_;
  mutable CWellTable oils_;
};

class CFaciesTypeManager {
 public:
  explicit CFaciesTypeManager(std::weak_ptr<WellDb> db);
  int GetCount() const;
  std::string GetName(int i) const;
  std::string GetCode(int i) const;
  int GetBrushStyle(int i) const;  // 1001 out of range
  COLORREF GetColor(int i) const;
  int FindFaciesTypeByName(std::string_view name) const;
  int FindFaciesTypeByCode(std::string_view code) const;
  std::uint64_t GetTimeStamp() const { return table_.GetTimeStamp(); }

 private:
  mutable CWellTable table_;
};

// One symbol set (perforation, cycle, texture, oil, water flooding).
class CSymbolManager {
 public:
  CSymbolManager(std::weak_ptr<WellDb> db, SymbolSet set);
  int GetCount() const;
  std::string GetName(int i) const;
  int GetCode(int i) const;  // -1 out of range
  int GetStyle(int i) const;
  COLORREF GetColor(int i) const;
  double GetSize(int i) const;
  // Index of a name, -1 when none.
  int FindData(std::string_view name) const;
  // Index of the symbol whose code, written in decimal, is the text; -1 when none.
  int FindCode(std::string_view code) const;
  std::uint64_t GetTimeStamp() const { return table_.GetTimeStamp(); }

 private:
  mutable CWellTable table_;
};

struct ColumnDefinition {
  std::string name;         // GBK
  std::string second_name;  // English name
  int type = 2;             // 1 number, 2 text, 3 date
  bool listed = true;       // offered in column lists
};

struct TableDefinition {
  std::string name;  // GBK
  std::vector<ColumnDefinition> columns;
};

class CTableDefinitionManager {
 public:
  explicit CTableDefinitionManager(std::weak_ptr<WellDb> db);
  // False when there is no definition of that name.
  bool GetTableDefinition(std::string_view name, TableDefinition* out) const;
  std::vector<std::string> GetTableNames() const;
  std::uint64_t GetTimeStamp() const { return table_.GetTimeStamp(); }

 private:
  mutable CWellTable table_;
};

}  // namespace davodu

#endif  // DAVODU_STORE_WELL_CATALOGS_H_
