// The Add operations of a track: each creates a content of one kind through
// the object factory and places it in the track.
#include "davodu/data/data_sources.h"
#include "davodu/display/wp_curve.h"
#include "davodu/display/wp_depth.h"
#include "davodu/display/wp_param.h"
#include "davodu/display/wp_picture.h"
#include "davodu/display/wp_program.h"
#include "davodu/display/wp_text.h"
#include "davodu/host/objects/object_factory.h"
#include "davodu/host/util/gbk.h"
#include "davodu/interval/wp_corelith.h"
#include "davodu/interval/wp_oil_test.h"
#include "davodu/interval/wp_result.h"
#include "davodu/interval/wp_sand.h"
#include "davodu/interval/wp_shoot.h"
#include "davodu/interval/wp_stratum.h"
#include "davodu/interval/wp_water_entry.h"
#include "davodu/kits/wp_content.h"
#include "davodu/special/wp_facies.h"
#include "davodu/special/wp_integrated_core.h"
#include "davodu/special/wp_lth_sample.h"
#include "davodu/special/wp_sand_stratum.h"
#include "davodu/special/wp_sidewall_core.h"
#include "davodu/special/wp_symble_cycle.h"
#include "davodu/special/wp_symble_shoot.h"
#include "davodu/special/wp_symble_texture.h"
#include "davodu/well/wp_track.h"
#include "davodu/well/wp_well.h"

namespace davodu {

template <typename T>
T* CWpTrack::NewContent(const char* class_name) {
  CZuObject* obj = AfxGetObjectFactory()->CreateObject(class_name);
  auto* kit = dynamic_cast<T*>(obj);
  if (!kit) AfxGetObjectFactory()->DeleteObject(obj);
  return kit;
}

void CWpTrack::PlaceAddedChild(CWpContent* content, int join, int index) {
  if (index >= 0 && index < ChildrenCount())
    InsertChild(index, content, join);
  else
    AddChild(content, join);
}

void CWpTrack::InitAddedChild(const char* title, CWpContent* content, int join, int index) {
  if (title && *title) content->SetTitleText(title);
  content->SetTitleHeight(content->MinTitle());
  PlaceAddedChild(content, join, index);
  content->BuildControlNodePointArray();
}

void CWpTrack::InvalidateAdded() {
  if (parent_)
    parent_->InvalidParent();
  else
    InvalidSelf();
}

template <typename T>
T* CWpTrack::AddContent(const char* class_name, const char* title, int join, int index,
                        bool invalidate) {
  T* kit = NewContent<T>(class_name);
  if (!kit) return nullptr;
  InitAddedChild(title, kit, join, index);
  if (invalidate) InvalidateAdded();
  return kit;
}

CWpCurve* CWpTrack::AddCurve(const char* title, int join, int index) {
  CWpCurve* curve = NewContent<CWpCurve>("CWpCurve");
  if (!curve) return nullptr;
  const std::string text = title ? title : "";
  if (!text.empty()) curve->SetTitleText(text);
  PlaceAddedChild(curve, join, index);
  curve->SetTitleHeight(curve->MinTitle());
  // Curves take their colours in turn from the track's two tables: the
  // line and its texts from the first, the point symbol and the second pen
  // (bars, square waves) from the second. Only colours change, so the title
  // height stays.
  const int slot = (ChildrenCount() - 1) % kCurveColorCount;
  const COLORREF first = curve_colors_[slot], second = curve_colors2_[slot];
  ZULOGPEN pen = curve->GetPen();
  pen.color = first;
  curve->SetPen(&pen);
  ZULOGFONT font = curve->GetTitleFont();
  font.color = first;
  curve->SetTitleFont(&font);
  ZULOGFONT unit = curve->GetUnitFont();
  unit.color = first;
  curve->SetUnitFont(unit);
  ZULOGFONT limit = curve->GetLimitFont();
  limit.color = first;
  curve->SetLimitFont(limit);
  ZULOGPOINT point = curve->GetPoint();
  point.color = second;
  curve->SetPoint(point);
  ZULOGPEN pen2 = curve->GetPen2();
  pen2.color = second;
  curve->SetPen2(pen2);
  // A curve of a well that has data reads the well's log curve of its
  // title's name.
  const CWpWell* well = GetWell();
  curve->SetSource(well && well->WellExist() ? CVE_WELLLOG : 0);
  curve->InitData(text, 0);
  return curve;
}

CWpCorelith* CWpTrack::AddCorelith(const char* title, int join, int index) {
  CWpCorelith* lith = AddContent<CWpCorelith>("CWpCorelith", title, join, index, true);
  if (!lith) return nullptr;
  // The lithology table of the well; the kit keeps its source when the
  // well has no such data yet.
  lith->SetDataSource(CORELITH_WELL);
  lith->ResetData();
  return lith;
}

CWpShoot* CWpTrack::AddShoot(const char* title, int join, int index) {
  CWpShoot* shoot = AddContent<CWpShoot>("CWpShoot", title, join, index, true);
  if (!shoot) return nullptr;
  shoot->SetDataSource(SHOOT_WELL);
  shoot->ResetData();
  return shoot;
}

CWpSand* CWpTrack::AddSand(const char* title, int join, int index) {
  CWpSand* sand = AddContent<CWpSand>("CWpSand", title, join, index, true);
  if (!sand) return nullptr;
  sand->BuildBody();
  // The first class of sand of the well; the kit keeps the type when the
  // well has no such data yet.
  sand->SetDataSource(SAND_CLASS1);
  sand->ResetData();
  return sand;
}

CWpSandStratum* CWpTrack::AddSandStratum(const char* title, int join, int index) {
  CWpSandStratum* kit = NewContent<CWpSandStratum>("CWpSandStratum");
  if (!kit) return nullptr;
  // The site's first preset of sub-columns, before the head is sized.
  kit->UsePreset(std::string());
  InitAddedChild(title, kit, join, index);
  InvalidateAdded();
  kit->ResetData();
  return kit;
}

CWpStratum* CWpTrack::AddStratum(const char* title, int join, int index) {
  CWpStratum* stratum = AddContent<CWpStratum>("CWpStratum", title, join, index, true);
  if (!stratum) return nullptr;
  // The third level of the well; the kit keeps the level when the well has
  // no such data yet.
  stratum->SetDataSource(STRATUM_LEVEL3);
  stratum->ResetData();
  return stratum;
}

CWpSymbleCycle* CWpTrack::AddSymbleCycle(const char* title, int join, int index) {
  CWpSymbleCycle* kit = AddContent<CWpSymbleCycle>("CWpSymbleCycle", title, join, index, true);
  // Its catalogue and data, or none yet (the kit keeps its source).
  if (kit) kit->ResetData();
  return kit;
}

CWpSymbleTexture* CWpTrack::AddSymbleTexture(const char* title, int join, int index) {
  CWpSymbleTexture* kit = AddContent<CWpSymbleTexture>("CWpSymbleTexture", title, join, index, true);
  // Its catalogue and data, or none yet (the kit keeps its source).
  if (kit) kit->ResetData();
  return kit;
}

CWpFacies* CWpTrack::AddFacies(const char* title, int join, int index) {
  CWpFacies* facies = AddContent<CWpFacies>("CWpFacies", title, join, index, true);
  if (!facies) return nullptr;
  // The facies of the third level's stratification data; the kit keeps the
  // source when the well has no such data yet.
  facies->SetDataSource(FACIES_FINE_FIRST + 2);
  facies->ResetData();
  return facies;
}

CWpSymbleShoot* CWpTrack::AddSymbleShoot(const char* title, int join, int index) {
  CWpSymbleShoot* kit = AddContent<CWpSymbleShoot>("CWpSymbleShoot", title, join, index, true);
  // Its catalogue and data, or none yet (the kit keeps its source).
  if (kit) kit->ResetData();
  return kit;
}

CWpOilTest* CWpTrack::AddOilTest(const char* title, int join, int index) {
  return AddContent<CWpOilTest>("CWpOilTest", title, join, index, false);
}

CWpResult* CWpTrack::AddResult(const char* title, int join, int index) {
  return AddContent<CWpResult>("CWpResult", title, join, index, false);
}

CWpPicture* CWpTrack::AddPictureList(int type, const char* title, int join, int index) {
  CWpPicture* picture = AddContent<CWpPicture>("CWpPicture", title, join, index, false);
  if (!picture) return nullptr;
  picture->SetType(type);  // titles it "图片" or "图形"
  return picture;
}

CWpParam* CWpTrack::AddParam(const char* title, int join, int index) {
  CWpParam* param = AddContent<CWpParam>("CWpParam", title, join, index, false);
  // The kit's own step: it learns its well and the well's gateway.
  if (param) param->Initialize(GetWell());
  return param;
}

CWpText* CWpTrack::AddText(CView* view, const char* title, int join, int index) {
  CWpText* text = AddContent<CWpText>("CWpText", title, join, index, false);
  // The kit's own step: it learns the view its editor works in.
  if (text) text->SetView(view);
  return text;
}

CWpWaterEntry* CWpTrack::AddWaterEntryList(bool production, const char* title, int join,
                                           int index) {
  CWpWaterEntry* kit = AddContent<CWpWaterEntry>("CWpWaterEntry", title, join, index, false);
  if (kit) kit->SetTitleText(Gbk(production ? "产液" : "吸水"));
  return kit;
}

CWpSidewallCore* CWpTrack::AddSidewallCore(const char* title, int join, int index) {
  CWpSidewallCore* kit = AddContent<CWpSidewallCore>("CWpSidewallCore", title, join, index, true);
  if (kit) kit->ResetData();
  return kit;
}

CWpIntegratedCore* CWpTrack::AddIntegratedCore(const char* title, int join, int index) {
  CWpIntegratedCore* kit =
      AddContent<CWpIntegratedCore>("CWpIntegratedCore", title, join, index, true);
  if (kit) kit->ResetData();
  return kit;
}

CWpLthSample* CWpTrack::AddLthSample(const char* title, int join, int index) {
  return AddContent<CWpLthSample>("CWpLthSample", title, join, index, true);
}

CWpProgram* CWpTrack::AddProgram(const char* title, int join, int index) {
  return AddContent<CWpProgram>("CWpProgram", title, join, index, true);
}

CWpDepth* CWpTrack::AddDepth(const char* title, int join, int index) {
  return AddContent<CWpDepth>("CWpDepth", title, join, index, true);
}

}  // namespace davodu
