#pragma once
// The host's price types refreshed from the bands: both the exceptions
// import and the settings window offer it.
#include <string>

namespace db {
class Query;
}

namespace velmaro {

// The price-type description of a band: the name cut to its first 19
// characters (not bytes), made safe for a quoted literal afterwards so a
// doubled apostrophe is never cut in half.
std::string DescrizioneTipoPrezzo(const std::string& nomeFascia);

// For every band of FASCESC, "UPDATE OR INSERT" its row of TIPIPR through
// `scrittura`. The bands are read as committed when the call starts, on a
// transaction of their own on the same database: the writer's transaction
// may be a window's long-lived view, blind to the bands other operators
// made or renamed since. Commits nothing; an error reaches the caller with
// the rows written so far pending in the writer's transaction.
void AggiornaTipiPR(db::Query& scrittura);

}  // namespace velmaro
