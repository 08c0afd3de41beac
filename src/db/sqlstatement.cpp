#include "db/sqlstatement.h"

#include <cmath>

#include "db/database.h"
#include "db/stmt.h"
#include "db/textutil.h"
#include "platform/format.h"

namespace db {

std::string SqlField::AsString() const {
  if (value_.IsNull()) return std::string();
  switch (type_) {
    case FieldType::Date:
      return plat::DateToStr(value_.AsDateTime());
    case FieldType::Time:
      return plat::TimeToStr(value_.AsDateTime());
    case FieldType::DateTime:
      return plat::DateTimeToStr(value_.AsDateTime());
    default:
      return value_.AsString();
  }
}

SqlStatement::SqlStatement() : stmt_(std::make_unique<Statement>()) {}

SqlStatement::SqlStatement(Database* db, Transaction* tr) : SqlStatement() {
  SetDatabase(db);
  SetTransaction(tr);
}

SqlStatement::~SqlStatement() = default;

ParamList& SqlStatement::Params() {
  std::string text = SQL.Text();
  if (text != paramsText_) {
    params_.Rebuild(ParseParams(text, ParamCheck).names);
    paramsText_ = text;
  }
  return params_;
}

void SqlStatement::Prepare() {
  std::string text = SQL.Text();
  if (stmt_->Prepared() && text == preparedText_) return;
  Database* db = CheckDatabase();
  Transaction* tr = CheckTransaction();
  if (Trim(text).empty()) throw DbError("SQL statement is empty");
  preparedText_.clear();
  stmt_->Prepare(db, tr, text, ParamCheck);
  preparedText_ = text;
  fields_.clear();
  slots_.clear();
  for (const Column& c : stmt_->Columns()) {
    slots_.push_back(static_cast<int>(fields_.size()));
    fields_.emplace_back(c.def.name, c.def.type);
  }
}

void SqlStatement::ExecQuery() {
  Close();
  Transaction* tr = CheckTransaction();
  Prepare();
  ParamList& ps = Params();
  std::vector<const Value*> values;
  for (const std::string& n : stmt_->ParamNames()) {
    Param* p = ps.FindParam(n);
    values.push_back(p ? &p->GetValue() : nullptr);
  }
  stmt_->Execute(tr, values);
  rowsAffected_ = stmt_->RowsAffected();
  if (stmt_->IsSelect()) {
    open_ = true;
    Next();
    return;
  }
  if (stmt_->HasSingletonRow()) {
    std::vector<Value> row;
    stmt_->ReadSingleton(row);
    LoadRow(row);
    eof_ = false;
  }
}

void SqlStatement::LoadRow(const std::vector<Value>& row) {
  for (size_t i = 0; i < fields_.size() && i < row.size(); ++i) fields_[i].value_ = row[i];
}

bool SqlStatement::Next() {
  if (!open_ || !stmt_->CursorOpen()) {
    eof_ = true;
    return false;
  }
  std::vector<Value> row(fields_.size());
  if (!stmt_->Fetch(row, slots_)) {
    eof_ = true;
    for (auto& f : fields_) f.value_ = Value();
    return false;
  }
  LoadRow(row);
  eof_ = false;
  return true;
}

void SqlStatement::Close() {
  stmt_->CloseCursor();
  open_ = false;
  eof_ = true;
}

void SqlStatement::DatabaseClosing() {
  Close();
  stmt_->Free();
  preparedText_.clear();
}

const SqlField* SqlStatement::FindField(const std::string& name) const {
  for (const SqlField& f : fields_)
    if (SameText(f.Name(), name)) return &f;
  return nullptr;
}

const SqlField& SqlStatement::FieldByName(const std::string& name) const {
  const SqlField* f = FindField(name);
  if (!f) throw DbError("Field '" + name + "' not found");
  return *f;
}

// ---------------------------------------------------------------- StoredProc

ParamList& StoredProc::Params() {
  if (preparedName_ != StoredProcName && !StoredProcName.empty()) Prepare();
  return params_;
}

void StoredProc::Prepare() {
  if (StoredProcName.empty()) throw DbError("Stored procedure name is missing");
  SqlStatement meta(CheckDatabase(), CheckTransaction());
  meta.SQL.Add("SELECT RDB$PARAMETER_NAME, RDB$PARAMETER_TYPE FROM RDB$PROCEDURE_PARAMETERS");
  meta.SQL.Add("WHERE RDB$PROCEDURE_NAME = :P ORDER BY RDB$PARAMETER_TYPE, RDB$PARAMETER_NUMBER");
  meta.ParamByName("P").SetAsString(UpperAscii(StoredProcName));
  inputs_.clear();
  outputs_.clear();
  for (meta.ExecQuery(); !meta.Eof(); meta.Next()) {
    std::string n = Trim(meta.Fields(0).AsString());
    (meta.Fields(1).AsInteger() == 0 ? inputs_ : outputs_).push_back(n);
  }
  std::vector<std::string> all = inputs_;
  all.insert(all.end(), outputs_.begin(), outputs_.end());
  params_.Rebuild(all);
  preparedName_ = StoredProcName;
}

void StoredProc::ExecProc() {
  if (preparedName_ != StoredProcName) Prepare();
  SqlStatement call(CheckDatabase(), CheckTransaction());
  std::string text = "EXECUTE PROCEDURE " + StoredProcName;
  for (size_t i = 0; i < inputs_.size(); ++i)
    text += (i ? ", :" : " :") + std::string("\"") + inputs_[i] + "\"";
  call.SQL.Add(text);
  for (const std::string& n : inputs_)
    call.ParamByName(n).SetValue(params_.ParamByName(n).GetValue());
  call.ExecQuery();
  for (const std::string& n : outputs_)
    if (const SqlField* f = call.FindField(n)) params_.ParamByName(n).SetValue(f->GetValue());
}

}  // namespace db
