// The host's template store: named templates that turn the value of a data
// field into a style code, a size or a colour.
//
// A general template has a name, a type (what it yields: a colour, a size or
// a point style) and a data name "table.field" naming the field whose value
// it maps. Templates are registered by the host (or a test) and looked up
// by name and type.
#ifndef DAVODU_HOST_OBJECTS_TEMPLATE_MANAGER_H_
#define DAVODU_HOST_OBJECTS_TEMPLATE_MANAGER_H_

#include <map>
#include <string>
#include <utility>
#include <vector>

namespace davodu {

// What a template yields.
enum TemplateType : int {
  kTemplateLineStyle = 1,   // a pen line-style code
  kTemplateFillStyle = 2,   // a brush style code
  kTemplateColor = 3,       // a COLORREF
  kTemplateSize = 4,        // a length in map units
  kTemplatePointStyle = 5,  // a point style code
  kTemplateFontStyle = 6,   // a font face name (a text result)
};

class CGeneralTemplate {
 public:
  CGeneralTemplate() = default;
  CGeneralTemplate(std::string name, int type, std::string data_name)
      : name_(std::move(name)), type_(type), data_name_(std::move(data_name)) {}

  const std::string& GetName() const { return name_; }
  int GetType() const { return type_; }
  // "table.field".
  const std::string& GetDataName() const { return data_name_; }
  // The part of the data name before the last dot (empty without a dot).
  std::string GetTableName() const;
  // The part after the last dot (the whole name without a dot).
  std::string GetFieldName() const;

  // Maps a field value (text as the data holds it) to a result.
  void AddEntry(std::string value, double result);
  // Maps a field value to a text result (font faces).
  void AddTextEntry(std::string value, std::string result);
  // The result for a value: the entry with the same text, else the first
  // entry whose text is the same number. False when none matches.
  bool Map(const std::string& value, double* result) const;
  bool MapText(const std::string& value, std::string* result) const;

 private:
  // The index of the entry a value matches, or -1.
  int Find(const std::string& value) const;

  std::string name_;
  int type_ = 0;
  std::string data_name_;
  std::vector<std::pair<std::string, double>> entries_;
  std::vector<std::string> texts_;  // text results, by entry
};

class CTemplateManagerFacade {
 public:
  static CTemplateManagerFacade* Instance();

  // Adds a template, replacing one of the same name and type.
  void RegisterTemplate(const CGeneralTemplate& tmpl);
  // False when there was none.
  bool RemoveTemplate(const std::string& name, int type);
  void Clear() { templates_.clear(); }

  // The template of that name and type, or null. The pointer stays valid
  // until the template is removed (replacing it keeps the address).
  const CGeneralTemplate* GetGeneralTemplate(const std::string& name, int type) const;

 private:
  CTemplateManagerFacade() = default;

  std::map<std::pair<std::string, int>, CGeneralTemplate> templates_;
};

}  // namespace davodu

#endif  // DAVODU_HOST_OBJECTS_TEMPLATE_MANAGER_H_
