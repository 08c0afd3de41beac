#pragma once
// A data set over rows given in the test, for tests without a database, and
// a helper appending a record to any data set.
#include <string>
#include <utility>
#include <vector>

#include "db/dataset.h"

class TestRows : public db::DataSet {
 public:
  struct Col {
    std::string name;
    db::FieldType type;
    int size = 0;
  };
  using Rows = std::vector<std::vector<db::Value>>;
  TestRows() = default;
  // batch > 0 hands the rows out that many at a time, as a cursor would.
  TestRows(std::vector<Col> cols, Rows rows, size_t batch = 0)
      : cols_(std::move(cols)), rows_(std::move(rows)), batch_(batch) {}
  void AddRowValues(std::vector<db::Value> v) { rows_.push_back(std::move(v)); }
  int posts = 0;

 protected:
  void InternalOpen() override {
    if (FieldDefs().empty())
      for (auto& c : cols_) {
        db::FieldDef d;
        d.name = c.name, d.type = c.type, d.size = c.size;
        FieldDefs().push_back(d);
      }
    if (batch_ == 0)
      for (auto& r : rows_) AddRow(r);
  }
  bool FetchMore() override {
    for (size_t n = 0; batch_ && n < batch_ && next_ < rows_.size(); ++n, ++next_)
      AddRow(rows_[next_]);
    return batch_ && next_ < rows_.size();
  }
  void InternalClose() override { next_ = 0; }
  void InternalPost(db::Row&, const db::Row*) override { ++posts; }

 private:
  std::vector<Col> cols_;
  Rows rows_;
  size_t batch_ = 0, next_ = 0;
};

// Appends a record holding the values given for its first fields, in order.
inline void AppendRow(db::DataSet& set, const std::vector<db::Value>& values) {
  set.Append();
  for (size_t i = 0; i < values.size(); ++i) set.FieldByNumber(int(i)).SetValue(values[i]);
  set.Post();
}
