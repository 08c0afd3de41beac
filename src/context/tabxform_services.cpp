// Stored values of TABX, generators, the script table and the calls into
// outside libraries offered by the operator context.
#include <memory>
#include <vector>

#include "context/helpers.h"
#include "context/tabxform.h"
#include "context/tabxform_internal.h"
#include "db/database.h"
#include "db/error.h"
#include "db/query.h"
#include "db/sqlstatement.h"
#include "db/transaction.h"
#include "platform/format.h"
#include "platform/library.h"
#include "ui/application.h"

namespace velmaro {

namespace {

// Stored values never hold an apostrophe: readers of TABX compose SQL from
// them, so it is kept as the acute accent (U+00B4).
const char* const kAccentoAcuto = "\xC2\xB4";

std::string SenzaApostrofi(const std::string& testo) {
  std::string out;
  out.reserve(testo.size());
  for (char c : testo) {
    if (c == '\'')
      out += kAccentoAcuto;
    else
      out += c;
  }
  return out;
}

using tabx::ErroreOk;
using tabx::Numero;

// "'value'," or "NULL," as a column of an insert or an update.
std::string ValoreONull(const std::string& valore, const std::string& coda = ",") {
  if (valore.empty()) return "NULL" + coda;
  return "'" + Apici(valore) + "'" + coda;
}

// A date typed in the short form becomes the month-first literal the
// statements use; an empty or invalid date is written as NULL.
std::string DataONull(const std::string& data, const std::string& coda = ",") {
  const double d = TestoInData(data);
  if (!DataValida(d)) return "NULL" + coda;
  return DataPerSQL(d) + coda;
}

void Righe(db::Query& q, std::initializer_list<std::string> righe) {
  q.Close();
  q.SQL.Clear();
  for (const std::string& r : righe) q.SQL.Add(r);
}

}  // namespace

// ---- stored values

void TTabXForm::LeggiValoreTabX(db::Query& query, std::int32_t numUser, const std::string& colonna,
                                const std::string& nome, bool perUtente, std::string& valore) {
  valore.clear();
  Righe(query, {"SELECT " + colonna + " FROM TABX", "WHERE (NOME='" + Apici(nome) + "')"});
  if (perUtente) query.SQL.Add("AND(UTENTE='" + Numero(numUser) + "')");
  query.Open();
  if (!query.IsEmpty()) valore = query.Fields().at(0)->AsString();
  query.Close();
}

void TTabXForm::ScriviValoreTabXSenzaConferma(db::Query& query, std::int32_t numUser,
                                              const std::string& colonna, const std::string& nome,
                                              const std::string& valore, bool perUtente) {
  const std::string testo = SenzaApostrofi(valore);
  const std::string condizione = "WHERE (NOME='" + Apici(nome) + "')";
  const std::string condUtente = "AND(UTENTE='" + Numero(numUser) + "')";
  Righe(query, {"SELECT * FROM TABX", condizione});
  if (perUtente) query.SQL.Add(condUtente);
  query.Open();
  const bool esiste = !query.IsEmpty();
  if (esiste) {
    Righe(query, {"UPDATE TABX SET " + colonna + "='" + testo + "'", condizione});
    if (perUtente) query.SQL.Add(condUtente);
  } else {
    Righe(query, {"INSERT INTO TABX (CODICE,NOME," + colonna + ",UTENTE) VALUES(",
                  "GEN_ID(CODICETABXCOUNTER,1),", "'" + Apici(nome) + "',",
                  valore.empty() ? "NULL," : "'" + testo + "',",
                  perUtente ? "'" + Numero(numUser) + "')" : "NULL)"});
  }
  query.ExecSQL();
}

bool TTabXForm::ScriviValoreTabX(db::Query& query, std::int32_t numUser, const std::string& colonna,
                                 const std::string& nome, const std::string& valore,
                                 bool perUtente) {
  try {
    ScriviValoreTabXSenzaConferma(query, numUser, colonna, nome, valore, perUtente);
    query.GetTransaction()->CommitRetaining();
  } catch (const db::DbError&) {
    return false;
  }
  return true;
}

void TTabXForm::ValoreTabX(const std::string& nome, bool perUtente, std::string& valore) {
  db::Query query(IBDatabase1, IBTransaction1);
  LeggiValoreTabX(query, GetNumUser(), "TESTO", nome, perUtente, valore);
}

bool TTabXForm::SettaValoreTabX(const std::string& nome, const std::string& valore,
                                bool perUtente) {
  db::Query query(IBDatabase1, IBTransaction1);
  return ScriviValoreTabX(query, GetNumUser(), "TESTO", nome, valore, perUtente);
}

void TTabXForm::ValoreMTabX(const std::string& nome, bool perUtente, std::string& valore) {
  db::Query query(IBDatabase1, IBTransaction1);
  LeggiValoreTabX(query, GetNumUser(), "MEMO", nome, perUtente, valore);
}

bool TTabXForm::SettaValoreMTabX(const std::string& nome, const std::string& valore,
                                 bool perUtente) {
  db::Query query(IBDatabase1, IBTransaction1);
  return ScriviValoreTabX(query, GetNumUser(), "MEMO", nome, valore, perUtente);
}

void TTabXForm::ValoreTabXUserCheckGen(const std::string& nome, std::string& valore) {
  valore.clear();
  db::SqlStatement s(IBDatabase1, IBTransaction1);
  s.SQL = {"SELECT", "  TESTO",
           "FROM",   "  TABX",
           "WHERE",  "  NOME='" + Apici(nome) + "'",
           "  AND",  "  UTENTE=" + Numero(GetNumUser())};
  s.ExecQuery();
  if (!s.Eof()) {
    valore = s.FieldByName("TESTO").AsString();
    return;
  }
  s.Close();
  s.SQL[s.SQL.Count() - 1] = "  UTENTE IS NULL";
  s.ExecQuery();
  if (!s.Eof()) valore = s.FieldByName("TESTO").AsString();
  s.Close();
  s.SQL = {"INSERT INTO TABX(",
           "CODICE,",
           "NOME,",
           "TESTO,",
           "UTENTE",
           ")",
           "VALUES(",
           "GEN_ID(CODICETABXCOUNTER,1),",
           "'" + Apici(nome) + "',",
           valore.empty() ? "NULL," : "'" + SenzaApostrofi(valore) + "',",
           Numero(GetNumUser()),
           ")"};
  s.ExecQuery();
  s.Close();
  IBTransaction1->CommitRetaining();
}

void TTabXForm::ValoreGeneratore(const std::string& generatore, std::string& valore) {
  db::SqlStatement s(IBDatabase1, IBTransaction1);
  s.SQL = {"SELECT", "  GEN_ID(" + generatore + ",1) AS VALORE", "FROM", "  RDB$DATABASE"};
  s.ExecQuery();
  valore = s.FieldByName("VALORE").AsString();
  s.Close();
}

// ---- parameters keyed by project and situation

namespace {

std::vector<std::string> CondizioneParametro(std::int32_t progetto, std::int32_t situazione,
                                             const std::string& nome, std::int32_t numUser) {
  return {"(CODPROGETTO='" + Numero(progetto) + "')AND",
          "(CODSITUAZIONE='" + Numero(situazione) + "')AND", "(NOME='" + Apici(nome) + "')AND",
          "(UTENTE='" + Numero(numUser) + "')"};
}

}  // namespace

bool TTabXForm::VerificaEsistenzaInTabX(std::int32_t progetto, std::int32_t situazione,
                                        const std::string& nome) {
  db::Query query(IBDatabase1, IBTransaction1);
  query.SQL.Add("SELECT * FROM TABX WHERE ");
  for (const auto& r : CondizioneParametro(progetto, situazione, nome, GetNumUser()))
    query.SQL.Add(r);
  query.Open();
  return !query.IsEmpty();
}

void TTabXForm::CaricaParametroDaTabX(std::int32_t progetto, std::int32_t situazione,
                                      const std::string& nome) {
  if (!VerificaEsistenzaInTabX(progetto, situazione, nome)) return;
  db::Query query(IBDatabase1, IBTransaction1);
  query.SQL.Add("SELECT * FROM TABX WHERE");
  for (const auto& r : CondizioneParametro(progetto, situazione, nome, GetNumUser()))
    query.SQL.Add(r);
  query.Open();
  if (query.IsEmpty()) return;
  SetV(nome, query.FieldByName("TESTO").AsString());
  SetM(nome, query.FieldByName("MEMO").AsString());
}

void TTabXForm::ScriviParametroInTabX(std::int32_t progetto, std::int32_t situazione,
                                      const std::string& nome, const std::string& numero,
                                      const std::string& testo, const std::string& data,
                                      const std::string& memo) {
  if (!VerificaEsistenzaInTabX(progetto, situazione, nome)) return;
  try {
    db::Query query(IBDatabase1, IBTransaction1);
    query.SQL = {"UPDATE TABX SET", "NUMERO=" + ValoreONull(numero), "TESTO=" + ValoreONull(testo),
                 "DATA=" + DataONull(data), "MEMO=" + ValoreONull(memo, "")};
    std::vector<std::string> condizione =
        CondizioneParametro(progetto, situazione, nome, GetNumUser());
    condizione.front() = "WHERE " + condizione.front();
    for (const auto& r : condizione) query.SQL.Add(r);
    query.ExecSQL();
    IBTransaction1->CommitRetaining();
  } catch (const db::DbError&) {
    ErroreOk("Errore interno di UPDATE: impossibile settare il parametro " + nome);
  }
}

void TTabXForm::AggiungiParametroInTabX(std::int32_t progetto, std::int32_t situazione,
                                        const std::string& nome, const std::string& numero,
                                        const std::string& testo, const std::string& data,
                                        const std::string& memo, const std::string& livello1,
                                        const std::string& livello2) {
  if (VerificaEsistenzaInTabX(progetto, situazione, nome)) return;
  try {
    db::Query query(IBDatabase1, IBTransaction1);
    query.SQL = {"INSERT INTO TABX VALUES(",
                 "GEN_ID(CODICETABXCOUNTER,1),",
                 "'" + Numero(progetto) + "',",
                 "'" + Numero(situazione) + "',",
                 "'TBX',",
                 "'" + Apici(nome) + "',",
                 ValoreONull(numero),
                 ValoreONull(testo),
                 DataONull(data),
                 ValoreONull(memo),
                 ValoreONull(livello1),
                 ValoreONull(livello2),
                 "'" + Numero(GetNumUser()) + "')"};
    query.ExecSQL();
    IBTransaction1->CommitRetaining();
  } catch (const db::DbError&) {
    ErroreOk("Errore interno di INSERT: impossibile aggiungere il parametro " + nome);
  }
}

// ---- generators

namespace {

std::int64_t ProssimoDelGeneratore(db::Database* database, db::Transaction* transazione,
                                   const std::string& generatore) {
  db::Query query(database, transazione);
  query.SQL.Add("SELECT GEN_ID(" + generatore + ",1) FROM RDB$DATABASE;");
  query.Open();
  return query.Fields().at(0)->AsLargeInt();
}

}  // namespace

void TTabXForm::NuovoIntSuGeneratore(db::Query& dataSet, const std::string& generatore) {
  const std::int64_t valore = ProssimoDelGeneratore(IBDatabase1, IBTransaction1, generatore);
  dataSet.Append();
  dataSet.Fields().at(0)->SetAsLargeInt(valore);
}

void TTabXForm::NuovoIntSuGenSQL(const std::string& generatore, const std::string& testaInsert,
                                 const std::string& codaValori) {
  const std::string valore = Numero(ProssimoDelGeneratore(IBDatabase1, IBTransaction1, generatore));
  db::Query query(IBDatabase1, IBTransaction1);
  query.SQL.Add("INSERT " + testaInsert);
  query.SQL.Add("VALUES (" + valore + codaValori);
  query.ExecSQL();
  IBTransaction1->CommitRetaining();
}

void TTabXForm::CreaGeneratore(const std::string& generatore) {
  db::Query query(IBDatabase1, IBTransaction1);
  query.SQL.Add("CREATE GENERATOR " + generatore);
  query.ExecSQL();
  IBTransaction1->CommitRetaining();
}

void TTabXForm::SetGeneratore(const std::string& generatore, std::int64_t valore) {
  db::Query query(IBDatabase1, IBTransaction1);
  query.SQL.Add("SET GENERATOR " + generatore + " TO " + Numero(valore));
  query.ExecSQL();
  IBTransaction1->CommitRetaining();
}

bool TTabXForm::CheckGeneratore(const std::string& generatore) {
  db::Query query(IBDatabase1, IBTransaction1);
  query.SQL = {"SELECT RDB$GENERATOR_NAME", "FROM RDB$GENERATORS",
               "WHERE RDB$GENERATOR_NAME='" + Apici(generatore) + "'"};
  query.Open();
  return !query.IsEmpty();
}

// ---- the script table of the user database

void TTabXForm::IniScriptForm(const std::string& progetto, const std::string& scriptForm,
                              const std::string& contesto, const std::string& script,
                              const std::string& forza) {
  const std::string oggi = DataPerSQL(plat::Date());
  const std::vector<std::string> chiave = {"WHERE (PROGETTO='" + Apici(progetto) + "')AND",
                                           "(SCRIPTFORM='" + Apici(scriptForm) + "')AND",
                                           "(CONTESTO='" + Apici(contesto) + "')AND",
                                           "(UTENTE='" + Numero(GetNumUser()) + "');"};
  db::Query query(IBDatabaseUser, TransazioneUser);
  query.SQL.Add("SELECT * FROM TABSCRIPT");
  for (const auto& r : chiave) query.SQL.Add(r);
  query.Open();
  if (query.IsEmpty()) {
    Righe(query,
          {"INSERT INTO TABSCRIPT", "VALUES ('" + Apici(progetto) + "','" + Apici(scriptForm) +
                                        "','" + Apici(contesto) + "','" + Numero(GetNumUser()) +
                                        "',NULL,'" + Apici(script) + "',NULL," + oggi + ",NULL)"});
    query.ExecSQL();
  } else if (query.FieldByName("SCRIPT").AsString().empty() || forza == "1") {
    // Only the operator's own row: the other forms' scripts stay as they are.
    Righe(query, {"UPDATE TABSCRIPT", "SET SCRIPT='" + Apici(script) + "',",
                  "DATAULTIMAMODIFICA=" + oggi});
    for (const auto& r : chiave) query.SQL.Add(r);
    query.ExecSQL();
  }
  TransazioneUser->Commit();
}

// ---- outside libraries

void TTabXForm::LanciaStampaConDll(db::DataSet& dataSet, const std::string& titolo,
                                   const std::string& nomeReport) {
  using Stampa = void (*)(db::DataSet*, TTabXForm**);
  plat::Library pelk = plat::Library::Load("Pelk.dll");
  const char* funzione =
      std::string(dataSet.ClassName()) == "TIBQuery" ? "ShowPelk11FormD" : "ShowPelk11MemFormD";
  Stampa stampa = pelk.Function<Stampa>(funzione);
  if (!stampa) {
    ErroreOk("Errore nell'accesso alla DLL Pelk delle stampe");
    return;
  }
  SetV("TitoloStampa", titolo);
  SetV("NomeReport", nomeReport);
  TTabXForm* riferimento = this;
  stampa(&dataSet, &riferimento);
}

void TTabXForm::AvviaFunzXDll(const std::string& libreria, const std::string& funzione,
                              std::int32_t argomento) {
  using Funzione = void (*)(std::int32_t);
  // What the function opens may outlive the call, so its library stays
  // loaded for the rest of the process.
  static std::vector<std::unique_ptr<plat::Library>> caricate;
  auto lib = std::make_unique<plat::Library>(plat::Library::Load(libreria));
  Funzione f = lib->Function<Funzione>(funzione);
  if (!f) return;
  caricate.push_back(std::move(lib));
  f(argomento);
}

}  // namespace velmaro
