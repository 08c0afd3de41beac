#pragma once
// What the net-price and discount row pages share: numbers and dates as
// their statements write them, the split of a search answer, and the
// article search request. Pure functions; the dialogs and the editor read
// the controls, these compose the texts.
#include <stdexcept>
#include <string>
#include <vector>

#include "platform/format.h"

namespace velmaro::righe {

// A typed number that cannot go into a statement: the write it belongs to
// fails as a refused statement would, with that write's error box.
class ValoreNonValido : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

// ---- numbers
// A number under the decimal comma (blanks around allowed).
bool ENumero(const std::string& testo);
// A tier of a new net row: any number, written with "."; "0" otherwise.
std::string ScaglioneDecimale(const std::string& testo);
// A whole number as its digits; "0" for an empty text or one that is no
// whole number. Hex forms the platform reads ("$1F") are written in decimal.
std::string InteroOZero(const std::string& testo);
// A price: "." and "," both read as the decimal point; written with ".".
// Throws ValoreNonValido when it is no number.
std::string PrezzoSQL(const std::string& testo);
bool EPrezzo(const std::string& testo);
// An optional number (commission): NULL when empty, else as PrezzoSQL.
std::string NumeroONull(const std::string& testo);
// A discount: NULL when empty, else the text with "," as "." between quotes.
std::string ScontoSQL(const std::string& testo);
// A stored number back into a statement, with "." and no grouping.
std::string NumeroPerSQL(double valore);
// A condition on a column of the row being found again: "IS NULL" when the
// row holds no value there, since "=" never matches a NULL.
std::string Condizione(const std::string& colonna, bool nullo, const std::string& valoreSQL);

// ---- dates
// 'MM-DD-YYYY' without quotes, the editor's date literals.
std::string DataTrattini(plat::DateTime data);
// 'mm/dd/yyyy' without quotes, as "Duplica con date default" writes them.
std::string DataBarre(plat::DateTime data);
// The day before, as DataBarre: the last day of the period a new one closes.
std::string GiornoPrimaBarre(plat::DateTime data);

// ---- search answers
// Splits at each delimiter; a text without one gives one element.
int DividiStringa(const std::string& testo, const std::string& delimitatore,
                  std::vector<std::string>& parti);
// What both row dialogs hold besides their own columns: the commission,
// the gift and the validity dates.
struct CampiRiga {
  std::string provvigione;
  std::string omaCodice, omaEstensione, omaSoglia, omaQuantita, omaMultipli;
  plat::DateTime inizio = 0, fine = 0;
  bool nessunaFine = true;
};

struct Articolo {
  std::string codice, estensione;
};
// Code and extension of an answer "CODICE;ESTENSIONE"; an empty or missing
// extension is "0". False for an empty answer (the operator cancelled).
bool ArticoloDaRisposta(const std::string& risposta, Articolo& articolo);
// The article search: ANAMAG under project 505 and the given situation.
std::string RichiestaArticoli(int situazione);

}  // namespace velmaro::righe
