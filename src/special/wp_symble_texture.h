// CWpSymbleTexture: the bedding textures of a well (CWpSymble). In fit
// mode 1 a texture fills its interval's rectangle; in fit mode 2 (the
// default) it is drawn at a fixed size (twice the half-width by twice the
// half-height, in draw units) in the middle of its interval, whatever the
// interval's height. Source 8 (the well's bedding table) by default, -3
// local.
#ifndef DAVODU_SPECIAL_WP_SYMBLE_TEXTURE_H_
#define DAVODU_SPECIAL_WP_SYMBLE_TEXTURE_H_

#include "davodu/special/wp_symble.h"

namespace davodu {

class CWpSymbleTexture : public CWpSymble {
  DAVODU_DECLARE_DYNCREATE(CWpSymbleTexture)

 public:
  explicit CWpSymbleTexture(CZuLayer* layer);

  int ReadFromFile(CZuMFile* file) override;
  int SaveToFile(CZuMFile* file) override;
  void DuplicateAttribute(CZuObject* target) override;
  void Clear() override;
  int GetWpKitType() const override { return WPKIT_SYMBLETEXTURE; }

  bool IsFitRect() const { return fit_mode_ == 1; }
  bool SetFitRect(bool fit) {
    fit_mode_ = fit ? 1 : 2;
    return true;
  }
  double GetSymbleWidth() const { return width_; }
  double GetSymbleHeight() const { return height_; }
  // Half-extents in draw units; negative values are refused.
  bool SetSymbleWidth(double w);
  bool SetSymbleHeight(double h);

 protected:
  void Initialize();
  std::string KindLabel() const override;
  CRect SymbolRect(const WPSEGMENT& seg) const override;

 private:
  int fit_mode_;
  double width_;
  double height_;
};

}  // namespace davodu

#endif  // DAVODU_SPECIAL_WP_SYMBLE_TEXTURE_H_
