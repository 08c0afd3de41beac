#pragma once
// What the two row pages of the editor share (internal to the folder).
#include <functional>
#include <string>
#include <vector>

namespace db {
class Query;
class Transaction;
}  // namespace db

namespace velmaro::righepagina {

// Runs the statement's lines on `q`.
void Esegui(db::Query& q, const std::vector<std::string>& righe);
// Whether the query's lines give a row.
bool Trova(db::Query& q, const std::vector<std::string>& righe);
void Avviso(const std::string& testo);
void Errore(const std::string& testo);
// True, after the warning "La tabella è vuota", when there is no current row.
bool Vuota(db::Query& q);
// Undoes what the transaction wrote since its last commit; a rollback that
// fails leaves nothing to undo.
void AnnullaScritture(db::Transaction& t);
// The page's refresh: a retaining commit when the transaction runs, then
// the query closed and loaded again by `carica`.
void Ricarica(db::Query& q, const std::function<void()>& carica);

}  // namespace velmaro::righepagina
