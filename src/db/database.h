#pragma once
// A connection to one Firebird database (embedded: a path without host).

#include <functional>
#include <string>
#include <vector>

namespace Firebird {
class IAttachment;
}

namespace db {

class Transaction;
class ConnectionUser;

// The longest text literal a statement may hold: every connection talks
// UTF8, whose literals the engine limits to 16,383 characters.
constexpr int kMaxLiteralChars = 16383;

class Database {
 public:
  Database();
  Database(const Database&) = delete;
  Database& operator=(const Database&) = delete;
  ~Database();

  std::string Name;
  // A file path, or "server:path" through a server.
  std::string DatabaseName;
  // Lines "user_name=...", "password=...", "lc_ctype=...", "sql_role_name=...".
  // Before CreateDatabase: the words of the creation ("USER \"SYSDBA\"",
  // "PASSWORD \"x\"", "PAGE_SIZE 4096").
  std::vector<std::string> Params;
  bool LoginPrompt = false;  // no dialog exists; kept for the callers
  int SQLDialect = 3;
  int IdleTimer = 0;  // ignored
  Transaction* DefaultTransaction = nullptr;

  void Open();
  // Rolls back the open transactions and closes the data sets first.
  void Close();
  bool Connected() const { return attachment_ != nullptr; }
  void SetConnected(bool on) { on ? Open() : Close(); }
  // Creates the file (character set UTF8) and stays connected to it.
  void CreateDatabase();
  // Value of a "name=value" parameter line (case-insensitive name).
  std::string ParamValue(const std::string& name) const;

  // Every attach or create attempt's database name, before it is tried
  // (observer for tests of opening rules).
  static std::function<void(const std::string& name, bool create)> OnAttachAttempt;

  Firebird::IAttachment* Handle() const { return attachment_; }
  const std::vector<Transaction*>& Transactions() const { return transactions_; }

 private:
  friend class Transaction;
  friend class ConnectionUser;
  void Attach(bool create);
  std::vector<Transaction*> transactions_;
  std::vector<ConnectionUser*> users_;
  Firebird::IAttachment* attachment_ = nullptr;
};

}  // namespace db
