// The sidewall core data objects (LogSidewallCoreIO): the samples of the
// well's sidewall core table ("井壁取芯数据"), of one of its point data
// tables ("点数据1".."点数据3") or of a scattered table, each a depth with two
// texts read from named columns; and the true-vertical-depth and altitude
// forms of the well's tables.
//
// The data name of a request is "TABLE,TEXT1,TEXT2": the table, then the
// columns of the first text (the lithology) and of the second (the
// oil-bearing grade). The sidewall core table reads its own columns
// "岩性" and "含油级别" when those fields are empty.
//
// Edits write the host table at once, each in one transaction. A depth may
// not pass a neighbouring sample's (it may reach it: two samples can be
// taken at one depth); texts are cut to 15 bytes without splitting a
// character.
#ifndef DAVODU_DATA_ADAPTERS_SIDEWALL_CORE_ADAPTERS_H_
#define DAVODU_DATA_ADAPTERS_SIDEWALL_CORE_ADAPTERS_H_

#include <cstdint>
#include <functional>
#include <memory>
#include <string>

#include "davodu/data/adapters/depth_mode_adapter.h"
#include "davodu/data/adapters/stamped_adapter.h"
#include "davodu/data/data_io.h"
#include "davodu/store/well_table.h"

namespace davodu {

class CMutiColPtData;
class CWellDataManager;

// The samples of a host table with a depth column and two text columns.
class SidewallCoreAdapter : public StampedAdapter<LogSidewallCoreIO> {
 public:
  // The bytes a text keeps.
  static constexpr std::size_t kTextBytes = 15;

  int GetCount() override;
  double GetDepth(int i) override;
  std::string GetText2(int i) override;
  std::string GetText1(int i) override;
  bool SetDepth(int i, double depth) override;
  bool SetText2(int i, const std::string& text) override;
  bool SetText1(int i, const std::string& text) override;
  // A record with the depth and empty texts before record pos (at the end
  // when pos is not a record); refused when the depth is missing or would
  // stand out of the depth order there.
  bool Insert(int pos, double depth) override;
  // Puts the records in depth order (records without a depth last).
  void Arrange() override;

  const std::string& GetText1Column() const { return text1_; }
  const std::string& GetText2Column() const { return text2_; }

 protected:
  // table: the host table, looked up on every use (null when it is gone).
  SidewallCoreAdapter(std::function<CWellTable*()> table, std::string depth, std::string text1,
                      std::string text2);
  std::uint64_t HostTimeStamp() override;

 private:
  bool SetText(int i, const std::string& column, const std::string& text);

  std::function<CWellTable*()> table_;
  std::string depth_, text1_, text2_;
};

// The well's sidewall core table.
class AdapterSidewallCore : public SidewallCoreAdapter {
 public:
  AdapterSidewallCore(CWellDataManager* mgr, const std::string& well, const std::string& text1,
                      const std::string& text2);

 private:
  std::shared_ptr<CWellTable> host_;
};

// Point data table index (0..2) of the well.
class AdapterPointSidewallCore : public SidewallCoreAdapter {
 public:
  AdapterPointSidewallCore(CWellDataManager* mgr, const std::string& well, int index,
                           const std::string& text1, const std::string& text2);

 private:
  std::shared_ptr<CWellTable> host_;
};

// A scattered point table, looked up again whenever it has gone; its
// samples are not converted to another depth reference.
class AdapterScattSidewallCore : public SidewallCoreAdapter {
 public:
  AdapterScattSidewallCore(CWellDataManager* mgr, const std::string& table, const std::string& text1,
                           const std::string& text2);

 private:
  CWellTable* Table();

  CWellDataManager* mgr_;
  std::string name_;
  std::shared_ptr<CMutiColPtData> host_;
};

template <class Inner, DepthType Mode>
class SidewallCoreDepthModeAdapter : public DepthModeAdapter<LogSidewallCoreIO, Inner, Mode> {
 public:
  using DepthModeAdapter<LogSidewallCoreIO, Inner, Mode>::DepthModeAdapter;

  int GetCount() override { return this->inner_.GetCount(); }
  double GetDepth(int i) override { return this->ToMode(this->inner_.GetDepth(i)); }
  std::string GetText2(int i) override { return this->inner_.GetText2(i); }
  std::string GetText1(int i) override { return this->inner_.GetText1(i); }
  bool SetDepth(int i, double depth) override {
    const double md = this->ToMeasured(depth);
    return !IsMissing(md) && this->inner_.SetDepth(i, md);
  }
  bool SetText2(int i, const std::string& text) override { return this->inner_.SetText2(i, text); }
  bool SetText1(int i, const std::string& text) override { return this->inner_.SetText1(i, text); }
  bool Insert(int pos, double depth) override {
    const double md = this->ToMeasured(depth);
    return !IsMissing(md) && this->inner_.Insert(pos, md);
  }
  void Arrange() override { this->inner_.Arrange(); }
};

using AdapterTVDSidewallCore = SidewallCoreDepthModeAdapter<AdapterSidewallCore, DT_TVD>;
using AdapterADSidewallCore = SidewallCoreDepthModeAdapter<AdapterSidewallCore, DT_AD>;
using AdapterPointTVDSidewallCore = SidewallCoreDepthModeAdapter<AdapterPointSidewallCore, DT_TVD>;
using AdapterPointADSidewallCore = SidewallCoreDepthModeAdapter<AdapterPointSidewallCore, DT_AD>;

}  // namespace davodu

#endif  // DAVODU_DATA_ADAPTERS_SIDEWALL_CORE_ADAPTERS_H_
