#pragma once
// The classic net-price layout of the list exchange read line after line:
// article code, extension, price, start date, end date, tier quantity and
// commission, in that order, after a header line.
#include <memory>
#include <string>

#include "pricelists/scambio/filescambio.h"

namespace velmaro {

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

// A classic file read line after line: the header is line 1. The file is
// opened once: every pass of a data set reads the same open file.
class TFileDataSet {
 public:
  // Opens the file and reads its header; throws ErroreFile when it cannot.
  explicit TFileDataSet(const std::string& nomeFile);
  // Back to the start of the open file, its header read.
  void Riavvolgi();
  void Successivo();
  bool Fine();
  const TFileRecord& Record() const { return record_; }
  int NumeroRiga() const { return numeroRiga_; }
  LettoreRighe& File() { return *file_; }

 private:
  std::string nomeFile_;
  std::unique_ptr<LettoreRighe> file_;
  TFileRecord record_;
  std::string riga_;
  int numeroRiga_ = 0;
};

}  // namespace velmaro
