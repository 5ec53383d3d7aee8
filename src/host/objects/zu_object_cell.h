// CZuObjectCell: a host table object, a grid of rows × columns of equal
// cells with a text in each.
//
// The table stands with its bottom-left corner at its position and spans its
// size (map units). Its frame is drawn with the outer pen, the lines between
// the cells with the inner pen, the texts centred in their cells in the
// table's font. A table may be managed by another object (a chart that
// carries it in its head): the layer still owns, saves and reads it, but the
// manager draws it (DrawCell) and the table's own Draw leaves it alone.
//
// Records: 60 "CZuObjectCell", the host object's records, one 153 "Cell"
// with the grid, one 153 "CellText" (row, column, text) per filled cell,
// then 80.
//
// Only filled cells are kept, so a table costs memory for its texts alone,
// whatever grid it claims: a document that asks for a thousand tables of
// 1000 × 1000 cells holds a thousand empty grids, not a billion texts.
#ifndef DAVODU_HOST_OBJECTS_ZU_OBJECT_CELL_H_
#define DAVODU_HOST_OBJECTS_ZU_OBJECT_CELL_H_

#include <map>
#include <string>
#include <utility>

#include "davodu/host/graphics/styles.h"
#include "davodu/host/objects/zu_object.h"
#include "davodu/host/util/types.h"

namespace davodu {

class CZuObjectCell : public CZuObject {
  DAVODU_DECLARE_DYNCREATE(CZuObjectCell)

 public:
  static constexpr int kMaxRowsOrColumns = 1000;

  explicit CZuObjectCell(CZuLayer* layer);

  // --- Host object slots.
  // Draws the table unless a manager draws it.
  void Draw(CDC* dc, CView* view, CRect* clip, CRect* done) override;
  void BuildControlNodePointArray() override;
  using CZuObject::SetPosition;
  void SetPosition(FLOATPOINT position) override;
  void Move(double dx, double dy) override;
  void Amplify(FLOATPOINT centre, double fx, double fy) override;
  void DuplicateAttribute(CZuObject* target) override;
  int ReadFromFile(CZuMFile* file) override;
  int SaveToFile(CZuMFile* file) override;
  void Clear() override;
  bool IfLineStyleUsed(int code) const override;

  // Draws the grid and the texts, whoever manages the table.
  void DrawCell(CDC* dc) const;

  // --- Grid. Rows and columns are kept within 1..kMaxRowsOrColumns; the
  // texts of the cells that remain are kept.
  int GetRows() const { return rows_; }
  int GetColumns() const { return columns_; }
  void SetRowsAndColumns(int rows, int columns);
  const FLOATSIZE& GetSize() const { return size_; }
  // Negative or non-finite lengths count as 0.
  void SetSize(FLOATSIZE size);
  const ZULOGPEN& GetOuterPen() const { return outer_pen_; }
  void SetOuterPen(const ZULOGPEN& pen) { outer_pen_ = pen; }
  const ZULOGPEN& GetInnerPen() const { return inner_pen_; }
  void SetInnerPen(const ZULOGPEN& pen) { inner_pen_ = pen; }
  const ZULOGFONT& GetFont() const { return font_; }
  void SetFont(const ZULOGFONT& font) { font_ = font; }
  // Text of a cell (GBK); empty, and ignored when set, outside the grid.
  std::string GetCellText(int row, int column) const;
  void SetCellText(int row, int column, std::string text);
  // The map rectangle of a cell (row 0 at the top, column 0 at the left);
  // zero outside the grid.
  FLOATRECT GetCellRect(int row, int column) const;

  // The object that carries and draws the table; not stored.
  CZuObject* GetManager() const { return manager_; }
  void SetManager(CZuObject* manager) { manager_ = manager; }

 private:
  void Initialize();
  // Map rectangle and draw rectangle from the position and the size.
  void UpdateRects();
  bool InGrid(int row, int column) const {
    return row >= 0 && row < rows_ && column >= 0 && column < columns_;
  }

  int rows_;
  int columns_;
  FLOATSIZE size_;
  ZULOGPEN outer_pen_;
  ZULOGPEN inner_pen_;
  ZULOGFONT font_;
  std::map<std::pair<int, int>, std::string> texts_;  // (row, column) -> text, filled cells only
  CZuObject* manager_ = nullptr;
};

}  // namespace davodu

#endif  // DAVODU_HOST_OBJECTS_ZU_OBJECT_CELL_H_
