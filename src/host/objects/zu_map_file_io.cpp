// Chart documents on disk. A document is a record file:
//
//   1  document: text "DaVodu chart", double format version, text version text
//   2  map: text name, double zoom factor
//   3  layer: text name; then the layer's root objects, each stored whole
//      (starting with its record 60), then
//   4  end of layer
//   5  end of document
//
// Objects of a class this build cannot create are skipped whole.
#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <memory>
#include <vector>

#include "davodu/host/objects/object_factory.h"
#include "davodu/host/objects/zu_layer.h"
#include "davodu/host/objects/zu_map.h"
#include "davodu/host/objects/zu_map_file.h"
#include "davodu/host/objects/zu_object.h"
#include "davodu/host/records/detail/record_walk.h"
#include "davodu/host/records/record_numbers.h"
#include "davodu/host/records/zu_mfile.h"
#include "davodu/host/util/atomic_file.h"

namespace davodu {

namespace {

constexpr unsigned short kRecDocument = 1;
constexpr unsigned short kRecMap = 2;
constexpr unsigned short kRecLayer = 3;
constexpr unsigned short kRecLayerEnd = 4;
constexpr unsigned short kRecDocumentEnd = 5;
constexpr const char* kMagic = "DaVodu chart";

// The documents being read on this thread, outermost first. A document can
// hold pictures of other documents, read with it; one that is reached again
// while it is being read refers to itself, and reading it again would never
// end.
thread_local std::vector<std::string> g_reading;

std::string CanonicalPath(const std::string& path) {
  std::error_code ec;
  const std::filesystem::path p = std::filesystem::weakly_canonical(path, ec);
  return ec ? path : p.string();
}

class ReadingGuard {
 public:
  explicit ReadingGuard(std::string path) : path_(std::move(path)) {
    again_ = std::find(g_reading.begin(), g_reading.end(), path_) != g_reading.end();
    if (!again_) g_reading.push_back(path_);
  }
  ~ReadingGuard() {
    if (!again_) g_reading.pop_back();
  }
  ReadingGuard(const ReadingGuard&) = delete;
  ReadingGuard& operator=(const ReadingGuard&) = delete;
  // The document is already being read further out.
  bool again() const { return again_; }

 private:
  std::string path_;
  bool again_ = false;
};

}  // namespace

bool CZuMapFile::SaveToFile(const std::string& path, std::string* error) {
  return WriteFileAtomically(path, SaveToData(), error);
}

std::string CZuMapFile::SaveToData() {
  CZuMFile file;
  WriteRecords(&file);
  return file.GetData();
}

void CZuMapFile::WriteRecords(CZuMFile* out) {
  CZuMFile& file = *out;
  file.OpenWrite();
  file.SetRecordNumber(kRecDocument);
  file.AddRecordElement(kMagic);
  file.AddRecordElement(kCurrentVersion);
  file.AddRecordElement(kCurrentVersionText);
  file.WriteNextRecord();
  for (const auto& map : maps_) {
    file.SetRecordNumber(kRecMap);
    file.AddRecordElement(map->GetName());
    file.AddRecordElement(map->GetZoomFactor());
    file.WriteNextRecord();
    for (int i = 0; i < map->GetLayerCount(); ++i) {
      CZuLayer* layer = map->GetLayer(i);
      file.SetRecordNumber(kRecLayer);
      file.AddRecordElement(layer->GetName());
      file.WriteNextRecord();
      for (CZuObject* obj : layer->GetObjectList()) obj->SaveToFile(&file);
      file.SetRecordNumber(kRecLayerEnd);
      file.WriteNextRecord();
    }
  }
  file.SetRecordNumber(kRecDocumentEnd);
  file.WriteNextRecord();
}

bool CZuMapFile::ReadFromFile(const std::string& path, int, std::string* error) {
  ReadingGuard guard(CanonicalPath(path));
  if (guard.again()) {
    Clear();
    if (error) *error = path + ": the document refers to itself (it is being read already)";
    return false;
  }
  std::string data;
  {
    std::FILE* f = std::fopen(path.c_str(), "rb");
    if (!f) {
      if (error) *error = "cannot open " + path + ": " + std::strerror(errno);
      return false;
    }
    char buffer[1 << 16];
    std::size_t n;
    while ((n = std::fread(buffer, 1, sizeof buffer, f)) > 0) data.append(buffer, n);
    const bool failed = std::ferror(f) != 0;
    std::fclose(f);
    if (failed) {
      if (error) *error = "cannot read " + path;
      return false;
    }
  }
  return ReadFromData(std::move(data), path, error);
}

bool CZuMapFile::ReadFromData(std::string data, const std::string& name, std::string* error) {
  Clear();
  auto fail = [&](const std::string& why) {
    Clear();
    if (error) *error = name + ": " + why;
    return false;
  };
  CZuMFile file;
  std::string header_error;
  if (!file.OpenRead(std::move(data), &header_error)) return fail("not a chart document (" + header_error + ")");
  std::string magic;
  if (!file.ReadNextRecord() || file.GetRecordNumber() != kRecDocument ||
      !file.GetRecordElement(0, magic) || magic != kMagic)
    return fail("not a chart document");
  double version = 0;
  if (!file.GetRecordElement(1, version)) return fail("the document has no format version");
  version_ = version;
  version_text_.clear();
  file.GetRecordElement(2, version_text_);

  CZuMap* map = nullptr;
  CZuLayer* layer = nullptr;
  bool pending = false;
  while (pending || file.ReadNextRecord()) {
    pending = false;
    switch (file.GetRecordNumber()) {
      case kRecMap: {
        std::string map_name;
        double zoom = 1;
        file.GetRecordElement(0, map_name);
        file.GetRecordElement(1, zoom);
        map = AddMap(map_name);
        map->SetZoomFactor(zoom);
        layer = nullptr;
        break;
      }
      case kRecLayer: {
        if (!map) return fail("a layer outside any map");
        std::string layer_name;
        file.GetRecordElement(0, layer_name);
        layer = map->AddLayer(layer_name);
        break;
      }
      case kRecLayerEnd:
        if (layer) {
          const std::vector<CZuObject*> objects = layer->GetObjectList();
          for (CZuObject* obj : objects) obj->OnLayerRead();
        }
        layer = nullptr;
        break;
      case kRecKitStart: {
        if (!layer) return fail("an object outside any layer");
        std::string class_name;
        file.GetRecordElement(0, class_name);
        auto ended = [&] {
          return fail(file.IsDamaged() ? "damaged: " + file.GetDamage()
                                       : "truncated inside an object of class " + class_name);
        };
        CZuObject* obj = AfxGetObjectFactory()->CreateObject(class_name);
        if (!obj) {
          // A class this build does not know: skip the object whole.
          if (!WalkObjectRecords(&file, 1, nullptr, &pending)) return ended();
          break;
        }
        std::unique_ptr<CZuObject, void (*)(CZuObject*)> guard(
            obj, [](CZuObject* o) { AfxGetObjectFactory()->DeleteObject(o); });
        obj->SetLayer(layer);
        obj->SetZoomFactor(layer->GetZoomFactor());
        if (!obj->ReadFromFile(&file)) {
          guard.reset();  // while its layer still exists
          return ended();
        }
        layer->AddObject(guard.release());
        break;
      }
      case kRecDocumentEnd:
        if (file.ReadNextRecord()) return fail("records after the end of the document");
        if (file.IsDamaged()) return fail("damaged: " + file.GetDamage());
        if (maps_.empty()) AddMap("");
        return true;
      default:
        return fail("unexpected record " + std::to_string(file.GetRecordNumber()));
    }
    if (file.IsDamaged()) return fail("damaged: " + file.GetDamage());
  }
  if (file.IsDamaged()) return fail("damaged: " + file.GetDamage());
  return fail("truncated: the document has no end record");
}

}  // namespace davodu
