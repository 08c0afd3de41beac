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
  ~TIBLQueryForm() override;
  std::string ClassName() const override { return "TIBLQueryForm"; }

  // Connects to a copy of `database` (name and parameters), starts a
  // transaction with `transactionParams` and opens `tableName`.
  void Apri(const db::Database& database, const std::vector<std::string>& transactionParams,
            const std::string& tableName);
  // The operator's context, for his parameters (userNumber > 0).
  void ImpostaUtente(std::int32_t userNumber);

  std::string BinDir, WorkDir, Sezione, IniFile;
  std::uint8_t Flag = 0;

  ui::DBGrid* DBGrid1 = nullptr;
  db::Database* IBDatabase() const { return database_.get(); }
  db::Transaction* IBTransaction() const { return transaction_.get(); }
  db::Table* IBTable() const { return table_.get(); }
  TTabXForm* Contesto() const { return contesto_.get(); }

 private:
  std::unique_ptr<db::Database> database_;
  std::unique_ptr<db::Transaction> transaction_;
  std::unique_ptr<db::Table> table_;
  std::unique_ptr<db::DataSource> source_;
  ui::Owned<TTabXForm> contesto_;
};

}  // namespace velmaro
