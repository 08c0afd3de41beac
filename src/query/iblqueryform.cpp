#include "query/iblqueryform.h"

#include "context/tabxform.h"
#include "db/database.h"
#include "db/datasource.h"
#include "db/table.h"
#include "db/transaction.h"
#include "ui/dbgrid.h"

namespace velmaro {

TIBLQueryForm::TIBLQueryForm(ui::Component* owner) : ui::Form(owner) {
  SetName("IBLQueryForm");
  SetBounds(80, 80, 760, 480);
  Position = ui::FormPosition::ScreenCenter;
  DBGrid1 = ui::Make<ui::DBGrid>(this, "DBGrid1", {0, 0, 760, 480});
  DBGrid1->SetAlign(ui::Align::Client);
  DoCreate();
}

TIBLQueryForm::~TIBLQueryForm() {
  // The grid points at the data source: it goes first, then the table, the
  // transaction and the connection, in that order.
  DestroyComponents();
  source_.reset();
  table_.reset();
  if (transaction_ && transaction_->InTransaction()) transaction_->Commit();
  transaction_.reset();
  database_.reset();
}

void TIBLQueryForm::Apri(const db::Database& database,
                         const std::vector<std::string>& transactionParams,
                         const std::string& tableName) {
  database_ = std::make_unique<db::Database>();
  database_->DatabaseName = database.DatabaseName;
  database_->Params = database.Params;
  database_->SQLDialect = database.SQLDialect;
  database_->LoginPrompt = false;
  database_->Open();
  transaction_ = std::make_unique<db::Transaction>(database_.get());
  transaction_->Params = transactionParams;
  table_ = std::make_unique<db::Table>(database_.get(), transaction_.get());
  table_->TableName = tableName;
  source_ = std::make_unique<db::DataSource>(table_.get());
  DBGrid1->SetDataSource(source_.get());
  table_->Open();
}

void TIBLQueryForm::ImpostaUtente(std::int32_t userNumber) {
  if (userNumber <= 0) return;
  contesto_ = ui::MakeOwned<TTabXForm>(nullptr, std::uint8_t(0));
  contesto_->SetUserPerNum(userNumber);
}

}  // namespace velmaro
