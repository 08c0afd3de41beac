#include "grid/vuxgridstampa_form.h"

#include "grid/vuxgridstampa.h"
#include "ui/extctrls.h"
#include "ui/lists.h"
#include "ui/make.h"
#include "ui/menus.h"
#include "ui/stdctrls.h"

namespace velmaro {
namespace {

constexpr int kDimensioniFont[] = {6, 8, 10, 12};

}  // namespace

TStVuxGridForm::TStVuxGridForm(ui::Component* owner, TVuxGridStampa* stampa)
    : ui::Form(owner), Stampa(stampa) {
  using ui::Make;
  SetName("StVuxGridForm");
  SetCaption("Stampa " + Stampa->Titolo);
  BorderStyle = ui::FormBorderStyle::Dialog;
  BorderIcons = ui::biSystemMenu;
  Position = ui::FormPosition::DesktopCenter;
  SetClientSize(457, 353);

  GroupIntestazione =
      Make<ui::GroupBox>(this, "GroupIntestazione", {8, 8, 441, 105}, "Intestazione");
  Label1 = Make<ui::Label>(this, GroupIntestazione, "Label1", {12, 24, 40, 13}, "Riga 1:");
  EditIntestazione1 =
      Make<ui::Edit>(this, GroupIntestazione, "EditIntestazione1", {60, 20, 250, 21});
  Label2 = Make<ui::Label>(this, GroupIntestazione, "Label2", {12, 52, 40, 13}, "Riga 2:");
  EditIntestazione2 =
      Make<ui::Edit>(this, GroupIntestazione, "EditIntestazione2", {60, 48, 250, 21});
  RadioAllineaIntestazione = Make<ui::RadioGroup>(
      this, GroupIntestazione, "RadioAllineaIntestazione", {320, 16, 110, 57}, "Allineamento");
  RadioAllineaIntestazione->Items.SetText("A sinistra\nCentrale");
  RadioAllineaIntestazione->SetItemIndex(0);

  GroupOpzioni = Make<ui::GroupBox>(this, "GroupOpzioni", {8, 120, 441, 185}, "Opzioni stampa");
  RadioOrientamentoPagina = Make<ui::RadioGroup>(this, GroupOpzioni, "RadioOrientamentoPagina",
                                                 {12, 18, 200, 40}, "Orientamento pagina");
  RadioOrientamentoPagina->Columns = 2;
  RadioOrientamentoPagina->Items.SetText("Verticale\nOrizzontale");
  RadioOrientamentoPagina->SetItemIndex(0);
  CheckNumeraPagine = Make<ui::CheckBox>(this, GroupOpzioni, "CheckNumeraPagine", {12, 66, 250, 17},
                                         "Esponi numerazione pagine");
  CheckTroncaTesti = Make<ui::CheckBox>(this, GroupOpzioni, "CheckTroncaTesti", {12, 88, 280, 17},
                                        "Tronca testi che eccedono i bordi in griglia");
  CheckForzaUltimaColonna =
      Make<ui::CheckBox>(this, GroupOpzioni, "CheckForzaUltimaColonna", {12, 110, 220, 17},
                         "Forza esposizione ultima colonna");
  CheckForzaUltimaColonna->SetChecked(true);
  LabelForzaUltimaColonna = Make<ui::Label>(
      this, GroupOpzioni, "LabelForzaUltimaColonna", {30, 128, 400, 13},
      "(verrà utilizzato tutto lo spazio disponibile in stampa, troncando l'ultima colonna)");
  RadioDimensioneFont = Make<ui::RadioGroup>(this, GroupOpzioni, "RadioDimensioneFont",
                                             {230, 18, 200, 88}, "Dimensione font dati");
  RadioDimensioneFont->Items.SetText(
      "Mini (Arial 6)\nPiccola (Arial 8)\nMedia (Arial 10)\nGrande (Arial 12)");
  RadioDimensioneFont->SetItemIndex(2);

  ButtonAnteprima = Make<ui::Button>(this, "ButtonAnteprima", {276, 316, 83, 27}, "Anteprima");
  ButtonAnteprima->Default = true;
  ButtonAnteprima->OnClick = [this](ui::Component* s) { ButtonAnteprimaClick(s); };
  ButtonChiudi = Make<ui::Button>(this, "ButtonChiudi", {366, 316, 83, 27}, "Chiudi");
  ButtonChiudi->OnClick = [this](ui::Component* s) { ButtonChiudiClick(s); };

  PopupMenu1 = new ui::PopupMenu(this);
  PopupMenu1->SetName("PopupMenu1");
  Aprieditazionereportassistenzatecnica1 =
      ui::NewItem(PopupMenu1->Items(), this, "Apri editazione report (assistenza tecnica)", 0,
                  [this](ui::Component* s) { Aprieditazionereportassistenzatecnica1Click(s); });
  Aprieditazionereportassistenzatecnica1->SetName("Aprieditazionereportassistenzatecnica1");
  SetPopupMenu(PopupMenu1);
  DoCreate();
}

void TStVuxGridForm::LeggiOpzioni() {
  Stampa->Intestazione1 = EditIntestazione1->Text();
  Stampa->Intestazione2 = EditIntestazione2->Text();
  Stampa->AllineamentoIntestazione = std::uint8_t(RadioAllineaIntestazione->ItemIndex());
  Stampa->Orientamento = RadioOrientamentoPagina->ItemIndex() == 1 ? "ORIZZONTALE" : "VERTICALE";
  Stampa->NumeraPagine = CheckNumeraPagine->Checked();
  Stampa->TroncaTesti = CheckTroncaTesti->Checked();
  Stampa->ForzaUltimaColonna = CheckForzaUltimaColonna->Checked();
  const int font = RadioDimensioneFont->ItemIndex();
  if (font >= 0 && font < 4) Stampa->DimensioneFont = kDimensioniFont[font];
}

// "Anteprima"
void TStVuxGridForm::ButtonAnteprimaClick(ui::Component*) {
  LeggiOpzioni();
  Stampa->Anteprima();
}

// Popup "Apri editazione report (assistenza tecnica)"
void TStVuxGridForm::Aprieditazionereportassistenzatecnica1Click(ui::Component*) {
  LeggiOpzioni();
  Stampa->EditaReport();
}

// "Chiudi"
void TStVuxGridForm::ButtonChiudiClick(ui::Component*) { Close(); }

}  // namespace velmaro
