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

// For every band of FASCESC, "UPDATE OR INSERT" its row of TIPIPR.
// `lettura` walks the bands while `scrittura` runs the statements; both
// must be on the company database and the same transaction. Commits
// nothing; an error reaches the caller with the rows written so far
// pending.
void AggiornaTipiPR(db::Query& lettura, db::Query& scrittura);

}  // namespace velmaro
