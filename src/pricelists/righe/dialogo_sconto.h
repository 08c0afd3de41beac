#pragma once
// The discount row dialog: new ("Nuovo sconto") or edit ("Edita sconto"),
// with the selection boxes prepared from the list's selection columns,
// its checks, and the article search.
#include <optional>
#include <string>
#include <vector>

#include "pricelists/righe/righesconti.h"
#include "ui/form.h"

namespace db {
class Query;
}  // namespace db

namespace ui {
class Button;
class CheckBox;
class ComboBox;
class DateTimePicker;
class Edit;
class GroupBox;
class Label;
}  // namespace ui

namespace velmaro {

class TDataModuleVelmaro;

class TScontiNuovoForm : public ui::Form {
 public:
  // The caller puts QueryAux on a database and transaction.
  TScontiNuovoForm(ui::Component* owner, TDataModuleVelmaro& dm);
  std::string ClassName() const override { return "TScontiNuovoForm"; }

  db::Query* QueryAux = nullptr;
  ui::Edit* EditDesc = nullptr;
  ui::DateTimePicker* DataInizioVal = nullptr;
  ui::DateTimePicker* DataFineVal = nullptr;
  ui::CheckBox* CheckBoxNessunaDataFinale = nullptr;
  ui::Edit* EditQntSca = nullptr;
  ui::Edit* EditSconto1 = nullptr;
  ui::Edit* EditSconto2 = nullptr;
  ui::Edit* EditSconto3 = nullptr;
  ui::Label* LabelValoreSel1 = nullptr;
  ui::ComboBox* ComboBoxValoreSel1 = nullptr;
  ui::Button* ButtonCercaArt = nullptr;
  ui::Label* LabelValoreSel2 = nullptr;
  ui::ComboBox* ComboBoxValoreSel2 = nullptr;
  ui::Label* LabelValoreSel3 = nullptr;
  ui::ComboBox* ComboBoxValoreSel3 = nullptr;
  ui::Edit* EditProvvigione = nullptr;
  ui::GroupBox* GroupBoxOmaggio = nullptr;
  ui::Edit* EditOmaggioCodArticolo = nullptr;
  ui::Button* ButtonOmaggioCodArticolo = nullptr;
  ui::Edit* EditOmaggioEstCodice = nullptr;
  ui::Edit* EditOmaggioSoglia = nullptr;
  ui::Edit* EditOmaggioQuantita = nullptr;
  ui::Edit* EditOmaggioMultipli = nullptr;
  ui::Button* ButtonOK = nullptr;
  ui::Button* ButtonCancel = nullptr;

  bool ModoEdit = false;
  std::string TipoListino;  // known for a new row only
  std::string IDListino;
  // In an edit, the row being edited (see TListiniNuovoForm).
  std::optional<sconti::RigaSconto> RigaOriginale;

  // Labels, pickers and the search button from the list's selection
  // columns; a new row also learns the list's type.
  void PreparaSelezioni();
  void ButtonOKClick();
  void CheckBoxNessunaDataFinaleClick();
  void FormShow();
  void ButtonCercaArtClick();
  void ButtonOmaggioCodArticoloClick();

  sconti::CampiSconto Campi() const;
  // The first check that fails, as its message; empty when all pass.
  std::string PrimoControlloFallito();

 private:
  void CreaControlli();
  void PreparaSelezione(int n, const std::string& colonna);
  void RiempiClassificazione(int n, const std::string& tabella);
  std::string Valore(int n) const;
  bool EsisteRiga();
  ui::ComboBox* Box(int n) const;
  ui::Label* Etichetta(int n) const;
  TDataModuleVelmaro& dm_;
  // For a selection on a classification table, the DESCRIZIONE of each item
  // of its box, in the box's order.
  std::vector<std::string> descrizioni_[3];
  bool classificazione_[3] = {false, false, false};
};

}  // namespace velmaro
