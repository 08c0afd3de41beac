#pragma once
// The list picker of the header dialog: every price list in a house grid;
// "Ritorna" hands back the current list's ID.
#include <string>

#include "context/launch.h"
#include "ui/form.h"

namespace db {
class DataSet;
class DataSource;
class Query;
}  // namespace db

namespace ui {
class Button;
class Label;
}  // namespace ui

namespace velmaro {

class TVuxGrid;

// The ID the picker returned last, as text; read after a modal result OK.
extern std::string ListinoRitornato;

class TLisRicercaForm : public ui::Form {
 public:
  TLisRicercaForm(ui::Component* owner, CellaDataModule* cellaDM);
  std::string ClassName() const override { return "TLisRicercaForm"; }
  void BeforeDestruction() override;

  db::Query* QueryListini = nullptr;
  db::DataSource* DataSourceListini = nullptr;
  ui::Label* LabelTitolo = nullptr;
  TVuxGrid* GridListini = nullptr;
  ui::Button* ButtonChiudi = nullptr;
  ui::Button* ButtonRitorna = nullptr;

  void ButtonRitornaClick();
  void FormClose(ui::CloseAction& action);
  void GridListiniKeyUp(ui::Word& key);
  void GridListiniInizioRicerca();
  void GridListiniFineRicerca();
  void QueryListiniBeforeOpen();
  void QueryListiniBeforeClose();
};

}  // namespace velmaro
