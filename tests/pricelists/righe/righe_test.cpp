// The row pages' numbers, dates, search answers and column titles, without
// a database.
#include "pricelists/righe/righe.h"

#include <gtest/gtest.h>

#include <numeric>

#include "platform/format.h"
#include "pricelists/righe/righesconti.h"

namespace velmaro {
namespace {

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

TEST(Righe, DiscountTitlesAndPickers) {
  // Catches: CODICE titled by its label instead of CODICEARTICOLO (first
  // column only), an empty selection untitled, a long label overflowing
  // NOMECOLONNA (cut by characters, not bytes), an apostrophe in a label
  // breaking the statement, the title written for the situation and
  // operator swapped (scripts run as operator 2 on situation 2, so they
  // cannot tell), a typed column taken for a table name.
  auto etichetta = [](const std::string& c) { return c == "CLASSIFICAZIONE1" ? "Categoria" : c; };
  EXPECT_EQ(sconti::Titolo(1, "CODICE", etichetta), "CODICEARTICOLO");
  EXPECT_EQ(sconti::Titolo(2, "CODICE", etichetta), "CODICE");
  EXPECT_EQ(sconti::Titolo(3, "", etichetta), "CAMPOSEL3");
  EXPECT_EQ(sconti::Titolo(1, "CLASSIFICAZIONE1", etichetta), "Categoria");
  const std::vector<std::string> titolo =
      sconti::RigheTitolo(2, "Qualità dell'articolo e della confezione", 501, 2, 7);
  EXPECT_EQ(std::accumulate(titolo.begin(), titolo.end(), std::string()),
            "UPDATE STOASP1 SET NOMECOLONNA='Qualità dell''articolo e d' WHERE CODICEPROGETTO=501 "
            "AND CODICESITUAZIONE=2 AND CODICEUTENTE=7 AND NOMECAMPO='VALORESEL2'");
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
  const std::vector<std::string> righe = sconti::RigheInserisci("3", sconti::Componi(c));
  EXPECT_EQ(
      std::accumulate(righe.begin(), righe.end(), std::string()),
      "INSERT INTO LISTSCDTSCO(IDLISTSC,DESCRIZIONE,DATAINIZIOVALIDITA,DATAFINEVALIDITA,"
      "QUANTITASCAGLIONE,SCONTO1,SCONTO2,SCONTO3,VALORESEL1,VALORESEL2,VALORESEL3,PROVVIGIONE)"
      "VALUES(3,'Sconto dell''anno','01-01-2025',NULL,0,'0','2.5',NULL,'A - B','l''altro',"
      "NULL,NULL)");
  c.valore2.clear();
  const std::vector<std::string> vuoto = sconti::RigheInserisci("3", sconti::Componi(c));
  EXPECT_NE(std::accumulate(vuoto.begin(), vuoto.end(), std::string()).find("'A - B',NULL,NULL"),
            std::string::npos);
}

}  // namespace
}  // namespace velmaro
