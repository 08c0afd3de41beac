#pragma once
// A whole table as an editable data set (the class library's TIBTable).

#include <string>
#include <vector>

#include "db/query.h"

namespace db {

struct IndexDef {
  std::string Name;
  std::string Fields;  // column names separated by ";"
  bool Primary = false;
  bool Unique = false;
  bool Descending = false;
};

class Table : public Query {
 public:
  Table() = default;
  explicit Table(Database* db, Transaction* tr = nullptr) : Query(db, tr) {}
  const char* ClassName() const override { return "TIBTable"; }

  std::string TableName;
  // Sort order: column names separated by ";".
  std::string IndexFieldNames;
  // Sort by the columns of this index when IndexFieldNames is empty.
  std::string IndexName;
  // Master/detail binding is never used here; kept for the grid's test.
  class DataSource* MasterSource = nullptr;
  // Both re-read an open table in the new order. As in the class library,
  // an index name replaces an order given by field names.
  void SetIndexFieldNames(const std::string& names);
  void SetIndexName(const std::string& name);
  // Read from the catalogue at each open (and by UpdateIndexDefs).
  std::vector<IndexDef> IndexDefs;
  void UpdateIndexDefs();
  // Empties the table (DELETE of every row).
  void EmptyTable();

 protected:
  std::string SqlText() const override;
  void InternalOpen() override;
  void InternalAfterBind() override;
  bool CanModifyImpl() const override { return !ReadOnly; }

 private:
  void BuildUpdateStatements();
  void Reorder();
  UpdateSQL own_;
};

}  // namespace db
