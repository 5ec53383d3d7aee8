// The exercise of the chart template fuzzer, shared with the test that
// replays its corpus: builds the chart of a well (with no well database
// open, so no data is found) from the input. A refused template names the
// key or line at fault and adds nothing to the layer; an accepted one makes
// a chart that is drawn, written and read back.
#ifndef DAVODU_FUZZ_TEMPLATE_EXERCISE_H_
#define DAVODU_FUZZ_TEMPLATE_EXERCISE_H_

#include <cstddef>
#include <cstdint>
#include <string>

#include "davodu/davodu.h"
#include "document_exercise.h"

namespace davodu::fuzzing {

inline bool ExerciseTemplate(const std::uint8_t* bytes, std::size_t size) {
  DaVoduAttach();
  const std::string json(reinterpret_cast<const char*>(bytes), size);
  CZuMapFile doc;
  CZuLayer* layer = doc.GetActiveMap()->AddLayer("chart");
  std::string error;
  if (!BuildChartFromTemplate(json, "W1", layer, &error)) return layer->GetObjectList().empty() && !error.empty();
  if (layer->GetObjectList().size() != 1) return false;
  const std::string saved = doc.SaveToData();
  CZuMapFile again;
  if (!again.ReadFromData(saved, "saved", &error)) return false;
  DrawDocument(&doc);
  return true;
}

}  // namespace davodu::fuzzing

#endif  // DAVODU_FUZZ_TEMPLATE_EXERCISE_H_
