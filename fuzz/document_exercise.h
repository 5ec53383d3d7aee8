// The exercise of the document fuzzer, shared with the test that replays
// its corpus.
//
// A mutated document nearly always fails a record checksum and is refused
// before any kit reads a value, so the input's checksums are recomputed
// first: every kit reader then sees hostile values. A document that reads
// is laid out and drawn (on a device that only counts), written, and what
// is written must read back and write the same bytes again.
#ifndef DAVODU_FUZZ_DOCUMENT_EXERCISE_H_
#define DAVODU_FUZZ_DOCUMENT_EXERCISE_H_

#include <cstddef>
#include <cstdint>
#include <string>
#include <memory>
#include <vector>

#include "davodu/davodu.h"
#include "davodu/host/graphics/dc.h"
#include "zu_mfile_exercise.h"

namespace davodu::fuzzing {

// A device that draws nothing and counts what it is asked to draw.
class CountingDC : public CDC {
 public:
  bool IsInteractive() const override { return false; }
  void Polyline(const CPoint*, std::size_t n, const DevicePen&) override { points += n; }
  void Polygon(const CPoint*, std::size_t n, const DevicePen*, const DeviceBrush*) override { points += n; }
  void Ellipse(const CRect&, const DevicePen*, const DeviceBrush*) override { ++shapes; }
  void Text(CPoint, const std::string& text, const DeviceFont&, double, int, int) override {
    characters += text.size();
  }
  TextSize MeasureText(const std::string& text, const DeviceFont&) override {
    return {static_cast<double>(text.size()) * 50.0, 100.0};
  }
  void Image(const CRect&, const std::shared_ptr<const DeviceImage>&) override { ++shapes; }
  int SaveDC() override { return ++level; }
  void RestoreDC(int to) override { level = to < 0 ? level - 1 : to - 1; }
  void SetClipRect(const CRect&) override {}
  void SetClipPolygon(const CPoint*, std::size_t n) override { points += n; }

  std::size_t points = 0, shapes = 0, characters = 0;
  int level = 0;
};

// Lays out and draws the active map the way `davodu render` does.
inline void DrawDocument(CZuMapFile* doc) {
  CZuMap* map = doc->GetActiveMap();
  if (!map) return;
  map->SetOrigin(FLOATPOINT{0, 0});
  map->SetZoomFactor(1);
  CountingDC dc;
  for (int i = 0; i < map->GetLayerCount(); ++i) {
    for (CZuObject* obj : map->GetLayer(i)->GetObjectList()) obj->BuildControlNodePointArray();
    for (CZuObject* obj : map->GetLayer(i)->GetObjectList()) obj->Draw(&dc, nullptr, nullptr, nullptr);
  }
}

// The records of a document with their numbers, element types, texts and
// integers, one line each. Floating-point numbers (and the byte blocks that
// hold them) are left out: laying a chart out again may move its sizes by a
// rounding step.
inline std::vector<std::string> RecordShapes(const std::string& data) {
  std::vector<std::string> shapes;
  CZuMFile f;
  if (!f.OpenRead(data)) return shapes;
  while (f.ReadNextRecord()) {
    std::string s = std::to_string(f.GetRecordNumber());
    for (int i = 0; i < f.GetRecordElementCount(); ++i) {
      const auto type = f.GetRecordElementType(i);
      s += ' ' + std::to_string(static_cast<int>(type)) + ':';
      std::string text;
      std::uint64_t unsigned_integer = 0;
      const unsigned char* block = nullptr;
      std::size_t length = 0;
      if (type == CZuMFile::kText && f.GetRecordElement(i, text))
        s += text;
      else if (type == CZuMFile::kU64 && f.GetRecordElement(i, unsigned_integer))
        s += std::to_string(unsigned_integer);
      else if (type == CZuMFile::kBytes && f.GetRecordElement(i, block, length))
        s += std::to_string(length);
      else if (int v = 0; type != CZuMFile::kFloat && type != CZuMFile::kDouble && f.GetRecordElement(i, v))
        s += std::to_string(v);
    }
    shapes.push_back(std::move(s));
  }
  return shapes;
}

// Exercises one input; returns false when a contract was broken (a crash
// or undefined behaviour is caught by the sanitizers instead).
inline bool ExerciseDocument(const std::uint8_t* bytes, std::size_t size) {
  DaVoduAttach();
  std::string data(reinterpret_cast<const char*>(bytes), size);
  FixChecksums(data);
  CZuMapFile doc;
  std::string error;
  if (!doc.ReadFromData(data, "input", &error)) return doc.GetMapCount() == 0 && !error.empty();
  // What this system writes, it reads, and it writes it again with the
  // same records.
  const std::string saved = doc.SaveToData();
  CZuMapFile again;
  if (!again.ReadFromData(saved, "saved", &error)) return false;
  if (RecordShapes(again.SaveToData()) != RecordShapes(saved)) return false;
  DrawDocument(&doc);
  return true;
}

}  // namespace davodu::fuzzing

#endif  // DAVODU_FUZZ_DOCUMENT_EXERCISE_H_
