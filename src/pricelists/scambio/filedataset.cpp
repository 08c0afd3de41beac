#include "pricelists/scambio/filedataset.h"

#include <stdexcept>
#include <string_view>

#include "context/helpers.h"
#include "pricelists/scambio/filescambio.h"

namespace velmaro {

void TFileRecord::Pulisci() {
  Vuoto = true;
  for (std::string* t : {&CodiceArticolo, &TestoEstensione, &TestoPrezzo, &TestoDataInizio,
                         &TestoDataFine, &TestoQuantita, &TestoProvvigione})
    t->clear();
  prezzo_ = quantita_ = provvigione_ = -1;
  dataInizio_ = dataFine_ = 0;
}

void TFileRecord::LeggiRiga(const std::string& riga) {
  Pulisci();
  if (RifilaVista(riga).empty()) return;
  std::string* campi[7] = {&CodiceArticolo, &TestoEstensione, &TestoPrezzo,     &TestoDataInizio,
                           &TestoDataFine,  &TestoQuantita,   &TestoProvvigione};
  std::string_view resto(riga);
  for (size_t i = 0; i < 7 && resto.data() != nullptr; ++i) {
    const size_t fine = resto.find(';');
    campi[i]->assign(RifilaVista(resto.substr(0, fine)));
    if (!campi[i]->empty()) Vuoto = false;
    if (fine == std::string_view::npos) break;
    resto.remove_prefix(fine + 1);
  }
  prezzo_ = LeggiNumero(TestoPrezzo);
  quantita_ = LeggiNumero(TestoQuantita);
  provvigione_ = LeggiNumero(TestoProvvigione);
  dataInizio_ = TestoInData(TestoDataInizio);
  dataFine_ = TestoInData(TestoDataFine);
}

void TFileRecord::Valida() const {
  if (CodiceArticolo.empty()) throw std::runtime_error("Codice articolo non indicato");
  if (Prezzo() == -1) throw std::runtime_error("Prezzo non riconosciuto");
  if (!DataValida(DataInizio()))
    throw std::runtime_error("Data inizio validità non trovata o non riconosciuta");
  if (!TestoDataFine.empty() && DataFine() == -1)
    throw std::runtime_error("Data fine validità non riconosciuta");
  if (!TestoQuantita.empty() && Quantita() == -1)
    throw std::runtime_error("Quantità scaglione non riconosciuta");
  if (!TestoProvvigione.empty() && Provvigione() == -1)
    throw std::runtime_error("Provvigione non riconosciuta");
}

TFileDataSet::TFileDataSet(const std::string& nomeFile) : nomeFile_(nomeFile) { Riavvolgi(); }

void TFileDataSet::Riavvolgi() {
  if (!file_) file_ = std::make_unique<LettoreRighe>(nomeFile_);
  file_->Riavvolgi();
  numeroRiga_ = 0;
  record_.Pulisci();
  // The header: read, counted, never interpreted.
  if (file_->Leggi(riga_)) numeroRiga_ = 1;
}

void TFileDataSet::Successivo() {
  if (Fine() || !file_->Leggi(riga_)) return;
  ++numeroRiga_;
  record_.LeggiRiga(riga_);
}

bool TFileDataSet::Fine() { return !file_ || file_->AllaFine(); }

}  // namespace velmaro
