// Writes the seed corpus of the document fuzzer into a folder:
//   document_seeds fuzz/corpus/document
#include <cstdio>
#include <string>

#include "document_seeds.h"

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: %s OUTPUT_DIRECTORY\n", argv[0]);
    return 2;
  }
  for (const auto& [name, contents] : davodu::fuzzing::MakeDocumentSeeds()) {
    const std::string path = std::string(argv[1]) + "/seed-" + name;
    std::string error;
    if (!davodu::WriteFileAtomically(path, contents, &error)) {
      std::fprintf(stderr, "%s\n", error.c_str());
      return 1;
    }
  }
  return 0;
}
