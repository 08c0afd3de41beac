#include "context/positions.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "common/fixture.h"
#include "db/database.h"
#include "db/query.h"
#include "db/transaction.h"
#include "ui/form.h"

namespace {

using velmaro::testing::HostFolder;
using Rows = std::vector<std::vector<std::string>>;

std::vector<int> Bounds(const ui::Form& f) { return {f.Left(), f.Top(), f.Width(), f.Height()}; }

class PositionsTest : public ::testing::Test {
 protected:
  void SetUp() override {
    path_ = host_.Folder() + "pos.fdb";
    HostFolder::CreateDatabase(path_);
    HostFolder::Exec(path_,
                     "CREATE TABLE STOPOS1(CODICEPROGETTO Smallint NOT NULL, CODICESITUAZIONE "
                     "Smallint NOT NULL, "
                     "CODICEUTENTE Smallint NOT NULL, POSX Smallint, POSY Smallint, DIMX Smallint, "
                     "DIMY Smallint, "
                     "INFO1 Float, INFO2 Float, INFO3 Smallint, INFO4 Smallint, INFO5 Varchar(10), "
                     "INFO6 Varchar(10), "
                     "CONSTRAINT STOPOS1_CHIAVEPRIMARIA PRIMARY KEY "
                     "(CODICEPROGETTO,CODICESITUAZIONE,CODICEUTENTE));");
    database_.DatabaseName = path_;
    database_.Params = {"user_name=SYSDBA", "password=masterkey"};
    database_.Open();
  }

  Rows Stored() {
    return HostFolder::Rows(path_,
                            "SELECT CODICEPROGETTO, CODICESITUAZIONE, CODICEUTENTE, POSX, POSY, "
                            "DIMX, DIMY, INFO5 FROM STOPOS1 ORDER BY 1, 2, 3");
  }

  HostFolder host_;
  std::string path_;
  db::Database database_;
};

TEST_F(PositionsTest, SaveWritesOnlyChangesAndKeepsOneRowPerKey) {
  // Catches: an unmoved window rewriting its row, a second close inserting a
  // duplicate key, or a later close failing to update the stored row.
  ui::Form form;
  form.SetBounds(10, 20, 300, 200);
  velmaro::SalvaPosizioneForm(form, 7, 3, 501, database_);
  EXPECT_EQ(Stored(), (Rows{{"501", "3", "7", "10", "20", "300", "200", "<null>"}}));

  // Every write of the row leaves a mark, so an unneeded write shows.
  HostFolder::ExecAll(path_, {"CREATE TABLE SCRITTURE (N INTEGER)",
                              "CREATE TRIGGER STOPOS1_SCRITTURE FOR STOPOS1 AFTER UPDATE AS "
                              "BEGIN INSERT INTO SCRITTURE VALUES (1); END",
                              "UPDATE STOPOS1 SET INFO5='grid'"});
  velmaro::SalvaPosizioneForm(form, 7, 3, 501, database_);
  EXPECT_EQ(HostFolder::Scalar(path_, "SELECT COUNT(*) FROM SCRITTURE"), "1");

  form.SetBounds(11, 20, 300, 250);
  velmaro::SalvaPosizioneForm(form, 7, 3, 501, database_);
  EXPECT_EQ(Stored(), (Rows{{"501", "3", "7", "11", "20", "300", "250", "grid"}}));
  EXPECT_EQ(HostFolder::Scalar(path_, "SELECT COUNT(*) FROM SCRITTURE"), "2");
}

TEST_F(PositionsTest, PositionsAreSeparatePerOperatorAndSituation) {
  // Catches: a key line dropped or swapped, so that one operator's or one
  // window's position overwrites or is read as another's.
  ui::Form a, b, c;
  a.SetBounds(1, 2, 100, 50);
  b.SetBounds(5, 6, 120, 60);
  c.SetBounds(9, 9, 140, 70);
  velmaro::SalvaPosizioneForm(a, 1, 3, 501, database_);
  velmaro::SalvaPosizioneForm(b, 2, 3, 501, database_);
  velmaro::SalvaPosizioneForm(c, 1, 4, 501, database_);
  EXPECT_EQ(Stored().size(), 3u);

  ui::Form shown;
  shown.SetBounds(0, 0, 10, 10);
  velmaro::CaricaPosizioneForm(shown, 2, 3, 501, database_);
  EXPECT_EQ(Bounds(shown), (std::vector<int>{5, 6, 120, 60}));
  velmaro::CaricaPosizioneForm(shown, 1, 4, 501, database_);
  EXPECT_EQ(Bounds(shown), (std::vector<int>{9, 9, 140, 70}));

  // No row for the key: the window keeps its own bounds.
  velmaro::CaricaPosizioneForm(shown, 1, 3, 502, database_);
  EXPECT_EQ(Bounds(shown), (std::vector<int>{9, 9, 140, 70}));
}

TEST_F(PositionsTest, BuilderTakesTheKindWithoutCaseAndLeavesOtherKinds) {
  // Catches: a kind compared with case, a kind other than UPDATE or INSERT
  // changing a statement, or a lost quote around the table name. The saves
  // above prove the statements the positions use.
  db::Transaction tr(&database_);
  tr.StartTransaction();
  db::Query one(&database_, &tr);
  one.SQL.Add("SELECT POSX FROM STOPOS1");
  db::UpdateSQL upd;
  upd.DeleteSQL.Add("kept");
  velmaro::CostruisciSQLAggiornamento(one, "STOPOS1", "update", upd);
  velmaro::CostruisciSQLAggiornamento(one, "STOPOS1", "Insert", upd);
  velmaro::CostruisciSQLAggiornamento(one, "STOPOS1", "DELETE", upd);
  EXPECT_EQ(upd.ModifySQL.lines,
            (std::vector<std::string>{"UPDATE \"STOPOS1\"", "SET", "POSX=:POSX"}));
  EXPECT_EQ(upd.InsertSQL.lines, (std::vector<std::string>{"INSERT INTO \"STOPOS1\"", "(", "POSX",
                                                           ")", "VALUES", "(", ":POSX", ")"}));
  EXPECT_EQ(upd.DeleteSQL.lines, (std::vector<std::string>{"kept"}));
}

}  // namespace
