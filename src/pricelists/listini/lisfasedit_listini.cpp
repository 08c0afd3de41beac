// The lists page: loading with the band filter, new, edit, delete and
// refresh of a list, and the way into a list's rows.
#include "context/datamodule.h"
#include "context/helpers.h"
#include "db/error.h"
#include "db/query.h"
#include "db/transaction.h"
#include "grid/vuxgrid.h"
#include "pricelists/editor/frames.h"
#include "pricelists/editor/lisfasedit.h"
#include "pricelists/listini/dialogo_listino.h"
#include "pricelists/listini/listini.h"
#include "pricelists/presalistino.h"
#include "ui/application.h"
#include "ui/dbedit.h"
#include "ui/extctrls.h"
#include "ui/lists.h"
#include "ui/make.h"
#include "ui/pages.h"
#include "ui/stdctrls.h"

namespace velmaro {

namespace {

// A stored date into a date box and its "Nessuna" box: no date ticks it.
void MostraData(db::Field& campo, ui::DateTimePicker& data, ui::CheckBox& nessuna) {
  if (campo.IsNull()) {
    nessuna.SetChecked(true);
    data.SetEnabled(false);
    return;
  }
  data.SetDate(campo.AsDateTime());
}

}  // namespace

std::string TLisFasEditForm::EtichettaCampoSel(const std::string& colonna) {
  return listini::EtichettaCampoSel(colonna, [this](const std::string& n) { return LeggiTabX(n); });
}

std::string TLisFasEditForm::CampoSelDaEtichetta(const std::string& etichetta) {
  return listini::CampoSelDaEtichetta(etichetta,
                                      [this](const std::string& n) { return LeggiTabX(n); });
}

void TLisFasEditForm::CaricaListaListini(const std::string& fascia) {
  db::Query& q = *FrameListini1->QueryListini;
  q.Close();
  q.SQL.Assign(listini::RigheElencoListini(fascia));
  FrameListini1->LabelListCorr->SetCaption(
      fascia.empty() ? "Elenco listini"
                     : "Listini fascia corrente: " + ValoreCampo(*FrameFasce1->QueryFasce, "NOME"));
  q.Open();
  if (!q.IsEmpty()) return;
  // A band without lists shows them all, under the band's title.
  q.Close();
  q.SQL.Assign(listini::RigheElencoListini(""));
  q.Open();
}

void TLisFasEditForm::FrameListini1QueryListiniBeforeOpen(db::DataSet&) {
  GrigliaPrimaApertura(*FrameListini1->GridListini, *FrameListini1->QueryListini);
}

void TLisFasEditForm::FrameListini1QueryListiniBeforeClose(db::DataSet&) {
  GrigliaPrimaChiusura(*FrameListini1->GridListini, *FrameListini1->QueryListini);
}

void TLisFasEditForm::FrameListini1ButtonAnnullaFiltroClick() {
  IDFasciaSelezionata.clear();
  CaricaListaListini("");
}

void TLisFasEditForm::ButtonAggiornaClick() {
  FrameListini1->QueryListini->GetTransaction()->CommitRetaining();
  CaricaListaListini(IDFasciaSelezionata);
}

void TLisFasEditForm::CheckBoxNessunaDataFinaleClick() {
  DataFineDef->SetEnabled(!CheckBoxNessunaDataFinale->Checked());
}

void TLisFasEditForm::FrameListini1GridListiniDblClick() {
  db::Query& q = *FrameListini1->QueryListini;
  IDListinoCorrente = ValoreCampo(q, "ID");
  if (ValoreCampo(q, "TIPO") == "N")
    ButtonGesNet->Click();
  else
    ButtonGesSco->Click();
}

// The row's type decides which row page suits the list. Elsewhere than on
// the lists page the bar keeps what its page command set: a band refresh
// closes the list query and must not enable a row command there.
void TLisFasEditForm::FrameListini1DBEditIDListChange() {
  if (PageControlMain->ActivePage() == TabSheetListini) AbilitaGestioneDaTipo();
}

void TLisFasEditForm::AbilitaGestioneDaTipo() {
  const bool netto = FrameListini1->DBEditIDList->Text() == "N";
  ButtonGesNet->SetEnabled(netto);
  ButtonGesSco->SetEnabled(!netto);
}

void TLisFasEditForm::ButtonNuovoClick() {
  FrameListini1ButtonAnnullaFiltroClick();
  auto dialogo = ui::MakeOwned<TListinoNuovoForm>(this, CellaDM);
  dialogo->DataInizioVal->SetDate(DataInizioDef->Date());
  dialogo->DataFineVal->SetDate(DataFineDef->Date());
  dialogo->DataFineVal->SetEnabled(DataFineDef->Enabled());
  dialogo->CheckBoxNessunaDataFineVal->SetChecked(CheckBoxNessunaDataFinale->Checked());
  if (dialogo->ShowModal() != ui::mrOk) return;

  try {
    const listini::ValoriTestata v = listini::ComponiTestata(
        dialogo->Campi(), [this](const std::string& n) { return LeggiTabX(n); },
        LeggiTabX("ListinoNettiDefPerSconti"));
    EseguiRighe(*QueryAux1, listini::RigheInserisciListino(v));
    FrameListini1->QueryListini->GetTransaction()->CommitRetaining();
    CaricaListaListini(IDFasciaSelezionata);
    FrameListini1->QueryListini->Locate("ID", db::Value(v.id));
  } catch (const std::exception&) {
    Errore("Errore interno: impossibile inserire un nuovo record");
  }
}

void TLisFasEditForm::ButtonEditClick() {
  db::Query& q = *FrameListini1->QueryListini;
  if (!q.Active() || q.IsEmpty()) {
    Informazione("Premere Nuovo per inserire un nuovo record");
    return;
  }
  const std::string id = ValoreCampo(q, "ID");
  auto dialogo = ui::MakeOwned<TListinoNuovoForm>(this, CellaDM);
  TListinoNuovoForm& d = *dialogo;
  d.ModoEdit = true;
  d.SetCaption("Edita listino");
  d.EditCodListino->SetText(id);
  d.EditNomeListino->SetText(ValoreCampo(q, "NOME"));
  d.EditClassificazione1->SetText(ValoreCampo(q, "CLASSIFICAZIONE1"));
  d.EditClassificazione2->SetText(ValoreCampo(q, "CLASSIFICAZIONE2"));
  d.EditListRif->SetText(ValoreCampo(q, "LISTSCRIF"));
  const std::string sel1 = ValoreCampo(q, "CAMPOSEL1"), sel2 = ValoreCampo(q, "CAMPOSEL2");
  d.ComboBoxCampoSel1->SetText(sel1 == "CODICE" ? listini::kEtichettaCodice
                                                : EtichettaCampoSel(sel1));
  d.ComboBoxCampoSel2->SetText(sel2 == "ESTENSIONE" ? listini::kEtichettaEstensione
                                                    : EtichettaCampoSel(sel2));
  d.ComboBoxCampoSel3->SetText(EtichettaCampoSel(ValoreCampo(q, "CAMPOSEL3")));
  d.ComboBoxTipoListino->SetItemIndex(
      d.ComboBoxTipoListino->Items.IndexOf(listini::NomeTipoDaCodice(ValoreCampo(q, "TIPO"))));
  d.ComboBoxTipoListino->SetEnabled(false);
  MostraData(q.FieldByName("DATAINIZIOVALIDITA"), *d.DataInizioVal,
             *d.CheckBoxNessunaDataInizioVal);
  MostraData(q.FieldByName("DATAFINEVALIDITA"), *d.DataFineVal, *d.CheckBoxNessunaDataFineVal);
  d.ComboBoxTipoListinoChange();
  if (d.ShowModal() != ui::mrOk) return;

  try {
    const listini::ValoriTestata v = listini::ComponiTestata(
        d.Campi(), [this](const std::string& n) { return LeggiTabX(n); },
        LeggiTabX("ListinoNettiDefPerSconti"));
    EseguiRighe(*QueryAux1, listini::RigheAggiornaListino(v, id));
    q.GetTransaction()->CommitRetaining();
    CaricaListaListini(IDFasciaCorrente);
    q.Locate("ID", db::Value(id));
  } catch (const std::exception&) {
    // The insert's message, as the page has always shown it.
    Errore("Errore interno: impossibile inserire un nuovo record");
  }
}

void TLisFasEditForm::ButtonEliminaClick() {
  db::Query& q = *FrameListini1->QueryListini;
  if (!q.Active() || q.IsEmpty()) {
    Avviso("La tabella è vuota");
    return;
  }
  const std::string id = ValoreCampo(q, "ID");
  Transazione2->SetActive(false);
  Transazione2->SetActive(true);
  QueryAux2->Close();
  QueryAux2->SQL.Assign({"SELECT * FROM LISTSC WHERE ID='" + Apici(id) + "'"});
  QueryAux2->Open();
  const bool presente = !QueryAux2->IsEmpty();
  QueryAux2->Close();
  if (!presente) {
    Avviso("Il record selezionato è già stato cancellato da un altro utente");
    return;
  }
  if (!Conferma("Eliminare il record selezionato?")) return;

  const int riga = q.RecNo();
  db::Transaction& tr = *QueryAux1->GetTransaction();
  // Held, the list has no writer at work, and this view holds all its rows.
  const auto presa = PresaListino::Prendi(tr, id);
  if (!presa) return;
  try {
    for (const std::string& sql : listini::StatementiEliminaListino(id))
      EseguiRighe(*QueryAux1, {sql});
    presa->Conferma();
    CaricaListaListini(IDFasciaCorrente);
    q.SetRecNo(riga);
  } catch (const std::exception&) {
    // The list and its rows go together or not at all.
    try {
      tr.RollbackRetaining();
    } catch (const db::DbError&) {
    }
    Errore("Errore interno: impossibile eliminare il record selezionato");
  }
}

}  // namespace velmaro
