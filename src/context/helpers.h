#pragma once
// Text, number and SQL-date helpers shared by every window: line breaking
// and column alignment for printed text, numbers in the module's Italian
// conventions, rounding, SQL text and date literals, delimited fields and
// blanks.
// They keep no state. Lengths and positions count characters, not bytes,
// so accented letters take one column as they did in the original program.
#include <stdexcept>
#include <string>
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
// Empty text: 0 (no date); a text that is no date in the short form: -1.
double TestoInData(const std::string& testo);
bool DataValida(double data);
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
// 'mm/dd/yyyy' with the current date separator between the parts.
std::string DataPerSQL(double data);
// Rewrites every quoted day-first date literal of an SQL text month-first.
std::string InvertiDateSQL(const std::string& sql);
// '5/3/2024' gives '3/5/2024'.
std::string InvertiData(const std::string& letterale);

// ---- blanks and delimited fields
std::string TogliSpaziFinali(const std::string& testo);
std::string TogliSpazi(const std::string& testo);
std::string AcapoInSpazi(const std::string& testo);
// The n-th field (from 1) of `testo` split at `delimitatore`; n 0 or a
// missing field give "". The narrow form removes every blank of the field.
std::string CampoDelimitato(const std::string& testo, int n, const std::string& delimitatore);
std::u16string CampoDelimitatoW(const std::u16string& testo, int n,
                                const std::u16string& delimitatore);
// Worker of both: modo 1 removes blanks, 0 keeps them.
std::u16string EstraiCampo(const std::u16string& testo, int n, const std::u16string& delimitatore,
                           int modo);

// ---- operators of the INI mode
// Section names of "DUVIDAR\UTENTI.INI" in the host folder.
std::vector<std::string> CaricaElencoUtenti();

}  // namespace velmaro
