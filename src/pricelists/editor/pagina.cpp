#include "pricelists/editor/pagina.h"

#include <stdexcept>

#include "db/query.h"
#include "db/transaction.h"
#include "pricelists/presalistino.h"
#include "ui/application.h"

namespace velmaro::pagina {

void EseguiRighe(db::Query& q, const std::vector<std::string>& righe) {
  q.Close();
  q.SQL.Clear();
  for (const std::string& r : righe) q.SQL.Add(r);
  q.ExecSQL();
}

void Avviso(const std::string& testo) { ui::MessageDlg(testo, ui::MsgDlgType::Warning, ui::mbOK); }
void Errore(const std::string& testo) { ui::MessageDlg(testo, ui::MsgDlgType::Error, ui::mbOK); }
void Informazione(const std::string& testo) {
  ui::MessageDlg(testo, ui::MsgDlgType::Information, ui::mbOK);
}
bool Conferma(const std::string& testo) {
  return ui::MessageDlg(testo, ui::MsgDlgType::Confirmation, ui::mbYesNo) == ui::mrYes;
}

bool Vuota(db::Query& q, SeVuota avviso) {
  if (q.Active() && !q.IsEmpty()) return false;
  if (avviso == SeVuota::TabellaVuota) Avviso("La tabella è vuota");
  if (avviso == SeVuota::PremereNuovo) Informazione("Premere Nuovo per inserire un nuovo record");
  return true;
}

namespace {

void Apri(db::Query& q, const std::vector<std::string>& righe) {
  q.Close();
  q.SQL.Assign(righe);
  q.Open();
}

}  // namespace

bool Trova(db::Query& q, const std::vector<std::string>& righe) {
  Apri(q, righe);
  const bool trovata = !q.IsEmpty();
  q.Close();
  return trovata;
}

std::string PrimoValore(db::Query& q, const std::vector<std::string>& righe) {
  Apri(q, righe);
  const std::string valore = q.IsEmpty() ? std::string() : q.Fields()[0]->AsString();
  q.Close();
  return valore;
}

bool AncoraPresente(db::Transaction& riavvio, db::Query& q, const std::vector<std::string>& righe) {
  riavvio.SetActive(false);
  riavvio.SetActive(true);
  if (Trova(q, righe)) return true;
  Avviso("Il record selezionato è già stato cancellato da un altro utente");
  return false;
}

bool Scrivi(db::Query& q, const std::function<void()>& scrivi, const std::function<void()>& dopo,
            const PresaTestata::Rinnovo& rinnovo, PresaTestata* presa) {
  const bool scritta =
      presa ? velmaro::Scrivi(*presa, scrivi) : velmaro::Scrivi(*q.GetTransaction(), scrivi, rinnovo);
  if (!scritta) return false;
  if (dopo) {
    try {
      dopo();
    } catch (const ui::InputError&) {
      throw;
    } catch (const std::exception& e) {
      ui::App().ShowException(e);
    }
  }
  return true;
}

bool Scrivi(db::Query& q, const std::vector<std::vector<std::string>>& statementi,
            const std::function<void()>& dopo, const PresaTestata::Rinnovo& rinnovo,
            PresaTestata* presa) {
  return Scrivi(
      q,
      [&] {
        for (const std::vector<std::string>& righe : statementi) EseguiRighe(q, righe);
      },
      dopo, rinnovo, presa);
}

bool Scrivi(db::Query& q, const std::function<void()>& scrivi, const std::function<void()>& dopo,
            const std::string& errore, PresaTestata* presa) {
  return Scrivi(q, scrivi, dopo, PresaTestata::Rinnovo{.errore = errore}, presa);
}

bool Scrivi(db::Query& q, const std::vector<std::vector<std::string>>& statementi,
            const std::function<void()>& dopo, const std::string& errore, PresaTestata* presa) {
  return Scrivi(q, statementi, dopo, PresaTestata::Rinnovo{.errore = errore}, presa);
}

void EseguiSuRiga(db::Query& q, const std::vector<std::string>& righe) {
  EseguiRighe(q, righe);
  if (q.RowsAffected() == 0) throw std::runtime_error("nessuna riga corrisponde");
}

namespace {
const char* const kErroreEliminazione =
    "Errore interno: impossibile eliminare il record selezionato";
}  // namespace

std::optional<int> EliminaRigaCorrente(db::Query& griglia, db::Query& scrittura,
                                       db::Query& rilettura, db::Transaction& riavvio,
                                       const Eliminazione& e) {
  if (!AncoraPresente(riavvio, rilettura, e.cerca)) return std::nullopt;
  if (!Conferma(e.domanda)) return std::nullopt;
  const int riga = griglia.RecNo();
  std::optional<PresaTestata::Esiti> presa;
  if (e.prendi) {
    presa = e.prendi({.letture = {e.cerca}, .errore = kErroreEliminazione});
    if (!*presa) return std::nullopt;
  }
  PresaTestata* tenuta = presa ? presa->get() : nullptr;
  const auto dopo = [&] {
    if (e.torna) e.torna(riga);
  };
  const bool scritta = e.scrivi
                           ? Scrivi(scrittura, e.scrivi, dopo, kErroreEliminazione, tenuta)
                           : Scrivi(scrittura, e.statementi, dopo, kErroreEliminazione, tenuta);
  if (!scritta) return std::nullopt;
  return riga;
}

void AzzeraLista(db::Query& scrittura, const Azzeramento& a) {
  if (ui::MessageDlg("Azzerare il listino corrente?", ui::MsgDlgType::Confirmation,
                     ui::mbOKCancel) != ui::mrOk)
    return;
  const PresaTestata::Esiti presa =
      a.prendi({.letture = {{a.righe}}, .errore = kErroreEliminazione});
  if (!presa) return;
  Scrivi(scrittura, {{a.sql}}, {}, kErroreEliminazione, presa.get());
  a.ricarica();
}

void Ricarica(db::Query& q, const std::function<void()>& carica) {
  db::Transaction* t = q.GetTransaction();
  if (t && t->InTransaction()) t->CommitRetaining();
  q.Close();
  if (carica) carica();
  if (!q.Active()) q.Open();
}

}  // namespace velmaro::pagina
