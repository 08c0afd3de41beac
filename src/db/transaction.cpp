#include "db/transaction.h"

#include <ibase.h>

#include <algorithm>
#include <map>

#include "db/database.h"
#include "db/fb.h"
#include "db/textutil.h"

namespace db {
namespace {

const std::map<std::string, unsigned char>& TpbNames() {
  static const std::map<std::string, unsigned char> names = {
      {"consistency", isc_tpb_consistency},
      {"concurrency", isc_tpb_concurrency},
      {"shared", isc_tpb_shared},
      {"protected", isc_tpb_protected},
      {"exclusive", isc_tpb_exclusive},
      {"wait", isc_tpb_wait},
      {"nowait", isc_tpb_nowait},
      {"read", isc_tpb_read},
      {"write", isc_tpb_write},
      {"lock_read", isc_tpb_lock_read},
      {"lock_write", isc_tpb_lock_write},
      {"verb_time", isc_tpb_verb_time},
      {"commit_time", isc_tpb_commit_time},
      {"ignore_limbo", isc_tpb_ignore_limbo},
      {"read_committed", isc_tpb_read_committed},
      {"autocommit", isc_tpb_autocommit},
      {"rec_version", isc_tpb_rec_version},
      {"no_rec_version", isc_tpb_no_rec_version},
      {"restart_requests", isc_tpb_restart_requests},
      {"no_auto_undo", isc_tpb_no_auto_undo},
      {"lock_timeout", isc_tpb_lock_timeout},
  };
  return names;
}

}  // namespace

Transaction::~Transaction() {
  if (handle_) {
    try {
      Rollback();
    } catch (...) {
      // Destructors stay silent; the engine rolls back on detach.
    }
  }
  for (ConnectionUser* u : users_) u->transaction_ = nullptr;
  if (database_) {
    auto& v = database_->transactions_;
    v.erase(std::remove(v.begin(), v.end(), this), v.end());
  }
  if (handle_) handle_->release();
}

void Transaction::SetDefaultDatabase(Database* db) {
  if (db == database_) return;
  if (InTransaction()) throw DbError("Cannot change the database of an active transaction");
  if (database_) {
    auto& v = database_->transactions_;
    v.erase(std::remove(v.begin(), v.end(), this), v.end());
  }
  database_ = db;
  if (db) db->transactions_.push_back(this);
}

void Transaction::Forget() {
  database_ = nullptr;
  if (handle_) handle_->release();
  handle_ = nullptr;
}

void Transaction::StartTransaction() {
  if (InTransaction()) throw DbError("Transaction is already active");
  if (!database_) throw DbError("Transaction has no database");
  if (!database_->Connected()) throw DbError("Database not connected");
  handle_ = fb::Call([&](fb::Status& st) {
    fb::Ref<Firebird::IXpbBuilder> tpb(
        fb::Util()->getXpbBuilder(&st, Firebird::IXpbBuilder::TPB, nullptr, 0));
    for (const std::string& raw : Params) {
      std::string line = Trim(raw);
      if (line.empty()) continue;
      std::string name = line, value;
      size_t eq = line.find('=');
      if (eq != std::string::npos) {
        name = Trim(line.substr(0, eq));
        value = Trim(line.substr(eq + 1));
      }
      std::string key = FoldCase(name);
      if (key.rfind("isc_tpb_", 0) == 0) key = key.substr(8);
      auto it = TpbNames().find(key);
      if (it == TpbNames().end()) throw DbError("Unknown transaction parameter '" + raw + "'");
      if (it->second == isc_tpb_lock_timeout)
        tpb->insertInt(&st, it->second, std::atoi(value.c_str()));
      else if (it->second == isc_tpb_lock_read || it->second == isc_tpb_lock_write)
        tpb->insertString(&st, it->second, UpperAscii(value).c_str());
      else
        tpb->insertTag(&st, it->second);
    }
    unsigned len = tpb->getBufferLength(&st);
    return database_->Handle()->startTransaction(&st, len, len ? tpb->getBuffer(&st) : nullptr);
  });
}

void Transaction::EnsureStarted() {
  if (!InTransaction()) StartTransaction();
}

void Transaction::CloseUsers() {
  std::vector<ConnectionUser*> users = users_;
  if (database_)
    for (ConnectionUser* u : database_->users_)
      if (u->transaction_ == nullptr && u->GetTransaction() == this &&
          std::find(users.begin(), users.end(), u) == users.end())
        users.push_back(u);
  for (ConnectionUser* u : users) u->TransactionEnding();
}

void Transaction::Commit() {
  if (!InTransaction()) throw DbError("Transaction is not active");
  CloseUsers();
  fb::Call([&](fb::Status& st) { handle_->commit(&st); });
  handle_ = nullptr;  // commit released the interface
}

void Transaction::Rollback() {
  if (!InTransaction()) throw DbError("Transaction is not active");
  CloseUsers();
  fb::Call([&](fb::Status& st) { handle_->rollback(&st); });
  handle_ = nullptr;
}

void Transaction::CommitRetaining() {
  if (!InTransaction()) throw DbError("Transaction is not active");
  fb::Call([&](fb::Status& st) { handle_->commitRetaining(&st); });
}

void Transaction::RollbackRetaining() {
  if (!InTransaction()) throw DbError("Transaction is not active");
  fb::Call([&](fb::Status& st) { handle_->rollbackRetaining(&st); });
}

void Transaction::SetActive(bool on) {
  if (on && !InTransaction()) StartTransaction();
  if (!on && InTransaction()) Rollback();
}

// ---------------------------------------------------------------- users

ConnectionUser::~ConnectionUser() {
  SetDatabase(nullptr);
  SetTransaction(nullptr);
}

void ConnectionUser::SetDatabase(Database* db) {
  if (db == database_) return;
  if (database_) {
    auto& v = database_->users_;
    v.erase(std::remove(v.begin(), v.end(), this), v.end());
  }
  database_ = db;
  if (db) db->users_.push_back(this);
}

void ConnectionUser::SetTransaction(Transaction* t) {
  if (t == transaction_) return;
  if (transaction_) {
    auto& v = transaction_->users_;
    v.erase(std::remove(v.begin(), v.end(), this), v.end());
  }
  transaction_ = t;
  if (t) t->users_.push_back(this);
}

Database* ConnectionUser::GetDatabase() const {
  if (database_) return database_;
  return transaction_ ? transaction_->DefaultDatabase() : nullptr;
}

Transaction* ConnectionUser::GetTransaction() const {
  if (transaction_) return transaction_;
  return database_ ? database_->DefaultTransaction : nullptr;
}

Database* ConnectionUser::CheckDatabase() const {
  Database* db = GetDatabase();
  if (!db) throw DbError("Database not assigned");
  if (!db->Connected()) throw DbError("Database not connected");
  return db;
}

Transaction* ConnectionUser::CheckTransaction() const {
  Transaction* t = GetTransaction();
  if (!t) throw DbError("Transaction not assigned");
  if (!t->DefaultDatabase()) t->SetDefaultDatabase(CheckDatabase());
  t->EnsureStarted();
  return t;
}

}  // namespace db
