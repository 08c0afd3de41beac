#pragma once
// The bare program of the benchmarks: an attachment through the Firebird
// OO API with nothing of ours in between.
#include <firebird/Interface.h>
#include <stdlib.h>

#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include "db/database.h"
#include "db/query.h"
#include "db/transaction.h"

// Creates an empty database in a new temporary folder, `d` connected to it;
// returns its path (the folder is the path's parent).
inline std::string CreateBenchDatabase(db::Database& d, const char* prefix) {
  std::string tmpl =
      (std::filesystem::temp_directory_path() / (std::string(prefix) + "-XXXXXX")).string();
  if (!mkdtemp(tmpl.data())) std::abort();
  d.DatabaseName = tmpl + "/bench.fdb";
  d.Params = {"USER \"SYSDBA\"", "PASSWORD \"masterkey\"", "PAGE_SIZE 4096"};
  d.CreateDatabase();
  return d.DatabaseName;
}

// Opens the database CreateBenchDatabase made.
inline void OpenBenchDatabase(db::Database& d, const std::string& path) {
  d.DatabaseName = path;
  d.Params = {"user_name=SYSDBA"};
  d.Open();
}

// Removes the folder CreateBenchDatabase made, the database with it.
inline void RemoveBenchDatabase(const std::string& path) {
  std::filesystem::remove_all(std::filesystem::path(path).parent_path());
}

// Runs one statement in a transaction of its own and commits it.
inline void ExecBench(db::Database& d, const std::string& sql) {
  db::Transaction t(&d);
  db::Query q(&d, &t);
  q.ParamCheck = false;
  q.SQL.SetText(sql);
  q.ExecSQL();
  t.Commit();
}

// Runs `body` `rows` times inside the engine, with I counting from 0: the
// quick way to fill a table of many rows.
inline void InsertRows(db::Database& d, int rows, const std::string& body,
                       const std::string& declarations = "") {
  ExecBench(d, "EXECUTE BLOCK AS DECLARE I INTEGER = 0; " + declarations + "BEGIN WHILE (I < " +
                   std::to_string(rows) + ") DO BEGIN " + body + " I = I + 1; END END");
}

struct BareAttachment {
  Firebird::IMaster* master = Firebird::fb_get_master_interface();
  Firebird::ThrowStatusWrapper st{master->getStatus()};
  Firebird::IProvider* prov = master->getDispatcher();
  Firebird::IXpbBuilder* dpb = nullptr;
  Firebird::IAttachment* att = nullptr;

  explicit BareAttachment(const std::string& path) {
    using Firebird::IXpbBuilder;
    dpb = master->getUtilInterface()->getXpbBuilder(&st, IXpbBuilder::DPB, nullptr, 0);
    dpb->insertString(&st, isc_dpb_user_name, "SYSDBA");
    dpb->insertString(&st, isc_dpb_lc_ctype, "UTF8");
    att = prov->attachDatabase(&st, path.c_str(), dpb->getBufferLength(&st), dpb->getBuffer(&st));
  }
  ~BareAttachment() {
    att->detach(&st);
    dpb->dispose();
    prov->release();
    st.dispose();
  }
  BareAttachment(const BareAttachment&) = delete;
  BareAttachment& operator=(const BareAttachment&) = delete;
};

// The bare program's step: prepare `sql`, execute it and fetch at most
// `rows` rows in `tra`, then close. Returns the rows fetched.
inline int BareFirstRows(BareAttachment& bare, Firebird::ITransaction* tra, const std::string& sql,
                         int rows) {
  using namespace Firebird;
  IStatement* stmt =
      bare.att->prepare(&bare.st, tra, 0, sql.c_str(), 3, IStatement::PREPARE_PREFETCH_METADATA);
  IMessageMetadata* meta = stmt->getOutputMetadata(&bare.st);
  std::vector<unsigned char> buf(meta->getMessageLength(&bare.st));
  IResultSet* rs = stmt->openCursor(&bare.st, tra, nullptr, nullptr, meta, 0);
  int n = 0;
  while (n < rows && rs->fetchNext(&bare.st, buf.data()) == IStatus::RESULT_OK) ++n;
  rs->close(&bare.st);
  meta->release();
  stmt->free(&bare.st);
  return n;
}
