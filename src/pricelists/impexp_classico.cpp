#include "pricelists/impexp_classico.h"

#include <cmath>
#include <exception>
#include <stdexcept>

#include "context/helpers.h"
#include "db/sqlstatement.h"
#include "pricelists/impexp_file.h"
#include "platform/format.h"
#include "ui/extctrls.h"
#include "ui/strings.h"

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

int Percentuale(long long fatti, long long totale) {
  if (totale <= 0) return 100;
  return static_cast<int>(std::lround(100.0 * static_cast<double>(fatti) / static_cast<double>(totale)));
}

TImportClassico::TImportClassico(ui::Component*) {}
TImportClassico::~TImportClassico() = default;

db::SqlStatement& TImportClassico::Prepara(std::unique_ptr<db::SqlStatement>& stmt,
                                           const std::vector<std::string>& righe) {
  if (!stmt) {
    auto s = std::make_unique<db::SqlStatement>(Database, Transazione);
    for (const std::string& r : righe) s->SQL.Add(r);
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

bool TImportClassico::Verifica() {
  visti_.clear();
  chiaviSovrapposte_.clear();
  sovrapposte_.clear();
  righeContate_ = 0;
  bool riuscita = true;
  TFileDataSet file(NomeFile);
  while (!file.Fine()) {
    file.Successivo();
    if (file.Record().Vuoto) continue;
    try {
      VerificaRecord(file.Record());
    } catch (const std::exception& e) {
      Scrivi(RigaDi(file.NumeroRiga()) + e.what());
      riuscita = false;
    }
  }
  return riuscita;
}

void TImportClassico::VerificaRecord(const TFileRecord& r) {
  r.Valida();
  ++righeContate_;
  const std::string id = std::to_string(IDListino);
  const std::string estensione = r.Estensione();
  const double inizio = r.DataInizio();

  db::SqlStatement& successive = Prepara(
      contaSuccessive_, {"SELECT", "  COUNT(*) AS TOT", "FROM", "  LISTSCDTNET", "WHERE",
                         "  IDLISTSC=" + id, "  AND", "  CODICEARTICOLO=:CODICEARTICOLO", "  AND",
                         "  ESTCODICE=:ESTCODICE", "  AND",
                         "  DATAINIZIOVALIDITA>=:DATAINIZIOVALIDITA"});
  successive.ParamByName("CODICEARTICOLO").SetAsString(r.CodiceArticolo);
  successive.ParamByName("ESTCODICE").SetAsString(estensione);
  successive.ParamByName("DATAINIZIOVALIDITA").SetAsDate(inizio);
  successive.ExecQuery();
  const bool giaPiuRecente = successive.Fields(0).AsInt64() >= 1;
  successive.Close();
  if (giaPiuRecente)
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

  if (chiaviSovrapposte_.count(chiave)) return;
  db::SqlStatement& aperte = Prepara(
      contaAperte_, {"SELECT", "  COUNT(*) AS TOT", "FROM", "  LISTSCDTNET", "WHERE",
                     "  IDLISTSC=" + id, "  AND", "  CODICEARTICOLO=:CODICEARTICOLO", "  AND",
                     "  ESTCODICE=:ESTCODICE", "  AND",
                     "  (DATAFINEVALIDITA IS NULL OR DATAFINEVALIDITA>:DATAFINEVALIDITA)"});
  aperte.ParamByName("CODICEARTICOLO").SetAsString(r.CodiceArticolo);
  aperte.ParamByName("ESTCODICE").SetAsString(estensione);
  aperte.ParamByName("DATAFINEVALIDITA").SetAsDate(inizio - 1);
  aperte.ExecQuery();
  const bool sovrapposta = aperte.Fields(0).AsInt64() > 0;
  aperte.Close();
  if (!sovrapposta) return;
  chiaviSovrapposte_.insert(chiave);
  sovrapposte_.push_back({r.CodiceArticolo, estensione, inizio});
}

bool TImportClassico::CessaValidita() {
  ultimoProgresso_ = -1;
  Avanza(0, 1);
  const std::string id = std::to_string(IDListino);
  const long long totale = static_cast<long long>(sovrapposte_.size());
  for (long long i = 0; i < totale; ++i) {
    const Voce& v = sovrapposte_[static_cast<size_t>(i)];
    Avanza(i + 1, totale);
    try {
      db::SqlStatement& chiudi = Prepara(
          chiudi_, {"UPDATE LISTSCDTNET SET", "DATAFINEVALIDITA=:DATAFINEVALIDITA", "WHERE",
                    "  IDLISTSC=" + id, "  AND", "  CODICEARTICOLO=:CODICEARTICOLO", "  AND",
                    "  ESTCODICE=:ESTCODICE", "  AND",
                    "  (DATAFINEVALIDITA IS NULL OR DATAFINEVALIDITA>:DATAFINEVALIDITA)"});
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
  const std::string id = std::to_string(IDListino);
  TFileDataSet file(NomeFile);
  long long fatti = 0;
  while (!file.Fine()) {
    file.Successivo();
    const TFileRecord& r = file.Record();
    if (r.Vuoto) continue;
    Avanza(++fatti, righeContate_);
    try {
      db::SqlStatement& ins = Prepara(
          inserisci_, {"INSERT INTO LISTSCDTNET(", "IDLISTSC,", "CODICEARTICOLO,", "ESTCODICE,",
                       "PREZZO,", "DATAINIZIOVALIDITA,", "DATAFINEVALIDITA,",
                       "QUANTITASCAGLIONE,", "PROVVIGIONE", ")", "VALUES(", id + ",",
                       ":CODICEARTICOLO,", ":ESTCODICE,", ":PREZZO,", ":DATAINIZIOVALIDITA,",
                       ":DATAFINEVALIDITA,", ":QUANTITASCAGLIONE,", ":PROVVIGIONE", ")"});
      ins.ParamByName("CODICEARTICOLO").SetAsString(r.CodiceArticolo);
      ins.ParamByName("ESTCODICE").SetAsString(r.Estensione());
      ins.ParamByName("PREZZO").SetAsFloat(r.Prezzo());
      ins.ParamByName("DATAINIZIOVALIDITA").SetAsDate(r.DataInizio());
      db::Param& fine = ins.ParamByName("DATAFINEVALIDITA");
      if (DataValida(r.DataFine())) fine.SetAsDate(r.DataFine());
      else fine.Clear();
      // An empty tier is stored as 0, "no tier" to every reader of the table.
      const double quantita = r.TestoQuantita.empty() ? 0 : r.Quantita();
      ins.ParamByName("QUANTITASCAGLIONE").SetAsFloat(quantita);
      db::Param& provvigione = ins.ParamByName("PROVVIGIONE");
      if (r.Provvigione() == -1) provvigione.Clear();
      else provvigione.SetAsFloat(r.Provvigione());
      ins.ExecQuery();
      ++inseriti_;
    } catch (const std::exception& e) {
      ++falliti_;
      Scrivi(RigaDi(file.NumeroRiga()) +
             "Errore durante l'importazione per articolo " +
             Coppia(r.CodiceArticolo, r.Estensione()));
      Scrivi(e.what());
    }
  }
}

void TImportClassico::Conferma() { Transazione->CommitRetaining(); }
void TImportClassico::Annulla() { Transazione->RollbackRetaining(); }

}  // namespace velmaro
