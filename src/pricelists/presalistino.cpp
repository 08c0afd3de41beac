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

// LockRecord's answer for the header of list `id` in `transazione`.
int BloccaTestata(db::Transaction& transazione, int id) {
  TDBRecordLocker locker(nullptr);
  locker.TableName = "LISTSC";
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

// What a write run again depends on, in `t`'s view: the list's header
// (when it must be the same list) and the rows its statements touch.
std::vector<Righe> Leggi(db::Transaction& t, int id, const PresaListino::Rinnovo& r) {
  std::vector<Righe> letto;
  if (r.stessaTestata)
    letto.push_back(LeggiRighe(t, {"SELECT * FROM LISTSC WHERE ID=" + std::to_string(id)}));
  for (const std::vector<std::string>& sql : r.letture) letto.push_back(LeggiRighe(t, sql));
  return letto;
}

void Avvisa(const std::string& testo) { ui::MessageDlg(testo, ui::MsgDlgType::Warning, ui::mbOK); }

}  // namespace

PresaListino::PresaListino(db::Transaction& scrittura, const std::string& idListino)
    : scrittura_(scrittura) {
  if (!plat::TryStrToInt(idListino, id_)) return;
  switch (BloccaTestata(scrittura_, id_)) {
    case 2:
      esito_ = Esito::Presa;
      aperta_ = true;
      return;
    case 0:
      return;
    default:
      break;
  }
  // Refused: a fresh view tells a list held now, or deleted, from one
  // that another session changed after this transaction's view began.
  auto prova = CreateLockTransaction(*scrittura_.DefaultDatabase());
  const int libera = BloccaTestata(*prova, id_);
  prova->Rollback();
  esito_ = libera == 2 ? Esito::Superato : libera == 0 ? Esito::Cancellato : Esito::InUso;
}

std::unique_ptr<PresaListino> PresaListino::Prendi(db::Transaction& scrittura,
                                                   const std::string& idListino,
                                                   const Rinnovo& rinnovo) {
  auto presa = std::make_unique<PresaListino>(scrittura, idListino);
  if (presa->Presa()) return presa;
  if (presa->Stato() != Esito::Superato) {
    Avvisa(presa->Messaggio());
    return nullptr;
  }
  // What the operator saw, read in the view before it goes. The hold was
  // refused before anything was written: renewing carries nothing along.
  const int id = presa->id_;
  const std::vector<Righe> prima = Leggi(scrittura, id, rinnovo);
  if (rinnovo.rinnova)
    rinnovo.rinnova();
  else
    RinnovaTransazione(scrittura);
  presa = std::make_unique<PresaListino>(scrittura, idListino);
  if (!presa->Presa()) {
    // Refused again right after renewing: another writer came in between
    // (told as in use), or the list went.
    Avvisa(presa->Messaggio());
    return nullptr;
  }
  // The hold is given back before any box: the operator reading it keeps
  // no other session waiting.
  if (Leggi(scrittura, id, rinnovo) != prima) {
    presa->Annulla();
    ui::MessageDlg(rinnovo.errore, ui::MsgDlgType::Error, ui::mbOK);
    return nullptr;
  }
  const std::string avviso = rinnovo.controlla ? rinnovo.controlla() : std::string();
  if (avviso.empty()) return presa;
  presa->Annulla();
  Avvisa(avviso);
  return nullptr;
}

PresaListino::~PresaListino() {
  if (aperta_) Annulla();
}

std::string PresaListino::Messaggio() const {
  switch (esito_) {
    case Esito::Presa:
      return "";
    case Esito::Cancellato:
      return "Il record selezionato è già stato cancellato da un altro utente";
    case Esito::InUso:
    case Esito::Superato:
      break;
  }
  return "Il listino è in uso da un altro utente: riprovare più tardi";
}

void PresaListino::Conferma() {
  scrittura_.CommitRetaining();
  aperta_ = false;
}

void PresaListino::Annulla() {
  aperta_ = false;
  try {
    scrittura_.RollbackRetaining();
  } catch (...) {
    // A transaction that is gone has given the lock back with it.
  }
}

}  // namespace velmaro
