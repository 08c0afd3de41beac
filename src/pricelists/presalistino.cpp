#include "pricelists/presalistino.h"

#include "context/dbutility.h"
#include "db/params.h"
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

}  // namespace

PresaListino::PresaListino(db::Transaction& scrittura, const std::string& idListino)
    : scrittura_(scrittura) {
  int id = 0;
  if (!plat::TryStrToInt(idListino, id)) return;
  switch (BloccaTestata(scrittura_, id)) {
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
  const int libera = BloccaTestata(*prova, id);
  prova->Rollback();
  esito_ = libera == 2 ? Esito::Superato : libera == 0 ? Esito::Cancellato : Esito::InUso;
}

std::unique_ptr<PresaListino> PresaListino::Prendi(db::Transaction& scrittura,
                                                   const std::string& idListino) {
  auto presa = std::make_unique<PresaListino>(scrittura, idListino);
  if (presa->Presa()) return presa;
  ui::MessageDlg(presa->Messaggio(), ui::MsgDlgType::Warning, ui::mbOK);
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
      return "Il listino è in uso da un altro utente: riprovare più tardi";
    case Esito::Superato:
      break;
  }
  return "Il listino è stato modificato da un altro utente dopo l'apertura della finestra: "
         "chiuderla e riaprirla per lavorare sui dati aggiornati";
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
