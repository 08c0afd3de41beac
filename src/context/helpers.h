#pragma once
// Text, number and SQL-date helpers shared by every window: line breaking
// and column alignment for printed text, numbers in the module's Italian
// conventions, rounding, SQL text and date literals, delimited fields and
// blanks.
// They keep no state. Lengths and positions count characters, not bytes,
// so an accented letter takes one column of printed text.
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

namespace velmaro {

// A folder that cannot be created.
class ErroreIO : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

// ---- printed text
// Puts the next output line of `testo`, starting at character `inizio`, in
// `riga` and returns how many characters it took; the caller adds that to
// its start for the next line. Lines break at blanks, a word longer than
// `larghezza` is cut, and a CR (with its LF) ends a line.
int SpezzaRiga(const std::string& testo, std::string& riga, int inizio, int larghezza);
// Characters of the word starting at `inizio` (up to the end, a CR or a
// blank), at most `larghezza`.
int LunghezzaParola(const std::string& testo, int inizio, int larghezza);
std::string AllineaDestra(const std::string& testo, int larghezza);
std::string AllineaSinistra(const std::string& testo, int larghezza);

// ---- numbers and dates under the module's settings
std::string FormattaIntero(double valore);       // "1.235"; 0 gives ""
std::string FormattaDueDecimali(double valore);  // "1.234,50"; 0 gives ""
// Empty text: 0; a text that is no number: -1.
double TestoInNumero(const std::string& testo);
// A number as the exchange files write it: every "." is a thousands
// separator and dropped, "," is the decimal separator ("12.5" reads 125,
// "12,5" twelve and a half). A text that is no number, the empty text
// included, gives -1.
double LeggiNumero(const std::string& testo);
// Empty text: 0 (no date); a text that is no date in the short form: -1.
double TestoInData(const std::string& testo);
bool DataValida(double data);
// Whether the text reads as a date in the short form. Unlike
// DataValida(TestoInData(testo)) it takes 29/12/1899 and 30/12/1899 too.
bool TestoEUnaData(const std::string& testo);
// Half away from zero, with the small bias the stored prices were made with.
double ArrotondaDecimali(int decimali, double valore);

// ---- folders
// Creates the folder with its missing parents; throws ErroreIO on failure.
void CreaCartella(const std::string& cartella);

// ---- SQL literals
// A text as it stands between single quotes in a statement: every
// apostrophe doubled, so names such as D'Amico cannot end (or extend) the
// literal.
std::string Apici(const std::string& testo);
// The text between single quotes, its apostrophes doubled.
std::string Letterale(const std::string& testo);
// When LetteraleONull takes a value for none: only the empty text, or also a
// text of nothing but blanks and control characters (a field of a file).
enum class Assente { SeVuoto, SeBianco };
// `seAssente` ("NULL" unless told) for no value, else Letterale.
std::string LetteraleONull(const std::string& testo, Assente quando = Assente::SeVuoto,
                           const char* seAssente = "NULL");
// A number typed with the decimal comma as a statement writes it: every ","
// made ".".
std::string VirgolaInPunto(std::string testo);
// The day in month-day-year order without quotes: month and day of two
// digits, the year of four, `separatore` between them ("03-05-2024"). A
// value outside the years 1 to 9999 gives "00-00-0000".
std::string MeseGiornoAnno(double data, char separatore = '-');
// What MeseGiornoAnno gives for a text that is no date in the short form.
enum class SeNonData { Vuota, Eccezione };
// A date text in the short form as MeseGiornoAnno with "-". A text that is
// no date gives "", which the database then refuses, or throws
// plat::ConvertError.
std::string MeseGiornoAnno(const std::string& testo, SeNonData seNonData);
// MeseGiornoAnno with "-" of a day DataValida accepts; "" for any other
// value, so also for 29/12/1899 and 30/12/1899, the days TestoInData's -1
// and 0 stand for.
std::string MeseGiornoAnnoSeValida(double data);
// 'mm/dd/yyyy' with the current date separator between the parts; '' for a
// value outside the years 1 to 9999.
std::string DataPerSQL(double data);
// Rewrites every quoted day-first date literal of an SQL text month-first.
std::string InvertiDateSQL(const std::string& sql);
// '5/3/2024' gives '3/5/2024'.
std::string InvertiData(const std::string& letterale);

// ---- blanks and delimited fields
std::string TogliSpaziFinali(const std::string& testo);
std::string TogliSpazi(const std::string& testo);
std::string AcapoInSpazi(const std::string& testo);
// The text without blanks and control characters at both ends.
std::string Rifila(const std::string& testo);
std::string_view RifilaVista(std::string_view testo);
// The n-th field (from 1) of `testo` split at `delimitatore`; n 0 or a
// missing field give "". The narrow form removes every blank of the field.
std::string CampoDelimitato(const std::string& testo, int n, const std::string& delimitatore);
std::u16string CampoDelimitatoW(const std::u16string& testo, int n,
                                const std::u16string& delimitatore);
// The n-th field (from 1) of a line split at ";", blanks kept.
std::string CampoW(const std::string& riga, int n);
// Worker of both: modo 1 removes blanks, 0 keeps them.
std::u16string EstraiCampo(const std::u16string& testo, int n, const std::u16string& delimitatore,
                           int modo);

// ---- operators of the INI mode
// Section names of "DUVIDAR\UTENTI.INI" in the host folder.
std::vector<std::string> CaricaElencoUtenti();

}  // namespace velmaro
