#include "davodu/host/records/record_dump.h"

#include <cstdio>
#include <string>

#include "davodu/host/records/detail/record_walk.h"
#include "davodu/host/records/record_numbers.h"
#include "davodu/host/records/zu_mfile.h"
#include "davodu/host/util/gbk.h"

namespace davodu {

namespace {

void AppendQuoted(std::string& out, const std::string& utf8) {
  out += '"';
  for (unsigned char c : utf8) {
    if (c == '"' || c == '\\') {
      out += '\\';
      out += static_cast<char>(c);
    } else if (c < 0x20 || c == 0x7F) {
      char buf[8];
      std::snprintf(buf, sizeof buf, "\\x%02x", c);
      out += buf;
    } else {
      out += static_cast<char>(c);
    }
  }
  out += '"';
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

std::string FormatRecord(const CZuMFile& file) {
  std::string out = std::to_string(file.GetRecordNumber());
  char buf[64];
  for (int i = 0; i < file.GetRecordElementCount(); ++i) {
    out += ' ';
    switch (file.GetRecordElementType(i)) {
      case CZuMFile::kInt: {
        int v = 0;
        file.GetRecordElement(i, v);
        out += std::to_string(v);
        break;
      }
      case CZuMFile::kUInt: {
        unsigned v = 0;
        file.GetRecordElement(i, v);
        out += std::to_string(v) + "u";
        break;
      }
      case CZuMFile::kShort: {
        short v = 0;
        file.GetRecordElement(i, v);
        out += std::to_string(v) + "s";
        break;
      }
      case CZuMFile::kBool: {
        bool v = false;
        file.GetRecordElement(i, v);
        out += v ? "true" : "false";
        break;
      }
      case CZuMFile::kFloat: {
        float v = 0;
        file.GetRecordElement(i, v);
        std::snprintf(buf, sizeof buf, "%.9gf", static_cast<double>(v));
        out += buf;
        break;
      }
      case CZuMFile::kDouble: {
        double v = 0;
        file.GetRecordElement(i, v);
        std::snprintf(buf, sizeof buf, "%.17g", v);
        out += buf;
        break;
      }
      case CZuMFile::kU64: {
        std::uint64_t v = 0;
        file.GetRecordElement(i, v);
        out += std::to_string(v) + "q";
        break;
      }
      case CZuMFile::kText: {
        std::string v;
        file.GetRecordElement(i, v);
        AppendQuoted(out, GbkToUtf8(v));
        break;
      }
      case CZuMFile::kWText: {
        std::u16string v;
        file.GetRecordElement(i, v);
        out += 'L';
        AppendQuoted(out, Utf16ToUtf8(v));
        break;
      }
      case CZuMFile::kBytes: {
        const unsigned char* data = nullptr;
        std::size_t length = 0;
        file.GetRecordElement(i, data, length);
        out += 'x';
        for (std::size_t k = 0; k < length; ++k) {
          std::snprintf(buf, sizeof buf, "%02x", data[k]);
          out += buf;
        }
        break;
      }
      default:
        out += '?';
        break;
    }
  }
  return out;
}

bool DumpDocument(const std::string& path, std::ostream& out, std::string* error) {
  CZuMFile file;
  std::string why;
  if (!file.OpenReadFile(path, &why)) {
    *error = why;
    return false;
  }
  auto print = [&out](const CZuMFile& f, int depth) {
    out << std::string(static_cast<std::size_t>(depth) * 2, ' ') << FormatRecord(f) << '\n';
  };
  bool first = true;
  int depth = 0;
  bool pending = false;
  unsigned short last = 0;
  while (pending || file.ReadNextRecord()) {
    pending = false;
    const unsigned short n = file.GetRecordNumber();
    last = n;
    if (first) {
      std::string magic;
      if (n != 1 || !file.GetRecordElement(0, magic) || magic != "DaVodu chart") {
        *error = path + ": not a chart document";
        return false;
      }
      first = false;
    }
    // Maps and layers indent what they hold; objects are walked whole.
    if (n == 4 || n == 5) depth = n == 4 ? 1 : 0;
    print(file, depth);
    if (n == 2) depth = 1;
    if (n == 3) depth = 2;
    if (n == kRecKitStart && !WalkObjectRecords(&file, depth + 1, print, &pending)) break;
  }
  if (file.IsDamaged()) {
    *error = path + ": damaged: " + file.GetDamage();
    return false;
  }
  if (first) {
    *error = path + ": not a chart document";
    return false;
  }
  if (last != 5) {
    *error = path + ": truncated: the document has no end record";
    return false;
  }
  return true;
}

}  // namespace davodu
