#include "grid/avvuxgr.h"

#include "ui/make.h"

namespace velmaro {

TAvVuxGrForm::TAvVuxGrForm(ui::Component* owner) : ui::Form(owner) {
  SetName("AvVuxGrForm");
  SetCaption("Avviso");
  BorderStyle = ui::FormBorderStyle::Dialog;
  Position = ui::FormPosition::ScreenCenter;
  SetClientSize(560, 150);
  Image1 = ui::Make<ui::Image>(this, "Image1", {8, 8, 48, 48});
  const auto avviso = [this](const char* nome, int top, const char* testo) {
    auto* l = ui::Make<ui::Label>(this, nome, {64, top, 488, 16}, testo);
    l->Alignment = ui::Alignment::Center;
    l->Font.Style = ui::fsBold;
    l->Font.Color = ui::clRed;
    return l;
  };
  Label1 = avviso("Label1", 16,
                  "ATTENZIONE CON QUESTA OPERAZIONE SI PERDONO TUTTE LE PERSONALIZZAZIONI "
                  "DELL'ASPETTO DELLA GRIGLIA.");
  Label2 = avviso("Label2", 40, "PREMERE CANCEL SE NON SI STA CAPENDO COSA SI STA FACENDO");
  ButtonOK = ui::Make<ui::Button>(this, "ButtonOK", {196, 110, 75, 25}, "OK");
  ButtonOK->Default = true;
  ButtonOK->ModalResult = ui::mrOk;
  ButtonOK->OnClick = [this](ui::Component*) { Risposta = 1; };
  ButtonCancel = ui::Make<ui::Button>(this, "ButtonCancel", {288, 110, 75, 25}, "Cancel");
  ButtonCancel->Cancel = true;
  ButtonCancel->ModalResult = ui::mrCancel;
  DoCreate();
}

}  // namespace velmaro
