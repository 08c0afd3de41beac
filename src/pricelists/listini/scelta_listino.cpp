#include "pricelists/listini/scelta_listino.h"

#include "context/datamodule.h"
#include "context/tabxform.h"
#include "db/datasource.h"
#include "db/query.h"
#include "grid/vuxgrid.h"
#include "pricelists/editor/frames.h"
#include "ui/make.h"
#include "ui/stdctrls.h"

namespace velmaro {

using ui::Make;

std::string ListinoRitornato;

TLisRicercaForm::TLisRicercaForm(ui::Component* owner, CellaDataModule* cellaDM) : ui::Form(owner) {
  SetName("LisRicercaForm");
  SetCaption("Ricerca listino");
  SetBounds(0, 0, 800, 500);
  Position = ui::FormPosition::ScreenCenter;
  KeyPreview = true;
  QueryListini = Make<db::Query>(this, "QueryListini");
  DataSourceListini = Make<db::DataSource>(this, "DataSourceListini", QueryListini);
  LabelTitolo =
      Make<ui::Label>(this, "LabelTitolo", {8, 8, 400, 16}, "Selezionare un listino da ritornare");
  GridListini = Make<TVuxGrid>(this, "GridListini", {8, 28, 776, 400});
  GridListini->Loaded();
  GridListini->SetDataSource(DataSourceListini);
  ButtonChiudi = Make<ui::Button>(this, "ButtonChiudi", {620, 436, 75, 25}, "Chiudi");
  ButtonChiudi->Cancel = true;
  ButtonChiudi->ModalResult = ui::mrCancel;
  ButtonRitorna = Make<ui::Button>(this, "ButtonRitorna", {704, 436, 75, 25}, "Ritorna");

  ButtonRitorna->OnClick = [this](ui::Component*) { ButtonRitornaClick(); };
  OnClose = [this](ui::Component*, ui::CloseAction& a) { FormClose(a); };
  GridListini->OnKeyUp = [this](ui::Component*, ui::Word& k, ui::ShiftState) {
    GridListiniKeyUp(k);
  };
  GridListini->OnInizioRicerca = [this](ui::Component*) { GridListiniInizioRicerca(); };
  GridListini->OnFineRicerca = [this](ui::Component*) { GridListiniFineRicerca(); };
  QueryListini->BeforeOpen = [this](db::DataSet&) { QueryListiniBeforeOpen(); };
  QueryListini->BeforeClose = [this](db::DataSet&) { QueryListiniBeforeClose(); };

  TDataModuleVelmaro& dm = cellaDM->Riferimento();
  TTabXForm& tabx = dm.TabX();
  QueryListini->SetDatabase(tabx.IBDatabase1);
  QueryListini->SetTransaction(tabx.IBTransaction1);
  GridListini->CodiceProgetto = dm.CodiceProgetto;
  GridListini->SetSituazione(dm.Situazione2);
  GridListini->Utente = tabx.GetNumUser();
  GridListini->NomeTabella = "LISTSC";
  GridListini->SetSorgenteDati(QueryListini);
  GridListini->TabellaPiccola = true;
  GridListini->BinDir = tabx.GetV("BinDir");
  GridListini->Ditta = tabx.GetDitta();
  GridListini->RicercaCampoAbilitata = true;
  QueryListini->Open();
  DoCreate();
}

// The query outlives this class's part of the form; its handlers must not.
void TLisRicercaForm::BeforeDestruction() {
  StaccaGestori(*QueryListini);
  ui::Form::BeforeDestruction();
}

void TLisRicercaForm::QueryListiniBeforeOpen() {
  if (GridListini->Tag != 0) return;
  QueryListini->SQL.Clear();
  QueryListini->SQL.Add("SELECT * FROM LISTSC");
  GrigliaPrimaApertura(*GridListini, *QueryListini);
}

void TLisRicercaForm::QueryListiniBeforeClose() {
  GrigliaPrimaChiusura(*GridListini, *QueryListini);
}

void TLisRicercaForm::GridListiniInizioRicerca() { GrigliaInizioRicerca(*GridListini); }
void TLisRicercaForm::GridListiniFineRicerca() { GrigliaFineRicerca(*GridListini); }

void TLisRicercaForm::FormClose(ui::CloseAction&) {
  if (QueryListini->Active() && !GridListini->AspettoSostituito) GridListini->SalvaAspettoGriglia();
}

void TLisRicercaForm::GridListiniKeyUp(ui::Word& key) { TastoFunzioneGriglia(*GridListini, key); }

void TLisRicercaForm::ButtonRitornaClick() {
  ListinoRitornato = ValoreCampo(*QueryListini, "ID");
  SetModalResult(ui::mrOk);
}

}  // namespace velmaro
