// The lists page: loading with the band filter, new, edit, delete and
// refresh of a list, and the way into a list's rows.
#include "context/datamodule.h"
#include "context/helpers.h"
#include "db/query.h"
#include "db/transaction.h"
#include "grid/vuxgrid.h"
#include "pricelists/editor/frames.h"
#include "pricelists/editor/lisfasedit.h"
#include "pricelists/editor/pagina.h"
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

// The header dialog's values as literals, on the TABX values `tabx` reads.
listini::ValoriTestata ComponiTestata(const TListinoNuovoForm& d,
                                      const listini::LettoreTabX& tabx) {
  return listini::ComponiTestata(d.Campi(), tabx, tabx("ListinoNettiDefPerSconti"));
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

// The operator's refresh shows what other operators committed too.
void TLisFasEditForm::ButtonAggiornaClick() { RinnovaVista(); }

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

  listini::ValoriTestata v;
  pagina::Scrivi(
      *QueryAux1,
      [&] {
        const auto tabx = [this](const std::string& n) { return LeggiTabX(n); };
        v = ComponiTestata(*dialogo, tabx);
        pagina::EseguiRighe(*QueryAux1, listini::RigheInserisciListino(v));
      },
      [&] {
        CaricaListaListini(IDFasciaSelezionata);
        FrameListini1->QueryListini->Locate("ID", db::Value(v.id));
      },
      "Errore interno: impossibile inserire un nuovo record");
}

void TLisFasEditForm::ButtonEditClick() {
  db::Query& q = *FrameListini1->QueryListini;
  if (pagina::Vuota(q, pagina::SeVuota::PremereNuovo)) return;
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

  // The insert's message, as the page has always shown it. Held as the
  // rows' writers hold the list: one writing it now makes this edit wait,
  // and a view older than another's write is renewed, the header edited
  // only when it is still the one the operator saw.
  const char* const errore = "Errore interno: impossibile inserire un nuovo record";
  const auto presa = PrendiListino(id, {.errore = errore});
  if (!presa) return;
  pagina::Scrivi(
      *QueryAux1,
      [&] {
        const auto tabx = [this](const std::string& n) { return LeggiTabX(n); };
        pagina::EseguiSuRiga(*QueryAux1,
                             listini::RigheAggiornaListino(ComponiTestata(d, tabx), id));
      },
      [&] {
        CaricaListaListini(IDFasciaCorrente);
        q.Locate("ID", db::Value(id));
      },
      errore, presa.get());
}

void TLisFasEditForm::ButtonEliminaClick() {
  db::Query& q = *FrameListini1->QueryListini;
  if (pagina::Vuota(q, pagina::SeVuota::TabellaVuota)) return;
  const std::string id = ValoreCampo(q, "ID");
  pagina::EliminaRigaCorrente(
      q, *QueryAux1, *QueryAux2, *Transazione2,
      {.cerca = {"SELECT * FROM LISTSC WHERE ID='" + Apici(id) + "'"},
       // Held, the list has no writer at work, and this view holds all its rows.
       .prendi = [&](PresaTestata::Rinnovo r) { return PrendiListino(id, std::move(r)); },
       // The list and its rows go together or not at all.
       .scrivi =
           [&] {
             const std::vector<std::string> statementi = listini::StatementiEliminaListino(id);
             pagina::EseguiSuRiga(*QueryAux1, {statementi.front()});
             for (size_t i = 1; i < statementi.size(); ++i)
               pagina::EseguiRighe(*QueryAux1, {statementi[i]});
           },
       .torna =
           [&](int riga) {
             CaricaListaListini(IDFasciaCorrente);
             q.SetRecNo(riga);
           }});
}

}  // namespace velmaro
