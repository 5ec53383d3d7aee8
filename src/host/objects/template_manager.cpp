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
  texts_.emplace_back();
}

void CGeneralTemplate::AddTextEntry(std::string value, std::string result) {
  entries_.emplace_back(std::move(value), 0);
  texts_.push_back(std::move(result));
}

int CGeneralTemplate::Find(const std::string& value) const {
  const std::string text = TrimBlanks(value);
  for (std::size_t i = 0; i < entries_.size(); ++i)
    if (TrimBlanks(entries_[i].first) == text) return static_cast<int>(i);
  double number = 0;
  if (!CParseString(text, "").GetDouble(0, &number)) return -1;
  for (std::size_t i = 0; i < entries_.size(); ++i) {
    double k = 0;
    if (CParseString(TrimBlanks(entries_[i].first), "").GetDouble(0, &k) && k == number)
      return static_cast<int>(i);
  }
  return -1;
}

bool CGeneralTemplate::Map(const std::string& value, double* result) const {
  const int i = Find(value);
  if (i < 0) return false;
  if (result) *result = entries_[static_cast<std::size_t>(i)].second;
  return true;
}

bool CGeneralTemplate::MapText(const std::string& value, std::string* result) const {
  const int i = Find(value);
  if (i < 0) return false;
  if (result) *result = texts_[static_cast<std::size_t>(i)];
  return true;
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
