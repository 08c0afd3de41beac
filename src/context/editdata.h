#pragma once
// An edit box that completes a date as the operator types it, in the form
// dd/mm/yyyy: the slash after the day and the month, the century of a
// two-digit year. A wrong day, month or year is selected for retyping.
#include <string>

#include "ui/stdctrls.h"

namespace velmaro {

class TEditData : public ui::Edit {
 public:
  explicit TEditData(ui::Component* owner = nullptr) : ui::Edit(owner) {}
  std::string ClassName() const override { return "TEditData"; }

  void KeyUp(ui::Word& key, ui::ShiftState shift) override;

  // The completed text, or "errore1" (day), "errore2" (month), "errore3"
  // (year) for the part to retype.
  static std::string ControllaData(const std::string& testo, ui::Word key);
  // The integer value of the text's digits; 0 when there are none.
  static int EstraiNumero(const std::string& testo);
};

}  // namespace velmaro
