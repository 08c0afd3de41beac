// The frames that show the editor's lists in house grids.
#include "db/datasource.h"
#include "db/query.h"
#include "grid/vuxgrid.h"
#include "pricelists/editor/frames.h"
#include "ui/dbedit.h"
#include "ui/make.h"
#include "ui/menus.h"
#include "ui/stdctrls.h"

namespace velmaro {

using ui::Make;

void GrigliaInizioRicerca(TVuxGrid& griglia) { griglia.Tag = 1; }
void GrigliaFineRicerca(TVuxGrid& griglia) { griglia.Tag = 0; }

void GrigliaPrimaApertura(TVuxGrid& griglia, db::Query& query) {
  if (griglia.Tag != 0) return;
  griglia.SQLIniziale = query.SQL;
  griglia.CaricaAspettoGriglia();
}

void GrigliaPrimaChiusura(TVuxGrid& griglia, db::Query& query) {
  if (griglia.Tag == 0 && query.Active() && !griglia.AspettoSostituito)
    griglia.SalvaAspettoGriglia();
}

void TastoFunzioneGriglia(TVuxGrid& griglia, unsigned short key) {
  if (!griglia.Focused()) return;
  const int voce = key == ui::VK_F5   ? 0
                   : key == ui::VK_F6 ? 1
                   : key == ui::VK_F8 ? 3
                   : key == ui::VK_F9 ? 4
                                      : -1;
  if (voce >= 0 && voce < int(griglia.VociGriglia.size())) griglia.VociGriglia[voce]->Click();
}

std::string ValoreCampo(db::Query& query, const char* campo) {
  if (!query.Active() || query.IsEmpty()) return {};
  return query.FieldByName(campo).AsString();
}

void StaccaGestori(db::Query& query) {
  query.BeforeOpen = query.AfterOpen = query.BeforeClose = query.AfterClose = nullptr;
}

namespace {

// A house grid on `sorgente`, its popup menu built.
TVuxGrid* CreaGriglia(ui::Frame* frame, const std::string& nome, ui::Bounds bounds,
                      db::DataSource* sorgente) {
  auto* g = Make<TVuxGrid>(frame, nome, bounds);
  g->Loaded();
  g->SetDataSource(sorgente);
  return g;
}

// A hidden edit box that follows one field of the current row.
ui::DBEdit* CreaEditNascosto(ui::Frame* frame, const std::string& nome, db::DataSource* sorgente,
                             const std::string& campo) {
  auto* e = Make<ui::DBEdit>(frame, nome, {0, 0, 40, 21});
  e->SetDataSource(sorgente);
  e->SetDataField(campo);
  e->Hide();
  return e;
}

}  // namespace

TFrameFasce::TFrameFasce(ui::Component* owner) : ui::Frame(owner) {
  SetBounds(0, 0, 640, 520);
  QueryFasce = Make<db::Query>(this, "QueryFasce");
  QueryFasceDett = Make<db::Query>(this, "QueryFasceDett");
  DataSourceFasce = Make<db::DataSource>(this, "DataSourceFasce", QueryFasce);
  DataSourceFasceDett = Make<db::DataSource>(this, "DataSourceFasceDett", QueryFasceDett);
  LabelFasce = Make<ui::Label>(this, "LabelFasce", {8, 4, 200, 16}, "Fasce");
  GridFasce = CreaGriglia(this, "GridFasce", {8, 22, 624, 230}, DataSourceFasce);
  LabelDettFasce = Make<ui::Label>(this, "LabelDettFasce", {8, 258, 400, 16}, "Dettagli fasce");
  LabelDettFasce->Font.Style = ui::fsBold;
  LabelDettFasce->Font.Color = ui::clTeal;
  GridDettFasce = CreaGriglia(this, "GridDettFasce", {8, 276, 624, 236}, DataSourceFasceDett);
  DBEditIDFascia = CreaEditNascosto(this, "DBEditIDFascia", DataSourceFasce, "ID");
  DBEditIDDettFasce = CreaEditNascosto(this, "DBEditIDDettFasce", DataSourceFasceDett, "NRIGA");

  GridFasce->OnInizioRicerca = [this](ui::Component* s) { GridFasceInizioRicerca(s); };
  GridFasce->OnFineRicerca = [this](ui::Component* s) { GridFasceFineRicerca(s); };
  GridDettFasce->OnInizioRicerca = [this](ui::Component* s) { GridDettFasceInizioRicerca(s); };
  GridDettFasce->OnFineRicerca = [this](ui::Component* s) { GridDettFasceFineRicerca(s); };
  QueryFasce->BeforeOpen = [this](db::DataSet& d) { QueryFasceBeforeOpen(d); };
  QueryFasce->BeforeClose = [this](db::DataSet& d) { QueryFasceBeforeClose(d); };
  QueryFasceDett->BeforeOpen = [this](db::DataSet& d) { QueryFasceDettBeforeOpen(d); };
  QueryFasceDett->BeforeClose = [this](db::DataSet& d) { QueryFasceDettBeforeClose(d); };
}

void TFrameFasce::BeforeDestruction() {
  StaccaGestori(*QueryFasce);
  StaccaGestori(*QueryFasceDett);
  ui::Frame::BeforeDestruction();
}

void TFrameFasce::GridFasceInizioRicerca(ui::Component*) { GrigliaInizioRicerca(*GridFasce); }
void TFrameFasce::GridFasceFineRicerca(ui::Component*) { GrigliaFineRicerca(*GridFasce); }
void TFrameFasce::GridDettFasceInizioRicerca(ui::Component*) {
  GrigliaInizioRicerca(*GridDettFasce);
}
void TFrameFasce::GridDettFasceFineRicerca(ui::Component*) { GrigliaFineRicerca(*GridDettFasce); }
void TFrameFasce::QueryFasceBeforeOpen(db::DataSet&) {
  GrigliaPrimaApertura(*GridFasce, *QueryFasce);
}
void TFrameFasce::QueryFasceBeforeClose(db::DataSet&) {
  GrigliaPrimaChiusura(*GridFasce, *QueryFasce);
}
void TFrameFasce::QueryFasceDettBeforeOpen(db::DataSet&) {
  GrigliaPrimaApertura(*GridDettFasce, *QueryFasceDett);
}
void TFrameFasce::QueryFasceDettBeforeClose(db::DataSet&) {
  GrigliaPrimaChiusura(*GridDettFasce, *QueryFasceDett);
}

TFrameListini::TFrameListini(ui::Component* owner) : ui::Frame(owner) {
  SetBounds(0, 0, 640, 460);
  QueryListini = Make<db::Query>(this, "QueryListini");
  DataSourceListini = Make<db::DataSource>(this, "DataSourceListini", QueryListini);
  LabelListCorr = Make<ui::Label>(this, "LabelListCorr", {8, 4, 400, 16}, "Listini");
  ButtonAnnullaFiltro =
      Make<ui::Button>(this, "ButtonAnnullaFiltro", {480, 0, 152, 22}, "Annulla filtro fascia");
  GridListini = CreaGriglia(this, "GridListini", {8, 26, 624, 426}, DataSourceListini);
  DBEditIDList = CreaEditNascosto(this, "DBEditIDList", DataSourceListini, "TIPO");
  GridListini->OnInizioRicerca = [this](ui::Component* s) { GridListiniInizioRicerca(s); };
  GridListini->OnFineRicerca = [this](ui::Component* s) { GridListiniFineRicerca(s); };
}

void TFrameListini::BeforeDestruction() {
  StaccaGestori(*QueryListini);
  ui::Frame::BeforeDestruction();
}

void TFrameListini::GridListiniInizioRicerca(ui::Component*) { GrigliaInizioRicerca(*GridListini); }
void TFrameListini::GridListiniFineRicerca(ui::Component*) { GrigliaFineRicerca(*GridListini); }

TFrameDettNetti::TFrameDettNetti(ui::Component* owner) : ui::Frame(owner) {
  SetBounds(0, 0, 640, 400);
  QueryDettNetti = Make<db::Query>(this, "QueryDettNetti");
  DataSourceDettNetti = Make<db::DataSource>(this, "DataSourceDettNetti", QueryDettNetti);
  LabelNetti = Make<ui::Label>(this, "LabelNetti", {8, 4, 400, 16}, "Prezzi netti");
  GridListNetti = CreaGriglia(this, "GridListNetti", {8, 22, 624, 370}, DataSourceDettNetti);
  GridListNetti->OnInizioRicerca = [this](ui::Component* s) { GridListNettiInizioRicerca(s); };
  GridListNetti->OnFineRicerca = [this](ui::Component* s) { GridListNettiFineRicerca(s); };
  QueryDettNetti->BeforeOpen = [this](db::DataSet& d) { QueryDettNettiBeforeOpen(d); };
  QueryDettNetti->BeforeClose = [this](db::DataSet& d) { QueryDettNettiBeforeClose(d); };
}

void TFrameDettNetti::BeforeDestruction() {
  StaccaGestori(*QueryDettNetti);
  ui::Frame::BeforeDestruction();
}

void TFrameDettNetti::GridListNettiInizioRicerca(ui::Component*) {
  GrigliaInizioRicerca(*GridListNetti);
}
void TFrameDettNetti::GridListNettiFineRicerca(ui::Component*) {
  GrigliaFineRicerca(*GridListNetti);
}
void TFrameDettNetti::QueryDettNettiBeforeOpen(db::DataSet&) {
  GrigliaPrimaApertura(*GridListNetti, *QueryDettNetti);
}
void TFrameDettNetti::QueryDettNettiBeforeClose(db::DataSet&) {
  GrigliaPrimaChiusura(*GridListNetti, *QueryDettNetti);
}

TFrameDettSconti::TFrameDettSconti(ui::Component* owner) : ui::Frame(owner) {
  SetBounds(0, 0, 640, 400);
  QueryDettSconti = Make<db::Query>(this, "QueryDettSconti");
  DataSourceDettSconti = Make<db::DataSource>(this, "DataSourceDettSconti", QueryDettSconti);
  LabelSconti = Make<ui::Label>(this, "LabelSconti", {8, 4, 400, 16}, "Sconto");
  GridListSconti = CreaGriglia(this, "GridListSconti", {8, 22, 624, 370}, DataSourceDettSconti);
  GridListSconti->OnInizioRicerca = [this](ui::Component* s) { GridListScontiInizioRicerca(s); };
  GridListSconti->OnFineRicerca = [this](ui::Component* s) { GridListScontiFineRicerca(s); };
  QueryDettSconti->BeforeOpen = [this](db::DataSet& d) { QueryDettScontiBeforeOpen(d); };
  QueryDettSconti->BeforeClose = [this](db::DataSet& d) { QueryDettScontiBeforeClose(d); };
}

void TFrameDettSconti::BeforeDestruction() {
  StaccaGestori(*QueryDettSconti);
  ui::Frame::BeforeDestruction();
}

void TFrameDettSconti::GridListScontiInizioRicerca(ui::Component*) {
  GrigliaInizioRicerca(*GridListSconti);
}
void TFrameDettSconti::GridListScontiFineRicerca(ui::Component*) {
  GrigliaFineRicerca(*GridListSconti);
}
void TFrameDettSconti::QueryDettScontiBeforeOpen(db::DataSet&) {
  GrigliaPrimaApertura(*GridListSconti, *QueryDettSconti);
}
void TFrameDettSconti::QueryDettScontiBeforeClose(db::DataSet&) {
  GrigliaPrimaChiusura(*GridListSconti, *QueryDettSconti);
}

}  // namespace velmaro
