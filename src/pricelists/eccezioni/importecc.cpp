#include "pricelists/eccezioni/importecc.h"

#include <stdexcept>

#include "context/datamodule.h"
#include "context/dbutility.h"
#include "context/tabxform.h"
#include "db/database.h"
#include "db/query.h"
#include "db/transaction.h"
#include "pricelists/presalistino.h"
#include "pricelists/tipipr.h"
#include "ui/application.h"
#include "ui/make.h"
#include "ui/stdctrls.h"

namespace velmaro {

TImportEccForm::TImportEccForm(ui::Component* owner, CellaDataModule* cellaDM)
    : FinestraDaExport(owner, cellaDM) {
  SetName("ImportEccForm");
  SetBounds(200, 120, 560, 480);
  DatabaseImport = ui::Make<db::Database>(this, "DatabaseImport");
  TransactionImport = ui::Make<db::Transaction>(this, "TransactionImport", DatabaseImport);
  QueryImport = ui::Make<db::Query>(this, "QueryImport", DatabaseImport, TransactionImport);
  QueryAux1 = ui::Make<db::Query>(this, "QueryAux1");
  QueryAux2 = ui::Make<db::Query>(this, "QueryAux2");
  CreaControlli();
  Inizializzazione();
  DoCreate();
}

void TImportEccForm::CreaControlli() {
  ui::Make<ui::Label>(this, "Label1", {8, 12, 20, 17}, "1");
  ui::Make<ui::Label>(this, "LabelIDlistIniz", {32, 12, 120, 17}, "ID listino inziale");
  EditIDlistIniz = ui::Make<ui::Edit>(this, "EditIDlistIniz", {160, 8, 80, 21});
  EditIDlistIniz->SetText("2");
  ui::Make<ui::Label>(this, "LabelDataInizioDef", {252, 12, 120, 17}, "Data inizio default");
  EditDataInizioDef = ui::Make<ui::Edit>(this, "EditDataInizioDef", {380, 8, 90, 21});
  EditDataInizioDef->SetText("01-01-2011");
  Button1 = ui::Make<ui::Button>(this, "Button1", {32, 36, 140, 25}, "Importa listini");

  ui::Make<ui::Label>(this, "Label2", {8, 80, 20, 17}, "2");
  ui::Make<ui::Label>(this, "LabelIDFasciaIniz", {32, 80, 120, 17}, "ID fascia inziale");
  EditIDFasciaIniz = ui::Make<ui::Edit>(this, "EditIDFasciaIniz", {160, 76, 80, 21});
  EditIDFasciaIniz->SetText("2");
  CheckBoxMigliorPrezzo = ui::Make<ui::CheckBox>(this, "CheckBoxMigliorPrezzo", {252, 78, 260, 17},
                                                 "Default modalità miglior prezzo");
  CheckBoxMigliorPrezzo->SetChecked(true);
  Button4 = ui::Make<ui::Button>(this, "Button4", {32, 104, 140, 25}, "Crea fasce");
  Button5 = ui::Make<ui::Button>(this, "Button5", {180, 104, 140, 25}, "Aggiorna TIPIPR");

  Button2 = ui::Make<ui::Button>(this, "Button2", {32, 144, 140, 25}, "Svuota listini");
  Button3 = ui::Make<ui::Button>(this, "Button3", {180, 144, 140, 25}, "Svuota fasce");

  ui::Make<ui::Label>(this, "LabelLog", {8, 180, 60, 17}, "Log");
  Memo1 = ui::Make<ui::Memo>(this, "Memo1", {8, 198, 536, 210});
  Memo1->ReadOnly = true;
  ButtonChiudi = ui::Make<ui::Button>(this, "ButtonChiudi", {444, 418, 100, 25}, "Chiudi");

  Button1->OnClick = [this](ui::Component*) { Button1Click(); };
  Button4->OnClick = [this](ui::Component*) { Button4Click(); };
  Button5->OnClick = [this](ui::Component*) { Button5Click(); };
  Button2->OnClick = [this](ui::Component*) { Button2Click(); };
  Button3->OnClick = [this](ui::Component*) { Button3Click(); };
  ButtonChiudi->OnClick = [this](ui::Component*) { ButtonChiudiClick(); };
}

void TImportEccForm::Inizializzazione() {
  SetCaption(TitoloOperatore("Listini fasce"));
  ApertaDaExport = false;
  QueryAux1->SetDatabase(TabX().IBDatabase1);
  QueryAux1->SetTransaction(TabX().IBTransaction1);
  QueryAux2->SetDatabase(TabX().IBDatabase1);
  QueryAux2->SetTransaction(TabX().IBTransaction1);

  std::string nome;
  DM().ValoreTabX("ImpDirEccDB", false, nome);
  DatabaseImport->DatabaseName = nome;
  DatabaseImport->Params = {"user_name=SYSDBA", "password=pinecrane"};
  DatabaseImport->SQLDialect = 3;
  DatabaseImport->LoginPrompt = false;
  DatabaseImport->Open();
}

void TImportEccForm::Conferma() {
  db::Transaction* t = TabX().IBTransaction1;
  try {
    if (t->InTransaction()) t->CommitRetaining();
    if (TransactionImport->InTransaction()) TransactionImport->CommitRetaining();
  } catch (const std::exception&) {
    try {
      if (t->InTransaction()) t->RollbackRetaining();
    } catch (const std::exception&) {
      // A transaction that is gone took its writes with it.
    }
    throw;
  }
}

void TImportEccForm::VistaRinnovata() {
  RinnovaTransazione(*TabX().IBTransaction1);
  RinnovaTransazione(*TransactionImport);
}

void TImportEccForm::Esegui(std::initializer_list<std::string> righe) {
  QueryAux1->Close();
  QueryAux1->SQL.Clear();
  for (const std::string& r : righe) QueryAux1->SQL.Add(r);
  ultimoComando_ = QueryAux1->SQL.Text();
  if (!ultimoComando_.empty()) ultimoComando_.pop_back();  // the last line's break
  QueryAux1->ExecSQL();
}

void TImportEccForm::Log(const std::string& riga) { Memo1->Lines.Add(riga); }

namespace {

// How a write of the window ended, told to the operator; true when written.
// A failure that is no held row is the database's own error, shown as any
// other error of a command.
bool Riferisci(EsitoScrittura esito, const std::string& errore, const std::string& inUso) {
  switch (esito) {
    case EsitoScrittura::Scritta:
      return true;
    case EsitoScrittura::InUso:
      ui::MessageDlg(inUso, ui::MsgDlgType::Warning, ui::mbOK);
      return false;
    case EsitoScrittura::Fallita:
    case EsitoScrittura::Rifiutata:
      break;
  }
  ui::App().ShowException(std::runtime_error(errore));
  return false;
}

}  // namespace

// The price types stay pending: the next step commits them before it acts
// (or the close does). A refresh that fails leaves none of its rows
// pending. The bands are read on a view taken now.
void TImportEccForm::Button5Click() {
  VistaRinnovata();
  std::string errore;
  const EsitoScrittura esito = ScriviRinnovando(
      *TabX().IBTransaction1, [this] { AggiornaTipiPR(*QueryAux1); }, {}, {.conferma = [] {}},
      &errore);
  if (Riferisci(esito, errore, kRecordInUso)) Log("Aggiornamento TIPIPR completato");
}

// A statement that meets a row written since the press rolls back what the
// command deleted, renews the view and runs the deletes once more: they
// reach what is committed then. Met again, a running transaction holds the
// row. Any failure leaves the tables as they were.
void TImportEccForm::Svuota(std::initializer_list<const char*> statementi,
                            const std::string& inUso) {
  VistaRinnovata();
  std::string errore;
  const EsitoScrittura esito = ScriviRinnovando(
      *TabX().IBTransaction1,
      [&] {
        for (const char* sql : statementi) Esegui({sql});
      },
      {}, {}, &errore);
  if (Riferisci(esito, errore, inUso)) ui::ShowMessage("Operazione completata");
}

void TImportEccForm::Button2Click() {
  Svuota({"DELETE FROM LISTSCDTNET WHERE IDLISTSC<>1", "DELETE FROM LISTSC WHERE ID<>1",
          "DELETE FROM LISTSCDTSCO"},
         kTestataListino.inUso);
}

void TImportEccForm::Button3Click() {
  Svuota({"DELETE FROM FASCESC WHERE ID<>1", "DELETE FROM FASCESCDT WHERE IDFASCIA<>1"},
         kTestataFascia.inUso);
}

void TImportEccForm::ButtonChiudiClick() { Close(); }

// Only the price types of a refresh can be pending here (every other step
// commits or rolls back what it wrote): they are kept.
void TImportEccForm::FormClose(ui::Component* sender, ui::CloseAction& action) {
  db::Transaction* t = TabX().IBTransaction1;
  if (t && t->InTransaction()) {
    try {
      t->CommitRetaining();
    } catch (const std::exception& e) {
      ui::App().ShowException(e);
      try {
        t->RollbackRetaining();
      } catch (const std::exception&) {
        // The connection is gone; the context object's release ends it.
      }
    }
  }
  FinestraDaExport::FormClose(sender, action);
}

void ApriImportEccForm(std::int32_t utente, std::int32_t idApertura) {
  LanciaFinestra<TImportEccForm>(utente, idApertura);
}

}  // namespace velmaro
