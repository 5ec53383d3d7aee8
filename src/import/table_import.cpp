// CWellDataManager: importing curves and text tables.
#include <algorithm>
#include <cmath>
#include <cstdio>
#include <unordered_map>

#include "davodu/host/util/gbk.h"
#include "davodu/host/util/util.h"
#include "davodu/store/detail/well_db.h"
#include "davodu/store/well_data_manager.h"

namespace davodu {
namespace {

// An import failure: the line it concerns and the cause (UTF-8).
struct ImportError {
  int line;
  std::string cause;
};

// Header names outside a kind's own columns that an import understands.
const TableLayout& ExtraColumns() {
  static const TableLayout layout{
      TableKind::kWellHeader, "", "", "", TableOwner::kNone, nullptr, 0, false,
      {{"well", "井名", "well_name|井号|wellname", ColumnType::kText, false},
       {"bottom", "底深", "bottom_depth|base|底界|底界深度|终止深度", ColumnType::kReal, false},
       {"thickness", "厚度", "thick|h", ColumnType::kReal, false},
       {"level", "级别", "层级|分层级别", ColumnType::kText, false},
       {"tbl", "表号", "table|table_no", ColumnType::kText, false},
       {"span", "旋回类型", "cycle_type|span", ColumnType::kText, false}}};
  return layout;
}
enum Extra { kWellColumn, kBottomColumn, kThicknessColumn, kLevelColumn, kTblColumn, kSpanColumn };

// Where each header column goes.
struct ColumnPlan {
  std::vector<int> target;  // column of the kind, -1 user column, -2 extra
  int well = -1, bottom = -1, thickness = -1, sub = -1;
  int top_column = -1;      // the kind's top column, for derived values
  int derived = -1;         // kind column filled from bottom or thickness
};

std::string Quoted(const std::string& s) { return "'" + s + "'"; }

std::string Number(double v) {
  char buf[32];
  std::snprintf(buf, sizeof buf, "%g", v);
  return buf;
}

// Wells are the same when their names differ only in ASCII letter case.
std::string WellKey(const std::string& gbk) {
  std::string key;
  for (std::size_t i = 0; i < gbk.size(); ++i) {
    const auto c = static_cast<unsigned char>(gbk[i]);
    if (c >= 0x81 && i + 1 < gbk.size()) {
      key.push_back(gbk[i]);
      key.push_back(gbk[++i]);
    } else {
      key.push_back(c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : gbk[i]);
    }
  }
  return key;
}

// Reads a sub-key: a number, or a level / cycle name.
bool ParseSub(const TableLayout& layout, const std::string& text, int* sub) {
  const std::string t = TrimBlanks(text);
  if (t.empty()) return false;
  int n = 0;
  if (CParseString(t, "").GetInt(0, &n) && n >= 1 && n <= layout.sub_count) {
    *sub = n;
    return true;
  }
  static const char* const kLevels[] = {"一级", "二级", "三级", "四级", "五级"};
  if (layout.kind == TableKind::kStratum || layout.kind == TableKind::kFineStratum) {
    for (int i = 0; i < 5; ++i) {
      if (t.rfind(kLevels[i], 0) == 0) {
        *sub = i + 1;
        return true;
      }
    }
  }
  TableKind kind;
  return ParseTableName(t, &kind, sub) && kind == layout.kind && *sub >= 1;
}

// Plans the columns of a header (UTF-8) for a kind.
bool PlanColumns(const TableLayout& layout, const std::vector<std::string>& header, ColumnPlan* plan,
                 ImportError* error, int header_line) {
  const bool per_well = layout.owner == TableOwner::kWell;
  std::vector<bool> seen(layout.columns.size(), false);
  for (std::size_t i = 0; i < header.size(); ++i) {
    const std::string& name = header[i];
    int target = FindColumn(layout, name);
    int extra = -1;
    if (target < 0) {
      extra = FindColumn(ExtraColumns(), name);
      // A bottom or a thickness is checked below, once it is known whether
      // it fills a column of the kind.
      const bool usable =
          (extra == kWellColumn && per_well) || extra == kBottomColumn ||
          extra == kThicknessColumn ||
          (extra >= kLevelColumn && layout.sub_column &&
           std::string_view(ExtraColumns().columns[static_cast<std::size_t>(extra)].sql) ==
               layout.sub_column);
      if (!usable) extra = -1;
    }
    if (target < 0 && extra < 0) {
      if (!layout.user_columns || TrimBlanks(name).empty()) {
        *error = {header_line, "unknown column " + Quoted(name) + " for " + layout.name};
        return false;
      }
      plan->target.push_back(-1);
      continue;
    }
    if (target >= 0) {
      if (seen[static_cast<std::size_t>(target)]) {
        *error = {header_line, "column " + Quoted(name) + " given twice"};
        return false;
      }
      seen[static_cast<std::size_t>(target)] = true;
    }
    plan->target.push_back(target >= 0 ? target : -2);
    if (extra == kWellColumn) plan->well = static_cast<int>(i);
    if (extra == kBottomColumn) plan->bottom = static_cast<int>(i);
    if (extra == kThicknessColumn) plan->thickness = static_cast<int>(i);
    if (extra >= kLevelColumn) plan->sub = static_cast<int>(i);
  }
  // A kind that keeps thickness takes a bottom instead, and the other way
  // round: the missing one is computed from the top.
  for (std::size_t c = 0; c < layout.columns.size(); ++c) {
    if (std::string_view(layout.columns[c].sql) == "top") plan->top_column = static_cast<int>(c);
  }
  for (std::size_t c = 0; c < layout.columns.size(); ++c) {
    if (seen[c] || plan->top_column < 0 || !seen[static_cast<std::size_t>(plan->top_column)]) continue;
    const std::string_view sql = layout.columns[c].sql;
    if ((sql == "thickness" && plan->bottom >= 0) || (sql == "bottom" && plan->thickness >= 0)) {
      plan->derived = static_cast<int>(c);
      seen[c] = true;
    }
  }
  // A bottom or a thickness that fills no column of the kind is unknown.
  int consumed = -1;
  if (plan->derived >= 0) {
    const bool to_thickness =
        std::string_view(layout.columns[static_cast<std::size_t>(plan->derived)].sql) == "thickness";
    consumed = to_thickness ? plan->bottom : plan->thickness;
  }
  for (const int column : {plan->bottom, plan->thickness}) {
    if (column >= 0 && column != consumed) {
      *error = {header_line, "unknown column " + Quoted(header[static_cast<std::size_t>(column)]) +
                                 " for " + layout.name};
      return false;
    }
  }
  for (std::size_t c = 0; c < layout.columns.size(); ++c) {
    if (layout.columns[c].required && !seen[c]) {
      *error = {header_line, std::string("missing column ") + layout.columns[c].name + " (" +
                                 layout.columns[c].sql + ")"};
      return false;
    }
  }
  return true;
}

// Converts one field to the value of a column; false with a cause when it
// does not fit.
bool FieldValue(const ColumnDef& c, const std::string& gbk, CZuVariant* out, std::string* cause) {
  const std::string text = TrimBlanks(gbk);
  if (text.empty()) {
    if (c.required) {
      *cause = std::string(c.name) + " is empty";
      return false;
    }
    *out = CZuVariant();
    return true;
  }
  switch (c.type) {
    case ColumnType::kReal:
    case ColumnType::kInt: {
      const double v = CZuVariant(text).ToDouble();
      if (IsMissing(v) || !std::isfinite(v) ||
          (c.type == ColumnType::kInt && (v != std::floor(v) || std::fabs(v) > 9e15))) {
        *cause = std::string(c.name) + ": " + Quoted(GbkToUtf8(text)) + " is not a " +
                 (c.type == ColumnType::kInt ? "whole number" : "number");
        return false;
      }
      *out = c.type == ColumnType::kInt ? CZuVariant(static_cast<std::int64_t>(v)) : CZuVariant(v);
      return true;
    }
    case ColumnType::kDate: {
      std::string date;
      if (!NormaliseDate(text, &date)) {
        *cause = std::string(c.name) + ": " + Quoted(GbkToUtf8(text)) + " is not a date";
        return false;
      }
      *out = CZuVariant(date);
      return true;
    }
    case ColumnType::kText:
      *out = CZuVariant(text);
      return true;
  }
  return false;
}

// A user column's value: a number when the field is one, else the text.
CZuVariant UserValue(const std::string& gbk) {
  const std::string text = TrimBlanks(gbk);
  if (text.empty()) return {};
  const double v = CZuVariant(text).ToDouble();
  return IsMissing(v) ? CZuVariant(text) : CZuVariant(v);
}

// Rows of one target table, ready to write.
struct Group {
  std::string well;  // GBK
  int sub = 0;
  std::vector<std::vector<CZuVariant>> rows;
};

// The id of a well, created when missing.
std::int64_t EnsureWell(WellDb& db, const std::string& gbk_name) {
  if (const WellInfo* w = db.FindWell(gbk_name)) return w->id;
  WellInfo info;
  info.name = gbk_name;
  return db.CreateWell(info);
}

// Sets the header fields named by columns from a row.
void ApplyWellFields(const std::vector<std::string>& columns, const std::vector<CZuVariant>& row,
                     WellInfo* w) {
  const TableLayout& layout = GetTableLayout(TableKind::kWellHeader);
  for (std::size_t c = 0; c < columns.size(); ++c) {
    const int k = davodu::FindColumn(layout, GbkToUtf8(columns[c]));
    const std::string_view sql = k >= 0 ? layout.columns[static_cast<std::size_t>(k)].sql : "";
    const double number = row[c].ToDouble();
    if (sql == "x") w->x = number;
    if (sql == "y") w->y = number;
    if (sql == "kb") w->kb = number;
    if (sql == "ground") w->ground = number;
    if (sql == "total_depth") w->total_depth = number;
    if (sql == "field") w->field = row[c].ToString();
    if (sql == "well_type") w->well_type = row[c].ToString();
  }
}

// Writes the grouped rows of an import (inside the caller's transaction).
void WriteGroups(WellDb& db, const TableImport& in, const std::vector<std::string>& columns,
                 const std::vector<Group>& groups) {
  const TableLayout& layout = GetTableLayout(in.kind);
  const auto column = [&](const char* sql) {
    for (std::size_t c = 0; c < columns.size(); ++c) {
      if (davodu::FindColumn(layout, GbkToUtf8(columns[c])) >= 0 &&
          std::string_view(layout.columns[static_cast<std::size_t>(
                               davodu::FindColumn(layout, GbkToUtf8(columns[c])))].sql) == sql)
        return c;
    }
    return columns.size();
  };
  for (const Group& g : groups) {
    switch (in.kind) {
      case TableKind::kWellHeader: {
        const std::size_t name = column("name");
        for (const auto& row : g.rows) {
          const std::string well = row[name].ToString();
          const WellInfo* existing = db.FindWell(well);
          WellInfo info = existing ? *existing : WellInfo();
          info.name = existing ? existing->name : well;
          ApplyWellFields(columns, row, &info);
          if (existing) {
            db.UpdateWell(info);
          } else {
            db.CreateWell(info);
          }
        }
        break;
      }
      case TableKind::kDeviation: {
        std::vector<SurveyStation> stations;
        const std::size_t md = column("md"), inc = column("inclination"), azi = column("azimuth");
        for (const auto& row : g.rows)
          stations.push_back({row[md].ToDouble(), row[inc].ToDouble(), row[azi].ToDouble()});
        db.SetDeviation(EnsureWell(db, g.well), stations);
        break;
      }
      case TableKind::kScatter: {
        // A table imported again keeps its id, so that its handles follow.
        const bool segment = column("thickness") < columns.size();
        std::int64_t id = -1;
        for (const ScatterInfo& t : db.ScatterTables()) {
          if (EqualsNoCase(t.name, TrimBlanks(in.table_name))) id = t.id;
        }
        if (id < 0) {
          id = db.CreateScatterTable(TrimBlanks(in.table_name), segment);
        } else {
          db.SetScatterSegment(id, segment);
        }
        db.ReplaceRows({TableKind::kScatter, id, 0}, columns, g.rows);
        break;
      }
      default: {
        const std::int64_t owner = layout.owner == TableOwner::kWell ? EnsureWell(db, g.well) : 0;
        db.ReplaceRows({in.kind, owner, g.sub}, columns, g.rows);
        break;
      }
    }
  }
}

}  // namespace

bool CWellDataManager::ImportCurves(std::string_view well, const std::vector<CurveImport>& curves,
                                    bool replace) {
  return Write([&](WellDb& db) {
    db.Write([&] {
      const WellInfo* w = db.FindWell(well);
      std::int64_t id = w ? w->id : -1;
      if (id < 0) {
        WellInfo info;
        info.name = std::string(well);
        id = db.CreateWell(info);
      }
      const std::vector<std::string> existing = db.CurveNames(id);
      for (const CurveImport& c : curves) {
        const bool present = std::any_of(existing.begin(), existing.end(),
                                         [&](const std::string& n) { return EqualsNoCase(n, c.name); });
        if (present && !replace) throw sql::Error("curve " + GbkToUtf8(c.name) + " exists");
      }
      // Curves over the same depths share one stored index.
      std::vector<bool> done(curves.size(), false);
      for (std::size_t i = 0; i < curves.size(); ++i) {
        if (done[i]) continue;
        std::vector<WellDb::CurveValues> group;
        for (std::size_t j = i; j < curves.size(); ++j) {
          if (done[j] || curves[j].depths != curves[i].depths) continue;
          group.push_back({curves[j].name, curves[j].unit, &curves[j].values});
          done[j] = true;
        }
        db.WriteCurves(id, -1, curves[i].depths, group);
      }
      // The log table exists once the well had an import, even of no curve.
      db.StampTable({TableKind::kWellLog, id, 0});
    });
  });
}

namespace {

// Takes the header fields the file gives where the well has none; a field
// the well has and the file gives differently is kept and noted.
void MergeHeader(const WellInfo& file, WellInfo* well, std::vector<std::string>* notes) {
  const auto text = [&](const char* what, const std::string& given, std::string* have) {
    if (TrimBlanks(given).empty() || given == *have) return;
    if (TrimBlanks(*have).empty()) {
      *have = given;
    } else {
      notes->push_back(std::string("kept ") + what + " '" + GbkToUtf8(*have) + "'; the file gives '" +
                       GbkToUtf8(given) + "'");
    }
  };
  const auto number = [&](const char* what, double given, double* have) {
    if (IsMissing(given) || !std::isfinite(given)) return;
    if (IsMissing(*have)) {
      *have = given;
    } else if (std::fabs(*have - given) > 1e-6 * std::max(1.0, std::fabs(given))) {
      char buf[96];
      std::snprintf(buf, sizeof buf, "kept %s %.10g; the file gives %.10g", what, *have, given);
      notes->push_back(buf);
    }
  };
  text("UWI", file.uwi, &well->uwi);
  text("field", file.field, &well->field);
  text("location", file.location, &well->location);
  text("coordinate reference", file.crs, &well->crs);
  number("x", file.x, &well->x);
  number("y", file.y, &well->y);
  number("elevation", file.kb, &well->kb);
  number("ground elevation", file.ground, &well->ground);
  number("total depth", file.total_depth, &well->total_depth);
}

}  // namespace

bool CWellDataManager::ImportLog(const LogImport& in, LogImportResult* result) {
  *result = LogImportResult();
  // A file whose curves are still the well's is recognised before anything
  // is written: the database, and every stamp, stay as they are.
  const std::int64_t known = WellId(in.well);
  if (known >= 0 && !in.run.hash.empty()) {
    try {
      if (const auto run = db_->CurrentRun(known, in.run.hash)) {
        result->run_id = run->id;
        result->imported_at = run->imported_at;
        result->already_imported = true;
        return true;
      }
    } catch (const sql::Error& e) {
      error_ = e.what();
      return false;
    }
  }
  return Write([&](WellDb& db) {
    db.Write([&] {
      std::vector<std::string> notes;
      const WellInfo* found = db.FindWell(in.well);
      std::int64_t id = found ? found->id : -1;
      WellInfo info = found ? *found : WellInfo();
      if (!found) info.name = in.well;
      MergeHeader(in.header, &info, &notes);
      if (!found) {
        id = db.CreateWell(info);
        result->well_created = true;
      } else {
        const WellInfo& before = *found;
        const bool changed = info.uwi != before.uwi || info.field != before.field ||
                             info.location != before.location || info.crs != before.crs ||
                             info.x != before.x || info.y != before.y || info.kb != before.kb ||
                             info.ground != before.ground || info.total_depth != before.total_depth;
        if (changed) db.UpdateWell(info);
      }
      LogRunInfo run = in.run;
      run.well_id = id;
      run.curves_written = static_cast<int>(in.curves.size());
      const std::int64_t run_id = db.AddRun(run);
      std::vector<WellDb::CurveValues> curves;
      for (const LogImport::Curve& c : in.curves) curves.push_back({c.name, c.unit, &c.values});
      if (!curves.empty()) db.WriteCurves(id, run_id, in.depths, curves);
      // The log table exists once the well had an import, even of no curve.
      db.StampTable({TableKind::kWellLog, id, 0});
      result->run_id = run_id;
      result->notes = std::move(notes);
    });
  });
}

bool CWellDataManager::DetectTableKind(const std::vector<std::string>& header, TableKind* kind,
                                       int* sub, std::string* error) {
  std::vector<const TableLayout*> fits;
  for (const TableLayout& layout : AllTableLayouts()) {
    // Catalogues are not guessed, nor tables whose columns are free.
    if (layout.owner == TableOwner::kGlobal || layout.user_columns || layout.kind == TableKind::kWellLog)
      continue;
    ColumnPlan plan;
    ImportError ignored;
    if (PlanColumns(layout, header, &plan, &ignored, 0)) fits.push_back(&layout);
  }
  if (fits.size() == 1) {
    *kind = fits.front()->kind;
    *sub = 0;
    return true;
  }
  if (fits.empty()) {
    *error = "the header fits no table; name the table with --table";
  } else {
    *error = "the header fits several tables (";
    for (std::size_t i = 0; i < fits.size(); ++i) *error += (i ? ", " : "") + std::string(fits[i]->id);
    *error += "); name the table with --table";
  }
  return false;
}

bool CWellDataManager::ImportTableRows(const TableImport& in, std::string* error) {
  const TableLayout& layout = GetTableLayout(in.kind);
  const auto fail = [&](int line, const std::string& cause) {
    *error = in.source + ":" + std::to_string(line) + ": " + cause;
    return false;
  };
  if (!db_) return fail(0, "no well database is open");
  if (layout.kind == TableKind::kWellLog) return fail(in.header_line, "curves are imported from LAS files");
  std::vector<std::string> header;
  for (const std::string& h : in.header) header.push_back(GbkToUtf8(h));
  ColumnPlan plan;
  ImportError e{0, ""};
  if (!PlanColumns(layout, header, &plan, &e, in.header_line)) return fail(e.line, e.cause);
  const bool per_well = layout.owner == TableOwner::kWell;
  if (per_well && plan.well < 0 && TrimBlanks(in.well).empty())
    return fail(in.header_line, "no well: give --well or a 井名 (well) column");
  if (layout.sub_column && in.sub == 0 && plan.sub < 0)
    return fail(in.header_line, std::string("no ") + layout.sub_column + ": name the table (e.g. " +
                                    TableId(layout.kind, 1) + ") or add a column for it");
  if (layout.kind == TableKind::kScatter && TrimBlanks(in.table_name).empty())
    return fail(in.header_line, "no name for the scattered table");

  // Column names to write: the kind's own names, user columns as given.
  std::vector<std::string> columns;
  std::vector<int> source;  // header index of each written column (-1: derived)
  for (std::size_t i = 0; i < plan.target.size(); ++i) {
    if (plan.target[i] == -2) continue;
    columns.push_back(plan.target[i] >= 0
                          ? Gbk(layout.columns[static_cast<std::size_t>(plan.target[i])].name)
                          : TrimBlanks(in.header[i]));
    source.push_back(static_cast<int>(i));
  }
  if (plan.derived >= 0) {
    columns.push_back(Gbk(layout.columns[static_cast<std::size_t>(plan.derived)].name));
    source.push_back(-1);
  }

  std::size_t top_slot = 0;
  for (std::size_t k = 0; k < source.size(); ++k) {
    if (source[k] >= 0 && plan.target[static_cast<std::size_t>(source[k])] == plan.top_column)
      top_slot = k;
  }

  // The slot of a column of the kind among the written ones.
  const auto slot_of = [&](std::string_view sql) {
    for (std::size_t k = 0; k < source.size(); ++k) {
      if (source[k] < 0) continue;
      const int target = plan.target[static_cast<std::size_t>(source[k])];
      if (target >= 0 && layout.columns[static_cast<std::size_t>(target)].sql == sql) return k;
    }
    return source.size();
  };
  const bool survey = layout.kind == TableKind::kDeviation;
  const std::size_t md_slot = slot_of("md"), inc_slot = slot_of("inclination"), azi_slot = slot_of("azimuth");

  // Rows go to their group by well and sub-key through a map: a field-wide
  // file of thousands of wells stays linear.
  std::vector<Group> groups;
  std::unordered_map<std::string, std::size_t> group_of;
  std::unordered_map<std::string, double> last_md;  // per well, for surveys
  for (std::size_t r = 0; r < in.rows.size(); ++r) {
    const std::vector<std::string>& fields = in.rows[r];
    const int line = r < in.lines.size() ? in.lines[r] : in.header_line + 1 + static_cast<int>(r);
    if (std::all_of(fields.begin(), fields.end(), [](const std::string& f) { return TrimBlanks(f).empty(); }))
      continue;
    if (fields.size() > header.size())
      return fail(line, std::to_string(fields.size()) + " fields but " +
                            std::to_string(header.size()) + " columns");
    const auto field = [&](int i) {
      return i >= 0 && static_cast<std::size_t>(i) < fields.size() ? fields[static_cast<std::size_t>(i)]
                                                                    : std::string();
    };
    std::vector<CZuVariant> row;
    std::string cause;
    for (int s : source) {
      CZuVariant v;
      if (s >= 0 && plan.target[static_cast<std::size_t>(s)] == -1) {
        v = UserValue(field(s));
      } else if (s >= 0) {
        const ColumnDef& c = layout.columns[static_cast<std::size_t>(plan.target[static_cast<std::size_t>(s)])];
        if (!FieldValue(c, field(s), &v, &cause)) return fail(line, cause);
      } else {
        // Thickness from a bottom, or a bottom from a thickness; the top
        // is already in the row.
        const ColumnDef& c = layout.columns[static_cast<std::size_t>(plan.derived)];
        const bool to_thickness = std::string_view(c.sql) == "thickness";
        const ColumnDef given{to_thickness ? "bottom" : "thickness", to_thickness ? "底深" : "厚度",
                               "", ColumnType::kReal, true};
        CZuVariant other;
        if (!FieldValue(given, field(to_thickness ? plan.bottom : plan.thickness), &other, &cause))
          return fail(line, cause);
        const double top = row[top_slot].ToDouble();
        v = CZuVariant(to_thickness ? other.ToDouble() - top : top + other.ToDouble());
      }
      row.push_back(std::move(v));
    }
    std::string well = per_well ? TrimBlanks(field(plan.well)) : std::string();
    if (per_well && well.empty()) well = TrimBlanks(in.well);
    if (per_well && well.empty()) return fail(line, "no well name");
    int sub = in.sub;
    if (plan.sub >= 0 && !ParseSub(layout, GbkToUtf8(field(plan.sub)), &sub))
      return fail(line, std::string(layout.sub_column) + ": " + Quoted(GbkToUtf8(field(plan.sub))) +
                            " is not one of 1.." + std::to_string(layout.sub_count));
    std::string key = WellKey(well);
    if (survey) {
      // A survey is refused at the line that cannot be a station.
      const double md = row[md_slot].ToDouble();
      const double inc = row[inc_slot].ToDouble();
      const double azi = row[azi_slot].ToDouble();
      if (inc < 0 || inc > 180)
        return fail(line, "inclination " + Number(inc) + " is outside 0 to 180 degrees");
      if (azi < 0 || azi > 360)
        return fail(line, "azimuth " + Number(azi) + " is outside 0 to 360 degrees");
      const auto last = last_md.find(key);
      if (last != last_md.end() && !(md > last->second))
        return fail(line, "measured depth " + Number(md) + " does not increase (the station before is at " +
                              Number(last->second) + ")");
      last_md[key] = md;
    }
    key += '\n' + std::to_string(sub);
    const auto [it, added] = group_of.emplace(key, groups.size());
    if (added) groups.push_back(Group{well, sub, {}});
    groups[it->second].rows.push_back(std::move(row));
  }
  // A file of no rows empties the table it names.
  if (groups.empty() && ((per_well && !TrimBlanks(in.well).empty() && (!layout.sub_column || in.sub > 0)) ||
                         layout.kind == TableKind::kScatter)) {
    groups.push_back({TrimBlanks(in.well), in.sub, {}});
  }
  const bool ok = Write([&](WellDb& db) {
    db.Write([&] { WriteGroups(db, in, columns, groups); });
  });
  if (!ok) return fail(in.header_line, error_);
  return true;
}

}  // namespace davodu
