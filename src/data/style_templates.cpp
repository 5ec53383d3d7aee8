#include "davodu/data/style_templates.h"

#include <charconv>
#include <cmath>
#include <map>
#include <set>
#include <string>
#include <utility>

#include "davodu/host/objects/template_manager.h"
#include "davodu/host/util/util.h"
#include "davodu/store/well_data_manager.h"
#include "davodu/store/well_table.h"

namespace davodu {

namespace {

// The template type of a kind of the catalogue; 0 for an unknown kind.
int TypeOf(const std::string& kind) {
  static const std::map<std::string, int> kTypes = {
      {"line_style", kTemplateLineStyle}, {"fill_style", kTemplateFillStyle},
      {"point_style", kTemplatePointStyle}, {"font", kTemplateFontStyle},
      {"size", kTemplateSize},             {"color", kTemplateColor}};
  const auto it = kTypes.find(TrimBlanks(kind));
  return it == kTypes.end() ? 0 : it->second;
}

bool Number(const std::string& text, double* out) {
  const std::string t = TrimBlanks(text);
  const auto r = std::from_chars(t.data(), t.data() + t.size(), *out);
  return !t.empty() && r.ec == std::errc() && r.ptr == t.data() + t.size() && std::isfinite(*out);
}

bool Colour(const std::string& text, double* out) {
  const std::string t = TrimBlanks(text);
  unsigned v = 0;
  if (t.size() != 7 || t[0] != '#' || std::from_chars(t.data() + 1, t.data() + 7, v, 16).ptr != t.data() + 7)
    return false;
  *out = RGB((v >> 16) & 0xFF, (v >> 8) & 0xFF, v & 0xFF);
  return true;
}

// The templates registered from the catalogue last time, to remove those
// that are gone.
std::set<std::pair<std::string, int>>& Registered() {
  static std::set<std::pair<std::string, int>> registered;
  return registered;
}

}  // namespace

std::uint64_t LoadStyleTemplates(CWellDataManager* mgr, std::uint64_t since) {
  const std::shared_ptr<CWellTable> table = mgr ? mgr->GetCatalogTable(TableKind::kCatStyle) : nullptr;
  const std::uint64_t stamp = table ? table->GetTimeStamp() : 0;
  if (since != 0 && stamp <= since) return since;
  std::map<std::pair<std::string, int>, CGeneralTemplate> templates;
  for (int row = 0; table && row < table->GetCount(); ++row) {
    const std::string name = table->GetString(row, "template");
    const int type = TypeOf(table->GetString(row, "kind"));
    const std::string value = table->GetString(row, "value");
    const std::string result = table->GetString(row, "result");
    if (name.empty() || type == 0) continue;
    auto [it, added] = templates.try_emplace({name, type}, name, type, std::string());
    CGeneralTemplate& t = it->second;
    double v = 0;
    if (type == kTemplateFontStyle) {
      t.AddTextEntry(value, TrimBlanks(result));
    } else if (type == kTemplateColor ? Colour(result, &v) : Number(result, &v)) {
      t.AddEntry(value, v);
    }
  }
  CTemplateManagerFacade* store = CTemplateManagerFacade::Instance();
  for (const auto& key : Registered())
    if (!templates.count(key)) store->RemoveTemplate(key.first, key.second);
  Registered().clear();
  for (const auto& [key, t] : templates) {
    store->RegisterTemplate(t);
    Registered().insert(key);
  }
  return stamp;
}

}  // namespace davodu
