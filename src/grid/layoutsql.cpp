#include "grid/layoutsql.h"

#include "db/field.h"
#include "db/table.h"

namespace velmaro {

std::vector<std::string> RigheChiave(const ChiaveSituazione& k) {
  return {"WHERE (CodiceSituazione=" + std::to_string(k.situazione) + ")",
          "AND (CodiceUtente=" + std::to_string(k.utente) + ")",
          "AND (CodiceProgetto=" + std::to_string(k.progetto) + ")"};
}

std::vector<std::string> SelezioneChiave(const std::string& tabella, const ChiaveSituazione& k) {
  std::vector<std::string> righe{"SELECT * FROM \"" + tabella + "\""};
  for (std::string& r : RigheChiave(k)) righe.push_back(std::move(r));
  return righe;
}

int LarghezzaSalvata(const db::Field& larghezza) {
  return larghezza.AsIntegerOr(-1, 0, kLarghezzaMassima);
}

std::vector<std::string> RigheChiaveEstese(const ChiaveSituazione& k) {
  return {"  CODICESITUAZIONE=" + std::to_string(k.situazione), "  AND",
          "  CODICEUTENTE=" + std::to_string(k.utente), "  AND",
          "  CODICEPROGETTO=" + std::to_string(k.progetto)};
}

std::string CampiIndicizzatiTabella(const db::Table& tabella) {
  std::string campi;
  for (const db::IndexDef& indice : tabella.IndexDefs) campi += indice.Fields + ";";
  if (!campi.empty()) campi.pop_back();
  return campi;
}

}  // namespace velmaro
