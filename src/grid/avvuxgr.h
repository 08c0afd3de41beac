#pragma once
// The warning shown before the operator's grid layout is thrown away.
#include <string>

#include "ui/extctrls.h"
#include "ui/form.h"
#include "ui/stdctrls.h"

namespace velmaro {

class TAvVuxGrForm : public ui::Form {
 public:
  explicit TAvVuxGrForm(ui::Component* owner);
  std::string ClassName() const override { return "TAvVuxGrForm"; }

  ui::Image* Image1 = nullptr;
  ui::Label* Label1 = nullptr;
  ui::Label* Label2 = nullptr;
  ui::Button* ButtonOK = nullptr;
  ui::Button* ButtonCancel = nullptr;
  // 2 from the opening, 1 once the operator pressed OK.
  int Risposta = 2;
};

}  // namespace velmaro
