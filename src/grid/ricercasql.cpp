#include "grid/ricercasql.h"

#include "ui/strings.h"

namespace velmaro::ricerca {

namespace {

constexpr const char* kAccentoAcuto = "\xC2\xB4";  // "´", character 180

bool ContieneWhere(const std::vector<std::string>& righe) {
  for (const std::string& riga : righe)
    if (ui::UpperCase(riga).find("WHERE") != std::string::npos) return true;
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
                                            const std::vector<std::string>& origini,
                                            const std::string& testo) {
  const std::string t = ui::UpperCase(TestoSicuro(testo));
  std::vector<std::string> righe{ContieneWhere(sqlIniziale) ? "AND(" : "WHERE("};
  bool primo = true;
  for (const std::string& origine : origini) {
    if (origine.empty()) continue;
    righe.push_back(std::string(primo ? "(" : "OR(") + origine + " CONTAINING '" + t + "')");
    primo = false;
  }
  // No column with an origin: "WHERE()" would not run, so nothing is added.
  if (primo) return {};
  righe.push_back(")");
  return righe;
}

}  // namespace velmaro::ricerca
