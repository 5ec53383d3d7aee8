// CWpCurve: A log curve.
#ifndef DAVODU_DISPLAY_WP_CURVE_H_
#define DAVODU_DISPLAY_WP_CURVE_H_

#include <string>
#include <vector>

#include "davodu/kits/wp_content.h"

namespace davodu {

class CWpCurve : public CWpContent {
  DAVODU_DECLARE_DYNCREATE(CWpCurve)

 public:
  explicit CWpCurve(CZuLayer* layer);

  void Clear() override;
  int GetWpKitType() const override { return WPKIT_CURVE; }
  // Distance from a draw point to the drawn curve (draw units × 10); FLT_MAX
  // when the curve has fewer than two draw points or the point is beside it.
  float PtOnCurve(CPoint point) const;

  // The unit shown in the head; "无" (none) is stored as an empty text.
  const std::string& GetUnitText() const { return unit_text_; }
  void SetUnitText(const std::string& unit);

  // Samples in the well's depth reference: depths increasing, values with
  // FLT_MAX where missing. The two arrays are set together.
  int GetSampleCount() const { return static_cast<int>(depths_.size()); }
  double GetSampleDepth(int i) const { return depths_[static_cast<std::size_t>(i)]; }
  double GetSampleValue(int i) const { return values_[static_cast<std::size_t>(i)]; }
  // Keeps both arrays when they have the same length, else clears both.
  void SetSamples(std::vector<double> depths, std::vector<double> values);

 protected:
  void Initialize();

  std::string unit_text_;
  std::vector<double> depths_;
  std::vector<double> values_;
};

}  // namespace davodu

#endif  // DAVODU_DISPLAY_WP_CURVE_H_
