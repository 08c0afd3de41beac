// The statement text of the grid's searches, without a database.
#include "grid/ricercasql.h"

#include <gtest/gtest.h>

namespace velmaro::ricerca {
namespace {

Ricerca Testo(const std::string& valore, int tipo, bool upper = true) {
  Ricerca r;
  r.connettivo = "WHERE";
  r.espressione = "LISTSCDTNET.CODICEARTICOLO";
  r.classe = Classe::Testo;
  r.upper = upper;
  r.tipo = tipo;
  r.valore = valore;
  return r;
}

// Catches a condition that loses its connective, its parentheses or the
// upper-casing of a text column, for each kind of search.
TEST(RicercaSql, TextConditionPerKind) {
  EXPECT_EQ(Condizione(Testo("ab", kContiene)),
            "WHERE(UPPER(LISTSCDTNET.CODICEARTICOLO) LIKE '%AB%')");
  EXPECT_EQ(Condizione(Testo("ab", kIniziaCon)),
            "WHERE(UPPER(LISTSCDTNET.CODICEARTICOLO) LIKE 'AB%')");
  EXPECT_EQ(Condizione(Testo("ab", kMaggioreUguale, false)),
            "WHERE(LISTSCDTNET.CODICEARTICOLO >= 'ab')");
  EXPECT_EQ(Condizione(Testo("", kContiene)), "");
}

// Catches a base SQL written in lower case getting a second WHERE.
TEST(RicercaSql, ConnectiveFollowsAnyWhereOfTheBase) {
  EXPECT_EQ(Connettivo({"SELECT * FROM LISTSC"}), "WHERE");
  EXPECT_EQ(Connettivo({"select * from listsc", "where idlistino=1"}), "AND");
  EXPECT_EQ(CondizioneGenerica({"select *", "where x=1"}, {"A.B"}, "q").front(), "AND(");
}

// Catches a number column (the fixed-point price above all) compared as an
// upper-cased text, and a number search that is not quoted as the stored
// statements expect.
TEST(RicercaSql, NumbersAreNeverUpperCased) {
  for (db::FieldType t : {db::FieldType::Smallint, db::FieldType::Integer, db::FieldType::Largeint,
                          db::FieldType::Float, db::FieldType::Currency}) {
    Ricerca r = Testo("12.5", kMaggioreUguale);
    r.espressione = "LISTSCDTNET.PREZZO";
    r.classe = ClasseDi(t);
    EXPECT_EQ(Condizione(r), "WHERE(LISTSCDTNET.PREZZO >= '12.5')") << db::FieldTypeName(t);
    EXPECT_EQ(OrdineColonna(kCrescente, r.espressione, r.classe, true),
              "ORDER BY LISTSCDTNET.PREZZO");
  }
  EXPECT_EQ(ClasseDi(db::FieldType::Memo), Classe::Blob);
  EXPECT_EQ(ClasseDi(db::FieldType::DateTime), Classe::Data);
  EXPECT_EQ(ClasseDi(db::FieldType::FixedChar), Classe::Testo);
}

// Catches two date comparisons joined by a blank, a to-date written when
// none was given, and the day-first order reaching the statement.
TEST(RicercaSql, DateRangeMonthFirst) {
  Ricerca r;
  r.connettivo = "AND";
  r.espressione = "LISTSC.DATAINIZIOVALIDITA";
  r.classe = Classe::Data;
  r.dataDa = "02/01/2006";
  r.dataA = "02/28/2006";
  EXPECT_EQ(Condizione(r),
            "AND(LISTSC.DATAINIZIOVALIDITA >= '02/01/2006')AND(LISTSC.DATAINIZIOVALIDITA <= "
            "'02/28/2006')");
  r.dataA.clear();
  EXPECT_EQ(Condizione(r), "AND(LISTSC.DATAINIZIOVALIDITA >= '02/01/2006')");
}

// Catches a typed apostrophe ending the literal (a text pasted or set by a
// script never passes the key handler), and wildcards escaped away.
TEST(RicercaSql, ApostropheCannotEndTheLiteral) {
  EXPECT_EQ(Condizione(Testo("d'a%_", kContiene)),
            "WHERE(UPPER(LISTSCDTNET.CODICEARTICOLO) LIKE '%D\xC2\xB4"
            "A%_%')");
  const auto righe = CondizioneGenerica({"SELECT *"}, {"T.A"}, "o'k");
  EXPECT_EQ(righe[1], "(T.A CONTAINING 'O\xC2\xB4K')");
}

// Catches the all-columns search writing a column without origin, an OR
// before the first comparison, or a statement that cannot run.
TEST(RicercaSql, AllColumnsSearch) {
  EXPECT_EQ(CondizioneGenerica({"SELECT A, B, C FROM T"}, {"", "T.B", "T.C"}, "xy"),
            (std::vector<std::string>{"WHERE(", "(T.B CONTAINING 'XY')", "OR(T.C CONTAINING 'XY')",
                                      ")"}));
  EXPECT_TRUE(CondizioneGenerica({"SELECT 1 FROM T"}, {"", ""}, "xy").empty());
}

// Catches the search orderings losing UPPER on a text column or placing DESC wrongly.
TEST(RicercaSql, Orderings) {
  EXPECT_EQ(OrdineColonna(kCrescente, "T.A", Classe::Testo, true), "ORDER BY UPPER(T.A)");
  EXPECT_EQ(OrdineColonna(kDecrescente, "T.A", Classe::Testo, true), "ORDER BY UPPER(T.A) DESC");
  EXPECT_EQ(OrdineColonna(kDecrescente, "T.A", Classe::Testo, false), "ORDER BY T.A DESC");
  EXPECT_EQ(OrdineColonna(kNessuno, "T.A", Classe::Testo, true), "");
}

}  // namespace
}  // namespace velmaro::ricerca
