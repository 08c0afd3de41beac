// Queries, transactions and update objects on a real embedded database.
#include <gtest/gtest.h>

#include "db/engine.h"
#include "fb_fixture.h"
#include "platform/format.h"

namespace {

class QueryTest : public FbTest {
 protected:
  void SetUp() override {
    FbTest::SetUp();
    Exec(
        "CREATE TABLE LISTSC (ID INTEGER NOT NULL PRIMARY KEY, DESCRIZIONE VARCHAR(40), TIPO "
        "CHAR(1))");
    Exec(
        "CREATE TABLE LISTSCDTNET (ID INTEGER NOT NULL, IDLISTSC INTEGER, CODICEARTICOLO "
        "VARCHAR(30),"
        " PREZZO NUMERIC(15,5), DATAINIZIOVALIDITA DATE, NOTE BLOB SUB_TYPE 1)");
    for (int i = 1; i <= 5; ++i)
      Exec("INSERT INTO LISTSC VALUES (" + std::to_string(i) + ", 'Listino " + std::to_string(i) +
           "', 'N')");
  }
};

TEST_F(QueryTest, RetainingCommitKeepsPositionHardCommitCloses) {
  // Catches a retaining commit that closes or rewinds the query, and a hard
  // commit that leaves a query open on a dead transaction.
  db::Query q(db.get(), tr.get());
  q.SQL.Add("SELECT * FROM LISTSC ORDER BY ID");
  q.Open();
  q.MoveBy(2);
  tr->CommitRetaining();
  ASSERT_TRUE(q.Active());
  EXPECT_EQ(q.FieldByName("ID").AsInteger(), 3);
  q.Next();
  EXPECT_EQ(q.FieldByName("ID").AsInteger(), 4);
  tr->RollbackRetaining();
  EXPECT_TRUE(q.Active());
  tr->Commit();
  EXPECT_FALSE(q.Active());
  EXPECT_FALSE(tr->InTransaction());
  q.Open();  // starts the transaction again
  EXPECT_EQ(q.FieldByName("ID").AsInteger(), 1);
  tr->SetActive(false);
  EXPECT_FALSE(q.Active());
}

TEST_F(QueryTest, NowaitConflictFailsAtOnce) {
  // Catches a nowait transaction that waits for the other connection, or a
  // conflict that is not recognisable as such.
  auto other = Connect();
  db::Transaction t1(db.get()), t2(other.get());
  t1.Params = t2.Params = {"isc_tpb_concurrency", "isc_tpb_nowait"};
  db::Query a(db.get(), &t1), b(other.get(), &t2);
  a.SQL.Add("UPDATE LISTSC SET DESCRIZIONE='A' WHERE ID=1");
  b.SQL.Add("UPDATE LISTSC SET DESCRIZIONE='B' WHERE ID=1");
  a.ExecSQL();
  EXPECT_EQ(a.RowsAffected(), 1);
  try {
    b.ExecSQL();
    FAIL() << "second update went through";
  } catch (const db::DbError& e) {
    EXPECT_TRUE(e.IsLockConflict()) << e.what();
  }
  t1.Commit();
  t2.Rollback();
  db::Transaction bogus(db.get());
  bogus.Params = {"isc_tpb_bogus"};
  EXPECT_THROW(bogus.StartTransaction(), db::DbError);
  EXPECT_FALSE(bogus.InTransaction());
}

TEST_F(QueryTest, UpdateObjectPostsEditAndAppend) {
  // Catches edits posted with the new value where the old key was needed,
  // and appends that never reach the table.
  db::UpdateSQL upd;
  upd.ModifySQL.Add("UPDATE LISTSC SET ID=:ID, DESCRIZIONE=:DESCRIZIONE WHERE ID=:OLD_ID");
  upd.InsertSQL.Add("INSERT INTO LISTSC (ID, DESCRIZIONE, TIPO) VALUES (:ID, :DESCRIZIONE, :TIPO)");
  upd.DeleteSQL.Add("DELETE FROM LISTSC WHERE ID=:OLD_ID");
  db::Query q(db.get(), tr.get());
  q.SQL.Add("SELECT * FROM LISTSC ORDER BY ID");
  q.Open();
  q.Next();
  EXPECT_THROW(q.Edit(), db::DbError) << "no update object: read-only";
  q.UpdateObject = &upd;
  q.Edit();
  q.FieldByName("ID").SetAsInteger(20);
  q.FieldByName("DESCRIZIONE").SetAsString("Cambiato");
  q.Post();
  q.Append();
  q.FieldByName("ID").SetAsInteger(30);
  q.FieldByName("DESCRIZIONE").SetAsString("Nuovo");
  q.FieldByName("TIPO").SetAsString("S");
  q.Post();
  q.First();
  q.Delete();
  tr->Commit();

  db::Query check(db.get(), tr.get());
  check.SQL.Add("SELECT ID, DESCRIZIONE FROM LISTSC ORDER BY ID");
  check.Open();
  std::vector<std::string> rows;
  for (; !check.Eof(); check.Next())
    rows.push_back(check.FieldByName("ID").AsString() + ":" +
                   check.FieldByName("DESCRIZIONE").AsString());
  EXPECT_EQ(rows, (std::vector<std::string>{"3:Listino 3", "4:Listino 4", "5:Listino 5",
                                            "20:Cambiato", "30:Nuovo"}));
}

TEST_F(QueryTest, OriginOfJoinedFields) {
  // Catches Origin taken from the alias instead of the table column, which
  // breaks sorting by a grid column of a join.
  db::Query q(db.get(), tr.get());
  q.SQL.Add("SELECT L.ID, D.ID AS RIGA, D.CODICEARTICOLO, L.DESCRIZIONE AS NOME, 1+1 AS CALC");
  q.SQL.Add("FROM LISTSC L JOIN LISTSCDTNET D ON D.IDLISTSC = L.ID");
  q.Open();
  EXPECT_EQ(q.FieldByName("ID").Origin, "LISTSC.ID");
  EXPECT_EQ(q.FieldByName("RIGA").Origin, "LISTSCDTNET.ID");
  EXPECT_EQ(q.FieldByName("CODICEARTICOLO").Origin, "LISTSCDTNET.CODICEARTICOLO");
  EXPECT_EQ(q.FieldByName("NOME").Origin, "LISTSC.DESCRIZIONE");
  EXPECT_EQ(q.FieldByName("CALC").Origin, "");
}

TEST_F(QueryTest, TextAndValuesRoundTrip) {
  // Catches text mangled by the connection character set, apostrophes that
  // break parameters, and numbers, dates and memos that change on the way.
  plat::SetItalianFormats();
  const std::string text = "Perù l'àncora «più» €";
  db::Query ins(db.get(), tr.get());
  ins.SQL.Add(
      "INSERT INTO LISTSCDTNET (ID, IDLISTSC, CODICEARTICOLO, PREZZO, DATAINIZIOVALIDITA, NOTE)");
  ins.SQL.Add("VALUES (:ID, 1, :COD, :PREZZO, :DATA, :NOTE) -- :NOTPARAM");
  ASSERT_EQ(ins.Params().Count(), 5);
  ins.ParamByName("ID").SetAsInteger(1);
  ins.ParamByName("COD").SetAsString(text);
  ins.ParamByName("PREZZO").SetAsString("12,34567");
  ins.ParamByName("DATA").SetAsString("31/01/2024");
  ins.ParamByName("NOTE").SetAsString(text + "\nriga due");
  ins.ExecSQL();
  Exec("INSERT INTO LISTSCDTNET (ID, CODICEARTICOLO) VALUES (2, 'l''apostrofo '':x')");
  tr->Commit();

  db::Query q(db.get(), tr.get());
  q.SQL.Add("SELECT * FROM LISTSCDTNET WHERE CODICEARTICOLO = :COD OR ID = 2 ORDER BY ID");
  q.ParamByName("COD").SetAsString(text);
  q.Open();
  EXPECT_EQ(q.FieldByName("CODICEARTICOLO").AsString(), text);
  EXPECT_EQ(q.FieldByName("CODICEARTICOLO").Size(), 30);
  EXPECT_DOUBLE_EQ(q.FieldByName("PREZZO").AsFloat(), 12.34567);
  EXPECT_EQ(q.FieldByName("PREZZO").DataType(), db::FieldType::Currency);
  EXPECT_EQ(q.FieldByName("PREZZO").AsString(), "12,34567");
  EXPECT_EQ(q.FieldByName("DATAINIZIOVALIDITA").AsString(), "31/01/2024");
  EXPECT_EQ(q.FieldByName("NOTE").DataType(), db::FieldType::Memo);
  EXPECT_EQ(q.FieldByName("NOTE").AsString(), text + "\nriga due");
  q.Next();
  EXPECT_EQ(q.FieldByName("CODICEARTICOLO").AsString(), "l'apostrofo ':x");
  EXPECT_TRUE(q.FieldByName("PREZZO").IsNull());
}

TEST_F(QueryTest, LazyFetchAndRefresh) {
  // Catches a query that reads every row at open, or a refresh that loses
  // its place or the rows written meanwhile.
  db::Query q(db.get(), tr.get());
  q.SQL.Add("SELECT ID FROM LISTSC ORDER BY ID");
  q.Open();
  EXPECT_EQ(q.RecordCount(), 1);
  q.MoveBy(2);
  EXPECT_EQ(q.RecordCount(), 3);
  Exec("INSERT INTO LISTSC VALUES (0, 'Zero', 'N')");
  q.Refresh();
  EXPECT_EQ(q.RecNo(), 3);
  EXPECT_EQ(q.FieldByName("ID").AsInteger(), 2);
  q.FetchAll();
  EXPECT_EQ(q.RecordCount(), 6);
  q.Last();
  EXPECT_EQ(q.FieldByName("ID").AsInteger(), 5);
}

TEST_F(QueryTest, ChangedStatementIsNeverDecodedWithTheOldColumns) {
  // Catches a refresh that runs a changed statement through the columns of
  // the one the set was opened on (more columns than mapped: a write past
  // the row), with made fields and with declared ones, and a prepare or a
  // run of another statement that leaves the set open on rows of the old.
  db::Query q(db.get(), tr.get());
  q.SQL.Add("SELECT ID FROM LISTSC ORDER BY ID");
  q.Open();
  q.MoveBy(1);
  q.SQL.SetText("SELECT DESCRIZIONE, TIPO, ID FROM LISTSC ORDER BY ID");
  q.Refresh();
  ASSERT_TRUE(q.Active());
  EXPECT_EQ(q.FieldCount(), 3);
  EXPECT_EQ(q.RecNo(), 2);
  EXPECT_EQ(q.FieldByName("DESCRIZIONE").AsString(), "Listino 2");
  EXPECT_EQ(q.FieldByName("ID").AsInteger(), 2);
  q.Last();
  EXPECT_EQ(q.FieldByName("DESCRIZIONE").AsString(), "Listino 5");

  db::Query declared(db.get(), tr.get());
  declared.CreateField("ID", db::FieldType::Integer);
  declared.SQL.Add("SELECT ID FROM LISTSC ORDER BY ID");
  declared.Open();
  declared.SQL.SetText("SELECT DESCRIZIONE, TIPO, ID FROM LISTSC ORDER BY ID DESC");
  declared.Refresh();
  EXPECT_EQ(declared.FieldCount(), 1);
  EXPECT_EQ(declared.FieldByName("ID").AsInteger(), 5);
  declared.Last();
  EXPECT_EQ(declared.FieldByName("ID").AsInteger(), 1);

  declared.SQL.SetText("SELECT TIPO FROM LISTSC");
  declared.Prepare();
  EXPECT_FALSE(declared.Active());
  declared.SQL.SetText("SELECT ID FROM LISTSC ORDER BY ID");
  declared.Open();
  declared.SQL.SetText("UPDATE LISTSC SET TIPO = 'S' WHERE ID = 1");
  declared.ExecSQL();
  EXPECT_FALSE(declared.Active());
  EXPECT_EQ(declared.RowsAffected(), 1);
}

TEST_F(QueryTest, DeclaredFieldsInAnotherOrderTakeTheirOwnColumns) {
  // Catches a column given to the declared field at its position although
  // that field has another name: each field must read its own column,
  // whatever the order of the declaration, with a column no field names
  // and a calculated field in between.
  db::Query q(db.get(), tr.get());
  q.CreateField("DESCRIZIONE", db::FieldType::String, 40);
  q.CreateField("DOPPIO", db::FieldType::Integer, 0, db::FieldKind::Calculated);
  q.CreateField("ID", db::FieldType::Integer);
  q.OnCalcFields = [](db::DataSet& ds) {
    ds.FieldByName("DOPPIO").SetAsInteger(ds.FieldByName("ID").AsInteger() * 2);
  };
  q.SQL.Add("SELECT ID, TIPO, DESCRIZIONE FROM LISTSC WHERE ID >= 4 ORDER BY ID");
  q.Open();
  ASSERT_EQ(q.FieldCount(), 3);
  EXPECT_EQ(q.FieldByName("ID").AsString(), "4");
  EXPECT_EQ(q.FieldByName("DESCRIZIONE").AsString(), "Listino 4");
  EXPECT_EQ(q.FieldByName("DOPPIO").AsInteger(), 8);
  q.Next();
  EXPECT_EQ(q.FieldByName("ID").AsString(), "5");
  EXPECT_EQ(q.FieldByName("DESCRIZIONE").AsString(), "Listino 5");
  EXPECT_EQ(q.FindField("TIPO"), nullptr);
}

TEST_F(QueryTest, DatabaseCloseAndFailedOpen) {
  // Catches statements left on a detached connection (crash on reuse) and a
  // failed open that leaves the query half open.
  db::Query q(db.get(), tr.get());
  q.SQL.Add("SELECT * FROM NONESISTE");
  EXPECT_THROW(q.Open(), db::DbError);
  EXPECT_FALSE(q.Active());
  EXPECT_EQ(q.FieldCount(), 0);
  q.SQL.Clear();
  q.SQL.Add("SELECT ID FROM LISTSC WHERE ID > :ID ORDER BY ID");
  q.ParamByName("ID").SetAsInteger(3);
  q.Open();
  EXPECT_EQ(q.FieldByName("ID").AsInteger(), 4);
  db->Close();
  EXPECT_FALSE(q.Active());
  EXPECT_FALSE(tr->InTransaction());
  EXPECT_THROW(q.Open(), db::DbError);
  db->Open();
  q.Open();
  EXPECT_EQ(q.FieldByName("ID").AsInteger(), 4) << "parameter value kept";
}

TEST_F(QueryTest, EachCallReportsOnlyItsOwnOutcome) {
  // Catches the status that every call into the engine shares keeping an
  // error (a later call failing with the earlier message, or a good one
  // failing at all), and a statement without parameters, or one whose "?"
  // stands only in a literal, sent a message it does not take.
  db::Query q(db.get(), tr.get());
  // The message of the open of `sql`, which must fail.
  auto failure = [&](const std::string& sql) {
    q.SQL.SetText(sql);
    try {
      q.Open();
    } catch (const db::DbError& e) {
      return std::string(e.what());
    }
    ADD_FAILURE() << sql << " opened";
    return std::string();
  };
  EXPECT_NE(failure("SELECT * FROM NONESISTE").find("NONESISTE"), std::string::npos);
  q.SQL.SetText("SELECT '?' AS SEGNO, COUNT(*) AS QUANTI FROM LISTSC");
  q.Open();
  EXPECT_EQ(q.FieldByName("SEGNO").AsString(), "?");
  EXPECT_EQ(q.FieldByName("QUANTI").AsInteger(), 5);
  q.Close();
  q.SQL.SetText("SELECT DESCRIZIONE FROM LISTSC WHERE ID = :ID AND DESCRIZIONE <> '?'");
  q.ParamByName("ID").SetAsInteger(2);
  q.Open();
  EXPECT_EQ(q.FieldByName("DESCRIZIONE").AsString(), "Listino 2");
  q.Close();
  const std::string second = failure("SELECT ASSENTE FROM LISTSC");
  EXPECT_NE(second.find("ASSENTE"), std::string::npos) << second;
  EXPECT_EQ(second.find("NONESISTE"), std::string::npos) << second;
  Exec("UPDATE LISTSC SET TIPO = 'S' WHERE ID = 1");
  q.SQL.SetText("SELECT TIPO FROM LISTSC WHERE ID = 1");
  q.Open();
  EXPECT_EQ(q.FieldByName("TIPO").AsString(), "S");
}

TEST_F(QueryTest, AttachAttemptsAreObservable) {
  // Catches opening rules that cannot be checked because attempts are
  // invisible, and failures reported as success.
  std::vector<std::string> names;
  db::Database::OnAttachAttempt = [&](const std::string& n, bool create) {
    names.push_back((create ? "create:" : "attach:") + n);
  };
  db::Database missing;
  missing.DatabaseName = dir + "/nessuno.fdb";
  EXPECT_THROW(missing.Open(), db::DbError);
  auto other = Connect();
  db::Database::OnAttachAttempt = nullptr;
  EXPECT_EQ(names, (std::vector<std::string>{"attach:" + dir + "/nessuno.fdb", "attach:" + path}));
}

}  // namespace
