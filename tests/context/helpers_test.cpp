#include "context/helpers.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <tuple>
#include <utility>

#include "common/temp_folder.h"
#include "context/paradox.h"
#include "platform/format.h"
#include "platform/hostfolder.h"

namespace {

using namespace velmaro;

using velmaro::testing::TempFolder;

void Touch(const std::string& path, const std::string& content = "dati") {
  std::ofstream(path, std::ios::binary) << content;
}

class Helpers : public ::testing::Test {
 protected:
  void SetUp() override { plat::SetItalianFormats(); }
};

TEST_F(Helpers, SpezzaRigaBreaksAtBlanks) {
  // Fault: the breaking blank not counted, so the next line starts with it or
  // the caller loops on the same place; a lone CR moving past the text's end
  // or swallowing the next line's first character.
  std::string riga;
  EXPECT_EQ(SpezzaRiga("uno due tre", riga, 0, 7), 8);
  EXPECT_EQ(riga, "uno due");
  EXPECT_EQ(SpezzaRiga("uno due tre", riga, 8, 7), 3);
  EXPECT_EQ(riga, "tre");

  EXPECT_EQ(SpezzaRiga("abcdefghij", riga, 0, 4), 4);  // a long word is cut
  EXPECT_EQ(riga, "abcd");
  EXPECT_EQ(SpezzaRiga("ab\r\ncd", riga, 0, 10), 4);  // CR LF taken together
  EXPECT_EQ(riga, "ab");
  EXPECT_EQ(SpezzaRiga("ab\r", riga, 0, 10), 3);
  // A CR without its LF takes only itself: the next line keeps its first character.
  EXPECT_EQ(SpezzaRiga("ab\rcd", riga, 0, 10), 3);
  EXPECT_EQ(SpezzaRiga("ab\rcd", riga, 3, 10), 2);
  EXPECT_EQ(riga, "cd");
  EXPECT_EQ(SpezzaRiga("però sì", riga, 0, 7), 7);  // characters, not bytes
  EXPECT_EQ(riga, "però sì");

  // Every character of a text is handed out exactly once over the lines.
  const std::string lungo = "la tariffa netta del listino vale per tutte le fasce";
  std::string tutto;
  for (int inizio = 0, preso; inizio < static_cast<int>(lungo.size()); inizio += preso) {
    preso = SpezzaRiga(lungo, riga, inizio, 12);
    ASSERT_GT(preso, 0);
    EXPECT_LE(riga.size(), 12u);
    tutto += riga + " ";
  }
  EXPECT_EQ(tutto, lungo + " ");
  EXPECT_EQ(LunghezzaParola("uno due", 4, 2), 2);
}

TEST_F(Helpers, Alignment) {
  // Fault: columns padded on the wrong side, or cut texts longer than the width.
  EXPECT_EQ(AllineaDestra("abc", 5), "  abc");
  EXPECT_EQ(AllineaDestra("abc", 2), "ab");
  EXPECT_EQ(AllineaDestra("abc", -3), "");
  EXPECT_EQ(AllineaSinistra("abc", 5), "abc  ");
  EXPECT_EQ(AllineaSinistra("città", 6), "città ");
}

TEST_F(Helpers, NumbersInItalianForm) {
  // Fault: zero printed as "0", wrong separators, or a bad number read as 0.
  EXPECT_EQ(FormattaDueDecimali(1234.5), "1.234,50");
  EXPECT_EQ(FormattaDueDecimali(0), "");
  EXPECT_EQ(FormattaDueDecimali(-0.5), "-0,50");
  EXPECT_EQ(FormattaIntero(1234.6), "1.235");
  EXPECT_EQ(FormattaIntero(0), "");
  for (auto [testo, numero] : {std::pair{"", 0.0}, {"12,5", 12.5}, {"12.5", -1.0}, {"abc", -1.0}})
    EXPECT_EQ(TestoInNumero(testo), numero) << testo;
}

TEST(LeggiNumero, PointIsThousandsCommaIsDecimal) {
  // Catches a reader that takes "." as the decimal point, or lets through
  // texts a price column cannot hold.
  EXPECT_EQ(LeggiNumero("12.5"), 125);
  EXPECT_EQ(LeggiNumero("12,5"), 12.5);
  EXPECT_EQ(LeggiNumero("1.234,56"), 1234.56);
  EXPECT_EQ(LeggiNumero(" -2,5 "), -2.5);
  for (const char* no : {"", "abc", "1e3", "inf", "nan", "1,2,3", "12a", "-", "0x10"})
    EXPECT_EQ(LeggiNumero(no), -1) << no;
}

TEST_F(Helpers, ArrotondaDecimali) {
  // Fault: binary representation rounding 2.345 down, or halves of negatives towards zero.
  // The last two are out of the 64-bit range: back untouched instead of wrapping.
  struct {
    int decimali;
    double valore, atteso;
  } casi[] = {{2, 2.345, 2.35},   {2, -2.345, -2.35}, {0, 0.49999995, 1}, {0, 0.4999, 0},
              {3, 1.0005, 1.001}, {2, 0, 0},          {2, 1e300, 1e300},  {25, 1.5, 1.5}};
  for (const auto& c : casi)
    EXPECT_DOUBLE_EQ(ArrotondaDecimali(c.decimali, c.valore), c.atteso) << c.valore;
}

TEST_F(Helpers, DatesAsTextAndSql) {
  // Fault: impossible dates accepted, empty text taken as an error, literals in day-first order.
  EXPECT_EQ(TestoInData("31/12/2023"), plat::EncodeDate(2023, 12, 31));
  EXPECT_EQ(TestoInData("31/02/2023"), -1);
  EXPECT_EQ(TestoInData("abc"), -1);
  EXPECT_EQ(TestoInData(""), 0);
  EXPECT_FALSE(DataValida(TestoInData("")));
  EXPECT_TRUE(DataValida(TestoInData("01/01/2024")));
  EXPECT_EQ(DataPerSQL(plat::EncodeDate(2024, 3, 5)), "'03/05/2024'");

  EXPECT_EQ(InvertiData("'5/3/2024'"), "'3/5/2024'");
  EXPECT_EQ(InvertiData("'05/03/24'"), "'03/05/24'");
  // The last: a short literal closing the text is still turned month-first.
  for (auto [sql, atteso] :
       {std::pair{"SELECT * FROM T WHERE D>='31/12/2023' AND D<'5/3/2024'",
                  "SELECT * FROM T WHERE D>='12/31/2023' AND D<'3/5/2024'"},
        {"WHERE D='05/03/24' OR E='1/2/24'", "WHERE D='03/05/24' OR E='2/1/24'"},
        {"'5/3/2024' AND X=1", "'5/3/2024' AND X=1"},
        {"A='5/3/2024'", "A='3/5/2024'"},
        {"WHERE Q=10/2 AND R='a/b'", "WHERE Q=10/2 AND R='a/b'"},
        {"X='12/2023'", "X='12/2023'"},
        {"WHERE D>='05/03/24'", "WHERE D>='03/05/24'"}})
    EXPECT_EQ(InvertiDateSQL(sql), atteso);

  // Fault: a slash near the quotes of two different literals rewritten
  // across their boundary, moving a quote: IN ('a','/3/24') became
  // IN ('a'3/,'/24'). Such texts stay as they are; a real date after them
  // is still turned.
  for (auto [sql, atteso] :
       {std::pair{"IN ('a','/3/24')", "IN ('a','/3/24')"},
        {"IN ('a','/3/2024') AND D='5/3/2024'", "IN ('a','/3/2024') AND D='3/5/2024'"},
        {"X='it''s' AND Y='1/2/2024'", "X='it''s' AND Y='2/1/2024'"},
        {"X='a'1/2/2024'", "X='a'1/2/2024'"}})
    EXPECT_EQ(InvertiDateSQL(sql), atteso) << sql;
}

TEST_F(Helpers, TestoEUnaDataTakesEveryDay) {
  // Fault: the check written as DataValida(TestoInData(...)), which refuses
  // 29/12/1899 and 30/12/1899 (the values standing for "no date" and "not
  // a date"), or an impossible or empty date accepted.
  EXPECT_TRUE(TestoEUnaData("29/02/2024"));
  EXPECT_TRUE(TestoEUnaData("29/12/1899"));
  EXPECT_TRUE(TestoEUnaData("30/12/1899"));
  EXPECT_FALSE(DataValida(TestoInData("30/12/1899")));
  EXPECT_FALSE(TestoEUnaData("29/02/2025"));
  EXPECT_FALSE(TestoEUnaData(""));
  EXPECT_FALSE(TestoEUnaData("abc"));
}

TEST_F(Helpers, LiteralsKeepEachCallersForm) {
  // Fault: one caller's literal taking another's form: the current date
  // separator missing from DataPerSQL or leaking into the fixed "-" and "/"
  // forms, a text that is no date throwing where it should give "" (or the
  // reverse), a blank field of a file written as a value, or a typed blank
  // text taken for none.
  const double d = plat::EncodeDate(2024, 3, 5);
  plat::Formats().DateSeparator = '.';
  EXPECT_EQ(DataPerSQL(d), "'03.05.2024'");
  EXPECT_EQ(MeseGiornoAnno(d), "03-05-2024");
  EXPECT_EQ(MeseGiornoAnno(d, '/'), "03/05/2024");
  plat::SetItalianFormats();
  EXPECT_EQ(MeseGiornoAnno("5/3/2024", SeNonData::Vuota), "03-05-2024");
  EXPECT_EQ(MeseGiornoAnno("31/02/2024", SeNonData::Vuota), "");
  EXPECT_THROW(MeseGiornoAnno("31/02/2024", SeNonData::Eccezione), plat::ConvertError);
  // The exchange's day before a start: only the module's -1 and 0 are no day.
  EXPECT_EQ(MeseGiornoAnnoSeValida(d - 1), "03-04-2024");
  EXPECT_EQ(MeseGiornoAnnoSeValida(1), "12-31-1899");
  EXPECT_EQ(MeseGiornoAnnoSeValida(0), "");
  EXPECT_EQ(MeseGiornoAnnoSeValida(-1), "");
  EXPECT_EQ(MeseGiornoAnnoSeValida(-2), "12-28-1899");

  EXPECT_EQ(LetteraleONull("D'Amico"), "'D''Amico'");
  EXPECT_EQ(LetteraleONull(""), "NULL");
  EXPECT_EQ(LetteraleONull(" \t"), "' \t'");
  EXPECT_EQ(LetteraleONull(" \t", Assente::SeBianco), "NULL");
  EXPECT_EQ(LetteraleONull("", Assente::SeBianco, "0"), "0");
  EXPECT_EQ(VirgolaInPunto("1.234,5"), "1.234.5");
}

TEST_F(Helpers, FieldsAndBlanks) {
  // Fault: fields counted from 0, blanks kept by the narrow form, a missing field repeating the
  // last.
  EXPECT_EQ(CampoDelimitatoW(u"A; B C ;D", 2, u";"), u" B C ");
  for (auto [testo, n, campo] : {std::tuple{"A; B C ;D", 2, "BC"},
                                 {"A; B C ;D", 1, "A"},
                                 {"A; B C ;D", 3, "D"},
                                 {"A; B C ;D", 5, ""},
                                 {"A;B", 0, ""},
                                 {"a;;c", 2, ""},
                                 {"però; è", 2, "è"}})
    EXPECT_EQ(CampoDelimitato(testo, n, ";"), campo) << testo << " " << n;
  EXPECT_EQ(TogliSpazi(" a b  c "), "abc");
  EXPECT_EQ(TogliSpaziFinali("  a b \t  "), "  a b \t");
  EXPECT_EQ(AcapoInSpazi("a\r\nb\nc"), "a  b c");
  EXPECT_EQ(Rifila("\t a b \r\n"), "a b");
  EXPECT_EQ(CampoW("A; B C ;D", 2), " B C ");
}

TEST_F(Helpers, FoldersAndOperatorList) {
  // Fault: parents not created, a failure passing silently, operators read from the wrong folder.
  TempFolder dir("velmaro-helpers");
  EXPECT_NO_THROW(CreaCartella(dir / "a\\b\\c"));
  EXPECT_TRUE(plat::DirectoryExists(dir / "a/b/c"));
  Touch(dir / "file");
  EXPECT_THROW(CreaCartella(dir / "file/sotto"), ErroreIO);

  plat::SetHostFolderOverride(dir.Path());
  EXPECT_TRUE(CaricaElencoUtenti().empty());
  CreaCartella(dir / "DUVIDAR");
  Touch(dir / "DUVIDAR/UTENTI.INI", "[MARIO]\r\nx=1\r\n[Anna]\r\n");
  EXPECT_EQ(CaricaElencoUtenti(), (std::vector<std::string>{"MARIO", "Anna"}));
  plat::ClearHostFolderOverride();
}

TEST(Paradox, ProssimoNomeTabella) {
  // Fault: numbering restarting or losing digits past 99, lower case kept.
  for (auto [nome, prossimo] : {std::pair{"tmpqry.db", "TMPQR01.DB"},
                                {"TMPQR01.DB", "TMPQR02.DB"},
                                {"TMPQR09.DB", "TMPQR10.DB"},
                                {"TMPQR99.DB", "TMPQR100.DB"},
                                {"ab", "AB01.DB"},
                                {"x5", "X501.DB"}})
    EXPECT_EQ(ProssimoNomeTabella(nome), prossimo);
}

TEST(Paradox, StatesAndRenaming) {
  // Fault: a table in use emptied under its user, a busy table reported free,
  // or the renaming stopping on a numbered name that is itself busy.
  TempFolder dir("velmaro-helpers");
  TabellaParadox tab(dir.Path(), "tmpqry.db");
  std::string stato;
  StatoTabellaParadox(tab, stato);
  EXPECT_EQ(stato, "Non Esiste");

  Touch(dir / "TMPQRY.DB", "righe");
  StatoTabellaParadox(tab, stato);
  EXPECT_EQ(stato, "Esiste Libera");
  EXPECT_TRUE(tab.Active());
  EXPECT_EQ(std::filesystem::file_size(dir / "TMPQRY.DB"), 0u);
  tab.Close();

  // Another user holds TMPQRY and TMPQR01; the table moves on to TMPQR02.
  Touch(dir / "TMPQRY.DB", "righe altrui");
  Touch(dir / "TMPQR01.DB", "anche questa");
  TabellaParadox altrui1(dir.Path(), "TMPQRY.DB"), altrui2(dir.Path(), "TMPQR01.DB");
  altrui1.Open();
  altrui2.Open();
  TabellaParadox mia(dir.Path(), "tmpqry.db");
  StatoTabellaParadox(mia, stato);
  EXPECT_EQ(stato, "Esiste Occupata");
  EXPECT_EQ(mia.TableName, "TMPQR02.DB");
  EXPECT_FALSE(mia.Exists());
  EXPECT_EQ(std::filesystem::file_size(dir / "TMPQRY.DB"), 12u);
  EXPECT_EQ(std::filesystem::file_size(dir / "TMPQR01.DB"), 12u);

  // A busy table first, then a free numbered one: that one is emptied and kept.
  altrui2.Close();
  TabellaParadox terza(dir.Path(), "tmpqry.db");
  StatoTabellaParadox(terza, stato);
  EXPECT_EQ(stato, "Esiste Occupata");
  EXPECT_EQ(terza.TableName, "TMPQR01.DB");
  EXPECT_EQ(std::filesystem::file_size(dir / "TMPQR01.DB"), 0u);
  EXPECT_THROW(altrui2.Open(), ErroreTabellaParadox);  // held exclusively now
}

TEST(Paradox, EliminaTabellaTemp) {
  // Fault: the kept table deleted, companion files left behind, other tables' files removed.
  TempFolder dir("velmaro-helpers");
  for (const char* f :
       {"TMPQR01.DB", "TMPQR01.PX", "tmpqr01.mb", "TMPQR01.X02", "TMPQR01.txt", "TMPQR010.DB"})
    Touch(dir / f);
  TabellaParadox tab(dir.Path(), "TMPQR01.DB");
  tab.Open();
  EliminaTabellaTemp(tab, "TMPQR01.DB");
  EXPECT_TRUE(tab.Exists());
  EliminaTabellaTemp(tab, "tmpqr01.db");  // exact comparison: not the same name
  EXPECT_FALSE(tab.Active());
  for (const char* f : {"TMPQR01.DB", "TMPQR01.PX", "tmpqr01.mb", "TMPQR01.X02"})
    EXPECT_FALSE(plat::FileExists(dir / f)) << f;
  EXPECT_TRUE(plat::FileExists(dir / "TMPQR01.txt") && plat::FileExists(dir / "TMPQR010.DB"));
  EXPECT_NO_THROW(EliminaTabellaTemp(tab, ""));  // already gone
}

}  // namespace
