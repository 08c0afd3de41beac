#include "grid/ricercasql.h"

#include <algorithm>
#include <cctype>
#include <string_view>

#include "ui/strings.h"

namespace velmaro::ricerca {

namespace {

constexpr const char* kAccentoAcuto = "\xC2\xB4";  // "´", character 180

// "WHERE" in any case, compared as UpperCase would compare it, without
// copying each line in capitals (the typed search asks at every letter).
bool ContieneWhere(const std::vector<std::string>& righe) {
  const std::string_view where = "WHERE";
  const auto uguali = [](char c, char w) {
    return std::toupper(static_cast<unsigned char>(c)) == w;
  };
  for (const std::string& riga : righe)
    if (std::search(riga.begin(), riga.end(), where.begin(), where.end(), uguali) != riga.end())
      return true;
  return false;
}

}  // namespace

Classe ClasseDi(db::FieldType tipo) {
  switch (tipo) {
    case db::FieldType::Smallint:
    case db::FieldType::Integer:
    case db::FieldType::Largeint:
    case db::FieldType::Float:
    case db::FieldType::Currency:
    case db::FieldType::AutoInc:
      return Classe::Numero;
    case db::FieldType::Date:
    case db::FieldType::DateTime:
      return Classe::Data;
    case db::FieldType::Memo:
    case db::FieldType::Blob:
      return Classe::Blob;
    default:
      return Classe::Testo;
  }
}

bool Testuale(db::FieldType tipo) {
  switch (tipo) {
    case db::FieldType::String:
    case db::FieldType::FixedChar:
    case db::FieldType::Memo:
    case db::FieldType::Blob:
    case db::FieldType::Unknown:
      return true;
    default:
      return false;
  }
}

std::string ComeTesto(const std::string& espressione) {
  return "CAST(" + espressione + " AS VARCHAR(32))";
}

std::string TestoSicuro(const std::string& testo) {
  std::string out;
  out.reserve(testo.size());
  for (char c : testo) c == '\'' ? out += kAccentoAcuto : out += c;
  return out;
}

std::string Connettivo(const std::vector<std::string>& sqlIniziale) {
  return ContieneWhere(sqlIniziale) ? "AND" : "WHERE";
}

std::string Condizione(const Ricerca& r) {
  if (r.classe == Classe::Data) {
    if (r.dataDa.empty()) return {};
    std::string c = r.connettivo + "(" + r.espressione + " >= '" + r.dataDa + "')";
    if (!r.dataA.empty()) c += "AND(" + r.espressione + " <= '" + r.dataA + "')";
    return c;
  }
  if (r.valore.empty()) return {};
  std::string valore = TestoSicuro(r.valore);
  std::string espressione = r.espressione;
  // ">=" compares a number as a number; the LIKE kinds compare its text.
  if (r.classe == Classe::Numero && r.tipo != kMaggioreUguale) espressione = ComeTesto(espressione);
  if (r.upper && r.classe == Classe::Testo) {
    valore = ui::UpperCase(valore);
    espressione = "UPPER(" + espressione + ")";
  }
  switch (r.tipo) {
    case kContiene:
      return r.connettivo + "(" + espressione + " LIKE '%" + valore + "%')";
    case kIniziaCon:
      return r.connettivo + "(" + espressione + " LIKE '" + valore + "%')";
    default:
      return r.connettivo + "(" + espressione + " >= '" + valore + "')";
  }
}

std::string OrdineColonna(int ordinamento, const std::string& espressione, Classe classe,
                          bool upper) {
  if (ordinamento != kCrescente && ordinamento != kDecrescente) return {};
  const bool maiuscole = classe == Classe::Testo && upper;
  std::string riga = maiuscole ? "ORDER BY UPPER(" + espressione + ")" : "ORDER BY " + espressione;
  if (ordinamento == kDecrescente) riga += " DESC";
  return riga;
}

std::vector<std::string> CondizioneGenerica(const std::vector<std::string>& sqlIniziale,
                                            const std::vector<Colonna>& colonne,
                                            const std::string& testo) {
  const std::string t = ui::UpperCase(TestoSicuro(testo));
  std::vector<std::string> righe{ContieneWhere(sqlIniziale) ? "AND(" : "WHERE("};
  bool primo = true;
  for (const Colonna& c : colonne) {
    if (c.origine.empty()) continue;
    const std::string valore = Testuale(c.tipo) ? c.origine : ComeTesto(c.origine);
    righe.push_back(std::string(primo ? "(" : "OR(") + valore + " CONTAINING '" + t + "')");
    primo = false;
  }
  // No column with an origin: "WHERE()" would not run, so nothing is added.
  if (primo) return {};
  righe.push_back(")");
  return righe;
}

}  // namespace velmaro::ricerca
