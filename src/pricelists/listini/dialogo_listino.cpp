#include "pricelists/listini/dialogo_listino.h"

#include "context/datamodule.h"
#include "context/dbutility.h"
#include "context/tabxform.h"
#include "db/query.h"
#include "platform/format.h"
#include "pricelists/listini/scelta_listino.h"
#include "ui/application.h"
#include "ui/extctrls.h"
#include "ui/lists.h"
#include "ui/make.h"
#include "ui/stdctrls.h"

namespace velmaro {

using ui::Make;

TListinoNuovoForm::TListinoNuovoForm(ui::Component* owner, CellaDataModule* cellaDM)
    : ui::Form(owner), cellaDM_(cellaDM) {
  SetName("ListinoNuovoForm");
  SetCaption("Nuovo listino");
  BorderStyle = ui::FormBorderStyle::Dialog;
  Position = ui::FormPosition::DesktopCenter;
  SetClientSize(460, 400);
  QueryAux = Make<db::Query>(this, "QueryAux");
  CreaControlli();

  TTabXForm& tabx = cellaDM_->Riferimento().TabX();
  QueryAux->SetDatabase(tabx.IBDatabase1);
  QueryAux->SetTransaction(tabx.IBTransaction1);
  // Proposal and check read what other windows stored since this one opened.
  LeggiSuVistaNuova(QueryAux->GetDatabase(), {"SELECT MAX(ID) M FROM LISTSC"},
                    [this](db::Query& q) {
                      EditCodListino->SetText(std::to_string(q.FieldByName("M").AsInteger() + 1));
                    });
  RiempiSelezioni();
  DoCreate();
}

void TListinoNuovoForm::CreaControlli() {
  int y = 12;
  auto etichetta = [&](ui::Label*& l, const char* nome, const char* testo) {
    l = Make<ui::Label>(this, nome, {12, y + 3, 130, 16}, testo);
  };
  etichetta(LabelCodListino, "LabelCodListino", "Codice listino:");
  EditCodListino = Make<ui::Edit>(this, "EditCodListino", {150, y, 80, 21});
  y += 28;
  etichetta(LabelNomeListino, "LabelNomeListino", "Nome listino:");
  EditNomeListino = Make<ui::Edit>(this, "EditNomeListino", {150, y, 290, 21});
  y += 28;
  etichetta(LabelTipoListino, "LabelTipoListino", "Tipo listino:");
  ComboBoxTipoListino = Make<ui::ComboBox>(this, "ComboBoxTipoListino", {150, y, 180, 21});
  for (const listini::TipoListino& t : listini::kTipi) ComboBoxTipoListino->Items.Add(t.nome);
  y += 28;
  etichetta(LabelLisRif, "LabelLisRif", "Listino riferimento:");
  EditListRif = Make<ui::Edit>(this, "EditListRif", {150, y, 80, 21});
  ButtonCercaList = Make<ui::Button>(this, "ButtonCercaList", {234, y, 24, 21}, "...");
  y += 28;
  etichetta(LabelCampoSel1, "LabelCampoSel1", "Campo sel 1:");
  ComboBoxCampoSel1 = Make<ui::ComboBox>(this, "ComboBoxCampoSel1", {150, y, 180, 21});
  y += 28;
  etichetta(LabelCampoSel2, "LabelCampoSel2", "Campo sel 2:");
  ComboBoxCampoSel2 = Make<ui::ComboBox>(this, "ComboBoxCampoSel2", {150, y, 180, 21});
  y += 28;
  etichetta(LabelCampoSel3, "LabelCampoSel3", "Campo sel 3:");
  ComboBoxCampoSel3 = Make<ui::ComboBox>(this, "ComboBoxCampoSel3", {150, y, 180, 21});
  y += 28;
  etichetta(LabelDataInizioVal, "LabelDataInizioVal", "Data inizio validità:");
  DataInizioVal = Make<ui::DateTimePicker>(this, "DataInizioVal", {150, y, 96, 21});
  CheckBoxNessunaDataInizioVal =
      Make<ui::CheckBox>(this, "CheckBoxNessunaDataInizioVal", {252, y + 2, 80, 17}, "Nessuna");
  y += 28;
  etichetta(LabelDataFineVal, "LabelDataFineVal", "Data fine validità:");
  DataFineVal = Make<ui::DateTimePicker>(this, "DataFineVal", {150, y, 96, 21});
  CheckBoxNessunaDataFineVal =
      Make<ui::CheckBox>(this, "CheckBoxNessunaDataFineVal", {252, y + 2, 80, 17}, "Nessuna");
  y += 32;
  GroupBoxOpzionali =
      Make<ui::GroupBox>(this, "GroupBoxOpzionali", {12, y, 436, 76}, "Campi opzionali");
  Make<ui::Label>(this, GroupBoxOpzionali, "LabelClassificazione1", {10, 20, 120, 16},
                  "Classificazione1");
  EditClassificazione1 =
      Make<ui::Edit>(this, GroupBoxOpzionali, "EditClassificazione1", {138, 17, 200, 21});
  Make<ui::Label>(this, GroupBoxOpzionali, "LabelClassificazione2", {10, 46, 120, 16},
                  "Classificazione2");
  EditClassificazione2 =
      Make<ui::Edit>(this, GroupBoxOpzionali, "EditClassificazione2", {138, 43, 200, 21});
  y += 86;
  ButtonOK = Make<ui::Button>(this, "ButtonOK", {282, y, 75, 25}, "Ok");
  ButtonOK->Default = true;
  ButtonCancel = Make<ui::Button>(this, "ButtonCancel", {365, y, 75, 25}, "Annulla");
  ButtonCancel->Cancel = true;
  ButtonCancel->ModalResult = ui::mrCancel;

  OnShow = [this](ui::Component*) { FormShow(); };
  ButtonOK->OnClick = [this](ui::Component*) { ButtonOKClick(); };
  ButtonCercaList->OnClick = [this](ui::Component*) { ButtonCercaListClick(); };
  ComboBoxTipoListino->OnChange = [this](ui::Component*) { ComboBoxTipoListinoChange(); };
  ComboBoxCampoSel1->OnChange = [this](ui::Component*) { ComboBoxCampoSel1Change(); };
  ComboBoxCampoSel2->OnChange = [this](ui::Component*) { ComboBoxCampoSel2Change(); };
  CheckBoxNessunaDataInizioVal->OnClick = [this](ui::Component*) {
    CheckBoxNessunaDataInizioValClick();
  };
  CheckBoxNessunaDataFineVal->OnClick = [this](ui::Component*) {
    CheckBoxNessunaDataFineValClick();
  };
}

void TListinoNuovoForm::RiempiSelezioni() {
  TDataModuleVelmaro& dm = cellaDM_->Riferimento();
  ComboBoxCampoSel1->Items.Add(listini::kEtichettaCodice);
  ComboBoxCampoSel1->Items.Add("ESTENSIONE");
  ComboBoxCampoSel2->Items.Add(listini::kEtichettaEstensione);
  auto tabx = [&dm](const std::string& nome) {
    std::string v;
    dm.ValoreTabX(nome, false, v);
    return v;
  };
  for (const std::string& etichetta : listini::EtichetteClassificazioni(tabx))
    for (ui::ComboBox* c : {ComboBoxCampoSel1, ComboBoxCampoSel2, ComboBoxCampoSel3})
      c->Items.Add(etichetta);
}

std::string TListinoNuovoForm::PrimoControlloFallito() {
  const std::string codice = EditCodListino->Text();
  if (codice.empty()) return "Specificare un codice";
  // The message names an article code, as it always has.
  if (!listini::EUnIntero(codice)) return "Specificare un codice articolo";
  const std::string tipo = ComboBoxTipoListino->Text();
  if (!listini::NomeTipoValido(tipo)) return "Specificare il tipo di listino";
  if (tipo == "SCONTO" && ComboBoxCampoSel1->Text().empty()) return "Specificare un campo sel 1";
  if (ModoEdit) return {};
  bool inUso = false;
  LeggiSuVistaNuova(QueryAux->GetDatabase(),
                    {"SELECT * FROM LISTSC WHERE ID=" + std::to_string(plat::StrToInt(codice))},
                    [&inUso](db::Query& q) { inUso = !q.IsEmpty(); });
  return inUso ? "Attenzione: il listino inserito è già in uso" : std::string();
}

void TListinoNuovoForm::ButtonOKClick() {
  const std::string errore = PrimoControlloFallito();
  if (!errore.empty()) {
    ui::MessageDlg(errore, ui::MsgDlgType::Warning, ui::mbOK);
    return;
  }
  SetModalResult(ui::mrOk);
}

void TListinoNuovoForm::ComboBoxTipoListinoChange() {
  const std::string tipo = ComboBoxTipoListino->Text();
  const bool riferimento = tipo == "SCONTO";
  const bool selezioni = riferimento || tipo == "SCONTISPECIALI" || tipo == "RICARICO" ||
                         tipo == "SCONTISPECIALINETTI";
  for (ui::Control* c :
       {static_cast<ui::Control*>(LabelLisRif), static_cast<ui::Control*>(EditListRif),
        static_cast<ui::Control*>(ButtonCercaList)})
    c->SetVisible(riferimento);
  for (ui::Control* c :
       {static_cast<ui::Control*>(LabelCampoSel1), static_cast<ui::Control*>(ComboBoxCampoSel1),
        static_cast<ui::Control*>(LabelCampoSel2), static_cast<ui::Control*>(ComboBoxCampoSel2),
        static_cast<ui::Control*>(LabelCampoSel3), static_cast<ui::Control*>(ComboBoxCampoSel3)})
    c->SetVisible(selezioni);
}

void TListinoNuovoForm::ComboBoxCampoSel1Change() {
  if (ComboBoxCampoSel1->ItemIndex() == 0) ComboBoxCampoSel2->SetItemIndex(0);
}

void TListinoNuovoForm::ComboBoxCampoSel2Change() {
  if (ComboBoxCampoSel2->ItemIndex() == 0) ComboBoxCampoSel1->SetItemIndex(0);
}

void TListinoNuovoForm::CheckBoxNessunaDataInizioValClick() {
  DataInizioVal->SetEnabled(!CheckBoxNessunaDataInizioVal->Checked());
}

void TListinoNuovoForm::CheckBoxNessunaDataFineValClick() {
  DataFineVal->SetEnabled(!CheckBoxNessunaDataFineVal->Checked());
}

void TListinoNuovoForm::FormShow() { ComboBoxTipoListinoChange(); }

void TListinoNuovoForm::ButtonCercaListClick() {
  auto picker = ui::MakeOwned<TLisRicercaForm>(this, cellaDM_);
  if (picker->ShowModal() == ui::mrOk) EditListRif->SetText(ListinoRitornato);
}

listini::CampiTestata TListinoNuovoForm::Campi() const {
  listini::CampiTestata c;
  c.codice = EditCodListino->Text();
  c.nome = EditNomeListino->Text();
  c.tipo = ComboBoxTipoListino->Text();
  c.riferimento = EditListRif->Text();
  c.sel1 = ComboBoxCampoSel1->Text();
  c.sel2 = ComboBoxCampoSel2->Text();
  c.sel3 = ComboBoxCampoSel3->Text();
  c.classificazione1 = EditClassificazione1->Text();
  c.classificazione2 = EditClassificazione2->Text();
  c.inizio = DataInizioVal->Text();
  c.fine = DataFineVal->Text();
  c.nessunaInizio = CheckBoxNessunaDataInizioVal->Checked();
  c.nessunaFine = CheckBoxNessunaDataFineVal->Checked();
  return c;
}

}  // namespace velmaro
