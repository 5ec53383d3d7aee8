// davodu: build, inspect and render composite well-log charts.
#include <cstdio>
#include <exception>
#include <filesystem>
#include <string>

#include "commands.h"
#include "davodu/kits/module.h"

namespace davodu::app {

namespace {

const char kHelp[] =
    "usage: davodu <command> [options]\n"
    "\n"
    "Draws composite well-log charts (well profiles).\n"
    "\n"
    "commands:\n"
    "  demo [--out DIR]   build a sample chart and write DIR/demo.png, .svg and .pdf\n"
    "                     (DIR defaults to out/)\n"
    "  dump FILE.wpd      list every record of a chart document\n"
    "  upgrade IN OUT     read a chart document and write it in the current format\n"
    "  import FILE...     read LAS and CSV files into the well database\n"
    "  show [WELL]        list the wells, curves and tables of the well database\n"
    "  build              make chart documents from a template (--template T.json\n"
    "                     --well NAME -o CHART.wpd, or --all-wells --out-dir DIR)\n"
    "  render CHART.wpd   draw a chart document to -o OUT.png, .svg or .pdf\n"
    "  export CHART.wpd   write a chart's curve samples as text files in --dir DIR\n"
    "  patterns           draw every fill pattern to -o OUT.png, .svg or .pdf\n"
    "  serve              edit the charts of a folder in a web browser (--dir CHARTS,\n"
    "                     --db FILE, --bind ADDRESS, --port N)\n"
    "  copy               copy a whole well database (--from SRC --to DST), also\n"
    "                     between a file and a PostgreSQL server\n"
    "  help               show this text\n"
    "\n"
    "Run 'davodu <command> --help' for the options of a command.\n"
    "\n"
    "The well database (--db) is a file or, for a team, a PostgreSQL database\n"
    "given as postgresql://user@host/dbname; without --db, $DAVODU_DB, else\n"
    "$DAVODU_HOME/wells.db, else ~/.local/share/davodu/wells.db.\n";

}  // namespace

bool MakeDir(const std::string& dir) {
  std::error_code ec;
  std::filesystem::create_directories(dir, ec);
  if (!ec) return true;
  std::fprintf(stderr, "davodu: cannot create %s: %s\n", dir.c_str(), ec.message().c_str());
  return false;
}

int UsageError(const std::string& message) {
  std::fprintf(stderr, "davodu: %s\nRun 'davodu --help' for usage.\n", message.c_str());
  return 2;
}

int Main(int argc, char** argv) {
  Args args(argv + 1, argv + argc);
  if (args.empty()) {
    std::fputs(kHelp, stderr);
    return 2;
  }
  const std::string command = args.front();
  args.erase(args.begin());
  if (command == "help" || command == "--help" || command == "-h") {
    std::fputs(kHelp, stdout);
    return 0;
  }
  DaVoduAttach();
  if (command == "demo") return RunDemo(args);
  if (command == "dump") return RunDump(args);
  if (command == "upgrade") return RunUpgrade(args);
  if (command == "import") return RunImport(args);
  if (command == "show") return RunShow(args);
  if (command == "build") return RunBuild(args);
  if (command == "render") return RunRender(args);
  if (command == "export") return RunExport(args);
  if (command == "patterns") return RunPatterns(args);
  if (command == "serve") return RunServe(args);
  if (command == "copy") return RunCopy(args);
  return UsageError("unknown command '" + command + "'");
}

}  // namespace davodu::app

int main(int argc, char** argv) {
  try {
    return davodu::app::Main(argc, argv);
  } catch (const std::exception& e) {
    std::fprintf(stderr, "davodu: %s\n", e.what());
    return 1;
  }
}
