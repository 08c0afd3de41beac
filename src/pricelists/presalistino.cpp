#include "pricelists/presalistino.h"

#include <algorithm>
#include <optional>

#include "context/dbutility.h"
#include "db/params.h"
#include "db/query.h"
#include "db/transaction.h"
#include "platform/format.h"
#include "ui/application.h"

namespace velmaro {
namespace {

// LockRecord's answer for header `id` of `testata` in `transazione`.
int BloccaTestata(const Testata& testata, db::Transaction& transazione, int id) {
  TDBRecordLocker locker(nullptr);
  locker.TableName = testata.tabella;
  locker.KeyFields.Add("ID");
  locker.SetTransaction(&transazione);
  locker.KeyParam("ID").SetAsInteger(id);
  return locker.LockRecord();
}

// The rows of one select, each its fields as text (NULL told apart from
// the empty text), in an order of their own: two reads of the same rows
// compare equal whatever order the engine gave them in.
using Righe = std::vector<std::vector<std::optional<std::string>>>;

Righe LeggiRighe(db::Transaction& t, const std::vector<std::string>& sql) {
  db::Query q(t.DefaultDatabase(), &t);
  q.SQL.Assign(sql);
  Righe righe;
  for (q.Open(); !q.Eof(); q.Next()) {
    auto& riga = righe.emplace_back();
    for (db::Field* f : q.Fields())
      riga.push_back(f->IsNull() ? std::nullopt : std::optional(f->AsString()));
  }
  q.Close();
  std::sort(righe.begin(), righe.end());
  return righe;
}

std::string SelezionaTestata(const Testata& testata, const char* colonne, int id) {
  return std::string("SELECT ") + colonne + " FROM " + testata.tabella +
         " WHERE ID=" + std::to_string(id);
}

// What a write run again depends on, in `t`'s view: the whole header, when
// held, and the rows its statements touch.
std::vector<Righe> Leggi(const Testata* testata, db::Transaction& t, int id,
                         const PresaTestata::Rinnovo& r) {
  std::vector<Righe> letto;
  if (testata) letto.push_back(LeggiRighe(t, {SelezionaTestata(*testata, "*", id)}));
  for (const std::vector<std::string>& sql : r.letture) letto.push_back(LeggiRighe(t, sql));
  return letto;
}

// Whether the list, read under the hold, is of the kind the write serves.
bool GenereGiusto(const Testata& testata, db::Transaction& t, int id,
                  PresaTestata::Genere genere) {
  if (genere == PresaTestata::Genere::Qualsiasi) return true;
  const Righe tipo = LeggiRighe(t, {SelezionaTestata(testata, "TIPO", id)});
  const bool netto = !tipo.empty() && tipo.front().front() == std::optional<std::string>("N");
  return genere == PresaTestata::Genere::Netti ? netto : !netto;
}

void Avvisa(const std::string& testo) { ui::MessageDlg(testo, ui::MsgDlgType::Warning, ui::mbOK); }
void Errore(const std::string& testo) { ui::MessageDlg(testo, ui::MsgDlgType::Error, ui::mbOK); }

}  // namespace

PresaTestata::PresaTestata(const Testata& testata, db::Transaction& scrittura,
                           const std::string& id)
    : testata_(testata), scrittura_(scrittura) {
  if (!plat::TryStrToInt(id, id_)) return;
  Blocca();
}

void PresaTestata::Blocca() {
  esito_ = Esito::Cancellato;
  switch (BloccaTestata(testata_, scrittura_, id_)) {
    case TDBRecordLocker::kBloccato:
      esito_ = Esito::Presa;
      aperta_ = true;
      return;
    case TDBRecordLocker::kNessunRecord:
      return;
    default:
      break;
  }
  // Refused: a fresh view tells a header held now, or deleted, from one
  // that another session changed after this transaction's view began.
  auto prova = CreateLockTransaction(*scrittura_.DefaultDatabase());
  const int libera = BloccaTestata(testata_, *prova, id_);
  prova->Rollback();
  esito_ = libera == TDBRecordLocker::kBloccato       ? Esito::Superato
           : libera == TDBRecordLocker::kNessunRecord ? Esito::Cancellato
                                                      : Esito::InUso;
}

PresaTestata::Esiti PresaTestata::Prendi(const Testata& testata, db::Transaction& scrittura,
                                         const std::string& id, const Rinnovo& rinnovo) {
  auto presa = std::make_unique<PresaTestata>(testata, scrittura, id);
  presa->rinnovo_ = rinnovo;
  if (presa->Presa()) {
    if (GenereGiusto(testata, scrittura, presa->id_, rinnovo.genere))
      return Esiti(std::move(presa), Esito::Presa);
    // Every box is shown with the hold given back: the operator reading it
    // keeps no other session waiting.
    presa->Annulla();
    Errore(rinnovo.errore);
    return Esiti(nullptr, Esito::AltroTipo);
  }
  if (presa->Stato() != Esito::Superato) {
    Avvisa(presa->Messaggio());
    return Esiti(nullptr, presa->Stato());
  }
  // The hold was refused before anything was written: renewing carries
  // nothing along.
  if (presa->Riprendi()) return Esiti(std::move(presa), Esito::Presa);
  return Esiti(nullptr, presa->Stato());
}

bool PresaTestata::Riprendi() {
  if (aperta_) Annulla();
  // What the operator saw, read in the view before it goes.
  const std::vector<Righe> prima = Leggi(&testata_, scrittura_, id_, rinnovo_);
  if (rinnovo_.rinnova)
    rinnovo_.rinnova();
  else
    RinnovaTransazione(scrittura_);
  Blocca();
  if (!Presa()) {
    // Refused again right after renewing: another writer came in between
    // (told as in use), or the header went.
    if (esito_ != Esito::Cancellato) esito_ = Esito::InUso;
    Avvisa(Messaggio());
    return false;
  }
  // Every box is shown with the hold given back (see Prendi).
  const auto rifiuta = [this](Esito perche, const std::string& testo, bool errore) {
    Annulla();
    esito_ = perche;
    errore ? Errore(testo) : Avvisa(testo);
    return false;
  };
  if (Leggi(&testata_, scrittura_, id_, rinnovo_) != prima)
    return rifiuta(Esito::Superato, rinnovo_.errore, true);
  if (!GenereGiusto(testata_, scrittura_, id_, rinnovo_.genere))
    return rifiuta(Esito::AltroTipo, rinnovo_.errore, true);
  const std::string avviso = rinnovo_.controlla ? rinnovo_.controlla() : std::string();
  if (!avviso.empty()) return rifiuta(Esito::ControlloFallito, avviso, false);
  return true;
}

std::string PresaTestata::MessaggioInUso() const {
  return rinnovo_.inUso.empty() ? testata_.inUso : rinnovo_.inUso;
}

PresaTestata::~PresaTestata() {
  if (aperta_) Annulla();
}

std::string PresaTestata::Messaggio() const {
  switch (esito_) {
    case Esito::Presa:
      return "";
    case Esito::Cancellato:
      return "Il record selezionato è già stato cancellato da un altro utente";
    default:
      break;
  }
  return testata_.inUso;
}

void PresaTestata::Conferma() {
  scrittura_.CommitRetaining();
  aperta_ = false;
}

void PresaTestata::Annulla() {
  aperta_ = false;
  try {
    scrittura_.RollbackRetaining();
  } catch (...) {
    // A transaction that is gone has given the lock back with it.
  }
}

namespace {

// The outcome of a write the rule ran, told to the operator; true when written.
bool Riferisci(EsitoScrittura esito, const std::string& errore, const std::string& inUso) {
  switch (esito) {
    case EsitoScrittura::Scritta:
      return true;
    case EsitoScrittura::InUso:
      Avvisa(inUso);
      return false;
    case EsitoScrittura::Fallita:
      Errore(errore);
      return false;
    case EsitoScrittura::Rifiutata:
      break;  // the renewal told why
  }
  return false;
}

}  // namespace

bool Scrivi(PresaTestata& presa, const std::function<void()>& scrivi) {
  db::Transaction& t = presa.scrittura_;
  const EsitoScrittura esito =
      ScriviRinnovando(t, scrivi, [&presa] { return presa.Riprendi(); },
                       {.conferma = [&presa] { presa.Conferma(); },
                        .annulla = [&presa] { presa.Annulla(); }});
  return Riferisci(esito, presa.rinnovo_.errore, presa.MessaggioInUso());
}

bool Scrivi(db::Transaction& scrittura, const std::function<void()>& scrivi,
            const PresaTestata::Rinnovo& rinnovo) {
  const auto rinnova = [&] {
    // What the write depends on, read in the view before it goes.
    const std::vector<Righe> prima = Leggi(nullptr, scrittura, 0, rinnovo);
    if (rinnovo.rinnova)
      rinnovo.rinnova();
    else
      RinnovaTransazione(scrittura);
    if (Leggi(nullptr, scrittura, 0, rinnovo) != prima) {
      Errore(rinnovo.errore);
      return false;
    }
    const std::string avviso = rinnovo.controlla ? rinnovo.controlla() : std::string();
    if (avviso.empty()) return true;
    Avvisa(avviso);
    return false;
  };
  return Riferisci(ScriviRinnovando(scrittura, scrivi, rinnova), rinnovo.errore,
               rinnovo.inUso.empty() ? kRecordInUso : rinnovo.inUso);
}

}  // namespace velmaro
