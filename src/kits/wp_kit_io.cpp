// Reading and writing of the kit records: the base section with the "Kit"
// record and the nested children.
#include <algorithm>
#include <cstring>
#include <string>

#include "davodu/host/objects/object_factory.h"
#include "davodu/host/records/detail/record_walk.h"
#include "davodu/host/records/zu_mfile.h"
#include "davodu/host/util/gbk.h"
#include "davodu/kits/kit_records.h"
#include "davodu/kits/wp_kit.h"

namespace davodu {

namespace {

// Documents nest kits a few levels deep (well, track, sub-track, content).
// A file that nests deeper is damaged; refusing it keeps the recursive
// reader's stack bounded.
constexpr int kMaxNesting = 64;
thread_local int g_nesting = 0;

struct NestingGuard {
  NestingGuard() { ++g_nesting; }
  ~NestingGuard() { --g_nesting; }
  bool ok() const { return g_nesting <= kMaxNesting; }
};

}  // namespace

int CWpKit::SaveToFile(CZuMFile* file) {
  file->SetRecordNumber(kRecKitStart);
  file->AddRecordElement(GetRuntimeClass()->class_name);
  file->WriteNextRecord();
  CZuObject::SaveToFile(file);

  // Node 0 is the anchor: the record holds the present position even when
  // the nodes have not been rebuilt since it was set. The nodes themselves
  // stay as laid out (a well's node 0 is the left end of its span, not its
  // anchor): saving a chart must not change the chart being edited.
  const FLOATPOINT stored[2] = {position_, map_nodes_[1]};
  file->SetRecordNumber(kRecTagged);
  file->AddRecordElement("Kit");
  file->AddRecordElement(stored, 20);
  file->AddRecordElement(width_);
  file->AddRecordElement(title_height_);
  file->AddRecordElement(client_height_);
  file->AddRecordElement(top_depth_);
  file->AddRecordElement(bottom_depth_);
  file->AddRecordElement(dep_scl_);
  file->AddRecordElement(sand_thick_);
  file->AddRecordElement(shale_thick_);
  file->AddRecordElement(auto_depth_);
  file->AddRecordElement(title_visible_);
  file->AddRecordElement(title_text_);
  file->AddRecordElement(&title_font_, sizeof title_font_);
  file->AddRecordElement(title_direction_);
  file->AddRecordElement(border_mode_);
  for (int flag : border_flags_) file->AddRecordElement(flag);
  file->AddRecordElement(&border_pen_, sizeof border_pen_);
  file->AddRecordElement(head_align_);
  file->AddRecordElement(&client_brush_, sizeof client_brush_);
  file->AddRecordElement(client_fill_style_set_);
  file->WriteNextRecord();

  for (CWpKit* child : children_) child->SaveToFile(file);

  file->SetRecordNumber(kRecEnd);
  file->WriteNextRecord();
  return 1;
}

void CWpKit::ReadKitRecord(CZuMFile* file) {
  const unsigned char* data = nullptr;
  std::size_t length = 0;
  if (file->GetRecordElement(1, data, length)) {
    std::memcpy(static_cast<void*>(map_nodes_), data, std::min<std::size_t>(length, 20));
    position_ = map_nodes_[0];
  }
  file->GetRecordElement(2, width_);
  file->GetRecordElement(3, title_height_);
  file->GetRecordElement(4, client_height_);
  file->GetRecordElement(5, top_depth_);
  file->GetRecordElement(6, bottom_depth_);
  file->GetRecordElement(7, dep_scl_);
  file->GetRecordElement(8, sand_thick_);
  file->GetRecordElement(9, shale_thick_);
  file->GetRecordElement(10, auto_depth_);
  auto_depth_ = 0;  // never restored: it would move the depths on the next scale change
  file->GetRecordElement(11, title_visible_);
  file->GetRecordElement(12, title_text_);
  ReadBlock(file, 13, &title_font_);
  title_font_.face[sizeof title_font_.face - 1] = '\0';
  file->GetRecordElement(14, title_direction_);
  file->GetRecordElement(15, border_mode_);
  for (int i = 0; i < kBorderCount; ++i) file->GetRecordElement(16 + i, border_flags_[i]);
  ReadBlock(file, 26, &border_pen_);
  int last = 26;
  const int count = file->GetRecordElementCount();
  if (count >= 28) file->GetRecordElement(last = 27, head_align_);
  if (count >= 29) {
    ReadBlock(file, 28, &client_brush_);
    last = 28;
  }
  client_fill_style_set_.clear();
  file->GetRecordElement(last + 1, client_fill_style_set_);
  // A damaged file can carry anything: keep the values the code relies on
  // within their ranges.
  if (!(dep_scl_ >= 1)) dep_scl_ = 200;
}

bool CWpKit::ReadLegacyChild(CZuMFile*, const std::string&, CWpKit*) { return false; }

int CWpKit::ReadFromFile(CZuMFile* file) {
  NestingGuard guard;
  if (!guard.ok()) return 0;
  bool pending = false;
  while (pending || file->ReadNextRecord()) {
    pending = false;
    switch (file->GetRecordNumber()) {
      case kRecEnd:
        return 1;
      case kRecKitStart: {
        std::string class_name;
        file->GetRecordElement(0, class_name);
        CZuObject* obj = AfxGetObjectFactory()->CreateObject(class_name);
        auto* child = dynamic_cast<CWpKit*>(obj);
        if (!child) {
          AfxGetObjectFactory()->DeleteObject(obj);
          // A kit of a class this build does not know: skip it whole.
          if (!WalkObjectRecords(file, 1, nullptr, &pending)) return 0;
          break;
        }
        if (ReadLegacyChild(file, class_name, child)) break;
        child->SetParent(this);
        child->SetLayer(layer_);
        child->SetZoomFactor(zoom_);
        if (child->ReadFromFile(file))
          AddChild(child);
        else
          AfxGetObjectFactory()->DeleteObject(child);
        break;
      }
      case kRecTagged: {
        std::string tag;
        file->GetRecordElement(0, tag);
        if (EqualsNoCase(tag, "Kit")) ReadKitRecord(file);
        break;
      }
      default:
        if (ReadObjectRecord(file) < 0) return 0;
        break;
    }
  }
  return 0;
}

}  // namespace davodu
