#include "grid/rvuxgrid.h"

#include "context/editdata.h"
#include "ui/make.h"

namespace velmaro {

TRVuxGridForm::TRVuxGridForm(ui::Component* owner) : ui::Form(owner) {
  SetName("RVuxGridForm");
  SetCaption("Ricerca");
  BorderStyle = ui::FormBorderStyle::Dialog;
  Position = ui::FormPosition::ScreenCenter;
  SetClientSize(440, 150);

  Label1 = ui::Make<ui::Label>(this, "Label1", {8, 8, 200, 13}, "Stringa di ricerca");
  EditStringa = ui::Make<ui::Edit>(this, "EditStringa", {8, 24, 265, 21});
  EditData1 = ui::Make<TEditData>(this, "EditData1", {8, 24, 121, 21});
  EditData1->Hide();
  Label2 = ui::Make<ui::Label>(this, "Label2", {136, 28, 80, 13}, "e (facoltativo):");
  Label2->Hide();
  EditData2 = ui::Make<TEditData>(this, "EditData2", {220, 24, 121, 21});
  EditData2->Hide();

  EditTipoRicerca =
      ui::Make<ui::RadioGroup>(this, "EditTipoRicerca", {8, 52, 265, 41}, " Tipo ricerca ");
  EditTipoRicerca->Columns = 3;
  EditTipoRicerca->Items.Assign({">=", "LIKE %%", "LIKE %"});
  EditTipoRicerca->SetItemIndex(0);
  EditUpper = ui::Make<ui::CheckBox>(this, "EditUpper", {284, 26, 60, 17}, "Upper");
  EditUpper->SetChecked(true);
  ButtonAggRete = ui::Make<ui::Button>(this, "ButtonAggRete", {352, 22, 33, 25}, "&+");
  EditOrdinamento =
      ui::Make<ui::RadioGroup>(this, "EditOrdinamento", {8, 100, 265, 41}, " Tipo ordinamento ");
  EditOrdinamento->Columns = 3;
  EditOrdinamento->Items.Assign({"No", "Cresc.", "Decres."});
  EditOrdinamento->SetItemIndex(1);
  EditGenerica = ui::Make<ui::CheckBox>(this, "EditGenerica", {284, 64, 80, 17}, "Generica");
  EditGenerica->SetEnabled(false);
  ButtonEsegui = ui::Make<ui::Button>(this, "ButtonEsegui", {284, 100, 101, 25}, "Esegui");
  ButtonEsegui->SetEnabled(false);
  SetActiveControl(EditStringa);
  DoCreate();
}

void TRVuxGridForm::SoloTipiNumerici() {
  const int scelto = EditTipoRicerca->ItemIndex();
  EditTipoRicerca->Items.Assign({">=", "LIKE %%"});
  EditTipoRicerca->Columns = 2;
  EditTipoRicerca->SetItemIndex(scelto == 1 ? 1 : 0);
}

void TRVuxGridForm::MostraDate() {
  EditData1->SetBounds(EditStringa->Left(), EditStringa->Top(), EditStringa->Width(),
                       EditData1->Height());
  EditStringa->Hide();
  EditData1->Show();
  EditData2->Show();
  Label2->Show();
  Label1->SetCaption("Inserisci una data compresa tra:");
  EditTipoRicerca->Hide();
  SetActiveControl(EditData1);
}

}  // namespace velmaro
