#include "grid/acqaspettodavuxgrid.h"

#include "ui/application.h"
#include "ui/make.h"

namespace velmaro {

TAcqAspettoDaVuxGridForm::TAcqAspettoDaVuxGridForm(ui::Component* owner) : ui::Form(owner) {
  SetName("AcqAspettoDaVuxGridForm");
  SetCaption("Informazione richiesta");
  BorderStyle = ui::FormBorderStyle::Dialog;
  Position = ui::FormPosition::ScreenCenter;
  SetClientSize(360, 110);
  Label1 = ui::Make<ui::Label>(this, "Label1", {8, 12, 340, 13},
                               "Inserire id utente da cui acquisire aspetto griglia:");
  ComboUtente = ui::Make<ui::ComboBox>(this, "ComboUtente", {8, 32, 145, 21});
  ComboUtente->Style = ui::ComboBoxStyle::DropDownList;
  ButtonConferma = ui::Make<ui::Button>(this, "ButtonConferma", {96, 72, 75, 25}, "Conferma");
  ButtonConferma->Default = true;
  ButtonConferma->OnClick = [this](ui::Component* s) { ButtonConfermaClick(s); };
  ButtonAnnulla = ui::Make<ui::Button>(this, "ButtonAnnulla", {184, 72, 75, 25}, "Annulla");
  ButtonAnnulla->Cancel = true;
  ButtonAnnulla->ModalResult = ui::mrCancel;
  SetActiveControl(ComboUtente);
  DoCreate();
}

void TAcqAspettoDaVuxGridForm::ButtonConfermaClick(ui::Component*) {
  if (ComboUtente->ItemIndex() < 0) {
    ui::MessageDlg("E' necessario inserire l'id utente", ui::MsgDlgType::Warning, ui::mbOK);
    return;
  }
  SetModalResult(ui::mrOk);
}

}  // namespace velmaro
