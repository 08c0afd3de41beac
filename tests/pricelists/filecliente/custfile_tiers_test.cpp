// The pieces of a customer-price-file line: tier texts, value cleaning,
// progress rounding and the band check.
#include <gtest/gtest.h>

#include "pricelists/filecliente/filecliente.h"
#include "pricelists/filecliente/generafileclienti.h"

namespace velmaro {
namespace {

std::string Scaglioni(const std::vector<std::vector<Scaglione>>& listini, bool colonnaUnica) {
  std::string testo;
  for (const auto& righe : listini) AccodaScaglioni(righe, colonnaUnica, testo);
  return ChiudiScaglioni(testo, colonnaUnica);
}

TEST(ScaglioniFileClienti, RangesAndLayoutsOfOneOrMoreLists) {
  // Fault: a range ending at the next tier instead of one below it, the
  // last range not ending at 999, a tier 0 that covers nothing above 0
  // written anyway, the last separator kept, or two lists not chained.
  const std::vector<Scaglione> tre = {{0, "12,50"}, {10, "11,00"}, {50, "10,00"}};
  const std::vector<Scaglione> zeroUno = {{0, "8,00"}, {1, "7,50"}};
  struct Caso {
    std::vector<std::vector<Scaglione>> listini;
    std::string multiple, unica;
  } casi[] = {
      {{tre}, "0;12,50;10;11,00;50;10,00", "\"0-9 12,50\r\n10-49 11,00\r\n50-999 10,00\""},
      {{{{0, "5,00"}}}, "", ""},
      {{zeroUno}, "1;7,50", "\"1-999 7,50\""},
      {{tre, {{5, "9,90"}}},
       "0;12,50;10;11,00;50;10,00;5;9,90",
       "\"0-9 12,50\r\n10-49 11,00\r\n50-999 10,00\r\n5-999 9,90\""},
      {{{}, {}}, "", ""},
  };
  for (const Caso& c : casi) {
    EXPECT_EQ(Scaglioni(c.listini, false), c.multiple);
    EXPECT_EQ(Scaglioni(c.listini, true), c.unica);
  }
}

TEST(ScaglioniFileClienti, ValuesAreCleanedOfApostrophesAndLineBreaksOnly) {
  // Fault: an apostrophe written as such (the reader takes it as a quote),
  // a CR LF splitting the line, or other characters touched.
  EXPECT_EQ(PulisciValore("Chiave dell'idraulico"), "Chiave dell\xC2\xB4idraulico");
  EXPECT_EQ(PulisciValore("Dado\r\nzincato"), "Dado zincato");
  EXPECT_EQ(PulisciValore("a\rb\nc;d\"e"), "a\rb\nc;d\"e");
  EXPECT_EQ(PulisciValore("''\r\n\r\n"), "\xC2\xB4\xC2\xB4  ");
}

TEST(ScaglioniFileClienti, ProgressRoundsHalvesToEven) {
  // Fault: halves rounded up (or truncated), or a division by an empty
  // article count.
  EXPECT_EQ(PercentualeAvanzamento(1, 8), 12);  // 12.5
  EXPECT_EQ(PercentualeAvanzamento(3, 8), 38);  // 37.5
  EXPECT_EQ(PercentualeAvanzamento(1, 3), 33);
  EXPECT_EQ(PercentualeAvanzamento(2, 3), 67);
  EXPECT_EQ(PercentualeAvanzamento(8, 8), 100);
  EXPECT_EQ(PercentualeAvanzamento(5, 0), 100);
}

TEST(ScaglioniFileClienti, OnlyWholeNumbersAreBands) {
  // Fault: a band text that is no number reaching a statement (where the
  // text would be SQL of the operator's making).
  struct Caso {
    const char* testo;
    bool intera;
    const char* numero;
  } casi[] = {{"12", true, "12"}, {" 7 ", true, "7"},      {"090", true, "90"},
              {"-3", true, "-3"}, {"9x", false, ""},       {"", false, ""},
              {"1.5", false, ""}, {"1 OR 1=1", false, ""}, {"99999999999", false, ""}};
  for (const Caso& c : casi) {
    std::string numero;
    EXPECT_EQ(FasciaIntera(c.testo, numero), c.intera) << c.testo;
    if (c.intera) {
      EXPECT_EQ(numero, c.numero) << c.testo;
    }
  }
}

TEST(ScaglioniFileClienti, TheDefaultFileGoesBesideTheCompanyDatabase) {
  // Fault: the folder cut at "\" only, so a Linux path gave no folder.
  EXPECT_EQ(CartellaDatabase("/srv/dati/archivio.fdb"), "/srv/dati/");
  EXPECT_EQ(CartellaDatabase("C:\\Dati\\archivio.fdb"), "C:\\Dati\\");
  EXPECT_EQ(CartellaDatabase("server:archivio.fdb"), "server:");
  EXPECT_EQ(CartellaDatabase("archivio.fdb"), "");
}

TEST(ScaglioniFileClienti, HeaderPerTierLayout) {
  // Fault: a separator after the last heading, or the wrong tier headings.
  EXPECT_TRUE(IntestazioneFileClienti(true).ends_with(";SCONTO 3;PROMO"));
  EXPECT_TRUE(
      IntestazioneFileClienti(false).ends_with(";SCONTO 3;Q_SCAGLIONE1;PREZZO_SCAGLIONE1;"
                                               "Q_SCAGLIONE2;PREZZO_SCAGLIONE2;Q_SCAGLIONE3;"
                                               "PREZZO_SCAGLIONE3;Q_SCAGLIONE4;PREZZO_SCAGLIONE4;"
                                               "Q_SCAGLIONE5;PREZZO_SCAGLIONE5"));
}

}  // namespace
}  // namespace velmaro
