// davodu build, render and export: charts made from templates, drawn to
// images and their curve samples written as text tables.
#include <sys/resource.h>

#include <charconv>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "commands.h"
#include "davodu/display/wp_program.h"
#include "davodu/host/dialogs/dialogs.h"
#include "davodu/host/graphics/cairo_dc.h"
#include "davodu/host/graphics/render.h"
#include "davodu/host/objects/zu_layer.h"
#include "davodu/host/objects/zu_map.h"
#include "davodu/host/objects/zu_map_file.h"
#include "davodu/host/util/atomic_file.h"
#include "davodu/host/util/gbk.h"
#include "davodu/store/well_data_manager.h"
#include "davodu/well/chart_template.h"
#include "davodu/well/wp_well.h"

namespace davodu::app {

namespace {

const char kBuildHelp[] =
    "usage: davodu build [--db FILE] --template T.json --well NAME -o CHART.wpd\n"
    "       davodu build [--db FILE] --template T.json --all-wells --out-dir DIR\n"
    "\n"
    "Builds the chart a template describes (docs/templates.md) for one well of\n"
    "the well database (--db, default $DAVODU_HOME/wells.db or\n"
    "~/.local/share/davodu/wells.db) and saves it as a chart document; with\n"
    "--all-wells, one chart per well as DIR/WELL.wpd.\n";

const char kRenderHelp[] =
    "usage: davodu render [--db FILE] CHART.wpd -o OUT.png|OUT.svg|OUT.pdf\n"
    "                     [--dpi N] [--depth-type md|tvd|ad] [--no-programs]\n"
    "                     [--pages [--page-height MM]] [--stats]\n"
    "\n"
    "Draws a chart document with the curves of the well database (--db) to a\n"
    "PNG (at --dpi, default 150), SVG or PDF file. --depth-type draws the\n"
    "depths as measured, true vertical or altitude depths.\n"
    "\n"
    "--pages cuts a long chart into pages --page-height mm tall (default 297,\n"
    "A4 portrait) with the head of the chart at the top of every page and the\n"
    "depths running on from page to page: the pages of one PDF, or one PNG\n"
    "file per page (OUT_%d.png names them: %d is the page number; without\n"
    "it, _N goes before .png). A PNG can be at most 32767 pixels a side, so\n"
    "long charts need pages, a lower --dpi, SVG or PDF.\n"
    "\n"
    "Programs of program columns run sandboxed, with limits; for a document\n"
    "you do not trust, --no-programs draws those columns empty. Messages of\n"
    "programs go to stderr.\n"
    "\n"
    "--stats prints to stderr the time spent reading, laying out, drawing and\n"
    "writing, and the peak memory of the process.\n";

const char kExportHelp[] =
    "usage: davodu export [--db FILE] CHART.wpd --dir DIR [--utf8]\n"
    "\n"
    "Writes the curve samples of a chart document (and the tables of the\n"
    "contents that export their own) as text files in DIR under their\n"
    "default names, in GBK, or in UTF-8 with --utf8. A name met twice gets a\n"
    "number: NAME(2).txt. Every file is written whole or not at all; the\n"
    "exit status is 1 when any file could not be written.\n";

int Fail(const std::string& message) {
  std::fprintf(stderr, "davodu: %s\n", message.c_str());
  return 1;
}

// Reads the value of an option; false when it is the last argument.
bool Value(const Args& args, std::size_t* i, std::string* value) {
  if (*i + 1 >= args.size()) return false;
  *value = args[++*i];
  return true;
}

// Opens the well database, which must exist.
bool OpenDatabase(const std::string& db) {
  const std::string path = db.empty() ? CWellDataManager::DefaultPath() : db;
  if (!CWellDataManager::Exists(path)) {
    std::fprintf(stderr, "davodu: no well database at %s\n", path.c_str());
    return false;
  }
  CWellDataManager& wells = *CWellDataManager::Instance();
  if (!wells.Open(path)) {
    std::fprintf(stderr, "davodu: %s: %s\n", path.c_str(), wells.GetLastError().c_str());
    return false;
  }
  return true;
}

bool ReadText(const std::string& path, std::string* text) {
  std::ifstream in(path, std::ios::binary);
  if (!in) return false;
  std::ostringstream s;
  s << in.rdbuf();
  *text = s.str();
  return true;
}

// The wells of every layer of every map of a document.
std::vector<CWpWell*> WellsOf(const CZuMapFile& doc) {
  std::vector<CWpWell*> wells;
  for (int m = 0; m < doc.GetMapCount(); ++m)
    if (CZuMap* map = doc.GetMap(m))
      for (int l = 0; l < map->GetLayerCount(); ++l)
        for (CZuObject* obj : map->GetLayer(l)->GetObjectList())
          if (auto* well = dynamic_cast<CWpWell*>(obj)) wells.push_back(well);
  return wells;
}

// A chart document read with the database open and its data loaded, in the
// depth type asked for (-1: the document's own).
bool OpenChart(const std::string& db, const std::string& chart, int depth_type, CZuMapFile* doc) {
  std::string error;
  if (!std::filesystem::exists(chart)) {
    std::fprintf(stderr, "davodu: %s: no such chart document\n", chart.c_str());
    return false;
  }
  if (!OpenDatabase(db)) return false;
  if (!doc->ReadFromFile(chart, 1, &error)) {
    std::fprintf(stderr, "davodu: %s\n", error.c_str());
    return false;
  }
  const std::vector<CWpWell*> wells = WellsOf(*doc);
  if (wells.empty()) {
    std::fprintf(stderr, "davodu: %s: the document holds no well chart\n", chart.c_str());
    return false;
  }
  for (CWpWell* well : wells) {
    if (depth_type >= 0) well->SetDepthType(depth_type);
    well->LoadChartData();
  }
  return true;
}

// A file name for a well: path separators and leading dots replaced.
std::string FileNameOf(std::string well) {
  for (char& c : well)
    if (c == '/' || c == '\\') c = '_';
  if (!well.empty() && well.front() == '.') well.front() = '_';
  return well;
}

// A finite positive number, the whole text.
bool PositiveNumber(const std::string& text, double* value) {
  const auto r = std::from_chars(text.data(), text.data() + text.size(), *value);
  return r.ec == std::errc() && r.ptr == text.data() + text.size() && std::isfinite(*value) &&
         *value > 0;
}

double SecondsSince(std::chrono::steady_clock::time_point start) {
  return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

// The largest resident size the process had, in MB.
double PeakMemoryMb() {
  struct rusage usage {};
  if (getrusage(RUSAGE_SELF, &usage) != 0) return 0;
  return static_cast<double>(usage.ru_maxrss) / 1024.0;  // kB on Linux
}

bool EndsWithPng(const std::string& path) {
  ImageFormat format;
  return ImageFormatFromPath(path, &format) && format == ImageFormat::kPng;
}

bool WantsHelp(const Args& args) {
  for (const std::string& a : args)
    if (a == "--help" || a == "-h") return true;
  return false;
}

}  // namespace

int RunBuild(const Args& args) {
  if (WantsHelp(args)) {
    std::fputs(kBuildHelp, stdout);
    return 0;
  }
  std::string db, templ, well, out, out_dir;
  bool all_wells = false;
  for (std::size_t i = 0; i < args.size(); ++i) {
    const std::string& a = args[i];
    if (a == "--all-wells") {
      all_wells = true;
    } else if (a == "--db" || a == "--template" || a == "--well" || a == "-o" || a == "--out-dir") {
      std::string* target = a == "--db" ? &db : a == "--template" ? &templ : a == "--well" ? &well
                            : a == "-o" ? &out : &out_dir;
      if (!Value(args, &i, target)) return UsageError("build: " + a + " needs a value");
    } else {
      return UsageError("build: unexpected argument '" + a + "'");
    }
  }
  if (templ.empty()) return UsageError("build: --template is required");
  if (all_wells == !well.empty()) return UsageError("build: give either --well NAME or --all-wells");
  if (!all_wells && out.empty()) return UsageError("build: --well needs -o CHART.wpd");
  if (all_wells && out_dir.empty()) return UsageError("build: --all-wells needs --out-dir DIR");

  std::string json;
  if (!ReadText(templ, &json)) return Fail("cannot read template " + templ);
  if (!OpenDatabase(db)) return 1;
  CWellDataManager& wells = *CWellDataManager::Instance();
  std::vector<std::pair<std::string, std::string>> jobs;  // well (UTF-8), chart path
  if (all_wells) {
    if (!MakeDir(out_dir)) return 1;
    for (const std::string& name : wells.GetWellNames()) {
      const std::string utf8 = GbkToUtf8(name);
      jobs.emplace_back(utf8, out_dir + "/" + FileNameOf(utf8) + ".wpd");
    }
    if (jobs.empty()) return Fail("no wells in " + wells.GetPath());
  } else {
    if (wells.FindWell(Utf8ToGbk(well)) < 0)
      return Fail("no well '" + well + "' in " + wells.GetPath());
    jobs.emplace_back(well, out);
  }
  for (const auto& [name, path] : jobs) {
    CZuMapFile doc;
    std::string error;
    const std::string base_dir = std::filesystem::path(templ).parent_path().string();
    if (!BuildChartFromTemplate(json, name, doc.GetActiveMap()->AddLayer("chart"), &error, base_dir))
      return Fail(templ + ": " + error);
    if (!doc.SaveToFile(path, &error)) return Fail(error);
    std::printf("wrote %s\n", path.c_str());
  }
  return 0;
}

int RunRender(const Args& args) {
  if (WantsHelp(args)) {
    std::fputs(kRenderHelp, stdout);
    return 0;
  }
  std::string db, chart, out, dpi_text, depth_type, page_height;
  bool pages = false, stats = false, programs = true;
  for (std::size_t i = 0; i < args.size(); ++i) {
    const std::string& a = args[i];
    if (a == "--pages") {
      pages = true;
    } else if (a == "--stats") {
      stats = true;
    } else if (a == "--no-programs") {
      programs = false;
    } else if (a == "--db" || a == "-o" || a == "--dpi" || a == "--depth-type" ||
               a == "--page-height") {
      std::string* target = a == "--db" ? &db : a == "-o" ? &out : a == "--dpi" ? &dpi_text
                            : a == "--depth-type" ? &depth_type : &page_height;
      if (!Value(args, &i, target)) return UsageError("render: " + a + " needs a value");
    } else if ((a.size() > 1 && a[0] == '-') || !chart.empty()) {
      return UsageError("render: unexpected argument '" + a + "'");
    } else {
      chart = a;
    }
  }
  if (chart.empty()) return UsageError("render: no chart document given");
  if (out.empty()) return UsageError("render: -o OUT.png|OUT.svg|OUT.pdf is required");
  RenderOptions options;
  if (!dpi_text.empty() && !PositiveNumber(dpi_text, &options.dpi))
    return UsageError("render: --dpi '" + dpi_text + "' is not a positive number");
  if (!page_height.empty()) {
    if (!pages) return UsageError("render: --page-height needs --pages");
    double mm = 0;
    if (!PositiveNumber(page_height, &mm) || mm < 20 || mm > 100000)
      return UsageError("render: --page-height '" + page_height +
                        "' is not a page height in mm (20 to 100000)");
    options.page_height = mm * 100;
  }
  options.pages = pages;
  RenderStats render_stats;
  if (stats) options.stats = &render_stats;
  int type = -1;
  if (depth_type == "md") {
    type = CWpWell::kDepthMeasured;
  } else if (depth_type == "tvd") {
    type = CWpWell::kDepthVertical;
  } else if (depth_type == "ad") {
    type = CWpWell::kDepthAltitude;
  } else if (!depth_type.empty()) {
    return UsageError("render: --depth-type '" + depth_type + "' is not md, tvd or ad");
  }

  // Messages (of programs, of pictures that cannot be read) go to stderr.
  ConsoleDialogs console("", false);
  HostDialogs* previous = AfxSetDialogs(&console);
  struct Restore {
    HostDialogs* previous;
    ~Restore() {
      AfxSetDialogs(previous);
      CWpProgram::SetProgramsEnabled(true);
    }
  } restore{previous};
  CWpProgram::SetProgramsEnabled(programs);
  const auto start = std::chrono::steady_clock::now();
  CZuMapFile doc;
  if (!OpenChart(db, chart, type, &doc)) return 1;
  const double read_seconds = SecondsSince(start);
  // The head of the charts (everything above the highest body top) is
  // repeated on every page.
  for (CWpWell* well : WellsOf(doc)) {
    const double body_top = well->MapNode(0).y;
    if (!(options.head_bottom >= body_top)) options.head_bottom = body_top;
  }
  std::string error;
  if (!RenderDocument(&doc, out, options, &error)) {
    // Name the output once, whether or not the message already does.
    return Fail(error.rfind(out, 0) == 0 ? error : out + ": " + error);
  }
  if (pages && EndsWithPng(out)) {
    for (int k = 1; k <= render_stats.pages; ++k) std::printf("wrote %s\n", PagePath(out, k).c_str());
  } else {
    std::printf("wrote %s\n", out.c_str());
  }
  if (stats) {
    std::fprintf(stderr,
                 "davodu: read %.3f s, layout %.3f s, draw %.3f s, write %.3f s, %d page%s, "
                 "peak memory %.1f MB\n",
                 read_seconds, render_stats.layout, render_stats.draw, render_stats.encode,
                 render_stats.pages, render_stats.pages == 1 ? "" : "s", PeakMemoryMb());
  }
  return 0;
}

int RunExport(const Args& args) {
  if (WantsHelp(args)) {
    std::fputs(kExportHelp, stdout);
    return 0;
  }
  std::string db, chart, dir;
  bool utf8 = false;
  for (std::size_t i = 0; i < args.size(); ++i) {
    const std::string& a = args[i];
    if (a == "--utf8") {
      utf8 = true;
    } else if (a == "--db" || a == "--dir") {
      if (!Value(args, &i, a == "--db" ? &db : &dir)) return UsageError("export: " + a + " needs a value");
    } else if ((a.size() > 1 && a[0] == '-') || !chart.empty()) {
      return UsageError("export: unexpected argument '" + a + "'");
    } else {
      chart = a;
    }
  }
  if (chart.empty()) return UsageError("export: no chart document given");
  if (dir.empty()) return UsageError("export: --dir DIR is required");

  CZuMapFile doc;
  if (!OpenChart(db, chart, -1, &doc)) return 1;
  if (!MakeDir(dir)) return 1;
  ConsoleDialogs dialogs(dir, true);
  HostDialogs* previous = AfxSetDialogs(&dialogs);
  for (CWpWell* well : WellsOf(doc)) well->ExportData();
  AfxSetDialogs(previous);

  if (dialogs.answered().empty()) return Fail(chart + ": the chart has nothing to export");
  // Every file the kits were given is reported: written, or why not. The
  // kits tell how each write went (HostDialogs::FileWritten); a file no kit
  // told of must at least be there.
  int failed = 0;
  for (const std::string& path : dialogs.answered()) {
    std::string error;
    bool reported = false;
    for (const ConsoleDialogs::Outcome& o : dialogs.outcomes())
      if (o.path == path) {
        reported = true;
        error = o.error;
      }
    if (!reported && !std::filesystem::exists(path)) error = "cannot write " + path;
    if (error.empty() && utf8) {
      std::string text;
      if (!ReadText(path, &text))
        error = "cannot read " + path + " to convert it to UTF-8";
      else
        WriteFileAtomically(path, GbkToUtf8(text), &error);
    }
    if (!error.empty()) {
      Fail(error);
      ++failed;
      continue;
    }
    std::printf("wrote %s\n", path.c_str());
  }
  return failed == 0 ? 0 : 1;
}

}  // namespace davodu::app
