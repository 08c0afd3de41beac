#pragma once
// Tables and readers shared by the tests of the in-memory table.
#include <string>

#include "common/rowset.h"
#include "context/memorydata.h"

namespace velmaro::testing {

// The fields of the context's parameter table that a search reads.
inline void DefineParams(velmaro::TRxMemoryData& t) {
  t.CreateField("Tipo", db::FieldType::String, 10);
  t.CreateField("Nome", db::FieldType::String, 64);
  t.CreateField("Utente", db::FieldType::Smallint);
  t.CreateField("Testo", db::FieldType::String, 128);
  t.CreateField("Numero", db::FieldType::Largeint);
}

inline void DefineSimple(velmaro::TRxMemoryData& t) {
  t.FieldDefs().push_back({"N", db::FieldType::Integer});
  t.FieldDefs().push_back({"S", db::FieldType::String, 20});
}

inline void Add(velmaro::TRxMemoryData& t, db::Value n, db::Value s) {
  t.Append();
  t.FieldByName("N").SetValue(n);
  t.FieldByName("S").SetValue(s);
  t.Post();
}

inline std::string Column(db::DataSet& ds, const std::string& field) {
  std::string out;
  for (ds.First(); !ds.Eof(); ds.Next()) {
    if (!out.empty()) out += ",";
    db::Field& f = ds.FieldByName(field);
    out += f.IsNull() ? "null" : f.AsString();
  }
  return out;
}

}  // namespace velmaro::testing
