#pragma once
// The settings window of the price-list module: three values shared by
// every operator, and the refresh of the price types from the bands.
#include <cstdint>

#include "context/launch.h"

namespace db {
class Query;
}

namespace ui {
class Button;
class CheckBox;
class Edit;
}  // namespace ui

namespace velmaro {

class TLisFasImpostForm : public FinestraDaExport {
 public:
  TLisFasImpostForm(ui::Component* owner, CellaDataModule* cellaDM);
  std::string ClassName() const override { return "TLisFasImpostForm"; }

  db::Query* QueryAux1 = nullptr;
  db::Query* QueryAux2 = nullptr;

  ui::Edit* EditDirEcc = nullptr;
  ui::Edit* EditListNettDef = nullptr;
  ui::CheckBox* CheckBoxAssClientiPX = nullptr;
  ui::Button* ButtonSalva = nullptr;
  ui::Button* ButtonAggTipiPR = nullptr;
  ui::Button* ButtonChiudi = nullptr;

  void Inizializzazione();
  void ButtonSalvaClick();
  void ButtonAggTipiPRClick();
  void ButtonChiudiClick();

 private:
  void CreaControlli();
};

// The launcher of the export: the launch road with this window.
void ApriLisFasImpostForm(std::int32_t utente, std::int32_t idApertura);

}  // namespace velmaro
