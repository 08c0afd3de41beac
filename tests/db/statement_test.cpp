// Plain statements, stored procedures, tables and a second process.
#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>

#include "db/engine.h"
#include "db/sqlstatement.h"
#include "db/stmt.h"
#include "db/table.h"
#include "fb_fixture.h"

namespace {

class StatementTest : public FbTest {
 protected:
  void SetUp() override {
    FbTest::SetUp();
    for (const char* sql :
         {"CREATE TABLE FASCESC (ID INTEGER NOT NULL PRIMARY KEY, DESCRIZIONE VARCHAR(40), "
          "PRIORITA SMALLINT)",
          "CREATE INDEX FASCESC_DESC ON FASCESC (DESCRIZIONE, PRIORITA)",
          "CREATE TABLE SENZACHIAVE (CODICE VARCHAR(10), VALORE INTEGER)",
          "INSERT INTO FASCESC VALUES (1, 'Uno', 3)", "INSERT INTO FASCESC VALUES (2, 'Due', 1)",
          "INSERT INTO FASCESC VALUES (3, 'Tre', 2)", "INSERT INTO SENZACHIAVE VALUES ('A', 1)",
          "INSERT INTO SENZACHIAVE VALUES ('A', NULL)"})
      Exec(sql);
  }
};

TEST_F(StatementTest, SqlStatementRowsAndProcedures) {
  // Catches a statement that skips its first row, misreports Eof, or a
  // procedure call that loses its output parameters.
  db::SqlStatement s(db.get(), tr.get());
  s.SQL.Add("SELECT ID, DESCRIZIONE FROM FASCESC WHERE ID >= :MIN ORDER BY ID");
  s.ParamByName("MIN").SetAsInteger(2);
  s.ExecQuery();
  ASSERT_FALSE(s.Eof());
  EXPECT_EQ(s.FieldByName("DESCRIZIONE").AsString(), "Due");
  EXPECT_TRUE(s.Next());
  EXPECT_EQ(s.FieldByName("ID").AsInteger(), 3);
  EXPECT_FALSE(s.Next());
  EXPECT_TRUE(s.Eof());
  EXPECT_THROW(s.FieldByName("NESSUNO"), db::DbError);

  db::SqlStatement upd(db.get(), tr.get());
  upd.SQL.Add("UPDATE FASCESC SET PRIORITA = PRIORITA + 1");
  upd.ExecQuery();
  EXPECT_EQ(upd.RowsAffected(), 3);

  Exec(
      "CREATE PROCEDURE RADDOPPIA (X INTEGER, NOME VARCHAR(20)) RETURNS (Y INTEGER, SALUTO "
      "VARCHAR(40))"
      " AS BEGIN Y = X * 2; SALUTO = 'Ciao ' || NOME; END");
  db::StoredProc p(db.get(), tr.get());
  p.StoredProcName = "RADDOPPIA";
  p.ParamByName("X").SetAsInteger(21);
  p.ParamByName("NOME").SetAsString("l'amico");
  p.ExecProc();
  EXPECT_EQ(p.ParamByName("Y").AsInteger(), 42);
  EXPECT_EQ(p.ParamByName("SALUTO").AsString(), "Ciao l'amico");
  EXPECT_THROW(p.ParamByName("Z"), db::DbError);
}

TEST_F(StatementTest, TableOrderIndexesAndEditing) {
  // Catches IndexFieldNames ignored or not replaced by an index name, index
  // definitions misread, and edits of a table without a primary key that
  // touch the wrong row.
  db::Table t(db.get(), tr.get());
  t.TableName = "FASCESC";
  t.IndexFieldNames = "PRIORITA";
  t.Open();
  EXPECT_EQ(t.FieldByName("DESCRIZIONE").AsString(), "Due");
  t.SetIndexFieldNames("DESCRIZIONE;ID");
  EXPECT_EQ(t.FieldByName("DESCRIZIONE").AsString(), "Due");
  t.Last();
  EXPECT_EQ(t.FieldByName("DESCRIZIONE").AsString(), "Uno");
  int found = 0;  // the named index and the primary key, each with its fields
  for (const db::IndexDef& d : t.IndexDefs)
    found += (d.Name == "FASCESC_DESC" && d.Fields == "DESCRIZIONE;PRIORITA") +
             (d.Primary && d.Fields == "ID");
  EXPECT_EQ(found, 2);
  t.SetIndexFieldNames("ID");
  EXPECT_EQ(t.FieldByName("DESCRIZIONE").AsString(), "Uno");
  t.SetIndexName("FASCESC_DESC");
  EXPECT_TRUE(t.IndexFieldNames.empty());
  EXPECT_EQ(t.FieldByName("DESCRIZIONE").AsString(), "Due");
  t.Close();
  t.IndexFieldNames.clear();
  t.IndexName = "FASCESC_DESC";
  t.Open();
  EXPECT_EQ(t.FieldByName("DESCRIZIONE").AsString(), "Due");
  t.Last();
  t.Edit();
  t.FieldByName("DESCRIZIONE").SetAsString("Primo");
  t.Post();
  t.Append();
  t.FieldByName("ID").SetAsInteger(4);
  t.FieldByName("DESCRIZIONE").SetAsString("Quattro");
  t.Post();

  db::Table k(db.get(), tr.get());
  k.TableName = "SENZACHIAVE";
  k.Open();
  k.Next();
  ASSERT_TRUE(k.FieldByName("VALORE").IsNull());
  k.Edit();
  k.FieldByName("VALORE").SetAsInteger(2);
  k.Post();
  tr->Commit();

  db::SqlStatement s(db.get(), tr.get());
  s.SQL.Add("SELECT LIST(DESCRIZIONE, ',') FROM (SELECT DESCRIZIONE FROM FASCESC ORDER BY ID)");
  s.ExecQuery();
  EXPECT_EQ(s.Fields(0).AsString(), "Primo,Due,Tre,Quattro");
  s.Close();
  s.SQL.Clear();
  s.SQL.Add("SELECT SUM(VALORE), COUNT(*) FROM SENZACHIAVE");
  s.ExecQuery();
  EXPECT_EQ(s.Fields(0).AsInteger(), 3);
  EXPECT_EQ(s.Fields(1).AsInteger(), 2);
}

TEST_F(StatementTest, TextGoesWholeOrIsRefused) {
  // Catches a text parameter's length sent modulo 65,536 (a 65,542-byte
  // code stored as its first six bytes), a NUL byte stored inside a value,
  // and a NUL in a statement's text cutting the statement short.
  Exec("CREATE TABLE TESTI (ID INTEGER, TESTO VARCHAR(32765) CHARACTER SET NONE)");
  db::SqlStatement ins(db.get(), tr.get());
  ins.SQL.Add("INSERT INTO TESTI VALUES (:ID, :TESTO)");
  auto inserisci = [&](int id, const std::string& testo) {
    ins.ParamByName("ID").SetAsInteger(id);
    ins.ParamByName("TESTO").SetAsString(testo);
    ins.ExecQuery();
  };
  inserisci(1, std::string(db::Statement::kMaxTextParam, 'X'));
  try {
    inserisci(2, "VTL001" + std::string(65536, 'X'));
    ADD_FAILURE() << "a text of 65,542 bytes was taken";
  } catch (const db::DbError& e) {
    EXPECT_STREQ(e.what(),
                 "Il valore di TESTO è troppo lungo per l'archivio: 65542 byte, al massimo 32765");
  }
  EXPECT_THROW(inserisci(3, std::string("VTL\0001", 5)), db::DbError);

  db::SqlStatement letto(db.get(), tr.get());
  letto.SQL.Add("SELECT LIST(ID || ':' || OCTET_LENGTH(TESTO)) FROM TESTI");
  letto.ExecQuery();
  EXPECT_EQ(letto.Fields(0).AsString(), "1:32765");

  db::SqlStatement nul(db.get(), tr.get());
  nul.SQL.Add(std::string("SELECT COUNT(*) FROM TESTI WHERE TESTO='VTL\0001'", 46));
  try {
    nul.ExecQuery();
    ADD_FAILURE() << "a statement with a NUL byte ran";
  } catch (const db::DbError& e) {
    EXPECT_EQ(
        std::string(e.what()).rfind("Il testo dell'istruzione SQL contiene un carattere nullo", 0),
        0u)
        << e.what();
  }
}

TEST_F(StatementTest, SecondProcessOpensTheSameDatabase) {
  // Catches an engine left in Super mode, which locks other processes out
  // of a database this process has open.
  const char* isql = "/usr/bin/isql-fb";
  if (!std::ifstream(isql)) GTEST_SKIP() << "isql-fb is not installed";
  std::string conf =
      std::getenv("FIREBIRD") ? std::getenv("FIREBIRD") : db::DefaultEngineConfigDir();
  std::string script = dir + "/probe.sql";
  std::ofstream(script) << "CONNECT '" << path << "' USER 'SYSDBA' PASSWORD 'masterkey';\n"
                        << "SELECT COUNT(*) FROM FASCESC;\n";
  std::string cmd =
      "FIREBIRD='" + conf + "' " + isql + " -q -i '" + script + "' > '" + dir + "/out.txt' 2>&1";
  ASSERT_TRUE(db->Connected());
  EXPECT_EQ(std::system(cmd.c_str()), 0);
  std::ifstream out(dir + "/out.txt");
  std::string all((std::istreambuf_iterator<char>(out)), std::istreambuf_iterator<char>());
  EXPECT_NE(all.find("3"), std::string::npos) << all;
  EXPECT_EQ(all.find("Statement failed"), std::string::npos) << all;
}

}  // namespace
