#pragma once
// Local work tables of the query tool. There is no desktop database engine
// here: a table is its ".DB" file (with companion files of the same base
// name) in a folder, "open exclusively" is an exclusive lock on that file,
// emptying truncates it, deleting removes its files. File names are found
// ignoring case, as on the file system the tables came from.
#include <stdexcept>
#include <string>

namespace velmaro {

class ErroreTabellaParadox : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

class TabellaParadox {
 public:
  TabellaParadox() = default;
  TabellaParadox(std::string cartella, std::string nome);
  ~TabellaParadox();
  TabellaParadox(const TabellaParadox&) = delete;
  TabellaParadox& operator=(const TabellaParadox&) = delete;

  std::string DatabaseName;  // folder of the table
  std::string TableName;     // file name, usually with ".DB"
  bool Exclusive = false;    // takes effect at the next Open

  // The table's file; ".DB" is added to a name without extension.
  std::string PercorsoFile() const;
  bool Exists() const;
  bool Active() const { return fd_ >= 0; }

  // Throws ErroreTabellaParadox when the file is missing or in use
  // (exclusively by anyone, or at all when opening exclusively).
  void Open();
  void Close();
  // Needs the table open exclusively, or closed and free.
  void EmptyTable();
  // Closes the table and deletes its files; false when none was there.
  bool DeleteTable();

 private:
  int fd_ = -1;
};

// "Non Esiste", "Esiste Libera" or "Esiste Occupata"; a table in use is
// renamed to the next free numbered name (see ProssimoNomeTabella). An
// existing table ends open exclusively and emptied.
void StatoTabellaParadox(TabellaParadox& tabella, std::string& stato);
// tmpqry.db gives TMPQR01.DB, TMPQR01.DB gives TMPQR02.DB.
std::string ProssimoNomeTabella(const std::string& nome);
// Unless the table's name is `nomeDaTenere`, closes it and deletes its files.
void EliminaTabellaTemp(TabellaParadox& tabella, const std::string& nomeDaTenere);

}  // namespace velmaro
