// The symbol interval data objects (ISymbleData), by SYMBLE_SRC: the
// perforation symbols of the chart's well (1, over its perforation table,
// with dates), its long-, short- and mid-term cycles (2, 3, 4), its bedding
// textures (8), scattered perforation (5) and cycle tables (6, 7), the
// object that stands for no data (any other source), and the
// true-vertical-depth and altitude forms.
//
// Each interval carries one symbol text (the cycle, the texture, the
// perforation kind), cut to its field without splitting a character. A new
// interval gets the family's first symbol ("正旋回", "水平层理", "射孔") and
// is inserted at its depth, refused where it would overlap an interval;
// Arrange puts the records of an imported table in depth order.
#ifndef DAVODU_DATA_ADAPTERS_SYMBLE_ADAPTERS_H_
#define DAVODU_DATA_ADAPTERS_SYMBLE_ADAPTERS_H_

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "davodu/data/adapters/interval_columns.h"
#include "davodu/data/adapters/seg_depth_mode_adapter.h"
#include "davodu/data/adapters/shoot_adapters.h"
#include "davodu/data/adapters/stamped_adapter.h"
#include "davodu/data/data_io.h"
#include "davodu/data/data_sources.h"
#include "davodu/store/general_data_manager.h"

namespace davodu {

// What a symbol table is made of: its interval columns, its symbol column,
// the bytes a symbol may have and the symbol of a new interval.
struct SymbleColumns {
  IntervalColumns intervals;
  std::string symbol;
  std::size_t symbol_bytes = 23;
  std::string new_symbol;  // GBK
};

// The symbol intervals of a table; Interface is ISymbleData or
// ISymbleShootData.
template <class Interface>
class SymbleTableAdapter : public StampedAdapter<Interface> {
 public:
  int GetCount() override { return cols_.intervals.Count(Table()); }
  double GetTop(int i) override { return cols_.intervals.Top(Table(), i); }
  double GetBottom(int i) override { return cols_.intervals.Bottom(Table(), i); }
  bool Move(int i, double delta) override { return cols_.intervals.Move(Table(), i, delta); }
  bool SetTop(int i, double d) override { return cols_.intervals.SetTop(Table(), i, d, false); }
  bool SetBottom(int i, double d) override { return cols_.intervals.SetBottom(Table(), i, d, false); }
  std::string GetSymble(int i) override;
  bool SetSymble(int i, const std::string& text) override;
  std::uint64_t GetTimeStamp() override { return this->RefreshStamp(); }
  bool AddSeg(double top, double bottom) override;
  // Removes the first interval whose ends lie within 0.01 of top and bottom.
  bool DeleteSeg(double top, double bottom) override;
  void Arrange() override;

 protected:
  explicit SymbleTableAdapter(SymbleColumns cols) : cols_(std::move(cols)) {}
  virtual CWellTable* Table() = 0;
  std::uint64_t HostTimeStamp() override {
    CWellTable* t = Table();
    return t ? t->GetTimeStamp() : 0;
  }

 private:
  SymbleColumns cols_;
};

// The cycles of one span of a well (SYMBLE_SRC 2, 3, 4).
class AdapterCycle : public SymbleTableAdapter<ISymbleData> {
 public:
  AdapterCycle(CWellDataManager* mgr, std::string well, int source);
  void CheckDataSet() override;

 protected:
  CWellTable* Table() override;

 private:
  CWellDataManager* mgr_;
  std::string well_;
  std::string kind_;  // "长期旋回", "短期旋回", "中期旋回"
  std::shared_ptr<CWellTable> table_;
};

// The bedding textures of a well (SYMBLE_SRC 8).
class AdapterTexture : public SymbleTableAdapter<ISymbleData> {
 public:
  AdapterTexture(CWellDataManager* mgr, std::string well);
  void CheckDataSet() override;

 protected:
  CWellTable* Table() override { return table_.get(); }

 private:
  std::string well_;
  std::shared_ptr<CWellTable> table_;
};

// The perforation symbols of a well (SYMBLE_SRC 1): the symbol is the
// perforation's kind text (7 bytes); only valid dates are listed.
class AdapterShoot : public SymbleTableAdapter<ISymbleShootData> {
 public:
  AdapterShoot(CWellDataManager* mgr, std::string well);
  void CheckDataSet() override;
  const DataDate* GetDate(int i) override { return dates_.At(Table(), i); }
  void GetDates(std::vector<std::string>* dates) override { dates_.Collect(Table(), dates, true); }

 protected:
  CWellTable* Table() override { return table_.get(); }

 private:
  std::string well_;
  std::shared_ptr<CWellTable> table_;
  RecordDates dates_{"date"};
};

// A scattered cycle table (SYMBLE_SRC 6, 7): the name's first field is the
// table, the second its symbol column ("符号" when not given).
class AdapterScattCycle : public SymbleTableAdapter<ISymbleData> {
 public:
  AdapterScattCycle(CWellDataManager* mgr, const std::string& name);
  void CheckDataSet() override;

 protected:
  CWellTable* Table() override;

 private:
  AdapterScattCycle(CWellDataManager* mgr, const std::vector<std::string>& fields);

  CWellDataManager* mgr_;
  std::string table_name_;
  std::shared_ptr<CMutiColPtData> table_;
};

// A scattered perforation table (SYMBLE_SRC 5): the name's first field is
// the table, the second its kind column ("射孔类型"), the third its date
// column ("射孔日期").
class AdapterScattShoot : public SymbleTableAdapter<ISymbleShootData> {
 public:
  AdapterScattShoot(CWellDataManager* mgr, const std::string& name);
  void CheckDataSet() override;
  const DataDate* GetDate(int i) override { return dates_.At(Table(), i); }
  void GetDates(std::vector<std::string>* dates) override { dates_.Collect(Table(), dates, true); }

 protected:
  CWellTable* Table() override;

 private:
  AdapterScattShoot(CWellDataManager* mgr, const std::vector<std::string>& fields);

  CWellDataManager* mgr_;
  std::string table_name_;
  std::shared_ptr<CMutiColPtData> table_;
  RecordDates dates_;
};

// No symbol data.
class AdapterSymbleDefault : public NoDataAdapter<ISymbleData> {
 public:
  int GetCount() override { return -1; }
  double GetTop(int) override { return kFltMax; }
  double GetBottom(int) override { return kFltMax; }
  bool Move(int, double) override { return false; }
  bool SetTop(int, double) override { return false; }
  bool SetBottom(int, double) override { return false; }
  void CheckDataSet() override {}
  std::string GetSymble(int) override { return {}; }
  bool SetSymble(int, const std::string&) override { return false; }
  bool AddSeg(double, double) override { return false; }
  bool DeleteSeg(double, double) override { return false; }
  void Arrange() override {}
};

template <class Interface, class Inner, DepthType Mode>
class SymbleDepthModeAdapter : public SegDepthModeAdapter<Interface, Inner, Mode> {
 public:
  using SegDepthModeAdapter<Interface, Inner, Mode>::SegDepthModeAdapter;
  std::string GetSymble(int i) override { return this->inner_.GetSymble(i); }
  bool SetSymble(int i, const std::string& text) override { return this->inner_.SetSymble(i, text); }
  std::uint64_t GetTimeStamp() override { return this->inner_.GetTimeStamp(); }
  bool AddSeg(double top, double bottom) override {
    const double t = this->ToMeasured(top), b = this->ToMeasured(bottom);
    return !IsMissing(t) && !IsMissing(b) && this->inner_.AddSeg(t, b);
  }
  bool DeleteSeg(double top, double bottom) override {
    const double t = this->ToMeasured(top), b = this->ToMeasured(bottom);
    return !IsMissing(t) && !IsMissing(b) && this->inner_.DeleteSeg(t, b);
  }
  void Arrange() override { this->inner_.Arrange(); }
};

template <class Inner, DepthType Mode>
class ShootSymbleDepthModeAdapter : public SymbleDepthModeAdapter<ISymbleShootData, Inner, Mode> {
 public:
  using SymbleDepthModeAdapter<ISymbleShootData, Inner, Mode>::SymbleDepthModeAdapter;
  const DataDate* GetDate(int i) override { return this->inner_.GetDate(i); }
  void GetDates(std::vector<std::string>* dates) override { this->inner_.GetDates(dates); }
};

using AdapterCycleTVD = SymbleDepthModeAdapter<ISymbleData, AdapterCycle, DT_TVD>;
using AdapterCycleAD = SymbleDepthModeAdapter<ISymbleData, AdapterCycle, DT_AD>;
using AdapterTextureTVD = SymbleDepthModeAdapter<ISymbleData, AdapterTexture, DT_TVD>;
using AdapterTextureAD = SymbleDepthModeAdapter<ISymbleData, AdapterTexture, DT_AD>;
using AdapterShootTVD = ShootSymbleDepthModeAdapter<AdapterShoot, DT_TVD>;
using AdapterShootAD = ShootSymbleDepthModeAdapter<AdapterShoot, DT_AD>;

}  // namespace davodu

#endif  // DAVODU_DATA_ADAPTERS_SYMBLE_ADAPTERS_H_
