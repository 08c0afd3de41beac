#pragma once
// What the net-price and discount row dialogs share: the gift group, the
// "Nessuna data fine" box, and the article search through Kestrin.dll.
#include <cstdint>

#include "pricelists/righe.h"

namespace ui {
class Button;
class CheckBox;
class DateTimePicker;
class Edit;
class Form;
class GroupBox;
}  // namespace ui

namespace velmaro::dialoghi {

struct GruppoOmaggio {
  ui::GroupBox* gruppo = nullptr;
  ui::Edit* codice = nullptr;
  ui::Button* cerca = nullptr;
  ui::Edit* estensione = nullptr;
  ui::Edit* soglia = nullptr;
  ui::Edit* quantita = nullptr;
  ui::Edit* multipli = nullptr;
};
// The group "Omaggio" at `y` on the dialog, its controls named as both
// dialogs name them.
GruppoOmaggio CreaGruppoOmaggio(ui::Form* dialogo, int y);

// Ticked: the end date disabled and set to today; cleared: enabled.
void NessunaDataFine(const ui::CheckBox& nessuna, ui::DateTimePicker& fine);

// The article search (ANAMAG under situation `situazione`) handed to the
// sibling library; false when the operator cancelled or the call failed.
bool CercaArticolo(std::int32_t utente, std::uint32_t handle, int situazione, righe::Articolo& articolo);

}  // namespace velmaro::dialoghi
