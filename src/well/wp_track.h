// CWpTrack: a column of the chart. Its contents form groups (side by side
// within a group, groups stacked in the head) and are drawn in the track's
// draw order, a permutation of the child indexes (last drawn on top).
#ifndef DAVODU_WELL_WP_TRACK_H_
#define DAVODU_WELL_WP_TRACK_H_

#include <vector>

#include "davodu/kits/wp_in_well.h"

namespace davodu {

class CZuMapFile;

class CWpTrack : public CWpInWell {
  DAVODU_DECLARE_DYNCREATE(CWpTrack)

 public:
  explicit CWpTrack(CZuLayer* layer);
  ~CWpTrack() override;

  void Clear() override;
  int GetWpKitType() const override { return WPKIT_TRACK; }
  void AddChild(CWpKit* kit) override;
  void InsertChild(int index, CWpKit* kit) override;
  using CWpInWell::RemoveChild;
  void RemoveChild(CWpKit* kit) override;
  void DrawChildren(CDC* dc, CView* view, CRect* clip, CRect* done) override;

  // Number of content groups (one more than the largest group number).
  int GroupsCount() const;
  // Gives every group the same share of the head.
  void AverageDivideGroupHeight();

  // Draw order.
  const std::vector<int>& GetDrawOrder() const { return draw_order_; }
  void SetDrawOrder(const std::vector<int>& order);
  void MoveMostFront(CWpKit* kit);
  void MoveMostBack(CWpKit* kit);
  void MoveFront(CWpKit* kit);
  void MoveBack(CWpKit* kit);
  // Menu items that move a child in the draw order, and the group divider.
  void AddMoveMenu(CZuMapFile* file, CWpKit* kit);
  void AddDivideMenu(CZuMapFile* file);

 protected:
  void Initialize();

 private:
  int FindDrawOrderIndex(int child_index) const;
  // Makes the draw order a permutation of the child indexes: drops indexes
  // out of range and repeats, appends the missing ones in child order.
  void NormalizeDrawOrder();

  std::vector<int> draw_order_;
};

}  // namespace davodu

#endif  // DAVODU_WELL_WP_TRACK_H_
