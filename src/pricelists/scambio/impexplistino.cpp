#include "pricelists/scambio/impexplistino.h"

#include "context/datamodule.h"
#include "context/helpers.h"
#include "context/tabxform.h"
#include "db/database.h"
#include "db/query.h"
#include "db/sqlstatement.h"
#include "db/transaction.h"
#include "platform/hostfolder.h"
#include "pricelists/presalistino.h"
#include "pricelists/scambio/filescambio.h"
#include "pricelists/scambio/importclassico.h"
#include "ui/application.h"
#include "ui/dialogs.h"
#include "ui/extctrls.h"
#include "ui/make.h"
#include "ui/stdctrls.h"

namespace velmaro {

TImpExpListinoForm::TImpExpListinoForm(ui::Component* owner, const std::string& idListino,
                                       CellaDataModule* cellaDM, const std::string& nomeFile)
    : ui::Form(owner), CellaDM(cellaDM), IDListino(idListino) {
  SetCaption("Imp/Exp");
  BorderStyle = ui::FormBorderStyle::Dialog;
  Position = ui::FormPosition::ScreenCenter;
  SetBounds(0, 0, 560, 420);

  TTabXForm& tabx = CellaDM->Riferimento().TabX();
  QueryAux1 = ui::Make<db::Query>(this, "QueryAux1", tabx.IBDatabase1, tabx.IBTransaction1);

  ButtonDirExp = ui::Make<ui::Button>(this, "ButtonDirExp", {8, 8, 80, 25}, "File exp");
  EditDirExp = ui::Make<ui::Edit>(this, "EditDirExp", {96, 10, 360, 21});
  ButtonExp = ui::Make<ui::Button>(this, "ButtonExp", {464, 8, 80, 25}, "Esporta");
  ButtonDirImp = ui::Make<ui::Button>(this, "ButtonDirImp", {8, 72, 80, 25}, "File imp");
  EditDirImp = ui::Make<ui::Edit>(this, "EditDirImp", {96, 74, 360, 21});
  ButtonImp = ui::Make<ui::Button>(this, "ButtonImp", {464, 72, 80, 25}, "Importa");
  LabelLog = ui::Make<ui::Label>(this, "LabelLog", {8, 160, 40, 17}, "Log");
  MemoLog = ui::Make<ui::Memo>(this, "MemoLog", {8, 178, 536, 160});
  MemoLog->ReadOnly = true;
  ProgressExp = ui::Make<ui::ProgressBar>(this, "ProgressExp", {8, 346, 536, 17});
  ProgressExp->SetMin(0);
  ProgressExp->SetMax(100);
  ButtonChiudi = ui::Make<ui::Button>(this, "ButtonChiudi", {464, 372, 80, 25}, "Chiudi");
  ButtonChiudi->ModalResult = ui::mrOk;

  // The dialogs are components, not controls: owned by the window, placed nowhere.
  SaveDialogExp = new ui::SaveDialog(this);
  SaveDialogExp->SetName("SaveDialogExp");
  SaveDialogExp->Title = "Selezionare file export";
  OpenDialogImp = new ui::OpenDialog(this);
  OpenDialogImp->SetName("OpenDialogImp");
  OpenDialogImp->Title = "Selezionare file import";
  const std::string cartella = CartellaArchivio();
  for (ui::OpenDialog* d : {static_cast<ui::OpenDialog*>(SaveDialogExp), OpenDialogImp}) {
    d->Filter = "File csv|*.csv";
    d->DefaultExt = "csv";
    d->InitialDir = cartella;
  }
  EditDirExp->SetText(cartella + nomeFile);
  EditDirImp->SetText(cartella + nomeFile);

  ButtonDirExp->OnClick = [this](ui::Component*) { ButtonDirExpClick(); };
  ButtonDirImp->OnClick = [this](ui::Component*) { ButtonDirImpClick(); };
  ButtonExp->OnClick = [this](ui::Component*) { Comando([this] { ButtonExpClick(); }); };
  ButtonImp->OnClick = [this](ui::Component*) { Comando([this] { ButtonImpClick(); }); };

  const std::string icona = FileIconaFinestre();
  if (plat::FileExists(icona)) Icon.LoadFromFile(icona);
}

std::string TImpExpListinoForm::CartellaArchivio() const {
  const std::string percorso = CellaDM->Riferimento().TabX().IBDatabase1->DatabaseName;
  const size_t fine = percorso.find_last_of("\\/:");
  return fine == std::string::npos ? std::string() : percorso.substr(0, fine + 1);
}

void TImpExpListinoForm::ButtonDirExpClick() {
  if (SaveDialogExp->Execute()) EditDirExp->SetText(SaveDialogExp->FileName);
}

void TImpExpListinoForm::ButtonDirImpClick() {
  if (OpenDialogImp->Execute()) EditDirImp->SetText(OpenDialogImp->FileName);
}

std::string TImpExpListinoForm::ReturnDateSQL(const std::string& data) {
  return MeseGiornoAnnoSeValida(TestoInData(data));
}

void TImpExpListinoForm::Log(const std::string& riga) { MemoLog->Lines.Add(riga); }

void TImpExpListinoForm::ImpostaSQL(const std::vector<std::string>& righe) {
  QueryAux1->Close();
  QueryAux1->SQL.Clear();
  for (const std::string& r : righe) QueryAux1->SQL.Add(r);
}

void TImpExpListinoForm::Progresso(long long fatti, long long totale) {
  const int p = Percentuale(fatti, totale);
  if (p == ultimoProgresso_ && ProgressExp->Position() == p) return;
  ultimoProgresso_ = p;
  ProgressExp->SetPosition(p);
}

void TImpExpListinoForm::MostraErrore(const std::exception& e) { ui::App().ShowException(e); }

void TImpExpListinoForm::ControllaFile(LettoreRighe& file, PresaTestata& presa) {
  try {
    file.ControllaInvariato();
  } catch (const ErroreFile&) {
    presa.Annulla();
    throw;
  }
}

void TImpExpListinoForm::Esporta(const std::string& intestazione,
                                 const std::vector<std::string>& select, const std::string& ordine,
                                 const std::string& etichetta,
                                 const std::function<bool(db::Transaction&)>& controllo) {
  const std::string nome = EditDirExp->Text();
  if (nome.empty()) {
    ui::ShowMessage("Specificare dir exp");
    return;
  }
  db::Database* database = QueryAux1->GetDatabase();
  db::Transaction vista(database);
  vista.StartTransaction();
  if (controllo && !controllo(vista)) return;
  Log("Inizio esportazione file");
  ScrittoreCsv file(nome);
  file.Testo(intestazione);
  file.FineRiga();

  // Read forward only: the rows are written as they come, none is kept.
  db::SqlStatement righe(database, &vista);
  for (const std::string& r : select) righe.SQL.Add(r);
  righe.SQL.Add(ordine);
  righe.Prepare();
  long long totale = 0;
  {
    // A derived table needs a name for each column, aggregates included.
    std::string colonne;
    for (int i = 1; i <= righe.FieldCount(); ++i)
      colonne += (i > 1 ? ",C" : "C") + std::to_string(i);
    db::SqlStatement conta(database, &vista);
    conta.SQL.Add("SELECT COUNT(*) FROM (");
    for (const std::string& r : select) conta.SQL.Add(r);
    conta.SQL.Add(") T (" + colonne + ")");
    conta.ExecQuery();
    totale = conta.Fields(0).AsInt64();
  }
  righe.ExecQuery();
  long long scritte = 0;
  ultimoProgresso_ = -1;
  for (; !righe.Eof(); righe.Next()) {
    for (int i = 0; i < righe.FieldCount(); ++i) file.Campo(righe.Fields(i).AsString());
    file.FineRiga();
    Progresso(++scritte, totale);
  }
  if (scritte == 0) Progresso(0, 0);
  vista.Commit();
  file.Conferma();
  Log(etichetta + std::to_string(scritte));
  ui::MessageDlg("Esportazione completata", ui::MsgDlgType::Information, ui::mbOK);
}

}  // namespace velmaro
