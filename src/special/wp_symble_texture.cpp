#include "davodu/special/wp_symble_texture.h"

#include <cmath>

#include "davodu/data/data_sources.h"
#include "davodu/host/records/record_numbers.h"
#include "davodu/host/records/zu_mfile.h"
#include "davodu/host/util/gbk.h"

namespace davodu {

DAVODU_IMPLEMENT_DYNCREATE(CWpSymbleTexture, CWpSymble)

CWpSymbleTexture::CWpSymbleTexture(CZuLayer* layer) : CWpSymble(layer) {
  data_source_ = SYMBLE_TEXTURE;
  seg_color_ = 0;
  Initialize();
}

void CWpSymbleTexture::Initialize() {
  class_name_ = name_ = type_name_ = "CWpSymbleTexture";
  title_text_ = Gbk("层理");
  use_bk_color_ = true;
  edge_left_ = edge_right_ = 0;
  fit_mode_ = 2;
  width_ = 1000;
  height_ = 600;
}

void CWpSymbleTexture::Clear() {
  CWpSymble::Clear();
  Initialize();
}

std::string CWpSymbleTexture::KindLabel() const { return Gbk("层理"); }

bool CWpSymbleTexture::SetSymbleWidth(double w) {
  if (!(w >= 0)) return false;
  width_ = w;
  return true;
}

bool CWpSymbleTexture::SetSymbleHeight(double h) {
  if (!(h >= 0)) return false;
  height_ = h;
  return true;
}

CRect CWpSymbleTexture::SymbolRect(const WPSEGMENT& seg) const {
  if (fit_mode_ == 1) return CWpSymble::SymbolRect(seg);
  const CPoint c = MP2LP(FLOATPOINT{(GetLeft() + GetRight()) / 2, (seg.top + seg.bottom) / 2});
  const int w = static_cast<int>(std::lround(width_)), h = static_cast<int>(std::lround(height_));
  return CRect{c.x - w, c.y + h, c.x + w, c.y - h};
}

int CWpSymbleTexture::SaveToFile(CZuMFile* file) {
  SaveSymbleSection(file);
  file->SetRecordNumber(kRecTagged);
  file->AddRecordElement(fit_mode_);
  file->AddRecordElement(width_);
  file->AddRecordElement(height_);
  file->WriteNextRecord();
  file->SetRecordNumber(kRecEnd);
  file->WriteNextRecord();
  return 1;
}

int CWpSymbleTexture::ReadFromFile(CZuMFile* file) {
  if (!ReadSymbleSection(file)) return 0;
  if (file->GetRecordNumber() == kRecEnd) return 1;  // written without its own record
  int mode = fit_mode_;
  double w = width_, h = height_;
  file->GetRecordElement(0, mode);
  file->GetRecordElement(1, w);
  file->GetRecordElement(2, h);
  fit_mode_ = mode == 1 ? 1 : 2;
  SetSymbleWidth(w);
  SetSymbleHeight(h);
  if (!file->ReadNextRecord()) return 0;
  return file->GetRecordNumber() == kRecEnd ? 1 : 0;
}

void CWpSymbleTexture::DuplicateAttribute(CZuObject* target) {
  auto* t = dynamic_cast<CWpSymbleTexture*>(target);
  if (!t || t == this) return;
  CWpSymble::DuplicateAttribute(target);
  t->fit_mode_ = fit_mode_;
  t->width_ = width_;
  t->height_ = height_;
}

}  // namespace davodu
