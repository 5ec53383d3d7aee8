#include "davodu/well/wp_track_builder.h"

#include "davodu/display/wp_curve.h"
#include "davodu/display/wp_depth.h"
#include "davodu/display/wp_param.h"
#include "davodu/display/wp_picture.h"
#include "davodu/display/wp_program.h"
#include "davodu/display/wp_text.h"
#include "davodu/interval/wp_corelith.h"
#include "davodu/interval/wp_oil_test.h"
#include "davodu/interval/wp_result.h"
#include "davodu/interval/wp_sand.h"
#include "davodu/interval/wp_stratum.h"
#include "davodu/interval/wp_water_entry.h"
#include "davodu/kits/content_kinds.h"
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

namespace {

// The kinds whose contents (injection and production profiles) set the
// width of their new track themselves.
constexpr int kKindInjection = 16;
constexpr int kKindProduction = 17;

bool InBlock(unsigned id, unsigned first, unsigned last) { return id >= first && id <= last; }

int KindOf(unsigned id, unsigned first_id, int first_kind) {
  return static_cast<int>(id - first_id) + first_kind;
}

}  // namespace

CWpKit* CWpTrackBuilder::AddContent(CWpTrack* track, int kind) {
  if (!track) return nullptr;
  // Every content comes without a title of its own choosing, joins the
  // track's last group and goes to the end.
  const char* title = "";
  const int join = 1, index = -1;
  switch (kind) {
    case 1: return track->AddCurve(title, join, index);
    case 2: return track->AddCorelith(title, join, index);
    case 3: return track->AddSand(title, join, index);
    case 4: return track->AddSandStratum(title, join, index);
    case 5: return track->AddStratum(title, join, index);
    case 6: return track->AddSymbleCycle(title, join, index);
    case 7: return track->AddSymbleTexture(title, join, index);
    case 8: return track->AddFacies(title, join, index);
    case 9: return track->AddSymbleShoot(title, join, index);
    case 10: return track->AddOilTest(title, join, index);
    case 11: return track->AddResult(title, join, index);
    case 12: return track->AddPictureList(0, title, join, index);
    case 13: return track->AddPictureList(1, title, join, index);
    case 14: return track->AddParam(title, join, index);
    case 15: return track->AddText(nullptr, title, join, index);
    case kKindInjection: return track->AddWaterEntryList(false, title, join, index);
    case kKindProduction: return track->AddWaterEntryList(true, title, join, index);
    case 18: return track->AddSidewallCore(title, join, index);
    case 19: return track->AddIntegratedCore(title, join, index);
    case 20: return track->AddLthSample(title, join, index);
    case 21: return track->AddProgram(title, join, index);
    case 22: return track->AddDepth(title, join, index);
    default: return nullptr;
  }
}

void CWpTrackBuilder::AddChild(unsigned id) {
  if (InBlock(id, kCmdTrackContentFirst, kCmdTrackContentLast))
    AddTrkChild(id);
  else if (InBlock(id, kCmdWellTrackFirst, kCmdWellTrackLast))
    AddTrkAndChild(id);
  else if (InBlock(id, kCmdInWellTrackAFirst, kCmdInWellTrackALast))
    AddTrkAndChildL(id);
  else if (InBlock(id, kCmdInWellTrackBFirst, kCmdInWellTrackBLast))
    AddTrkAndChildR(id);
}

void CWpTrackBuilder::AddTrkChild(unsigned id) {
  auto* track = dynamic_cast<CWpTrack*>(kit_);
  if (!track) return;
  CWpKit* added = AddContent(track, KindOf(id, kCmdTrackContentFirst, 1));
  if (!added) return;
  // The new content joined the last group: the track widens by its width,
  // and the well makes room.
  track->ResetWidth(added, 1);
  track->UpdateParent();
}

void CWpTrackBuilder::AddTrkAndChild(unsigned id) {
  auto* well = dynamic_cast<CWpWell*>(kit_);
  if (!well) return;
  CWpTrack* track = well->AddTrack(id, -1);
  if (!track) return;
  // The first id of the block is an empty track.
  if (id != kCmdWellTrackFirst) AddContent(track, KindOf(id, kCmdWellTrackFirst, 0));
  well->Reset();
  well->ResetClient();
  well->ResetWidth();
  well->Reset();
  well->OnChanged(nullptr);
}

void CWpTrackBuilder::AddTrkAndChildL(unsigned id) { AddBeside(id, kCmdInWellTrackAFirst); }

void CWpTrackBuilder::AddTrkAndChildR(unsigned id) { AddBeside(id, kCmdInWellTrackBFirst); }

void CWpTrackBuilder::AddBeside(unsigned id, unsigned first_id) {
  auto* track = dynamic_cast<CWpTrack*>(kit_);
  CWpWell* well = track ? track->GetWell() : nullptr;
  if (!well) return;
  // Only a column of the well has sides to add to.
  const int index = well->FindChild(track);
  if (index < 0) return;
  // The well places ids of the second block right of index.
  CWpTrack* added = well->AddTrack(id, index);
  if (!added) return;
  const int kind = KindOf(id, first_id, 1);
  const float width = added->GetWidth();
  AddContent(added, kind);
  // A profile may have widened its track; the well then grows by the same
  // amount. The width change is the one the track recorded last, so it is
  // only passed on when this track's width did change.
  if ((kind == kKindInjection || kind == kKindProduction) && added->GetWidth() != width)
    added->UpdateParentForWidth();
  track->UpdateParent();
}

}  // namespace davodu
