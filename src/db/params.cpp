#include "db/params.h"

#include <cmath>

#include "db/error.h"
#include "db/textutil.h"

namespace db {

void Param::SetAsDate(double v) { value_ = Value::FromDateTime(std::floor(v)); }

Param* ParamList::FindParam(const std::string& name) const {
  for (const auto& p : items_)
    if (SameText(p->Name(), name)) return p.get();
  return nullptr;
}

Param& ParamList::ParamByName(const std::string& name) const {
  Param* p = FindParam(name);
  if (!p) throw DbError("Parameter '" + name + "' not found");
  return *p;
}

Param& ParamList::Add(const std::string& name) {
  if (Param* p = FindParam(name)) return *p;
  items_.push_back(std::make_unique<Param>(name));
  return *items_.back();
}

void ParamList::Rebuild(const std::vector<std::string>& names) {
  std::vector<std::unique_ptr<Param>> old = std::move(items_);
  items_.clear();
  for (const std::string& n : names) {
    if (FindParam(n)) continue;
    for (auto& p : old)
      if (p && SameText(p->Name(), n)) {
        items_.push_back(std::move(p));
        break;
      }
    if (!FindParam(n)) items_.push_back(std::make_unique<Param>(n));
  }
}

}  // namespace db
