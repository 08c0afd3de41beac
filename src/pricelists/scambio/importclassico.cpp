#include "pricelists/scambio/importclassico.h"

#include <cmath>
#include <exception>
#include <stdexcept>

#include "context/dbutility.h"
#include "context/helpers.h"
#include "db/sqlstatement.h"
#include "platform/format.h"
#include "pricelists/scambio/filedataset.h"
#include "ui/extctrls.h"
#include "ui/strings.h"
#include "ui/utf8.h"

namespace velmaro {
namespace {

std::string Chiave(const std::string& articolo, const std::string& estensione) {
  std::string k = articolo;
  k += '\0';
  return k + estensione;
}

// The article and the extension as the messages quote them.
std::string Coppia(const std::string& articolo, const std::string& estensione) {
  return "\"" + articolo + "\" estensione \"" + estensione + "\"";
}

std::string RigaDi(int numero) { return "Riga " + std::to_string(numero) + ": "; }

}  // namespace

std::vector<std::string> TImportClassico::TestoConta(int idListino, const std::string& condizione) {
  return {"SELECT", "  COUNT(*) AS TOT",
          "FROM",   "  LISTSCDTNET",
          "WHERE",  "  IDLISTSC=" + std::to_string(idListino),
          "  AND",  "  CODICEARTICOLO=:CODICEARTICOLO",
          "  AND",  "  ESTCODICE=:ESTCODICE",
          "  AND",  condizione};
}

std::vector<std::string> TImportClassico::TestoChiudi(int idListino) {
  return {"UPDATE LISTSCDTNET SET",
          "DATAFINEVALIDITA=:DATAFINEVALIDITA",
          "WHERE",
          "  IDLISTSC=" + std::to_string(idListino),
          "  AND",
          "  CODICEARTICOLO=:CODICEARTICOLO",
          "  AND",
          "  ESTCODICE=:ESTCODICE",
          "  AND",
          "  (DATAFINEVALIDITA IS NULL OR DATAFINEVALIDITA>:DATAFINEVALIDITA)"};
}

std::vector<std::string> TImportClassico::TestoInserisci(int idListino) {
  return {"INSERT INTO LISTSCDTNET(",
          "IDLISTSC,",
          "CODICEARTICOLO,",
          "ESTCODICE,",
          "PREZZO,",
          "DATAINIZIOVALIDITA,",
          "DATAFINEVALIDITA,",
          "QUANTITASCAGLIONE,",
          "PROVVIGIONE",
          ")",
          "VALUES(",
          std::to_string(idListino) + ",",
          ":CODICEARTICOLO,",
          ":ESTCODICE,",
          ":PREZZO,",
          ":DATAINIZIOVALIDITA,",
          ":DATAFINEVALIDITA,",
          ":QUANTITASCAGLIONE,",
          ":PROVVIGIONE",
          ")"};
}

int Percentuale(long long fatti, long long totale) {
  if (totale <= 0) return 100;
  return static_cast<int>(
      std::lround(100.0 * static_cast<double>(fatti) / static_cast<double>(totale)));
}

TImportClassico::TImportClassico(ui::Component*) {}
TImportClassico::~TImportClassico() = default;

template <class F>
db::SqlStatement& TImportClassico::Prepara(std::unique_ptr<db::SqlStatement>& stmt, F righe) {
  if (!stmt) {
    auto s = std::make_unique<db::SqlStatement>(Database, Transazione);
    for (const std::string& r : righe()) s->SQL.Add(r);
    s->Prepare();
    stmt = std::move(s);
  }
  return *stmt;
}

void TImportClassico::Scrivi(const std::string& riga) {
  if (Log) Log->Add(riga);
}

void TImportClassico::Avanza(long long fatti, long long totale) {
  const int p = Percentuale(fatti, totale);
  if (p == ultimoProgresso_ || !Progresso) return;
  ultimoProgresso_ = p;
  Progresso->SetPosition(p);
}

TFileDataSet& TImportClassico::Apri() {
  if (file_)
    file_->Riavvolgi();
  else
    file_ = std::make_unique<TFileDataSet>(NomeFile);
  return *file_;
}

LettoreRighe& TImportClassico::File() {
  if (!file_) file_ = std::make_unique<TFileDataSet>(NomeFile);
  return file_->File();
}

bool TImportClassico::Verifica() {
  visti_.clear();
  righeViste_.clear();
  chiaviSovrapposte_.clear();
  sovrapposte_.clear();
  righeContate_ = 0;
  bool riuscita = true;
  TFileDataSet& file = Apri();
  file.File().SegnaStato();
  // The sizes and ranges the host's database gives the columns, so that a
  // line the insert would refuse is refused here, before anything is written.
  colonne_ = TableColumns("LISTSCDTNET", *Database, *Transazione);
  while (!file.Fine()) {
    file.Successivo();
    if (file.Record().Vuoto) continue;
    try {
      VerificaRecord(file.Record(), file.NumeroRiga());
    } catch (const std::exception& e) {
      Scrivi(RigaDi(file.NumeroRiga()) + e.what());
      riuscita = false;
    }
  }
  return riuscita;
}

ColumnInfo TImportClassico::Colonna(const char* nome) const {
  const auto c = colonne_.find(nome);
  return c == colonne_.end() ? ColumnInfo{} : c->second;
}

// The tier as the column stores it (an empty one is stored as 0): two
// lines whose tiers differ only beyond the column's scale give one row.
std::string TImportClassico::ChiaveQuantita(const TFileRecord& r) const {
  const double quantita = r.TestoQuantita.empty() ? 0 : r.Quantita();
  const ColumnInfo c = Colonna("QUANTITASCAGLIONE");
  if (c.Largest().empty()) return std::to_string(quantita);
  return std::to_string(std::llround(quantita * std::pow(10.0, -c.scale)));
}

// A text longer than its column, or a number out of its column's range.
void TImportClassico::VerificaColonne(const TFileRecord& r) const {
  const auto testo = [&](const char* nome, const std::string& valore, const std::string& campo) {
    const int massimo = Colonna(nome).characters;
    if (massimo > 0 && ui::utf8::Length(valore) > massimo)
      throw std::runtime_error(campo + " di " + std::to_string(massimo) + " caratteri");
  };
  testo("CODICEARTICOLO", r.CodiceArticolo, "Codice articolo più lungo");
  testo("ESTCODICE", r.Estensione(), "Estensione più lunga");
  const auto numero = [&](const char* nome, double valore, const char* campo) {
    const ColumnInfo c = Colonna(nome);
    if (c.Holds(valore)) return;
    const std::string massimo = c.Largest();
    throw std::runtime_error(std::string(campo) + " fuori dai limiti ammessi" +
                             (massimo.empty() ? "" : " (da -" + massimo + " a " + massimo + ")"));
  };
  numero("PREZZO", r.Prezzo(), "Prezzo");
  if (!r.TestoQuantita.empty()) numero("QUANTITASCAGLIONE", r.Quantita(), "Quantità scaglione");
  if (!r.TestoProvvigione.empty()) numero("PROVVIGIONE", r.Provvigione(), "Provvigione");
}

void TImportClassico::VerificaRecord(const TFileRecord& r, int numeroRiga) {
  r.Valida();
  ++righeContate_;
  VerificaColonne(r);
  const std::string estensione = r.Estensione();
  const double inizio = r.DataInizio();
  if (Conta(contaSuccessive_, "  DATAINIZIOVALIDITA>=:DATAINIZIOVALIDITA", "DATAINIZIOVALIDITA",
            r.CodiceArticolo, estensione, inizio) >= 1)
    throw std::runtime_error("Data inizio validità non valida per l'articolo " +
                             Coppia(r.CodiceArticolo, estensione));

  const std::string chiave = Chiave(r.CodiceArticolo, estensione);
  auto visto = visti_.find(chiave);
  if (visto != visti_.end()) {
    // Tiers of one article share their start date.
    if (std::floor(visto->second) != std::floor(inizio))
      throw std::runtime_error("Articolo " + Coppia(r.CodiceArticolo, estensione) +
                               " ricorrente più volte ma con date inizio validità differenti");
  } else {
    visti_.emplace(chiave, inizio);
  }
  // A row of the list is its article, extension, start date and tier: a
  // second line with all four would store the same row twice.
  const auto riga = righeViste_.emplace(chiave + '\0' + ChiaveQuantita(r), numeroRiga);
  if (!riga.second)
    throw std::runtime_error(
        "Articolo " + Coppia(r.CodiceArticolo, estensione) +
        " con la stessa data inizio validità e quantità scaglione della riga " +
        std::to_string(riga.first->second));

  if (chiaviSovrapposte_.count(chiave)) return;
  if (Conta(contaAperte_, "  (DATAFINEVALIDITA IS NULL OR DATAFINEVALIDITA>:DATAFINEVALIDITA)",
            "DATAFINEVALIDITA", r.CodiceArticolo, estensione, inizio - 1) == 0)
    return;
  chiaviSovrapposte_.insert(chiave);
  sovrapposte_.push_back({r.CodiceArticolo, estensione, inizio});
}

long long TImportClassico::Conta(std::unique_ptr<db::SqlStatement>& stmt,
                                 const std::string& condizione, const std::string& parametro,
                                 const std::string& articolo, const std::string& estensione,
                                 double data) {
  db::SqlStatement& conta = Prepara(stmt, [&] { return TestoConta(IDListino, condizione); });
  conta.ParamByName("CODICEARTICOLO").SetAsString(articolo);
  conta.ParamByName("ESTCODICE").SetAsString(estensione);
  conta.ParamByName(parametro).SetAsDate(data);
  conta.ExecQuery();
  const long long n = conta.Fields(0).AsInt64();
  conta.Close();
  return n;
}

bool TImportClassico::CessaValidita() {
  ultimoProgresso_ = -1;
  Avanza(0, 1);
  const long long totale = static_cast<long long>(sovrapposte_.size());
  for (long long i = 0; i < totale; ++i) {
    const Voce& v = sovrapposte_[static_cast<size_t>(i)];
    Avanza(i + 1, totale);
    try {
      db::SqlStatement& chiudi = Prepara(chiudi_, [this] { return TestoChiudi(IDListino); });
      chiudi.ParamByName("DATAFINEVALIDITA").SetAsDate(v.DataInizio - 1);
      chiudi.ParamByName("CODICEARTICOLO").SetAsString(v.Articolo);
      chiudi.ParamByName("ESTCODICE").SetAsString(v.Estensione);
      chiudi.ExecQuery();
    } catch (const std::exception&) {
      Scrivi("Errore durante l'aggiornamento listini relativi all'articolo " +
             Coppia(v.Articolo, v.Estensione));
      return false;
    }
  }
  return true;
}

void TImportClassico::Importa() {
  inseriti_ = falliti_ = 0;
  ultimoProgresso_ = -1;
  Avanza(0, 1);
  TFileDataSet& file = Apri();
  long long fatti = 0;
  while (!file.Fine()) {
    file.Successivo();
    const TFileRecord& r = file.Record();
    if (r.Vuoto) continue;
    Avanza(++fatti, righeContate_);
    try {
      db::SqlStatement& ins = Prepara(inserisci_, [this] { return TestoInserisci(IDListino); });
      ins.ParamByName("CODICEARTICOLO").SetAsString(r.CodiceArticolo);
      ins.ParamByName("ESTCODICE").SetAsString(r.Estensione());
      ins.ParamByName("PREZZO").SetAsFloat(r.Prezzo());
      ins.ParamByName("DATAINIZIOVALIDITA").SetAsDate(r.DataInizio());
      db::Param& fine = ins.ParamByName("DATAFINEVALIDITA");
      if (DataValida(r.DataFine()))
        fine.SetAsDate(r.DataFine());
      else
        fine.Clear();
      // An empty tier is stored as 0, "no tier" to every reader of the table.
      const double quantita = r.TestoQuantita.empty() ? 0 : r.Quantita();
      ins.ParamByName("QUANTITASCAGLIONE").SetAsFloat(quantita);
      db::Param& provvigione = ins.ParamByName("PROVVIGIONE");
      if (r.Provvigione() == -1)
        provvigione.Clear();
      else
        provvigione.SetAsFloat(r.Provvigione());
      ins.ExecQuery();
      ++inseriti_;
    } catch (const std::exception& e) {
      ++falliti_;
      Scrivi(RigaDi(file.NumeroRiga()) + "Errore durante l'importazione per articolo " +
             Coppia(r.CodiceArticolo, r.Estensione()));
      Scrivi(e.what());
    }
  }
}

}  // namespace velmaro
