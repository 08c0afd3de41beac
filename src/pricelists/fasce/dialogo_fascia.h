#pragma once
// The band dialog of the bands page ("Nuova fascia" / "Edita fascia"), with
// its checks before it closes with OK and its list pickers, and what it
// shares with the band-row dialog (dialogo_rigafascia.h).
#include <cstdint>
#include <string>
#include <vector>

#include "context/launch.h"
#include "pricelists/fasce/fasce.h"
#include "ui/form.h"

namespace db {
class Query;
}  // namespace db

namespace ui {
class Button;
class ComboBox;
class Edit;
}  // namespace ui

namespace velmaro {

// The list picker behind a "..." button: the sibling record search of the
// lists `picker` offers, positioned on the edit's text; a chosen list's ID
// replaces the text, an empty answer leaves it.
void ScegliListino(std::int32_t utente, fasce::Picker picker, ui::Edit& edit);

// What both dialogs' OK does: the result cleared, then the warning of the
// first check that failed (`errore`), or the dialog closed with OK.
void ChiudiSeValido(ui::Form& dialogo, const std::string& errore);
// Whether the edit holds a whole number. When it does, the text is written
// back in plain decimals ("$10", "0x10" and " 16" all read as 16): the
// statements put it in as it stands, and the database takes only that form.
bool InteroDecimale(ui::Edit& edit);

class TNuovaFasciaForm : public ui::Form {
 public:
  TNuovaFasciaForm(ui::Component* owner, CellaTabX* cellaTabX);
  std::string ClassName() const override { return "TNuovaFasciaForm"; }

  db::Query* QueryAux = nullptr;
  ui::Edit* EditID = nullptr;
  ui::Edit* EditNome = nullptr;
  ui::ComboBox* ComboBoxClass1 = nullptr;
  ui::Edit* EditClassificazione2 = nullptr;
  ui::Edit* EditIDScontiSpeNetti = nullptr;
  ui::Edit* EditIDRicarico = nullptr;
  ui::Edit* EditIDScontiSpe = nullptr;
  ui::Edit* EditIDScontiSpe2 = nullptr;
  ui::Edit* EditIDScontiSpe3 = nullptr;
  ui::Button* ButtonRicercaLisScontiSpecNetti = nullptr;
  ui::Button* ButtonRicercaLisRicarico = nullptr;
  ui::Button* ButtonRicercaLisScontiSpec = nullptr;
  ui::Button* ButtonRicercaLisScontiSpec2 = nullptr;
  ui::Button* ButtonRicercaLisScontiSpec3 = nullptr;
  ui::Button* ButtonAnnulla = nullptr;
  ui::Button* ButtonOk = nullptr;

  std::uint8_t ModoEdit = 0;  // 0 new, 1 edit

  void ButtonOkClick();
  // What the dialog holds.
  fasce::CampiFascia Campi() const;

 private:
  void CreaControlli();
  std::string PrimoControlloFallito();
  CellaTabX* cellaTabX_;
};

}  // namespace velmaro
