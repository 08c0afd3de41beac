#pragma once
// The band-row dialog of the bands page ("Nuovo dettaglio fascia" / "Edita
// dettaglio fascia"): a row number and the list it places in the band, with
// its checks before it closes with OK.
#include <cstdint>
#include <string>

#include "context/launch.h"
#include "ui/form.h"

namespace db {
class Query;
}  // namespace db

namespace ui {
class Button;
class Edit;
class Label;
}  // namespace ui

namespace velmaro {

class TNuovaFasciaDettForm : public ui::Form {
 public:
  TNuovaFasciaDettForm(ui::Component* owner, CellaDataModule* cellaDM);
  std::string ClassName() const override { return "TNuovaFasciaDettForm"; }

  db::Query* QueryAux = nullptr;
  ui::Label* LabelIDFascia = nullptr;  // the band the row belongs to
  ui::Edit* EditNRiga = nullptr;
  ui::Edit* EditIDListino = nullptr;
  ui::Button* ButtonRicercaLis = nullptr;
  ui::Button* ButtonCancel = nullptr;
  ui::Button* ButtonOK = nullptr;

  std::uint8_t ModoEdit = 0;  // 0 new, 1 edit

  void ButtonOKClick();
  void ButtonRicercaLisClick();
  // The warning of the first of OK's checks that fails, "" when all pass:
  // made again by the new row's write when its view was renewed.
  std::string PrimoControlloFallito();

 private:
  CellaDataModule* cellaDM_;
};

}  // namespace velmaro
