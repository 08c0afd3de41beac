// The hold of a list taken by a view older than another session's write to
// it: the view renewed once, the write let through only on what it read
// still standing, the operator told why when it is not.
#include "pricelists/presalistino.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "common/fixture.h"
#include "context/dbutility.h"
#include "db/database.h"
#include "db/query.h"
#include "db/transaction.h"

namespace velmaro::testing {
namespace {

const char* const kErrore = "Errore interno: impossibile aggiornare il record";
const char* const kCancellato = "Il record selezionato è già stato cancellato da un altro utente";
const char* const kInUso = "Il listino è in uso da un altro utente: riprovare più tardi";

class PresaListinoTest : public ::testing::Test {
 protected:
  void SetUp() override {
    HostFolder::CreateDatabase(Percorso());
    HostFolder::ExecAll(
        Percorso(),
        {"CREATE TABLE LISTSC (ID INTEGER NOT NULL PRIMARY KEY, NOME VARCHAR(60))",
         "CREATE TABLE RIGHE (IDLISTSC INTEGER, CODICE VARCHAR(10), PREZZO INTEGER)",
         "INSERT INTO LISTSC VALUES (2, 'Rivenditori')", "INSERT INTO RIGHE VALUES (2, 'A', 1)",
         "INSERT INTO RIGHE VALUES (2, 'B', 2)"});
    HostFolder::Attach(db_, Percorso());
    vista_.Params = {"isc_tpb_concurrency", "isc_tpb_nowait"};
    vista_.StartTransaction();
  }

  std::string Percorso() const { return cartella_.Folder() + "archivio.fdb"; }
  // Another operator's write to list 2, committed: what the hold takes
  // (the header's new version) and then the statement.
  void ScriveAltro(const std::string& sql) const {
    HostFolder::ExecAll(Percorso(), {"UPDATE LISTSC SET ID=ID WHERE ID=2", sql});
  }
  std::string Conta(const std::string& sql) {
    db::Query q(&db_, &vista_);
    q.SQL.Add(sql);
    q.Open();
    return q.Fields()[0]->AsString();
  }
  PresaListino::Rinnovo Rinnovo(std::vector<std::vector<std::string>> letture = {}) {
    return {.rinnova =
                [this] {
                  ++rinnovi_;
                  vista_.Commit();
                  vista_.StartTransaction();
                },
            .letture = std::move(letture),
            .errore = kErrore};
  }
  // Whether another session can hold the list now.
  bool Libera() {
    auto t = CreateLockTransaction(db_);
    const bool libera = PresaListino(*t, "2").Presa();
    t->Rollback();
    return libera;
  }

  HostFolder cartella_;
  db::Database db_;
  db::Transaction vista_{&db_};
  int rinnovi_ = 0;
};

TEST_F(PresaListinoTest, AnOldViewIsRenewedOnceAndHeld) {
  // Catches: the old view refused for good (the operator told to reopen),
  // a view renewed when no other session wrote, a write let through on the
  // old view (missing the other's row) or without the list held.
  Operator op;
  auto presa =
      PresaListino::Prendi(vista_, "2", Rinnovo({{"SELECT * FROM RIGHE WHERE CODICE='A'"}}));
  ASSERT_TRUE(presa);
  EXPECT_EQ(rinnovi_, 0);
  presa->Conferma();

  ScriveAltro("INSERT INTO RIGHE VALUES (2, 'C', 3)");
  presa = PresaListino::Prendi(vista_, "2", Rinnovo({{"SELECT * FROM RIGHE WHERE CODICE='A'"}}));
  ASSERT_TRUE(presa);
  EXPECT_EQ(rinnovi_, 1);
  EXPECT_TRUE(op.Texts().empty());
  EXPECT_EQ(Conta("SELECT COUNT(*) FROM RIGHE"), "3");
  EXPECT_FALSE(Libera());
  presa->Conferma();
  EXPECT_TRUE(Libera());
}

TEST_F(PresaListinoTest, WhatTheWriteReadChangedRefusesIt) {
  // Catches: a write run again over a row or a header another session
  // changed meanwhile, or into a list it deleted; the list left held after
  // a refusal; an import refused for a renamed list.
  Operator op;
  ScriveAltro("UPDATE RIGHE SET PREZZO=9 WHERE CODICE='A'");
  EXPECT_FALSE(
      PresaListino::Prendi(vista_, "2", Rinnovo({{"SELECT * FROM RIGHE WHERE CODICE='A'"}})));
  EXPECT_EQ(op.Texts(), std::vector<std::string>{kErrore});
  EXPECT_EQ(rinnovi_, 1);
  EXPECT_TRUE(Libera());

  // A row the write does not read may change.
  ScriveAltro("UPDATE RIGHE SET PREZZO=8 WHERE CODICE='B'");
  EXPECT_TRUE(
      PresaListino::Prendi(vista_, "2", Rinnovo({{"SELECT * FROM RIGHE WHERE CODICE='A'"}})));

  ui::App().ClearMessages();
  ScriveAltro("UPDATE LISTSC SET NOME='Rinominato' WHERE ID=2");
  EXPECT_FALSE(PresaListino::Prendi(vista_, "2", Rinnovo()));
  EXPECT_EQ(op.Texts(), std::vector<std::string>{kErrore});

  ScriveAltro("UPDATE LISTSC SET NOME='Di nuovo' WHERE ID=2");
  EXPECT_TRUE(PresaListino::Prendi(vista_, "2", PresaListino::SoloTransazione()));

  ui::App().ClearMessages();
  HostFolder::Exec(Percorso(), "DELETE FROM LISTSC WHERE ID=2");
  EXPECT_FALSE(PresaListino::Prendi(vista_, "2", Rinnovo()));
  EXPECT_EQ(op.Texts(), std::vector<std::string>{kCancellato});
}

TEST_F(PresaListinoTest, RefusedAgainAfterRenewingIsInUseAndChecksRunUnderTheHold) {
  // Catches: a loop of renewals, a second refusal told as a stale view or
  // as a deleted list; the command's checks skipped after renewing, run on
  // the old view, or their warning shown while the list stays held.
  Operator op;
  db::Transaction altra(&db_);
  altra.Params = {"isc_tpb_concurrency", "isc_tpb_nowait"};
  ScriveAltro("INSERT INTO RIGHE VALUES (2, 'C', 3)");
  PresaListino::Rinnovo r = Rinnovo();
  r.rinnova = [&] {
    ++rinnovi_;
    vista_.Commit();
    vista_.StartTransaction();
    altra.StartTransaction();
    db::Query q(&db_, &altra);
    q.SQL.Add("UPDATE LISTSC SET ID=ID WHERE ID=2");
    q.ExecSQL();
  };
  EXPECT_FALSE(PresaListino::Prendi(vista_, "2", r));
  EXPECT_EQ(rinnovi_, 1);
  EXPECT_EQ(op.Texts(), std::vector<std::string>{kInUso});
  altra.Commit();

  ui::App().ClearMessages();
  std::string visto;
  bool libera = true;
  r = Rinnovo();
  r.controlla = [&] {
    visto = Conta("SELECT COUNT(*) FROM RIGHE WHERE CODICE='C'");
    libera = Libera();
    return std::string("Attenzione: l'articolo inserito è già in uso");
  };
  EXPECT_FALSE(PresaListino::Prendi(vista_, "2", r));
  EXPECT_EQ(visto, "1");
  EXPECT_FALSE(libera);
  EXPECT_EQ(op.Texts(), std::vector<std::string>{"Attenzione: l'articolo inserito è già in uso"});
  EXPECT_TRUE(Libera());
}

}  // namespace
}  // namespace velmaro::testing
