#include "davodu/special/sand_stratum_options.h"

#include <boost/property_tree/json_parser.hpp>
#include <boost/property_tree/ptree.hpp>
#include <cmath>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "davodu/host/dialogs/dialogs.h"
#include "davodu/host/util/gbk.h"
#include "davodu/host/util/util.h"

namespace davodu {

namespace {

namespace pt = boost::property_tree;

// Option files are a few kilobytes; a larger one is not read.
constexpr std::uintmax_t kMaxFileBytes = 1 << 20;

struct Damaged {
  std::string what;
};

const pt::ptree& Child(const pt::ptree& node, const char* key, const std::string& where) {
  const auto found = node.find(key);
  if (found == node.not_found()) throw Damaged{where + ": \"" + key + "\" missing"};
  return found->second;
}

std::string Text(const pt::ptree& node, const char* key, const std::string& where,
                 const std::string& fallback) {
  const auto found = node.find(key);
  if (found == node.not_found()) return fallback;
  if (!found->second.empty()) throw Damaged{where + "." + key + ": not a text"};
  return found->second.data();
}

double Number(const pt::ptree& node, const char* key, const std::string& where, double fallback) {
  const auto found = node.find(key);
  if (found == node.not_found()) return fallback;
  const std::string text = found->second.data();
  std::size_t used = 0;
  double value = 0;
  try {
    value = std::stod(text, &used);
  } catch (const std::exception&) {
    used = 0;
  }
  if (!found->second.empty() || used == 0 || used != text.size() || !std::isfinite(value))
    throw Damaged{where + "." + key + ": \"" + text + "\" is not a number"};
  return value;
}

SandStratumField ReadField(const pt::ptree& node, const std::string& where) {
  SandStratumField f;
  const std::string field = Text(node, "field", where, "");
  if (field.empty()) throw Damaged{where + ".field: missing"};
  f.field = Utf8ToGbk(field);
  f.title = Utf8ToGbk(Text(node, "title", where, field));
  const double decimals = Number(node, "decimals", where, -1);
  if (decimals != std::floor(decimals) || decimals < -1 || decimals > kMaxSandStratumDecimals)
    throw Damaged{where + ".decimals: " + AfxFloatToString(decimals) + " is not -1 to " +
                  std::to_string(kMaxSandStratumDecimals)};
  f.decimals = static_cast<int>(decimals);
  f.width = Number(node, "width", where, 1);
  if (!(f.width > 0 && f.width <= 100)) throw Damaged{where + ".width: must be above 0 and at most 100"};
  return f;
}

std::vector<SandStratumPreset> ReadPresets(const pt::ptree& root) {
  std::vector<SandStratumPreset> presets;
  const pt::ptree& list = Child(root, "presets", "file");
  std::size_t i = 0;
  for (const auto& [key, node] : list) {
    const std::string where = "presets[" + std::to_string(i++) + "]";
    if (!key.empty()) throw Damaged{"presets: not a list"};
    SandStratumPreset preset;
    preset.name = Utf8ToGbk(Text(node, "name", where, ""));
    std::size_t k = 0;
    for (const auto& [field_key, field] : Child(node, "fields", where)) {
      const std::string field_where = where + ".fields[" + std::to_string(k++) + "]";
      if (!field_key.empty()) throw Damaged{where + ".fields: not a list"};
      if (preset.fields.size() == kMaxSandStratumFields)
        throw Damaged{where + ".fields: more than " + std::to_string(kMaxSandStratumFields)};
      preset.fields.push_back(ReadField(field, field_where));
    }
    if (preset.fields.empty()) throw Damaged{where + ".fields: empty"};
    presets.push_back(std::move(preset));
  }
  return presets;
}

}  // namespace

const std::vector<SandStratumField>& DefaultSandStratumFields() {
  static const std::vector<SandStratumField> fields = {
      {Gbk("层位"), Gbk("层号"), -1, 1.2},
      {Gbk("砂岩厚度"), Gbk("砂岩\n厚度"), 1, 1},
      {Gbk("有效厚度"), Gbk("有效\n厚度"), 1, 1},
      {Gbk("孔隙度"), Gbk("孔隙度\n%"), 1, 1},
      {Gbk("渗透率"), Gbk("渗透率\nmD"), 1, 1.2},
      {Gbk("含油饱和度"), Gbk("含油\n饱和度"), 1, 1},
      {Gbk("解释结论"), Gbk("解释\n结论"), -1, 1.2},
      {Gbk("水淹级别"), Gbk("水淹\n级别"), -1, 1.2}};
  return fields;
}

std::string SandStratumOptionPath() { return AfxGetUserPath() + "/Database/SandStratumOption.json"; }

bool ReadSandStratumOptions(const std::string& path, std::vector<SandStratumPreset>* presets,
                            std::string* error) {
  presets->clear();
  error->clear();
  std::error_code ec;
  const std::filesystem::path file(path);
  if (!std::filesystem::exists(file, ec)) return true;
  const std::uintmax_t size = std::filesystem::file_size(file, ec);
  if (ec || size > kMaxFileBytes) {
    *error = path + ": " + (ec ? ec.message() : "larger than 1 MB");
    return false;
  }
  std::ifstream in(file, std::ios::binary);
  std::stringstream text;
  text << in.rdbuf();
  if (!in && !in.eof()) {
    *error = path + ": cannot be read";
    return false;
  }
  try {
    pt::ptree root;
    pt::read_json(text, root);
    *presets = ReadPresets(root);
  } catch (const pt::json_parser_error& e) {
    *error = path + ": line " + std::to_string(e.line()) + ": " + e.message();
    return false;
  } catch (const Damaged& d) {
    *error = path + ": " + d.what;
    return false;
  }
  return true;
}

std::vector<SandStratumField> SandStratumPresetFields(const std::string& name, bool* found) {
  if (found) *found = false;
  std::vector<SandStratumPreset> presets;
  std::string error;
  if (!ReadSandStratumOptions(SandStratumOptionPath(), &presets, &error)) {
    AfxGetDialogs().Message(Utf8ToGbk(error + " (the built-in sub-columns are used)"));
    return DefaultSandStratumFields();
  }
  for (const SandStratumPreset& p : presets) {
    if (name.empty() || p.name == name) {
      if (found) *found = true;
      return p.fields;
    }
  }
  return DefaultSandStratumFields();
}

}  // namespace davodu
