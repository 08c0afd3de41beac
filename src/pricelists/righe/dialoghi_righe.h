#pragma once
// What the net-price and discount row dialogs share: the gift group, the
// "Nessuna data fine" box, the article search through Kestrin.dll, the
// check of typed texts against their columns, and the current row's values
// into a dialog, which both row pages fill so.
#include <cstdint>
#include <functional>
#include <string>
#include <utility>
#include <vector>

#include "pricelists/righe/righe.h"

namespace db {
class Database;
class Query;
}  // namespace db

namespace ui {
class Button;
class CheckBox;
class Control;
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

// The commission, gift and dates of a row dialog `d` (either dialog: they
// name these controls alike).
template <class Dialogo>
void LeggiCampiRiga(const Dialogo& d, righe::CampiRiga& c) {
  c.provvigione = d.EditProvvigione->Text();
  c.omaCodice = d.EditOmaggioCodArticolo->Text();
  c.omaEstensione = d.EditOmaggioEstCodice->Text();
  c.omaSoglia = d.EditOmaggioSoglia->Text();
  c.omaQuantita = d.EditOmaggioQuantita->Text();
  c.omaMultipli = d.EditOmaggioMultipli->Text();
  c.inizio = d.DataInizioVal->Date();
  c.fine = d.DataFineVal->Date();
  c.nessunaFine = d.CheckBoxNessunaDataFinale->Checked();
}

// Ticked: the end date disabled and set to today; cleared: enabled.
void NessunaDataFine(const ui::CheckBox& nessuna, ui::DateTimePicker& fine);

// The current row's dates into a row dialog: no end date ticks its box
// and runs the box's handler.
void DateDaRiga(db::Query& q, ui::DateTimePicker& inizio, ui::DateTimePicker& fine,
                ui::CheckBox& nessunaFine, const std::function<void()>& gestore);
// Each control's text from the current row's field.
void TestiDaRiga(db::Query& q, const std::vector<std::pair<ui::Control*, const char*>>& campi);

// The article search (ANAMAG under situation `situazione`) handed to the
// sibling library; false when the operator cancelled or the call failed.
bool CercaArticolo(std::int32_t utente, std::uint32_t handle, int situazione,
                   righe::Articolo& articolo);

// A typed text and the column of the row table it goes into, with the
// caption the operator knows the field by.
struct TestoInColonna {
  const char* colonna;
  std::string testo;
  const char* etichetta;
};
// The warning for the first text longer than its column of `tabella`;
// empty when every text fits. Such a text can match no stored row and can
// never be stored, so the dialog refuses it before any statement holds it.
std::string TestoTroppoLungo(db::Database* db, const std::string& tabella,
                             const std::vector<TestoInColonna>& testi);

}  // namespace velmaro::dialoghi
