#include "pricelists/editor/lisfasedit.h"

#include "context/datamodule.h"
#include "context/positions.h"
#include "context/tabxform.h"
#include "db/database.h"
#include "db/error.h"
#include "db/query.h"
#include "db/transaction.h"
#include "grid/vuxgrid.h"
#include "platform/format.h"
#include "pricelists/editor/frames.h"
#include "pricelists/editor/pagina.h"
#include "search/vuxricerche.h"
#include "ui/application.h"
#include "ui/extctrls.h"
#include "ui/pages.h"
#include "ui/stdctrls.h"

namespace velmaro {

std::string IDFasciaSelezionata;

namespace {

// Window position and customer search: project 501, situation 1.
constexpr int kSituazioneFinestra = 1;

const char* const kRichiestaClienti[] = {
    "<VuxForm><NomeTabella>CLIENTI</NomeTabella><CodiceProgettoForm>501</CodiceProgettoForm>"
    "<SituazioneForm>1</SituazioneForm><CodiceProgetto>501</CodiceProgetto>"
    "<SituazioneVuxGrid>1</SituazioneVuxGrid>",
    "<CampiRic><CampoRic><Nome>CODICE</Nome><Etichetta>Codice</Etichetta></CampoRic><CampoRic>"
    "<Nome>RAGSOC</Nome><Etichetta>Rag. Soc.</Etichetta></CampoRic>",
    "<CampoRic><Nome>PI</Nome><Etichetta>PI</Etichetta></CampoRic><CampoRic><Nome>CITTA</Nome>"
    "<Etichetta>Citta</Etichetta></CampoRic></CampiRic>",
    "<CampiRitorno><CampoRitorno>CODICE</CampoRitorno></CampiRitorno>", "</VuxForm>"};

}  // namespace

TLisFasEditForm::TLisFasEditForm(ui::Component* owner, CellaDataModule* cellaDM)
    : FinestraDaExport(owner, cellaDM) {
  SetName("LisFasEditForm");
  SetBounds(40, 30, 1000, 700);
  KeyPreview = true;
  CreaDati();
  CreaBarraComandi();
  CreaPagine();
  CollegaGestori();
  Inizializzazione();
  DoCreate();
}

double TLisFasEditForm::Oggi() { return plat::Date(); }

std::string TLisFasEditForm::LeggiTabX(const std::string& nome) {
  std::string valore;
  DM().ValoreTabX(nome, false, valore);
  return valore;
}

void TLisFasEditForm::Inizializzazione() {
  TTabXForm& tabx = TabX();
  SetCaption(TitoloOperatore("Listini fasce"));
  if (LeggiTabX("ListinoNettiDefPerSconti").empty())
    pagina::Errore("Impostare il listino di riferimento di default nelle impostazioni");

  Transazione2->SetActive(false);
  Transazione2->SetDefaultDatabase(tabx.IBDatabase1);
  Transazione2->Params.clear();
  Transazione2->Params.push_back("isc_tpb_concurrency");
  Transazione2->Params.push_back("isc_tpb_nowait");
  Transazione2->SetActive(true);

  for (db::Query* q :
       {FrameFasce1->QueryFasce, FrameFasce1->QueryFasceDett, FrameListini1->QueryListini,
        FrameDettNetti1->QueryDettNetti, FrameDettSconti1->QueryDettSconti,
        FrameClientiFasc1->QueryClientiFasc, FrameFornFasc->QueryClientiFasc}) {
    q->SetDatabase(tabx.IBDatabase1);
    q->SetTransaction(tabx.IBDatabase1->DefaultTransaction);
  }
  ImpostaGriglie();
  QueryAux1->SetDatabase(tabx.IBDatabase1);
  QueryAux1->SetTransaction(tabx.IBDatabase1->DefaultTransaction);
  QueryAux2->SetDatabase(tabx.IBDatabase1);
  QueryAux2->SetTransaction(Transazione2);
  AggiornaSchemaFasce();

  ButtonFasce->SetEnabled(true);
  ButtonListini->SetEnabled(true);
  ButtonCliFas->SetEnabled(true);
  ButtonGesNet->SetEnabled(false);
  ButtonGesSco->SetEnabled(false);

  IncorporaRicercaClienti();
  CaricaListaFasce();
  PageControlMain->SetActivePage(TabSheetFasce);

  for (ui::DateTimePicker* d :
       {DataInizioDef, DataFineDef, FrameListiniEdit11->DataInizioDef,
        FrameListiniEdit11->DataFineDef, FrameDettScontoEdit11->DataInizioDef,
        FrameDettScontoEdit11->DataFineDef})
    d->SetDate(Oggi());
  CaricaPosizioneForm(*this, tabx.GetNumUser(), kSituazioneFinestra, DM().CodiceProgetto,
                      *tabx.IBDatabase1);
}

// Grids in the order discount rows, net rows, lists, bands, band rows.
void TLisFasEditForm::ImpostaGriglie() {
  TDataModuleVelmaro& dm = DM();
  struct Griglia {
    TVuxGrid* grid;
    const char* tabella;
    int situazione;
    db::Query* query;
  };
  const Griglia griglie[] = {
      {FrameDettSconti1->GridListSconti, "LISTSCDTSCO", dm.Situazione3,
       FrameDettSconti1->QueryDettSconti},
      {FrameDettNetti1->GridListNetti, "LISTSCDTNET", dm.Situazione4,
       FrameDettNetti1->QueryDettNetti},
      {FrameListini1->GridListini, "LISTSC", dm.Situazione5, FrameListini1->QueryListini},
      {FrameFasce1->GridFasce, "FASCESC", dm.Situazione6, FrameFasce1->QueryFasce},
      {FrameFasce1->GridDettFasce, "FASCESCDT", dm.Situazione7, FrameFasce1->QueryFasceDett}};
  for (const Griglia& g : griglie) {
    g.grid->CodiceProgetto = dm.CodiceProgetto;
    g.grid->SetSituazione(g.situazione);
    g.grid->Utente = TabX().GetNumUser();
    g.grid->NomeTabella = g.tabella;
    g.grid->SetSorgenteDati(g.query);
    g.grid->TabellaPiccola = true;
    g.grid->BinDir = TabX().GetV("BinDir");
    g.grid->Ditta = TabX().GetDitta();
    g.grid->RicercaCampoAbilitata = true;
  }
}

// Older band tables lack the second and third special-discount columns; on
// a table that has them the statements fail, and that is fine.
void TLisFasEditForm::AggiornaSchemaFasce() {
  for (const char* sql : {"ALTER TABLE FASCESC ADD LISTINOSCONTISPEC2 Integer",
                          "ALTER TABLE FASCESC ADD LISTINOSCONTISPEC3 Integer"}) {
    try {
      pagina::EseguiRighe(*QueryAux1, {sql});
      QueryAux1->GetTransaction()->CommitRetaining();
    } catch (const db::DbError&) {
    }
  }
}

void TLisFasEditForm::IncorporaRicercaClienti() {
  std::string richiesta;
  for (const char* parte : kRichiestaClienti) richiesta += parte;
  RicercaClienti =
      IncorporaRicerca(TabX().GetNumUser(), 0, DM().CellaTabX, richiesta, TabSheetClienti);
  vivoRicerca_ = RicercaClienti->Ref();
  RicercaClienti->SetParent(TabSheetClienti);
  RicercaClienti->SetAlign(ui::Align::Client);
  RicercaClienti->BorderStyle = ui::FormBorderStyle::None;
  RicercaClienti->Show();
  RicercaClienti->ButtonRitorna->OnClick = [this](ui::Component*) {
    ClientiRicercheButtonRitornaClick();
  };
  RicercaClienti->ButtonChiudi->Show();
  RicercaClienti->ButtonChiudi->OnClick = [this](ui::Component*) {
    ClientiRicercheButtonChiudiClick();
  };
}

void TLisFasEditForm::FormShow() { FrameFasce1DBEditIDDettFasceChange(); }

// The key is not consumed; the other grids of the window get no such handling.
void TLisFasEditForm::FormKeyUp(ui::Word& key, ui::ShiftState) {
  TastoFunzioneGriglia(*FrameDettSconti1->GridListSconti, key);
  TastoFunzioneGriglia(*FrameDettNetti1->GridListNetti, key);
}

void TLisFasEditForm::ButtonChiudiClick() { Close(); }

void TLisFasEditForm::ChiudiDati() {
  for (db::Query* q : {FrameDettSconti1->QueryDettSconti, FrameDettNetti1->QueryDettNetti,
                       FrameListini1->QueryListini, FrameFasce1->QueryFasceDett,
                       FrameFasce1->QueryFasce, FrameClientiFasc1->QueryClientiFasc,
                       FrameFornFasc->QueryClientiFasc, QueryAux1, QueryAux2}) {
    // The window goes whatever happens: a layout that cannot be saved
    // (a lost connection) must not keep it, nor escape its destruction.
    try {
      q->Close();
    } catch (const std::exception&) {
    }
  }
  if (vivoRicerca_) ui::Free(RicercaClienti);
  RicercaClienti = nullptr;
}

// Closing is never refused: the position is saved, and a window of an
// export lets its data go before the context object's databases do.
void TLisFasEditForm::FormClose(ui::Component* sender, ui::CloseAction& action) {
  try {
    SalvaPosizioneForm(*this, TabX().GetNumUser(), kSituazioneFinestra, DM().CodiceProgetto,
                       *TabX().IBDatabase1);
  } catch (const db::DbError&) {
    // A position that cannot be stored is no reason to keep the window.
  }
  if (ApertaDaExport && CellaDM) ChiudiDati();
  FinestraDaExport::FormClose(sender, action);
}

void TLisFasEditForm::FormDestroy(ui::Component* sender) {
  if (CellaDM && CellaDM->Oggetto()) ChiudiDati();
  FinestraDaExport::FormDestroy(sender);
}

void ApriLisFasEditForm(std::int32_t utente, std::int32_t idApertura) {
  LanciaFinestra<TLisFasEditForm>(utente, idApertura);
}

}  // namespace velmaro
