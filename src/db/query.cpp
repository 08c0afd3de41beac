#include "db/query.h"

#include "db/database.h"
#include "db/stmt.h"
#include "db/textutil.h"

namespace db {

Query::Query() : stmt_(std::make_unique<Statement>()) {}

Query::Query(Database* db, Transaction* tr) : Query() {
  SetDatabase(db);
  SetTransaction(tr);
}

Query::~Query() {
  try {
    Close();
  } catch (...) {
    // Closing only drops the cursor; nothing to report from a destructor.
  }
}

ParamList& Query::Params() {
  std::string text = SqlText();
  if (text != paramsText_) {
    params_.Rebuild(ParseParams(text, ParamCheck).names);
    paramsText_ = text;
  }
  return params_;
}

bool Query::Prepared() const { return stmt_->Prepared() && preparedText_ == SqlText(); }

void Query::Prepare() {
  if (Prepared()) return;
  Database* db = CheckDatabase();
  Transaction* tr = CheckTransaction();
  std::string text = SqlText();
  if (Trim(text).empty())
    throw DbError((Name.empty() ? std::string() : Name + ": ") + "SQL statement is empty");
  preparedText_.clear();
  stmt_->Prepare(db, tr, text, ParamCheck);
  preparedText_ = text;
  // The statement has read the names from this very text already.
  if (text != paramsText_) {
    params_.Rebuild(stmt_->ParamNames());
    paramsText_ = std::move(text);
  }
}

void Query::Unprepare() {
  if (Active()) Close();
  stmt_->Free();
  preparedText_.clear();
}

std::vector<const Value*> Query::ParamValues() {
  ParamList& ps = Params();
  std::vector<const Value*> out;
  for (const std::string& n : stmt_->ParamNames()) {
    Param* p = ps.FindParam(n);
    out.push_back(p ? &p->GetValue() : nullptr);
  }
  return out;
}

void Query::ExecuteCursor() {
  Transaction* tr = CheckTransaction();
  Prepare();
  stmt_->Execute(tr, ParamValues());
}

void Query::InternalOpen() {
  Prepare();
  if (!stmt_->IsSelect()) throw DbError("The statement does not return rows");
  std::vector<FieldDef>& defs = FieldDefs();
  defs.clear();
  for (const Column& c : stmt_->Columns()) defs.push_back(c.def);
  ExecuteCursor();
}

void Query::InternalAfterBind() {
  slots_.clear();
  for (const Column& c : stmt_->Columns()) {
    Field* f = FindField(c.def.name);
    slots_.push_back(f && f->Kind() == FieldKind::Data ? f->Slot() : -1);
    if (f && f->Origin.empty()) f->Origin = c.def.origin;
  }
}

void Query::InternalClose() { stmt_->CloseCursor(); }

bool Query::FetchMore() {
  if (!stmt_->CursorOpen()) return false;
  std::vector<Value> row(static_cast<size_t>(FieldCount()));
  if (!stmt_->Fetch(row, slots_)) return false;
  AddRow(std::move(row));
  return true;
}

void Query::InternalRefresh() {
  stmt_->CloseCursor();
  ClearRows();
  ExecuteCursor();
}

void Query::ExecSQL() {
  Transaction* tr = CheckTransaction();
  Prepare();
  stmt_->Execute(tr, ParamValues());
  rowsAffected_ = stmt_->RowsAffected();
  // A select run this way has nothing to show.
  stmt_->CloseCursor();
}

void Query::InternalPost(std::vector<Value>& values, const std::vector<Value>* oldValues) {
  if (!UpdateObject) throw DbError("Cannot modify a read-only dataset");
  UpdateObject->Apply(oldValues ? UpdateKind::Modify : UpdateKind::Insert, *this, values,
                      oldValues);
}

void Query::InternalDelete(const Record& rec) {
  if (!UpdateObject) throw DbError("Cannot modify a read-only dataset");
  std::vector<Value> values = rec.values;
  UpdateObject->Apply(UpdateKind::Delete, *this, values, &rec.values);
}

void Query::TransactionEnding() {
  Close();
  stmt_->CloseCursor();
}

void Query::DatabaseClosing() {
  Close();
  stmt_->Free();
  preparedText_.clear();
}

// ---------------------------------------------------------------- UpdateSQL

void UpdateSQL::Apply(UpdateKind kind, Query& q, std::vector<Value>& values,
                      const std::vector<Value>* oldValues) {
  const StringList& sql = SQL(kind);
  if (sql.Empty()) throw DbError("No SQL statement for this update");
  Database* db = q.GetDatabase();
  Transaction* tr = q.GetTransaction();
  if (!db || !db->Connected() || !tr) throw DbError("Database or transaction not assigned");
  tr->EnsureStarted();
  auto valueOf = [&](const std::string& name, const std::vector<Value>& row,
                     const std::vector<Value>* old) -> const Value* {
    if (old && name.size() > 4 && SameText(name.substr(0, 4), "OLD_")) {
      if (Field* f = q.FindField(name.substr(4))) return &(*old)[f->Slot()];
    }
    if (Field* f = q.FindField(name)) return &row[f->Slot()];
    return nullptr;
  };
  Statement st;
  st.Prepare(db, tr, sql.Text(), true);
  std::vector<const Value*> params;
  for (const std::string& n : st.ParamNames()) params.push_back(valueOf(n, values, oldValues));
  st.Execute(tr, params);
  st.CloseCursor();
  if (kind == UpdateKind::Delete || RefreshSQL.Empty()) return;
  Statement rs;
  rs.Prepare(db, tr, RefreshSQL.Text(), true);
  params.clear();
  for (const std::string& n : rs.ParamNames()) params.push_back(valueOf(n, values, nullptr));
  rs.Execute(tr, params);
  std::vector<int> slots;
  for (const Column& c : rs.Columns()) {
    Field* f = q.FindField(c.def.name);
    slots.push_back(f && f->Kind() == FieldKind::Data ? f->Slot() : -1);
  }
  std::vector<Value> fresh = values;
  if (rs.Fetch(fresh, slots)) values = std::move(fresh);
  rs.CloseCursor();
}

}  // namespace db
