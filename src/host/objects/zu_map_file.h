// CZuMapFile: a chart document. It holds the maps (and through them the
// layers and root objects), the document's format version, the pop-up menu
// being built, and the draw rectangles invalidated since the last redraw.
#ifndef DAVODU_HOST_OBJECTS_ZU_MAP_FILE_H_
#define DAVODU_HOST_OBJECTS_ZU_MAP_FILE_H_

#include <memory>
#include <string>
#include <vector>

#include "davodu/host/util/types.h"

namespace davodu {

class CZuMap;
class CZuMFile;

struct MenuItem {
  unsigned id = 0;   // 0 with an empty text is a separator
  std::string text;  // GBK
};

class CZuMapFile {
 public:
  // The format version of the documents this system writes; readers of
  // older documents compare against it to apply their conversions.
  static constexpr double kCurrentVersion = 3.011;
  // The version text of the documents this system writes; readers that
  // distinguish the current settings layout from older ones test it.
  static constexpr const char* kCurrentVersionText = "KESMap3.0";

  CZuMapFile();
  ~CZuMapFile();
  CZuMapFile(const CZuMapFile&) = delete;
  CZuMapFile& operator=(const CZuMapFile&) = delete;

  // Format version of the document: kCurrentVersion for a new one, the
  // stored version while and after one is read.
  double GetVersion() const { return version_; }
  void SetVersion(double version) { version_ = version; }
  const std::string& GetVersionText() const { return version_text_; }
  void SetVersionText(std::string text) { version_text_ = std::move(text); }

  // Writes the document to a file (a .wpd chart document, see
  // docs/record-format.md), atomically: the previous file stays intact until
  // the new one is complete. Documents are written in the current version.
  // A file that is a symbolic link stays one (its target is replaced), and
  // a replaced file keeps its permissions (see host/util/atomic_file.h).
  bool SaveToFile(const std::string& path, std::string* error = nullptr);
  // The bytes SaveToFile writes.
  std::string SaveToData();
  // Replaces the content of this document by a document file. A file that is
  // not a document, or a damaged one, leaves this document empty and returns
  // false with *error naming the file and the cause. So does a file that this
  // thread is reading already: a document whose pictures show the document
  // itself (directly or through others) is read once, not without end. flag is kept for
  // callers of the host interface and has no effect.
  bool ReadFromFile(const std::string& path, int flag = 1, std::string* error = nullptr);
  // The same from the bytes of a file; name is used in messages.
  bool ReadFromData(std::string data, const std::string& name, std::string* error = nullptr);

  // The map that views show; a new document has one.
  CZuMap* GetActiveMap() const { return maps_.empty() ? nullptr : maps_.front().get(); }
  CZuMap* AddMap(const std::string& name);
  int GetMapCount() const { return static_cast<int>(maps_.size()); }
  CZuMap* GetMap(int i) const;
  // Removes every map, layer and object.
  void Clear();

  // Pop-up menu being built by a right click.
  void AddMenu(unsigned id, const std::string& gbk_text) { menu_.push_back({id, gbk_text}); }
  const std::vector<MenuItem>& GetMenu() const { return menu_; }
  void ClearMenu() { menu_.clear(); }

  // Invalidation: rectangles in draw coordinates that need redrawing.
  void InvalidateRect(const CRect& rect) { invalid_.push_back(rect); }
  const std::vector<CRect>& GetInvalidRects() const { return invalid_; }
  void ClearInvalidRects() { invalid_.clear(); }

 private:
  void WriteRecords(CZuMFile* file);

  double version_ = kCurrentVersion;
  std::string version_text_ = kCurrentVersionText;
  std::vector<std::unique_ptr<CZuMap>> maps_;
  std::vector<MenuItem> menu_;
  std::vector<CRect> invalid_;
};

}  // namespace davodu

#endif  // DAVODU_HOST_OBJECTS_ZU_MAP_FILE_H_
