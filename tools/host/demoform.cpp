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
#include "ui/stdctrls.h"

namespace host {
namespace {

template <class T>
T* Make(ui::Form* form, const char* name, const char* caption, int left, int top, int width,
        int height) {
  auto* c = new T(form);
  c->SetName(name);
  c->SetParent(form);
  c->SetBounds(left, top, width, height);
  if (caption) c->SetCaption(caption);
  return c;
}

}  // namespace

TDemoForm::TDemoForm(const std::string& companyDb, const std::string& operatorName,
                     int operatorNumber)
    : ui::Form(&ui::App()) {
  SetName("DemoForm");
  SetCaption("Demo - Utente: " + operatorName);
  SetBounds(100, 100, 640, 620);
  Make<ui::Label>(this, "LabelNome", "Nome", 8, 12, 60, 17);
  EditNome = Make<ui::Edit>(this, "EditNome", nullptr, 80, 8, 200, 21);
  GridClienti = Make<ui::DBGrid>(this, "GridClienti", nullptr, 8, 40, 620, 280);
  GridNetti = Make<velmaro::TVuxGrid>(this, "GridNetti", nullptr, 8, 330, 620, 240);
  GridNetti->Loaded();
  ButtonDialogo = Make<ui::Button>(this, "ButtonDialogo", "Dialogo...", 8, 580, 100, 25);
  ButtonDomanda = Make<ui::Button>(this, "ButtonDomanda", "Domanda", 116, 580, 100, 25);
  ButtonChiudi = Make<ui::Button>(this, "ButtonChiudi", "Chiudi", 528, 580, 100, 25);
  ButtonDialogo->OnClick = [this](ui::Component*) { ButtonDialogoClick(); };
  ButtonDomanda->OnClick = [this](ui::Component*) { ButtonDomandaClick(); };
  ButtonChiudi->OnClick = [this](ui::Component*) { Close(); };
  PreparaRicercaKestrin(operatorNumber);
  OnClose = [this](ui::Component*, ui::CloseAction& action) {
    if (netti_ && netti_->Active()) GridNetti->SalvaAspettoGriglia();
    action = ui::CloseAction::Free;
  };

  database_ = std::make_unique<db::Database>();
  transaction_ = std::make_unique<db::Transaction>(database_.get());
  query_ = std::make_unique<db::Query>(database_.get(), transaction_.get());
  source_ = std::make_unique<db::DataSource>(query_.get());
  GridClienti->SetDataSource(source_.get());
  OpenHostDatabase(*database_, companyDb);
  query_->SQL.SetText("SELECT CODICE, RAGSOC, CITTA, TIPOPREZZO FROM CLIENTI ORDER BY CODICE");
  query_->Open();
  PreparaGrigliaNetti(operatorNumber);
  DoCreate();
}

// The net-price rows in the house grid, set up as the module's windows set
// up theirs: codes, operator, table, data set, then the first open. The
// query's BeforeOpen writes the base SQL and loads the layout, except
// during a search (the grid's Tag is 1 then).
void TDemoForm::PreparaGrigliaNetti(int operatorNumber) {
  netti_ = std::make_unique<db::Query>(database_.get(), transaction_.get());
  sourceNetti_ = std::make_unique<db::DataSource>(netti_.get());
  netti_->BeforeOpen = [this](db::DataSet&) {
    if (GridNetti->Tag != 0) return;
    netti_->SQL.SetText(
        "SELECT IDLISTSC, CODICEARTICOLO, ESTCODICE, PREZZO, DATAINIZIOVALIDITA, "
        "DATAFINEVALIDITA\nFROM LISTSCDTNET");
    GridNetti->SQLIniziale = netti_->SQL;
    GridNetti->CaricaAspettoGriglia();
  };
  netti_->BeforeClose = [this](db::DataSet&) {
    if (GridNetti->Tag == 0 && netti_->Active() && !GridNetti->AspettoSostituito)
      GridNetti->SalvaAspettoGriglia();
  };
  GridNetti->OnInizioRicerca = [this](ui::Component*) { GridNetti->Tag = 1; };
  GridNetti->OnFineRicerca = [this](ui::Component*) { GridNetti->Tag = 0; };
  GridNetti->CodiceProgetto = 501;
  GridNetti->SetSituazione(90);
  GridNetti->Utente = operatorNumber;
  GridNetti->NomeTabella = "LISTSCDTNET";
  GridNetti->SetDataSource(sourceNetti_.get());
  GridNetti->SetSorgenteDati(netti_.get());
  GridNetti->TabellaPiccola = true;
  GridNetti->Ditta = "DEMO";
  GridNetti->RicercaCampoAbilitata = true;
  netti_->Open();
}

// The test entry of the search library: a request, the button calling
// ShowVuxRicercheFormY as the module's windows do, the answer.
void TDemoForm::PreparaRicercaKestrin(int operatorNumber) {
  EditRichiesta = Make<ui::Edit>(this, "EditRichiesta", nullptr, 224, 582, 130, 21);
  ButtonKestrin = Make<ui::Button>(this, "ButtonKestrin", "Ricerca...", 360, 580, 80, 25);
  EditRisposta = Make<ui::Edit>(this, "EditRisposta", nullptr, 446, 582, 76, 21);
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

TDemoForm::~TDemoForm() {
  // The net-price query's handlers use its grid: it closes while the grid
  // lives. The grids point at the data sources: they go while those live.
  if (netti_) netti_->Close();
  DestroyComponents();
  sourceNetti_.reset();
  netti_.reset();
  source_.reset();
  query_.reset();
  transaction_.reset();
  database_.reset();
}

// "Dialogo...": asks for a value and shows it.
void TDemoForm::ButtonDialogoClick() {
  TDemoDialogForm dialog(this);
  dialog.EditValore->SetText(EditNome->Text());
  if (dialog.ShowModal() != ui::mrOk) return;
  EditNome->SetText(dialog.EditValore->Text());
  ui::ShowMessage("Valore: " + dialog.EditValore->Text());
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
  LabelValore = Make<ui::Label>(this, "LabelValore", "Valore", 8, 12, 60, 17);
  EditValore = Make<ui::Edit>(this, "EditValore", nullptr, 80, 8, 200, 21);
  ButtonOk = Make<ui::Button>(this, "ButtonOk", "Ok", 104, 50, 80, 25);
  ButtonOk->ModalResult = ui::mrOk;
  ButtonOk->Default = true;
  ButtonAnnulla = Make<ui::Button>(this, "ButtonAnnulla", "Annulla", 192, 50, 80, 25);
  ButtonAnnulla->ModalResult = ui::mrCancel;
  ButtonAnnulla->Cancel = true;
  DoCreate();
}

}  // namespace host
