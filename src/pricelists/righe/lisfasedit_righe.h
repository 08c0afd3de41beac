#pragma once
// What the two row pages of the editor share (internal to the folder).
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

// Whether the query's lines give a row.
bool Trova(db::Query& q, const std::vector<std::string>& righe);
// True, after the warning "La tabella è vuota", when there is no current row.
bool Vuota(db::Query& q);
// Undoes what the transaction wrote since its last commit; a rollback that
// fails leaves nothing to undo.
void AnnullaScritture(db::Transaction& t);
// The page's refresh: a retaining commit when the transaction runs, then
// the query closed and loaded again by `carica`.
void Ricarica(db::Query& q, const std::function<void()>& carica);

// The current row's dates into a row dialog: no end date ticks its box
// and runs the box's handler.
void DateDaRiga(db::Query& q, ui::DateTimePicker& inizio, ui::DateTimePicker& fine,
                ui::CheckBox& nessunaFine, const std::function<void()>& gestore);
// Each control's text from the current row's field.
void TestiDaRiga(db::Query& q, const std::vector<std::pair<ui::Control*, const char*>>& campi);

// Deletes the page's current row: `cerca` looks for it again on `rilettura`
// once `riavvio` restarted (another operator may have deleted it), the
// operator confirms, `elimina` runs on `scrittura`, then `ricarica` and the
// page back on its row number.
void EliminaRigaCorrente(db::Query& pagina, db::Transaction& riavvio, db::Query& rilettura,
                         db::Query& scrittura, const std::vector<std::string>& cerca,
                         const std::vector<std::string>& elimina,
                         const std::function<void()>& ricarica);
// "Azzera": the question, the statement, the page's refresh (which commits).
void AzzeraLista(db::Query& scrittura, const std::string& sql,
                 const std::function<void()>& ricarica);

}  // namespace velmaro::righepagina
