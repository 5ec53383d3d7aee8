// CWpTrackBuilder: carries out the menu commands that add columns and
// contents.
//
// The well's menu adds a track of a chosen content kind at the right end
// (ids 8004 to 8026); a track's in-well menu adds one to its left (8028 to
// 8049) or right (8051 to 8072); a track's own menu adds a content inside it
// (8074 to 8095). The kind is the id's offset in its block, numbered as in
// content_kinds.h. A builder is made on the stack for one command.
#ifndef DAVODU_WELL_WP_TRACK_BUILDER_H_
#define DAVODU_WELL_WP_TRACK_BUILDER_H_

namespace davodu {

class CWpKit;
class CWpTrack;

class CWpTrackBuilder {
 public:
  // kit: the well for the well's menu, the clicked track for a track's menus.
  explicit CWpTrackBuilder(CWpKit* kit) : kit_(kit) {}

  // Carries out a command; an id outside the four blocks, or one whose menu
  // belongs to another kind of kit than the one held, does nothing.
  void AddChild(unsigned id);

  // Adds a content of kind 1..22 at the end of the track (joining its last
  // group) and returns it; null for any other kind or when it cannot be made.
  static CWpKit* AddContent(CWpTrack* track, int kind);

 private:
  // A content inside the held track.
  void AddTrkChild(unsigned id);
  // A new track at the right end of the held well, with a content.
  void AddTrkAndChild(unsigned id);
  // A new track with a content left of the held track.
  void AddTrkAndChildL(unsigned id);
  // The same right of it.
  void AddTrkAndChildR(unsigned id);
  // A new track beside the held one: left for the first in-well block,
  // right for the second; first_id is the block's first id.
  void AddBeside(unsigned id, unsigned first_id);

  CWpKit* kit_;
};

}  // namespace davodu

#endif  // DAVODU_WELL_WP_TRACK_BUILDER_H_
