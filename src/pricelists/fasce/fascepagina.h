#pragma once
// What the band and customer handlers of the editor share: the keep-open
// commit and rollback of a query's transaction, and a command's writes
// committed or rolled back together.
#include <functional>
#include <string>
#include <vector>

namespace db {
class Query;
}  // namespace db

namespace velmaro::fasce_pagina {

// Keep-open commit of the query's transaction.
void ConfermaTransazione(db::Query& q);
// Keep-open rollback after a failed command, so the grids stay open and
// none of its statements waits for the next commit. A rollback that fails
// as well (a lost connection) leaves the error box to the caller.
void AnnullaTransazione(db::Query& q);
// A command's writes: the statements (each made of its lines) run and are
// committed together (keep open), then `dopo` reloads what shows them. On
// any failure they are rolled back and `errore` is shown. True when all
// went through.
bool Scrivi(db::Query& q, const std::vector<std::vector<std::string>>& statementi,
            const std::function<void()>& dopo, const std::string& errore);

}  // namespace velmaro::fasce_pagina
