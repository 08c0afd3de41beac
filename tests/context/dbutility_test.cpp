#include "context/dbutility.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "common/fixture.h"
#include "db/database.h"
#include "db/params.h"
#include "db/sqlstatement.h"
#include "db/transaction.h"

namespace {

using velmaro::testing::HostFolder;
using Rows = std::vector<std::vector<std::string>>;

class DbUtilityTest : public ::testing::Test {
 protected:
  void SetUp() override {
    path_ = host_.Folder() + "sem.fdb";
    HostFolder::CreateDatabase(path_);
    first_ = Connect();
    second_ = Connect();
  }

  std::unique_ptr<db::Database> Connect() {
    auto d = std::make_unique<db::Database>();
    HostFolder::Attach(*d, path_);
    return d;
  }

  void CreateTables() {
    velmaro::TSemaforiSituazioni sem(nullptr, first_.get(), 1);
    std::string errore = "stale";
    ASSERT_TRUE(sem.CreaTabelle(errore)) << errore;
    EXPECT_EQ(errore, "");
  }

  Rows Log() {
    return HostFolder::Rows(
        path_,
        "SELECT ID, OPERATORE, SITUAZIONE, DETTAGLIOSITUAZIONE, SITUAZIONEOCCUPATA, "
        "IIF(DATAORALIBERAZIONE IS NULL, 0, 1) FROM SEMAFORI_LOG ORDER BY ID");
  }

  HostFolder host_;
  std::string path_;
  std::unique_ptr<db::Database> first_, second_;
};

TEST_F(DbUtilityTest, TransactionParamsFollowTheMaskBits) {
  // Catches: an off-by-one in the bit numbering, bit 0 or high bits read as
  // items, or old lines left behind.
  db::Transaction tr(first_.get());
  tr.Params = {"isc_tpb_read"};
  velmaro::SetTransactionParams(tr, 0);
  EXPECT_TRUE(tr.Params.empty());
  velmaro::SetTransactionParams(tr, velmaro::MascheraLock | 1u | (1u << 21));
  EXPECT_EQ(tr.Params, (std::vector<std::string>{"isc_tpb_concurrency", "isc_tpb_nowait"}));
  velmaro::SetTransactionParams(tr, (1u << 15) | (1u << 17) | (1u << 20) | (1u << 9));
  EXPECT_EQ(tr.Params, (std::vector<std::string>{"isc_tpb_write", "isc_tpb_read_committed",
                                                 "isc_tpb_rec_version", "isc_tpb_no_auto_undo"}));

  tr.StartTransaction();
  velmaro::SetTransactionParams(tr, 2);
  EXPECT_FALSE(tr.Active()) << "changing the parameters ends the running transaction";

  auto lock = velmaro::CreateLockTransaction(*first_);
  EXPECT_TRUE(lock->Active());
  EXPECT_EQ(lock->DefaultDatabase(), first_.get());
}

TEST_F(DbUtilityTest, CatalogueHelpersAndGenerators) {
  // Catches: existence tests that match the wrong catalogue or break on an
  // apostrophe, a step-0 read that moves the generator, and a wrong count.
  HostFolder::ExecAll(
      path_, {"CREATE TABLE T1 (A INTEGER)", "CREATE GENERATOR G1", "INSERT INTO T1 VALUES (1)",
              "INSERT INTO T1 VALUES (2)", "INSERT INTO T1 VALUES (3)"});
  db::Transaction tr(first_.get());
  EXPECT_TRUE(velmaro::TableExists("T1", *first_, tr));
  EXPECT_TRUE(tr.Active()) << "the test starts an idle transaction";
  EXPECT_FALSE(velmaro::TableExists("G1", *first_, tr));
  EXPECT_FALSE(velmaro::TableExists("X' OR 'A'='A", *first_, tr));
  EXPECT_TRUE(velmaro::GeneratorExists("G1", *first_, tr));
  EXPECT_FALSE(velmaro::GeneratorExists("T1", *first_, tr));
  EXPECT_FALSE(velmaro::GeneratorExists("X' OR 'A'='A", *first_, tr));

  EXPECT_EQ(velmaro::GetGeneratorValue("G1", *first_, 0), 0);
  EXPECT_EQ(velmaro::GetGeneratorValue("G1", *first_, 5), 5);
  EXPECT_EQ(velmaro::GetGeneratorValue("G1", *first_, 0), 5);
  EXPECT_EQ(velmaro::GetGeneratorValue("G1", *second_, 1), 6) << "the step is committed";

  EXPECT_EQ(velmaro::CountQueryRows("SELECT A FROM T1 WHERE A > 1", tr), 2);
  EXPECT_EQ(velmaro::CountQueryRows("SELECT A FROM T1 WHERE A > 9", tr), 0);
}

TEST_F(DbUtilityTest, RecordLockerHoldsTheRowAgainstASecondTransaction) {
  // Catches: a lock statement that does not hold both key fields, a lock
  // that waits instead of failing, and "no row" mistaken for "locked".
  HostFolder::ExecAll(path_,
                      {"CREATE TABLE K (A INTEGER NOT NULL, B VARCHAR(5) NOT NULL, C INTEGER)",
                       "INSERT INTO K VALUES (1, 'x', 0)"});
  const auto locker = [](db::Transaction& tr, const char* b) {
    auto l = std::make_unique<velmaro::TDBRecordLocker>(nullptr);
    l->TableName = "K";
    l->KeyFields.Add("A");
    l->KeyFields.Add("B");
    l->SetTransaction(&tr);
    l->KeyParam("A").SetAsInteger(1);
    l->KeyParam("B").SetAsString(b);
    return l;
  };
  auto tr1 = velmaro::CreateLockTransaction(*first_);
  auto lock1 = locker(*tr1, "x");
  EXPECT_EQ(lock1->LockRecord(), 2);

  auto tr2 = velmaro::CreateLockTransaction(*second_);
  auto lock2 = locker(*tr2, "x");
  EXPECT_EQ(lock2->LockRecord(), 1);
  lock2->KeyParam("B").SetAsString("y");
  EXPECT_EQ(lock2->LockRecord(), 0);

  tr1->Rollback();
  tr2->Rollback();
  tr2->StartTransaction();
  lock2->KeyParam("B").SetAsString("x");
  EXPECT_EQ(lock2->LockRecord(), 2) << "ending the holder's transaction frees the row";
}

TEST_F(DbUtilityTest, CreaTabelleIsIdempotentAndReportsFailure) {
  // Catches: a second run failing on existing objects, and a failure that
  // reports success or an empty message.
  CreateTables();
  CreateTables();
  EXPECT_EQ(HostFolder::Scalar(path_,
                               "SELECT COUNT(*) FROM RDB$RELATIONS WHERE "
                               "RDB$RELATION_NAME IN ('SEMAFORI_SITUAZIONI','SEMAFORI_LOG')"),
            "2");

  // A procedure's name cannot be taken by a table: the log's creation fails
  // after the situations table was made and kept.
  const std::string other = host_.Folder() + "other.fdb";
  HostFolder::CreateDatabase(other);
  HostFolder::Exec(other, "CREATE PROCEDURE SEMAFORI_LOG AS BEGIN END");
  db::Database d;
  HostFolder::Attach(d, other);
  velmaro::TSemaforiSituazioni sem(nullptr, &d, 1);
  std::string errore;
  EXPECT_FALSE(sem.CreaTabelle(errore));
  const std::string prefix = "Fallita creazione tabella SEMAFORI_LOG\r";
  EXPECT_EQ(errore.substr(0, prefix.size()), prefix);
  EXPECT_GT(errore.size(), prefix.size()) << "the database's message follows";
  EXPECT_EQ(HostFolder::Scalar(
                other,
                "SELECT COUNT(*) FROM RDB$RELATIONS WHERE RDB$RELATION_NAME='SEMAFORI_SITUAZIONI'"),
            "1");
}

TEST_F(DbUtilityTest, SemaphoreExcludesASecondHolderAndLogsEveryStep) {
  // Catches: a second holder allowed in (also right after the situation row
  // was first inserted), a refusal that is not logged, a retake that does
  // not stamp the first taking, destruction that stamps the log, and a name
  // or detail with an apostrophe breaking (or smuggling SQL into) the
  // inserts of the situation row and of the log rows.
  CreateTables();
  auto a = std::make_unique<velmaro::TSemaforiSituazioni>(nullptr, first_.get(), 1);
  velmaro::TSemaforiSituazioni b(nullptr, second_.get(), 2);

  EXPECT_TRUE(a->Occupa("D'AMICO", "l'ordine: 1"));
  EXPECT_FALSE(b.Occupa("D'AMICO", "seconda"));
  EXPECT_FALSE(b.Occupato());
  EXPECT_EQ(Log(), (Rows{{"1", "1", "D'AMICO", "l'ordine: 1", "0", "0"},
                         {"2", "2", "D'AMICO", "seconda", "1", "0"}}));

  // Retaking from the same holder stamps the first taking and takes again.
  EXPECT_TRUE(a->Occupa("D'AMICO", "ancora"));
  EXPECT_EQ(a->LogID(), 3);
  EXPECT_FALSE(b.Occupa("D'AMICO", "seconda"));
  Rows log = Log();
  ASSERT_EQ(log.size(), 4u);
  EXPECT_EQ(log[0][5], "1");
  EXPECT_EQ(log[2], (Rows::value_type{"3", "1", "D'AMICO", "ancora", "0", "0"}));

  a->Libera();
  EXPECT_FALSE(a->Occupato());
  EXPECT_EQ(Log()[2][5], "1");
  EXPECT_TRUE(b.Occupa("D'AMICO", "ora tocca a me"));

  // Destroying a holder frees the situation without stamping its row.
  b.Libera();
  auto d = std::make_unique<velmaro::TSemaforiSituazioni>(nullptr, first_.get(), 4);
  EXPECT_TRUE(d->Occupa("D'AMICO", "fine"));
  const int id = d->LogID();
  d.reset();
  EXPECT_EQ(Log().back(), (Rows::value_type{std::to_string(id), "4", "D'AMICO", "fine", "0", "0"}));
  EXPECT_TRUE(b.Occupa("D'AMICO", "dopo"));
}

}  // namespace

namespace {

// Runs one statement in `tr`.
void Esegui(db::Database& d, db::Transaction& tr, const std::string& sql) {
  db::SqlStatement st(&d, &tr);
  st.SQL = {sql};
  st.ExecQuery();
  st.Close();
}

}  // namespace

TEST_F(DbUtilityTest, AWriteMeetingANewerRowRunsOnceMoreOnARenewedViewAndAHeldRowIsInUse) {
  // Catches: a write on an old view failing at every try (no renewal, or a
  // renewal without running again), a write run twice over a renewal that
  // did not roll back the first try, a row a running transaction holds
  // told as anything but in use, any other failure retried.
  HostFolder::ExecAll(path_, {"CREATE TABLE K (A INTEGER NOT NULL PRIMARY KEY, C INTEGER)",
                              "INSERT INTO K VALUES (1, 0)", "INSERT INTO K VALUES (2, 0)"});
  auto mia = velmaro::CreateLockTransaction(*first_);
  Esegui(*first_, *mia, "UPDATE K SET C=C+100 WHERE A=2");  // a first try of the write
  mia->RollbackRetaining();
  HostFolder::ExecAll(path_, {"UPDATE K SET C=5 WHERE A=1"});  // another session, committed

  int tentativi = 0, rinnovi = 0;
  const auto scrivi = [&] {
    ++tentativi;
    Esegui(*first_, *mia, "UPDATE K SET C=C+1 WHERE A=2");
    Esegui(*first_, *mia, "UPDATE K SET C=C+1 WHERE A=1");
  };
  const auto rinnova = [&] {
    ++rinnovi;
    velmaro::RinnovaTransazione(*mia);
    return true;
  };
  std::string errore;
  EXPECT_EQ(velmaro::ScriviRinnovando(*mia, scrivi, rinnova, {}, &errore),
            velmaro::EsitoScrittura::Scritta);
  EXPECT_EQ(tentativi, 2);
  EXPECT_EQ(rinnovi, 1);
  EXPECT_EQ(HostFolder::Rows(path_, "SELECT A, C FROM K ORDER BY A"),
            (Rows{{"1", "6"}, {"2", "1"}}));

  // A renewal that refuses stops the write with nothing of it kept.
  HostFolder::ExecAll(path_, {"UPDATE K SET C=50 WHERE A=1"});
  EXPECT_EQ(velmaro::ScriviRinnovando(*mia, scrivi, [] { return false; }),
            velmaro::EsitoScrittura::Rifiutata);
  EXPECT_EQ(HostFolder::Rows(path_, "SELECT A, C FROM K ORDER BY A"),
            (Rows{{"1", "50"}, {"2", "1"}}));

  // Held by a running transaction: refused again after the renewal.
  auto altra = velmaro::CreateLockTransaction(*second_);
  Esegui(*second_, *altra, "UPDATE K SET C=C WHERE A=1");
  tentativi = rinnovi = 0;
  EXPECT_EQ(velmaro::ScriviRinnovando(*mia, scrivi, rinnova), velmaro::EsitoScrittura::InUso);
  EXPECT_EQ(tentativi, 2);
  altra->Rollback();
  EXPECT_EQ(HostFolder::Rows(path_, "SELECT A, C FROM K ORDER BY A"),
            (Rows{{"1", "50"}, {"2", "1"}}));

  // Any other failure is not retried, and is given back.
  tentativi = 0;
  const auto sbaglia = [&] {
    ++tentativi;
    Esegui(*first_, *mia, "UPDATE K SET C=C+1 WHERE A=2");
    Esegui(*first_, *mia, "INSERT INTO K VALUES (1, 0)");
  };
  EXPECT_EQ(velmaro::ScriviRinnovando(*mia, sbaglia, rinnova, {}, &errore),
            velmaro::EsitoScrittura::Fallita);
  EXPECT_EQ(tentativi, 1);
  EXPECT_NE(errore.find("PRIMARY"), std::string::npos) << errore;
  mia->Commit();
  EXPECT_EQ(HostFolder::Rows(path_, "SELECT A, C FROM K ORDER BY A"),
            (Rows{{"1", "50"}, {"2", "1"}}));
}
