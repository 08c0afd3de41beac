#pragma once
// The layout editor of a grid ("Personalizzazione Griglia"): the operator's
// stored columns, whose caption, visibility and colour he edits in place.
// The grid binds "Aspetto Base" and "Acq. aspetto da" to its own commands.
#include <memory>
#include <string>
#include <vector>

#include "db/value.h"
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

  // (Re)reads the stored columns of the grid; edits posted before are
  // forgotten, as the transaction they ran in has been ended.
  void CaricaGriglia();
  // Stores the edits: posts a pending one and commits. When they meet a save
  // of the same rows committed after this editor's view began (the operator
  // working in another process), they are made once more on a renewed view,
  // so the later save wins. A save that still fails shows the database's
  // message when `avvisa` and gives false; every edit stays in the editor,
  // posted or pending, so that the operator can correct it and save again.
  bool Salva(bool avvisa);
  // After a failed layout replacement: the editor's transaction is rolled
  // back and its query shows the stored rows again. Never throws;
  // when the rows cannot be read the query stays closed.
  void Ripristina();
  void SpeedButton1Click(ui::Component* sender);
  void ButtonColoreDefaultClick(ui::Component* sender);
  void ButtonChiudiClick(ui::Component* sender);

 private:
  // What the operator changed in one stored row.
  struct Modifica {
    std::string nomeCampo;
    db::Value colonna, colore, visibile;
  };

  void DBGrid1DrawDataCell(const ui::Rect& rect, db::Field* field);
  void AnnotaModifica(std::vector<Modifica>& modifiche) const;
  // Puts the current row in edit with the values of `m`.
  void Applica(const Modifica& m);
  void Registra();
  void RegistraDiNuovo(std::vector<Modifica> modifiche);
  void RegistraAccettate();
  void RinnovaVista();

  int situazione_, utente_, progetto_;
  std::string tabella_;
  // Edits posted in the running transaction, one per row.
  std::vector<Modifica> modifiche_;
  bool salvataggioFallito_ = false;
  std::unique_ptr<db::Transaction> transaction_;
  std::unique_ptr<db::UpdateSQL> update_;
  std::unique_ptr<db::Query> query_;
  std::unique_ptr<db::DataSource> source_;
};

}  // namespace velmaro
