// davodu import: reads LAS and CSV files into the well database.
#include <malloc.h>

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <future>
#include <string>
#include <vector>

#include "commands.h"
#include "davodu/host/dialogs/dialogs.h"
#include "davodu/host/util/gbk.h"
#include "davodu/host/util/util.h"
#include "davodu/import/csv_reader.h"
#include "davodu/import/las_import.h"
#include "davodu/store/well_data_manager.h"

namespace davodu::app {
namespace {

const char kImportHelp[] =
    "usage: davodu import [--db FILE] [--well NAME] [--table KIND] FILE...\n"
    "\n"
    "Reads well data into the well database (--db, default\n"
    "$DAVODU_HOME/wells.db or ~/.local/share/davodu/wells.db).\n"
    "\n"
    "  *.las  log curves of one well: the well is --well, else the WELL item\n"
    "         of the file, else the file name; depths in feet become metres;\n"
    "         curves of the same name are replaced. The file's name, size,\n"
    "         hash and header sections are recorded; a file already imported\n"
    "         is recognised and changes nothing; a file without log data\n"
    "         imports the well's header (UWI, field, location, elevations)\n"
    "  other  a CSV table: its kind is --table, else the file name (e.g.\n"
    "         lithology.csv, 岩性数据.csv), else what the header fits; the\n"
    "         rows of each well replace that well's table. Kinds: wells,\n"
    "         deviation, stratum1..5, fine_stratum1..5, sand, interlayer,\n"
    "         lithology, perforation, oil_test, core, point1..3, segment1..3,\n"
    "         gas, injection, production, sidewall_core, integrated_core,\n"
    "         fault_point, cycle_long, cycle_mid, cycle_short, texture,\n"
    "         scatter (a scattered table named after the file)\n"
    "\n"
    "A file that cannot be read leaves nothing in the database and is\n"
    "reported as FILE:LINE: cause; the exit code is then 1.\n";

struct Options {
  std::string db;
  std::string well;   // UTF-8
  std::string table;  // UTF-8
  std::vector<std::string> files;
};

bool EndsWithNoCase(const std::string& s, std::string_view suffix) {
  return s.size() >= suffix.size() && EqualsNoCase(std::string_view(s).substr(s.size() - suffix.size()), suffix);
}

std::string Stem(const std::string& path) { return std::filesystem::path(path).stem().string(); }

// Stores one LAS file read by ReadLasImport; false with *error set. What
// the import noticed goes to stderr as notes.
bool StoreLas(CWellDataManager& wells, const LasImport& las, std::string* error) {
  LasImportResult result;
  if (!StoreLasImport(wells, las, &result, error)) return false;
  const char* path = las.path.c_str();
  if (result.already_imported) {
    std::fprintf(stderr, "%s: already imported into well '%s' on %s; nothing changed\n", path,
                 result.well.c_str(), result.imported_at.c_str());
  } else if (result.header_only) {
    std::fprintf(stderr, "%s: no log data; imported the header of well '%s'\n", path, result.well.c_str());
  }
  for (const std::string& note : result.notes) {
    std::fprintf(stderr, "%s: well '%s': %s\n", path, result.well.c_str(), note.c_str());
  }
  return true;
}

// Imports one CSV file; false with *error set.
bool ImportCsv(CWellDataManager& wells, const Options& options, const std::string& path,
               std::string* error) {
  CsvTable csv;
  CsvError csv_error;
  if (!ReadCsvFile(path, &csv, &csv_error)) {
    *error = csv_error.ToString();
    return false;
  }
  TableImport in;
  in.source = path;
  if (!options.table.empty()) {
    if (!ParseTableName(options.table, &in.kind, &in.sub)) {
      *error = path + ": unknown table kind '" + options.table + "'";
      return false;
    }
  } else if (!ParseTableName(Stem(path), &in.kind, &in.sub)) {
    std::string why;
    if (!CWellDataManager::DetectTableKind(csv.header, &in.kind, &in.sub, &why)) {
      *error = path + ":1: " + why;
      return false;
    }
  }
  in.well = Utf8ToGbk(options.well);
  in.table_name = Utf8ToGbk(Stem(path));
  for (const std::string& h : csv.header) in.header.push_back(Utf8ToGbk(h));
  for (const auto& row : csv.rows) {
    std::vector<std::string> fields;
    for (const std::string& f : row) fields.push_back(Utf8ToGbk(f));
    in.rows.push_back(std::move(fields));
  }
  in.lines = csv.row_lines;
  in.header_line = csv.row_lines.empty() ? 1 : std::max(1, csv.row_lines.front() - 1);
  return wells.ImportTableRows(in, error);
}

}  // namespace

int RunImport(const Args& args) {
  Options options;
  for (std::size_t i = 0; i < args.size(); ++i) {
    const std::string& a = args[i];
    if (a == "--help" || a == "-h") {
      std::fputs(kImportHelp, stdout);
      return 0;
    }
    if (a == "--db" || a == "--well" || a == "--table") {
      if (i + 1 >= args.size()) return UsageError(a + " needs a value");
      (a == "--db" ? options.db : a == "--well" ? options.well : options.table) = args[++i];
    } else if (a.size() > 1 && a[0] == '-') {
      return UsageError("unexpected argument '" + a + "'");
    } else {
      options.files.push_back(a);
    }
  }
  if (options.files.empty()) return UsageError("import needs at least one file");

  // The columns of a log file are large blocks, allocated and freed file
  // after file: kept in the heap, their memory is reused instead of being
  // mapped, faulted in page by page and unmapped again each time.
  ::mallopt(M_MMAP_THRESHOLD, 512 << 20);
  ::mallopt(M_TRIM_THRESHOLD, 512 << 20);
  // One heap for every thread: what the reading threads free is reused by
  // the writing that follows, not left in a heap of their own.
  ::mallopt(M_ARENA_MAX, 1);
  CWellDataManager& wells = *CWellDataManager::Instance();
  // A new database goes into place with the first file's data: that file
  // is written once, without the write-ahead log, and synced once. The
  // database is opened on another thread while the first file, when it is
  // a log file, is read: reading needs no database.
  std::future<bool> opening = std::async(std::launch::async, [&] {
    return wells.Open(options.db, CWellDataManager::NewFile::kWithFirstWrite);
  });
  const bool las_first = EndsWithNoCase(options.files.front(), ".las");
  LasImport first;
  std::string first_error;
  const bool first_read = las_first && ReadLasImport(options.files.front(), options.well, &first, &first_error);
  if (!opening.get()) {
    std::fprintf(stderr, "davodu: %s\n", wells.GetLastError().c_str());
    return 1;
  }
  // A progress bar on stderr when it is a terminal (the console's bar
  // draws nothing otherwise).
  ConsoleDialogs console("", false);
  CProcessDialog& progress = console.Progress();
  const auto start_bar = [&] {
    progress.SetTitle(Gbk("导入"));
    progress.SetMaxValue(static_cast<int>(options.files.size()));
  };
  start_bar();
  int failed = 0;
  for (std::size_t i = 0; i < options.files.size(); ++i) {
    const std::string& path = options.files[i];
    std::string error;
    bool ok;
    if (i == 0 && las_first) {
      error = std::move(first_error);
      ok = first_read && StoreLas(wells, first, &error);
      first = LasImport();  // its samples are not needed any more
    } else if (EndsWithNoCase(path, ".las")) {
      LasImport las;
      ok = ReadLasImport(path, options.well, &las, &error) && StoreLas(wells, las, &error);
    } else {
      ok = ImportCsv(wells, options, path, &error);
    }
    if (!ok) {
      progress.Uninitialize();  // ends the bar's line
      std::fprintf(stderr, "%s\n", error.c_str());
      start_bar();
      ++failed;
    }
    progress.SetPos(static_cast<int>(i + 1));
  }
  progress.Uninitialize();
  wells.Close();  // a new database that took no write goes into place now
  return failed ? 1 : 0;
}

}  // namespace davodu::app
