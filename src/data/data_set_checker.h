// CDataSetChecker: the host's hook for checking a data set of a well.
//
// The host installs a check function once. The well's command 16455 asks
// it to check the well position data of the chart's well; every data
// object asks it about the data set it reads (CheckDataSet), named by the
// owner (well or scattered table) and the data set ("分层界限.三级分层界限数据").
// What the check does is the host's business.
#ifndef DAVODU_DATA_DATA_SET_CHECKER_H_
#define DAVODU_DATA_DATA_SET_CHECKER_H_

#include <functional>
#include <string>

namespace davodu {

class CDataSetChecker {
 public:
  // Called with the well name and the data set name (both GBK); returns
  // what the check found (the module does not look at it).
  using CheckFun = std::function<bool(const std::string& well_name, const std::string& data_set)>;

  static CDataSetChecker* Instance();

  // Installs the check function; an empty one removes it.
  void SetCheckFun(CheckFun fun) { fun_ = std::move(fun); }
  bool HasCheckFun() const { return static_cast<bool>(fun_); }

  // Runs the installed function; false when none is installed.
  bool CheckData(const std::string& well_name, const std::string& data_set) const;

 private:
  CDataSetChecker() = default;

  CheckFun fun_;
};

}  // namespace davodu

#endif  // DAVODU_DATA_DATA_SET_CHECKER_H_
