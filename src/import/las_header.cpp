// The header sections of LAS files: what a "~" line opens, the
// "MNEM.UNIT VALUE : DESCRIPTION" lines, the version and well items, and
// the names of the curves.
#include <charconv>
#include <cmath>
#include <set>
#include <string>
#include <string_view>
#include <system_error>
#include <unordered_map>
#include <utility>

#include "davodu/import/detail/las_parse.h"

namespace davodu::las {

namespace {

std::string NormalizeVersion(std::string_view text) {
  double v = 0;
  if (!ParseNumber(text, &v) || !std::isfinite(v) || v < 0 || v > 100) return std::string(text);
  char buffer[32];
  auto [end, ec] = std::to_chars(buffer, buffer + sizeof buffer, v);
  std::string out(buffer, ec == std::errc() ? end : buffer);
  if (out.find('.') == std::string::npos) out += ".0";
  return out;
}

}  // namespace

// The kind of section a "~" line opens. Sections are known by the first
// letter of their name; the log data set of version 3.0 is named
// ~Log_Parameter, ~Log_Definition and ~Log_Data, and its other data sets
// (~Core_Definition, ~Tops_Data[1], ...) are skipped.
Section ClassifySection(std::string_view line) {
  std::string_view rest = line.substr(1);
  std::size_t end = 0;
  while (end < rest.size() && !IsBlank(rest[end]) && rest[end] != '|' && rest[end] != ':') ++end;
  const std::string name = AsciiUpper(rest.substr(0, end));
  if (name.empty()) return Section::kIgnored;
  if (name.starts_with("LOG_")) {
    const std::string_view kind = std::string_view(name).substr(4);
    if (kind == "PARAMETER") return Section::kParameter;
    if (kind == "DEFINITION") return Section::kCurve;
    if (kind.starts_with("DATA")) return Section::kData;
    return Section::kIgnored;
  }
  std::string_view base = name;
  if (base.ends_with(']')) {
    const std::size_t open = base.rfind('[');
    if (open != npos) base = base.substr(0, open);
  }
  if (base.ends_with("_DEFINITION") || base.ends_with("_DATA") || base.ends_with("_PARAMETER")) {
    return Section::kIgnored;
  }
  switch (name[0]) {
    case 'V': return Section::kVersion;
    case 'W': return Section::kWell;
    case 'C': return Section::kCurve;
    case 'P': return Section::kParameter;
    case 'O': return Section::kOther;
    case 'A': return Section::kData;
    default: return Section::kIgnored;
  }
}

std::string_view StripBrackets(std::string_view unit) {
  if (unit.size() >= 2 && unit.front() == '[' && unit.back() == ']') return unit.substr(1, unit.size() - 2);
  return unit;
}

// Parses "MNEM.UNIT  VALUE : DESCRIPTION". Returns false for a line that
// has neither a dot nor a colon.
bool ParseHeaderLine(std::string_view line, LasHeaderItem* item) {
  std::string_view s = Trim(line);
  std::size_t dot = s.find('.');
  const std::size_t colon = s.find(':');
  if (dot == npos || (colon != npos && colon < dot)) {
    // "HOLE NUMBER :hole": a name and a text, no unit.
    if (colon == npos) return false;
    item->mnemonic = std::string(Trim(s.substr(0, colon)));
    item->unit.clear();
    item->value.clear();
    item->description = std::string(Trim(s.substr(colon + 1)));
    return true;
  }

  std::size_t mnemonic_end = dot;
  std::size_t unit_start = dot + 1;
  const std::size_t double_dot = s.find("..");
  const std::size_t gap = std::min(s.find("  "), s.find('\t'));
  if (double_dot != npos && double_dot > 0 && double_dot < gap && (colon == npos || double_dot < colon)) {
    // A mnemonic that ends in a dot ("COND." or "I. RES.") is followed by
    // the unit's dot: "Cond..MS/M".
    mnemonic_end = double_dot + 1;
    unit_start = double_dot + 2;
  } else if (dot == 0 && s.size() > 1 && !IsBlank(s[1]) && s[1] != '.') {
    // ".ILM .OHMM": a stray dot before the mnemonic, recognised by the
    // unit's dot after the word. Without it (" .OHMM : ...") the mnemonic
    // is empty.
    std::size_t i = 1;
    while (i < s.size() && !IsBlank(s[i]) && s[i] != '.') ++i;
    std::size_t j = i;
    while (j < s.size() && IsBlank(s[j])) ++j;
    if (j > i && j < s.size() && s[j] == '.') {
      s.remove_prefix(1);
      dot = s.find('.');
      mnemonic_end = dot;
      unit_start = dot + 1;
    }
  }

  std::size_t unit_end = unit_start;
  while (unit_end < s.size() && !IsBlank(s[unit_end])) ++unit_end;
  std::string_view unit = s.substr(unit_start, unit_end - unit_start);
  std::size_t rest_start = unit_end;
  // "DEPT.M:DEPTH" has no space before the colon; a unit such as "hh:mm"
  // keeps its colon when another colon follows on the line.
  if (const std::size_t uc = unit.find(':'); uc != npos && s.find(':', unit_end) == npos) {
    unit = unit.substr(0, uc);
    rest_start = unit_start + uc;
  }
  const std::string_view rest = s.substr(rest_start);

  // The colon between value and description. Values may hold times
  // ("21:30") and texts with colons ("Water depth: 3642 ft :Elevation"):
  // colons between two digits are skipped, and a colon with a blank before
  // it is preferred over one without.
  std::size_t separator = npos;
  std::size_t first_candidate = npos;
  for (std::size_t i = 0; i < rest.size(); ++i) {
    if (rest[i] != ':') continue;
    if (i > 0 && IsDigit(rest[i - 1]) && i + 1 < rest.size() && IsDigit(rest[i + 1])) continue;
    if (first_candidate == npos) first_candidate = i;
    if (i == 0 || IsBlank(rest[i - 1])) {
      separator = i;
      break;
    }
  }
  if (separator == npos) separator = first_candidate;

  item->mnemonic = std::string(Trim(s.substr(0, mnemonic_end)));
  item->unit = std::string(StripBrackets(unit));
  if (separator == npos) {
    item->value = std::string(Trim(rest));
    item->description.clear();
  } else {
    item->value = std::string(Trim(rest.substr(0, separator)));
    item->description = std::string(Trim(rest.substr(separator + 1)));
  }
  return true;
}

// Renames duplicate mnemonics "SFLU:1", "SFLU:2", ... and gives empty ones
// the name "UNKNOWN" (numbered the same way when there are several).
void NameCurves(std::vector<LasCurve>* curves) {
  std::unordered_map<std::string, int> count;
  for (LasCurve& c : *curves) {
    if (c.mnemonic.empty()) c.mnemonic = "UNKNOWN";
    ++count[c.mnemonic];
  }
  std::set<std::string> taken;
  for (const LasCurve& c : *curves) {
    if (count[c.mnemonic] == 1) taken.insert(c.mnemonic);
  }
  std::unordered_map<std::string, int> next;
  for (LasCurve& c : *curves) {
    if (count[c.mnemonic] == 1) continue;
    int& k = next[c.mnemonic];
    std::string name;
    do {
      name = c.mnemonic + ":" + std::to_string(++k);
    } while (taken.count(name) != 0);
    taken.insert(name);
    c.mnemonic = std::move(name);
  }
}

void LasParser::ApplyVersionSection() {
  for (const ParsedHeader& header : version_items_) {
    const LasHeaderItem& item = header.item;
    file_.version_section.push_back(item);
    if (item.mnemonic == "VERS" && file_.version.empty()) {
      file_.version = NormalizeVersion(item.value);
    } else if (item.mnemonic == "WRAP") {
      const std::string v = AsciiUpper(item.value);
      if (v == "YES" || v == "Y" || v == "TRUE") {
        file_.wrapped = true;
      } else if (v == "NO" || v == "N" || v == "FALSE") {
        file_.wrapped = false;
      } else {
        Fail(LineOf(header.offset), "WRAP must be YES or NO, found " + Excerpt(item.value));
      }
    } else if (item.mnemonic == "DLM") {
      const std::string v = AsciiUpper(item.value);
      if (v == "SPACE" || v.empty()) {
        delimiter_ = Delimiter::kBlank;
      } else if (v == "TAB") {
        delimiter_ = Delimiter::kTab;
      } else if (v == "COMMA") {
        delimiter_ = Delimiter::kComma;
      } else {
        Fail(LineOf(header.offset), "DLM must be SPACE, TAB or COMMA, found " + Excerpt(item.value));
      }
    }
  }
  double v = 0;
  major_version_ = ParseNumber(file_.version, &v) && v >= 1 && v < 2 ? 1 : 2;
}

void LasParser::ApplyWellSection() {
  bool have_well = false;
  for (ParsedHeader& header : well_items_) {
    LasHeaderItem& item = header.item;
    const std::string& m = item.mnemonic;
    const bool range_item = m == "STRT" || m == "STOP" || m == "STEP" || m == "NULL";
    // Version 1.2 writes the well items as "MNEM.UNIT DESCRIPTION : VALUE".
    if (major_version_ == 1 && !range_item) std::swap(item.value, item.description);
    if (m == "NULL" && !file_.has_null) {
      double v = 0;
      if (ParseNumber(item.value, &v) && std::isfinite(v)) {
        file_.null_value = v;
        file_.has_null = true;
      }
    }
    if (m == "WELL" && !have_well) {
      file_.well_name = item.value;
      have_well = true;
    }
    file_.well_section.push_back(std::move(item));
  }
}

}  // namespace davodu::las
