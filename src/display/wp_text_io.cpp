// The text kit: records.
#include <algorithm>
#include <string>

#include "davodu/display/wp_text.h"

#include "davodu/host/records/zu_mfile.h"
#include "davodu/host/util/util.h"
#include "davodu/kits/kit_records.h"

namespace davodu {

namespace {

constexpr const char* kAlignTag = "AlignHV";
constexpr const char* kBoundaryTag = "TextBoundary";

}  // namespace

int CWpText::SaveToFile(CZuMFile* file) {
  CWpContent::SaveToFile(file);
  // Text being typed belongs to its block.
  if (editor_)
    for (const auto& s : segs_)
      if (s->editing) s->text = editor_->GetString();

  file->SetRecordNumber(kRecTagged);
  file->AddRecordElement(kAlignTag);
  file->AddRecordElement(align_h_);
  file->AddRecordElement(align_v_);
  file->AddRecordElement(transparent_);
  file->AddRecordElement(&font_, sizeof font_);
  file->AddRecordElement(static_cast<unsigned>(back_color_));
  file->WriteNextRecord();

  file->SetRecordNumber(kRecTagged);
  file->AddRecordElement(kBoundaryTag);
  file->AddRecordElement(&boundary_pen_, sizeof boundary_pen_);
  file->WriteNextRecord();

  // The depths follow the map Y values: a reader takes them as they are,
  // whatever the layout of the chart at reading time.
  for (const auto& s : segs_) {
    file->SetRecordNumber(kRecTagged);
    file->AddRecordElement(s->text);
    file->AddRecordElement(s->top_y);
    file->AddRecordElement(s->bottom_y);
    file->AddRecordElement(s->top_depth);
    file->AddRecordElement(s->bottom_depth);
    file->WriteNextRecord();
  }
  file->SetRecordNumber(kRecEnd);
  file->WriteNextRecord();
  return 1;
}

int CWpText::ReadFromFile(CZuMFile* file) {
  if (!CWpContent::ReadFromFile(file)) return 0;
  ClearContent();
  active_ = -1;
  last_number_ = 0;
  CreateEditor();
  view_set_ = false;
  if (!file->ReadNextRecord()) return 0;
  if (file->GetRecordNumber() == kRecTagged) {
    std::string first;
    file->GetRecordElement(0, first);
    align_h_ = first;
    int at = 1;
    if (first == kAlignTag) {
      file->GetRecordElement(1, align_h_);
      file->GetRecordElement(2, align_v_);
      at = 3;
    }
    file->GetRecordElement(at, transparent_);
    ReadBlock(file, at + 1, &font_);
    unsigned back = back_color_;
    if (file->GetRecordElement(at + 2, back)) back_color_ = back;
    if (!file->ReadNextRecord()) return 0;
    // The boundary pen is the record right after the alignments, known by
    // its place and its pen block: a text block whose text happens to be
    // the tag stays a text block.
    std::string tag;
    if (file->GetRecordNumber() == kRecTagged && file->GetRecordElement(0, tag) &&
        tag == kBoundaryTag && file->GetRecordElementType(1) == CZuMFile::kBytes &&
        ReadBlock(file, 1, &boundary_pen_)) {
      if (!file->ReadNextRecord()) return 0;
    }
  }
  for (;;) {
    if (file->GetRecordNumber() == kRecEnd) return 1;
    if (file->GetRecordNumber() == kRecTagged) {
      std::string text;
      float top = 0, bottom = 0;
      file->GetRecordElement(0, text);
      file->GetRecordElement(1, top);
      file->GetRecordElement(2, bottom);
      AddSegment(text, top, bottom, false);
      // The blocks keep the order of the file, which is the order the kit
      // wrote them in: AddSegment places a block by its height, and among
      // overlapping blocks (a damaged or hand-made file) that place would
      // depend on the order they are read in, so a document would not read
      // back as it was written.
      const auto placed = std::find_if(segs_.begin(), segs_.end(),
                                       [&](const auto& s) { return s->number == last_number_; });
      std::rotate(placed, placed + 1, segs_.end());
      CgTextSegment* added = segs_.back().get();
      float top_depth = 0, bottom_depth = 0;
      if (file->GetRecordElement(3, top_depth) && file->GetRecordElement(4, bottom_depth)) {
        added->top_depth = top_depth;
        added->bottom_depth = bottom_depth;
      } else {
        // Older documents stored only the map Y values; the kit's geometry
        // is not laid out while it is read, so the depths wait for it.
        added->depths_from_y = true;
      }
    }
    if (!file->ReadNextRecord()) return 0;
  }
}

}  // namespace davodu
