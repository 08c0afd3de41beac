#include "demoform.h"

#include "db/database.h"
#include "db/datasource.h"
#include "db/query.h"
#include "db/transaction.h"
#include "grid/vuxgrid.h"
#include "platform/encoding.h"
#include "platform/library.h"
#include "search/widestring.h"
#include "sqlrun.h"
#include "ui/application.h"
#include "ui/dbgrid.h"
#include "ui/make.h"
#include "ui/stdctrls.h"

namespace host {

TDemoForm::TDemoForm(const std::string& companyDb, const std::string& operatorName,
                     int operatorNumber)
    : ui::Form(&ui::App()) {
  SetName("DemoForm");
  SetCaption("Demo - Utente: " + operatorName);
  SetBounds(100, 100, 640, 620);
  database_ = ui::Make<db::Database>(this, "Database");
  transaction_ = ui::Make<db::Transaction>(this, "Transaction", database_);
  query_ = ui::Make<db::Query>(this, "QueryClienti", database_, transaction_);
  source_ = ui::Make<db::DataSource>(this, "SourceClienti", query_);
  netti_ = ui::Make<db::Query>(this, "QueryNetti", database_, transaction_);
  sourceNetti_ = ui::Make<db::DataSource>(this, "SourceNetti", netti_);

  ui::Make<ui::Label>(this, "LabelNome", {8, 12, 60, 17}, "Nome");
  EditNome = ui::Make<ui::Edit>(this, "EditNome", {80, 8, 200, 21});
  GridClienti = ui::Make<ui::DBGrid>(this, "GridClienti", {8, 40, 620, 280});
  GridNetti = ui::Make<velmaro::TVuxGrid>(this, "GridNetti", {8, 330, 620, 240});
  GridNetti->Loaded();
  ButtonDialogo = ui::Make<ui::Button>(this, "ButtonDialogo", {8, 580, 100, 25}, "Dialogo...");
  ButtonDomanda = ui::Make<ui::Button>(this, "ButtonDomanda", {116, 580, 100, 25}, "Domanda");
  ButtonChiudi = ui::Make<ui::Button>(this, "ButtonChiudi", {528, 580, 100, 25}, "Chiudi");
  ButtonDialogo->OnClick = [this](ui::Component*) { ButtonDialogoClick(); };
  ButtonDomanda->OnClick = [this](ui::Component*) { ButtonDomandaClick(); };
  ButtonChiudi->OnClick = [this](ui::Component*) { Close(); };
  PreparaRicercaKestrin(operatorNumber);
  OnClose = [this](ui::Component*, ui::CloseAction& action) {
    if (netti_->Active()) GridNetti->SalvaAspettoGriglia();
    action = ui::CloseAction::Free;
  };

  GridClienti->SetDataSource(source_);
  OpenHostDatabase(*database_, companyDb);
  query_->SQL.SetText("SELECT CODICE, RAGSOC, CITTA, TIPOPREZZO FROM CLIENTI ORDER BY CODICE");
  query_->Open();
  PreparaGrigliaNetti(operatorNumber);
  DoCreate();
}

// The net-price rows in the house grid, set up as the module's windows set
// up theirs: codes, operator, table, data set, then the first open. The
// query's BeforeOpen writes the base SQL and loads the layout, except
// during a search (the grid's Tag is 1 then). The query outlives the grid
// when the window is freed, so its handlers check that the grid is there.
void TDemoForm::PreparaGrigliaNetti(int operatorNumber) {
  auto griglia = [ref = GridNetti->Ref()] { return static_cast<velmaro::TVuxGrid*>(ref.Get()); };
  netti_->BeforeOpen = [this, griglia](db::DataSet&) {
    velmaro::TVuxGrid* g = griglia();
    if (!g || g->Tag != 0) return;
    netti_->SQL.SetText(
        "SELECT IDLISTSC, CODICEARTICOLO, ESTCODICE, PREZZO, DATAINIZIOVALIDITA, "
        "DATAFINEVALIDITA\nFROM LISTSCDTNET");
    g->SQLIniziale = netti_->SQL;
    g->CaricaAspettoGriglia();
  };
  netti_->BeforeClose = [this, griglia](db::DataSet&) {
    velmaro::TVuxGrid* g = griglia();
    if (g && g->Tag == 0 && netti_->Active() && !g->AspettoSostituito) g->SalvaAspettoGriglia();
  };
  GridNetti->OnInizioRicerca = [this](ui::Component*) { GridNetti->Tag = 1; };
  GridNetti->OnFineRicerca = [this](ui::Component*) { GridNetti->Tag = 0; };
  GridNetti->CodiceProgetto = 501;
  GridNetti->SetSituazione(90);
  GridNetti->Utente = operatorNumber;
  GridNetti->NomeTabella = "LISTSCDTNET";
  GridNetti->SetDataSource(sourceNetti_);
  GridNetti->SetSorgenteDati(netti_);
  GridNetti->TabellaPiccola = true;
  GridNetti->Ditta = "DEMO";
  GridNetti->RicercaCampoAbilitata = true;
  netti_->Open();
}

// The test entry of the search library: a request, the button calling
// ShowVuxRicercheFormY as the module's windows do, the answer.
void TDemoForm::PreparaRicercaKestrin(int operatorNumber) {
  EditRichiesta = ui::Make<ui::Edit>(this, "EditRichiesta", {224, 582, 130, 21});
  ButtonKestrin = ui::Make<ui::Button>(this, "ButtonKestrin", {360, 580, 80, 25}, "Ricerca...");
  EditRisposta = ui::Make<ui::Edit>(this, "EditRisposta", {446, 582, 76, 21});
  EditRisposta->ReadOnly = true;
  ButtonKestrin->OnClick = [this, operatorNumber](ui::Component*) {
    ButtonKestrinClick(operatorNumber);
  };
}

void TDemoForm::ButtonKestrinClick(int operatorNumber) {
  using Ricerca = void (*)(std::int32_t, std::uint32_t, const char*, velmaro::WideString*);
  velmaro::WideString risposta = nullptr;
  std::string errore;
  {
    plat::Library kestrin = plat::Library::Load("Kestrin.dll");
    auto ricerca = kestrin.Function<Ricerca>("ShowVuxRicercheFormY");
    if (!ricerca) {
      ui::ShowMessage("Kestrin.dll: " + kestrin.Error());
      return;
    }
    const std::string ansi = plat::Utf8ToAnsi(EditRichiesta->Text());
    try {
      ricerca(operatorNumber, Handle(), ansi.c_str(), &risposta);
    } catch (const std::exception& e) {
      errore = e.what();
    }
  }
  // The answer outlives the library that wrote it.
  EditRisposta->SetText(plat::Utf16ToUtf8(velmaro::WideStringRead(risposta)));
  velmaro::WideStringFree(risposta);
  if (!errore.empty()) ui::ShowMessage("Errore nell'accesso alla DLL Kestrin:\r" + errore);
}

// "Dialogo...": asks for a value and shows it.
void TDemoForm::ButtonDialogoClick() {
  auto dialog = ui::MakeOwned<TDemoDialogForm>(this);
  dialog->EditValore->SetText(EditNome->Text());
  if (dialog->ShowModal() != ui::mrOk) return;
  EditNome->SetText(dialog->EditValore->Text());
  ui::ShowMessage("Valore: " + dialog->EditValore->Text());
}

// "Domanda": a yes/no question and its answer.
void TDemoForm::ButtonDomandaClick() {
  auto r = ui::MessageDlg("Confermare l'operazione?", ui::MsgDlgType::Confirmation, ui::mbYesNo);
  ui::MessageDlg(r == ui::mrYes ? "Operazione confermata" : "Operazione annullata",
                 ui::MsgDlgType::Information, ui::mbOK);
}

TDemoDialogForm::TDemoDialogForm(ui::Component* owner) : ui::Form(owner) {
  SetName("DemoDialogForm");
  SetCaption("Valore");
  BorderStyle = ui::FormBorderStyle::Dialog;
  SetBounds(200, 200, 300, 120);
  LabelValore = ui::Make<ui::Label>(this, "LabelValore", {8, 12, 60, 17}, "Valore");
  EditValore = ui::Make<ui::Edit>(this, "EditValore", {80, 8, 200, 21});
  ButtonOk = ui::Make<ui::Button>(this, "ButtonOk", {104, 50, 80, 25}, "Ok");
  ButtonOk->ModalResult = ui::mrOk;
  ButtonOk->Default = true;
  ButtonAnnulla = ui::Make<ui::Button>(this, "ButtonAnnulla", {192, 50, 80, 25}, "Annulla");
  ButtonAnnulla->ModalResult = ui::mrCancel;
  ButtonAnnulla->Cancel = true;
  DoCreate();
}

}  // namespace host
