// Writes the seed corpus of the record file fuzzer into a directory:
//   zu_mfile_seeds fuzz/corpus/zu_mfile
#include <cstdio>
#include <string>

#include "zu_mfile_seeds.h"

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: %s OUTPUT_DIRECTORY\n", argv[0]);
    return 2;
  }
  for (const auto& [name, contents] : davodu::fuzzing::MakeSeedFiles()) {
    const std::string path = std::string(argv[1]) + "/" + name;
    std::FILE* f = std::fopen(path.c_str(), "wb");
    if (!f || std::fwrite(contents.data(), 1, contents.size(), f) != contents.size() || std::fclose(f) != 0) {
      std::perror(path.c_str());
      return 1;
    }
  }
  return 0;
}
