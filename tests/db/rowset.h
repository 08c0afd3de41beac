#pragma once
// A data set over rows given in the test, for tests without a database.

#include <utility>
#include <vector>

#include "db/dataset.h"

class TestRows : public db::DataSet {
 public:
  void AddRowValues(std::vector<db::Value> v) { pending_.push_back(std::move(v)); }
  const char* ClassName() const override { return "TTestRows"; }

 protected:
  void InternalOpen() override {
    for (auto& v : pending_) AddRow(v);
  }
  std::vector<std::vector<db::Value>> pending_;
};
