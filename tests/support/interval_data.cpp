#include "support/interval_data.h"

#include <utility>
#include <vector>

#include "davodu/host/util/gbk.h"
#include "davodu/store/deviation.h"
#include "davodu/store/well_data_manager.h"

namespace davodu::testing {

namespace {

using Rows = std::vector<std::vector<std::string>>;

std::vector<std::string> ToGbk(std::vector<std::string> utf8) {
  for (std::string& s : utf8) s = Utf8ToGbk(s);
  return utf8;
}

bool Import(CWellDataManager& wells, const std::string& well, TableKind kind, int sub,
            std::vector<std::string> header, const Rows& rows, std::string* error,
            const std::string& table_name = "") {
  TableImport in;
  in.source = "test";
  in.well = well;
  in.kind = kind;
  in.sub = sub;
  in.table_name = table_name;
  in.header = ToGbk(std::move(header));
  for (const auto& row : rows) in.rows.push_back(ToGbk(row));
  return wells.ImportTableRows(in, error);
}

}  // namespace

bool FillIntervalWells(CWellDataManager& wells, std::string* error) {
  if (!Import(wells, "W1", TableKind::kStratum, 3, {"name", "top", "bottom"},
              {{"沙一段", "1000", "1010"},
               {"沙二段", "1010", "1025"},
               {"沙三段", "1025", "1040"},
               {"沙三段", "1030", "1035"}},
              error))
    return false;
  WellInfo info;
  if (!wells.GetWellInfo("W1", &info)) return false;
  info.kb = 100;
  if (!wells.SetWellInfo(info)) return false;
  if (!Import(wells, "W1", TableKind::kSand, 0,
              {"name", "stratum_top", "stratum_bottom", "sand_top", "sand_bottom", "valid_top",
               "valid_bottom"},
              {{"S1", "1001", "1008", "1002", "1007", "1003", "1006"},
               {"S1x", "", "", "", "", "1006.2", "1006.8"},
               {"S2", "1012", "1020", "1013", "1019", "", ""},
               {"S3", "0", "0", "1030", "1033", "", ""}},
              error))
    return false;
  if (!Import(wells, "W1", TableKind::kFaultPoint, 0, {"depth", "throw", "fault"},
              {{"1020", "5", "F1"}}, error))
    return false;
  if (!Import(wells, "W1", TableKind::kSegmentData, 1, {"top", "bottom"},
              {{"1000", "1005"}, {"1010", "1015"}, {"1020", "1030"}}, error))
    return false;

  if (!Import(wells, "D1", TableKind::kStratum, 3, {"name", "top", "bottom"},
              {{"沙一段", "1000", "1100"}, {"沙二段", "1100", "1200"}}, error))
    return false;
  std::vector<SurveyStation> survey;
  for (double md = 0; md <= 1500; md += 50) survey.push_back({md, md <= 1000 ? 0.0 : 60.0, 90});
  if (!wells.SetDeviation("D1", survey)) return false;
  if (!Import(wells, "D1", TableKind::kFaultPoint, 0, {"depth", "throw"}, {{"1150", "10"}}, error))
    return false;

  return Import(wells, "", TableKind::kScatter, 0, {"name", "depth", "thickness", "LAYER"},
                {{"p", "1000", "5", "a"}, {"p", "1005", "10", "b"}, {"p", "1020", "3", "c"}},
                error, "T");
}

}  // namespace davodu::testing
