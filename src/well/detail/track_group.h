// The group number of a track's child, shared by the track's sources
// (wp_track*.cpp); not for other users.
#ifndef DAVODU_WELL_DETAIL_TRACK_GROUP_H_
#define DAVODU_WELL_DETAIL_TRACK_GROUP_H_

#include "davodu/kits/wp_content.h"
#include "davodu/kits/wp_kit.h"

namespace davodu::track {

// The track layout reads group numbers from every child; only contents
// carry one.
inline int GroupOf(const CWpKit* kit) {
  auto* content = dynamic_cast<const CWpContent*>(kit);
  return content ? content->GetGroup() : 0;
}

inline void SetGroupOf(CWpKit* kit, int group) {
  if (auto* content = dynamic_cast<CWpContent*>(kit)) content->SetGroup(group);
}

}  // namespace davodu::track

#endif  // DAVODU_WELL_DETAIL_TRACK_GROUP_H_
