#include "davodu/host/objects/template_manager.h"

#include "davodu/host/util/util.h"

namespace davodu {

std::string CGeneralTemplate::GetTableName() const {
  const std::size_t dot = data_name_.rfind('.');
  return dot == std::string::npos ? std::string() : data_name_.substr(0, dot);
}

std::string CGeneralTemplate::GetFieldName() const {
  const std::size_t dot = data_name_.rfind('.');
  return dot == std::string::npos ? data_name_ : data_name_.substr(dot + 1);
}

void CGeneralTemplate::AddEntry(std::string value, double result) {
  entries_.emplace_back(std::move(value), result);
}

bool CGeneralTemplate::Map(const std::string& value, double* result) const {
  const std::string text = TrimBlanks(value);
  for (const auto& [key, r] : entries_)
    if (TrimBlanks(key) == text) {
      if (result) *result = r;
      return true;
    }
  double number = 0;
  if (!CParseString(text, "").GetDouble(0, &number)) return false;
  for (const auto& [key, r] : entries_) {
    double k = 0;
    if (CParseString(TrimBlanks(key), "").GetDouble(0, &k) && k == number) {
      if (result) *result = r;
      return true;
    }
  }
  return false;
}

CTemplateManagerFacade* CTemplateManagerFacade::Instance() {
  static CTemplateManagerFacade facade;
  return &facade;
}

void CTemplateManagerFacade::RegisterTemplate(const CGeneralTemplate& tmpl) {
  templates_[{tmpl.GetName(), tmpl.GetType()}] = tmpl;
}

bool CTemplateManagerFacade::RemoveTemplate(const std::string& name, int type) {
  return templates_.erase({name, type}) > 0;
}

const CGeneralTemplate* CTemplateManagerFacade::GetGeneralTemplate(const std::string& name,
                                                                   int type) const {
  auto it = templates_.find({name, type});
  return it == templates_.end() ? nullptr : &it->second;
}

}  // namespace davodu
