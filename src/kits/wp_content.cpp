// The content base: defaults, records, hit test, title and blank bands.
// The mouse gestures are in wp_content_gestures.cpp.
#include "davodu/kits/wp_content.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <vector>

#include "davodu/host/graphics/dc.h"
#include "davodu/host/graphics/graph_tool.h"
#include "davodu/host/objects/zu_map.h"
#include "davodu/host/records/zu_mfile.h"
#include "davodu/host/util/gbk.h"
#include "davodu/kits/head_text.h"
#include "davodu/host/util/util.h"
#include "davodu/kits/kit_records.h"
#include "davodu/well/wp_track.h"
#include "davodu/well/wp_well.h"

namespace davodu {

DAVODU_IMPLEMENT_DYNCREATE(CWpContent, CWpInWell)

CWpContent::CWpContent(CZuLayer* layer) : CWpInWell(layer) { Initialize(); }

void CWpContent::Initialize() {
  class_name_ = "CWpContent";
  name_ = type_name_ = title_text_ = "WpContent";
  title_font_.height = 400;
  title_font_.color = 0x800080;
  title_direction_ = 0;
  border_pen_.width = 10;
  border_flags_[9] = 0;
  type_ = 0;
  pen_ = ZULOGPEN{};
  pen_.color = 0x800080;
  pen_.width = 40;
  group_ = 0;
  drop_target_ = nullptr;
}

void CWpContent::Clear() {
  CWpInWell::Clear();
  Initialize();
}

CWpTrack* CWpContent::ParentTrack() const { return dynamic_cast<CWpTrack*>(parent_); }

// Contents place their head like every kit, except that nodes 6 and 7 mark
// the middle of the title band, where the width handles sit.
void CWpContent::BuildHead() {
  CWpKit::BuildHead();
  const double mid = (map_nodes_[2].y + map_nodes_[4].y) / 2;
  map_nodes_[6].y = mid;
  map_nodes_[7].y = mid;
  MapToDrawNode(6);
  MapToDrawNode(7);
}

void CWpContent::ApplyStyle() {
  CWpKit::ApplyStyle();
  if (CWpWell* well = GetWell(); well && well->GetStyle() > 3) border_flags_[2] = 1;
}

void CWpContent::SetTtlFtScope(int scope) { title_font_scope_ = std::clamp(scope, 0, 4); }

bool CWpContent::IfLineStyleUsed(int code) const { return code == pen_.style; }

void CWpContent::Amplify(FLOATPOINT centre, double fx, double fy) {
  CWpInWell::Amplify(centre, fx, fy);
  pen_.width = static_cast<float>(pen_.width * fx);
}

void CWpContent::DuplicateAttribute(CZuObject* target) {
  CWpInWell::DuplicateAttribute(target);
  if (auto* c = dynamic_cast<CWpContent*>(target); c && c != this) {
    c->type_ = type_;
    c->pen_ = pen_;
    c->group_ = group_;
  }
}

bool CWpContent::IsGroup() {
  CWpTrack* track = ParentTrack();
  return track && track->GroupContentCount(group_) > 1;
}

bool CWpContent::PtInBody(CPoint p) const {
  const CPoint* n = draw_nodes_;
  return p.x > n[0].x && p.x < n[1].x && p.y > n[11].y && p.y < n[0].y;
}

// A content is hit on its handles, inside its title band or inside its
// body; its client band (the rows of the groups below) belongs to the
// track, so a click there reaches the track instead.
CZuObject* CWpContent::HitTest(CPoint p) {
  if (!visible_) return nullptr;
  const int handle = NodeHitTest(p);
  if (handle != CN_NONE && handle != CN_BODY_MOVE) return this;
  const CPoint* n = draw_nodes_;
  if (p.x > n[0].x && p.x < n[1].x &&
      ((p.y > n[2].y && p.y < n[4].y) || (p.y > n[10].y && p.y < n[0].y)))
    return this;
  return nullptr;
}

double CWpContent::LP2MP(int v) const { return GetTranslator().DrawYToMapY(v); }
FLOATPOINT CWpContent::LP2MP(CPoint p) const { return GetTranslator().DrawToMap(p); }
int CWpContent::MP2LP(double y) const { return GetTranslator().MapYToDrawY(y); }
CPoint CWpContent::MP2LP(FLOATPOINT p) const { return GetTranslator().MapToDraw(p); }
CRect CWpContent::MP2LP(const FLOATSIZE& s) const { return GetTranslator().MapSizeToDraw(s); }
CRect CWpContent::MP2LP(const FLOATRECT& r) const { return GetTranslator().MapToDraw(r); }

// ---------------------------------------------------------------- records

int CWpContent::SaveToFile(CZuMFile* file) {
  CWpInWell::SaveToFile(file);
  file->SetRecordNumber(kRecTagged);
  file->AddRecordElement("Cnt");
  file->AddRecordElement(&pen_, sizeof pen_);
  file->AddRecordElement(group_);
  file->WriteNextRecord();
  file->SetRecordNumber(kRecEnd);
  file->WriteNextRecord();
  return 1;
}

int CWpContent::ReadFromFile(CZuMFile* file) {
  if (!CWpInWell::ReadFromFile(file)) return 0;
  while (file->ReadNextRecord()) {
    const unsigned short n = file->GetRecordNumber();
    if (n == kRecEnd) return 1;
    if (n != kRecTagged) continue;
    std::string tag;
    file->GetRecordElement(0, tag);
    if (!EqualsNoCase(tag, "Cnt")) continue;
    ReadBlock(file, 1, &pen_);
    file->GetRecordElement(2, group_);
  }
  return 0;
}

// ---------------------------------------------------------------- drawing

void CWpContent::Draw(CDC* dc, CView* view, CRect* clip, CRect* done) {
  if (!visible_) return;
  CWpInWell::Draw(dc, view, clip, done);
  DrawBlankSpace(dc, view);
  DrawBorder(dc, view, clip, done);
  DrawTitle(dc, view, clip, done);
}

void CWpContent::DrawBlankSpace(CDC* dc, CView*) {
  CWpWell* well = GetWell();
  if (!well || !well->IsBlankSpace()) return;
  const FaultInfo& info = well->GetFaultInfo();
  ZULOGBRUSH white;
  white.style = kBrushDefaultSolid;
  white.color = 0xFFFFFF;
  const CCoordTranslator& tr = GetTranslator();
  for (std::size_t i = 0; i + 1 < info.points.size(); ++i) {
    const ZUPOINT3D& p = info.points[i];
    const double top = DepToMapY(p.x);
    const double bottom = top - p.z * dep_scl_;
    const CRect band = tr.MapToDraw(FLOATRECT{map_nodes_[0].x, top, map_nodes_[1].x, bottom});
    AfxGetFillTool().FillRect(dc, band.Normalized(), white, zoom_);
    if (info.line) {
      AfxGetLineTool().DrawLine(dc, {band.left, band.top}, {band.right, band.top}, info.pen, zoom_);
      AfxGetLineTool().DrawLine(dc, {band.left, band.bottom}, {band.right, band.bottom}, info.pen,
                                zoom_);
    }
  }
}

void CWpContent::DrawTitle(CDC* dc, CView*, CRect*, CRect*) {
  if (!title_visible_ || title_text_.empty() || head_align_ < 0) return;
  std::string text = title_text_;
  if (text.size() % 2 == 1 && title_direction_ != 1) text += ' ';
  const double zoom = layer_ ? GetTranslator().zoom() : zoom_;
  const double w = title_font_.GetWidth();
  const double n = static_cast<double>(text.size());
  const bool horizontal = title_direction_ == 1 || (title_direction_ <= 0 && w * n < width_);
  const bool vertical = !horizontal && (title_direction_ > 1 || width_ - w * n < 0.001);
  if (!horizontal && !vertical) return;
  // The block shrinks to fit inside its title band, clear of the frame.
  const double pad = kHeadCellPad * zoom;
  const CPoint* d = draw_nodes_;
  const double avail_w = std::abs(d[3].x - d[2].x) - 2 * pad;
  const double avail_h = std::abs(d[4].y - d[2].y) - 2 * pad;
  const ZULOGFONT font = ScaledFont(
      title_font_, horizontal ? FitFactor(HorizontalTextBlockSize(dc, text, title_font_, zoom),
                                          avail_w, avail_h)
                              : FitFactor(VerticalTextBlockSize(text, title_font_, zoom), avail_w,
                                          avail_h));
  const int x = d[8].x;
  auto draw_at = [&](int y) {
    if (horizontal)
      DrawHorizontalTextBlock(dc, x, y, text, font, zoom);
    else
      DrawVerticalTextBlock(dc, x, y, text, font, zoom);
  };
  draw_at((d[4].y + d[2].y) / 2);
  if (head_align_ > 0) draw_at((d[14].y + d[12].y) / 2);
}

void CWpContent::DrawContentMark(CDC* dc, bool handles) {
  ZULOGPEN frame = border_pen_;
  frame.style = kPenMarkSelection;
  frame.rop = kRopNotXor;
  const CLineTool& line = AfxGetLineTool();
  const CPoint* n = draw_nodes_;
  auto join = [&](int a, int b) { line.DrawLine(dc, n[a], n[b], frame, zoom_); };
  if (head_align_ >= 0) {
    join(4, 5);
    join(2, 4);
    join(3, 5);
  }
  join(2, 3);
  if (client_height_ > 1) join(0, 1);
  join(0, 10);
  join(1, 11);
  join(10, 11);
  if (!handles) return;
  ZULOGPEN square = frame;
  square.style = kPenMarkTopRight;
  DrawNodeSquare(dc, 5, square);
  square.style = kPenMarkHandle;
  for (int i : {6, 7, 8, 9}) DrawNodeSquare(dc, i, square);
}

namespace {

std::vector<std::string> SplitLines(const std::string& text) {
  std::vector<std::string> lines;
  std::size_t start = 0;
  for (;;) {
    const std::size_t end = text.find('\n', start);
    lines.push_back(text.substr(start, end == std::string::npos ? std::string::npos : end - start));
    if (end == std::string::npos) return lines;
    start = end + 1;
  }
}

// GBK characters of a line: a byte with the high bit set starts a two-byte
// character, which stays whole (a lead byte at the very end stands alone).
std::vector<std::string> SplitCharacters(const std::string& line) {
  std::vector<std::string> chars;
  for (std::size_t i = 0; i < line.size();) {
    const std::size_t len = (static_cast<unsigned char>(line[i]) & 0x80) && i + 1 < line.size() ? 2 : 1;
    chars.push_back(line.substr(i, len));
    i += len;
  }
  return chars;
}

}  // namespace

TextSize HorizontalTextBlockSize(CDC* dc, const std::string& text, const ZULOGFONT& font,
                                 double zoom) {
  const std::vector<std::string> lines = SplitLines(text);
  TextSize size;
  for (const std::string& line : lines)
    size.width = std::max(size.width, HeadTextSize(dc, line, font, zoom).width);
  size.height = zoom * std::fabs(static_cast<double>(font.height)) * static_cast<double>(lines.size());
  return size;
}

TextSize VerticalTextBlockSize(const std::string& text, const ZULOGFONT& font, double zoom) {
  const std::vector<std::string> lines = SplitLines(text);
  std::size_t chars = 0;
  for (const std::string& line : lines) chars = std::max(chars, SplitCharacters(line).size());
  // Columns stand two character widths apart; characters one font height.
  const double w = std::fabs(static_cast<double>(font.GetWidth())) * zoom;
  const double h = std::fabs(static_cast<double>(font.height)) * zoom;
  return {w * 2 * static_cast<double>(lines.size()), h * static_cast<double>(chars)};
}

void DrawHorizontalTextBlock(CDC* dc, int x, int y, const std::string& text, const ZULOGFONT& font,
                             double zoom) {
  const std::vector<std::string> lines = SplitLines(text);
  const int n = static_cast<int>(lines.size());
  const int k = n / 2;
  const double h = font.height;
  const double y0 = n % 2 ? y : y - zoom * h / 2;
  for (int i = 0; i < n; ++i) {
    const int yi = SaturatingInt(y0 - zoom * h * (i - k));
    AfxGetTextTool().DrawText(dc, CPoint{x, yi}, lines[static_cast<std::size_t>(i)], font, zoom, 0,
                              kAlignCenter, kAlignMiddle);
  }
}

void DrawVerticalTextBlock(CDC* dc, int x, int y, const std::string& text, const ZULOGFONT& font,
                           double zoom) {
  const std::vector<std::string> lines = SplitLines(text);
  const int n = static_cast<int>(lines.size());
  const double w = font.GetWidth();
  const double h = font.height;
  for (int i = 0; i < n; ++i) {
    const double cx = n % 2 ? x + zoom * w * 2 * (i - n / 2) : x + zoom * w + zoom * w * 2 * (i - n / 2);
    const std::vector<std::string> chars = SplitCharacters(lines[static_cast<std::size_t>(i)]);
    const int m = static_cast<int>(chars.size());
    const double y1 = m % 2 ? y : y - zoom * h / 2;
    for (int j = 0; j < m; ++j) {
      const CPoint at{SaturatingInt(cx), SaturatingInt(y1 - zoom * h * (j - m / 2))};
      AfxGetTextTool().DrawText(dc, at, chars[static_cast<std::size_t>(j)], font, zoom, 0,
                                kAlignCenter, kAlignMiddle);
    }
  }
}

}  // namespace davodu
