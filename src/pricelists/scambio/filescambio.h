#pragma once
// The semicolon-separated files of the list exchange: Windows-1252 text
// with CR LF lines, every field followed by ";", a header line first.
// Reading streams the file one line at a time; writing goes to a temporary
// file that replaces the named one only once complete.
#include <fstream>
#include <stdexcept>
#include <string>

#include "platform/safefile.h"

namespace velmaro {

// A file that cannot be opened, read, created or written; the text is the
// operator's message.
class ErroreFile : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

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

  // One value (UTF-8) followed by ";", each "'" made "´" and each CR LF
  // pair one blank.
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

}  // namespace velmaro
