#pragma once
// The customer price file of one band: the operator picks the band (typed
// or through a customer's band), the lists that count, the tier layout, the
// calculation date and the exclusion criteria, then generates the file.
#include <cstdint>
#include <string>
#include <vector>

#include "context/launch.h"
#include "ui/dbgrid.h"

namespace db {
class DataSource;
class Field;
class Transaction;
}  // namespace db

namespace ui {
class Button;
class Edit;
class Label;
class Memo;
class ProgressBar;
class RadioGroup;
class SaveDialog;
class Timer;
}  // namespace ui

namespace velmaro {

class TEditData;
class TRxMemoryData;

class TGeneraFileClientiForm : public FinestraDaExport {
 public:
  TGeneraFileClientiForm(ui::Component* owner, CellaDataModule* cellaDM);
  std::string ClassName() const override { return "TGeneraFileClientiForm"; }

  void Inizializzazione();

  // Data objects first: the grid reads them while it lives.
  TRxMemoryData* MemTab = nullptr;
  db::DataSource* DataSourceTab = nullptr;

  ui::Edit* EditFileExp = nullptr;
  ui::Button* ButtonFileExp = nullptr;
  ui::SaveDialog* SaveDialogExp = nullptr;
  ui::Edit* EditFascia = nullptr;
  ui::Button* ButtonCercaUtente = nullptr;
  ui::RadioGroup* RadioGroupTipoArticoli = nullptr;
  ui::RadioGroup* RadioGroupModoExportScaglioni = nullptr;
  ui::Label* LabelGridTab = nullptr;
  ui::DBGrid* GridTab = nullptr;
  ui::Button* ButtonSel = nullptr;
  ui::Button* ButtonDeSel = nullptr;
  TEditData* EditData = nullptr;
  ui::Memo* MemoCriteriEscl = nullptr;
  ui::Button* ButtonCriteriEscl = nullptr;
  ui::Button* ButtonCritEsclHelp = nullptr;
  ui::Button* ButtonAND = nullptr;
  ui::ProgressBar* ProgressExp = nullptr;
  ui::Button* ButtonGenera = nullptr;
  ui::Button* ButtonGeneraHelp = nullptr;
  ui::Button* ButtonChiudi = nullptr;
  ui::Timer* TimerFascia = nullptr;

  void ButtonChiudiClick(ui::Component* sender);
  void ButtonCercaUtenteClick(ui::Component* sender);
  void ButtonFileExpClick(ui::Component* sender);
  void ButtonCriteriEsclClick(ui::Component* sender);
  void ButtonCritEsclHelpClick(ui::Component* sender);
  void ButtonANDClick(ui::Component* sender);
  void GridTabDblClick(ui::Component* sender);
  void GridTabKeyUp(ui::Component* sender, ui::Word& key, ui::ShiftState shift);
  void GridTabDrawDataCell(ui::Component* sender, const ui::Rect& rect, db::Field* field,
                           ui::GridDrawState state);
  void EditFasciaChange(ui::Component* sender);
  void TimerFasciaTimer(ui::Component* sender);
  void ButtonSelClick(ui::Component* sender);
  void ButtonDeSelClick(ui::Component* sender);
  void ButtonGeneraClick(ui::Component* sender);
  void ButtonGeneraHelpClick(ui::Component* sender);

 private:
  void CreaControlli();
  void CreaMemTab();
  void CaricaListini(const std::string& fascia);
  void SegnaTutti(const char* valore);
  std::vector<std::string> ListiniSelezionati();
  // Step 3 of the generation, read on the generation's view: the criteria
  // in use, "" for none; false when the operator stops.
  bool CriteriInUso(db::Transaction& vista, std::string& criteri);
  void Genera();
};

// The folder of a database path (up to and with the last "\", "/" or ":").
std::string CartellaDatabase(const std::string& percorso);

// The launcher of the export: the launch road with this window.
void ApriGeneraFileClientiForm(std::int32_t utente, std::int32_t idApertura);

}  // namespace velmaro
