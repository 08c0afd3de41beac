#pragma once
// A fresh embedded database in a temporary folder, removed afterwards.

#include <gtest/gtest.h>

#include <filesystem>
#include <memory>
#include <string>

#include "db/database.h"
#include "db/query.h"
#include "db/transaction.h"

class FbTest : public ::testing::Test {
 protected:
  void SetUp() override {
    std::string tmpl = (std::filesystem::temp_directory_path() / "velmaro-db-XXXXXX").string();
    ASSERT_NE(mkdtemp(tmpl.data()), nullptr);
    dir = tmpl;
    path = dir + "/test.fdb";
    db = std::make_unique<db::Database>();
    db->DatabaseName = path;
    db->Params = {"USER \"SYSDBA\"", "PASSWORD \"masterkey\"", "PAGE_SIZE 4096"};
    db->CreateDatabase();
    db->Params = {"user_name=SYSDBA", "password=masterkey"};
    tr = std::make_unique<db::Transaction>(db.get());
    db->DefaultTransaction = tr.get();
  }
  void TearDown() override {
    tr.reset();
    db.reset();
    std::filesystem::remove_all(dir);
  }
  // Runs statements in the default transaction and commits them.
  void Exec(const std::string& sql) {
    db::Query q(db.get(), tr.get());
    q.SQL.Add(sql);
    q.ExecSQL();
    tr->CommitRetaining();
  }
  std::unique_ptr<db::Database> Connect() {
    auto other = std::make_unique<db::Database>();
    other->DatabaseName = path;
    other->Params = {"user_name=SYSDBA", "password=masterkey"};
    other->Open();
    return other;
  }
  std::string dir, path;
  std::unique_ptr<db::Database> db;
  std::unique_ptr<db::Transaction> tr;
};
