// Sorting: the stored marks turned into ORDER BY, the primary-key order,
// the title double click on one key and on several, and the titles' colours.
#include "common/rowset.h"
#include "context/memorydata.h"
#include "grid/vuxgrid.h"
#include "ui/keystate.h"
#include "vuxgrid_fixture.h"

namespace velmaro::testing {
namespace {

using Linee = std::vector<std::string>;

// Catches a wrong ORDER BY from stored marks: direction 2 not descending,
// multi-key marks (10, -20, 30) out of order or without DESC, and the
// primary-key order missing its table name or its column order.
TEST_F(VuxGridTest, StoredMarksAndPrimaryKeyGiveTheOrderBy) {
  ApriFinestra();
  EXPECT_EQ(Aggiunte(), Linee{"ORDER BY NETTI.IDLISTSC,NETTI.CODICEARTICOLO"});
  EXPECT_EQ(Codici(), (Linee{"1A", "1C", "2A", "2B"}));
  EXPECT_EQ(griglia_->ModoOrdinamento, 1);
  query_.Close();
  finestra_.reset();

  Marca("PREZZO", 3, 2);
  ApriFinestra();
  EXPECT_EQ(griglia_->ModoOrdinamento, 1);
  EXPECT_EQ(Aggiunte(), Linee{"ORDER BY NETTI.PREZZO DESC"});
  EXPECT_EQ(Codici(), (Linee{"1C", "2B", "1A", "2A"}));
  query_.Close();
  finestra_.reset();

  Esegui("DELETE FROM STOASP1");
  Marca("CODICEARTICOLO", 1, 10);
  Marca("IDLISTSC", 0, -20);
  Marca("DESCRIZIONE", 2, 30);
  Marca("PREZZO", 3, 0);  // no key: a zero mark is skipped
  ApriFinestra();
  EXPECT_EQ(griglia_->ModoOrdinamento, 2);
  EXPECT_EQ(Aggiunte(),
            (Linee{"ORDER BY NETTI.CODICEARTICOLO", ",NETTI.IDLISTSC DESC", ",NETTI.DESCRIZIONE"}));
  EXPECT_EQ(Codici(), (Linee{"2A", "1A", "2B", "1C"}));
  // Titles: key 0, key 1, key 2 in their colours.
  EXPECT_EQ(griglia_->Columns()[1]->Title.Color, kColoreCampoOrdinato);
  EXPECT_EQ(griglia_->Columns()[0]->Title.Color, kColoreSecondaChiave);
  EXPECT_EQ(griglia_->Columns()[2]->Title.Color, kColoreAltreChiavi);
}

// Catches a key written into ORDER BY although the base SQL does not
// select its field (the statement would fail), and personalised fields
// not sorted by their expression.
TEST_F(VuxGridTest, OnlyKeysOfTheBaseSqlAreWritten) {
  Esegui(
      "INSERT INTO STOASP1 (CODICEPROGETTO, CODICESITUAZIONE, CODICEUTENTE, NOMECAMPO,"
      " POSIZIONE, ORDINAMENTO, ORIGINE) VALUES (501, 41, 3, 'SCONTO', 5, 1, 'ALTRA.SCONTO')");
  ApriFinestra();
  EXPECT_TRUE(Aggiunte().empty())
      << "a stored key that does not fit stops the primary-key order too";
  query_.Close();
  griglia_->CampiPersonalizzati.SetText("SCONTO");
  griglia_->CampiPersonalizzatiDecodifica.SetText("(PREZZO*2)");
  query_.Open();
  EXPECT_EQ(Aggiunte(), Linee{"ORDER BY (PREZZO*2)"});
}

// Catches a wrong direction cycle, a lost key or a wrong key order when
// Ctrl is held, and colours left on titles that are no longer keys.
TEST_F(VuxGridTest, TitleDoubleClicksOnAnInMemorySet) {
  ApriFinestra();
  TRxMemoryData memoria;
  for (const char* c : {"A", "B", "C", "D"}) memoria.CreateField(c, db::FieldType::String, 5);
  griglia_->DatabaseImpostazioni = &database_;
  db::DataSource fonte(&memoria);
  griglia_->SetDataSource(&fonte);
  griglia_->SetSorgenteDati(&memoria);
  memoria.Open();  // the first open reads the sort mode
  for (std::string r : {"2122", "1211", "2211", "1121"})
    AppendRow(memoria, {r.substr(0, 1), r.substr(1, 1), r.substr(2, 1), r.substr(3, 1)});
  ui::Driver d;
  auto righe = [&] {
    Linee out;
    for (memoria.First(); !memoria.Eof(); memoria.Next()) {
      std::string r;
      for (int i = 0; i < 4; ++i) r += memoria.FieldByNumber(i).AsString();
      out.push_back(r);
    }
    return out;
  };
  const std::string g = "FinestraGriglia.Griglia";
  ASSERT_EQ(griglia_->Columns().Count(), 4);
  d.DblClickTitle(g, "A");
  ASSERT_EQ(griglia_->ModoOrdinamento, 1);
  ASSERT_EQ(righe().size(), 4u);
  EXPECT_EQ(righe().front().substr(0, 1), "1");
  d.DblClickTitle(g, "A");
  EXPECT_EQ(righe().front().substr(0, 1), "2");
  d.DblClickTitle(g, "A");
  EXPECT_EQ(griglia_->Ordinamento.Direzione, 1);

  d.DblClickTitle(g, "B", ui::ssCtrl);
  d.DblClickTitle(g, "C", ui::ssCtrl);
  ASSERT_EQ(griglia_->ModoOrdinamento, 2);
  ASSERT_EQ(griglia_->NumeroChiavi(), 3);
  EXPECT_EQ(righe(), (Linee{"1121", "1211", "2122", "2211"})) << "sorted by A, then B, then C";
  EXPECT_EQ(griglia_->Columns()[0]->Title.Color, kColoreCampoOrdinato);
  EXPECT_EQ(griglia_->Columns()[1]->Title.Color, kColoreSecondaChiave);
  EXPECT_EQ(griglia_->Columns()[2]->Title.Color, kColoreAltreChiavi);
  d.DblClickTitle(g, "B", ui::ssCtrl);
  EXPECT_EQ(griglia_->ChiaviOrdinamento[1].Direzione, 2);
  EXPECT_EQ(griglia_->ChiaviOrdinamento[0].Direzione, 1);
  EXPECT_EQ(griglia_->ChiaviOrdinamento[2].Direzione, 1);

  d.DblClickTitle(g, "D");
  EXPECT_EQ(griglia_->ModoOrdinamento, 1);
  EXPECT_EQ(griglia_->Ordinamento.NomeCampo, "D");
  EXPECT_EQ(griglia_->Ordinamento.Direzione, 1);
  EXPECT_EQ(griglia_->Columns()[0]->Title.Color, ui::ColumnTitle{}.Color);
  EXPECT_EQ(griglia_->Columns()[3]->Title.Color, kColoreCampoOrdinato);
  griglia_->SetSorgenteDati(&query_);
  griglia_->SetDataSource(&sorgente_);
}

// Catches a sort on a column that is not indexed of a big table going
// ahead, or changing the sort it refused.
TEST_F(VuxGridTest, BigTableRefusesAColumnThatIsNotIndexed) {
  Marca("CODICEARTICOLO", 1, 1);
  ApriFinestra();
  griglia_->TabellaPiccola = false;
  griglia_->CampiIndicizzati = "IDLISTSC;codicearticolo";
  ui::Driver d;
  Operator op;
  d.DblClickTitle("FinestraGriglia.Griglia", "DESCRIZIONE", ui::ssCtrl);
  EXPECT_EQ(op.Texts(), Linee{"Attenzione: Non è possibile eseguire la ricerca su un campo non "
                              "indicizzato di una tabella di grandi dimensioni"});
  EXPECT_EQ(griglia_->ModoOrdinamento, 1);
  EXPECT_EQ(griglia_->Ordinamento.NomeCampo, "CODICEARTICOLO");
  EXPECT_EQ(Aggiunte(), Linee{"ORDER BY NETTI.CODICEARTICOLO"});
  // An indexed one is coloured as such after the open.
  query_.Close();
  query_.Open();
  EXPECT_EQ(griglia_->Columns()[0]->Title.Color, kColoreCampiIndicizzati);
  EXPECT_EQ(griglia_->Columns()[1]->Title.Color, kColoreCampoOrdinato);
}

// Catches a reopen that writes the search condition twice (a syntax error)
// or leaves it in SQLIniziale (F6 could no longer remove it) when the
// window's BeforeOpen copies the query's SQL as it stands.
TEST_F(VuxGridTest, AReopenKeepsExactlyOneCondition) {
  for (bool letterale : {false, true}) {
    copiaLetterale_ = letterale;
    ApriFinestra();
    const std::string condizione = "WHERE(UPPER(NETTI.DESCRIZIONE) LIKE '%O%')";
    griglia_->CondizioneRicerca = condizione;
    griglia_->RiapriQuery(condizione);
    griglia_->RiapriQuery(condizione);
    EXPECT_EQ(griglia_->SQLIniziale.lines, kBase) << letterale;
    EXPECT_EQ(std::count(query_.SQL.lines.begin(), query_.SQL.lines.end(), condizione), 1);
    EXPECT_EQ(Codici(), (Linee{"1C", "2A", "2B"}));
    griglia_->CondizioneRicerca.clear();
    griglia_->RiapriQuery("");
    EXPECT_EQ(Codici().size(), 4u) << "every row once the condition is gone";
    query_.Close();
    query_.SQL.Clear();  // a new window starts from its own statement
    finestra_.reset();
  }
}

// Catches a title sort on a query that loses its key at the reopen, sorts
// the wrong way, or drops the active search.
TEST_F(VuxGridTest, TitleSortOnAQuery) {
  ApriFinestra();
  const std::string condizione = "WHERE(NETTI.PREZZO >= 1)";
  griglia_->CondizioneRicerca = condizione;
  ui::Driver d;
  const std::string g = "FinestraGriglia.Griglia";
  d.DblClickTitle(g, "PREZZO");
  EXPECT_EQ(Aggiunte(), (Linee{condizione, "ORDER BY NETTI.PREZZO"}));
  EXPECT_EQ(Codici(), (Linee{"1A", "2B", "1C"}));
  EXPECT_EQ(griglia_->SelectedIndex(), 3);
  d.DblClickTitle(g, "PREZZO");
  EXPECT_EQ(Codici(), (Linee{"1C", "2B", "1A"}));
  EXPECT_EQ(Valore("SELECT ORDINAMENTO FROM STOASP1 WHERE NOMECAMPO='PREZZO'"), "2");
  d.DblClickTitle(g, "IDLISTSC", ui::ssCtrl);
  EXPECT_EQ(Aggiunte(), (Linee{condizione, "ORDER BY NETTI.PREZZO DESC", ",NETTI.IDLISTSC"}));
  EXPECT_EQ(Valore("SELECT ORDINAMENTO FROM STOASP1 WHERE NOMECAMPO='PREZZO'"), "-10");
  EXPECT_EQ(Valore("SELECT ORDINAMENTO FROM STOASP1 WHERE NOMECAMPO='IDLISTSC'"), "20");
}

}  // namespace
}  // namespace velmaro::testing
