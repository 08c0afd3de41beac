#include "pricelists/fasce/dialogo_rigafascia.h"

#include "context/datamodule.h"
#include "context/helpers.h"
#include "context/tabxform.h"
#include "db/query.h"
#include "pricelists/editor/pagina.h"
#include "pricelists/fasce/dialogo_fascia.h"
#include "ui/application.h"
#include "ui/make.h"
#include "ui/stdctrls.h"

namespace velmaro {

using ui::Make;

TNuovaFasciaDettForm::TNuovaFasciaDettForm(ui::Component* owner, CellaDataModule* cellaDM)
    : ui::Form(owner), cellaDM_(cellaDM) {
  SetName("NuovaFasciaDettForm");
  SetCaption("Nuovo dettaglio fascia");
  BorderStyle = ui::FormBorderStyle::Dialog;
  Position = ui::FormPosition::DesktopCenter;
  SetClientSize(300, 150);
  QueryAux = Make<db::Query>(this, "QueryAux");
  Make<ui::Label>(this, "LabelFascia", {12, 15, 90, 16}, "ID Fascia");
  LabelIDFascia = Make<ui::Label>(this, "LabelIDFascia", {110, 15, 100, 16});
  Make<ui::Label>(this, "LabelNRiga", {12, 43, 90, 16}, "NRiga");
  EditNRiga = Make<ui::Edit>(this, "EditNRiga", {110, 40, 80, 21});
  Make<ui::Label>(this, "LabelIDListino", {12, 71, 90, 16}, "IDListino");
  EditIDListino = Make<ui::Edit>(this, "EditIDListino", {110, 68, 80, 21});
  ButtonRicercaLis = Make<ui::Button>(this, "ButtonRicercaLis", {194, 68, 24, 21}, "...");
  ButtonCancel = Make<ui::Button>(this, "ButtonCancel", {128, 110, 75, 25}, "Annulla");
  ButtonCancel->Cancel = true;
  ButtonCancel->ModalResult = ui::mrCancel;
  ButtonOK = Make<ui::Button>(this, "ButtonOK", {212, 110, 75, 25}, "Ok");
  ButtonOK->Default = true;
  ButtonOK->OnClick = [this](ui::Component*) { ButtonOKClick(); };
  ButtonRicercaLis->OnClick = [this](ui::Component*) { ButtonRicercaLisClick(); };

  TTabXForm& tabx = cellaDM_->Riferimento().TabX();
  QueryAux->SetDatabase(tabx.IBDatabase1);
  QueryAux->SetTransaction(tabx.IBTransaction1);
  DoCreate();
}

std::string TNuovaFasciaDettForm::PrimoControlloFallito() {
  if (!InteroDecimale(*EditNRiga)) return "Specificare un numero riga";
  if (!InteroDecimale(*EditIDListino)) return "Specificare un ID listino";
  const std::string riga = EditNRiga->Text();
  if (ModoEdit != 0) return {};
  return pagina::Trova(*QueryAux, {"SELECT * FROM FASCESCDT WHERE IDFASCIA=" +
                                       Letterale(LabelIDFascia->Caption()),
                                   "AND NRIGA=" + Letterale(riga)})
             ? "Attenzione: il numero riga inserito è già in uso"
             : std::string();
}

void TNuovaFasciaDettForm::ButtonOKClick() { ChiudiSeValido(*this, PrimoControlloFallito()); }

void TNuovaFasciaDettForm::ButtonRicercaLisClick() {
  ScegliListino(cellaDM_->Riferimento().TabX().GetNumUser(), fasce::Picker::RigaFascia,
                *EditIDListino);
}

}  // namespace velmaro
