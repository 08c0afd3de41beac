#pragma once
// The classic net-price import: a check pass over the whole file before
// anything is written, the closing of the running rows the file overlaps,
// then one insert per line. Both passes over the file read the one file
// opened by the check. Its four statements are prepared once.
#include <map>
#include <memory>
#include <string>
#include <unordered_map>
#include <unordered_set>
#include <vector>

#include "context/dbutility.h"

namespace db {
class Database;
class Transaction;
class SqlStatement;
}  // namespace db

namespace ui {
class Component;
class Strings;
class ProgressBar;
}  // namespace ui

namespace velmaro {

class LettoreRighe;
class TFileDataSet;
class TFileRecord;

class TImportClassico {
 public:
  // An article and extension with the start date of its rows in the file.
  struct Voce {
    std::string Articolo, Estensione;
    double DataInizio = 0;
  };

  explicit TImportClassico(ui::Component* owner = nullptr);
  ~TImportClassico();
  TImportClassico(const TImportClassico&) = delete;
  TImportClassico& operator=(const TImportClassico&) = delete;

  db::Database* Database = nullptr;
  db::Transaction* Transazione = nullptr;
  std::string NomeFile;
  int IDListino = 0;
  ui::Strings* Log = nullptr;
  ui::ProgressBar* Progresso = nullptr;

  // Opens the file (on the first pass; later ones read it again from its
  // start), takes its size and modification time and checks every line;
  // true when none failed. Failures go to the log as "Riga <n>: <message>".
  bool Verifica();
  // Ends the running rows that the file's start dates overlap; true on success.
  bool CessaValidita();
  // Inserts every line of the file the check read; a refused line is
  // logged and counted, the rest go on. What the import writes is
  // committed or rolled back by the hold of the list it runs under.
  void Importa();
  // The file the passes read, opened on first use; the check takes its
  // size and modification time as it begins.
  LettoreRighe& File();

  // The lines of the statements, for the list `idListino`.
  static std::vector<std::string> TestoConta(int idListino, const std::string& condizione);
  static std::vector<std::string> TestoChiudi(int idListino);
  static std::vector<std::string> TestoInserisci(int idListino);

  const std::vector<Voce>& Sovrapposizioni() const { return sovrapposte_; }
  int RigheContate() const { return righeContate_; }
  int Inseriti() const { return inseriti_; }
  int Falliti() const { return falliti_; }

 private:
  void VerificaRecord(const TFileRecord& r, int numeroRiga);
  void VerificaColonne(const TFileRecord& r) const;
  ColumnInfo Colonna(const char* nome) const;
  std::string ChiaveQuantita(const TFileRecord& r) const;
  // Rows of the list for the article and extension that meet `condizione`,
  // whose date parameter `parametro` takes `data`.
  long long Conta(std::unique_ptr<db::SqlStatement>& stmt, const std::string& condizione,
                  const std::string& parametro, const std::string& articolo,
                  const std::string& estensione, double data);
  // Prepares the statement of `righe()` on first use only.
  template <class F>
  db::SqlStatement& Prepara(std::unique_ptr<db::SqlStatement>& stmt, F righe);
  // The file at its first line: opened on first use, rewound after.
  TFileDataSet& Apri();
  void Scrivi(const std::string& riga);
  void Avanza(long long fatti, long long totale);

  std::unordered_map<std::string, double> visti_;  // article + extension: first start date
  // article + extension + tier (one start date each): the line that had it
  std::unordered_map<std::string, int> righeViste_;
  std::map<std::string, ColumnInfo> colonne_;  // LISTSCDTNET's, read by the check
  std::unordered_set<std::string> chiaviSovrapposte_;
  std::vector<Voce> sovrapposte_;
  int righeContate_ = 0, inseriti_ = 0, falliti_ = 0;
  int ultimoProgresso_ = -1;
  std::unique_ptr<db::SqlStatement> contaSuccessive_, contaAperte_, chiudi_, inserisci_;
  std::unique_ptr<TFileDataSet> file_;
};

// Progress in percent of `fatti` out of `totale`; with nothing to do the
// bar goes to its end.
int Percentuale(long long fatti, long long totale);

}  // namespace velmaro
