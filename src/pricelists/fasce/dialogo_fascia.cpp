#include "pricelists/fasce/dialogo_fascia.h"

#include "context/dbutility.h"
#include "context/helpers.h"
#include "context/tabxform.h"
#include "db/query.h"
#include "platform/format.h"
#include "pricelists/editor/pagina.h"
#include "search/kestrin.h"
#include "ui/application.h"
#include "ui/lists.h"
#include "ui/make.h"
#include "ui/stdctrls.h"

namespace velmaro {

using ui::Make;

void ScegliListino(std::int32_t utente, fasce::Picker picker, ui::Edit& edit) {
  // The windows of the price lists stay silent when the library or its
  // entry is missing; an error inside shows its box there.
  const std::string risposta = RicercaKestrin(
      utente, 0, fasce::RichiestaListino(picker, edit.Text()), ChiamanteKestrin::Listini);
  if (!risposta.empty()) edit.SetText(risposta);
}

TNuovaFasciaForm::TNuovaFasciaForm(ui::Component* owner, CellaTabX* cellaTabX)
    : ui::Form(owner), cellaTabX_(cellaTabX) {
  SetName("NuovaFasciaForm");
  SetCaption("Nuova fascia");
  BorderStyle = ui::FormBorderStyle::Dialog;
  Position = ui::FormPosition::DesktopCenter;
  SetClientSize(420, 330);
  QueryAux = Make<db::Query>(this, "QueryAux");
  CreaControlli();
  TTabXForm& tabx = cellaTabX_->Riferimento();
  QueryAux->SetDatabase(tabx.IBDatabase1);
  QueryAux->SetTransaction(tabx.IBTransaction1);
  DoCreate();
}

void TNuovaFasciaForm::CreaControlli() {
  int y = 12;
  auto riga = [&](const char* nomeEtichetta, const char* testo, const char* nomeEdit,
                  int larghezza) {
    Make<ui::Label>(this, nomeEtichetta, {12, y + 3, 190, 16}, testo);
    auto* e = Make<ui::Edit>(this, nomeEdit, {210, y, larghezza, 21});
    y += 28;
    return e;
  };
  auto picker = [&](ui::Edit* edit, const char* nome, fasce::Picker p) {
    auto* b = Make<ui::Button>(this, nome, {edit->Left() + edit->Width() + 4, edit->Top(), 24, 21},
                               "...");
    b->OnClick = [this, edit, p](ui::Component*) {
      ScegliListino(cellaTabX_->Riferimento().GetNumUser(), p, *edit);
    };
    return b;
  };
  EditID = riga("LabelID", "ID", "EditID", 80);
  EditNome = riga("LabelNome", "Nome", "EditNome", 190);
  Make<ui::Label>(this, "LabelClass1", {12, y + 3, 190, 16}, "Classificazione1");
  ComboBoxClass1 = Make<ui::ComboBox>(this, "ComboBoxClass1", {210, y, 190, 21});
  ComboBoxClass1->Items.Add("MIGLIORPR");
  y += 28;
  EditClassificazione2 =
      riga("LabelClassificazione2", "Classificazione2", "EditClassificazione2", 190);
  EditIDScontiSpeNetti =
      riga("LabelIDScontiSpeNetti", "ID listino sconti speciali netti", "EditIDScontiSpeNetti", 80);
  ButtonRicercaLisScontiSpecNetti = picker(EditIDScontiSpeNetti, "ButtonRicercaLisScontiSpecNetti",
                                           fasce::Picker::ScontiSpecialiNetti);
  EditIDRicarico = riga("LabelIDRicarico", "ID listino ricarico", "EditIDRicarico", 80);
  ButtonRicercaLisRicarico =
      picker(EditIDRicarico, "ButtonRicercaLisRicarico", fasce::Picker::Ricarico);
  EditIDScontiSpe = riga("LabelIDScontiSpe", "ID listino sconti speciali", "EditIDScontiSpe", 80);
  ButtonRicercaLisScontiSpec =
      picker(EditIDScontiSpe, "ButtonRicercaLisScontiSpec", fasce::Picker::ScontiSpeciali);
  EditIDScontiSpe2 =
      riga("LabelIDScontiSpe2", "ID listino sconti speciali 2", "EditIDScontiSpe2", 80);
  ButtonRicercaLisScontiSpec2 =
      picker(EditIDScontiSpe2, "ButtonRicercaLisScontiSpec2", fasce::Picker::ScontiSpeciali);
  EditIDScontiSpe3 =
      riga("LabelIDScontiSpe3", "ID listino sconti speciali 3", "EditIDScontiSpe3", 80);
  ButtonRicercaLisScontiSpec3 =
      picker(EditIDScontiSpe3, "ButtonRicercaLisScontiSpec3", fasce::Picker::ScontiSpeciali);
  y += 8;
  ButtonAnnulla = Make<ui::Button>(this, "ButtonAnnulla", {240, y, 75, 25}, "Annulla");
  ButtonAnnulla->Cancel = true;
  ButtonAnnulla->ModalResult = ui::mrCancel;
  ButtonOk = Make<ui::Button>(this, "ButtonOk", {325, y, 75, 25}, "Ok");
  ButtonOk->Default = true;
  ButtonOk->OnClick = [this](ui::Component*) { ButtonOkClick(); };
}

void ChiudiSeValido(ui::Form& dialogo, const std::string& errore) {
  dialogo.SetModalResult(ui::mrNone);
  if (!errore.empty()) {
    ui::MessageDlg(errore, ui::MsgDlgType::Warning, ui::mbOK);
    return;
  }
  dialogo.SetModalResult(ui::mrOk);
}

bool InteroDecimale(ui::Edit& edit) {
  int valore = 0;
  if (!plat::TryStrToInt(edit.Text(), valore)) return false;
  edit.SetText(std::to_string(valore));
  return true;
}

std::string TNuovaFasciaForm::PrimoControlloFallito() {
  if (!InteroDecimale(*EditID)) return "Specificare un ID";
  const std::string id = EditID->Text();
  if (ModoEdit != 0) return {};
  // Read on what is committed now: a band another operator created since
  // the window's view began has its number taken, and an insert of it
  // would fail.
  bool inUso = false;
  LeggiSuVistaNuova(QueryAux->GetDatabase(), {"SELECT ID FROM FASCESC WHERE ID=" + Letterale(id)},
                    [&inUso](db::Query& q) { inUso = !q.IsEmpty(); });
  return inUso ? "Attenzione: l'ID inserito è già in uso" : std::string();
}

void TNuovaFasciaForm::ButtonOkClick() { ChiudiSeValido(*this, PrimoControlloFallito()); }

fasce::CampiFascia TNuovaFasciaForm::Campi() const {
  fasce::CampiFascia f;
  f.id = EditID->Text();
  f.nome = EditNome->Text();
  f.classificazione1 = ComboBoxClass1->Text();
  f.classificazione2 = EditClassificazione2->Text();
  f.scontiSpec = EditIDScontiSpe->Text();
  f.scontiSpec2 = EditIDScontiSpe2->Text();
  f.scontiSpec3 = EditIDScontiSpe3->Text();
  f.ricarico = EditIDRicarico->Text();
  f.scontiSpecNetti = EditIDScontiSpeNetti->Text();
  return f;
}

}  // namespace velmaro
