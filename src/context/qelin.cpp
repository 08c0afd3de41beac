#include "context/qelin.h"

#include "context/editdata.h"
#include "ui/make.h"

namespace velmaro {

namespace {

constexpr int kAltezzaClient = 148;

}  // namespace

TQelDialogo::TQelDialogo(ui::Component* owner, int clientWidth, const char* etichetta,
                         int sinistraOK, int sinistraCancel)
    : ui::Form(owner) {
  SetCaption("Dialog");
  BorderStyle = ui::FormBorderStyle::Dialog;
  Position = ui::FormPosition::ScreenCenter;
  SetClientSize(clientWidth, kAltezzaClient);
  Font.Name = "Tahoma";
  Font.Size = 10;  // 13 pixels high on a 96 dpi screen
  Font.Color = ui::clBlack;

  Bevel1 = ui::Make<ui::Bevel>(this, "Bevel1", {8, 8, clientWidth - 16, 89});
  Bevel1->Shape = ui::Bevel::ShapeKind::Frame;
  Label1 = ui::Make<ui::Label>(this, "Label1", {24, 24, 200, 13}, etichetta);

  OKBtn = ui::Make<ui::BitBtn>(this, "OKBtn", {sinistraOK, 108, 77, 27});
  OKBtn->SetKind(ui::BitBtnKind::OK);
  OKBtn->OnClick = [this](ui::Component* s) { OKBtnClick(s); };
  CancelBtn = ui::Make<ui::BitBtn>(this, "CancelBtn", {sinistraCancel, 108, 77, 27});
  CancelBtn->SetKind(ui::BitBtnKind::Cancel);
  CancelBtn->OnClick = [this](ui::Component* s) { CancelBtnClick(s); };
  OnActivate = [this](ui::Component* s) { FormActivate(s); };
}

void TQelDialogo::OKBtnClick(ui::Component*) {
  Esito = 1;
  Close();
}

void TQelDialogo::CancelBtnClick(ui::Component*) {
  Esito = 2;
  Close();
}

void TQelDialogo::Focalizza(ui::Control* casella) {
  if (casella->CanFocus()) casella->SetFocus();
}

TQelIn1Form::TQelIn1Form(ui::Component* owner)
    : TQelDialogo(owner, 317, "Inserisci il valore:", 85, 169) {
  Edit1 = ui::Make<ui::Edit>(this, "Edit1", {22, 56, 273, 21});
  Edit1->SetText("Edit1");
  SetActiveControl(OKBtn);
  DoCreate();
}

void TQelIn1Form::FormActivate(ui::Component*) { Focalizza(Edit1); }

TQelIn2Form::TQelIn2Form(ui::Component* owner)
    : TQelDialogo(owner, 329, "Inserisci data e numero:", 93, 177) {
  Edit1 = ui::Make<ui::Edit>(this, "Edit1", {24, 56, 129, 21});
  Edit1->SetText("Edit1");
  Edit2 = ui::Make<ui::Edit>(this, "Edit2", {168, 56, 127, 21});
  SetActiveControl(OKBtn);
  DoCreate();
}

void TQelIn2Form::FormActivate(ui::Component*) { Focalizza(Edit1); }

TQelDataForm::TQelDataForm(ui::Component* owner)
    : TQelDialogo(owner, 317, "Inserisci la data:", 85, 169) {
  EditData1 = ui::Make<TEditData>(this, "EditData1", {96, 56, 121, 21});
  SetActiveControl(OKBtn);
  DoCreate();
}

void TQelDataForm::FormActivate(ui::Component*) { Focalizza(EditData1); }

}  // namespace velmaro
