// The command bar and its pages, band tracking, the way from a band row to
// its list, and the embedded customer search.
#include <functional>

#include "context/dbutility.h"
#include "context/helpers.h"
#include "context/tabxform.h"
#include "db/database.h"
#include "db/query.h"
#include "db/transaction.h"
#include "grid/vuxgrid.h"
#include "pricelists/editor/frames.h"
#include "pricelists/editor/lisfasedit.h"
#include "pricelists/editor/pagina.h"
#include "pricelists/presalistino.h"
#include "search/vuxricerche.h"
#include "ui/application.h"
#include "ui/dbedit.h"
#include "ui/extctrls.h"
#include "ui/pages.h"
#include "ui/stdctrls.h"

namespace velmaro {

namespace {

const char* const kTestoInfoRetail =
    "Per ogni fascia di prezzi di vendita associata ai clienti viene creata la corrispondente "
    "fascia di prezzi al dettaglio (retail) con ID uguale all'ID della fascia di vendita più "
    "1000 (fascia di vendita 10, fascia retail 1010).\r\nLa fascia retail non va associata ai "
    "clienti: i sistemi che la usano la trovano sommando 1000 alla fascia del cliente.";

}  // namespace

void TLisFasEditForm::CaricaListaFasce() {
  db::Query& q = *FrameFasce1->QueryFasce;
  q.Close();
  q.SQL.Clear();
  q.SQL.Add(
      "SELECT ID,NOME,CLASSIFICAZIONE1,CLASSIFICAZIONE2,LISTINOSCONTISPEC,LISTINOSCONTISPEC2,"
      "LISTINOSCONTISPEC3,LISTINORICARICO,LISTINOSCONTISPECNETTI FROM FASCESC");
  if (!TipoPrezzoCliente.empty()) q.SQL.Add("WHERE ID='" + Apici(TipoPrezzoCliente) + "' ");
  q.Open();
}

void TLisFasEditForm::CaricaListaDettFasce() {
  db::Query& q = *FrameFasce1->QueryFasceDett;
  q.Close();
  q.SQL.Clear();
  q.SQL.Add("SELECT FASCESCDT.*,LISTSC.NOME FROM FASCESCDT");
  q.SQL.Add("LEFT JOIN LISTSC ON(IDLISTINO=ID)");
  q.SQL.Add("WHERE FASCESCDT.IDFASCIA=" + IDFasciaCorrente);
  FrameFasce1->LabelDettFasce->SetCaption("Dettagli fascia corrente: " +
                                          ValoreCampo(*FrameFasce1->QueryFasce, "NOME"));
  try {
    q.Open();
  } catch (const std::exception& e) {
    ui::ShowMessage(e.what());
  }
}

void TLisFasEditForm::FrameFasce1DBEditIDFasciaChange() {
  if (FrameFasce1->DBEditIDFascia->Text().empty()) return;
  FrameFasce1->QueryFasceDett->Close();
  IDFasciaCorrente = ValoreCampo(*FrameFasce1->QueryFasce, "ID");
  CaricaListaDettFasce();
}

void TLisFasEditForm::FrameFasce1DBEditIDDettFasceChange() {
  db::Query& q = *FrameFasce1->QueryFasceDett;
  const int numero = q.Active() ? q.RecNo() : 0;
  ButtonPiuPriorita->SetEnabled(numero > 1);
  // The query reads its rows as they are needed: whether a row follows the
  // current one is asked by reading it (0-based, the next row's index is
  // `numero`), not by counting the rows read so far.
  ButtonMenoPriorita->SetEnabled(numero > 0 && q.FetchTo(numero));
}

void TLisFasEditForm::FrameFasce1GridFasceDblClick() { VaiAListiniDaFasce(); }
void TLisFasEditForm::FrameFasce1GridDettFasceDblClick() { VaiAListiniDaFasce(); }

void TLisFasEditForm::VaiAListiniDaFasce() {
  db::Query& q = *FrameFasce1->QueryFasceDett;
  IDListinoCorrente = ValoreCampo(q, "IDLISTINO");
  ButtonListini->Click();
}

// Pages change only through the command bar.
void TLisFasEditForm::PageControlMainChanging(ui::Component*, bool& allowChange) {
  allowChange = false;
}

void TLisFasEditForm::AbilitaComandi(bool fasce, bool listini, bool gesNet, bool gesSco,
                                     bool cliFas, bool fornFas, bool clienti) {
  ButtonFasce->SetEnabled(fasce);
  ButtonListini->SetEnabled(listini);
  ButtonGesNet->SetEnabled(gesNet);
  ButtonGesSco->SetEnabled(gesSco);
  ButtonCliFas->SetEnabled(cliFas);
  ButtonFornFas->SetEnabled(fornFas);
  ButtonClienti->SetEnabled(clienti);
}

void TLisFasEditForm::MarcaComando(ui::Button* button, bool larghezza) {
  PanelSel->SetLeft(button->Left());
  if (larghezza) PanelSel->SetWidth(button->Width());
}

void TLisFasEditForm::BarraFasce() { AbilitaComandi(true, true, false, false, true, true, true); }
void TLisFasEditForm::BarraListini() {
  AbilitaComandi(true, true, true, true, false, false, false);
}
void TLisFasEditForm::BarraGesNet() {
  AbilitaComandi(false, true, true, false, false, false, false);
}
void TLisFasEditForm::BarraGesSco() {
  AbilitaComandi(false, true, false, true, false, false, false);
}
void TLisFasEditForm::BarraCliFas() {
  AbilitaComandi(true, false, false, false, true, false, true);
}
void TLisFasEditForm::BarraFornFas() {
  AbilitaComandi(true, false, false, false, false, true, false);
}
void TLisFasEditForm::BarraClienti() {
  AbilitaComandi(true, false, false, false, false, false, true);
}
void TLisFasEditForm::BarraClienteCorr() {
  AbilitaComandi(true, true, false, false, false, false, true);
}

void TLisFasEditForm::ButtonFasceClick() {
  AzioneFasce();
  BarraFasce();
}
void TLisFasEditForm::ButtonListiniClick() {
  BarraListini();
  AzioneListini();
}
// A row page opens the list under the lists page's cursor: with no list
// there is nothing to open, and the page would be loaded for no list.
void TLisFasEditForm::ButtonGesNetClick() {
  if (pagina::Vuota(*FrameListini1->QueryListini, pagina::SeVuota::TabellaVuota)) return;
  BarraGesNet();
  AzioneGesNet();
}
void TLisFasEditForm::ButtonGesScoClick() {
  if (pagina::Vuota(*FrameListini1->QueryListini, pagina::SeVuota::TabellaVuota)) return;
  BarraGesSco();
  AzioneGesSco();
}
void TLisFasEditForm::ButtonCliFasClick() {
  BarraCliFas();
  AzioneCliFas();
}
void TLisFasEditForm::ButtonFornFasClick() {
  BarraFornFas();
  AzioneFornFas();
}
void TLisFasEditForm::ButtonClientiClick() {
  BarraClienti();
  AzioneClienti();
}
void TLisFasEditForm::ButtonCliCorrClick() {
  AzioneClienteCorr();
  BarraClienteCorr();
}

void TLisFasEditForm::AzioneFasce() {
  TipoPrezzoCliente.clear();
  ButtonCliCorr->Hide();
  CaricaListaFasce();
  ButtonFascAggiornaClick();
  ButtonFascNuovo->SetEnabled(true);
  ButtonFascElimina->SetEnabled(true);
  ButtonFascDuplica->SetEnabled(true);
  PageControlMain->SetActivePage(TabSheetFasce);
  MarcaComando(ButtonFasce, true);
}

void TLisFasEditForm::AzioneListini() {
  DataInizioDef->SetDate(Oggi());
  DataFineDef->SetDate(Oggi());
  if (PageControlMain->ActivePage() == TabSheetFasce)
    IDFasciaSelezionata = FrameFasce1->DBEditIDFascia->Text();
  CaricaListaListini(IDFasciaSelezionata);
  // An exact match: a partial key would take list 10 for "1".
  FrameListini1->QueryListini->Locate("ID", db::Value(IDListinoCorrente));
  PageControlMain->SetActivePage(TabSheetListini);
  MarcaComando(ButtonListini, true);
  AbilitaGestioneDaTipo();
}

void TLisFasEditForm::AzioneGesNet() {
  db::Query& q = *FrameListini1->QueryListini;
  IDListinoCorrente = ValoreCampo(q, "ID");
  FrameDettNetti1->LabelNetti->SetCaption("Listino corrente: " + ValoreCampo(q, "NOME"));
  CaricaListaDettNetti();
  NotebookDettNetti->SetPageIndex(0);
  PageControlMain->SetActivePage(TabSheetDettNetti);
  MarcaComando(ButtonGesNet, false);
}

void TLisFasEditForm::AzioneGesSco() {
  db::Query& q = *FrameListini1->QueryListini;
  IDListinoCorrente = ValoreCampo(q, "ID");
  FrameDettSconti1->LabelSconti->SetCaption("Listino corrente: " + ValoreCampo(q, "NOME"));
  CaricaListaDettSconti();
  NotebookDettSconti->SetPageIndex(0);
  PageControlMain->SetActivePage(TabSheetDettSconti);
  MarcaComando(ButtonGesSco, false);
}

namespace {

// The customers (suppliers) of the selected band, titled with its name.
void CaricaSoggettiFascia(TFrameClientiFasc& frame, const char* tabella, const char* titolo,
                          const std::string& nomeFascia) {
  db::Query& q = *frame.QueryClientiFasc;
  q.Close();
  q.SQL.Clear();
  q.SQL.Add(std::string("SELECT CODICE,RAGSOC FROM ") + tabella +
            " WHERE TIPOPREZZO IS NOT NULL AND TIPOPREZZO='" + Apici(IDFasciaSelezionata) + "'");
  q.Open();
  frame.LabelCliFasc->SetCaption(titolo + nomeFascia);
}

}  // namespace

void TLisFasEditForm::AzioneCliFas() {
  IDFasciaSelezionata = FrameFasce1->DBEditIDFascia->Text();
  CaricaSoggettiFascia(*FrameClientiFasc1, "CLIENTI", "Clienti collegati alla fascia ",
                       ValoreCampo(*FrameFasce1->QueryFasce, "NOME"));
  PageControlMain->SetActivePage(TabSheetClientiFascia);
  MarcaComando(ButtonCliFas, false);
}

void TLisFasEditForm::AzioneFornFas() {
  IDFasciaSelezionata = FrameFasce1->DBEditIDFascia->Text();
  CaricaSoggettiFascia(*FrameFornFasc, "FORNITO", "Fornitori collegati alla fascia ",
                       ValoreCampo(*FrameFasce1->QueryFasce, "NOME"));
  PageControlMain->SetActivePage(TabSheetFornFascia);
  MarcaComando(ButtonFornFas, false);
}

void TLisFasEditForm::AzioneClienti() {
  IDFasciaSelezionata = FrameFasce1->DBEditIDFascia->Text();
  RicercaClienti->ButtonRefreshClick();
  PageControlMain->SetActivePage(TabSheetClienti);
  MarcaComando(ButtonClienti, true);
}

void TLisFasEditForm::AzioneClienteCorr() {
  PageControlMain->SetActivePage(TabSheetFasce);
  CaricaListaFasce();
  ButtonFascAggiornaClick();
  ButtonFascNuovo->SetEnabled(false);
  ButtonFascElimina->SetEnabled(false);
  ButtonFascDuplica->SetEnabled(false);
  MarcaComando(ButtonCliCorr, true);
}

void TLisFasEditForm::ClientiRicercheButtonRitornaClick() {
  db::Query& q = *RicercaClienti->QueryMain;
  ButtonCliCorr->SetCaption("CLI SELEZ: " + ValoreCampo(q, "RAGSOC"));
  ButtonCliCorr->Show();
  TipoPrezzoCliente = ValoreCampo(q, "TIPOPREZZO");
  if (!TipoPrezzoCliente.empty())
    ButtonCliCorrClick();
  else
    ClientiRicercheButtonChiudiClick();
}

void TLisFasEditForm::ClientiRicercheButtonChiudiClick() {
  ButtonCliCorr->Hide();
  TipoPrezzoCliente.clear();
  ButtonFasceClick();
}

void TLisFasEditForm::RinnovaVista() {
  RicaricaVista([this] { RinnovaTransazione(*TabX().IBDatabase1->DefaultTransaction); });
}

void TLisFasEditForm::RicaricaVista(const std::function<void()>& rinnova) {
  // The page on screen, how it loads, and the fields telling its rows apart.
  ui::TabSheet* pagina = PageControlMain->ActivePage();
  db::Query* griglia = nullptr;
  std::vector<std::string> campi;
  std::function<void()> carica;
  if (pagina == TabSheetDettNetti) {
    griglia = FrameDettNetti1->QueryDettNetti;
    campi = {"CODICEARTICOLO", "ESTCODICE", "DATAINIZIOVALIDITA", "QUANTITASCAGLIONE"};
    carica = [this] { CaricaListaDettNetti(); };
  } else if (pagina == TabSheetDettSconti) {
    griglia = FrameDettSconti1->QueryDettSconti;
    campi = {"DESCRIZIONE", "DATAINIZIOVALIDITA", "QUANTITASCAGLIONE"};
    carica = [this] { CaricaListaDettSconti(); };
  } else if (pagina == TabSheetFasce) {
    // The bands grid goes back on its band below, which loads its rows;
    // they go back on the row.
    griglia = FrameFasce1->QueryFasceDett;
    campi = {"NRIGA"};
    carica = [this] {
      if (!FrameFasce1->QueryFasceDett->Active()) CaricaListaDettFasce();
    };
  } else if (pagina == TabSheetClientiFascia || pagina == TabSheetFornFascia) {
    TFrameClientiFasc& frame =
        pagina == TabSheetClientiFascia ? *FrameClientiFasc1 : *FrameFornFasc;
    griglia = frame.QueryClientiFasc;
    campi = {"CODICE"};
    carica = [griglia] {
      if (!griglia->Active()) griglia->Open();
    };
  }
  // The row under the cursor, by its key read before the view goes; a
  // grid a renewal already closed kept no row to go back to.
  std::string chiave;
  std::vector<db::Value> valori;
  if (griglia && !pagina::Vuota(*griglia)) {
    for (const std::string& campo : campi) {
      chiave += (chiave.empty() ? "" : ";") + campo;
      valori.push_back(griglia->FieldByName(campo).GetValue());
    }
  }
  db::Query& listini = *FrameListini1->QueryListini;
  const std::string listino = pagina == TabSheetListini && !pagina::Vuota(listini)
                                  ? ValoreCampo(listini, "ID")
                                  : IDListinoCorrente;
  if (rinnova) rinnova();
  RiapriFasce();
  // The embedded customer search reads on the same transaction.
  if (RicercaClienti && RicercaClienti->QueryMain && !RicercaClienti->QueryMain->Active())
    RicercaClienti->QueryMain->Open();
  CaricaListaListini(IDFasciaSelezionata);
  listini.Locate("ID", db::Value(listino));
  if (!IDListinoCorrente.empty()) {
    const std::string nome = pagina::PrimoValore(
        *QueryAux1, {"SELECT NOME FROM LISTSC WHERE ID=" + Letterale(IDListinoCorrente)});
    FrameDettNetti1->LabelNetti->SetCaption("Listino corrente: " + nome);
    FrameDettSconti1->LabelSconti->SetCaption("Listino corrente: " + nome);
  }
  if (!carica) return;
  carica();
  if (!valori.empty()) griglia->Locate(chiave, valori);
}

PresaTestata::Esiti TLisFasEditForm::PrendiListino(const std::string& id,
                                                   PresaTestata::Rinnovo rinnovo) {
  rinnovo.rinnova = [this] { RinnovaVista(); };
  return PresaListino::Prendi(*QueryAux1->GetTransaction(), id, rinnovo);
}

std::function<PresaTestata::Esiti(PresaTestata::Rinnovo)> TLisFasEditForm::PresaListinoCorrente(
    PresaTestata::Genere genere) {
  return [this, genere](PresaTestata::Rinnovo rinnovo) {
    rinnovo.genere = genere;
    return PrendiListino(IDListinoCorrente, std::move(rinnovo));
  };
}

PresaTestata::Esiti TLisFasEditForm::PrendiFascia(const std::string& id,
                                                  PresaTestata::Rinnovo rinnovo) {
  // The renewal puts the bands grid back on the band it was on: it goes to
  // the band held when another, so that the rows the command shows after
  // its write are that band's.
  rinnovo.rinnova = [this, id] {
    RinnovaVista();
    db::Query& q = *FrameFasce1->QueryFasce;
    if (!pagina::Vuota(q) && ValoreCampo(q, "ID") != id) q.Locate("ID", db::Value(id));
  };
  return PresaFascia::Prendi(*QueryAux1->GetTransaction(), id, rinnovo);
}

void TLisFasEditForm::RiapriFasce() {
  db::Query& q = *FrameFasce1->QueryFasce;
  if (q.Active()) return;
  // Loading moves the band tracking to the first band: the band it was on
  // is kept first.
  const std::string fascia = IDFasciaCorrente;
  CaricaListaFasce();
  q.Locate("ID", db::Value(fascia));
}

void TLisFasEditForm::ButtonInfoRetailClick() { ui::ShowMessage(kTestoInfoRetail); }

}  // namespace velmaro
