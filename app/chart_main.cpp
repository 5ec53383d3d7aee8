// davodu-chart: the chart commands of davodu (build, render, export, demo,
// serve, ...). `davodu` runs this program for them, with its own arguments;
// it loads the drawing, program and server libraries, which the
// well-database commands of `davodu` do without.
#include <cstdio>
#include <exception>
#include <string>

#include "commands.h"
#include "davodu/kits/module.h"

namespace davodu::app {

int ChartMain(int argc, char** argv) {
  if (argc < 2) return UsageError("no command given");
  const std::string command = argv[1];
  const Args args(argv + 2, argv + argc);
  DaVoduAttach();
  if (command == "demo") return RunDemo(args);
  if (command == "dump") return RunDump(args);
  if (command == "upgrade") return RunUpgrade(args);
  if (command == "build") return RunBuild(args);
  if (command == "render") return RunRender(args);
  if (command == "export") return RunExport(args);
  if (command == "patterns") return RunPatterns(args);
  if (command == "serve") return RunServe(args);
  return UsageError("unknown command '" + command + "'");
}

}  // namespace davodu::app

int main(int argc, char** argv) {
  try {
    return davodu::app::ChartMain(argc, argv);
  } catch (const std::exception& e) {
    std::fprintf(stderr, "davodu: %s\n", e.what());
    return 1;
  }
}
