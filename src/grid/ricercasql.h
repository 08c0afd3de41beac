#pragma once
// The statement text of the grid's searches: the condition line of a typed
// search on one column, its ORDER BY lines and the lines of the search of
// a text in every column. No database work here: the grid hands in what it
// knows and runs what comes back.
#include <string>
#include <vector>

#include "db/field.h"

namespace velmaro::ricerca {

// How a column is compared: numbers and dates without UPPER, blobs as they
// are, everything else as text.
enum class Classe { Numero, Data, Blob, Testo };
// Every numeric type of the data layer is a number: small, integer, 64-bit,
// float and the fixed-point NUMERIC/DECIMAL type.
Classe ClasseDi(db::FieldType tipo);

// Whether a column's own value is a text (or a text blob). Numbers, dates,
// times and truth values are searched through their text form, which holds
// any text on the connection's character set: compared as they are, the
// engine converts a text with letters beyond ASCII to their type and fails.
bool Testuale(db::FieldType tipo);
// The expression's value as a text: every number, date, time or truth
// value fits in 32 characters.
std::string ComeTesto(const std::string& espressione);

// Items of EditTipoRicerca and EditOrdinamento.
enum TipoRicerca { kMaggioreUguale = 0, kContiene = 1, kIniziaCon = 2 };
enum Ordinamento { kNessuno = 0, kCrescente = 1, kDecrescente = 2 };

// A search text as it may stand inside an SQL literal: each apostrophe
// becomes the acute accent the stored values use. "%" and "_" stay LIKE
// wildcards.
std::string TestoSicuro(const std::string& testo);

// "WHERE" or "AND": AND when a line of the base SQL holds WHERE in any case.
std::string Connettivo(const std::vector<std::string>& sqlIniziale);

struct Ricerca {
  std::string connettivo;   // "WHERE" or "AND"
  std::string espressione;  // the column's SQL expression
  Classe classe = Classe::Testo;
  bool upper = true;
  int tipo = kMaggioreUguale;  // EditTipoRicerca
  std::string valore;          // the typed text (made safe here)
  std::string dataDa, dataA;   // class Data: mm/dd/yyyy, dataA may be empty
};

// The one condition line; empty when there is nothing to search for.
std::string Condizione(const Ricerca& r);

// The ORDER BY line of "Cresc." and "Decres."; empty for "No".
std::string OrdineColonna(int ordinamento, const std::string& espressione, Classe classe,
                          bool upper);

// A column of the search in every column: its origin (empty when it has
// none) and its type.
struct Colonna {
  std::string origine;
  db::FieldType tipo = db::FieldType::String;
};

// The lines of "Esegui": WHERE( or AND(, one CONTAINING comparison per
// column with an origin (the first bare, the others after OR, a column
// that is no text through its text form), then ")".
std::vector<std::string> CondizioneGenerica(const std::vector<std::string>& sqlIniziale,
                                            const std::vector<Colonna>& colonne,
                                            const std::string& testo);

}  // namespace velmaro::ricerca
