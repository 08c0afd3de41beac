#pragma once
// A plain statement with a forward-only result (the class library's TIBSQL).

#include <memory>
#include <string>
#include <vector>

#include "db/field.h"
#include "db/params.h"
#include "db/stringlist.h"
#include "db/transaction.h"

namespace db {

class Statement;

// One column of the current row.
class SqlField {
 public:
  SqlField(std::string name, FieldType type) : name_(std::move(name)), type_(type) {}
  const std::string& Name() const { return name_; }
  FieldType DataType() const { return type_; }
  const Value& GetValue() const { return value_; }
  bool IsNull() const { return value_.IsNull(); }
  std::string AsString() const;  // numbers and dates as fields show them
  std::int32_t AsInteger() const { return static_cast<std::int32_t>(value_.AsInt64()); }
  std::int64_t AsInt64() const { return value_.AsInt64(); }
  double AsFloat() const { return value_.AsDouble(); }
  double AsDouble() const { return value_.AsDouble(); }
  double AsDateTime() const { return value_.AsDateTime(); }
  bool AsBoolean() const { return value_.AsBool(); }

 private:
  friend class SqlStatement;
  std::string name_;
  FieldType type_;
  Value value_;
};

class SqlStatement : public ConnectionUser {
 public:
  SqlStatement();
  SqlStatement(Database* db, Transaction* tr);
  ~SqlStatement() override;

  StringList SQL;
  bool ParamCheck = true;
  ParamList& Params();
  Param& ParamByName(const std::string& name) { return Params().ParamByName(name); }

  void Prepare();
  // Runs the statement; a select is positioned on its first row.
  void ExecQuery();
  // Moves to the next row; false (and Eof) past the last.
  bool Next();
  bool Eof() const { return eof_; }
  bool Open() const { return open_; }
  void Close();
  std::int64_t RowsAffected() const { return rowsAffected_; }

  int FieldCount() const { return static_cast<int>(fields_.size()); }
  const SqlField& Fields(int i) const { return fields_.at(i); }
  const SqlField* FindField(const std::string& name) const;
  const SqlField& FieldByName(const std::string& name) const;  // throws DbError

 protected:
  void TransactionEnding() override { Close(); }
  void DatabaseClosing() override;

 private:
  void LoadRow(const std::vector<Value>& row);
  std::unique_ptr<Statement> stmt_;
  std::string preparedText_, paramsText_;
  ParamList params_;
  std::vector<SqlField> fields_;
  std::vector<int> slots_;
  bool eof_ = true;
  bool open_ = false;
  std::int64_t rowsAffected_ = -1;
};

// A call of an executable stored procedure (the class library's
// TIBStoredProc). Parameters are read from the catalogue: inputs are set
// before ExecProc, outputs read after it, all through Params.
class StoredProc : public ConnectionUser {
 public:
  StoredProc() = default;
  StoredProc(Database* db, Transaction* tr) {
    SetDatabase(db);
    SetTransaction(tr);
  }
  std::string StoredProcName;
  ParamList& Params();
  Param& ParamByName(const std::string& name) { return Params().ParamByName(name); }
  void Prepare();
  void ExecProc();

 protected:
  void TransactionEnding() override {}
  void DatabaseClosing() override { preparedName_.clear(); }

 private:
  std::string preparedName_;
  std::vector<std::string> inputs_, outputs_;
  ParamList params_;
};

}  // namespace db
