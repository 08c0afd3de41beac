#pragma once
// The import of price exceptions into lists and bands: a conversion run by
// hand in steps, from the exceptions database named by the stored value
// "ImpDirEccDB" into the company database of the operator.
#include <cstdint>
#include <initializer_list>
#include <string>
#include <vector>

#include "context/launch.h"

namespace db {
class Database;
class Query;
class Transaction;
}  // namespace db

namespace ui {
class Button;
class CheckBox;
class Edit;
class Memo;
}  // namespace ui

namespace velmaro {

class TImportEccForm : public FinestraDaExport {
 public:
  // Opens the exceptions database: when it cannot, the creation fails with
  // the database's error and no window is left.
  TImportEccForm(ui::Component* owner, CellaDataModule* cellaDM);
  std::string ClassName() const override { return "TImportEccForm"; }

  // Connections first, then the queries on them, then the controls.
  db::Database* DatabaseImport = nullptr;
  db::Transaction* TransactionImport = nullptr;
  db::Query* QueryImport = nullptr;
  db::Query* QueryAux1 = nullptr;
  db::Query* QueryAux2 = nullptr;

  ui::Edit* EditIDlistIniz = nullptr;
  ui::Edit* EditDataInizioDef = nullptr;
  ui::Edit* EditIDFasciaIniz = nullptr;
  ui::CheckBox* CheckBoxMigliorPrezzo = nullptr;
  ui::Button* Button1 = nullptr;
  ui::Button* Button4 = nullptr;
  ui::Button* Button5 = nullptr;
  ui::Button* Button2 = nullptr;
  ui::Button* Button3 = nullptr;
  ui::Memo* Memo1 = nullptr;
  ui::Button* ButtonChiudi = nullptr;

  void Inizializzazione();
  void Button1Click();  // "Importa listini"
  void Button4Click();  // "Crea fasce"
  void Button5Click();  // "Aggiorna TIPIPR"
  void Button2Click();  // "Svuota listini"
  void Button3Click();  // "Svuota fasce"
  void ButtonChiudiClick();
  void FormClose(ui::Component* sender, ui::CloseAction& action) override;

 private:
  void CreaControlli();
  // Both transactions' work made permanent; a commit that fails rolls
  // back, so nothing of the step waits for a later commit.
  void Conferma();
  // The start of every step: what the window has pending (the price types
  // of "Aggiorna TIPIPR") is committed and the views renewed, so the step
  // acts on what is committed when it is pressed.
  void VistaRinnovata();
  // "Svuota listini" and "Svuota fasce": the statements deleted together
  // or not at all; `inUso` tells rows a running transaction holds.
  void Svuota(std::initializer_list<const char*> statementi, const std::string& inUso);
  // Sends one statement (its lines) to the company database, remembering
  // its text for the log of a failure.
  void Esegui(std::initializer_list<std::string> righe);
  void Log(const std::string& riga);

  struct Classe;
  void ImportaRiga(Classe& classe, const std::string& data);
  void CollegaListini(std::int64_t fascia, int& riga, const std::string& classe);
  // The end of step 2: the lists lose the class codes that linked them to
  // step 1 (`classi`, met among the customers, and the exceptions' classes).
  void ScollegaListini(std::vector<std::string> classi);

  std::string ultimoComando_;
};

// The launcher of the export: the launch road with this window.
void ApriImportEccForm(std::int32_t utente, std::int32_t idApertura);

}  // namespace velmaro
