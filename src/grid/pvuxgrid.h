#pragma once
// The layout editor of a grid ("Personalizzazione Griglia"): the operator's
// stored columns, whose caption, visibility and colour he edits in place.
// The grid binds "Aspetto Base" and "Acq. aspetto da" to its own commands.
#include <memory>
#include <string>

#include "ui/dialogs.h"
#include "ui/form.h"
#include "ui/stdctrls.h"

namespace db {
class Database;
class Transaction;
class Query;
class UpdateSQL;
class DataSource;
class Field;
}  // namespace db

namespace ui {
class DBGrid;
struct Rect;
}  // namespace ui

namespace velmaro {

class TPVuxGridForm : public ui::Form {
 public:
  TPVuxGridForm(ui::Component* owner, db::Database* database, int situazione, int utente,
                int progetto, const std::string& tabella);
  ~TPVuxGridForm() override;
  std::string ClassName() const override { return "TPVuxGridForm"; }

  ui::DBGrid* DBGrid1 = nullptr;
  ui::SpeedButton* SpeedButton1 = nullptr;  // "Cambia Colore"
  ui::Button* ButtonColoreDefault = nullptr;
  ui::Button* ButtonAspettoBase = nullptr;
  ui::Button* ButtonAcqAspetto = nullptr;
  ui::Button* ButtonChiudi = nullptr;
  ui::ColorDialog* ColorDialog1 = nullptr;

  db::Transaction& IBTransaction1() { return *transaction_; }
  db::Query& IBQuery1() { return *query_; }

  // (Re)reads the stored columns of the grid.
  void CaricaGriglia();
  void SpeedButton1Click(ui::Component* sender);
  void ButtonColoreDefaultClick(ui::Component* sender);
  void ButtonChiudiClick(ui::Component* sender);

 private:
  void DBGrid1DrawDataCell(const ui::Rect& rect, db::Field* field);

  int situazione_, utente_, progetto_;
  std::string tabella_;
  std::unique_ptr<db::Transaction> transaction_;
  std::unique_ptr<db::UpdateSQL> update_;
  std::unique_ptr<db::Query> query_;
  std::unique_ptr<db::DataSource> source_;
};

}  // namespace velmaro
