#pragma once
// A small window built into the host, so that operator scripts can be run
// and tested without the module: an edit, a grid of the company's customers,
// a button opening a modal dialog and a button asking a question, and the
// house grid on the company's net-price rows.

#include <string>

#include "ui/form.h"

namespace db {
class Database;
class Transaction;
class Query;
class DataSource;
}  // namespace db

namespace ui {
class Edit;
class Button;
class DBGrid;
class Label;
}  // namespace ui

namespace velmaro {
class TVuxGrid;
}

namespace host {

class TDemoForm : public ui::Form {
 public:
  // companyDb: path of the company database; operatorName for the caption;
  // operatorNumber keys the net-price grid's layout.
  TDemoForm(const std::string& companyDb, const std::string& operatorName, int operatorNumber = 0);
  std::string ClassName() const override { return "TDemoForm"; }

  ui::Edit* EditNome = nullptr;
  ui::DBGrid* GridClienti = nullptr;
  velmaro::TVuxGrid* GridNetti = nullptr;
  ui::Button* ButtonDialogo = nullptr;
  ui::Button* ButtonDomanda = nullptr;
  ui::Button* ButtonChiudi = nullptr;
  ui::Edit* EditRichiesta = nullptr;  // a record-search request for Kestrin.dll
  ui::Button* ButtonKestrin = nullptr;
  ui::Edit* EditRisposta = nullptr;  // its answer

 private:
  void ButtonDialogoClick();
  void ButtonDomandaClick();
  void PreparaGrigliaNetti(int operatorNumber);
  void PreparaRicercaKestrin(int operatorNumber);
  void ButtonKestrinClick(int operatorNumber);

  db::Database* database_ = nullptr;
  db::Transaction* transaction_ = nullptr;
  db::Query* query_ = nullptr;
  db::DataSource* source_ = nullptr;
  db::Query* netti_ = nullptr;
  db::DataSource* sourceNetti_ = nullptr;
};

// The modal dialog of the demo window: one value, OK and Annulla.
class TDemoDialogForm : public ui::Form {
 public:
  explicit TDemoDialogForm(ui::Component* owner);
  std::string ClassName() const override { return "TDemoDialogForm"; }
  ui::Label* LabelValore = nullptr;
  ui::Edit* EditValore = nullptr;
  ui::Button* ButtonOk = nullptr;
  ui::Button* ButtonAnnulla = nullptr;
};

}  // namespace host
