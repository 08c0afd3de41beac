#pragma once
// The search dialog of the grid (F5): a text, or two dates, searched in one
// column while the operator types; "Generica" searches the text in every
// column. The grid binds the handlers when it opens the dialog.
#include <string>

#include "ui/extctrls.h"
#include "ui/form.h"
#include "ui/lists.h"
#include "ui/stdctrls.h"

namespace velmaro {

class TEditData;

class TRVuxGridForm : public ui::Form {
 public:
  explicit TRVuxGridForm(ui::Component* owner);
  std::string ClassName() const override { return "TRVuxGridForm"; }

  ui::Label* Label1 = nullptr;
  ui::Edit* EditStringa = nullptr;
  ui::RadioGroup* EditTipoRicerca = nullptr;
  ui::CheckBox* EditUpper = nullptr;
  ui::Button* ButtonAggRete = nullptr;
  ui::RadioGroup* EditOrdinamento = nullptr;
  ui::CheckBox* EditGenerica = nullptr;
  ui::Button* ButtonEsegui = nullptr;
  TEditData* EditData1 = nullptr;
  TEditData* EditData2 = nullptr;
  ui::Label* Label2 = nullptr;

  // Number columns offer only ">=" and "LIKE %%"; a kept "LIKE %" becomes ">=".
  void SoloTipiNumerici();
  // Date columns: the two date boxes in place of the text.
  void MostraDate();
  // The caption "Generica" saved, to give back when it is unticked.
  std::string CaptionSalvata;
};

}  // namespace velmaro
