// The picture kit: records.
#include <string>

#include "davodu/display/wp_picture.h"
#include "davodu/host/dialogs/dialogs.h"
#include "davodu/host/records/zu_mfile.h"
#include "davodu/host/util/gbk.h"
#include "davodu/kits/kit_records.h"

namespace davodu {

namespace {

// The bytes of a bitmap block's picture file.
constexpr unsigned short kRecPicture = 117;

std::u16string Utf8ToUtf16(const std::string& s) {
  std::u16string out;
  for (std::size_t i = 0; i < s.size();) {
    const auto b = static_cast<unsigned char>(s[i]);
    char32_t c;
    int n;
    if (b < 0x80) {
      c = b, n = 1;
    } else if ((b >> 5) == 6) {
      c = b & 0x1F, n = 2;
    } else if ((b >> 4) == 14) {
      c = b & 0x0F, n = 3;
    } else {
      c = b & 0x07, n = 4;
    }
    if (i + static_cast<std::size_t>(n) > s.size()) break;
    for (int k = 1; k < n; ++k) c = (c << 6) | (static_cast<unsigned char>(s[i + k]) & 0x3F);
    i += static_cast<std::size_t>(n);
    if (c >= 0x10000) {
      c -= 0x10000;
      out += static_cast<char16_t>(0xD800 + (c >> 10));
      out += static_cast<char16_t>(0xDC00 + (c & 0x3FF));
    } else {
      out += static_cast<char16_t>(c);
    }
  }
  return out;
}

std::string Utf16ToUtf8(const std::u16string& w) {
  std::string out;
  for (std::size_t i = 0; i < w.size(); ++i) {
    char32_t c = w[i];
    if (c >= 0xD800 && c < 0xDC00 && i + 1 < w.size() && w[i + 1] >= 0xDC00 && w[i + 1] < 0xE000)
      c = 0x10000 + ((c - 0xD800) << 10) + (w[++i] - 0xDC00);
    else if (c >= 0xD800 && c < 0xE000)
      c = 0xFFFD;
    if (c < 0x80) {
      out += static_cast<char>(c);
    } else if (c < 0x800) {
      out += static_cast<char>(0xC0 | (c >> 6));
      out += static_cast<char>(0x80 | (c & 0x3F));
    } else if (c < 0x10000) {
      out += static_cast<char>(0xE0 | (c >> 12));
      out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
      out += static_cast<char>(0x80 | (c & 0x3F));
    } else {
      out += static_cast<char>(0xF0 | (c >> 18));
      out += static_cast<char>(0x80 | ((c >> 12) & 0x3F));
      out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
      out += static_cast<char>(0x80 | (c & 0x3F));
    }
  }
  return out;
}

}  // namespace

int CWpPicture::SaveToFile(CZuMFile* file) {
  CWpContent::SaveToFile(file);
  // What is saved is what the user sees from now on.
  fit_pending_.clear();
  file->SetRecordNumber(kRecTagged);
  file->AddRecordElement(picture_type_);
  file->WriteNextRecord();
  for (const auto& s : segs_) {
    file->SetRecordNumber(kRecTagged);
    // The whole path, however long: a shortened path names another file.
    file->AddRecordElement(std::u16string_view(Utf8ToUtf16(GbkToUtf8(s->name))));
    file->AddRecordElement(s->top_y);
    file->AddRecordElement(s->bottom_y);
    file->AddRecordElement(s->base_zoom);
    file->AddRecordElement(s->deta_x);
    file->AddRecordElement(s->deta_y);
    file->AddRecordElement(s->scale_lock);
    file->AddRecordElement(s->left);
    file->AddRecordElement(s->right);
    // The depths follow: a reader keeps the block at its interval whatever
    // the layout of the chart at reading time.
    file->AddRecordElement(s->top_depth);
    file->AddRecordElement(s->bottom_depth);
    file->WriteNextRecord();
    // Every bitmap travels with the document, whatever the kit's type, so
    // the chart keeps it when the file is gone.
    const CDIB& dib = s->GetBitmap();
    if (!s->IsMapPicture() && dib.GetTotalBufLength() > 0) {
      file->SetRecordNumber(kRecPicture);
      file->AddRecordElement(dib.GetTotalBuf(), static_cast<std::size_t>(dib.GetTotalBufLength()));
      file->WriteNextRecord();
    }
  }
  file->SetRecordNumber(kRecEnd);
  file->WriteNextRecord();
  return 1;
}

int CWpPicture::ReadFromFile(CZuMFile* file) {
  if (!CWpContent::ReadFromFile(file)) return 0;
  ClearContent();
  fit_pending_.clear();
  if (!file->ReadNextRecord()) return 0;
  if (file->GetRecordNumber() == kRecTagged && file->GetRecordElementType(0) != CZuMFile::kWText) {
    int type = 0;
    if (file->GetRecordElement(0, type)) picture_type_ = type;
    if (!file->ReadNextRecord()) return 0;
  }
  for (;;) {
    const unsigned short n = file->GetRecordNumber();
    if (n == kRecEnd) return 1;
    if (n != kRecTagged) {
      if (!file->ReadNextRecord()) return 0;
      continue;
    }
    std::u16string wide;
    file->GetRecordElement(0, wide);
    const std::string name = Utf8ToGbk(Utf16ToUtf8(wide));
    double top = 0, bottom = 0, zoom = 1, dx = 0, dy = 0;
    double left = kFltMin, right = kFltMin;
    bool lock = false;
    const int count = file->GetRecordElementCount();
    file->GetRecordElement(1, top);
    file->GetRecordElement(2, bottom);
    if (count > 3) file->GetRecordElement(3, zoom);
    if (count > 5) {
      file->GetRecordElement(4, dx);
      file->GetRecordElement(5, dy);
    }
    if (count > 6) file->GetRecordElement(6, lock);
    if (count > 8) {
      file->GetRecordElement(7, left);
      file->GetRecordElement(8, right);
    }
    double top_depth = 0, bottom_depth = 0;
    const bool has_depths = count > 10 && file->GetRecordElement(9, top_depth) &&
                            file->GetRecordElement(10, bottom_depth);
    if (!file->ReadNextRecord()) return 0;
    CgPicSegment* seg = NewSegment(name, top, bottom, left, right);
    const unsigned char* data = nullptr;
    std::size_t length = 0;
    if (file->GetRecordNumber() == kRecPicture && file->GetRecordElement(0, data, length)) {
      seg->GetBitmap().SetTotalBuf(data, length);
      if (!file->ReadNextRecord()) return 0;
    } else {
      // No stored picture: read it from its file, keeping the block's
      // stored size. A file that is gone leaves the block empty.
      std::string why;
      if (!seg->SetPicture(name, &why, false))
        AfxGetDialogs().Message(Gbk("图片无法显示: ") + Utf8ToGbk(why));
      if (seg->IsMapPicture()) {
        seg->SetBaseZoom(zoom > 0 ? zoom : 1);
        seg->deta_x = dx;
        seg->deta_y = dy;
      }
    }
    seg->scale_lock = lock;
    if (has_depths) {
      seg->top_depth = top_depth;
      seg->bottom_depth = bottom_depth;
    } else {
      // Older documents stored only the map Y values; the kit's geometry is
      // not laid out while it is read, so the depths wait for it.
      seg->depths_from_y = true;
    }
  }
}

}  // namespace davodu
