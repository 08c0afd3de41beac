#pragma once
// Small modal dialogs that ask for one value, two values or a date.
// Esito: 0 while open and after the close box, 1 after OK, 2 after Cancel.
#include <cstdint>
#include <string>

#include "ui/extctrls.h"
#include "ui/form.h"
#include "ui/stdctrls.h"

namespace velmaro {

class TEditData;

// What the three dialogs share: the frame bevel, the label and the buttons.
class TQelDialogo : public ui::Form {
 public:
  ui::Bevel* Bevel1 = nullptr;
  ui::Label* Label1 = nullptr;
  ui::BitBtn* OKBtn = nullptr;
  ui::BitBtn* CancelBtn = nullptr;
  std::int16_t Esito = 0;

  void OKBtnClick(ui::Component* sender);
  void CancelBtnClick(ui::Component* sender);
  virtual void FormActivate(ui::Component* sender) = 0;

 protected:
  TQelDialogo(ui::Component* owner, int clientWidth, const char* etichetta, int sinistraOK,
              int sinistraCancel);
  // The edit box that gets the focus on activation.
  void Focalizza(ui::Control* casella);
};

class TQelIn1Form : public TQelDialogo {
 public:
  explicit TQelIn1Form(ui::Component* owner);
  std::string ClassName() const override { return "TQelIn1Form"; }
  ui::Edit* Edit1 = nullptr;
  void FormActivate(ui::Component* sender) override;
};

class TQelIn2Form : public TQelDialogo {
 public:
  explicit TQelIn2Form(ui::Component* owner);
  std::string ClassName() const override { return "TQelIn2Form"; }
  ui::Edit* Edit1 = nullptr;  // the left box
  ui::Edit* Edit2 = nullptr;  // the right box
  void FormActivate(ui::Component* sender) override;
};

class TQelDataForm : public TQelDialogo {
 public:
  explicit TQelDataForm(ui::Component* owner);
  std::string ClassName() const override { return "TQelDataForm"; }
  TEditData* EditData1 = nullptr;
  void FormActivate(ui::Component* sender) override;
};

}  // namespace velmaro
