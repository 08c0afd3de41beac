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

// What a write run again depends on, in `t`'s view: the whole header and
// the rows its statements touch.
std::vector<Righe> Leggi(const Testata& testata, db::Transaction& t, int id,
                         const PresaTestata::Rinnovo& r) {
  std::vector<Righe> letto;
  letto.push_back(LeggiRighe(t, {SelezionaTestata(testata, "*", id)}));
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
  // Every box is shown with the hold given back: the operator reading it
  // keeps no other session waiting.
  const auto rifiuta = [](std::unique_ptr<PresaTestata>& presa, Esito perche) {
    presa->Annulla();
    return Esiti(nullptr, perche);
  };
  auto presa = std::make_unique<PresaTestata>(testata, scrittura, id);
  if (presa->Presa()) {
    if (GenereGiusto(testata, scrittura, presa->id_, rinnovo.genere))
      return Esiti(std::move(presa), Esito::Presa);
    Esiti esiti = rifiuta(presa, Esito::AltroTipo);
    Errore(rinnovo.errore);
    return esiti;
  }
  if (presa->Stato() != Esito::Superato) {
    Avvisa(presa->Messaggio());
    return Esiti(nullptr, presa->Stato());
  }
  // What the operator saw, read in the view before it goes. The hold was
  // refused before anything was written: renewing carries nothing along.
  const int n = presa->id_;
  const std::vector<Righe> prima = Leggi(testata, scrittura, n, rinnovo);
  if (rinnovo.rinnova)
    rinnovo.rinnova();
  else
    RinnovaTransazione(scrittura);
  presa = std::make_unique<PresaTestata>(testata, scrittura, id);
  if (!presa->Presa()) {
    // Refused again right after renewing: another writer came in between
    // (told as in use), or the header went.
    Avvisa(presa->Messaggio());
    return Esiti(nullptr,
                 presa->Stato() == Esito::Cancellato ? Esito::Cancellato : Esito::InUso);
  }
  if (Leggi(testata, scrittura, n, rinnovo) != prima) {
    Esiti esiti = rifiuta(presa, Esito::Superato);
    Errore(rinnovo.errore);
    return esiti;
  }
  if (!GenereGiusto(testata, scrittura, n, rinnovo.genere)) {
    Esiti esiti = rifiuta(presa, Esito::AltroTipo);
    Errore(rinnovo.errore);
    return esiti;
  }
  const std::string avviso = rinnovo.controlla ? rinnovo.controlla() : std::string();
  if (avviso.empty()) return Esiti(std::move(presa), Esito::Presa);
  Esiti esiti = rifiuta(presa, Esito::ControlloFallito);
  Avvisa(avviso);
  return esiti;
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

}  // namespace velmaro
