#pragma once
// The editor of price lists and price bands: one window with seven pages
// (customer search, bands, lists, net rows, discount rows, customers and
// suppliers of a band) moved between by a command bar.
//
// The class is spread over the folders of what each page shows, one file
// `lisfasedit_<page>.cpp` each: editor/ builds the window, starts it up,
// handles keys and closing, runs the command bar with its pages and holds
// what the pages' commands share (pagina.h);
// listini/ the lists page, righe/ the net and discount rows, fasce/ the
// bands, band rows, customers and suppliers of a band and duplication.
#include <cstdint>
#include <functional>
#include <string>

#include "context/launch.h"
#include "pricelists/presalistino.h"
#include "ui/component.h"
#include "ui/types.h"

namespace db {
class DataSet;
class Query;
class Transaction;
}  // namespace db

namespace ui {
class Button;
class CheckBox;
class DateTimePicker;
class Label;
class Notebook;
class PageControl;
class Panel;
class TabSheet;
}  // namespace ui

namespace velmaro {

class TFrameClientiFasc;
class TFrameDettNetti;
class TFrameDettScontoEdit1;
class TFrameDettSconti;
class TFrameFasce;
class TFrameListini;
class TFrameListiniEdit1;
class TVuxRicercheForm;

// The band the list filter, the customer and supplier pages, the priority
// moves and the band refresh act on: one value for every editor window of
// the library, empty until a command sets it.
extern std::string IDFasciaSelezionata;

class TLisFasEditForm : public FinestraDaExport {
 public:
  TLisFasEditForm(ui::Component* owner, CellaDataModule* cellaDM);
  std::string ClassName() const override { return "TLisFasEditForm"; }

  // ---- data objects of the window (owned, made before the controls)
  db::Transaction* Transazione2 = nullptr;
  db::Query* QueryAux1 = nullptr;
  db::Query* QueryAux2 = nullptr;

  // ---- command bar
  ui::Panel* PanelToolBar = nullptr;
  ui::Panel* PanelSel = nullptr;  // marks the selected command
  ui::Button* ButtonClienti = nullptr;
  ui::Button* ButtonCliCorr = nullptr;
  ui::Button* ButtonFasce = nullptr;
  ui::Button* ButtonListini = nullptr;
  ui::Button* ButtonGesNet = nullptr;
  ui::Button* ButtonGesSco = nullptr;
  ui::Button* ButtonCliFas = nullptr;
  ui::Button* ButtonFornFas = nullptr;

  // ---- pages
  ui::PageControl* PageControlMain = nullptr;
  ui::TabSheet* TabSheetClienti = nullptr;
  ui::TabSheet* TabSheetFasce = nullptr;
  ui::TabSheet* TabSheetListini = nullptr;
  ui::TabSheet* TabSheetDettNetti = nullptr;
  ui::TabSheet* TabSheetDettSconti = nullptr;
  ui::TabSheet* TabSheetClientiFascia = nullptr;
  ui::TabSheet* TabSheetFornFascia = nullptr;

  // Bands page: the frame and the right panel with the band commands.
  TFrameFasce* FrameFasce1 = nullptr;
  ui::Panel* PanelFasceRight = nullptr;
  ui::Button* ButtonFascNuovo = nullptr;
  ui::Button* ButtonFascEdita = nullptr;
  ui::Button* ButtonFascElimina = nullptr;
  ui::Button* ButtonFascDuplica = nullptr;
  ui::Button* ButtonFascAggiorna = nullptr;
  ui::Button* ButtonDettFascNuovo = nullptr;
  ui::Button* ButtonDettFascEdita = nullptr;
  ui::Button* ButtonDettFascElimina = nullptr;
  ui::Button* ButtonPiuPriorita = nullptr;
  ui::Button* ButtonMenoPriorita = nullptr;
  ui::Button* ButtonDettFascAggiorna = nullptr;
  ui::Button* ButtonInfoRetail = nullptr;
  ui::Button* ButtonChiudi = nullptr;

  // Lists page: the bar with the list commands and default dates.
  ui::Panel* PanelListini = nullptr;
  ui::Button* ButtonNuovo = nullptr;
  ui::Button* ButtonEdit = nullptr;
  ui::Button* ButtonElimina = nullptr;
  ui::Button* ButtonAggiorna = nullptr;
  ui::Label* LabelDataInizioDef = nullptr;
  ui::DateTimePicker* DataInizioDef = nullptr;
  ui::Label* LabelDataFineDef = nullptr;
  ui::DateTimePicker* DataFineDef = nullptr;
  ui::CheckBox* CheckBoxNessunaDataFinale = nullptr;
  TFrameListini* FrameListini1 = nullptr;

  // Row pages.
  ui::Notebook* NotebookDettNetti = nullptr;
  TFrameListiniEdit1* FrameListiniEdit11 = nullptr;
  TFrameDettNetti* FrameDettNetti1 = nullptr;
  ui::Notebook* NotebookDettSconti = nullptr;
  TFrameDettScontoEdit1* FrameDettScontoEdit11 = nullptr;
  TFrameDettSconti* FrameDettSconti1 = nullptr;

  // Customers and suppliers of a band.
  TFrameClientiFasc* FrameClientiFasc1 = nullptr;
  TFrameClientiFasc* FrameFornFasc = nullptr;

  // ---- state
  std::string IDFasciaCorrente;                // ID of the band under the bands grid's cursor
  std::string IDListinoCorrente;               // ID of the list whose rows are shown
  TVuxRicercheForm* RicercaClienti = nullptr;  // embedded customer search
  std::string TipoPrezzoCliente;               // band of the chosen customer; empty: none

  // ---- start-up and form events (editor/lisfasedit.cpp)
  void Inizializzazione();
  void FormShow();
  void FormKeyUp(ui::Word& key, ui::ShiftState shift);
  void FormClose(ui::Component* sender, ui::CloseAction& action) override;
  void FormDestroy(ui::Component* sender) override;
  void ButtonChiudiClick();

  // ---- the window's view of the data, the bands' loading, the command bar
  // and its pages (editor/lisfasedit_pagine.cpp)
  // The view renewed in place, for the operator's refresh ("±") and for a
  // write that found it older than another operator's: the transaction
  // committed and started again, then RicaricaVista.
  void RinnovaVista();
  // What the window shows, loaded again after its transaction was renewed
  // by `rinnova` (none: by a window of the editor's, already): the bands
  // grid on the band it was on, the embedded customer search, the lists on
  // the band filter and on the current list, the page on screen (row
  // pages, band rows, customers or suppliers of the band) on the row it
  // was on, and the row pages' titles with the list's name now stored; the
  // other pages load again when shown.
  void RicaricaVista(const std::function<void()>& rinnova = {});
  // The bands grid open again on the band it was on, when a renewal of the
  // view (here or in a window of the editor's) closed it.
  void RiapriFasce();
  // The holds the editor's commands take, in the transaction QueryAux1
  // writes in (the context's default one): a view older than another
  // operator's write is renewed by RinnovaVista, the bands grid left on
  // the band held (a band), which the entries fill in.
  PresaTestata::Esiti PrendiListino(const std::string& id, PresaTestata::Rinnovo rinnovo);
  PresaTestata::Esiti PrendiFascia(const std::string& id, PresaTestata::Rinnovo rinnovo);
  // The hold of the current list, which must be of kind `genere`, for a
  // row page's delete and "Azzera": they give the renewal its reads.
  std::function<PresaTestata::Esiti(PresaTestata::Rinnovo)> PresaListinoCorrente(
      PresaTestata::Genere genere);
  void CaricaListaFasce();
  void CaricaListaDettFasce();
  void ButtonFasceClick();
  void ButtonListiniClick();
  void ButtonGesNetClick();
  void ButtonGesScoClick();
  void ButtonCliFasClick();
  void ButtonFornFasClick();
  void ButtonClientiClick();
  void ButtonCliCorrClick();
  void AzioneFasce();
  void AzioneListini();
  void AzioneGesNet();
  void AzioneGesSco();
  void AzioneCliFas();
  void AzioneFornFas();
  void AzioneClienti();
  void AzioneClienteCorr();
  void BarraFasce();
  void BarraListini();
  void BarraGesNet();
  void BarraGesSco();
  void BarraCliFas();
  void BarraFornFas();
  void BarraClienti();
  void BarraClienteCorr();
  void VaiAListiniDaFasce();
  void ClientiRicercheButtonRitornaClick();
  void ClientiRicercheButtonChiudiClick();
  void PageControlMainChanging(ui::Component* sender, bool& allowChange);
  void FrameFasce1DBEditIDFasciaChange();
  void FrameFasce1DBEditIDDettFasceChange();
  void FrameFasce1GridFasceDblClick();
  void FrameFasce1GridDettFasceDblClick();
  void ButtonInfoRetailClick();

  // ---- lists page (listini/lisfasedit_listini.cpp)
  void CaricaListaListini(const std::string& fascia);
  void ButtonNuovoClick();
  void ButtonEditClick();
  void ButtonEliminaClick();
  void ButtonAggiornaClick();
  void CheckBoxNessunaDataFinaleClick();
  void FrameListini1ButtonAnnullaFiltroClick();
  void FrameListini1GridListiniDblClick();
  void FrameListini1DBEditIDListChange();
  void FrameListini1QueryListiniBeforeOpen(db::DataSet& dataSet);
  void FrameListini1QueryListiniBeforeClose(db::DataSet& dataSet);
  // Label of a selection column / column of a label, on the TABX values
  // Classificazione1..6 read at each call.
  std::string EtichettaCampoSel(const std::string& colonna);
  std::string CampoSelDaEtichetta(const std::string& etichetta);

  // ---- net-price rows (righe/lisfasedit_righe.cpp)
  void CaricaListaDettNetti();
  // The page loaded again after a write of its own (keep-open commit).
  void RicaricaDettNetti();
  void FrameDettNetti1QueryDettNettiAfterOpen(db::DataSet& dataSet);
  void FrameListiniEdit11ButtonNuovoClick();
  void FrameListiniEdit11ButtonNuovoDataClick();
  void FrameListiniEdit11ButtonEditClick();
  void FrameListiniEdit11ButtonEliminaClick();
  void FrameListiniEdit11ButtonAzzeraClick();
  void FrameListiniEdit11ButtonImpExpClick();
  void FrameListiniEdit11ButtonAggiornaClick();
  void FrameListiniEdit11CheckBoxNessunaDataFinaleClick();

  // ---- discount rows (righe/lisfasedit_sconti.cpp)
  void CaricaListaDettSconti();
  void RicaricaDettSconti();
  void FrameDettScontoEdit11ButtonNuovoClick();
  void FrameDettScontoEdit11ButtonEditClick();
  void FrameDettScontoEdit11ButtonEliminaClick();
  void FrameDettScontoEdit11ButtonAzzeraClick();
  void FrameDettScontoEdit11ButtonImpExpClick();
  void FrameDettScontoEdit11ButtonAggiornaClick();
  void FrameDettScontoEdit11CheckBoxNessunaDataFinaleClick();

  // ---- bands and band rows (fasce/lisfasedit_fasce.cpp)
  void ButtonFascNuovoClick();
  void ButtonFascEditaClick();
  void ButtonFascEliminaClick();
  void ButtonFascAggiornaClick();
  void ButtonDettFascNuovoClick();
  void ButtonDettFascEditaClick();
  void ButtonDettFascEliminaClick();
  void ButtonPiuPrioritaClick();
  void ButtonMenoPrioritaClick();
  void ButtonDettFascAggiornaClick();

  // ---- duplication of a band (fasce/lisfasedit_duplica.cpp)
  void ButtonFascDuplicaClick();

  // ---- customers and suppliers of a band (fasce/lisfasedit_clientifasce.cpp)
  void FrameClientiFasc1ButtonAssClick();
  void FrameClientiFasc1ButtonDissClick();
  void FrameClientiFasc1ButtonFascAggiornaClick();
  void FrameFornFascButtonAssClick();
  void FrameFornFascButtonDissClick();
  void FrameFornFascButtonFascAggiornaClick();
  void AssClienteFascia(const std::string& codice);
  void AssFornitoreFascia(const std::string& codice);

 private:
  // Construction, one part each (editor/lisfasedit_costruzione.cpp).
  void CreaDati();
  void CreaBarraComandi();
  void CreaPagine();
  void CreaPaginaFasce();
  void CreaPaginaListini();
  void CreaPagineRighe();
  void CollegaGestori();
  // Start-up steps that need a few lines of their own, the closing of the
  // data and the window's small readings (editor/lisfasedit.cpp).
  void ImpostaGriglie();
  void AggiornaSchemaFasce();
  void IncorporaRicercaClienti();
  // The data of the window closes (grids save their layouts) and the
  // embedded search goes, while the context's databases are still there.
  void ChiudiDati();
  // Today's date, as the date pickers hold it.
  static double Oggi();
  std::string LeggiTabX(const std::string& nome);
  // The command bar (editor/lisfasedit_pagine.cpp).
  // Enables the command buttons; the order is Fasce, Listini, GesNet,
  // GesSco, CliFas, FornFas, Clienti.
  void AbilitaComandi(bool fasce, bool listini, bool gesNet, bool gesSco, bool cliFas, bool fornFas,
                      bool clienti);
  // Moves PanelSel over a command button (and to its width when asked).
  void MarcaComando(ui::Button* button, bool larghezza);
  // GesNet for a list of type N, GesSco for any other
  // (listini/lisfasedit_listini.cpp).
  void AbilitaGestioneDaTipo();
  // The embedded search is a form of its own: the host may free it first.
  ui::ComponentRef vivoRicerca_;
};

// The launcher of the export: the launch road with this window.
void ApriLisFasEditForm(std::int32_t utente, std::int32_t idApertura);

}  // namespace velmaro
