#include "db/table.h"

#include "db/sqlstatement.h"
#include "db/textutil.h"

namespace db {
namespace {

std::string Quoted(const std::string& name) { return "\"" + name + "\""; }

}  // namespace

std::string Table::SqlText() const {
  if (TableName.empty()) return std::string();
  std::string sql = "SELECT * FROM " + TableName + "\n";
  std::vector<std::string> order = SplitNames(IndexFieldNames);
  if (order.empty() && !IndexName.empty())
    for (const IndexDef& d : IndexDefs)
      if (SameText(d.Name, IndexName)) order = SplitNames(d.Fields);
  for (size_t i = 0; i < order.size(); ++i) sql += (i ? ", " : "ORDER BY ") + order[i];
  return sql;
}

void Table::SetIndexFieldNames(const std::string& names) {
  if (names == IndexFieldNames) return;
  IndexFieldNames = names;
  Reorder();
}

void Table::SetIndexName(const std::string& name) {
  if (name == IndexName && IndexFieldNames.empty()) return;
  IndexName = name;
  IndexFieldNames.clear();
  Reorder();
}

void Table::Reorder() {
  if (!Active()) return;
  // The order is part of the select text, so only a new cursor applies it.
  Close();
  Open();
}

void Table::UpdateIndexDefs() {
  IndexDefs.clear();
  SqlStatement q(CheckDatabase(), CheckTransaction());
  q.SQL.Add("SELECT I.RDB$INDEX_NAME, I.RDB$UNIQUE_FLAG, I.RDB$INDEX_TYPE, S.RDB$FIELD_NAME,");
  q.SQL.Add("  C.RDB$CONSTRAINT_TYPE");
  q.SQL.Add("FROM RDB$INDICES I JOIN RDB$INDEX_SEGMENTS S ON S.RDB$INDEX_NAME = I.RDB$INDEX_NAME");
  q.SQL.Add("LEFT JOIN RDB$RELATION_CONSTRAINTS C ON C.RDB$INDEX_NAME = I.RDB$INDEX_NAME");
  q.SQL.Add("WHERE I.RDB$RELATION_NAME = :T ORDER BY I.RDB$INDEX_NAME, S.RDB$FIELD_POSITION");
  q.ParamByName("T").SetAsString(TableName);
  for (q.ExecQuery(); !q.Eof(); q.Next()) {
    std::string name = Trim(q.Fields(0).AsString());
    if (IndexDefs.empty() || IndexDefs.back().Name != name) {
      IndexDef d;
      d.Name = name;
      d.Unique = q.Fields(1).AsInteger() == 1;
      d.Descending = q.Fields(2).AsInteger() == 1;
      d.Primary = Trim(q.Fields(4).AsString()) == "PRIMARY KEY";
      IndexDefs.push_back(d);
    } else {
      IndexDefs.back().Fields += ";";
    }
    IndexDefs.back().Fields += Trim(q.Fields(3).AsString());
  }
}

void Table::InternalOpen() {
  if (TableName.empty()) throw DbError("Table name is missing");
  UpdateIndexDefs();
  Query::InternalOpen();
}

void Table::InternalAfterBind() {
  Query::InternalAfterBind();
  if (!ReadOnly) BuildUpdateStatements();
  UpdateObject = ReadOnly ? nullptr : &own_;
}

void Table::BuildUpdateStatements() {
  std::vector<std::string> key;
  for (const IndexDef& d : IndexDefs)
    if (d.Primary) key = SplitNames(d.Fields);
  SqlStatement cols(CheckDatabase(), CheckTransaction());
  cols.SQL.Add("SELECT RF.RDB$FIELD_NAME FROM RDB$RELATION_FIELDS RF");
  cols.SQL.Add("JOIN RDB$FIELDS F ON F.RDB$FIELD_NAME = RF.RDB$FIELD_SOURCE");
  cols.SQL.Add("WHERE RF.RDB$RELATION_NAME = :T AND F.RDB$COMPUTED_BLR IS NULL");
  cols.SQL.Add("ORDER BY RF.RDB$FIELD_POSITION");
  cols.ParamByName("T").SetAsString(TableName);
  std::vector<std::string> writable;
  for (cols.ExecQuery(); !cols.Eof(); cols.Next()) {
    std::string n = Trim(cols.Fields(0).AsString());
    if (FindField(n)) writable.push_back(n);
  }
  // Without a primary key a row is told apart by all its plain columns.
  std::string where;
  if (key.empty()) {
    for (const std::string& n : writable) {
      Field* f = FindField(n);
      if (f->IsBlob()) continue;
      where += std::string(where.empty() ? "WHERE " : " AND ") + "(" + Quoted(n) + " = :OLD_" + n +
               " OR (" + Quoted(n) + " IS NULL AND :OLD_" + n + " IS NULL))";
    }
  } else {
    for (const std::string& n : key)
      where += std::string(where.empty() ? "WHERE " : " AND ") + Quoted(n) + " = :OLD_" + n;
  }
  std::string set, names, values;
  for (const std::string& n : writable) {
    set += (set.empty() ? "" : ", ") + Quoted(n) + " = :" + n;
    names += (names.empty() ? "" : ", ") + Quoted(n);
    values += (values.empty() ? ":" : ", :") + n;
  }
  own_.ModifySQL = {"UPDATE " + TableName + " SET " + set, where};
  own_.InsertSQL = {"INSERT INTO " + TableName + " (" + names + ")", "VALUES (" + values + ")"};
  own_.DeleteSQL = {"DELETE FROM " + TableName, where};
}

void Table::EmptyTable() {
  SqlStatement del(CheckDatabase(), CheckTransaction());
  del.SQL.Add("DELETE FROM " + TableName);
  del.ExecQuery();
  if (Active()) Refresh();
}

}  // namespace db
