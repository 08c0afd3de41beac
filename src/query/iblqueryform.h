// TIBLQueryForm: the query window over one table of the company database,
// on a connection and a transaction of its own.
#pragma once

#include <cstdint>
#include <memory>
#include <string>

#include "ui/form.h"
#include "ui/make.h"

namespace db {
class Database;
class Transaction;
class Table;
class DataSource;
}  // namespace db

namespace ui {
class DBGrid;
}

namespace velmaro {

class TTabXForm;

class TIBLQueryForm : public ui::Form {
 public:
  explicit TIBLQueryForm(ui::Component* owner);
  std::string ClassName() const override { return "TIBLQueryForm"; }

  // Connects to a copy of `database` (name and parameters), starts a
  // transaction with `transactionParams` and opens `tableName`.
  void Apri(const db::Database& database, const std::vector<std::string>& transactionParams,
            const std::string& tableName);
  // The operator's context, for his parameters (userNumber > 0).
  void ImpostaUtente(std::int32_t userNumber);

  std::string BinDir, WorkDir, Sezione, IniFile;
  std::uint8_t Flag = 0;

  db::Database* IBDatabase() const { return database_; }
  db::Transaction* IBTransaction() const { return transaction_; }
  db::Table* IBTable() const { return table_; }
  TTabXForm* Contesto() const { return contesto_.get(); }
  ui::DBGrid* DBGrid1 = nullptr;

 private:
  db::Database* database_ = nullptr;
  db::Transaction* transaction_ = nullptr;
  db::Table* table_ = nullptr;
  db::DataSource* source_ = nullptr;
  ui::Owned<TTabXForm> contesto_;
};

}  // namespace velmaro
