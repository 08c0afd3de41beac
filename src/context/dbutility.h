#pragma once
// The database utility unit shared by the grid and the query tool:
// transactions from a mask of parameter items, catalogue tests, generators,
// row counts, a pessimistic row lock and named semaphores built on it.
#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "db/field.h"
#include "ui/component.h"
#include "ui/strings.h"

namespace db {
class Database;
class Query;
class Transaction;
class SqlStatement;
class Param;
}  // namespace db

namespace velmaro {

// Bits 2 and 7: "isc_tpb_concurrency", "isc_tpb_nowait". A competing
// update of a row this transaction touched fails at once instead of waiting.
inline constexpr std::uint32_t MascheraLock = 132;

// Ends the transaction, clears its parameter lines and adds one
// "isc_tpb_..." line per set bit 1..20, in bit order.
void SetTransactionParams(db::Transaction& transaction, std::uint32_t mask);
// A new transaction on the database with those parameters, already started.
std::unique_ptr<db::Transaction> CreateTransaction(db::Database& database, std::uint32_t mask);
std::unique_ptr<db::Transaction> CreateLockTransaction(db::Database& database);
// Commits the transaction and starts it again: the view of what other
// sessions committed is renewed, and every data set on it closes.
void RinnovaTransazione(db::Transaction& t);
// What a write run by ScriviRinnovando came to.
enum class EsitoScrittura {
  Scritta,    // run and committed
  Rifiutata,  // after a conflict, `rinnova` said not to run it again
  InUso,      // refused again on the renewed view: a running transaction holds its rows
  Fallita,    // any other failure
};
// The steps of a write ScriviRinnovando runs; none: the transaction's
// own keep-open commit and rollback.
struct PassiScrittura {
  std::function<void()> conferma{};
  std::function<void()> annulla{};
};
// Runs `scrivi` in `t` and commits what it wrote (keep open). A statement
// the engine refuses for a row version (db::DbError::IsLockConflict: one
// committed after the view began, or one a running transaction holds; with
// no-wait transactions both come alike, and only a write on a renewed view
// tells them apart) rolls back what `scrivi` did, renews the view through
// `rinnova` (which also makes the write's checks again; false: not again;
// none: RinnovaTransazione), and runs `scrivi` once more. Every failure
// rolls back; the error that ended the write goes to `errore` when given.
EsitoScrittura ScriviRinnovando(db::Transaction& t, const std::function<void()>& scrivi,
                                const std::function<bool()>& rinnova,
                                const PassiScrittura& passi = {}, std::string* errore = nullptr);

// Runs `leggi` on a transaction of its own on `database`, started now and
// committed after (rolled back when `leggi` throws): it sees what other
// sessions committed by now, whatever view the caller's long-lived
// transaction keeps, and that transaction and its data sets stay as they are.
void SuVistaNuova(db::Database* database, const std::function<void(db::Transaction&)>& leggi);
// The select made of the lines `sql`, open on such a view, for `leggi`.
void LeggiSuVistaNuova(db::Database* database, const std::vector<std::string>& sql,
                       const std::function<void(db::Query&)>& leggi);

// Both start the transaction when it is not running.
bool TableExists(const std::string& tableName, db::Database& database,
                 db::Transaction& transaction);
bool GeneratorExists(const std::string& generatorName, db::Database& database,
                     db::Transaction& transaction);
// The generator's value after adding step, read in a transaction of its own.
std::int32_t GetGeneratorValue(const std::string& generatorName, db::Database& database,
                               std::int32_t step);
// Rows the query returns, counted on the transaction's default database.
std::int64_t CountQueryRows(const std::string& queryText, db::Transaction& transaction);
// Column-type code of the spreadsheet export (0 for types it does not know).
int FieldTypeToExportType(db::FieldType fieldType);

// A column as the catalogue declares it: its type code (RDB$FIELD_TYPE),
// its scale and, for texts, its length in characters.
struct ColumnInfo {
  int type = 0;
  int scale = 0;
  int characters = 0;
  // Whether the column stores the number: exact numbers within their
  // integer's range at the column's scale, FLOAT within single precision;
  // other types set no bound here.
  bool Holds(double value) const;
  // The largest magnitude an exact number column stores, with a decimal
  // comma ("214748,3647"); "" for other types.
  std::string Largest() const;
};
// The columns of a table by name; empty when there is no such table.
std::map<std::string, ColumnInfo> TableColumns(const std::string& tableName, db::Database& database,
                                               db::Transaction& transaction);

// Holds a row by updating its key columns to themselves inside the lock
// transaction; the row stays locked until that transaction ends.
class TDBRecordLocker : public ui::Component {
 public:
  explicit TDBRecordLocker(ui::Component* owner);
  ~TDBRecordLocker() override;
  std::string ClassName() const override { return "TDBRecordLocker"; }

  db::Database* Database() const { return database_; }
  void SetDatabase(db::Database* database) { database_ = database; }
  db::Transaction* Transaction() const { return transaction_; }
  // Also takes the transaction's default database when none is set.
  void SetTransaction(db::Transaction* transaction);

  std::string TableName;
  ui::Strings KeyFields;

  // The lock statement's parameter of that key field.
  db::Param& KeyParam(const std::string& keyField);
  // 0 = no row has the key, 1 = the statement failed (held elsewhere, or
  // any other error), 2 = the row is now locked.
  static constexpr int kNessunRecord = 0;
  static constexpr int kFallito = 1;
  static constexpr int kBloccato = 2;
  int LockRecord();
  // Built on first use, then reused.
  db::SqlStatement& LockStatement();

 private:
  db::Database* database_ = nullptr;
  db::Transaction* transaction_ = nullptr;
  std::unique_ptr<db::SqlStatement> statement_;
};

// Named semaphores: a situation is held by a row lock on its row of
// SEMAFORI_SITUAZIONI; SEMAFORI_LOG records every taking, refusal and release.
class TSemaforiSituazioni : public ui::Component {
 public:
  TSemaforiSituazioni(ui::Component* owner, db::Database* database, std::int16_t operatore);
  // Drops the lock without stamping the log.
  ~TSemaforiSituazioni() override;
  std::string ClassName() const override { return "TSemaforiSituazioni"; }

  // True when the tables and the generator exist or were created; else
  // errore tells which creation failed and why.
  bool CreaTabelle(std::string& errore);
  // True when taken; a refusal is logged, never raised.
  bool Occupa(const std::string& nomeSituazione, const std::string& dettaglio);
  void Libera();

  bool Occupato() const { return occupato_; }
  std::int32_t LogID() const { return logId_; }
  db::Database* Database() const { return database_; }
  db::Transaction& Transaction() { return *transaction_; }

 private:
  void RiavviaTransazione();
  bool InserisciSituazione(const std::string& nomeSituazione);
  std::int32_t ScriviLog(const std::string& nomeSituazione, const std::string& dettaglio,
                         bool occupata);

  db::Database* database_;
  std::int16_t operatore_;
  bool occupato_ = false;
  std::int32_t logId_ = 0;
  // Declared before the locker so the locker's statement goes first.
  std::unique_ptr<db::Transaction> transaction_;
  std::unique_ptr<TDBRecordLocker> locker_;
};

}  // namespace velmaro
