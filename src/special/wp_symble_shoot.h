// CWpSymbleShoot: a perforation symbol column (CWpSymble): one flag per
// perforation, by its kind's symbol, filling the column's width. With
// source 1 (the well's perforations) it carries the perforation column's
// date filter: only perforations dated between the start and the end date
// show (see CWpShoot). Source 1 by default; 5 a scattered table, -2 local.
#ifndef DAVODU_SPECIAL_WP_SYMBLE_SHOOT_H_
#define DAVODU_SPECIAL_WP_SYMBLE_SHOOT_H_

#include <string>
#include <vector>

#include "davodu/special/wp_symble.h"

namespace davodu {

class CWpSymbleShoot : public CWpSymble {
  DAVODU_DECLARE_DYNCREATE(CWpSymbleShoot)

 public:
  explicit CWpSymbleShoot(CZuLayer* layer);

  int ReadFromFile(CZuMFile* file) override;
  int SaveToFile(CZuMFile* file) override;
  void DuplicateAttribute(CZuObject* target) override;
  void Clear() override;
  int GetWpKitType() const override { return WPKIT_SYMBLESHOOT; }
  void UpdateD2V() override;

  // The filter on: the dates become the first and last of the data's
  // dates; off: both empty (everything shows).
  void IsFilter(bool on);
  bool GetFilter() const { return filter_; }
  void SetStartDateTime(const std::string& date);
  void SetEndDateTime(const std::string& date);
  const std::string& GetStartDateTime() const { return start_date_; }
  const std::string& GetEndDateTime() const { return end_date_; }
  const std::vector<std::string>& GetAllDateTime() const { return all_dates_; }

 protected:
  void Initialize();
  std::string KindLabel() const override;

 private:
  bool filter_;
  std::string start_date_;
  std::string end_date_;
  std::vector<std::string> all_dates_;
};

}  // namespace davodu

#endif  // DAVODU_SPECIAL_WP_SYMBLE_SHOOT_H_
