#include "demoform.h"

#include "db/database.h"
#include "db/datasource.h"
#include "db/query.h"
#include "db/transaction.h"
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

TDemoForm::TDemoForm(const std::string& companyDb, const std::string& operatorName)
    : ui::Form(&ui::App()) {
  SetName("DemoForm");
  SetCaption("Demo - Utente: " + operatorName);
  SetBounds(100, 100, 640, 400);
  Make<ui::Label>(this, "LabelNome", "Nome", 8, 12, 60, 17);
  EditNome = Make<ui::Edit>(this, "EditNome", nullptr, 80, 8, 200, 21);
  GridClienti = Make<ui::DBGrid>(this, "GridClienti", nullptr, 8, 40, 620, 280);
  ButtonDialogo = Make<ui::Button>(this, "ButtonDialogo", "Dialogo...", 8, 330, 100, 25);
  ButtonDomanda = Make<ui::Button>(this, "ButtonDomanda", "Domanda", 116, 330, 100, 25);
  ButtonChiudi = Make<ui::Button>(this, "ButtonChiudi", "Chiudi", 528, 330, 100, 25);
  ButtonDialogo->OnClick = [this](ui::Component*) { ButtonDialogoClick(); };
  ButtonDomanda->OnClick = [this](ui::Component*) { ButtonDomandaClick(); };
  ButtonChiudi->OnClick = [this](ui::Component*) { Close(); };
  OnClose = [](ui::Component*, ui::CloseAction& action) { action = ui::CloseAction::Free; };

  database_ = std::make_unique<db::Database>();
  transaction_ = std::make_unique<db::Transaction>(database_.get());
  query_ = std::make_unique<db::Query>(database_.get(), transaction_.get());
  source_ = std::make_unique<db::DataSource>(query_.get());
  GridClienti->SetDataSource(source_.get());
  OpenHostDatabase(*database_, companyDb);
  query_->SQL.SetText("SELECT CODICE, RAGSOC, CITTA, TIPOPREZZO FROM CLIENTI ORDER BY CODICE");
  query_->Open();
  DoCreate();
}

TDemoForm::~TDemoForm() {
  // The grid points at the data source: it must go while the source lives.
  DestroyComponents();
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
