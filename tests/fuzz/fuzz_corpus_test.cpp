// Every input of the fuzzers' checked-in corpora, and the document seeds the
// kits make now, goes through the fuzzers' exercises: the inputs that once
// broke a reader stay fixed, in every build, with or without clang.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

#include "fuzz/document_exercise.h"
#include "fuzz/document_seeds.h"
#include "fuzz/template_exercise.h"
#include "fuzz/text_readers_exercise.h"

namespace davodu::testing {
namespace {

namespace fs = std::filesystem;

using Exercise = bool (*)(const std::uint8_t*, std::size_t);

bool Feed(Exercise exercise, const std::string& bytes) {
  return exercise(reinterpret_cast<const std::uint8_t*>(bytes.data()), bytes.size());
}

// Runs every file of fuzz/corpus/NAME; returns how many there were.
int ReplayCorpus(const std::string& name, Exercise exercise) {
  int count = 0;
  for (const auto& entry : fs::directory_iterator(fs::path(DAVODU_SOURCE_DIR) / "fuzz" / "corpus" / name)) {
    std::ifstream in(entry.path(), std::ios::binary);
    const std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    EXPECT_TRUE(Feed(exercise, bytes)) << entry.path();
    ++count;
  }
  return count;
}

TEST(FuzzCorpus, DocumentsReadWriteAndDraw) {
  for (const auto& [name, bytes] : fuzzing::MakeDocumentSeeds()) {
    EXPECT_TRUE(Feed(fuzzing::ExerciseDocument, bytes)) << name;
    // The seeds are whole documents, not refused ones.
    CZuMapFile doc;
    std::string error;
    EXPECT_TRUE(doc.ReadFromData(bytes, name, &error)) << error;
  }
  EXPECT_GT(ReplayCorpus("document", fuzzing::ExerciseDocument), 0);
}

TEST(FuzzCorpus, LasFiles) { EXPECT_GT(ReplayCorpus("las", fuzzing::ExerciseLas), 0); }

TEST(FuzzCorpus, CsvFiles) { EXPECT_GT(ReplayCorpus("csv", fuzzing::ExerciseCsv), 0); }

TEST(FuzzCorpus, ChartTemplates) { EXPECT_GT(ReplayCorpus("template", fuzzing::ExerciseTemplate), 0); }

}  // namespace
}  // namespace davodu::testing
