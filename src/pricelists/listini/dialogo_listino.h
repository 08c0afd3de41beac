#pragma once
// The header dialog of a price list: new ("Nuovo listino") or edit
// ("Edita listino"), with its checks before it closes with OK.
#include <string>

#include "context/launch.h"
#include "pricelists/listini/listini.h"
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

class TListinoNuovoForm : public ui::Form {
 public:
  // Proposes the highest list ID plus one and fills the selection boxes.
  TListinoNuovoForm(ui::Component* owner, CellaDataModule* cellaDM);
  std::string ClassName() const override { return "TListinoNuovoForm"; }

  db::Query* QueryAux = nullptr;
  ui::Label* LabelCodListino = nullptr;
  ui::Edit* EditCodListino = nullptr;
  ui::Label* LabelNomeListino = nullptr;
  ui::Edit* EditNomeListino = nullptr;
  ui::Label* LabelTipoListino = nullptr;
  ui::ComboBox* ComboBoxTipoListino = nullptr;
  ui::Label* LabelLisRif = nullptr;
  ui::Edit* EditListRif = nullptr;
  ui::Button* ButtonCercaList = nullptr;
  ui::Label* LabelCampoSel1 = nullptr;
  ui::ComboBox* ComboBoxCampoSel1 = nullptr;
  ui::Label* LabelCampoSel2 = nullptr;
  ui::ComboBox* ComboBoxCampoSel2 = nullptr;
  ui::Label* LabelCampoSel3 = nullptr;
  ui::ComboBox* ComboBoxCampoSel3 = nullptr;
  ui::Label* LabelDataInizioVal = nullptr;
  ui::DateTimePicker* DataInizioVal = nullptr;
  ui::CheckBox* CheckBoxNessunaDataInizioVal = nullptr;
  ui::Label* LabelDataFineVal = nullptr;
  ui::DateTimePicker* DataFineVal = nullptr;
  ui::CheckBox* CheckBoxNessunaDataFineVal = nullptr;
  ui::GroupBox* GroupBoxOpzionali = nullptr;
  ui::Edit* EditClassificazione1 = nullptr;
  ui::Edit* EditClassificazione2 = nullptr;
  ui::Button* ButtonOK = nullptr;
  ui::Button* ButtonCancel = nullptr;

  bool ModoEdit = false;

  void ButtonOKClick();
  void ComboBoxTipoListinoChange();
  void ComboBoxCampoSel1Change();
  void ComboBoxCampoSel2Change();
  void CheckBoxNessunaDataInizioValClick();
  void CheckBoxNessunaDataFineValClick();
  void FormShow();
  void ButtonCercaListClick();

  // What the dialog holds, for composing the statement.
  listini::CampiTestata Campi() const;

 private:
  void CreaControlli();
  void RiempiSelezioni();
  // The first check that fails, as its message; empty when all pass.
  std::string PrimoControlloFallito();
  CellaDataModule* cellaDM_;
};

}  // namespace velmaro
