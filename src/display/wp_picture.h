// CWpPicture: pictures placed in a track, as a stack of picture blocks.
//
// Each block occupies a depth interval of the column and part of its width
// (from the left edge) and shows one picture stretched over it: a bitmap
// (BMP, JPEG, PNG or TIFF; the kit's type 0, title "图片") or another
// document drawn into it (a map picture, "图形"). Whether a block is a map
// picture depends on its file name alone: the extension ".kmp" or ".wpd",
// written all in lower or all in upper case. Bitmaps are stored inside the
// document as the bytes of their files, so a chart keeps its photographs
// when the files are gone; map pictures are stored by their path and read
// again with the document (one that shows itself is read once and stays
// empty). The user adds a block by dragging in the body or from the context
// menu, moves it, drags its top, bottom and right edges, exchanges its
// picture, resets it to the picture's proportions and locks or unlocks them.
//
// A block keeps its depths; its map Y values follow them at every layout.
// Records (after the content section): 153 (type), then per block a 153
// (name, top Y, bottom Y, base zoom, DetaX, DetaY, lock, left, right,
// top depth, bottom depth) followed, for bitmaps, by a 117 with the picture
// file's bytes; then 80.
//
// Sources: wp_picture.cpp (blocks, geometry), wp_picture_io.cpp (records),
// wp_picture_draw.cpp (drawing), wp_picture_gestures.cpp (mouse),
// wp_picture_menu.cpp (menu and commands), wp_picture_export.cpp (the table
// of blocks).
#ifndef DAVODU_DISPLAY_WP_PICTURE_H_
#define DAVODU_DISPLAY_WP_PICTURE_H_

#include <memory>
#include <string>
#include <vector>

#include "davodu/display/wp_text.h"
#include "davodu/host/graphics/dib.h"
#include "davodu/kits/wp_content.h"

namespace davodu {

class CWpPicture;
class CZuMapFile;

// The right-edge drag of a picture block; the other pick modes are the text
// kit's (SEG_PICKMODE).
constexpr int SPM_RIGHT = 7;
constexpr int SPM_ACTIVATED = 2;  // a block was just activated or created

// One picture block, owned by its picture kit.
class CgPicSegment {
 public:
  explicit CgPicSegment(CWpPicture* owner);
  ~CgPicSegment();
  CgPicSegment(const CgPicSegment&) = delete;
  CgPicSegment& operator=(const CgPicSegment&) = delete;

  // Height over width; 0 for a block without width.
  double GetScale() const;
  double GetWidth() const { return right - left; }
  double GetHeight() const { return top_y - bottom_y; }
  double GetLeft() const { return left; }
  double GetRight() const { return right; }
  double GetBottom() const { return bottom_y; }
  void SetTop(double y) { top_y = y; }
  void SetBottom(double y) { bottom_y = y; }
  double GetTopDepth() const { return top_depth; }
  double GetBottomDepth() const { return bottom_depth; }
  // Store the depth and place the edge at its map Y.
  void SetTopDepth(float depth);
  void SetBottomDepth(float depth);
  void LockScale() { scale_lock = true; }
  void UnlockScale() { scale_lock = false; }
  bool IsScaleLock() const { return scale_lock; }
  void SwitchScaleLock() { scale_lock = !scale_lock; }
  void set_id(int id) { number = id; }
  const std::string& GetPictureName() const { return name; }
  void SetActive() { active = true; }
  void SetInactive() { active = false; }
  double GetBaseZoom() const { return base_zoom; }
  // Changes the zoom of a map picture relative to the chart's.
  void SetBaseZoom(double zoom);
  double GetDetaX() const { return deta_x; }
  double GetDetaY() const { return deta_y; }
  void SetDetaX(double d) { deta_x = d; }
  void SetDetaY(double d) { deta_y = d; }

  // Whether the block shows a map picture (decided by its name).
  bool IsMapPicture() const;
  // Loads a picture file (a GBK path); with fit, a bitmap block then takes
  // the picture's proportions and is locked. False (the block keeps an
  // empty picture) when the file cannot be read; *error says why.
  bool SetPicture(const std::string& path, std::string* error = nullptr, bool fit = true);
  // Fits the block to the picture's proportions within its present size,
  // keeping its left side and its top, and locks it. Nothing for a picture
  // without size.
  void ResetScale();
  // Edge operations of the resize and move algorithms, d in map units.
  void ChangeTopDepth(double d);
  void ChangeBottomDepth(double d);
  void ChangeWidth(double d) { right += d; }
  void Move(double dx, double dy);
  void Raise(double dy);
  // The left side becomes left; right is lowered to right when beyond it.
  void Update(double new_left, double new_right);
  // What a press at a map point does (SEG_PICKMODE).
  int GetPickMode(double x, double y) const;
  // The depths follow the map Y values.
  void DepthsFromY();
  // The map Y values follow the depths.
  void YFromDepths();

  CZuMapFile* GetMapDocument() const { return map_.get(); }
  const CDIB& GetBitmap() const { return dib_; }
  CDIB& GetBitmap() { return dib_; }

  double left = 0, right = 0;
  double top_y = 0, bottom_y = 0;
  double top_depth = 0, bottom_depth = 0;
  int number = 0;
  std::string name;  // GBK path of the picture file
  bool scale_lock = false;
  bool active = false;
  CWpPicture* owner;
  double base_zoom = 1.0;
  double deta_x = 0, deta_y = 0;
  // Set for a block read from a document that stored only its map Y: the
  // depths are derived from them once the kit is laid out again.
  bool depths_from_y = false;

 private:
  std::unique_ptr<CZuMapFile> map_;
  CDIB dib_;
};

class CWpPicture : public CWpContent {
  DAVODU_DECLARE_DYNCREATE(CWpPicture)

 public:
  static constexpr unsigned kCmdAddBlock = 7581;     // "添加"
  static constexpr unsigned kCmdDeleteBlock = 7582;  // "删除"
  static constexpr unsigned kCmdReplace = 7583;      // "更换"
  static constexpr unsigned kCmdLock = 7584;         // "解开比例锁定" / "比例锁定"
  static constexpr unsigned kCmdOwnScale = 7585;     // "原比例显示"

  explicit CWpPicture(CZuLayer* layer);
  ~CWpPicture() override;

  // --- Host object slots.
  void Draw(CDC* dc, CView* view, CRect* clip, CRect* done) override;
  void DrawSelectedMark(CDC* dc, CView* view) override;
  int OnLButtonDown(CView* view, CDC* dc, unsigned flags, CPoint point) override;
  int OnLButtonUp(CView* view, CDC* dc, unsigned flags, CPoint point) override;
  int OnMouseMove(CView* view, CDC* dc, unsigned flags, CPoint point) override;
  int OnRButtonDown(CView* view, CDC* dc, unsigned flags, CPoint point) override;
  int OnCommand(CView* view, CDC* dc, unsigned id, long param) override;
  void SetZoomFactor(double zoom) override;
  void DuplicateAttribute(CZuObject* target) override;
  int ReadFromFile(CZuMFile* file) override;
  int SaveToFile(CZuMFile* file) override;
  void Clear() override;

  // --- Kit slots.
  int GetWpKitType() const override { return WPKIT_PICTURE; }
  void ResetData() override {}
  void ExportContent() override;
  void BuildBody() override;

  // 0 bitmaps ("图片"), otherwise map pictures ("图形").
  void SetType(int type);
  int GetType() const { return picture_type_; }
  void UpdateTitleText();

  // --- Blocks.
  bool SegActive() const { return FindSeg(active_) != nullptr; }
  int GetActiveSeg() const { return active_; }
  double GetActiveSegTopDepth() const;
  double GetActiveSegBotDepth() const;
  bool SetActiveSegTopDepth(double depth);
  bool SetActiveSegBotDepth(double depth);
  // Sets the active block's proportion lock.
  void LockScale(bool lock);

  // Creates a block between two map Y values (top above bottom) from a
  // picture file; kFltMin for left or right stands for the kit's edge. The
  // block is made even when the picture cannot be read (it stays empty;
  // *error says why). Returns the block.
  CgPicSegment* AddSegment(const std::string& path, double top_y, double bottom_y, double left,
                           double right, bool lock, std::string* error = nullptr);
  // The same with a picture already in memory, copied into the block.
  CgPicSegment* AddSegment(const std::string& path, double top_y, double bottom_y, double left,
                           double right, bool lock, const CDIB& picture);
  // Creates a block at a depth interval over the whole width, for callers
  // that know depths (a template) before the chart is laid out; with
  // keep_ratio a bitmap block takes its picture's proportions once laid
  // out. False when bottom is not below top or the block would overlap
  // another.
  bool AddSegmentAtDepth(const std::string& path, float top_depth, float bottom_depth,
                         bool keep_ratio, std::string* error = nullptr);
  // Adds a block at a draw point from the menu: the free gap around it, at
  // most half the body and 30 handle widths tall, then the file dialog.
  bool AddSegment(CPoint point);
  // The gap around a draw point: false when a block holds the point.
  bool AllocSegment(CPoint point, double* top, double* bottom);
  bool ProbeAddSegment(double top, double bottom);
  bool TryModifySegment(double top, double bottom);
  void RemoveSegment(int n);
  CgPicSegment* GetSegment(int n) const { return FindSeg(n); }
  // The number of the block strictly containing a draw point, -1 for none.
  int GetSegment(CPoint point);
  CgPicSegment* GetSegmentAbove(int n) const;
  CgPicSegment* GetSegmentUnder(int n) const;
  int PickSeg(CPoint point);
  void MoveSegment(int n, double dy);
  // Resizes block n by a delta in draw units: mode 5 top, 6 bottom, 7 right.
  void ResizeSegment(int n, int delta, int mode);
  // After the kit's width changed: every block keeps to the kit's sides.
  void UpdateSegments();
  void ChangeSegmentData(int n);
  void SwitchSegmentScaleLock(int n);
  void ResetPicScale();
  // The open-file dialog for a picture; name is the file offered and the
  // file chosen.
  bool GetPicture(std::string& name);
  void ActivateSegment(int n);
  double GetNearestTop(CPoint point);

  const std::vector<std::unique_ptr<CgPicSegment>>& GetSegList() const { return segs_; }
  int GetSegCount() const { return static_cast<int>(segs_.size()); }
  CgPicSegment* FindSeg(int number) const;
  int GetPickMode() const { return pick_mode_; }
  // Map length of AfxGetNodeRectWidth().
  double NodeLength() const;

 protected:
  void Initialize();
  std::string KindLabel() const override;
  float MinWidth() override { return 0.1f; }

 private:
  int IndexOf(int number) const;
  CgPicSegment* Insert(std::unique_ptr<CgPicSegment> seg);
  CgPicSegment* NewSegment(const std::string& path, double top_y, double bottom_y, double left,
                           double right);
  void ClearContent();
  void SortByDepth();
  void DrawBlock(CDC* dc, CgPicSegment& seg);
  void DrawMapPicture(CDC* dc, CgPicSegment& seg, const CRect& rect);
  void DrawHandle(CDC* dc, const CgPicSegment& seg);
  void OnLButtonDownInBody(CView* view, CDC* dc, unsigned flags, CPoint point);
  void OnMouseMoveInBody(CView* view, CDC* dc, unsigned flags, CPoint point);
  void OnLButtonUpInBody(CView* view, CDC* dc, unsigned flags, CPoint point);

  // Fields, in declaration order.
  int picture_type_;
  int active_;
  int pick_mode_;
  CPoint press_;
  CPoint last_;
  CPoint menu_point_;
  double width_at_press_;
  bool snap_;
  double snapped_top_;
  bool drag_started_;
  bool button_down_;
  std::vector<std::unique_ptr<CgPicSegment>> segs_;
  int last_number_;
  // Blocks made at depths before the chart was laid out (a template's):
  // each layout spreads them over their interval and the column's width and
  // fits locked ones to their picture, until the kit is first drawn, saved
  // or edited.
  struct PendingFit {
    int number;
    float top_depth, bottom_depth;
  };
  std::vector<PendingFit> fit_pending_;
};

}  // namespace davodu

#endif  // DAVODU_DISPLAY_WP_PICTURE_H_
