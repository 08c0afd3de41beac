#pragma once
// The grid's print options dialog: header lines, page orientation, page
// numbers, text cutting, the forced last column and the data font size. It
// stays open after a run, so the operator can change the options and print
// again; "Chiudi" ends it.
#include "ui/form.h"

namespace ui {
class GroupBox;
class Edit;
class Label;
class RadioGroup;
class CheckBox;
class Button;
class PopupMenu;
class MenuItem;
}  // namespace ui

namespace velmaro {

class TVuxGridStampa;

class TStVuxGridForm : public ui::Form {
 public:
  // The print component is the caller's; the dialog only edits it.
  TStVuxGridForm(ui::Component* owner, TVuxGridStampa* stampa);
  std::string ClassName() const override { return "TStVuxGridForm"; }

  TVuxGridStampa* Stampa = nullptr;

  ui::GroupBox* GroupIntestazione = nullptr;
  ui::Label* Label1 = nullptr;
  ui::Edit* EditIntestazione1 = nullptr;
  ui::Label* Label2 = nullptr;
  ui::Edit* EditIntestazione2 = nullptr;
  ui::RadioGroup* RadioAllineaIntestazione = nullptr;
  ui::GroupBox* GroupOpzioni = nullptr;
  ui::RadioGroup* RadioOrientamentoPagina = nullptr;
  ui::CheckBox* CheckNumeraPagine = nullptr;
  ui::CheckBox* CheckTroncaTesti = nullptr;
  ui::CheckBox* CheckForzaUltimaColonna = nullptr;
  ui::Label* LabelForzaUltimaColonna = nullptr;
  ui::RadioGroup* RadioDimensioneFont = nullptr;
  ui::Button* ButtonAnteprima = nullptr;
  ui::Button* ButtonChiudi = nullptr;
  ui::PopupMenu* PopupMenu1 = nullptr;
  ui::MenuItem* Aprieditazionereportassistenzatecnica1 = nullptr;

  // Copies the controls into the print component.
  void LeggiOpzioni();
  void ButtonAnteprimaClick(ui::Component* sender);
  void Aprieditazionereportassistenzatecnica1Click(ui::Component* sender);
  void ButtonChiudiClick(ui::Component* sender);
};

}  // namespace velmaro
