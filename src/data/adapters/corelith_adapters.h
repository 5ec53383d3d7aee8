// The lithology data objects (LogCorelithDIO), by CORELITHSOURCE: the
// lithology table of the chart's well ("岩性数据") or one of its segment
// tables (1), a scattered table (2), the object that stands for no data
// (0), and the true-vertical-depth and altitude forms.
//
// A lithology interval carries a name and six attribute texts. In the
// well's lithology table they are the columns 岩性名称 (the name, the
// interval's category), 颜色 (attribute 1, the colour name), 含油性
// (2, the oil-bearing grade), 含有物 (3, inclusions), 岩性前缀 (4, prefix),
// 构造 (5, structure) and 岩性 (6, the lithology, which names the pattern).
// Segment and scattered tables name four of them by their columns, as the
// data name ",table,name column,colour column,oil column,lithology column,"
// says; the attributes 3 to 5 read as empty there.
//
// Edits keep the table a column of intervals in depth order that do not
// overlap: moves and new ends obey the neighbour rule, a new interval is
// inserted at its depth and refused where it would overlap, and every edit
// is one transaction. Texts are cut to their fields (31 bytes for the
// name, 15 for an attribute) without splitting a character.
#ifndef DAVODU_DATA_ADAPTERS_CORELITH_ADAPTERS_H_
#define DAVODU_DATA_ADAPTERS_CORELITH_ADAPTERS_H_

#include <array>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "davodu/data/adapters/interval_columns.h"
#include "davodu/data/adapters/seg_depth_mode_adapter.h"
#include "davodu/data/adapters/stamped_adapter.h"
#include "davodu/data/data_io.h"
#include "davodu/data/data_sources.h"
#include "davodu/store/general_data_manager.h"

namespace davodu {

// Whether a data name of CORELITHSOURCE 1 names a segment table of the
// well (more than four fields, the first "段数据.段数据1" .. 3); its index
// 0..2 in *index.
bool IsLithologySegmentName(std::string_view name, int* index);

// The texts of an interval, in LogCorelithDIO's order of attributes.
enum CorelithText { kLithName, kLithAttr1, kLithAttr2, kLithAttr3, kLithAttr4, kLithAttr5, kLithAttr6 };

// The lithology intervals of a table: its interval columns and the columns
// of the seven texts (empty: the text reads as empty and is not set).
class CorelithTableAdapter : public StampedAdapter<LogCorelithDIO> {
 public:
  int GetCount() override { return columns_.Count(Table()); }
  double GetTop(int i) override { return columns_.Top(Table(), i); }
  double GetBottom(int i) override { return columns_.Bottom(Table(), i); }
  bool Move(int i, double delta) override { return columns_.Move(Table(), i, delta); }
  bool SetTop(int i, double depth) override { return columns_.SetTop(Table(), i, depth, false); }
  bool SetBottom(int i, double depth) override { return columns_.SetBottom(Table(), i, depth, false); }

  std::string GetLithName(int i) override { return Text(i, kLithName); }
  std::string GetAttr6(int i) override { return Text(i, kLithAttr6); }
  std::string GetAttr5(int i) override { return Text(i, kLithAttr5); }
  std::string GetAttr4(int i) override { return Text(i, kLithAttr4); }
  std::string GetAttr3(int i) override { return Text(i, kLithAttr3); }
  std::string GetAttr1(int i) override { return Text(i, kLithAttr1); }
  std::string GetAttr2(int i) override { return Text(i, kLithAttr2); }
  bool SetLithName(int i, const std::string& text) override { return SetText(i, kLithName, text); }
  bool SetAttr6(int i, const std::string& text) override { return SetText(i, kLithAttr6, text); }
  bool SetAttr5(int i, const std::string& text) override { return SetText(i, kLithAttr5, text); }
  bool SetAttr4(int i, const std::string& text) override { return SetText(i, kLithAttr4, text); }
  bool SetAttr3(int i, const std::string& text) override { return SetText(i, kLithAttr3, text); }
  bool SetAttr1(int i, const std::string& text) override { return SetText(i, kLithAttr1, text); }
  bool SetAttr2(int i, const std::string& text) override { return SetText(i, kLithAttr2, text); }
  std::uint64_t GetTimeStamp() override { return RefreshStamp(); }
  // A new interval with empty texts, at its depth; false where it would
  // overlap an interval or is none.
  bool AddSeg(double top, double bottom) override;
  // Removes the first interval whose ends lie within 0.01 of top and bottom.
  bool DeleteSeg(double top, double bottom) override;

  // The column of a text ("" when the table has none).
  const std::string& TextColumn(CorelithText which) const {
    return text_columns_[static_cast<std::size_t>(which)];
  }

 protected:
  CorelithTableAdapter(IntervalColumns columns, std::array<std::string, 7> text_columns)
      : columns_(std::move(columns)), text_columns_(std::move(text_columns)) {}
  // The table, or null when there is none.
  virtual CWellTable* Table() = 0;
  std::uint64_t HostTimeStamp() override {
    CWellTable* t = Table();
    return t ? t->GetTimeStamp() : 0;
  }

 private:
  std::string Text(int i, CorelithText which);
  bool SetText(int i, CorelithText which, const std::string& text);

  IntervalColumns columns_;
  std::array<std::string, 7> text_columns_;
};

// The lithology table of a well (top and thickness).
class LogCorelithDAdapter : public CorelithTableAdapter {
 public:
  LogCorelithDAdapter(CWellDataManager* mgr, std::string well);
  void CheckDataSet() override;

 protected:
  CWellTable* Table() override { return table_.get(); }

 private:
  std::string well_;
  std::shared_ptr<CWellTable> table_;
};

// A segment table of a well (top and bottom), its texts in the columns the
// data name gives; a name of other than five fields names no columns.
class LogCorelithDSegementAdapter : public CorelithTableAdapter {
 public:
  LogCorelithDSegementAdapter(CWellDataManager* mgr, std::string well, const std::string& name);
  void CheckDataSet() override;

 protected:
  CWellTable* Table() override { return table_.get(); }

 private:
  std::string well_;
  std::shared_ptr<CWellTable> table_;
};

// A scattered segment table (depth and thickness), named by the first
// field of the data name, its texts in the columns the further fields
// give. The table is looked up again whenever it has gone.
class LogCorelithScattDAdapter : public CorelithTableAdapter {
 public:
  LogCorelithScattDAdapter(CWellDataManager* mgr, const std::string& name);
  void CheckDataSet() override;

 protected:
  CWellTable* Table() override;

 private:
  CWellDataManager* mgr_;
  std::string table_name_;
  std::shared_ptr<CMutiColPtData> table_;
};

// No lithology data.
class LogCorelithDefaultAdapter : public NoDataAdapter<LogCorelithDIO> {
 public:
  int GetCount() override { return -1; }
  double GetTop(int) override { return kFltMax; }
  double GetBottom(int) override { return kFltMax; }
  bool Move(int, double) override { return false; }
  bool SetTop(int, double) override { return false; }
  bool SetBottom(int, double) override { return false; }
  void CheckDataSet() override {}
  std::string GetLithName(int) override { return {}; }
  std::string GetAttr6(int) override { return {}; }
  std::string GetAttr5(int) override { return {}; }
  std::string GetAttr4(int) override { return {}; }
  std::string GetAttr3(int) override { return {}; }
  std::string GetAttr1(int) override { return {}; }
  std::string GetAttr2(int) override { return {}; }
  bool SetLithName(int, const std::string&) override { return false; }
  bool SetAttr6(int, const std::string&) override { return false; }
  bool SetAttr5(int, const std::string&) override { return false; }
  bool SetAttr4(int, const std::string&) override { return false; }
  bool SetAttr3(int, const std::string&) override { return false; }
  bool SetAttr1(int, const std::string&) override { return false; }
  bool SetAttr2(int, const std::string&) override { return false; }
  bool AddSeg(double, double) override { return false; }
  bool DeleteSeg(double, double) override { return false; }
};

// The lithology in true vertical or altitude depth; the depths of a new or
// deleted interval are converted back to measured depth.
template <class Inner, DepthType Mode>
class CorelithDepthModeAdapter : public SegDepthModeAdapter<LogCorelithDIO, Inner, Mode> {
 public:
  using SegDepthModeAdapter<LogCorelithDIO, Inner, Mode>::SegDepthModeAdapter;

  std::string GetLithName(int i) override { return this->inner_.GetLithName(i); }
  std::string GetAttr6(int i) override { return this->inner_.GetAttr6(i); }
  std::string GetAttr5(int i) override { return this->inner_.GetAttr5(i); }
  std::string GetAttr4(int i) override { return this->inner_.GetAttr4(i); }
  std::string GetAttr3(int i) override { return this->inner_.GetAttr3(i); }
  std::string GetAttr1(int i) override { return this->inner_.GetAttr1(i); }
  std::string GetAttr2(int i) override { return this->inner_.GetAttr2(i); }
  bool SetLithName(int i, const std::string& t) override { return this->inner_.SetLithName(i, t); }
  bool SetAttr6(int i, const std::string& t) override { return this->inner_.SetAttr6(i, t); }
  bool SetAttr5(int i, const std::string& t) override { return this->inner_.SetAttr5(i, t); }
  bool SetAttr4(int i, const std::string& t) override { return this->inner_.SetAttr4(i, t); }
  bool SetAttr3(int i, const std::string& t) override { return this->inner_.SetAttr3(i, t); }
  bool SetAttr1(int i, const std::string& t) override { return this->inner_.SetAttr1(i, t); }
  bool SetAttr2(int i, const std::string& t) override { return this->inner_.SetAttr2(i, t); }
  std::uint64_t GetTimeStamp() override { return this->inner_.GetTimeStamp(); }
  bool AddSeg(double top, double bottom) override {
    const double t = this->ToMeasured(top), b = this->ToMeasured(bottom);
    return !IsMissing(t) && !IsMissing(b) && this->inner_.AddSeg(t, b);
  }
  bool DeleteSeg(double top, double bottom) override {
    const double t = this->ToMeasured(top), b = this->ToMeasured(bottom);
    return !IsMissing(t) && !IsMissing(b) && this->inner_.DeleteSeg(t, b);
  }
};

using LogCorelithDTVDAdapter = CorelithDepthModeAdapter<LogCorelithDAdapter, DT_TVD>;
using LogCorelithDADAdapter = CorelithDepthModeAdapter<LogCorelithDAdapter, DT_AD>;
using LogCorelithDSegementTVDAdapter = CorelithDepthModeAdapter<LogCorelithDSegementAdapter, DT_TVD>;
using LogCorelithDSegementADAdapter = CorelithDepthModeAdapter<LogCorelithDSegementAdapter, DT_AD>;

}  // namespace davodu

#endif  // DAVODU_DATA_ADAPTERS_CORELITH_ADAPTERS_H_
