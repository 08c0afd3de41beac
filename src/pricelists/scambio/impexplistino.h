#pragma once
// What the two list-exchange windows share: the file boxes with their
// dialogs, the log, the progress bar, the export loop and the window's
// query on the context's company database and transaction.
#include <functional>
#include <string>
#include <vector>

#include "context/launch.h"
#include "ui/form.h"

namespace db {
class Query;
class Transaction;
}  // namespace db

namespace ui {
class Button;
class Edit;
class Label;
class Memo;
class ProgressBar;
class OpenDialog;
class SaveDialog;
}  // namespace ui

namespace velmaro {

class LettoreRighe;
class PresaTestata;

class TImpExpListinoForm : public ui::Form {
 public:
  // idListino: the LISTSC.ID of the list; cellaDM: the data module's holder
  // of the window that opens this one; nomeFile: the proposed file name,
  // in the folder of the company database.
  TImpExpListinoForm(ui::Component* owner, const std::string& idListino, CellaDataModule* cellaDM,
                     const std::string& nomeFile);

  CellaDataModule* CellaDM = nullptr;
  std::string IDListino;

  db::Query* QueryAux1 = nullptr;

  ui::Button* ButtonDirExp = nullptr;
  ui::Edit* EditDirExp = nullptr;
  ui::Button* ButtonExp = nullptr;
  ui::Button* ButtonDirImp = nullptr;
  ui::Edit* EditDirImp = nullptr;
  ui::Button* ButtonImp = nullptr;
  ui::Label* LabelLog = nullptr;
  ui::Memo* MemoLog = nullptr;
  ui::ProgressBar* ProgressExp = nullptr;
  ui::Button* ButtonChiudi = nullptr;
  ui::SaveDialog* SaveDialogExp = nullptr;
  ui::OpenDialog* OpenDialogImp = nullptr;

  void ButtonDirExpClick();
  void ButtonDirImpClick();
  virtual void ButtonExpClick() = 0;
  virtual void ButtonImpClick() = 0;
  // A date text of the short form as 'MM-DD-YYYY'; "" when it is no date,
  // 29/12/1899 and 30/12/1899 included.
  static std::string ReturnDateSQL(const std::string& data);

 protected:
  // The folder of the company database file, up to its last separator.
  std::string CartellaArchivio() const;
  void Log(const std::string& riga);
  // Closes QueryAux1 and gives it the statement's lines.
  void ImpostaSQL(const std::vector<std::string>& righe);
  // Sets the bar to the percentage, only when it changes.
  void Progresso(long long fatti, long long totale);
  // Writes the rows of `select` (lines; `ordine` is the line that keeps
  // the file the same for the same rows) under `intestazione`; logs
  // etichetta + the count. Stops with "Specificare dir exp" when no file
  // is named; a failure leaves any older file as it was. The export reads
  // the list as committed when it starts, on a transaction of its own
  // that ends with it: the editor's transaction and data sets stay as
  // they are. `controllo`, when given, reads first on that same view and
  // stops the export, before any file is made, by answering false.
  void Esporta(const std::string& intestazione, const std::vector<std::string>& select,
               const std::string& ordine, const std::string& etichetta,
               const std::function<bool(db::Transaction&)>& controllo = {});
  // Runs a command of the window: what it raises goes to the error box.
  template <class F>
  void Comando(F&& f) {
    try {
      f();
    } catch (const std::exception& e) {
      MostraErrore(e);
    }
  }
  static void MostraErrore(const std::exception& e);
  // Before an import's first write and before its commit: a file written
  // in place since its check began (its size or modification time
  // changed) rolls back what the import wrote, gives the hold back and
  // raises ErroreFile for the error box.
  static void ControllaFile(LettoreRighe& file, PresaTestata& presa);

 private:
  int ultimoProgresso_ = -1;
};

}  // namespace velmaro
