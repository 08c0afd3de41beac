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

ParamList& Query::Params() { return ParamsFor(SqlText()); }

ParamList& Query::ParamsFor(const std::string& text) {
  if (text != paramsText_) {
    params_.Rebuild(ParseParams(text, ParamCheck).names);
    paramsText_ = text;
  }
  return params_;
}

bool Query::Prepared() const { return stmt_->Prepared() && preparedText_ == SqlText(); }

void Query::Prepare() {
  const std::string text = SqlText();
  CloseIfChanged(text);
  PrepareText(text);
}

// The rows of an open set, and the columns its fields are mapped to, are
// those of the text it was opened on: another text prepared in its place
// would be decoded into them by that mapping, so the set closes first.
void Query::CloseIfChanged(const std::string& text) {
  if (Active() && text != preparedText_) Close();
}

void Query::PrepareText(const std::string& text) {
  if (stmt_->Prepared() && preparedText_ == text) return;
  Database* db = CheckDatabase();
  Transaction* tr = CheckTransaction();
  if (Trim(text).empty())
    throw DbError((Name.empty() ? std::string() : Name + ": ") + "SQL statement is empty");
  preparedText_.clear();
  stmt_->Prepare(db, tr, text, ParamCheck);
  preparedText_ = text;
  // The statement has read the names from this very text already.
  if (text != paramsText_) {
    params_.Rebuild(stmt_->ParamNames());
    paramsText_ = text;
  }
}

void Query::Unprepare() {
  if (Active()) Close();
  stmt_->Free();
  preparedText_.clear();
}

std::vector<const Value*> Query::ParamValues(const std::string& text) {
  ParamList& ps = ParamsFor(text);
  std::vector<const Value*> out;
  for (const std::string& n : stmt_->ParamNames()) {
    Param* p = ps.FindParam(n);
    out.push_back(p ? &p->GetValue() : nullptr);
  }
  return out;
}

// The text is built once for the preparation check, the preparation and
// the parameters.
void Query::ExecuteText(const std::string& text) {
  Transaction* tr = CheckTransaction();
  PrepareText(text);
  stmt_->Execute(tr, ParamValues(text));
}

void Query::InternalOpen() {
  const std::string text = SqlText();
  PrepareText(text);
  if (!stmt_->IsSelect()) throw DbError("The statement does not return rows");
  std::vector<FieldDef>& defs = FieldDefs();
  defs.clear();
  for (const Column& c : stmt_->Columns()) defs.push_back(c.def);
  ExecuteText(text);
}

void Query::InternalAfterBind() {
  slots_.clear();
  const std::vector<Field*>& fields = Fields();
  for (const Column& c : stmt_->Columns()) {
    // Fields made from the columns stand in their order; others are found by name.
    const size_t i = slots_.size();
    Field* f = i < fields.size() && SameText(fields[i]->FieldName(), c.def.name)
                   ? fields[i]
                   : FindField(c.def.name);
    slots_.push_back(f && f->Kind() == FieldKind::Data ? f->Slot() : -1);
    if (f && f->Origin.empty()) f->Origin = c.def.origin;
  }
}

void Query::InternalClose() { stmt_->CloseCursor(); }

bool Query::FetchMore() {
  if (!stmt_->CursorOpen()) return false;
  // The row is decoded straight into the set's storage.
  Row row = NewRow();
  if (!stmt_->Fetch(row.data(), slots_)) {
    DiscardRow(row);
    return false;
  }
  AdoptRow(row);
  return true;
}

void Query::InternalRefresh() {
  const std::string text = SqlText();
  if (text != preparedText_) {
    // The statement changed since the open: its columns may differ, so the
    // set opens again on it, its fields made anew as an open makes them.
    Close();
    Open();
    return;
  }
  stmt_->CloseCursor();
  ClearRows();
  ExecuteText(text);
}

void Query::ExecSQL() {
  const std::string text = SqlText();
  CloseIfChanged(text);
  ExecuteText(text);
  rowsAffected_ = stmt_->RowsAffected();
  // A select run this way has nothing to show.
  stmt_->CloseCursor();
}

void Query::InternalPost(Row& values, const Row* oldValues) {
  if (!UpdateObject) throw DbError("Cannot modify a read-only dataset");
  UpdateObject->Apply(oldValues ? UpdateKind::Modify : UpdateKind::Insert, *this, values,
                      oldValues);
}

void Query::InternalDelete(const Record& rec) {
  if (!UpdateObject) throw DbError("Cannot modify a read-only dataset");
  // A delete only reads the row: it is given as it stands.
  Row values = rec.values;
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

void UpdateSQL::Apply(UpdateKind kind, Query& q, Row& values, const Row* oldValues) {
  const StringList& sql = SQL(kind);
  if (sql.Empty()) throw DbError("No SQL statement for this update");
  Database* db = q.GetDatabase();
  Transaction* tr = q.GetTransaction();
  if (!db || !db->Connected() || !tr) throw DbError("Database or transaction not assigned");
  tr->EnsureStarted();
  auto valueOf = [&](const std::string& name, const Row& row, const Row* old) -> const Value* {
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
  std::vector<Value> fresh(values.begin(), values.end());
  if (rs.Fetch(fresh.data(), slots)) std::move(fresh.begin(), fresh.end(), values.begin());
  rs.CloseCursor();
}

}  // namespace db
