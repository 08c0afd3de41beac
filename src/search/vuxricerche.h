#pragma once
// TVuxRicercheForm: a search window over one table, built at run time from
// a record-search request. One row of controls per search field, the house
// grid listing the matching rows, the picture of the current row, and
// buttons to run, clear and return the search.
//
// Embedded (IncorporaRicerca): the price-list editor places it on a page as
// its customer search; the form frees its own data module when it goes,
// never the editor's context object. Standalone (ApriRicercaDaXML): modal,
// on a context object and connection of its own, freed on return.
#include <cstdint>
#include <string>
#include <vector>

#include "context/launch.h"
#include "search/dmkestrin.h"
#include "search/richiesta.h"
#include "ui/form.h"

namespace db {
class Database;
class DataSource;
class Query;
class Transaction;
}  // namespace db

namespace ui {
class Button;
class Image;
class OpenDialog;
}  // namespace ui

namespace velmaro {

class TVuxGrid;
class TVuxRicercheForm;
using CellaRicerca = Cella<TVuxRicercheForm>;

class TVuxRicercheForm : public ui::Form {
 public:
  // A new data module (owner the application) on the context's holder.
  TVuxRicercheForm(ui::Component* owner, CellaTabX* cellaContesto);
  // On an existing data module; the context is the module's.
  static TVuxRicercheForm* CreaConModulo(ui::Component* owner, CellaDMKestrin* cellaModulo);
  // Freed without its destroy handler (a plain delete): still releases.
  ~TVuxRicercheForm() override;
  std::string ClassName() const override { return "TVuxRicercheForm"; }

  // Components, owned by the form (ui::Make) and made in dependency order:
  // transaction, queries, data source, then the controls.
  db::Transaction* Transazione2 = nullptr;
  db::Query* QueryMain = nullptr;
  db::Query* QueryAux1 = nullptr;
  db::Query* QueryAux2 = nullptr;
  db::Query* QueryDecodifica = nullptr;
  db::DataSource* DataSource = nullptr;
  TVuxGrid* GridMain = nullptr;
  ui::Button* ButtonChiudi = nullptr;
  ui::Button* ButtonRefresh = nullptr;
  ui::Button* ButtonAttivaSel = nullptr;
  ui::Button* ButtonAnnSel = nullptr;
  ui::Button* ButtonRitorna = nullptr;
  ui::Image* ImagePreview = nullptr;
  ui::OpenDialog* OpenFileDialog = nullptr;

  // State.
  std::string NomeTabella, CodiceProgettoForm, SituazioneForm;
  RichiestaRicerca Richiesta;  // the parsed request; every later reading goes through it
  CellaDMKestrin* RifModuloDati = nullptr;
  CellaTabX* RifContesto = nullptr;
  bool LiberaInChiusura = false;
  CellaRicerca* RifForm = nullptr;
  std::string TestoXML;
  std::u16string Risposta;

  TTabXForm& Contesto() const { return RifContesto->Riferimento(); }
  TDataModuleKestrin& ModuloDati() const { return RifModuloDati->Riferimento(); }

  void Inizializzazione();
  // Builds the form from TestoXML. Errors of the request and of the
  // database reach the caller.
  void InizializzazioneVux();
  void CheckVuxTables();
  std::vector<std::string> GetCampiChiavePrimaria();

  // Handlers.
  void ButtonRefreshClick();
  void ButtonAttivaSelClick();
  void ButtonAnnSelClick();
  void ButtonChiudiClick();
  void ButtonRitornaDLLClick();
  void ButtonRitornaFrameClick();
  void IButtonClick(ui::Component* sender);
  void IButtonCClick(ui::Component* sender);
  void IButtonRicClick(ui::Component* sender);
  void IEditFDecod(ui::Component* sender);
  void IEditRDecod(ui::Component* sender);
  void FEditKeyPress(char& key);
  void GridMainKeyUp(ui::Word& key);
  void QueryMainBeforeOpen();
  void QueryMainBeforeClose();
  void QueryMainAfterScroll();
  void FormClose(ui::CloseAction& action);
  void FormDestroy();

  // The whole list statement, as QueryMainBeforeOpen writes it.
  std::vector<std::string> ComponiSQL();
  // The condition line of a typed value for a column of that catalogue type.
  static std::string PrepareFilterString(const std::string& testo, const std::string& tipo,
                                         const std::string& colonna);

 private:
  TVuxRicercheForm(ui::Component* owner, CellaTabX* cellaContesto, CellaDMKestrin* cellaModulo);
  void CreaComponenti();
  // Returns the y below the last row.
  int CreaControlliCampi();
  int CreaRigaCampo(const CampoRicerca& campo, int y);
  void Decodifica(const std::string& nomeCampo, const std::string& testo,
                  const std::string& nomeBox);
  std::string TipoCampo(const std::string& colonna);
  void ChiudiTransazioneLista();
  // Frees what the form holds for itself: its data module always, the
  // context object only when it is the form's own.
  void RilasciaOggetti();

  db::Database* database_ = nullptr;        // the chosen connection
  db::Transaction* transazione_ = nullptr;  // and its transaction
  bool moduloProprio_ = false;              // the data module was made by this form
  bool contestoProprio_ = false;            // the context object is this form's own
  bool rilasciato_ = false;
  ui::ComponentRef vivoModulo_, vivoContesto_;

  friend TVuxRicercheForm* IncorporaRicerca(std::int32_t, std::int32_t, CellaTabX*,
                                            const std::string&, ui::Component*);
  friend std::u16string ApriRicercaDaXML(std::int32_t, std::int32_t, const std::string&);
};

// The embedded search: the caller parents, aligns and shows the form, binds
// "&Ritorna" and "&Chiudi" to handlers of its own and frees it (through its
// owner) before it frees the context object.
TVuxRicercheForm* IncorporaRicerca(std::int32_t utente, std::int32_t idApertura,
                                   CellaTabX* cellaContesto, const std::string& richiesta,
                                   ui::Component* owner);

// The standalone search, modal: the answer ("" when the operator closes
// without choosing). Nothing stays open when it returns or throws.
std::u16string ApriRicercaDaXML(std::int32_t utente, std::int32_t idApertura,
                                const std::string& richiesta);

}  // namespace velmaro
