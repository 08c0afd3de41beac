// The row pages' numbers, dates, search answers and statements, without a
// database.
#include "pricelists/righe/righe.h"

#include <gtest/gtest.h>

#include "platform/format.h"
#include "pricelists/righe/righenetti.h"
#include "pricelists/righe/righesconti.h"

namespace velmaro {
namespace {

std::string Unisci(const std::vector<std::string>& righe) {
  std::string s;
  for (const std::string& r : righe) s += r + "\n";
  return s;
}

TEST(Righe, TiersAndNumbersAsStatementsWriteThem) {
  // Catches: a decimal tier lost on a new row or kept in an edit, a comma
  // left in a literal, a hex or exponent text written as it was typed, a
  // typed price or commission that is no number reaching the statement.
  using namespace righe;
  EXPECT_EQ(ScaglioneDecimale("2,5"), "2.5");
  EXPECT_EQ(ScaglioneDecimale("abc"), "0");
  EXPECT_EQ(ScaglioneDecimale(""), "0");
  EXPECT_EQ(ScaglioneDecimale("2.5"), "0");  // the module's numbers use the comma
  EXPECT_EQ(InteroOZero("2,5"), "0");
  EXPECT_EQ(InteroOZero(" 12"), "12");
  EXPECT_EQ(InteroOZero("$1F"), "31");
  EXPECT_EQ(InteroOZero("1e3"), "0");
  EXPECT_EQ(InteroOZero(""), "0");
  EXPECT_EQ(PrezzoSQL("12.5"), "12.5");
  EXPECT_EQ(PrezzoSQL("12,5"), "12.5");
  EXPECT_THROW(PrezzoSQL("1.234,5"), ValoreNonValido);
  EXPECT_THROW(PrezzoSQL("5) OR (1=1"), ValoreNonValido);
  EXPECT_THROW(PrezzoSQL(""), ValoreNonValido);
  EXPECT_EQ(NumeroONull(""), "NULL");
  EXPECT_THROW(NumeroONull("abc"), ValoreNonValido);
  EXPECT_EQ(ScontoSQL(""), "NULL");
  EXPECT_EQ(ScontoSQL("2,5"), "'2.5'");
  EXPECT_EQ(ScontoSQL("5' OR '1'='1"), "'5'' OR ''1''=''1'");
  EXPECT_EQ(NumeroPerSQL(2.5), "2.5");
  EXPECT_EQ(NumeroPerSQL(10), "10");
}

TEST(Righe, PeriodClosesOnTheDayBefore) {
  // Catches: the day before computed on the day number alone (1 March in a
  // leap year, 1 January), the month-first order of either literal lost.
  using namespace righe;
  EXPECT_EQ(GiornoPrimaBarre(plat::EncodeDate(2024, 3, 1)), "02/29/2024");
  EXPECT_EQ(GiornoPrimaBarre(plat::EncodeDate(2025, 3, 1)), "02/28/2025");
  EXPECT_EQ(GiornoPrimaBarre(plat::EncodeDate(2025, 1, 1)), "12/31/2024");
  EXPECT_EQ(GiornoPrimaBarre(plat::EncodeDate(2100, 3, 1)), "02/28/2100");
  EXPECT_EQ(DataBarre(plat::EncodeDate(2025, 4, 7)), "04/07/2025");
  EXPECT_EQ(DataTrattini(plat::EncodeDate(2025, 4, 7)), "04-07-2025");
}

TEST(Righe, SearchAnswerGivesCodeAndExtension) {
  // Catches: a cancelled search changing the boxes, an empty or missing
  // extension not becoming "0", a third value taken for the extension.
  using namespace righe;
  Articolo a;
  EXPECT_FALSE(ArticoloDaRisposta("", a));
  ASSERT_TRUE(ArticoloDaRisposta("VTL001;2", a));
  EXPECT_EQ(a.codice, "VTL001");
  EXPECT_EQ(a.estensione, "2");
  ASSERT_TRUE(ArticoloDaRisposta("VTL001;", a));
  EXPECT_EQ(a.estensione, "0");
  ASSERT_TRUE(ArticoloDaRisposta("VTL001", a));
  EXPECT_EQ(a.estensione, "0");
  ASSERT_TRUE(ArticoloDaRisposta("A B;1;x", a));
  EXPECT_EQ(a.codice, "A B");
  EXPECT_EQ(a.estensione, "1");
  std::vector<std::string> parti;
  EXPECT_EQ(DividiStringa("a;;b", ";", parti), 3);
  EXPECT_EQ(parti[1], "");
  EXPECT_EQ(DividiStringa("", ";", parti), 1);
  EXPECT_EQ(DividiStringa("a--b", "--", parti), 2);
  const std::string r8 = RichiestaArticoli(8);
  EXPECT_NE(r8.find("<SituazioneForm>8</SituazioneForm>"), std::string::npos);
  EXPECT_NE(r8.find("<SituazioneVuxGrid>8</SituazioneVuxGrid>"), std::string::npos);
  EXPECT_NE(r8.find("<CampiRitorno><CampoRitorno>CODICE</CampoRitorno><CampoRitorno>ESTENSIONE"),
            std::string::npos);
}

TEST(Righe, NetStatementsQuoteTextsAndWriteTiersWithAPoint) {
  // Catches: an apostrophe in a code or gift code ending its literal, a
  // decimal tier written with a comma in the conditions of an edit, a
  // delete or a new period, a row without start date never found again.
  netti::RigaNetto r{"D'A", "0", plat::EncodeDate(2025, 1, 1), false, 2.5};
  const std::string inserisci =
      Unisci(netti::RigheNuovoPeriodo("7", r, "3.5", plat::EncodeDate(2025, 3, 1), "NULL"));
  EXPECT_NE(inserisci.find("VALUES(7,'D''A','0',3.5,'03-01-2025',NULL,2.5)"), std::string::npos);
  const std::string chiudi =
      Unisci(netti::RigheChiudiPeriodo("7", r, plat::EncodeDate(2025, 3, 1)));
  EXPECT_NE(chiudi.find("SET DATAFINEVALIDITA='02/28/2025'"), std::string::npos);
  EXPECT_NE(chiudi.find("DATAINIZIOVALIDITA='01/01/2025'"), std::string::npos);
  EXPECT_EQ(chiudi.find("QUANTITASCAGLIONE"), std::string::npos);  // every tier of that day
  const std::string elimina = Unisci(netti::RigheElimina("7", r));
  EXPECT_NE(elimina.find("CODICEARTICOLO='D''A'"), std::string::npos);
  EXPECT_NE(elimina.find("QUANTITASCAGLIONE='2.5'"), std::string::npos);
  netti::CampiNetto c;
  c.codice = "X";
  c.prezzo = "1,5";
  c.scaglione = "3";
  c.omaCodice = "O'K";
  c.inizio = plat::EncodeDate(2025, 1, 1);
  const std::string aggiorna = Unisci(netti::RigheAggiorna("7", netti::ComponiModifica(c), r));
  EXPECT_NE(aggiorna.find(",OMA_CODICE='O''K'"), std::string::npos);
  EXPECT_NE(aggiorna.find("AND QUANTITASCAGLIONE=2.5"), std::string::npos);
  EXPECT_NE(aggiorna.find("ESTCODICE='0'"), std::string::npos);  // an empty extension
  r.senzaInizio = true;
  EXPECT_NE(Unisci(netti::RigheCerca("7", r)).find("DATAINIZIOVALIDITA IS NULL"),
            std::string::npos);
  // The duplicate check reads a decimal tier as 0, as the dialog always has.
  EXPECT_NE(
      Unisci(netti::RigheDoppione("7", "X", "0", c.inizio, "2,5")).find("QUANTITASCAGLIONE=0"),
      std::string::npos);
}

TEST(Righe, DiscountTitlesAndPickers) {
  // Catches: CODICE titled by its label instead of CODICEARTICOLO (first
  // column only), an empty selection untitled, a long label overflowing
  // NOMECOLONNA (cut by characters, not bytes), an apostrophe in a label
  // breaking the statement, a typed column taken for a table name.
  auto etichetta = [](const std::string& c) { return c == "CLASSIFICAZIONE1" ? "Categoria" : c; };
  EXPECT_EQ(sconti::Titolo(1, "CODICE", etichetta), "CODICEARTICOLO");
  EXPECT_EQ(sconti::Titolo(2, "CODICE", etichetta), "CODICE");
  EXPECT_EQ(sconti::Titolo(3, "", etichetta), "CAMPOSEL3");
  EXPECT_EQ(sconti::Titolo(1, "CLASSIFICAZIONE1", etichetta), "Categoria");
  const std::string lungo = "Qualità dell'articolo e della confezione";
  const std::string t = Unisci(sconti::RigheTitolo(2, lungo, 501, 2, 7));
  EXPECT_NE(t.find("SET NOMECOLONNA='Qualità dell''articolo e d' "), std::string::npos);
  EXPECT_NE(t.find("AND CODICEUTENTE=7 "), std::string::npos);
  EXPECT_NE(t.find("AND NOMECAMPO='VALORESEL2'"), std::string::npos);
  EXPECT_TRUE(sconti::ETabellaClassificazione("CLASSIFICAZIONE6"));
  EXPECT_FALSE(sconti::ETabellaClassificazione("CLASSIFICAZIONE1 X"));
  EXPECT_FALSE(sconti::ETabellaClassificazione("CLASSIFICAZIONE1;DROP"));
  EXPECT_FALSE(sconti::ETabellaClassificazione("MARCA"));
  EXPECT_EQ(sconti::SoloPrimaMaiuscola("CLASSIFICAZIONE3"), "Classificazione3");
}

TEST(Righe, DiscountRowValues) {
  // Catches: a discount or selection value written bare or with its
  // apostrophes single, an empty one written as '' instead of NULL, a
  // decimal tier kept on a discount row.
  sconti::CampiSconto c;
  c.descrizione = "Sconto dell'anno";
  c.scaglione = "2,5";
  c.sconto1 = "0";
  c.sconto2 = "2,5";
  c.valore1 = "A - B";
  c.valore2 = "l'altro";
  c.inizio = plat::EncodeDate(2025, 1, 1);
  const std::string s = Unisci(sconti::RigheInserisci("3", sconti::Componi(c)));
  EXPECT_NE(s.find("VALUES(3,'Sconto dell''anno','01-01-2025',NULL,0,"), std::string::npos);
  EXPECT_NE(s.find("'0','2.5',NULL,'A - B','l''altro',NULL,NULL)"), std::string::npos);
}

}  // namespace

TEST(Righe, RowsWithoutDescriptionExtensionOrTierAreFoundAgain) {
  // Catches: an edit or a deletion of a row holding NULL in a column of its
  // identity matching nothing, since "=" never matches a NULL.
  netti::RigaNetto n{"ART", "", plat::EncodeDate(2025, 1, 1), false, 0};
  n.senzaEstensione = n.senzaScaglione = true;
  for (const std::string& sql :
       {Unisci(netti::RigheCerca("7", n)), Unisci(netti::RigheElimina("7", n)),
        Unisci(netti::RigheChiudiPeriodo("7", n, plat::EncodeDate(2025, 3, 1)))})
    EXPECT_NE(sql.find("ESTCODICE IS NULL"), std::string::npos) << sql;
  EXPECT_NE(Unisci(netti::RigheElimina("7", n)).find("QUANTITASCAGLIONE IS NULL"),
            std::string::npos);
  EXPECT_NE(Unisci(netti::RigheAggiorna("7", netti::ValoriNetto{}, n))
                .find("AND QUANTITASCAGLIONE IS NULL"),
            std::string::npos);

  sconti::RigaSconto s{"", plat::EncodeDate(2025, 1, 1), false, 0};
  s.senzaDescrizione = s.senzaScaglione = true;
  for (const std::string& sql :
       {Unisci(sconti::RigheCerca("7", s)), Unisci(sconti::RigheElimina("7", s)),
        Unisci(sconti::RigheAggiorna("7", sconti::ValoriSconto{}, s))}) {
    EXPECT_NE(sql.find("AND DESCRIZIONE IS NULL"), std::string::npos) << sql;
    EXPECT_NE(sql.find("AND QUANTITASCAGLIONE IS NULL"), std::string::npos) << sql;
  }
  // A row with a value keeps the plain condition.
  s.senzaDescrizione = false;
  s.descrizione = "Dell'anno";
  EXPECT_NE(Unisci(sconti::RigheCerca("7", s)).find("AND DESCRIZIONE='Dell''anno'"),
            std::string::npos);
}

}  // namespace velmaro
