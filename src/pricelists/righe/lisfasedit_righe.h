#pragma once
// What the two row pages of the editor share beyond what every page does
// (editor/pagina.h); internal to the folder.
#include <functional>
#include <string>
#include <utility>
#include <vector>

namespace db {
class Query;
class Transaction;
}  // namespace db

namespace ui {
class CheckBox;
class Control;
class DateTimePicker;
}  // namespace ui

namespace velmaro::righepagina {

// The current row's dates into a row dialog: no end date ticks its box
// and runs the box's handler.
void DateDaRiga(db::Query& q, ui::DateTimePicker& inizio, ui::DateTimePicker& fine,
                ui::CheckBox& nessunaFine, const std::function<void()>& gestore);
// Each control's text from the current row's field.
void TestiDaRiga(db::Query& q, const std::vector<std::pair<ui::Control*, const char*>>& campi);

// Deletes the page's current row: `cerca` looks for it again on `rilettura`
// once `riavvio` restarted (another operator may have deleted it), the
// operator confirms, `elimina` runs on `scrittura`, then `ricarica` and the
// grid back on its row number.
void EliminaRigaCorrente(db::Query& griglia, db::Transaction& riavvio, db::Query& rilettura,
                         db::Query& scrittura, const std::vector<std::string>& cerca,
                         const std::vector<std::string>& elimina,
                         const std::function<void()>& ricarica);
// "Azzera": the question, the statement, the page's refresh.
void AzzeraLista(db::Query& scrittura, const std::string& sql,
                 const std::function<void()>& ricarica);

}  // namespace velmaro::righepagina
