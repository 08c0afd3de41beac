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
  database_ = ui::Make<db::Database>(this, "IBDatabase1");
  transaction_ = ui::Make<db::Transaction>(this, "IBTransaction1", database_);
  table_ = ui::Make<db::Table>(this, "IBTable1", database_, transaction_);
  source_ = ui::Make<db::DataSource>(this, "DataSource1", table_);
  DBGrid1 = ui::Make<ui::DBGrid>(this, "DBGrid1", {0, 0, 760, 480});
  DBGrid1->SetAlign(ui::Align::Client);
  DBGrid1->SetDataSource(source_);
  DoCreate();
}

void TIBLQueryForm::Apri(const db::Database& database,
                         const std::vector<std::string>& transactionParams,
                         const std::string& tableName) {
  database_->DatabaseName = database.DatabaseName;
  database_->Params = database.Params;
  database_->SQLDialect = database.SQLDialect;
  database_->LoginPrompt = false;
  database_->Open();
  transaction_->Params = transactionParams;
  table_->TableName = tableName;
  table_->Open();
}

void TIBLQueryForm::ImpostaUtente(std::int32_t userNumber) {
  if (userNumber <= 0) return;
  contesto_ = ui::MakeOwned<TTabXForm>(nullptr, std::uint8_t(0));
  contesto_->SetUserPerNum(userNumber);
}

}  // namespace velmaro
