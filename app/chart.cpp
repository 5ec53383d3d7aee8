// davodu build, render and export: charts made from templates, drawn to
// images and their curve samples written as text tables.
#include <charconv>
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
#include "davodu/host/graphics/render.h"
#include "davodu/host/objects/zu_layer.h"
#include "davodu/host/objects/zu_map.h"
#include "davodu/host/objects/zu_map_file.h"
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
    "\n"
    "Draws a chart document with the curves of the well database (--db) to a\n"
    "PNG (at --dpi, default 150), SVG or PDF file. --depth-type draws the\n"
    "depths as measured, true vertical or altitude depths. A PNG can be at\n"
    "most 32767 pixels a side: for longer charts lower --dpi, or write SVG or\n"
    "PDF. Programs of program columns run sandboxed, with limits; for a\n"
    "document you do not trust, --no-programs draws those columns empty.\n"
    "Messages of programs go to stderr.\n";

const char kExportHelp[] =
    "usage: davodu export [--db FILE] CHART.wpd --dir DIR [--utf8]\n"
    "\n"
    "Writes the curve samples of a chart document (and the tables of the\n"
    "contents that export their own) as text files in DIR under their\n"
    "default names, in GBK, or in UTF-8 with --utf8.\n";

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
  if (!std::filesystem::exists(path)) {
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

bool WriteText(const std::string& path, const std::string& text) {
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out << text;
  return static_cast<bool>(out.flush());
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

// Records the paths the save dialogs answered.
class RecordingDialogs : public HostDialogs {
 public:
  explicit RecordingDialogs(HostDialogs* inner) : inner_(inner) {}
  bool FileDialog(const FileDialogRequest& request, std::string* path) override {
    if (!inner_->FileDialog(request, path)) return false;
    paths.push_back(*path);
    return true;
  }
  bool AskYesNo(const std::string& gbk_message) override { return inner_->AskYesNo(gbk_message); }
  void Message(const std::string& gbk_message) override { inner_->Message(gbk_message); }
  CProcessDialog& Progress() override { return inner_->Progress(); }

  std::vector<std::string> paths;

 private:
  HostDialogs* inner_;
};

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
  std::string db, chart, out, dpi_text, depth_type;
  bool programs = true;
  for (std::size_t i = 0; i < args.size(); ++i) {
    const std::string& a = args[i];
    if (a == "--no-programs") {
      programs = false;
    } else if (a == "--db" || a == "-o" || a == "--dpi" || a == "--depth-type") {
      std::string* target = a == "--db" ? &db : a == "-o" ? &out : a == "--dpi" ? &dpi_text : &depth_type;
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
  if (!dpi_text.empty()) {
    const auto r = std::from_chars(dpi_text.data(), dpi_text.data() + dpi_text.size(), options.dpi);
    if (r.ec != std::errc() || r.ptr != dpi_text.data() + dpi_text.size() ||
        !std::isfinite(options.dpi) || options.dpi <= 0)
      return UsageError("render: --dpi '" + dpi_text + "' is not a positive number");
  }
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
  CZuMapFile doc;
  if (!OpenChart(db, chart, type, &doc)) return 1;
  std::string error;
  if (!RenderDocument(&doc, out, options, &error)) {
    // Name the output once, whether or not the message already does.
    return Fail(error.rfind(out, 0) == 0 ? error : out + ": " + error);
  }
  std::printf("wrote %s\n", out.c_str());
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
  ConsoleDialogs console(dir, true);
  RecordingDialogs dialogs(&console);
  HostDialogs* previous = AfxSetDialogs(&dialogs);
  for (CWpWell* well : WellsOf(doc)) well->ExportData();
  AfxSetDialogs(previous);

  if (dialogs.paths.empty()) return Fail(chart + ": the chart has nothing to export");
  for (const std::string& path : dialogs.paths) {
    if (!std::filesystem::exists(path)) return Fail("cannot write " + path);
    if (utf8) {
      std::string text;
      if (!ReadText(path, &text) || !WriteText(path, GbkToUtf8(text)))
        return Fail("cannot convert " + path + " to UTF-8");
    }
    std::printf("wrote %s\n", path.c_str());
  }
  return 0;
}

}  // namespace davodu::app
