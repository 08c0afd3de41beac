#pragma once
// What the commands of the editor's pages and their dialogs share: running
// a statement, the operator's boxes, whether a grid has a current row,
// whether a row is there (still), a command's writes committed together or
// rolled back with the operator told, a row delete and "Azzera" under the
// hold of their list, and a page's refresh.
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "pricelists/presalistino.h"

namespace db {
class Query;
class Transaction;
}  // namespace db

namespace velmaro::pagina {

// Closes `q`, gives it the lines as its statement and executes it.
void EseguiRighe(db::Query& q, const std::vector<std::string>& righe);

// Modal boxes with an OK button, and the Yes/No question (true for Yes).
void Avviso(const std::string& testo);
void Errore(const std::string& testo);
void Informazione(const std::string& testo);
bool Conferma(const std::string& testo);

// What a command tells the operator when its grid has no current row.
enum class SeVuota {
  Niente,
  TabellaVuota,  // the warning "La tabella è vuota"
  PremereNuovo,  // the information "Premere Nuovo per inserire un nuovo record"
};
// Whether the query has no current row (closed or empty); then, the box
// `avviso` names.
bool Vuota(db::Query& q, SeVuota avviso = SeVuota::Niente);

// Whether the select made of `righe` gives a row; the query is closed after.
bool Trova(db::Query& q, const std::vector<std::string>& righe);
// The first field of the select's first row, "" when none or NULL.
std::string PrimoValore(db::Query& q, const std::vector<std::string>& righe);
// Whether the select still finds its row in what other sessions committed:
// `riavvio`, the query's transaction, is restarted first. A row gone is
// told to the operator as deleted by another user.
bool AncoraPresente(db::Transaction& riavvio, db::Query& q, const std::vector<std::string>& righe);

// A command's write through the rule of every write (velmaro::Scrivi):
// `scrivi` runs it on `q`, held by `presa` when the header is held in `q`'s
// transaction, else renewed on a conflict as `rinnovo` says, whose `errore`
// is the command's error box. Once committed, `dopo` shows it: a failure
// there is not the write's, and goes to the standard display of errors.
// True when written.
bool Scrivi(db::Query& q, const std::function<void()>& scrivi, const std::function<void()>& dopo,
            const PresaTestata::Rinnovo& rinnovo, PresaTestata* presa = nullptr);
// The same for statements given as their lines.
bool Scrivi(db::Query& q, const std::vector<std::vector<std::string>>& statementi,
            const std::function<void()>& dopo, const PresaTestata::Rinnovo& rinnovo,
            PresaTestata* presa = nullptr);
// Both with only the error box: on a conflict the transaction alone is
// renewed (a held write renews as its hold says).
bool Scrivi(db::Query& q, const std::function<void()>& scrivi, const std::function<void()>& dopo,
            const std::string& errore, PresaTestata* presa = nullptr);
bool Scrivi(db::Query& q, const std::vector<std::vector<std::string>>& statementi,
            const std::function<void()>& dopo, const std::string& errore,
            PresaTestata* presa = nullptr);

// Runs on `q` the UPDATE or DELETE made of `righe`. One that changes no row
// found the row the operator saw changed or gone: it throws, so that the
// command rolls back and shows its error box rather than report success.
void EseguiSuRiga(db::Query& q, const std::vector<std::string>& righe);

// A command deleting its grid's current row.
struct Eliminazione {
  // The select that finds the row again in what other sessions committed.
  std::vector<std::string> cerca{};
  // The operator's Yes/No question.
  std::string domanda = "Eliminare il record selezionato?";
  // The hold of the header the row belongs to (a list, a band), taken once
  // the operator confirmed, given the renewal's reads and error box of a
  // deletion: the row found by `cerca`, which the deletion touches. No hold
  // (the operator told why) stops the command. None: no hold.
  std::function<PresaTestata::Esiti(PresaTestata::Rinnovo)> prendi{};
  // The deletion: its statements, run in turn, or `scrivi` when given.
  std::vector<std::vector<std::string>> statementi{};
  std::function<void()> scrivi{};
  // The page again and the grid back on the row number `riga` it had, once
  // the deletion is committed.
  std::function<void(int riga)> torna{};
};
// Deletes the current row of `griglia`: the row looked for again on
// `rilettura` once `riavvio` restarted (another operator may have deleted
// it), the operator's confirmation, the hold when asked, then the deletion
// on `scrittura`, committed together with `torna` or rolled back with the
// error box. The grid's row number when the row went; none otherwise.
std::optional<int> EliminaRigaCorrente(db::Query& griglia, db::Query& scrittura,
                                       db::Query& rilettura, db::Transaction& riavvio,
                                       const Eliminazione& e);
// "Azzera" of a row page.
struct Azzeramento {
  // The DELETE of every row of the list, and the select of those rows.
  std::string sql{};
  std::string righe{};
  // The hold of the list, given the renewal's reads (the list's rows) and
  // the error box of a deletion; no hold (the operator told why) stops it.
  std::function<PresaTestata::Esiti(PresaTestata::Rinnovo)> prendi{};
  // The page's refresh once the rows went.
  std::function<void()> ricarica{};
};
// The question, the hold, the statement committed through the hold, the
// page's refresh.
void AzzeraLista(db::Query& scrittura, const Azzeramento& a);

// A page's refresh: a keep-open commit when the query's transaction runs,
// then the query closed, loaded again by `carica` and opened if still closed.
void Ricarica(db::Query& q, const std::function<void()>& carica = {});

}  // namespace velmaro::pagina
