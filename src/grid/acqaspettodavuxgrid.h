#pragma once
// Asks whose grid layout the operator wants to take as his own.
#include <string>

#include "ui/form.h"
#include "ui/lists.h"
#include "ui/stdctrls.h"

namespace velmaro {

class TAcqAspettoDaVuxGridForm : public ui::Form {
 public:
  explicit TAcqAspettoDaVuxGridForm(ui::Component* owner);
  std::string ClassName() const override { return "TAcqAspettoDaVuxGridForm"; }

  ui::Label* Label1 = nullptr;
  ui::ComboBox* ComboUtente = nullptr;
  ui::Button* ButtonConferma = nullptr;
  ui::Button* ButtonAnnulla = nullptr;

  // "Conferma" closes with OK only once an operator is chosen.
  void ButtonConfermaClick(ui::Component* sender);
};

}  // namespace velmaro
