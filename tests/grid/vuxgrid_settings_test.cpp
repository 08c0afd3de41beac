// The grid's settings row, the TABX switch of the layout memory, and the
// table kind's indexes and order.
#include "db/table.h"
#include "grid/vuxgrid.h"
#include "vuxgrid_fixture.h"

namespace velmaro::testing {
namespace {

// Catches the operator's settings row not read (or another operator's
// read), zero colours not turned into the defaults, and the TABX switch
// of another operator taken.
TEST_F(VuxGridTest, SettingsRowAndTabxSwitch) {
  Esegui("INSERT INTO SETGRID VALUES (501, 3, 255, 0, 0, 1, 65280)");
  Esegui("INSERT INTO SETGRID VALUES (501, 4, 1, 2, 1, 0, 3)");
  Esegui(
      "INSERT INTO TABX (CODICE, NOME, TESTO, UTENTE) VALUES (1, 'DisabilitaMemPosGriglie', '1', "
      "4)");
  ApriFinestra();
  EXPECT_EQ(griglia_->ColoreRecordSelezionato(), 255u);
  EXPECT_EQ(griglia_->ColoreCampiIndicizzati, kColoreCampiIndicizzati);
  EXPECT_EQ(griglia_->ColoreCampoOrdinato, 0x00FF00u);
  EXPECT_FALSE(griglia_->TimerRicercaAbilitato);
  EXPECT_TRUE(griglia_->RicercaF5Sempre);
  EXPECT_FALSE(griglia_->DisabilitaMemPosGriglie);

  Esegui(
      "INSERT INTO TABX (CODICE, NOME, TESTO, UTENTE) VALUES (2, 'DisabilitaMemPosGriglie', '1', "
      "3)");
  griglia_->SetSorgenteDati(&query_);
  EXPECT_TRUE(griglia_->DisabilitaMemPosGriglie);
  Esegui("DELETE FROM SETGRID WHERE CODICEUTENTE=3");
  griglia_->SetSorgenteDati(&query_);
  EXPECT_EQ(griglia_->ColoreRecordSelezionato(), kColoreRecordSelezionato);
  EXPECT_EQ(griglia_->ColoreCampoOrdinato, kColoreCampoOrdinato);
  EXPECT_TRUE(griglia_->TimerRicercaAbilitato);
  EXPECT_FALSE(griglia_->RicercaF5Sempre);
}

// Catches a missing settings table passing unnoticed: the window's set-up
// must see the error.
TEST_F(VuxGridTest, MissingSettingsTableFailsTheSetUp) {
  Esegui("DROP TABLE SETGRID");
  TVuxGrid griglia;
  EXPECT_ANY_THROW(griglia.SetSorgenteDati(&query_));
}

// Catches a table bound to the grid without its indexes as the indexed
// columns, a sort refused on an indexed column, or the table not
// re-read in the order of the clicked column.
TEST_F(VuxGridTest, TableKindSortsByItsIndexes) {
  ApriFinestra();
  query_.Close();
  db::Table tabella(&database_, &transazione_);
  tabella.TableName = "NETTI";
  db::DataSource fonte(&tabella);
  griglia_->SetDataSource(&fonte);
  griglia_->SetSorgenteDati(&tabella);
  griglia_->TabellaPiccola = false;
  tabella.Open();
  EXPECT_EQ(griglia_->CampiIndicizzati, "IDLISTSC;CODICEARTICOLO");
  EXPECT_EQ(griglia_->Columns()[0]->Title.Color, kColoreCampiIndicizzati);
  ui::Driver d;
  {
    Operator op;
    d.DblClickTitle("FinestraGriglia.Griglia", "PREZZO");
    EXPECT_EQ(op.Texts().size(), 1u);
  }
  d.DblClickTitle("FinestraGriglia.Griglia", "CODICEARTICOLO");
  d.DblClickTitle("FinestraGriglia.Griglia", "CODICEARTICOLO");
  EXPECT_EQ(tabella.IndexFieldNames, "CODICEARTICOLO");
  tabella.First();
  EXPECT_EQ(tabella.FieldByName("CODICEARTICOLO").AsString(), "A");
  griglia_->SetDataSource(&sorgente_);
  griglia_->SetSorgenteDati(&query_);
}

}  // namespace
}  // namespace velmaro::testing
