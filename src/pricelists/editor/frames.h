#pragma once
// The frames of the price-list editor: reusable panels, each owning its
// controls, queries and data sources, so that driver paths read
// "TLisFasEditForm.FrameListini1.GridListini".
//
// The frames create their parts; the editor binds the queries to its
// databases, sets the grids' keys and wires the buttons to its handlers.
// A frame's grid handlers (search flag, initial SQL, layout) are its own,
// except the list frame's query handlers, which are the editor's.
#include <string>

#include "ui/frame.h"

namespace db {
class DataSet;
class DataSource;
class Query;
}  // namespace db

namespace ui {
class Button;
class CheckBox;
class DateTimePicker;
class DBEdit;
class DBGrid;
class Label;
}  // namespace ui

namespace velmaro {

class TVuxGrid;

// The hooks every frame grid of the editor shares: the grid's Tag is 1
// while one of its searches runs; around the program's own reloads the
// query's SQL becomes the grid's initial SQL and the layout is loaded and
// saved.
void GrigliaInizioRicerca(TVuxGrid& griglia);
void GrigliaFineRicerca(TVuxGrid& griglia);
void GrigliaPrimaApertura(TVuxGrid& griglia, db::Query& query);
void GrigliaPrimaChiusura(TVuxGrid& griglia, db::Query& query);
// F5, F6, F8 and F9 run the grid's popup items 0, 1, 3 and 4 (search on the
// current column, cancel the search, the query tool, halve the column)
// while the grid has the focus; other keys do nothing.
void TastoFunzioneGriglia(TVuxGrid& griglia, unsigned short key);
// The field of the current row as text; "" when the query is closed or empty.
std::string ValoreCampo(db::Query& query, const char* campo);
// Takes the open and close handlers off a query whose handlers call into
// an object that is going: the query closes itself when freed, later.
void StaccaGestori(db::Query& query);

// The bands (FASCESC) and the rows of the current band (FASCESCDT).
class TFrameFasce : public ui::Frame {
 public:
  explicit TFrameFasce(ui::Component* owner);
  std::string ClassName() const override { return "TFrameFasce"; }
  void BeforeDestruction() override;

  db::Query* QueryFasce = nullptr;
  db::Query* QueryFasceDett = nullptr;
  db::DataSource* DataSourceFasce = nullptr;
  db::DataSource* DataSourceFasceDett = nullptr;
  ui::Label* LabelFasce = nullptr;
  ui::Label* LabelDettFasce = nullptr;
  TVuxGrid* GridFasce = nullptr;
  TVuxGrid* GridDettFasce = nullptr;
  ui::DBEdit* DBEditIDFascia = nullptr;     // ID of the current band, hidden
  ui::DBEdit* DBEditIDDettFasce = nullptr;  // NRIGA of the current band row, hidden

  void GridFasceInizioRicerca(ui::Component* sender);
  void GridFasceFineRicerca(ui::Component* sender);
  void GridDettFasceInizioRicerca(ui::Component* sender);
  void GridDettFasceFineRicerca(ui::Component* sender);
  void QueryFasceBeforeOpen(db::DataSet& dataSet);
  void QueryFasceBeforeClose(db::DataSet& dataSet);
  void QueryFasceDettBeforeOpen(db::DataSet& dataSet);
  void QueryFasceDettBeforeClose(db::DataSet& dataSet);
};

// The price lists (LISTSC). Its query's open and close handlers are the
// editor's (FrameListini1QueryListiniBeforeOpen/BeforeClose).
class TFrameListini : public ui::Frame {
 public:
  explicit TFrameListini(ui::Component* owner);
  std::string ClassName() const override { return "TFrameListini"; }
  void BeforeDestruction() override;

  db::Query* QueryListini = nullptr;
  db::DataSource* DataSourceListini = nullptr;
  ui::Label* LabelListCorr = nullptr;
  ui::DBEdit* DBEditIDList = nullptr;  // TIPO of the current list, hidden
  ui::Button* ButtonAnnullaFiltro = nullptr;
  TVuxGrid* GridListini = nullptr;

  void GridListiniInizioRicerca(ui::Component* sender);
  void GridListiniFineRicerca(ui::Component* sender);
};

// The net-price rows of the current list (LISTSCDTNET).
class TFrameDettNetti : public ui::Frame {
 public:
  explicit TFrameDettNetti(ui::Component* owner);
  std::string ClassName() const override { return "TFrameDettNetti"; }
  void BeforeDestruction() override;

  db::Query* QueryDettNetti = nullptr;
  db::DataSource* DataSourceDettNetti = nullptr;
  ui::Label* LabelNetti = nullptr;
  TVuxGrid* GridListNetti = nullptr;

  void GridListNettiInizioRicerca(ui::Component* sender);
  void GridListNettiFineRicerca(ui::Component* sender);
  void QueryDettNettiBeforeOpen(db::DataSet& dataSet);
  void QueryDettNettiBeforeClose(db::DataSet& dataSet);
};

// The discount rows of the current list (LISTSCDTSCO).
class TFrameDettSconti : public ui::Frame {
 public:
  explicit TFrameDettSconti(ui::Component* owner);
  std::string ClassName() const override { return "TFrameDettSconti"; }
  void BeforeDestruction() override;

  db::Query* QueryDettSconti = nullptr;
  db::DataSource* DataSourceDettSconti = nullptr;
  ui::Label* LabelSconti = nullptr;
  TVuxGrid* GridListSconti = nullptr;

  void GridListScontiInizioRicerca(ui::Component* sender);
  void GridListScontiFineRicerca(ui::Component* sender);
  void QueryDettScontiBeforeOpen(db::DataSet& dataSet);
  void QueryDettScontiBeforeClose(db::DataSet& dataSet);
};

// The customers (or suppliers) of the selected band, on a plain data grid.
class TFrameClientiFasc : public ui::Frame {
 public:
  explicit TFrameClientiFasc(ui::Component* owner);
  std::string ClassName() const override { return "TFrameClientiFasc"; }

  db::Query* QueryClientiFasc = nullptr;
  db::DataSource* DataSourceClientiFasc = nullptr;
  ui::Label* LabelCliFasc = nullptr;
  ui::DBGrid* DBGrid1 = nullptr;
  ui::Button* ButtonAss = nullptr;
  ui::Button* ButtonDiss = nullptr;
  ui::Button* ButtonFascAggiorna = nullptr;
};

// What the command bars of both row pages hold: the row commands and the
// bar's default dates, the end date disabled while "Nessuna data fine" is
// ticked (as it is at start).
class TFrameComandiRighe : public ui::Frame {
 public:
  ui::Button* ButtonNuovo = nullptr;
  ui::Button* ButtonEdit = nullptr;
  ui::Button* ButtonElimina = nullptr;
  ui::Button* ButtonAzzera = nullptr;
  ui::Button* ButtonImpExp = nullptr;
  ui::Button* ButtonAggiorna = nullptr;
  ui::Label* LabelDataInizioDef = nullptr;
  ui::DateTimePicker* DataInizioDef = nullptr;
  ui::Label* LabelDataFineDef = nullptr;
  ui::DateTimePicker* DataFineDef = nullptr;
  ui::CheckBox* CheckBoxNessunaDataFinale = nullptr;

 protected:
  // `spazio`: room left after "&Nuovo" for a command of the subclass.
  TFrameComandiRighe(ui::Component* owner, int spazio);
};

// The command bar of the net-price rows.
class TFrameListiniEdit1 : public TFrameComandiRighe {
 public:
  explicit TFrameListiniEdit1(ui::Component* owner);
  std::string ClassName() const override { return "TFrameListiniEdit1"; }

  ui::Button* ButtonNuovoData = nullptr;
  ui::Label* LabelNota = nullptr;
};

// The command bar of the discount rows.
class TFrameDettScontoEdit1 : public TFrameComandiRighe {
 public:
  explicit TFrameDettScontoEdit1(ui::Component* owner);
  std::string ClassName() const override { return "TFrameDettScontoEdit1"; }
};

}  // namespace velmaro
