#include "context/dbutility.h"

#include <array>
#include <cmath>
#include <limits>

#include "context/helpers.h"
#include "db/database.h"
#include "db/error.h"
#include "db/params.h"
#include "db/query.h"
#include "db/sqlstatement.h"
#include "db/transaction.h"

namespace velmaro {

namespace {

// Items 1..20 of the client library's transaction parameters, by bit.
constexpr std::array<const char*, 21> kVociTpb = {
    nullptr,          "consistency", "concurrency", "shared",         "protected",
    "exclusive",      "wait",        "nowait",      "read",           "write",
    "lock_read",      "lock_write",  "verb_time",   "commit_time",    "ignore_limbo",
    "read_committed", "autocommit",  "rec_version", "no_rec_version", "restart_requests",
    "no_auto_undo"};

bool ContaMaggioreDiZero(db::SqlStatement& st) {
  st.ExecQuery();
  const bool trovato = !st.Eof() && st.FieldByName("TOT").AsInt64() > 0;
  st.Close();
  return trovato;
}

}  // namespace

void SetTransactionParams(db::Transaction& transaction, std::uint32_t mask) {
  transaction.SetActive(false);
  transaction.Params.clear();
  for (std::size_t bit = 1; bit < kVociTpb.size(); ++bit)
    if (mask & (std::uint32_t{1} << bit))
      transaction.Params.push_back(std::string("isc_tpb_") + kVociTpb[bit]);
}

std::unique_ptr<db::Transaction> CreateTransaction(db::Database& database, std::uint32_t mask) {
  auto tr = std::make_unique<db::Transaction>(&database);
  SetTransactionParams(*tr, mask);
  tr->StartTransaction();
  return tr;
}

std::unique_ptr<db::Transaction> CreateLockTransaction(db::Database& database) {
  return CreateTransaction(database, MascheraLock);
}

void RinnovaTransazione(db::Transaction& t) {
  if (t.InTransaction()) t.Commit();
  t.StartTransaction();
}

EsitoScrittura ScriviRinnovando(db::Transaction& t, const std::function<void()>& scrivi,
                                const std::function<bool()>& rinnova, const PassiScrittura& passi,
                                std::string* errore) {
  const auto annulla = [&] {
    try {
      if (passi.annulla)
        passi.annulla();
      else if (t.InTransaction())
        t.RollbackRetaining();
    } catch (const std::exception&) {
      // A transaction that is gone took its writes with it.
    }
  };
  for (bool rinnovata = false;; rinnovata = true) {
    try {
      scrivi();
      if (passi.conferma)
        passi.conferma();
      else
        t.CommitRetaining();
      return EsitoScrittura::Scritta;
    } catch (const std::exception& e) {
      annulla();
      if (errore) *errore = e.what();
      const auto* motore = dynamic_cast<const db::DbError*>(&e);
      if (!motore || !motore->IsLockConflict()) return EsitoScrittura::Fallita;
      if (rinnovata) return EsitoScrittura::InUso;
    }
    if (!rinnova) {
      RinnovaTransazione(t);
    } else if (!rinnova()) {
      return EsitoScrittura::Rifiutata;
    }
  }
}

void SuVistaNuova(db::Database* database, const std::function<void(db::Transaction&)>& leggi) {
  db::Transaction vista(database);
  vista.StartTransaction();
  leggi(vista);
  vista.Commit();
}

void LeggiSuVistaNuova(db::Database* database, const std::vector<std::string>& sql,
                       const std::function<void(db::Query&)>& leggi) {
  SuVistaNuova(database, [&](db::Transaction& vista) {
    db::Query q(database, &vista);
    q.SQL.Assign(sql);
    q.Open();
    leggi(q);
  });
}

bool TableExists(const std::string& tableName, db::Database& database,
                 db::Transaction& transaction) {
  transaction.EnsureStarted();
  db::SqlStatement st(&database, &transaction);
  st.SQL = {"SELECT", "  COUNT(*) AS TOT",
            "FROM",   "  RDB$RELATIONS",
            "WHERE",  "  RDB$RELATION_NAME='" + Apici(tableName) + "'"};
  return ContaMaggioreDiZero(st);
}

bool GeneratorExists(const std::string& generatorName, db::Database& database,
                     db::Transaction& transaction) {
  transaction.EnsureStarted();
  db::SqlStatement st(&database, &transaction);
  st.SQL = {"SELECT", "  COUNT(*) AS TOT",
            "FROM",   "  RDB$GENERATORS",
            "WHERE",  "  RDB$GENERATOR_NAME='" + Apici(generatorName) + "'"};
  return ContaMaggioreDiZero(st);
}

std::int32_t GetGeneratorValue(const std::string& generatorName, db::Database& database,
                               std::int32_t step) {
  auto tr = CreateTransaction(database, 0);
  std::int32_t valore = 0;
  {
    db::SqlStatement st(&database, tr.get());
    st.SQL = {"SELECT", "  GEN_ID(" + generatorName + "," + std::to_string(step) + ") AS VALORE",
              "FROM", "  RDB$DATABASE"};
    st.ExecQuery();
    valore = st.FieldByName("VALORE").AsInteger();
    st.Close();
  }
  tr->Commit();
  return valore;
}

std::int64_t CountQueryRows(const std::string& queryText, db::Transaction& transaction) {
  db::SqlStatement st(transaction.DefaultDatabase(), &transaction);
  st.SQL = {"SELECT", "  COUNT(*) AS TOT", "FROM", "  (", queryText, "  )"};
  st.ExecQuery();
  const std::int64_t tot = st.FieldByName("TOT").AsInt64();
  st.Close();
  return tot;
}

int FieldTypeToExportType(db::FieldType fieldType) {
  using T = db::FieldType;
  switch (fieldType) {
    case T::Integer:
    case T::AutoInc:
      return 1;
    case T::Largeint:
      return 2;
    case T::Smallint:
      return 3;
    case T::Float:
      return 4;
    case T::Date:
      return 5;
    case T::Time:
      return 6;
    case T::Currency:
      return 7;
    case T::DateTime:
      return 8;
    // CHAR columns are text like VARCHAR ones for the spreadsheet.
    case T::String:
    case T::FixedChar:
      return 9;
    case T::Memo:
    case T::Blob:
      return 12;
    default:
      return 0;
  }
}

namespace {

// The largest integer an exact number column of the type holds; 0 for
// other types.
const char* LargestInteger(int type) {
  switch (type) {
    case 7:
      return "32767";
    case 8:
      return "2147483647";
    case 16:
      return "9223372036854775807";
    default:
      return "";
  }
}

}  // namespace

bool ColumnInfo::Holds(double value) const {
  if (type == 10) return std::abs(value) <= std::numeric_limits<float>::max();
  const std::string largest = LargestInteger(type);
  if (largest.empty()) return true;
  // The engine rounds to the scale, then stores an integer; 2^63, the
  // double nearest the 64-bit limit, is itself out of range.
  const double stored = std::round(std::abs(value) * std::pow(10.0, -scale));
  return type == 16 ? stored < 9223372036854775808.0 : stored <= std::stod(largest);
}

std::string ColumnInfo::Largest() const {
  std::string digits = LargestInteger(type);
  if (digits.empty() || scale >= 0) return digits;
  const size_t decimals = static_cast<size_t>(-scale);
  if (digits.size() <= decimals) digits.insert(0, decimals - digits.size() + 1, '0');
  return digits.insert(digits.size() - decimals, ",");
}

std::map<std::string, ColumnInfo> TableColumns(const std::string& tableName, db::Database& database,
                                               db::Transaction& transaction) {
  transaction.EnsureStarted();
  db::SqlStatement st(&database, &transaction);
  st.SQL = {"SELECT",
            "  TRIM(R.RDB$FIELD_NAME), F.RDB$FIELD_TYPE, F.RDB$FIELD_SCALE,",
            "  F.RDB$CHARACTER_LENGTH",
            "FROM",
            "  RDB$RELATION_FIELDS R",
            "  JOIN RDB$FIELDS F ON F.RDB$FIELD_NAME=R.RDB$FIELD_SOURCE",
            "WHERE",
            "  R.RDB$RELATION_NAME='" + Apici(tableName) + "'"};
  std::map<std::string, ColumnInfo> columns;
  for (st.ExecQuery(); !st.Eof(); st.Next())
    columns[st.Fields(0).AsString()] = {st.Fields(1).AsInteger(), st.Fields(2).AsInteger(),
                                        st.Fields(3).AsInteger()};
  st.Close();
  return columns;
}

// ---------------------------------------------------------------- locker

TDBRecordLocker::TDBRecordLocker(ui::Component* owner) : ui::Component(owner) {}

TDBRecordLocker::~TDBRecordLocker() = default;

void TDBRecordLocker::SetTransaction(db::Transaction* transaction) {
  transaction_ = transaction;
  if (!database_ && transaction_) database_ = transaction_->DefaultDatabase();
}

db::SqlStatement& TDBRecordLocker::LockStatement() {
  if (statement_) return *statement_;
  auto st = std::make_unique<db::SqlStatement>(database_, transaction_);
  st->SQL.Add("UPDATE " + TableName + " SET");
  for (int i = 0; i < KeyFields.Count(); ++i) {
    if (i > 0) st->SQL.Add(",");
    st->SQL.Add(KeyFields[i] + "=" + KeyFields[i]);
  }
  st->SQL.Add("WHERE");
  for (int i = 0; i < KeyFields.Count(); ++i) {
    if (i > 0) st->SQL.Add("AND");
    st->SQL.Add(KeyFields[i] + "=:" + KeyFields[i]);
  }
  st->Prepare();
  statement_ = std::move(st);
  return *statement_;
}

db::Param& TDBRecordLocker::KeyParam(const std::string& keyField) {
  return LockStatement().ParamByName(keyField);
}

int TDBRecordLocker::LockRecord() {
  db::SqlStatement& st = LockStatement();
  try {
    st.ExecQuery();
  } catch (const db::DbError&) {
    return kFallito;
  }
  return st.RowsAffected() > 0 ? kBloccato : kNessunRecord;
}

// ------------------------------------------------------------- semaphores

namespace {

const char* const kTabellaSituazioni = "SEMAFORI_SITUAZIONI";
const char* const kTabellaLog = "SEMAFORI_LOG";
const char* const kGeneratoreLog = "ID_SEMAFORI_LOG_COUNTER";

// Runs one statement in a lock transaction of its own and commits it.
void EseguiECommit(db::Database& database, const db::StringList& righe) {
  auto tr = CreateLockTransaction(database);
  {
    db::SqlStatement st(&database, tr.get());
    st.ParamCheck = false;  // literal texts may hold a colon
    st.SQL = righe;
    st.ExecQuery();
    st.Close();
  }
  tr->Commit();
}

}  // namespace

TSemaforiSituazioni::TSemaforiSituazioni(ui::Component* owner, db::Database* database,
                                         std::int16_t operatore)
    : ui::Component(owner), database_(database), operatore_(operatore) {
  transaction_ = std::make_unique<db::Transaction>(database_);
  SetTransactionParams(*transaction_, MascheraLock);
  locker_ = std::make_unique<TDBRecordLocker>(nullptr);
  locker_->TableName = kTabellaSituazioni;
  locker_->KeyFields.Add("NOMESITUAZIONE");
  locker_->SetTransaction(transaction_.get());
}

TSemaforiSituazioni::~TSemaforiSituazioni() {
  occupato_ = false;
  locker_.reset();
  try {
    if (transaction_->Active()) transaction_->Rollback();
  } catch (...) {
    // A destructor stays silent; the engine drops the lock on detach anyway.
  }
}

bool TSemaforiSituazioni::CreaTabelle(std::string& errore) {
  errore.clear();
  auto tr = CreateLockTransaction(*database_);
  db::SqlStatement st(database_, tr.get());
  st.ParamCheck = false;
  // Each creation is committed at once so the next catalogue test sees it.
  const auto crea = [&](const db::StringList& righe, const std::string& messaggio) {
    try {
      st.SQL = righe;
      st.ExecQuery();
      st.Close();
      tr->CommitRetaining();
      return true;
    } catch (const db::DbError& e) {
      errore = messaggio + "\r" + e.what();
      return false;
    }
  };
  if (!TableExists(kTabellaSituazioni, *database_, *tr) &&
      !crea({"CREATE TABLE SEMAFORI_SITUAZIONI(", "NOMESITUAZIONE Varchar(30) NOT NULL,",
             "CONSTRAINT SEMAFORI_SITUAZIONI_PK PRIMARY KEY (NOMESITUAZIONE)", ")"},
            "Fallita creazione tabella SEMAFORI_SITUAZIONI"))
    return false;
  if (!TableExists(kTabellaLog, *database_, *tr) &&
      !crea({"CREATE TABLE SEMAFORI_LOG(", "ID Integer NOT NULL,", "DATAORA Timestamp,",
             "OPERATORE Smallint,", "SITUAZIONE Varchar(30),", "DETTAGLIOSITUAZIONE Varchar(30),",
             "SITUAZIONEOCCUPATA Smallint,", "DATAORALIBERAZIONE Timestamp,",
             "CONSTRAINT SEMAFORI_LOG_PK PRIMARY KEY (ID)", ")"},
            "Fallita creazione tabella SEMAFORI_LOG"))
    return false;
  if (!GeneratorExists(kGeneratoreLog, *database_, *tr) &&
      !crea({"CREATE GENERATOR ID_SEMAFORI_LOG_COUNTER"},
            "Fallita creazione generatore ID_SEMAFORI_LOG_COUNTER"))
    return false;
  return true;
}

void TSemaforiSituazioni::RiavviaTransazione() {
  // The lock update changes nothing, so rolling it back only drops the lock.
  if (transaction_->Active()) transaction_->Rollback();
  transaction_->StartTransaction();
}

bool TSemaforiSituazioni::InserisciSituazione(const std::string& nomeSituazione) {
  try {
    EseguiECommit(*database_, {"INSERT INTO SEMAFORI_SITUAZIONI(NOMESITUAZIONE)",
                               "VALUES('" + Apici(nomeSituazione) + "')"});
    return true;
  } catch (const db::DbError&) {
    return false;
  }
}

bool TSemaforiSituazioni::Occupa(const std::string& nomeSituazione, const std::string& dettaglio) {
  if (occupato_) Libera();
  RiavviaTransazione();
  locker_->KeyParam("NOMESITUAZIONE").SetAsString(nomeSituazione);
  bool preso = false;
  switch (locker_->LockRecord()) {
    case TDBRecordLocker::kBloccato:
      preso = true;
      break;
    case TDBRecordLocker::kNessunRecord:
      // A freshly inserted row must be locked as well: otherwise the next
      // holder finds it unlocked and takes the same situation. The snapshot
      // is restarted so the committed row is visible to it.
      if (InserisciSituazione(nomeSituazione)) {
        RiavviaTransazione();
        preso = locker_->LockRecord() == TDBRecordLocker::kBloccato;
      }
      break;
    default:
      break;
  }
  if (!preso) {
    ScriviLog(nomeSituazione, dettaglio, true);
    return false;
  }
  occupato_ = true;
  logId_ = ScriviLog(nomeSituazione, dettaglio, false);
  return true;
}

void TSemaforiSituazioni::Libera() {
  occupato_ = false;
  if (transaction_->Active()) transaction_->Rollback();
  if (logId_ == 0) return;
  EseguiECommit(*database_, {"UPDATE SEMAFORI_LOG SET", "DATAORALIBERAZIONE=CURRENT_TIMESTAMP",
                             "WHERE", "  ID=" + std::to_string(logId_)});
}

std::int32_t TSemaforiSituazioni::ScriviLog(const std::string& nomeSituazione,
                                            const std::string& dettaglio, bool occupata) {
  const std::int32_t id = GetGeneratorValue(kGeneratoreLog, *database_, 1);
  EseguiECommit(*database_, {"INSERT INTO SEMAFORI_LOG(", "ID,", "DATAORA,", "OPERATORE,",
                             "SITUAZIONE,", "DETTAGLIOSITUAZIONE,", "SITUAZIONEOCCUPATA", ")",
                             "VALUES(", std::to_string(id) + ",", "CURRENT_TIMESTAMP,",
                             std::to_string(operatore_) + ",", "'" + Apici(nomeSituazione) + "',",
                             "'" + Apici(dettaglio) + "',", occupata ? "1" : "0", ")"});
  return id;
}

}  // namespace velmaro
