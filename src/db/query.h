#pragma once
// An SQL query as a data set (the class library's TIBQuery).

#include <memory>
#include <string>

#include "db/dataset.h"
#include "db/params.h"
#include "db/stringlist.h"
#include "db/transaction.h"

namespace db {

class Statement;
class UpdateSQL;

class Query : public DataSet, public ConnectionUser {
 public:
  Query();
  explicit Query(Database* db, Transaction* tr = nullptr);
  ~Query() override;
  const char* ClassName() const override { return "TIBQuery"; }

  StringList SQL;
  // ":NAME" marks a parameter (outside quotes and comments).
  bool ParamCheck = true;
  bool UniDirectional = false;  // kept for the callers; rows stay cached
  int BufferChunks = 1000;      // ignored
  // Writes of Edit/Insert/Delete go through it; without one the query is
  // read-only.
  UpdateSQL* UpdateObject = nullptr;

  ParamList& Params();
  Param& ParamByName(const std::string& name) { return Params().ParamByName(name); }
  void Prepare();
  void Unprepare();
  bool Prepared() const;
  // Runs a statement that returns no rows.
  void ExecSQL();
  std::int64_t RowsAffected() const { return rowsAffected_; }
  // The rows fetched so far (fetching happens as navigation needs rows).
  int RecordCount() override { return DataSet::RecordCount(); }

 protected:
  void InternalOpen() override;
  void InternalAfterBind() override;
  void InternalClose() override;
  bool FetchMore() override;
  void InternalPost(Row& values, const Row* oldValues) override;
  void InternalDelete(const Record& rec) override;
  void InternalRefresh() override;
  bool CanModifyImpl() const override { return !ReadOnly && UpdateObject != nullptr; }
  void TransactionEnding() override;
  void DatabaseClosing() override;
  // The text to run (a table builds its own).
  virtual std::string SqlText() const { return SQL.Text(); }

 private:
  ParamList& ParamsFor(const std::string& text);
  void CloseIfChanged(const std::string& text);
  void PrepareText(const std::string& text);
  void ExecuteText(const std::string& text);
  std::vector<const Value*> ParamValues(const std::string& text);
  std::unique_ptr<Statement> stmt_;
  std::string preparedText_;
  std::string paramsText_;
  ParamList params_;
  std::vector<int> slots_;
  std::int64_t rowsAffected_ = -1;
};

enum class UpdateKind { Modify, Insert, Delete };

// The statements a query runs to write a posted or deleted row:
// ":FIELD" takes the row's value, ":OLD_FIELD" the value before the edit.
class UpdateSQL {
 public:
  StringList ModifySQL, InsertSQL, DeleteSQL, RefreshSQL;
  StringList& SQL(UpdateKind k) {
    return k == UpdateKind::Modify ? ModifySQL : (k == UpdateKind::Insert ? InsertSQL : DeleteSQL);
  }
  // Runs the statement of the kind for a row of the query; RefreshSQL,
  // when given, reads the written row back into values.
  void Apply(UpdateKind kind, Query& q, Row& values, const Row* oldValues);
};

}  // namespace db
