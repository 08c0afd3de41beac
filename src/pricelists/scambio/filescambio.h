#pragma once
// The semicolon-separated files of the list exchange: Windows-1252 text
// with CR LF lines, every field followed by ";", a header line first.
// Reading streams the file one line at a time; writing goes to a temporary
// file that replaces the named one only once complete.
#include <fstream>
#include <memory>
#include <stdexcept>
#include <string>
#include <vector>

#include "platform/safefile.h"

namespace velmaro {

// A file that cannot be opened, read, created or written; the text is the
// operator's message.
class ErroreFile : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

// A number as the files write it: every "." is a thousands separator and
// dropped, "," is the decimal separator ("12.5" reads 125, "12,5" twelve
// and a half). A text that is no number, the empty text included, gives -1.
double LeggiNumero(const std::string& testo);
// The same reading; false (and `valore` untouched) when it is no number.
bool LeggiNumero(const std::string& testo, double& valore);

// A date text in the short form as 'MM-DD-YYYY' (without the quotes) for
// the date literals of statements; "" when the text is no date.
std::string ReturnDateSQL(const std::string& testo);
std::string ReturnDateSQL(double data);

// A column's text as it goes into a file: each "'" made "´" and each CR LF
// pair one blank.
std::string TestoPerFile(const std::string& testo);

// The text without blanks and control characters at both ends.
std::string Rifila(const std::string& testo);

// The n-th field (from 1) of a line split at ";", blanks kept.
std::string CampoW(const std::string& riga, int n);

// Reads a file line by line, each line converted to UTF-8. A line ends at
// LF, a CR before it is dropped; a final line break adds no empty line.
class LettoreRighe {
 public:
  // Throws ErroreFile when the file cannot be opened.
  explicit LettoreRighe(const std::string& nomeFile);
  // The next line; false at the end.
  bool Leggi(std::string& riga);
  // Back to the first line.
  void Riavvolgi();
  bool AllaFine();
  // Lines of the file from its start (the header included); leaves the
  // reader at the start.
  int ContaRighe();

 private:
  std::string nome_;
  std::ifstream file_;
  std::string grezza_;
};

// A regular file this machine can read: not a network or drive name.
bool FileDaLeggere(const std::string& nomeFile);

// Writes a file in the exchange layout. Nothing replaces the named file
// until Conferma; a writer dropped before that removes its temporary file.
class ScrittoreCsv {
 public:
  // Throws ErroreFile when the file cannot be created (a network or drive
  // name included).
  explicit ScrittoreCsv(const std::string& nomeFile);

  // One value (UTF-8, written through TestoPerFile) followed by ";".
  void Campo(const std::string& valore);
  // A header written as it stands.
  void Testo(const std::string& testo);
  void FineRiga();
  // Closes the file and puts it in place of the named one.
  void Conferma();

 private:
  std::string nome_;
  plat::SafeFile file_;
  std::string riga_;
};

// One line of the classic net-price layout. The numbers and dates are read
// once, with the line.
class TFileRecord {
 public:
  TFileRecord() { Pulisci(); }
  void Pulisci();
  void LeggiRiga(const std::string& riga);
  // Throws std::runtime_error with the first field message that applies.
  void Valida() const;

  bool Vuoto = true;
  std::string CodiceArticolo, TestoEstensione, TestoPrezzo, TestoDataInizio, TestoDataFine,
      TestoQuantita, TestoProvvigione;

  double Prezzo() const { return prezzo_; }  // -1 when no number
  double Quantita() const { return quantita_; }
  double Provvigione() const { return provvigione_; }
  double DataInizio() const { return dataInizio_; }  // 0 when empty, -1 when no date
  double DataFine() const { return dataFine_; }
  std::string Estensione() const { return TestoEstensione.empty() ? "0" : TestoEstensione; }

 private:
  double prezzo_ = -1, quantita_ = -1, provvigione_ = -1, dataInizio_ = 0, dataFine_ = 0;
};

// A classic file read line after line: the header is line 1.
class TFileDataSet {
 public:
  // Opens the file and reads its header; throws ErroreFile when it cannot.
  explicit TFileDataSet(const std::string& nomeFile);
  void Riavvolgi();
  void Successivo();
  bool Fine();
  const TFileRecord& Record() const { return record_; }
  int NumeroRiga() const { return numeroRiga_; }

 private:
  std::string nomeFile_;
  std::unique_ptr<LettoreRighe> file_;
  TFileRecord record_;
  std::string riga_;
  int numeroRiga_ = 0;
};

}  // namespace velmaro
