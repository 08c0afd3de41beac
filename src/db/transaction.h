#pragma once
// A Firebird transaction with parameter lines by name.

#include <string>
#include <vector>

namespace Firebird {
class ITransaction;
}

namespace db {

class Database;
class ConnectionUser;

class Transaction {
 public:
  Transaction() = default;
  explicit Transaction(Database* db) { SetDefaultDatabase(db); }
  Transaction(const Transaction&) = delete;
  Transaction& operator=(const Transaction&) = delete;
  ~Transaction();

  std::string Name;
  Database* DefaultDatabase() const { return database_; }
  void SetDefaultDatabase(Database* db);
  // "isc_tpb_concurrency", "isc_tpb_nowait", "isc_tpb_read_committed",
  // "isc_tpb_rec_version", "isc_tpb_lock_timeout=5",
  // "isc_tpb_lock_write=TABLE", ...; empty = the engine's default.
  std::vector<std::string> Params;

  void StartTransaction();
  // The hard forms close every data set and statement on the transaction;
  // the retaining forms keep them open and positioned.
  void Commit();
  void CommitRetaining();
  void Rollback();
  void RollbackRetaining();
  bool InTransaction() const { return handle_ != nullptr; }
  bool Active() const { return InTransaction(); }
  // false ends an open transaction with a rollback.
  void SetActive(bool on);

  Firebird::ITransaction* Handle() const { return handle_; }
  // Starts the transaction when it is not running (data sets do on open).
  void EnsureStarted();

 private:
  friend class ConnectionUser;
  friend class Database;
  void CloseUsers();
  void Forget();  // the database goes away
  Database* database_ = nullptr;
  std::vector<ConnectionUser*> users_;
  Firebird::ITransaction* handle_ = nullptr;
};

// Base of what runs statements on a database and a transaction: told when
// either ends so it can drop cursors and statement handles in time.
class ConnectionUser {
 public:
  ConnectionUser() = default;
  ConnectionUser(const ConnectionUser&) = delete;
  ConnectionUser& operator=(const ConnectionUser&) = delete;
  virtual ~ConnectionUser();

  Database* GetDatabase() const;  // own, else the transaction's default
  void SetDatabase(Database* db);
  Transaction* GetTransaction() const;  // own, else the database's default
  void SetTransaction(Transaction* t);

 protected:
  // A hard commit or rollback is about to end the transaction.
  virtual void TransactionEnding() = 0;
  // The database is about to disconnect: free statement handles.
  virtual void DatabaseClosing() = 0;
  Database* CheckDatabase() const;        // throws when none or not connected
  Transaction* CheckTransaction() const;  // throws when none; starts it

 private:
  friend class Transaction;
  friend class Database;
  Database* database_ = nullptr;
  Transaction* transaction_ = nullptr;
};

}  // namespace db
