// davodu show: lists the wells of the well database with their curves and
// the row counts of their tables.
#include <locale.h>
#include <wchar.h>

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdio>
#include <cwchar>
#include <filesystem>
#include <string>

#include "commands.h"
#include "davodu/host/util/gbk.h"
#include "davodu/store/well_data_manager.h"

namespace davodu::app {
namespace {

const char kShowHelp[] =
    "usage: davodu show [--db FILE] [--json] [WELL]\n"
    "\n"
    "Lists the wells of the well database (--db, default $DAVODU_HOME/wells.db\n"
    "or ~/.local/share/davodu/wells.db), or only WELL: its identity (UWI,\n"
    "field, location, coordinates, elevations), each curve with its unit,\n"
    "sample count, missing samples, smallest and largest value, top and\n"
    "bottom depth in metres, the row count of every table the well has, and\n"
    "the log files imported into it (file, size, hash, time, curves).\n"
    "--json writes {\"wells\":[{\"name\":..,\"uwi\":..,..,\"curves\":[..],\n"
    "\"tables\":{..},\"runs\":[..]}]}; the runs carry the header items of\n"
    "their files' ~Well, ~Parameter and ~Other sections.\n";

// The shortest text that reads back as the same double; "null" when missing.
std::string Number(double v) {
  if (IsMissing(v) || !std::isfinite(v)) return "null";
  char buf[32];
  const auto r = std::to_chars(buf, buf + sizeof buf, v);
  return std::string(buf, r.ptr);
}

std::string JsonString(const std::string& utf8) {
  std::string out = "\"";
  for (unsigned char c : utf8) {
    if (c == '"' || c == '\\') {
      out += '\\';
      out += static_cast<char>(c);
    } else if (c < 0x20) {
      char buf[8];
      std::snprintf(buf, sizeof buf, "\\u%04x", c);
      out += buf;
    } else {
      out += static_cast<char>(c);
    }
  }
  return out + "\"";
}

struct CurveRow {
  std::string name, unit;  // UTF-8
  int count = 0, missing = 0;
  double min = kFltMax, max = kFltMax, top = kFltMax, bottom = kFltMax;
};

struct WellReport {
  std::string name;  // UTF-8
  WellInfo info;     // GBK
  std::vector<CurveRow> curves;
  std::vector<std::pair<std::string, int>> tables;  // table id, rows
  std::vector<LogRunInfo> runs;                     // GBK
};

// The summary columns of the curves only: no samples are read.
WellReport Report(CWellDataManager& wells, std::int64_t id, bool with_runs) {
  WellReport r;
  wells.GetWellInfo(id, &r.info);
  r.name = GbkToUtf8(r.info.name);
  for (const CurveSummary& c : wells.GetCurveSummaries(id)) {
    r.curves.push_back({GbkToUtf8(c.name), GbkToUtf8(c.unit), c.count, c.missing, c.min, c.max, c.top,
                        c.bottom});
  }
  for (const CWellDataManager::TableSummary& t : wells.GetTables(id)) {
    if (t.key.kind == TableKind::kWellLog) continue;
    r.tables.emplace_back(TableId(t.key.kind, t.key.sub), t.rows);
  }
  if (with_runs) r.runs = wells.GetLogRuns(id);
  return r;
}

std::string Utf8(const std::string& gbk) { return JsonString(GbkToUtf8(gbk)); }

void PrintJson(const std::vector<WellReport>& reports) {
  std::string out = "{\"wells\":[";
  for (std::size_t n = 0; n < reports.size(); ++n) {
    const WellReport& r = reports[n];
    out += n ? "," : "";
    const WellInfo& w = r.info;
    out += "{\"name\":" + JsonString(r.name) + ",\"uwi\":" + Utf8(w.uwi) + ",\"field\":" +
           Utf8(w.field) + ",\"location\":" + Utf8(w.location) + ",\"x\":" + Number(w.x) +
           ",\"y\":" + Number(w.y) + ",\"crs\":" + Utf8(w.crs) + ",\"kb\":" + Number(w.kb) +
           ",\"ground\":" + Number(w.ground) + ",\"curves\":[";
    for (std::size_t i = 0; i < r.curves.size(); ++i) {
      const CurveRow& c = r.curves[i];
      out += i ? "," : "";
      out += "{\"name\":" + JsonString(c.name) + ",\"unit\":" + JsonString(c.unit) +
             ",\"count\":" + std::to_string(c.count) + ",\"missing\":" +
             std::to_string(c.missing) + ",\"min\":" + Number(c.min) + ",\"max\":" +
             Number(c.max) + ",\"top\":" + Number(c.top) + ",\"bottom\":" + Number(c.bottom) +
             "}";
    }
    out += "],\"tables\":{";
    for (std::size_t i = 0; i < r.tables.size(); ++i) {
      out += i ? "," : "";
      out += JsonString(r.tables[i].first) + ":" + std::to_string(r.tables[i].second);
    }
    out += "},\"runs\":[";
    for (std::size_t i = 0; i < r.runs.size(); ++i) {
      const LogRunInfo& run = r.runs[i];
      out += i ? "," : "";
      out += "{\"source\":" + Utf8(run.source) + ",\"size\":" + std::to_string(run.size) +
             ",\"hash\":" + JsonString(run.hash) + ",\"imported_at\":" + JsonString(run.imported_at) +
             ",\"curves\":" + std::to_string(run.curves_written) + ",\"current\":" +
             std::to_string(run.curves_current) + ",\"items\":[";
      for (std::size_t k = 0; k < run.items.size(); ++k) {
        const LogRunItem& item = run.items[k];
        out += k ? "," : "";
        out += "{\"section\":" + JsonString(item.section) + ",\"mnemonic\":" + Utf8(item.mnemonic) +
               ",\"unit\":" + Utf8(item.unit) + ",\"value\":" + Utf8(item.value) +
               ",\"description\":" + Utf8(item.description) + "}";
      }
      out += "]}";
    }
    out += "]}";
  }
  out += "]}\n";
  std::fputs(out.c_str(), stdout);
}

std::string Text(double v) {
  if (IsMissing(v)) return "-";
  char buf[32];
  std::snprintf(buf, sizeof buf, "%.6g", v);
  return buf;
}

// Columns a UTF-8 text takes on a terminal: two for a CJK character, none
// for a combining mark, one for the others (the C library's wcwidth under
// a UTF-8 locale; one a character where that locale is missing).
int DisplayWidth(const std::string& utf8) {
  static const locale_t utf8_locale = newlocale(LC_CTYPE_MASK, "C.UTF-8", static_cast<locale_t>(0));
  const locale_t previous = utf8_locale ? uselocale(utf8_locale) : static_cast<locale_t>(0);
  int width = 0;
  std::mbstate_t state{};
  const char* p = utf8.data();
  const char* end = p + utf8.size();
  while (p < end) {
    wchar_t wc = 0;
    const std::size_t n = std::mbrtowc(&wc, p, static_cast<std::size_t>(end - p), &state);
    if (n == static_cast<std::size_t>(-1) || n == static_cast<std::size_t>(-2) || n == 0) {
      // Not a character of the locale: count the byte and start afresh.
      ++width;
      ++p;
      state = std::mbstate_t{};
      continue;
    }
    const int w = utf8_locale ? wcwidth(wc) : 1;
    width += w < 0 ? 1 : w;
    p += n;
  }
  if (utf8_locale) uselocale(previous);
  return width;
}

// The text padded with blanks to a display width: on the right (left
// aligned), or on the left (right aligned).
std::string Pad(const std::string& text, int width, bool left_aligned) {
  const std::string blanks(static_cast<std::size_t>(std::max(0, width - DisplayWidth(text))), ' ');
  return left_aligned ? text + blanks : blanks + text;
}

void PrintText(const std::vector<WellReport>& reports) {
  if (reports.empty()) std::puts("no wells");
  // Columns are aligned by display width, so names and units such as
  // "Ω·m", "μs/m" or Chinese ones keep the rest of their row in line.
  auto row = [](const std::string& name, const std::string& unit, const std::string& count,
                const std::string& missing, const std::string& min, const std::string& max,
                const std::string& top, const std::string& bottom) {
    std::printf("  %s %s %s %s %s %s %s %s\n", Pad(name, 12, true).c_str(), Pad(unit, 8, true).c_str(),
                Pad(count, 8, false).c_str(), Pad(missing, 8, false).c_str(), Pad(min, 12, false).c_str(),
                Pad(max, 12, false).c_str(), Pad(top, 10, false).c_str(), Pad(bottom, 10, false).c_str());
  };
  for (const WellReport& r : reports) {
    std::printf("%s\n", r.name.c_str());
    const WellInfo& w = r.info;
    std::string identity;
    const auto add = [&](const char* what, const std::string& value) {
      if (!value.empty()) identity += std::string(identity.empty() ? "  " : ", ") + what + " " + value;
    };
    add("UWI", GbkToUtf8(w.uwi));
    add("field", GbkToUtf8(w.field));
    add("location", GbkToUtf8(w.location));
    if (!IsMissing(w.x) || !IsMissing(w.y)) {
      add("x/y", Text(w.x) + " " + Text(w.y) + (w.crs.empty() ? "" : " (" + GbkToUtf8(w.crs) + ")"));
    }
    if (!IsMissing(w.kb)) add("kb", Text(w.kb) + " m");
    if (!IsMissing(w.ground)) add("ground", Text(w.ground) + " m");
    if (!identity.empty()) std::printf("%s\n", identity.c_str());
    if (!r.curves.empty()) row("curve", "unit", "count", "missing", "min", "max", "top[m]", "bottom[m]");
    for (const CurveRow& c : r.curves) {
      row(c.name, c.unit, std::to_string(c.count), std::to_string(c.missing), Text(c.min),
          Text(c.max), Text(c.top), Text(c.bottom));
    }
    for (const auto& [table, rows] : r.tables)
      std::printf("  table %s %s rows\n", Pad(table, 18, true).c_str(),
                  Pad(std::to_string(rows), 6, false).c_str());
    for (const LogRunInfo& run : r.runs) {
      std::printf("  import %s  %s  %lld bytes  %s  %d curves (%d current), %zu header items\n",
                  run.imported_at.c_str(), GbkToUtf8(run.source).c_str(), static_cast<long long>(run.size),
                  run.hash.c_str(), run.curves_written, run.curves_current, run.items.size());
    }
  }
}

}  // namespace

int RunShow(const Args& args) {
  std::string db;
  std::string well;
  bool json = false;
  for (std::size_t i = 0; i < args.size(); ++i) {
    const std::string& a = args[i];
    if (a == "--help" || a == "-h") {
      std::fputs(kShowHelp, stdout);
      return 0;
    }
    if (a == "--json") {
      json = true;
    } else if (a == "--db") {
      if (i + 1 >= args.size()) return UsageError("--db needs a value");
      db = args[++i];
    } else if ((a.size() > 1 && a[0] == '-') || !well.empty()) {
      return UsageError("unexpected argument '" + a + "'");
    } else {
      well = a;
    }
  }
  const std::string path = db.empty() ? CWellDataManager::DefaultPath() : db;
  // Showing never creates a database.
  if (!CWellDataManager::Exists(path)) {
    std::fprintf(stderr, "davodu: no well database at %s\n", path.c_str());
    return 1;
  }
  CWellDataManager& wells = *CWellDataManager::Instance();
  if (!wells.Open(path)) {
    std::fprintf(stderr, "davodu: %s\n", wells.GetLastError().c_str());
    return 1;
  }
  std::vector<WellReport> reports;
  if (!well.empty()) {
    const std::int64_t id = wells.FindWell(Utf8ToGbk(well));
    if (id < 0) {
      std::fprintf(stderr, "davodu: no well '%s' in %s\n", well.c_str(), path.c_str());
      return 1;
    }
    reports.push_back(Report(wells, id, true));
  } else {
    // The imports of every well only in JSON: the listing stays short.
    CWellPosition* position = wells.GetWellPosition();
    for (int i = 0; i < position->GetCount(); ++i) reports.push_back(Report(wells, position->GetId(i), json));
  }
  if (json) {
    PrintJson(reports);
  } else {
    PrintText(reports);
  }
  return 0;
}

}  // namespace davodu::app
