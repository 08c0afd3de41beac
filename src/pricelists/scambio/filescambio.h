#pragma once
// The semicolon-separated files of the list exchange: Windows-1252 text
// with CR LF lines, every field followed by ";", a header line first.
// Reading streams the file one line at a time, every pass on the one open
// file; writing goes to a temporary file that replaces the named one only
// once complete.
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

// Reads a file line by line, each line converted to UTF-8. A line ends at
// LF, a CR before it is dropped; a final line break adds no empty line.
// The file stays open while the reader lives: a file put in its name's
// place meanwhile (an export renames its new file over the name) is not
// read, the bytes opened are.
class LettoreRighe {
 public:
  // Throws ErroreFile when the file cannot be opened.
  explicit LettoreRighe(const std::string& nomeFile);
  ~LettoreRighe();
  LettoreRighe(const LettoreRighe&) = delete;
  LettoreRighe& operator=(const LettoreRighe&) = delete;

  // The next line; false at the end.
  bool Leggi(std::string& riga);
  // Back to the first line.
  void Riavvolgi();
  bool AllaFine();
  // Lines of the file from its start (the header included); leaves the
  // reader at the start.
  int ContaRighe();

  // Takes the size and modification time of the open file: what
  // ControllaInvariato compares with.
  void SegnaStato();
  // Throws ErroreFile ("Errore di lettura del file ...") when the open
  // file's size or modification time differ from those SegnaStato took:
  // the file was written in place since.
  void ControllaInvariato() const;

 private:
  struct Stato {
    long long dimensione = -1, secondi = 0, nanosecondi = 0;
    bool operator==(const Stato&) const = default;
  };
  Stato StatoOra() const;
  // The next line's bytes as they stand in the file, into grezza_.
  bool LeggiGrezza();
  // More bytes into the buffer; false at the end of the file.
  bool Riempi();
  [[noreturn]] void ErroreLettura() const;

  std::string nome_;
  int fd_ = -1;
  std::vector<char> buffer_;
  size_t inizio_ = 0, fine_ = 0;  // the bytes of the buffer not read yet
  std::string grezza_;
  Stato segnato_;
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
