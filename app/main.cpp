// davodu: build, inspect and render composite well-log charts.
//
// This program runs the well-database commands (import, show, copy) itself
// and needs only SQLite and xxHash to start; the chart commands run in
// davodu-chart, which loads Cairo, Pango, Lua and the HTTP server. A script
// that imports thousands of files pays neither those libraries' start-up nor
// their memory.
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <exception>
#include <filesystem>
#include <string>

#include "commands.h"

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

// Commands that draw or read charts: davodu-chart runs them.
constexpr const char* kChartCommands[] = {"demo",   "dump",   "upgrade",  "build",
                                          "render", "export", "patterns", "serve"};

// The chart program: beside this one (a build tree), else in
// ../libexec/davodu (an installed tree). Empty when neither exists.
std::string ChartProgram() {
  std::error_code ec;
  const std::filesystem::path self = std::filesystem::read_symlink("/proc/self/exe", ec);
  if (ec) return {};
  const std::filesystem::path dir = self.parent_path();
  for (const auto& candidate :
       {dir / "davodu-chart", dir / ".." / "libexec" / "davodu" / "davodu-chart"}) {
    if (::access(candidate.c_str(), X_OK) == 0) return candidate.string();
  }
  return {};
}

// Replaces this process by the chart program with the same arguments;
// returns only on failure.
int RunChartProgram(char** argv) {
  const std::string program = ChartProgram();
  if (program.empty()) {
    std::fprintf(stderr, "davodu: the chart program davodu-chart is not installed beside %s\n",
                 argv[0]);
    return 1;
  }
  ::execv(program.c_str(), argv);
  std::fprintf(stderr, "davodu: cannot run %s: %s\n", program.c_str(), std::strerror(errno));
  return 1;
}

}  // namespace

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
  if (command == "import") return RunImport(args);
  if (command == "show") return RunShow(args);
  if (command == "copy") return RunCopy(args);
  for (const char* chart_command : kChartCommands) {
    if (command == chart_command) return RunChartProgram(argv);
  }
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
