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

// Catches an all-columns search that cannot run: no column has an origin,
// or the base SQL holds a lower-case where.
TEST(RicercaSql, AllColumnsSearch) {
  EXPECT_EQ(CondizioneGenerica({"select *", "where x=1"}, {{"A.B"}}, "q").front(), "AND(");
  EXPECT_TRUE(CondizioneGenerica({"SELECT 1 FROM T"}, {{""}, {""}}, "xy").empty());
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
