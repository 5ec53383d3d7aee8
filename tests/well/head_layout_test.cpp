// The head of a chart reads cleanly: every text of every head stays inside
// its own cell, clear of the head's lines and of every other text, for the
// demo chart and for narrow tracks with long scale values. Heads are laid
// out in map units and devices scale them whole (render draws at zoom 1),
// so what holds here holds at every resolution.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <sstream>
#include <string>
#include <vector>

#include "app/demo_template.h"
#include "davodu/host/graphics/recording_dc.h"
#include "davodu/host/objects/zu_object_cell.h"
#include "davodu/host/util/gbk.h"
#include "davodu/well/chart_template.h"
#include "support/kit_fixture.h"

namespace davodu::testing {
namespace {

struct Box {
  double left, bottom, right, top;
  // Overlap by more than the rounding of draw coordinates.
  bool Overlaps(const Box& o) const {
    constexpr double e = 1;
    return left < o.right - e && o.left < right - e && bottom < o.top - e && o.bottom < top - e;
  }
  bool Inside(const Box& o) const {
    constexpr double e = 1;
    return left >= o.left - e && right <= o.right + e && bottom >= o.bottom - e && top <= o.top + e;
  }
  bool Contains(double x, double y) const { return x >= left && x <= right && y >= bottom && y <= top; }
  double Area() const { return (right - left) * (top - bottom); }
  std::string Str() const {
    std::ostringstream s;
    s << "[" << left << ", " << bottom << " .. " << right << ", " << top << "]";
    return s.str();
  }
};

Box BoxOf(const CRect& r) {
  const CRect n = r.Normalized();
  return {double(n.left), double(n.bottom), double(n.right), double(n.top)};
}

// Where a recorded text lands: the recording device measures a text as
// half its font height per byte wide and its font height tall.
Box TextBox(const DrawOp& op) {
  const double h = op.font->height, w = static_cast<double>(op.text.size()) * h / 2;
  const CPoint at = op.points.at(0);
  const double x = op.align_h == kAlignCenter ? at.x - w / 2 : op.align_h == kAlignRight ? at.x - w : at.x;
  const double y = op.align_v == kAlignMiddle ? at.y - h / 2 : op.align_v == kAlignTop ? at.y - h : at.y;
  return {x, y, x + w, y + h};
}

// The strokes of a polyline as thin boxes, as wide as the pen.
std::vector<Box> StrokeBoxes(const DrawOp& op) {
  std::vector<Box> boxes;
  const double half = std::max(0.5, op.pen ? op.pen->width / 2 : 0.5);
  for (std::size_t i = 0; i + 1 < op.points.size(); ++i) {
    const CPoint a = op.points[i], b = op.points[i + 1];
    boxes.push_back({std::min(a.x, b.x) - half, std::min(a.y, b.y) - half,
                     std::max(a.x, b.x) + half, std::max(a.y, b.y) + half});
  }
  return boxes;
}

class HeadLayout : public KitTest {
 protected:
  CWpWell* Build(const std::string& json_utf8) {
    std::string error;
    EXPECT_TRUE(BuildChartFromTemplate(json_utf8, "示例1井", layer, &error)) << error;
    auto* well = dynamic_cast<CWpWell*>(layer->GetObjectList().back());
    EXPECT_NE(well, nullptr);
    return well;
  }

  // The cells of the head: the well's title band, each track's title band
  // and each content's head row.
  static void Cells(const CWpKit* kit, bool well, std::vector<Box>* cells) {
    const CPoint* n = nullptr;
    CPoint nodes[20];
    for (int i = 0; i < 20; ++i) nodes[i] = kit->DrawNode(i);
    n = nodes;
    if (well) {
      cells->push_back(BoxOf(CRect{n[2].x, n[4].y, n[3].x, n[2].y}));
    } else if (n[4].y != n[2].y) {
      cells->push_back(BoxOf(CRect{n[2].x, n[4].y, n[3].x, n[2].y}));
    }
    for (const CWpKit* c : kit->GetChildren()) Cells(c, false, cells);
    if (!well) return;
    // The header tables: each of their cells.
    const auto* w = static_cast<const CWpWell*>(kit);
    for (int i = 0; i < w->SheetsCount(); ++i) {
      const CZuObjectCell* table = w->GetSheet(i)->upper;
      for (int r = 0; r < table->GetRows(); ++r)
        for (int c = 0; c < table->GetColumns(); ++c)
          cells->push_back(BoxOf(w->GetTranslator().MapToDraw(table->GetCellRect(r, c))));
    }
  }

  // Draws the chart and checks every text above the body.
  void ExpectCleanHead(CWpWell* well) {
    const double zoom = 1;
    doc.GetActiveMap()->SetZoomFactor(zoom);
    for (CZuObject* o : layer->GetObjectList()) o->BuildControlNodePointArray();
    RecordingDC dc(false);
    for (CZuObject* o : layer->GetObjectList()) o->Draw(&dc, nullptr, nullptr, nullptr);

    const double body_top = well->DrawNode(0).y;
    const double head_top = well->DrawNode(4).y;  // above the header tables too
    std::vector<Box> cells;
    Cells(well, true, &cells);
    std::vector<std::pair<std::string, Box>> texts;
    std::vector<Box> strokes;
    for (const DrawOp& op : dc.ops()) {
      if (op.kind == DrawOp::kText) {
        const Box b = TextBox(op);
        if (b.bottom >= body_top - 1 && b.top <= head_top + 1) texts.emplace_back(GbkToUtf8(op.text), b);
      } else if (op.kind == DrawOp::kPolyline || op.kind == DrawOp::kPolygon) {
        for (const Box& s : StrokeBoxes(op))
          if (s.bottom >= body_top - 2 && s.top <= head_top + 2) strokes.push_back(s);
      } else if (op.kind == DrawOp::kEllipse) {
        strokes.push_back(BoxOf(CRect{op.points[0].x, op.points[0].y, op.points[1].x, op.points[1].y}));
      }
    }
    ASSERT_GE(texts.size(), 5u);
    for (std::size_t i = 0; i < texts.size(); ++i) {
      const auto& [text, box] = texts[i];
      SCOPED_TRACE(text + " " + box.Str());
      EXPECT_GT(box.top - box.bottom, 0);
      // Its cell: the smallest cell holding its centre.
      const Box* cell = nullptr;
      for (const Box& c : cells)
        if (c.Contains((box.left + box.right) / 2, (box.bottom + box.top) / 2) &&
            (!cell || c.Area() < cell->Area()))
          cell = &c;
      ASSERT_NE(cell, nullptr);
      EXPECT_TRUE(box.Inside(*cell)) << "outside its cell " << cell->Str();
      for (std::size_t j = i + 1; j < texts.size(); ++j)
        EXPECT_FALSE(box.Overlaps(texts[j].second)) << "runs into " << texts[j].first;
      for (const Box& s : strokes) EXPECT_FALSE(box.Overlaps(s)) << "crosses a line " << s.Str();
    }
  }
};

TEST_F(HeadLayout, TheDemoChartsHeadTextsStayInTheirCells) {
  CWpWell* well = Build(app::kDemoTemplate);
  ASSERT_NE(well, nullptr);
  // Dressed with a larger name and a well symbol.
  testing::DressTitleWithSymbol(well);
  // A header table, one of its texts far too long for its cell.
  WellSheet* sheet = well->AddSheet();
  ASSERT_NE(sheet, nullptr);
  sheet->upper->SetCellText(0, 0, Utf8ToGbk("井名"));
  sheet->upper->SetCellText(0, 1, Utf8ToGbk("示例1井"));
  sheet->upper->SetCellText(1, 0, Utf8ToGbk("油田"));
  sheet->upper->SetCellText(1, 1, Utf8ToGbk("一个名字很长很长很长很长的示例油田"));
  well->Update();
  ExpectCleanHead(well);
}

TEST_F(HeadLayout, NarrowTracksWithLongScaleValuesStayInTheirCells) {
  CWpWell* well = Build(R"json({
    "title": "{well} 窄道长刻度测试图",
    "scale": 200, "top": 1000, "bottom": 1010,
    "tracks": [
      {"kind": "depth", "width": 600, "title": "深度(m)"},
      {"kind": "curve", "width": 1000, "curves": [
        {"name": "RXO8", "left": -1000.25, "right": 25000.5},
        {"name": "GR", "left": 0, "right": 150}]},
      {"kind": "curve", "width": 800, "curves": [
        {"name": "DT24", "left": 140000, "right": -40000.75}]},
      {"kind": "lithology", "width": 500, "title": "岩性剖面"}
    ]})json");
  ASSERT_NE(well, nullptr);
  // Units beside, above and below the names, and scale values on the line.
  int i = 0;
  for (CWpKit* track : well->GetChildren())
    for (CWpKit* kit : track->GetChildren())
      if (auto* curve = dynamic_cast<CWpCurve*>(kit)) {
        curve->SetUnitText(Utf8ToGbk(i % 2 ? "μs/m" : "Ω·m"));
        curve->SetUnitAlign(i % 3 - 1);
        curve->SetLimitAlign(i == 1 ? 0 : i == 2 ? 1 : -1);
        ++i;
      }
  well->Update();
  ExpectCleanHead(well);
}

}  // namespace
}  // namespace davodu::testing
