// TVuxGrid: the house data grid on the main list of every window.
//
// A data-aware grid with a popup menu of commands (search, cancel search,
// query window, halve a column, layout editor, print), sorting by a double
// click on a title (single key, or several keys with Ctrl), a per-operator
// column layout kept in the database and searches on one or all columns.
//
// The grid is bound to one data set through SetSorgenteDati and hooks its
// BeforeOpen and AfterOpen, running the window's own handlers first. Three
// kinds of data set are known: a query (0), a table (1) and the in-memory
// table (2). The window still binds the grid to a data source of that data
// set (SetDataSource), as with any data-aware grid.
//
// Life cycle: create the grid, give it its popup menu when the window has
// one, then call Loaded() once (it builds the menu); then the window's set-up
// (codes, operator, NomeTabella, SetSorgenteDati, ...) and the first open.
//
// Where the code lives: this file and vuxgrid*.cpp hold the grid, its menu,
// its sort and the query window call; the layout (vuxgrid_layout.cpp), the
// searches (vuxgrid_search.cpp) and the print dialog have files of their own.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "db/dataset.h"
#include "db/stringlist.h"
#include "ui/dbgrid.h"

namespace db {
class Database;
class Query;
class Table;
}  // namespace db

namespace ui {
class MenuItem;
class PopupMenu;
class Timer;
}  // namespace ui

namespace velmaro {

class TRVuxGridForm;  // the F5 search dialog
class TPVuxGridForm;  // the layout editor

// Kinds of bound data set (TipoTabella).
constexpr int kTipoQuery = 0, kTipoTabella = 1, kTipoMemoria = 2;

// Default colours of the titles (0x00BBGGRR).
constexpr ui::Color kColoreCampiIndicizzati = 0x00FFFF;  // indexed columns
constexpr ui::Color kColoreCampoOrdinato = 0x0000FF;     // sort column, first key
constexpr ui::Color kColoreSecondaChiave = 0xB4B4F3;     // second key
constexpr ui::Color kColoreAltreChiavi = 0x77A4FF;       // later keys
constexpr ui::Color kColoreRecordSelezionato = 0x80000001;

// One sort key.
struct ChiaveOrdinamento {
  std::string NomeCampo;  // upper-case field name; empty: no key
  std::string Origine;    // the SQL expression written in ORDER BY
  int Colonna = -1;       // column index
  int Direzione = 1;      // 1 ascending, 2 descending
};

// What the F5 dialog leaves for the record filter of tables and in-memory sets.
struct OpzioniFiltroRicerca {
  std::string Testo;
  bool Upper = true;
  int TipoRicerca = 0;  // 0 ">=", 1 "LIKE %%", 2 "LIKE %"
};

// One stored column of the layout, as loading applies it; the save also
// writes its sort mark and its field's origin.
struct RigaAspettoGriglia {
  std::string NomeCampo;
  int Posizione = 0;
  int Larghezza = 0;
  std::string NomeColonna;
  std::int32_t Colore = 0;
  bool Visibile = true;
  int Ordinamento = 0;  // 0: no sort key (NULL)
  std::string Origine{};
  bool operator==(const RigaAspettoGriglia&) const = default;
};

class TVuxGrid : public ui::DBGrid {
 public:
  explicit TVuxGrid(ui::Component* owner = nullptr);
  ~TVuxGrid() override;
  std::string ClassName() const override { return "TVuxGrid"; }

  // Builds the popup menu (after the window gave its own, if any), resets
  // the sort state and makes the grid read-only. Call once.
  void Loaded();

  // ---------------------------------------------------------------------
  // Published properties, in their order.
  db::StringList SQLIniziale;         // the bound query's base SQL
  bool TabellaPiccola = false;        // searches and sorts on any column
  std::string TabellaAspettoGriglia;  // layout table ("STOASP1")
  db::Database* DatabaseImpostazioni = nullptr;
  // Situation code; reads positive even while the layout scratch copy runs
  // under the negated code (CodiceSituazione holds the code in use).
  int Situazione() const { return CodiceSituazione < 0 ? -CodiceSituazione : CodiceSituazione; }
  void SetSituazione(int codice) { CodiceSituazione = codice; }
  int Utente = 0;                // operator number
  int TipoTabella = kTipoQuery;  // set by SetSorgenteDati
  int CodiceProgetto = 0;
  std::string TabellaPosizioneFinestre;  // positions table ("STOPOS1")
  std::string TabellaAspettoGriglie;     // settings table ("SETGRID")
  ui::Color ColoreRecordSelezionato() const { return coloreRecordSelezionato_; }
  std::string CampiIndicizzati;  // indexed field names, ";"-separated
  db::DataSet* SorgenteDati() const { return sorgente_; }
  void SetSorgenteDati(db::DataSet* dataSet);
  bool OrderBy = true;                   // the grid writes its ORDER BY
  ui::NotifyEvent OnInizioRicerca;       // a search, cancel or all-fields search starts
  ui::NotifyEvent OnFineRicerca;         // ... and ends
  db::Table* TabellaAppoggio = nullptr;  // support table of an in-memory set for the query window
  db::StringList CampiPersonalizzati;    // upper-case field names ...
  db::StringList CampiPersonalizzatiDecodifica;  // ... and their SQL expressions, line by line

  // ---------------------------------------------------------------------
  // Public fields the windows write.
  std::string NomeTabella;  // the database table behind the grid
  std::string BinDir;       // framework parameter "BinDir"
  std::string Ditta;        // current company (the query window's INI section)
  bool RicercaCampoAbilitata = true;
  bool AspettoSostituito = false;  // true while a reset or copy replaces the layout

  // ---------------------------------------------------------------------
  // State shared by the grid's command files (menu, sort, layout, search).
  int CodiceSituazione = 0;  // the code used in statements; negative for the scratch copy
  ui::Color ColoreCampiIndicizzati = kColoreCampiIndicizzati;
  ui::Color ColoreCampoOrdinato = kColoreCampoOrdinato;
  bool TimerRicercaAbilitato = true;
  bool RicercaF5Sempre = false;
  bool DisabilitaMemPosGriglie = false;
  // Sort: mode 0 not yet read, 1 single key (Ordinamento), 2 several keys.
  int ModoOrdinamento = 0;
  ChiaveOrdinamento Ordinamento;
  std::vector<ChiaveOrdinamento> ChiaviOrdinamento;  // at most kMaxChiavi
  static constexpr int kMaxChiavi = 65536;
  std::int16_t NumeroChiavi() const { return std::int16_t(ChiaviOrdinamento.size()); }
  // Search.
  std::string CampoRicerca;              // upper-case field of the F5 search; empty outside it
  std::string EspressioneRicerca;        // its SQL expression
  std::string ConnettivoRicerca;         // "WHERE" or "AND"
  TRVuxGridForm* FormRicerca = nullptr;  // the F5 dialog while it is open
  std::string CondizioneRicerca;         // the condition line of the active search; empty: none
  OpzioniFiltroRicerca OpzioniFiltro;
  ui::Timer* TimerRicerca = nullptr;  // 1000 ms, disabled; its tick runs ComponiSqlRicerca
  // The layout rows read at the first reopen inside the F5 dialog: its
  // later reopens reuse them (the modal dialog lets nobody else write them).
  std::vector<RigaAspettoGriglia> AspettoInRicerca;
  bool AspettoInRicercaLetto = false;
  TPVuxGridForm* FormPersonalizza = nullptr;  // the layout editor while it is open
  bool OrdinaConDoppioClic = true;
  bool OrdinePerChiavePrimaria = true;
  std::string FileIniQuery, DirLavoroQuery;  // handed to the query window; stay empty
  ui::PopupMenu* MenuGriglia = nullptr;      // the grid's own popup menu
  // The seven items, in menu order: F5, F6, F7 (hidden), F8, F9, layout, print.
  std::vector<ui::MenuItem*> VociGriglia;

  // ---------------------------------------------------------------------
  // Commands and services of the grid.
  db::Database* DatabaseGriglia() const;
  std::string TabellaDaSQL() const;
  void PreparaMenuGriglia(ui::Component* sender);
  void ApriQuery();                // F8
  void DimezzaLarghezzaColonna();  // F9
  // Print: refuses tables and in-memory sets, saves the layout, then opens
  // the print dialog (ApriStampaGriglia).
  void StampaGriglia();
  void ScambiaModoOrdinamento();
  // The bound data set's hooks.
  void CaricaOrdinamento(db::DataSet& dataSet);  // BeforeOpen
  void DopoApertura(db::DataSet& dataSet);       // AfterOpen
  // The SQL expression of a field: its CampiPersonalizzatiDecodifica line
  // when listed in CampiPersonalizzati, else `origine`, else the field name.
  std::string EspressioneCampo(const std::string& nomeCampo, const std::string& origine) const;
  // The "ORDER BY" lines of the grid's stored sort, for the keys whose
  // expression is the Origin of a field of SQLIniziale (or a listed
  // personalised field); empty when no key qualifies.
  std::vector<std::string> RigheOrdinamento();
  // Closes the bound query, sets its SQL to SQLIniziale plus `condizione`
  // (when not empty) and opens it; the hooks run as on any open.
  void RiapriQuery(const std::string& condizione);
  // Colours every title: default, indexed columns, sort columns.
  void ColoraTitoli();
  // Selects the column of a field (upper-case name); nothing when absent.
  void SelezionaColonnaCampo(const std::string& nomeCampo);

  // ---- layout (vuxgrid_layout.cpp)
  // Stores the layout shown when it differs from the stored one. It never
  // waits for rows another transaction holds (the same operator's layout
  // editor in another process): a save that fails shows the database's
  // message through the standard error display and the caller goes on; the
  // same layout failing again is not told again. Until a save goes
  // through, the grid's reopens show that layout and its sort, not the
  // stored rows.
  void SalvaAspettoGriglia();
  // Whether the layout shown could not be stored at the last save.
  bool AspettoNonSalvato() const { return nonSalvato_.has_value(); }
  void CaricaAspettoGriglia();
  void PersonalizzaGriglia();
  void AzzeraAspettoGriglia();
  void AcquisisciAspettoDaUtente();
  void CaricaPosizioneFinestra(TRVuxGridForm& dialogo);
  void SalvaPosizioneFinestra(TRVuxGridForm& dialogo);
  // End of each AfterOpen: the scratch copy under the negated code when
  // DisabilitaMemPosGriglie holds.
  void CopiaTemporaneaAspetto();

  // ---- search (vuxgrid_search.cpp)
  void RicercaCampoCorrente();  // F5
  void AnnullaRicerca();        // F6
  // False when the text was refused (the dialog then stays open).
  bool ComponiSqlRicerca();
  void TestoRicercaCambiato(ui::Component* sender);
  void TastoRicerca(ui::Component* sender, char& key);
  void AggiornaRicerca(ui::Component* sender);
  void RicercaTuttiICampi(ui::Component* sender);
  void GenericaClick(ui::Component* sender);
  void FiltraRecord(db::DataSet& dataSet, bool& accept);
  // The connective of the next condition: "WHERE" the first time on an
  // SQLIniziale without WHERE, "AND" after.
  std::string ProssimoConnettivo();

  // ---- print (print files)
  // The print dialog on a query: creates the print component with the
  // grid's codes, title, SQL, BinDir and database, and shows it.
  void ApriStampaGriglia();

  // ---------------------------------------------------------------------
  // Toolkit overrides.
  void MouseDown(int x, int y, ui::ShiftState shift) override;
  void DblClick() override;
  void KeyDown(ui::Word& key, ui::ShiftState shift) override;
  void KeyUp(ui::Word& key, ui::ShiftState shift) override;

 protected:
  void Notification(ui::Component* gone) override;

 private:
  void CostruisciMenu();
  void EseguiVoce(ui::MenuItem* voce, void (TVuxGrid::*comando)());
  void LeggiImpostazioni();
  void LeggiModoOrdinamento();
  // On a big table only an indexed field may be searched or sorted on; any
  // other is refused with the operator warned.
  bool CampoConsentito(const std::string& campo) const;
  void LeggiChiavi();
  void ScriviOrderBy(db::Query& query);
  std::vector<std::string> OrigineCampiSQLIniziale();
  bool ChiaveUtilizzabile(const ChiaveOrdinamento& k,
                          const std::vector<std::string>& origini) const;
  void OrdinaSuColonna(int colonna, bool ctrl);
  void ApplicaOrdinamento(int colonna);
  void TogliRigheRipetute(db::Query& query);
  void ApriQueryTipoMemoria();
  // The layout rows the grid shows, as a save writes them.
  std::vector<RigaAspettoGriglia> AspettoMostrato() const;
  // One try of the save in a no-wait transaction of its own.
  void ScriviAspetto(db::Database& database, const std::vector<RigaAspettoGriglia>& righe);

  db::DataSet* sorgente_ = nullptr;
  db::DataSet::Event primaApertura_, dopoApertura_;  // the window's own handlers
  ui::NotifyEvent popupFinestra_;                    // the window's OnPopup
  ui::Color coloreRecordSelezionato_ = kColoreRecordSelezionato;
  // Lines the grid itself appended to the query's SQL at the last open
  // (search condition, ORDER BY): a window that copies the query's SQL
  // into SQLIniziale gets them back off.
  std::vector<std::string> righeAggiunte_;
  std::vector<std::string> baseNota_;  // SQLIniziale as it stood at the last open
  // Origins of the fields of SQLIniziale, for the text they were read from.
  std::string testoOrigini_;
  std::vector<std::string> origini_;
  // A command run by its shortcut at key-down is not run again when the
  // window clicks the same item from its key-up handler for that press.
  ui::Word tastoEseguito_ = 0;    // key of the command run outside a key-up
  ui::Word tastoInRilascio_ = 0;  // key being released, during KeyUp
  // The layout of the last save that failed, under its situation code;
  // cleared by a save that goes through and by a replaced layout.
  struct LayoutNonSalvato {
    int situazione = 0;
    std::vector<RigaAspettoGriglia> righe;
    bool operator==(const LayoutNonSalvato&) const = default;
  };
  std::optional<LayoutNonSalvato> nonSalvato_;
};

}  // namespace velmaro
