#include "pricelists/righe/dialoghi_righe.h"

#include <map>
#include <string>

#include "context/dbutility.h"
#include "db/query.h"
#include "db/transaction.h"
#include "platform/format.h"
#include "search/kestrin.h"
#include "ui/extctrls.h"
#include "ui/form.h"
#include "ui/make.h"
#include "ui/stdctrls.h"
#include "ui/utf8.h"

namespace velmaro::dialoghi {

using ui::Make;

GruppoOmaggio CreaGruppoOmaggio(ui::Form* dialogo, int y) {
  GruppoOmaggio g;
  g.gruppo = Make<ui::GroupBox>(dialogo, "GroupBoxOmaggio", {12, y, 446, 104}, "Omaggio");
  auto campo = [&](ui::Edit*& e, const char* nome, const char* testo, ui::Bounds b) {
    Make<ui::Label>(dialogo, g.gruppo, std::string("Label") + nome,
                    {b.left - 110, b.top + 3, 106, 16}, testo);
    e = Make<ui::Edit>(dialogo, g.gruppo, std::string("Edit") + nome, b);
  };
  campo(g.codice, "OmaggioCodArticolo", "Codice articolo:", {120, 18, 140, 21});
  g.cerca =
      Make<ui::Button>(dialogo, g.gruppo, "ButtonOmaggioCodArticolo", {264, 18, 24, 21}, "...");
  campo(g.estensione, "OmaggioEstCodice", "Estensione codice:", {120, 44, 80, 21});
  campo(g.soglia, "OmaggioSoglia", "Soglia:", {340, 44, 60, 21});
  campo(g.quantita, "OmaggioQuantita", "Quantità:", {120, 70, 80, 21});
  campo(g.multipli, "OmaggioMultipli", "Multipli:", {340, 70, 60, 21});
  return g;
}

void NessunaDataFine(const ui::CheckBox& nessuna, ui::DateTimePicker& fine) {
  if (nessuna.Checked()) {
    fine.SetEnabled(false);
    fine.SetDate(plat::Date());
    return;
  }
  fine.SetEnabled(true);
}

void DateDaRiga(db::Query& q, ui::DateTimePicker& inizio, ui::DateTimePicker& fine,
                ui::CheckBox& nessunaFine, const std::function<void()>& gestore) {
  inizio.SetDate(q.FieldByName("DATAINIZIOVALIDITA").AsDateTime());
  db::Field& campoFine = q.FieldByName("DATAFINEVALIDITA");
  if (!campoFine.IsNull()) {
    fine.SetDate(campoFine.AsDateTime());
    return;
  }
  nessunaFine.SetChecked(true);
  gestore();
}

void TestiDaRiga(db::Query& q, const std::vector<std::pair<ui::Control*, const char*>>& campi) {
  for (const auto& [controllo, campo] : campi) controllo->SetText(q.FieldByName(campo).AsString());
}

bool CercaArticolo(std::int32_t utente, std::uint32_t handle, int situazione,
                   righe::Articolo& articolo) {
  const std::string risposta = RicercaKestrin(utente, handle, righe::RichiestaArticoli(situazione),
                                              ChiamanteKestrin::Listini);
  return righe::ArticoloDaRisposta(risposta, articolo);
}

std::string TestoTroppoLungo(db::Database* db, const std::string& tabella,
                             const std::vector<TestoInColonna>& testi) {
  db::Transaction vista(db);
  const std::map<std::string, ColumnInfo> colonne = TableColumns(tabella, *db, vista);
  for (const TestoInColonna& t : testi) {
    const auto c = colonne.find(t.colonna);
    const int massimo = c == colonne.end() ? 0 : c->second.characters;
    if (massimo > 0 && ui::utf8::Length(t.testo) > massimo)
      return std::string("Il campo \"") + t.etichetta + "\" ammette al massimo " +
             std::to_string(massimo) + " caratteri";
  }
  return {};
}

}  // namespace velmaro::dialoghi
