// CGeneralDataManager: the scattered multi-column point tables, kept in the
// same database as the wells.
//
// A scattered table has a name (unique, letter case ignored) and records of
// a point name, x, y, depth and thickness plus values under the table's own
// column names ("value names"). A table that carries thicknesses is segment
// data: each record is an interval from its depth down by its thickness.
// Tables are reached by name through GetColPtDataManager(); the table
// objects are handles that resolve on use like the well tables
// (well_table.h): after the table was replaced they show the new records,
// after it was removed they report count -1. Text is GBK.
#ifndef DAVODU_STORE_GENERAL_DATA_MANAGER_H_
#define DAVODU_STORE_GENERAL_DATA_MANAGER_H_

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "davodu/store/well_table.h"

namespace davodu {

class CWellDataManager;

class CMutiColPtData {
 public:
  CMutiColPtData(std::weak_ptr<WellDb> db, const ScatterInfo& info)
      : db_(db), table_(std::move(db), {TableKind::kScatter, info.id, 0}), info_(info) {}

  const std::string& GetName() const { return info_.name; }
  // Whether the table carries thicknesses (false when it is gone).
  bool IsSegmentData() const;
  // Record count; -1 when the table is gone.
  int GetCount() const { return table_.GetCount(); }
  std::string GetPointName(int i) const { return table_.GetString(i, "name"); }
  double GetX(int i) const { return table_.GetDouble(i, "x"); }
  double GetY(int i) const { return table_.GetDouble(i, "y"); }
  // kFltMax when missing.
  double GetDepth(int i) const { return table_.GetDouble(i, "depth"); }
  double GetThickness(int i) const { return table_.GetDouble(i, "thickness"); }

  // The table's own columns.
  std::vector<std::string> GetValNames() const;
  // Index of a value name, -1 when none.
  int GetValIndex(std::string_view name) const;
  // A value by record and value index (null out of range).
  CZuVariant GetProVal(int record, int column) const;
  // A value by record and value name, as a number (kFltMax when missing).
  double GetValue(int record, std::string_view name) const;

  bool SetDepth(int i, double depth) { return table_.SetValue(i, "depth", depth); }
  bool SetThickness(int i, double thickness) { return table_.SetValue(i, "thickness", thickness); }
  bool SetProVal(int record, int column, const CZuVariant& value);
  // Sets a value by name; a new name adds a column.
  bool SetValue(int record, std::string_view name, const CZuVariant& value) {
    return table_.SetValue(record, name, value);
  }
  int AddRecord(const RecordValues& values) { return table_.AddRecord(values); }
  bool DeleteRecord(int i) { return table_.DeleteRecord(i); }

  std::uint64_t GetTimeStamp() const { return table_.GetTimeStamp(); }
  CWellTable& table() { return table_; }

 private:
  std::weak_ptr<WellDb> db_;
  mutable CWellTable table_;
  ScatterInfo info_;
};

class CColPtDataManager {
 public:
  explicit CColPtDataManager(CWellDataManager* wells) : wells_(wells) {}

  int GetCount() const;
  std::string GetName(int i) const;
  bool IsExist(std::string_view name) const { return GetData(name) != nullptr; }
  // The table of that name; null when there is none.
  std::shared_ptr<CMutiColPtData> GetData(std::string_view name) const;
  // Creates an empty table (false when the name is in use or empty).
  bool CreateData(std::string_view name, bool is_segment, const std::vector<std::string>& value_names);
  bool RemoveData(std::string_view name);

 private:
  std::vector<ScatterInfo> Tables() const;
  CWellDataManager* wells_;
};

class CGeneralDataManager {
 public:
  // The manager over CWellDataManager::Instance()'s database.
  static CGeneralDataManager* Instance();
  explicit CGeneralDataManager(CWellDataManager* wells) : col_pt_(wells) {}
  CColPtDataManager* GetColPtDataManager() { return &col_pt_; }

 private:
  CColPtDataManager col_pt_;
};

}  // namespace davodu

#endif  // DAVODU_STORE_GENERAL_DATA_MANAGER_H_
