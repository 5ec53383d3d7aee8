// The data interfaces through which kits read and edit well data, and the
// catalogue interfaces that give that data its look. The gateway (wd_mgr.h)
// hands out and owns the objects; kits observe them (observer.h).
//
// Every data interface is an Observee. The interval families derive first
// from LogSegDIO, which carries no notification of its own, and second from
// Observee; a kit that holds one of them as Observee reaches the interval
// operations with dynamic_cast.
//
// Conventions shared by all implementations: indices count from 0; a
// missing host table gives a count of -1, the missing depth kFltMax, empty
// texts and false from setters; nothing throws. Depths are in the depth
// reference of the object (data_sources.h). Text is GBK.
#ifndef DAVODU_DATA_DATA_IO_H_
#define DAVODU_DATA_DATA_IO_H_

#include <cstdint>
#include <string>
#include <utility>
#include <vector>

#include "davodu/data/observer.h"
#include "davodu/host/graphics/styles.h"
#include "davodu/host/util/types.h"
#include "davodu/store/zu_variant.h"

namespace davodu {

// ---------------------------------------------------------------- curves

class LogCveDataIO : public Observee {
 public:
  virtual std::string GetName() = 0;
  // Always empty: the host keeps units apart from the samples.
  virtual std::string GetUnit() = 0;
  virtual double GetTopDepth() = 0;
  virtual double GetBottomDepth() = 0;
  // Largest value between two depths of the object's reference.
  virtual double GetMaxValue(double top, double bottom) = 0;
  virtual double GetMaxValue() = 0;
  virtual double GetMinValue(double top, double bottom) = 0;
  virtual double GetMinValue() = 0;
  virtual int GetValueCount() = 0;
  // GetValueCount() samples, or null. Valid until the next call of the same
  // operation on this object or until the host data changes.
  virtual const double* GetDepthBuffer() = 0;
  virtual const double* GetValueBuffer() = 0;
};

// ---------------------------------------------------------------- intervals

class LogSegDIO {
 public:
  virtual ~LogSegDIO() = default;
  virtual int GetCount() = 0;
  virtual double GetTop(int i) = 0;
  virtual double GetBottom(int i) = 0;
  // Shifts both ends of interval i; false when the family refuses.
  virtual bool Move(int i, double delta) = 0;
  virtual bool SetTop(int i, double depth) = 0;
  virtual bool SetBottom(int i, double depth) = 0;
  // Hands the data set to the host's check hook.
  virtual void CheckDataSet() = 0;
};

// Pairs of fault point depths.
using FaultPointPairs = std::vector<std::pair<double, double>>;

class LogStratum2DIO : public LogSegDIO, public Observee {
 public:
  virtual std::string GetName(int i) = 0;
  virtual bool SetName(int i, const std::string& name) = 0;  // reserved: false
  // Time of the last refresh.
  virtual std::uint64_t GetTimeStamp() = 0;
  // Stratification level 0..4; -1 without data.
  virtual int GetLevel() = 0;
  virtual bool GetFaultPoints(FaultPointPairs* points) = 0;
};

class LogSandDIO : public LogSegDIO, public Observee {
 public:
  virtual int GetSandType() = 0;
  virtual std::string GetName(int i) = 0;
};

// The stratification list of a well, for depth-to-stratum lookups.
class LogStratumDIO : public Observee {
 public:
  virtual int GetCount() = 0;
  virtual int FindByDepth(double depth) = 0;
  virtual int FindByName(const std::string& name) = 0;
  virtual std::string GetName(int i) = 0;
  virtual double GetTop(int i) = 0;
  virtual double GetThickness(int i) = 0;
  virtual int GetParentIndex(int i) = 0;
  virtual std::string GetParentName(int i) = 0;
  virtual int GetFirstChildIndex(int i) = 0;
  virtual int GetLastChildIndex(int i) = 0;
};

class LogCorelithDIO : public LogSegDIO, public Observee {
 public:
  virtual std::string GetLithName(int i) = 0;
  // The six attribute texts, in the order 6, 5, 4, 3, 1, 2.
  virtual std::string GetAttr6(int i) = 0;
  virtual std::string GetAttr5(int i) = 0;
  virtual std::string GetAttr4(int i) = 0;
  virtual std::string GetAttr3(int i) = 0;
  virtual std::string GetAttr1(int i) = 0;
  virtual std::string GetAttr2(int i) = 0;
  // Keeps at most 31 characters.
  virtual bool SetLithName(int i, const std::string& text) = 0;
  // Keep at most 15 characters each.
  virtual bool SetAttr6(int i, const std::string& text) = 0;
  virtual bool SetAttr5(int i, const std::string& text) = 0;
  virtual bool SetAttr4(int i, const std::string& text) = 0;
  virtual bool SetAttr3(int i, const std::string& text) = 0;
  virtual bool SetAttr1(int i, const std::string& text) = 0;
  virtual bool SetAttr2(int i, const std::string& text) = 0;
  virtual std::uint64_t GetTimeStamp() = 0;
  virtual bool AddSeg(double top, double bottom) = 0;
  virtual bool DeleteSeg(double top, double bottom) = 0;
};

// A calendar date of a record; all zero for "no date". Parts that are not
// known are -1.
struct DataDate {
  int year = 0;
  int month = 0;
  int day = 0;
  friend bool operator==(const DataDate&, const DataDate&) = default;
};

class LogShootDIO : public LogSegDIO, public Observee {
 public:
  // 1, 2 or 3.
  virtual int GetKind(int i) = 0;
  virtual bool SetKind(int i, int kind) = 0;
  virtual std::uint64_t GetTimeStamp() = 0;
  virtual const DataDate* GetDate(int i) = 0;
  // Appends each distinct date as "YYYY-MM-DD".
  virtual void GetDates(std::vector<std::string>* dates) = 0;
};

class LogLthSampleDIO : public LogSegDIO, public Observee {
 public:
  virtual double GetValue1(int i) = 0;
  virtual double GetValue2(int i) = 0;
  virtual std::uint64_t GetTimeStamp() = 0;
};

class ISymbleData : public LogSegDIO, public Observee {
 public:
  virtual std::string GetSymble(int i) = 0;
  virtual bool SetSymble(int i, const std::string& text) = 0;
  virtual std::uint64_t GetTimeStamp() = 0;
  virtual bool AddSeg(double top, double bottom) = 0;
  virtual bool DeleteSeg(double top, double bottom) = 0;
  // Forwards to the host table's own arrangement of its records.
  virtual void Arrange() = 0;
};

class ISymbleShootData : public ISymbleData {
 public:
  virtual const DataDate* GetDate(int i) = 0;
  virtual void GetDates(std::vector<std::string>* dates) = 0;
};

class LogFaciesDIO : public Observee {
 public:
  virtual int GetCount() = 0;
  virtual double GetTop(int i) = 0;
  virtual double GetBottom(int i) = 0;
  virtual std::string GetFaciesName(int i) = 0;
  virtual bool SetFaciesName(int i, const std::string& name) = 0;
  virtual std::uint64_t GetTimeStamp() = 0;
  virtual void CheckDataSet() = 0;
  // The FACIESSOURCE value.
  virtual int GetSource() = 0;
};

// ---------------------------------------------------------------- tables

class CDIOilTest : public Observee {
 public:
  virtual int GetCount() = 0;
  virtual int GetFieldCount() = 0;
  virtual const std::vector<std::string>* GetFieldNames() = 0;
  virtual const std::vector<std::string>* GetSecondNames() = 0;
  virtual double GetTop(int i) = 0;
  virtual double GetBottom(int i) = 0;
  virtual bool GetValue(int i, const std::string& field, CZuVariant* value) = 0;
  virtual bool SetValue(int i, const std::string& field, const CZuVariant* value) = 0;
  // 1 when there is a host table.
  virtual int HasData() = 0;
  virtual int CheckDataSet() = 0;
};

class LogWaterDataIO : public Observee {
 public:
  // Appends each distinct valid date as "YYYY-MM-DD".
  virtual void GetDates(std::vector<std::string>* dates) = 0;
  virtual std::string GetFieldName(int column) = 0;
  virtual void GetMinMax(const std::string& field, double* min, double* max) = 0;
  virtual void SelectDates(const DataDate& start, const DataDate& end) = 0;
  // Records in the selected range; -1 when nothing was selected.
  virtual int GetSelectedCount() = 0;
  // Record j of the selection: its depths and its date.
  virtual DataDate GetSelected(int j, double* top, double* bottom) = 0;
  virtual int GetFieldCount() = 0;
  virtual double GetSelectedValue(int j, const std::string& field) = 0;
};

class LogParaDIO : public Observee {
 public:
  virtual int GetCount() = 0;
  virtual double GetTop(int i) = 0;
  virtual double GetBottom(int i) = 0;
  virtual std::string GetValue(int i) = 0;
  virtual bool SetValue(int i, const std::string& value) = 0;
  virtual std::uint64_t GetTimeStamp() = 0;
  virtual void CheckDataSet() = 0;
};

// The sidewall cores of a well, one sample per record at its depth, in
// depth order: text 1 is the sample's lithology, text 2 its oil-bearing
// grade. SetDepth keeps the order (a sample may not pass its neighbours).
class LogSidewallCoreIO : public Observee {
 public:
  virtual int GetCount() = 0;
  virtual double GetDepth(int i) = 0;
  virtual std::string GetText2(int i) = 0;
  virtual std::string GetText1(int i) = 0;
  virtual bool SetDepth(int i, double depth) = 0;
  virtual bool SetText2(int i, const std::string& text) = 0;
  virtual bool SetText1(int i, const std::string& text) = 0;
  virtual bool Insert(int pos, double depth) = 0;
  virtual void Arrange() = 0;
};

class LogFaultPointIO : public Observee {
 public:
  virtual double GetDepth1(int i) = 0;
  virtual double GetDepth2(int i) = 0;
  virtual int GetCount() = 0;
};

// The core runs of a well: each run's cored interval (top and bottom,
// the footage being their difference unless the table gives it), its run
// number and the length of core recovered. Moves and boundary edits keep
// the runs in depth order and never overlapping; a move keeps the footage,
// a new top or bottom gives it the new interval's length.
class LogIntegratedCoreIO : public LogSegDIO, public Observee {
 public:
  // The run number; -1 when the table has none.
  virtual int GetRun(int i) = 0;
  // Metres; kFltMax when missing.
  virtual double GetFootage(int i) = 0;
  virtual double GetCoreLength(int i) = 0;
  // Percent: the table's value, else core length / footage; kFltMax when
  // neither can be had.
  virtual double GetRecovery(int i) = 0;
  virtual std::uint64_t GetTimeStamp() = 0;
};

// A table of sand layers: one row per layer between its top and bottom,
// with named fields (the column names of the host table, GBK). A field the
// table lacks reads as a missing value and an empty text. A layer may span
// several host records (the records below its first that start no layer of
// their own hold further sands of it): its thickness fields (names ending
// in "厚度") are their sum, every other field is its first record's.
//
// Boundary edits keep the layers in depth order and never overlapping, and
// never cut into the sands a layer holds; the values of the fields stay as
// stored (they are not recomputed from a new interval).
class LogSandStratum2DIO : public Observee {
 public:
  virtual int GetCount() = 0;
  virtual double GetTop(int i) = 0;
  virtual double GetBottom(int i) = 0;
  // Every field of the table, in table order.
  virtual std::vector<std::string> GetFieldNames() = 0;
  // A field as a number (kFltMax when missing or not a number) and as text.
  virtual double GetValue(int i, const std::string& field) = 0;
  virtual std::string GetText(int i, const std::string& field) = 0;
  virtual std::uint64_t GetTimeStamp() = 0;
  virtual void CheckDataSet() = 0;
  // Shifts both ends of layer i; sets one of its boundaries. False, nothing
  // written, when the rows refuse (a neighbour reached, a sand cut).
  virtual bool Move(int i, double delta) = 0;
  virtual bool SetTop(int i, double depth) = 0;
  virtual bool SetBottom(int i, double depth) = 0;
};

// ---------------------------------------------------------------- catalogues

// The curves of the chart's well.
class LogCveMgrIO {
 public:
  virtual ~LogCveMgrIO() = default;
  virtual int GetCount() = 0;
  virtual std::string GetName(int i) = 0;
};

// Stratum names with their fill colours.
class LogStratumMgrIO {
 public:
  virtual ~LogStratumMgrIO() = default;
  virtual bool Reserved(const std::string& name) = 0;  // false
  // False and white for a name not in the table.
  virtual bool GetColor(const std::string& name, COLORREF* color) = 0;
  virtual int GetCount() = 0;
  virtual std::string GetName(int i) = 0;
  virtual std::uint64_t GetTimeStamp() = 0;
};

class LogFaciesTypeMgrIO {
 public:
  virtual ~LogFaciesTypeMgrIO() = default;
  virtual int GetCount() = 0;
  virtual ZULOGBRUSH GetBrush(int i) = 0;
  virtual COLORREF GetColor(int i) = 0;
  virtual int GetBrushStyle(int i) = 0;  // 1001 out of range
  virtual std::string GetName(int i) = 0;
  virtual std::string GetCode(int i) = 0;
  virtual int FindByName(const std::string& name) = 0;
  virtual int FindByCode(const std::string& code) = 0;
  virtual int FindByColor(COLORREF color) = 0;
  virtual std::uint64_t GetTimeStamp() = 0;
};

// A lithology fill pattern: its code and its scale (1 is natural size).
struct LithPatternInfo {
  unsigned code = 0;
  double scale = 1.0;
};

class LogCorelithMgrIO {
 public:
  virtual ~LogCorelithMgrIO() = default;
  virtual int GetLithCount() = 0;
  virtual int GetColorCount() = 0;
  virtual int GetOilCount() = 0;
  virtual bool GetLithPattern(const std::string& name, LithPatternInfo* pattern) = 0;
  virtual bool GetColorValue(const std::string& name, COLORREF* color) = 0;
  virtual bool GetOilSymbol(const std::string& name, int* symbol) = 0;
  virtual const COLORREF* GetColorValue(int i) = 0;
  virtual bool Reserved8(const std::string& text) = 0;
  virtual std::string GetColorName(int i) = 0;
  virtual std::string GetColorFullName(int i) = 0;
  virtual const ZULOGPOINT* GetOilPoint(int i) = 0;
  virtual bool Reserved12(const std::string& text) = 0;
  virtual std::string GetOilName(int i) = 0;
  virtual std::string GetOilFullName(int i) = 0;
  virtual LithPatternInfo GetLithPattern(int i) = 0;
  virtual bool Reserved16(const std::string& text) = 0;
  virtual std::string GetLithName(int i) = 0;
  virtual std::string GetLithFullName(int i) = 0;
  virtual bool Reserved19(const std::string& text) = 0;
  virtual bool Reserved20() = 0;
  virtual bool Reserved21(const std::string& text) = 0;
  virtual bool Reserved22() = 0;
  virtual bool Reserved23(const std::string& text) = 0;
  virtual bool Reserved24() = 0;
  virtual bool Reserved25(const std::string& text) = 0;
  virtual bool Reserved26(const std::string& text) = 0;
  virtual bool Reserved27(const std::string& text) = 0;
  virtual std::uint64_t GetTimeStamp() = 0;
  // The colour the lithology catalogue gives a lithology name; false (and
  // white) for a name it does not know.
  virtual bool GetLithColor(const std::string& name, COLORREF* color) = 0;
};

// Two opaque perforation drawing settings kept in the module.
class LogShootMgrIO {
 public:
  virtual ~LogShootMgrIO() = default;
  virtual const std::uint32_t* GetSetting1() = 0;
  virtual const std::uint32_t* GetSetting2() = 0;
  virtual bool SetSetting1(std::uint32_t value) = 0;
  virtual bool SetSetting2(std::uint32_t value) = 0;
  virtual std::uint64_t GetTimeStamp() = 0;
};

class LogLthSmapleMgrIO {
 public:
  virtual ~LogLthSmapleMgrIO() = default;
  virtual std::uint64_t GetTimeStamp() = 0;
};

// A symbol set (perforation, cycle or texture symbols).
class ISymbleMgr {
 public:
  virtual int GetCount() = 0;
  // The point style of symbol i (symbol_glyphs.h); the default point
  // style outside the catalogue.
  virtual int GetSymbol(int i) = 0;
  // The colour of symbol i; black outside the catalogue.
  virtual COLORREF GetColor(int i) = 0;
  virtual std::string GetName(int i) = 0;
  virtual int Find(const std::string& name) = 0;
  virtual std::uint64_t GetTimeStamp() = 0;

 protected:
  ~ISymbleMgr() = default;
};

// The tables and fields the parameter kits may show. Sources: 0 the chart's
// well, 1 scattered tables.
class LogParaDMgrIO {
 public:
  virtual int GetSourceCount() = 0;
  virtual std::string GetSourceName(int source) = 0;
  virtual int GetTableCount(const std::string& source) = 0;
  virtual int GetTableCount(int source) = 0;
  virtual std::string GetTableName(const std::string& source, int table) = 0;
  virtual std::string GetTableName(int source, int table) = 0;
  virtual int GetFieldCount(const std::string& source, const std::string& table) = 0;
  virtual int GetFieldCount(int source, int table) = 0;
  virtual std::string GetFieldName(const std::string& source, const std::string& table,
                                   int field) = 0;
  virtual std::string GetFieldName(int source, int table, int field) = 0;
  virtual std::uint64_t GetTimeStamp() = 0;

 protected:
  ~LogParaDMgrIO() = default;
};

}  // namespace davodu

#endif  // DAVODU_DATA_DATA_IO_H_
