#pragma once
// What the band, customer and duplication handlers of the editor share:
// statements run through an auxiliary query, the keep-open commit and
// rollback of its transaction, and the boxes of the page.
#include <functional>
#include <string>
#include <vector>

namespace db {
class Query;
}  // namespace db

namespace velmaro::fasce_pagina {

std::string Campo(db::Query& q, const char* nome);
// Runs one statement made of `righe`.
void Esegui(db::Query& q, const std::vector<std::string>& righe);
// Keep-open commit of the query's transaction.
void Conferma(db::Query& q);
// Keep-open rollback after a failed command, so the grids stay open and
// none of its statements waits for the next commit. A rollback that fails
// as well (a lost connection) leaves the error box to the caller.
void Annulla(db::Query& q);
// A command's writes: the statements (each made of its lines) run and are
// committed together (keep open), then `dopo` reloads what shows them. On
// any failure they are rolled back and `errore` is shown. True when all
// went through.
bool Scrivi(db::Query& q, const std::vector<std::vector<std::string>>& statementi,
            const std::function<void()>& dopo, const std::string& errore);
void Avviso(const std::string& testo);
void Errore(const std::string& testo);

}  // namespace velmaro::fasce_pagina
